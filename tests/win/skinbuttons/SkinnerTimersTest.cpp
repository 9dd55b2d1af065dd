// A skinned control's own timers beside the skinner's: a bare push button and a bare combo box
// run timers 1 and 2 of their own while skinned with the built-in skin, and the real mouse
// hovers over them and leaves. Their WM_TIMERs are counted by a procedure behind the
// skinner's, so what the skinner swallows or kills is missed there.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "skin/controls/WinSkinButtons.h"
#include "skin/controls/WinSkinCombo.h"
#include "skin/win/WindowSubclass.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinbuttons/ButtonSupport.h"

namespace lbb::skin::test {
namespace {

constexpr UINT kControlTickMs = 20;
constexpr int kTicksToSee = 3;

// A control window running its own timers 1 and 2, and the count of their WM_TIMERs that reach
// its procedure. The counter is installed before the skinner, so it lies behind it.
class TTimedControl {
 public:
  bool Start(HWND hwnd) {
    const bool counting = counter_.Install(hwnd, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
      if (msg == WM_TIMER && wParam < ticks_.size()) ++ticks_[wParam];
      return counter_.CallPrevious(msg, wParam, lParam);
    });
    return counting && SetTimer(hwnd, 1, kControlTickMs, nullptr) &&
           SetTimer(hwnd, 2, kControlTickMs, nullptr);
  }
  // Waits until both timers have ticked kTicksToSee times more than they had.
  ::testing::AssertionResult BothTick(const std::string& when) {
    const std::array<int, 3> from = ticks_;
    if (PumpUntil([&] {
          return ticks_[1] >= from[1] + kTicksToSee && ticks_[2] >= from[2] + kTicksToSee;
        }))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << when << ": the control's timer 1 ticked " << ticks_[1] - from[1] << " times, timer 2 "
           << ticks_[2] - from[2] << " times";
  }

 private:
  TWindowSubclass counter_;
  std::array<int, 3> ticks_{};
};

class SkinnerTimers : public ButtonTest {
 protected:
  HWND Child(const wchar_t* cls, DWORD style, int top, int width, int height) const {
    return CreateWindowExW(0, cls, L"Timed", WS_CHILD | WS_VISIBLE | style, 20, top, width, height,
                           form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  TSkinControl* SkinnerOf(HWND hwnd) const {
    for (TSkinControl* c : sf->Controls())
      if (c->hwnd == hwnd) return c;
    return nullptr;
  }
  // Hovers over `at` (client point of hwnd) until the skinner shows the control hot, then
  // moves away until it is not; the control's timers must tick on through both.
  void HoverAndLeave(HWND hwnd, POINT at, TTimedControl& timed, const std::string& what) {
    TSkinControl* s = SkinnerOf(hwnd);
    ASSERT_NE(s, nullptr) << what << " is not skinned";
    EXPECT_TRUE(timed.BothTick(what + ", skinned, the mouse away"));
    ASSERT_TRUE(forms::test::MoveMouseTo(hwnd, at));
    EXPECT_TRUE(PumpUntil([&] { return (s->MouseState() & kStateHot) != 0; }))
        << what << " never showed hot under the mouse";
    EXPECT_TRUE(timed.BothTick(what + ", the mouse over it"));
    ASSERT_TRUE(forms::test::MoveMouseTo(form->Handle(), Away()));
    EXPECT_TRUE(PumpUntil([&] { return (s->MouseState() & kStateHot) == 0; }))
        << what << " stayed hot after the mouse left";
    EXPECT_TRUE(timed.BothTick(what + ", after the mouse left"));
  }
};

TEST_F(SkinnerTimers, AControlsOwnTimersTickOnWhileTheMouseHoversAndLeaves) {
  ShowSkinned();
  const HWND button = Child(L"BUTTON", BS_PUSHBUTTON, 20, 90, 26);
  const HWND combo = Child(L"COMBOBOX", CBS_DROPDOWNLIST, 70, 150, 200);
  ASSERT_TRUE(button && combo);
  TTimedControl timedButton, timedCombo;
  ASSERT_TRUE(timedButton.Start(button));
  ASSERT_TRUE(timedCombo.Start(combo));
  sf->AddControlh(button);
  sf->AddControlh(combo);
  ASSERT_NE(dynamic_cast<TSkinButton*>(SkinnerOf(button)), nullptr);
  ASSERT_NE(dynamic_cast<TSkinComBox*>(SkinnerOf(combo)), nullptr);
  HoverAndLeave(button, Middle(button), timedButton, "the push button");
  // The combo box is hot while the mouse is over its drop-down button, at its right end.
  RECT c{};
  GetClientRect(combo, &c);
  HoverAndLeave(combo, POINT{c.right - 6, c.bottom / 2}, timedCombo, "the combo box");
}

}  // namespace
}  // namespace lbb::skin::test
