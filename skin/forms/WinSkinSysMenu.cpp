// The skinned system menu of a skinned frame: shown by a right click on the caption or by the
// window-icon button, built from the window's native system menu (or a fallback of five
// items), its items drawn by the item layer with the skin's system-menu images and widened by
// the system menu's width rule.
#include <algorithm>

#include "base/win/WideText.h"
#include "skin/forms/FormManager.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinFormImpl.h"
#include "skin/forms/WinSkinMenuItem.h"
#include "skin/win/WinSkinSystem.h"

namespace lbb::skin {

namespace {

constexpr int64_t kSysMenuTag = 0x8235;
constexpr int kMaxItemText = 80;
// The fallback menu's separator action.
constexpr int kSeparatorAction = 100;
// A native item state of exactly MFS_GRAYED disables the skinned item; the checked bit checks it.
constexpr UINT kGrayedState = 3;
constexpr UINT kCheckedBit = 8;

bool OldNtPlatform() {
  const DWORD v = SkinOsVersion();
  return (v & 0x80000000u) == 0 && LOBYTE(LOWORD(v)) < 5;
}

bool NinetyFamily() {
  return (SkinOsVersion() & 0x80000000u) != 0;
}

}  // namespace

void TWinSkinForm::PopupSysMenu(POINT screen, bool byMouse) {
  TFormManagerSeam* mgr = FormManager();
  if (mgr && mgr->ManagerMode() != 0) return;
  const unsigned now = GetTickCount();
  if (byMouse && now - poptime <= static_cast<unsigned>(DoubleTime)) {
    // A second right click within the double-click time closes the window when a caption
    // button is hot, and does nothing otherwise.
    if (ActiveBtn) {
      timer.Stop();
      PostMessageW(Hwnd, WM_CLOSE, 0, 0);
    }
    return;
  }
  if (mgr) mgr->MenuOpening(mtSystem);
  if (byMouse) poptime = now;
  BuildSysMenu();
  if (!sysmenu) return;
  // The menu is held here while it shows: a skin change or an unskinning during the modal
  // menu loop frees the skinner's reference, never the menu being tracked.
  std::unique_ptr<forms::TPopupMenu> shown = std::move(sysmenu);
  const std::shared_ptr<bool> alive = impl->alive;
  trackedSysmenu = shown.get();  // its items are measured and drawn while it shows
  shown->Popup(screen.x, screen.y);
  if (!*alive) return;
  trackedSysmenu = nullptr;
  if (!sysmenu) sysmenu = std::move(shown);
}

void TWinSkinForm::BuildSysMenu() {
  sysmenu.reset();
  if (OldNtPlatform()) {
    BuildDefaultSysMenu();
    return;
  }
  HMENU native = GetSystemMenu(Hwnd, FALSE);
  if (!native) return;
  sysmenu = std::make_unique<forms::TPopupMenu>(nullptr);
  sysmenu->SetTag(kSysMenuTag);
  sysmenu->SetOwnerDraw(true);
  if (fsd) sysmenu->SetImages(&fsd->bmpmenu);
  const bool maximised = Windowstate == TSkinWindowState::swsMax;
  const bool minimised = Windowstate == TSkinWindowState::swsMin;
  const int count = GetMenuItemCount(native);
  for (int i = 0; i < count; ++i) {
    wchar_t text[kMaxItemText + 1] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = kMaxItemText + 1;
    if (!GetMenuItemInfoW(native, static_cast<UINT>(i), TRUE, &mii)) continue;
    auto* item = new forms::TMenuItem(sysmenu.get());
    const std::u16string itemText = lbb::FromWide(text);
    item->SetCaption(itemText.empty() ? u"-" : itemText);
    const UINT id = mii.wID;
    item->SetTag(id);
    bool enabled = true;
    int image = -1;
    switch (id & 0xFFF0) {
      case SC_SIZE:
      case SC_MOVE:
        enabled = !maximised;
        break;
      case SC_MINIMIZE:
        image = 2;
        enabled = !minimised && (FormIcons & sbiMin);
        break;
      case SC_MAXIMIZE:
        image = 1;
        enabled = !maximised && (FormIcons & sbiMax);
        break;
      case SC_CLOSE:
        image = 3;
        break;
      case SC_RESTORE:
        image = 0;
        enabled = Windowstate != TSkinWindowState::swsNormal;
        break;
      default:
        break;
    }
    // Grayed whatever else the state holds (the default item, a check mark).
    if ((mii.fState & kGrayedState) == kGrayedState) enabled = false;
    item->SetImageIndex(image);
    item->SetEnabled(enabled);
    item->SetChecked((mii.fState & kCheckedBit) != 0);
    HWND hwnd = Hwnd;
    item->OnClick = [hwnd, id](forms::TObject*) { PostMessageW(hwnd, WM_SYSCOMMAND, id, 0); };
    SkinSysMenuItem(*this, *item, impl->alive);
    sysmenu->Items()->Add(item);
  }
}

void TWinSkinForm::BuildDefaultSysMenu() {
  sysmenu = std::make_unique<forms::TPopupMenu>(nullptr);
  sysmenu->SetTag(kSysMenuTag);
  sysmenu->SetOwnerDraw(true);
  if (fsd) sysmenu->SetImages(&fsd->bmpmenu);
  AddSysMenuitem(u" Restore ", 0);
  if (FormIcons & sbiMax) AddSysMenuitem(u" Maximize ", 1);
  if (FormIcons & sbiMin) AddSysMenuitem(u" Minimize ", 2);
  AddSysMenuitem(u"-", kSeparatorAction);
  AddSysMenuitem(u" Close ", 3);
}

void TWinSkinForm::AddSysMenuitem(const std::u16string& acaption, int action) {
  if (!sysmenu) return;
  auto* item = new forms::TMenuItem(sysmenu.get());
  item->SetCaption(acaption);
  item->SetTag(action);
  item->SetImageIndex(action);
  if (action == 3) item->SetShortCut(forms::scAlt | VK_F4);
  const std::shared_ptr<bool> alive = impl->alive;
  item->OnClick = [this, alive, action](forms::TObject*) {
    if (!*alive) return;
    switch (action) {
      case 0:
        Restore();
        break;
      case 1:
        Maximize();
        break;
      case 2:
        Minimize();
        break;
      case 3:
        timer.Stop();
        PostMessageW(Hwnd, WM_CLOSE, 0, 0);
        break;
      default:
        break;
    }
  };
  SkinSysMenuItem(*this, *item, alive);
  sysmenu->Items()->Add(item);
}

bool TWinSkinForm::HasCloseItem() const {
  if (OldNtPlatform() || NinetyFamily()) return true;
  HMENU native = GetSystemMenu(Hwnd, FALSE);
  return native && GetMenuState(native, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

}  // namespace lbb::skin
