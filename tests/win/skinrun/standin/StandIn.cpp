#include "tests/win/skinrun/standin/StandIn.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>

#include "base/win/Handles.h"
#include "skin/api/inject/Attach.h"
#include "skin/data/SkinRead.h"

namespace {

enum Code : int { kBadArgument = 1, kSkinUnreadable = 2, kAlreadyStarted = 3, kNotStarted = 4 };

std::atomic<int> g_scope{LBBSKIN_SCOPE_MODULE};
std::atomic<bool> g_skinLoaded{false};

// The engine's per-thread state: the hook that marks the thread's windows and what the thread
// had when the engine started on it.
struct ThreadStart {
  lbb::HookHandle activations;  // WH_CBT: windows created or activated
  lbb::HookHandle messages;     // WH_CALLWNDPROC: windows taking their WM_CREATE
  int shownAtStart = 0;
};
std::mutex g_lock;
std::map<DWORD, ThreadStart> g_threads;

void SetNumber(HWND hwnd, const wchar_t* name, uintptr_t value) {
  SetPropW(hwnd, name, reinterpret_cast<HANDLE>(value));
}

// Marks a top-level window of this thread; `created`: the engine saw its WM_CREATE.
void Mark(HWND hwnd, bool created) {
  if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) return;
  int shown = 0;
  {
    std::lock_guard guard(g_lock);
    auto it = g_threads.find(GetCurrentThreadId());
    if (it == g_threads.end()) return;
    shown = it->second.shownAtStart;
  }
  SetNumber(hwnd, lbb::standin::kStartThread, GetCurrentThreadId());
  SetNumber(hwnd, lbb::standin::kShownAtStart, 1 + static_cast<uintptr_t>(shown));
  SetNumber(hwnd, lbb::standin::kSkin, g_skinLoaded ? 2 : 1);
  SetNumber(hwnd, lbb::standin::kScope, 1 + static_cast<uintptr_t>(g_scope.load()));
  if (created) SetNumber(hwnd, lbb::standin::kSawCreate, 1);
}

LRESULT CALLBACK MarkHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND || code == HCBT_ACTIVATE) Mark(reinterpret_cast<HWND>(wParam), false);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CreateHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && m && m->message == WM_CREATE) Mark(m->hwnd, true);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK CountShown(HWND hwnd, LPARAM count) {
  if (IsWindowVisible(hwnd)) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK MarkExisting(HWND hwnd, LPARAM) {
  Mark(hwnd, false);
  return TRUE;
}

}  // namespace

extern "C" {

int lbbskin_set_scope(int scope) {
  if (scope != LBBSKIN_SCOPE_MODULE && scope != LBBSKIN_SCOPE_PROCESS) return kBadArgument;
  g_scope = scope;
  return LBBSKIN_OK;
}

int lbbskin_load_file(const wchar_t* path) {
  if (!path) return kBadArgument;
  try {
    lbb::skin::TSkinReader reader;
    const bool ok = reader.loadfromfile(std::filesystem::path(path));
    g_skinLoaded = ok;
    return ok ? LBBSKIN_OK : kSkinUnreadable;
  } catch (...) {
    g_skinLoaded = false;
    return kSkinUnreadable;
  }
}

int lbbskin_start(void) {
  const DWORD me = GetCurrentThreadId();
  int shown = 0;
  EnumThreadWindows(me, &CountShown, reinterpret_cast<LPARAM>(&shown));
  {
    std::lock_guard guard(g_lock);
    if (g_threads.count(me)) return kAlreadyStarted;
    g_threads[me] = ThreadStart{
        lbb::HookHandle(SetWindowsHookExW(WH_CBT, &MarkHook, nullptr, me)),
        lbb::HookHandle(SetWindowsHookExW(WH_CALLWNDPROC, &CreateHook, nullptr, me)), shown};
  }
  // The engine starts on the thread's windows: those it has (the one being created, when the
  // start comes from its creation) and those to come.
  EnumThreadWindows(me, &MarkExisting, 0);
  return LBBSKIN_OK;
}

int lbbskin_stop(void) {
  std::lock_guard guard(g_lock);
  return g_threads.erase(GetCurrentThreadId()) ? LBBSKIN_OK : kNotStarted;
}

const char* lbbskin_error_text(int code) {
  switch (code) {
    case LBBSKIN_OK:
      return "done";
    case kBadArgument:
      return "bad argument";
    case kSkinUnreadable:
      return "the skin file cannot be read";
    case kAlreadyStarted:
      return "the engine already runs on this thread";
    case kNotStarted:
      return "the engine does not run on this thread";
    default:
      return "unknown error";
  }
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
  lbb::skinapi::inject::OnDllMain(module, reason,
                                  {&lbbskin_set_scope, &lbbskin_load_file, &lbbskin_start,
                                   &lbbskin_error_text, LBBSKIN_SCOPE_PROCESS});
  return TRUE;
}

}  // extern "C"
