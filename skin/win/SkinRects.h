// The skin geometry's rectangles (TRect, portable) as the platform's RECT and back.
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

}  // namespace lbb::skin
