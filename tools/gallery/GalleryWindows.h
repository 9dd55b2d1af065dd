// The other windows of the skin gallery: an MDI frame with its children, a dialog form that
// shows both kinds of message box, and a form that sits on a panel of the main window.
#pragma once

#include "forms/ButtonCtrls.h"
#include "forms/Dialogs.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/StatusBar.h"
#include "forms/StdCtrls.h"

namespace lbb::gallery {

// Adds a menu item owned by `owner` under `parent`; `click` (may be empty) runs when chosen.
forms::TMenuItem* AddMenuItem(forms::TComponent* owner, forms::TMenuItem* parent,
                              const String& caption, std::function<void()> click);

// An MDI child with a memo that fills it; freed when closed.
class TGalleryMDIChild : public forms::TForm {
  LBB_FORMS_CLASS_INFO

 public:
  TGalleryMDIChild(forms::TComponent* owner, const String& caption, forms::TWindowState state);
  forms::TMemo* Memo1 = nullptr;
};

// An MDI frame with a File and a Window menu and a status bar; freed (with its children) when
// closed.
class TGalleryMDIFrame : public forms::TForm {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TGalleryMDIFrame(forms::TComponent* owner);
  // Opens the three children: a normal, a minimised and a maximised one.
  void OpenChildren();
  TGalleryMDIChild* NewChild(const String& caption, forms::TWindowState state);

  forms::TMainMenu* MainMenu1 = nullptr;
  forms::TMenuItem* WindowMenu1 = nullptr;
  forms::TStatusBar* StatusBar1 = nullptr;

 private:
  forms::TMenuItem* AddItem(forms::TMenuItem* parent, const String& caption,
                            std::function<void()> click) {
    return AddMenuItem(this, parent, caption, std::move(click));
  }
  int made_ = 0;
};

// A dialog form whose buttons show the platform's message box and the framework's message
// dialog; the answer shows in a label.
class TGalleryDialog : public forms::TForm {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TGalleryDialog(forms::TComponent* owner);
  // Application->MessageBox (the platform's "#32770" box); returns the button pressed.
  int ShowPlatformBox();
  // MessageDlg (a "TMessageForm"); returns the modal result.
  int ShowMessageDlg();

  forms::TLabel* Label1 = nullptr;
  forms::TButton* BoxButton = nullptr;
  forms::TButton* DlgButton = nullptr;
  forms::TButton* CloseButton = nullptr;
  forms::TLabel* Answer = nullptr;
};

// A form placed on a panel of the main window (a child window with its own caption).
class TNestedForm : public forms::TForm {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TNestedForm(forms::TComponent* owner);
  forms::TEdit* Edit1 = nullptr;
  forms::TCheckBox* CheckBox1 = nullptr;
  forms::TButton* Button1 = nullptr;
};

}  // namespace lbb::gallery
