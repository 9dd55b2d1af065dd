// The item layer of skinned menus, shared by its two files: what one item shows (from a
// framework item or a native one), and drawing it in the skin's look or the plain look. Only
// the item layer's files include this.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "forms/Bitmap.h"
#include "forms/ImgList.h"
#include "forms/Menus.h"
#include "skin/forms/WinSkinMenu.h"
#include "skin/win/WinSkinData.h"

namespace lbb::skin {

// Everything an item's picture depends on.
struct TMenuItemLook {
  std::u16string caption;  // "-" for a separator
  forms::TShortCut shortcut = 0;
  std::u16string shortcutText;  // a native item's text after its tab; drawn instead of shortcut
  bool checked = false;
  bool enabled = true;
  bool isDefault = false;
  bool selected = false;
  bool rightToLeft = false;
  forms::TCustomImageList* images = nullptr;
  int imageIndex = -1;
  bool IsLine() const { return caption == u"-"; }
};

// The look of framework item `item`; `fallback` is the menu whose image list and reading
// order serve an item without a menu of its own.
TMenuItemLook LookOf(forms::TMenuItem& item, bool selected, forms::TMenu* fallback);

// Draws an item into `r` of `dc` in the skin's look: the background from the picture of the
// popup window `popup` that shows it (or the Menu colour without one), frame 4 (selected) or 1 of
// the MenuItem element and the content over it. `skinSeparator`: a separator is the line cut from
// frame 2 (framework items); otherwise a separator gets frame 1 and an etched line (native items).
// The skin must have a MenuItem image.
void DrawSkinnedItem(TSkinData& sd, HDC dc, const RECT& r, const TMenuItemLook& look,
                     const TWinSkinPopMenu* popup, bool skinSeparator);
// The plain look (no MenuItem element): Hilight when selected, else Menu, the content over it.
void DrawPlainItem(const TSkinData* sd, HDC dc, const RECT& r, const TMenuItemLook& look);
// Whether the skin has a MenuItem image to draw items with.
bool HasItemImage(const TSkinData* sd);
// The platform's menu font (bold for default items); owned by the item layer.
HFONT MenuFont(bool bold);

class TWinSkinForm;
// Remembers the menu a window was told is about to show (WM_INITMENUPOPUP): native items
// measured by their text are looked up in it.
void NoteMenuPopup(HMENU menu);
// Gives an item of the skinned system menu the item layer's drawing and the system menu's
// width rule; `alive` is the skinner's liveness flag.
void SkinSysMenuItem(TWinSkinForm& sf, forms::TMenuItem& item, const std::shared_ptr<bool>& alive);

}  // namespace lbb::skin
