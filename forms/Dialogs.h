// The framework's message dialog: a modal form of class "TMessageForm" with the system icon
// of its kind, the message in a label and one button per answer, centred at the bottom.
// Enter presses the focused button (at first the first one), Escape the Cancel button, or the
// OK button when it is the only answer, as the platform's message box does.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "forms/Forms.h"
#include "forms/StdCtrls.h"

namespace lbb::forms {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint16_t {
  mbYes = 1,
  mbNo = 2,
  mbOK = 4,
  mbCancel = 8,
  mbAbort = 16,
  mbRetry = 32,
  mbIgnore = 64,
  mbAll = 128,
  mbNoToAll = 256,
  mbYesToAll = 512,
  mbHelp = 1024,
};
// A set of TMsgDlgBtn bits.
using TMsgDlgButtons = uint16_t;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

// The system icon of a dialog kind, painted at its natural size (32 x 32 on most systems).
class TMessageIcon : public TGraphicControl {
  LBB_FORMS_CLASS_INFO

 public:
  TMessageIcon(TComponent* owner, HICON icon);
  HICON Icon() const { return icon_; }

 protected:
  void Paint() override;

 private:
  HICON icon_;  // a shared system icon: not destroyed
};

class TMessageForm : public TForm {
  LBB_FORMS_CLASS_INFO

 public:
  // Builds the whole dialog (its window is made when it is shown).
  TMessageForm(TComponent* owner, const String& msg, TMsgDlgType type, TMsgDlgButtons buttons);

  TMsgDlgType DialogType() const { return type_; }
  TLabel* Message() const { return message_; }
  // Null for mtCustom, which has no icon.
  TMessageIcon* Image() const { return image_; }
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }
  // The button of an answer; null when the dialog does not offer it.
  TButton* Button(TMsgDlgBtn button) const;
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int context) { helpContext_ = context; }
  void WndProc(TMessage& message) override;

 protected:
  void CreateWnd() override;

 private:
  struct Metrics;
  void UseMessageFont();
  void MakeButtons(TMsgDlgButtons buttons, const Metrics& m);
  void Arrange(const String& msg, const Metrics& m);

  TMsgDlgType type_;
  TLabel* message_ = nullptr;
  TMessageIcon* image_ = nullptr;
  std::vector<TButton*> buttons_;
  std::vector<TMsgDlgBtn> kinds_;
  bool hasEscape_ = false;
  int helpContext_ = 0;
};

// The dialog's caption for a kind: "Warning", "Error", "Information", "Confirm", or the
// application's title for mtCustom.
String MessageDlgCaption(TMsgDlgType type);
// The dialog, built and not shown; the caller owns it.
std::unique_ptr<TMessageForm> CreateMessageDialog(const String& msg, TMsgDlgType type,
                                                  TMsgDlgButtons buttons);
// Shows the dialog modally and returns the modal result of the button pressed (mrYes, mrNo,
// mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll, mrNoToAll, mrYesToAll); mrCancel when it
// was closed otherwise.
int MessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0);

}  // namespace lbb::forms
