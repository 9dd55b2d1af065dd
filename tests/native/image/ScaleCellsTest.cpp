// Glyph strips scaled for a screen of another resolution: each cell on its own, nearest pixels.
#include <gtest/gtest.h>

#include "base/PixelBuffer.h"

namespace lbb {
namespace {

// Two 3 x 2 cells: the first all 1, 2, 3 by column, the second 7, 8, 9.
PixelBuffer TwoCells() {
  PixelBuffer img(6, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x)
      img.At(x, y) = static_cast<Pixel>(x < 3 ? x + 1 : x + 4);
  return img;
}

TEST(ScaleCellsNearest, TwiceDoublesEveryPixelAndHalfAgainKeepsTheCellsApart) {
  const PixelBuffer twice = ScaleCellsNearest(TwoCells(), 2, 2, 1);
  ASSERT_EQ(twice.Width(), 12);
  ASSERT_EQ(twice.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 12; ++x)
      EXPECT_EQ(twice.At(x, y), TwoCells().At(x / 2, y / 2));
  // 3 -> 5 columns a cell (4.5 rounded up): the second cell starts at 5 with its own pixels.
  const PixelBuffer half = ScaleCellsNearest(TwoCells(), 2, 3, 2);
  ASSERT_EQ(half.Width(), 10);
  EXPECT_EQ(half.Height(), 3);
  for (int x = 0; x < 5; ++x)
    EXPECT_LE(half.At(x, 1), 3u) << x;
  for (int x = 5; x < 10; ++x)
    EXPECT_GE(half.At(x, 1), 7u) << x;
  EXPECT_TRUE(ScaleCellsNearest(TwoCells(), 7, 2, 1).Empty());
  EXPECT_TRUE(ScaleCellsNearest(TwoCells(), 2, 0, 1).Empty());
}

}  // namespace
}  // namespace lbb
