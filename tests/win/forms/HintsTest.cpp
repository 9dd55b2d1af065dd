// The application's hints driven by the real mouse and keyboard: the hint window comes up
// after HintPause over a control that shows its hint, and goes when the mouse leaves, after
// HintHidePause, on a click or key press, and when the control is hidden or freed.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/Text.h"
#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/HintWindow.h"
#include "forms/StdCtrls.h"
#include "tests/win/forms/FormsSupport.h"
#include "tools/input/Input.h"

namespace lbb::forms {
namespace {

bool pauseOver = false;

void CALLBACK PauseOver(HWND, UINT, UINT_PTR, DWORD) {
  pauseOver = true;
}

// Handles messages until a timer of the hint pause started now has fired. Timers of one
// length fire in the order they were started, so a hint (or the end of one) whose pause began
// before this call has happened by then: checks that something does not happen wait for
// this.
void WaitOutAHintPause() {
  pauseOver = false;
  const UINT_PTR timer =
      SetTimer(nullptr, 0, static_cast<UINT>(Application->HintPause()), &PauseOver);
  ASSERT_NE(timer, 0u);
  EXPECT_TRUE(test::PumpUntil([] { return pauseOver; })) << "the pause timer never fired";
  KillTimer(nullptr, timer);
}

bool HintShown() {
  THintWindow* w = Application->HintWindow();
  return w && w->WindowHandle() && IsWindowVisible(w->WindowHandle());
}

String HintText() {
  return HintShown() ? Application->HintWindow()->Caption() : String();
}

class HintsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    saved_[0] = Application->HintPause();
    saved_[1] = Application->HintHidePause();
    saved_[2] = Application->HintShortPause();
    Application->SetHintPause(100);
    Application->SetHintHidePause(60000);
    form = new TForm(nullptr);
    form->SetBounds(120, 120, 420, 220);
    hinted = AddButton(20, 20, u"备份", u"Back up the blog|Writes every article");
    other = AddButton(20, 80, u"Other", u"Not shown");
    other->SetShowHint(false);
    next = AddButton(100, 20, u"Next", u"相册 album");  // touches `hinted`
    form->ShowForm();
    // The form in front before the mouse moves: a late activation change (of an earlier
    // test's window) would put a hint away as the user switching windows does.
    ASSERT_TRUE(input::BringToFront(form->Handle()).ok());
    test::Settle();
    test::MoveMouseTo(form->Handle(), kEmpty);
  }
  void TearDown() override {
    delete form;
    Application->SetHintPause(saved_[0]);
    Application->SetHintHidePause(saved_[1]);
    Application->SetHintShortPause(saved_[2]);
  }
  TButton* AddButton(int left, int top, const String& caption, const String& hint) {
    auto* b = test::Place<TButton>(form, left, top, 80, 30);
    b->SetCaption(caption);
    b->SetHint(hint);
    b->SetShowHint(true);
    return b;
  }
  static void MoveOnto(TControl* c) {
    test::MoveMouseTo(static_cast<TWinControl*>(c)->Handle(), POINT{40, 15});
  }
  // Moves the mouse onto `c` and waits for a hint; true when one came up.
  static bool HintComesUpOver(TControl* c) {
    MoveOnto(c);
    return test::PumpUntil(HintShown);
  }
  static bool HintGoes() {
    return test::PumpUntil([] { return !HintShown(); });
  }

  static constexpr POINT kEmpty{300, 160};
  TForm* form = nullptr;
  TButton* hinted = nullptr;
  TButton* other = nullptr;
  TButton* next = nullptr;
  int64_t saved_[3] = {};
};

TEST_F(HintsTest, ShowsTheShortHintBelowTheCursorAfterThePause) {
  ASSERT_TRUE(HintComesUpOver(hinted));
  EXPECT_EQ(HintText(), u"Back up the blog");
  EXPECT_EQ(Application->HintControl(), hinted);
  RECT r{};
  GetWindowRect(Application->HintWindow()->WindowHandle(), &r);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_GT(r.top, cursor.y);
  EXPECT_GE(r.left, cursor.x - 1);
  EXPECT_LE(r.right - r.left, 300 + 12);
  // The hint window takes neither the focus nor the mouse: the button still has the mouse.
  EXPECT_NE(GetActiveWindow(), Application->HintWindow()->WindowHandle());
  WaitOutAHintPause();
  EXPECT_TRUE(HintShown());
}

TEST_F(HintsTest, NoHintOverAControlThatDoesNotShowHints) {
  MoveOnto(other);
  ASSERT_TRUE(test::PumpUntil([&] { return Application->MouseControl() == other; }));
  EXPECT_EQ(Application->HintControl(), nullptr);
  WaitOutAHintPause();
  EXPECT_FALSE(HintShown()) << TextToUtf8(HintText());
}

TEST_F(HintsTest, HidesWhenTheMouseLeavesTheControl) {
  ASSERT_TRUE(HintComesUpOver(hinted));
  test::MoveMouseTo(form->Handle(), kEmpty);
  EXPECT_TRUE(HintGoes());
  WaitOutAHintPause();
  EXPECT_FALSE(HintShown());
}

TEST_F(HintsTest, HidesAfterTheHidePauseAndStaysHidden) {
  Application->SetHintHidePause(300);
  ASSERT_TRUE(HintComesUpOver(hinted));
  EXPECT_TRUE(HintGoes());
  // The mouse has not moved: the hint does not come back until it leaves the control.
  WaitOutAHintPause();
  EXPECT_FALSE(HintShown());
}

TEST_F(HintsTest, ButtonAndKeyPressesPutTheHintAway) {
  ASSERT_TRUE(HintComesUpOver(hinted));
  test::PressKey(VK_SHIFT);
  EXPECT_TRUE(HintGoes());
  MoveOnto(other);
  ASSERT_TRUE(HintComesUpOver(hinted));
  test::ClickAt(hinted->Handle(), POINT{40, 15});
  EXPECT_TRUE(HintGoes());
  WaitOutAHintPause();
  EXPECT_FALSE(HintShown());
}

TEST_F(HintsTest, AnotherThreadsWindowTakingTheForegroundPutsTheHintAway) {
  ASSERT_TRUE(HintComesUpOver(hinted));
  std::atomic<bool> shown{false}, quit{false};
  std::thread rival([&] {
    HWND w = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500,
                             200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(w);
    shown = true;
    while (!quit) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    DestroyWindow(w);
  });
  EXPECT_TRUE(test::PumpUntil([&] { return shown.load() && !HintShown(); }));
  quit = true;
  rival.join();
}

TEST_F(HintsTest, HidingOrFreeingTheControlHidesItsHint) {
  ASSERT_TRUE(HintComesUpOver(hinted));
  hinted->Hide();
  EXPECT_FALSE(HintShown());
  EXPECT_EQ(Application->HintControl(), nullptr);
  ASSERT_TRUE(HintComesUpOver(next));
  EXPECT_EQ(HintText(), u"相册 album");
  delete next;
  EXPECT_FALSE(HintShown());
  EXPECT_EQ(Application->HintControl(), nullptr);
  WaitOutAHintPause();
  EXPECT_FALSE(HintShown());
}

TEST_F(HintsTest, MovingOnWhileAHintShowsUsesTheShortPause) {
  ASSERT_TRUE(HintComesUpOver(hinted));
  // A full pause now would outlast the wait; the short one does not.
  Application->SetHintPause(60000);
  MoveOnto(next);
  ASSERT_TRUE(test::PumpUntil([] { return HintText() == u"相册 album"; }));
  EXPECT_EQ(Application->HintControl(), next);
}

TEST_F(HintsTest, CrossingControlsAfterAHintKeepsTheShortPause) {
  ASSERT_TRUE(HintComesUpOver(hinted));
  // Over `next` the short pause starts; back over `hinted` before it ends the pause must still
  // be the short one (the mouse is moving among hints), not the full one.
  Application->SetHintShortPause(3000);
  Application->SetHintPause(60000);
  MoveOnto(next);
  MoveOnto(hinted);
  EXPECT_TRUE(test::PumpUntil([] { return HintText() == u"Back up the blog"; }));
  EXPECT_EQ(Application->HintControl(), hinted);
}

TEST_F(HintsTest, PausesArePublishedProperties) {
  EXPECT_EQ(GetIntProp(Application, u"HintShortPause"), 50);
  EXPECT_TRUE(SetIntProp(Application, u"HintShortPause", 80));
  EXPECT_EQ(Application->HintShortPause(), 80);
  EXPECT_EQ(GetIntProp(Application, u"HintPause"), 100);
}

}  // namespace
}  // namespace lbb::forms
