// The form skinner's message dispatch: the replacement window procedure in its stages, the
// replacement of the framework form's message method, and the MDI client's procedure.
//
// A message the skinner does not take reaches the previous procedure exactly once, and its
// answer is the one returned.
#include "forms/Application.h"
#include "skin/forms/FormManager.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinFormImpl.h"
#include "skin/forms/WinSkinMenuBar.h"
#include "skin/forms/WinSkinMenuItem.h"

namespace lbb::skin {

namespace {

// The platform's themed caption redraw.
constexpr UINT kThemedCaptionRedraw = 0xAE;
// RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW.
constexpr UINT kRedrawFrameAll = 0x585;

bool IsSystemCommand(WORD id) {
  switch (id) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TWinSkinForm::CallDefault(forms::TMessage& m) {
  if (impl->passed) *impl->passed = true;
  m.Result = impl->window.CallPrevious(m.Msg, m.WParam, m.LParam);
}

void TWinSkinForm::OldWndProc(forms::TMessage& m) {
  if (impl->passed) *impl->passed = true;
  impl->formHook.CallPrevious(m);
}

void TWinSkinForm::SkinWndProc(forms::TMessage& m) {
  if (Skinstate == kSkinPending && m.Msg == WM_NCPAINT) {
    m.Result = 0;  // no painting before the deferred initialisation
    return;
  }
  if (!Stage1(m)) return;
  if (FormStyle != TSkinFormStyle::sfsMDIChild && (dwstyle & WS_CHILD)) {
    CallDefault(m);
    return;
  }
  if (!Stage2(m)) return;
  const bool maxChild =
      FormStyle == TSkinFormStyle::sfsMDIChild && Windowstate == TSkinWindowState::swsMax;
  if (maxChild || Skinstate == kSkinPending) {
    CallDefault(m);
    return;
  }
  Stage3(m);
}

// ---- stage 1: every window. True when the message is passed on to the later stages.

bool TWinSkinForm::Stage1(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      OnEraseBkgnd(m);
      return false;
    case WM_NCDESTROY:
      OnNcDestroy(m);
      return false;
    case WM_NCACTIVATE:
      if (Skinstate == kSkinPending && FormStyle != TSkinFormStyle::sfsMDIChild) {
        m.Result = 0;
        return false;
      }
      break;
    case kThemedCaptionRedraw:
      m.Result = 0;
      return false;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(m);
      return false;
    case WM_EXITMENULOOP:
      OnMenuLoopEnd();
      break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      OnCtlColor(m);
      return false;
    case SKM_SKINFORM:
      OnSkinForm();
      return false;
    case WM_SHOWWINDOW:
      // A window activated while still hidden (a dialog box is) runs its deferred
      // initialisation as it is about to be shown: the frame is fitted while it is hidden and
      // the first frame the screen shows is the skin's.
      if (m.WParam && m.LParam == 0 && Skinstate == kSkinPending && !ischildform) OnSkinForm();
      break;
    case SKM_RESKINSCROLLBAR:
      OnReskinScrollbar(m);
      return false;
    case SKM_ISSKINNED:
      OnIsSkinned(m);
      return false;
    default:
      break;
  }
  if (sMainMenu) return true;
  CallDefault(m);
  return false;
}

void TWinSkinForm::OnEraseBkgnd(forms::TMessage& m) {
  CallDefault(m);
  if (FForm || !fsd || !fsd->BGBrush) return;
  RECT r{};
  GetClientRect(Hwnd, &r);
  FillRect(reinterpret_cast<HDC>(m.WParam), &r, fsd->BGBrush.get());
  m.Result = 1;
  // The transparent group boxes (ClipControls) are not clipped from this background: they
  // paint their frames again over it.
  for (HWND h : impl->seeThrough)
    if (IsWindow(h)) InvalidateRect(h, nullptr, FALSE);
}

void TWinSkinForm::OnNcDestroy(forms::TMessage& m) {
  Skinstate = kSkinRemoving;
  UnSubclass3();
  CallDefault(m);
  Skinstate = kSkinDestroyed;
}

void TWinSkinForm::OnInitMenuPopup(forms::TMessage& m) {
  NoteMenuPopup(reinterpret_cast<HMENU>(m.WParam));
  OnProgramMenuOpening(reinterpret_cast<HMENU>(m.WParam), HIWORD(m.LParam) != 0);
  if (TFormManagerSeam* mgr = FormManager())
    mgr->MenuOpening(reinterpret_cast<HMENU>(m.WParam) == hsysmenu ? mtSystem : mtMenuBar);
  CallDefault(m);
  OnProgramToldOfDropDown(reinterpret_cast<HMENU>(m.WParam));
}

void TWinSkinForm::OnCtlColor(forms::TMessage& m) {
  CallDefault(m);
  if (FForm) return;
  SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
  if (m.Msg == WM_CTLCOLORSTATIC && fsd) m.Result = reinterpret_cast<LRESULT>(fsd->BGBrush.get());
}

// A skinned window says so, and tells itself (SKM_SKINNED) that it is.
void TWinSkinForm::OnIsSkinned(forms::TMessage& m) {
  m.Result = 1;
  PostMessageW(Hwnd, SKM_SKINNED, 0, SkinMagic);
}

// ---- stage 2: windows that are not plain child windows. True when passed on.

bool TWinSkinForm::Stage2(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      OnSize(m);
      return false;
    case WM_DPICHANGED:
      // Passed on: the window itself scales its client area and takes its new place.
      OnDpiChanged(m);
      return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      FWindowActive = LOBYTE(m.WParam) != 0;
      return true;
    case WM_GETMINMAXINFO:
      CallDefault(m);
      ReadWindowState();
      return false;
    case WM_WINDOWPOSCHANGED:
      ReadWindowState();
      CallDefault(m);
      return false;
    case WM_SETICON:
      // The platform's default handling draws its own caption straight away; the skinned
      // caption is painted over it again.
      CallDefault(m);
      MakeIconBitmap();
      if (sMainMenu) PaintFrame();
      return false;
    case WM_COMMAND:
      OnCommand(m);
      return false;
    case WM_SYSCOMMAND:
      OnSysCommand(m);
      return false;
    case SKM_MENUNEXT:
      OnMenuNext(m);
      return false;
    case WM_MENUSELECT:
      OnMenuSelect(m);
      return false;
    case forms::CM_MENUCHANGED:
      OnMenuChanged(m, false);
      return false;
    default:
      return true;
  }
}

// The window moved to a screen of another resolution. The skin data is shared by every window
// it skins and holds one resolution at a time: it takes the new one, this window's frame
// re-fits at once (so that the window sizes its client area against the new borders), and
// the skin-changed action re-renders the others.
void TWinSkinForm::OnDpiChanged(const forms::TMessage& m) {
  const int dpi = LOWORD(m.WParam);
  if (dpi <= 0) return;
  ReadCaptionFont(dpi);
  if (!fsd || !fsd->SetScreenDpi(dpi)) return;
  DeleteSysbtn();
  InitSkinData();
  SkinChange();
}

void TWinSkinForm::OnSize(forms::TMessage& m) {
  CallDefault(m);
  switch (m.WParam) {
    case SIZE_RESTORED:
      Windowstate = TSkinWindowState::swsNormal;
      break;
    case SIZE_MINIMIZED:
      Windowstate = TSkinWindowState::swsMin;
      break;
    case SIZE_MAXIMIZED:
      Windowstate = TSkinWindowState::swsMax;
      break;
    default:
      break;
  }
  if (Windowstate == TSkinWindowState::swsMin) return;
  if (FormStyle == TSkinFormStyle::sfsMDIChild) {
    TFormManagerSeam* mgr = FormManager();
    if ((mgr && mgr->MDIMaximised()) || Windowstate != TSkinWindowState::swsNormal) return;
  }
  // The region is set with a redraw when the window grew: Wine takes a region set while the
  // window is being sized (WM_SIZE comes from inside the sizing) in place of the sizing's own
  // repaint, so what the larger window newly shows, frame and client, would stay unpainted.
  RECT now{};
  GetWindowRect(Hwnd, &now);
  const SIZE size{now.right - now.left, now.bottom - now.top};
  const bool grew = size.cx > sizedTo.cx || size.cy > sizedTo.cy;
  sizedTo = size;
  if (Skinstate == kSkinIdle || Skinstate == kSkinChanging) Cropwindow(grew);
}

// A top-level window about to take a new size is shaped for it first, without a redraw (after
// the program and the default handling have had their say on the size): the sizing then
// paints the frame once, inside the right shape. Shaped only on WM_SIZE, the window painted
// its frame twice per step, the second time for the region's own redraw, which also took the
// longest part of a resize step under Wine. A window being minimised keeps its shape: it is
// shaped again when it is restored.
void TWinSkinForm::OnWindowPosChanging(forms::TMessage& m) {
  CallDefault(m);
  const auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam);
  if (!wp || (wp->flags & SWP_NOSIZE) || Skinstate != kSkinIdle) return;
  if (FormStyle == TSkinFormStyle::sfsMDIChild || IsIconic(Hwnd)) return;
  RECT now{};
  GetWindowRect(Hwnd, &now);
  if (wp->cx == now.right - now.left && wp->cy == now.bottom - now.top) return;
  CropTo(wp->cx, wp->cy, false);
}

void TWinSkinForm::OnCommand(forms::TMessage& m) {
  const WORD id = LOWORD(m.WParam);
  if (!IsSystemCommand(id)) {
    CallDefault(m);
    return;
  }
  PostMessageW(Hwnd, WM_SYSCOMMAND, id, 0);
  m.Result = 0;
}

void TWinSkinForm::OnSysCommand(forms::TMessage& m) {
  const WPARAM cmd = m.WParam & 0xFFF0;
  // The keyboard menu while no drop-down is open: Alt+letter opens the menu bar's button with
  // that accelerator and the menu key alone its first button (answered 1); Alt+space shows
  // the skinned system menu at the client origin and goes on.
  if (!fInMenu && cmd == SC_KEYMENU && sMainMenu && Skinstate != kSkinPending) {
    const auto ch = static_cast<wchar_t>(LOWORD(m.LParam));
    if (ch == L' ') {
      POINT origin{0, 0};
      ClientToScreen(Hwnd, &origin);
      PopupSysMenu(origin, false);
    } else if (ch != L'-' && !GetCapture() && OpenMenuByKey(ch)) {
      m.Result = 1;
      return;
    }
  }
  if (cmd == SC_MINIMIZE) {
    Windowstate = TSkinWindowState::swsMin;
  } else if (cmd == SC_MAXIMIZE) {
    Windowstate = TSkinWindowState::swsMax;
  } else if (cmd == SC_RESTORE) {
    Windowstate = TSkinWindowState::swsNormal;
    TFormManagerSeam* mgr = FormManager();
    if (FormStyle == TSkinFormStyle::sfsMDIChild && mgr && mgr->MDIMaximised()) mgr->ForgetMDIMax();
  }
  CallDefault(m);
}

// Opens the menu-bar button under the screen point in lParam.
void TWinSkinForm::OnMenuNext(forms::TMessage& m) {
  OpenMenuAt(m);
}

// The framework rebuilt the window's menu and put it on the window again: the window loses it
// again, and with MenuUpdate the bar rebuilds its buttons from it and repaints.
void TWinSkinForm::OnMenuChanged(forms::TMessage& m, bool formMethod) {
  const bool menuMsg = fsd ? fsd->MenuMsg : true;
  if (fsd) fsd->MenuMsg = false;
  if (formMethod)
    OldWndProc(m);
  else
    CallDefault(m);
  if (fsd) fsd->MenuMsg = menuMsg;
  if (!impl->menuTaken || !IsWindow(Hwnd)) return;
  if (HMENU now = GetMenu(Hwnd)) {
    hmenu = now;
    SetMenu(Hwnd, nullptr);
  }
  if (fsd && fsd->MenuUpdate()) UpdateMainMenu();
}

// ---- stage 3: skinned frames. The non-client handlers are the frame painter's
// (WinSkinFrame.cpp, WinSkinFrameButtons.cpp).

void TWinSkinForm::Stage3(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      OnMenuItem(m);
      return;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(m);
      return;
    case WM_NCCALCSIZE:
      OnNcCalcSize(m);
      return;
    case WM_SETTEXT:
      // As with WM_SETICON: the default handling paints the native caption with the new title.
      CallDefault(m);
      PaintFrame();
      return;
    case WM_NCHITTEST:
      OnNcHitTest(m);
      return;
    case WM_NCPAINT:
      OnNcPaint(m);
      return;
    case WM_NCACTIVATE:
      OnNcActivate(m);
      return;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
      OnNcMouse(m);
      return;
    case SKM_REPAINTFRAME:
      OnRepaintFrame(m);
      return;
    case SKM_PAINTFRAMETO:
      // A framework form takes it in its message method; a plain window here.
      if (FForm)
        CallDefault(m);
      else
        OnPaintFrameTo(m);
      return;
    default:
      CallDefault(m);
      return;
  }
}

// Owner-drawn menu items. The skinned system menu's items are measured and drawn by the
// menu itself (a plain window's own procedure would not know them); the rest by the item
// layer (WinSkinMenuItem.cpp).
void TWinSkinForm::OnMenuItem(forms::TMessage& m) {
  forms::TPopupMenu* system = sysmenu ? sysmenu.get() : trackedSysmenu;
  if (system && system->DispatchMessage(m)) return;
  if (m.Msg == WM_MEASUREITEM)
    OnMeasureMenuItem(m);
  else
    OnDrawMenuItem(m);
}

// ---- the framework form's message method

void TWinSkinForm::FormWindowProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      OnSetText(m);
      return;
    case SKM_SKINCHANGED:
      SkinChange();
      return;
    case forms::CM_DIALOGCHAR:
      DialogChar(m);
      return;
    case forms::CM_MENUCHANGED:
      OnMenuChanged(m, true);
      return;
    case SKM_PAINTFRAMETO:
      OnPaintFrameTo(m);
      return;
    case SKM_QUERYSKIN:
      m.Result = m.LParam == SkinMagic ? SkinMagic : 1;
      return;
    default:
      OldWndProc(m);
      return;
  }
}

void TWinSkinForm::OnSetText(forms::TMessage& m) {
  OldWndProc(m);
  if (!IsWindowVisible(Hwnd)) return;
  if (Windowstate == TSkinWindowState::swsMax)
    if (TFormManagerSeam* mgr = FormManager(); mgr && mgr->MDIClient())
      PostMessageW(mgr->MDIClient(), SKM_MDIREDRAW, reinterpret_cast<WPARAM>(Hwnd), 0);
  if (Windowstate == TSkinWindowState::swsMin)
    RedrawWindow(Hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  else
    Refresh();
}

void TWinSkinForm::DialogChar(forms::TMessage& m) {
  OldWndProc(m);
  if (m.Result != 0) return;
  // With exactly Alt down (no Ctrl, no Shift), the menu-bar button whose caption has the
  // character as accelerator is pressed.
  const bool altOnly =
      GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
  if (altOnly && menu && !fInMenu && OpenMenuByKey(static_cast<wchar_t>(m.WParam))) {
    m.Result = 1;
    return;
  }
  TFormManagerSeam* mgr = FormManager();
  if (FormStyle == TSkinFormStyle::sfsMDIChild) {
    if (mgr && mgr->MDIFrameForm()) {
      const LRESULT r = mgr->MDIFrameForm()->Perform(forms::CM_DIALOGCHAR, m.WParam, m.LParam);
      if (r != 0) {
        m.Result = r;
        return;
      }
    }
  } else if (FForm && FForm != forms::Application->MainForm() && !FForm->Modal()) {
    if (forms::TCustomForm* main = forms::Application->MainForm())
      main->Perform(forms::CM_DIALOGCHAR, m.WParam, m.LParam);
  }
  m.Result = 0;
}

// ---- the MDI client's procedure

LRESULT TWinSkinForm::MDIClientWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindowSubclass& client = impl->mdiClient;
  TFormManagerSeam* mgr = FormManager();
  switch (msg) {
    case WM_NCDESTROY: {
      const LRESULT r = client.CallPrevious(msg, wParam, lParam);
      client.Restore();
      return r;
    }
    case WM_NCCALCSIZE:
      if (sMainMenu && fsd && !InSet(fsd->Options(), xoMDIScrollbar)) {
        const LONG style = GetWindowLongW(client.Window(), GWL_STYLE);
        SetWindowLongW(client.Window(), GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
      }
      return client.CallPrevious(msg, wParam, lParam);
    case WM_MDICREATE:
      if (fsd) fsd->SetMenuUpdate(false);
      return client.CallPrevious(msg, wParam, lParam);
    case WM_MDIDESTROY: {
      const LRESULT r = client.CallPrevious(msg, wParam, lParam);
      if (sMainMenu && mgr) mgr->SetMDIMax(MDIChildMax());
      // With no child left, MenuUpdate comes back; the bar follows the frame's menu and drops
      // a closed maximised child's buttons.
      if (menu && fsd && !SendMessageW(client.Window(), WM_MDIGETACTIVE, 0, 0))
        fsd->SetMenuUpdate(menuauto);
      if (menu) {
        menu->UpdataBtn2(nullptr);
        RepaintMenuBand();
      }
      return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (sMainMenu && mgr && mgr->MDIMaximised()) mgr->ForgetMDIMax();
      return client.CallPrevious(msg, wParam, lParam);
    case WM_MDISETMENU: {
      const LRESULT r = client.CallPrevious(msg, wParam, lParam);
      if (sMainMenu && impl->menuTaken) {
        // The bar rebuilds its buttons from the new frame menu.
        if (HMENU now = GetMenu(Hwnd)) hmenu = now;
        SetMenu(Hwnd, nullptr);
        if (menu) {
          menu->UpdataBtn2(hmenu);
          RepaintMenuBand();
        }
      }
      return r;
    }
    case SKM_MDIREDRAW:
      RedrawWindow(Hwnd, nullptr, nullptr, kRedrawFrameAll);
      return 0;
    default:
      return client.CallPrevious(msg, wParam, lParam);
  }
}

}  // namespace lbb::skin
