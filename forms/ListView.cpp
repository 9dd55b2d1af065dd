#include "forms/ListView.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/ImgList.h"
#include "forms/WinText.h"

namespace lbb::forms {
namespace {

const std::vector<String> kAlignments{u"taLeftJustify", u"taRightJustify", u"taCenter"};
constexpr int kColumnFormats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};

}  // namespace

// ---- TListColumn

const TClassInfo& TListColumn::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TListColumn", &TObject::StaticClassInfo());
    i.Add(StrProp<TListColumn>(u"Caption", &TListColumn::Caption, &TListColumn::SetCaption));
    i.Add(IntProp<TListColumn>(u"Width", &TListColumn::Width, &TListColumn::SetWidth));
    i.Add(EnumProp<TListColumn, TAlignment>(u"Alignment", kAlignments, &TListColumn::Alignment,
                                            &TListColumn::SetAlignment));
    return i;
  }();
  return info;
}

int TListColumn::Index() const {
  for (int i = 0; i < view_.ColumnCount(); ++i) {
    if (view_.Columns(i) == this) return i;
  }
  return -1;
}

void TListColumn::SetCaption(const String& caption) {
  caption_ = caption;
  view_.UpdateColumn(Index());
}

int64_t TListColumn::Width() const {
  // The user may have dragged the header divider.
  if (HWND h = view_.WindowHandle()) return ListView_GetColumnWidth(h, Index());
  return width_;
}

void TListColumn::SetWidth(int64_t width) {
  width_ = width;
  view_.UpdateColumn(Index());
}

void TListColumn::SetAlignment(TAlignment v) {
  alignment_ = v;
  view_.UpdateColumn(Index());
}

// ---- TListItem

const TClassInfo& TListItem::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TListItem", &TObject::StaticClassInfo());
    i.Add(StrProp<TListItem>(u"Caption", &TListItem::Caption, &TListItem::SetCaption));
    i.Add(IntProp<TListItem>(u"ImageIndex", &TListItem::ImageIndex, &TListItem::SetImageIndex));
    i.Add(BoolProp<TListItem>(u"Selected", &TListItem::Selected, &TListItem::SetSelected));
    return i;
  }();
  return info;
}

TListItem::TListItem(TListView& view) : view_(view), subItems_(std::make_unique<TStrings>()) {
  subItems_->OnChange = [this](TStrings::TChange, int) { view_.UpdateItem(Index()); };
}

int TListItem::Index() const {
  for (int i = 0; i < view_.ItemCount(); ++i) {
    if (view_.Items(i) == this) return i;
  }
  return -1;
}

void TListItem::SetCaption(const String& caption) {
  caption_ = caption;
  view_.UpdateItem(Index());
}

void TListItem::SetImageIndex(int64_t v) {
  imageIndex_ = v;
  view_.UpdateItem(Index());
}

bool TListItem::Selected() const {
  HWND h = view_.WindowHandle();
  return h && ListView_GetItemState(h, Index(), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool v) {
  if (HWND h = view_.Handle())
    ListView_SetItemState(h, Index(), v ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

// ---- TListView

const TClassInfo& TListView::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TListView", &TWinControl::StaticClassInfo());
    i.Add(EnumProp<TListView, TViewStyle>(u"ViewStyle",
                                          {u"vsIcon", u"vsSmallIcon", u"vsList", u"vsReport"},
                                          &TListView::ViewStyle, &TListView::SetViewStyle));
    i.Add(BoolProp<TListView>(u"RowSelect", &TListView::RowSelect, &TListView::SetRowSelect));
    i.Add(BoolProp<TListView>(u"GridLines", &TListView::GridLines, &TListView::SetGridLines));
    i.Add(BoolProp<TListView>(u"ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly));
    i.Add(BoolProp<TListView>(u"ShowColumnHeaders", &TListView::ShowColumnHeaders,
                              &TListView::SetShowColumnHeaders));
    i.Add(EnumProp<TListView, TBorderStyle>(u"BorderStyle", {u"bsNone", u"bsSingle"},
                                            &TListView::BorderStyle, &TListView::SetBorderStyle));
    i.Add(IntProp<TListView>(u"ItemIndex", &TListView::ItemIndex, &TListView::SetItemIndex));
    i.Add(ObjectProp<TListView, TCustomImageList>(
        u"SmallImages", u"TCustomImageList", &TListView::SmallImages, &TListView::SetSmallImages));
    i.Add(ObjectProp<TListView, TCustomImageList>(
        u"LargeImages", u"TCustomImageList", &TListView::LargeImages, &TListView::SetLargeImages));
    return i;
  }();
  return info;
}

TListView::TListView(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
}

TListView::~TListView() {
  BeginDestroy();
  if (smallImages_) smallImages_->RemoveFreeNotification(this);
  if (largeImages_) largeImages_->RemoveFreeNotification(this);
  // The window goes before the items it shows.
  DestroyComponents();
  DestroyHandle();
}

void TListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = WC_LISTVIEWW;
  static constexpr DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  p.style |= kViews[static_cast<int>(viewStyle_)] | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS;
  if (readOnly_)
    p.style &= ~static_cast<DWORD>(LVS_EDITLABELS);
  else
    p.style |= LVS_EDITLABELS;
  if (!showColumnHeaders_) p.style |= LVS_NOCOLUMNHEADER;
  if (borderStyle_ == TBorderStyle::bsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateExtendedStyle();
  SetImageLists();
  FillWindow();
}

void TListView::DestroyWnd() {
  selected_.clear();
  for (int i = 0; i < ItemCount(); ++i) {
    if (Items(i)->Selected()) selected_.push_back(i);
  }
}

void TListView::UpdateExtendedStyle() {
  if (!WindowHandle()) return;
  DWORD ex = LVS_EX_HEADERDRAGDROP;
  if (rowSelect_) ex |= LVS_EX_FULLROWSELECT;
  if (gridLines_) ex |= LVS_EX_GRIDLINES;
  ListView_SetExtendedListViewStyle(WindowHandle(), ex);
}

void TListView::SetImageLists() {
  if (!WindowHandle()) return;
  ListView_SetImageList(WindowHandle(), smallImages_ ? smallImages_->Handle() : nullptr,
                        LVSIL_SMALL);
  ListView_SetImageList(WindowHandle(), largeImages_ ? largeImages_->Handle() : nullptr,
                        LVSIL_NORMAL);
}

void TListView::FillWindow() {
  HWND h = WindowHandle();
  ListView_DeleteAllItems(h);
  while (ListView_DeleteColumn(h, 0)) {
  }
  for (int i = 0; i < ColumnCount(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 10;
    ListView_InsertColumn(h, i, &column);
    UpdateColumn(i);
  }
  for (int i = 0; i < ItemCount(); ++i)
    InsertItemInWindow(i);
  for (int i : selected_) {
    if (i < ItemCount()) Items(i)->SetSelected(true);
  }
  selected_.clear();
}

void TListView::UpdateColumn(int index) {
  HWND h = WindowHandle();
  if (!h || index < 0) return;
  TListColumn* c = Columns(index);
  std::wstring text = Wide(c->Caption());
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.pszText = text.data();
  column.cx = static_cast<int>(c->width_);
  // The first column of a list view is always left-aligned.
  column.fmt = index == 0 ? LVCFMT_LEFT : kColumnFormats[static_cast<int>(c->Alignment())];
  ListView_SetColumn(h, index, &column);
}

void TListView::InsertItemInWindow(int index) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(L"");
  ListView_InsertItem(WindowHandle(), &item);
  UpdateItem(index);
}

void TListView::UpdateItem(int index) {
  HWND h = WindowHandle();
  if (!h || index < 0) return;
  TListItem* li = Items(index);
  std::wstring caption = Wide(li->Caption());
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = caption.data();
  item.iImage = static_cast<int>(li->ImageIndex());
  ListView_SetItem(h, &item);
  for (int s = 0; s < li->SubItems()->Count() && s + 1 < ColumnCount(); ++s) {
    std::wstring text = Wide(li->SubItems()->Strings(s));
    ListView_SetItemText(h, index, s + 1, text.data());
  }
}

void TListView::ChangeScale(int m, int d) {
  TWinControl::ChangeScale(m, d);
  for (int i = 0; i < ColumnCount(); ++i)
    Columns(i)->SetWidth(MulDiv(static_cast<int>(Columns(i)->Width()), m, d));
  // Taken away and given again, the lists (scaled with the form, same handles) are measured
  // again.
  if (HWND h = WindowHandle()) {
    ListView_SetImageList(h, nullptr, LVSIL_SMALL);
    ListView_SetImageList(h, nullptr, LVSIL_NORMAL);
  }
  SetImageLists();
}

TListColumn* TListView::AddColumn(const String& caption, int width) {
  columns_.push_back(std::make_unique<TListColumn>(*this));
  TListColumn* c = columns_.back().get();
  c->caption_ = caption;
  c->width_ = width;
  if (HWND h = WindowHandle()) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = width;
    ListView_InsertColumn(h, ColumnCount() - 1, &column);
    UpdateColumn(ColumnCount() - 1);
  }
  return c;
}

TListItem* TListView::AddItem(const String& caption) {
  items_.push_back(std::make_unique<TListItem>(*this));
  TListItem* item = items_.back().get();
  item->caption_ = caption;
  if (WindowHandle()) InsertItemInWindow(ItemCount() - 1);
  return item;
}

void TListView::DeleteItem(int index) {
  if (index < 0 || index >= ItemCount()) return;
  if (WindowHandle()) ListView_DeleteItem(WindowHandle(), index);
  items_.erase(items_.begin() + index);
}

void TListView::ClearItems() {
  if (WindowHandle()) ListView_DeleteAllItems(WindowHandle());
  items_.clear();
}

TListItem* TListView::Selected() const {
  int64_t index = ItemIndex();
  return index >= 0 ? Items(static_cast<int>(index)) : nullptr;
}

int64_t TListView::ItemIndex() const {
  if (!WindowHandle()) return selected_.empty() ? -1 : selected_.front();
  return ListView_GetNextItem(WindowHandle(), -1, LVNI_SELECTED);
}

void TListView::SetItemIndex(int64_t index) {
  for (int i = 0; i < ItemCount(); ++i)
    Items(i)->SetSelected(i == index);
}

HWND TListView::HeaderHandle() const {
  return WindowHandle() ? ListView_GetHeader(WindowHandle()) : nullptr;
}

void TListView::SetViewStyle(TViewStyle v) {
  if (v == viewStyle_) return;
  viewStyle_ = v;
  RecreateWnd();
}

void TListView::SetRowSelect(bool v) {
  rowSelect_ = v;
  UpdateExtendedStyle();
}

void TListView::SetGridLines(bool v) {
  gridLines_ = v;
  UpdateExtendedStyle();
}

void TListView::SetReadOnly(bool v) {
  if (v == readOnly_) return;
  readOnly_ = v;
  RecreateWnd();
}

void TListView::SetShowColumnHeaders(bool v) {
  if (v == showColumnHeaders_) return;
  showColumnHeaders_ = v;
  RecreateWnd();
}

void TListView::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TListView::SetSmallImages(TCustomImageList* images) {
  if (smallImages_) smallImages_->RemoveFreeNotification(this);
  smallImages_ = images;
  if (images) images->FreeNotification(this);
  SetImageLists();
}

void TListView::SetLargeImages(TCustomImageList* images) {
  if (largeImages_) largeImages_->RemoveFreeNotification(this);
  largeImages_ = images;
  if (images) images->FreeNotification(this);
  SetImageLists();
}

void TListView::Notification(TComponent* c, TOperation operation) {
  TWinControl::Notification(c, operation);
  if (operation != TOperation::opRemove) return;
  if (c == smallImages_) smallImages_ = nullptr;
  if (c == largeImages_) largeImages_ = nullptr;
  if (c == smallImages_ || c == largeImages_) SetImageLists();
}

void TListView::OnNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  if (hdr->code == LVN_ITEMCHANGED) {
    auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
    bool was = nm->uOldState & LVIS_SELECTED, is = nm->uNewState & LVIS_SELECTED;
    if ((nm->uChanged & LVIF_STATE) && was != is && nm->iItem >= 0 && nm->iItem < ItemCount() &&
        OnSelectItem) {
      OnSelectItem(this, Items(nm->iItem), is);
    }
    return;
  }
  if (hdr->code == LVN_ENDLABELEDITW) {
    auto* nm = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
    if (nm->item.pszText && nm->item.iItem >= 0 && nm->item.iItem < ItemCount()) {
      Items(nm->item.iItem)->caption_ = FromWide(nm->item.pszText, wcslen(nm->item.pszText));
      m.Result = TRUE;  // keep the new text
    }
  }
}

void TListView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    OnNotify(m);
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace lbb::forms
