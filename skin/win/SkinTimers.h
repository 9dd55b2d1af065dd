// The skin engine's own timers. A skinner lives on windows it does not own: a timer it set on
// the control's window would share the control's WM_TIMER stream and its ids, so the two could
// swallow or kill each other's timers. Every engine timer runs instead on a message-only window
// of the calling thread that the engine owns, under an id the engine hands out, and its tick
// goes straight to the owner's callback: the control's WM_TIMER messages are never touched.
#pragma once

#include <windows.h>

#include <functional>

namespace lbb::skin {

// A repeating timer (SetTimer / KillTimer on the thread's engine timer window): started again
// replaces the running one, killed when stopped or when the owner goes. The tick runs on the
// thread that started the timer, from its message loop, behind the window boundary's
// exception guard (forms/WindowGuard.h); it may stop, restart or free the timer. Start and
// Stop belong on that thread; a timer stopped (or freed) on another is forgotten at once, and
// its thread kills it at its next tick.
class TSkinTimer {
 public:
  using TTick = std::function<void()>;

  explicit TSkinTimer(TTick tick);
  ~TSkinTimer();
  TSkinTimer(const TSkinTimer&) = delete;
  TSkinTimer& operator=(const TSkinTimer&) = delete;

  // Ticks every `ms` milliseconds from now on; nothing when the thread's timer window cannot
  // be made (then Running stays false).
  void Start(UINT ms);
  void Stop();
  bool Running() const { return id_ != 0; }

 private:
  friend struct TTimerRegistry;

  TTick tick_;
  HWND window_ = nullptr;  // the timer window it runs on, while running
  UINT_PTR id_ = 0;
};

}  // namespace lbb::skin
