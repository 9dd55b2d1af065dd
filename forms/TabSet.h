// A tab set: a row of tabs along the top edge of a window of its own class, one of them
// selected, without pages. When the tabs do not fit, a scroller (two small arrow buttons at
// the right end of the row) moves the first tab shown.
#pragma once

#include <memory>

#include "forms/Controls.h"
#include "forms/Strings.h"

namespace lbb::forms {

class TTabSet;

// The two arrow buttons of a tab set: the left one shows earlier tabs, the right one later.
class TTabScroller : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  TTabScroller(TComponent* owner, TTabSet& set);
  void WndProc(TMessage& message) override;

 protected:
  void PaintWindow(HDC dc) override;

 private:
  TTabSet& set_;
};

class TTabSet : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  // The row's height and the scroller's width at 96 pixels per inch; TabHeight() and
  // ScrollerWidth() are the set's own, scaled with it.
  static constexpr int kTabHeight = 20;
  static constexpr int kScrollerWidth = 32;

  explicit TTabSet(TComponent* owner);
  ~TTabSet() override;

  TStrings* Tabs() const { return tabs_.get(); }
  // The selected tab; -1 when none. Setting it to another tab runs OnChange.
  int64_t TabIndex() const { return tabIndex_; }
  void SetTabIndex(int64_t index);
  // The first tab shown (the ones before it are scrolled out of the row).
  int64_t FirstIndex() const { return first_; }
  void SetFirstIndex(int64_t index);
  TNotifyEvent OnChange;

  // The row's geometry, shared with painters that draw the set themselves: a tab's width is
  // its caption's width plus padding; the row is TabHeight() high.
  int TabWidth(int index);
  int TabHeight() const { return Scaled(kTabHeight); }
  int ScrollerWidth() const { return Scaled(kScrollerWidth); }
  void ChangeScale(int m, int d) override;
  bool ScrollerNeeded();
  TTabScroller* Scroller() const { return scroller_; }
  // Each tab's place, and the tab under a client point (-1 for none).
  RECT TabRect(int index);
  int TabAt(POINT p);
  // Shows the scroller when the tabs do not fit, hides it when they do.
  void UpdateScroller();
  void WndProc(TMessage& message) override;

 protected:
  void CreateWnd() override;
  void PaintWindow(HDC dc) override;
  void BoundsChanged() override;

 private:
  // A length of the 96-DPI design at the set's resolution.
  int Scaled(int v) const { return MulDiv(v, pixelsPerInch_, USER_DEFAULT_SCREEN_DPI); }
  int pixelsPerInch_ = USER_DEFAULT_SCREEN_DPI;
  void TabsChanged();
  int RowLength();
  std::unique_ptr<TStrings> tabs_;
  int64_t tabIndex_ = -1;
  int64_t first_ = 0;
  TTabScroller* scroller_ = nullptr;
};

}  // namespace lbb::forms
