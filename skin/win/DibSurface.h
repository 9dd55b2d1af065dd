// The one off-screen surface of the skin painters: a top-down 32-bpp DIB section selected into
// a memory device context. The portable drawing code writes its pixels through a PixelBuffer
// view of the DIB's memory; GDI draws text, edges and regions through the device context; the
// finished picture goes to the window in one block transfer.
//
// GDI batches its drawing: before the pixel code reads or writes pixels that GDI may have
// touched, Pixels() flushes the batch, so both sides always see each other's work.
#pragma once

#include <windows.h>

#include <type_traits>
#include <utility>

#include "base/PixelBuffer.h"
#include "base/win/Handles.h"

namespace lbb::skin {

class TDibSurface {
 public:
  TDibSurface() = default;
  // A surface of width x height pixels, all 0; empty when the size is not positive or the
  // system refuses the bitmap.
  TDibSurface(int width, int height);
  ~TDibSurface() { Release(); }
  TDibSurface(const TDibSurface&) = delete;
  TDibSurface& operator=(const TDibSurface&) = delete;

  // Makes the surface at least width x height (a larger one is kept, and a new one is as large
  // as the old one on each side, a side that grows rounded up to a multiple of 64 pixels, so a
  // painter that reuses it for every paint, even of a window growing a pixel at a time, seldom
  // reallocates); false when it could not be made. The pixels are undefined after a
  // reallocation.
  bool Reserve(int width, int height);

  bool Empty() const { return pixels_.Empty(); }
  int Width() const { return pixels_.Width(); }
  int Height() const { return pixels_.Height(); }

  // The device context for GDI drawing (null when empty).
  HDC Dc() const { return dc_.get(); }
  // The pixels, shared with the DIB section, after pending GDI drawing has landed.
  PixelBuffer& Pixels();

  // Copies the part `source` of the surface to `dest` at (x, y) in one transfer; false when
  // the surface is empty or the copy failed.
  bool Present(HDC dest, int x, int y, const RECT& source) const;
  bool Present(HDC dest, int x, int y) const;

 private:
  BitmapHandle bitmap_;
  MemoryDcHandle dc_;
  HGDIOBJ previous_ = nullptr;  // the DC's own bitmap, put back before the DIB is freed
  PixelBuffer pixels_;

  void Release();
};

// Reserves `surface` at width x height and has `draw(whole)` draw the picture into its
// rectangle `whole` ({0, 0, width, height}); a draw that returns bool may refuse with false.
// False when nothing could be reserved (draw is not called) or the draw refused.
template <class Draw>
bool DrawBuffered(TDibSurface& surface, int width, int height, Draw&& draw) {
  if (width <= 0 || height <= 0 || !surface.Reserve(width, height)) return false;
  const RECT whole{0, 0, width, height};
  if constexpr (std::is_void_v<decltype(draw(whole))>) {
    draw(whole);
    return true;
  } else {
    return static_cast<bool>(draw(whole));
  }
}

// The buffered paint of the skinners: the picture drawn off-screen at `target`'s size (as
// DrawBuffered), then copied to `target` of `dc` in one transfer, so the window never shows a
// half-drawn state. False when nothing was drawn.
template <class Draw>
bool PaintBuffered(TDibSurface& surface, HDC dc, const RECT& target, Draw&& draw) {
  const int w = target.right - target.left, h = target.bottom - target.top;
  if (!DrawBuffered(surface, w, h, std::forward<Draw>(draw))) return false;
  surface.Present(dc, target.left, target.top, RECT{0, 0, w, h});
  return true;
}

}  // namespace lbb::skin
