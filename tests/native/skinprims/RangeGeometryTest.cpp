// Geometry of the progress bar, track bar, status bar, group box and media-player panel
// skinners. Expected numbers are worked out by hand in the comments.
#include <gtest/gtest.h>

#include "skin/data/CheckGeometry.h"
#include "skin/data/RangeGeometry.h"

namespace lbb::skin {
namespace {

TEST(ProgressGeometry, FillLengthFollowsPositionWithinTheRange) {
  // 150 x (60 - 0) / 100 = 90; 150 x (30 - 20) / (70 - 20) = 30.
  EXPECT_EQ(ProgressFillLength(150, 60, 0, 100), 90);
  EXPECT_EQ(ProgressFillLength(150, 30, 20, 70), 30);
  // Truncated: 100 x 1 / 3 = 33.
  EXPECT_EQ(ProgressFillLength(100, 1, 0, 3), 33);
  // Outside the range the position is kept at its ends.
  EXPECT_EQ(ProgressFillLength(150, 500, 0, 100), 150);
  EXPECT_EQ(ProgressFillLength(150, -5, 0, 100), 0);
  // An empty or inverted range, a bar of no length: nothing filled, no division by zero.
  EXPECT_EQ(ProgressFillLength(150, 10, 10, 10), 0);
  EXPECT_EQ(ProgressFillLength(150, 10, 20, 10), 0);
  EXPECT_EQ(ProgressFillLength(0, 50, 0, 100), 0);
  // Large ranges do not overflow: 200 x 2^40 / 2^41 = 100.
  EXPECT_EQ(ProgressFillLength(200, int64_t{1} << 40, 0, int64_t{1} << 41), 100);
}

TEST(ProgressGeometry, StyleFromTheSkinsStyleKeyAndImages) {
  EXPECT_EQ(ProgressStyle(0, true, 2), 0);  // Style 0: the fill frame, chunk image or not
  EXPECT_EQ(ProgressStyle(1, true, 1), 1);  // Style 1 with a chunk image
  EXPECT_EQ(ProgressStyle(1, true, 2), 1);
  EXPECT_EQ(ProgressStyle(0, false, 2), 0);  // no chunk image
  EXPECT_EQ(ProgressStyle(1, false, 1), 0);
  EXPECT_EQ(ProgressStyle(0, true, 1), 1);  // no fill frame: chunks
}

TEST(ProgressGeometry, ChunksAreWholeAndInsideTheFill) {
  const TRect track{0, 0, 100, 16};
  // Chunks 8 wide, 2 apart, from x = 2: 2..10, 12..20, 22..30; the next (32..40) passes 35.
  const std::vector<TRect> c = ProgressChunks(track, 35, 8, 2, 2);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0], (TRect{2, 2, 10, 14}));
  EXPECT_EQ(c[2], (TRect{22, 2, 30, 14}));
  // A full bar stops inside the inset: the last chunk ends at 90 (92..100 passes 98).
  const std::vector<TRect> full = ProgressChunks(track, 100, 8, 2, 2);
  EXPECT_EQ(full.back().Right, 90);
  EXPECT_TRUE(ProgressChunks(track, 0, 8, 2, 2).empty());
  EXPECT_TRUE(ProgressChunks(track, 50, 0, 2, 2).empty());
}

TEST(ProgressGeometry, FillRectIsTheTracksLeftPart) {
  EXPECT_EQ(ProgressFillRect(TRect{0, 0, 150, 16}, 90), (TRect{0, 0, 90, 16}));
  EXPECT_EQ(ProgressFillRect(TRect{0, 0, 150, 16}, 400), (TRect{0, 0, 150, 16}));
  EXPECT_EQ(ProgressFillRect(TRect{0, 0, 150, 16}, -3), (TRect{0, 0, 0, 16}));
}

TEST(TrackGeometry, ThumbShapePointsToTheTicks) {
  EXPECT_EQ(TrackThumbShape(false, false, false, false), TThumbShape::Down);
  EXPECT_EQ(TrackThumbShape(false, false, false, true), TThumbShape::Up);
  EXPECT_EQ(TrackThumbShape(true, false, false, false), TThumbShape::Right);
  EXPECT_EQ(TrackThumbShape(true, false, false, true), TThumbShape::Left);
  EXPECT_EQ(TrackThumbShape(false, true, false, false), TThumbShape::Horz);
  EXPECT_EQ(TrackThumbShape(true, false, true, true), TThumbShape::Vert);
  EXPECT_EQ(PlainThumbShape(TThumbShape::Down), TThumbShape::Horz);
  EXPECT_EQ(PlainThumbShape(TThumbShape::Left), TThumbShape::Vert);
}

TEST(TrackGeometry, ThumbFrameAsThePushButtons) {
  EXPECT_EQ(TrackThumbFrame(true, false, false, false), 1);
  EXPECT_EQ(TrackThumbFrame(true, true, true, true), 2);   // pressed beats hot
  EXPECT_EQ(TrackThumbFrame(false, true, true, true), 3);  // disabled beats all
  EXPECT_EQ(TrackThumbFrame(true, false, true, true), 4);  // hot beats focused
  EXPECT_EQ(TrackThumbFrame(true, false, false, true), 5);
}

TEST(TrackGeometry, GrooveIsCentredOnTheChannel) {
  // Channel 8..192 x 19..23 (middle line 21); a groove 4 thick: 19..23; 6 thick: 18..24.
  EXPECT_EQ(TrackGrooveRect(TRect{8, 19, 192, 23}, false, 4), (TRect{8, 19, 192, 23}));
  EXPECT_EQ(TrackGrooveRect(TRect{8, 19, 192, 23}, false, 6), (TRect{8, 18, 192, 24}));
  // Vertical: across is the width. (4 - 6) / 2 = -1.
  EXPECT_EQ(TrackGrooveRect(TRect{20, 8, 24, 100}, true, 6), (TRect{19, 8, 25, 100}));
  EXPECT_EQ(TrackGrooveRect(TRect{8, 19, 192, 23}, false, 0), (TRect{8, 19, 192, 23}));
}

TEST(StatusGeometry, PanelsFromThePartsRightEdges) {
  const TRect bar{0, 0, 600, 22};
  // Two parts: 200 and the rest; a grip 24 wide.
  const std::vector<TRect> p = StatusPanelRects(bar, {200, -1}, 24);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0], (TRect{0, 2, 200, 20}));
  EXPECT_EQ(p[1], (TRect{200, 2, 576, 20}));
  // An edge past the grip is kept before it; none: one panel.
  EXPECT_EQ(StatusPanelRects(bar, {700}, 24)[0], (TRect{0, 2, 576, 20}));
  EXPECT_EQ(StatusPanelRects(bar, {}, 0)[0], (TRect{0, 2, 600, 20}));
  // Edges out of order never invert a panel.
  const std::vector<TRect> back = StatusPanelRects(bar, {300, 100}, 0);
  EXPECT_EQ(back[1], (TRect{300, 2, 300, 20}));
}

TEST(StatusGeometry, TextAlignmentFromLeadingTabs) {
  std::u16string left = u"Ready", centre = u"\tMid", right = u"\t\tEnd", more = u"\t\t\tX";
  EXPECT_EQ(StatusTextAlign(left), 0);
  EXPECT_EQ(StatusTextAlign(centre), 1);
  EXPECT_EQ(centre, u"Mid");
  EXPECT_EQ(StatusTextAlign(right), 2);
  EXPECT_EQ(right, u"End");
  EXPECT_EQ(StatusTextAlign(more), 2);  // a third tab is text
  EXPECT_EQ(more, u"\tX");
  EXPECT_EQ(StatusTextRect(TRect{200, 2, 576, 20}), (TRect{204, 2, 572, 20}));
}

TEST(StatusGeometry, GripSitsInTheBottomRightCorner) {
  EXPECT_EQ(StatusGripRect(TRect{0, 0, 600, 22}, TSize{24, 22}), (TRect{576, 0, 600, 22}));
  // A lower bar cuts the cell's height.
  EXPECT_EQ(StatusGripRect(TRect{0, 0, 600, 19}, TSize{24, 22}), (TRect{576, 0, 600, 19}));
}

TEST(GroupBoxGeometry, FrameThroughTheCaptionsMiddle) {
  // 190 x 112, "0" 13 high: frame from (1, 5) to (189, 111); caption 40 x 13 at (8, 0).
  const TGroupBoxLayout l = GroupBoxLayout(TSize{190, 112}, 13, TSize{40, 13}, false);
  EXPECT_EQ(l.Frame, (TRect{1, 5, 189, 111}));
  EXPECT_EQ(l.Caption, (TRect{8, 0, 48, 13}));
  // Right-aligned: ends 8 before the right edge.
  EXPECT_EQ(GroupBoxLayout(TSize{190, 112}, 13, TSize{40, 13}, true).Caption,
            (TRect{142, 0, 182, 13}));
  // A caption wider than the room is cut: 190 - 16 = 174.
  EXPECT_EQ(GroupBoxLayout(TSize{190, 112}, 13, TSize{500, 13}, false).Caption.Width(), 174);
  // A box smaller than the font never inverts.
  const TGroupBoxLayout tiny = GroupBoxLayout(TSize{1, 1}, 13, TSize{5, 13}, false);
  EXPECT_FALSE(tiny.Frame.Inverted());
  EXPECT_FALSE(tiny.Caption.Inverted());
}

TEST(MediaGeometry, ButtonsShareTheWidth) {
  // 250 / 9 = 27; the last takes 250 - 8 x 27 = 34.
  const std::vector<TRect> b = MediaButtonRects(TRect{0, 0, 250, 30}, 9);
  ASSERT_EQ(b.size(), 9u);
  EXPECT_EQ(b[0], (TRect{0, 0, 27, 30}));
  EXPECT_EQ(b[8], (TRect{216, 0, 250, 30}));
  EXPECT_EQ(MediaButtonAt(b, 0, 0), 0);
  EXPECT_EQ(MediaButtonAt(b, 27, 10), 1);
  EXPECT_EQ(MediaButtonAt(b, 249, 29), 8);
  EXPECT_EQ(MediaButtonAt(b, 250, 10), -1);
  EXPECT_TRUE(MediaButtonRects(TRect{0, 0, 250, 30}, 0).empty());
}

// The fixed gaps of the control layouts are 96-DPI pixels: at 192 DPI each is doubled, at 144
// half as large again (the image sizes and text sizes come in scaled already).
TEST(ControlGapsAtDpi, CheckGroupBoxAndStatusBarGapsScale) {
  EXPECT_EQ(CheckLayout(TRect{0, 0, 194, 34}, TSize{26, 26}, false, 192).Text.Left, 26 + 4);
  EXPECT_EQ(CheckLayout(TRect{0, 0, 194, 34}, TSize{26, 26}, true, 192).Text.Right, 194 - 26 - 4);
  EXPECT_EQ(GroupBoxLayout(TSize{380, 224}, 26, TSize{80, 26}, false, 192).Caption.Left, 16);
  EXPECT_EQ(GroupBoxLayout(TSize{285, 168}, 20, TSize{60, 20}, true, 144).Caption.Right, 285 - 12);
  EXPECT_EQ(StatusTextRect(TRect{200, 4, 576, 40}, 192), (TRect{208, 4, 568, 40}));
  EXPECT_EQ(StatusPanelRects(TRect{0, 0, 400, 44}, {}, 0, 192).front(), (TRect{0, 4, 400, 40}));
}

}  // namespace
}  // namespace lbb::skin
