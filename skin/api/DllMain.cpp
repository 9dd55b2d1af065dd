// The DLL's entry: when skinrun brought it into a program, the attach logic starts the engine on
// the program's user-interface threads (without skinrun's block it does nothing).
#include <windows.h>

#include "skin/api/SkinApiEngine.h"
#include "skin/api/include/lbbskin.h"
#include "skin/api/inject/Attach.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
  // A thread leaving frees its paint surfaces, caches and timer window here (see PerThread.h).
  if (reason == DLL_THREAD_DETACH) lbb::skin::api::TApiEngine::ThreadEnding();
  lbb::skinapi::inject::OnDllMain(module, reason,
                                  {&lbbskin_set_scope, &lbbskin_load_file, &lbbskin_start,
                                   &lbbskin_error_text, LBBSKIN_SCOPE_PROCESS});
  return TRUE;
}
