#include "resources/skin/Paint.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "base/BmpFile.h"

namespace lbb::skingen {

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Pixel ToPixel(Rgb c) {
  auto ch = [](double v) { return static_cast<Pixel>(std::clamp(std::lround(v), 0L, 255L)); };
  return ch(c.r) << 16 | ch(c.g) << 8 | ch(c.b);
}

Rgb FromPixel(Pixel p) {
  return Hex(p & 0xFFFFFF);
}

Distance RoundRect2(double l, double t, double r, double b, double top, double bottom) {
  return [=](double x, double y) {
    const double rad = y < (t + b) / 2 ? top : bottom;
    const double cx = (l + r) / 2, cy = (t + b) / 2;
    const double hx = (r - l) / 2 - rad, hy = (b - t) / 2 - rad;
    const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - rad;
  };
}

Distance RoundRect(double l, double t, double r, double b, double radius) {
  return RoundRect2(l, t, r, b, radius, radius);
}

Distance Circle(double cx, double cy, double radius) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - radius; };
}

Distance Polyline(std::initializer_list<double> xy, double w) {
  const std::vector<double> p(xy);
  return [p, w](double x, double y) {
    double best = 1e9;
    for (size_t i = 0; i + 3 < p.size(); i += 2) {
      const double ax = p[i], ay = p[i + 1], bx = p[i + 2], by = p[i + 3];
      const double dx = bx - ax, dy = by - ay;
      const double len2 = dx * dx + dy * dy;
      const double t = len2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0) : 0;
      best = std::min(best, std::hypot(x - ax - t * dx, y - ay - t * dy));
    }
    return best - w / 2;
  };
}

Distance Outline(Distance shape, double w) {
  return [shape, w](double x, double y) { return std::abs(shape(x, y) + w / 2) - w / 2; };
}

Distance Intersect(Distance shape, Distance clip) {
  return [shape, clip](double x, double y) { return std::max(shape(x, y), clip(x, y)); };
}

Shade Solid(Rgb c) {
  return [c](double, double) { return c; };
}

Shade Vertical(double y0, Rgb top, double y1, Rgb bottom) {
  return [=](double, double y) {
    return Mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0));
  };
}

Shade Horizontal(double x0, Rgb left, double x1, Rgb right) {
  return [=](double x, double) {
    return Mix(left, right, std::clamp((x - x0) / (x1 - x0), 0.0, 1.0));
  };
}

void Paint(PixelBuffer& img, const Distance& shape, const Shade& shade, double opacity) {
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const double a = std::clamp(0.5 - shape(cx, cy), 0.0, 1.0) * opacity;
      if (a <= 0) continue;
      img.At(x, y) = ToPixel(Mix(FromPixel(img.At(x, y)), shade(cx, cy), a));
    }
  }
}

void Paint(PixelBuffer& img, const Distance& shape, Rgb c, double opacity) {
  Paint(img, shape, Solid(c), opacity);
}

void Fill(PixelBuffer& img, Rgb c) {
  img.Fill(ToPixel(c));
}

void FillRect(PixelBuffer& img, int l, int t, int r, int b, Rgb c) {
  for (int y = std::max(t, 0); y < std::min(b, img.Height()); ++y)
    for (int x = std::max(l, 0); x < std::min(r, img.Width()); ++x)
      img.At(x, y) = ToPixel(c);
}

void KeyOutside(PixelBuffer& img, const Distance& shape) {
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      if (shape(x + 0.5, y + 0.5) >= 0.5) img.At(x, y) = kKey;
}

PixelBuffer Strip(int cells, int w, int h, const std::function<void(PixelBuffer&, int)>& draw,
                  bool columns) {
  PixelBuffer out(columns ? w : w * cells, columns ? h * cells : h);
  for (int k = 1; k <= cells; ++k) {
    PixelBuffer cell(w, h);
    draw(cell, k);
    const int ox = columns ? 0 : (k - 1) * w, oy = columns ? (k - 1) * h : 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        out.At(ox + x, oy + y) = cell.At(x, y);
  }
  return out;
}

PixelBuffer Crop(const PixelBuffer& src, int sx, int sy, int w, int h) {
  PixelBuffer out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out.At(x, y) = src.Get(sx + x, sy + y);
  return out;
}

PixelBuffer Join(const PixelBuffer& a, const PixelBuffer& b, bool below) {
  PixelBuffer out(below ? std::max(a.Width(), b.Width()) : a.Width() + b.Width(),
                  below ? a.Height() + b.Height() : std::max(a.Height(), b.Height()));
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      out.At(x, y) = a.At(x, y);
  const int ox = below ? 0 : a.Width(), oy = below ? a.Height() : 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      out.At(ox + x, oy + y) = b.At(x, y);
  return out;
}

void SaveBmp(const PixelBuffer& img, const std::string& path) {
  const std::vector<uint8_t> bytes = EncodeBmp24(img);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace lbb::skingen
