// The skin gallery's main window: the form library's gallery form (one control of every kind)
// with a skin data component, a Skin menu that switches skins and a Windows menu that opens
// the other kinds of window the skin engine serves.
#pragma once

#include <memory>
#include <string>

#include "forms/DateTimePicker.h"
#include "forms/ImgList.h"
#include "forms/MediaPlayer.h"
#include "forms/Menus.h"
#include "forms/TabSet.h"
#include "skin/win/WinSkinData.h"
#include "tools/formsgallery/Gallery.h"
#include "tools/gallery/GalleryWindows.h"

namespace lbb::gallery {

// The skins the Skin menu offers.
enum class TGallerySkin { gsSlate, gsSand, gsFile };

class TSkinGalleryForm : public forms::TGalleryForm {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TSkinGalleryForm(forms::TComponent* owner);
  ~TSkinGalleryForm() override;

  skin::TSkinData* SkinData1 = nullptr;
  forms::TPanel* NestPanel = nullptr;
  TNestedForm* NestedForm = nullptr;
  forms::TTabSet* TabSet1 = nullptr;
  forms::TMediaPlayer* MediaPlayer1 = nullptr;
  forms::TDateTimePicker* DateTimePicker1 = nullptr;
  // The form's right-click menu: one item of every kind (normal, checked with and without an
  // image, disabled, separator, default, submenu, shortcut), its images in PopupImages.
  forms::TPopupMenu* PopupMenu1 = nullptr;
  forms::TImageList* PopupImages = nullptr;
  // The caption of the popup menu item chosen last ("" before any).
  String LastPopupCommand() const { return lastPopup_; }

  // The skin menu's commands. UseSkin loads a skin into SkinData1 (a file by its path) and
  // returns false when it holds no usable skin afterwards.
  bool UseSkin(TGallerySkin skin, const std::u16string& file = {});
  void SetSkinning(bool on);
  // Asks for a skin file (GetOpenFileNameW) and loads it.
  void ChooseSkinFile();
  // The Windows menu's commands: the MDI frame with its three children (made once, brought
  // forward later), the dialog form, the nested form.
  TGalleryMDIFrame* OpenMDIWindows();
  TGalleryDialog* OpenDialog();
  void ShowNestedForm(bool show);
  TGalleryMDIFrame* MDIFrame() const;
  TGalleryDialog* Dialog() const;
  // What the status bar says about the skin ("Slate, skinning on").
  String SkinState() const;

 protected:
  void Notification(forms::TComponent* c, forms::TOperation operation) override;

 private:
  void MakeSkinMenu();
  void MakeWindowsMenu();
  void MakeNestedForm();
  void MakeMoreControls();
  void MakeSkinData();
  void MakePopupMenu();
  forms::TMenuItem* AddItem(forms::TMenuItem* parent, const String& caption,
                            std::function<void()> click);
  void ShowSkinState();

  forms::TMenuItem* skinItems_[3] = {};
  forms::TMenuItem* noSkinItem_ = nullptr;
  forms::TMenuItem* nestedItem_ = nullptr;
  TGallerySkin skin_ = TGallerySkin::gsSlate;
  String skinName_ = u"Slate";
  TGalleryMDIFrame* frame_ = nullptr;
  TGalleryDialog* dialog_ = nullptr;
  String lastPopup_;
};

}  // namespace lbb::gallery
