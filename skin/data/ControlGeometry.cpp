#include "skin/data/ControlGeometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace lbb::skin {

namespace {

bool Has(int state, int bit) {
  return (state & bit) != 0;
}

// A rectangle of w x h at (x, y); negative sizes count as 0.
TRect At(int x, int y, int w, int h) {
  return {x, y, x + std::max(0, w), y + std::max(0, h)};
}

TRect Offset(const TRect& r, int dx, int dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

// r's span [lo, hi) limited to [min, max); a span wholly outside collapses onto the nearer end.
void ClipSpan(int& lo, int& hi, int min, int max) {
  lo = std::clamp(lo, min, std::max(min, max));
  hi = std::clamp(hi, lo, std::max(lo, max));
}

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

// a * b / c rounded half away from zero, as the platform's multiply-divide; c is never 0.
int64_t MulDivRound(int64_t a, int64_t b, int64_t c) {
  const int64_t n = a * b;
  const int64_t half = std::llabs(c) / 2;
  const bool negative = (n < 0) != (c < 0);
  const int64_t q = (std::llabs(n) + half) / std::llabs(c);
  return negative ? -q : q;
}

int ClampToInt(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

// ---- button frames

int ButtonFrame(const TButtonLook& b) {
  if (!b.enabled) return kFrameDisabled;
  if (Has(b.state, kStatePressed)) return kFramePressed;
  if (Has(b.state, kStateHot)) return kFrameHot;
  if (b.focused || b.isdefault) return kFrameFocused;
  return kFrameNormal;
}

int MenuButtonFrame(const TButtonLook& b) {
  if (!b.enabled) return kFrameDisabled;
  if (Has(b.state, kStatePressed)) return kFramePressed;
  if (b.focused || Has(b.state, kStateHot)) return kFrameHot;
  return kFrameNormal;
}

int SpeedButtonFrame(const TSpeedButtonLook& b) {
  if (b.down) return kFramePressed;
  if (!b.enabled) return kFrameDisabled;
  if (Has(b.state, kStatePressed)) return kFramePressed;
  if (Has(b.state, kStateHot)) return kFrameHot;
  return kFrameNormal;
}

bool SpeedButtonDrawsFrame(int frame, bool flat) {
  return !flat || frame == kFramePressed || frame == kFrameHot;
}

bool ForwardUsesCursor(int width, int height) {
  return width > 0x8000 || height > 0x8000;
}

// ---- glyph choice

int GlyphCount(int numGlyphs) {
  return std::max(1, numGlyphs);
}

TGlyphChoice BitButtonGlyph(int frame, int numGlyphs) {
  int image = 1;
  if (frame == kFramePressed) image = 3;
  if (frame == kFrameDisabled) image = 2;
  const int count = GlyphCount(numGlyphs);
  if (image > count) image = 1;
  return {image, frame == kFrameDisabled && count == 1};
}

TGlyphChoice SpeedButtonGlyph(int frame, bool down, int numGlyphs) {
  if (!down) return BitButtonGlyph(frame, numGlyphs);
  return {GlyphCount(numGlyphs) >= 4 ? 4 : 1, false};
}

TRect GlyphCell(int w, int h, int numGlyphs, int image) {
  const int count = GlyphCount(numGlyphs);
  const int cw = std::max(0, w) / count;
  const int index = image >= 1 && image <= count ? image - 1 : 0;
  return At(index * cw, 0, cw, h);
}

int ImageListIndex(bool enabled, int imageIndex, int disabledIndex) {
  if (enabled || disabledIndex == -1) return imageIndex;
  return disabledIndex;
}

TSize BitButtonGlyphSize(const TGlyphSource& g) {
  if (g.HasGlyph) {
    return {std::max(0, g.GlyphWidth) / GlyphCount(g.NumGlyphs), std::max(0, g.GlyphHeight)};
  }
  if (g.HasImages && g.ImageIndex != -1) {
    return {std::max(0, g.ImagesWidth), std::max(0, g.ImagesHeight)};
  }
  return {};
}

// ---- captions

std::u16string CaptionLineBreak(std::u16string_view caption) {
  std::u16string s(caption);
  const size_t at = s.find(u"||");
  if (at != std::u16string::npos) s.replace(at, 2, u"\r\n");
  return s;
}

TRect ShrinkRect(const TRect& r, int d) {
  TRect s{r.Left + d, r.Top + d, r.Right - d, r.Bottom - d};
  if (s.Right < s.Left) s.Left = s.Right = r.Left + r.Width() / 2;
  if (s.Bottom < s.Top) s.Top = s.Bottom = r.Top + r.Height() / 2;
  return s;
}

TButtonCaption PlaceButtonCaption(const TRect& rc, TSize text, bool focused, bool noFocusRect) {
  const int dw = rc.Width() - text.cx;
  const int dh = rc.Height() - text.cy;
  TButtonCaption c;
  c.Text = At(rc.Left + dw / 2, rc.Top + dh / 2 - 1, text.cx, text.cy);
  c.HasFocus = focused && !noFocusRect;
  if (c.HasFocus) c.Focus = ShrinkRect(c.Text, -2);
  return c;
}

TRect PlaceCaption(const TRect& rc, TSize text, int alignment) {
  const int dw = rc.Width() - text.cx;
  const int dh = rc.Height() - text.cy;
  const TRect box = At(rc.Left, rc.Top + dh / 2 - 1, text.cx, text.cy);
  if (alignment == 1) return Offset(box, dw / 2, 0);
  return TRect{rc.Left, box.Top, rc.Right, box.Bottom}.Upright();
}

TRect CaptionFocusRect(const TRect& rc, TSize text, int flags) {
  const int dw = rc.Width() - text.cx;
  const int dh = rc.Height() - text.cy;
  TRect box = At(rc.Left, rc.Top, text.cx, text.cy);
  if (flags & kDtCenter) {
    box = Offset(box, dw / 2, dh / 2 - 1);
  } else if (flags & kDtRight) {
    box = Offset(box, dw, 0);
  }
  box = {box.Left - 2, box.Top - 1, box.Right + 2, box.Bottom + 1};
  const TRect bounds = rc.Upright();
  ClipSpan(box.Left, box.Right, bounds.Left, bounds.Right);
  ClipSpan(box.Top, box.Bottom, bounds.Top, bounds.Bottom);
  return box;
}

int ImgCaptionImageWidth(const TImgCaptionInput& in) {
  if (!in.HasImage || in.Image.cx >= in.rc.Width()) return 0;
  return std::max(0, in.Image.cx);
}

TRect ImgCaptionMeasureBox(const TImgCaptionInput& in) {
  const int iw = ImgCaptionImageWidth(in);
  TRect box = in.rc.Upright();
  if (iw > 0) box.Right += iw + 2;
  return box;
}

TImgCaptionPlace PlaceImgCaption(const TImgCaptionInput& in) {
  const int iw = ImgCaptionImageWidth(in);
  const int w = in.rc.Width();
  const int h = in.rc.Height();
  int x = 3;
  if (in.TextAlign == 1) x = (w - iw - in.Text.cx) / 2;
  if (in.TextAlign == 2) x = w - iw - in.Text.cx - 2;
  if (x < 2) x = 1;
  TImgCaptionPlace p;
  p.DrawsImage = iw > 0;
  p.ImageX = in.rc.Left + x;
  p.ImageY = in.rc.Top + (h - iw) / 2;
  p.Text = At(in.rc.Left + x + iw, in.rc.Top + (h - in.Text.cy) / 2, in.Text.cx, in.Text.cy);
  const TRect bounds = in.rc.Upright();
  ClipSpan(p.Text.Left, p.Text.Right, bounds.Left, bounds.Right);
  return p;
}

// ---- bit buttons

TButtonLayout ParseButtonLayout(std::u16string_view layout) {
  if (SameText(layout, u"blGlyphRight")) return TButtonLayout::GlyphRight;
  if (SameText(layout, u"blGlyphTop")) return TButtonLayout::GlyphTop;
  if (SameText(layout, u"blGlyphBottom")) return TButtonLayout::GlyphBottom;
  return TButtonLayout::GlyphLeft;
}

namespace {

bool Horizontal(TButtonLayout l) {
  return l == TButtonLayout::GlyphLeft || l == TButtonLayout::GlyphRight;
}

// Margin and spacing along the layout axis.
void AxisRoom(const TBitButtonInput& in, int client, int glyph, int text, int& margin,
              int& spacing) {
  margin = in.Margin;
  spacing = in.Spacing;
  if (in.Text.cx == 0 || in.Glyph.cx == 0) spacing = 0;
  if (margin == -1 || in.AlignCenter) {
    if (spacing == -1) {
      margin = (client - glyph - text) / 3;
      spacing = margin;
    } else {
      margin = (client - glyph - spacing - text) / 2;
    }
  } else if (spacing == -1) {
    spacing = (client - margin - glyph - text) / 2;
  }
}

}  // namespace

TRect BitButtonMeasureBox(int width, int height, TSize glyph, TButtonLayout layout) {
  TRect box = ShrinkRect({0, 0, width, height}, 2);
  if (Horizontal(layout)) {
    box.Right = std::max(box.Left, box.Right - glyph.cx - 2);
  } else {
    box.Bottom = std::max(box.Top, box.Bottom - glyph.cy - 2);
  }
  return box;
}

TBitButtonPlace PlaceBitButton(const TBitButtonInput& in) {
  const bool across = Horizontal(in.Layout);
  const int client = across ? in.Width : in.Height;
  const int cross = across ? in.Height : in.Width;
  const int glyph = across ? in.Glyph.cx : in.Glyph.cy;
  const int text = across ? in.Text.cx : in.Text.cy;
  const int glyphCross = (cross - (across ? in.Glyph.cy : in.Glyph.cx) + 1) / 2;
  const int textCross = (cross - (across ? in.Text.cy : in.Text.cx) + 1) / 2;
  TBitButtonPlace p;
  AxisRoom(in, client, glyph, text, p.Margin, p.Spacing);
  int glyphAt = p.Margin;
  int textAt = p.Margin + glyph + p.Spacing;
  if (in.Layout == TButtonLayout::GlyphRight || in.Layout == TButtonLayout::GlyphBottom) {
    glyphAt = client - p.Margin - glyph;
    textAt = glyphAt - p.Spacing - text;
  }
  if (in.Layout == TButtonLayout::GlyphRight) p.TextFlags |= kDtRight;
  if (!across) p.TextFlags |= kDtCenter;
  if (across) {
    p.Glyph = At(glyphAt, glyphCross, in.Glyph.cx, in.Glyph.cy);
    p.Text = At(textAt, textCross, in.Text.cx, in.Text.cy);
  } else {
    p.Glyph = At(glyphCross, glyphAt, in.Glyph.cx, in.Glyph.cy);
    p.Text = At(textCross, textAt, in.Text.cx, in.Text.cy);
  }
  return p;
}

// ---- menu buttons

TRect MenuButtonMeasureBox(int width, int height, TSize glyph) {
  const int w = std::max(0, width - glyph.cx - kMenuArrowWidth);
  return ShrinkRect({0, 0, w, std::max(0, height)}, 2);
}

TMenuButtonPlace PlaceMenuButton(const TMenuButtonInput& in) {
  const int free = in.Width - in.Glyph.cx - in.Text.cx;
  TMenuButtonPlace p;
  p.Margin = in.Margin;
  p.Spacing = in.Spacing;
  if (in.Margin == -1 && in.Spacing == -1) {
    p.Margin = (free - kMenuArrowWidth) / 4;
    p.Spacing = p.Margin;
  } else if (in.Margin == -1) {
    p.Margin = (free - 2 * in.Spacing - kMenuArrowWidth) / 2;
  } else if (in.Spacing == -1) {
    p.Spacing = (free + kMenuArrowWidth - 2 * in.Margin) / 2;
  }
  p.Glyph = At(p.Margin, (in.Height - in.Glyph.cy) / 2, in.Glyph.cx, in.Glyph.cy);
  p.Text = At(p.Margin + in.Glyph.cx + p.Spacing, (in.Height - in.Text.cy + 1) / 2, in.Text.cx,
              in.Text.cy);
  p.ArrowX = p.Margin + in.Glyph.cx + in.Text.cx + 3 * p.Spacing;
  p.ArrowY = (in.Height - kMenuArrowHeight) / 2;
  return p;
}

TArrowTriangle MenuArrowTriangle(int x, int y) {
  return {{{x, y + 2}, {x - 3, y - 1}, {x + 3, y - 1}}};
}

// ---- scroll bars

TThumb ScrollThumb(const TScrollInfo& si, int len, int cw, bool minimum8) {
  len = std::max(0, len);
  cw = std::max(0, cw);
  int64_t range = int64_t{si.Max} - si.Min;
  if (range <= 0) range = 9999999;
  const int64_t usable = int64_t{len} - 2 * int64_t{cw};
  const int64_t moved = int64_t{si.Pos} - si.Min;
  int64_t length = cw;
  int64_t start = cw + (int64_t{len} - 3 * int64_t{cw}) * moved / range;
  if (si.Page != 0) {
    length = MulDivRound(usable, int64_t{si.Page} - 1, range);
    start = cw + usable * moved / range;
    if (length <= 7 && minimum8) {
      length = 8;
      start = cw + (usable - 8) * moved / range;
    }
  }
  if (si.Pos == si.Min) start = cw;
  const int64_t lo = cw;
  const int64_t hi = std::max<int64_t>(lo, int64_t{len} - cw);
  start = std::clamp(start, lo, hi);
  const int64_t end = std::clamp(start + length, start, hi);
  return {ClampToInt(start), ClampToInt(end)};
}

int ScrollArrowLength(int len, int cw) {
  len = std::max(0, len);
  cw = std::max(0, cw);
  return len < 2 * cw ? len / 2 : cw;
}

int ScrollThickness(int arrowBitmapHeight, int cw) {
  return std::abs(arrowBitmapHeight - cw) > 2 ? cw : arrowBitmapHeight;
}

int ScrollHitTest(int p, int len, int cw, const TThumb& thumb) {
  if (p < 0 || p >= len) return kSbNone;
  const int arrow = ScrollArrowLength(len, cw);
  if (p < arrow) return kSbFirstArrow;
  if (p >= len - arrow) return kSbSecondArrow;
  if (p < thumb.Top) return kSbPageFirst;
  if (p < thumb.Bottom) return kSbThumb;
  return kSbPageSecond;
}

int ScrollHitTestPoint(int x, int y, int width, int height, int sbDir, int cw,
                       const TThumb& thumb) {
  if (x < 0 || y < 0 || x >= width || y >= height) return kSbNone;
  if (sbDir == kSbVertical) return ScrollHitTest(y, height, cw, thumb);
  return ScrollHitTest(x, width, cw, thumb);
}

int DragThumbStart(int trackthumb, int moved, int len, int cw, int thumbLen) {
  const int64_t lo = cw;
  const int64_t hi = std::max<int64_t>(lo, int64_t{len} - cw - thumbLen);
  return ClampToInt(std::clamp(int64_t{trackthumb} + moved, lo, hi));
}

namespace {

// A span [a, b) along the axis across the full thickness.
TRect AlongAxis(int sbDir, int a, int b, int thickness) {
  const int t = std::max(0, thickness);
  if (sbDir == kSbVertical) return {0, a, t, std::max(a, b)};
  return {a, 0, std::max(a, b), t};
}

}  // namespace

TScrollBarLayout ScrollBarLayout(const TScrollBarInput& in) {
  const int len = std::max(0, in.Len);
  const int arrow = ScrollArrowLength(len, in.CW);
  TScrollBarLayout l;
  l.FirstArrow = AlongAxis(in.SbDir, 0, arrow, in.Thickness);
  l.SecondArrow = AlongAxis(in.SbDir, len - arrow, len, in.Thickness);
  l.HasTrack = len > 2 * std::max(0, in.CW);
  if (l.HasTrack) l.Track = AlongAxis(in.SbDir, arrow, len - arrow, in.Thickness);
  const TThumb& t = in.Thumb;
  l.HasThumb = in.Enabled && t.Top >= 0 && t.Bottom > t.Top && t.Bottom <= len;
  if (!l.HasThumb) return l;
  l.Thumb = AlongAxis(in.SbDir, t.Top, t.Bottom, in.Thickness);
  const int thumbLen = t.Bottom - t.Top;
  const int grip = std::max(0, in.ArrowBitmapHeight);
  l.HasGrip = thumbLen > grip - 2;
  if (l.HasGrip) {
    const int at = t.Top + (thumbLen - grip) / 2;
    l.Grip = AlongAxis(in.SbDir, at, at + grip, in.Thickness);
  }
  return l;
}

TScrollFrames ScrollBarFrames(const TScrollBarInput& in) {
  const bool vertical = in.SbDir == kSbVertical;
  // pressed +1, hot +3 (the arrows' third frame is skipped)
  auto arrow = [&](int normal, int part) {
    if (in.ScrollPos != part) return normal;
    return normal + (in.FDown ? 1 : 3);
  };
  TScrollFrames f;
  f.FirstArrow = arrow(vertical ? 9 : 1, kSbFirstArrow);
  f.SecondArrow = arrow(vertical ? 13 : 5, kSbSecondArrow);
  f.Track = in.Enabled ? 1 : 3;
  const bool onThumb = in.ScrollPos == kSbThumb;
  f.Thumb = !onThumb ? 1 : (in.FDown ? 2 : 3);
  f.Grip = (vertical ? 20 : 17) + (!onThumb ? 0 : (in.FDown ? 1 : 2));
  return f;
}

int ScrollBarLen(const TRect& bar, int sbDir) {
  return std::max(0, sbDir == kSbVertical ? bar.Height() : bar.Width());
}

TScrollBorder ScrollBorderRects(int width, int height) {
  const TRect window{0, 0, std::max(0, width), std::max(0, height)};
  return {window, ShrinkRect(window, 1)};
}

TRect ScrollCornerRect(const TRect& vbar, const TRect& hbar) {
  return TRect{vbar.Left + 2, hbar.Top + 2, vbar.Right + 2, hbar.Bottom + 2}.Upright();
}

}  // namespace lbb::skin
