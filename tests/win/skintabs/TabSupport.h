// Helpers of the skinned tab and header tests: a larger form skinned with the built-in skin
// whose controls are mapped to their skinners as the form skinner maps them, the skinner a
// control got, and readings of the screen: which frames of a skin element a rectangle shows
// along its top and bottom bands (where no caption lies).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/controls/WinSubClass.h"
#include "skin/data/SkinObjects.h"
#include "tests/win/skinbuttons/ButtonSupport.h"

namespace lbb::skin::test {

class TabTest : public ButtonTest {
 protected:
  void SetUp() override;

  // The skinner the form skinner gave `hwnd` (null when none), of class S.
  template <class S>
  S* SkinnerOf(HWND hwnd) const {
    for (TSkinControl* c : sf->Controls())
      if (c->hwnd == hwnd)
        if (auto* s = dynamic_cast<S*>(c)) return s;
    return nullptr;
  }
  // The frames (1-based) of element `e` (N frames of `img`, margins `e.r`) rendered at r's
  // size that the screen shows in r's top and bottom three rows, three pixels in from each
  // end; key pixels are not compared.
  static std::vector<int> FramesAt(const PixelBuffer& shot, const RECT& r, const PixelBuffer& img,
                                   const TRect& margins, bool tile, int N);
  // Waits until `hwnd` shows frame `want` (and not `wrong`) of `e` in r (client coordinates);
  // with `img` and `margins`: of that image (an element's image turned for another side).
  ::testing::AssertionResult ShowsFrameAt(HWND hwnd, const std::function<RECT()>& r,
                                          const TDataSkinObject& e, int N, int want, int wrong);
  ::testing::AssertionResult ShowsFrameAt(HWND hwnd, const std::function<RECT()>& r,
                                          const PixelBuffer& img, const TRect& margins, int N,
                                          int want, int wrong);
  // Saves the form's picture as `name` in this test's screenshots folder.
  void SaveShot(const char* name) const;
  // A client point's colour on the screen (0x00RRGGBB).
  static Pixel PixelAt(HWND hwnd, POINT p);
};

RECT ToRect(const TRect& r);
POINT Centre(const RECT& r);

}  // namespace lbb::skin::test
