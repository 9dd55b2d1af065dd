// Fitting a window to the skin frame and giving it its native frame back, and widening a
// message box whose title does not fit.
#include <gtest/gtest.h>

#include "skin/data/FrameGeometry.h"

namespace {

using namespace lbb::skin;

TEST(FitFrame, WindowSizeIsClientPlusBordersPlusMenuBand) {
  const TFrameWidths bw{4, 29, 5, 3};
  EXPECT_EQ(SkinnedWindowSize(300, 200, bw, 0), (TFrameSize{309, 232}));
  EXPECT_EQ(SkinnedWindowSize(300, 200, bw, 19), (TFrameSize{309, 251}));
  EXPECT_EQ(SkinnedWindowSize(300, 200, TFrameWidths{}, 0), (TFrameSize{300, 200}));
}

TEST(FitFrame, UnskinningRestoresTheNativeSizeExactly) {
  const TFrameWidths bw{4, 29, 5, 3};
  // A window of client 300 x 200 under a native frame of 16 x 39.
  const TFrameSize skinned = SkinnedWindowSize(300, 200, bw, 0);
  EXPECT_EQ(UnskinnedWindowSize(skinned.Width, skinned.Height, 16, 39, bw), (TFrameSize{316, 239}));
  // With a menu band the band stays part of the window (the native menu comes back into it).
  const TFrameSize withMenu = SkinnedWindowSize(300, 200, bw, 19);
  EXPECT_EQ(UnskinnedWindowSize(withMenu.Width, withMenu.Height, 16, 39, bw),
            (TFrameSize{316, 258}));
}

TEST(FitFrame, NarrowMessageBoxIsWidenedAndItsControlsMoveByHalf) {
  EXPECT_EQ(FitTitle(200, 260), (TTitleFit{260, 30}));
  EXPECT_EQ(FitTitle(200, 205), (TTitleFit{205, 2}));  // 5 / 2 rounds toward zero
  EXPECT_EQ(FitTitle(200, 200), (TTitleFit{200, 0}));
  EXPECT_EQ(FitTitle(300, 120), (TTitleFit{300, 0}));
}

}  // namespace
