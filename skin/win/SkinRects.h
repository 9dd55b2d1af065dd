// The skin geometry's rectangles (TRect, portable) as the platform's RECT and back, and the
// small rectangle steps the painters share.
#pragma once

#include <windows.h>

#include "skin/data/SkinRect.h"

namespace lbb::skin {

inline RECT ToRect(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

inline TRect ToSkin(const RECT& r) {
  return TRect{int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

// `r` moved `d` pixels inwards on every side.
inline RECT Inset(const RECT& r, int d) {
  return RECT{r.left + d, r.top + d, r.right - d, r.bottom - d};
}

// A one-pixel frame along the inside of `r` in `brush`; nothing for an empty rectangle.
inline void FrameIn(HDC dc, const RECT& r, HBRUSH brush) {
  if (r.right > r.left && r.bottom > r.top) FrameRect(dc, &r, brush);
}

}  // namespace lbb::skin
