// TWinSkinPopMenu: the skinner of one popup menu window (window class "#32768"). The skin
// manager makes one for every popup menu window that opens while skinning is on and frees it
// when the window is destroyed.
//
// It takes over the menu window's procedure, answers SKM_ISSKINNED with 1 (so the window never
// gets a second skinner) and passes every other message on unchanged. Painting the menu's
// frame and background from the skin, and owner-drawing its items, is the popup-menu painter's
// work and is not done here yet: until it is, the menu looks native.
#pragma once

#include <windows.h>

#include <memory>

#include "forms/Bitmap.h"
#include "skin/win/WinSkinData.h"
#include "skin/win/WindowSubclass.h"

namespace lbb::skin {

class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu();
  // Gives the window its procedure back when it still has this skinner's.
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  // Takes over `ahwnd`'s messages; `amode` is kept for its callers (0). False when the window
  // could not be taken over (it then stays as it is).
  bool InitSkin(HWND ahwnd, TSkinData* data, int amode);
  // Gives the window its procedure back; safe to call twice and after the window is gone.
  void UnSubClass();
  bool Subclassed() const { return subclass_.Installed(); }

  HWND hwnd = nullptr;
  HMENU hmenu = nullptr;
  forms::TBitmap MenuBg;  // the menu's background; empty until the painter makes it
  bool ownerdraw = false;
  TSkinData* fsd = nullptr;

 private:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

  TWindowSubclass subclass_;
};

}  // namespace lbb::skin
