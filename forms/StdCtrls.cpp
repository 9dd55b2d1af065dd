#include "forms/StdCtrls.h"

#include <commctrl.h>

#include "base/Text.h"
#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/WinText.h"

namespace lbb::forms {

bool IsAccelerator(WPARAM ch, const String& caption) {
  auto fold = [](WPARAM c) { return c < 0x80 ? WPARAM(UpperAscii(static_cast<char>(c))) : c; };
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    return fold(caption[i + 1]) == fold(ch);
  }
  return false;
}

// ---- TButtonControl and TButton

const TClassInfo& TButtonControl::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TButtonControl", &TWinControl::StaticClassInfo());
    i.Add(
        StrProp<TButtonControl>(u"Caption", &TButtonControl::Caption, &TButtonControl::SetCaption));
    return i;
  }();
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButtonControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = L"BUTTON";
}

bool TButtonControl::IsAccel(WPARAM ch) const {
  return IsAccelerator(ch, Caption()) && CanFocus();
}

void TButtonControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(m.WParam)) {
        SetFocus();
        Click();
        m.Result = 1;
      }
      return;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
      AnswerColorRequest(m);
      return;
    default:
      TWinControl::WndProc(m);
      return;
  }
}

const TClassInfo& TButton::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TButton", &TButtonControl::StaticClassInfo());
    i.Add(BoolProp<TButton>(u"Default", &TButton::Default, &TButton::SetDefault));
    i.Add(BoolProp<TButton>(u"Cancel", &TButton::Cancel, &TButton::SetCancel));
    i.Add(IntProp<TButton>(u"ModalResult", &TButton::ModalResult, &TButton::SetModalResult));
    return i;
  }();
  return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  if (!WindowHandle()) return;
  // An owner-drawn button keeps its style and shows the default look when it draws itself.
  if ((GetWindowLongW(WindowHandle(), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
    Invalidate();
  } else {
    Perform(BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

void TButton::Click() {
  TCustomForm* form = ParentForm();
  if (form && modalResult_ != 0) form->SetModalResult(static_cast<int>(modalResult_));
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGKEY) {
    // Enter presses the default button (or the focused one); Escape the cancel button.
    bool enter = m.WParam == VK_RETURN && (default_ || Focused());
    bool escape = m.WParam == VK_ESCAPE && cancel_;
    if ((enter || escape) && CanFocus()) {
      Click();
      m.Result = 1;
    }
    return;
  }
  TButtonControl::WndProc(m);
}

// ---- TCustomEdit, TEdit

const TClassInfo& TCustomEdit::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TCustomEdit", &TWinControl::StaticClassInfo());
    i.Add(StrProp<TCustomEdit>(u"Text", &TCustomEdit::Text, &TCustomEdit::SetTextProp));
    i.Add(BoolProp<TCustomEdit>(u"ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly));
    i.Add(IntProp<TCustomEdit>(u"MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength));
    i.Add(EnumProp<TCustomEdit, TBorderStyle>(u"BorderStyle", {u"bsNone", u"bsSingle"},
                                              &TCustomEdit::BorderStyle,
                                              &TCustomEdit::SetBorderStyle));
    return i;
  }();
  return info;
}

const TClassInfo& TEdit::StaticClassInfo() {
  static const TClassInfo info(u"TEdit", &TCustomEdit::StaticClassInfo());
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = L"EDIT";
  p.style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
  if (borderStyle_ == TBorderStyle::bsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  // Zero lifts the system's 32K default limit.
  SendMessageW(WindowHandle(), EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (WindowHandle()) SendMessageW(WindowHandle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int64_t v) {
  maxLength_ = v < 0 ? 0 : v;
  if (WindowHandle())
    SendMessageW(WindowHandle(), EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SelectAll() {
  if (WindowHandle()) SendMessageW(WindowHandle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE && OnChange) OnChange(this);
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      AnswerColorRequest(m);
      return;
    default:
      TWinControl::WndProc(m);
      return;
  }
}

// ---- TMemoLines, TCustomMemo, TMemo

const TClassInfo& TMemoLines::StaticClassInfo() {
  static const TClassInfo info(u"TStrings", &TObject::StaticClassInfo());
  return info;
}

std::vector<String> TMemoLines::Split() const {
  std::vector<String> lines;
  String text = memo_.Text();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u"\r\n", start);
    if (end == String::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

int TMemoLines::Count() const {
  return static_cast<int>(Split().size());
}

String TMemoLines::Strings(int index) const {
  auto lines = Split();
  return index >= 0 && index < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(index)]
                                                              : String();
}

void TMemoLines::Add(const String& line) {
  String text = memo_.Text();
  String piece = (!text.empty() && !text.ends_with(u"\r\n") ? u"\r\n" : u"") + line + u"\r\n";
  HWND hwnd = memo_.WindowHandle();
  if (!hwnd) {
    memo_.SetTextProp(text + piece);
    return;
  }
  // Put the caret at the end, insert there, and scroll the caret into view.
  int length = GetWindowTextLengthW(hwnd);
  SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(length), length);
  std::wstring w = Wide(piece);
  SendMessageW(hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(w.c_str()));
  SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
}

void TMemoLines::Clear() {
  memo_.SetTextProp(u"");
}

String TMemoLines::GetText() const {
  return memo_.Text();
}

void TMemoLines::SetText(const String& text) {
  memo_.SetTextProp(text);
}

const TClassInfo& TCustomMemo::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TCustomMemo", &TCustomEdit::StaticClassInfo());
    i.Add(ObjectProp<TCustomMemo, TMemoLines>(u"Lines", u"TStrings", &TCustomMemo::Lines, nullptr));
    i.Add(EnumProp<TCustomMemo, TScrollStyle>(
        u"ScrollBars", {u"ssNone", u"ssHorizontal", u"ssVertical", u"ssBoth"},
        &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars));
    i.Add(BoolProp<TCustomMemo>(u"WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap));
    return i;
  }();
  return info;
}

const TClassInfo& TMemo::StaticClassInfo() {
  static const TClassInfo info(u"TMemo", &TCustomMemo::StaticClassInfo());
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TMemoLines>(*this)) {
  SetBounds(0, 0, 185, 89);
}

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.style &= ~ES_AUTOHSCROLL;
  p.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (!wordWrap_) p.style |= ES_AUTOHSCROLL;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) {
    p.style |= WS_VSCROLL;
  }
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) {
    p.style |= WS_HSCROLL;
  }
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  if (v == scrollBars_) return;
  scrollBars_ = v;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  RecreateWnd();
}

// ---- TLabel

const TClassInfo& TLabel::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TLabel", &TGraphicControl::StaticClassInfo());
    i.Add(StrProp<TLabel>(u"Caption", &TLabel::Caption, &TLabel::SetCaption));
    i.Add(BoolProp<TLabel>(u"Transparent", &TLabel::Transparent, &TLabel::SetTransparent));
    i.Add(BoolProp<TLabel>(u"AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize));
    i.Add(BoolProp<TLabel>(u"WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap));
    i.Add(EnumProp<TLabel, TAlignment>(u"Alignment",
                                       {u"taLeftJustify", u"taRightJustify", u"taCenter"},
                                       &TLabel::Alignment, &TLabel::SetAlignment));
    return i;
  }();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustSize();
}

void TLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  AdjustSize();
  Invalidate();
}

void TLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TLabel::SetText(const String& text) {
  TGraphicControl::SetText(text);
  AdjustSize();
}

void TLabel::ChangeScale(int m, int d) {
  if (m == d) return;
  TGraphicControl::ChangeScale(m, d);
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!autoSize_) return;
  WindowDc screen(nullptr);
  SelectScope font(screen.get(), Font()->Handle());
  std::wstring w = Wide(Caption().empty() ? String(u" ") : Caption());
  RECT r{0, 0, wordWrap_ ? static_cast<LONG>(Width()) : 0, 0};
  DrawTextW(screen.get(), w.c_str(), static_cast<int>(w.size()), &r,
            DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
  SetBounds(static_cast<int>(Left()), static_cast<int>(Top()),
            wordWrap_ ? static_cast<int>(Width()) : r.right, r.bottom);
}

void TLabel::Paint() {
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  if (!transparent_) canvas->FillRect(r);
  canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE) | DT_EXPANDTABS |
               kAlign[static_cast<int>(alignment_)];
  if (!Enabled()) {
    // The engraved look of disabled text.
    RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    canvas->Font()->SetColor(clBtnHighlight);
    canvas->DrawText(Caption(), shifted, flags);
    canvas->Font()->SetColor(clBtnShadow);
  }
  canvas->DrawText(Caption(), r, flags);
}

void TLabel::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    if (focusControl_ && IsAccelerator(m.WParam, Caption()) && focusControl_->CanFocus()) {
      focusControl_->SetFocus();
      m.Result = 1;
    }
    return;
  }
  TGraphicControl::WndProc(m);
}

// ---- TLinkLabel

const TClassInfo& TLinkLabel::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TLinkLabel", &TWinControl::StaticClassInfo());
    i.Add(StrProp<TLinkLabel>(u"Caption", &TLinkLabel::Caption, &TLinkLabel::SetCaption));
    return i;
  }();
  return info;
}

TLinkLabel::TLinkLabel(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 53, 17);
}

void TLinkLabel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = WC_LINK;
}

void TLinkLabel::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if ((hdr->code == NM_CLICK || hdr->code == NM_RETURN) && OnLinkClick) {
      auto* link = reinterpret_cast<NMLINK*>(m.LParam);
      OnLinkClick(this, FromWide(link->item.szUrl, wcsnlen(link->item.szUrl, L_MAX_URL_LENGTH)));
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TCustomPanel, TPanel

const TClassInfo& TCustomPanel::StaticClassInfo() {
  static const TClassInfo info = [] {
    static const std::vector<String> bevels{u"bvNone", u"bvLowered", u"bvRaised"};
    TClassInfo i(u"TCustomPanel", &TWinControl::StaticClassInfo());
    i.Add(StrProp<TCustomPanel>(u"Caption", &TCustomPanel::Caption, &TCustomPanel::SetCaption));
    i.Add(EnumProp<TCustomPanel, TBevelCut>(u"BevelOuter", bevels, &TCustomPanel::BevelOuter,
                                            &TCustomPanel::SetBevelOuter));
    i.Add(EnumProp<TCustomPanel, TBevelCut>(u"BevelInner", bevels, &TCustomPanel::BevelInner,
                                            &TCustomPanel::SetBevelInner));
    i.Add(BoolProp<TCustomPanel>(u"Transparent", &TCustomPanel::Transparent,
                                 &TCustomPanel::SetTransparent));
    return i;
  }();
  return info;
}

const TClassInfo& TPanel::StaticClassInfo() {
  static const TClassInfo info(u"TPanel", &TCustomPanel::StaticClassInfo());
  return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Invalidate();
}

void TCustomPanel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TCustomPanel::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  if (!transparent_) FillRect(dc, &r, ColorBrush());
  static constexpr UINT kEdges[] = {0, BDR_SUNKENOUTER, BDR_RAISEDINNER};
  if (bevelOuter_ != TBevelCut::bvNone) {
    DrawEdge(dc, &r, kEdges[static_cast<int>(bevelOuter_)], BF_RECT | BF_ADJUST);
  }
  if (bevelInner_ != TBevelCut::bvNone) {
    DrawEdge(dc, &r, kEdges[static_cast<int>(bevelInner_)], BF_RECT | BF_ADJUST);
  }
  SelectScope font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(static_cast<TColor>(Font()->Color())));
  std::wstring w = Wide(Caption());
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

}  // namespace lbb::forms
