#include "forms/PageControl.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/ImgList.h"
#include "forms/WinText.h"

namespace lbb::forms {

// ---- TTabSheet

const TClassInfo& TTabSheet::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TTabSheet", &TWinControl::StaticClassInfo());
    i.Add(StrProp<TTabSheet>(u"Caption", &TTabSheet::Caption, &TTabSheet::SetCaption));
    i.Add(IntProp<TTabSheet>(u"PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex));
    i.Add(IntProp<TTabSheet>(u"TabIndex", &TTabSheet::TabIndex, nullptr));
    i.Add(BoolProp<TTabSheet>(u"TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible));
    i.Add(IntProp<TTabSheet>(u"ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex));
    return i;
  }();
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  SetParentColor(true);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  BeginDestroy();
  SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* control) {
  if (control == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  if (control) control->InsertPage(this);
}

int64_t TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& pages = pageControl_->pages_;
  return std::find(pages.begin(), pages.end(), this) - pages.begin();
}

void TTabSheet::SetPageIndex(int64_t index) {
  if (pageControl_) pageControl_->MovePage(this, static_cast<int>(index));
}

int64_t TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  int tab = 0;
  for (TTabSheet* p : pageControl_->pages_) {
    if (p == this) return tab;
    if (p->tabVisible_) ++tab;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tabVisible_) return;
  tabVisible_ = v;
  if (pageControl_) pageControl_->UpdateTabs();
}

void TTabSheet::SetImageIndex(int64_t v) {
  imageIndex_ = v;
  if (pageControl_) pageControl_->UpdateTabs();
}

void TTabSheet::SetText(const String& text) {
  TWinControl::SetText(text);
  if (pageControl_) pageControl_->UpdateTabs();
}

void TTabSheet::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  FillRect(dc, &r, ColorBrush());
}

// ---- TPageControl

const TClassInfo& TPageControl::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TPageControl", &TWinControl::StaticClassInfo());
    i.Add(ObjectProp<TPageControl, TTabSheet>(
        u"ActivePage", u"TTabSheet", &TPageControl::ActivePage, &TPageControl::SetActivePage));
    i.Add(IntProp<TPageControl>(u"ActivePageIndex", &TPageControl::ActivePageIndex,
                                &TPageControl::SetActivePageIndex));
    i.Add(IntProp<TPageControl>(u"TabIndex", &TPageControl::TabIndex, nullptr));
    i.Add(ObjectProp<TPageControl, TCustomImageList>(
        u"Images", u"TCustomImageList", &TPageControl::Images, &TPageControl::SetImages));
    i.Add(BoolProp<TPageControl>(u"MultiLine", &TPageControl::MultiLine,
                                 &TPageControl::SetMultiLine));
    return i;
  }();
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  BeginDestroy();
  if (images_) images_->RemoveFreeNotification(this);
  for (TTabSheet* p : std::vector<TTabSheet*>(pages_))
    p->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

void TPageControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = WC_TABCONTROLW;
  if (multiLine_) p.style |= TCS_MULTILINE;
}

void TPageControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateTabs();
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->pageControl_ = this;
  page->SetParent(this);
  UpdateTabs();
  if (!activePage_) SetActivePage(page);
  PlaceSheets();
}

void TPageControl::RemovePage(TTabSheet* page) {
  TTabSheet* next = nullptr;
  if (page == activePage_) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it + 1 != pages_.end()) {
      next = *(it + 1);
    } else if (it != pages_.begin()) {
      next = *(it - 1);
    }
  }
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  page->pageControl_ = nullptr;
  if (page == activePage_) activePage_ = nullptr;
  if (!page->Destroying()) {
    page->SetVisible(false);
    page->SetParent(nullptr);
  }
  if (Destroying()) return;
  UpdateTabs();
  if (next) SetActivePage(next);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  index = std::clamp(index, 0, PageCount());
  pages_.insert(pages_.begin() + index, page);
  UpdateTabs();
}

TTabSheet* TPageControl::PageOfTab(int tab) const {
  for (TTabSheet* p : pages_) {
    if (p->tabVisible_ && tab-- == 0) return p;
  }
  return nullptr;
}

void TPageControl::UpdateTabs() {
  HWND hwnd = WindowHandle();
  if (!hwnd) return;
  TabCtrl_DeleteAllItems(hwnd);
  TabCtrl_SetImageList(hwnd, images_ ? images_->Handle() : nullptr);
  int tab = 0;
  for (TTabSheet* p : pages_) {
    if (!p->tabVisible_) continue;
    std::wstring text = Wide(p->Caption());
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text.data();
    item.iImage = static_cast<int>(p->imageIndex_);
    TabCtrl_InsertItem(hwnd, tab++, &item);
  }
  TabCtrl_SetCurSel(hwnd, activePage_ ? static_cast<int>(activePage_->TabIndex()) : -1);
  PlaceSheets();
}

RECT TPageControl::DisplayRect() {
  RECT r = ClientRect();
  if (WindowHandle()) TabCtrl_AdjustRect(WindowHandle(), FALSE, &r);
  return r;
}

void TPageControl::PlaceSheets() {
  RECT r = DisplayRect();
  for (TTabSheet* p : pages_)
    p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::ChangeScale(int m, int d) {
  TWinControl::ChangeScale(m, d);
  PlaceSheets();
}

void TPageControl::BoundsChanged() {
  TWinControl::BoundsChanged();
  PlaceSheets();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  if (page == activePage_) return;
  TTabSheet* old = activePage_;
  activePage_ = page;
  if (page) {
    page->SetVisible(true);
    page->SetBounds(DisplayRect().left, DisplayRect().top, DisplayRect().right - DisplayRect().left,
                    DisplayRect().bottom - DisplayRect().top);
  }
  if (old) old->SetVisible(false);
  if (WindowHandle()) {
    TabCtrl_SetCurSel(WindowHandle(), page ? static_cast<int>(page->TabIndex()) : -1);
  }
}

void TPageControl::SetActivePageIndex(int64_t index) {
  SetActivePage(index >= 0 && index < PageCount() ? Pages(static_cast<int>(index)) : nullptr);
}

int64_t TPageControl::TabIndex() const {
  if (!WindowHandle()) return activePage_ ? activePage_->TabIndex() : -1;
  return TabCtrl_GetCurSel(WindowHandle());
}

void TPageControl::SetImages(TCustomImageList* images) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_) images_->FreeNotification(this);
  UpdateTabs();
}

void TPageControl::SetMultiLine(bool v) {
  if (v == multiLine_) return;
  multiLine_ = v;
  RecreateWnd();
}

void TPageControl::Notification(TComponent* c, TOperation operation) {
  TWinControl::Notification(c, operation);
  if (operation == TOperation::opRemove && c == images_) {
    images_ = nullptr;
    if (WindowHandle()) TabCtrl_SetImageList(WindowHandle(), nullptr);
  }
}

void TPageControl::OnNotify(TMessage& m) {
  switch (reinterpret_cast<NMHDR*>(m.LParam)->code) {
    case TCN_SELCHANGING: {
      bool allow = true;
      if (OnChanging) OnChanging(this, allow);
      m.Result = allow ? 0 : 1;  // non-zero keeps the current tab
      return;
    }
    case TCN_SELCHANGE:
      SetActivePage(PageOfTab(TabCtrl_GetCurSel(WindowHandle())));
      if (OnChange) OnChange(this);
      return;
    default:
      return;
  }
}

void TPageControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    OnNotify(m);
    return;
  }
  TWinControl::WndProc(m);
  // A new font (or padding applied by giving the font again) changes the tab row's height.
  if (m.Msg == WM_SETFONT) PlaceSheets();
}

}  // namespace lbb::forms
