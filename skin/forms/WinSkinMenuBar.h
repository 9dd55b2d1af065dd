// The painted menu bar of a skinned window. The form skinner takes the window's native menu
// away; TWinSkinMenu paints the top-level items as TMenuBtn buttons in the band of
// MenuHeight pixels between the caption and the client area, from the skin's Menubar element
// (or its Menubar colour). Pressing a button opens the item's native drop-down under it with
// the platform's popup-menu tracking; a message-filter hook lets the user slide to the
// neighbouring items with the mouse or the arrow keys while a drop-down is open (the tracking
// is in WinSkinMenuTrack.cpp, on the form skinner).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/win/Handles.h"
#include "forms/Menus.h"
#include "skin/data/MenuBarGeometry.h"
#include "skin/forms/NCObject.h"
#include "skin/win/DibSurface.h"

namespace lbb::skin {

class TWinSkinForm;
class TSkinData;

// One top-level item of the bar: a non-client object of the form skinner, so that the
// frame's hover and press machinery drives it.
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinForm* sf, TSkinData* sd) : TNCObject(sf, sd) {}
  // Repaints the button in its state straight onto the window.
  void Draw() override;

  forms::TMenuItem* menuitem = nullptr;
  TSkinData* FSD = nullptr;
  int index = 0;
  std::wstring caption;  // may hold an "&" accelerator marker
  HMENU hsubmenu = nullptr;
  int mid = 0;
};

class TWinSkinMenu : public forms::TComponent {
 public:
  explicit TWinSkinMenu(forms::TComponent* AOwner);
  ~TWinSkinMenu() override;

  // Rebuilds the buttons from the window's native menu (the framework menu's items give the
  // caption, state and drop-down of the items they made) and takes the menu from the window.
  void UpdataBtn();
  // The same from the framework main menu's top-level items.
  void UpdataBtn1();
  // Rebuild after an MDI frame's menu changed, then the layout.
  void UpdataBtn2(HMENU newmenu);
  // Paints the band into `dc` at band rectangle `B` (frame coordinates) and lays out the
  // buttons.
  void DrawMenu(HDC dc, const RECT& B);
  // Lays out the buttons without painting.
  void SetMenuRect();
  // The button at frame point (x, y) with a caption; null when none.
  TMenuBtn* FindBtn(int x, int y) const;
  void MouseMove(POINT) {}
  // Whether the framework menu reads right to left.
  bool RightToLeft() const;

  std::vector<std::unique_ptr<TMenuBtn>> Buttons;
  forms::TMainMenu* menu = nullptr;
  RECT Bar{};
  TSkinData* FSD = nullptr;
  TWinSkinForm* SF = nullptr;
  std::unique_ptr<TDibSurface> bkmap;
  int count = 0;
  HMENU hmenu = nullptr;
  // The platform's menu font at the skin's resolution (made when first needed).
  HFONT BarFont();

 private:
  lbb::FontHandle font;
  int fontDpi = 0;
  // Frees the buttons; the skinner's ActiveBtn forgets the one it held.
  void ClearButtons();
  // Step 1 of the rebuilds: hmenu from the window (kept when it has none any more), the
  // framework menu; false when there is nothing to build from.
  bool ReadMenus();
  void BuildFromNative(bool skipEmptyLookup);
  std::unique_ptr<TMenuBtn> NativeButton(int position, bool skipEmptyLookup);
  void TakeFromWindow();
  // The layout of all buttons in band `B` measured on `dc` (its font selected).
  void Layout(HDC dc, const RECT& B, bool draw);
  int StartOffset(int bandWidth) const;
  int RightLimit(const RECT& B, int start) const;
  std::vector<TRect> MdiButtonBounds() const;
  void PaintBackground(PixelBuffer& px, int w, int h) const;
  void DrawMdiButtons(PixelBuffer& px, const RECT& B);
};

// Draws a button's caption into `r` on `dc` (its menu font selected) in the bar's colours.
void DrawMenuBtnCaption(HDC dc, const TMenuBtn& b, RECT r);

// The process-wide state of the drop-down opened from a menu bar (one at a time).
struct TMenuTrackState {
  TWinSkinForm* form = nullptr;      // the tracking form skinner
  int index = -1;                    // the current top-level index
  bool switching = false;            // a slide to another top-level item is under way
  bool firstKey = false;             // the Down key has been sent into the current drop-down
  forms::TMenuItem* item = nullptr;  // the highlighted framework item
  HMENU itemMenu = nullptr;          // the drop-down holding the highlighted item
  HMENU itemSubmenu = nullptr;       // the highlighted item's own drop-down
  POINT lastMouse{};                 // screen
  lbb::HookHandle hook;
  int candidate = -1;    // the neighbour's index, opened once the drop-down has closed
  int hookInstalls = 0;  // how many hooks were installed (observed by tests)
  // The items MakeOwnerDraw made owner-drawn (menu, position): plain again once the drop-down
  // has closed, so that a window given its menu back finds it as it was.
  std::vector<std::pair<HMENU, UINT>> ownerDrawn;
};
TMenuTrackState& MenuTrackState();

}  // namespace lbb::skin
