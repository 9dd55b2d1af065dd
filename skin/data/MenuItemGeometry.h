// Skinned menu items as pure functions: where an owner-drawn item puts its glyph, caption and
// shortcut (both reading orders), how its separator line is cut from the item image, where
// its background comes from in the popup window's picture, and how much wider than the
// framework's measure a skinned item is. The Win32 layer measures text and draws; every
// position it uses is decided here.
//
// An item is composed in a bitmap of its own size, so the item rectangle R passed here is
// usually (0, 0, width, height). Halving truncates toward zero.
#pragma once

#include <array>

#include "skin/data/SkinRect.h"

namespace lbb::skin {

// The popup window's frame: the skin's menu background covers it, and the client area where
// items lie starts this far inside the window.
inline constexpr int kPopupFrame = 3;

// What places an item's parts.
struct TMenuItemInput {
  TRect item;                // R
  int margin = 0;            // the MenuItem element's left margin (0 without the element)
  int glyph = 16;            // g: the glyph box's side
  bool separator = false;    // caption "-"
  bool rightToLeft = false;  // the menu reads from the right
  int dpi = 96;              // the screen's: the gaps below are 96-DPI pixels, scaled with it
};

struct TMenuItemLayout {
  TRect Glyph;  // the glyph box; empty at x = 0 for a separator
  TRect Text;   // the box the caption is centred in vertically
};

// Left to right: the glyph box at R.Left + 1 + margin, R.Top + 1, g x g; the text box from the
// glyph box's right + 3 to R.Right - 1. Right to left: the glyph box's right edge at
// R.Right - 1 - margin; the text box from R.Left + 1 to the glyph box's left - 3. A separator
// has an empty glyph box at x = 0 (text box from 3). Boxes are never inverted.
TMenuItemLayout MenuItemLayout(const TMenuItemInput& in);

// g: 16, or the image list's width when the menu has one; a checked item at least 16.
int MenuGlyphSize(bool hasImages, int imagesWidth, bool checked);

// The measured caption (w x h) centred vertically in the text box: at the box's left edge, or
// at its right edge right to left.
TRect MenuCaptionRect(const TRect& text, int width, int height, bool rightToLeft);

// The shortcut's box: from the caption's end to R.Right - 11 (right-aligned there), or right
// to left from R.Left + 11 to the caption's start (left-aligned); the caption's rows.
TRect MenuShortcutRect(const TRect& item, const TRect& caption, bool rightToLeft, int dpi = 96);

// The top-left corner of the platform's check mark (w x h) for a checked item without an
// image: centred horizontally in the glyph box and vertically in R, each + 1; right to left
// centred in the glyph box both ways, each + 1.
struct TMenuPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TMenuPoint&) const = default;
};
TMenuPoint MenuCheckMarkAt(const TMenuItemLayout& layout, const TRect& item, int width, int height,
                           bool rightToLeft);

// The etched separator line of the item content: along the top edge of the text box moved
// 4 pixels down.
TRect MenuSeparatorLine(const TRect& text, int dpi = 96);

// One piece of the separator: `source` of the item image drawn stretched into `target`.
struct TMenuPiece {
  TRect source;
  TRect target;
  bool operator==(const TMenuPiece&) const = default;
};
// The separator line cut from frame `cell` of the item image (frame 2 of five side by side):
// its bottom rows, as many as R is high (the whole cell when R is higher), drawn into R in
// three parts: the left cap of capLeft pixels, the right cap of capRight pixels and the
// middle stretched. Caps wider than R or the cell are cut so that no piece is inverted.
std::array<TMenuPiece, 3> MenuSeparatorPieces(const TRect& cell, const TRect& item, int capLeft,
                                              int capRight);

// Where an item's background lies in the popup window's picture: R (client coordinates)
// moved by the client area's origin in the window, kPopupFrame on each axis where the
// platform gives its menus a frame, 0 where it draws the frame inside the client area.
TRect MenuBackgroundSource(const TRect& item, int originX = kPopupFrame, int originY = kPopupFrame);

// Widths added to the framework's measure of a skinned item: the element's left margin (0
// without the element), then + 10 (+ 12 by the system menu's rule) when the menu has an image
// list, + 35 without one.
int MenuItemExtraWidth(int margin, bool hasImages, bool systemRule, int dpi = 96);

// An item measured by its native text alone (items without a framework item): the text's
// width in the menu font + 26 + margin; height = text height + 4, or 8 for no text (and 4
// more on platforms that want it).
struct TMenuSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TMenuSize&) const = default;
};
TMenuSize MenuTextItemSize(int textWidth, int textHeight, bool emptyText, int margin,
                           bool extraHeight, int dpi = 96);

}  // namespace lbb::skin
