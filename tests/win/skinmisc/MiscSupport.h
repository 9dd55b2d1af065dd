// Helpers of the container, range, status-bar and media-player skinners' tests: the skinned
// form of the button tests made larger, skinners attached through the factory as the mapping
// attaches them, expected pictures composed from the skin's elements, and screenshots.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/controls/WinSkinFactory.h"
#include "skin/data/SkinObjects.h"
#include "tests/win/skinbuttons/ButtonSupport.h"

namespace lbb::skin::test {

class MiscTest : public ButtonTest {
 protected:
  void SetUp() override;
  // The skin's scheme colour `index` as a pixel of a screen shot.
  Pixel Scheme(int index) const;
  TSkinControl* Attach(TSkinnerKind kind, forms::TControl* c, bool colour = false);
  // Writes the window to build/<preset>/screenshots/skinmisc/<name>.png.
  static void SaveShot(HWND hwnd, const std::string& name);
};

// Frame `frame` of `frames` of element e rendered at `at` of dst (keyed when the element is).
void Compose(PixelBuffer& dst, const RECT& at, const TDataSkinObject& e, int frame, int frames);
// The pixels inside `area` of `shot` that differ from `expected` (laid at area's top-left),
// outside every rectangle of `skip` (shot coordinates).
int Differences(const PixelBuffer& shot, const RECT& area, const PixelBuffer& expected,
                const std::vector<RECT>& skip = {});
// The count of pixels of `shot` inside `area` equal to `p`.
int CountOf(const PixelBuffer& shot, const RECT& area, Pixel p);
// The window's rectangle in the coordinates of `ancestor`'s window (frame included).
RECT RectIn(HWND hwnd, HWND ancestor);

}  // namespace lbb::skin::test
