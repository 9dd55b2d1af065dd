// Skinned menu item geometry: the glyph, caption and shortcut boxes in both reading orders,
// the check mark's place, the separator cut from the item image in three parts, the
// background's place in the popup window's picture and the width rules. Expected numbers are
// worked out by hand in the comments.
#include <gtest/gtest.h>

#include "skin/data/MenuItemGeometry.h"

namespace lbb::skin {
namespace {

TMenuItemInput Item(int w, int h, int margin, int glyph, bool rtl = false, bool sep = false) {
  TMenuItemInput in;
  in.item = TRect{0, 0, w, h};
  in.margin = margin;
  in.glyph = glyph;
  in.rightToLeft = rtl;
  in.separator = sep;
  return in;
}

TEST(MenuItemLayout, LeftToRightGlyphAndTextBoxes) {
  // Glyph at 1 + margin 4 = 5, top 1, 16 x 16; text from 21 + 3 = 24 to 120 - 1 = 119.
  const TMenuItemLayout l = MenuItemLayout(Item(120, 22, 4, 16));
  EXPECT_EQ(l.Glyph, (TRect{5, 1, 21, 17}));
  EXPECT_EQ(l.Text, (TRect{24, 0, 119, 22}));
  // Without the element there is no margin; a 24-pixel image list widens the box.
  EXPECT_EQ(MenuItemLayout(Item(120, 26, 0, 24)).Glyph, (TRect{1, 1, 25, 25}));
}

TEST(MenuItemLayout, RightToLeftMirrorsTheBoxes) {
  // Glyph's right edge at 120 - 1 - 4 = 115, 16 wide; text from 1 to 99 - 3 = 96.
  const TMenuItemLayout l = MenuItemLayout(Item(120, 22, 4, 16, true));
  EXPECT_EQ(l.Glyph, (TRect{99, 1, 115, 17}));
  EXPECT_EQ(l.Text, (TRect{1, 0, 96, 22}));
}

TEST(MenuItemLayout, SeparatorHasAnEmptyGlyphBoxAtZero) {
  for (bool rtl : {false, true}) {
    const TMenuItemLayout l = MenuItemLayout(Item(120, 8, 4, 16, rtl, true));
    EXPECT_EQ(l.Glyph.Left, 0);
    EXPECT_EQ(l.Glyph.Width(), 0);
    EXPECT_EQ(l.Text, (TRect{3, 0, 119, 8}));
    // The etched line lies 4 rows down the text box.
    EXPECT_EQ(MenuSeparatorLine(l.Text), (TRect{3, 4, 119, 8}));
  }
}

TEST(MenuItemLayout, NarrowItemsNeverInvert) {
  const TMenuItemLayout l = MenuItemLayout(Item(10, 22, 4, 16));
  EXPECT_FALSE(l.Text.Inverted());
  const TMenuItemLayout r = MenuItemLayout(Item(10, 22, 4, 16, true));
  EXPECT_FALSE(r.Text.Inverted());
}

TEST(MenuGlyph, SizeFromTheImageListAndCheckedAtLeastSixteen) {
  EXPECT_EQ(MenuGlyphSize(false, 0, false), 16);
  EXPECT_EQ(MenuGlyphSize(true, 24, false), 24);
  EXPECT_EQ(MenuGlyphSize(true, 12, false), 12);
  EXPECT_EQ(MenuGlyphSize(true, 12, true), 16);
}

TEST(MenuCaption, CentredVerticallyAtTheReadingEdge) {
  const TRect text{24, 0, 119, 22};
  // (22 - 13) / 2 = 4.
  EXPECT_EQ(MenuCaptionRect(text, 40, 13, false), (TRect{24, 4, 64, 17}));
  EXPECT_EQ(MenuCaptionRect(text, 40, 13, true), (TRect{79, 4, 119, 17}));
}

TEST(MenuShortcut, RightOfTheCaptionOrLeftInRightToLeft) {
  const TRect item{0, 0, 150, 22};
  EXPECT_EQ(MenuShortcutRect(item, TRect{24, 4, 64, 17}, false), (TRect{64, 4, 139, 17}));
  EXPECT_EQ(MenuShortcutRect(item, TRect{90, 4, 130, 17}, true), (TRect{11, 4, 90, 17}));
  // A caption that reaches past the end leaves an empty, upright box.
  EXPECT_EQ(MenuShortcutRect(item, TRect{24, 4, 145, 17}, false).Width(), 0);
}

TEST(MenuCheckMark, CentredInTheBoxAndTheItem) {
  const TRect item{0, 0, 120, 24};
  const TMenuItemLayout l = MenuItemLayout(Item(120, 24, 4, 16));
  // x: 5 + (16 - 12) / 2 + 1 = 8; y: (24 - 12) / 2 + 1 = 7 (the item, not the box).
  EXPECT_EQ(MenuCheckMarkAt(l, item, 12, 12, false), (TMenuPoint{8, 7}));
  const TMenuItemLayout r = MenuItemLayout(Item(120, 24, 4, 16, true));
  // x: 99 + 2 + 1 = 102; y in the box: 1 + 2 + 1 = 4.
  EXPECT_EQ(MenuCheckMarkAt(r, item, 12, 12, true), (TMenuPoint{102, 4}));
}

TEST(MenuSeparator, BottomRowsOfTheCellInThreeParts) {
  // Frame 2 of a 5 x (20 x 22) image: x 20..40. R 100 x 8: the bottom 8 rows (14..22).
  const TRect cell{20, 0, 40, 22};
  const auto p = MenuSeparatorPieces(cell, TRect{0, 0, 100, 8}, 3, 4);
  EXPECT_EQ(p[0], (TMenuPiece{TRect{20, 14, 23, 22}, TRect{0, 0, 3, 8}}));
  EXPECT_EQ(p[1], (TMenuPiece{TRect{23, 14, 36, 22}, TRect{3, 0, 96, 8}}));
  EXPECT_EQ(p[2], (TMenuPiece{TRect{36, 14, 40, 22}, TRect{96, 0, 100, 8}}));
}

TEST(MenuSeparator, ItemHigherThanTheCellTakesTheWholeCell) {
  const auto p = MenuSeparatorPieces(TRect{20, 0, 40, 6}, TRect{0, 0, 100, 10}, 2, 2);
  EXPECT_EQ(p[1].source, (TRect{22, 0, 38, 6}));
  EXPECT_EQ(p[1].target, (TRect{2, 0, 98, 10}));
}

TEST(MenuSeparator, OversizedCapsAreCutAndNothingInverts) {
  const auto p = MenuSeparatorPieces(TRect{20, 0, 40, 6}, TRect{0, 0, 10, 6}, 30, 30);
  for (const TMenuPiece& piece : p) {
    EXPECT_FALSE(piece.source.Inverted());
    EXPECT_FALSE(piece.target.Inverted());
  }
  EXPECT_LE(p[0].target.Width() + p[1].target.Width() + p[2].target.Width(), 10);
}

TEST(MenuBackground, ItemRectangleMovedByThePopupFrame) {
  EXPECT_EQ(MenuBackgroundSource(TRect{0, 22, 120, 44}), (TRect{3, 25, 123, 47}));
  // A menu whose frame lies inside its client area: client and window coordinates agree.
  EXPECT_EQ(MenuBackgroundSource(TRect{3, 25, 123, 47}, 0, 0), (TRect{3, 25, 123, 47}));
}

TEST(MenuWidth, ExtraWidthRules) {
  // The item rule: + 10 with images, + 35 without; the system menu's: + 12 / + 35.
  EXPECT_EQ(MenuItemExtraWidth(4, true, false), 14);
  EXPECT_EQ(MenuItemExtraWidth(4, false, false), 39);
  EXPECT_EQ(MenuItemExtraWidth(4, true, true), 16);
  EXPECT_EQ(MenuItemExtraWidth(0, false, true), 35);
}

TEST(MenuWidth, ItemsMeasuredByText) {
  EXPECT_EQ(MenuTextItemSize(50, 13, false, 4, false), (TMenuSize{80, 17}));
  EXPECT_EQ(MenuTextItemSize(0, 13, true, 0, false), (TMenuSize{26, 8}));
  EXPECT_EQ(MenuTextItemSize(50, 13, false, 0, true), (TMenuSize{76, 21}));
}

}  // namespace
}  // namespace lbb::skin
