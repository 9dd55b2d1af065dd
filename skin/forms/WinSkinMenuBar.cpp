// The painted menu bar: its buttons built from the window's native menu (or the framework
// main menu), the band painted from the skin and the buttons laid out in it, and one button
// redrawn in its state.
#include "skin/forms/WinSkinMenuBar.h"

#include <algorithm>

#include "base/win/WideText.h"
#include "skin/data/SkinScale.h"
#include "skin/data/imgutil.h"
#include "skin/forms/FormManager.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/win/SkinRects.h"
#include "skin/win/WinSkinSystem.h"

namespace lbb::skin {

namespace {

constexpr UINT kCaptionFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
constexpr int kMaxCaption = 80;

// The surface the band and single buttons are composed in before they go to the window.
TDibSurface& WorkSurface() {
  static TDibSurface surface;
  return surface;
}

HFONT FontOf(const lbb::FontHandle& font) {
  return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Whether the platform builds the bar from the framework items (NT before 5, and 4.0).
bool OldPlatform() {
  const DWORD v = SkinOsVersion();
  const int major = LOBYTE(LOWORD(v)), minor = HIBYTE(LOWORD(v));
  const bool nt = (v & 0x80000000u) == 0;
  return (nt && major < 5) || (major == 4 && minor == 0);
}

void CopyPixels(const PixelBuffer& from, PixelBuffer& to, int w, int h) {
  for (int y = 0; y < h; ++y)
    std::copy(from.Row(y), from.Row(y) + w, to.Row(y));
}

}  // namespace

void DrawMenuBtnCaption(HDC dc, const TMenuBtn& b, RECT r) {
  if (!b.FSD || b.caption.empty()) return;
  // A disabled caption is written in the platform's button-shadow colour, whatever the skin.
  SetTextColor(dc, b.enabled ? b.FSD->SchemeRGB(kShemeMenuBarText) : GetSysColor(COLOR_BTNSHADOW));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, b.caption.c_str(), static_cast<int>(b.caption.size()), &r, kCaptionFlags);
  SetBkMode(dc, oldMode);
}

TWinSkinMenu::TWinSkinMenu(forms::TComponent* AOwner)
    : forms::TComponent(AOwner), bkmap(std::make_unique<TDibSurface>()) {}

TWinSkinMenu::~TWinSkinMenu() {
  BeginDestroy();
  // The skinner forgets its ActiveBtn before it frees the bar (it may be gone already when
  // the bar goes down with it as its owner).
  Buttons.clear();
  bkmap.reset();
}

HFONT TWinSkinMenu::BarFont() {
  // Made again when the skin moved to a screen of another resolution.
  const int dpi = FSD ? FSD->TargetDpi() : forms::ScreenPixelsPerInch();
  if (!font || fontDpi != dpi) {
    font = NonClientFont(&NONCLIENTMETRICSW::lfMenuFont, dpi);
    fontDpi = dpi;
  }
  return FontOf(font);
}

bool TWinSkinMenu::RightToLeft() const {
  if (menu) return menu->IsRightToLeft();
  if (!hmenu || GetMenuItemCount(hmenu) <= 0) return false;
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(hmenu, 0, TRUE, &mii) && (mii.fType & MFT_RIGHTORDER) != 0;
}

// ---- building the buttons

bool TWinSkinMenu::ReadMenus() {
  if (!SF) return false;
  // The window's menu, else the one the skinner took last (a framework form rebuilds its menu
  // and hands it over through the skinner), else the last one known.
  if (HMENU now = GetMenu(SF->Hwnd))
    hmenu = now;
  else if (SF->NativeMenu() && IsMenu(SF->NativeMenu()))
    hmenu = SF->NativeMenu();
  if (!hmenu || !IsMenu(hmenu)) return false;
  menu = SF->FForm ? SF->FForm->Menu() : nullptr;
  return true;
}

void TWinSkinMenu::TakeFromWindow() {
  SF->HoldNativeMenu(hmenu);
  if (GetMenu(SF->Hwnd)) SetMenu(SF->Hwnd, nullptr);
}

void TWinSkinMenu::UpdataBtn() {
  if (OldPlatform() && SF && SF->FForm && SF->FForm->Menu()) {
    UpdataBtn1();
    return;
  }
  if (!ReadMenus()) return;
  BuildFromNative(false);
  TakeFromWindow();
}

void TWinSkinMenu::UpdataBtn1() {
  if (!ReadMenus() || !menu) return;
  ClearButtons();
  forms::TMenuItem* root = menu->Items();
  count = root->Count();
  for (int i = 0; i < count; ++i) {
    forms::TMenuItem* it = root->Items(i);
    auto b = std::make_unique<TMenuBtn>(SF, FSD);
    b->FSD = FSD;
    b->index = i;
    b->visible = it->Visible();
    b->enabled = it->Enabled();
    b->mid = static_cast<int>(it->Command());
    b->caption = lbb::Wide(it->Caption());
    b->menuitem = it;
    b->hsubmenu = it->Count() > 0 ? it->Handle() : nullptr;
    Buttons.push_back(std::move(b));
  }
  TakeFromWindow();
}

void TWinSkinMenu::UpdataBtn2(HMENU newmenu) {
  if (newmenu && IsMenu(newmenu)) hmenu = newmenu;
  if (!ReadMenus()) return;
  BuildFromNative(true);
  TakeFromWindow();
  SetMenuRect();
}

void TWinSkinMenu::ClearButtons() {
  // The hover and the press machinery hold the button under the mouse as the skinner's
  // ActiveBtn: it is forgotten with the buttons, so that no later hint tick, mouse move or
  // leave reaches a freed one.
  if (SF)
    for (const auto& b : Buttons)
      if (SF->ActiveBtn == b.get()) SF->ActiveBtn = nullptr;
  Buttons.clear();
}

void TWinSkinMenu::BuildFromNative(bool skipEmptyLookup) {
  ClearButtons();
  count = std::max(0, GetMenuItemCount(hmenu));
  for (int i = 0; i < count; ++i)
    Buttons.push_back(NativeButton(i, skipEmptyLookup));
}

std::unique_ptr<TMenuBtn> TWinSkinMenu::NativeButton(int position, bool skipEmptyLookup) {
  auto b = std::make_unique<TMenuBtn>(SF, FSD);
  b->FSD = FSD;
  b->index = position;
  b->visible = true;
  wchar_t text[kMaxCaption + 1] = {};
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  mii.dwTypeData = text;
  mii.cch = kMaxCaption + 1;
  if (!GetMenuItemInfoW(hmenu, static_cast<UINT>(position), TRUE, &mii)) mii = MENUITEMINFOW{};
  b->hsubmenu = mii.hSubMenu;
  b->enabled = (mii.fState & (MF_GRAYED | MF_DISABLED)) == 0;
  b->mid = static_cast<int>(mii.wID);
  b->caption = text;
  if (!menu || (skipEmptyLookup && b->caption.empty())) return b;
  forms::TMenuItem* it = menu->FindItem(mii.wID);
  if (!it || it == menu->Items()) return b;
  b->caption = lbb::Wide(it->Caption());
  b->enabled = it->Enabled();
  b->menuitem = it;
  b->hsubmenu = it->Count() > 0 ? it->Handle() : nullptr;
  return b;
}

// ---- layout and painting

int TWinSkinMenu::StartOffset(int bandWidth) const {
  const TDataSkinObject* e = SF->fsd ? SF->fsd->Menubar.get() : nullptr;
  const bool has = e && !e->Map.Empty();
  return MenuBarStart(has, has ? e->r : TRect{}, RightToLeft(), bandWidth, SkinDpi(FSD));
}

std::vector<TRect> TWinSkinMenu::MdiButtonBounds() const {
  std::vector<TRect> out;
  if (SF->FormStyle != TSkinFormStyle::sfsMDIform || !SF->MDIChildMax()) return out;
  for (const auto& b : SF->SysBtn)
    if (b->data->Visibility == 100 && !b->data->Map.Empty() && b->visible)
      out.push_back(TRect{b->bounds.left, b->bounds.top, b->bounds.right, b->bounds.bottom});
  return out;
}

int TWinSkinMenu::RightLimit(const RECT& B, int start) const {
  return MenuBarRightLimit(ToSkin(B), start, MdiButtonBounds(), SkinDpi(FSD));
}

void TWinSkinMenu::Layout(HDC dc, const RECT& B, bool draw) {
  const bool rtl = RightToLeft();
  const int start = StartOffset(B.right - B.left);
  std::vector<TMenuBarEntry> entries;
  entries.reserve(Buttons.size());
  for (const auto& b : Buttons) {
    RECT measured{0, 0, 0, 0};
    if (b->visible && !b->caption.empty())
      DrawTextW(dc, b->caption.c_str(), static_cast<int>(b->caption.size()), &measured,
                DT_SINGLELINE | DT_NOCLIP | DT_CALCRECT);
    entries.push_back(
        TMenuBarEntry{b->visible, MenuButtonWidth(measured.right - measured.left, SkinDpi(FSD))});
  }
  const int limit = rtl ? RightLimit(B, start) : 0;
  const auto places = LayoutMenuBar(ToSkin(B), start, rtl, entries, limit);
  for (size_t i = 0; i < Buttons.size(); ++i) {
    TMenuBtn& b = *Buttons[i];
    const TRect& r = places[i].Bounds;
    b.bounds = ToRect(r);
    if (!draw || !b.visible) continue;
    const TRect& item = places[i].Item;
    DrawMenuBtnCaption(dc, b, ToRect(item));
  }
}

void TWinSkinMenu::PaintBackground(PixelBuffer& px, int w, int h) const {
  const TDataSkinObject* e = SF->fsd->Menubar.get();
  const TRect target{0, 0, w, h};
  if (!e || e->Map.Empty()) {
    const Pixel fill = PixelOf(SF->fsd->SchemeRGB(kShemeMenubar));
    for (int y = 0; y < h; ++y)
      std::fill(px.Row(y), px.Row(y) + w, fill);
    return;
  }
  const int index = SF->WindowActive() ? 1 : 2;
  if (e->Tile == 1)
    DrawSkinImage(px, target, e->Map, true, false, false, 2, index, e->r);
  else
    DrawSkinHorz(px, target, e->Map, true, false, 2, index, TRect{e->r.Left, 0, e->r.Right, 0});
}

void TWinSkinMenu::DrawMdiButtons(PixelBuffer& px, const RECT& B) {
  const std::vector<TRect> bounds = MdiButtonBounds();
  if (bounds.empty()) return;
  for (const auto& b : SF->SysBtn) {
    const TDataSkinSysButton& d = *b->data;
    if (d.Visibility != 100 || d.Map.Empty() || !b->visible) continue;
    const RECT& r = b->bounds;
    DrawSkinFrame(px, TRect{r.left - B.left, r.top - B.top, r.right - B.left, r.bottom - B.top},
                  d.Map, true, std::max(1, d.frame), 1);
  }
  if (TFormManagerSeam* mgr = FormManager(); mgr && !mgr->MDIMaximised()) mgr->SetMDIMax(true);
}

void TWinSkinMenu::DrawMenu(HDC dc, const RECT& B) {
  const int w = B.right - B.left, h = B.bottom - B.top;
  if (w <= 0 || h <= 0 || !SF || !SF->fsd) return;
  FSD = SF->fsd;
  for (auto& b : Buttons)
    b->FSD = b->fsd = FSD;
  TDibSurface& work = WorkSurface();
  if (!work.Reserve(w, h) || !bkmap->Reserve(w, h)) return;
  PaintBackground(work.Pixels(), w, h);
  Bar = B;
  CopyPixels(work.Pixels(), bkmap->Pixels(), w, h);
  {
    lbb::SelectScope selected(work.Dc(), BarFont());
    Layout(work.Dc(), B, true);
  }
  DrawMdiButtons(work.Pixels(), B);
  work.Present(dc, B.left, B.top, RECT{0, 0, w, h});
}

void TWinSkinMenu::SetMenuRect() {
  if (!SF || !IsWindow(SF->Hwnd)) return;
  RECT window{};
  GetWindowRect(SF->Hwnd, &window);
  const RECT B{SF->bw.left, SF->bw.top, (window.right - window.left) - SF->bw.right,
               SF->bw.top + SF->MenuHeight};
  if (B.right <= B.left || B.bottom <= B.top) return;
  lbb::WindowDc screen(nullptr);
  lbb::SelectScope selected(screen.get(), BarFont());
  Layout(screen.get(), B, false);
}

TMenuBtn* TWinSkinMenu::FindBtn(int x, int y) const {
  for (const auto& b : Buttons) {
    const RECT& r = b->bounds;
    if (b->visible && !b->caption.empty() && PointIn(ToSkin(r), x, y)) return b.get();
  }
  return nullptr;
}

// ---- one button

void TMenuBtn::Draw() {
  TWinSkinMenu* bar = SF->menu.get();
  if (!bar || !visible || !FSD || !IsWindow(SF->Hwnd)) return;
  if (SF->Skinstate != kSkinIdle && SF->Skinstate != kSkinChanging) return;
  const RECT& B = bar->Bar;
  const int w = bounds.right - bounds.left, h = B.bottom - B.top;
  const int bx = bounds.left - B.left;
  if (w <= 0 || h <= 0 || bx < 0 || bx + w > bar->bkmap->Width() || h > bar->bkmap->Height())
    return;
  TDibSurface& work = WorkSurface();
  if (!work.Reserve(w, h)) return;
  BitBlt(work.Dc(), 0, 0, w, h, bar->bkmap->Dc(), bx, 0, SRCCOPY);
  if (state == kNCPressed || state == kNCHot) {
    lbb::BrushHandle brush(CreateSolidBrush(FSD->SchemeRGB(kShemeButtonHilight)));
    const RECT frame{0, bounds.top - B.top, w, bounds.bottom - B.top};
    FrameRect(work.Dc(), &frame, brush.get());
  }
  {
    lbb::SelectScope selected(work.Dc(), bar->BarFont());
    DrawMenuBtnCaption(work.Dc(), *this, RECT{0, 0, w, h - 1});
  }
  lbb::WindowDc dc(SF->Hwnd, true);
  if (dc.get()) work.Present(dc.get(), bounds.left, B.top, RECT{0, 0, w, h});
}

}  // namespace lbb::skin
