#include "forms/Dialogs.h"

#include <algorithm>

#include "forms/Application.h"
#include "forms/WinText.h"

namespace lbb::forms {
namespace {

struct ButtonKind {
  TMsgDlgBtn button;
  const char16_t* caption;
  int result;
};

// In the order the buttons stand in the dialog.
constexpr ButtonKind kButtonKinds[] = {
    {mbYes, u"&Yes", mrYes},
    {mbNo, u"&No", mrNo},
    {mbOK, u"OK", mrOk},
    {mbCancel, u"Cancel", mrCancel},
    {mbAbort, u"&Abort", mrAbort},
    {mbRetry, u"&Retry", mrRetry},
    {mbIgnore, u"&Ignore", mrIgnore},
    {mbAll, u"&All", mrAll},
    {mbNoToAll, u"N&o to All", mrNoToAll},
    {mbYesToAll, u"Yes to &All", mrYesToAll},
    {mbHelp, u"&Help", mrNone},
};

HICON SystemIcon(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning:
      return LoadIconW(nullptr, IDI_WARNING);
    case TMsgDlgType::mtError:
      return LoadIconW(nullptr, IDI_ERROR);
    case TMsgDlgType::mtInformation:
      return LoadIconW(nullptr, IDI_INFORMATION);
    case TMsgDlgType::mtConfirmation:
      return LoadIconW(nullptr, IDI_QUESTION);
    case TMsgDlgType::mtCustom:
      return nullptr;
  }
  return nullptr;
}

SIZE TextExtent(HFONT font, const String& text, int maxWidth, UINT flags) {
  WindowDc screen(nullptr);
  SelectScope select(screen.get(), font);
  std::wstring w = Wide(text.empty() ? String(u" ") : text);
  RECT r{0, 0, maxWidth, 0};
  DrawTextW(screen.get(), w.c_str(), static_cast<int>(w.size()), &r, DT_CALCRECT | flags);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

// The dialog's measures in pixels, from the average character of its font (dialog units).
struct TMessageForm::Metrics {
  int margin, marginV, spacing, spacingV, buttonWidth, buttonHeight, buttonSpacing;

  explicit Metrics(HFONT font) {
    SIZE avg =
        TextExtent(font, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 0, DT_SINGLELINE);
    const int cx = std::max<int>((avg.cx / 26 + 1) / 2, 1), cy = std::max<int>(avg.cy, 1);
    margin = MulDiv(8, cx, 4);
    marginV = MulDiv(8, cy, 8);
    spacing = MulDiv(10, cx, 4);
    spacingV = MulDiv(10, cy, 8);
    buttonWidth = MulDiv(50, cx, 4);
    buttonHeight = MulDiv(14, cy, 8);
    buttonSpacing = MulDiv(4, cx, 4);
  }
};

const TClassInfo& TMessageIcon::StaticClassInfo() {
  static const TClassInfo info(u"TMessageIcon", &TGraphicControl::StaticClassInfo());
  return info;
}

TMessageIcon::TMessageIcon(TComponent* owner, HICON icon) : TGraphicControl(owner), icon_(icon) {
  SetBounds(0, 0, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
}

void TMessageIcon::Paint() {
  RECT r = ClientRect();
  Canvas()->FillRect(r);
  if (icon_) DrawIconEx(Canvas()->Handle(), 0, 0, icon_, r.right, r.bottom, 0, nullptr, DI_NORMAL);
}

const TClassInfo& TMessageForm::StaticClassInfo() {
  static const TClassInfo info(u"TMessageForm", &TForm::StaticClassInfo());
  return info;
}

TMessageForm::TMessageForm(TComponent* owner, const String& msg, TMsgDlgType type,
                           TMsgDlgButtons buttons)
    : TForm(owner), type_(type) {
  // Measured from the system's message font and icon size, which the system gives at the
  // screen's resolution: the dialog is designed in the screen's pixels and not scaled again.
  SetPixelsPerInch(Screen->PixelsPerInch());
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetPosition(TPosition::poScreenCenter);
  SetCaption(MessageDlgCaption(type));
  UseMessageFont();
  Metrics m(Font()->Handle());
  if (HICON icon = SystemIcon(type)) {
    image_ = new TMessageIcon(this, icon);
    image_->SetName(u"Image");
    image_->SetParent(this);
  }
  message_ = new TLabel(this);
  message_->SetName(u"Message");
  message_->SetParent(this);
  MakeButtons(buttons, m);
  Arrange(msg, m);
}

void TMessageForm::UseMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
  Font()->SetName(FromWide(metrics.lfMessageFont.lfFaceName));
  Font()->SetHeight(metrics.lfMessageFont.lfHeight);
}

void TMessageForm::MakeButtons(TMsgDlgButtons buttons, const Metrics& m) {
  int answers = 0;
  for (const ButtonKind& kind : kButtonKinds) {
    if (!(buttons & kind.button)) continue;
    auto* b = new TButton(this);
    b->SetParent(this);
    b->SetCaption(kind.caption);
    b->SetModalResult(kind.result);
    b->SetTabStop(true);
    SIZE text = TextExtent(Font()->Handle(), kind.caption, 0, DT_SINGLELINE);
    b->SetBounds(0, 0, std::max<int>(m.buttonWidth, text.cx + 2 * m.margin), m.buttonHeight);
    buttons_.push_back(b);
    kinds_.push_back(kind.button);
    if (kind.button != mbHelp) ++answers;
  }
  if (buttons_.empty()) return;
  // The first answer is the default; Escape takes Cancel, or OK when it is the only answer.
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (kinds_[i] == mbHelp) continue;
    buttons_[i]->SetDefault(true);
    SetActiveControl(buttons_[i]);
    break;
  }
  TButton* escape = Button(mbCancel);
  if (!escape && answers == 1) escape = Button(mbOK);
  if (escape) escape->SetCancel(true);
  hasEscape_ = escape != nullptr;
}

void TMessageForm::Arrange(const String& msg, const Metrics& m) {
  const int maxText = std::max<int>(static_cast<int>(Screen->Width()) / 2, ScreenPixels(200));
  const UINT flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
  SIZE text = TextExtent(Font()->Handle(), msg, maxText, flags);
  int textLeft = m.margin, contentHeight = text.cy;
  if (image_) {
    image_->SetBounds(m.margin, m.marginV, static_cast<int>(image_->Width()),
                      static_cast<int>(image_->Height()));
    textLeft += static_cast<int>(image_->Width()) + m.spacing;
    contentHeight = std::max<int>(contentHeight, static_cast<int>(image_->Height()));
  }
  message_->SetAutoSize(false);
  message_->SetWordWrap(true);
  message_->SetCaption(msg);
  message_->SetBounds(textLeft, m.marginV, text.cx + 1, text.cy);
  int buttonsWidth = 0;
  for (TButton* b : buttons_)
    buttonsWidth += static_cast<int>(b->Width());
  if (!buttons_.empty()) buttonsWidth += m.buttonSpacing * (static_cast<int>(buttons_.size()) - 1);
  const int clientWidth = std::max<int>(textLeft + text.cx, m.margin + buttonsWidth) + m.margin;
  const int buttonTop = m.marginV + contentHeight + m.spacingV;
  int left = (clientWidth - buttonsWidth) / 2;
  for (TButton* b : buttons_) {
    b->SetBounds(left, buttonTop, static_cast<int>(b->Width()), m.buttonHeight);
    left += static_cast<int>(b->Width()) + m.buttonSpacing;
  }
  SetClientWidth(clientWidth);
  SetClientHeight(buttonTop + m.buttonHeight + m.marginV);
}

TButton* TMessageForm::Button(TMsgDlgBtn button) const {
  for (size_t i = 0; i < kinds_.size(); ++i) {
    if (kinds_[i] == button) return buttons_[i];
  }
  return nullptr;
}

void TMessageForm::CreateWnd() {
  TForm::CreateWnd();
  // Without an answer for Escape the close box is off, as on the platform's message box.
  if (!hasEscape_) {
    EnableMenuItem(GetSystemMenu(WindowHandle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  }
}

void TMessageForm::WndProc(TMessage& m) {
  // Enter presses the focused button, whichever it is.
  if (m.Msg == CM_DIALOGKEY && m.WParam == VK_RETURN) {
    for (TButton* b : buttons_) {
      if (b->Focused()) {
        b->Click();
        m.Result = 1;
        return;
      }
    }
  }
  TForm::WndProc(m);
}

String MessageDlgCaption(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning:
      return u"Warning";
    case TMsgDlgType::mtError:
      return u"Error";
    case TMsgDlgType::mtInformation:
      return u"Information";
    case TMsgDlgType::mtConfirmation:
      return u"Confirm";
    case TMsgDlgType::mtCustom:
      break;
  }
  return Application ? Application->Title() : String();
}

std::unique_ptr<TMessageForm> CreateMessageDialog(const String& msg, TMsgDlgType type,
                                                  TMsgDlgButtons buttons) {
  return std::make_unique<TMessageForm>(nullptr, msg, type, buttons);
}

int MessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx) {
  std::unique_ptr<TMessageForm> dialog = CreateMessageDialog(msg, type, buttons);
  dialog->SetHelpContext(helpCtx);
  return dialog->ShowModal();
}

}  // namespace lbb::forms
