// Check-box and radio-button geometry: the frame of the check or radio image a control shows
// (the 4-frame and the 12-frame images), and where the image and the caption go with and
// without the caption on the left. Expected numbers are worked out by hand in the comments.
#include <gtest/gtest.h>

#include "skin/data/CheckGeometry.h"

namespace lbb::skin {
namespace {

TCheckFrameInput Box(int frames, const char16_t* state, bool disabled = false, bool checked = false,
                     bool indeterminate = false) {
  TCheckFrameInput in;
  in.frames = frames;
  in.hasState = state != nullptr;
  if (state) in.stateIdent = state;
  in.disabled = disabled;
  in.checked = checked;
  in.indeterminate = indeterminate;
  return in;
}

TEST(CheckFrame, WindowStateAloneWithFourFrames) {
  // No control object: checked 2, unchecked 1; disabled two on.
  EXPECT_EQ(CheckBoxFrame(Box(4, nullptr, false, false)), 1);
  EXPECT_EQ(CheckBoxFrame(Box(4, nullptr, false, true)), 2);
  EXPECT_EQ(CheckBoxFrame(Box(4, nullptr, true, false)), 3);
  EXPECT_EQ(CheckBoxFrame(Box(4, nullptr, true, true)), 4);
  // Indeterminate is frame 4 whatever else holds.
  EXPECT_EQ(CheckBoxFrame(Box(4, nullptr, false, false, true)), 4);
  EXPECT_EQ(CheckBoxFrame(Box(4, nullptr, true, false, true)), 4);
}

TEST(CheckFrame, StatePropertyOverridesTheWindow) {
  // "cbUnchecked" holds "uncheck" (1) even though it also holds "check".
  EXPECT_EQ(CheckBoxFrame(Box(4, u"cbUnchecked", false, true)), 1);
  EXPECT_EQ(CheckBoxFrame(Box(4, u"cbChecked", false, false)), 2);
  EXPECT_EQ(CheckBoxFrame(Box(4, u"cbGrayed", false, false)), 4);
  // An identifier with none of the words leaves the window's choice.
  EXPECT_EQ(CheckBoxFrame(Box(4, u"cbOther", false, true)), 2);
}

TEST(CheckFrame, CheckedPropertyWithoutState) {
  TCheckFrameInput in = Box(4, nullptr, false, false);
  in.hasChecked = true;
  in.checkedTrue = true;
  EXPECT_EQ(CheckBoxFrame(in), 2);
  in.checkedTrue = false;
  EXPECT_EQ(CheckBoxFrame(in), 3);
  // With "State" present, "Checked" is not looked at: cbChecked gives 2 even if false.
  in.hasState = true;
  in.stateIdent = u"cbChecked";
  EXPECT_EQ(CheckBoxFrame(in), 2);
}

TEST(CheckFrame, DataAwareAndBoundBoxes) {
  TCheckFrameInput in = Box(4, u"cbChecked");
  in.hasDataField = true;
  in.state = 0;  // nothing set yet: the State property's 2 stays
  EXPECT_EQ(CheckBoxFrame(in), 2);
  in.state = 1;  // BM_SETCHECK 0
  EXPECT_EQ(CheckBoxFrame(in), 1);
  in.state = 3;  // BM_SETCHECK 2 (indeterminate) shows 4
  EXPECT_EQ(CheckBoxFrame(in), 4);
  in.hasDataBinding = true;
  EXPECT_EQ(CheckBoxFrame(in), 1);
}

TEST(CheckFrame, TwelveFrameImageRemaps) {
  EXPECT_EQ(CheckBoxFrame(Box(12, u"cbUnchecked")), 1);
  EXPECT_EQ(CheckBoxFrame(Box(12, u"cbChecked", false, true)), 5);  // 2 -> 5
  EXPECT_EQ(CheckBoxFrame(Box(12, u"cbUnchecked", true)), 4);       // 1 + 2 = 3 -> 4
  EXPECT_EQ(CheckBoxFrame(Box(12, u"cbChecked", true, true)), 8);   // 2 + 2 = 4 -> 8
  EXPECT_EQ(CheckBoxFrame(Box(12, u"cbGrayed", false, false, true)), 9);
  EXPECT_EQ(CheckBoxFrame(Box(12, u"cbGrayed", true, false, true)), 12);
}

TEST(CheckFrame, FrameStaysInsideTheImage) {
  // Grayed from the property (4) and disabled (6) without the indeterminate window state:
  // beyond a 4-frame image, so the last frame.
  EXPECT_EQ(CheckBoxFrame(Box(4, u"cbGrayed", true)), 4);
  EXPECT_EQ(CheckBoxFrame(Box(12, u"cbGrayed", true)), 6);
}

TEST(RadioFrame, CheckedDisabled) {
  EXPECT_EQ(RadioButtonFrame(false, false, 8), 1);
  EXPECT_EQ(RadioButtonFrame(true, false, 8), 2);
  EXPECT_EQ(RadioButtonFrame(false, true, 8), 3);
  EXPECT_EQ(RadioButtonFrame(true, true, 8), 4);
  EXPECT_EQ(RadioButtonFrame(true, true, 2), 2);
}

TEST(CheckLayout, ImageSize) {
  // 156 / 12 = 13 wide, the full height.
  EXPECT_EQ(CheckImageSize(156, 13, 12), (TSize{13, 13}));
  EXPECT_EQ(CheckImageSize(156, 13, 0), (TSize{}));
}

TEST(CheckLayout, ImageLeftTextRight) {
  // 97 x 17 box, 13 x 13 image: top (17 - 13) / 2 = 2; text from 13 + 2 = 15.
  const TCheckLayout l = CheckLayout(TRect{0, 0, 97, 17}, TSize{13, 13}, false);
  EXPECT_EQ(l.Image, (TRect{0, 2, 13, 15}));
  EXPECT_EQ(l.Text, (TRect{15, 0, 97, 17}));
  EXPECT_FALSE(l.RightAligned);
}

TEST(CheckLayout, LeftTextPutsTheImageRight) {
  // 97 x 20 box, 13 x 13 image: top (20 - 13) / 2 = 3 (3.5 truncated); image 84..97; text
  // ends at 97 - 13 - 2 = 82.
  const TCheckLayout l = CheckLayout(TRect{0, 0, 97, 20}, TSize{13, 13}, true);
  EXPECT_EQ(l.Image, (TRect{84, 3, 97, 16}));
  EXPECT_EQ(l.Text, (TRect{0, 0, 82, 20}));
  EXPECT_TRUE(l.RightAligned);
}

TEST(CheckLayout, ImageTallerThanTheBoxCentresTowardZero) {
  // (10 - 13) / 2 = -1 (-1.5 toward zero).
  const TCheckLayout l = CheckLayout(TRect{0, 0, 50, 10}, TSize{13, 13}, false);
  EXPECT_EQ(l.Image.Top, -1);
}

TEST(CheckLayout, CaptionCentredInTheTextBox) {
  // Box height 17, text 13: top 2, bottom 15.
  EXPECT_EQ(CheckCaptionRect(TRect{15, 0, 97, 17}, 13), (TRect{15, 2, 97, 15}));
}

}  // namespace
}  // namespace lbb::skin
