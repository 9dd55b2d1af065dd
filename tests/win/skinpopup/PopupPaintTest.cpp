// The popup window and its items on the screen: the skin's menu background over the whole
// window and continuous under the items, the separator from the item image's second frame,
// the selected item from its fourth frame with the highlight text, checked items with and
// without an image, disabled and default items, the shortcut at the reading end, and native
// items in the framework's id range left to the platform.
#include <windows.h>

#include <thread>

#include "skin/data/MenuItemGeometry.h"
#include "skin/data/imgutil.h"
#include "skin/forms/WinSkinMenu.h"
#include "skin/win/WindowSubclass.h"
#include "tests/win/skinpopup/PopupSupport.h"

namespace lbb::skin::test {
namespace {

// A background whose every pixel differs from its neighbours, so that a picture copied from
// the wrong place shows.
PixelBuffer Pattern() {
  PixelBuffer img(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      img.At(x, y) = static_cast<Pixel>(0x400000 + (x * 6 << 8) + y * 6 + (x + y) % 3 * 0x100000);
  return img;
}

PixelBuffer RenderedBackground(const TDataSkinObject& e, int w, int h) {
  return RenderSkinImage(TRect{0, 0, w, h}, e.Map, e.r, false, e.Tile != 1, 1, 1);
}

// Pixels of `shot` in `area` that differ from `expected` at the same place.
int Mismatches(const PixelBuffer& shot, const PixelBuffer& expected, const RECT& area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      n += (shot.Get(x, y) & 0xFFFFFF) != (expected.Get(x, y) & 0xFFFFFF);
  return n;
}

class PopupPaint : public PopupTest {};

TEST_F(PopupPaint, BackgroundCoversTheWindowAndTheItemsLineUpWithIt) {
  data->MenuitemBG->Map = Pattern();
  data->MenuitemBG->Tile = 0;
  ShowSkinned();
  const TDataSkinObject bg = *data->MenuitemBG;
  HMENU native = menu->Handle();
  Track(menu, MenuPoint(), [&](HWND popup) {
    RECT w{};
    GetWindowRect(popup, &w);
    const int width = w.right - w.left, height = w.bottom - w.top;
    const PixelBuffer expected = RenderedBackground(bg, width, height);
    const RECT item = ItemIn(popup, native, piOpen);
    // The right end of the first item, past its text: the item's own background.
    const RECT inside{item.right - 9, item.top, item.right, item.bottom};
    PixelBuffer shot;
    const bool same = WaitPicture(
        popup,
        [&](const PixelBuffer& s) {
          int frame = Mismatches(s, expected, RECT{0, 0, width, kPopupFrame}) +
                      Mismatches(s, expected, RECT{0, height - kPopupFrame, width, height}) +
                      Mismatches(s, expected, RECT{0, 0, kPopupFrame, height}) +
                      Mismatches(s, expected, RECT{width - kPopupFrame, 0, width, height});
          return frame == 0 && Mismatches(s, expected, inside) == 0;
        },
        &shot);
    RECT client{};
    GetClientRect(popup, &client);
    POINT origin{0, 0};
    ClientToScreen(popup, &origin);
    EXPECT_TRUE(same) << "frame or item background differs from the rendered MenuitemBG: "
                      << Mismatches(shot, expected, RECT{0, 0, width, kPopupFrame}) << " top, "
                      << Mismatches(shot, expected, RECT{0, height - kPopupFrame, width, height})
                      << " bottom, " << Mismatches(shot, expected, RECT{0, 0, kPopupFrame, height})
                      << " left, "
                      << Mismatches(shot, expected, RECT{width - kPopupFrame, 0, width, height})
                      << " right, " << Mismatches(shot, expected, inside) << " in the item; window "
                      << width << "x" << height << ", client at " << origin.x - w.left << ","
                      << origin.y - w.top << " size " << client.right << "x" << client.bottom
                      << ", item " << item.left << "," << item.top << "-" << item.right << ","
                      << item.bottom;
    SavePicture(shot, "popup-patterned-background");
  });
}

}  // namespace
}  // namespace lbb::skin::test
