#include "forms/ButtonCtrls.h"

#include "forms/WinText.h"

namespace lbb::forms {
namespace {

const std::vector<String> kLeftRight{u"taLeftJustify", u"taRightJustify"};

}  // namespace

// ---- TCustomCheckBox, TCheckBox

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TCustomCheckBox", &TButtonControl::StaticClassInfo());
    i.Add(EnumProp<TCustomCheckBox, TCheckBoxState>(
        u"State", {u"cbUnchecked", u"cbChecked", u"cbGrayed"}, &TCustomCheckBox::State,
        &TCustomCheckBox::SetState));
    i.Add(BoolProp<TCustomCheckBox>(u"Checked", &TCustomCheckBox::Checked,
                                    &TCustomCheckBox::SetChecked));
    i.Add(BoolProp<TCustomCheckBox>(u"AllowGrayed", &TCustomCheckBox::AllowGrayed,
                                    &TCustomCheckBox::SetAllowGrayed));
    i.Add(EnumProp<TCustomCheckBox, TLeftRight>(
        u"Alignment", kLeftRight, &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment));
    return i;
  }();
  return info;
}

const TClassInfo& TCheckBox::StaticClassInfo() {
  static const TClassInfo info(u"TCheckBox", &TCustomCheckBox::StaticClassInfo());
  return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetParentColor(true);
  SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  // Not the automatic styles: the control owns the state and sets the window from it.
  p.style |= BS_3STATE;
  if (alignment_ == TLeftRight::taLeftJustify) p.style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  Perform(BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  if (WindowHandle()) Perform(BM_SETCHECK, static_cast<WPARAM>(state), 0);
  Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight v) {
  if (v == alignment_) return;
  alignment_ = v;
  RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case TCheckBoxState::cbUnchecked:
      SetState(TCheckBoxState::cbChecked);
      break;
    case TCheckBoxState::cbChecked:
      SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
      break;
    case TCheckBoxState::cbGrayed:
      SetState(TCheckBoxState::cbUnchecked);
      break;
  }
}

void TCustomCheckBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      // The click changes the state, and the state change runs OnClick.
      if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(m.WParam)) {
        SetFocus();
        Toggle();
        m.Result = 1;
      }
      return;
    default:
      TButtonControl::WndProc(m);
      return;
  }
}

// ---- TRadioButton

const TClassInfo& TRadioButton::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TRadioButton", &TButtonControl::StaticClassInfo());
    i.Add(BoolProp<TRadioButton>(u"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked));
    i.Add(EnumProp<TRadioButton, TLeftRight>(u"Alignment", kLeftRight, &TRadioButton::Alignment,
                                             &TRadioButton::SetAlignment));
    return i;
  }();
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetParentColor(true);
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.style |= BS_RADIOBUTTON;
  if (alignment_ == TLeftRight::taLeftJustify) p.style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  Perform(BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (WindowHandle()) Perform(BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!v) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (other && other != this) other->SetChecked(false);
    }
  }
  Click();
}

void TRadioButton::SetAlignment(TLeftRight v) {
  if (v == alignment_) return;
  alignment_ = v;
  RecreateWnd();
}

void TRadioButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(true);
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(m.WParam)) {
        SetFocus();
        SetChecked(true);
        m.Result = 1;
      }
      return;
    default:
      TButtonControl::WndProc(m);
      return;
  }
}

// ---- TCustomGroupBox, TGroupBox

const TClassInfo& TCustomGroupBox::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TCustomGroupBox", &TWinControl::StaticClassInfo());
    i.Add(StrProp<TCustomGroupBox>(u"Caption", &TCustomGroupBox::Caption,
                                   &TCustomGroupBox::SetCaption));
    return i;
  }();
  return info;
}

const TClassInfo& TGroupBox::StaticClassInfo() {
  static const TClassInfo info(u"TGroupBox", &TCustomGroupBox::StaticClassInfo());
  return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
  SetParentColor(true);
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::SetText(const String& text) {
  TWinControl::SetText(text);
  Invalidate();
}

RECT TCustomGroupBox::DisplayRect() {
  RECT r = ClientRect();
  WindowDc screen(nullptr);
  SelectScope font(screen.get(), Font()->Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(screen.get(), &tm);
  InflateRect(&r, -2, -2);
  r.top += tm.tmHeight;
  return r;
}

void TCustomGroupBox::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  FillRect(dc, &r, ColorBrush());
  SelectScope font(dc, Font()->Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  // The frame runs through the middle of the caption's line.
  RECT frame{r.left, r.top + tm.tmHeight / 2, r.right, r.bottom};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  String caption = Caption();
  if (caption.empty()) return;
  std::wstring w = Wide(caption);
  const int inset = ScreenPixels(8);
  RECT text{inset, 0, r.right - inset, tm.tmHeight};
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &text, DT_SINGLELINE | DT_CALCRECT);
  InflateRect(&text, 2, 0);
  FillRect(dc, &text, ColorBrush());
  InflateRect(&text, -2, 0);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Enabled() ? static_cast<TColor>(Font()->Color()) : clGrayText));
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &text, DT_SINGLELINE);
}

}  // namespace lbb::forms
