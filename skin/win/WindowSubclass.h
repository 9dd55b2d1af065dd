// One window-procedure replacement, owned: while installed, every message of the window goes
// to the handler first; the handler passes what it does not take to the procedure that was
// there before (CallPrevious), exactly once, and gets its answer. The replacements of a window
// form a chain kept in the process (not in window properties, which cost a lookup on every
// message), so they may be removed in any order and the window gets its own procedure back
// when the last one goes.
//
// Install and Restore on the window's thread. A window destroyed while installed removes the
// replacement by itself after WM_NCDESTROY has gone through the handler.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace lbb::skin {

class TWindowSubclass {
 public:
  // Gets every message while installed; answers it or returns CallPrevious(...).
  using THandler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

  TWindowSubclass() = default;
  // Restores when still installed.
  ~TWindowSubclass();
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Installs `handler` in front of `hwnd`'s procedure; false (nothing installed) when the
  // window is not there, belongs to another thread, or is installed on already.
  bool Install(HWND hwnd, THandler handler);
  // Takes the replacement out; nothing when not installed.
  void Restore();
  bool Installed() const { return hwnd_ != nullptr; }
  HWND Window() const { return hwnd_; }
  // Hands the message to the procedure that was there before this one.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
  // A message of the window for this replacement (the chain's procedure calls it).
  LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  // The handler and whether it is still installed. Shared: a message in flight keeps it, and
  // learns from it whether the replacement was restored (or freed) while the message ran.
  struct TState {
    THandler handler;
    bool installed = true;
  };

  HWND hwnd_ = nullptr;    // while installed
  HWND window_ = nullptr;  // the window last installed on (a handler may restore mid-message)
  std::shared_ptr<TState> state_;
};

}  // namespace lbb::skin
