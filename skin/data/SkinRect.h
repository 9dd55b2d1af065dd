// The rectangle of the skin code: (Left, Top, Right, Bottom), Right and Bottom exclusive. The
// skin elements also use it for their four margins (left, top, right and bottom widths).
#pragma once

namespace lbb::skin {

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  // Right < Left or Bottom < Top.
  bool Inverted() const { return Right < Left || Bottom < Top; }
  // This rectangle with its right (bottom) edge pulled back to its left (top) edge where it
  // would run before it: an empty box instead of an inverted one.
  TRect Upright() const {
    return TRect{Left, Top, Right < Left ? Left : Right, Bottom < Top ? Top : Bottom};
  }
  bool operator==(const TRect&) const = default;
};

}  // namespace lbb::skin
