#include "base/PixelBuffer.h"

#include <algorithm>

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

}  // namespace lbb
