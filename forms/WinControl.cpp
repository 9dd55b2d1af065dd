#include <windowsx.h>

#include <algorithm>

#include "forms/Application.h"
#include "forms/Controls.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/WinText.h"

namespace lbb::forms {

const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TWinControl", &TControl::StaticClassInfo());
    i.Add(IntProp<TWinControl>(u"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder));
    i.Add(BoolProp<TWinControl>(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop));
    return i;
  }();
  return info;
}

TWinControl* FindControl(HWND hwnd) {
  if (!hwnd || !Application) return nullptr;
  return static_cast<TWinControl*>(GetPropW(hwnd, MAKEINTATOM(Application->ControlAtom())));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  BeginDestroy();
  // Free the owned components while this is still a windowed control, then let go of the
  // children that belong to someone else.
  DestroyComponents();
  for (TControl* c : std::vector<TControl*>(controls_))
    c->SetParent(nullptr);
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (handle_ || Destroying()) return handle_;
  if (Parent() && !Parent()->Handle()) return nullptr;
  // Making the parent's window makes the windows of its children, this one among them.
  if (handle_) return handle_;
  TCreateParams params;
  CreateParams(params);
  defWndProc_ = Application->RegisterControlClass(params);
  if (!defWndProc_) return nullptr;
  Application->BeginCreating(this);
  HWND hwnd = CreateWindowHandle(params);
  Application->EndCreating();
  if (!hwnd) return nullptr;
  if (handle_ != hwnd) AttachHandle(hwnd);  // the class procedure did not see a message yet
  CreateWnd();
  return handle_;
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& params) {
  std::wstring caption = Wide(params.caption);
  HMENU id = (params.style & WS_CHILD)
                 ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(Application->NextControlId()))
                 : nullptr;
  return CreateWindowExW(params.exStyle, params.className.c_str(), caption.c_str(), params.style,
                         params.x, params.y, params.width, params.height, params.parent, id,
                         Application->Instance(), nullptr);
}

void TWinControl::DestroyWindowHandle() {
  DestroyWindow(handle_);
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.className = Wide(ClassName());
  p.caption = text_;
  p.x = bounds_.left;
  p.y = bounds_.top;
  p.width = bounds_.right - bounds_.left;
  p.height = bounds_.bottom - bounds_.top;
  p.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (Parent()) {
    p.style |= WS_CHILD;
    p.parent = Parent()->WindowHandle();
    if (Visible()) p.style |= WS_VISIBLE;
  }
  if (tabStop_) p.style |= WS_TABSTOP;
  if (!Enabled()) p.style |= WS_DISABLED;
  p.cursor = LoadCursorW(nullptr, IDC_ARROW);
}

void TWinControl::CreateWnd() {
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
  for (TWinControl* c : tabOrder_)
    c->HandleNeeded();
  AlignControls();
}

void TWinControl::AttachHandle(HWND hwnd) {
  handle_ = hwnd;
  SetPropW(hwnd, MAKEINTATOM(Application->ControlAtom()), this);
}

void TWinControl::DetachHandle() {
  if (!handle_) return;
  RemovePropW(handle_, MAKEINTATOM(Application->ControlAtom()));
  handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  // Read back what lives in the windows before they go, children first.
  for (TControl* c : controls_) {
    if (auto w = dynamic_cast<TWinControl*>(c); w && w->handle_) {
      w->text_ = w->GetText();
      w->DestroyWnd();
    }
  }
  text_ = GetText();
  DestroyWnd();
  HWND hwnd = handle_;
  DestroyWindowHandle();
  if (handle_ == hwnd) DetachHandle();  // in case the window was already gone
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  Perform(CM_RECREATEWND);
  recreating_ = true;
  DestroyHandle();
  recreating_ = false;
  HandleNeeded();
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  c->parent_ = this;
  if (auto w = dynamic_cast<TWinControl*>(c)) {
    tabOrder_.push_back(w);
    if (handle_) w->HandleNeeded();
  }
  if (c->Align() != TAlign::alNone) AlignControls();
  if (!Destroying()) ControlBoundsChanged(c);
}

void TWinControl::RemoveControl(TControl* c) {
  if (auto w = dynamic_cast<TWinControl*>(c)) {
    if (w->handle_ && !Destroying()) w->DestroyHandle();
  }
  // Compared as controls: a windowed child freed directly comes here from ~TControl, when
  // it is no longer a TWinControl to dynamic_cast.
  std::erase_if(tabOrder_, [c](TWinControl* w) { return static_cast<TControl*>(w) == c; });
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  c->parent_ = nullptr;
  if (!Destroying()) ControlBoundsChanged(c);
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
  // Later controls lie on top; windowless ones are found first as they have no window to
  // receive the mouse themselves.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!dynamic_cast<TGraphicControl*>(c)) continue;
    RECT r = c->BoundsRect();
    if (c->Visible() && (c->Enabled() || allowDisabled) && PtInRect(&r, p)) return c;
  }
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    RECT r = c->BoundsRect();
    if (c->Visible() && (c->Enabled() || allowDisabled) && PtInRect(&r, p)) return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    message.Result = c->Perform(message.Msg, message.WParam, message.LParam);
    if (message.Result != 0) return;
  }
}

int64_t TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& list = Parent()->tabOrder_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : it - list.begin();
}

void TWinControl::SetTabOrder(int64_t order) {
  if (!Parent()) return;
  auto& list = Parent()->tabOrder_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  order = std::clamp<int64_t>(order, 0, static_cast<int64_t>(list.size()));
  list.insert(list.begin() + order, this);
  // The window order is the order in which the system's own navigation walks.
  if (handle_) {
    HWND after = order == 0 ? HWND_TOP : list[static_cast<size_t>(order - 1)]->handle_;
    if (after) SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::SetTabStop(bool v) {
  if (v == tabStop_) return;
  tabStop_ = v;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
}

bool TWinControl::Focused() const {
  return handle_ && GetFocus() == handle_;
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

void TWinControl::SetFocus() {
  if (HWND h = Handle()) ::SetFocus(h);
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> out;
  for (TWinControl* w : tabOrder_) {
    if (w->TabStop() && w->CanFocus()) out.push_back(w);
    auto inner = w->TabList();
    out.insert(out.end(), inner.begin(), inner.end());
  }
  return out;
}

RECT TWinControl::ClientRect() const {
  RECT r{};
  if (handle_ && GetClientRect(handle_, &r)) return r;
  return TControl::ClientRect();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  RECT r{left, top, left + std::max(width, 0), top + std::max(height, 0)};
  if (EqualRect(&r, &bounds_)) return;
  const bool resized = r.right - r.left != bounds_.right - bounds_.left ||
                       r.bottom - r.top != bounds_.bottom - bounds_.top;
  bounds_ = r;
  if (handle_) {
    SetWindowPos(handle_, nullptr, left, top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The window's own notice finds the bounds already set: the aligned children follow here.
    if (resized) AlignControls();
  } else {
    AlignControls();
  }
  BoundsChanged();
  if (Parent() && Align() != TAlign::alNone) Parent()->AlignControls();
  NotifyParentBounds();
}

void TWinControl::ChangeScale(int m, int d) {
  if (m == d) return;
  TControl::ChangeScale(m, d);
  ScaleControls(m, d);
}

void TWinControl::ScaleControls(int m, int d) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (auto* form = dynamic_cast<TCustomForm*>(c)) {
      form->ScaleToScreen();
    } else {
      c->ChangeScale(m, d);
    }
  }
  AlignControls();
}

void TWinControl::AlignControls() {
  RECT area = ClientRect();
  for (TControl* c : controls_) {
    if (!c->Visible()) continue;
    int w = static_cast<int>(c->Width()), h = static_cast<int>(c->Height());
    int areaW = area.right - area.left, areaH = area.bottom - area.top;
    switch (c->Align()) {
      case TAlign::alNone:
        continue;
      case TAlign::alTop:
        c->SetBounds(area.left, area.top, areaW, h);
        area.top += h;
        break;
      case TAlign::alBottom:
        c->SetBounds(area.left, area.bottom - h, areaW, h);
        area.bottom -= h;
        break;
      case TAlign::alLeft:
        c->SetBounds(area.left, area.top, w, areaH);
        area.left += w;
        break;
      case TAlign::alRight:
        c->SetBounds(area.right - w, area.top, w, areaH);
        area.right -= w;
        break;
      case TAlign::alClient:
        c->SetBounds(area.left, area.top, areaW, areaH);
        break;
    }
  }
}

void TWinControl::Invalidate() {
  // A window that does not show is painted whole when it shows: nothing to mark now (under
  // Wine each mark is a request to its server).
  if (handle_ && IsWindowVisible(handle_)) InvalidateRect(handle_, nullptr, TRUE);
}

String TWinControl::GetText() const {
  return handle_ ? WindowText(handle_) : text_;
}

void TWinControl::SetText(const String& text) {
  if (!handle_) {
    TControl::SetText(text);
    return;
  }
  if (text == WindowText(handle_)) return;
  text_ = text;
  std::wstring w = Wide(text);
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
  Perform(CM_TEXTCHANGED);
}

UINT TWinControl::StyleVisibility() const {
  return Visible() ? SW_SHOWNA : SW_HIDE;
}

void TWinControl::VisibleChanged() {
  if (handle_) ShowWindow(handle_, StyleVisibility());
  if (Parent() && Align() != TAlign::alNone) Parent()->AlignControls();
}

void TWinControl::EnabledChanged() {
  if (handle_) EnableWindow(handle_, Enabled());
}

void TWinControl::ColorChanged() {
  Invalidate();
  for (TControl* c : controls_)
    c->TakeParentLooks();
}

void TWinControl::FontChanged() {
  if (handle_) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
  TControl::FontChanged();
  for (TControl* c : controls_)
    c->TakeParentLooks();
}

HBRUSH TWinControl::ColorBrush() {
  if (!brush_ || brushColor_ != static_cast<TColor>(Color())) {
    brushColor_ = static_cast<TColor>(Color());
    brush_.reset(CreateSolidBrush(ColorToRGB(brushColor_)));
  }
  return brush_.get();
}

void TWinControl::AnswerColorRequest(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToRGB(static_cast<TColor>(Font()->Color())));
  SetBkColor(dc, ColorToRGB(static_cast<TColor>(Color())));
  m.Result = reinterpret_cast<LRESULT>(ColorBrush());
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    if (!dynamic_cast<TGraphicControl*>(c) || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    SavedDc saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

}  // namespace lbb::forms
