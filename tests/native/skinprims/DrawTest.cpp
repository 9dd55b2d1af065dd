// The nine-part and three-part draws, frames, glyphs, transparent copies, tiles, and the image
// helpers.
#include <gtest/gtest.h>

#include "skin/data/imgutil.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

// A cells x 1 row of w x h cells; pixel = cell * 100000 + y * 100 + x (cell from 1).
PixelBuffer Cells(int cells, int w, int h, bool columns = false) {
  PixelBuffer img(columns ? w : w * cells, columns ? h * cells : h);
  for (int k = 0; k < cells; ++k)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const Pixel p = static_cast<Pixel>((k + 1) * 100000 + y * 100 + x);
        if (columns)
          img.At(x, k * h + y) = p;
        else
          img.At(k * w + x, y) = p;
      }
  return img;
}

Pixel CellPixel(int k, int x, int y) {
  return static_cast<Pixel>(k * 100000 + y * 100 + x);
}

TEST(RenderSkinImage, KeepsMarginsThatFitAndDropsThoseThatDoNot) {
  const PixelBuffer img = Cells(3, 12, 12);
  const TRect m{5, 5, 5, 5};
  const PixelBuffer fit = RenderSkinImage({0, 0, 10, 10}, img, m, false, false, 3, 2);
  // All four corners are the cell's corners, unscaled.
  EXPECT_EQ(fit.At(0, 0), CellPixel(2, 0, 0));
  EXPECT_EQ(fit.At(4, 4), CellPixel(2, 4, 4));
  EXPECT_EQ(fit.At(5, 4), CellPixel(2, 7, 4));
  EXPECT_EQ(fit.At(9, 9), CellPixel(2, 11, 11));
  EXPECT_EQ(fit.At(0, 9), CellPixel(2, 0, 11));
  // 8 x 8: the margins go and the whole 12 x 12 cell is stretched.
  const PixelBuffer small = RenderSkinImage({0, 0, 8, 8}, img, m, false, false, 3, 2);
  const std::vector<int> xs = StretchIndexes(12, 8), ys = StretchIndexes(12, 8, true);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(small.At(x, y), CellPixel(2, xs[x], ys[y]));
}

TEST(RenderSkinImage, EdgesStretchAlongTheirLengthOnly) {
  const PixelBuffer img = Cells(2, 10, 8, true);  // column of cells
  const TRect m{2, 3, 1, 2};
  const PixelBuffer out = RenderSkinImage({5, 5, 35, 25}, img, m, true, false, 2, 2);
  ASSERT_EQ(out.Width(), 30);
  ASSERT_EQ(out.Height(), 20);
  const std::vector<int> rows = StretchIndexes(8 - 3 - 2, 20 - 3 - 2, true);
  const std::vector<int> cols = StretchIndexes(10 - 2 - 1, 30 - 2 - 1);
  for (int y = 3; y < 18; ++y) {
    EXPECT_EQ(out.At(1, y), CellPixel(2, 1, 3 + rows[y - 3]));   // left edge
    EXPECT_EQ(out.At(29, y), CellPixel(2, 9, 3 + rows[y - 3]));  // right edge
  }
  for (int x = 2; x < 29; ++x) {
    EXPECT_EQ(out.At(x, 0), CellPixel(2, 2 + cols[x - 2], 0));             // top edge
    EXPECT_EQ(out.At(x, 19), CellPixel(2, 2 + cols[x - 2], 7));            // bottom edge
    EXPECT_EQ(out.At(x, 10), CellPixel(2, 2 + cols[x - 2], 3 + rows[7]));  // centre
  }
  EXPECT_EQ(out.At(29, 19), CellPixel(2, 9, 7));
}

TEST(RenderSkinImage, TiledCentreEqualsTilingClippedToTheCentre) {
  const PixelBuffer img = Cells(1, 9, 7);
  const TRect m{2, 1, 3, 2};
  const PixelBuffer out = RenderSkinImage({0, 0, 23, 17}, img, m, false, true, 1, 1);
  const int cw = 9 - 2 - 3, ch = 7 - 1 - 2;
  for (int y = 1; y < 17 - 2; ++y)
    for (int x = 2; x < 23 - 3; ++x)
      ASSERT_EQ(out.At(x, y), CellPixel(1, 2 + (x - 2) % cw, 1 + (y - 1) % ch)) << x << "," << y;
  // The right edge is not covered by overhanging tiles.
  EXPECT_EQ(out.At(20, 5), CellPixel(1, 6, 1 + StretchIndexes(ch, 14, true)[4]));
}

TEST(DrawSkinImage, TransparentOpaqueAndInverted) {
  PixelBuffer img(4, 2);
  img.Fill(0x00FF00);
  img.At(1, 0) = 0xFF00FF;
  PixelBuffer dst(6, 4);
  dst.Fill(1);
  DrawSkinImage(dst, {1, 1, 5, 3}, img, false, false, true, 1, 1, {});
  EXPECT_EQ(dst.At(2, 1), 1u);
  EXPECT_EQ(dst.At(1, 1), 0x00FF00u);
  EXPECT_EQ(dst.At(0, 0), 1u);
  DrawSkinImage(dst, {1, 1, 5, 3}, img, false, false, false, 1, 1, {});
  EXPECT_EQ(dst.At(2, 1), 0xFF00FFu);
  dst.Fill(1);
  DrawSkinImage(dst, {5, 1, 1, 3}, img, false, false, false, 1, 1, {});
  DrawSkinImage(dst, {1, 3, 5, 1}, img, false, false, false, 1, 1, {});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      ASSERT_EQ(dst.At(x, y), 1u);
}

TEST(DrawSkinHorz, CapsAndARepeatedMiddle) {
  const PixelBuffer img = Cells(2, 10, 4, true);
  PixelBuffer dst(40, 8);
  DrawSkinHorz(dst, {0, 0, 33, 8}, img, true, false, 2, 1, {2, 9, 3, 9});
  const std::vector<int> rows = StretchIndexes(4, 8, true);
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(dst.At(1, y), CellPixel(1, 1, rows[y]));
    // Middle copies of width 5 from x = 2: 2, 7, 12, ... (columns 2..6 of the cell).
    for (int x = 2; x < 30; ++x)
      ASSERT_EQ(dst.At(x, y), CellPixel(1, 2 + (x - 2) % 5, rows[y])) << x;
    EXPECT_EQ(dst.At(30, y), CellPixel(1, 7, rows[y]));  // right cap over the last copy
    EXPECT_EQ(dst.At(32, y), CellPixel(1, 9, rows[y]));
    EXPECT_EQ(dst.At(33, y), 0u);
  }
}

TEST(DrawSkinHorz, NoMiddlePartDrawsOnlyTheCaps) {
  const PixelBuffer img = Cells(1, 4, 2);
  PixelBuffer dst(12, 2);
  dst.Fill(9);
  DrawSkinHorz(dst, {0, 0, 12, 2}, img, false, true, 1, 1, {2, 0, 2, 0});
  EXPECT_EQ(dst.At(0, 0), CellPixel(1, 0, 0));
  EXPECT_EQ(dst.At(11, 1), CellPixel(1, 3, 1));
  EXPECT_EQ(dst.At(5, 0), 0u);  // the scratch image's background, not an endless loop
}

TEST(DrawSkinHorzStretch, ThreePartsOrTheWholeCellWhenNarrow) {
  const PixelBuffer img = Cells(2, 10, 3);
  PixelBuffer dst(30, 3);
  DrawSkinHorzStretch(dst, {0, 0, 30, 3}, img, false, 2, 2, {3, 0, 2, 0});
  EXPECT_EQ(dst.At(2, 0), CellPixel(2, 2, 0));
  EXPECT_EQ(dst.At(28, 2), CellPixel(2, 8, 2));
  const std::vector<int> mid = StretchIndexes(5, 25);
  EXPECT_EQ(dst.At(15, 1), CellPixel(2, 3 + mid[12], 1));
  PixelBuffer narrow(7, 3);
  DrawSkinHorzStretch(narrow, {0, 0, 7, 3}, img, false, 2, 1, {3, 0, 2, 0});
  const std::vector<int> all = StretchIndexes(10, 7);
  for (int x = 0; x < 7; ++x)
    EXPECT_EQ(narrow.At(x, 1), CellPixel(1, all[x], 1));
}

TEST(DrawSkinGlyph, CentredWithTruncation) {
  const PixelBuffer img = Cells(2, 17, 5);
  PixelBuffer dst(30, 10);
  DrawSkinGlyph(dst, {0, 0, 20, 10}, img, false, 2, 2);
  EXPECT_EQ(dst.At(0, 2), 0u);
  EXPECT_EQ(dst.At(1, 2), CellPixel(2, 0, 0));  // 17 in 20 starts 1 pixel in
  EXPECT_EQ(dst.At(17, 6), CellPixel(2, 16, 4));
  PixelBuffer small(20, 10);
  // Overhangs: x = 4 + (6 - 17) div 2 = -1, y = 4 + (2 - 5) div 2 = 3.
  DrawSkinGlyph(small, {4, 4, 10, 6}, img, false, 2, 1);
  EXPECT_EQ(small.At(0, 3), CellPixel(1, 1, 0));
  EXPECT_EQ(small.At(15, 7), CellPixel(1, 16, 4));
  EXPECT_EQ(small.At(16, 7), 0u);
  EXPECT_EQ(small.At(5, 2), 0u);
}

TEST(DrawSkinFrame, StretchesTheWholeCell) {
  const PixelBuffer img = Cells(3, 4, 4);
  PixelBuffer dst(9, 6);
  DrawSkinFrame(dst, {1, 1, 9, 6}, img, false, 3, 3);
  const std::vector<int> xs = StretchIndexes(4, 8), ys = StretchIndexes(4, 5, true);
  for (int y = 1; y < 6; ++y)
    for (int x = 1; x < 9; ++x)
      ASSERT_EQ(dst.At(x, y), CellPixel(3, xs[x - 1], ys[y - 1]));
}

TEST(TransparentBlit, CopiesUnscaledAndKeepsKeyPixels) {
  PixelBuffer img(3, 3);
  img.Fill(0x010203);
  img.At(1, 1) = 0xFF00FF;
  PixelBuffer dst(5, 5);
  dst.Fill(4);
  TransparentBlit(dst, {1, 1, 3, 5}, img);
  EXPECT_EQ(dst.At(1, 1), 0x010203u);
  EXPECT_EQ(dst.At(2, 2), 4u);                        // key
  EXPECT_EQ(dst.At(3, 1), 4u);                        // outside the rectangle's width
  EXPECT_EQ(dst.At(1, 4), 4u);                        // past the image
  TransparentBlit(dst, {1, 1, 3, 5}, img, 0x030201);  // key as a colour: 0x00BBGGRR
  EXPECT_EQ(dst.At(1, 1), 0x010203u);
}

TEST(TileBitmap, RepeatsWithOverhangAndIgnoresEmptySources) {
  const PixelBuffer img = Cells(1, 6, 6);
  PixelBuffer dst(12, 12);
  TileBitmap(dst, {1, 1, 6, 5}, img, {1, 1, 4, 3});  // 3 x 2 tiles
  EXPECT_EQ(dst.At(1, 1), CellPixel(1, 1, 1));
  EXPECT_EQ(dst.At(4, 2), CellPixel(1, 1, 2));
  EXPECT_EQ(dst.At(6, 4), CellPixel(1, 3, 2));  // the last column overhangs to x = 6
  EXPECT_EQ(dst.At(7, 1), 0u);
  EXPECT_EQ(dst.At(1, 5), 0u);
  PixelBuffer same = dst;
  TileBitmap(dst, {0, 0, 12, 12}, img, {2, 2, 2, 5});
  TileBitmap(dst, {0, 0, 12, 12}, img, {3, 3, 1, 1});
  EXPECT_EQ(dst, same);
}

TEST(ImageHelpers, MirrorFlipRotateAndReplace) {
  const PixelBuffer img = Cells(1, 5, 3);
  PixelBuffer a = img;
  RotateLeft(a);
  ASSERT_EQ(a.Width(), 3);
  ASSERT_EQ(a.Height(), 5);
  EXPECT_EQ(a.At(0, 4), img.At(0, 0));  // (x, y) -> (y, W - 1 - x)
  EXPECT_EQ(a.At(2, 0), img.At(4, 2));
  RotateRight(a);
  EXPECT_EQ(a, img);
  PixelBuffer b = img;
  RotateRight(b);
  EXPECT_EQ(b.At(2, 0), img.At(0, 0));  // (x, y) -> (H - 1 - y, x)
  PixelBuffer m = img;
  MirrorImage(m);
  EXPECT_EQ(m.At(0, 1), img.At(4, 1));
  MirrorImage(m);
  EXPECT_EQ(m, img);
  PixelBuffer f = img;
  FlipImage(f);
  EXPECT_EQ(f.At(3, 0), img.At(3, 2));
  PixelBuffer k(2, 1);
  k.At(0, 0) = 0xFF00FF;
  k.At(1, 0) = 0xFE00FF;
  ReplaceColour(k, 0x112233);
  EXPECT_EQ(k.At(0, 0), 0x332211u);
  EXPECT_EQ(k.At(1, 0), 0xFE00FFu);
  ReplaceColour(k, SysColor(kColorBtnFace));
  EXPECT_EQ(k.At(0, 0), 0x332211u);  // nothing magenta left
}

}  // namespace
