// Frame geometry: border widths from a skin's pieces, the client rectangle, hit-test answers.
#include <gtest/gtest.h>

#include "skin/data/FrameGeometry.h"

namespace {

using namespace lbb::skin;

TEST(FrameGeometry, BorderWidthsAreOneFrameOfEachPiece) {
  // Left/Right hold their two looks side by side, Top/Bottom stacked.
  const TBorderPiece left{8, 40, 2}, right{10, 40, 2}, top{60, 58, 2}, bottom{60, 9, 3};
  EXPECT_EQ(FrameWidthsOf(left, right, top, bottom, false), (TFrameWidths{4, 29, 5, 3}));
  // Integer division, and a window without a border has none whatever the pieces.
  EXPECT_EQ(FrameWidthsOf({7, 1, 2}, {7, 1, 2}, {1, 7, 2}, {1, 7, 2}, false),
            (TFrameWidths{3, 3, 3, 3}));
  EXPECT_EQ(FrameWidthsOf(left, right, top, bottom, true), TFrameWidths{});
}

TEST(FrameGeometry, DamagedFrameCountsDoNotDivideByZero) {
  EXPECT_EQ(FrameWidthsOf({6, 1, 0}, {6, 1, -3}, {1, 20, 0}, {1, 4, 1}, false),
            (TFrameWidths{6, 20, 6, 4}));
}

TEST(FrameGeometry, ClientRectangleInsideBordersAndBelowTheMenuBand) {
  const TFrameWidths bw{4, 29, 5, 3};
  EXPECT_EQ(ClientRectOf(100, 50, 400, 300, bw, 20), (TRect{104, 99, 495, 347}));
  EXPECT_EQ(ClientRectOf(0, 0, 400, 300, bw, 0), (TRect{4, 29, 395, 297}));
}

TEST(FrameGeometry, HitTestCaptionAndMenuBand) {
  const TFrameWidths bw{4, 29, 5, 3};
  // Nowhere and caption answers: the top 3 pixels stay as they were.
  EXPECT_EQ(FrameHitTest(kHitNowhere, 3, bw, 20), kHitNowhere);
  EXPECT_EQ(FrameHitTest(kHitCaption, 0, bw, 20), kHitCaption);
  EXPECT_EQ(FrameHitTest(kHitNowhere, 4, bw, 20), kHitCaption);
  EXPECT_EQ(FrameHitTest(kHitNowhere, 29, bw, 20), kHitCaption);  // still the caption border
  EXPECT_EQ(FrameHitTest(kHitCaption, 30, bw, 20), kHitMenu);
  EXPECT_EQ(FrameHitTest(kHitCaption, 30, bw, 0), kHitCaption);  // no menu band
  // Every other answer stays: client, sizing borders and corners (HTLEFT 10, HTBOTTOMRIGHT 17).
  EXPECT_EQ(FrameHitTest(kHitClient, 40, bw, 20), kHitClient);
  EXPECT_EQ(FrameHitTest(10, 40, bw, 20), 10);
  EXPECT_EQ(FrameHitTest(17, 2, bw, 20), 17);
}

}  // namespace
