// The caption buttons of a skinned frame: visibility, layout, drawing, the window icon, the
// non-client mouse messages, clicks, and the hover timer with its hints.
#include <windowsx.h>

#include <algorithm>

#include "forms/Application.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/SkinScale.h"
#include "skin/data/imgutil.h"
#include "skin/forms/FormManager.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinFormImpl.h"
#include "skin/forms/WinSkinMenuBar.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

bool IsIconAction(int action) {
  return action == 3 || action == 11;
}

int FramesOf(const TDataSkinSysButton& d) {
  return std::max(1, d.frame);
}

// The swallowed message: neither the previous procedure nor anyone after it sees it.
void Swallow(forms::TMessage& m) {
  m.Msg = 0;
  m.Result = 0;
}

}  // namespace

// ---- the hot objects

void TNCObject::MouseDown() {
  if (SF->ActiveBtn && SF->ActiveBtn != this) SF->ActiveBtn->MouseLeave();
  if (visible) {
    SF->ActiveBtn = this;
    state = kNCPressed;
  }
  Draw();
}

void TNCObject::MouseUp() {
  if (visible) state = kNCHot;
  Draw();
}

void TNCObject::MouseEnter() {
  if (SF->ActiveBtn == this) return;
  if (SF->ActiveBtn) SF->ActiveBtn->MouseLeave();
  if (visible) {
    SF->ActiveBtn = this;
    state = kNCHot;
  }
  Draw();
}

void TNCObject::MouseLeave() {
  if (visible) {
    if (SF->ActiveBtn == this) SF->ActiveBtn = nullptr;
    state = kNCNormal;
    if (fsd) {
      fsd->hintcount = 0;
      fsd->HideHint();
    }
  }
  Draw();
}

void TWinSysButton::Draw() {
  SF->DrawSysButton(*this);
}

// ---- visibility and layout

bool TWinSkinForm::IsSysButtonVisible(size_t index) {
  return IsSysButtonVisible(index, ButtonWindow());
}

bool TWinSkinForm::IsSysButtonVisible(size_t index, const TButtonWindow& window) {
  if (index >= SysBtn.size()) return false;
  TWinSysButton& b = *SysBtn[index];
  const TDataSkinSysButton& d = *b.data;
  const TAskButtonVisible ask = [this](int visibility, int action) {
    return SendMessageW(Hwnd, SKM_BUTTONVISIBLE, static_cast<WPARAM>(visibility), action) > 0;
  };
  const TButtonVisibility v =
      SysButtonVisibility(d.Visibility, d.Visibility1, d.Action, window, ask);
  b.visible = v.Visible;
  if (v.SetsEnabled) b.enabled = v.Enabled;
  return b.visible;
}

void TWinSkinForm::LayoutSysButtons() {
  TButtonFrame f;
  f.Width = fwidth;
  f.Title = TRect{ctr.left, ctr.top, ctr.right, ctr.bottom};
  f.Borders = Widths();
  f.MenuHeight = MenuHeight;
  f.MenubarShift = fsd->Menubar ? fsd->Menubar->r.Left : 0;
  const TButtonWindow window = ButtonWindow();
  for (size_t i = 0; i < SysBtn.size(); ++i) {
    TWinSysButton& b = *SysBtn[i];
    const TDataSkinSysButton& d = *b.data;
    if (d.Map.Empty() || !IsSysButtonVisible(i, window)) continue;  // keeps its old bounds
    const TRect r = SysButtonBounds(d.Align, d.XCoord, d.YCoord, d.Map.Width() / FramesOf(d),
                                    d.Map.Height(), f);
    b.bounds = ToRect(r);
  }
}

TWinSysButton* TWinSkinForm::FindSysBtn(const TFramePoint& p) const {
  for (const auto& b : SysBtn) {
    const RECT& r = b->bounds;
    if (b->visible && b->data->Action >= 0 && PointIn(ToSkin(r), p.X, p.Y)) return b.get();
  }
  return nullptr;
}

// ---- drawing

void TWinSkinForm::DrawSysButtons(TDibSurface& buf) {
  for (const auto& b : SysBtn) {
    const TDataSkinSysButton& d = *b->data;
    if (!b->visible || d.Map.Empty() || d.Visibility == 100) continue;
    if (IsIconAction(d.Action)) {
      DrawFormIcon(buf, b->bounds);
      continue;
    }
    const int frames = FramesOf(d);
    const int index = (frames >= 4 && (!FWindowActive || !b->enabled)) ? 4 : 1;
    const RECT& r = b->bounds;
    DrawSkinFrame(buf.Pixels(), ToSkin(r), d.Map, true, frames, index);
  }
}

void TWinSkinForm::DrawSysButton(TWinSysButton& button) {
  const TDataSkinSysButton& d = *button.data;
  if (!button.visible || d.Map.Empty() || !Hwnd || !IsWindow(Hwnd)) return;
  if (Skinstate != kSkinIdle && Skinstate != kSkinChanging) return;
  const RECT& r = button.bounds;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || !ButtonBuf.Reserve(w, h)) return;
  const int frames = FramesOf(d);
  int index = button.state;
  if (!button.enabled) index = frames >= 4 ? 4 : 1;
  if (d.Visibility == 100 && index == kNCHot) index = 4;
  index = std::clamp(index, 1, frames);
  lbb::WindowDc dc(Hwnd, true);
  if (!dc.get()) return;
  // The caption under the button as composed without buttons; outside it (the menu band) the
  // window's own pixels.
  PixelBuffer& px = ButtonBuf.Pixels();
  const bool inCaption = r.left >= 0 && r.top >= 0 && r.right <= CaptionBack.Width() &&
                         r.bottom <= CaptionBack.Height();
  if (inCaption) {
    for (int y = 0; y < h; ++y)
      std::copy(CaptionBack.Row(r.top + y) + r.left, CaptionBack.Row(r.top + y) + r.right,
                px.Row(y));
  } else {
    BitBlt(ButtonBuf.Dc(), 0, 0, w, h, dc.get(), r.left, r.top, SRCCOPY);
  }
  if (IsIconAction(d.Action)) {
    RECT local{0, 0, w, h};
    DrawFormIcon(ButtonBuf, local);
    // The icon of an application window is drawn at a fixed place of the caption instead.
    if (DefIcon) {
      DrawIconEx(dc.get(), 8, IconTop(), DefIcon, Iconx, Iconx, 0, nullptr, DI_NORMAL);
      return;
    }
  } else {
    DrawSkinFrame(ButtonBuf.Pixels(), TRect{0, 0, w, h}, d.Map, true, frames, index);
  }
  ButtonBuf.Present(dc.get(), r.left, r.top, RECT{0, 0, w, h});
}

// ---- the window icon

void TWinSkinForm::MakeIconBitmap() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  IconBmp->SetSize(cx, cy);
  IconBmp->SetPixelFormat(forms::TPixelFormat::pf16bit);
  IconBmp->Pixels().Fill(PixelOf(kSkinKeyColour));
  Iconx = cx;
  DefIcon = reinterpret_cast<HICON>(SendMessageW(Hwnd, WM_GETICON, ICON_SMALL, 0));
  if (!DefIcon) DefIcon = reinterpret_cast<HICON>(SendMessageW(Hwnd, WM_GETICON, ICON_BIG, 0));
  // A window without an icon of its own shows its class's, as the platform's caption does.
  if (!DefIcon) DefIcon = reinterpret_cast<HICON>(GetClassLongPtrW(Hwnd, GCLP_HICONSM));
  if (!DefIcon) DefIcon = reinterpret_cast<HICON>(GetClassLongPtrW(Hwnd, GCLP_HICON));
  if (DefIcon) {
    DrawIconEx(IconBmp->Canvas()->Handle(), 0, 0, DefIcon, cx, cy, 0, nullptr, DI_NORMAL);
    GdiFlush();
  }
}

int TWinSkinForm::IconTop() const {
  return FTitleRect.top + (FTitleRect.bottom - FTitleRect.top) / 2 - Iconx / 2;
}

// The application window's icon at the left of the caption, else the window-icon bitmap.
void TWinSkinForm::DrawFormIcon(TDibSurface& buf, const RECT& r) {
  HWND app = forms::Application ? forms::Application->Handle() : nullptr;
  DefIcon = app ? reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0)) : nullptr;
  if (app && !DefIcon)
    DefIcon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
  if (!DefIcon) {
    TransparentBlit(buf.Pixels(), ToSkin(r), IconBmp->Pixels(),
                    static_cast<TColor>(kSkinKeyColour));
    return;
  }
  DrawIconEx(buf.Dc(), ScaleToDpi(8, fsd->TargetDpi()), IconTop(), DefIcon, Iconx, Iconx, 0,
             nullptr, DI_NORMAL);
}

// ---- the non-client mouse

void TWinSkinForm::OnNcMouse(forms::TMessage& m) {
  const POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const TFramePoint p = ScreenToFrame(at);
  TWinSysButton* button = FindSysBtn(p);
  // Beside the caption buttons, the menu bar's buttons (a maximised MDI child's caption
  // buttons in the band are caption buttons and come first).
  TNCObject* hit = button;
  if (!hit && menu) hit = menu->FindBtn(p.X, p.Y);
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      NcMouseMove(m, hit);
      return;
    case WM_NCLBUTTONDOWN:
      NcButtonDown(m, hit, p);
      return;
    case WM_NCLBUTTONUP:
      NcButtonUp(m, hit, at);
      return;
    case WM_NCLBUTTONDBLCLK:
      // A double click in the menu band is a second press there, never a caption's.
      if (!button && m.WParam == HTMENU)
        NcButtonDown(m, hit, p);
      else
        NcDoubleClick(m, button);
      return;
    case WM_NCRBUTTONDOWN:
      NcRightButtonDown(m, at);
      return;
    default:
      CallDefault(m);
      return;
  }
}

void TWinSkinForm::NcMouseMove(forms::TMessage& m, TNCObject* hit) {
  // An inactive window's caption does not light up; the platform still sees the move.
  if (!FWindowActive) {
    CallDefault(m);
    return;
  }
  if (hit) {
    hit->MouseEnter();
    Swallow(m);
    return;
  }
  if (ActiveBtn) ActiveBtn->MouseLeave();
  ActiveBtn = nullptr;
  CallDefault(m);
}

void TWinSkinForm::NcButtonDown(forms::TMessage& m, TNCObject* hit, const TFramePoint&) {
  if (fsd) fsd->HideHint();
  if (hit) {
    if (!FWindowActive) SetForegroundWindow(Hwnd);
    Swallow(m);
    // A menu-bar button opens its drop-down and tracks it until it closes.
    if (auto* bar = dynamic_cast<TMenuBtn*>(hit))
      PressMenuBtn(bar);
    else
      hit->MouseDown();
    return;
  }
  if (m.WParam == HTMENU) {
    // The band beside the buttons: nothing to open (the window has no native menu bar).
    if (!FWindowActive) SetForegroundWindow(Hwnd);
    Swallow(m);
    return;
  }
  if (Windowstate == TSkinWindowState::swsMax && FWindowActive && m.WParam == HTCAPTION)
    m.WParam = HTMENU;
  CallDefault(m);
}

void TWinSkinForm::NcButtonUp(forms::TMessage& m, TNCObject* hit, POINT at) {
  if (fsd) fsd->HideHint();
  if (hit && dynamic_cast<TWinSysButton*>(hit) && hit == ActiveBtn) {
    hit->MouseUp();
    SysButtonClick(at);
  }
  if (hit) {
    Swallow(m);
    return;
  }
  CallDefault(m);
}

void TWinSkinForm::NcDoubleClick(forms::TMessage& m, TWinSysButton* hit) {
  if (hit) {
    if (IsIconAction(hit->data->Action)) {
      timer.Stop();
      PostMessageW(Hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    Swallow(m);
    return;
  }
  if (Windowstate != TSkinWindowState::swsNormal) {
    Restore();
    m.Result = 0;
  } else if (FormIcons & sbiMax) {
    Maximize();
    m.Result = 0;
  } else {
    CallDefault(m);
  }
}

void TWinSkinForm::NcRightButtonDown(forms::TMessage& m, POINT at) {
  if (fsd) fsd->HideHint();
  if (m.WParam == HTCAPTION && FormStyle != TSkinFormStyle::sfsMDIChild) {
    PopupSysMenu(at);
    Swallow(m);
    return;
  }
  CallDefault(m);
}

// ---- clicks

void TWinSkinForm::SysButtonClick(POINT at) {
  auto* b = dynamic_cast<TWinSysButton*>(ActiveBtn);
  if (!b) return;
  const int action = b->data->Action;
  switch (action) {
    case 0:
      if (!HasCloseItem()) return;
      timer.Stop();
      PostMessageW(Hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case 1:
    case 22:
      if (b->enabled) Maximize();
      return;
    case 2:
    case 23:
      if (b->enabled) Minimize();
      return;
    case 3:
    case 11:
    case 12:
      PopupSysMenu(POINT{at.x + 1, at.y + 1});
      return;
    case 4:
      PostMessageW(Hwnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      return;
    case 7:
    case 60:
      SendToActiveMDIChild(SC_MINIMIZE);
      return;
    case 8:
    case 61:
      SendToActiveMDIChild(SC_RESTORE);
      return;
    case 9:
    case 62:
      SendToActiveMDIChild(SC_CLOSE);
      return;
    default:
      PostMessageW(Hwnd, SKM_CUSTOMBUTTON, static_cast<WPARAM>(action), 0);
      return;
  }
}

void TWinSkinForm::SendToActiveMDIChild(WPARAM command) {
  if (FormStyle != TSkinFormStyle::sfsMDIform || !ClientHwnd) return;
  auto child = reinterpret_cast<HWND>(SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, 0));
  if (child) SendMessageW(child, WM_SYSCOMMAND, command, 0);
}

std::u16string TWinSkinForm::SysButtonHint(int action) {
  switch (action) {
    case 0:
    case 9:
    case 62:
      return u"Close";
    case 1:
    case 22:
      return u"Maximize";
    case 2:
    case 23:
    case 7:
    case 60:
      return u"Minimize";
    case 8:
    case 61:
      return u"Restore";
    default:
      return {};
  }
}

// ---- the hover timer

void TWinSkinForm::TimerTick() {
  if (fInMenu || !Hwnd) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (ActiveBtn) {
    const TFramePoint p = ScreenToFrame(cursor);
    const RECT& r = ActiveBtn->bounds;
    if (!PointIn(ToSkin(r), p.X, p.Y)) {
      ActiveBtn->MouseLeave();
      ActiveBtn = nullptr;
      if (fsd) fsd->HideHint();
    } else if (auto* b = dynamic_cast<TWinSysButton*>(ActiveBtn)) {
      ShowButtonHint(*b, cursor);
    }
  }
  if (FForm || !Activeskincontrol) return;
  auto* c = dynamic_cast<TSkinControl*>(Activeskincontrol);
  if (!c) return;
  if (!PtInRect(&c->ScreenBounds(), cursor)) LeaveSkinControl();
}

// The hint counter runs while the mouse rests on a caption button: the hint shows from twice
// the application's hint pause on and goes when the hide pause has passed as well.
void TWinSkinForm::ShowButtonHint(TWinSysButton& b, POINT cursor) {
  if (!fsd) return;
  fsd->hintcount += static_cast<int>(kHoverTimerMs);
  const int64_t pause = forms::Application ? forms::Application->HintPause() : 500;
  const int64_t hide = forms::Application ? forms::Application->HintHidePause() : 2500;
  const int64_t count = fsd->hintcount;
  if (count >= 2 * pause && count < 2 * pause + hide) {
    const std::u16string text = SysButtonHint(b.data->Action);
    if (text.empty()) return;
    RECT window{};
    GetWindowRect(Hwnd, &window);
    const LONG x = b.bounds.left + window.left, y = cursor.y + 24;
    fsd->ActivateHint(RECT{x, y, x, y}, text);
  } else if (count > 2 * pause + hide) {
    fsd->HideHint();
  }
}

}  // namespace lbb::skin
