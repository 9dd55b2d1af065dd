#include "skin/win/WindowSubclass.h"

#include <commctrl.h>

#include <utility>

#include "forms/WindowGuard.h"

namespace lbb::skin {

TWindowSubclass::~TWindowSubclass() {
  Restore();
}

bool TWindowSubclass::Install(HWND hwnd, THandler handler) {
  if (hwnd_ || !handler || !IsWindow(hwnd)) return false;
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return false;
  auto state = std::make_shared<TState>();
  state->handler = std::move(handler);
  state_ = state;
  if (!SetWindowSubclass(hwnd, &Proc, reinterpret_cast<UINT_PTR>(this),
                         reinterpret_cast<DWORD_PTR>(this))) {
    state_ = nullptr;
    return false;
  }
  hwnd_ = window_ = hwnd;
  return true;
}

void TWindowSubclass::Restore() {
  if (!hwnd_) return;
  RemoveWindowSubclass(hwnd_, &Proc, reinterpret_cast<UINT_PTR>(this));
  hwnd_ = nullptr;
  if (state_) state_->installed = false;
  state_ = nullptr;
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(window_, msg, wParam, lParam);
}

LRESULT CALLBACK TWindowSubclass::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
  auto* self = reinterpret_cast<TWindowSubclass*>(data);
  // A handler that fails gives the message to the previous procedure instead.
  auto previous = [&] { return DefSubclassProc(hwnd, msg, wParam, lParam); };
  // The handler may restore (or free) the replacement while it runs: keep what is needed.
  const std::shared_ptr<TState> state = self->state_;
  if (!state || !state->installed) return previous();
  const LRESULT result = forms::GuardMessage(
      msg, [&] { return state->handler(msg, wParam, lParam); }, previous);
  // The window is gone: nothing must call into it any more. Still installed means `self`
  // lives (its destructor would have restored), so it may be told.
  if (msg == WM_NCDESTROY && state->installed) {
    RemoveWindowSubclass(hwnd, &Proc, reinterpret_cast<UINT_PTR>(self));
    state->installed = false;
    self->hwnd_ = nullptr;
    self->state_ = nullptr;
  }
  return result;
}

}  // namespace lbb::skin
