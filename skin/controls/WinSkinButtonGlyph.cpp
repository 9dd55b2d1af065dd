// TSkinBitButton and TSkinMenuButton: push buttons with a glyph (or an image-list image, or
// a picture named by PicField) beside the caption, and buttons with a drop-down arrow after
// it. The skin frame, the caption's font and colours and the transfer to the window are those
// of TSkinButton; where glyph, text and arrow go is decided by ControlGeometry.
#include <algorithm>

#include "base/win/Handles.h"
#include "forms/Bitmap.h"
#include "forms/ImgList.h"
#include "forms/core/Properties.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/data/SkinObjects.h"

namespace lbb::skin {

namespace {

constexpr UINT kGlyphCaptionMeasure = DT_CALCRECT | DT_WORDBREAK;

int IntPropOr(const forms::TObject* obj, std::u16string_view name, int absent) {
  if (!forms::FindProp(obj, name)) return absent;
  return static_cast<int>(forms::GetIntProp(obj, name));
}

bool Empty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// Copies src's `cell` to dst at `at`, leaving dst where the source pixel is `key`.
void KeyedCopy(PixelBuffer& dst, const PixelBuffer& src, const TRect& cell, int atX, int atY,
               Pixel key) {
  for (int y = 0; y < cell.Height(); ++y) {
    const int sy = cell.Top + y, dy = atY + y;
    if (sy < 0 || sy >= src.Height() || dy < 0 || dy >= dst.Height()) continue;
    for (int x = 0; x < cell.Width(); ++x) {
      const int sx = cell.Left + x, dx = atX + x;
      if (sx < 0 || sx >= src.Width() || dx < 0 || dx >= dst.Width()) continue;
      const Pixel p = src.At(sx, sy) & 0xFFFFFF;
      if (p != key) dst.At(dx, dy) = p;
    }
  }
}

// The glyph bitmap's see-through colour: its bottom-left pixel.
Pixel GlyphKey(const forms::TBitmap& glyph) {
  const PixelBuffer& px = glyph.Pixels();
  return px.At(0, px.Height() - 1) & 0xFFFFFF;
}

}  // namespace

// ---- TSkinBitButton

TSkinBitButton::TSkinBitButton(forms::TComponent* AOwner) : TSkinButton(AOwner) {}

TSkinBitButton::TGlyphProps TSkinBitButton::ReadGlyphProps(const String& picField) const {
  const forms::TControl* c = Target();
  TGlyphProps g;
  const String field = picField.empty() ? String(u"Glyph") : picField;
  g.glyph = dynamic_cast<forms::TBitmap*>(forms::GetObjectProp(c, field, u"TBitmap"));
  if (g.glyph && g.glyph->Empty()) g.glyph = nullptr;
  g.images = dynamic_cast<forms::TCustomImageList*>(
      forms::GetObjectProp(c, u"Images", u"TCustomImageList"));
  g.numGlyphs = GlyphCount(IntPropOr(c, u"NumGlyphs", 1));
  g.imageIndex = IntPropOr(c, u"ImageIndex", -1);
  g.disabledIndex = IntPropOr(c, u"DisabledIndex", -1);
  g.margin = IntPropOr(c, u"Margin", -1);
  g.spacing = IntPropOr(c, u"Spacing", -1);
  g.layout = ParseButtonLayout(forms::GetEnumProp(c, u"Layout"));
  g.alignCenter = forms::GetEnumProp(c, u"Alignment") == u"taCenter";
  return g;
}

void TSkinBitButton::DrawControl(HDC dc, const RECT& rc) {
  if (!SkinButton()) return;
  if (GControl && forms::GetEnumProp(GControl, u"Visible") == u"false") return;
  ReadWindowState();
  forms::TControl* c = Target();
  caption = c && forms::FindProp(c, u"Caption") ? forms::GetStrProp(c, u"Caption") : WindowText();
  isdefault = forms::GetEnumProp(c, u"Default") == u"true";
  const int frame = ButtonFrameNow();
  PaintButton(dc, rc, frame, [&] {
    const TGlyphProps g = ReadGlyphProps(PicField);
    isPicture = !PicField.empty() && g.glyph;
    const TGlyphChoice choice = BitButtonGlyph(frame, g.numGlyphs);
    DrawGlyphAndCaption(rc, frame, choice.Image, choice.Embossed, g);
  });
}

void TSkinBitButton::DrawGlyphAndCaption(const RECT& rc, int frame, int glyphImage, bool embossed,
                                         const TGlyphProps& g) {
  TGlyphSource src;
  src.HasGlyph = g.glyph != nullptr;
  src.GlyphWidth = g.glyph ? static_cast<int>(g.glyph->Width()) : 0;
  src.GlyphHeight = g.glyph ? static_cast<int>(g.glyph->Height()) : 0;
  src.NumGlyphs = g.numGlyphs;
  src.HasImages = g.images != nullptr;
  src.ImageIndex = g.imageIndex;
  src.ImagesWidth = g.images ? static_cast<int>(g.images->Width()) : 0;
  src.ImagesHeight = g.images ? static_cast<int>(g.images->Height()) : 0;
  TBitButtonInput in;
  in.Width = rc.right - rc.left;
  in.Height = rc.bottom - rc.top;
  in.Glyph = BitButtonGlyphSize(src);
  in.Layout = g.layout;
  in.Margin = g.margin;
  in.Spacing = g.spacing;
  in.AlignCenter = g.alignCenter;
  SelectScope font(btemp.Dc(), CaptionFont(frame));
  const std::u16string text = CaptionText();
  if (!text.empty()) {
    in.Text = MeasureText(text, BitButtonMeasureBox(in.Width, in.Height, in.Glyph, in.Layout),
                          kGlyphCaptionMeasure);
  }
  const TBitButtonPlace place = PlaceBitButton(in);
  DrawGlyph(g, place.Glyph, glyphImage, embossed);
  if (text.empty()) return;
  PutText(text, place.Text, static_cast<UINT>(place.TextFlags));
  if (focused && !(fsd && InSet(fsd->Options(), xoNoFocusRect))) {
    DrawFocus(ShrinkRect(place.Text, -2));
  }
}

void TSkinBitButton::DrawGlyph(const TGlyphProps& g, const TRect& at, int image, bool embossed) {
  if (at.Width() <= 0 || at.Height() <= 0) return;
  if (g.glyph) {
    const TRect cell = GlyphCell(static_cast<int>(g.glyph->Width()),
                                 static_cast<int>(g.glyph->Height()), g.numGlyphs, image);
    if (embossed) {
      DrawEmbossed(btemp.Pixels(), *g.glyph, cell, at, SchemeColor(kShemeButtonHilight),
                   SchemeColor(kShemeButtonShadow));
      return;
    }
    KeyedCopy(btemp.Pixels(), g.glyph->Pixels(), cell, at.Left, at.Top, GlyphKey(*g.glyph));
    return;
  }
  if (g.images && g.imageIndex != -1) {
    const int index = ImageListIndex(enabled, g.imageIndex, g.disabledIndex);
    g.images->Draw(btemp.Dc(), at.Left, at.Top, index, true);
  }
}

void TSkinBitButton::DrawEmbossed(PixelBuffer& dst, const forms::TBitmap& glyph, const TRect& cell,
                                  const TRect& at, TColor hilight, TColor shadow) {
  // The glyph's ink (every pixel but its see-through colour) in the highlight colour one pixel
  // down and right, then in the shadow colour at the origin. The ButtonFace ground of the
  // embossed image is see-through, so the button's face shows around the shape.
  const PixelBuffer& src = glyph.Pixels();
  const Pixel key = GlyphKey(glyph);
  const Pixel light = PixelOf(ColorToRGB(hilight)) & 0xFFFFFF;
  const Pixel dark = PixelOf(ColorToRGB(shadow)) & 0xFFFFFF;
  for (const auto& [d, colour] : {std::pair{1, light}, std::pair{0, dark}}) {
    for (int y = 0; y < cell.Height(); ++y) {
      const int dy = at.Top + y + d;
      if (cell.Top + y >= src.Height() || dy < 0 || dy >= dst.Height()) continue;
      for (int x = 0; x < cell.Width(); ++x) {
        const int dx = at.Left + x + d;
        if (cell.Left + x >= src.Width() || dx < 0 || dx >= dst.Width()) continue;
        if ((src.At(cell.Left + x, cell.Top + y) & 0xFFFFFF) != key) dst.At(dx, dy) = colour;
      }
    }
  }
}

// ---- TSkinMenuButton

TSkinMenuButton::TSkinMenuButton(forms::TComponent* AOwner) : TSkinButton(AOwner) {}

int TSkinMenuButton::ButtonFrameNow() {
  return MenuButtonFrame(TButtonLook{state, enabled, focused, isdefault});
}

void TSkinMenuButton::DrawControl(HDC dc, const RECT& rc) {
  if (!SkinButton() || Empty(rc)) return;
  ReadWindowState();
  forms::TControl* c = Target();
  caption = c && forms::FindProp(c, u"Caption") ? forms::GetStrProp(c, u"Caption") : WindowText();
  const int frame = ButtonFrameNow();
  PaintButton(dc, rc, frame, [&] { DrawGlyphAndCaption(c, rc, frame); });
}

void TSkinMenuButton::DrawGlyphAndCaption(forms::TControl* c, const RECT& rc, int frame) {
  auto* glyph = dynamic_cast<forms::TBitmap*>(forms::GetObjectProp(c, u"Glyph", u"TBitmap"));
  if (glyph && glyph->Empty()) glyph = nullptr;
  TMenuButtonInput in;
  in.Width = rc.right - rc.left;
  in.Height = rc.bottom - rc.top;
  if (glyph) in.Glyph = {static_cast<int>(glyph->Width()), static_cast<int>(glyph->Height())};
  in.Margin = IntPropOr(c, u"Margin", -1);
  in.Spacing = IntPropOr(c, u"Spacing", -1);
  {
    SelectScope font(btemp.Dc(), CaptionFont(frame));
    const std::u16string text = CaptionText();
    if (!text.empty()) {
      in.Text = MeasureText(text, MenuButtonMeasureBox(in.Width, in.Height, in.Glyph),
                            kGlyphCaptionMeasure);
    }
    const TMenuButtonPlace place = PlaceMenuButton(in);
    if (glyph) {
      const TRect whole{0, 0, in.Glyph.cx, in.Glyph.cy};
      KeyedCopy(btemp.Pixels(), glyph->Pixels(), whole, place.Glyph.Left, place.Glyph.Top,
                GlyphKey(*glyph));
    }
    PutText(text, place.Text, DT_WORDBREAK);
    DrawArrow(place.ArrowX, place.ArrowY);
    if (focused && !(fsd && InSet(fsd->Options(), xoNoFocusRect))) {
      DrawFocus(ShrinkRect(place.Text, -2));
    }
  }
}

void TSkinMenuButton::DrawArrow(int x, int y) const {
  const TArrowTriangle t = MenuArrowTriangle(x, y);
  const COLORREF colour = ColorToRGB(enabled ? clWindowText : clGrayText);
  BrushHandle brush(CreateSolidBrush(colour));
  PenHandle pen(CreatePen(PS_SOLID, 1, colour));
  SelectScope useBrush(btemp.Dc(), brush.get());
  SelectScope usePen(btemp.Dc(), pen.get());
  POINT p[3];
  for (int i = 0; i < 3; ++i)
    p[i] = POINT{t.P[i].X, t.P[i].Y};
  Polygon(btemp.Dc(), p, 3);
}

}  // namespace lbb::skin
