// The engine's DLL inside a program that skinrun started: the engine is started on each of the
// program's user-interface threads, on that thread, as it creates its first window.
//
// How: when the DLL is loaded and finds skinrun's block for its process, it puts a WH_CBT hook
// of this thread's own on every thread of the program (the main thread is still suspended
// then, so its first window is still to come), and on each thread started later as the thread
// starts (DLL_THREAD_ATTACH runs on it, before its own code). A hook's first window creation
// on its thread (a top-level window; message-only windows do not count) sets the engine's
// scope to the whole process, loads the skin (once for the process) and starts the engine on
// that thread, then removes the hook. DllMain only puts hooks on and takes them off (a thread
// that made its first window before a worker thread could hook it would be missed: the tests
// saw it happen); the engine is never started under the loader lock, and nothing waits on the
// program's threads. Without skinrun's block the DLL does nothing here.
//
// The DLL stays loaded for the rest of the process once attached (it pins itself): the
// hooks run its code.
#pragma once

#include <windows.h>

namespace lbb::skinapi::inject {

// The engine's entry points, handed in by the DLL (this logic does not include its header).
struct EngineCalls {
  int (*setScope)(int scope) = nullptr;
  int (*loadFile)(const wchar_t* path) = nullptr;
  int (*start)() = nullptr;
  const char* (*errorText)(int code) = nullptr;
  int processScope = 0;  // LBBSKIN_SCOPE_PROCESS
};

// To be called from the DLL's DllMain with every reason it gets (the DLL must not turn off its
// thread notifications). Puts the hooks on and takes them off; never throws.
void OnDllMain(HINSTANCE module, DWORD reason, const EngineCalls& calls) noexcept;

}  // namespace lbb::skinapi::inject
