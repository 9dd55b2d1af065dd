// BMP variants written by ImageMagick decode to the same pixels as ImageMagick reads from them:
// 1-, 4- and 8-bit palettes, RLE8, 16-bit 5-6-5 and 5-5-5 with bit fields, 24 and 32 bits, the
// old 12-byte header, and a top-down copy of the 24-bit file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/BmpFile.h"

namespace lbb::skin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool Shell(const std::string& command) {
  return std::system((command + " 2>/dev/null").c_str()) == 0;
}

// The picture as ImageMagick reads it: w x h pixels 0x00RRGGBB, top row first.
PixelBuffer MagickPixels(const std::string& bmp, int w, int h) {
  const std::string raw = bmp + ".rgb";
  if (!Shell("convert " + bmp + " -depth 8 rgb:" + raw)) return PixelBuffer();
  const Bytes b = ReadAll(raw);
  if (b.size() != static_cast<size_t>(w) * h * 3) return PixelBuffer();
  PixelBuffer img(w, h);
  for (int i = 0; i < w * h; ++i)
    img.Bits()[i] = b[3 * i] << 16 | b[3 * i + 1] << 8 | b[3 * i + 2];
  return img;
}

class BmpMagick : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!Shell("command -v convert >/dev/null")) return;
    // 37 x 23: a colour gradient with a few flat shapes, 200 colours at most.
    available_ = Shell(
        "convert -size 37x23 gradient:'#204080'-'#f0c060' -fill '#30a050' -draw 'circle 12,11 "
        "18,15' -fill white -draw 'rectangle 25,3 33,9' -colors 200 bmp_source.png");
  }
  static bool available_;

  // `options` ends with the output format prefix ("BMP3:"), which the file name follows.
  void ExpectSame(const std::string& name, const std::string& options, int bits) {
    const std::string file = "bmp_" + name + ".bmp";
    ASSERT_TRUE(Shell("convert bmp_source.png " + options + file)) << options;
    const Bytes bytes = ReadAll(file);
    PixelBuffer ours;
    TBmpInfo info;
    std::string why;
    ASSERT_TRUE(DecodeBmp(bytes, ours, &why, &info)) << name << ": " << why;
    EXPECT_EQ(info.BitCount, bits) << name;
    const PixelBuffer theirs = MagickPixels(file, ours.Width(), ours.Height());
    ASSERT_FALSE(theirs.Empty()) << name;
    EXPECT_EQ(ours, theirs) << name;
  }
};
bool BmpMagick::available_ = false;

TEST_F(BmpMagick, EveryVariantMatches) {
  if (!available_) GTEST_SKIP() << "ImageMagick is not installed";
  ExpectSame("mono", "-monochrome BMP3:", 1);
  ExpectSame("pal16", "-colors 16 -type Palette BMP3:", 4);
  ExpectSame("pal256", "-type Palette BMP3:", 8);
  ExpectSame("rle8", "-type Palette -compress RLE BMP3:", 8);
  ExpectSame("rgb565", "-define bmp:subtype=RGB565 BMP:", 16);
  ExpectSame("rgb555", "-define bmp:subtype=RGB555 BMP:", 16);
  ExpectSame("rgb24", "-type TrueColor BMP3:", 24);
  ExpectSame("rgba32", "-type TrueColorAlpha BMP:", 32);
  ExpectSame("os2", "-type Palette BMP2:", 8);
}

TEST_F(BmpMagick, TopDownCopyMatchesTheBottomUpFile) {
  if (!available_) GTEST_SKIP() << "ImageMagick is not installed";
  ASSERT_TRUE(Shell("convert bmp_source.png -type TrueColor BMP3:bmp_up.bmp"));
  Bytes file = ReadAll("bmp_up.bmp");
  const uint32_t off = file[10] | file[11] << 8;
  const int w = 37, h = 23, stride = (w * 3 + 3) / 4 * 4;
  Bytes flipped = file;
  for (int y = 0; y < h; ++y)
    std::copy_n(file.begin() + off + y * stride, stride,
                flipped.begin() + off + (h - 1 - y) * stride);
  const int32_t negative = -h;
  for (int i = 0; i < 4; ++i)
    flipped[22 + i] = static_cast<uint8_t>(static_cast<uint32_t>(negative) >> (8 * i));
  PixelBuffer down;
  TBmpInfo info;
  ASSERT_TRUE(DecodeBmp(flipped, down, nullptr, &info));
  EXPECT_TRUE(info.TopDown);
  EXPECT_EQ(down, MagickPixels("bmp_up.bmp", w, h));
}

TEST_F(BmpMagick, EncodedFileReadsBackInImageMagick) {
  if (!available_) GTEST_SKIP() << "ImageMagick is not installed";
  PixelBuffer img(5, 3);
  for (int i = 0; i < 15; ++i)
    img.Bits()[i] = static_cast<Pixel>(i * 0x0D1B29) & 0xFFFFFF;
  const Bytes file = EncodeBmp24(img);
  std::ofstream("bmp_encoded.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  EXPECT_EQ(MagickPixels("bmp_encoded.bmp", 5, 3), img);
}

}  // namespace
}  // namespace lbb::skin
