// Message handling of forms: closing, dialog keys and characters, the resize veto,
// activation and focus, and the form's own scrolling.
#include "forms/Application.h"
#include "forms/Forms.h"

namespace lbb::forms {

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      HandleClose(m);
      return;
    case CM_DIALOGKEY:
      OnDialogKey(m);
      return;
    case CM_DIALOGCHAR:
      Broadcast(m);
      return;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(m);
      return;
    case WM_ACTIVATE:
      OnActivate(m);
      return;
    case WM_ACTIVATEAPP:
      // Another program (or thread) takes the foreground: a hint showing over this one goes.
      if (!m.WParam && Application) Application->CancelHint();
      TWinControl::WndProc(m);
      return;
    case WM_SYSCOMMAND:
      OnSysCommand(m);
      return;
    case WM_HSCROLL:
      OnScroll(m, SB_HORZ);
      return;
    case WM_VSCROLL:
      OnScroll(m, SB_VERT);
      return;
    case WM_MOUSEWHEEL:
      OnMouseWheel(m);
      return;
    case WM_SIZE:
      OnSize(m);
      PlaceMDIClient();
      return;
    case WM_DPICHANGED:
      OnDpiChanged(m);
      return;
    case CM_MENUCHANGED:
      UpdateMDIMenu();
      TWinControl::WndProc(m);
      return;
    case CM_RELEASE:
      // The messages that were waiting for the form are handled: the application frees it.
      if (Application) Application->ReleaseForm(this);
      return;
    default:
      TWinControl::WndProc(m);
      return;
  }
}

void TCustomForm::HandleClose(TMessage&) {
  // The window stays; Close decides whether the form hides, ends the application or stays.
  Close();
}

void TCustomForm::OnDialogKey(TMessage& m) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  if (m.WParam == VK_TAB && !control) {
    m.Result = SelectNext(activeControl_, !shift) ? 1 : 0;
    return;
  }
  // Enter, Escape and the like go to the controls: a default or cancel button takes them.
  Broadcast(m);
}

void TCustomForm::OnWindowPosChanging(TMessage& m) {
  TWinControl::WndProc(m);
  auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
  if ((wp->flags & SWP_NOSIZE) || !OnCanResize || !WindowHandle() || scaling_) return;
  RECT r{};
  GetWindowRect(WindowHandle(), &r);
  if (wp->cx == r.right - r.left && wp->cy == r.bottom - r.top) return;
  int w = wp->cx, h = wp->cy;
  bool resize = true;
  OnCanResize(this, w, h, resize);
  if (!resize) {
    wp->flags |= SWP_NOSIZE;
  } else {
    wp->cx = w;
    wp->cy = h;
  }
}

void TCustomForm::OnActivate(TMessage& m) {
  TWinControl::WndProc(m);
  // Coming back to the form gives the focus back to the control that had it.
  if (LOWORD(m.WParam) != WA_INACTIVE && !HIWORD(m.WParam) && activeControl_ &&
      activeControl_->WindowHandle() && activeControl_->CanFocus()) {
    ::SetFocus(activeControl_->WindowHandle());
  }
}

void TCustomForm::OnSysCommand(TMessage& m) {
  // A form without a maximise button is not maximised by a double click on its caption.
  if ((m.WParam & 0xFFF0) == SC_MAXIMIZE && !(borderIcons_ & biMaximize)) return;
  TWinControl::WndProc(m);
}

}  // namespace lbb::forms
