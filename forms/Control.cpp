#include <windowsx.h>

#include <algorithm>

#include "forms/Application.h"
#include "forms/Controls.h"
#include "forms/Forms.h"
#include "forms/Menus.h"

namespace lbb::forms {

const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TControl", &TComponent::StaticClassInfo());
    i.Add(IntProp<TControl>(u"Left", &TControl::Left, &TControl::SetLeft));
    i.Add(IntProp<TControl>(u"Top", &TControl::Top, &TControl::SetTop));
    i.Add(IntProp<TControl>(u"Width", &TControl::Width, &TControl::SetWidth));
    i.Add(IntProp<TControl>(u"Height", &TControl::Height, &TControl::SetHeight));
    i.Add(BoolProp<TControl>(u"Visible", &TControl::Visible, &TControl::SetVisible));
    i.Add(BoolProp<TControl>(u"Enabled", &TControl::Enabled, &TControl::SetEnabled));
    i.Add(IntProp<TControl>(u"Color", &TControl::Color, &TControl::SetColor));
    i.Add(BoolProp<TControl>(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor));
    i.Add(BoolProp<TControl>(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont));
    i.Add(ObjectProp<TControl, TFont>(u"Font", u"TFont", &TControl::Font, nullptr));
    i.Add(StrProp<TControl>(u"Hint", &TControl::Hint, &TControl::SetHint));
    i.Add(BoolProp<TControl>(u"ShowHint", &TControl::ShowHint, &TControl::SetShowHint));
    i.Add(EnumProp<TControl, TAlign>(
        u"Align", {u"alNone", u"alTop", u"alBottom", u"alLeft", u"alRight", u"alClient"},
        &TControl::Align, &TControl::SetAlign));
    return i;
  }();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this] {
    parentFont_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  BeginDestroy();
  if (Application) Application->ControlDestroyed(this);
  if (parent_) parent_->RemoveControl(this);
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc) {
    WindowProc(m);
  } else {
    WndProc(m);
  }
  return m.Result;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_ || parent == this) return;
  if (parent_) {
    Invalidate();
    parent_->RemoveControl(this);
  }
  if (parent) {
    parent->InsertControl(this);
    TakeParentLooks();
    Invalidate();
  }
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_)
    c = c->parent_;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  RECT r{left, top, left + std::max(width, 0), top + std::max(height, 0)};
  if (EqualRect(&r, &bounds_)) return;
  Invalidate();
  bounds_ = r;
  Invalidate();
  BoundsChanged();
  NotifyParentBounds();
}

RECT TControl::ClientRect() const {
  return RECT{0, 0, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top};
}

SIZE TControl::FrameExtent() const {
  RECT client = ClientRect();
  return SIZE{static_cast<LONG>(Width()) - client.right,
              static_cast<LONG>(Height()) - client.bottom};
}

void TControl::SetClientWidth(int64_t v) {
  SetWidth(v + FrameExtent().cx);
}

void TControl::SetClientHeight(int64_t v) {
  SetHeight(v + FrameExtent().cy);
}

void TControl::ChangeScale(int m, int d) {
  if (m == d) return;
  SetBounds(MulDiv(bounds_.left, m, d), MulDiv(bounds_.top, m, d),
            MulDiv(bounds_.right - bounds_.left, m, d), MulDiv(bounds_.bottom - bounds_.top, m, d));
  // A font that follows the parent's has followed it already (the parent scales first).
  if (!parentFont_ || !parent_) font_->ChangeScale(m, d);
}

void TControl::NotifyParentBounds() {
  if (parent_ && !parent_->Destroying()) parent_->ControlBoundsChanged(this);
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (!visible && Application) Application->ControlHidden(this);
  VisibleChanged();
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
  NotifyParentBounds();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(int64_t color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v) TakeParentLooks();
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v) TakeParentLooks();
}

void TControl::TakeParentLooks() {
  if (!parent_) return;
  if (parentColor_ && color_ != parent_->color_) {
    color_ = parent_->color_;
    ColorChanged();
    Perform(CM_COLORCHANGED);
  }
  if (parentFont_ && !(*font_ == *parent_->font_)) {
    font_->Assign(*parent_->font_);
    parentFont_ = true;  // Assign went through OnChange, which cleared it
  }
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* c, TOperation operation) {
  TComponent::Notification(c, operation);
  if (operation == TOperation::opRemove && c == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::SetText(const String& text) {
  if (text == text_) return;
  text_ = text;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::VisibleChanged() {
  Invalidate();
}

void TControl::EnabledChanged() {
  Invalidate();
}

void TControl::ColorChanged() {
  Invalidate();
}

void TControl::FontChanged() {
  Perform(CM_FONTCHANGED);
  Invalidate();
}

void TControl::Invalidate() {}

void TControl::Repaint() {
  Invalidate();
  if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->WindowHandle());
}

POINT TControl::ClientToScreen(POINT p) const {
  if (auto w = dynamic_cast<const TWinControl*>(this); w && w->HandleAllocated()) {
    ::ClientToScreen(w->WindowHandle(), &p);
    return p;
  }
  if (!parent_) return p;
  return parent_->ClientToScreen(POINT{p.x + bounds_.left, p.y + bounds_.top});
}

POINT TControl::ScreenToClient(POINT p) const {
  POINT origin = ClientToScreen(POINT{0, 0});
  return POINT{p.x - origin.x, p.y - origin.y};
}

namespace {

// The keys and buttons of a mouse message's wParam, with Alt from the keyboard.
TShiftState ShiftOfMouseKeys(WPARAM keys) {
  TShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

void PressFromMessage(TControl& control, const TMessage& m, TMouseButton button, bool dbl) {
  TShiftState shift = ShiftOfMouseKeys(m.WParam);
  if (dbl) shift |= ssDouble;
  control.MouseDown(button, shift, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

}  // namespace

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::HandleMouse(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      if (Application) Application->MouseMoved(this);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      PressFromMessage(*this, message, TMouseButton::mbLeft, message.Msg == WM_LBUTTONDBLCLK);
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      PressFromMessage(*this, message, TMouseButton::mbRight, message.Msg == WM_RBUTTONDBLCLK);
      return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      PressFromMessage(*this, message, TMouseButton::mbMiddle, message.Msg == WM_MBUTTONDBLCLK);
      return;
    default:
      return;
  }
}

void TControl::WndProc(TMessage& message) {
  if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) HandleMouse(message);
  DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage&) {}

// ---- TGraphicControl

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info(u"TGraphicControl", &TControl::StaticClassInfo());
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetParentColor(true);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Invalidate() {
  TWinControl* p = Parent();
  if (p && p->HandleAllocated() && IsWindowVisible(p->WindowHandle())) {
    RECT r = bounds_;
    InvalidateRect(p->WindowHandle(), &r, TRUE);
  }
}

void TGraphicControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: {
      // The parent hands its device context in wParam, origin already at the control.
      if (!message.WParam) break;
      CanvasScope scope(*canvas_, reinterpret_cast<HDC>(message.WParam));
      canvas_->Font()->Assign(*Font());
      canvas_->Brush()->SetColor(Color());
      Paint();
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The second press of a double click presses the control again.
      pressed_ = Enabled();
      break;
    case WM_LBUTTONUP: {
      bool wasPressed = std::exchange(pressed_, false);
      POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
      RECT r = ClientRect();
      TControl::WndProc(message);
      // A press that is released over the control clicks it.
      if (wasPressed && PtInRect(&r, p) && !Destroying()) Click();
      return;
    }
    default:
      break;
  }
  TControl::WndProc(message);
}

}  // namespace lbb::forms
