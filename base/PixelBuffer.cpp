#include "base/PixelBuffer.h"

#include <algorithm>
#include <cstdint>

namespace lbb {

PixelBuffer::PixelBuffer(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)) {
  own_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
  bits_ = own_.data();
}

PixelBuffer PixelBuffer::Wrap(Pixel* bits, int width, int height) {
  PixelBuffer b;
  if (bits && width > 0 && height > 0) {
    b.bits_ = bits;
    b.width_ = width;
    b.height_ = height;
  }
  return b;
}

PixelBuffer::PixelBuffer(const PixelBuffer& other)
    : own_(other.bits_,
           other.bits_ + static_cast<size_t>(other.width_) * static_cast<size_t>(other.height_)),
      width_(other.width_),
      height_(other.height_) {
  bits_ = own_.data();
}

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other) {
  if (this != &other) *this = PixelBuffer(other);
  return *this;
}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept {
  *this = std::move(other);
}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
  if (this == &other) return *this;
  const bool owned = other.Owns();
  own_ = std::move(other.own_);
  bits_ = owned ? own_.data() : other.bits_;
  width_ = other.width_;
  height_ = other.height_;
  other.own_.clear();
  other.bits_ = nullptr;
  other.width_ = other.height_ = 0;
  return *this;
}

void PixelBuffer::Fill(Pixel p) {
  std::fill(bits_, bits_ + static_cast<size_t>(width_) * static_cast<size_t>(height_), p);
}

bool PixelBuffer::operator==(const PixelBuffer& other) const {
  return width_ == other.width_ && height_ == other.height_ &&
         std::equal(bits_, bits_ + static_cast<size_t>(width_) * static_cast<size_t>(height_),
                    other.bits_);
}

namespace {

// a * m / d rounded half away from zero, for the non-negative lengths scaled here.
int64_t ScaledLength(int64_t a, int64_t m, int64_t d) {
  return (2 * a * m + d) / (2 * d);
}

}  // namespace

PixelBuffer ScaleCellsNearest(const PixelBuffer& img, int cells, int m, int d) {
  if (img.Empty() || cells < 1 || cells > img.Width() || m <= 0 || d <= 0) return {};
  const int64_t cw = img.Width() / cells, ch = img.Height();
  const int64_t ncw = ScaledLength(cw, m, d), nch = ScaledLength(ch, m, d);
  constexpr int64_t kMaxSide = 1 << 15;
  if (ncw < 1 || nch < 1 || ncw * cells > kMaxSide || nch > kMaxSide) return {};
  PixelBuffer out(static_cast<int>(ncw * cells), static_cast<int>(nch));
  for (int y = 0; y < nch; ++y) {
    // The source pixel under the centre of each target pixel.
    const int sy = static_cast<int>(std::min((2 * y + 1) * ch / (2 * nch), ch - 1));
    for (int c = 0; c < cells; ++c)
      for (int x = 0; x < ncw; ++x) {
        const int64_t sx = std::min((2 * x + 1) * cw / (2 * ncw), cw - 1);
        out.At(static_cast<int>(c * ncw + x), y) = img.At(static_cast<int>(c * cw + sx), sy);
      }
  }
  return out;
}

}  // namespace lbb
