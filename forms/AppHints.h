// The application's hint timing: which control the mouse rests on, when its hint shows in the
// application's hint window and when it goes again. One object of the application; it runs
// on the application window's timer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/win/Handles.h"
#include "forms/core/Component.h"

namespace lbb::forms {

class TApplication;
class TControl;
class THintWindow;

class TApplicationHints {
 public:
  // The id of the application window's timer that drives the hints.
  static constexpr UINT_PTR kTimerId = 0x3F01;
  // The widest a hint is before its text wraps.
  static constexpr int kMaxWidth = 300;

  explicit TApplicationHints(TApplication& app) : app_(app), timer_(kTimerId) {}
  TApplicationHints(const TApplicationHints&) = delete;
  TApplicationHints& operator=(const TApplicationHints&) = delete;

  // The mouse moved onto `c` (null: off every control of the application).
  void MouseControlChanged(TControl* c);
  // The timer ran out: shows the waiting hint, or hides the shown one.
  void TimerFired();
  // A button or key was pressed: the hint goes and comes back only on another control.
  void Cancel();
  // `c` is hidden or freed: its hint (or the hint of a control inside it) goes at once.
  void ControlGone(TControl* c);
  // Hides the hint window (its window is let go) and stops the timer.
  void Hide();

  THintWindow* Window() const { return window_; }
  TControl* Control() const { return control_; }
  bool Showing() const { return phase_ == Phase::kShowing; }

 private:
  // kWaiting: a hint shows when the timer runs out. kShowing: it hides when the timer runs
  // out. kDone: the control's hint was shown or cancelled; nothing until the mouse leaves it.
  // kCooling: a hint was shown a moment ago, so the next one follows quickly (HintShortPause)
  // until the timer runs out.
  enum class Phase { kIdle, kWaiting, kShowing, kDone, kCooling };

  void Show();
  void StartTimer(int64_t ms);
  RECT HintRect(const String& text);

  TApplication& app_;
  WindowTimer timer_;
  Phase phase_ = Phase::kIdle;
  bool quick_ = false;  // the wait of kWaiting is the short pause after a recent hint
  TControl* control_ = nullptr;
  THintWindow* window_ = nullptr;
};

// The text a control shows as its hint: its Hint up to the first '|' (what follows is the
// long hint, for a status line); empty when the control shows none.
String ShortHintOf(const TControl* c);

}  // namespace lbb::forms
