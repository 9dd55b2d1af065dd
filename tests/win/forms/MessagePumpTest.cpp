// The one message pump: WM_QUIT ends the outermost loop and is posted again by nested ones;
// waiting loops wake on events and keep the hand-over from workers flowing.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/win/Handles.h"
#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/MessagePump.h"
#include "forms/Timer.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

class MessagePumpTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureApplication(); }
  // Ends a Run that never ends by itself, so that a broken loop fails instead of hanging.
  void Watchdog(TTimer& timer) {
    timer.SetInterval(20000);
    timer.OnTimer = [](TObject*) { PostQuitMessage(99); };
    timer.SetEnabled(true);
  }
};

TEST_F(MessagePumpTest, QuitInANestedLoopIsPostedAgainAndEndsRunWithItsCode) {
  TTimer watchdog(nullptr), starter(nullptr);
  Watchdog(watchdog);
  bool nestedSawQuit = false;
  int nestedCode = -1, afterNested = 0;
  starter.SetInterval(10);
  starter.OnTimer = [&](TObject*) {
    starter.SetEnabled(false);
    {
      TMessagePump nested(Application->MessageDispatch());
      PostQuitMessage(7);
      while (nested.HandleOne()) {
      }
      nestedSawQuit = nested.QuitSeen();
      nestedCode = nested.ExitCode();
    }
    ++afterNested;
  };
  starter.SetEnabled(true);
  Application->Run();
  EXPECT_TRUE(nestedSawQuit);
  EXPECT_EQ(nestedCode, 7);
  EXPECT_EQ(afterNested, 1);
  EXPECT_EQ(Application->ExitCode(), 7);
  EXPECT_TRUE(Application->Terminated());
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));  // taken by Run
}

TEST_F(MessagePumpTest, QuitDuringAModalFormEndsTheFormThenRun) {
  TTimer watchdog(nullptr), ticker(nullptr);
  Watchdog(watchdog);
  TForm dialog(nullptr);
  dialog.SetBounds(120, 120, 200, 100);
  int ticks = 0, modalResult = -1;
  ticker.SetInterval(10);
  ticker.OnTimer = [&](TObject*) {
    if (++ticks == 1) {
      modalResult = dialog.ShowModal();  // the timer goes on inside the modal loop
    } else if (ticks == 2) {
      ticker.SetEnabled(false);
      PostQuitMessage(5);
    }
  };
  ticker.SetEnabled(true);
  Application->Run();
  EXPECT_EQ(modalResult, mrNone);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(Application->ExitCode(), 5);
}

TEST_F(MessagePumpTest, WaitWakesWhenAnotherThreadSetsTheEvent) {
  KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  std::thread setter([&] { SetEvent(event.get()); });
  TMessagePump pump;
  const bool done = pump.PumpUntil(
      [&] { return WaitForSingleObject(event.get(), 0) == WAIT_OBJECT_0; }, event.get(), 20000);
  setter.join();
  EXPECT_TRUE(done);
  // Input waiting for the thread is reported before a signalled handle (a late display or
  // timer message may be there): handled, the wait then names the event.
  DWORD woke = WaitForInputOrObjects({event.get()}, 20000);
  for (int i = 0; i < 100 && woke == 1; ++i) {
    Application->ProcessMessages();
    woke = WaitForInputOrObjects({event.get()}, 20000);
  }
  EXPECT_EQ(woke, 0u);
  // A wait whose event never comes ends at its deadline and says so.
  KernelHandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  EXPECT_FALSE(pump.PumpUntil([] { return false; }, never.get(), 30));
}

TEST_F(MessagePumpTest, HandOverRunsWhileTheUiThreadWaitsForTheWorker) {
  KernelHandle finished(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  bool ranOnUiThread = false;
  std::thread worker([&] {
    Application->Synchronize(
        [&] { ranOnUiThread = GetCurrentThreadId() == Application->MainThreadId(); });
    SetEvent(finished.get());
  });
  TMessagePump pump(Application->MessageDispatch());
  const bool done =
      pump.PumpUntil([&] { return WaitForSingleObject(finished.get(), 0) == WAIT_OBJECT_0; },
                     finished.get(), 20000);
  worker.join();
  EXPECT_TRUE(done);
  EXPECT_TRUE(ranOnUiThread);
}

TEST_F(MessagePumpTest, WaitingLoopHoldsAQuitUntilItEndsThenPostsItAgain) {
  KernelHandle finished(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> handedOver{false};
  PostQuitMessage(3);
  std::thread worker([&] {
    // Needs the UI thread's loop after the quit came.
    Application->Synchronize([&] { handedOver = true; });
    SetEvent(finished.get());
  });
  MSG m;
  {
    TMessagePump pump;
    // The hand-over can finish before the loop first reads its queue: it goes on until it has
    // also taken the quit (a loop that never takes it times out here).
    EXPECT_TRUE(pump.PumpUntil(
        [&] { return WaitForSingleObject(finished.get(), 0) == WAIT_OBJECT_0 && pump.QuitSeen(); },
        finished.get(), 20000));
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  }
  worker.join();
  EXPECT_TRUE(handedOver);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

}  // namespace
}  // namespace lbb::forms
