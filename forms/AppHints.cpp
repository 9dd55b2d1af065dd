#include "forms/AppHints.h"

#include <algorithm>

#include "forms/Application.h"
#include "forms/Controls.h"
#include "forms/HintWindow.h"

namespace lbb::forms {
namespace {

// How far below the hot spot of the arrow cursor the hint goes: the arrow fills about the
// upper five eighths of the cursor's cell.
int CursorDrop() {
  return GetSystemMetrics(SM_CYCURSOR) * 5 / 8;
}

RECT WorkAreaAt(POINT p) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

}  // namespace

String ShortHintOf(const TControl* c) {
  if (!c || !c->ShowHint()) return {};
  String hint = c->Hint();
  return hint.substr(0, hint.find(u'|'));
}

void TApplicationHints::MouseControlChanged(TControl* c) {
  if (c && c == window_) return;
  // A hint shows, has just gone, or the mouse is already on its way from one control to the
  // next with the short pause: the user is reading hints, the next one comes quickly. (The
  // last case also keeps the short pause when the mouse crosses a control on its way.)
  const bool recent = phase_ == Phase::kShowing || phase_ == Phase::kCooling ||
                      (phase_ == Phase::kWaiting && quick_);
  Hide();
  control_ = nullptr;
  phase_ = Phase::kIdle;
  if (!ShortHintOf(c).empty()) {
    control_ = c;
    phase_ = Phase::kWaiting;
    quick_ = recent;
    StartTimer(recent ? app_.HintShortPause() : app_.HintPause());
  } else if (recent) {
    phase_ = Phase::kCooling;
    StartTimer(app_.HintPause());
  }
}

void TApplicationHints::TimerFired() {
  timer_.Stop();
  switch (phase_) {
    case Phase::kWaiting:
      Show();
      return;
    case Phase::kShowing:
      Hide();
      phase_ = Phase::kDone;
      return;
    case Phase::kCooling:
      phase_ = Phase::kIdle;
      return;
    default:
      return;
  }
}

void TApplicationHints::Cancel() {
  if (phase_ == Phase::kIdle) return;
  Hide();
  phase_ = control_ ? Phase::kDone : Phase::kIdle;
}

void TApplicationHints::ControlGone(TControl* c) {
  if (c == window_) {
    timer_.Stop();
    window_ = nullptr;
    if (phase_ == Phase::kShowing) phase_ = Phase::kDone;
    return;
  }
  for (TControl* p = control_; p; p = p->Parent()) {
    if (p != c) continue;
    Hide();
    control_ = nullptr;
    phase_ = Phase::kIdle;
    return;
  }
}

void TApplicationHints::Hide() {
  timer_.Stop();
  if (window_) window_->ReleaseHandle();
}

void TApplicationHints::Show() {
  String text = ShortHintOf(control_);
  // The control may have changed or gone out of sight while the hint waited.
  if (text.empty() || !control_->Showing() || app_.MouseControl() != control_) {
    phase_ = Phase::kDone;
    return;
  }
  if (!window_) window_ = new THintWindow(&app_);
  window_->ActivateHint(HintRect(text), text);
  phase_ = Phase::kShowing;
  if (app_.HintHidePause() > 0) StartTimer(app_.HintHidePause());
}

RECT TApplicationHints::HintRect(const String& text) {
  RECT r = window_->CalcHintRect(kMaxWidth, text);
  POINT p{};
  GetCursorPos(&p);
  RECT work = WorkAreaAt(p);
  LONG w = r.right - r.left, h = r.bottom - r.top;
  // Just below the cursor; kept on the screen, above the cursor where there is no room below.
  LONG x = std::max(work.left, std::min(p.x, work.right - w));
  LONG y = p.y + CursorDrop();
  if (y + h > work.bottom) y = p.y - h;
  y = std::max(y, work.top);
  return RECT{x, y, x + w, y + h};
}

void TApplicationHints::StartTimer(int64_t ms) {
  ms = std::clamp<int64_t>(ms, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  timer_.Start(app_.Handle(), static_cast<UINT>(ms));
}

}  // namespace lbb::forms
