// Which skinner a control gets. For a control object of a framework form: the DisableTag, the
// application's own choice (OnSkinControl), the skin data's Skin3rd list of other vendors'
// classes, then a fixed chain of class-name and control-type tests, each gated by a member of
// the skin data's SkinControls set. For a bare window (a child of a system dialog): a table of
// window class names and button styles.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <string>

#include "base/Text.h"
#include "forms/ButtonCtrls.h"
#include "forms/Buttons.h"
#include "forms/ComboBox.h"
#include "forms/DateTimePicker.h"
#include "forms/Forms.h"
#include "forms/ListView.h"
#include "forms/PageControl.h"
#include "forms/RangeCtrls.h"
#include "forms/ScrollBar.h"
#include "forms/StatusBar.h"
#include "forms/StdCtrls.h"
#include "forms/core/Properties.h"
#include "skin/controls/WinSkinFactory.h"
#include "skin/controls/WinSubClass.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/win/SkinMessages.h"

namespace lbb::skin {

namespace {

using K = TSkinnerKind;

bool Contains(const std::u16string& s, std::u16string_view part) {
  return s.find(part) != std::u16string::npos;
}

bool HasScrollStyle(forms::TControl* c) {
  auto* w = dynamic_cast<forms::TWinControl*>(c);
  if (!w || !w->WindowHandle()) return false;
  return (GetWindowLongW(w->WindowHandle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

bool IsMemo(forms::TControl* c) {
  return dynamic_cast<forms::TCustomMemo*>(c) != nullptr;
}

// One result of the chain: the skinner, whether it lends the skin's colour, the gate.
struct TChoice {
  K kind;
  bool colour = false;
};

}  // namespace

// ---- control objects

void TWinSkinForm::AddComp(forms::TComponent* comp) {
  AddComp(comp, nullptr);
}

void TWinSkinForm::AddComp(forms::TComponent* comp, forms::TWinControl* wForm) {
  auto* c = dynamic_cast<forms::TControl*>(comp);
  if (!c || !fsd) return;
  try {
    MapControl(c, wForm);
  } catch (const std::exception&) {
    // A control whose window cannot be made stays unskinned.
  }
}

bool TWinSkinForm::IsControlSkinned(forms::TControl* c) const {
  for (const auto& s : Controllist)
    if (s->control == c || (s->GControl && s->GControl == c)) return true;
  return false;
}

void TWinSkinForm::MapControl(forms::TControl* c, forms::TWinControl* wForm) {
  // 1. The DisableTag keeps the control native, and the buttons of such a radio or check
  // group too.
  if (c->Tag() == fsd->DisableTag()) {
    auto* w = dynamic_cast<forms::TWinControl*>(c);
    const std::u16string name = LowerAscii(c->ClassName());
    if (w && (Contains(name, u"radiogroup") || Contains(name, u"checkgroup")))
      for (int i = 0; i < w->ControlCount(); ++i)
        w->Controls(i)->SetTag(fsd->DisableTag());
    return;
  }
  // 2. Nothing for a control without a parent or one skinned already.
  if (!c->Parent() || IsControlSkinned(c)) return;
  auto* w = dynamic_cast<forms::TWinControl*>(c);
  if (w && w->WindowHandle() && SendMessageW(w->WindowHandle(), SKM_ISSKINNED, 0, 0) == 1) return;
  // 3. A windowed control gets its window now.
  if (w && !w->Handle()) return;
  // 4. The application's own skinner.
  if (fsd->OnSkinControl) {
    forms::TComponent* skinned = nullptr;
    fsd->OnSkinControl(this, fsd, wForm, c, UpperAscii(c->ClassName()), skinned);
    if (skinned) {
      auto* s = dynamic_cast<TSkinControl*>(skinned);
      if (s && !AddControlList(s)) s->Init(this, fsd, fcanvas2.get(), s->ColourReplaced());
      if (dynamic_cast<forms::TCustomPanel*>(c)) AddChildControls(w);
      return;
    }
  }
  // 5. The Skin3rd list.
  if (AddSkin3rdControl(c->ClassName(), c)) return;
  // 6. Classes that must stay as they are.
  const std::u16string name = UpperAscii(c->ClassName());
  if (name == u"TDBCOMBOBOXEH" || name == u"TFRDESIGNERPAGE" || name == u"TFRPBOX") return;
  // 7. The chain of class and type tests.
  MapByClass(c, w, name);
}

void TWinSkinForm::AddChildControls(forms::TWinControl* w) {
  if (!w) return;
  for (int i = 0; i < w->ControlCount(); ++i)
    AddComp(w->Controls(i), w);
}

bool TWinSkinForm::Gate(int member) const {
  return InSet(fsd->SkinControls(), member);
}

void TWinSkinForm::Attach(TSkinnerKind kind, forms::TControl* c, bool colour) {
  AttachSkinner(*this, kind, c, colour);
}

void TWinSkinForm::MapByClass(forms::TControl* c, forms::TWinControl* w,
                              const std::u16string& name) {
  const bool hasTab = fsd->tab && !fsd->tab->Map.Empty();
  if (name == u"TTABSET" && Gate(xcTab) && hasTab) return Attach(K::Tab31, c);
  if (name == u"TTABBEDNOTEBOOK" && Gate(xcTab) && hasTab) return Attach(K::Tab, c);
  if (name == u"TMVCPANEL") return AddChildControls(w);
  if ((name == u"TUPDOWN" || name == u"TSPINBUTTON") && Gate(xcSpin)) return Attach(K::UpDown, c);
  if (name == u"TMEDIAPLAYER" && Gate(xcButton)) return Attach(K::MediaPlayer, c);
  if (name == u"TDBNAVIGATOR" && Gate(xcPanel)) {
    Attach(K::Box, c, true);
    return AddChildControls(w);
  }
  if ((name == u"TRZDBCHECKBOX" || name == u"TRZCHECKBOX") && Gate(xcCheckBox))
    return Attach(K::ObjImageCheck, c, true);
  if ((name == u"TRZRADIOBUTTON" || name == u"TRZDBRADIOBUTTON") && Gate(xcRadioButton))
    return Attach(K::ObjImageRadio, c, true);
  if ((name == u"TCXDBCHECKBOX" || name == u"TCXCHECKBOX") && Gate(xcCheckBox))
    return Attach(K::ObjImageProps, c, true);
  if (name == u"TTNTCOMBOBOX" && Gate(xcCombo)) return Attach(K::ComBox, c);
  if ((name == u"TRICHEDIT" || name == u"TWWDBRICHEDIT" || name == u"TDXDBMEMO") &&
      Gate(xcScrollbar))
    return Attach(K::Scrollbar, c);
  if (MapFormLibraryKind(c)) return;
  MapGeneralKinds(c, w, name);
}

// The form library's own control kinds, tested before the general rows so that a bit button
// is not taken for a push button nor a list view for any scrolled window.
bool TWinSkinForm::MapFormLibraryKind(forms::TControl* c) {
  auto pick = [&](K kind, int gate, bool colour = false) {
    if (Gate(gate)) Attach(kind, c, colour);
    return true;
  };
  if (dynamic_cast<forms::TMenuButton*>(c)) return pick(K::MenuButton, xcButton);
  if (dynamic_cast<forms::TBitBtn*>(c)) return pick(K::BitButton, xcButton);
  if (dynamic_cast<forms::TSpeedButton*>(c)) return pick(K::SpeedButton, xcSpeedButton);
  if (dynamic_cast<forms::TScrollBar*>(c)) return pick(K::ScControl, xcScrollbar);
  if (dynamic_cast<forms::TListView*>(c)) return pick(K::ListView, xcScrollbar);
  if (dynamic_cast<forms::TCheckBox*>(c)) return pick(K::CheckBox, xcCheckBox);
  if (dynamic_cast<forms::TRadioButton*>(c)) return pick(K::RadioButton, xcRadioButton);
  if (dynamic_cast<forms::TCustomGroupBox*>(c)) return pick(K::GroupBox, xcGroupBox, true);
  if (auto* pc = dynamic_cast<forms::TPageControl*>(c)) {
    // A page control in button style has its tabs drawn as skin buttons.
    const HWND h = pc->WindowHandle();
    if (h && (GetWindowLongW(h, GWL_STYLE) & TCS_BUTTONS)) return pick(K::TabBtn, xcTab);
    if (fsd->tab && !fsd->tab->Map.Empty()) pick(K::Tab, xcTab);
    return true;
  }
  if (dynamic_cast<forms::TTabSheet*>(c)) return pick(K::TabSheet, xcTab);
  if (dynamic_cast<forms::TTrackBar*>(c)) return pick(K::TrackBar, xcTrackBar);
  if (dynamic_cast<forms::TProgressBar*>(c)) return pick(K::Progress, xcProgress);
  if (dynamic_cast<forms::TStatusBar*>(c)) return pick(K::StatusBar, xcStatusBar);
  if (dynamic_cast<forms::TCustomComboBox*>(c)) return pick(K::ComBox, xcCombo);
  if (dynamic_cast<forms::TDateTimePicker*>(c)) return pick(K::DateTime, xcCombo);
  return false;
}

void TWinSkinForm::MapGeneralKinds(forms::TControl* c, forms::TWinControl* w,
                                   const std::u16string& name) {
  if (dynamic_cast<forms::TCustomPanel*>(c) && Gate(xcPanel)) {
    AddChildControls(w);
    return Attach(K::Box, c, true);
  }
  if ((name == u"TDXTREELIST" || name == u"TDXDBTREELIST" || name == u"TDXDBGRID") &&
      Gate(xcScrollbar))
    return Attach(K::Scrollbar, c);
  if ((IsMemo(c) || HasScrollStyle(c)) && Gate(xcScrollbar)) return Attach(K::Scrollbar, c);
  if (dynamic_cast<forms::TButton*>(c) && Gate(xcButton)) return Attach(K::Button, c);
  const bool dcEdit = name == u"TDCEDIT" || name == u"TDCDBEDIT";
  if (dynamic_cast<forms::TCustomEdit*>(c) && !dcEdit && Gate(xcEdit)) return Attach(K::Edit, c);
  if (auto* f = dynamic_cast<forms::TCustomForm*>(c); f && !dcEdit) return MapNestedForm(f);
  if (dcEdit) {
    const int64_t buttons = forms::GetIntProp(c, u"NumButtons");
    if (buttons == 1 && Gate(xcCombo)) return Attach(K::ComBox, c);
    if (buttons == 0 && Gate(xcEdit) && w) AttachSkinnerHwnd(*this, K::Edit, w->WindowHandle());
  }
}

void TWinSkinForm::MapNestedForm(forms::TCustomForm* f) {
  Attach(K::Box, f, true);
  for (int i = 0; i < f->ComponentCount(); ++i)
    if (dynamic_cast<forms::TControl*>(f->Components(i))) AddComp(f->Components(i), f);
  if (Gate(xcPopupMenu)) InitPopMenu(f, true, false);
}

// A control's window was made anew: its scroll-bar skinner (found by the old window, from the
// end of the list) is freed and a new one made for the same control on its new window.
void TWinSkinForm::OnReskinScrollbar(forms::TMessage& m) {
  m.Result = 0;
  const HWND old = reinterpret_cast<HWND>(m.WParam);
  for (size_t i = Controllist.size(); i-- > 0;) {
    if (Controllist[i]->hwnd != old) continue;
    forms::TWinControl* c = Controllist[i]->control;
    FreeControlAt(i);
    if (c && !c->Destroying() && fsd)
      Attach(dynamic_cast<forms::TListView*>(c) ? K::ListView : K::Scrollbar, c);
    return;
  }
}

// ---- the Skin3rd list

bool TWinSkinForm::AddSkin3rdControl(const std::u16string& className, forms::TControl* c) {
  const std::u16string key = LowerAscii(className) + u"=";
  std::u16string kind;
  bool found = false;
  for (const std::u16string& line : fsd->Skin3rd()) {
    const std::u16string low = LowerAscii(line);
    if (low.compare(0, key.size(), key) != 0) continue;
    kind = low.substr(key.size(), 50);
    found = true;
    break;
  }
  if (!found) return false;
  if (kind != u"nil") MapSkin3rdKind(kind, key, c);
  return true;
}

void TWinSkinForm::MapSkin3rdKind(const std::u16string& kind, const std::u16string& key,
                                  forms::TControl* c) {
  auto* w = dynamic_cast<forms::TWinControl*>(c);
  auto gated = [&](int gate, K k, bool colour = false) {
    if (Gate(gate)) Attach(k, c, colour);
  };
  if (kind == u"combobox") return gated(xcCombo, K::ComBox);
  if (kind == u"comboboxex") return gated(xcCombo, K::ComBoxEx);
  if (kind == u"edit") {
    if (!Gate(xcEdit) || !w) return;
    RECT wr{}, cr{};
    GetWindowRect(w->WindowHandle(), &wr);
    GetClientRect(w->WindowHandle(), &cr);
    // Only an edit with a border: its window is larger than its client area.
    if (wr.right - wr.left != cr.right || wr.bottom - wr.top != cr.bottom) Attach(K::Edit, c);
    return;
  }
  if (kind == u"radiobutton") return gated(xcRadioButton, K::RadioButton);
  if (kind == u"panel" || kind == u"trackbar") {
    if (!Gate(kind == u"panel" ? xcPanel : xcButton)) return;
    forms::SetPropText(c, u"Transparent", u"True");
    return Attach(kind == u"panel" ? K::Box : K::TrackBar, c, kind == u"panel");
  }
  if (kind == u"button") return gated(xcButton, K::Button);
  if (kind == u"datetimepicker") return gated(xcCombo, K::DateTime);
  if (kind == u"mediaplayer") return gated(xcButton, K::MediaPlayer);
  if (kind == u"bitbtn") {
    const bool dropDown =
        key == u"tcxbutton=" && forms::GetEnumProp(c, u"Kind") == u"cxbkDropDownButton";
    return gated(xcButton, dropDown ? K::MenuButton : K::BitButton);
  }
  if (kind == u"pngbitbtn") return gated(xcButton, K::PngBitButton);
  if (kind == u"pngspeedbutton") return gated(xcButton, K::PngSpeedButton);
  if (kind == u"menubtn") return gated(xcButton, K::MenuButton);
  if (kind == u"speedbutton") return gated(xcSpeedButton, K::SpeedButton);
  if (kind == u"tab") {
    if (fsd->tab && !fsd->tab->Map.Empty()) gated(xcTab, K::Tab);
    return;
  }
  if (kind == u"progress") return gated(xcProgress, K::Progress);
  MapSkin3rdContainerKind(kind, c, w);
}

void TWinSkinForm::MapSkin3rdContainerKind(const std::u16string& kind, forms::TControl* c,
                                           forms::TWinControl* w) {
  auto children = [&](const std::function<void(forms::TControl*)>& each) {
    if (w)
      for (int i = 0; i < w->ControlCount(); ++i)
        each(w->Controls(i));
  };
  if (kind == u"scrollbar") {
    if (!Gate(xcScrollbar)) return;
    Attach(K::Scrollbar, c);
    return AddChildControls(w);
  }
  if (kind == u"singlescrollbar") {
    if (Gate(xcScrollbar)) Attach(K::SingleScrollbar, c);
    return;
  }
  if (kind == u"embedscrollbar") {
    if (!Gate(xcScrollbar)) return;
    return children([&](forms::TControl* child) {
      if (IsMemo(child) || HasScrollStyle(child)) Attach(K::Scrollbar, child);
    });
  }
  if (kind == u"container") return AddChildControls(w);
  if (kind == u"groupbox") {
    if (Gate(xcGroupBox)) Attach(K::GroupBox, c, true);
    return;
  }
  if (kind == u"advpagecontrol") {
    if (Gate(xcTab)) Attach(K::AdvPage, c, true);
    return;
  }
  if (kind == u"radiogroup" || kind == u"checkgroup") {
    const bool radio = kind == u"radiogroup";
    if (!Gate(radio ? xcGroupBox : xcPanel)) return;
    if (Gate(xcRadioButton))
      children([&](forms::TControl* child) {
        // Raize's buttons by name, whatever its case ("TRzRadioButton").
        const bool rz = Contains(UpperAscii(child->ClassName()), u"TRZ");
        if (radio)
          Attach(rz ? K::ObjImageRadio : K::RadioButton, child, rz);
        else
          Attach(rz ? K::ObjImageCheck : K::CheckBox, child, rz);
      });
    if (radio || Gate(xcGroupBox)) Attach(K::GroupBox, c, true);
    return;
  }
  if (kind == u"checkbox") {
    if (Gate(xcCheckBox)) Attach(K::CheckBox, c);
  }
}

// ---- bare windows

void TWinSkinForm::InitHwndControls(HWND ahwnd) {
  if (!ahwnd) return;
  for (HWND h = GetWindow(ahwnd, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) AddControlh(h);
}

void TWinSkinForm::AddControlh(HWND ahwnd) {
  if (!ahwnd || !fsd || KeptNative(ahwnd)) return;
  for (const auto& s : Controllist)
    if (s->hwnd == ahwnd) return;
  wchar_t buf[101] = {};
  GetClassNameW(ahwnd, buf, 101);
  const std::u16string name = LowerAscii(reinterpret_cast<const char16_t*>(buf));
  const DWORD style = DWORD(GetWindowLongW(ahwnd, GWL_STYLE));
  if (name == u"button") return MapButtonWindow(ahwnd, style);
  MapWindowClass(ahwnd, name, style);
}

void TWinSkinForm::MapButtonWindow(HWND ahwnd, DWORD style) {
  if (style & BS_BITMAP) return;  // a bitmap button shows its own picture
  // The button's type is the low four bits of its style; any other type is a push button
  // (the user button, the push box, split buttons and command links).
  switch (style & BS_TYPEMASK) {
    case BS_OWNERDRAW:
      return;  // drawn by its owner
    case BS_GROUPBOX:
      if (Gate(xcGroupBox)) AttachSkinnerHwnd(*this, K::GroupBox, ahwnd);
      return;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      if (Gate(xcCheckBox)) AttachSkinnerHwnd(*this, K::CheckBox, ahwnd);
      return;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      if (Gate(xcRadioButton)) AttachSkinnerHwnd(*this, K::RadioButton, ahwnd);
      return;
    default:
      if (Gate(xcButton)) AttachSkinnerHwnd(*this, K::Button, ahwnd);
      return;
  }
}

void TWinSkinForm::AttachHwndIf(int gate, TSkinnerKind kind, HWND h) {
  if (Gate(gate)) AttachSkinnerHwnd(*this, kind, h);
}

void TWinSkinForm::MapWindowClass(HWND ahwnd, const std::u16string& name, DWORD style) {
  auto gated = [&](int gate, K k, HWND h) { AttachHwndIf(gate, k, h); };
  auto faceColour = [&] {
    if (forms::TWinControl* owner = forms::FindControl(ahwnd))
      owner->SetColor(fsd->Colors[kShemeButtonFace]);
  };
  if (name == u"combobox") {
    if ((style & 3) != 1) gated(xcCombo, K::ComBox, ahwnd);
  } else if (name == u"comboboxex32") {
    if (HWND child = GetWindow(ahwnd, GW_CHILD)) gated(xcCombo, K::ComBox, child);
  } else if (name == u"scrollbar") {
    if (!(style & WS_TABSTOP)) AttachSkinnerHwnd(*this, K::Sizer, ahwnd);
  } else if (name == u"#32770") {
    if (!(style & 0x00010000)) {
      InitHwndControls(ahwnd);
      AttachSkinnerHwnd(*this, K::BoxH, ahwnd);
    }
  } else if (name == u"tpanel" || name == u"ttntpanel.unicodeclass" ||
             name == u"ttntsilentpaintpanel.unicodeclass") {
    InitHwndControls(ahwnd);
    faceColour();
  } else if (name == u"tcheckbox") {
    gated(xcCheckBox, K::CheckBox, ahwnd);
  } else if (name == u"tcombobox") {
    gated(xcCombo, K::ComBox, ahwnd);
  } else if (name == u"tbutton") {
    gated(xcButton, K::Button, ahwnd);
  } else if (name == u"tprogressbar") {
    AttachSkinnerHwnd(*this, K::Progress, ahwnd);
  } else if (name == u"tsilentpaintpanel") {
    faceColour();
  } else if (name == u"systabcontrol32") {
    if (!(style & 0x2000)) gated(xcTab, style & TCS_BUTTONS ? K::TabBtn : K::Tab, ahwnd);
  } else if (name == u"toolbarwindow32") {
    AttachSkinnerHwnd(*this, K::BoxH, ahwnd);
  } else if (name == u"edit") {
    // A multi-line edit with scroll bars gets its bars skinned, as a memo does.
    if (style & (WS_HSCROLL | WS_VSCROLL))
      gated(xcScrollbar, K::ScrollbarH, ahwnd);
    else
      gated(xcEdit, K::Edit, ahwnd);
  } else {
    MapCommonControlClass(ahwnd, name);
  }
}

// The common controls' window classes (and the list box) of a bare window.
void TWinSkinForm::MapCommonControlClass(HWND ahwnd, const std::u16string& name) {
  auto gated = [&](int gate, K k, HWND h) { AttachHwndIf(gate, k, h); };
  if (name == u"listbox") {
    gated(xcScrollbar, K::ScrollbarH, ahwnd);
  } else if (name == u"syslistview32") {
    gated(xcScrollbar, K::ScrollbarH, ahwnd);
    if (HWND header = ListView_GetHeader(ahwnd)) gated(xcScrollbar, K::Header, header);
  } else if (name == u"msctls_trackbar32") {
    gated(xcTrackBar, K::TrackBar, ahwnd);
  } else if (name == u"msctls_progress32") {
    gated(xcProgress, K::Progress, ahwnd);
  } else if (name == u"msctls_updown32") {
    gated(xcSpin, K::UpDown, ahwnd);
  } else if (name == u"sysdatetimepick32") {
    gated(xcCombo, K::DateTime, ahwnd);
  } else if (name == u"msctls_statusbar32") {
    gated(xcStatusBar, K::StatusBar, ahwnd);
  }
}

}  // namespace lbb::skin
