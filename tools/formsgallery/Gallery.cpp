#include "tools/formsgallery/Gallery.h"

namespace lbb::forms {
namespace {

// A 16 x 16 picture on the see-through fuchsia: a filled square, circle or triangle.
std::unique_ptr<TBitmap> MakePicture(int shape, TColor color) {
  auto bitmap = std::make_unique<TBitmap>(16, 16);
  TCanvas* c = bitmap->Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(RECT{0, 0, 16, 16});
  c->Brush()->SetColor(color);
  c->Pen()->SetColor(clBlack);
  HDC dc = c->Handle();
  SelectScope brush(dc, c->Brush()->Handle());
  SelectScope pen(dc, c->Pen()->Handle());
  if (shape == 0) {
    ::Rectangle(dc, 2, 2, 14, 14);
  } else if (shape == 1) {
    Ellipse(dc, 2, 2, 14, 14);
  } else {
    POINT points[3] = {{8, 2}, {14, 13}, {2, 13}};
    Polygon(dc, points, 3);
  }
  return bitmap;
}

}  // namespace

const TClassInfo& TGalleryForm::StaticClassInfo() {
  static const TClassInfo info(u"TGalleryForm", &TForm::StaticClassInfo());
  return info;
}

template <class C>
C* TGalleryForm::Make(TWinControl* parent, int left, int top, int width, int height) {
  return Place<C>(this, parent, left, top, width, height);
}

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Gallery — 控件一览");
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(TPosition::poScreenCenter);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);
  MakeImages();
  MakeMenus();
  // The client size is measured on the window, with its menu bar.
  HandleNeeded();
  SetClientWidth(600);
  SetClientHeight(420);
  MakeTopRow();
  MakeChoices();
  MakeRanges();
  MakePages();
  MakeList();
  StatusBar1 = Make<TStatusBar>(this, 0, 0, 600, 19);
  StatusBar1->AddPanel()->SetWidth(200);
  StatusBar1->Panels(0)->SetText(u"已备份 12 篇文章");
  StatusBar1->AddPanel()->SetText(u"Ready");
}

void TGalleryForm::MakeImages() {
  ImageList1 = new TImageList(this);
  static constexpr TColor kColors[] = {clRed, 0x00C000, clBlue};
  for (int i = 0; i < 3; ++i) {
    auto picture = MakePicture(i, kColors[i]);
    ImageList1->AddMasked(*picture, clFuchsia);
  }
}

void TGalleryForm::MakeMenus() {
  MainMenu1 = new TMainMenu(this);
  MainMenu1->SetImages(ImageList1);
  auto item = [this](TMenuItem* parent, const String& caption, TShortCut shortcut, int image) {
    auto* i = new TMenuItem(this);
    i->SetCaption(caption);
    i->SetShortCut(shortcut);
    i->SetImageIndex(image);
    parent->Add(i);
    return i;
  };
  TMenuItem* file = item(MainMenu1->Items(), u"&File", 0, -1);
  item(file, u"&New", scCtrl | 'N', 0);
  item(file, u"&Open...", scCtrl | 'O', 1);
  item(file, u"-", 0, -1);
  item(file, u"E&xit", scAlt | VK_F4, -1);
  TMenuItem* edit = item(MainMenu1->Items(), u"&Edit", 0, -1);
  item(edit, u"&Copy", scCtrl | 'C', 2)->SetDefault(true);
  item(edit, u"&Word wrap", 0, -1)->SetChecked(true);
  item(edit, u"&Paste", scCtrl | 'V', -1)->SetEnabled(false);
  TMenuItem* help = item(MainMenu1->Items(), u"&Help", 0, -1);
  item(help, u"&About", 0, -1);
  SetMenu(MainMenu1);

  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetImages(ImageList1);
  item(PopupMenu1->Items(), u"&Refresh", VK_F5, 0);
  item(PopupMenu1->Items(), u"&Properties", 0, 1)->SetChecked(true);
  SetPopupMenu(PopupMenu1);
}

void TGalleryForm::MakeTopRow() {
  Label1 = Make<TLabel>(this, 8, 13, 48, 13);
  Label1->SetCaption(u"用户名：");
  Edit1 = Make<TEdit>(this, 60, 9, 110, 21);
  Edit1->SetTextProp(u"orlend");
  Button1 = Make<TButton>(this, 178, 7, 75, 25);
  Button1->SetCaption(u"备份");
  Button1->SetDefault(true);
  BitBtn1 = Make<TBitBtn>(this, 261, 7, 85, 25);
  BitBtn1->SetCaption(u"&Save");
  auto glyph = MakePicture(0, clRed);
  BitBtn1->SetGlyph(glyph.get());
  static constexpr TColor kColors[] = {clRed, 0x00C000, clBlue};
  for (int i = 0; i < 3; ++i) {
    SpeedButtons[i] = Make<TSpeedButton>(this, 354 + 26 * i, 7, 25, 25);
    auto picture = MakePicture(i, kColors[i]);
    SpeedButtons[i]->SetGlyph(picture.get());
    SpeedButtons[i]->SetGroupIndex(1);
    SpeedButtons[i]->SetFlat(i != 0);
  }
  SpeedButtons[0]->SetDown(true);
  LinkLabel1 = Make<TLinkLabel>(this, 440, 13, 152, 17);
  LinkLabel1->SetCaption(u"博客：<a href=\"http://blog.example/orlend\">blog.example</a>");
}

void TGalleryForm::MakeChoices() {
  GroupBox1 = Make<TGroupBox>(this, 8, 40, 190, 112);
  GroupBox1->SetCaption(u"选项");
  CheckBox1 = Make<TCheckBox>(GroupBox1, 10, 20, 170, 17);
  CheckBox1->SetCaption(u"备份图片");
  CheckBox1->SetChecked(true);
  CheckBox2 = Make<TCheckBox>(GroupBox1, 10, 42, 170, 17);
  CheckBox2->SetCaption(u"Grayed");
  CheckBox2->SetAllowGrayed(true);
  CheckBox2->SetState(TCheckBoxState::cbGrayed);
  RadioButton1 = Make<TRadioButton>(GroupBox1, 10, 64, 170, 17);
  RadioButton1->SetCaption(u"新文章");
  RadioButton1->SetChecked(true);
  RadioButton2 = Make<TRadioButton>(GroupBox1, 10, 86, 170, 17);
  RadioButton2->SetCaption(u"全部文章");
}

void TGalleryForm::MakeRanges() {
  Panel1 = Make<TPanel>(this, 206, 40, 386, 112);
  Panel1->SetCaption(u"");
  ComboBox1 = Make<TComboBox>(Panel1, 8, 8, 150, 21);
  for (const char16_t* s : {u"日志", u"文章", u"相册"})
    ComboBox1->Items()->Add(s);
  ComboBox1->SetItemIndex(1);
  Edit2 = Make<TEdit>(Panel1, 170, 8, 60, 21);
  UpDown1 = Make<TUpDown>(Panel1, 230, 8, 17, 21);
  UpDown1->SetMax(99);
  UpDown1->SetPosition(7);
  UpDown1->SetAssociate(Edit2);
  ScrollBar1 = Make<TScrollBar>(Panel1, 8, 40, 150, 17);
  ScrollBar1->SetMax(100);
  ScrollBar1->SetPageSize(20);
  ScrollBar1->SetPosition(30);
  ProgressBar1 = Make<TProgressBar>(Panel1, 8, 66, 150, 16);
  ProgressBar1->SetPosition(60);
  TrackBar1 = Make<TTrackBar>(Panel1, 166, 38, 210, 45);
  TrackBar1->SetPosition(4);
  MenuButton1 = Make<TMenuButton>(Panel1, 256, 6, 120, 25);
  MenuButton1->SetCaption(u"更多");
  MenuButton1->SetDropDownMenu(PopupMenu1);
  auto* legend = Make<TLabel>(Panel1, 8, 90, 200, 13);
  legend->SetCaption(u"Panel: combo, up-down, scroll, progress, track");
  legend->SetTransparent(true);
}

void TGalleryForm::MakePages() {
  PageControl1 = Make<TPageControl>(this, 8, 160, 290, 232);
  TabSheet1 = new TTabSheet(this);
  TabSheet1->SetCaption(u"日志");
  TabSheet1->SetPageControl(PageControl1);
  TabSheet2 = new TTabSheet(this);
  TabSheet2->SetCaption(u"Notes");
  TabSheet2->SetPageControl(PageControl1);
  Memo1 = Make<TMemo>(TabSheet1, 0, 0, 100, 100);
  Memo1->SetAlign(TAlign::alClient);
  Memo1->SetScrollBars(TScrollStyle::ssVertical);
  for (const char16_t* line :
       {u">程序不能备份您的私有文章。", u">相册暂时只能下载默认相册里面的图片。",
        u">使用多线程技术，备份更加快速！", u"======================================"}) {
    Memo1->Lines()->Add(line);
  }
  Memo1->SetPopupMenu(PopupMenu1);
  auto* note = Make<TLabel>(TabSheet2, 8, 8, 200, 13);
  note->SetCaption(u"The second page.");
}

void TGalleryForm::MakeList() {
  ListView1 = Make<TListView>(this, 306, 160, 286, 232);
  ListView1->SetViewStyle(TViewStyle::vsReport);
  ListView1->SetRowSelect(true);
  ListView1->SetSmallImages(ImageList1);
  ListView1->AddColumn(u"标题", 170);
  ListView1->AddColumn(u"Date", 90)->SetAlignment(TAlignment::taRightJustify);
  // More rows than the list shows, so that it has a vertical scroll bar.
  const char16_t* titles[] = {u"春天的故事", u"Backing up a blog", u"夏日", u"Notes on threads"};
  for (int i = 0; i < 24; ++i) {
    TListItem* item = ListView1->AddItem(titles[i % 4]);
    item->SetImageIndex(i % 3);
    const int month = 1 + i % 9, day = 10 + i;
    item->SubItems()->Add(u"2009-0" + String(1, static_cast<char16_t>(u'0' + month)) + u"-" +
                          String(1, static_cast<char16_t>(u'0' + day / 10)) +
                          String(1, static_cast<char16_t>(u'0' + day % 10)));
  }
}

}  // namespace lbb::forms
