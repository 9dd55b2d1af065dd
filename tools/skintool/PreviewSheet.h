// Raster helpers of the preview sheet: rectangles, stretched copies and nine-part copies of a
// skin cell (the skin drawing primitives, imgutil.h), and a small 3 x 5 pixel font for labels.
// Everything clips to the target; 0xFF00FF source pixels are skipped in keyed copies.
#pragma once

#include <string_view>

#include "base/PixelBuffer.h"

namespace skintool {

using lbb::Pixel;
using lbb::PixelBuffer;

inline constexpr Pixel kKeyPixel = 0xFF00FF;

struct Rect {
  int l = 0, t = 0, r = 0, b = 0;
  int W() const { return r - l; }
  int H() const { return b - t; }
};

void FillRect(PixelBuffer& dst, Rect rc, Pixel p);
// A light checkerboard, the sheet's way of showing transparent pixels.
void FillChecker(PixelBuffer& dst, Rect rc);
void FrameRect(PixelBuffer& dst, Rect rc, Pixel p);
// Copies src's rectangle `from` into `to`, stretched as the skin painters stretch.
void CopyScaled(PixelBuffer& dst, Rect to, const PixelBuffer& src, Rect from, bool keyed);
// Cell `index` (1-based) of `cells` equal cells, side by side or (columns) stacked.
Rect CellRect(const PixelBuffer& img, int cells, int index, bool columns);
// Nine-part copy of the cell (RenderSkinImage): corners unscaled, edges and centre stretched;
// margins that do not fit the target are dropped.
void DrawNine(PixelBuffer& dst, Rect to, const PixelBuffer& src, Rect cell, Rect margins,
              bool keyed);
// Text in the sheet font (upper-case letters, digits and a few signs), `scale` pixels per dot.
void DrawLabel(PixelBuffer& dst, int x, int y, std::string_view text, Pixel p, int scale = 2);
int LabelWidth(std::string_view text, int scale = 2);
inline constexpr int kLabelHeight = 5;

}  // namespace skintool
