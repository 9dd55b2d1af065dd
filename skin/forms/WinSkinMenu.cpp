#include "skin/forms/WinSkinMenu.h"

#include "skin/win/SkinMessages.h"

namespace lbb::skin {

TWinSkinPopMenu::TWinSkinPopMenu() = default;

TWinSkinPopMenu::~TWinSkinPopMenu() {
  UnSubClass();
}

bool TWinSkinPopMenu::InitSkin(HWND ahwnd, TSkinData* data, int /*amode*/) {
  hwnd = ahwnd;
  fsd = data;
  return subclass_.Install(ahwnd, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    return WndProc(msg, wParam, lParam);
  });
}

void TWinSkinPopMenu::UnSubClass() {
  subclass_.Restore();
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The painter of the menu's frame and items takes over more messages here.
  if (msg == SKM_ISSKINNED) return 1;
  return subclass_.CallPrevious(msg, wParam, lParam);
}

}  // namespace lbb::skin
