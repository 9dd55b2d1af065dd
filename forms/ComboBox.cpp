#include "forms/ComboBox.h"

#include "forms/WinText.h"

namespace lbb::forms {

const TClassInfo& TCustomComboBox::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TCustomComboBox", &TWinControl::StaticClassInfo());
    i.Add(StrProp<TCustomComboBox>(u"Text", &TCustomComboBox::Text, &TCustomComboBox::SetTextProp));
    i.Add(ObjectProp<TCustomComboBox, TStrings>(u"Items", u"TStrings", &TCustomComboBox::Items,
                                                nullptr));
    i.Add(EnumProp<TCustomComboBox, TComboBoxStyle>(
        u"Style", {u"csDropDown", u"csSimple", u"csDropDownList"}, &TCustomComboBox::Style,
        &TCustomComboBox::SetStyle));
    i.Add(IntProp<TCustomComboBox>(u"ItemIndex", &TCustomComboBox::ItemIndex,
                                   &TCustomComboBox::SetItemIndex));
    i.Add(IntProp<TCustomComboBox>(u"DropDownCount", &TCustomComboBox::DropDownCount,
                                   &TCustomComboBox::SetDropDownCount));
    return i;
  }();
  return info;
}

const TClassInfo& TComboBox::StaticClassInfo() {
  static const TClassInfo info(u"TComboBox", &TCustomComboBox::StaticClassInfo());
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStrings>()) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 145, 21);
  items_->OnChange = [this](TStrings::TChange change, int index) { ItemsChanged(change, index); };
}

TCustomComboBox::~TCustomComboBox() {
  items_->OnChange = nullptr;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = L"COMBOBOX";
  static constexpr DWORD kStyles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
  p.style |= kStyles[static_cast<int>(style_)] | CBS_AUTOHSCROLL | WS_VSCROLL;
  // The height of a drop-down combo box's window includes its open list.
  if (style_ != TComboBoxStyle::csSimple) {
    p.height = static_cast<int>(Height() + dropDownCount_ * ScreenPixels(16) + ScreenPixels(4));
  }
}

void TCustomComboBox::CreateWnd() {
  String text = text_;
  TWinControl::CreateWnd();
  FillWindow();
  if (itemIndex_ >= 0) {
    Perform(CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  } else if (style_ != TComboBoxStyle::csDropDownList) {
    std::wstring w = Wide(text);
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
  }
}

void TCustomComboBox::DestroyWnd() {
  itemIndex_ = ItemIndex();
}

void TCustomComboBox::FillWindow() {
  if (!WindowHandle()) return;
  Perform(CB_RESETCONTENT);
  for (const String& s : items_->Items()) {
    std::wstring w = Wide(s);
    Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  }
}

void TCustomComboBox::ItemsChanged(TStrings::TChange change, int index) {
  if (!WindowHandle()) {
    if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
    return;
  }
  switch (change) {
    case TStrings::TChange::Inserted: {
      std::wstring w = Wide(items_->Strings(index));
      Perform(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w.c_str()));
      break;
    }
    case TStrings::TChange::Deleted:
      Perform(CB_DELETESTRING, static_cast<WPARAM>(index), 0);
      break;
    case TStrings::TChange::Reset:
      FillWindow();
      break;
  }
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

int64_t TCustomComboBox::ItemIndex() const {
  if (!WindowHandle()) return itemIndex_;
  return static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int64_t index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  itemIndex_ = index;
  if (!WindowHandle()) {
    text_ = items_->Strings(static_cast<int>(index));
    return;
  }
  if (ItemIndex() == index) return;
  Perform(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (OnChange) OnChange(this);
}

void TCustomComboBox::SetDropDownCount(int64_t count) {
  dropDownCount_ = count < 1 ? 1 : count;
  if (WindowHandle() && style_ != TComboBoxStyle::csSimple) RecreateWnd();
}

bool TCustomComboBox::DroppedDown() const {
  return WindowHandle() && SendMessageW(WindowHandle(), CB_GETDROPPEDSTATE, 0, 0);
}

void TCustomComboBox::SetDroppedDown(bool v) {
  if (HWND h = Handle()) SendMessageW(h, CB_SHOWDROPDOWN, v, 0);
}

void TCustomComboBox::OnCommand(TMessage& m) {
  switch (HIWORD(m.WParam)) {
    case CBN_SELCHANGE:
      // The edit shows the chosen item only after this notification; set it now so that
      // handlers read the new text.
      if (style_ != TComboBoxStyle::csDropDownList) {
        std::wstring w = Wide(items_->Strings(static_cast<int>(ItemIndex())));
        SendMessageW(WindowHandle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
      }
      itemIndex_ = ItemIndex();
      if (OnSelect) OnSelect(this);
      if (OnChange) OnChange(this);
      break;
    case CBN_EDITCHANGE:
      if (OnChange) OnChange(this);
      break;
    default:
      break;
  }
}

void TCustomComboBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      OnCommand(m);
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC:
      AnswerColorRequest(m);
      return;
    default:
      TWinControl::WndProc(m);
      return;
  }
}

}  // namespace lbb::forms
