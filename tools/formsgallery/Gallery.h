// A demonstration form with one control of every kind the form library offers, a main menu
// and a popup menu: the form that tests and demonstrations show, plain or skinned.
#pragma once

#include "forms/ButtonCtrls.h"
#include "forms/Buttons.h"
#include "forms/ComboBox.h"
#include "forms/Forms.h"
#include "forms/ImgList.h"
#include "forms/ListView.h"
#include "forms/Menus.h"
#include "forms/PageControl.h"
#include "forms/RangeCtrls.h"
#include "forms/ScrollBar.h"
#include "forms/StatusBar.h"
#include "forms/StdCtrls.h"

namespace lbb::forms {

class TGalleryForm : public TForm {
  LBB_FORMS_CLASS_INFO

 public:
  // Builds the whole form (its window is made when it is first shown).
  explicit TGalleryForm(TComponent* owner);

  TMainMenu* MainMenu1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TImageList* ImageList1 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* Edit1 = nullptr;
  TButton* Button1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TMenuButton* MenuButton1 = nullptr;
  TSpeedButton* SpeedButtons[3] = {};
  TLinkLabel* LinkLabel1 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TCheckBox* CheckBox2 = nullptr;
  TRadioButton* RadioButton1 = nullptr;
  TRadioButton* RadioButton2 = nullptr;
  TPanel* Panel1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TEdit* Edit2 = nullptr;
  TUpDown* UpDown1 = nullptr;
  TScrollBar* ScrollBar1 = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TMemo* Memo1 = nullptr;
  TListView* ListView1 = nullptr;
  TStatusBar* StatusBar1 = nullptr;

 private:
  template <class C>
  C* Make(TWinControl* parent, int left, int top, int width, int height);
  void MakeImages();
  void MakeMenus();
  void MakeTopRow();
  void MakeChoices();
  void MakeRanges();
  void MakePages();
  void MakeList();
};

}  // namespace lbb::forms
