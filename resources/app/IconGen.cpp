// Draws the program's icon and writes it as an .ico file: a blue rounded tile holding a white
// page with text lines and a green arrow pointing down into a tray (a copy being saved), at
// 16, 24, 32, 48 and 64 pixels, 32-bit with alpha and the 1-bit mask older systems use.
// Standalone on purpose: cross builds compile it with the build machine's compiler.
//   icongen OUT.ico
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;  // straight colour 0..255, alpha 0..1
};

using Shape = std::function<double(double, double)>;  // signed distance, negative inside

double Box(double x, double y, double l, double t, double r, double b, double radius) {
  const double cx = (l + r) / 2, cy = (t + b) / 2;
  const double hx = (r - l) / 2 - radius, hy = (b - t) / 2 - radius;
  const double dx = std::fabs(x - cx) - hx, dy = std::fabs(y - cy) - hy;
  const double outside = std::hypot(std::max(dx, 0.0), std::max(dy, 0.0));
  return outside + std::min(std::max(dx, dy), 0.0) - radius;
}

double Segment(double x, double y, double x0, double y0, double x1, double y1) {
  const double vx = x1 - x0, vy = y1 - y0;
  const double t = std::clamp(((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
  return std::hypot(x - x0 - t * vx, y - y0 - t * vy);
}

class Canvas {
 public:
  explicit Canvas(int size) : size_(size), px_(size_t(size) * size) {}
  int size() const { return size_; }
  const Rgba& at(int x, int y) const { return px_[size_t(y) * size_ + x]; }

  // Paints `c` over the canvas where `shape` (in a 64-unit design space) covers it.
  void Paint(const Shape& shape, Rgba c) {
    const double unit = 64.0 / size_;
    for (int y = 0; y < size_; ++y) {
      for (int x = 0; x < size_; ++x) {
        const double d = shape((x + 0.5) * unit, (y + 0.5) * unit) / unit;
        const double cover = std::clamp(0.5 - d, 0.0, 1.0) * c.a;
        if (cover > 0) Over(px_[size_t(y) * size_ + x], c, cover);
      }
    }
  }

 private:
  static void Over(Rgba& p, Rgba c, double a) {
    const double out = a + p.a * (1 - a);
    if (out <= 0) return;
    p.r = (c.r * a + p.r * p.a * (1 - a)) / out;
    p.g = (c.g * a + p.g * p.a * (1 - a)) / out;
    p.b = (c.b * a + p.b * p.a * (1 - a)) / out;
    p.a = out;
  }
  int size_;
  std::vector<Rgba> px_;
};

Canvas Draw(int size) {
  Canvas c(size);
  const Rgba tile{36, 98, 178, 1}, rim{22, 64, 128, 1}, page{250, 251, 253, 1};
  const Rgba ink{120, 138, 160, 1}, arrow{46, 168, 84, 1}, tray{30, 120, 60, 1};
  c.Paint([](double x, double y) { return Box(x, y, 2, 2, 62, 62, 11); }, rim);
  c.Paint([](double x, double y) { return Box(x, y, 4, 4, 60, 60, 9); }, tile);
  c.Paint([](double x, double y) { return Box(x, y, 14, 8, 44, 44, 3); }, page);
  for (double ly : {16.0, 23.0, 30.0}) {
    c.Paint([ly](double x, double y) { return Segment(x, y, 19, ly, 39, ly) - 1.6; }, ink);
  }
  // The arrow: a shaft and a head, ending above the tray.
  c.Paint([](double x, double y) { return Segment(x, y, 44, 26, 44, 46) - 3.5; }, arrow);
  c.Paint(
      [](double x, double y) {
        return std::min(Segment(x, y, 34, 40, 44, 51), Segment(x, y, 54, 40, 44, 51)) - 3.5;
      },
      arrow);
  c.Paint([](double x, double y) { return Segment(x, y, 30, 56, 58, 56) - 2.5; }, tray);
  return c;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One image of the file: BITMAPINFOHEADER (height doubled for the mask), bottom-up BGRA
// rows, then the AND mask (1 = transparent), rows padded to 4 bytes.
std::vector<uint8_t> Image(const Canvas& c) {
  const int n = c.size();
  const int maskStride = ((n + 31) / 32) * 4;
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, uint32_t(n));
  Put32(out, uint32_t(n * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, uint32_t(n * n * 4 + maskStride * n));
  for (int i = 0; i < 4; ++i)
    Put32(out, 0);
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) {
      const Rgba& p = c.at(x, y);
      const double a = std::clamp(p.a, 0.0, 1.0);
      out.push_back(uint8_t(std::lround(p.b)));
      out.push_back(uint8_t(std::lround(p.g)));
      out.push_back(uint8_t(std::lround(p.r)));
      out.push_back(uint8_t(std::lround(a * 255)));
    }
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(size_t(maskStride), 0);
    for (int x = 0; x < n; ++x) {
      if (c.at(x, y).a < 0.5) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: icongen OUT.ico\n", stderr);
    return 2;
  }
  const int sizes[] = {16, 24, 32, 48, 64};
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes)
    images.push_back(Image(Draw(s)));
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);  // icon
  Put16(file, unsigned(images.size()));
  uint32_t offset = uint32_t(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    file.push_back(uint8_t(sizes[i]));
    file.push_back(uint8_t(sizes[i]));
    file.push_back(0);  // no palette
    file.push_back(0);
    Put16(file, 1);   // planes
    Put16(file, 32);  // bits per pixel
    Put32(file, uint32_t(images[i].size()));
    Put32(file, offset);
    offset += uint32_t(images[i].size());
  }
  for (const auto& img : images)
    file.insert(file.end(), img.begin(), img.end());
  FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
