// The popup window and its items on the screen: the skin's menu background over the whole
// window and continuous under the items, the separator from the item image's second frame,
// the selected item from its fourth frame with the highlight text, checked items with and
// without an image, disabled and default items, the shortcut at the reading end, and native
// items in the framework's id range left to the platform.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

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

// The built-in skin's colours as screen pixels.
constexpr Pixel kSeparatorLine = 0xDDE2E8;  // the line in the item image's second frame
constexpr Pixel kAccent = 0x4A78B0;         // the selected frame

RECT GlyphArea(const RECT& item) {
  return RECT{item.left, item.top, item.left + 28, item.bottom};
}

TEST_F(PopupPaint, ItemsShowEveryStateInTheSkinsLook) {
  ShowSkinned();
  HMENU native = menu->Handle();
  const Pixel menuText = SchemePixel(*data, kShemeMenuText);
  const Pixel shadow = SchemePixel(*data, kShemeButtonShadow);
  const Pixel hilightText = SchemePixel(*data, kShemeHilightText);
  const Pixel btnText = PixelOf(GetSysColor(COLOR_BTNTEXT));
  const Pixel btnHilight = PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT));
  Track(menu, MenuPoint(), [&](HWND popup) {
    RECT r[piCount];
    for (int i = 0; i < piCount; ++i)
      r[i] = ItemIn(popup, native, i);
    PixelBuffer shot;
    // The whole menu drawn: the last item's shortcut is there.
    ASSERT_TRUE(WaitPicture(
        popup, [&](const PixelBuffer& s) { return Count(s, r[piExit], menuText) > 20; }, &shot));
    SavePicture(shot, "popup-menu-items");
    // The separator is the second frame's line, not the first frame (see-through).
    EXPECT_GT(Count(shot, r[piSeparator], kSeparatorLine),
              (r[piSeparator].right - r[piSeparator].left) / 2);
    EXPECT_EQ(Count(shot, r[piOpen], kAccent), 0) << "an item is selected before the mouse came";
    // A checked item with an image: the image on a dithered box; without one: the check mark.
    EXPECT_GT(Count(shot, GlyphArea(r[piCheckedImage]), kImageInk), 50);
    EXPECT_GT(Count(shot, GlyphArea(r[piCheckedImage]), btnHilight), 5);
    EXPECT_GT(Count(shot, GlyphArea(r[piChecked]), btnText), 5);
    EXPECT_EQ(Count(shot, GlyphArea(r[piOpen]), btnText), 0);
    // A disabled item's text in the skin's button shadow, never in the menu text.
    EXPECT_GT(Count(shot, r[piDisabled], shadow), 10);
    EXPECT_EQ(Count(shot, r[piDisabled], menuText), 0);
    // The default item is bold: more ink than the same caption in the normal weight.
    EXPECT_GT(Count(shot, r[piDefault], menuText), Count(shot, r[piPlain], menuText) + 5);
    // The shortcut ends 11 pixels before the item's right edge.
    const RECT exitInk = BoxOf(shot, menuText, r[piExit]);
    EXPECT_LE(exitInk.right, r[piExit].right - 11);
    EXPECT_GE(exitInk.right, r[piExit].right - 14);
    // The real mouse over the first item selects it: the fourth frame, highlight text.
    POINT over{(r[piOpen].left + r[piOpen].right) / 2, (r[piOpen].top + r[piOpen].bottom) / 2};
    RECT w{};
    GetWindowRect(popup, &w);
    ASSERT_TRUE(input::MoveMouse(POINT{w.left + over.x, w.top + over.y}, Watching()).ok());
    EXPECT_TRUE(WaitPicture(
        popup,
        [&](const PixelBuffer& s) {
          return Count(s, r[piOpen], kAccent) > 40 && Count(s, r[piOpen], hilightText) > 5 &&
                 Count(s, r[piOpen], menuText) == 0;
        },
        &shot))
        << "the selected item does not show the fourth frame with highlight text";
    SavePicture(shot, "popup-menu-selected");
  });
}

// Right-to-left items drawn by the skinner on a bitmap the size of an item (the platform's
// own right-to-left menus do not ask their owner to draw owner-drawn items under Wine).
TEST_F(PopupPaint, RightToLeftItemsAreMirrored) {
  menu->SetBiDiMode(forms::TBiDiMode::bdRightToLeft);
  ShowSkinned();
  const Pixel menuText = SchemePixel(*data, kShemeMenuText);
  const RECT item{0, 0, 160, 22};
  forms::TBitmap bmp(item.right, item.bottom);
  sf->DrawMenuItem(items[piExit], bmp.Canvas(), item, false);
  GdiFlush();
  PixelBuffer shot(bmp.Pixels());
  // The shortcut starts 11 pixels in from the left.
  const RECT ink = BoxOf(shot, menuText, item);
  EXPECT_GE(ink.left, item.left + 11);
  EXPECT_LE(ink.left, item.left + 14);
  sf->DrawMenuItem(items[piCheckedImage], bmp.Canvas(), item, false);
  GdiFlush();
  shot = PixelBuffer(bmp.Pixels());
  // The image sits in the glyph box at the right end.
  const RECT glyph = BoxOf(shot, kImageInk, item);
  EXPECT_GT(glyph.left, item.right - 30);
  SavePicture(shot, "popup-item-right-to-left");
}

// What reaches the form window's own procedure under the skinner.
struct TDrawLog {
  std::vector<UINT> drawn;
};

TEST_F(PopupPaint, NativeItemsInTheFrameworksRangeAreLeftToThePlatform) {
  TDrawLog log;
  TWindowSubclass recorder;
  ASSERT_TRUE(recorder.Install(form->Handle(), [&](UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType == ODT_MENU) log.drawn.push_back(dis->itemID);
    }
    return recorder.CallPrevious(msg, wp, lp);
  }));
  ShowSkinned();
  lbb::MenuHandle native(CreatePopupMenu());
  for (UINT id : {100u, 5000u}) {
    const std::wstring text = L"Native " + std::to_wstring(id);
    AppendMenuW(native.get(), MF_STRING, id, text.c_str());
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    mii.fType = MFT_OWNERDRAW;
    SetMenuItemInfoW(native.get(), id, FALSE, &mii);
  }
  const Pixel menuText = SchemePixel(*data, kShemeMenuText);
  std::atomic<int> inkPlatform{-1}, inkSkin{-1};
  std::thread watcher([&] {
    HWND popup = WaitPopups();
    if (popup) {
      const RECT own = ItemIn(popup, native.get(), 0), skin = ItemIn(popup, native.get(), 1);
      PixelBuffer shot;
      WaitPicture(
          popup, [&](const PixelBuffer& s) { return Count(s, skin, menuText) > 5; }, &shot);
      inkPlatform = Count(shot, own, menuText);
      inkSkin = Count(shot, skin, menuText);
    }
    CloseMenus();
  });
  const POINT at = MenuPoint();
  TrackPopupMenu(native.get(), TPM_RETURNCMD, at.x, at.y, 0, form->Handle(), nullptr);
  watcher.join();
  EXPECT_NE(std::find(log.drawn.begin(), log.drawn.end(), 100u), log.drawn.end())
      << "id 100 did not reach the window's own procedure";
  EXPECT_EQ(std::find(log.drawn.begin(), log.drawn.end(), 5000u), log.drawn.end())
      << "id 5000 was left to the window instead of drawn by the skin";
  EXPECT_GT(inkSkin.load(), 5) << "the skin did not draw the item with id 5000";
  EXPECT_EQ(inkPlatform.load(), 0) << "something drew the item with id 100 in the skin's look";
  recorder.Restore();
}

}  // namespace
}  // namespace lbb::skin::test
