#include "tools/gallery/GalleryWindows.h"

#include "forms/Application.h"

namespace lbb::gallery {

using namespace forms;

namespace {

String AnswerName(int result) {
  switch (result) {
    case mrOk:
      return u"OK";
    case mrCancel:
      return u"Cancel";
    case mrYes:
      return u"Yes";
    case mrNo:
      return u"No";
    default:
      return u"(" + String(1, static_cast<char16_t>(u'0' + result % 10)) + u")";
  }
}

}  // namespace

// ---- MDI

const TClassInfo& TGalleryMDIChild::StaticClassInfo() {
  static const TClassInfo info(u"TGalleryMDIChild", &TForm::StaticClassInfo());
  return info;
}

TGalleryMDIChild::TGalleryMDIChild(TComponent* owner, const String& caption, TWindowState state)
    : TForm(owner) {
  SetFormStyle(TFormStyle::fsMDIChild);
  SetCaption(caption);
  SetWindowState(state);
  Memo1 = new TMemo(this);
  Memo1->SetParent(this);
  Memo1->SetAlign(TAlign::alClient);
  Memo1->SetScrollBars(TScrollStyle::ssVertical);
  Memo1->Lines()->Add(u"An MDI child: " + caption);
  Memo1->Lines()->Add(u"多文档子窗口");
  OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
}

const TClassInfo& TGalleryMDIFrame::StaticClassInfo() {
  static const TClassInfo info(u"TGalleryMDIFrame", &TForm::StaticClassInfo());
  return info;
}

TGalleryMDIFrame::TGalleryMDIFrame(TComponent* owner) : TForm(owner) {
  SetCaption(u"MDI frame — 多文档");
  SetFormStyle(TFormStyle::fsMDIForm);
  SetBounds(120, 90, 640, 460);
  MainMenu1 = new TMainMenu(this);
  TMenuItem* file = AddItem(MainMenu1->Items(), u"&File", nullptr);
  AddItem(file, u"&New child", [this] { NewChild(u"New child", TWindowState::wsNormal); });
  AddItem(file, u"-", nullptr);
  AddItem(file, u"&Close", [this] { Close(); });
  WindowMenu1 = AddItem(MainMenu1->Items(), u"&Window", nullptr);
  AddItem(WindowMenu1, u"&Cascade", [this] { Cascade(); });
  AddItem(WindowMenu1, u"&Tile", [this] { Tile(); });
  AddItem(WindowMenu1, u"&Arrange icons", [this] { ArrangeIcons(); });
  AddItem(WindowMenu1, u"&Next", [this] { Next(); });
  AddItem(WindowMenu1, u"&Previous", [this] { Previous(); });
  SetMenu(MainMenu1);
  SetWindowMenu(WindowMenu1);
  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetParent(this);
  StatusBar1->AddPanel()->SetText(u"Three children: normal, minimised, maximised");
  OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
}

TMenuItem* AddMenuItem(TComponent* owner, TMenuItem* parent, const String& caption,
                       std::function<void()> click) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  if (click) item->OnClick = [click](TObject*) { click(); };
  parent->Add(item);
  return item;
}

TGalleryMDIChild* TGalleryMDIFrame::NewChild(const String& caption, TWindowState state) {
  auto* child = new TGalleryMDIChild(this, caption, state);
  ++made_;
  child->SetBounds(12 + 28 * made_, 12 + 24 * made_, 300, 200);
  child->ShowForm();
  return child;
}

void TGalleryMDIFrame::OpenChildren() {
  // The maximised one last: the active child stays maximised.
  NewChild(u"Normal", TWindowState::wsNormal);
  NewChild(u"Minimised", TWindowState::wsMinimized);
  NewChild(u"Maximised", TWindowState::wsMaximized);
}

// ---- the dialog form

const TClassInfo& TGalleryDialog::StaticClassInfo() {
  static const TClassInfo info(u"TGalleryDialog", &TForm::StaticClassInfo());
  return info;
}

TGalleryDialog::TGalleryDialog(TComponent* owner) : TForm(owner) {
  SetCaption(u"Dialogs — 对话框");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBounds(200, 160, 360, 170);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);
  HandleNeeded();
  SetClientWidth(352);
  SetClientHeight(136);
  Label1 = Place<TLabel>(this, 12, 12, 320, 13);
  Label1->SetCaption(u"Both kinds of message box:");
  BoxButton = Place<TButton>(this, 12, 36, 160, 25);
  BoxButton->SetCaption(u"&MessageBox (#32770)");
  BoxButton->OnClick = [this](TObject*) { ShowPlatformBox(); };
  DlgButton = Place<TButton>(this, 180, 36, 160, 25);
  DlgButton->SetCaption(u"Message&Dlg (TMessageForm)");
  DlgButton->OnClick = [this](TObject*) { ShowMessageDlg(); };
  Answer = Place<TLabel>(this, 12, 74, 320, 13);
  Answer->SetCaption(u"Answer: -");
  CloseButton = Place<TButton>(this, 265, 100, 75, 25);
  CloseButton->SetCaption(u"Close");
  CloseButton->SetCancel(true);
  CloseButton->OnClick = [this](TObject*) { Close(); };
}

int TGalleryDialog::ShowPlatformBox() {
  int answer = Application->MessageBox(u"The platform's message box.\n系统消息框。", {},
                                       MB_OKCANCEL | MB_ICONINFORMATION);
  Answer->SetCaption(u"Answer: " + AnswerName(answer));
  return answer;
}

int TGalleryDialog::ShowMessageDlg() {
  int answer = MessageDlg(u"The framework's message dialog.\n框架的消息对话框。",
                          TMsgDlgType::mtConfirmation, mbYesNoCancel, 0);
  Answer->SetCaption(u"Answer: " + AnswerName(answer));
  return answer;
}

// ---- the nested form

const TClassInfo& TNestedForm::StaticClassInfo() {
  static const TClassInfo info(u"TNestedForm", &TForm::StaticClassInfo());
  return info;
}

TNestedForm::TNestedForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Nested form — 嵌入窗体");
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetBorderIcons(0);
  Edit1 = Place<TEdit>(this, 8, 8, 150, 21);
  Edit1->SetTextProp(u"A form on a panel");
  CheckBox1 = Place<TCheckBox>(this, 8, 36, 150, 17);
  CheckBox1->SetCaption(u"内嵌");
  CheckBox1->SetChecked(true);
  Button1 = Place<TButton>(this, 170, 6, 75, 25);
  Button1->SetCaption(u"Button");
}

}  // namespace lbb::gallery
