#include "skin/data/ComboGeometry.h"

#include <algorithm>

namespace lbb::skin {

namespace {

bool Inside(const TRect& r, int x, int y) {
  return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

}  // namespace

int ComboButtonFrame(const TComboLook& look) {
  if (!look.enabled) return kComboFrameDisabled;
  if (look.dropped || look.pressed) return kComboFramePressed;
  if (look.hot) return kComboFrameHot;
  return kComboFrameNormal;
}

TRect ComboFallbackButton(int width, int height, int border, int buttonWidth, bool rightToLeft) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  border = std::clamp(border, 0, std::min(width, height) / 2);
  buttonWidth = std::clamp(buttonWidth, 0, width - 2 * border);
  const TRect inner{border, border, width - border, height - border};
  if (rightToLeft) return TRect{inner.Left, inner.Top, inner.Left + buttonWidth, inner.Bottom};
  return TRect{inner.Right - buttonWidth, inner.Top, inner.Right, inner.Bottom};
}

TRect CentredIn(const TRect& box, int w, int h) {
  const TRect b = box.Upright();
  const int left = b.Left + (b.Right - b.Left - w) / 2;
  const int top = b.Top + (b.Bottom - b.Top - h) / 2;
  TRect r{left, top, left + std::max(w, 0), top + std::max(h, 0)};
  r.Left = std::clamp(r.Left, b.Left, b.Right);
  r.Top = std::clamp(r.Top, b.Top, b.Bottom);
  r.Right = std::clamp(r.Right, r.Left, b.Right);
  r.Bottom = std::clamp(r.Bottom, r.Top, b.Bottom);
  return r;
}

int UpDownFrame(int half, const TUpDownLook& look) {
  int f = 1;
  if (!look.enabled) {
    f = 3;
  } else if (look.pressed == half) {
    f = 2;
  } else if (look.hot == half) {
    f = 4;
  }
  return half == udSecond ? f + 4 : f;
}

TUpDownLayout UpDownHalves(const TUpDownInput& in) {
  TRect r{0, 0, std::max(in.width, 0), std::max(in.height, 0)};
  if (in.border > 0) {
    if (in.alignLeft) {
      r.Left += in.border;
    } else {
      r.Right -= in.border;
    }
    r.Top += in.border;
    r.Bottom -= in.border;
  }
  if (in.spacer > 0) {
    if (in.alignLeft) {
      r.Right -= in.spacer;
    } else {
      r.Left += in.spacer;
    }
  }
  r = r.Upright();
  TUpDownLayout out;
  out.Arrows = r;
  out.First = r;
  out.Second = r;
  if (in.horizontal) {
    const int mid = r.Left + (r.Right - r.Left) / 2;
    out.First.Right = mid;
    out.Second.Left = mid;
  } else {
    const int mid = r.Top + (r.Bottom - r.Top) / 2;
    out.First.Bottom = mid;
    out.Second.Top = mid;
  }
  return out;
}

int UpDownHalfAt(const TUpDownLayout& layout, int x, int y) {
  if (Inside(layout.First, x, y)) return udFirst;
  if (Inside(layout.Second, x, y)) return udSecond;
  return udNone;
}

}  // namespace lbb::skin
