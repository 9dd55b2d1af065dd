#include "skin/win/SkinTimers.h"

#include <mutex>
#include <unordered_map>
#include <utility>

#include "base/PerThread.h"
#include "skin/win/EngineWindows.h"

namespace lbb::skin {

// Which engine timer each id stands for. One table for the process, so that a timer stopped
// on any thread is forgotten at once: a tick of an id it no longer knows kills that id.
// Made once and never freed: timers of objects that outlive static destruction (skinners
// freed at exit) still find it.
struct TTimerRegistry {
  static TTimerRegistry& Get() {
    static auto* registry = new TTimerRegistry;
    return *registry;
  }

  UINT_PTR Add(TSkinTimer* timer) {
    std::lock_guard guard(lock);
    do {
      ++lastId;
    } while (lastId == 0 || running.count(lastId));
    running[lastId] = timer;
    return lastId;
  }
  void Remove(UINT_PTR id) {
    std::lock_guard guard(lock);
    running.erase(id);
  }
  // The tick of `id` on the timer window `hwnd` (of the calling thread).
  void Tick(HWND hwnd, UINT_PTR id) {
    TSkinTimer::TTick tick;
    {
      std::lock_guard guard(lock);
      const auto it = running.find(id);
      if (it == running.end() || it->second->window_ != hwnd) {
        KillTimer(hwnd, id);  // a tick left over from a timer stopped meanwhile
        return;
      }
      tick = it->second->tick_;  // a copy: the tick may free the timer
    }
    if (tick) tick();
  }

  std::mutex lock;
  UINT_PTR lastId = 0;
  std::unordered_map<UINT_PTR, TSkinTimer*> running;
};

namespace {

constexpr wchar_t kTimerClass[] = L"LbbSkinTimers";

LRESULT TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_TIMER) return DefWindowProcW(hwnd, msg, wParam, lParam);
  TTimerRegistry::Get().Tick(hwnd, wParam);
  return 0;
}

const wchar_t* TimerClass() {
  static const ATOM atom = TEngineWindow::RegisterClassOnce(kTimerClass);
  return atom ? kTimerClass : nullptr;
}

// The thread's timer window, destroyed when the thread forgets its per-thread objects (as it
// leaves a DLL of the engine) or else with the thread.
struct TThreadWindow {
  TEngineWindow window;
};

HWND MakeThreadWindow() {
  static TPerThread<TThreadWindow> windows;
  TEngineWindow& w = windows.Mine().window;
  // A window of an ended thread whose id this thread got is gone (or another's): made anew.
  if (w && GetWindowThreadProcessId(w.Handle(), nullptr) == GetCurrentThreadId()) return w.Handle();
  w.Destroy();
  const wchar_t* cls = TimerClass();
  if (!cls) return nullptr;
  w.Create(cls, 0, 0, HWND_MESSAGE, &TimerWindowProc);
  return w.Handle();
}

}  // namespace

TSkinTimer::TSkinTimer(TTick tick) : tick_(std::move(tick)) {}

TSkinTimer::~TSkinTimer() {
  Stop();
}

void TSkinTimer::Start(UINT ms) {
  Stop();
  const HWND w = MakeThreadWindow();
  if (!w) return;
  TTimerRegistry& registry = TTimerRegistry::Get();
  window_ = w;  // before the id is known to the registry: its ticks check the window
  const UINT_PTR id = registry.Add(this);
  if (!SetTimer(w, id, ms, nullptr)) {
    registry.Remove(id);
    window_ = nullptr;
    return;
  }
  id_ = id;
}

void TSkinTimer::Stop() {
  if (!id_) return;
  TTimerRegistry::Get().Remove(id_);
  KillTimer(window_, std::exchange(id_, 0));
  window_ = nullptr;
}

}  // namespace lbb::skin
