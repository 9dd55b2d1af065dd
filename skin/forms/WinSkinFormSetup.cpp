// The form skinner's set-up: reading the window (styles, icons, state, MDI parts, border
// kind), taking over its procedure, the deferred initialisation, fitting the window to the
// skin frame, skin changes and the window-state operations.
#include <algorithm>
#include <stdexcept>

#include "base/win/WideText.h"
#include "forms/WinText.h"
#include "forms/WindowGuard.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/FrameGeometry.h"
#include "skin/forms/FormManager.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinFormImpl.h"
#include "skin/win/WinSkinSystem.h"

namespace lbb::skin {

namespace {

constexpr DWORD kCaptionBits = 0x00C00000;  // WS_CAPTION: both bits
constexpr DWORD kModalFrame = 0x80;         // DS_MODALFRAME

}  // namespace

void TWinSkinForm::InitForm(TSkinData* afsd) {
  if (Subclassed()) return;
  if (TFormManagerSeam* m = FormManager()) m->FormSettingUp();
  fsd = afsd;
  timer.Stop();
  sMainMenu = InSet(fsd->SkinControls(), xcMainMenu);
  ReadStyles();
  const auto exstyle = static_cast<DWORD>(GetWindowLongW(Hwnd, GWL_EXSTYLE));
  ReadFormIcons(dwstyle, exstyle);
  ReadWindowState();
  DetectMDIClient();
  if (exstyle & WS_EX_MDICHILD) {
    FormStyle = TSkinFormStyle::sfsMDIChild;
    if (InSet(fsd->Options(), xoMDIChildBorder)) sMainMenu = false;
  }
  ReadBorderKind(dwstyle, exstyle);
  HideWhileSkinning();
  // Systems of the 9x family have no skinnable system menu.
  if (SkinOsVersion() & 0x80000000u)
    fsd->SetSkinControls(fsd->SkinControls() & ~SetOf(xcSystemMenu));
  if (FormStyle == TSkinFormStyle::sfsMDIform) menuauto = fsd->MenuUpdate();
  Subclass();
  if (sMainMenu) {
    hmenu = ischildform ? nullptr : GetMenu(Hwnd);
    if (hmenu && FormStyle != TSkinFormStyle::sfsMDIChild) TakeMenuBar();
    InitSkinData();
  } else {
    Skinstate = kSkinIdle;
  }
  if (FormStyle == TSkinFormStyle::sfsMDIChild && sMainMenu) {
    const int native = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (bw.top < native) MenuHeight = native - bw.top;
  }
  if (FormStyle == TSkinFormStyle::sfsMDIChild && Windowstate == TSkinWindowState::swsMax)
    if (TFormManagerSeam* m = FormManager(); m && !m->MDIMaximised()) m->SetMDIMax(true);
}

void TWinSkinForm::ReadStyles() {
  dwstyle = static_cast<DWORD>(GetWindowLongW(Hwnd, GWL_STYLE));
  const auto exstyle = static_cast<DWORD>(GetWindowLongW(Hwnd, GWL_EXSTYLE));
  bidileft = (exstyle & WS_EX_LEFTSCROLLBAR) != 0;
  ischildform = (dwstyle & WS_CHILD) != 0;
  classname = forms::WindowClassName(Hwnd);
  parenthwnd = GetWindow(Hwnd, GW_OWNER);
}

void TWinSkinForm::ReadFormIcons(DWORD style, DWORD exstyle) {
  FormIcons = 0;
  if ((style & WS_SYSMENU) || hsysmenu) FormIcons |= sbisystem;
  if (style & WS_MINIMIZEBOX) FormIcons |= sbiMin;
  if (style & WS_MAXIMIZEBOX) FormIcons |= sbiMax;
  if (exstyle & WS_EX_CONTEXTHELP) FormIcons |= sbiHelp;
}

void TWinSkinForm::ReadWindowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!GetWindowPlacement(Hwnd, &wp)) return;
  switch (wp.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      Windowstate = TSkinWindowState::swsMin;
      break;
    case SW_SHOWMAXIMIZED:
      Windowstate = TSkinWindowState::swsMax;
      break;
    default:
      Windowstate = TSkinWindowState::swsNormal;
  }
}

void TWinSkinForm::DetectMDIClient() {
  FormStyle = TSkinFormStyle::sfsNormal;
  for (HWND c = GetWindow(Hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (forms::WindowClassName(c) != u"MDIClient") continue;
    FormStyle = TSkinFormStyle::sfsMDIform;
    ClientHwnd = c;
    if (TFormManagerSeam* m = FormManager()) m->SetMDIFrame(c, FForm);
    return;
  }
}

void TWinSkinForm::ReadBorderKind(DWORD style, DWORD exstyle) {
  FormBorder = TSkinFormBorder::sbsSingle;
  if ((style & kCaptionBits) != kCaptionBits)
    FormBorder = TSkinFormBorder::sbsNone;
  else if (style & WS_THICKFRAME)
    FormBorder = TSkinFormBorder::sbsSizeable;
  else if (style & kModalFrame)
    FormBorder = TSkinFormBorder::sbsDialog;
  if (exstyle & WS_EX_DLGMODALFRAME) FormBorder = TSkinFormBorder::sbsDialog;
  // The caption keeps the system-menu style on Windows 2000 for application windows and
  // unowned top-level windows (the caption-button painter reads sbicaption).
  const DWORD v = SkinOsVersion();
  const bool w2000 = LOBYTE(LOWORD(v)) == 5 && HIBYTE(LOWORD(v)) == 0;
  const bool nt = (v & 0x80000000u) == 0;
  if (w2000 &&
      (((exstyle & WS_EX_APPWINDOW) && nt) || (!parenthwnd && !(exstyle & WS_EX_MDICHILD))))
    FormIcons |= sbicaption;
  isunicode = IsWindowUnicode(Hwnd) != FALSE;
  if (classname == u"#32770" || classname == u"TMessageForm") {
    FormBorder = TSkinFormBorder::sbsDialog;
    ismessagebox = true;
  }
}

// A window shown on the screen (or any while the manager asks for it) is held invisible to
// the platform until its deferred initialisation has fitted the frame and cut the region: the
// screen keeps what it showed, nothing is painted in between (no native frame of a window
// being shown), the frame change and the region cost what they cost on a hidden window, and
// the window is painted once, skinned, when the hold ends.
void TWinSkinForm::HideWhileSkinning() {
  if (!FormManager() || ischildform || !sMainMenu) return;
  if (FormBorder == TSkinFormBorder::sbsNone) return;
  if (!(dwstyle & WS_VISIBLE)) return;
  dwstyle &= ~WS_VISIBLE;
  SetWindowLongW(Hwnd, GWL_STYLE, static_cast<LONG>(dwstyle));
  impl->held = true;
}

// The window's procedure becomes SkinWndProc (and the MDI client's MDIClientWndProc). A window
// that cannot be taken over is left as it is and the set-up fails.
void TWinSkinForm::Subclass() {
  if (FormStyle == TSkinFormStyle::sfsMDIform && ClientHwnd) {
    impl->mdiClient.Install(
        ClientHwnd, [this](UINT msg, WPARAM w, LPARAM l) { return MDIClientWndProc(msg, w, l); });
  }
  const std::shared_ptr<bool> alive = impl->alive;
  const bool ok = impl->window.Install(Hwnd, [this, alive](UINT msg, WPARAM w, LPARAM l) {
    forms::TMessage m{msg, w, l, 0};
    bool done = false;
    bool* outer = std::exchange(impl->passed, &done);
    try {
      SkinWndProc(m);
    } catch (...) {
      forms::ReportException(msg);
      if (*alive && !done && impl->window.Window()) m.Result = impl->window.CallPrevious(msg, w, l);
    }
    if (*alive) impl->passed = outer;
    return m.Result;
  });
  if (!ok) throw std::runtime_error("the window's procedure could not be taken over");
}

// ---- deferred initialisation (SKM_SKINFORM)

void TWinSkinForm::OnSkinForm() {
  // Once per skinner (a re-skinned window may still have the previous skinner's request).
  if (impl->deferredDone) return;
  impl->deferredDone = true;
  {
    // A held window is shown again when the frame is fitted, or however this part ends.
    struct Release {
      TWinSkinForm& sf;
      ~Release() { sf.EndHold(); }
    } release{*this};
    hsysmenu = GetSystemMenu(Hwnd, FALSE);
    MakeIconBitmap();
    SaveFrameSize();
    if (FForm)
      InitControls(FForm);
    else
      InitHwndControls(Hwnd);
    if (Skinstate == kSkinPending) FitAfterSkinning();
  }
  try {
    NotifySkinned();
  } catch (...) {
    // The application's event failed: the window is skinned all the same.
    Skinstate = kSkinIdle;
    timer.Start(kHoverTimerMs);
    throw;
  }
  Skinstate = kSkinIdle;
  timer.Start(kHoverTimerMs);
}

void TWinSkinForm::SaveFrameSize() {
  RECT w{}, c{};
  GetWindowRect(Hwnd, &w);
  GetClientRect(Hwnd, &c);
  fClientRect = c;
  oldsize = RECT{0, 0, (w.right - w.left) - c.right, (w.bottom - w.top) - c.bottom};
}

void TWinSkinForm::EndHold() {
  if (!impl->held) return;
  impl->held = false;
  if (!IsWindow(Hwnd)) return;
  const auto style = static_cast<DWORD>(GetWindowLongW(Hwnd, GWL_STYLE));
  if (style & WS_VISIBLE) return;
  dwstyle = style | WS_VISIBLE;
  SetWindowLongW(Hwnd, GWL_STYLE, static_cast<LONG>(dwstyle));
  RedrawWindow(Hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::FitAfterSkinning() {
  if (FormStyle == TSkinFormStyle::sfsMDIChild) {
    if (Windowstate == TSkinWindowState::swsMax) {
      if (TFormManagerSeam* m = FormManager(); m && m->MDIClient())
        PostMessageW(m->MDIClient(), SKM_MDIREDRAW, reinterpret_cast<WPARAM>(Hwnd), 0);
    } else if (Windowstate == TSkinWindowState::swsNormal) {
      Skinstate = kSkinFitting;
      FitFrame(false);
      Skinstate = kSkinIdle;
      Cropwindow();
    }
    return;
  }
  if (ischildform || FormBorder == TSkinFormBorder::sbsNone) return;
  if (Windowstate == TSkinWindowState::swsMin) return;
  Skinstate = kSkinFitting;
  FitFrame(false);
  Skinstate = kSkinIdle;
  // The fit changed the frame, which left the whole window to be painted again: the region
  // goes on without a redraw of its own (one more full repaint of every control for nothing).
  if (Windowstate == TSkinWindowState::swsNormal)
    Cropwindow(false);
  else
    Refresh();
}

void TWinSkinForm::NotifySkinned() {
  SendMessageW(Hwnd, SKM_SKINNED, 0, SkinMagic);
  if (fsd && fsd->OnAfterSkinForm) fsd->OnAfterSkinForm(FForm, Hwnd, formclass);
}

// ---- fitting the window to the skin frame

void TWinSkinForm::FitFrame(bool keepClient) {
  if (Windowstate == TSkinWindowState::swsMax) {
    Refresh();
    return;
  }
  GetWindowRect(Hwnd, &wTr);
  if (ismessagebox || Skinstate == kSkinChanging) fClientRect = CurrentClientRect();
  int width = fClientRect.right + bw.left + bw.right;
  if (keepClient) {
    fClientRect = CurrentClientRect();
  } else if (FForm) {
    width = static_cast<int>(FForm->ClientWidth()) + bw.left + bw.right;
    const int h = static_cast<int>(FForm->ClientHeight());
    fClientRect.bottom = FormStyle == TSkinFormStyle::sfsMDIChild ? h : h - MenuHeight;
  } else if (impl->menuTaken) {
    // The band of the menu taken from a plain window is part of its client area now.
    fClientRect.bottom -= MenuHeight;
  }
  const TFrameWidths widths{bw.left, bw.top, bw.right, bw.bottom};
  TFrameSize size =
      SkinnedWindowSize(width - bw.left - bw.right, fClientRect.bottom, widths, MenuHeight);
  if (ismessagebox && !keepClient) WidenMessageBox(size.Width);
  {
    const TFrameFit fit(FForm);
    SetWindowPos(Hwnd, nullptr, 0, 0, size.Width, size.Height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
  }
  impl->fitted = true;
  impl->fittedBw = bw;
  impl->fittedMenu = MenuHeight;
}

// The client rectangle under the skin frame the window was fitted to (what the frame's
// WM_NCCALCSIZE handler gives); before the first fit, the window's own.
RECT TWinSkinForm::CurrentClientRect() const {
  RECT r{};
  if (!impl->fitted) {
    GetClientRect(Hwnd, &r);
    return r;
  }
  GetWindowRect(Hwnd, &r);
  const RECT& b = impl->fittedBw;
  return RECT{0, 0, std::max<LONG>(0, r.right - r.left - b.left - b.right),
              std::max<LONG>(0, r.bottom - r.top - b.top - b.bottom - impl->fittedMenu)};
}

int TWinSkinForm::TitleWidth() {
  caption = lbb::Wide(forms::WindowText(Hwnd));
  lbb::WindowDc dc(nullptr);
  lbb::SelectScope font(dc.get(), CaptionFont ? CaptionFont->Handle() : nullptr);
  SIZE s{};
  GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &s);
  return s.cx;
}

// A message box whose title does not fit is widened, and its controls move right by half of
// what it grew.
void TWinSkinForm::WidenMessageBox(int& width) {
  charwidth = TitleWidth();
  const TDataSkinTitle* title = fsd ? fsd->Title.get() : nullptr;
  const int needed = (title ? title->r.Left + title->r.Right : 0) + charwidth;
  const TTitleFit fit = FitTitle(width, needed);
  if (fit.Shift > 0) {
    for (HWND c = GetWindow(Hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      RECT r{};
      GetWindowRect(c, &r);
      POINT p{r.left, r.top};
      ScreenToClient(Hwnd, &p);
      SetWindowPos(c, nullptr, p.x + fit.Shift, p.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  width = fit.Width;
}

// ---- skin change and window state

void TWinSkinForm::SkinChange() {
  if (FForm && fsd) {
    const TColor face = fsd->Colors[kShemeButtonFace];
    FForm->SetColor(face);
    for (int i = 0; i < FForm->ComponentCount(); ++i)
      if (auto* f = dynamic_cast<forms::TCustomForm*>(FForm->Components(i))) f->SetColor(face);
  }
  for (TSkinControl* c : Controls())
    c->SkinChange();
  Skinstate = kSkinChanging;
  if (sMainMenu && FForm) {
    InitPopMenu(FForm, true, true);
    FitFrame(true);
    FForm->SetHeight(FForm->Height() + 1);
    FForm->SetHeight(FForm->Height() - 1);
  } else if (sMainMenu && !ischildform) {
    // A window without a form object: the frame fitted to the new skin's borders, its region
    // cut to the new frame's corners, its background (the skin's colour) and controls painted
    // again.
    FitFrame(true);
    Cropwindow();
    Refresh();
    RedrawWindow(Hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  NotifySkinned();
  Skinstate = kSkinIdle;
}

void TWinSkinForm::Minimize() {
  if (Windowstate == TSkinWindowState::swsMin) {
    Restore();
    return;
  }
  Windowstate = TSkinWindowState::swsMin;
  SetSysMenuStyle(false);
  PostMessageW(Hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::Maximize() {
  if (Windowstate == TSkinWindowState::swsMax) {
    Restore();
    return;
  }
  if (FormStyle == TSkinFormStyle::sfsMDIChild)
    if (TFormManagerSeam* m = FormManager()) m->SetMDIMax(true);
  Windowstate = TSkinWindowState::swsMax;
  PostMessageW(Hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ActiveBtn = nullptr;
}

void TWinSkinForm::Restore() {
  Windowstate = TSkinWindowState::swsNormal;
  PostMessageW(Hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::RestoreMDI() {
  if (!ClientHwnd) return;
  auto child = reinterpret_cast<HWND>(SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, 0));
  if (child) SendMessageW(ClientHwnd, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
}

bool TWinSkinForm::MDIChildMax() const {
  if (FormStyle != TSkinFormStyle::sfsMDIform || !ClientHwnd) return false;
  BOOL maximised = FALSE;
  auto child = reinterpret_cast<HWND>(
      SendMessageW(ClientHwnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
  return child && maximised;
}

}  // namespace lbb::skin
