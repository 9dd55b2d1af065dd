// The frame choice and layout of the combo box, the up-down and the date-time arrow
// (skin/data/ComboGeometry.h), and the built-in skin's elements they draw from.
#include <gtest/gtest.h>

#include <ostream>
#include <span>

#include "resources/skin/BuiltinSkin.h"
#include "skin/data/ComboGeometry.h"
#include "skin/data/SkinModel.h"

namespace lbb::skin {
inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
}  // namespace lbb::skin

namespace {

using namespace lbb;
using namespace lbb::skin;

const TSkinModel& Slate() {
  static TSkinModel m;
  static const bool parsed = [] {
    const std::span<const uint8_t> bytes = lbb::resources::BuiltinSkin();
    m.data.Write(bytes.data(), bytes.size());
    return m.ParseSkin();
  }();
  EXPECT_TRUE(parsed);
  return m;
}

TEST(ComboFrame, DisabledBeatsEverything) {
  EXPECT_EQ(ComboButtonFrame({false, true, true, true}), kComboFrameDisabled);
  EXPECT_EQ(kComboFrameDisabled, 3);
}

TEST(ComboFrame, DroppedOrPressedShowsPressed) {
  EXPECT_EQ(ComboButtonFrame({true, true, false, false}), 2);
  EXPECT_EQ(ComboButtonFrame({true, false, true, false}), 2);
  EXPECT_EQ(ComboButtonFrame({true, true, false, true}), 2);  // hot while open: still pressed
}

TEST(ComboFrame, HotThenNormal) {
  EXPECT_EQ(ComboButtonFrame({true, false, false, true}), 4);
  EXPECT_EQ(ComboButtonFrame({}), 1);
}

TEST(ComboFallbackButton, AtTheRightInsideTheBorder) {
  EXPECT_EQ(ComboFallbackButton(150, 21, 2, 17, false), (TRect{131, 2, 148, 19}));
  EXPECT_EQ(ComboFallbackButton(150, 21, 2, 17, true), (TRect{2, 2, 19, 19}));
}

TEST(ComboFallbackButton, NarrowBoxesNeverInvert) {
  const TRect r = ComboFallbackButton(10, 3, 2, 17, false);
  EXPECT_FALSE(r.Inverted());
  EXPECT_LE(r.Right, 10);
  EXPECT_GE(r.Left, 0);
  EXPECT_FALSE(ComboFallbackButton(-5, -5, 2, 17, false).Inverted());
}

TEST(CentredIn, CentresAndClips) {
  EXPECT_EQ(CentredIn({0, 0, 17, 17}, 12, 12), (TRect{2, 2, 14, 14}));
  EXPECT_EQ(CentredIn({10, 20, 30, 30}, 5, 4), (TRect{17, 23, 22, 27}));
  // A picture larger than the box keeps to the box.
  EXPECT_EQ(CentredIn({0, 0, 10, 10}, 20, 4), (TRect{0, 3, 10, 7}));
  EXPECT_FALSE(CentredIn({5, 5, 0, 0}, 3, 3).Inverted());
}

TEST(UpDownFrame, EachHalfHasFourLooks) {
  TUpDownLook look;
  EXPECT_EQ(UpDownFrame(udFirst, look), 1);
  EXPECT_EQ(UpDownFrame(udSecond, look), 5);
  look.pressed = udFirst;
  look.hot = udFirst;
  EXPECT_EQ(UpDownFrame(udFirst, look), 2);
  EXPECT_EQ(UpDownFrame(udSecond, look), 5);
  look.pressed = udNone;
  EXPECT_EQ(UpDownFrame(udFirst, look), 4);
  look.hot = udSecond;
  EXPECT_EQ(UpDownFrame(udSecond, look), 8);
  look.pressed = udSecond;
  EXPECT_EQ(UpDownFrame(udSecond, look), 6);
  look.enabled = false;
  EXPECT_EQ(UpDownFrame(udFirst, look), 3);
  EXPECT_EQ(UpDownFrame(udSecond, look), 7);
}

TEST(UpDownHalves, VerticalSplitsAtTheMiddle) {
  const TUpDownLayout l = UpDownHalves({17, 21, false});
  EXPECT_EQ(l.First, (TRect{0, 0, 17, 10}));
  EXPECT_EQ(l.Second, (TRect{0, 10, 17, 21}));
  EXPECT_EQ(UpDownHalfAt(l, 8, 0), udFirst);
  EXPECT_EQ(UpDownHalfAt(l, 8, 9), udFirst);
  EXPECT_EQ(UpDownHalfAt(l, 8, 10), udSecond);
  EXPECT_EQ(UpDownHalfAt(l, 8, 21), udNone);
  EXPECT_EQ(UpDownHalfAt(l, -1, 5), udNone);
}

TEST(UpDownHalves, HorizontalSplitsAtTheMiddle) {
  const TUpDownLayout l = UpDownHalves({30, 17, true});
  EXPECT_EQ(l.First, (TRect{0, 0, 15, 17}));
  EXPECT_EQ(l.Second, (TRect{15, 0, 30, 17}));
  EXPECT_EQ(UpDownHalfAt(l, 14, 3), udFirst);
  EXPECT_EQ(UpDownHalfAt(l, 15, 3), udSecond);
}

TEST(UpDownHalves, BuddyEdgeAndSpacerAreLeftOut) {
  TUpDownInput in{16, 21, false, 2, 2, false};
  TUpDownLayout l = UpDownHalves(in);
  EXPECT_EQ(l.Arrows, (TRect{2, 2, 14, 19}));
  EXPECT_EQ(l.First, (TRect{2, 2, 14, 10}));
  EXPECT_EQ(l.Second, (TRect{2, 10, 14, 19}));
  EXPECT_EQ(UpDownHalfAt(l, 15, 5), udNone);  // on the buddy's edge
  in.alignLeft = true;
  l = UpDownHalves(in);
  EXPECT_EQ(l.Arrows, (TRect{2, 2, 14, 19}));
  in.width = 20;
  l = UpDownHalves(in);
  EXPECT_EQ(l.Arrows, (TRect{2, 2, 18, 19}));
}

TEST(UpDownHalves, TinyWindowsNeverInvert) {
  const TUpDownLayout l = UpDownHalves({3, 3, false, 2, 2, false});
  EXPECT_FALSE(l.First.Inverted());
  EXPECT_FALSE(l.Second.Inverted());
  EXPECT_EQ(UpDownHalfAt(UpDownHalves({0, 0, true}), 0, 0), udNone);
}

TEST(BuiltInSkin, HasTheElementsTheseSkinnersDrawFrom) {
  const TSkinModel& m = Slate();
  ASSERT_TRUE(m.combox);
  EXPECT_EQ(m.combox->frame, kComboFrames);
  EXPECT_EQ(m.combox->trans, 1);
  EXPECT_FALSE(m.Comboxborder);  // Slate has no SunkEdge: the button is drawn on its own
  ASSERT_TRUE(m.comboxarrow);
  EXPECT_EQ(m.comboxarrow->frame, kComboFrames);
  EXPECT_EQ(m.comboxarrow->Map.Width(), m.combox->Map.Width());
  ASSERT_TRUE(m.ExtraImages);
  EXPECT_EQ(m.ExtraImages->frame, kExtraImageFrames);
  for (const TDataSkinBorder* spin : {m.HSpin.get(), m.VSpin.get()}) {
    ASSERT_TRUE(spin);
    EXPECT_EQ(spin->frame, kUpDownFrames);
    EXPECT_FALSE(spin->MaskMap.Empty());
    EXPECT_EQ(spin->MaskMap.Width() % kUpDownFrames, 0);
  }
  // The combo button's normal frame keys its plate away (only the arrow is drawn), its pressed
  // frame does not.
  const int cw = m.combox->Map.Width() / kComboFrames;
  EXPECT_EQ(m.combox->Map.At(1, 1) & 0xFFFFFF, 0xFF00FFu);
  EXPECT_NE(m.combox->Map.At(cw + cw / 2, 3) & 0xFFFFFF, 0xFF00FFu);
}

}  // namespace
