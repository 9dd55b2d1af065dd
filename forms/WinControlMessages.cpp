// The message handling of windowed controls: the class window procedure, reflection of
// notifications to the child controls they concern, painting of windows of our own classes
// and of windowless children, focus, mouse and context menus.
#include <windowsx.h>

#include "forms/Application.h"
#include "forms/Controls.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/WindowGuard.h"

namespace lbb::forms {
namespace {

bool IsReflected(UINT msg) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

// The child window a parent notification is about; null when it concerns no child window
// (a menu command, an accelerator, a scroll bar of the window itself, a menu item drawing).
HWND NotifyingChild(HWND parent, const TMessage& m) {
  switch (m.Msg) {
    case WM_NOTIFY:
      return reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      return dis->CtlType == ODT_MENU ? nullptr : dis->hwndItem;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      return mis->CtlType == ODT_MENU ? nullptr : GetDlgItem(parent, static_cast<int>(mis->CtlID));
    }
    default:
      return reinterpret_cast<HWND>(m.LParam);
  }
}

}  // namespace

LRESULT CALLBACK TWinControl::StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = nullptr;
  const bool found = GuardMessage(
      msg,
      [&] {
        control = FindControl(hwnd);
        if (!control && Application) {
          // The first message of a window being made for a control tells which control it is.
          control = Application->CreatingControl();
          if (control) control->AttachHandle(hwnd);
        }
        return LRESULT{control != nullptr};
      },
      [] { return LRESULT{0}; });
  if (!found) {
    // A window without its control gets its class's own procedure.
    return GuardMessage(
        msg,
        [&] {
          WNDPROC def = Application ? Application->ClassDefaultProc(hwnd) : DefWindowProcW;
          return CallWindowProcW(def, hwnd, msg, wParam, lParam);
        },
        [&] { return DefWindowProcW(hwnd, msg, wParam, lParam); });
  }
  TMessage m{msg, wParam, lParam, 0};
  m.Result = GuardMessage(
      msg,
      [&] {
        if (control->WindowProc) {
          control->WindowProc(m);
        } else {
          control->WndProc(m);
        }
        return m.Result;
      },
      // A message whose handling failed gets the control's default handling (the window
      // class's procedure; an MDI frame's or child's MDI one): a paint still validates the
      // window, a creation still creates it.
      [&] {
        TMessage retry{msg, wParam, lParam, 0};
        control->DefaultHandler(retry);
        return retry.Result;
      });
  if (msg == WM_NCDESTROY && FindControl(hwnd) == control) control->DetachHandle();
  return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
  // The framework's own messages mean nothing to the native window procedures.
  if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400) return;
  if (!handle_ || !defWndProc_) return;
  m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WndProc(TMessage& m) {
  if (IsReflected(m.Msg)) {
    DispatchToControl(m);
    return;
  }
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
    ForwardMouseToGraphic(m);
    return;
  }
  switch (m.Msg) {
    case WM_PAINT:
      OnPaint(m);
      return;
    case WM_ERASEBKGND:
      OnEraseBackground(m);
      return;
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged(m);
      return;
    case WM_SETFOCUS:
      OnFocus(m);
      return;
    case WM_MOUSELEAVE:
      OnMouseLeave(m);
      return;
    case WM_CONTEXTMENU:
      OnContextMenu(m);
      return;
    case CM_FOCUSCHANGED:
      Broadcast(m);
      m.Result = 0;
      return;
    default:
      TControl::WndProc(m);
      return;
  }
}

void TWinControl::DispatchToControl(TMessage& m) {
  HWND child = NotifyingChild(handle_, m);
  TWinControl* target = child && child != handle_ ? FindControl(child) : nullptr;
  if (target) {
    ReflectToChild(m, child);
    return;
  }
  if ((m.Msg == WM_DRAWITEM || m.Msg == WM_MEASUREITEM || m.Msg == WM_COMMAND) && Application &&
      Application->DispatchMenuMessage(this, m)) {
    return;
  }
  DefaultHandler(m);
}

void TWinControl::ReflectToChild(TMessage& m, HWND child) {
  TWinControl* target = FindControl(child);
  m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  // A colour request the child did not answer gets the system's answer.
  if (!m.Result && m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC) DefaultHandler(m);
}

void TWinControl::OnPaint(TMessage& m) {
  if (!OwnClass()) {
    DefaultHandler(m);
    // The native painting is done; windowless children go on top of it.
    if (handle_ && m.WParam == 0) {
      WindowDc dc(handle_);
      PaintControls(dc.get());
    }
    return;
  }
  if (m.WParam) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    PaintWindow(dc);
    PaintControls(dc);
    return;
  }
  PaintCycle paint(handle_);
  PaintWindow(paint.get());
  PaintControls(paint.get());
}

void TWinControl::OnEraseBackground(TMessage& m) {
  if (!OwnClass()) {
    DefaultHandler(m);
    return;
  }
  RECT r{};
  GetClientRect(handle_, &r);
  FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
  m.Result = 1;
}

void TWinControl::OnWindowPosChanged(TMessage& m) {
  DefaultHandler(m);
  auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
  if (!(wp->flags & SWP_NOSIZE) || !(wp->flags & SWP_NOMOVE)) {
    RECT r{};
    GetWindowRect(handle_, &r);
    if (HWND parent = GetParent(handle_);
        parent && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD)) {
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    bool resized = (r.right - r.left) != Width() || (r.bottom - r.top) != Height();
    bounds_ = r;
    if (resized) AlignControls();
    BoundsChanged();
    NotifyParentBounds();
  }
}

void TWinControl::OnFocus(TMessage& m) {
  DefaultHandler(m);
  if (TCustomForm* form = ParentForm(); form && form != this) form->FocusControlChanged(this);
}

void TWinControl::OnMouseLeave(TMessage& m) {
  DefaultHandler(m);
  if (Application) Application->MouseLeftWindow(this);
}

void TWinControl::OnContextMenu(TMessage& m) {
  if (PopupMenu()) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (p.x == -1 && p.y == -1) p = ClientToScreen(POINT{0, 0});
    PopupMenu()->Popup(p.x, p.y);
    m.Result = 1;
    return;
  }
  DefaultHandler(m);
}

void TWinControl::ForwardMouseToGraphic(TMessage& m) {
  TControl* target = Application ? Application->CaptureControl() : nullptr;
  if (target && target->Parent() != this) target = nullptr;
  if (!target && m.Msg != WM_MOUSEWHEEL && m.Msg != WM_MOUSEHWHEEL) {
    TControl* hit = ControlAtPos(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    if (dynamic_cast<TGraphicControl*>(hit)) target = hit;
  }
  if (!target) {
    HandleMouse(m);
    DefaultHandler(m);
    return;
  }
  // The windowless control gets the message in its own coordinates; the parent holds the
  // capture for it while a button is down.
  RECT r = target->BoundsRect();
  LPARAM lp = MAKELPARAM(GET_X_LPARAM(m.LParam) - r.left, GET_Y_LPARAM(m.LParam) - r.top);
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) Application->SetCaptureControl(target);
  m.Result = target->Perform(m.Msg, m.WParam, lp);
  if (m.Msg == WM_LBUTTONUP) Application->SetCaptureControl(nullptr);
}

}  // namespace lbb::forms
