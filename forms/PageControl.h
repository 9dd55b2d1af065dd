// Tabbed pages: a page control (the system's tab control) whose tab sheets are windows of
// their own class, one shown at a time below the tabs.
#pragma once

#include <vector>

#include "forms/Controls.h"

namespace lbb::forms {

class TPageControl;
class TCustomImageList;

class TTabSheet : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  // Puts the sheet on `control` as its last page (null takes it off).
  void SetPageControl(TPageControl* control);
  // The sheet's index among its page control's pages; -1 when on none.
  int64_t PageIndex() const;
  void SetPageIndex(int64_t index);
  // The index of the sheet's tab among the visible tabs; -1 when it has none.
  int64_t TabIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  int64_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int64_t v);

 protected:
  void PaintWindow(HDC dc) override;
  void SetText(const String& text) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int64_t imageIndex_ = -1;
};

class TPageControl : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const { return activePage_; }
  // Shows `page` (one of this control's) and hides the one shown before.
  void SetActivePage(TTabSheet* page);
  int64_t ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
  void SetActivePageIndex(int64_t index);
  // The selected tab among the visible ones; -1 when none.
  int64_t TabIndex() const;
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* images);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  // The area below the tabs in which the sheets lie, in client coordinates.
  RECT DisplayRect();
  // The sheets are not scaled as controls of their own: they are placed again in the display
  // rectangle the scaled font's tab row leaves.
  void ChangeScale(int m, int d) override;

  // OnChanging may refuse a tab switch by the user; OnChange runs after one.
  std::function<void(TObject*, bool& allow)> OnChanging;
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void BoundsChanged() override;
  void Notification(TComponent* c, TOperation operation) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  // Rebuilds the window's tabs from the visible pages and selects the active one.
  void UpdateTabs();
  void PlaceSheets();
  TTabSheet* PageOfTab(int tab) const;
  void OnNotify(TMessage& m);

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  TCustomImageList* images_ = nullptr;
  bool multiLine_ = false;
};

}  // namespace lbb::forms
