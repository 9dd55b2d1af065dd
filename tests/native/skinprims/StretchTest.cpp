// Colour-on-colour stretching: which source rows and columns a stretch keeps.
#include <gtest/gtest.h>

#include "skin/data/imgutil.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

// Pixels numbered by position, so a copy shows where each pixel came from.
PixelBuffer Numbered(int w, int h) {
  PixelBuffer img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.At(x, y) = static_cast<Pixel>(y * 1000 + x);
  return img;
}

TEST(StretchIndexes, MatchThePlatformOnSampledSizes) {
  // Seen from StretchBlt with COLORONCOLOR (the Windows tests compare many more sizes).
  EXPECT_EQ(StretchIndexes(3, 5), (std::vector<int>{0, 0, 1, 2, 2}));
  EXPECT_EQ(StretchIndexes(4, 10), (std::vector<int>{0, 0, 0, 1, 1, 2, 2, 2, 3, 3}));
  EXPECT_EQ(StretchIndexes(5, 3), (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(StretchIndexes(7, 4), (std::vector<int>{1, 3, 4, 6}));
  EXPECT_EQ(StretchIndexes(10, 4), (std::vector<int>{2, 4, 7, 9}));
  EXPECT_EQ(StretchIndexes(40, 7), (std::vector<int>{5, 10, 16, 22, 28, 33, 39}));
  EXPECT_EQ(StretchIndexes(4, 3), (std::vector<int>{0, 2, 3}));
  // A one-pixel target reads as if the source were one shorter.
  EXPECT_EQ(StretchIndexes(2, 1), (std::vector<int>{0}));
  EXPECT_EQ(StretchIndexes(7, 1), (std::vector<int>{5}));
  EXPECT_EQ(StretchIndexes(1, 1), (std::vector<int>{0}));
  // Rows: growing as columns do; shrinking keeps the first row of each target row.
  EXPECT_EQ(StretchIndexes(3, 5, true), (std::vector<int>{0, 0, 1, 2, 2}));
  EXPECT_EQ(StretchIndexes(5, 3, true), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(StretchIndexes(7, 4, true), (std::vector<int>{0, 2, 4, 5}));
  EXPECT_EQ(StretchIndexes(40, 7, true), (std::vector<int>{0, 6, 11, 17, 23, 29, 34}));
  EXPECT_EQ(StretchIndexes(4, 1, true), (std::vector<int>{0}));
  EXPECT_TRUE(StretchIndexes(0, 5).empty());
  EXPECT_TRUE(StretchIndexes(5, 0).empty());
}

TEST(StretchIndexes, AreMonotonicInsideTheSourceAndIdentityAtEqualSize) {
  for (bool vertical : {false, true})
    for (int s = 1; s <= 64; ++s)
      for (int d = 1; d <= 130; ++d) {
        const std::vector<int> idx = StretchIndexes(s, d, vertical);
        ASSERT_EQ(static_cast<int>(idx.size()), d);
        for (int j = 0; j < d; ++j) {
          ASSERT_GE(idx[j], 0);
          ASSERT_LT(idx[j], s);
          if (j > 0) {
            ASSERT_GE(idx[j], idx[j - 1]);
          }
          if (s == d) {
            ASSERT_EQ(idx[j], j);
          }
        }
        // Growing repeats every source pixel; shrinking keeps distinct ones.
        if (d >= s) {
          ASSERT_EQ(idx.back() - idx.front() + 1, s);
        }
      }
}

TEST(StretchCopy, IsSeparableAndClipsToTheTarget) {
  const PixelBuffer src = Numbered(6, 5);
  PixelBuffer dst(20, 20);
  dst.Fill(0xABCDEF);
  StretchCopy(dst, {-3, 2, 9, 9}, src, {1, 1, 5, 4});
  const std::vector<int> xi = StretchIndexes(4, 12), yi = StretchIndexes(3, 7, true);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool in = x < 9 && y >= 2 && y < 9;
      const Pixel want = in ? static_cast<Pixel>((1 + yi[y - 2]) * 1000 + 1 + xi[x + 3]) : 0xABCDEF;
      ASSERT_EQ(dst.At(x, y), want) << x << "," << y;
    }
}

TEST(StretchCopy, KeyedLeavesMagentaPixelsAndSkipsEmptyRectangles) {
  PixelBuffer src(2, 1);
  src.At(0, 0) = 0xFF00FF;
  src.At(1, 0) = 0x123456;
  PixelBuffer dst(4, 1);
  dst.Fill(7);
  StretchCopy(dst, {0, 0, 4, 1}, src, {0, 0, 2, 1}, true);
  EXPECT_EQ(dst.At(0, 0), 7u);
  EXPECT_EQ(dst.At(1, 0), 7u);
  EXPECT_EQ(dst.At(2, 0), 0x123456u);
  StretchCopy(dst, {0, 0, 4, 1}, src, {0, 0, 2, 1});
  EXPECT_EQ(dst.At(0, 0), 0xFF00FFu);
  dst.Fill(7);
  StretchCopy(dst, {0, 0, 0, 1}, src, {0, 0, 2, 1});
  StretchCopy(dst, {0, 0, 4, 1}, src, {2, 0, 2, 1});
  StretchCopy(dst, {4, 0, 0, 1}, src, {0, 0, 2, 1});
  for (int x = 0; x < 4; ++x)
    EXPECT_EQ(dst.At(x, 0), 7u);
}

}  // namespace
