// Helpers of the skinned popup menu tests: a skinned form with a popup menu of every kind of
// item (normal, checked with and without an image, disabled, separator, default, submenu,
// shortcut), the menu tracked modally while a watcher thread looks at the screen and drives
// the real mouse and keyboard, and readings of the popup window's pixels.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "forms/ImgList.h"
#include "forms/Menus.h"
#include "tests/win/skinbuttons/ButtonSupport.h"
#include "tools/input/Input.h"

namespace lbb::skin::test {

// Positions of the test menu's items.
enum TPopupItem : int {
  piOpen,
  piCheckedImage,
  piChecked,
  piDisabled,
  piSeparator,
  piDefault,
  piPlain,
  piSub,
  piExit,
  piCount
};

// The colour of the test image (0x00RRGGBB).
constexpr Pixel kImageInk = 0x20C040;

class PopupTest : public ButtonTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Tracks `m` at screen point `at` (modal) while `watch` runs on a watcher thread with the
  // popup window; the menu is closed afterwards whatever the watcher did.
  void Track(forms::TPopupMenu* m, POINT at, const std::function<void(HWND popup)>& watch);
  // Where the menu opens: the form's client point (40, 40) on the screen.
  POINT MenuPoint() const;

  forms::TPopupMenu* menu = nullptr;
  forms::TImageList* images = nullptr;
  forms::TMenuItem* items[piCount] = {};
  forms::TMenuItem* child = nullptr;
  std::atomic<int> clicks[piCount] = {};
};

// ---- for watcher threads (they handle no messages)

input::Waiting Watching();
// The newest visible popup menu window of this process once `count` show; null when they did
// not show in time.
HWND WaitPopups(int count = 1);
// The popup window's pixels on the screen.
PixelBuffer CaptureOf(HWND popup);
// Item `pos` of `m`'s native menu in the popup window's coordinates (frame included).
RECT ItemIn(HWND popup, HMENU m, int pos);
// Waits until `check` holds for a fresh capture of the popup; the last capture in `shot`.
bool WaitPicture(HWND popup, const std::function<bool(const PixelBuffer&)>& check,
                 PixelBuffer* shot = nullptr);
// Presses Escape until no popup menu of this process shows (bounded).
void CloseMenus();
// Pixels of `shot` inside `area` equal to `p`.
int Count(const PixelBuffer& shot, const RECT& area, Pixel p);
// A scheme colour of the skin as a screen pixel.
Pixel SchemePixel(const TSkinData& d, int index);
// Writes the picture to build/<preset>/screenshots/skinpopup/<name>.png.
void SavePicture(const PixelBuffer& picture, const std::string& name);

}  // namespace lbb::skin::test
