// The band under the caption of a skinned window that had a native menu bar: the menu's
// top-level items are written in it, and a click on one opens that item's drop-down under
// it. The band stands in for the native menu bar, which the skinned frame does not draw; the
// menu-bar painter (TWinSkinMenu) takes the band over with skin-drawn buttons and keyboard
// navigation.
#include <algorithm>
#include <string>

#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinFormImpl.h"

namespace lbb::skin {

namespace {

// Space left and right of each item's text.
constexpr int kBandItemPadding = 8;

// One character in upper case (CharUpperW takes a lone character in the pointer's low word).
wchar_t UpperChar(wchar_t c) {
  return static_cast<wchar_t>(
      reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(c)))));
}

}  // namespace

std::vector<TWinSkinForm::TBandItem> TWinSkinForm::BandItems(HDC dc) const {
  std::vector<TBandItem> items;
  if (!impl->menuTaken || !hmenu || MenuHeight <= 0) return items;
  const int count = GetMenuItemCount(hmenu);
  int x = bw.left;
  for (int i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    const int n = GetMenuStringW(hmenu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    if (n <= 0) continue;
    RECT measure{0, 0, 0, 0};
    DrawTextW(dc, text, n, &measure, DT_SINGLELINE | DT_CALCRECT);
    const int w = measure.right + 2 * kBandItemPadding;
    items.push_back(
        TBandItem{i, RECT{x, bw.top, x + w, bw.top + MenuHeight}, std::wstring(text, n)});
    x += w;
  }
  return items;
}

// The items as the band paints them (its font), measured on the screen.
std::vector<TWinSkinForm::TBandItem> TWinSkinForm::BandItemsMeasured() const {
  lbb::WindowDc screen(nullptr);
  lbb::SelectScope font(screen.get(), GetStockObject(DEFAULT_GUI_FONT));
  return BandItems(screen.get());
}

void TWinSkinForm::PaintMenuBand(HDC dc) {
  if (MenuHeight <= 0 || !fsd->BGBrush) return;
  const RECT band{bw.left, bw.top, fwidth - bw.right, bw.top + MenuHeight};
  FillRect(dc, &band, fsd->BGBrush.get());
  HFONT menuFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  lbb::SelectScope font(dc, menuFont);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  // The skin's menu-bar text colour when it names one, else its button text.
  const int textColour = fsd->hasColors[kShemeMenuBarText] ? kShemeMenuBarText : kShemeButtonText;
  SetTextColor(dc, static_cast<COLORREF>(fsd->Colors[static_cast<size_t>(textColour)]));
  for (TBandItem& item : BandItems(dc)) {
    RECT r = item.bounds;
    if (r.left >= band.right) break;
    r.right = std::min(r.right, band.right);
    DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &r,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
  SetBkMode(dc, oldMode);
}

bool TWinSkinForm::OpenBandItem(const TFramePoint& p) {
  for (const TBandItem& item : BandItemsMeasured()) {
    const RECT& r = item.bounds;
    if (!PointIn(TRect{r.left, r.top, r.right, r.bottom}, p.X, p.Y)) continue;
    OpenBand(item);
    return true;
  }
  return false;
}

bool TWinSkinForm::OpenBandAccelerator(wchar_t ch) {
  const std::vector<TBandItem> items = BandItemsMeasured();
  if (items.empty()) return false;
  if (ch == 0) {
    OpenBand(items.front());
    return true;
  }
  const wchar_t wanted = UpperChar(ch);
  for (const TBandItem& item : items) {
    const size_t amp = item.text.find(L'&');
    if (amp == std::wstring::npos || amp + 1 >= item.text.size()) continue;
    if (UpperChar(item.text[amp + 1]) == wanted) {
      OpenBand(item);
      return true;
    }
  }
  return false;
}

void TWinSkinForm::OpenBand(const TBandItem& item) {
  HMENU sub = GetSubMenu(hmenu, item.position);
  if (!sub) {
    // An item without a drop-down is a command of its own.
    const UINT id = GetMenuItemID(hmenu, item.position);
    if (id != static_cast<UINT>(-1)) PostMessageW(Hwnd, WM_COMMAND, id, 0);
    return;
  }
  RECT window{};
  GetWindowRect(Hwnd, &window);
  SendMessageW(Hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(hmenu), 0);
  // The chosen command reaches the window as WM_COMMAND, as from the native menu bar.
  TrackPopupMenu(sub, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, window.left + item.bounds.left,
                 window.top + item.bounds.bottom, 0, Hwnd, nullptr);
}

}  // namespace lbb::skin
