#include "skin/win/DibSurface.h"

#include <algorithm>

namespace lbb::skin {

namespace {

constexpr int kGrowStep = 64;

int RoundUp(int n) {
  return (n + kGrowStep - 1) / kGrowStep * kGrowStep;
}

}  // namespace

TDibSurface::TDibSurface(int width, int height) {
  Reserve(width, height);
}

void TDibSurface::Release() {
  if (dc_ && previous_) SelectObject(dc_.get(), previous_);
  previous_ = nullptr;
  pixels_ = PixelBuffer();
  dc_.reset();
  bitmap_.reset();
}

bool TDibSurface::Reserve(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  if (!Empty() && Width() >= width && Height() >= height) return true;
  // Grown to the larger of each side: a painter that alternates between a tall and a wide
  // size (the side and bottom frame pieces) keeps one surface instead of remaking it each time.
  // A side that grows gets room to grow further: a window resized a few pixels at a time
  // remade its frame's surfaces at every step (a new DIB section each, some milliseconds under
  // Wine), now once in kGrowStep pixels.
  if (!Empty()) {
    width = width > Width() ? RoundUp(width) : Width();
    height = height > Height() ? RoundUp(height) : Height();
  }
  Release();
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down rows, as PixelBuffer keeps them
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  BitmapHandle bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !bits || !dc) return false;
  previous_ = SelectObject(dc.get(), bitmap.get());
  if (!previous_) return false;
  bitmap_ = std::move(bitmap);
  dc_ = std::move(dc);
  pixels_ = PixelBuffer::Wrap(static_cast<Pixel*>(bits), width, height);
  return true;
}

PixelBuffer& TDibSurface::Pixels() {
  if (dc_) GdiFlush();
  return pixels_;
}

bool TDibSurface::Present(HDC dest, int x, int y, const RECT& source) const {
  if (Empty() || !dest) return false;
  GdiFlush();  // pixel writes need no flush; GDI drawing on our DC might still be batched
  return BitBlt(dest, x, y, source.right - source.left, source.bottom - source.top, dc_.get(),
                source.left, source.top, SRCCOPY) != FALSE;
}

bool TDibSurface::Present(HDC dest, int x, int y) const {
  return Present(dest, x, y, RECT{0, 0, Width(), Height()});
}

}  // namespace lbb::skin
