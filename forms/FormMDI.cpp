// MDI frames and children, window states, stay-on-top forms and the deferred freeing of forms.
//
// An MDI frame's client area is an "MDIClient" window (the platform's class) that holds the
// MDI children; the frame hands the messages it leaves to DefFrameProc with that client, a
// child to DefMDIChildProc. Children are made through WM_MDICREATE (they get WS_EX_MDICHILD)
// and destroyed through WM_MDIDESTROY, so that the client keeps its Window menu, the active
// child and the maximised child's caption buttons in the frame's menu bar up to date.
#include <algorithm>
#include <stdexcept>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/WinText.h"

namespace lbb::forms {

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == formStyle_) return;
  const TFormStyle old = formStyle_;
  formStyle_ = style;
  HWND hwnd = WindowHandle();
  if (!hwnd) return;
  const auto plain = [](TFormStyle s) {
    return s == TFormStyle::fsNormal || s == TFormStyle::fsStayOnTop;
  };
  if (plain(old) && plain(style)) {
    HWND after = style == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  RecreateWnd();
}

TWindowState TCustomForm::WindowState() const {
  HWND hwnd = WindowHandle();
  if (!hwnd || !IsWindowVisible(hwnd)) return windowState_;
  if (IsIconic(hwnd)) return TWindowState::wsMinimized;
  if (IsZoomed(hwnd)) return TWindowState::wsMaximized;
  return TWindowState::wsNormal;
}

void TCustomForm::SetWindowState(TWindowState state) {
  windowState_ = state;
  HWND hwnd = WindowHandle();
  if (!hwnd || !IsWindowVisible(hwnd)) return;
  switch (state) {
    case TWindowState::wsNormal:
      ShowWindow(hwnd, SW_RESTORE);
      break;
    case TWindowState::wsMinimized:
      ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case TWindowState::wsMaximized:
      ShowWindow(hwnd, SW_MAXIMIZE);
      break;
  }
}

void TCustomForm::ShowWindowState(HWND hwnd) {
  switch (windowState_) {
    case TWindowState::wsNormal:
      ShowWindow(hwnd, SW_SHOW);
      break;
    case TWindowState::wsMinimized:
      // Shown minimised without taking the activation from the window that has it.
      ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
      return;
    case TWindowState::wsMaximized:
      ShowWindow(hwnd, SW_SHOWMAXIMIZED);
      break;
  }
  // Showing a child window does not activate it: the MDI client makes it the active child.
  if (formStyle_ == TFormStyle::fsMDIChild && GetParent(hwnd)) {
    SendMessageW(GetParent(hwnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hwnd), 0);
  }
}

// ---- MDI children

void TCustomForm::MDIChildParams(TCreateParams& p) {
  TCustomForm* frame = Screen->MDIFrame();
  HWND client = nullptr;
  if (frame && frame != this) {
    // Measuring the frame makes no window; making the child makes the frame's first.
    if (!measuring_) frame->HandleNeeded();
    client = frame->ClientHandle();
  }
  if (!client && !measuring_) {
    throw std::runtime_error("Cannot make an MDI child form: no MDI frame form is open");
  }
  p.style = (p.style & ~(WS_POPUP | WS_VISIBLE)) | WS_CHILD;
  p.exStyle = (p.exStyle & ~WS_EX_APPWINDOW) | WS_EX_MDICHILD;
  p.parent = client;
}

HWND TCustomForm::CreateWindowHandle(const TCreateParams& p) {
  if (formStyle_ != TFormStyle::fsMDIChild || !p.parent) return TWinControl::CreateWindowHandle(p);
  std::wstring caption = Wide(p.caption);
  MDICREATESTRUCTW create{};
  create.szClass = p.className.c_str();
  create.szTitle = caption.c_str();
  create.hOwner = Application->Instance();
  create.x = p.x;
  create.y = p.y;
  create.cx = p.width;
  create.cy = p.height;
  create.style = p.style;
  return reinterpret_cast<HWND>(
      SendMessageW(p.parent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

void TCustomForm::DestroyWindowHandle() {
  HWND hwnd = WindowHandle();
  HWND client = GetParent(hwnd);
  if (client && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
    if (!IsWindow(hwnd)) return;
  }
  TWinControl::DestroyWindowHandle();
}

// ---- MDI frames

void TCustomForm::SetWindowMenu(TMenuItem* item) {
  if (item == windowMenu_) return;
  if (windowMenu_) windowMenu_->RemoveFreeNotification(this);
  windowMenu_ = item;
  if (windowMenu_) windowMenu_->FreeNotification(this);
  UpdateMDIMenu();
}

void TCustomForm::CreateMDIClient() {
  CLIENTCREATESTRUCT create{};
  create.hWindowMenu = windowMenu_ ? windowMenu_->Handle() : nullptr;
  create.idFirstChild = kFirstMDIChildId;
  // The platform's own child styles: a child made hidden stays hidden until shown.
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL |
                      WS_VSCROLL | MDIS_ALLCHILDSTYLES;
  mdiClient_.reset(CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr, style, 0, 0, 0, 0,
                                   WindowHandle(), nullptr, Application->Instance(), &create));
  PlaceMDIClient();
}

void TCustomForm::PlaceMDIClient() {
  if (!mdiClient_ || !WindowHandle()) return;
  // The client fills what the aligned controls (a tool bar, a status bar) leave.
  RECT area = ClientRect();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    RECT b = c->BoundsRect();
    switch (c->Align()) {
      case TAlign::alTop:
        area.top = std::max(area.top, b.bottom);
        break;
      case TAlign::alBottom:
        area.bottom = std::min(area.bottom, b.top);
        break;
      case TAlign::alLeft:
        area.left = std::max(area.left, b.right);
        break;
      case TAlign::alRight:
        area.right = std::min(area.right, b.left);
        break;
      default:
        break;
    }
  }
  MoveWindow(mdiClient_.get(), area.left, area.top, std::max<LONG>(area.right - area.left, 0),
             std::max<LONG>(area.bottom - area.top, 0), TRUE);
}

void TCustomForm::UpdateMDIMenu() {
  if (!mdiClient_) return;
  HMENU frameMenu = menu_ ? menu_->Handle() : nullptr;
  HMENU windowMenu = windowMenu_ ? windowMenu_->Handle() : nullptr;
  SendMessageW(mdiClient_.get(), WM_MDISETMENU, reinterpret_cast<WPARAM>(frameMenu),
               reinterpret_cast<LPARAM>(windowMenu));
  DrawMenuBar(WindowHandle());
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() const {
  std::vector<TCustomForm*> list;
  if (!mdiClient_) return list;
  for (HWND w = GetWindow(mdiClient_.get(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (TCustomForm* f = Screen->FindForm(w)) list.push_back(f);
  }
  return list;
}

void TCustomForm::FreeMDIChildren() {
  for (TCustomForm* child : MDIChildList())
    delete child;
}

int TCustomForm::MDIChildCount() const {
  return static_cast<int>(MDIChildList().size());
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
  return MDIChildList().at(static_cast<size_t>(index));
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!mdiClient_) return nullptr;
  return Screen->FindForm(
      reinterpret_cast<HWND>(SendMessageW(mdiClient_.get(), WM_MDIGETACTIVE, 0, 0)));
}

void TCustomForm::Cascade() {
  if (mdiClient_) SendMessageW(mdiClient_.get(), WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile() {
  if (mdiClient_) SendMessageW(mdiClient_.get(), WM_MDITILE, MDITILE_VERTICAL, 0);
}

void TCustomForm::ArrangeIcons() {
  if (mdiClient_) SendMessageW(mdiClient_.get(), WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next() {
  if (mdiClient_) SendMessageW(mdiClient_.get(), WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (mdiClient_) SendMessageW(mdiClient_.get(), WM_MDINEXT, 0, 1);
}

// ---- default handling and freeing

void TCustomForm::DefaultHandler(TMessage& m) {
  HWND hwnd = WindowHandle();
  if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400) return;
  if (hwnd && formStyle_ == TFormStyle::fsMDIForm) {
    m.Result = DefFrameProcW(hwnd, mdiClient_.get(), m.Msg, m.WParam, m.LParam);
    return;
  }
  if (hwnd && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    m.Result = DefMDIChildProcW(hwnd, m.Msg, m.WParam, m.LParam);
    return;
  }
  TWinControl::DefaultHandler(m);
}

void TCustomForm::Release() {
  if (HWND hwnd = WindowHandle()) {
    PostMessageW(hwnd, CM_RELEASE, 0, 0);
  } else if (Application) {
    Application->ReleaseForm(this);
  }
}

}  // namespace lbb::forms
