#include "forms/Menus.h"

#include <algorithm>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/ImgList.h"
#include "forms/WinText.h"

namespace lbb::forms {

const TClassInfo& TMenuItem::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TMenuItem", &TComponent::StaticClassInfo());
    i.Add(StrProp<TMenuItem>(u"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption));
    i.Add(IntProp<TMenuItem>(u"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut));
    i.Add(IntProp<TMenuItem>(u"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex));
    i.Add(BoolProp<TMenuItem>(u"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked));
    i.Add(BoolProp<TMenuItem>(u"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled));
    i.Add(BoolProp<TMenuItem>(u"Default", &TMenuItem::Default, &TMenuItem::SetDefault));
    i.Add(BoolProp<TMenuItem>(u"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible));
    return i;
  }();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner)
    : TComponent(owner), command_(static_cast<UINT>(Application->NextControlId())) {}

TMenuItem::~TMenuItem() {
  BeginDestroy();
  while (!items_.empty())
    delete items_.back();
  if (parent_) parent_->Remove(this);
}

void TMenuItem::SetCaption(const String& caption) {
  if (caption == caption_) return;
  bool lineChanged = (caption == u"-") != IsLine();
  caption_ = caption;
  Changed(lineChanged);
}

void TMenuItem::SetShortCut(int64_t shortcut) {
  shortcut_ = static_cast<TShortCut>(shortcut);
  Changed(false);
}

void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed(false);
}

void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed(false);
}

void TMenuItem::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  Changed(false);
}

void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed(true);
}

void TMenuItem::SetImageIndex(int64_t index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  Changed(false);
}

int TMenuItem::MenuIndex() const {
  if (!parent_) return -1;
  auto& list = parent_->items_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  Changed(true);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_)
    root = root->parent_;
  return root->menu_;
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

void TMenuItem::Changed(bool) {
  if (Destroying()) return;
  TMenu* menu = GetParentMenu();
  if (menu && !menu->Destroying()) menu->MenuChanged();
}

String TMenuItem::NativeText() const {
  String text = caption_;
  if (shortcut_) text += u"\t" + ShortCutToText(shortcut_);
  return text;
}

void TMenuItem::AppendTo(HMENU menu, UINT extraType) {
  handle_ = nullptr;
  for (TMenuItem* c : items_)
    c->handle_ = nullptr;
  std::wstring text = Wide(NativeText());
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING;
  mii.wID = command_;
  mii.fType = (IsLine() ? MFT_SEPARATOR : 0) | extraType;
  mii.fState =
      (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) | (default_ ? MFS_DEFAULT : 0);
  mii.dwItemData = command_;
  mii.dwTypeData = text.data();
  // The submenu is owned here until the parent menu takes it: a failed insert frees it (and
  // its own submenus) instead of leaking it.
  MenuHandle submenu;
  if (!items_.empty()) {
    submenu.reset(CreatePopupMenu());
    for (TMenuItem* c : items_) {
      if (c->visible_) c->AppendTo(submenu.get(), extraType);
    }
    mii.fMask |= MIIM_SUBMENU;
    mii.hSubMenu = submenu.get();
  }
  if (!InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii)) {
    for (TMenuItem* c : items_)
      c->ForgetHandles();
    return;
  }
  handle_ = submenu.release();
}

void TMenuItem::ForgetHandles() {
  handle_ = nullptr;
  for (TMenuItem* c : items_)
    c->ForgetHandles();
}

TMenuItem* TMenuItem::Find(UINT command) {
  if (command_ == command) return this;
  for (TMenuItem* c : items_) {
    if (TMenuItem* found = c->Find(command)) return found;
  }
  return nullptr;
}

// ---- TMenu

const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TMenu", &TComponent::StaticClassInfo());
    i.Add(BoolProp<TMenu>(u"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw));
    i.Add(
        ObjectProp<TMenu, TImageList>(u"Images", u"TImageList", &TMenu::Images, &TMenu::SetImages));
    i.Add(ObjectProp<TMenu, TMenuItem>(u"Items", u"TMenuItem", &TMenu::Items, nullptr));
    return i;
  }();
  return info;
}

const TClassInfo& TMainMenu::StaticClassInfo() {
  static const TClassInfo info(u"TMainMenu", &TMenu::StaticClassInfo());
  return info;
}

const TClassInfo& TPopupMenu::StaticClassInfo() {
  static const TClassInfo info(u"TPopupMenu", &TMenu::StaticClassInfo());
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
  items_->menu_ = this;
  Application->AddMenu(this);
}

TMenu::~TMenu() {
  BeginDestroy();
  Application->RemoveMenu(this);
  delete items_;
  if (images_) images_->RemoveFreeNotification(this);
}

void TMenu::SetImages(TImageList* images) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_) images_->FreeNotification(this);
  MenuChanged();
}

void TMenu::Notification(TComponent* c, TOperation operation) {
  TComponent::Notification(c, operation);
  if (operation == TOperation::opRemove && c == images_) images_ = nullptr;
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == ownerDraw_) return;
  ownerDraw_ = v;
  MenuChanged();
}

HMENU TMenu::Handle() {
  if (!handle_) Build();
  return handle_.get();
}

void TMenu::SetBiDiMode(TBiDiMode mode) {
  if (mode == bidi_) return;
  bidi_ = mode;
  MenuChanged();
}

void TMenu::Build() {
  MenuHandle fresh = CreateNativeMenu();
  const UINT extraType =
      (ownerDraw_ ? MFT_OWNERDRAW : 0u) | (IsRightToLeft() ? MFT_RIGHTORDER : 0u);
  for (int i = 0; i < items_->Count(); ++i) {
    if (items_->Items(i)->Visible()) items_->Items(i)->AppendTo(fresh.get(), extraType);
  }
  items_->handle_ = fresh.get();
  handle_ = std::move(fresh);
}

void TMenu::MenuChanged() {
  if (handle_) Build();
}

TMenuItem* TMenu::FindItem(UINT command) const {
  for (int i = 0; i < items_->Count(); ++i) {
    if (TMenuItem* found = items_->Items(i)->Find(command)) return found;
  }
  return nullptr;
}

TMenuItem* TMenu::FindItemByHandle(HMENU menu) const {
  if (!menu) return nullptr;
  std::vector<TMenuItem*> todo{items_};
  while (!todo.empty()) {
    TMenuItem* item = todo.back();
    todo.pop_back();
    if (item->handle_ == menu) return item;
    todo.insert(todo.end(), item->items_.begin(), item->items_.end());
  }
  return nullptr;
}

void TMainMenu::ReleaseForeignItems() {
  HMENU menu = handle_.get();
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    const bool ours =
        mii.hSubMenu ? FindItemByHandle(mii.hSubMenu) != nullptr : FindItem(mii.wID) != nullptr;
    if (!ours) RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
  }
}

void TMainMenu::MenuChanged() {
  if (!handle_) return;
  // What others put into the menu bar (an MDI client: the maximised child's system menu and
  // caption buttons) is theirs: it leaves the old menu before that is destroyed, and they
  // put it into the new one (the frame form tells its MDI client of the new menu).
  ReleaseForeignItems();
  // The form shows the new menu before the old one goes.
  MenuHandle old = std::move(handle_);
  Build();
  if (HWND hwnd = DisplayWindow()) {
    ::SetMenu(hwnd, handle_.get());
    DrawMenuBar(hwnd);
    if (TCustomForm* form = Screen->FindForm(hwnd)) form->Perform(CM_MENUCHANGED);
  }
}

HWND TMainMenu::DisplayWindow() const {
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->Menu() == this) return f->WindowHandle();
  }
  return nullptr;
}

void TPopupMenu::Popup(int x, int y) {
  HMENU menu = Handle();
  if (OnPopup) OnPopup(this);
  HWND owner = GetActiveWindow();
  if (!owner) owner = Application->Handle();
  UINT command = static_cast<UINT>(
      TrackPopupMenuEx(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, owner, nullptr));
  if (TMenuItem* item = command ? FindItem(command) : nullptr) item->Click();
}

}  // namespace lbb::forms
