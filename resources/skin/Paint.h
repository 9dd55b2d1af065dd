// Drawing helpers of the skin image generators: shapes given by signed distance functions,
// painted with anti-aliased edges over what the image already holds, colour gradients, state
// strips, and colour keying (0xFF00FF) of everything outside a shape.
//
// Coordinates are in pixels; pixel (x, y) covers [x, x + 1) x [y, y + 1) and is sampled at its
// centre. A distance function returns the signed distance from a point to the shape's edge,
// negative inside; a pixel's coverage is clamp(0.5 - distance, 0, 1).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/PixelBuffer.h"

namespace lbb::skingen {

using lbb::Pixel;
using lbb::PixelBuffer;

inline constexpr Pixel kKey = 0xFF00FF;

struct Rgb {
  double r = 0, g = 0, b = 0;  // 0 .. 255
};

constexpr Rgb Hex(uint32_t rrggbb) {
  return {double(rrggbb >> 16 & 255), double(rrggbb >> 8 & 255), double(rrggbb & 255)};
}
// a + (b - a) * t.
Rgb Mix(Rgb a, Rgb b, double t);
Pixel ToPixel(Rgb c);
Rgb FromPixel(Pixel p);

using Distance = std::function<double(double x, double y)>;
using Shade = std::function<Rgb(double x, double y)>;

Distance RoundRect(double l, double t, double r, double b, double radius);
// Rounded rectangle with separate radii for the top and the bottom corners.
Distance RoundRect2(double l, double t, double r, double b, double top, double bottom);
Distance Circle(double cx, double cy, double radius);
// A stroked polyline of width `w` through the points (x0, y0, x1, y1, ...).
Distance Polyline(std::initializer_list<double> xy, double w);
// The band of width `w` centred on the edge of `shape` (an outline).
Distance Outline(Distance shape, double w);
// The part of `shape` inside `clip`.
Distance Intersect(Distance shape, Distance clip);

Shade Solid(Rgb c);
// Vertical gradient from `top` at y0 to `bottom` at y1 (clamped outside).
Shade Vertical(double y0, Rgb top, double y1, Rgb bottom);
Shade Horizontal(double x0, Rgb left, double x1, Rgb right);

// Blends `shade` over the image wherever `shape` covers it, times `opacity`.
void Paint(PixelBuffer& img, const Distance& shape, const Shade& shade, double opacity = 1.0);
void Paint(PixelBuffer& img, const Distance& shape, Rgb c, double opacity = 1.0);
void Fill(PixelBuffer& img, Rgb c);
void FillRect(PixelBuffer& img, int l, int t, int r, int b, Rgb c);
// Sets every pixel that `shape` does not cover at all to the key colour.
void KeyOutside(PixelBuffer& img, const Distance& shape);

// A strip of `cells` equal cells of w x h, side by side (or stacked when `columns`), each
// drawn by `draw(cell image, 1-based cell number)` into a cell-sized image.
PixelBuffer Strip(int cells, int w, int h, const std::function<void(PixelBuffer&, int)>& draw,
                  bool columns = false);
// Pixels (sx, sy, w, h) of `src` as a new image.
PixelBuffer Crop(const PixelBuffer& src, int sx, int sy, int w, int h);
// `b` placed beside (or below) `a`.
PixelBuffer Join(const PixelBuffer& a, const PixelBuffer& b, bool below);

// Writes `img` as a 24-bit BMP file; throws std::runtime_error when it cannot.
void SaveBmp(const PixelBuffer& img, const std::string& path);

}  // namespace lbb::skingen
