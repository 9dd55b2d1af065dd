// The parts around the form skinner: its control skinners, a menu the framework rebuilds,
// nested forms, and windows of further threads hooked on request.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "base/win/Handles.h"
#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/StdCtrls.h"
#include "forms/WindowGuard.h"
#include "skin/controls/WinSkinBoxes.h"
#include "skin/controls/WinSubClass.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {
namespace {

class SkinnerPartsTest : public EngineTest {};

// A control skinner that notes being told to stop.
class TNotingSkinner : public TSkinControl {
 public:
  using TSkinControl::fsd;
  using TSkinControl::newColor;
  using TSkinControl::oldcolor;
  using TSkinControl::skinform;
  TNotingSkinner(forms::TComponent* owner, int* unsubclassed)
      : TSkinControl(owner), unsubclassed_(unsubclassed) {}
  void Unsubclass() override {
    ++*unsubclassed_;
    TSkinControl::Unsubclass();
  }

 private:
  int* unsubclassed_;
};

TEST_F(SkinnerPartsTest, ControlSkinnersAreListedOnceAndGoWithTheirFormSkinner) {
  Start();
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* button = new forms::TButton(&form);
  button->SetParent(&form);
  button->SetColor(0x123456);
  button->SetTag(99);  // the skin data's DisableTag: the mapping gives it no skinner of its own
  form.ShowForm();
  ASSERT_TRUE(SkinShown(form.Handle()));
  TWinSkinForm* sf = mgr->FindForm(form.Handle());
  int unsubclassed = 0;
  auto* skinner = new TNotingSkinner(button, &unsubclassed);
  skinner->skinform = sf;
  skinner->control = button;
  skinner->newColor = true;
  skinner->oldcolor = button->Color();
  skinner->fsd = data;
  button->SetColor(data->Colors[kShemeButtonFace]);
  EXPECT_FALSE(sf->AddControlList(skinner));
  EXPECT_TRUE(sf->AddControlList(skinner));
  ASSERT_EQ(sf->Controls().size(), 1u);
  // A control skinner freed on its own leaves the list.
  auto* other = new TNotingSkinner(button, &unsubclassed);
  other->skinform = sf;
  sf->AddControlList(other);
  delete other;
  EXPECT_EQ(sf->Controls().size(), 1u);
  // Unskinning tells the control skinner to stop (it gives the colour back) and frees it.
  const int owned = button->ComponentCount();
  mgr->SetUpdateData(data);
  mgr->SetAction(TSkinAction::saUnskinAll, 1);
  ASSERT_TRUE(PumpUntil([&] { return mgr->Forms().empty(); }));
  EXPECT_EQ(unsubclassed, 1);
  EXPECT_EQ(button->Color(), 0x123456);
  EXPECT_EQ(button->ComponentCount(), owned - 1);
}

TEST_F(SkinnerPartsTest, MenuRebuiltByTheFrameworkIsTakenAgainAndGivenBackAtTheEnd) {
  Start();
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 320, 240);
  auto* menu = new forms::TMainMenu(&form);
  auto* file = new forms::TMenuItem(menu);
  file->SetCaption(u"&File");
  menu->Items()->Add(file);
  form.SetMenu(menu);
  const RECT client = ClientOf(form.Handle());  // (the skinner takes the menu on activation)
  form.ShowForm();
  ASSERT_TRUE(SkinShown(form.Handle()));
  TWinSkinForm* sf = mgr->FindForm(form.Handle());
  EXPECT_EQ(GetMenu(form.Handle()), nullptr);
  EXPECT_EQ(sf->NativeMenu(), menu->Handle());
  // An item added: the framework puts the rebuilt menu on the window and says so.
  auto* help = new forms::TMenuItem(menu);
  help->SetCaption(u"&Help");
  menu->Items()->Add(help);
  Settle();
  EXPECT_EQ(GetMenu(form.Handle()), nullptr);
  EXPECT_EQ(sf->NativeMenu(), menu->Handle());
  EXPECT_EQ(GetMenuItemCount(sf->NativeMenu()), 2);
  mgr->SetUpdateData(data);
  mgr->SetAction(TSkinAction::saUnskinAll, 1);
  ASSERT_TRUE(PumpUntil([&] { return mgr->Forms().empty(); }));
  EXPECT_EQ(GetMenu(form.Handle()), menu->Handle());
  const RECT after = ClientOf(form.Handle());
  EXPECT_TRUE(EqualRect(&after, &client))
      << after.right << "x" << after.bottom << " was " << client.right << "x" << client.bottom;
}

TEST_F(SkinnerPartsTest, NestedFormGetsASpyOfTheHostsFormSkinner) {
  Start();
  forms::TForm host(nullptr);
  host.SetBounds(100, 100, 400, 300);
  host.ShowForm();
  ASSERT_TRUE(SkinShown(host.Handle()));
  forms::TForm nested(nullptr);
  data->AddNestForm(&host, &nested);
  TWinSkinSpy* spy = nullptr;
  for (int i = 0; i < nested.ComponentCount() && !spy; ++i)
    spy = dynamic_cast<TWinSkinSpy*>(nested.Components(i));
  ASSERT_NE(spy, nullptr);
  EXPECT_EQ(spy->sf, mgr->FindForm(host.Handle()));
  // Its surface is drawn by a box skinner of the host's form skinner.
  const auto skinners = mgr->FindForm(host.Handle())->Controls();
  EXPECT_TRUE(std::any_of(skinners.begin(), skinners.end(), [&](TSkinControl* s) {
    return s->control == &nested && dynamic_cast<TSkinBox*>(s);
  }));
  // A host without a skinner gets nothing.
  forms::TForm bare(nullptr), inner(nullptr);
  bare.HandleNeeded();
  data->AddNestForm(&bare, &inner);
  EXPECT_EQ(inner.ComponentCount(), 0);
}

TEST_F(SkinnerPartsTest, SetUpThatFailsLeavesTheWindowUnskinnedAndWorking) {
  Start();
  std::vector<std::u16string> shown;  // errors go here instead of a message box
  forms::Application->OnException = [&](const std::u16string& text) { shown.push_back(text); };
  const int errors = forms::ErrorCount();
  data->OnBeforeSkinForm = [](forms::TObject*, HWND, const std::u16string&) {
    throw std::runtime_error("refused by the application");
  };
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  form.HandleNeeded();
  const RECT client = ClientOf(form.Handle());
  EXPECT_FALSE(mgr->AddFormHwnd(form.Handle()));
  EXPECT_EQ(forms::ErrorCount(), errors + 1);
  EXPECT_TRUE(mgr->Forms().empty());
  EXPECT_EQ(form.ComponentCount(), 0);  // no skinner left on the form
  EXPECT_EQ(SendMessageW(form.Handle(), SKM_ISSKINNED, 0, 0), 0);
  const RECT after = ClientOf(form.Handle());
  EXPECT_TRUE(EqualRect(&after, &client));
  // The event failing after the window was taken over still leaves a skinned, working window.
  data->OnBeforeSkinForm = nullptr;
  data->OnAfterSkinForm = [](forms::TObject*, HWND, const std::u16string&) {
    throw std::runtime_error("failed after skinning");
  };
  ASSERT_TRUE(mgr->AddFormHwnd(form.Handle()));
  ASSERT_TRUE(WaitSkinned(form.Handle()));
  EXPECT_EQ(forms::ErrorCount(), errors + 2);
  EXPECT_EQ(SendMessageW(form.Handle(), WM_GETTEXTLENGTH, 0, 0), 0);
  forms::Application->OnException = nullptr;
  EXPECT_EQ(shown,
            (std::vector<std::u16string>{u"refused by the application", u"failed after skinning"}));
}

// A thread with a window of its own, hooked on request.
struct TWorker {
  std::atomic<DWORD> id{0};
  std::atomic<HWND> window{nullptr};
  std::atomic<bool> scrollBarMade{false};
  // Set by the test once the thread is hooked: the window is made after that.
  KernelHandle go{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  TRawLog log;
  std::thread thread;

  void Start() {
    thread = std::thread([this] {
      MSG m;
      PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);  // this thread has a queue now
      id = GetCurrentThreadId();
      if (WaitForSingleObject(go.get(), 20000) != WAIT_OBJECT_0) return;  // the test fails
      HWND h = MakeRawWindow(&log);
      ShowWindow(h, SW_SHOW);
      SetActiveWindow(h);
      window = h;
      while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (m.message == WM_APP) {
          HWND sb = CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | SBS_VERT, 0, 0, 16, 80, h,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
          scrollBarMade = sb != nullptr;
          continue;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
        if (m.message == WM_CLOSE || !IsWindow(h)) break;
      }
    });
  }
};

TEST_F(SkinnerPartsTest, WindowsOfAHookedThreadAreSkinnedAndFreedOnTheirThread) {
  Start();
  TWorker worker;
  worker.Start();
  ASSERT_TRUE(PumpUntil([&] { return worker.id != 0; }));
  mgr->InstallThread(worker.id);
  mgr->InstallThread(worker.id);  // once only
  EXPECT_EQ(mgr->ThreadCount(), 1u);
  SetEvent(worker.go.get());
  ASSERT_TRUE(PumpUntil([&] {
    HWND h = worker.window;
    TWinSkinForm* sf = h ? mgr->FindForm(h) : nullptr;
    return sf && sf->Skinstate == kSkinIdle;
  }));
  HWND h = worker.window;
  // A scroll bar of a skinned window of that thread is refused.
  PostThreadMessageW(worker.id, WM_APP, 0, 0);
  PostMessageW(h, WM_NULL, 0, 0);
  // Closing the window on its thread frees its skinner there.
  PostMessageW(h, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] {
    std::lock_guard guard(mgr->Lock());
    return mgr->Forms().empty();
  }));
  worker.thread.join();
  EXPECT_FALSE(worker.scrollBarMade);
  mgr->UnInstallThread(worker.id);
  EXPECT_TRUE(mgr->ThreadCount() == 0);
}

}  // namespace
}  // namespace lbb::skin::test
