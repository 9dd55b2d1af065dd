// Check boxes, radio buttons and group boxes.
#pragma once

#include "forms/StdCtrls.h"

namespace lbb::forms {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
// Which side of the box the caption is on: taLeftJustify puts it on the left.
enum class TLeftRight { taLeftJustify, taRightJustify };

// A check box (the system's button window in check-box style). The control keeps the state
// and sets the window from it; a click moves unchecked -> checked -> (grayed when AllowGrayed)
// -> unchecked. Every change of the state runs OnClick.
class TCustomCheckBox : public TButtonControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TCustomCheckBox(TComponent* owner);
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState state);
  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
  void SetChecked(bool v) { SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v) { allowGrayed_ = v; }
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight v);
  // The next state a click gives.
  void Toggle();
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  bool allowGrayed_ = false;
  TLeftRight alignment_ = TLeftRight::taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

// A radio button: checking one unchecks the other radio buttons of the same parent.
class TRadioButton : public TButtonControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return checked_; }
  // Checking runs OnClick and unchecks the siblings.
  void SetChecked(bool v);
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight v);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  bool checked_ = false;
  TLeftRight alignment_ = TLeftRight::taRightJustify;
};

// A frame with a caption that holds other controls; a window of its own class that paints
// the etched frame and the caption on its own colour.
class TCustomGroupBox : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TCustomGroupBox(TComponent* owner);
  // Inside the frame, below the caption.
  RECT DisplayRect();

 protected:
  void PaintWindow(HDC dc) override;
  void SetText(const String& text) override;
};

class TGroupBox : public TCustomGroupBox {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

}  // namespace lbb::forms
