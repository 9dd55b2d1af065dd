// The item layer of skinned menus on the form skinner: switching owner-drawing of a form's
// popup and main menus on and off, measuring items, and the WM_MEASUREITEM / WM_DRAWITEM of
// menu items that reach the skinned window. The drawing itself is WinSkinMenuItemDraw.cpp.
//
// The handlers this layer gives to framework items are of its own functor types, so switching
// off recognises them and leaves the handlers a program set itself alone. They hold the
// skinner's liveness flag: an item that outlives its skinner (its window was recreated) draws
// in the plain look instead of calling a freed skinner.
#include <memory>

#include "base/win/Handles.h"
#include "base/win/WideText.h"
#include "skin/data/MenuItemGeometry.h"
#include "skin/data/SkinScale.h"
#include "skin/forms/FormManager.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinFormImpl.h"
#include "skin/forms/WinSkinMenuItem.h"

namespace lbb::skin {

namespace {

constexpr int kMaxItemText = 80;
// Native command ids the framework hands out to its own items.
constexpr UINT kFirstFrameworkId = 1;
constexpr UINT kLastFrameworkId = 4095;

struct TSkinDrawHandler {
  TWinSkinForm* sf;
  std::shared_ptr<bool> alive;
  void operator()(forms::TObject* sender, forms::TCanvas* canvas, RECT r, bool selected) const {
    if (*alive) {
      sf->DrawMenuItem(sender, canvas, r, selected);
    } else if (auto* item = dynamic_cast<forms::TMenuItem*>(sender); item && canvas) {
      DrawPlainItem(nullptr, canvas->Handle(), r, LookOf(*item, selected, nullptr));
    }
  }
};

// Widens the framework's measure (the framework has measured when it calls the handler).
struct TSkinMeasureHandler {
  TWinSkinForm* sf;
  std::shared_ptr<bool> alive;
  bool systemRule;
  void operator()(forms::TObject* sender, forms::TCanvas*, int& width, int&) const {
    if (!*alive) return;
    if (systemRule) {
      sf->SysMenuMeasureItem(sender, width);
      return;
    }
    auto* item = dynamic_cast<forms::TMenuItem*>(sender);
    forms::TMenu* menu = item ? item->GetParentMenu() : nullptr;
    const int margin = HasItemImage(sf->fsd) ? sf->fsd->MenuItem->r.Left : 0;
    width += MenuItemExtraWidth(margin, menu && menu->Images(), false, SkinDpi(sf->fsd));
  }
};

bool OursDraw(const forms::TMenuItem& item) {
  return item.OnDrawItem.target<TSkinDrawHandler>() != nullptr;
}

bool OursMeasure(const forms::TMenuItem& item) {
  return item.OnMeasureItem.target<TSkinMeasureHandler>() != nullptr;
}

void ClearOurs(forms::TMenuItem& item) {
  if (OursDraw(item)) item.OnDrawItem = nullptr;
  if (OursMeasure(item)) item.OnMeasureItem = nullptr;
}

// Remembers a menu's own owner-draw flag while the skin has it switched on; owned by the menu,
// so it goes with it.
class TOwnerDrawMark : public forms::TComponent {
 public:
  TOwnerDrawMark(forms::TMenu* menu, bool saved) : forms::TComponent(menu), saved_(saved) {}
  bool Saved() const { return saved_; }

 private:
  bool saved_;
};

TOwnerDrawMark* MarkOf(forms::TMenu& menu) {
  for (int i = 0; i < menu.ComponentCount(); ++i)
    if (auto* mark = dynamic_cast<TOwnerDrawMark*>(menu.Components(i))) return mark;
  return nullptr;
}

void SwitchOwnerDraw(forms::TMenu& menu, bool enable) {
  TOwnerDrawMark* mark = MarkOf(menu);
  if (enable) {
    if (!mark) new TOwnerDrawMark(&menu, menu.OwnerDraw());
    menu.SetOwnerDraw(true);
  } else if (mark) {
    const bool saved = mark->Saved();
    delete mark;
    menu.SetOwnerDraw(saved);
  }
}

// Every item below `root` with its depth (the root's own items are at depth 1).
template <class F>
void ForEachItem(forms::TMenuItem& root, int depth, const F& f) {
  for (int i = 0; i < root.Count(); ++i) {
    forms::TMenuItem& item = *root.Items(i);
    f(item, depth);
    ForEachItem(item, depth + 1, f);
  }
}

forms::TMainMenu* MainMenuOf(const TWinSkinForm& sf) {
  return sf.FForm ? sf.FForm->Menu() : nullptr;
}

// The text of native item `id` in `menu`, at most kMaxItemText characters. Asked as the
// item's string (not its menu string), which an owner-drawn item keeps too.
std::u16string NativeText(HMENU menu, UINT id) {
  wchar_t text[kMaxItemText + 1] = {};
  if (!menu) return {};
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STRING;
  mii.dwTypeData = text;
  mii.cch = kMaxItemText + 1;
  if (!GetMenuItemInfoW(menu, id, FALSE, &mii)) return {};
  return FromWide(text, std::min<size_t>(mii.cch, kMaxItemText));
}

// The menu the platform announced last (WM_INITMENUPOPUP): the items it measures next are
// most likely its own. Menus are tracked one at a time on the UI thread.
HMENU g_announced = nullptr;

bool InFrameworkRange(UINT id) {
  return id >= kFirstFrameworkId && id <= kLastFrameworkId;
}

}  // namespace

// ---- switching owner-drawing on and off

void TWinSkinForm::InitPopMenu(forms::TWinControl* aform, bool enable, bool /*update*/) {
  if (!aform || aform->ClassName() == u"TwwRichEditForm") return;
  const int disable = fsd ? fsd->DisableTag() : 99;
  const bool allowed = fsd && InSet(fsd->SkinControls(), xcPopupMenu);
  for (int i = 0; i < aform->ComponentCount(); ++i) {
    forms::TComponent* c = aform->Components(i);
    if (auto* nested = dynamic_cast<forms::TCustomForm*>(c)) {
      InitPopMenu(nested, enable, false);
      continue;
    }
    auto* popup = dynamic_cast<forms::TPopupMenu*>(c);
    if (!popup || (enable && (!allowed || popup->Tag() == disable))) continue;
    SwitchOwnerDraw(*popup, enable);
    ForEachItem(*popup->Items(), 1, [&](forms::TMenuItem& item, int) {
      if (!enable) return ClearOurs(item);
      // Handlers of an earlier skinner of this form (its window was recreated) are taken over.
      if (!item.OnDrawItem || OursDraw(item)) item.OnDrawItem = TSkinDrawHandler{this, impl->alive};
      if (!item.OnMeasureItem || OursMeasure(item))
        item.OnMeasureItem = TSkinMeasureHandler{this, impl->alive, true};
    });
  }
}

void TWinSkinForm::InitMainMenu(forms::TWinControl* aform, bool enable) {
  if (!aform) return;
  for (int i = 0; i < aform->ComponentCount(); ++i) {
    auto* main = dynamic_cast<forms::TMainMenu*>(aform->Components(i));
    if (!main) continue;
    SwitchOwnerDraw(*main, enable);
    ForEachItem(*main->Items(), 1, [&](forms::TMenuItem& item, int depth) {
      if (!enable) return ClearOurs(item);
      if (depth < 2 || (item.OnDrawItem && !OursDraw(item))) return;
      item.OnDrawItem = TSkinDrawHandler{this, impl->alive};
      if (!item.OnMeasureItem || OursMeasure(item))
        item.OnMeasureItem = TSkinMeasureHandler{this, impl->alive, false};
    });
  }
}

// The skinned system menu's items get the same handlers (BuildSysMenu).
void SkinSysMenuItem(TWinSkinForm& sf, forms::TMenuItem& item, const std::shared_ptr<bool>& alive) {
  item.OnDrawItem = TSkinDrawHandler{&sf, alive};
  item.OnMeasureItem = TSkinMeasureHandler{&sf, alive, true};
}

// ---- measuring

void TWinSkinForm::MeasureItem(forms::TObject* Sender, forms::TCanvas* ACanvas, int& Width,
                               int& Height) {
  auto* item = dynamic_cast<forms::TMenuItem*>(Sender);
  if (!item || !ACanvas) return;
  {
    forms::TDetachedMeasure detached(*item);
    item->MeasureItem(ACanvas, Width, Height);
  }
  forms::TMenu* owner = item->GetParentMenu();
  const int margin = HasItemImage(fsd) ? fsd->MenuItem->r.Left : 0;
  Width += MenuItemExtraWidth(margin, owner && owner->Images(), false, SkinDpi(fsd));
}

void TWinSkinForm::SysMenuMeasureItem(forms::TObject* Sender, int& Width) {
  auto* item = dynamic_cast<forms::TMenuItem*>(Sender);
  forms::TMenu* owner = item ? item->GetParentMenu() : nullptr;
  const int margin = HasItemImage(fsd) ? fsd->MenuItem->r.Left : 0;
  Width += MenuItemExtraWidth(margin, owner && owner->Images(), true, SkinDpi(fsd));
}

void TWinSkinForm::OnMeasureMenuItem(forms::TMessage& m) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (!mis || mis->CtlType != ODT_MENU || (!FForm && !hmenu && !activemenu) ||
      !DrawsMenuItem(nullptr, mis->itemID))
    return CallDefault(m);
  TFormManagerSeam* mgr = FormManager();
  if (FForm) {
    if (mgr) mgr->SetPopMenu();
    forms::TMainMenu* main = MainMenuOf(*this);
    if (forms::TMenuItem* item = main ? main->FindItem(mis->itemID) : nullptr) {
      lbb::WindowDc dc(Hwnd);
      forms::TCanvas canvas;
      forms::CanvasScope scope(canvas, dc.get());
      lbb::SelectScope font(dc.get(), MenuFont(item->Default()));
      int w = static_cast<int>(mis->itemWidth), h = static_cast<int>(mis->itemHeight);
      MeasureItem(item, &canvas, w, h);
      mis->itemWidth = static_cast<UINT>(std::max(w, 0));
      mis->itemHeight = static_cast<UINT>(std::max(h, 0));
      m.Result = 1;
      return;
    }
    if (InFrameworkRange(mis->itemID)) return CallDefault(m);
  }
  std::u16string found = NativeText(activemenu, mis->itemID);
  if (found.empty()) found = NativeText(g_announced, mis->itemID);
  if (found.empty()) found = NativeText(hsysmenu, mis->itemID);
  const std::wstring text = Wide(found);
  lbb::WindowDc dc(Hwnd);
  lbb::SelectScope font(dc.get(), MenuFont(false));
  RECT calc{0, 0, 0, 0};
  DrawTextW(dc.get(), text.empty() ? L" " : text.c_str(),
            text.empty() ? 1 : static_cast<int>(text.size()), &calc,
            DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  const int margin = HasItemImage(fsd) ? fsd->MenuItem->r.Left : 0;
  const TMenuSize size =
      MenuTextItemSize(calc.right, calc.bottom, text.empty(), margin, false, SkinDpi(fsd));
  mis->itemWidth = static_cast<UINT>(size.Width);
  mis->itemHeight = static_cast<UINT>(size.Height);
  m.Result = 1;
}

void NoteMenuPopup(HMENU menu) {
  g_announced = menu;
}

// ---- drawing

void TWinSkinForm::DrawMenuItem(forms::TObject* Sender, forms::TCanvas* ACanvas, RECT ARect,
                                bool Selected) {
  auto* item = dynamic_cast<forms::TMenuItem*>(Sender);
  if (!item || !ACanvas || !ACanvas->Handle()) return;
  TFormManagerSeam* mgr = FormManager();
  if (mgr) mgr->SetPopMenu();
  const TMenuItemLook look = LookOf(*item, Selected, MainMenuOf(*this));
  if (!HasItemImage(fsd)) return DrawPlainItem(fsd, ACanvas->Handle(), ARect, look);
  HMENU parent = item->Parent() ? item->Parent()->Handle() : nullptr;
  if (parent && mgr) mgr->SetHMenu(parent);
  DrawSkinnedItem(*fsd, ACanvas->Handle(), ARect, look, mgr ? mgr->FindPopMenu(parent) : nullptr,
                  true);
}

void TWinSkinForm::OnDrawMenuItem(forms::TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  auto* shown = dis ? reinterpret_cast<HMENU>(dis->hwndItem) : nullptr;
  if (!dis || dis->CtlType != ODT_MENU || (!FForm && !hmenu && !activemenu) ||
      !DrawsMenuItem(shown, dis->itemID))
    return CallDefault(m);
  TFormManagerSeam* mgr = FormManager();
  if (mgr) {
    mgr->SetHMenu(shown);
    mgr->SetPopMenu();
  }
  const bool selected = (dis->itemState & ODS_SELECTED) != 0;
  if (FForm) {
    forms::TMainMenu* main = MainMenuOf(*this);
    if (forms::TMenuItem* item = main ? main->FindItem(dis->itemID) : nullptr) {
      SavedDc saved(dis->hDC);
      forms::TCanvas canvas;
      forms::CanvasScope scope(canvas, dis->hDC);
      DrawMenuItem(item, &canvas, dis->rcItem, selected);
      m.Result = 1;
      return;
    }
    if (InFrameworkRange(dis->itemID)) return CallDefault(m);
  }
  // A native item, drawn from what the menu says of it.
  TMenuItemLook look;
  std::u16string text = NativeText(shown, dis->itemID);
  // "Text\tKeys": the keys are drawn at the item's right end, as the platform draws them.
  if (const size_t tab = text.find(u'\t'); tab != std::u16string::npos) {
    look.shortcutText = text.substr(tab + 1);
    text.resize(tab);
  }
  look.caption = text.empty() ? std::u16string(1, u'-') : std::move(text);
  look.enabled = (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) == 0;
  look.checked = (dis->itemState & ODS_CHECKED) != 0;
  look.isDefault = (dis->itemState & ODS_DEFAULT) != 0;
  look.selected = selected;
  look.rightToLeft = (GetMenuState(shown, dis->itemID, MF_BYCOMMAND) & MFT_RIGHTORDER) != 0;
  SavedDc saved(dis->hDC);
  if (HasItemImage(fsd))
    DrawSkinnedItem(*fsd, dis->hDC, dis->rcItem, look, mgr ? mgr->FindPopMenu(shown) : nullptr,
                    false);
  else
    DrawPlainItem(fsd, dis->hDC, dis->rcItem, look);
  m.Result = 1;
}

}  // namespace lbb::skin
