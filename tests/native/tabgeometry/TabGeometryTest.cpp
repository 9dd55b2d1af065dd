// Tab strips and header bars: tab rectangles on each side of the control, scrolling, the
// selected tab's lift and overlap, hit tests where tabs overlap, close buttons and captions
// turned with the strip, the page border, frames, and the skin image turned for each side.
#include "skin/data/TabGeometry.h"

#include <gtest/gtest.h>

namespace lbb::skin {
namespace {

using P = TSkinTabPosition;

TTabLayoutInput ThreeTabs(P pos, int selected) {
  TTabLayoutInput in;
  in.Lengths = {40, 50, 30};
  in.Selected = selected;
  in.Depth = 22;
  in.Position = pos;
  in.Control = TSize{200, 120};
  in.Length = TabStripLength(pos, in.Control, 0);
  return in;
}

TEST(TabGeometry, TopTabsStandInARowTheSelectedOneTallerAndWider) {
  const auto r = TabRects(ThreeTabs(P::tpTop, 1));
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0], (TRect{2, 2, 42, 22}));
  EXPECT_EQ(r[1], (TRect{40, 0, 94, 22}));  // 42..92 grown by two on each side, two higher
  EXPECT_EQ(r[2], (TRect{92, 2, 122, 22}));
}

TEST(TabGeometry, OtherSidesMirrorOrTurnTheTopLayout) {
  const auto bottom = TabRects(ThreeTabs(P::tpBottom, 1));
  EXPECT_EQ(bottom[0], (TRect{2, 98, 42, 118}));
  EXPECT_EQ(bottom[1], (TRect{40, 98, 94, 120}));
  const auto left = TabRects(ThreeTabs(P::tpLeft, 0));
  EXPECT_EQ(left[0], (TRect{0, 0, 22, 44}));
  EXPECT_EQ(left[1], (TRect{2, 42, 22, 92}));
  const auto right = TabRects(ThreeTabs(P::tpRight, 0));
  EXPECT_EQ(right[0], (TRect{178, 0, 200, 44}));
  EXPECT_EQ(right[2], (TRect{178, 92, 198, 120}));  // cut at the control's height
  for (P pos : {P::tpTop, P::tpBottom, P::tpLeft, P::tpRight}) {
    const TRect t{5, 1, 30, 20};
    EXPECT_EQ(TabFromControl(TabToControl(t, pos, {200, 120}), pos, {200, 120}), t);
  }
}

TEST(TabGeometry, ScrolledAndOverflowingTabs) {
  TTabLayoutInput in = ThreeTabs(P::tpTop, 2);
  in.First = 1;
  in.Length = 70;
  const auto r = TabRects(in);
  EXPECT_EQ(r[0], TRect{});                 // scrolled out
  EXPECT_EQ(r[1], (TRect{2, 2, 52, 22}));   // first shown starts the strip
  EXPECT_EQ(r[2], (TRect{50, 0, 70, 22}));  // cut at the strip's end
  in.Length = 50;
  EXPECT_EQ(TabRects(in)[2], TRect{});  // wholly past the end
  EXPECT_EQ(TabFirstVisible({-90, -40, 2, 60}, {50, 50, 58, 50}), 2);
  EXPECT_EQ(TabFirstVisible({0, 2, 60}, {0, 58, 50}), 1);  // scrolled out without a length
  EXPECT_EQ(TabFirstVisible({2, 60}, {58, 50}), 0);
}

TEST(TabGeometry, HitTestPrefersTheSelectedTabWhereTabsOverlap) {
  const auto r = TabRects(ThreeTabs(P::tpTop, 1));
  EXPECT_EQ(TabHitTest(r, 1, {41, 10}), 1);  // inside tab 0 too, but tab 1 lies on top
  EXPECT_EQ(TabHitTest(r, 1, {39, 10}), 0);
  EXPECT_EQ(TabHitTest(r, 1, {10, 1}), -1);  // above an unselected tab
  EXPECT_EQ(TabHitTest(r, 1, {100, 10}), 2);
  EXPECT_EQ(TabHitTest(r, 1, {150, 10}), -1);
}

TEST(TabGeometry, CloseButtonAndCaptionFollowTheStrip) {
  const TSize c{200, 120};
  const TRect top = TabCloseRect(TRect{2, 2, 62, 24}, P::tpTop, c);
  EXPECT_EQ(top, (TRect{47, 7, 58, 18}));
  EXPECT_EQ(TabTextRect(TRect{2, 2, 62, 24}, true, P::tpTop, c), (TRect{8, 2, 45, 22}));
  EXPECT_EQ(TabTextRect(TRect{2, 2, 62, 24}, false, P::tpTop, c), (TRect{8, 2, 56, 22}));
  // At the left the close button sits at the tab's lower end.
  const TRect left = TabCloseRect(TRect{2, 2, 24, 62}, P::tpLeft, c);
  EXPECT_EQ(left, (TRect{7, 47, 18, 58}));
  // The page border two pixels outside the page, kept in the control.
  EXPECT_EQ(TabPaneRect(TRect{4, 24, 196, 116}, c), (TRect{2, 22, 198, 118}));
  EXPECT_EQ(TabPaneRect(TRect{1, 24, 199, 120}, c), (TRect{0, 22, 200, 120}));
  EXPECT_EQ(TabStripDepth(TRect{4, 24, 196, 116}, P::tpTop, c), 24);
  EXPECT_EQ(TabStripDepth(TRect{4, 4, 196, 96}, P::tpBottom, c), 24);
  EXPECT_EQ(TabStripDepth(TRect{4, 4, 170, 116}, P::tpRight, c), 30);
  EXPECT_EQ(TabStripLength(P::tpLeft, c, 20), 100);
}

TEST(TabGeometry, FramesOfTabsAndHeaderItems) {
  EXPECT_EQ(TabFrame(false, false, true, false), kTabFrameNormal);
  EXPECT_EQ(TabFrame(false, true, true, false), kTabFrameHot);
  EXPECT_EQ(TabFrame(true, true, true, false), kTabFrameSelected);
  EXPECT_EQ(TabFrame(true, false, true, true), kTabFrameFocused);
  EXPECT_EQ(TabFrame(true, false, false, true), kTabFrameDisabled);
  EXPECT_EQ(HeaderItemFrame(1, 1, -1, true, 4), kHeaderFrameHot);
  EXPECT_EQ(HeaderItemFrame(1, 1, 1, true, 4), kHeaderFramePressed);
  EXPECT_EQ(HeaderItemFrame(0, 1, -1, true, 4), kHeaderFrameNormal);
  EXPECT_EQ(HeaderItemFrame(-1, -1, -1, true, 4), kHeaderFrameNormal);
  EXPECT_EQ(HeaderItemFrame(1, 1, -1, true, 2), kHeaderFrameNormal);  // no hot frame
  EXPECT_EQ(HeaderItemFrame(0, -1, -1, false, 4), kHeaderFrameDisabled);
}

TEST(TabGeometry, HeaderCaptionsByAlignment) {
  const TRect item{10, 0, 110, 22};
  EXPECT_EQ(HeaderTextRect(item, {30, 12}, 0, false), (TRect{16, 5, 46, 17}));
  EXPECT_EQ(HeaderTextRect(item, {30, 12}, 1, false), (TRect{74, 5, 104, 17}));
  EXPECT_EQ(HeaderTextRect(item, {30, 12}, 2, false), (TRect{45, 5, 75, 17}));
  EXPECT_EQ(HeaderTextRect(item, {30, 12}, 0, true), (TRect{17, 6, 47, 18}));
  // A caption wider than the item is cut at its padding.
  EXPECT_EQ(HeaderTextRect(item, {200, 12}, 0, false), (TRect{16, 5, 104, 17}));
}

TEST(TabGeometry, SkinImageTurnedCellByCellForEachSide) {
  // Two cells of 3 x 2: each pixel holds its cell, column and row.
  PixelBuffer strip(6, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x)
      strip.At(x, y) = Pixel(0x10000 * (x / 3) + 0x100 * (x % 3) + y);
  EXPECT_EQ(TabImageFor(strip, 2, P::tpTop).At(4, 1), strip.At(4, 1));
  const PixelBuffer bottom = TabImageFor(strip, 2, P::tpBottom);
  EXPECT_EQ(bottom.At(4, 0), strip.At(4, 1));
  const PixelBuffer left = TabImageFor(strip, 2, P::tpLeft);
  ASSERT_EQ(left.Width(), 4);
  ASSERT_EQ(left.Height(), 3);
  // The cell's top row becomes its left column; its right end the top.
  EXPECT_EQ(left.At(2, 0), strip.At(5, 0));
  EXPECT_EQ(left.At(3, 2), strip.At(3, 1));
  const PixelBuffer right = TabImageFor(strip, 2, P::tpRight);
  EXPECT_EQ(right.At(3, 0), strip.At(3, 0));  // top row to the right column, left end on top
  EXPECT_EQ(TabMarginsFor(TRect{5, 4, 3, 2}, P::tpBottom), (TRect{5, 2, 3, 4}));
  EXPECT_EQ(TabMarginsFor(TRect{5, 4, 3, 2}, P::tpLeft), (TRect{4, 3, 2, 5}));
  EXPECT_EQ(TabMarginsFor(TRect{5, 4, 3, 2}, P::tpRight), (TRect{2, 5, 4, 3}));
  EXPECT_EQ(TabPositionFromStyle(0x80 | 0x2), P::tpRight);
  EXPECT_EQ(TabPositionFromStyle(0x2), P::tpBottom);
}

}  // namespace
}  // namespace lbb::skin
