#include "skin/api/inject/Attach.h"

#include <tlhelp32.h>

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "base/win/Handles.h"
#include "skin/api/inject/SkinrunShare.h"

namespace lbb::skinapi::inject {

namespace {

LRESULT CALLBACK FirstWindowHook(int code, WPARAM wParam, LPARAM lParam);

// A thread seen by DllMain: started (to be watched) or ended (its hook to go).
struct ThreadNews {
  DWORD id;
  bool started;
};

// The attach state of the process; made once, when skinrun's block is found.
class Attacher {
 public:
  Attacher(SkinrunShare share, const EngineCalls& calls, DWORD loaderThread)
      : share_(std::move(share)), calls_(calls), loaderThread_(loaderThread) {}

  bool StartWorker();
  // Lets skinrun run the program at once (the worker could not start).
  void GiveUp() const { share_.SignalReady(); }
  void Tell(DWORD thread, bool started);
  void OnHook(int code, LPARAM lParam);

 private:
  static DWORD WINAPI WorkerMain(void* self);
  void Work();
  void WatchThreadsOfProcess();
  void Watch(DWORD thread);
  void TakeNews();
  void StartEngine();
  void Record(int code, const char* what, int32_t& result, char (&into)[256]) const;

  SkinrunShare share_;
  EngineCalls calls_;
  DWORD loaderThread_;
  DWORD workerThread_ = 0;
  KernelHandle worker_;
  KernelHandle news_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::mutex lock_;
  std::vector<ThreadNews> pending_;
  std::map<DWORD, HookHandle> hooks_;
  std::once_flag skinOnce_;
};

// The process's attacher: made at DLL_PROCESS_ATTACH and kept for the life of the process
// (the DLL is pinned, and at the process's end its threads are gone before DllMain is told).
Attacher* g_attacher = nullptr;

bool Attacher::StartWorker() {
  if (!news_) return false;
  worker_.reset(CreateThread(nullptr, 0, &WorkerMain, this, 0, &workerThread_));
  return static_cast<bool>(worker_);
}

void Attacher::Tell(DWORD thread, bool started) {
  if (thread == workerThread_) return;
  {
    std::lock_guard guard(lock_);
    pending_.push_back({thread, started});
  }
  SetEvent(news_.get());
}

DWORD WINAPI Attacher::WorkerMain(void* self) {
  try {
    static_cast<Attacher*>(self)->Work();
  } catch (...) {
    // The program runs on unskinned; skinrun stops waiting at the ready event's bound.
  }
  return 0;
}

void Attacher::Work() {
  WatchThreadsOfProcess();
  share_.Reach(AttachStage::kHooksReady);
  share_.SignalReady();
  for (;;) {
    WaitForSingleObject(news_.get(), INFINITE);
    TakeNews();
  }
}

void Attacher::WatchThreadsOfProcess() {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return;
  const DWORD pid = GetCurrentProcessId();
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  for (BOOL more = Thread32First(snapshot.get(), &t); more;
       more = Thread32Next(snapshot.get(), &t)) {
    if (t.th32OwnerProcessID == pid && t.th32ThreadID != workerThread_ &&
        t.th32ThreadID != loaderThread_)
      Watch(t.th32ThreadID);
  }
}

void Attacher::Watch(DWORD thread) {
  HookHandle hook(SetWindowsHookExW(WH_CBT, &FirstWindowHook, nullptr, thread));
  if (!hook) return;
  std::lock_guard guard(lock_);
  hooks_.try_emplace(thread, std::move(hook));
}

void Attacher::TakeNews() {
  std::vector<ThreadNews> news;
  {
    std::lock_guard guard(lock_);
    news.swap(pending_);
  }
  for (const ThreadNews& n : news) {
    if (n.started) {
      Watch(n.id);
    } else {
      HookHandle gone;
      std::lock_guard guard(lock_);
      if (auto it = hooks_.find(n.id); it != hooks_.end()) {
        gone = std::move(it->second);
        hooks_.erase(it);
      }
    }
  }
}

// A top-level window that is not message-only: the thread shows windows.
bool IsUiWindow(LPARAM lParam) {
  const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
  return cs && !(cs->style & WS_CHILD) && cs->hwndParent != HWND_MESSAGE;
}

void Attacher::OnHook(int code, LPARAM lParam) {
  if (code != HCBT_CREATEWND || !IsUiWindow(lParam)) return;
  HookHandle mine;
  {
    std::lock_guard guard(lock_);
    auto it = hooks_.find(GetCurrentThreadId());
    if (it == hooks_.end()) return;
    mine = std::move(it->second);
    hooks_.erase(it);
  }
  StartEngine();
  // `mine` goes here: the hook is removed once the engine watches the thread itself.
}

void Attacher::StartEngine() {
  SkinrunBlock& b = share_.Block();
  std::call_once(skinOnce_, [&] {
    calls_.setScope(calls_.processScope);
    if (b.skinPath[0]) Record(calls_.loadFile(b.skinPath), "load", b.loadResult, b.loadText);
    InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(&b.firstThreadId),
                               static_cast<LONG>(GetCurrentThreadId()), 0);
  });
  const int started = calls_.start();
  if (started != 0 && b.startResult == 0) Record(started, "start", b.startResult, b.startText);
  if (started == 0) share_.Reach(AttachStage::kStarted);
}

void Attacher::Record(int code, const char* what, int32_t& result, char (&into)[256]) const {
  result = code;
  const char* text = code == 0 ? "" : calls_.errorText(code);
  if (!text) text = what;
  strncpy(into, text, sizeof into - 1);
  into[sizeof into - 1] = '\0';
}

LRESULT CALLBACK FirstWindowHook(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT next = CallNextHookEx(nullptr, code, wParam, lParam);
  if (code >= 0 && g_attacher) {
    try {
      g_attacher->OnHook(code, lParam);
    } catch (...) {
      // The thread goes on unskinned.
    }
  }
  return next;
}

// Keeps the DLL loaded until the process ends: its worker and hooks run its code.
void PinModule(HINSTANCE module) {
  HMODULE pinned = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(module), &pinned);
}

void OnProcessAttach(HINSTANCE module, const EngineCalls& calls) {
  std::optional<SkinrunShare> share = SkinrunShare::Open(GetCurrentProcessId());
  if (!share) return;
  share->Reach(AttachStage::kLoaded);
  if (!calls.setScope || !calls.loadFile || !calls.start || !calls.errorText) {
    share->SignalReady();
    return;
  }
  auto a = std::make_unique<Attacher>(std::move(*share), calls, GetCurrentThreadId());
  g_attacher = a.get();
  if (!a->StartWorker()) {
    g_attacher = nullptr;
    a->GiveUp();
    return;
  }
  PinModule(module);
  a.release();  // g_attacher's, for the life of the process
}

}  // namespace

void OnDllMain(HINSTANCE module, DWORD reason, const EngineCalls& calls) noexcept {
  try {
    switch (reason) {
      case DLL_PROCESS_ATTACH:
        if (!g_attacher) OnProcessAttach(module, calls);
        break;
      case DLL_THREAD_ATTACH:
      case DLL_THREAD_DETACH:
        if (g_attacher) g_attacher->Tell(GetCurrentThreadId(), reason == DLL_THREAD_ATTACH);
        break;
      default:
        break;
    }
  } catch (...) {
    // The program runs on unskinned.
  }
}

}  // namespace lbb::skinapi::inject
