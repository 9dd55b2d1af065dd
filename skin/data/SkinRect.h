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
  bool operator==(const TRect&) const = default;
};

}  // namespace lbb::skin
