// BMP decoding of hand-made files (every header, depth, RLE and damaged input) and the 24-bit
// encoder.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/BmpFile.h"

namespace lbb::skin {
namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, size_t at, uint32_t v, int n) {
  if (b.size() < at + n) b.resize(at + n);
  for (int i = 0; i < n; ++i)
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A file with a 40-byte header: palette (0x00RRGGBB each) and pixel bytes follow.
Bytes MakeBmp(int w, int h, int bpp, int compression, const std::vector<uint32_t>& palette,
              const Bytes& pixels) {
  Bytes b;
  b.push_back('B'), b.push_back('M');
  const size_t off = 54 + 4 * palette.size();
  Put(b, 2, static_cast<uint32_t>(off + pixels.size()), 4);
  Put(b, 10, static_cast<uint32_t>(off), 4);
  Put(b, 14, 40, 4);
  Put(b, 18, static_cast<uint32_t>(w), 4);
  Put(b, 22, static_cast<uint32_t>(h), 4);
  Put(b, 26, 1, 2);
  Put(b, 28, static_cast<uint32_t>(bpp), 2);
  Put(b, 30, static_cast<uint32_t>(compression), 4);
  Put(b, 46, static_cast<uint32_t>(palette.size()), 4);
  Put(b, 50, 0, 4);
  for (size_t i = 0; i < palette.size(); ++i)
    Put(b, 54 + 4 * i, palette[i], 4);
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

PixelBuffer Decode(const Bytes& file) {
  PixelBuffer img;
  std::string why;
  EXPECT_TRUE(DecodeBmp(file, img, &why)) << why;
  return img;
}

TEST(BmpDecode, PaletteDepthsBottomUpAndTopDown) {
  const std::vector<uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  // 1 bit: 3 x 2, rows padded to 4 bytes, bottom row first.
  PixelBuffer one = Decode(MakeBmp(3, 2, 1, 0, pal, {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0}));
  EXPECT_EQ(one.Get(0, 1), 0xFF0000u);
  EXPECT_EQ(one.Get(1, 1), 0x000000u);
  EXPECT_EQ(one.Get(2, 1), 0xFF0000u);
  EXPECT_EQ(one.Get(1, 0), 0xFF0000u);
  // 4 bits, top-down (negative height).
  PixelBuffer four = Decode(MakeBmp(3, -2, 4, 0, pal, {0x12, 0x30, 0, 0, 0x33, 0x20, 0, 0}));
  EXPECT_EQ(four.Height(), 2);
  EXPECT_EQ(four.Get(0, 0), 0xFF0000u);
  EXPECT_EQ(four.Get(1, 0), 0x00FF00u);
  EXPECT_EQ(four.Get(2, 0), 0x0000FFu);
  EXPECT_EQ(four.Get(2, 1), 0x00FF00u);
  // 8 bits; index 9 lies beyond the 4-entry table and reads as black.
  PixelBuffer eight = Decode(MakeBmp(2, 1, 8, 0, pal, {3, 9, 0, 0}));
  EXPECT_EQ(eight.Get(0, 0), 0x0000FFu);
  EXPECT_EQ(eight.Get(1, 0), 0x000000u);
}

TEST(BmpDecode, DirectColourDepthsAndBitFields) {
  // 24 bits: blue, green, red bytes.
  PixelBuffer rgb = Decode(MakeBmp(2, 1, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0}));
  EXPECT_EQ(rgb.Get(0, 0), 0x030201u);
  EXPECT_EQ(rgb.Get(1, 0), 0x060504u);
  // 16 bits default 5-5-5: full red and a 5-bit value widened by repeating its bits.
  PixelBuffer x555 = Decode(MakeBmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0x10, 0x00}));
  EXPECT_EQ(x555.Get(0, 0), 0xFF0000u);
  EXPECT_EQ(x555.Get(1, 0), 0x000084u);  // 10000b -> 10000100b
  // 16 bits with 5-6-5 masks after the 40-byte header.
  Bytes f565 = MakeBmp(1, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0, 0});
  Put(f565, 46, 0, 4);  // the three masks are not a colour table
  PixelBuffer p565 = Decode(f565);
  EXPECT_EQ(p565.Get(0, 0), 0x00FF00u);
  // 32 bits: the unused byte is ignored.
  PixelBuffer x32 = Decode(MakeBmp(1, 1, 32, 0, {}, {0x10, 0x20, 0x30, 0xAB}));
  EXPECT_EQ(x32.Get(0, 0), 0x302010u);
}

TEST(BmpDecode, CoreHeaderWithThreeBytePalette) {
  Bytes b = {'B', 'M'};
  Put(b, 2, 0, 4);
  Put(b, 10, 14 + 12 + 6, 4);
  Put(b, 14, 12, 4);
  Put(b, 18, 2, 2);
  Put(b, 20, 1, 2);
  Put(b, 22, 1, 2);
  Put(b, 24, 1, 2);
  const Bytes rest = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0b01000000, 0, 0, 0};
  b.insert(b.end(), rest.begin(), rest.end());
  PixelBuffer img = Decode(b);
  EXPECT_EQ(img.Get(0, 0), 0x302010u);
  EXPECT_EQ(img.Get(1, 0), 0x605040u);
}

TEST(BmpDecode, RunLengthEncodedImages) {
  const std::vector<uint32_t> pal = {0x000000, 0x111111, 0x222222, 0x333333};
  // RLE8, 4 x 3: run of 3 x index 1, end of line; absolute run 2,3,1 (padded), end of line;
  // delta (1, 0) then one pixel of 2; end of bitmap.
  PixelBuffer r8 = Decode(
      MakeBmp(4, 3, 8, 1, pal, {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 0, 1, 2, 0, 1}));
  EXPECT_EQ(r8.Get(0, 2), 0x111111u);
  EXPECT_EQ(r8.Get(2, 2), 0x111111u);
  EXPECT_EQ(r8.Get(3, 2), 0x000000u);
  EXPECT_EQ(r8.Get(1, 1), 0x333333u);
  EXPECT_EQ(r8.Get(1, 0), 0x222222u);
  EXPECT_EQ(r8.Get(0, 0), 0x000000u);
  // RLE4: a run alternates the two nibbles; a run past the right edge is clipped.
  PixelBuffer r4 = Decode(MakeBmp(3, 1, 4, 2, pal, {5, 0x12, 0, 1}));
  EXPECT_EQ(r4.Get(0, 0), 0x111111u);
  EXPECT_EQ(r4.Get(1, 0), 0x222222u);
  EXPECT_EQ(r4.Get(2, 0), 0x111111u);
  // Data that ends early leaves the rest black.
  PixelBuffer cut = Decode(MakeBmp(4, 2, 8, 1, pal, {2, 3}));
  EXPECT_EQ(cut.Get(1, 1), 0x333333u);
  EXPECT_EQ(cut.Get(0, 0), 0x000000u);
}

TEST(BmpDecode, RefusesDamagedAndUnsupportedFiles) {
  const Bytes good = MakeBmp(2, 2, 24, 0, {}, Bytes(16, 0x55));
  PixelBuffer img;
  EXPECT_TRUE(DecodeBmp(good, img));
  auto refused = [](Bytes b) {
    PixelBuffer out(1, 1);
    std::string why;
    const bool ok = DecodeBmp(b, out, &why);
    return !ok && out.Empty() && !why.empty();
  };
  EXPECT_TRUE(refused(Bytes(good.begin(), good.begin() + 20)));  // header cut short
  EXPECT_TRUE(refused(Bytes(good.begin(), good.end() - 3)));     // last row missing
  Bytes b = good;
  b[0] = 'X';
  EXPECT_TRUE(refused(b));
  b = good, Put(b, 18, 0, 4);
  EXPECT_TRUE(refused(b));  // zero width
  b = good, Put(b, 18, 0xFFFFFFFF, 4);
  EXPECT_TRUE(refused(b));  // negative width
  b = good, Put(b, 18, 40000, 4);
  EXPECT_TRUE(refused(b));  // too large
  b = good, Put(b, 30, 4, 4);
  EXPECT_TRUE(refused(b));  // JPEG inside
  b = good, Put(b, 28, 7, 2);
  EXPECT_TRUE(refused(b));  // no such depth
  b = good, Put(b, 14, 41, 4);
  EXPECT_TRUE(refused(b));  // unknown header size
  b = good, Put(b, 10, 1000, 4);
  EXPECT_TRUE(refused(b));  // pixel offset past the end
  b = good, Put(b, 10, 20, 4);
  EXPECT_TRUE(refused(b));  // pixel offset inside the header
  b = MakeBmp(2, -2, 8, 1, {0}, {0, 1});
  EXPECT_TRUE(refused(b));  // top-down RLE
  EXPECT_FALSE(DecodeBmp(nullptr, 0, img));
}

TEST(BmpEncode, RoundTripsEveryRowPadding) {
  for (int w = 1; w <= 5; ++w) {
    PixelBuffer img(w, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x)
        img.At(x, y) = static_cast<Pixel>(x * 0x102030 + y * 0x050301) & 0xFFFFFF;
    const std::vector<uint8_t> file = EncodeBmp24(img);
    EXPECT_EQ(file.size(), 54u + 3u * ((3u * w + 3) / 4 * 4));
    PixelBuffer back;
    TBmpInfo info;
    ASSERT_TRUE(DecodeBmp(file, back, nullptr, &info));
    EXPECT_EQ(info.BitCount, 24);
    EXPECT_FALSE(info.TopDown);
    EXPECT_EQ(back, img) << "width " << w;
  }
  EXPECT_EQ(EncodeBmp24(PixelBuffer()).size(), 54u);
}

}  // namespace
}  // namespace lbb::skin
