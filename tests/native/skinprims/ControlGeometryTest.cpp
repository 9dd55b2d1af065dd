// Control geometry: button frames and glyph images, caption, glyph and arrow placement of the
// push, bit and menu buttons, and the scroll bar's thumb, parts, frames and hit test. Every
// expected number was worked out by hand from the rules; the arithmetic is in the comments.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "skin/data/ControlGeometry.h"

namespace lbb::skin {
// Readable failures.
inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
inline void PrintTo(const TThumb& t, std::ostream* os) {
  *os << "thumb " << t.Top << ".." << t.Bottom;
}
}  // namespace lbb::skin

namespace {

using namespace lbb::skin;

void ExpectUpright(const TRect& r) {
  EXPECT_LE(r.Left, r.Right);
  EXPECT_LE(r.Top, r.Bottom);
}

// ---- button frames

struct FrameCase {
  int state;
  bool enabled, focused, isdefault;
  int button, menu;
};

TEST(ControlGeometryButton, FrameChoiceFollowsTheStateOrder) {
  const int H = kStateHot, P = kStatePressed;
  const std::vector<FrameCase> cases = {
      {0, true, false, false, 1, 1},    // idle
      {P, true, false, false, 2, 2},    // pressed
      {H, true, false, false, 4, 4},    // hot
      {0, true, true, false, 5, 4},     // focused: 5, a menu button shows it as hot
      {0, true, false, true, 5, 1},     // default, neither focused nor hot: 5; menu ignores it
      {H, true, true, false, 4, 4},     // focused and hot: hot wins
      {H | P, true, true, true, 2, 2},  // pressed wins over everything enabled
      {H, false, false, false, 3, 3},   // disabled while the mouse is over it
      {P, false, true, true, 3, 3},     // disabled wins over pressed
  };
  for (const FrameCase& c : cases) {
    const TButtonLook b{c.state, c.enabled, c.focused, c.isdefault};
    EXPECT_EQ(ButtonFrame(b), c.button) << "state " << c.state << " en " << c.enabled;
    EXPECT_EQ(MenuButtonFrame(b), c.menu) << "state " << c.state << " en " << c.enabled;
  }
}

TEST(ControlGeometryButton, SpeedButtonFrames) {
  // Down beats disabled; disabled beats hot and pressed.
  EXPECT_EQ(SpeedButtonFrame({0, false, true, false}), 2);
  EXPECT_EQ(SpeedButtonFrame({kStateHot | kStatePressed, false, false, false}), 3);
  EXPECT_EQ(SpeedButtonFrame({kStatePressed | kStateHot, true, false, false}), 2);
  EXPECT_EQ(SpeedButtonFrame({kStateHot, true, false, false}), 4);
  EXPECT_EQ(SpeedButtonFrame({0, true, false, false}), 1);
  // A flat button draws the skin frame only pressed/down (2) or hot (4).
  EXPECT_FALSE(SpeedButtonDrawsFrame(1, true));
  EXPECT_FALSE(SpeedButtonDrawsFrame(3, true));
  EXPECT_TRUE(SpeedButtonDrawsFrame(2, true));
  EXPECT_TRUE(SpeedButtonDrawsFrame(4, true));
  EXPECT_TRUE(SpeedButtonDrawsFrame(1, false));
  EXPECT_TRUE(SpeedButtonDrawsFrame(3, false));
}

TEST(ControlGeometryButton, HugeControlsForwardTheCursor) {
  EXPECT_FALSE(ForwardUsesCursor(0x8000, 0x8000));
  EXPECT_TRUE(ForwardUsesCursor(0x8001, 20));
  EXPECT_TRUE(ForwardUsesCursor(20, 0x8001));
  EXPECT_FALSE(ForwardUsesCursor(-5, -5));
}

// ---- glyph choice

TEST(ControlGeometryGlyph, ImageByFrameAndCount) {
  // Four images (up, disabled, clicked, down).
  EXPECT_EQ(BitButtonGlyph(1, 4), (TGlyphChoice{1, false}));
  EXPECT_EQ(BitButtonGlyph(2, 4), (TGlyphChoice{3, false}));
  EXPECT_EQ(BitButtonGlyph(3, 4), (TGlyphChoice{2, false}));
  EXPECT_EQ(BitButtonGlyph(4, 4), (TGlyphChoice{1, false}));
  EXPECT_EQ(BitButtonGlyph(5, 4), (TGlyphChoice{1, false}));
  // Two images: clicked (3) is beyond the count, so the first; disabled (2) exists.
  EXPECT_EQ(BitButtonGlyph(2, 2), (TGlyphChoice{1, false}));
  EXPECT_EQ(BitButtonGlyph(3, 2), (TGlyphChoice{2, false}));
  // One image, disabled: the first, embossed. NumGlyphs 0 or negative count as 1.
  EXPECT_EQ(BitButtonGlyph(3, 1), (TGlyphChoice{1, true}));
  EXPECT_EQ(BitButtonGlyph(3, 0), (TGlyphChoice{1, true}));
  EXPECT_EQ(BitButtonGlyph(3, -5), (TGlyphChoice{1, true}));
  EXPECT_EQ(BitButtonGlyph(2, 1), (TGlyphChoice{1, false}));
  // Speed buttons: Down picks image 4 when there is one.
  EXPECT_EQ(SpeedButtonGlyph(2, true, 4), (TGlyphChoice{4, false}));
  EXPECT_EQ(SpeedButtonGlyph(2, true, 3), (TGlyphChoice{1, false}));
  EXPECT_EQ(SpeedButtonGlyph(2, false, 4), (TGlyphChoice{3, false}));
  EXPECT_EQ(SpeedButtonGlyph(3, false, 1), (TGlyphChoice{1, true}));
}

TEST(ControlGeometryGlyph, CellsAndSizes) {
  // 64 x 16 with 4 images: each 16 wide; image 3 starts at 2 x 16.
  EXPECT_EQ(GlyphCell(64, 16, 4, 3), (TRect{32, 0, 48, 16}));
  EXPECT_EQ(GlyphCell(64, 16, 4, 7), (TRect{0, 0, 16, 16}));
  EXPECT_EQ(GlyphCell(64, 16, 4, 0), (TRect{0, 0, 16, 16}));
  EXPECT_EQ(GlyphCell(64, 16, 0, 1), (TRect{0, 0, 64, 16}));
  // 50 wide with 3 images: 50 / 3 = 16 each; image 2 at 16.
  EXPECT_EQ(GlyphCell(50, 10, 3, 2), (TRect{16, 0, 32, 10}));
  // Damaged: negative sizes give an empty cell.
  EXPECT_EQ(GlyphCell(-10, -4, 2, 1), (TRect{0, 0, 0, 0}));

  TGlyphSource g;
  EXPECT_EQ(BitButtonGlyphSize(g), (TSize{0, 0}));
  g.HasImages = true;
  g.ImagesWidth = 24;
  g.ImagesHeight = 20;
  EXPECT_EQ(BitButtonGlyphSize(g), (TSize{0, 0}));  // ImageIndex -1
  g.ImageIndex = 2;
  EXPECT_EQ(BitButtonGlyphSize(g), (TSize{24, 20}));
  g.HasGlyph = true;  // a glyph wins over the image list: 64 / 4 x 16
  g.GlyphWidth = 64;
  g.GlyphHeight = 16;
  g.NumGlyphs = 4;
  EXPECT_EQ(BitButtonGlyphSize(g), (TSize{16, 16}));
  g.NumGlyphs = 0;
  EXPECT_EQ(BitButtonGlyphSize(g), (TSize{64, 16}));
  g.GlyphWidth = -8;
  EXPECT_EQ(BitButtonGlyphSize(g), (TSize{0, 16}));
}

TEST(ControlGeometryGlyph, ImageListIndexByEnabledState) {
  EXPECT_EQ(ImageListIndex(true, 5, 7), 5);
  EXPECT_EQ(ImageListIndex(false, 5, 7), 7);
  EXPECT_EQ(ImageListIndex(false, 5, -1), 5);
}

// ---- captions

TEST(ControlGeometryCaption, OnlyTheFirstDoubleBarBreaksTheLine) {
  EXPECT_EQ(CaptionLineBreak(u"Save||As"), u"Save\r\nAs");
  EXPECT_EQ(CaptionLineBreak(u"a||b||c"), u"a\r\nb||c");
  EXPECT_EQ(CaptionLineBreak(u"|||"), u"\r\n|");
  EXPECT_EQ(CaptionLineBreak(u"plain | text"), u"plain | text");
  EXPECT_EQ(CaptionLineBreak(u""), u"");
}

TEST(ControlGeometryCaption, ShrinkNeverInverts) {
  EXPECT_EQ(ShrinkRect({0, 0, 75, 25}, 2), (TRect{2, 2, 73, 23}));
  EXPECT_EQ(ShrinkRect({0, 0, 75, 25}, -2), (TRect{-2, -2, 77, 27}));
  // 3 wide shrunk by 2 would be (2, 1): collapses onto 0 + 3 / 2 = 1.
  EXPECT_EQ(ShrinkRect({0, 0, 3, 3}, 2), (TRect{1, 1, 1, 1}));
}

TEST(ControlGeometryCaption, PushButtonCaptionCentredWithFocus) {
  // 75 x 25, text 40 x 13: dw = 35 -> 17, dh = 12 -> 6 - 1 = 5.
  TButtonCaption c = PlaceButtonCaption({0, 0, 75, 25}, {40, 13}, true, false);
  EXPECT_EQ(c.Text, (TRect{17, 5, 57, 18}));
  EXPECT_TRUE(c.HasFocus);
  EXPECT_EQ(c.Focus, (TRect{15, 3, 59, 20}));
  // xoNoFocusRect, or not focused: no focus rectangle.
  EXPECT_FALSE(PlaceButtonCaption({0, 0, 75, 25}, {40, 13}, true, true).HasFocus);
  EXPECT_FALSE(PlaceButtonCaption({0, 0, 75, 25}, {40, 13}, false, false).HasFocus);
  // Two lines, 41 x 26, taller than the button: dw = 34 -> 17; dh = -1 -> -1 / 2 = 0 (toward
  // zero), - 1 = -1.
  c = PlaceButtonCaption({0, 0, 75, 25}, {41, 26}, false, false);
  EXPECT_EQ(c.Text, (TRect{17, -1, 58, 25}));
  // Empty caption: an empty box at the centre, (37, 11) = (75 / 2, 25 / 2 - 1).
  EXPECT_EQ(PlaceButtonCaption({0, 0, 75, 25}, {0, 0}, false, false).Text, (TRect{37, 11, 37, 11}));
}

TEST(ControlGeometryCaption, BaseCaptionAlignment) {
  // A box 3 shorter than rc is moved down by 3 / 2 - 1 = 0; centred: dw = 70 -> 35.
  EXPECT_EQ(PlaceCaption({0, 0, 100, 20}, {30, 17}, 1), (TRect{35, 0, 65, 17}));
  // Not centred: rc's left and right.
  EXPECT_EQ(PlaceCaption({0, 0, 100, 20}, {30, 17}, 0), (TRect{0, 0, 100, 17}));
  EXPECT_EQ(PlaceCaption({0, 0, 100, 20}, {30, 17}, 2), (TRect{0, 0, 100, 17}));
  // Away from the origin: dh = 10 -> 5 - 1 = 4, dw = 70 -> 35.
  EXPECT_EQ(PlaceCaption({10, 5, 110, 25}, {30, 10}, 1), (TRect{45, 9, 75, 19}));
  // Damaged: an inverted rc gives an upright box.
  ExpectUpright(PlaceCaption({50, 50, 0, 0}, {30, 10}, 0));
  ExpectUpright(PlaceCaption({0, 0, 10, 10}, {-5, -5}, 1));
}

TEST(ControlGeometryCaption, BaseFocusRectangle) {
  // Centred: box (35, 4, 65, 14) (dw 70 -> 35, dh 10 -> 4), grown by 2 and 1.
  EXPECT_EQ(CaptionFocusRect({0, 0, 100, 20}, {30, 10}, kDtCenter), (TRect{33, 3, 67, 15}));
  // Right: moved by dw = 70 -> (70, 0, 100, 10), grown (68, -1, 102, 11), clipped.
  EXPECT_EQ(CaptionFocusRect({0, 0, 100, 20}, {30, 10}, kDtRight), (TRect{68, 0, 100, 11}));
  // Left: (0, 0, 30, 10) grown (-2, -1, 32, 11), clipped.
  EXPECT_EQ(CaptionFocusRect({0, 0, 100, 20}, {30, 10}, 0), (TRect{0, 0, 32, 11}));
  // A box larger than rc is clipped to rc.
  EXPECT_EQ(CaptionFocusRect({0, 0, 10, 10}, {30, 30}, kDtCenter), (TRect{0, 0, 10, 10}));
  // Damaged: an inverted rc gives an empty upright rectangle.
  const TRect r = CaptionFocusRect({10, 10, 0, 0}, {5, 5}, kDtCenter);
  ExpectUpright(r);
  EXPECT_EQ(r.Width(), 0);
}

TEST(ControlGeometryCaption, ImageAndCaptionByAlignment) {
  TImgCaptionInput in{{0, 0, 100, 20}, true, {16, 16}, {40, 13}, 0};
  // Left: x = 3; image at (3, (20 - 16) / 2 = 2); text by (3 + 16, (20 - 13) / 2 = 3).
  EXPECT_EQ(PlaceImgCaption(in), (TImgCaptionPlace{true, 3, 2, {19, 3, 59, 16}}));
  // Centre: x = (100 - 16 - 40) / 2 = 22.
  in.TextAlign = 1;
  EXPECT_EQ(PlaceImgCaption(in), (TImgCaptionPlace{true, 22, 2, {38, 3, 78, 16}}));
  // Right: x = 100 - 16 - 40 - 2 = 42.
  in.TextAlign = 2;
  EXPECT_EQ(PlaceImgCaption(in), (TImgCaptionPlace{true, 42, 2, {58, 3, 98, 16}}));
  // Centre with a 90-wide text: x = (100 - 16 - 90) / 2 = -3 -> 1; text 17..107 clipped.
  in.TextAlign = 1;
  in.Text = {90, 13};
  EXPECT_EQ(PlaceImgCaption(in), (TImgCaptionPlace{true, 1, 2, {17, 3, 100, 16}}));
  // The measuring box is rc widened by image width + 2.
  EXPECT_EQ(ImgCaptionMeasureBox(in), (TRect{0, 0, 118, 20}));
}

TEST(ControlGeometryCaption, ImageThatDoesNotCount) {
  // No image: width 0; right alignment x = 100 - 0 - 96 - 2 = 2 stays (only below 2 -> 1).
  TImgCaptionInput in{{0, 0, 100, 20}, false, {16, 16}, {96, 13}, 2};
  EXPECT_EQ(ImgCaptionImageWidth(in), 0);
  EXPECT_EQ(PlaceImgCaption(in), (TImgCaptionPlace{false, 2, 10, {2, 3, 98, 16}}));
  EXPECT_EQ(ImgCaptionMeasureBox(in), (TRect{0, 0, 100, 20}));
  // An image as wide as rc does not count.
  in = {{0, 0, 16, 20}, true, {16, 16}, {0, 0}, 0};
  EXPECT_EQ(ImgCaptionImageWidth(in), 0);
  EXPECT_FALSE(PlaceImgCaption(in).DrawsImage);
  // Damaged: an inverted rc still gives an upright text box.
  in = {{30, 30, 0, 0}, true, {16, 16}, {40, 13}, 1};
  ExpectUpright(PlaceImgCaption(in).Text);
}

// ---- bit buttons

TEST(ControlGeometryBitButton, LayoutIdentifiers) {
  EXPECT_EQ(ParseButtonLayout(u"blglyphright"), TButtonLayout::GlyphRight);
  EXPECT_EQ(ParseButtonLayout(u"BLGLYPHTOP"), TButtonLayout::GlyphTop);
  EXPECT_EQ(ParseButtonLayout(u"blGlyphBottom"), TButtonLayout::GlyphBottom);
  EXPECT_EQ(ParseButtonLayout(u"blGlyphLeft"), TButtonLayout::GlyphLeft);
  EXPECT_EQ(ParseButtonLayout(u"sideways"), TButtonLayout::GlyphLeft);
  EXPECT_EQ(ParseButtonLayout(u""), TButtonLayout::GlyphLeft);
}

struct LayoutCase {
  TButtonLayout layout;
  int margin, spacing;
  TRect glyph, text;
  int flags;
};

TEST(ControlGeometryBitButton, ThirdsForEveryLayout) {
  // Glyph 16 x 16, text 40 x 13.
  // Left/right in 90 x 30: (90 - 16 - 40) / 3 = 11; glyph y (30 - 16 + 1) / 2 = 7, text y
  // (30 - 13 + 1) / 2 = 9. Right: glyph x 90 - 11 - 16 = 63, text x 63 - 11 - 40 = 12.
  // Top/bottom in 60 x 60: (60 - 16 - 13) / 3 = 10; glyph x (60 - 16 + 1) / 2 = 22, text x
  // (60 - 40 + 1) / 2 = 10. Top: text y 10 + 16 + 10 = 36. Bottom: glyph y 60 - 10 - 16 = 34,
  // text y 34 - 10 - 13 = 11.
  using L = TButtonLayout;
  const int WB = kDtWordBreak;
  const std::vector<LayoutCase> cases = {
      {L::GlyphLeft, 11, 11, {11, 7, 27, 23}, {38, 9, 78, 22}, WB},
      {L::GlyphRight, 11, 11, {63, 7, 79, 23}, {12, 9, 52, 22}, WB | kDtRight},
      {L::GlyphTop, 10, 10, {22, 10, 38, 26}, {10, 36, 50, 49}, WB | kDtCenter},
      {L::GlyphBottom, 10, 10, {22, 34, 38, 50}, {10, 11, 50, 24}, WB | kDtCenter},
  };
  for (const LayoutCase& c : cases) {
    const bool across =
        c.layout == TButtonLayout::GlyphLeft || c.layout == TButtonLayout::GlyphRight;
    const TBitButtonInput in{
        across ? 90 : 60, across ? 30 : 60, {16, 16}, {40, 13}, c.layout, -1, -1, false};
    EXPECT_EQ(PlaceBitButton(in), (TBitButtonPlace{c.glyph, c.text, c.flags, c.margin, c.spacing}))
        << static_cast<int>(c.layout);
  }
}

TEST(ControlGeometryBitButton, GivenMarginAndSpacing) {
  TBitButtonInput in{90, 30, {16, 16}, {40, 13}, TButtonLayout::GlyphLeft, 4, 4, false};
  TBitButtonPlace p = PlaceBitButton(in);
  EXPECT_EQ(p.Glyph, (TRect{4, 7, 20, 23}));
  EXPECT_EQ(p.Text, (TRect{24, 9, 64, 22}));  // 4 + 16 + 4
  // Spacing -1: (90 - 4 - 16 - 40) / 2 = 15; text x 4 + 16 + 15 = 35.
  in.Spacing = -1;
  p = PlaceBitButton(in);
  EXPECT_EQ(p.Spacing, 15);
  EXPECT_EQ(p.Text.Left, 35);
  // Margin -1, spacing 6: (90 - 16 - 6 - 40) / 2 = 14; text x 14 + 16 + 6 = 36.
  in.Margin = -1;
  in.Spacing = 6;
  p = PlaceBitButton(in);
  EXPECT_EQ(p.Margin, 14);
  EXPECT_EQ(p.Text.Left, 36);
  // Alignment taCenter overrides a given margin the same way.
  in.Margin = 4;
  in.AlignCenter = true;
  EXPECT_EQ(PlaceBitButton(in).Margin, 14);
  // Right layout with margin 4 spacing 6: glyph x 90 - 4 - 16 = 70, text x 70 - 6 - 40 = 24.
  in = {90, 30, {16, 16}, {40, 13}, TButtonLayout::GlyphRight, 4, 6, false};
  p = PlaceBitButton(in);
  EXPECT_EQ(p.Glyph.Left, 70);
  EXPECT_EQ(p.Text.Left, 24);
}

TEST(ControlGeometryBitButton, MissingTextOrGlyphDropsTheSpacing) {
  // No caption: spacing 0, margin (90 - 16 - 0 - 0) / 2 = 37; the empty text box sits at
  // 37 + 16, y (30 + 1) / 2 = 15.
  TBitButtonInput in{90, 30, {16, 16}, {0, 0}, TButtonLayout::GlyphLeft, -1, 4, false};
  TBitButtonPlace p = PlaceBitButton(in);
  EXPECT_EQ(p.Spacing, 0);
  EXPECT_EQ(p.Glyph, (TRect{37, 7, 53, 23}));
  EXPECT_EQ(p.Text, (TRect{53, 15, 53, 15}));
  // No glyph, thirds asked for: spacing 0 first, so margin (90 - 40) / 2 = 25.
  in = {90, 30, {0, 0}, {40, 13}, TButtonLayout::GlyphLeft, -1, -1, false};
  p = PlaceBitButton(in);
  EXPECT_EQ(p.Margin, 25);
  EXPECT_EQ(p.Spacing, 0);
  EXPECT_EQ(p.Text, (TRect{25, 9, 65, 22}));
}

TEST(ControlGeometryBitButton, MeasureBoxes) {
  // (2, 2, 88, 28) narrowed by 16 + 2.
  EXPECT_EQ(BitButtonMeasureBox(90, 30, {16, 16}, TButtonLayout::GlyphLeft), (TRect{2, 2, 70, 28}));
  EXPECT_EQ(BitButtonMeasureBox(90, 30, {16, 16}, TButtonLayout::GlyphRight),
            (TRect{2, 2, 70, 28}));
  // (2, 2, 58, 58) lowered by 16 + 2.
  EXPECT_EQ(BitButtonMeasureBox(60, 60, {16, 16}, TButtonLayout::GlyphTop), (TRect{2, 2, 58, 40}));
  // Too small: (2, 2, 3, 3) cannot lose 18 more; it stays upright.
  EXPECT_EQ(BitButtonMeasureBox(5, 5, {16, 16}, TButtonLayout::GlyphLeft), (TRect{2, 2, 2, 3}));
  ExpectUpright(BitButtonMeasureBox(-40, -40, {16, 16}, TButtonLayout::GlyphBottom));
}

TEST(ControlGeometryBitButton, DamagedSizesGiveUprightRectangles) {
  // A negative width: margin (-10 - 16 - 40) / 3 = -22; rectangles keep their sizes.
  TBitButtonInput in{-10, -10, {16, 16}, {40, 13}, TButtonLayout::GlyphLeft, -1, -1, false};
  TBitButtonPlace p = PlaceBitButton(in);
  EXPECT_EQ(p.Margin, -22);
  EXPECT_EQ(p.Glyph.Width(), 16);
  // Negative measured sizes give empty boxes.
  in = {90, 30, {-16, -16}, {-40, -13}, TButtonLayout::GlyphBottom, 3, 3, false};
  p = PlaceBitButton(in);
  ExpectUpright(p.Glyph);
  ExpectUpright(p.Text);
}

// ---- menu buttons

TEST(ControlGeometryMenuButton, ArrowAndSpacingRules) {
  // 100 x 30, glyph 16 x 16, text 40 x 13. Both -1: (100 - 16 - 40 - 8) / 4 = 9. Glyph at
  // (9, (30 - 16) / 2 = 7); text x 9 + 16 + 9 = 34, y (30 - 13 + 1) / 2 = 9; arrow x
  // 9 + 16 + 40 + 27 = 92, y (30 - 3) / 2 = 13.
  TMenuButtonInput in{100, 30, {16, 16}, {40, 13}, -1, -1};
  EXPECT_EQ(PlaceMenuButton(in), (TMenuButtonPlace{{9, 7, 25, 23}, {34, 9, 74, 22}, 92, 13, 9, 9}));
  // Margin -1, spacing 4: (100 - 16 - 40 - 8 - 8) / 2 = 14; text 14 + 16 + 4 = 34; arrow
  // 14 + 16 + 40 + 12 = 82.
  in.Spacing = 4;
  EXPECT_EQ(PlaceMenuButton(in),
            (TMenuButtonPlace{{14, 7, 30, 23}, {34, 9, 74, 22}, 82, 13, 14, 4}));
  // Spacing -1, margin 5: (100 + 8 - 10 - 16 - 40) / 2 = 21; text 5 + 16 + 21 = 42; arrow
  // 5 + 16 + 40 + 63 = 124.
  in = {100, 30, {16, 16}, {40, 13}, 5, -1};
  const TMenuButtonPlace p = PlaceMenuButton(in);
  EXPECT_EQ(p.Spacing, 21);
  EXPECT_EQ(p.Text.Left, 42);
  EXPECT_EQ(p.ArrowX, 124);
  // Both given: margin 5, spacing 3; arrow 5 + 16 + 40 + 9 = 70.
  in.Spacing = 3;
  EXPECT_EQ(PlaceMenuButton(in).ArrowX, 70);
}

TEST(ControlGeometryMenuButton, MeasureBoxAndTriangle) {
  // 100 - 16 - 8 = 76 wide, shrunk by 2.
  EXPECT_EQ(MenuButtonMeasureBox(100, 30, {16, 16}), (TRect{2, 2, 74, 28}));
  ExpectUpright(MenuButtonMeasureBox(10, -3, {16, 16}));
  const TArrowTriangle t = MenuArrowTriangle(92, 13);
  EXPECT_EQ(t.P[0], (TPoint{92, 15}));
  EXPECT_EQ(t.P[1], (TPoint{89, 12}));
  EXPECT_EQ(t.P[2], (TPoint{95, 12}));
}

// ---- scroll bars: the thumb of a scroll-bar control

struct ThumbCase {
  TScrollInfo si;
  bool minimum8;
  TThumb want;
  const char* why;
};

TEST(ControlGeometryScroll, ThumbOfAScrollBarControl) {
  // Len 100, CW 17: usable 66.
  const std::vector<ThumbCase> cases = {
      // 66 x 9 / 100 = 5.94 -> 6 <= 7: 8 pixels; pos = min: start 17.
      {{0, 100, 10, 0}, true, {17, 25}, "short page gets 8 pixels"},
      // 8-pixel path: start 17 + (66 - 8) x 50 / 100 = 17 + 29.
      {{0, 100, 10, 50}, true, {46, 54}, "8-pixel thumb in the middle"},
      {{0, 100, 10, 100}, true, {75, 83}, "8-pixel thumb at the end: 17 + 58"},
      // 66 x 10 / 100 = 6.6 -> 7, still <= 7: 8 pixels.
      {{0, 100, 11, 0}, true, {17, 25}, "7 pixels become 8"},
      // 66 x 12 / 100 = 7.92 -> 8 > 7: the plain path, start 17 + 66 x 50 / 100 = 50.
      {{0, 100, 13, 50}, true, {50, 58}, "8 pixels keep the plain start"},
      // Without the minimum: length 6, start 17 + 66 x 50 / 100 = 50.
      {{0, 100, 10, 50}, false, {50, 56}, "control object: no minimum"},
      // 66 x 49 / 100 = 32.34 -> 32.
      {{0, 100, 50, 0}, true, {17, 49}, "half page at the start"},
      {{0, 100, 50, 50}, true, {50, 82}, "half page in the middle: 17 + 33"},
      // 66 x 33 / 100 = 21.78: the start truncates -> 38; end 38 + 32.
      {{0, 100, 50, 33}, true, {38, 70}, "start truncates"},
      // 66 x 51 / 100 = 33.66 rounds to 34.
      {{0, 100, 52, 0}, true, {17, 51}, "length rounds up"},
      // 66 x 25 / 100 = 16.5 rounds half away to 17.
      {{0, 100, 26, 0}, false, {17, 34}, "length rounds half up"},
      // Page 0: length CW; start 17 + 49 x 50 / 100 = 17 + 24 (24.5 truncated).
      {{0, 100, 0, 50}, true, {41, 58}, "page 0 in the middle"},
      {{0, 100, 0, 100}, true, {66, 83}, "page 0 at the end: 17 + 49"},
      // min = max: range 9 999 999; pos = min.
      {{5, 5, 0, 5}, true, {17, 34}, "range 0, page 0"},
      // 49 x 5 / 9 999 999 = 0.
      {{0, 0, 0, 5}, true, {17, 34}, "range 0, pos past it"},
      // Damaged: max < min counts as range 9 999 999: length 0 -> 8, start 17 + 0.
      {{100, 0, 10, 50}, true, {17, 25}, "max below min"},
      // Page 100 in range 10: 66 x 99 / 10 = 653 -> the whole track 17..83.
      {{0, 10, 100, 0}, true, {17, 83}, "page larger than the range"},
      // Pos 300 of 100: 17 + 198 -> kept at the track's end, no length left.
      {{0, 100, 50, 300}, true, {83, 83}, "pos beyond max"},
      // Pos below min: 17 + 66 x -50 / 100 = -16 -> 17.
      {{0, 100, 50, -50}, true, {17, 49}, "pos below min"},
      // Negative page: 66 x -11 / 100 = -7.26 -> -7, <= 7: 8 pixels.
      {{0, 100, -10, 0}, true, {17, 25}, "negative page"},
  };
  for (const ThumbCase& c : cases) {
    EXPECT_EQ(ScrollThumb(c.si, 100, 17, c.minimum8), c.want) << c.why;
  }
}

TEST(ControlGeometryScroll, ThumbOfDamagedBars) {
  // A bar shorter than two arrows: the track [17, max(17, 20 - 17)] is empty.
  EXPECT_EQ(ScrollThumb({0, 100, 10, 50}, 20, 17, true), (TThumb{17, 17}));
  // Negative length and arrows count as 0.
  EXPECT_EQ(ScrollThumb({0, 100, 10, 50}, -5, 17, true), (TThumb{17, 17}));
  EXPECT_EQ(ScrollThumb({0, 100, 0, 50}, 100, -17, true), (TThumb{50, 50}));
  // Extreme values: range 2^32 - 1 in 64 bits, no overflow; the thumb stays in the track.
  const TThumb t = ScrollThumb({INT_MIN, INT_MAX, INT_MAX, INT_MAX}, 100, 17, true);
  EXPECT_GE(t.Top, 17);
  EXPECT_LE(t.Top, t.Bottom);
  EXPECT_LE(t.Bottom, 83);
}

// ---- scroll bars: arrows, thickness, hit test, dragging

TEST(ControlGeometryScroll, ArrowLengthAndThickness) {
  EXPECT_EQ(ScrollArrowLength(100, 17), 17);
  EXPECT_EQ(ScrollArrowLength(34, 17), 17);
  EXPECT_EQ(ScrollArrowLength(33, 17), 16);  // 33 / 2
  EXPECT_EQ(ScrollArrowLength(20, 17), 10);
  EXPECT_EQ(ScrollArrowLength(21, 17), 10);
  EXPECT_EQ(ScrollArrowLength(-5, 17), 0);
  EXPECT_EQ(ScrollArrowLength(100, -3), 0);
  // The SArrow bitmap's height unless it differs from CW by more than 2.
  EXPECT_EQ(ScrollThickness(17, 17), 17);
  EXPECT_EQ(ScrollThickness(19, 17), 19);
  EXPECT_EQ(ScrollThickness(15, 17), 15);
  EXPECT_EQ(ScrollThickness(20, 17), 17);
  EXPECT_EQ(ScrollThickness(14, 17), 17);
}

TEST(ControlGeometryScroll, HitTestAlongTheAxis) {
  const TThumb thumb{40, 60};
  const std::vector<std::pair<int, int>> cases = {
      {-1, kSbNone},       {0, kSbFirstArrow},   {16, kSbFirstArrow},  {17, kSbPageFirst},
      {39, kSbPageFirst},  {40, kSbThumb},       {59, kSbThumb},       {60, kSbPageSecond},
      {82, kSbPageSecond}, {83, kSbSecondArrow}, {99, kSbSecondArrow}, {100, kSbNone},
  };
  for (const auto& [p, part] : cases)
    EXPECT_EQ(ScrollHitTest(p, 100, 17, thumb), part) << p;
  // A 20-pixel bar: two 10-pixel arrows, answered as drawn.
  EXPECT_EQ(ScrollHitTest(9, 20, 17, {17, 17}), kSbFirstArrow);
  EXPECT_EQ(ScrollHitTest(10, 20, 17, {17, 17}), kSbSecondArrow);
  // A thumb reaching over the second arrow does not hide it.
  EXPECT_EQ(ScrollHitTest(90, 100, 17, {70, 95}), kSbSecondArrow);
  EXPECT_EQ(ScrollHitTest(75, 100, 17, {70, 95}), kSbThumb);
}

TEST(ControlGeometryScroll, HitTestOfAPointBothOrientations) {
  const TThumb thumb{40, 60};
  // Vertical 17 x 100: y decides.
  EXPECT_EQ(ScrollHitTestPoint(5, 50, 17, 100, kSbVertical, 17, thumb), kSbThumb);
  EXPECT_EQ(ScrollHitTestPoint(5, 5, 17, 100, kSbVertical, 17, thumb), kSbFirstArrow);
  EXPECT_EQ(ScrollHitTestPoint(5, 90, 17, 100, kSbVertical, 17, thumb), kSbSecondArrow);
  EXPECT_EQ(ScrollHitTestPoint(20, 50, 17, 100, kSbVertical, 17, thumb), kSbNone);
  // Horizontal 100 x 17: x decides.
  EXPECT_EQ(ScrollHitTestPoint(50, 5, 100, 17, kSbHorizontal, 17, thumb), kSbThumb);
  EXPECT_EQ(ScrollHitTestPoint(30, 5, 100, 17, kSbHorizontal, 17, thumb), kSbPageFirst);
  EXPECT_EQ(ScrollHitTestPoint(70, 5, 100, 17, kSbHorizontal, 17, thumb), kSbPageSecond);
  EXPECT_EQ(ScrollHitTestPoint(5, 50, 100, 17, kSbHorizontal, 17, thumb), kSbNone);
  EXPECT_EQ(ScrollHitTestPoint(-1, 5, 100, 17, kSbHorizontal, 17, thumb), kSbNone);
  // Damaged: an empty bar has nothing.
  EXPECT_EQ(ScrollHitTestPoint(0, 0, -10, 17, kSbHorizontal, 17, thumb), kSbNone);
}

TEST(ControlGeometryScroll, DraggedThumbStaysInTheTrack) {
  // Track for a 20-pixel thumb in 100 with CW 17: starts 17..63.
  EXPECT_EQ(DragThumbStart(40, 10, 100, 17, 20), 50);
  EXPECT_EQ(DragThumbStart(40, -50, 100, 17, 20), 17);
  EXPECT_EQ(DragThumbStart(40, 100, 100, 17, 20), 63);
  // A thumb longer than the track: 100 - 17 - 80 = 3 < 17, so CW.
  EXPECT_EQ(DragThumbStart(40, 0, 100, 17, 80), 17);
  EXPECT_EQ(DragThumbStart(INT_MAX, INT_MAX, 100, 17, 20), 63);
}

// ---- scroll bars: drawing rectangles and frames

TEST(ControlGeometryScroll, LayoutHorizontalAndVertical) {
  // Len 100, CW 17, thickness 17, SArrow height 17, thumb 40..60: the grip (20 > 15) starts
  // at 40 + (20 - 17) / 2 = 41.
  TScrollBarInput in{100, kSbHorizontal, 17, 17, 17, {40, 60}, true, kSbNone, false};
  TScrollBarLayout l = ScrollBarLayout(in);
  EXPECT_EQ(l, (TScrollBarLayout{{0, 0, 17, 17},
                                 {83, 0, 100, 17},
                                 true,
                                 {17, 0, 83, 17},
                                 true,
                                 {40, 0, 60, 17},
                                 true,
                                 {41, 0, 58, 17}}));
  in.SbDir = kSbVertical;
  in.Thickness = 15;
  l = ScrollBarLayout(in);
  EXPECT_EQ(l, (TScrollBarLayout{{0, 0, 15, 17},
                                 {0, 83, 15, 100},
                                 true,
                                 {0, 17, 15, 83},
                                 true,
                                 {0, 40, 15, 60},
                                 true,
                                 {0, 41, 15, 58}}));
}

TEST(ControlGeometryScroll, LayoutShortBarAndThumbRules) {
  // 20 < 34: two 10-pixel arrows, no track; 21: still no track (1 pixel stays face).
  TScrollBarInput in{20, kSbHorizontal, 17, 17, 17, {17, 17}, true, kSbNone, false};
  TScrollBarLayout l = ScrollBarLayout(in);
  EXPECT_EQ(l.FirstArrow, (TRect{0, 0, 10, 17}));
  EXPECT_EQ(l.SecondArrow, (TRect{10, 0, 20, 17}));
  EXPECT_FALSE(l.HasTrack);
  EXPECT_FALSE(l.HasThumb);
  in.Len = 21;
  l = ScrollBarLayout(in);
  EXPECT_EQ(l.SecondArrow, (TRect{11, 0, 21, 17}));
  EXPECT_FALSE(l.HasTrack);
  // Disabled: no thumb, no grip.
  in = {100, kSbHorizontal, 17, 17, 17, {40, 60}, false, kSbNone, false};
  l = ScrollBarLayout(in);
  EXPECT_TRUE(l.HasTrack);
  EXPECT_FALSE(l.HasThumb);
  EXPECT_FALSE(l.HasGrip);
  // A 15-pixel thumb is not longer than 17 - 2: no grip; 16 is.
  in = {100, kSbHorizontal, 17, 17, 17, {40, 55}, true, kSbNone, false};
  EXPECT_FALSE(ScrollBarLayout(in).HasGrip);
  in.Thumb = {40, 56};  // grip at 40 + (16 - 17) / 2 = 40 (toward zero)
  l = ScrollBarLayout(in);
  EXPECT_TRUE(l.HasGrip);
  EXPECT_EQ(l.Grip, (TRect{40, 0, 57, 17}));
  // A thumb reaching past the bar, or inverted, is not drawn.
  in.Thumb = {90, 110};
  EXPECT_FALSE(ScrollBarLayout(in).HasThumb);
  in.Thumb = {60, 40};
  EXPECT_FALSE(ScrollBarLayout(in).HasThumb);
}

TEST(ControlGeometryScroll, LayoutOfDamagedInputIsUpright) {
  const TScrollBarInput in{-30, kSbVertical, -17, -4, -9, {-5, -2}, true, kSbNone, false};
  const TScrollBarLayout l = ScrollBarLayout(in);
  ExpectUpright(l.FirstArrow);
  ExpectUpright(l.SecondArrow);
  EXPECT_FALSE(l.HasTrack);
  EXPECT_FALSE(l.HasThumb);
}

struct FramesCase {
  int dir, scrollpos;
  bool fdown, enabled;
  TScrollFrames want;
};

TEST(ControlGeometryScroll, FramesByPartAndState) {
  const int H = kSbHorizontal, V = kSbVertical;
  const std::vector<FramesCase> cases = {
      {H, kSbNone, false, true, {1, 5, 1, 1, 17}},
      {H, kSbFirstArrow, true, true, {2, 5, 1, 1, 17}},    // left pressed
      {H, kSbFirstArrow, false, true, {4, 5, 1, 1, 17}},   // left hot
      {H, kSbSecondArrow, true, true, {1, 6, 1, 1, 17}},   // right pressed
      {H, kSbSecondArrow, false, true, {1, 8, 1, 1, 17}},  // right hot
      {H, kSbThumb, true, true, {1, 5, 1, 2, 18}},         // dragged thumb, grip pressed
      {H, kSbThumb, false, true, {1, 5, 1, 3, 19}},        // hot thumb, grip hot
      {H, kSbPageFirst, true, true, {1, 5, 1, 1, 17}},     // page parts light nothing
      {H, kSbNone, false, false, {1, 5, 3, 1, 17}},        // disabled track
      {V, kSbNone, false, true, {9, 13, 1, 1, 20}},
      {V, kSbFirstArrow, true, true, {10, 13, 1, 1, 20}},
      {V, kSbFirstArrow, false, true, {12, 13, 1, 1, 20}},
      {V, kSbSecondArrow, true, true, {9, 14, 1, 1, 20}},
      {V, kSbSecondArrow, false, true, {9, 16, 1, 1, 20}},
      {V, kSbThumb, true, true, {9, 13, 1, 2, 21}},
      {V, kSbThumb, false, false, {9, 13, 3, 3, 22}},
  };
  for (const FramesCase& c : cases) {
    TScrollBarInput in{100, c.dir, 17, 17, 17, {40, 60}, c.enabled, c.scrollpos, c.fdown};
    EXPECT_EQ(ScrollBarFrames(in), c.want) << c.dir << " " << c.scrollpos << " " << c.fdown;
  }
}

TEST(ControlGeometryScroll, CornerSquare) {
  EXPECT_EQ(ScrollCornerRect({200, 0, 217, 150}, {0, 150, 200, 167}), (TRect{202, 152, 219, 169}));
  ExpectUpright(ScrollCornerRect({217, 0, 200, 150}, {0, 167, 200, 150}));
}

TEST(ControlGeometryScroll, BarLengthAndBorder) {
  EXPECT_EQ(ScrollBarLen({10, 20, 27, 120}, kSbVertical), 100);
  EXPECT_EQ(ScrollBarLen({10, 20, 110, 37}, kSbHorizontal), 100);
  EXPECT_EQ(ScrollBarLen({110, 20, 10, 37}, kSbHorizontal), 0);  // damaged: inverted
  EXPECT_EQ(ScrollBorderRects(120, 80), (TScrollBorder{{0, 0, 120, 80}, {1, 1, 119, 79}}));
  // 1 pixel wide: the inner frame collapses onto 0 + 1 / 2 = 0.
  EXPECT_EQ(ScrollBorderRects(1, 80), (TScrollBorder{{0, 0, 1, 80}, {0, 1, 0, 79}}));
  EXPECT_EQ(ScrollBorderRects(-4, -4), (TScrollBorder{{0, 0, 0, 0}, {0, 0, 0, 0}}));
}

}  // namespace
