#include "forms/ScrollBar.h"

#include <algorithm>

namespace lbb::forms {

const TClassInfo& TScrollBar::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TScrollBar", &TWinControl::StaticClassInfo());
    i.Add(EnumProp<TScrollBar, TScrollBarKind>(u"Kind", {u"sbHorizontal", u"sbVertical"},
                                               &TScrollBar::Kind, &TScrollBar::SetKind));
    i.Add(IntProp<TScrollBar>(u"Min", &TScrollBar::Min, &TScrollBar::SetMin));
    i.Add(IntProp<TScrollBar>(u"Max", &TScrollBar::Max, &TScrollBar::SetMax));
    i.Add(IntProp<TScrollBar>(u"Position", &TScrollBar::Position, &TScrollBar::SetPosition));
    i.Add(IntProp<TScrollBar>(u"PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize));
    i.Add(
        IntProp<TScrollBar>(u"SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange));
    i.Add(
        IntProp<TScrollBar>(u"LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange));
    return i;
  }();
  return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = L"SCROLLBAR";
  p.style |= kind_ == TScrollBarKind::sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  SetBounds(static_cast<int>(Left()), static_cast<int>(Top()), static_cast<int>(Height()),
            static_cast<int>(Width()));
  RecreateWnd();
}

int64_t TScrollBar::Highest() const {
  return std::max(min_, max_ - std::max<int64_t>(pageSize_ - 1, 0));
}

void TScrollBar::SetParams(int64_t position, int64_t min, int64_t max) {
  if (max < min) max = min;
  bool rangeChanged = min != min_ || max != max_;
  min_ = min;
  max_ = max;
  position = std::clamp(position, min_, Highest());
  bool moved = position != position_;
  position_ = position;
  if (rangeChanged || moved) UpdateWindow();
  if (moved && OnChange) OnChange(this);
}

void TScrollBar::SetPageSize(int64_t v) {
  pageSize_ = std::clamp<int64_t>(v, 0, max_ - min_ + 1);
  UpdateWindow();
  SetParams(position_, min_, max_);
}

void TScrollBar::UpdateWindow() {
  if (!WindowHandle()) return;
  SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  si.nMin = static_cast<int>(min_);
  si.nMax = static_cast<int>(max_);
  si.nPage = static_cast<UINT>(pageSize_);
  si.nPos = static_cast<int>(position_);
  SetScrollInfo(WindowHandle(), SB_CTL, &si, TRUE);
}

void TScrollBar::OnScrollMessage(TMessage& m) {
  int64_t position = position_;
  TScrollCode code = TScrollCode::scEndScroll;
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP:
      code = TScrollCode::scLineUp;
      position -= smallChange_;
      break;
    case SB_LINEDOWN:
      code = TScrollCode::scLineDown;
      position += smallChange_;
      break;
    case SB_PAGEUP:
      code = TScrollCode::scPageUp;
      position -= largeChange_;
      break;
    case SB_PAGEDOWN:
      code = TScrollCode::scPageDown;
      position += largeChange_;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The 16-bit position of the message is not enough for large ranges.
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(WindowHandle(), SB_CTL, &si);
      code = LOWORD(m.WParam) == SB_THUMBTRACK ? TScrollCode::scTrack : TScrollCode::scPosition;
      position = si.nTrackPos;
      break;
    }
    case SB_TOP:
      code = TScrollCode::scTop;
      position = min_;
      break;
    case SB_BOTTOM:
      code = TScrollCode::scBottom;
      position = max_;
      break;
    default:
      break;
  }
  position = std::clamp(position, min_, Highest());
  if (OnScroll) OnScroll(this, code, position);
  SetPosition(position);
}

void TScrollBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      OnScrollMessage(m);
      return;
    case CN_CTLCOLORSCROLLBAR:
      // The system's own colours for the bar.
      m.Result = 0;
      return;
    default:
      TWinControl::WndProc(m);
      return;
  }
}

}  // namespace lbb::forms
