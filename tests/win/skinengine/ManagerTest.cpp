// The skin manager's decisions: which windows get a form skinner, with which skin data, and
// what its deferred actions do.
#include <windows.h>

#include <gtest/gtest.h>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/Screenshot.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/data/FrameMatch.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {
namespace {

class ManagerTest : public EngineTest {
 protected:
  HWND Raw(TRawLog& log, const wchar_t* cls = kRawClass) {
    HWND h = MakeRawWindow(&log, WS_OVERLAPPEDWINDOW, 0, cls);
    windows.push_back(h);
    return h;
  }
  // Runs one action through the real timer and waits for its tick.
  ::testing::AssertionResult RunAction(TSkinAction a) {
    mgr->SetAction(a, 10);
    if (!mgr->TimerEnabled()) return ::testing::AssertionFailure() << "no timer started";
    if (PumpUntil([&] { return !mgr->TimerEnabled(); })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the timer never ticked";
  }
};

// What the window's surface holds (the screen may show it later).
PixelBuffer WindowSurface(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  TDibSurface picture(r.right - r.left, r.bottom - r.top);
  lbb::WindowDc dc(hwnd, true);
  BitBlt(picture.Dc(), 0, 0, r.right - r.left, r.bottom - r.top, dc.get(), 0, 0, SRCCOPY);
  GdiFlush();
  return picture.Pixels();
}

// The picture of the first frame a top-level window of a given class paints (what its window
// surface holds when its first WM_NCPAINT returns); a message box is closed once pictured.
struct TFirstFrame {
  static inline const wchar_t* cls = nullptr;
  static inline PixelBuffer picture;
  static inline bool taken = false;
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    wchar_t name[64] = {};
    if (code == HC_ACTION && !taken && m->message == WM_NCPAINT &&
        !(GetWindowLongW(m->hwnd, GWL_STYLE) & WS_CHILD) && GetClassNameW(m->hwnd, name, 64) &&
        wcscmp(name, cls) == 0) {
      taken = true;
      picture = WindowSurface(m->hwnd);
      if (wcscmp(cls, L"#32770") == 0) PostMessageW(m->hwnd, WM_CLOSE, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
};

// A new window never shows a frame the skin did not draw: the first frame painted of a form
// and of the platform's message box is the skin's.
TEST_F(ManagerTest, TheFirstFramePaintedOfANewFormOrMessageBoxIsTheSkins) {
  Start();
  HHOOK hook =
      SetWindowsHookExW(WH_CALLWNDPROCRET, &TFirstFrame::Hook, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  TFirstFrame::cls = L"TForm";
  TFirstFrame::taken = false;
  {
    forms::TForm form(nullptr);
    form.SetBounds(140, 140, 320, 220);
    form.ShowForm();
    EXPECT_TRUE(PumpUntil([] { return TFirstFrame::taken; }));
    EXPECT_NE(FrameLookShown(TFirstFrame::picture, *data), 0) << "the form's first frame";
  }
  TFirstFrame::cls = L"#32770";
  TFirstFrame::taken = false;
  MessageBoxW(nullptr, L"First frame", L"Skinned", MB_OK);
  EXPECT_TRUE(TFirstFrame::taken);
  EXPECT_NE(FrameLookShown(TFirstFrame::picture, *data), 0) << "the message box's first frame";
  UnhookWindowsHookEx(hook);
}

TEST_F(ManagerTest, FormWithTag99IsNeverSkinned) {
  Start();
  data->SetDisableTag(5);
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  form.SetTag(99);
  form.HandleNeeded();
  EXPECT_FALSE(mgr->AddFormHwnd(form.Handle()));
  EXPECT_EQ(mgr->FindForm(form.Handle()), nullptr);
  form.SetTag(5);  // the DisableTag does not stop a form
  EXPECT_TRUE(mgr->AddFormHwnd(form.Handle()));
  EXPECT_NE(mgr->FindForm(form.Handle()), nullptr);
}

TEST_F(ManagerTest, WindowThatAnswersIsSkinnedGetsNoSecondSkinner) {
  Start();
  TRawLog answering;
  answering.answers[SKM_ISSKINNED] = 1;
  HWND other = Raw(answering);
  EXPECT_FALSE(mgr->AddFormHwnd(other));
  EXPECT_TRUE(mgr->Forms().empty());
  TRawLog log;
  HWND h = Raw(log);
  EXPECT_TRUE(mgr->AddFormHwnd(h));
  EXPECT_FALSE(mgr->AddFormHwnd(h));
  EXPECT_EQ(mgr->Forms().size(), 1u);
}

TEST_F(ManagerTest, SkinAllBeforeAnyActivationSwitchesOnWithoutTimer) {
  ASSERT_EQ(mgr->State(), TSkinManagerState::msNotStarted);
  mgr->SetAction(TSkinAction::saSkinAll, kSkinActionDelayMs);
  EXPECT_TRUE(mgr->SkinningOn());
  EXPECT_FALSE(mgr->TimerEnabled());
  mgr->SetAction(TSkinAction::saUnskinAll, kSkinActionDelayMs);
  EXPECT_FALSE(mgr->SkinningOn());
  mgr->SetAction(TSkinAction::saSkinAll, kSkinActionDelayMs);
  // The first activation starts the manager and skins the activated form.
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  form.ShowForm();
  EXPECT_TRUE(WaitSkinned(form.Handle()));
  EXPECT_GE(static_cast<int>(mgr->State()), 1);
}

TEST_F(ManagerTest, TimerTickWithoutUpdateDataDoesNothing) {
  mgr->SetState(TSkinManagerState::msRunning);
  int changed = 0;
  data->OnSkinChanged = [&](TSkinData*) { ++changed; };
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  form.ShowForm();
  Settle();
  mgr->SetUpdateData(nullptr);
  ASSERT_TRUE(RunAction(TSkinAction::saSkinAll));
  EXPECT_EQ(changed, 0);
  EXPECT_FALSE(mgr->SkinningOn());
  EXPECT_EQ(mgr->FindForm(form.Handle()), nullptr);
  // With the skin data to apply the same action skins the visible forms and tells it once.
  mgr->SetUpdateData(data);
  ASSERT_TRUE(RunAction(TSkinAction::saSkinAll));
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(mgr->UpdateData(), nullptr);
  EXPECT_TRUE(WaitSkinned(form.Handle()));
}

TEST_F(ManagerTest, ReskinOneWindowFiresNoSkinChanged) {
  Start();
  int changed = 0, skinned = 0;
  data->OnSkinChanged = [&](TSkinData*) { ++changed; };
  data->OnAfterSkinForm = [&](forms::TObject* sender, HWND, const std::u16string&) {
    EXPECT_EQ(sender, nullptr);  // a window without a form
    ++skinned;
  };
  TRawLog log;
  HWND h = Raw(log);
  ASSERT_TRUE(mgr->AddFormHwnd(h));
  ASSERT_TRUE(WaitSkinned(h));
  ASSERT_EQ(skinned, 1);
  mgr->SetUpdateData(data);
  mgr->SetLpara(h);
  ASSERT_TRUE(RunAction(TSkinAction::saReskinForm));
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(mgr->UpdateData(), data);  // not cleared either
  // Skinned afresh: a new skinner ran its deferred initialisation.
  EXPECT_TRUE(PumpUntil([&] { return skinned == 2; }));
  ASSERT_TRUE(WaitSkinned(h));
  EXPECT_EQ(mgr->Forms().size(), 1u);
}

TEST_F(ManagerTest, PreviewWindowsNeedThePreviewOption) {
  Start();
  data->SetOptions(data->Options() & ~SetOf(xoPreview));
  TRawLog log;
  HWND h = Raw(log, kPreviewClass);
  EXPECT_FALSE(mgr->CanSkinWindow(h, u"LbbEnginePreviewWnd"));
  EXPECT_FALSE(mgr->AddFormHwnd(h));
  data->SetOptions(data->Options() | SetOf(xoPreview));
  EXPECT_TRUE(mgr->AddFormHwnd(h));
}

TEST_F(ManagerTest, DialogWithStyleBit0x200StaysUnskinned) {
  Start();
  HWND refused = MakeDialog(0x200);
  HWND dialog = MakeDialog();
  windows.push_back(refused);
  windows.push_back(dialog);
  ASSERT_TRUE(refused && dialog);
  // Creating a dialog activates it, and the hook skins it then; the refused one stays as it is.
  EXPECT_FALSE(mgr->AddFormHwnd(refused));
  EXPECT_EQ(mgr->FindForm(refused), nullptr);
  EXPECT_EQ(SendMessageW(refused, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_TRUE(SkinShown(dialog));
  EXPECT_TRUE(mgr->FindForm(dialog)->IsMessageBox());
  EXPECT_EQ(mgr->FindForm(dialog)->FormBorder, TSkinFormBorder::sbsDialog);
}

TEST_F(ManagerTest, ChooseSkinDataPrefersTheFormsOwnThenDialogsThenTheLastMainForm) {
  forms::TForm own(nullptr), other(nullptr);
  own.HandleNeeded();
  other.HandleNeeded();
  TSkinData* main2 = MakeSkinData(nullptr, TSkinFormType::sfMainform, resources::SandSkin());
  TSkinData* only = MakeSkinData(&own, TSkinFormType::sfOnlyThisForm);
  TSkinData* dialogs = MakeSkinData(nullptr, TSkinFormType::sfDialog);
  HWND dialog = MakeDialog();
  windows.push_back(dialog);
  EXPECT_EQ(mgr->ChooseSkinData(own.Handle()), only);
  EXPECT_EQ(mgr->ChooseSkinData(other.Handle()), main2);
  EXPECT_EQ(mgr->ChooseSkinData(dialog), dialogs);
  EXPECT_EQ(mgr->MainData(), data);  // the first main-form component
  delete main2;
  EXPECT_EQ(mgr->ChooseSkinData(other.Handle()), data);
  delete dialogs;
  EXPECT_EQ(mgr->ChooseSkinData(dialog), data);
  delete only;
  // Only components of other kinds: the first one.
  TSkinData* dll = MakeSkinData(nullptr, TSkinFormType::sfDLL);
  delete data;
  data = nullptr;
  EXPECT_EQ(mgr->ChooseSkinData(other.Handle()), dll);
  EXPECT_EQ(mgr->MainData(), nullptr);
  delete dll;
  EXPECT_EQ(mgr->ChooseSkinData(other.Handle()), nullptr);
}

TEST_F(ManagerTest, PopupMenusOfAKindTheSkinDoesNotSkinStayNative) {
  Start();
  TRawLog log;
  HWND owner = Raw(log);
  auto popup = [&] {
    HWND p = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(32768)), L"",
                             WS_POPUP, 0, 0, 50, 50, owner, nullptr, nullptr, nullptr);
    windows.push_back(p);
    return p;
  };
  mgr->MenuOpening(mtSystem);
  data->SetSkinControls(data->SkinControls() & ~SetOf(xcSystemMenu));
  HWND p1 = popup();
  ASSERT_NE(p1, nullptr);
  EXPECT_FALSE(mgr->HasPopupMenu(p1));
  data->SetSkinControls(data->SkinControls() | SetOf(xcSystemMenu));
  HWND p2 = popup();
  EXPECT_TRUE(mgr->HasPopupMenu(p2));
  EXPECT_EQ(SendMessageW(p2, SKM_ISSKINNED, 0, 0), 1);
  DestroyWindow(p2);
  EXPECT_FALSE(mgr->HasPopupMenu(p2));
  EXPECT_TRUE(mgr->PopupSkinners().empty());
  EXPECT_EQ(mgr->MenuType(), mtPopup);  // back to 0 when the last popup skinner goes
}

}  // namespace
}  // namespace lbb::skin::test
