// The skin model at a screen's DPI: untouched at 96, pixels doubled at 192, nine parts
// resampled without new colours at 144, caption-button places, and a skin's own @2x images.
#include <gtest/gtest.h>

#include <set>

#include "resources/skin/BuiltinSkin.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinScale.h"
#include "tests/native/skinmodel/SkinBuilder.h"

namespace {

using namespace lbb;
using namespace lbb::skin;
using skintest::Pack;
using skintest::Parse;

void ParseBuiltin(TSkinModel& m) {
  const auto s = lbb::resources::BuiltinSkin();
  ASSERT_TRUE(Parse(m, std::vector<uint8_t>(s.begin(), s.end())));
}

// Every image and pixel number the painters read, of the elements the built-in skin has.
std::vector<const PixelBuffer*> Images(const TSkinModel& m) {
  std::vector<const PixelBuffer*> out{&m.Title->Map, &m.Button->Map, &m.Button->CheckMap,
                                      &m.Button->RadioMap};
  for (const auto& b : m.border)
    out.push_back(&b->Map);
  for (const auto& b : m.SysBtn)
    out.push_back(&b->Map);
  for (const TDataSkinObject* o : {m.Menubar.get(), m.MenuItem.get(), m.SArrow.get(),
                                   m.Header.get(), m.Toolbar.get(), m.TrackBar.get()})
    if (o) out.push_back(&o->Map);
  return out;
}

TEST(SkinScale, MulDivRoundsHalvesAwayFromZero) {
  EXPECT_EQ(SkinMulDiv(3, 144, 96), 5);  // 4.5
  EXPECT_EQ(SkinMulDiv(-3, 144, 96), -5);
  EXPECT_EQ(SkinMulDiv(2, 120, 96), 3);  // 2.5
  EXPECT_EQ(SkinMulDiv(1, 120, 96), 1);  // 1.25
  EXPECT_EQ(SkinMulDiv(7, 1, 0), -1);
  EXPECT_EQ(ScaleToDpi(40, 96), 40);
  EXPECT_EQ(ScaleToDpi(40, 72), 40);
  EXPECT_EQ(ScaleToDpi(0x7FFFFFFF, 192), 0x7FFFFFFF);  // saturates
}

TEST(SkinScale, At96AndBelowTheModelIsUntouched) {
  TSkinModel before, after;
  ParseBuiltin(before);
  ParseBuiltin(after);
  ScaleSkinModel(after, 96);
  ScaleSkinModel(after, 72);
  const auto a = Images(before), b = Images(after);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i)
    EXPECT_TRUE(*a[i] == *b[i]) << "image " << i;
  EXPECT_EQ(after.border[kBorderLeft]->r, before.border[kBorderLeft]->r);
  EXPECT_EQ(after.SysBtn[0]->XCoord, before.SysBtn[0]->XCoord);
  EXPECT_EQ(after.Title->FontHeight, before.Title->FontHeight);
}

TEST(SkinScale, At192EveryCellIsTheOneXCellWithEveryPixelDoubled) {
  TSkinModel one, two;
  ParseBuiltin(one);
  ParseBuiltin(two);
  ScaleSkinModel(two, 192);
  // Left: two cells side by side; Top: two cells stacked.
  for (int side : {kBorderLeft, kBorderTop}) {
    const TDataSkinBorder& a = *one.border[static_cast<size_t>(side)];
    const TDataSkinBorder& b = *two.border[static_cast<size_t>(side)];
    ASSERT_EQ(b.Map.Width(), 2 * a.Map.Width());
    ASSERT_EQ(b.Map.Height(), 2 * a.Map.Height());
    for (int y = 0; y < b.Map.Height(); ++y)
      for (int x = 0; x < b.Map.Width(); ++x)
        ASSERT_EQ(b.Map.At(x, y), a.Map.At(x / 2, y / 2)) << side << " at " << x << "," << y;
    EXPECT_EQ(b.r.Top, 2 * a.r.Top);
    EXPECT_EQ(b.r.Left, 2 * a.r.Left);
  }
  EXPECT_EQ(two.Title->FontHeight, 2 * one.Title->FontHeight);
  EXPECT_EQ(two.Title->r.Left, 2 * one.Title->r.Left);  // text shift
}

// A 10 x 10 cell: 3-pixel margins, corners red, edges green, centre a 2 x 2 chequer of blue and
// the key colour.
PixelBuffer NinePartCell() {
  PixelBuffer img(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool edgeX = x < 3 || x >= 7, edgeY = y < 3 || y >= 7;
      img.At(x, y) = edgeX && edgeY   ? 0xFF0000
                     : edgeX || edgeY ? 0x00FF00
                     : ((x + y) & 1)  ? 0x0000FF
                                      : 0xFF00FF;
    }
  return img;
}

TEST(SkinScale, At144MarginsScaleByMulDivAndNoColourIsNew) {
  // The nine parts keep their places: 3 -> 5 (4.5 rounded up), the cell 10 -> 15.
  const PixelBuffer cell = NinePartCell();
  const PixelBuffer s = ScaleSkinImage(cell, 1, false, {3, 3, 3, 3}, false, 144);
  ASSERT_EQ(s.Width(), 15);
  ASSERT_EQ(s.Height(), 15);
  EXPECT_EQ(s.At(4, 4), 0xFF0000u);  // corner
  EXPECT_EQ(s.At(5, 4), 0x00FF00u);  // top edge
  EXPECT_EQ(s.At(10, 10), 0xFF0000u);
  EXPECT_TRUE(s.At(9, 9) == 0x0000FF || s.At(9, 9) == 0xFF00FF);  // centre
  // Tiled: the centre repeats the 1x chequer, one pixel to one pixel.
  const PixelBuffer t = ScaleSkinImage(cell, 1, false, {3, 3, 3, 3}, true, 144);
  for (int y = 5; y < 10; ++y)
    for (int x = 5; x < 10; ++x)
      EXPECT_EQ(t.At(x, y), cell.At(3 + (x - 5) % 4, 3 + (y - 5) % 4));
  // The whole built-in skin: margins MulDiv-scaled, every colour one of the source's.
  TSkinModel one, m;
  ParseBuiltin(one);
  ParseBuiltin(m);
  ScaleSkinModel(m, 144);
  EXPECT_EQ(m.border[kBorderLeft]->r.Top, SkinMulDiv(one.border[kBorderLeft]->r.Top, 144, 96));
  EXPECT_EQ(m.border[kBorderTop]->r.Left, SkinMulDiv(one.border[kBorderTop]->r.Left, 144, 96));
  EXPECT_EQ(m.Menubar->r.Left, SkinMulDiv(one.Menubar->r.Left, 144, 96));
  const auto a = Images(one), b = Images(m);
  int keyed = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    std::set<Pixel> source(a[i]->Bits(), a[i]->Bits() + a[i]->Width() * a[i]->Height());
    for (int y = 0; y < b[i]->Height(); ++y)
      for (int x = 0; x < b[i]->Width(); ++x) {
        ASSERT_TRUE(source.count(b[i]->At(x, y))) << "image " << i << " at " << x << "," << y;
        keyed += b[i]->At(x, y) == 0xFF00FF;
      }
  }
  EXPECT_GT(keyed, 0);  // the keyed corners came through exactly
}

TEST(SkinScale, CaptionButtonPlacesScale) {
  TSkinModel one, m;
  ParseBuiltin(one);
  ParseBuiltin(m);
  ScaleSkinModel(m, 144);
  EXPECT_EQ(m.SysBtn[0]->XCoord, 60);  // 40 from the right
  EXPECT_EQ(m.SysBtn[0]->YCoord, SkinMulDiv(one.SysBtn[0]->YCoord, 144, 96));
  // A button left of the title by a negative offset mirrors one right of it.
  TSkinModel h;
  ASSERT_TRUE(Parse(h, Pack({"[Button0]\r\nAction=0\r\nAlign=2\r\nXCoord=-3\r\nYCoord=-1\r\n"
                             "[Button1]\r\nAction=2\r\nAlign=3\r\nXCoord=3\r\nYCoord=1\r\n",
                             {}})));
  ScaleSkinModel(h, 144);
  EXPECT_EQ(h.SysBtn[0]->XCoord, -5);
  EXPECT_EQ(h.SysBtn[0]->YCoord, -2);
  EXPECT_EQ(h.SysBtn[1]->XCoord, 5);
  EXPECT_EQ(h.SysBtn[1]->YCoord, 2);
}

TEST(SkinScale, ValidAtTwoXEntryIsUsedAtTwoXAndAWronglySizedOneIgnored) {
  const std::string ini =
      "[Personality]\r\nLeft=l.bmp\r\nLeftFrame=2\r\nRight=r.bmp\r\nRightFrame=2\r\n";
  // l@2x: cells 8 x 40 = twice 4 x 20. r@2x: cells 7 x 40, not twice 4 x 20.
  const skintest::SkinFiles files{ini,
                                  {{"l.bmp", skintest::Solid(8, 20, 0x112233)},
                                   {"l@2x.bmp", skintest::Solid(16, 40, 0xA0B0C0)},
                                   {"r.bmp", skintest::Solid(8, 20, 0x445566)},
                                   {"r@2x.bmp", skintest::Solid(14, 40, 0xD0E0F0)}}};
  TSkinModel m;
  m.SetTargetDpi(192);
  ASSERT_TRUE(Parse(m, Pack(files)));
  const std::vector<THiDpiCheck> checks = CheckHiDpiImages(m);
  ASSERT_EQ(checks.size(), 2u);
  EXPECT_TRUE(checks[0].Used);
  EXPECT_FALSE(checks[1].Used);
  EXPECT_NE(checks[1].Why.find("not twice"), std::string::npos);
  ScaleSkinModel(m, 192);
  EXPECT_EQ(m.border[kBorderLeft]->Map.Get(3, 3), 0xA0B0C0u);
  EXPECT_EQ(m.border[kBorderRight]->Map.Get(3, 3), 0x445566u);
  EXPECT_EQ(m.border[kBorderRight]->Map.Width(), 16);
  EXPECT_TRUE(m.HiDpiImages().empty());
  // Another DPI never reads the @2x entries.
  TSkinModel plain;
  ASSERT_TRUE(Parse(plain, Pack(files)));
  EXPECT_TRUE(plain.HiDpiImages().empty());
}

}  // namespace
