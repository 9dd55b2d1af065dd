#include "skin/data/MenuItemGeometry.h"

#include <algorithm>

#include "skin/data/SkinScale.h"

namespace lbb::skin {

namespace {

constexpr int kGlyphSide = 16;
// 96-DPI pixels, scaled to the screen's DPI where they are used.
constexpr int kGlyphInset96 = 1;
constexpr int kTextGap96 = 3;
constexpr int kShortcutEnd96 = 11;
constexpr int kSeparatorDrop96 = 4;

}  // namespace

TMenuItemLayout MenuItemLayout(const TMenuItemInput& in) {
  const TRect& r = in.item;
  const int g = std::max(in.glyph, 0);
  const int kGlyphInset = ScaleToDpi(kGlyphInset96, in.dpi);
  const int kTextGap = ScaleToDpi(kTextGap96, in.dpi);
  TMenuItemLayout out;
  if (in.separator) {
    out.Glyph = TRect{0, r.Top + kGlyphInset, 0, r.Top + kGlyphInset};
  } else if (in.rightToLeft) {
    const int right = r.Right - kGlyphInset - in.margin;
    out.Glyph = TRect{right - g, r.Top + kGlyphInset, right, r.Top + kGlyphInset + g};
  } else {
    const int left = r.Left + kGlyphInset + in.margin;
    out.Glyph = TRect{left, r.Top + kGlyphInset, left + g, r.Top + kGlyphInset + g};
  }
  if (in.rightToLeft && !in.separator)
    out.Text = TRect{r.Left + 1, r.Top, out.Glyph.Left - kTextGap, r.Bottom}.Upright();
  else
    out.Text = TRect{out.Glyph.Right + kTextGap, r.Top, r.Right - 1, r.Bottom}.Upright();
  return out;
}

int MenuGlyphSize(bool hasImages, int imagesWidth, bool checked) {
  const int g = hasImages ? imagesWidth : kGlyphSide;
  return checked ? std::max(g, kGlyphSide) : g;
}

TRect MenuCaptionRect(const TRect& text, int width, int height, bool rightToLeft) {
  const int top = text.Top + (text.Height() - height) / 2;
  if (rightToLeft) return TRect{text.Right - width, top, text.Right, top + height};
  return TRect{text.Left, top, text.Left + width, top + height};
}

TRect MenuShortcutRect(const TRect& item, const TRect& caption, bool rightToLeft, int dpi) {
  const int kShortcutEnd = ScaleToDpi(kShortcutEnd96, dpi);
  if (rightToLeft)
    return TRect{item.Left + kShortcutEnd, caption.Top, caption.Left, caption.Bottom}.Upright();
  return TRect{caption.Right, caption.Top, item.Right - kShortcutEnd, caption.Bottom}.Upright();
}

TMenuPoint MenuCheckMarkAt(const TMenuItemLayout& layout, const TRect& item, int width, int height,
                           bool rightToLeft) {
  const TRect& box = layout.Glyph;
  const int x = box.Left + (box.Width() - width) / 2 + 1;
  if (rightToLeft) return TMenuPoint{x, box.Top + (box.Height() - height) / 2 + 1};
  return TMenuPoint{x, item.Top + (item.Height() - height) / 2 + 1};
}

TRect MenuSeparatorLine(const TRect& text, int dpi) {
  return TRect{text.Left, text.Top + ScaleToDpi(kSeparatorDrop96, dpi), text.Right, text.Bottom}
      .Upright();
}

std::array<TMenuPiece, 3> MenuSeparatorPieces(const TRect& cell, const TRect& item, int capLeft,
                                              int capRight) {
  const int rows = std::min(item.Height(), cell.Height());
  const int top = cell.Bottom - std::max(rows, 0);
  // Caps no wider than the cell, and together no wider than the item.
  const int width = std::max(item.Width(), 0);
  const int left = std::clamp(capLeft, 0, std::min(cell.Width(), width));
  const int right = std::clamp(capRight, 0, std::min(cell.Width() - left, width - left));
  const TRect srcMid = TRect{cell.Left + left, top, cell.Right - right, cell.Bottom}.Upright();
  return {
      TMenuPiece{TRect{cell.Left, top, cell.Left + left, cell.Bottom},
                 TRect{item.Left, item.Top, item.Left + left, item.Bottom}},
      TMenuPiece{srcMid, TRect{item.Left + left, item.Top, item.Right - right, item.Bottom}},
      TMenuPiece{TRect{cell.Right - right, top, cell.Right, cell.Bottom},
                 TRect{item.Right - right, item.Top, item.Right, item.Bottom}},
  };
}

TRect MenuBackgroundSource(const TRect& item, int originX, int originY) {
  return TRect{item.Left + originX, item.Top + originY, item.Right + originX,
               item.Bottom + originY};
}

int MenuItemExtraWidth(int margin, bool hasImages, bool systemRule, int dpi) {
  if (!hasImages) return margin + ScaleToDpi(35, dpi);
  return margin + ScaleToDpi(systemRule ? 12 : 10, dpi);
}

TMenuSize MenuTextItemSize(int textWidth, int textHeight, bool emptyText, int margin,
                           bool extraHeight, int dpi) {
  const int pad = ScaleToDpi(4, dpi);
  TMenuSize s{textWidth + ScaleToDpi(26, dpi) + margin,
              emptyText ? ScaleToDpi(8, dpi) : textHeight + pad};
  if (extraHeight) s.Height += pad;
  return s;
}

}  // namespace lbb::skin
