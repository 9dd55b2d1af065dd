#include "skin/api/inject/Attach.h"

#include <tlhelp32.h>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "base/win/Handles.h"
#include "skin/api/inject/SkinrunShare.h"

namespace lbb::skinapi::inject {

namespace {

LRESULT CALLBACK FirstWindowHook(int code, WPARAM wParam, LPARAM lParam);

// The attach state of the process; made once, when skinrun's block is found.
class Attacher {
 public:
  Attacher(SkinrunShare share, const EngineCalls& calls)
      : share_(std::move(share)), calls_(calls) {}

  // Watches the threads the process has now but `loader` (the thread loading the DLL), and
  // tells skinrun that the program may run.
  void WatchThreadsOfProcess(DWORD loader);
  // A thread's first-window hook, put on it or taken off it.
  void Watch(DWORD thread);
  void Forget(DWORD thread);
  void OnHook(int code, LPARAM lParam);

 private:
  void StartEngine();
  void Record(int code, const char* what, int32_t& result, char (&into)[256]) const;

  SkinrunShare share_;
  EngineCalls calls_;
  std::mutex lock_;
  std::map<DWORD, HookHandle> hooks_;
  std::once_flag skinOnce_;
};

// The process's attacher: made at DLL_PROCESS_ATTACH and kept for the life of the process
// (the DLL is pinned, and at the process's end its threads are gone before DllMain is told).
Attacher* g_attacher = nullptr;

void Attacher::WatchThreadsOfProcess(DWORD loader) {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  const DWORD pid = GetCurrentProcessId();
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  for (BOOL more = snapshot && Thread32First(snapshot.get(), &t); more;
       more = Thread32Next(snapshot.get(), &t)) {
    if (t.th32OwnerProcessID == pid && t.th32ThreadID != loader) Watch(t.th32ThreadID);
  }
  share_.Reach(AttachStage::kHooksReady);
  share_.SignalReady();
}

void Attacher::Watch(DWORD thread) {
  HookHandle hook(SetWindowsHookExW(WH_CBT, &FirstWindowHook, nullptr, thread));
  if (!hook) return;
  std::lock_guard guard(lock_);
  hooks_.try_emplace(thread, std::move(hook));
}

void Attacher::Forget(DWORD thread) {
  HookHandle gone;
  std::lock_guard guard(lock_);
  if (auto it = hooks_.find(thread); it != hooks_.end()) {
    gone = std::move(it->second);
    hooks_.erase(it);
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
    InterlockedExchange(reinterpret_cast<volatile LONG*>(&b.firstThreadId),
                        static_cast<LONG>(GetCurrentThreadId()));
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

// Keeps the DLL loaded until the process ends: its hooks run its code.
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
  PinModule(module);
  g_attacher = new Attacher(std::move(*share), calls);  // for the life of the process
  g_attacher->WatchThreadsOfProcess(GetCurrentThreadId());
}

}  // namespace

void OnDllMain(HINSTANCE module, DWORD reason, const EngineCalls& calls) noexcept {
  try {
    switch (reason) {
      case DLL_PROCESS_ATTACH:
        if (!g_attacher) OnProcessAttach(module, calls);
        break;
      case DLL_THREAD_ATTACH:
        if (g_attacher) g_attacher->Watch(GetCurrentThreadId());
        break;
      case DLL_THREAD_DETACH:
        if (g_attacher) g_attacher->Forget(GetCurrentThreadId());
        break;
      default:
        break;
    }
  } catch (...) {
    // The program runs on unskinned.
  }
}

}  // namespace lbb::skinapi::inject
