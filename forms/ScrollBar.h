// A scroll-bar control: a position between Min and Max moved by arrows, page clicks and the
// thumb.
#pragma once

#include "forms/Controls.h"

namespace lbb::forms {

enum class TScrollBarKind { sbHorizontal, sbVertical };
enum class TScrollCode {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};

class TScrollBar : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TScrollBar(TComponent* owner);

  TScrollBarKind Kind() const { return kind_; }
  // Changing the kind turns the bar and swaps its width and height.
  void SetKind(TScrollBarKind kind);
  int64_t Min() const { return min_; }
  void SetMin(int64_t v) { SetParams(position_, v, max_); }
  int64_t Max() const { return max_; }
  void SetMax(int64_t v) { SetParams(position_, min_, v); }
  int64_t Position() const { return position_; }
  void SetPosition(int64_t v) { SetParams(v, min_, max_); }
  int64_t PageSize() const { return pageSize_; }
  void SetPageSize(int64_t v);
  int64_t SmallChange() const { return smallChange_; }
  void SetSmallChange(int64_t v) { smallChange_ = v; }
  int64_t LargeChange() const { return largeChange_; }
  void SetLargeChange(int64_t v) { largeChange_ = v; }
  // Position within [min, max - max(page - 1, 0)]; OnChange runs when it moved.
  void SetParams(int64_t position, int64_t min, int64_t max);

  TNotifyEvent OnChange;
  // Runs for every scroll action; it may change the position the action leads to.
  std::function<void(TObject*, TScrollCode, int64_t& position)> OnScroll;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void OnScrollMessage(TMessage& m);
  void UpdateWindow();
  int64_t Highest() const;

  TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
  int64_t min_ = 0;
  int64_t max_ = 100;
  int64_t position_ = 0;
  int64_t pageSize_ = 0;
  int64_t smallChange_ = 1;
  int64_t largeChange_ = 1;
};

}  // namespace lbb::forms
