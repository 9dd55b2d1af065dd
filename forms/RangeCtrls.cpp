#include "forms/RangeCtrls.h"

#include <commctrl.h>

#include <algorithm>

namespace lbb::forms {

// ---- TProgressBar

const TClassInfo& TProgressBar::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TProgressBar", &TWinControl::StaticClassInfo());
    i.Add(IntProp<TProgressBar>(u"Min", &TProgressBar::Min, &TProgressBar::SetMin));
    i.Add(IntProp<TProgressBar>(u"Max", &TProgressBar::Max, &TProgressBar::SetMax));
    i.Add(IntProp<TProgressBar>(u"Position", &TProgressBar::Position, &TProgressBar::SetPosition));
    i.Add(IntProp<TProgressBar>(u"Step", &TProgressBar::Step, &TProgressBar::SetStep));
    i.Add(EnumProp<TProgressBar, TProgressBarOrientation>(
        u"Orientation", {u"pbHorizontal", u"pbVertical"}, &TProgressBar::Orientation,
        &TProgressBar::SetOrientation));
    i.Add(BoolProp<TProgressBar>(u"Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth));
    return i;
  }();
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = PROGRESS_CLASSW;
  if (orientation_ == TProgressBarOrientation::pbVertical) p.style |= PBS_VERTICAL;
  if (smooth_) p.style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TProgressBar::UpdateWindow() {
  if (!WindowHandle()) return;
  Perform(PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  Perform(PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
  Perform(PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int64_t v) {
  min_ = v;
  max_ = std::max(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  UpdateWindow();
}

void TProgressBar::SetMax(int64_t v) {
  max_ = v;
  min_ = std::min(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  UpdateWindow();
}

void TProgressBar::SetPosition(int64_t v) {
  position_ = std::clamp(v, min_, max_);
  if (WindowHandle()) Perform(PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::StepIt() {
  int64_t next = position_ + step_;
  if (next > max_) next = min_ + (next - max_) % std::max<int64_t>(max_ - min_, 1);
  SetPosition(next);
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  RecreateWnd();
}

void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  RecreateWnd();
}

// ---- TTrackBar

const TClassInfo& TTrackBar::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TTrackBar", &TWinControl::StaticClassInfo());
    i.Add(IntProp<TTrackBar>(u"Min", &TTrackBar::Min, &TTrackBar::SetMin));
    i.Add(IntProp<TTrackBar>(u"Max", &TTrackBar::Max, &TTrackBar::SetMax));
    i.Add(IntProp<TTrackBar>(u"Position", &TTrackBar::Position, &TTrackBar::SetPosition));
    i.Add(IntProp<TTrackBar>(u"Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency));
    i.Add(IntProp<TTrackBar>(u"LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize));
    i.Add(IntProp<TTrackBar>(u"PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize));
    i.Add(EnumProp<TTrackBar, TTrackBarOrientation>(
        u"Orientation", {u"trHorizontal", u"trVertical"}, &TTrackBar::Orientation,
        &TTrackBar::SetOrientation));
    i.Add(EnumProp<TTrackBar, TTickStyle>(u"TickStyle", {u"tsNone", u"tsAuto", u"tsManual"},
                                          &TTrackBar::TickStyle, &TTrackBar::SetTickStyle));
    return i;
  }();
  return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = TRACKBAR_CLASSW;
  p.style |= orientation_ == TTrackBarOrientation::trVertical ? TBS_VERT : TBS_HORZ;
  if (tickStyle_ == TTickStyle::tsNone) p.style |= TBS_NOTICKS;
  if (tickStyle_ == TTickStyle::tsAuto) p.style |= TBS_AUTOTICKS;
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TTrackBar::UpdateWindow() {
  if (!WindowHandle()) return;
  Perform(TBM_SETRANGEMIN, FALSE, static_cast<LPARAM>(min_));
  Perform(TBM_SETRANGEMAX, FALSE, static_cast<LPARAM>(max_));
  Perform(TBM_SETLINESIZE, 0, static_cast<LPARAM>(lineSize_));
  Perform(TBM_SETPAGESIZE, 0, static_cast<LPARAM>(pageSize_));
  if (tickStyle_ == TTickStyle::tsAuto) Perform(TBM_SETTICFREQ, static_cast<WPARAM>(frequency_));
  Perform(TBM_SETPOS, TRUE, static_cast<LPARAM>(position_));
}

void TTrackBar::SetMin(int64_t v) {
  min_ = v;
  max_ = std::max(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  UpdateWindow();
}

void TTrackBar::SetMax(int64_t v) {
  max_ = v;
  min_ = std::min(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  UpdateWindow();
}

void TTrackBar::SetPosition(int64_t v) {
  v = std::clamp(v, min_, max_);
  if (v == position_) return;
  position_ = v;
  if (WindowHandle() && Perform(TBM_GETPOS) != v) Perform(TBM_SETPOS, TRUE, static_cast<LPARAM>(v));
  if (OnChange) OnChange(this);
}

void TTrackBar::SetFrequency(int64_t v) {
  frequency_ = std::max<int64_t>(v, 1);
  UpdateWindow();
}

void TTrackBar::SetLineSize(int64_t v) {
  lineSize_ = v;
  UpdateWindow();
}

void TTrackBar::SetPageSize(int64_t v) {
  pageSize_ = v;
  UpdateWindow();
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  SetBounds(static_cast<int>(Left()), static_cast<int>(Top()), static_cast<int>(Height()),
            static_cast<int>(Width()));
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle v) {
  if (v == tickStyle_) return;
  tickStyle_ = v;
  RecreateWnd();
}

void TTrackBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      // Every move of the thumb, by mouse or keyboard, ends up here.
      SetPosition(Perform(TBM_GETPOS));
      return;
    default:
      TWinControl::WndProc(m);
      return;
  }
}

// ---- TUpDown

const TClassInfo& TUpDown::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TUpDown", &TWinControl::StaticClassInfo());
    i.Add(IntProp<TUpDown>(u"Min", &TUpDown::Min, &TUpDown::SetMin));
    i.Add(IntProp<TUpDown>(u"Max", &TUpDown::Max, &TUpDown::SetMax));
    i.Add(IntProp<TUpDown>(u"Position", &TUpDown::Position, &TUpDown::SetPosition));
    i.Add(IntProp<TUpDown>(u"Increment", &TUpDown::Increment, &TUpDown::SetIncrement));
    i.Add(BoolProp<TUpDown>(u"Wrap", &TUpDown::Wrap, &TUpDown::SetWrap));
    i.Add(EnumProp<TUpDown, TUDOrientation>(u"Orientation", {u"udHorizontal", u"udVertical"},
                                            &TUpDown::Orientation, &TUpDown::SetOrientation));
    i.Add(ObjectProp<TUpDown, TWinControl>(u"Associate", u"TWinControl", &TUpDown::Associate,
                                           &TUpDown::SetAssociate));
    return i;
  }();
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 17, 21);
}

TUpDown::~TUpDown() {
  if (associate_) associate_->RemoveFreeNotification(this);
}

void TUpDown::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = UPDOWN_CLASSW;
  p.style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS;
  if (orientation_ == TUDOrientation::udHorizontal) p.style |= UDS_HORZ;
  if (wrap_) p.style |= UDS_WRAP;
}

void TUpDown::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TUpDown::DestroyWnd() {
  position_ = Position();
}

void TUpDown::UpdateWindow() {
  if (!WindowHandle()) return;
  Perform(UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  UDACCEL accel{0, static_cast<UINT>(increment_)};
  Perform(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  HWND buddy = associate_ ? associate_->Handle() : nullptr;
  Perform(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  Perform(UDM_SETPOS32, 0, static_cast<LPARAM>(position_));
  if (buddy) {
    // The buddy moved this window to its edge; keep the bounds in step.
    RECT r{};
    GetWindowRect(WindowHandle(), &r);
    MapWindowPoints(nullptr, GetParent(WindowHandle()), reinterpret_cast<POINT*>(&r), 2);
    bounds_ = r;
  }
}

int64_t TUpDown::Position() const {
  if (!WindowHandle()) return position_;
  return static_cast<int>(SendMessageW(WindowHandle(), UDM_GETPOS32, 0, 0));
}

void TUpDown::SetMin(int64_t v) {
  min_ = v;
  UpdateWindow();
}

void TUpDown::SetMax(int64_t v) {
  max_ = v;
  UpdateWindow();
}

void TUpDown::SetPosition(int64_t v) {
  position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
  if (WindowHandle()) Perform(UDM_SETPOS32, 0, static_cast<LPARAM>(position_));
}

void TUpDown::SetIncrement(int64_t v) {
  increment_ = v;
  UpdateWindow();
}

void TUpDown::SetWrap(bool v) {
  if (v == wrap_) return;
  wrap_ = v;
  RecreateWnd();
}

void TUpDown::SetOrientation(TUDOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  RecreateWnd();
}

void TUpDown::SetAssociate(TWinControl* control) {
  if (control == associate_) return;
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = control;
  if (associate_) associate_->FreeNotification(this);
  UpdateWindow();
}

void TUpDown::Notification(TComponent* c, TOperation operation) {
  TWinControl::Notification(c, operation);
  if (operation == TOperation::opRemove && c == associate_) {
    associate_ = nullptr;
    if (WindowHandle()) Perform(UDM_SETBUDDY, 0, 0);
  }
}

void TUpDown::OnDeltaPos(TMessage& m) {
  auto* nm = reinterpret_cast<NMUPDOWN*>(m.LParam);
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  pressed_ = nm->iDelta > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev;
  m.Result = allow ? 0 : 1;  // non-zero refuses the move
}

void TUpDown::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY:
      if (reinterpret_cast<NMHDR*>(m.LParam)->code == UDN_DELTAPOS) {
        OnDeltaPos(m);
        return;
      }
      break;
    case CN_HSCROLL:
    case CN_VSCROLL:
      // The move is done: the position is the window's.
      if (LOWORD(m.WParam) == SB_THUMBPOSITION) {
        position_ = Position();
        if (OnClick) OnClick(this, pressed_);
      }
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

}  // namespace lbb::forms
