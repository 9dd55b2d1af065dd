// The pixel buffer and the PNG writer. The PNG is checked by ImageMagick where it is
// installed (native builds), so a reader other than our own code opens it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "base/PixelBuffer.h"
#include "base/PngFile.h"

namespace lbb::skin {
namespace {

TEST(PixelBuffer, OwnsCopiesAndWraps) {
  PixelBuffer a(3, 2);
  a.Set(2, 1, 0x123456);
  a.Set(5, 5, 1);  // outside: ignored
  EXPECT_EQ(a.Get(2, 1), 0x123456u);
  EXPECT_EQ(a.Get(-1, 0), 0u);
  PixelBuffer b = a;
  b.Set(0, 0, 7);
  EXPECT_EQ(a.Get(0, 0), 0u);
  Pixel memory[4] = {1, 2, 3, 4};
  PixelBuffer view = PixelBuffer::Wrap(memory, 2, 2);
  EXPECT_FALSE(view.Owns());
  view.Set(1, 1, 9);
  EXPECT_EQ(memory[3], 9u);
  PixelBuffer moved = std::move(view);
  EXPECT_EQ(moved.Bits(), memory);
  PixelBuffer ownedMoved = std::move(b);
  EXPECT_TRUE(ownedMoved.Owns());
  EXPECT_EQ(ownedMoved.Get(2, 1), 0x123456u);
  EXPECT_EQ(PixelOf(0x00FF8040), 0x004080FFu);  // colour 0x00BBGGRR -> pixel 0x00RRGGBB
}

TEST(PngFile, KnownCrcAndReadableFile) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  PixelBuffer img(70000 / 100, 120);  // rows long enough to need several stored blocks
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x)
      img.At(x, y) = PixelOf(0x000000FF) * ((x + y) & 1);
  }
  const std::string png = EncodePng(img);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  const char* path = "png_test_out.png";
  std::ofstream(path, std::ios::binary) << png;
  if (std::system("command -v identify >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
  // ImageMagick reads it back: size, and the red pixel at (1, 0).
  FILE* p = popen(
      "convert png_test_out.png -format '%w %h "
      "%[fx:int(255*p{1,0}.r)],%[fx:int(255*p{1,0}.g)],%[fx:int(255*p{1,0}.b)]' info:",
      "r");
  ASSERT_NE(p, nullptr);
  char line[200] = {};
  ASSERT_NE(fgets(line, sizeof line, p), nullptr);
  pclose(p);
  EXPECT_STREQ(line, "700 120 255,0,0");
}

// Every pixel of pictures that exercise literals, short and long matches and far distances
// comes back the same through ImageMagick.
TEST(PngFile, ImageMagickReadsBackEveryPixel) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  PixelBuffer noise(97, 61), ui(300, 200), blank(1, 1);
  for (int y = 0; y < noise.Height(); ++y) {
    for (int x = 0; x < noise.Width(); ++x)
      noise.At(x, y) = next() >> 8 & 0xFFFFFF;
  }
  for (int y = 0; y < ui.Height(); ++y) {
    for (int x = 0; x < ui.Width(); ++x) {
      ui.At(x, y) = (y / 20 % 2) ? 0xF0F0F0 : (x % 37 < 3 ? 0x3060A0 : 0xE0E8F0 + (y % 7));
    }
  }
  for (const PixelBuffer* img : {&noise, &ui, &blank}) {
    std::ofstream("png_roundtrip.png", std::ios::binary) << EncodePng(*img);
    FILE* p = popen("convert png_roundtrip.png -depth 8 rgb:-", "r");
    ASSERT_NE(p, nullptr);
    std::string rgb;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, p)) > 0)
      rgb.append(buffer, got);
    pclose(p);
    ASSERT_EQ(rgb.size(), static_cast<size_t>(img->Width() * img->Height() * 3));
    size_t mismatches = 0;
    for (int y = 0; y < img->Height(); ++y) {
      for (int x = 0; x < img->Width(); ++x) {
        const size_t at = (static_cast<size_t>(y) * img->Width() + x) * 3;
        const Pixel got3 = static_cast<unsigned char>(rgb[at]) << 16 |
                           static_cast<unsigned char>(rgb[at + 1]) << 8 |
                           static_cast<unsigned char>(rgb[at + 2]);
        if (got3 != (img->At(x, y) & 0xFFFFFF)) ++mismatches;
      }
    }
    EXPECT_EQ(mismatches, 0u) << img->Width() << "x" << img->Height();
  }
  // The flat picture packs far below its raw size.
  EXPECT_LT(EncodePng(ui).size(), static_cast<size_t>(ui.Width() * ui.Height() * 3 / 10));
}

}  // namespace
}  // namespace lbb::skin
