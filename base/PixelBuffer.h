// The one in-memory image type of all portable drawing code: 32-bit pixels, rows top-down,
// laid out as a top-down 32-bpp DIB section stores them (bytes blue, green, red, unused; as a
// 32-bit number 0x00RRGGBB). On Windows a buffer wraps the memory of a DIB section, so GDI and
// the portable code draw on the same bitmap without copies; elsewhere it owns its memory.
// Colours of the skin (0x00BBGGRR) convert with PixelOf and ColourOf.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lbb {

using Pixel = uint32_t;

// 0x00BBGGRR colour -> 0x00RRGGBB pixel, and back.
constexpr Pixel PixelOf(uint32_t colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
constexpr uint32_t ColourOf(Pixel p) {
  return PixelOf(p);
}

class PixelBuffer {
 public:
  PixelBuffer() = default;
  // An owning buffer of width x height pixels, all 0 (black). Negative sizes count as 0.
  PixelBuffer(int width, int height);
  // A view of `bits` (width x height pixels, rows top-down, no padding), owned by someone else
  // (a DIB section) who keeps it alive while the view is used.
  static PixelBuffer Wrap(Pixel* bits, int width, int height);

  PixelBuffer(const PixelBuffer& other);             // copies the pixels into owned memory
  PixelBuffer& operator=(const PixelBuffer& other);  // likewise
  PixelBuffer(PixelBuffer&& other) noexcept;
  PixelBuffer& operator=(PixelBuffer&& other) noexcept;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  bool Owns() const { return bits_ == own_.data(); }

  Pixel* Row(int y) { return bits_ + static_cast<size_t>(y) * static_cast<size_t>(width_); }
  const Pixel* Row(int y) const {
    return bits_ + static_cast<size_t>(y) * static_cast<size_t>(width_);
  }
  Pixel* Bits() { return bits_; }
  const Pixel* Bits() const { return bits_; }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // The pixel at (x, y); the caller keeps (x, y) inside.
  Pixel& At(int x, int y) { return Row(y)[x]; }
  Pixel At(int x, int y) const { return Row(y)[x]; }
  // Checked access: 0 outside, writes outside ignored.
  Pixel Get(int x, int y) const { return Contains(x, y) ? At(x, y) : 0; }
  void Set(int x, int y, Pixel p) {
    if (Contains(x, y)) At(x, y) = p;
  }
  void Fill(Pixel p);

  bool operator==(const PixelBuffer& other) const;

 private:
  std::vector<Pixel> own_;
  Pixel* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// `img` as `cells` equal cells side by side, each scaled by m / d (its size rounded as MulDiv
// rounds) taking the nearest pixel, so that a factor of 2 doubles every pixel and no cell takes
// a pixel of its neighbour. Empty for an empty image, m or d not positive, or more cells than
// columns; a width that does not divide into the cells loses its last columns.
PixelBuffer ScaleCellsNearest(const PixelBuffer& img, int cells, int m, int d);

}  // namespace lbb
