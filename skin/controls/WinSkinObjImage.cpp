#include "skin/controls/WinSkinObjImage.h"

#include <array>
#include <vector>

#include "skin/controls/SkinControlHost.h"
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

TSkinObjImage::TSkinObjImage(forms::TComponent* AOwner, TObjImageKind aKind)
    : TSkinControl(AOwner), target_(AOwner) {
  kind = static_cast<int>(aKind);  // the skinner's variant is the kind of glyph control
}

void TSkinObjImage::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas) {
  if (Inited) return;
  fsd = sd;
  skinform = sf;
  fCanvas = acanvas;
  if (skinform) skinform->AddControlList(this);
  if (BuildStrip()) HandOver();
  Inited = true;
  skinstate = kControlStarted;
}

void TSkinObjImage::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas,
                         bool acolor) {
  if (Inited) return;
  control = dynamic_cast<forms::TWinControl*>(Owner());
  if (control) hwnd = control->WindowHandle();
  newColor = acolor && control;
  if (newColor) {
    oldcolor = control->Color();
    fsd = sd;
    control->SetColor(SchemeColor(kShemeButtonFace));
  }
  Init(sf, sd, acanvas);
}

void TSkinObjImage::SkinChange() {
  if (BuildStrip()) HandOver();
  TSkinControl::SkinChange();
}

void TSkinObjImage::Unsubclass() {
  if (!skinned) return;
  if (skinstate != kControlDestroyed) Unskin();
  TSkinControl::Unsubclass();
}

bool TSkinObjImage::BuildStrip() {
  strip_.SetSize(0, 0);
  if (!fsd || !fsd->Button) return false;
  const TDataSkinButton& b = *fsd->Button;
  const bool radio = Kind() == TObjImageKind::oiRadioCustomGlyphs;
  const PixelBuffer& src = radio ? b.RadioMap : b.CheckMap;
  const int cells = radio ? b.radioframe : b.checkframe;
  const std::vector<int>& order = CellOrder(Kind());
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
  if (Kind() != TObjImageKind::oiCheckPropertiesGlyph) {
    forms::SetObjectProp(target_, u"CustomGlyphs", &strip_);
    forms::SetPropText(target_, u"transparentcolor", u"16711935");
    forms::SetPropText(target_, u"UseCustomGlyphs", u"false");
    forms::SetPropText(target_, u"UseCustomGlyphs", u"true");
    return;
  }
  forms::TObject* props = forms::GetObjectProp(target_, u"Properties");
  if (!props || !forms::SetObjectProp(props, u"Glyph", &strip_)) return;
  auto* glyph = dynamic_cast<forms::TBitmap*>(forms::GetObjectProp(props, u"Glyph", u"TBitmap"));
  if (!glyph) return;
  glyph->SetTransparentColor(kMagenta);
  glyph->SetTransparent(false);
}

void TSkinObjImage::Unskin() {
  if (Kind() != TObjImageKind::oiCheckPropertiesGlyph) {
    forms::SetPropText(target_, u"UseCustomGlyphs", u"false");
    return;
  }
  forms::SetObjectProp(forms::GetObjectProp(target_, u"Properties"), u"Glyph", nullptr);
}

}  // namespace lbb::skin
