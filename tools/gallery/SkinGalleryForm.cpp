#include "tools/gallery/SkinGalleryForm.h"

#include <commdlg.h>

#include <cstring>
#include <span>

#include "base/win/WideText.h"
#include "forms/Application.h"
#include "forms/core/Reader.h"
#include "resources/skin/BuiltinSkin.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/data/SkinStream.h"

namespace lbb::gallery {

using namespace forms;

namespace {

std::span<const uint8_t> SkinBytes(TGallerySkin skin) {
  return skin == TGallerySkin::gsSand ? resources::SandSkin() : resources::BuiltinSkin();
}

}  // namespace

const TClassInfo& TSkinGalleryForm::StaticClassInfo() {
  static const TClassInfo info(u"TSkinGalleryForm", &TGalleryForm::StaticClassInfo());
  return info;
}

TSkinGalleryForm::TSkinGalleryForm(TComponent* owner) : TGalleryForm(owner) {
  SetName(u"SkinGalleryForm");
  SetCaption(u"Skin gallery — 皮肤一览");
  // Room below the gallery's controls for the panel that holds the nested form.
  SetClientHeight(ClientHeight() + 150);
  MakeSkinMenu();
  MakeWindowsMenu();
  MakeNestedForm();
  MakeMoreControls();
  MakePopupMenu();
  MakeSkinData();
  ShowSkinState();
}

TSkinGalleryForm::~TSkinGalleryForm() {
  // The windows this form opened go before the skin data that serves them.
  delete frame_;
  delete dialog_;
}

void TSkinGalleryForm::Notification(TComponent* c, TOperation operation) {
  TGalleryForm::Notification(c, operation);
  if (operation != TOperation::opRemove) return;
  if (c == frame_) frame_ = nullptr;
  if (c == dialog_) dialog_ = nullptr;
}

TMenuItem* TSkinGalleryForm::AddItem(TMenuItem* parent, const String& caption,
                                     std::function<void()> click) {
  return AddMenuItem(this, parent, caption, std::move(click));
}

void TSkinGalleryForm::MakeSkinMenu() {
  TMenuItem* skin = AddItem(MainMenu1->Items(), u"&Skin", nullptr);
  skinItems_[0] = AddItem(skin, u"&Slate (built in)", [this] { UseSkin(TGallerySkin::gsSlate); });
  skinItems_[1] = AddItem(skin, u"S&and", [this] { UseSkin(TGallerySkin::gsSand); });
  skinItems_[2] = AddItem(skin, u"From &file...", [this] { ChooseSkinFile(); });
  AddItem(skin, u"-", nullptr);
  noSkinItem_ = AddItem(skin, u"&No skin", [this] { SetSkinning(false); });
  AddItem(skin, u"Skin &all", [this] { SetSkinning(true); });
}

void TSkinGalleryForm::MakeWindowsMenu() {
  TMenuItem* windows = AddItem(MainMenu1->Items(), u"&Windows", nullptr);
  AddItem(windows, u"&MDI frame with children", [this] { OpenMDIWindows(); });
  AddItem(windows, u"&Dialog with message boxes", [this] { OpenDialog(); });
  nestedItem_ =
      AddItem(windows, u"&Nested form", [this] { ShowNestedForm(!NestedForm->Visible()); });
}

void TSkinGalleryForm::MakeNestedForm() {
  NestPanel = new TPanel(this);
  NestPanel->SetParent(this);
  NestPanel->SetBounds(8, 398, 584, 140);
  NestPanel->SetCaption(u"");
  auto* note = new TLabel(this);
  note->SetParent(NestPanel);
  note->SetBounds(330, 10, 240, 13);
  note->SetCaption(u"A form placed on this panel:");
  NestedForm = new TNestedForm(this);
  NestedForm->SetParent(NestPanel);
  NestedForm->SetBounds(8, 8, 300, 120);
}

void TSkinGalleryForm::MakeMoreControls() {
  // The kinds the form library's gallery does not hold: a tab set, a media player and a
  // date-time picker, beside the nested form.
  TabSet1 = new TTabSet(this);
  TabSet1->SetParent(NestPanel);
  TabSet1->SetBounds(330, 34, 246, 24);
  for (const char16_t* tab : {u"日志", u"相册", u"Notes"})
    TabSet1->Tabs()->Add(tab);
  TabSet1->SetTabIndex(0);
  MediaPlayer1 = new TMediaPlayer(this);
  MediaPlayer1->SetParent(NestPanel);
  MediaPlayer1->SetBounds(330, 66, 246, 28);
  DateTimePicker1 = new TDateTimePicker(this);
  DateTimePicker1->SetParent(NestPanel);
  DateTimePicker1->SetBounds(330, 102, 130, 21);
}

void TSkinGalleryForm::MakePopupMenu() {
  // A 16 x 16 image: a green square on the see-through colour.
  PopupImages = new TImageList(this);
  TBitmap glyph(16, 16);
  glyph.Pixels().Fill(0xFF00FF);
  for (int y = 3; y < 13; ++y)
    for (int x = 3; x < 13; ++x)
      glyph.Pixels().At(x, y) = (x + y) % 4 == 0 ? 0x1A7F2E : 0x34C04A;
  PopupImages->AddMasked(glyph, lbb::clFuchsia);
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName(u"PopupMenu1");
  PopupMenu1->SetImages(PopupImages);
  const auto add = [this](TMenuItem* parent, const String& caption) {
    return AddItem(parent, caption, [this, caption] { lastPopup_ = caption; });
  };
  TMenuItem* root = PopupMenu1->Items();
  add(root, u"&Open");
  TMenuItem* image = add(root, u"With &image");
  image->SetImageIndex(0);
  image->SetChecked(true);
  add(root, u"&Checked")->SetChecked(true);
  add(root, u"&Disabled")->SetEnabled(false);
  add(root, u"-");
  add(root, u"Defa&ult")->SetDefault(true);
  TMenuItem* more = add(root, u"&More");
  add(more, u"&Inside");
  add(root, u"E&xit")->SetShortCut(scAlt | VK_F4);
  SetPopupMenu(PopupMenu1);
}

void TSkinGalleryForm::MakeSkinData() {
  using namespace skin;
  SkinData1 = new TSkinData(this);
  SkinData1->SetName(u"SkinData1");
  // The component's stored settings, read as the form reader does: its loaded step then asks
  // the skin manager to skin everything.
  ReadComponents(
      *this,
      {{SkinData1,
        {TStoredProperty::Text(u"Active", u"True"), TStoredProperty::Text(u"DisableTag", u"99"),
         TStoredProperty::Text(u"SkinControls",
                               SetToText(DefaultSkinControls(), SkinControlTypeNames())),
         TStoredProperty::Text(u"Options", SetToText(kDefaultSkinOptions, SkinOptionNames())),
         TStoredProperty::Text(u"SkinFormtype", u"sfMainform"),
         TStoredProperty::Binary(u"SkinStream", SkinStreamOf(SkinBytes(TGallerySkin::gsSlate)))}}});
}

bool TSkinGalleryForm::UseSkin(TGallerySkin which, const std::u16string& file) {
  if (which == TGallerySkin::gsFile) {
    SkinData1->LoadFromFile(file);
    const size_t slash = file.find_last_of(u"\\/");
    skinName_ = slash == std::u16string::npos ? file : file.substr(slash + 1);
  } else {
    std::span<const uint8_t> bytes = SkinBytes(which);
    skin::TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    SkinData1->LoadFromStream(stream);
    skinName_ = which == TGallerySkin::gsSand ? u"Sand" : u"Slate";
  }
  skin_ = which;
  ShowSkinState();
  return !SkinData1->Empty;
}

void TSkinGalleryForm::SetSkinning(bool on) {
  SkinData1->SetActive(on);
  ShowSkinState();
}

void TSkinGalleryForm::ChooseSkinFile() {
  wchar_t path[MAX_PATH] = {};
  static const wchar_t kFilter[] = L"Skin files (*.skn;*.*)\0*.skn;*.*\0";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = L"Open a skin";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return;
  if (!UseSkin(TGallerySkin::gsFile, FromWide(std::wstring_view(path)))) {
    Application->MessageBox(u"The file holds no skin that can be used.", {},
                            MB_OK | MB_ICONWARNING);
  }
}

TGalleryMDIFrame* TSkinGalleryForm::OpenMDIWindows() {
  if (!frame_) {
    frame_ = new TGalleryMDIFrame(nullptr);
    frame_->FreeNotification(this);
    frame_->ShowForm();
    frame_->OpenChildren();
  }
  frame_->ShowForm();
  return frame_;
}

TGalleryDialog* TSkinGalleryForm::OpenDialog() {
  if (!dialog_) {
    dialog_ = new TGalleryDialog(nullptr);
    dialog_->FreeNotification(this);
  }
  dialog_->ShowForm();
  return dialog_;
}

void TSkinGalleryForm::ShowNestedForm(bool show) {
  NestedForm->SetVisible(show);
  nestedItem_->SetChecked(show);
}

TGalleryMDIFrame* TSkinGalleryForm::MDIFrame() const {
  return frame_;
}

TGalleryDialog* TSkinGalleryForm::Dialog() const {
  return dialog_;
}

String TSkinGalleryForm::SkinState() const {
  String state = skinName_;
  if (SkinData1->Empty) state += u" (no usable skin)";
  return state + (SkinData1->Active() ? u", skinning on" : u", skinning off");
}

void TSkinGalleryForm::ShowSkinState() {
  for (int i = 0; i < 3; ++i)
    skinItems_[i]->SetChecked(static_cast<int>(skin_) == i);
  noSkinItem_->SetChecked(!SkinData1 || !SkinData1->Active());
  if (SkinData1) StatusBar1->Panels(1)->SetText(u"Skin: " + SkinState());
}

}  // namespace lbb::gallery
