#include "forms/ButtonGlyph.h"

#include "forms/ImgList.h"
#include "forms/WinText.h"

namespace lbb::forms {
namespace {

constexpr UINT kCaptionFlags = DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS;

// Places the pair along one axis: returns glyph and text starts.
void PlaceAlong(int client, int glyph, int text, int margin, int spacing, bool reversed,
                int& glyphAt, int& textAt) {
  if (glyph == 0 || text == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (client - glyph - text) / 3;
      spacing = margin;
    } else {
      margin = (client - glyph - spacing - text) / 2;
    }
  } else if (spacing == -1) {
    spacing = (client - margin - glyph - text) / 2;
  }
  if (!reversed) {
    glyphAt = margin;
    textAt = margin + glyph + spacing;
  } else {
    glyphAt = client - margin - glyph;
    textAt = glyphAt - spacing - text;
  }
}

}  // namespace

TButtonPlacement PlaceButtonContent(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout,
                                    int margin, int spacing) {
  int w = client.right - client.left, h = client.bottom - client.top;
  TButtonPlacement out;
  bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  bool reversed = layout == TButtonLayout::blGlyphRight || layout == TButtonLayout::blGlyphBottom;
  int glyphAt = 0, textAt = 0;
  if (horizontal) {
    PlaceAlong(w, glyph.cx, text.cx, margin, spacing, reversed, glyphAt, textAt);
    out.glyph = POINT{client.left + glyphAt, client.top + (h - glyph.cy + 1) / 2};
    int top = client.top + (h - text.cy + 1) / 2;
    out.text = RECT{client.left + textAt, top, client.left + textAt + text.cx, top + text.cy};
  } else {
    PlaceAlong(h, glyph.cy, text.cy, margin, spacing, reversed, glyphAt, textAt);
    out.glyph = POINT{client.left + (w - glyph.cx + 1) / 2, client.top + glyphAt};
    int left = client.left + (w - text.cx + 1) / 2;
    out.text = RECT{left, client.top + textAt, left + text.cx, client.top + textAt + text.cy};
  }
  return out;
}

// ---- TButtonGlyph

TButtonGlyph::TButtonGlyph() : glyph_(std::make_unique<TBitmap>()) {}

void TButtonGlyph::SetGlyph(const TBitmap* bitmap) {
  if (bitmap) {
    glyph_->Assign(*bitmap);
  } else {
    glyph_->SetSize(0, 0);
  }
  glyph_->SetTransparent(true);
}

void TButtonGlyph::ChangeScale(int m, int d) {
  if (m == d || glyph_->Empty()) return;
  PixelBuffer scaled = ScaleCellsNearest(glyph_->Pixels(), static_cast<int>(numGlyphs_), m, d);
  if (scaled.Empty()) return;
  glyph_->SetPixels(scaled);
  glyph_->SetTransparent(true);
}

SIZE TButtonGlyph::Size() const {
  if (!glyph_->Empty()) {
    return SIZE{static_cast<LONG>(glyph_->Width() / numGlyphs_),
                static_cast<LONG>(glyph_->Height())};
  }
  if (images_ && imageIndex_ >= 0) {
    return SIZE{static_cast<LONG>(images_->Width()), static_cast<LONG>(images_->Height())};
  }
  return SIZE{0, 0};
}

void TButtonGlyph::Draw(HDC dc, POINT at, TButtonState state) const {
  SIZE size = Size();
  if (size.cx == 0 || size.cy == 0) return;
  if (glyph_->Empty()) {
    bool enabled = state != TButtonState::bsDisabled;
    int64_t index = !enabled && disabledIndex_ >= 0 ? disabledIndex_ : imageIndex_;
    // Without an image of its own for the disabled look the image list dims the normal one.
    images_->Draw(dc, at.x, at.y, static_cast<int>(index), enabled || disabledIndex_ >= 0);
    return;
  }
  if (state == TButtonState::bsDisabled && numGlyphs_ < 2) {
    DrawEmbossed(dc, at);
    return;
  }
  int64_t image = static_cast<int64_t>(state);
  if (image >= numGlyphs_) image = 0;
  RECT part{static_cast<LONG>(image * size.cx), 0, static_cast<LONG>((image + 1) * size.cx),
            size.cy};
  glyph_->DrawPartTo(dc, RECT{at.x, at.y, at.x + size.cx, at.y + size.cy}, part);
}

void TButtonGlyph::DrawEmbossed(HDC dc, POINT at) const {
  // The shape of the first image (everything but the see-through colour), drawn in the
  // highlight colour one pixel down and right, then in the shadow colour on top.
  SIZE size = Size();
  BitmapHandle mask = glyph_->CreateMask(glyph_->TransparentColor());
  MemoryDcHandle maskDc(CreateCompatibleDC(dc));
  if (!mask || !maskDc) return;
  SelectScope select(maskDc.get(), mask.get());
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  constexpr DWORD kPaintWhereMaskIsZero = 0x00B8074A;  // PSDPxax
  BrushHandle light(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
  BrushHandle dark(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
  {
    SelectScope brush(dc, light.get());
    BitBlt(dc, at.x + 1, at.y + 1, size.cx, size.cy, maskDc.get(), 0, 0, kPaintWhereMaskIsZero);
  }
  {
    SelectScope brush(dc, dark.get());
    BitBlt(dc, at.x, at.y, size.cx, size.cy, maskDc.get(), 0, 0, kPaintWhereMaskIsZero);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}

RECT DrawButtonFace(HDC dc, const RECT& client, const TButtonFace& face) {
  RECT inner = client;
  InflateRect(&inner, -2, -2);
  SIZE glyph = face.glyph ? face.glyph->Size() : SIZE{0, 0};
  SelectScope font(dc, face.font);
  std::wstring text = Wide(face.caption);
  SIZE textSize{0, 0};
  if (!text.empty()) {
    bool horizontal =
        face.layout == TButtonLayout::blGlyphLeft || face.layout == TButtonLayout::blGlyphRight;
    RECT box = inner;
    if (horizontal)
      box.right -= glyph.cx ? glyph.cx + 2 : 0;
    else
      box.bottom -= glyph.cy ? glyph.cy + 2 : 0;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, kCaptionFlags | DT_CALCRECT);
    textSize = SIZE{box.right - box.left, box.bottom - box.top};
  }
  RECT area = client;
  OffsetRect(&area, face.offset, face.offset);
  TButtonPlacement place =
      PlaceButtonContent(area, glyph, textSize, face.layout, face.margin, face.spacing);
  if (face.glyph) face.glyph->Draw(dc, place.glyph, face.state);
  if (text.empty()) return RECT{0, 0, 0, 0};
  SetBkMode(dc, TRANSPARENT);
  RECT box = place.text;
  if (face.state == TButtonState::bsDisabled) {
    // The engraved look of disabled text.
    OffsetRect(&box, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, kCaptionFlags);
    OffsetRect(&box, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, face.textColor);
  }
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, kCaptionFlags);
  return place.text;
}

}  // namespace lbb::forms
