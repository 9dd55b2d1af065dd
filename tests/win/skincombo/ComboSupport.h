// Helpers of the combo box, up-down and date-time picker tests: which frame of a skin element
// a rectangle of the screen shows, real presses at screen points, and screenshots.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/PixelBuffer.h"
#include "skin/data/SkinObjects.h"
#include "tests/win/skinbuttons/ButtonSupport.h"

namespace lbb::skin::test {

class ComboTest : public ButtonTest {
 protected:
  // The frames (1-based) of `element` (N frames) that, rendered at `at`'s size as the skinners
  // draw them, equal the shot at `at` on every pixel the frame does not key away and that
  // `skip` (shot coordinates, may be null) does not exclude.
  static std::vector<int> Matching(const PixelBuffer& shot, const RECT& at,
                                   const TDataSkinObject& element, int N,
                                   const std::vector<RECT>& skip = {});
  // Waits until the rectangle `at` of the window's shot shows frame `want` of `element` and
  // only that frame; says what it showed instead.
  ::testing::AssertionResult ShowsFrame(HWND hwnd, const RECT& at, const TDataSkinObject& element,
                                        int N, int want, const std::vector<RECT>& skip = {});
  // A real click at a client point of a pop-up (a drop-down list, a calendar) as it lies:
  // no window is brought to the front first, which would close the pop-up.
  static ::testing::AssertionResult ClickInPopup(HWND popup, POINT client);
  // Writes the screen's pixels inside `screen` (or the window) to the screenshots folder.
  static void SaveShot(const RECT& screen, const std::string& name);
  static void SaveWindowShot(HWND hwnd, const std::string& name);
};

// The window's rectangle in the coordinates of its own window rectangle (so of a shot of it).
RECT WindowRectIn(HWND window, HWND of);
std::string Frames(const std::vector<int>& frames);

}  // namespace lbb::skin::test
