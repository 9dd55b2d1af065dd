#include "skin/win/WinSkinObjImage.h"

#include <array>
#include <vector>

#include "skin/win/WinSkinData.h"

namespace lbb::skin {

namespace {

constexpr lbb::TColor kMagenta = 0xFF00FF;

// The cell order of each kind's strip; kFifth cells are only filled when the skin has exactly 5
// check cells.
constexpr int kFifth = 4;
const std::vector<int>& CellOrder(TObjImageKind kind) {
  static const std::vector<int> check9 = {0, 1, kFifth, 0, 1, kFifth, 2, 3, kFifth};
  static const std::vector<int> radio6 = {0, 1, 0, 1, 2, 3};
  static const std::vector<int> check6 = {0, 1, kFifth, 0, 1, kFifth};
  switch (kind) {
    case TObjImageKind::oiCheckCustomGlyphs:
      return check9;
    case TObjImageKind::oiRadioCustomGlyphs:
      return radio6;
    case TObjImageKind::oiCheckPropertiesGlyph:
      return check6;
  }
  static const std::vector<int> none;
  return none;
}

// Copies cell `cell` (cells in a row, `w` wide) of `src` to x = `x` of `dst`.
void CopyCell(const PixelBuffer& src, int cell, int w, PixelBuffer& dst, int x) {
  for (int y = 0; y < src.Height() && y < dst.Height(); ++y)
    for (int i = 0; i < w; ++i)
      dst.At(x + i, y) = src.At(cell * w + i, y);
}

}  // namespace

void TSkinObjImage::Init(void* skinForm, TSkinData* data) {
  if (inited_) return;
  data_ = data;
  skinForm_ = skinForm;
  SkinChange();
  inited_ = true;
  skinstate_ = 1;
}

void TSkinObjImage::SkinChange() {
  if (BuildStrip()) HandOver();
}

bool TSkinObjImage::BuildStrip() {
  strip_.SetSize(0, 0);
  if (!data_ || !data_->Button) return false;
  const TDataSkinButton& b = *data_->Button;
  const bool radio = kind == TObjImageKind::oiRadioCustomGlyphs;
  const PixelBuffer& src = radio ? b.RadioMap : b.CheckMap;
  const int cells = radio ? b.radioframe : b.checkframe;
  const std::vector<int>& order = CellOrder(kind);
  if (src.Empty() || cells <= 0 || order.empty()) return false;
  const int w = src.Width() / cells;
  if (w <= 0) return false;
  strip_.SetSize(w * static_cast<int>(order.size()), src.Height());
  strip_.SetPixelFormat(forms::TPixelFormat::pf24bit);
  strip_.Pixels().Fill(PixelOf(kMagenta));
  for (size_t i = 0; i < order.size(); ++i) {
    const int cell = order[i];
    if (cell == kFifth && !radio && cells != 5) continue;  // stays see-through
    if (cell < cells) CopyCell(src, cell, w, strip_.Pixels(), static_cast<int>(i) * w);
  }
  return true;
}

void TSkinObjImage::HandOver() {
  if (kind != TObjImageKind::oiCheckPropertiesGlyph) {
    forms::SetObjectProp(control_, u"CustomGlyphs", &strip_);
    forms::SetPropText(control_, u"transparentcolor", u"16711935");
    forms::SetPropText(control_, u"UseCustomGlyphs", u"false");
    forms::SetPropText(control_, u"UseCustomGlyphs", u"true");
    return;
  }
  forms::TObject* props = forms::GetObjectProp(control_, u"Properties");
  if (!props || !forms::SetObjectProp(props, u"Glyph", &strip_)) return;
  auto* glyph = dynamic_cast<forms::TBitmap*>(forms::GetObjectProp(props, u"Glyph", u"TBitmap"));
  if (!glyph) return;
  glyph->SetTransparentColor(kMagenta);
  glyph->SetTransparent(false);
}

void TSkinObjImage::Unskin() {
  if (kind != TObjImageKind::oiCheckPropertiesGlyph) {
    forms::SetPropText(control_, u"UseCustomGlyphs", u"false");
    return;
  }
  forms::SetObjectProp(forms::GetObjectProp(control_, u"Properties"), u"Glyph", nullptr);
}

}  // namespace lbb::skin
