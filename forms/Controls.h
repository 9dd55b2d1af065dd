// Controls: TControl (bounds, visibility, colour, font, text, a replaceable message method),
// TGraphicControl (no window; painted and fed mouse messages by its parent) and TWinControl
// (a window made on demand, whose every message passes through WindowProc, then the
// control's own handling, then the native window procedure).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "forms/Graphics.h"
#include "forms/Messages.h"
#include "forms/core/Component.h"

namespace lbb::forms {

class TWinControl;
class TCustomForm;
class TPopupMenu;

using TNotifyEvent = std::function<void(TObject* sender)>;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Mouse buttons, and the keys and buttons held during a mouse event (ssDouble: the press is
// the second of a double click).
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : uint8_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using TShiftState = uint8_t;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;

class TControl : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // The message method: a skinner keeps the current value, installs its own and calls the
  // kept one for what it does not take, and puts it back when done.
  TWndMethod WindowProc;
  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form that holds the control (or the control itself when it is a form); may be null.
  TCustomForm* ParentForm() const;

  int64_t Left() const { return bounds_.left; }
  int64_t Top() const { return bounds_.top; }
  int64_t Width() const { return bounds_.right - bounds_.left; }
  int64_t Height() const { return bounds_.bottom - bounds_.top; }
  void SetLeft(int64_t v) { SetBounds(int(v), int(Top()), int(Width()), int(Height())); }
  void SetTop(int64_t v) { SetBounds(int(Left()), int(v), int(Width()), int(Height())); }
  void SetWidth(int64_t v) { SetBounds(int(Left()), int(Top()), int(v), int(Height())); }
  void SetHeight(int64_t v) { SetBounds(int(Left()), int(Top()), int(Width()), int(v)); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return bounds_; }
  // The client area at (0, 0).
  virtual RECT ClientRect() const;
  int64_t ClientWidth() const { return ClientRect().right; }
  int64_t ClientHeight() const { return ClientRect().bottom; }
  // Sizes the control so that its client area gets the width (height) asked for.
  virtual void SetClientWidth(int64_t v);
  virtual void SetClientHeight(int64_t v);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so is every parent up to a shown window.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  int64_t Color() const { return color_; }
  void SetColor(int64_t color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont* Font() const { return font_.get(); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);

  // The control's text; for windowed controls the window's text once it exists.
  String Caption() const { return GetText(); }
  void SetCaption(const String& text) { SetText(text); }
  String Text() const { return GetText(); }
  void SetTextProp(const String& text) { SetText(text); }
  // The hint shows only when the control's own ShowHint is true (no ParentShowHint: a
  // parent's ShowHint is not inherited); see TApplication for the timing.
  String Hint() const { return hint_; }
  void SetHint(const String& hint) { hint_ = hint; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // Scales the control's place, size and own font by M/D, each rounded as MulDiv rounds
  // (a font that follows the parent's follows it); a windowed control scales its children
  // too. Forms call it once to take a design made at one resolution to the screen's
  // (TCustomForm::ScaleToScreen).
  virtual void ChangeScale(int m, int d);

  TNotifyEvent OnClick;
  // Runs OnClick.
  virtual void Click();
  // A mouse button went down at the client point (x, y): runs OnMouseDown. A real press
  // comes here; so does a press that a skinner took from the window and hands on.
  TMouseEvent OnMouseDown;
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Invalidate();
  void Repaint();
  // Screen point to client point and back.
  POINT ScreenToClient(POINT p) const;
  POINT ClientToScreen(POINT p) const;

  // The control's own handling of a message; what it leaves goes to DefaultHandler.
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

 protected:
  void Notification(TComponent* c, TOperation operation) override;
  virtual String GetText() const { return text_; }
  virtual void SetText(const String& text);
  virtual void BoundsChanged() {}
  // What the frame (borders, caption, menu) adds to the client area's width and height.
  virtual SIZE FrameExtent() const;
  // Tells the parent that the control's place, size or visibility changed.
  void NotifyParentBounds();
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  virtual void ColorChanged();
  virtual void FontChanged();
  // Copies the parent's font or colour when the control follows them.
  void TakeParentLooks();
  // Mouse input shared by windowed and windowless controls.
  void HandleMouse(TMessage& message);

  RECT bounds_{0, 0, 0, 0};
  String text_;
  bool pressed_ = false;

 private:
  friend class TWinControl;

  TWinControl* parent_ = nullptr;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  int64_t color_ = clBtnFace;
  bool parentColor_ = false;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  String hint_;
  bool showHint_ = false;
  TPopupMenu* popupMenu_ = nullptr;
};

// A control without a window: its parent paints it (WM_PAINT with the parent's device context
// in wParam, origin moved to the control) and hands it mouse messages in its own coordinates.
class TGraphicControl : public TControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }
  void Invalidate() override;
  void WndProc(TMessage& message) override;

 protected:
  // Draws the control on Canvas(), whose origin is the control's top-left corner.
  virtual void Paint() {}

 private:
  std::unique_ptr<TCanvas> canvas_;
};

// Parameters a windowed control gives for the creation of its window.
struct TCreateParams {
  std::wstring className;    // window class registered for the control
  std::wstring nativeClass;  // class it builds on ("BUTTON"); empty: a class of our own
  String caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND parent = nullptr;
  UINT classStyle = CS_DBLCLKS;
  HCURSOR cursor = nullptr;
};

class TWinControl : public TControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, made (with the parents' windows) when first asked for.
  HWND Handle();
  HWND WindowHandle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and makes a new one with the control's current settings; the
  // control first gets CM_RECREATEWND.
  void RecreateWnd();
  void DestroyHandle();

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  // The visible, enabled child control under a client point (windowless ones preferred, as
  // they lie on the parent's surface); null when none.
  TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;
  // Sends `message` to every child control until one answers non-zero.
  void Broadcast(TMessage& message);

  int64_t TabOrder() const;
  void SetTabOrder(int64_t order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  bool Focused() const;
  bool CanFocus() const;
  virtual void SetFocus();
  // The tab-ordered windowed controls inside this one that can take the focus.
  std::vector<TWinControl*> TabList() const;

  RECT ClientRect() const override;
  void SetBounds(int left, int top, int width, int height) override;
  void ChangeScale(int m, int d) override;
  void Invalidate() override;
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  // The window procedure of every framework window class.
  static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  virtual void CreateParams(TCreateParams& params);
  // After the window exists: font, children, and whatever the control keeps outside it.
  virtual void CreateWnd();
  // Before the window goes: read back what the control keeps in it.
  virtual void DestroyWnd() {}
  // Makes the window the parameters describe (CreateWindowEx; an MDI child asks its MDI
  // client) and returns it; null when it could not be made.
  virtual HWND CreateWindowHandle(const TCreateParams& params);
  // Destroys the window (an MDI child asks its MDI client).
  virtual void DestroyWindowHandle();
  // Paints the surface of a window of our own class (not for native classes).
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc);
  String GetText() const override;
  void SetText(const String& text) override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void ColorChanged() override;
  void FontChanged() override;
  // A window of a native class paints itself; ours are painted by PaintWindow.
  bool OwnClass() const { return defWndProc_ == DefWindowProcW; }
  // The brush of the control's colour, for backgrounds and WM_CTLCOLOR answers.
  HBRUSH ColorBrush();
  // Answers a reflected colour request (CN_CTLCOLOR...) with the control's font colour on
  // its own colour.
  void AnswerColorRequest(TMessage& message);
  // Puts the children with an alignment into place.
  void AlignControls();
  // Scales every child by M/D (a form placed inside scales by its own design resolution),
  // then puts the aligned ones into place.
  void ScaleControls(int m, int d);
  // A child control was put in, taken out, moved, resized, shown or hidden.
  virtual void ControlBoundsChanged(TControl*) {}

 private:
  friend class TControl;

  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void AttachHandle(HWND hwnd);
  void DetachHandle();
  void DispatchToControl(TMessage& message);
  void ReflectToChild(TMessage& message, HWND child);
  void OnPaint(TMessage& message);
  void OnEraseBackground(TMessage& message);
  void OnWindowPosChanged(TMessage& message);
  void OnFocus(TMessage& message);
  void OnMouseLeave(TMessage& message);
  void OnContextMenu(TMessage& message);
  void ForwardMouseToGraphic(TMessage& message);
  UINT StyleVisibility() const;

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabOrder_;
  bool tabStop_ = false;
  BrushHandle brush_;
  TColor brushColor_ = clNone;
  bool recreating_ = false;
};

// The framework control that owns `hwnd` (through the window's "ControlOfs" property of this
// module and thread); null when none.
TWinControl* FindControl(HWND hwnd);

// A new control of class C owned by `owner` and shown on `parent` at the bounds given.
template <class C>
C* Place(TComponent* owner, TWinControl* parent, int left, int top, int width, int height) {
  auto* c = new C(owner);
  c->SetParent(parent);
  c->SetBounds(left, top, width, height);
  return c;
}
// The same, owned by `parent` itself.
template <class C>
C* Place(TWinControl* parent, int left, int top, int width, int height) {
  return Place<C>(parent, parent, left, top, width, height);
}

}  // namespace lbb::forms
