// The geometry of a skinned window frame as pure functions of numbers and rectangles, so the
// frame painter and its message handlers stay thin and the rules are tested without windows.
// Coordinates are frame coordinates: relative to the window's top-left corner, frame included.
#pragma once

#include "skin/data/SkinRect.h"

namespace lbb::skin {

// The widths of the four frame borders.
struct TFrameWidths {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const TFrameWidths&) const = default;
};

// One border piece's bitmap: its size and how many frames (looks) it holds. The Left and Right
// pieces keep their frames side by side, the Top and Bottom pieces stacked.
struct TBorderPiece {
  int Width = 0;
  int Height = 0;
  int Frames = 1;
};

// The border widths a skin's four pieces give: the Top and Bottom pieces' frame heights, the
// Left and Right pieces' frame widths (integer division). A window without a border has none.
// A piece that claims no frames counts as one frame, so a damaged skin cannot divide by zero.
TFrameWidths FrameWidthsOf(const TBorderPiece& left, const TBorderPiece& right,
                           const TBorderPiece& top, const TBorderPiece& bottom, bool noBorder);

// The client rectangle of a window placed at (x, y) with size (cx, cy): inside the borders,
// below the caption border and the menu band of `menuHeight` pixels.
TRect ClientRectOf(int x, int y, int cx, int cy, const TFrameWidths& widths, int menuHeight);

// Hit-test codes of the platform that the frame rules name.
enum THitCode : int { kHitNowhere = 0, kHitClient = 1, kHitCaption = 2, kHitMenu = 5 };

// The hit-test answer of a skinned frame from the one the window's own procedure gave for the
// frame point whose vertical coordinate is `frameY`. Nowhere and caption answers become the
// caption below the top 3 pixels, and the menu band below the top border when the window has a
// menu band; every other answer (client, borders, corners) stays.
int FrameHitTest(int previousAnswer, int frameY, const TFrameWidths& widths, int menuHeight);

// A window size.
struct TFrameSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TFrameSize&) const = default;
};

// The window size that fits the skin frame around a client area of `clientWidth` x
// `clientHeight`: the borders on all sides and the menu band of `menuHeight` pixels between
// the caption bar and the client area.
TFrameSize SkinnedWindowSize(int clientWidth, int clientHeight, const TFrameWidths& widths,
                             int menuHeight);

// A message box whose title does not fit: `width` is the box's window width, `needed` the
// title's left shift + the title text width + the title's right clip. When the box is narrower
// it is widened to `needed` and its controls move right by half the difference (rounded toward
// zero); otherwise nothing changes.
struct TTitleFit {
  int Width = 0;
  int Shift = 0;
  bool operator==(const TTitleFit&) const = default;
};
TTitleFit FitTitle(int width, int needed);

// The window size that gives a skinned window of `width` x `height` its native frame back: the
// skin border widths are replaced by the native frame size (`nativeWidth` and `nativeHeight`
// beyond the client area) remembered before skinning.
TFrameSize UnskinnedWindowSize(int width, int height, int nativeWidth, int nativeHeight,
                               const TFrameWidths& widths);

}  // namespace lbb::skin
