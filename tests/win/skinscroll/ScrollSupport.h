// Helpers of the skinned scroll bars' tests: finding (or attaching) the memo's scroll-bar
// skinner, a mouse button held down while a check runs inside the host's own tracking loop,
// the bar's pixels on the screen, and bar pieces rendered straight from the skin data.
#pragma once

#include <windows.h>

#include <functional>

#include <gtest/gtest.h>

#include "base/PixelBuffer.h"
#include "forms/Controls.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/forms/WinSkinForm.h"

namespace lbb::skin::test {

// The scroll-bar skinner of `control` in the form skinner's list; when the control-kind
// mapping gave it none, one is attached here by hand.
TSkinScrollbar* ScrollSkinnerOf(TWinSkinForm* sf, forms::TWinControl* control);

// Presses the left button at screen point `at` and keeps it down while `held` is called about
// every 15 ms (also from inside a tracking loop that holds the mouse); the button is released
// once `held` returns true or `limitMs` has passed. True when `held` returned true; false
// (after a test failure naming what was waited for) otherwise.
::testing::AssertionResult HoldButton(POINT at, const std::function<bool()>& held, const char* what,
                                      DWORD limitMs = 10000);
// Moves the mouse (buttons as they are) to a screen point.
bool SendMouseMove(POINT at);

// The screen's pixels of a window's rectangle (its whole window), colour bytes only.
PixelBuffer ScreenOf(HWND hwnd);
// `a`'s rectangle `r` against `b` at (bx, by): the number of differing pixels (colour bytes).
int Differing(const PixelBuffer& a, RECT r, const PixelBuffer& b, int bx, int by);

// A bar piece drawn as the skin says: w x h of ButtonFace with SArrow frame `frame`
// stretched over (0, 0, t, h) for a vertical arrow (t the skin's thickness), key colour left
// out.
PixelBuffer ArrowPiece(const TSkinData& sd, int frame, int w, int h, int t);
// The skin's ButtonFace as a pixel.
Pixel FacePixel(const TSkinData& sd);

// The SArrow frames of the vertical arrows (the skin's table).
inline constexpr int kUpNormal = 9;
inline constexpr int kDownNormal = 13;
inline constexpr int kDownPressed = 14;
inline constexpr int kDownHot = 16;

}  // namespace lbb::skin::test
