// Making and starting the skinner a mapping chose: the one place that knows every skinner
// class and how each is started.
#include <exception>

#include "skin/controls/SkinControlHost.h"
#include "skin/controls/WinSkinBoxes.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/controls/WinSkinCombo.h"
#include "skin/controls/WinSkinDateTime.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/controls/WinSkinFactory.h"
#include "skin/controls/WinSkinHeader.h"
#include "skin/controls/WinSkinMedia.h"
#include "skin/controls/WinSkinObjImage.h"
#include "skin/controls/WinSkinRange.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/controls/WinSkinStatus.h"
#include "skin/controls/WinSkinTab.h"
#include "skin/controls/WinSkinUpDown.h"
#include "skin/controls/WinSubClass.h"

namespace lbb::skin {

namespace {

using K = TSkinnerKind;

// A new skinner of `kind` owned by `owner` (null for a bare window); null when this build has
// no skinner of that kind.
TSkinControl* NewSkinner(K kind, forms::TComponent* owner) {
  switch (kind) {
    case K::Button:
      return new TSkinButton(owner);
    case K::BitButton:
      return new TSkinBitButton(owner);
    case K::PngBitButton: {
      auto* b = new TSkinBitButton(owner);
      b->PicField = u"PngImage";
      return b;
    }
    case K::MenuButton:
      return new TSkinMenuButton(owner);
    case K::SpeedButton:
      return new TSkinSpeedButton(owner);
    case K::PngSpeedButton: {
      auto* b = new TSkinSpeedButton(owner);
      b->PicField = u"PngImage";
      return b;
    }
    case K::Scrollbar:
      return new TSkinScrollbar(owner);
    case K::SingleScrollbar: {
      auto* s = new TSkinScrollbar(owner);
      s->kind = 1;  // no border of its own
      return s;
    }
    case K::ListView:
      return new TSkinListView(owner);
    case K::ScControl:
      return new TSkinScControl(owner);
    case K::ScrollbarH:
      return new TSkinScrollbarH(owner);
    case K::Edit:
      return new TSkinEdit(owner);
    case K::CheckBox:
      return new TSkinCheckBox(owner);
    case K::RadioButton:
      return new TSkinRadioButton(owner);
    case K::ObjImageCheck:
      return new TSkinObjImage(owner, TObjImageKind::oiCheckCustomGlyphs);
    case K::ObjImageRadio:
      return new TSkinObjImage(owner, TObjImageKind::oiRadioCustomGlyphs);
    case K::ObjImageProps:
      return new TSkinObjImage(owner, TObjImageKind::oiCheckPropertiesGlyph);
    case K::Box:
      return new TSkinBox(owner);
    case K::BoxH:
      return new TSkinBoxH(owner);
    case K::GroupBox:
      return new TSkinGroupBox(owner);
    case K::StatusBar:
      return new TSkinStatusBar(owner);
    case K::TrackBar:
      return new TSkinTrackBar(owner);
    case K::Progress:
      return new TSkinProgress(owner);
    case K::Sizer:
      return new TSkinSizer(owner);
    case K::MediaPlayer:
      return new TSkinMP(owner);
    case K::Tab:
      return new TSkinTab(owner);
    case K::TabBtn:
      return new TSkinTabBtn(owner);
    case K::Tab31:
      return new TSkinTab31(owner);
    case K::TabSheet:
      return new TSkinTabSheet(owner);
    case K::AdvPage:
      return new TSkinAdvPage(owner);
    case K::ComBox:
      return new TSkinComBox(owner);
    case K::ComBoxEx: {
      auto* c = new TSkinComBox(owner);
      c->HasButton = true;  // the box's button is a window of its own
      return c;
    }
    case K::UpDown:
      return new TSkinUpDown(owner);
    case K::DateTime:
      return new TSkinDateTime(owner);
    case K::Header:
      return new controls::TSkinHeader(owner);
    default:
      return nullptr;
  }
}

// Starts `s` on the control the way its class needs.
void Start(TSkinControlHost& sf, TSkinControl* s, forms::TControl* control, bool colour) {
  if (auto* sb = dynamic_cast<TSkinScrollbar*>(s)) {
    if (auto* w = dynamic_cast<forms::TWinControl*>(control))
      sb->InitScrollbar(w, sf.HostData(), sf.HostCanvas(), &sf);
    return;
  }
  if (auto* speed = dynamic_cast<TSkinSpeedButton*>(s)) {
    speed->InitGraphicControl(&sf, sf.HostData(), sf.HostCanvas());
    return;
  }
  s->Init(&sf, sf.HostData(), sf.HostCanvas(), colour);
}

}  // namespace

TSkinControl* AttachSkinner(TSkinControlHost& sf, TSkinnerKind kind, forms::TControl* control,
                            bool colour) {
  if (!control) return nullptr;
  TSkinControl* s = NewSkinner(kind, control);
  if (!s) return nullptr;
  try {
    Start(sf, s, control, colour);
  } catch (const std::exception&) {
    delete s;  // the control stays native
    return nullptr;
  }
  return s;
}

TSkinControl* AttachSkinnerHwnd(TSkinControlHost& sf, TSkinnerKind kind, HWND ahwnd) {
  if (!ahwnd) return nullptr;
  TSkinControl* s = NewSkinner(kind, nullptr);
  if (!s) return nullptr;
  try {
    s->Inithwnd(ahwnd, sf.HostData(), sf.HostCanvas(), &sf);
  } catch (const std::exception&) {
    delete s;  // the window stays native
    return nullptr;
  }
  return s;
}

}  // namespace lbb::skin
