// TSkinObjImage against small controls that publish the glyph properties it sets.
#include <gtest/gtest.h>

#include "resources/skin/BuiltinSkin.h"
#include "skin/controls/WinSkinObjImage.h"
#include "skin/win/WinSkinData.h"

namespace {

using namespace lbb;
using namespace lbb::skin;
using lbb::forms::TBitmap;
using lbb::forms::TClassInfo;
using lbb::forms::TComponent;

// A check box or radio button that paints its own glyphs from "CustomGlyphs".
class TGlyphCheck : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  TGlyphCheck() : TComponent(nullptr) {}
  TBitmap* CustomGlyphs() const { return &glyphs; }
  void SetCustomGlyphs(TBitmap* b) {
    if (b)
      glyphs.Assign(*b);
    else
      glyphs.SetSize(0, 0);
  }
  int64_t TransparentColorProp() const { return transparentColor; }
  void SetTransparentColorProp(int64_t c) { transparentColor = c; }
  bool UseCustomGlyphs() const { return useCustom; }
  void SetUseCustomGlyphs(bool b) {
    useCustom = b;
    useHistory.push_back(b);
  }
  mutable TBitmap glyphs;
  int64_t transparentColor = 0;
  bool useCustom = false;
  std::vector<bool> useHistory;
};

const TClassInfo& TGlyphCheck::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TGlyphCheck", &TComponent::StaticClassInfo());
    i.Add(lbb::forms::ObjectProp<TGlyphCheck, TBitmap>(
        u"CustomGlyphs", u"TBitmap", &TGlyphCheck::CustomGlyphs, &TGlyphCheck::SetCustomGlyphs));
    i.Add(lbb::forms::IntProp<TGlyphCheck>(u"TransparentColor", &TGlyphCheck::TransparentColorProp,
                                           &TGlyphCheck::SetTransparentColorProp));
    i.Add(lbb::forms::BoolProp<TGlyphCheck>(u"UseCustomGlyphs", &TGlyphCheck::UseCustomGlyphs,
                                            &TGlyphCheck::SetUseCustomGlyphs));
    return i;
  }();
  return info;
}

// The "Properties" object of a check box of the other family, with its "Glyph".
class TGlyphProps : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  TGlyphProps() : TComponent(nullptr) {}
  TBitmap* Glyph() const { return &glyph; }
  void SetGlyph(TBitmap* b) {
    if (b)
      glyph.Assign(*b);
    else
      glyph.SetSize(0, 0);
  }
  mutable TBitmap glyph;
};

const TClassInfo& TGlyphProps::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TGlyphProps", &TComponent::StaticClassInfo());
    i.Add(lbb::forms::ObjectProp<TGlyphProps, TBitmap>(u"Glyph", u"TBitmap", &TGlyphProps::Glyph,
                                                       &TGlyphProps::SetGlyph));
    return i;
  }();
  return info;
}

class TPropsCheck : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  TPropsCheck() : TComponent(nullptr) {}
  TGlyphProps* Properties() const { return &props; }
  mutable TGlyphProps props;
};

const TClassInfo& TPropsCheck::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TPropsCheck", &TComponent::StaticClassInfo());
    i.Add(lbb::forms::ObjectProp<TPropsCheck, TGlyphProps>(u"Properties", u"TGlyphProps",
                                                           &TPropsCheck::Properties, nullptr));
    return i;
  }();
  return info;
}

constexpr Pixel kSeeThrough = PixelOf(0xFF00FF);

// A skin whose check image has `cells` cells of 3 x 2 pixels, cell i filled with pixel 10 + i;
// the radio image likewise with 20 + i.
void GiveCells(TSkinData& d, int checkCells, int radioCells) {
  d.Button = std::make_unique<TDataSkinButton>();
  auto strip = [](int cells, Pixel base) {
    PixelBuffer p(3 * cells, 2);
    for (int x = 0; x < p.Width(); ++x)
      for (int y = 0; y < 2; ++y)
        p.At(x, y) = base + static_cast<Pixel>(x / 3);
    return p;
  };
  d.Button->CheckMap = strip(checkCells, 10);
  d.Button->checkframe = checkCells;
  d.Button->RadioMap = strip(radioCells, 20);
  d.Button->radioframe = radioCells;
}

// The pixel of each 3-pixel cell of `b`.
std::vector<Pixel> Cells(const TBitmap& b) {
  std::vector<Pixel> out;
  for (int x = 0; x < b.Width(); x += 3)
    out.push_back(b.Pixels().At(x, 1));
  return out;
}

TEST(SkinObjImage, CheckStripOfFiveCellsAndTheControlReloads) {
  TSkinData d(nullptr);
  GiveCells(d, 5, 4);
  TGlyphCheck c;
  auto* s = new TSkinObjImage(&c, TObjImageKind::oiCheckCustomGlyphs);
  s->Init(nullptr, &d, nullptr);
  EXPECT_TRUE(s->Started());
  EXPECT_EQ(s->skinstate, kControlStarted);
  EXPECT_EQ(Cells(c.glyphs), (std::vector<Pixel>{10, 11, 14, 10, 11, 14, 12, 13, 14}));
  EXPECT_EQ(c.glyphs.Height(), 2);
  EXPECT_EQ(c.transparentColor, 16711935);
  EXPECT_EQ(c.useHistory, (std::vector<bool>{false, true}));
  s->Unskin();
  EXPECT_FALSE(c.useCustom);
}

TEST(SkinObjImage, FifthCellsStaySeeThroughWithoutFiveCheckCells) {
  TSkinData d(nullptr);
  GiveCells(d, 12, 8);
  TGlyphCheck c;
  auto* s = new TSkinObjImage(&c, TObjImageKind::oiCheckCustomGlyphs);
  s->Init(nullptr, &d, nullptr);
  EXPECT_EQ(Cells(c.glyphs),
            (std::vector<Pixel>{10, 11, kSeeThrough, 10, 11, kSeeThrough, 12, 13, kSeeThrough}));
}

TEST(SkinObjImage, RadioStripAndSkinChange) {
  TSkinData d(nullptr);
  GiveCells(d, 5, 4);
  TGlyphCheck c;
  auto* s = new TSkinObjImage(&c, TObjImageKind::oiRadioCustomGlyphs);
  s->Init(nullptr, &d, nullptr);
  EXPECT_EQ(Cells(c.glyphs), (std::vector<Pixel>{20, 21, 20, 21, 22, 23}));
  s->Init(nullptr, &d, nullptr);  // once only
  EXPECT_EQ(c.useHistory.size(), 2u);
  GiveCells(d, 5, 6);
  d.Button->RadioMap.Fill(7);
  s->SkinChange();
  EXPECT_EQ(Cells(c.glyphs), (std::vector<Pixel>(6, 7)));
  EXPECT_EQ(c.useHistory.size(), 4u);
}

TEST(SkinObjImage, GlyphOfThePropertiesObject) {
  TSkinData d(nullptr);
  GiveCells(d, 5, 4);
  TPropsCheck c;
  auto* s = new TSkinObjImage(&c, TObjImageKind::oiCheckPropertiesGlyph);
  s->Init(nullptr, &d, nullptr);
  EXPECT_EQ(Cells(c.props.glyph), (std::vector<Pixel>{10, 11, 14, 10, 11, 14}));
  EXPECT_EQ(c.props.glyph.TransparentColor(), 0xFF00FF);
  EXPECT_FALSE(c.props.glyph.Transparent());
  s->Unskin();
  EXPECT_TRUE(c.props.glyph.Empty());
}

TEST(SkinObjImage, TheCarriedSkinsCellsAndMissingPropertiesOrImages) {
  TSkinData d(nullptr);
  TMemoryStream block(std::vector<uint8_t>(lbb::resources::BuiltinSkin().begin(),
                                           lbb::resources::BuiltinSkin().end()));
  d.LoadFromStream(block);
  ASSERT_FALSE(d.Empty);
  TGlyphCheck c;
  auto* s = new TSkinObjImage(&c, TObjImageKind::oiCheckCustomGlyphs);
  s->Init(nullptr, &d, nullptr);
  const int w = d.Button->CheckMap.Width() / d.Button->checkframe;
  EXPECT_EQ(c.glyphs.Width(), 9 * w);
  EXPECT_EQ(c.glyphs.Pixels().At(6 * w, 0), d.Button->CheckMap.At(2 * w, 0));
  // A control without the properties and a skin without the image: nothing happens.
  TComponent plain(nullptr);
  auto* none = new TSkinObjImage(&plain, TObjImageKind::oiRadioCustomGlyphs);
  none->Init(nullptr, &d, nullptr);
  none->Unskin();
  d.Button->RadioMap = PixelBuffer();
  TGlyphCheck r;
  auto* radio = new TSkinObjImage(&r, TObjImageKind::oiRadioCustomGlyphs);
  radio->Init(nullptr, &d, nullptr);
  EXPECT_TRUE(r.glyphs.Empty());
  EXPECT_TRUE(r.useHistory.empty());
}

}  // namespace
