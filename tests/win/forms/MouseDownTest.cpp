// A mouse-down reaches OnMouseDown with its button, keys and point: from real input on a
// windowed and a windowless control, and through MouseDown, the entry point a skinner that
// took the press from the window uses to hand it on.
#include <gtest/gtest.h>

#include <vector>

#include "forms/Buttons.h"
#include "forms/StdCtrls.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

struct Press {
  TObject* sender;
  TMouseButton button;
  TShiftState shift;
  int x, y;
};

// Records every OnMouseDown of `c` and counts its clicks.
struct PressLog {
  std::vector<Press> presses;
  int clicks = 0;
  void Watch(TControl& c) {
    c.OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
      presses.push_back({s, b, sh, x, y});
    };
    c.OnClick = [this](TObject*) { ++clicks; };
  }
};

using MouseDownTest = test::FormTest;

TEST_F(MouseDownTest, HandedOnPressArrivesWithItsValues) {
  auto* button = test::Place<TButton>(form, 10, 10, 80, 26);
  auto* speed = test::Place<TSpeedButton>(form, 100, 10, 30, 26);
  PressLog onButton, onSpeed;
  onButton.Watch(*button);
  onSpeed.Watch(*speed);
  button->MouseDown(TMouseButton::mbLeft, ssShift | ssLeft, 7, 9);
  speed->MouseDown(TMouseButton::mbRight, ssCtrl | ssRight | ssDouble, -3, 40);
  ASSERT_EQ(onButton.presses.size(), 1u);
  const Press& b = onButton.presses[0];
  EXPECT_EQ(b.sender, button);
  EXPECT_EQ(b.button, TMouseButton::mbLeft);
  EXPECT_EQ(b.shift, ssShift | ssLeft);
  EXPECT_EQ(b.x, 7);
  EXPECT_EQ(b.y, 9);
  ASSERT_EQ(onSpeed.presses.size(), 1u);
  const Press& s = onSpeed.presses[0];
  EXPECT_EQ(s.sender, speed);
  EXPECT_EQ(s.button, TMouseButton::mbRight);
  EXPECT_EQ(s.shift, ssCtrl | ssRight | ssDouble);
  EXPECT_EQ(s.x, -3);
  EXPECT_EQ(s.y, 40);
  // Handing on a press fires the event only: no click.
  EXPECT_EQ(onButton.clicks + onSpeed.clicks, 0);
}

TEST_F(MouseDownTest, RealClickFiresOnceWithTheControlsPoint) {
  auto* button = test::Place<TButton>(form, 10, 10, 80, 26);
  auto* speed = test::Place<TSpeedButton>(form, 100, 10, 30, 26);
  PressLog onButton, onSpeed;
  onButton.Watch(*button);
  onSpeed.Watch(*speed);
  Show();
  test::ClickAt(button->Handle(), POINT{12, 5});
  ASSERT_TRUE(test::PumpUntil([&] { return onButton.clicks == 1; }));
  ASSERT_EQ(onButton.presses.size(), 1u);
  EXPECT_EQ(onButton.presses[0].button, TMouseButton::mbLeft);
  EXPECT_EQ(onButton.presses[0].shift, ssLeft);
  EXPECT_EQ(onButton.presses[0].x, 12);
  EXPECT_EQ(onButton.presses[0].y, 5);
  // The windowless button gets the press in its own coordinates, through its parent.
  test::ClickAt(form->Handle(), POINT{100 + 4, 10 + 3});
  ASSERT_TRUE(test::PumpUntil([&] { return onSpeed.clicks == 1; }));
  ASSERT_EQ(onSpeed.presses.size(), 1u);
  EXPECT_EQ(onSpeed.presses[0].sender, speed);
  EXPECT_EQ(onSpeed.presses[0].shift, ssLeft);
  EXPECT_EQ(onSpeed.presses[0].x, 4);
  EXPECT_EQ(onSpeed.presses[0].y, 3);
  EXPECT_EQ(onButton.presses.size(), 1u);
}

}  // namespace
}  // namespace lbb::forms
