#include "forms/HandOver.h"

#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "forms/WindowGuard.h"

namespace lbb::forms {
namespace {

constexpr UINT kRunPendingMessage = WM_APP + 0x51;
constexpr wchar_t kHandOverClass[] = L"THandOver";

void RegisterHandOverClass(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSW c{};
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = kHandOverClass;
    return RegisterClassW(&c) != 0;
  }();
  (void)registered;
}

}  // namespace

struct THandOver::PendingCall {
  const std::function<void()>* call = nullptr;
  std::function<void()> posted;  // a posted call, owned here; nobody waits for it
  std::exception_ptr error;
  bool done = false;
  bool ran = false;
};

THandOver::THandOver() : owner_(GetCurrentThreadId()) {
  RegisterHandOverClass(&WindowProc);
  window_.reset(CreateWindowExW(0, kHandOverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

THandOver::~THandOver() {
  Close();
  // Callers released by the close still hold the lock on their way out.
  std::unique_lock<std::mutex> guard(lock_);
  done_.wait(guard, [&] { return inside_ == 0; });
  guard.unlock();
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

bool THandOver::Run(const std::function<void()>& call) {
  if (GetCurrentThreadId() == owner_) {
    call();
    return true;
  }
  PendingCall pending;
  pending.call = &call;
  if (!Enqueue(&pending, true)) return false;
  std::unique_lock<std::mutex> guard(lock_);
  done_.wait(guard, [&] { return pending.done; });
  if (--inside_ == 0 && closed_) done_.notify_all();
  guard.unlock();
  if (pending.error) std::rethrow_exception(pending.error);
  return pending.ran;
}

bool THandOver::Post(std::function<void()> call) {
  if (GetCurrentThreadId() == owner_) {
    try {
      call();
    } catch (...) {
      // Nobody waits for a posted call to hear of its failure.
    }
    return true;
  }
  auto pending = std::make_unique<PendingCall>();
  pending->posted = std::move(call);
  pending->call = &pending->posted;
  if (!Enqueue(pending.get(), false)) return false;
  pending.release();  // the queue owns it now
  return true;
}

bool THandOver::Enqueue(PendingCall* pending, bool waits) {
  bool post = false;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (closed_ || !window_) return false;
    if (waits) ++inside_;
    pending_.push_back(pending);
    post = !std::exchange(posted_, true);
  }
  // One posted message runs every call queued before the owning thread gets to it, so many
  // waiting workers never fill the owner's message queue.
  if (post && !PostMessageW(window_.get(), kRunPendingMessage, 0, 0)) Close();
  return true;
}

void THandOver::RunPending() {
  for (;;) {
    PendingCall* next = nullptr;
    {
      std::lock_guard<std::mutex> guard(lock_);
      if (pending_.empty()) {
        posted_ = false;
        break;
      }
      next = pending_.front();
      pending_.pop_front();
    }
    // A posted call is owned by the queue, and goes once it has run: nobody waits for it.
    std::unique_ptr<PendingCall> posted(next->call == &next->posted ? next : nullptr);
    std::exception_ptr error;
    try {
      (*next->call)();
    } catch (...) {
      error = std::current_exception();
    }
    if (posted) continue;
    std::lock_guard<std::mutex> guard(lock_);
    next->error = error;
    next->ran = true;
    next->done = true;
    done_.notify_all();
  }
  if (afterCalls) afterCalls();
}

size_t THandOver::Queued() {
  std::lock_guard<std::mutex> guard(lock_);
  return pending_.size();
}

void THandOver::Close() {
  std::vector<std::unique_ptr<PendingCall>> dropped;
  {
    std::lock_guard<std::mutex> guard(lock_);
    closed_ = true;
    for (PendingCall* p : pending_) {
      if (p->call == &p->posted) {
        dropped.emplace_back(p);
      } else {
        p->done = true;
      }
    }
    pending_.clear();
    done_.notify_all();
  }
  // Posted calls go outside the lock: what they hold may want to queue more.
}

LRESULT CALLBACK THandOver::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<THandOver*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  auto system = [&] { return DefWindowProcW(hwnd, msg, wParam, lParam); };
  return GuardMessage(
      msg,
      [&]() -> LRESULT {
        switch (msg) {
          case kRunPendingMessage:
            if (self) self->RunPending();
            return 0;
          case WM_TIMER:
            if (self && self->onTimer) self->onTimer(wParam);
            return 0;
          default:
            return system();
        }
      },
      system);
}

}  // namespace lbb::forms
