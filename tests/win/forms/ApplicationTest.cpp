// The application object: the hand-over from worker threads, the screen's form list, message
// boxes, timers, and owner-drawn menus.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/Timer.h"
#include "forms/WinText.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureApplication(); }
};

TEST_F(ApplicationTest, HandOverFromManyWorkersRunsEachCallOnceOnTheUiThread) {
  constexpr int kThreads = 24, kCalls = 25;
  test::Settle();   // nothing of earlier tests left in the queue
  int counted = 0;  // touched only on the UI thread
  std::atomic<int> wrongThread{0}, finished{0}, handingOver{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&] {
      for (int i = 0; i < kCalls; ++i) {
        if (i == 0) ++handingOver;
        bool ran = Application->Synchronize([&] {
          if (GetCurrentThreadId() != Application->MainThreadId()) ++wrongThread;
          ++counted;
        });
        if (!ran) ++wrongThread;
      }
      ++finished;
    });
  }
  // The UI thread is busy (not handling messages) until every worker is handing over its
  // first call and the hand-over has reached its queue: then it handles many calls queued at
  // once, not one at a time as they come.
  const auto queued = [&] {
    return handingOver == kThreads && HIWORD(GetQueueStatus(QS_POSTMESSAGE)) != 0;
  };
  for (const ULONGLONG end = GetTickCount64() + 10000; !queued() && GetTickCount64() < end;)
    std::this_thread::yield();
  EXPECT_TRUE(queued()) << "the workers' calls never reached the UI thread's queue";
  EXPECT_TRUE(test::PumpUntil([&] { return finished == kThreads; }));
  for (auto& w : workers)
    w.join();
  EXPECT_EQ(counted, kThreads * kCalls);
  EXPECT_EQ(wrongThread, 0);
}

TEST_F(ApplicationTest, HandOverWaitsForTheCallAndPassesItsErrorBack) {
  std::atomic<bool> done{false};
  std::string error;
  int value = 0;
  std::thread worker([&] {
    Application->Synchronize([&] { value = 5; });
    try {
      Application->Synchronize([] { throw std::runtime_error("bad line"); });
    } catch (const std::runtime_error& e) {
      error = e.what();
    }
    done = true;
  });
  EXPECT_TRUE(test::PumpUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_EQ(value, 5);
  EXPECT_EQ(error, "bad line");
  // On the UI thread the call runs at once.
  bool ran = false;
  EXPECT_TRUE(Application->Synchronize([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST_F(ApplicationTest, ScreenListsFormsWhileTheyLive) {
  int before = Screen->FormCount();
  auto* a = new TForm(nullptr);
  auto* b = new TForm(nullptr);
  ASSERT_EQ(Screen->FormCount(), before + 2);
  EXPECT_EQ(Screen->Forms(before), a);
  EXPECT_EQ(Screen->Forms(before + 1), b);
  EXPECT_EQ(Screen->FindForm(b->Handle()), b);
  delete a;
  ASSERT_EQ(Screen->FormCount(), before + 1);
  EXPECT_EQ(Screen->Forms(before), b);
  b->ShowForm();
  test::Settle();
  EXPECT_EQ(Screen->ActiveForm(), b);
  delete b;
  EXPECT_EQ(Screen->FormCount(), before);
}

struct BoxSeen {
  String caption;
  HWND owner = nullptr;
  bool seen = false;
};
BoxSeen* g_box = nullptr;  // the test's hook has no other way to report

LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_box && !g_box->seen &&
      WindowClassName(reinterpret_cast<HWND>(wParam)) == u"#32770") {
    HWND box = reinterpret_cast<HWND>(wParam);
    g_box->seen = true;
    g_box->caption = WindowText(box);
    g_box->owner = GetWindow(box, GW_OWNER);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(ApplicationTest, MessageBoxIsCaptionedWithTitleAndOwnedByActiveWindow) {
  TForm form(nullptr);
  form.ShowForm();
  test::Settle();
  Application->SetTitle(u"Orlend作品");
  BoxSeen seen;
  g_box = &seen;
  HookHandle hook(SetWindowsHookExW(WH_CBT, BoxHook, nullptr, GetCurrentThreadId()));
  int answer = Application->MessageBox(u"出错了.", {}, MB_OK | MB_ICONERROR);
  g_box = nullptr;
  EXPECT_EQ(answer, IDOK);
  ASSERT_TRUE(seen.seen);
  EXPECT_EQ(seen.caption, u"Orlend作品");
  EXPECT_EQ(seen.owner, form.Handle());
}

TEST_F(ApplicationTest, TimerRunsOnTheUiThreadUntilDisabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(10);
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 3) timer.SetEnabled(false);
  };
  timer.SetEnabled(true);
  EXPECT_TRUE(test::PumpUntil([&] { return ticks >= 3; }));
  test::Settle();
  EXPECT_EQ(ticks, 3);
}

TEST_F(ApplicationTest, OwnerDrawnPopupItemsAreMeasuredAndDrawnThroughEvents) {
  TForm form(nullptr);
  form.ShowForm();
  test::Settle();
  TPopupMenu menu(&form);
  menu.SetOwnerDraw(true);
  std::vector<String> measured, drawn;
  for (const char16_t* caption : {u"复制", u"-", u"&Close"}) {
    auto* item = new TMenuItem(&form);
    item->SetCaption(caption);
    item->OnMeasureItem = [&, item](TObject*, TCanvas*, int& w, int& h) {
      measured.push_back(item->Caption());
      EXPECT_GT(w, 0);
      w = 120;
      h = 20;
    };
    item->OnDrawItem = [&, item](TObject*, TCanvas* canvas, RECT r, bool) {
      drawn.push_back(item->Caption());
      EXPECT_EQ(r.right - r.left >= 120, true);
      canvas->FillRect(r);
      if (drawn.size() == 3) EndMenu();
    };
    menu.Items()->Add(item);
  }
  menu.Items()->Items(2)->SetShortCut(scAlt | VK_F4);
  EXPECT_EQ(menu.Items()->Items(2)->NativeText(), u"&Close\tALT+F4");
  POINT p{static_cast<LONG>(form.Left() + 40), static_cast<LONG>(form.Top() + 60)};
  menu.Popup(p.x, p.y);
  EXPECT_EQ(measured.size(), 3u);
  EXPECT_EQ(drawn.size(), 3u);
  EXPECT_EQ(menu.FindItem(menu.Items()->Items(0)->Command()), menu.Items()->Items(0));
}

TEST_F(ApplicationTest, ShortcutTexts) {
  EXPECT_EQ(ShortCutToText(scAlt | VK_F4), u"ALT+F4");
  EXPECT_EQ(ShortCutToText(scCtrl | scShift | 'S'), u"SHIFT+CTRL+S");
  EXPECT_EQ(TextToShortCut(u"alt+f4"), scAlt | VK_F4);
  EXPECT_EQ(TextToShortCut(u"CTRL+DEL"), scCtrl | VK_DELETE);
  EXPECT_EQ(TextToShortCut(u"Hyper+Q"), 0);
  EXPECT_EQ(ShortCutToText(0), u"");
}

TEST_F(ApplicationTest, MainMenuChangesReachTheFormAsMenuChanged) {
  TForm form(nullptr);
  auto* menu = new TMainMenu(&form);
  auto* file = new TMenuItem(&form);
  file->SetCaption(u"&File");
  menu->Items()->Add(file);
  form.SetMenu(menu);
  form.ShowForm();
  test::Settle();
  EXPECT_EQ(GetMenu(form.Handle()), menu->Handle());
  test::MessageRecorder rec(form, {CM_MENUCHANGED});
  auto* open = new TMenuItem(&form);
  open->SetCaption(u"Open");
  file->Add(open);
  EXPECT_TRUE(rec.Saw(CM_MENUCHANGED));
  EXPECT_EQ(GetMenu(form.Handle()), menu->Handle());
  EXPECT_EQ(GetMenuItemCount(file->Handle()), 1);
  EXPECT_EQ(ObjectAtPath(&form, {u"Menu", u"Items"}), menu->Items());
}

}  // namespace
}  // namespace lbb::forms
