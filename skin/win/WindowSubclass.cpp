#include "skin/win/WindowSubclass.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "forms/WindowGuard.h"

namespace lbb::skin {

// The replacements of every window are kept here, in the process, rather than in window
// properties: a property is looked up on every message, and on some platforms (Wine) each
// lookup is a call to another process, which would cost more than the whole message.
//
// One procedure (ChainProc) stands in for the window's own while a window has replacements;
// it calls the outermost one, each of which may call the next one in (CallPrevious), the
// innermost the window's own procedure. A replacement may go in any order. When the last
// goes, the window gets its own procedure back, unless someone else replaced ChainProc in the
// meantime: then ChainProc stays, passing every message straight on.

namespace {

struct TChain {
  WNDPROC original = nullptr;           // the window's procedure under the chain
  std::vector<TWindowSubclass*> links;  // innermost first
};

std::mutex& ChainLock() {
  static std::mutex lock;
  return lock;
}

std::unordered_map<HWND, TChain>& Chains() {
  static std::unordered_map<HWND, TChain> chains;
  return chains;
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The link to call for a message that comes from `from` (null: from the window), and the
// window's own procedure under the chain. Null link: the window's own procedure is next.
std::pair<TWindowSubclass*, WNDPROC> NextIn(HWND hwnd, const TWindowSubclass* from) {
  std::lock_guard guard(ChainLock());
  auto it = Chains().find(hwnd);
  if (it == Chains().end()) return {nullptr, nullptr};
  const std::vector<TWindowSubclass*>& links = it->second.links;
  if (!from) return {links.empty() ? nullptr : links.back(), it->second.original};
  auto at = std::find(links.begin(), links.end(), from);
  if (at == links.end() || at == links.begin()) return {nullptr, it->second.original};
  return {*(at - 1), it->second.original};
}

// The window is gone: its chain goes with it.
void DropChain(HWND hwnd) {
  std::lock_guard guard(ChainLock());
  Chains().erase(hwnd);
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto [link, original] = NextIn(hwnd, nullptr);
  LRESULT result = 0;
  if (link)
    result = link->Dispatch(hwnd, msg, wParam, lParam);
  else if (original)
    result = CallWindowProcW(original, hwnd, msg, wParam, lParam);
  else
    result = DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) DropChain(hwnd);
  return result;
}

}  // namespace

TWindowSubclass::~TWindowSubclass() {
  Restore();
}

bool TWindowSubclass::Install(HWND hwnd, THandler handler) {
  if (hwnd_ || !handler || !IsWindow(hwnd)) return false;
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return false;
  auto state = std::make_shared<TState>();
  state->handler = std::move(handler);
  {
    std::lock_guard guard(ChainLock());
    auto found = Chains().find(hwnd);
    if (found == Chains().end()) {
      SetLastError(0);
      const auto previous = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc)));
      if (!previous && GetLastError() != 0) return false;
      found = Chains().emplace(hwnd, TChain{previous, {}}).first;
    }
    found->second.links.push_back(this);
  }
  state_ = state;
  hwnd_ = window_ = hwnd;
  return true;
}

void TWindowSubclass::Restore() {
  if (!hwnd_) return;
  HWND hwnd = std::exchange(hwnd_, nullptr);
  if (state_) state_->installed = false;
  state_ = nullptr;
  std::lock_guard guard(ChainLock());
  auto found = Chains().find(hwnd);
  if (found == Chains().end()) return;
  auto& links = found->second.links;
  links.erase(std::remove(links.begin(), links.end(), this), links.end());
  if (!links.empty()) return;
  const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (current != &ChainProc) return;  // replaced after us: stay, passing messages on
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
  Chains().erase(found);
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto [link, original] = NextIn(window_, this);
  if (link) return link->Dispatch(window_, msg, wParam, lParam);
  if (original) return CallWindowProcW(original, window_, msg, wParam, lParam);
  return DefWindowProcW(window_, msg, wParam, lParam);
}

LRESULT TWindowSubclass::Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // A handler that fails gives the message to the previous procedure instead.
  auto previous = [&] { return CallPrevious(msg, wParam, lParam); };
  // The handler may restore (or free) the replacement while it runs: keep what is needed.
  const std::shared_ptr<TState> state = state_;
  if (!state || !state->installed) return previous();
  const LRESULT result = forms::GuardMessage(
      msg, [&] { return state->handler(msg, wParam, lParam); }, previous);
  // The window is gone: nothing must call into it any more. Still installed means `this`
  // lives (its destructor would have restored), so it may be told.
  if (msg == WM_NCDESTROY && state->installed) {
    state->installed = false;
    hwnd_ = nullptr;
    state_ = nullptr;
    std::lock_guard guard(ChainLock());
    auto found = Chains().find(hwnd);
    if (found != Chains().end()) {
      auto& links = found->second.links;
      links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
  }
  return result;
}

}  // namespace lbb::skin
