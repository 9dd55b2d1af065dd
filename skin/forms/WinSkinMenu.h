// TWinSkinPopMenu: the skinner of one popup menu window (window class "#32768"). The skin
// manager makes one for every popup menu window that opens while skinning is on and frees it
// when the window is destroyed.
//
// It takes over the menu window's procedure, answers SKM_ISSKINNED with 1 (so the window never
// gets a second skinner) and paints the skin's menu background (the MenuitemBG element) over
// the window's frame and behind its items. MenuBg holds that background rendered at the
// window's full size; it is rendered again on every paint, so it always matches the window.
// The owner-drawn items (the form skinner's item layer) copy their own background out of it,
// offset by the client area's place in the window, so that every item looks continuous with
// the window under it. Where the platform draws the menu's frame inside the client area (the
// window has no frame of its own), the frame is painted again from MenuBg after each paint.
#pragma once

#include <windows.h>

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

  // Takes over `ahwnd`'s messages with skin data `data`; `amenu` is the menu shown when known
  // (the manager passes none and hands it over later with SetHMenu). False when the window
  // could not be taken over (it then stays as it is).
  bool InitSkin(HWND ahwnd, TSkinData* data, HMENU amenu);
  // Gives the window its procedure back and empties MenuBg; safe to call twice and after the
  // window is gone.
  void UnSubClass();
  bool Subclassed() const { return subclass_.Installed(); }

  // The skin has a menu background to paint (a non-empty skin with a MenuitemBG image).
  bool CanPaint() const;
  // MenuBg := the MenuitemBG element rendered at the window's full size. Without a known menu
  // this skinner becomes the current popup skinner.
  void RenderBackground();

  HWND hwnd = nullptr;
  TSkinData* fsd = nullptr;
  int SelIndex = -1;
  forms::TBitmap MenuBg;  // the background at the window's size; empty until first painted
  HMENU hmenu = nullptr;
  bool ownerdraw = false;
  // Where the client area (the items' coordinates) starts in the window, as last rendered:
  // the items copy their background from MenuBg at their rectangle moved by it.
  POINT ClientOrigin{3, 3};

 private:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
  LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
  void PaintFrame(HDC dc);
  // The window has no frame of its own: its client area reaches under the skin's frame.
  bool FrameInsideClient() const;

  TWindowSubclass subclass_;
};

// The popup skinner that last painted without knowing its menu; null when none (or when it
// went).
TWinSkinPopMenu* CurrentPopupSkinner();

}  // namespace lbb::skin
