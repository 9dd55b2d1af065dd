// Colour mixing, saturation and gradients with their cache.
#include <gtest/gtest.h>

#include "skin/data/imgutil.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

// Resolves system colours to fixed values so the tests do not depend on the default table.
class TestColours : public TSysColours {
 public:
  uint32_t Colour(int index) const override { return index == kColorBtnFace ? 0x102030 : 0; }
};

TEST(MixColors, PercentBelowOneHundredPerMilleFromThere) {
  EXPECT_EQ(MixColors(0x000000, 0xFFFFFF, 50), 0x808080u);  // 127.5 rounds up
  EXPECT_EQ(MixColors(0xFFFFFF, 0x000000, 50), 0x808080u);
  EXPECT_EQ(MixColors(0x808080, 0x000000, 150), 0x131313u);  // 15 % of 128 = 19.2
  EXPECT_EQ(MixColors(0x808080, 0xFFFFFF, 150), 0xECECECu);  // 19.2 + 216.75
  EXPECT_EQ(MixColors(0x0000FF, 0x00FF00, 99), 0x0003FCu);
  EXPECT_EQ(MixColors(0x123456, 0xABCDEF, 100), 0x9CBEE0u);  // 10 % of c1 on the 1000 scale
  TestColours colours;
  const TSysColours* previous = SetSysColours(&colours);
  EXPECT_EQ(MixColors(SysColor(kColorBtnFace), 0x000000, 50), 0x081018u);
  SetSysColours(previous);
}

TEST(ColourSaturation, BrightColoursAndDarkOnes) {
  EXPECT_EQ(ColourSaturation(0x0000FF), 255);
  EXPECT_EQ(ColourSaturation(0xFFFFFF), 0);
  EXPECT_EQ(ColourSaturation(0x505050), 200);  // every channel below 160
  EXPECT_EQ(ColourSaturation(0x000000), 200);
  EXPECT_EQ(ColourSaturation(0x9F9F9F), 200);
  EXPECT_EQ(ColourSaturation(0x0000A0), 255);  // 160 reaches the rule
  // (200 - 100) / 200 * 255 = 127.5: halves to even gives 128.
  EXPECT_EQ(ColourSaturation(0x6464C8), 128);
  // (255 - 1) / 255 * 255 = 254.
  EXPECT_EQ(ColourSaturation(0x0101FF), 254);
}

PixelBuffer Gradient(int n, bool vertical, TColor a, TColor b) {
  PixelBuffer img(vertical ? 3 : n, vertical ? n : 3);
  GradientFill(img, {0, 0, img.Width(), img.Height()}, a, vertical, b);
  return img;
}

TEST(GradientFill, EndsMidpointAndLines) {
  const PixelBuffer two = Gradient(2, true, 0x102030, 0xF0E0D0);
  EXPECT_EQ(two.At(1, 0), PixelOf(0x102030));
  EXPECT_EQ(two.At(1, 1), PixelOf(0xF0E0D0));
  const PixelBuffer one = Gradient(1, false, 0x000010, 0x00FF00);
  EXPECT_EQ(one.At(0, 2), PixelOf(0x007F08));  // per channel first + (last - first) div 2
  const PixelBuffer down = Gradient(1, false, 0x0000FF, 0x000000);
  EXPECT_EQ(down.At(0, 0), PixelOf(0x000080));  // -255 div 2 truncates toward zero
  for (int n : {3, 7, 40, 255}) {
    const PixelBuffer g = Gradient(n, false, 0xFFC000, 0x0010F0);
    EXPECT_EQ(g.At(0, 1), PixelOf(0xFFC000)) << n;
    EXPECT_EQ(g.At(n - 1, 1), PixelOf(0x0010F0)) << n;  // also for falling channels
    for (int x = 1; x < n; ++x) {
      const uint32_t p = ColourOf(g.At(x, 0)), q = ColourOf(g.At(x - 1, 0));
      ASSERT_GE(p & 0xFF, q & 0xFF);                  // red rises
      ASSERT_LE((p >> 16) & 0xFF, (q >> 16) & 0xFF);  // blue falls
    }
  }
  // Entry i = first + (c div 2 + i (last - first)) div c: 3 entries from 0 to 255 per channel.
  const PixelBuffer three = Gradient(3, true, 0x000000, 0x0000FF);
  EXPECT_EQ(three.At(0, 1), PixelOf(0x000080));
}

TEST(GradientFill, OnlyVisibleLinesAndNothingOutside) {
  PixelBuffer img(10, 10);
  img.Fill(5);
  GradientFill(img, {-4, 2, 6, 4}, 0x000000, false, 0x0000FF, {0, 0, 10, 3});
  EXPECT_EQ(img.At(0, 2), PixelOf(ColourOf(Gradient(10, false, 0, 0xFF).At(4, 0))));
  EXPECT_EQ(img.At(0, 3), 5u);  // outside the clip box
  EXPECT_EQ(img.At(6, 2), 5u);  // outside the rectangle
  PixelBuffer same = img;
  GradientFill(img, {20, 20, 30, 30}, 0, true, 0xFFFFFF);
  GradientFill(img, {2, 2, 2, 8}, 0, false, 0xFFFFFF);
  EXPECT_EQ(img, same);
}

TEST(GradientFill, ReusesTheLastSixteenTables) {
  PixelBuffer img(4, 4);
  const TGradientCacheStats before = GradientCacheStats();
  for (int i = 0; i < 16; ++i)
    GradientFill(img, {0, 0, 4, 4}, i, true, 0xFFFFFF);
  for (int i = 0; i < 16; ++i)
    GradientFill(img, {0, 0, 4, 4}, i, true, 0xFFFFFF);
  TGradientCacheStats after = GradientCacheStats();
  EXPECT_EQ(after.built - before.built, 16);
  EXPECT_EQ(after.reused - before.reused, 16);
  GradientFill(img, {0, 0, 4, 4}, 100, true, 0xFFFFFF);  // pushes out table 0
  GradientFill(img, {0, 0, 4, 4}, 0, true, 0xFFFFFF);
  GradientFill(img, {0, 0, 4, 3}, 5, true, 0xFFFFFF);  // another length: not reused
  after = GradientCacheStats();
  EXPECT_EQ(after.built - before.built, 19);
  EXPECT_EQ(after.reused - before.reused, 16);
}

}  // namespace
