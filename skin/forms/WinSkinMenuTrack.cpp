// The painted menu bar's behaviour on the form skinner: making and freeing the bar, opening a
// button's drop-down with the platform's popup-menu tracking, the message-filter hook that
// slides to the neighbouring buttons with the mouse or the arrow keys while a drop-down is
// open, and the keyboard's way into the bar.
#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "forms/WindowGuard.h"
#include "skin/forms/FormManager.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinFormImpl.h"
#include "skin/forms/WinSkinMenuBar.h"
#include "skin/win/WinSkinSystem.h"

namespace lbb::skin {

namespace {

// TPM_NONOTIFY | TPM_RIGHTBUTTON, and with TPM_RIGHTALIGN for right-to-left windows.
constexpr UINT kTrackFlags = 0x82;
constexpr UINT kTrackFlagsRight = 0x8A;
constexpr UINT kOwnerDrawType = 0x100;  // MFT_OWNERDRAW
constexpr UINT kNoNotify = 0x80;        // TPM_NONOTIFY

wchar_t Upper(wchar_t c) {
  return static_cast<wchar_t>(std::towupper(c));
}

// The accelerator of a caption: the character after a single "&" ("&&" is a literal "&").
wchar_t AccelOf(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return caption[i + 1];
    ++i;
  }
  return 0;
}

bool Usable(const TMenuBtn& b) {
  return b.visible && !b.caption.empty();
}

// NT 4 keeps its own drop-down drawing.
bool KeepsNativeItems() {
  const DWORD v = SkinOsVersion();
  return (v & 0x80000000u) == 0 && LOBYTE(LOWORD(v)) == 4;
}

}  // namespace

TMenuTrackState& MenuTrackState() {
  static TMenuTrackState state;
  return state;
}

namespace {

// The items made owner-drawn for the drop-down that closed are plain again.
void TakeOwnerDrawBack() {
  for (const auto& [m, position] : std::exchange(MenuTrackState().ownerDrawn, {})) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    if (!IsMenu(m) || !GetMenuItemInfoW(m, position, TRUE, &mii)) continue;
    mii.fType &= ~kOwnerDrawType;
    SetMenuItemInfoW(m, position, TRUE, &mii);
  }
}

// ---- Alt+letter from a bare window's child

// Alt+letter typed in a child window (a plain program's edit box, say) comes to the child as
// WM_SYSCHAR; the platform then looks for a native menu bar, which a window with the painted
// band no longer has, and nothing opens. A framework form gets the character through its own
// dialog-character path; for the bare windows with a band, a message hook of their thread
// hands the character to the top-level window instead, whose keyboard menu opens the band's
// button (WM_SYSCOMMAND, SC_KEYMENU).
struct TBandWindows {
  std::mutex lock;
  std::vector<std::pair<HWND, DWORD>> windows;  // bare windows with a band, and their threads
  std::unordered_map<DWORD, HookHandle> hooks;  // one per thread that has such a window
};

TBandWindows& BandWindows() {
  static TBandWindows bands;
  return bands;
}

LRESULT CALLBACK BandKeyHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg && msg->message == WM_SYSCHAR &&
      (HIWORD(msg->lParam) & KF_ALTDOWN) && msg->wParam != L' ' &&
      (GetWindowLongW(msg->hwnd, GWL_STYLE) & WS_CHILD)) {
    HWND root = GetAncestor(msg->hwnd, GA_ROOT);
    TBandWindows& b = BandWindows();
    std::lock_guard guard(b.lock);
    if (std::any_of(b.windows.begin(), b.windows.end(), [&](auto& w) { return w.first == root; }))
      msg->hwnd = root;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void AddBandWindow(HWND hwnd) {
  TBandWindows& b = BandWindows();
  std::lock_guard guard(b.lock);
  const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
  b.windows.emplace_back(hwnd, thread);
  if (!b.hooks.count(thread))
    b.hooks[thread].reset(SetWindowsHookExW(WH_GETMESSAGE, &BandKeyHook, nullptr, thread));
}

void RemoveBandWindow(HWND hwnd) {
  TBandWindows& b = BandWindows();
  std::lock_guard guard(b.lock);
  auto at =
      std::find_if(b.windows.begin(), b.windows.end(), [&](auto& w) { return w.first == hwnd; });
  if (at == b.windows.end()) return;
  const DWORD thread = at->second;
  b.windows.erase(at);
  const bool threadHasMore =
      std::any_of(b.windows.begin(), b.windows.end(), [&](auto& w) { return w.second == thread; });
  if (!threadHasMore) b.hooks.erase(thread);
}

}  // namespace

// ---- the bar's lifetime

void TWinSkinForm::MakeMenuBar() {
  if (menu) return;
  menu = std::make_unique<TWinSkinMenu>(this);
  menu->SF = this;
  menu->FSD = fsd;
  menu->UpdataBtn();
  if (!FForm && Hwnd) AddBandWindow(Hwnd);
}

void TWinSkinForm::FreeMenuBar() {
  TMenuTrackState& t = MenuTrackState();
  if (t.form == this) {
    t.form = nullptr;
    if (fInMenu) EndMenu();
  }
  if (dynamic_cast<TMenuBtn*>(ActiveBtn)) ActiveBtn = nullptr;
  if (menu) RemoveBandWindow(Hwnd);
  menu.reset();
}

RECT TWinSkinForm::MenuBandRect() const {
  RECT w{};
  GetWindowRect(Hwnd, &w);
  return RECT{bw.left, bw.top, (w.right - w.left) - bw.right, bw.top + MenuHeight};
}

void TWinSkinForm::RepaintMenuBand() {
  if (!menu || !IsWindow(Hwnd) || MenuHeight <= 0 || IsIconic(Hwnd)) return;
  if (Skinstate != kSkinIdle && Skinstate != kSkinChanging) return;
  lbb::WindowDc dc(Hwnd, true);
  if (dc.get()) menu->DrawMenu(dc.get(), MenuBandRect());
}

void TWinSkinForm::UpdateMainMenu() {
  if (!menu || !IsWindow(Hwnd)) return;
  menu->UpdataBtn();
  RepaintMenuBand();
}

// ---- opening a drop-down

void TWinSkinForm::PressMenuBtn(TMenuBtn* button) {
  if (fInMenu) return;  // a drop-down is open already: its loop goes on
  const auto alive = impl->alive;
  button->MouseDown();
  CheckMenu(button);
  if (!*alive) return;
  // The button (or the one the drop-down slid to) shows normal again; the buttons may have
  // been rebuilt meanwhile, which forgets ActiveBtn.
  if (dynamic_cast<TMenuBtn*>(ActiveBtn)) ActiveBtn->MouseLeave();
}

bool TWinSkinForm::CheckMenu(TMenuBtn* button) {
  TMenuTrackState& t = MenuTrackState();
  t.switching = false;
  if (!button || fInMenu) return false;
  // The command of a top-level item (a framework item's click handler fills its drop-down);
  // a plain window's drop-down item has no command of its own, a disabled item none at all.
  if (button->enabled && (!button->hsubmenu || button->menuitem))
    PostMessageW(Hwnd, WM_COMMAND, static_cast<WPARAM>(button->mid), 0);
  if (!button->hsubmenu) return false;
  t.index = button->index;
  t.form = this;
  if (!KeepsNativeItems()) MakeOwnerDraw(button->hsubmenu);
  fInMenu = true;
  RECT w{};
  GetWindowRect(Hwnd, &w);
  const POINT anchor{w.left + (bidileft ? button->bounds.right : button->bounds.left),
                     w.top + button->bounds.bottom};
  if (TFormManagerSeam* mgr = FormManager()) mgr->MenuOpening(mtMenuBar, true);
  activemenu = button->hsubmenu;
  InstallMenuHook();
  const auto alive = impl->alive;
  if (button->enabled) {
    // A message for the loop's first turn: the filter highlights the first item on it.
    PostMessageW(Hwnd, WM_NULL, 0, 0);
    // A bare window's program is told of its drop-downs as it is of its own menu bar's
    // (WM_INITMENUPOPUP, WM_MENUSELECT, WM_ENTERIDLE...): programs grey, check or fill their
    // items there (a text editor greys Cut without a selection). Form objects fill theirs
    // through their items' handlers.
    UINT flags = bidileft ? kTrackFlagsRight : kTrackFlags;
    if (!FForm) flags &= ~kNoNotify;
    TrackPopupMenu(button->hsubmenu, flags, anchor.x, anchor.y, 0, Hwnd, nullptr);
  }
  const int next = std::exchange(t.candidate, -1);
  RemoveMenuHook();
  TakeOwnerDrawBack();
  if (!*alive) return true;
  fInMenu = false;
  activemenu = nullptr;
  // The slide to a neighbour: its press goes through the usual non-client path once this
  // loop is over.
  if (menu && next >= 0 && next < static_cast<int>(menu->Buttons.size()))
    ClickButton(menu->Buttons[static_cast<size_t>(next)].get());
  return true;
}

void TWinSkinForm::ClickButton(TMenuBtn* button) {
  if (!button || !IsWindow(Hwnd)) return;
  RECT w{};
  GetWindowRect(Hwnd, &w);
  PostMessageW(Hwnd, WM_NCLBUTTONDOWN, HTCLIENT,
               MAKELPARAM(button->bounds.left + w.left + 1, button->bounds.top + w.top + 1));
}

void TWinSkinForm::OpenMenuAt(forms::TMessage& m) {
  const TFramePoint p = ScreenToFrame(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  m.Msg = 0;
  m.Result = 0;
  if (TMenuBtn* b = menu ? menu->FindBtn(p.X, p.Y) : nullptr) PressMenuBtn(b);
}

void TWinSkinForm::MakeOwnerDraw(HMENU amenu) {
  const int n = GetMenuItemCount(amenu);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(amenu, static_cast<UINT>(i), TRUE, &mii)) continue;
    if (!(mii.fType & kOwnerDrawType)) {
      mii.fMask = MIIM_FTYPE;
      mii.fType |= kOwnerDrawType;
      if (SetMenuItemInfoW(amenu, static_cast<UINT>(i), TRUE, &mii))
        MenuTrackState().ownerDrawn.emplace_back(amenu, static_cast<UINT>(i));
    }
    if (mii.hSubMenu) MakeOwnerDraw(mii.hSubMenu);
  }
}

// ---- popup menus the program tracks

// Menus of form objects have item handlers of their own and the bar's drop-downs are made
// owner-drawn as the bar opens them; what is left are the popup menus a bare window's program
// tracks itself (a context menu, a menu on a key): drawn by the platform, their items would
// sit on the native menu colour inside the skin's menu frame.
void TWinSkinForm::OnProgramMenuOpening(HMENU popup, bool windowMenu) {
  if (FForm || fInMenu || windowMenu || !popup || popup == hsysmenu || KeepsNativeItems()) return;
  if (!fsd || fsd->Empty || !InSet(fsd->SkinControls(), xcPopupMenu)) return;
  if (!programMenu) {
    programMenu = true;
    activemenu = popup;  // the items are measured and drawn from it
  }
  MakeOwnerDraw(popup);
}

// A drop-down of the band that a bare window's program was just told of: items the program
// added or remade meanwhile are drawn by the skin as well.
void TWinSkinForm::OnProgramToldOfDropDown(HMENU popup) {
  if (FForm || !fInMenu || !popup || popup == hsysmenu || KeepsNativeItems()) return;
  MakeOwnerDraw(popup);
}

void TWinSkinForm::OnMenuLoopEnd() {
  if (!programMenu) return;
  programMenu = false;
  activemenu = nullptr;
  TakeOwnerDrawBack();
}

bool TWinSkinForm::DrawsMenuItem(HMENU shown, UINT id) const {
  if (FForm) return true;
  const auto& made = MenuTrackState().ownerDrawn;
  return std::any_of(made.begin(), made.end(), [&](const auto& item) {
    if (shown && item.first != shown) return false;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID;
    return GetMenuItemInfoW(item.first, item.second, TRUE, &mii) && mii.wID == id;
  });
}

// ---- the keyboard's way in

TMenuBtn* TWinSkinForm::FindAccelBtn(wchar_t ch) const {
  if (!menu || ch == 0) return nullptr;
  for (const auto& b : menu->Buttons) {
    if (!b->enabled || !Usable(*b)) continue;
    const wchar_t accel = AccelOf(b->caption);
    if (accel && Upper(accel) == Upper(ch)) return b.get();
  }
  return nullptr;
}

TMenuBtn* TWinSkinForm::NextMenuBtn(bool forward) const {
  if (!menu || menu->Buttons.empty()) return nullptr;
  const int n = static_cast<int>(menu->Buttons.size());
  int i = MenuTrackState().index;
  if (i < 0 || i >= n) i = forward ? -1 : n;
  for (int step = 0; step < n; ++step) {
    i = forward ? (i + 1) % n : (i - 1 + n) % n;
    TMenuBtn& b = *menu->Buttons[static_cast<size_t>(i)];
    if (Usable(b)) return &b;
  }
  return nullptr;
}

bool TWinSkinForm::OpenMenuByKey(wchar_t ch) {
  if (!menu) return false;
  TMenuBtn* b = ch == 0 ? NextMenuBtn(true) : FindAccelBtn(ch);
  if (!b) return false;
  ClickButton(b);
  return true;
}

// ---- the hook

void TWinSkinForm::InstallMenuHook() {
  TMenuTrackState& t = MenuTrackState();
  t.switching = false;
  t.firstKey = false;
  t.candidate = -1;
  GetCursorPos(&t.lastMouse);
  if (t.hook) return;
  t.hook.reset(SetWindowsHookExW(WH_MSGFILTER, &MenuMsgFilter, nullptr, GetCurrentThreadId()));
  if (t.hook) ++t.hookInstalls;
}

void TWinSkinForm::RemoveMenuHook() {
  TMenuTrackState& t = MenuTrackState();
  t.hook.reset();
  t.item = nullptr;
  t.itemMenu = t.itemSubmenu = nullptr;
  t.index = -1;
  t.firstKey = false;
  t.form = nullptr;
}

LRESULT CALLBACK TWinSkinForm::MenuMsgFilter(int code, WPARAM wParam, LPARAM lParam) {
  TMenuTrackState& t = MenuTrackState();
  auto* msg = reinterpret_cast<MSG*>(lParam);
  TWinSkinForm* f = t.form;
  return forms::GuardCallback(
      [&] {
        if (code == MSGF_MENU && f && msg) f->MirrorArrows(*msg);
        const LRESULT r = CallNextHookEx(t.hook.get(), code, wParam, lParam);
        if (r != 0 || code != MSGF_MENU || !f || !msg || !f->fInMenu) return r;
        f->FilterMenuMessage(*msg);
        return r;
      },
      [] { return LRESULT{0}; });  // the menu loop goes on with the message as it came
}

void TWinSkinForm::MirrorArrows(MSG& msg) const {
  if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP) return;
  if (!menu || !menu->RightToLeft()) return;
  if (msg.wParam == VK_LEFT)
    msg.wParam = VK_RIGHT;
  else if (msg.wParam == VK_RIGHT)
    msg.wParam = VK_LEFT;
}

void TWinSkinForm::FilterMenuMessage(MSG& msg) {
  TMenuTrackState& t = MenuTrackState();
  if (!t.firstKey) {
    t.firstKey = true;
    PostMessageW(msg.hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  int candidate = -1;
  switch (msg.message) {
    case WM_KEYDOWN:
      candidate = KeyCandidate(msg.wParam);
      break;
    case WM_SYSKEYDOWN:
      if (msg.wParam == VK_MENU) fInMenu = false;
      return;
    case WM_MENUSELECT:
      MenuSelected(msg.wParam, msg.lParam);
      return;
    case WM_MOUSEMOVE:
      candidate = MouseCandidate(msg.pt);
      break;
    default:
      break;
  }
  if (candidate < 0 || candidate == t.index || t.candidate >= 0) return;
  t.switching = true;
  t.candidate = candidate;
  EndMenu();
}

int TWinSkinForm::KeyCandidate(WPARAM key) const {
  TMenuTrackState& t = MenuTrackState();
  TMenuBtn* next = nullptr;
  switch (key) {
    case VK_RETURN:
    case VK_ESCAPE:
      t.switching = false;
      return -1;
    case VK_LEFT: {
      // Inside a deeper submenu Left only closes that submenu.
      const bool deeper = t.itemMenu && t.itemMenu != activemenu && t.itemSubmenu != activemenu;
      if (!deeper) next = NextMenuBtn(false);
      break;
    }
    case VK_RIGHT:
      // On an item with sub-items Right opens them.
      if (!t.itemSubmenu) next = NextMenuBtn(true);
      break;
    default:
      break;
  }
  return next ? next->index : -1;
}

int TWinSkinForm::MouseCandidate(POINT screen) const {
  TMenuTrackState& t = MenuTrackState();
  if (screen.x == t.lastMouse.x && screen.y == t.lastMouse.y) return -1;
  t.lastMouse = screen;
  const TFramePoint p = ScreenToFrame(screen);
  const TMenuBtn* b = menu ? menu->FindBtn(p.X, p.Y) : nullptr;
  return b ? b->index : -1;
}

void TWinSkinForm::MenuSelected(WPARAM wParam, LPARAM lParam) {
  TMenuTrackState& t = MenuTrackState();
  const UINT flags = HIWORD(wParam);
  auto* selectedIn = reinterpret_cast<HMENU>(lParam);
  if (flags == 0xFFFF && !selectedIn) {
    if (!t.switching) fInMenu = false;
    return;
  }
  t.switching = false;
  t.itemMenu = selectedIn;
  const UINT id = LOWORD(wParam);
  t.itemSubmenu = (flags & MF_POPUP) ? GetSubMenu(selectedIn, static_cast<int>(id)) : nullptr;
  forms::TMainMenu* framework = menu ? menu->menu : nullptr;
  if (!framework)
    t.item = nullptr;
  else
    t.item = t.itemSubmenu ? framework->FindItemByHandle(t.itemSubmenu) : framework->FindItem(id);
}

void TWinSkinForm::OnMenuSelect(forms::TMessage& m) {
  if (fInMenu && MenuTrackState().form == this) MenuSelected(m.WParam, m.LParam);
  CallDefault(m);
}

}  // namespace lbb::skin
