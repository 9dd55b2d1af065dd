// The stand-in for the engine's DLL (lbbskin.dll) in skinrun's tests: the engine's C entry
// points, done minimally but observably, with skinrun's attach logic compiled in as the real
// DLL will have it. Starting it on a thread marks the thread's top-level windows, and each one
// the thread creates or activates from then on, with window properties another process can
// read; it changes nothing else about the windows.
#pragma once

#include <cstdint>

// The engine's names and codes, as the engine's header gives them.
#define LBBSKIN_OK 0
#define LBBSKIN_SCOPE_MODULE 0
#define LBBSKIN_SCOPE_PROCESS 1

// The properties a marked window carries (values are numbers stored as the handle).
// kStartThread: the id of the thread the engine was started on.
// kShownAtStart: 1 + the number of visible top-level windows that thread had at the start.
// kSkin: 1 + 1 when a skin file was loaded (2), 1 when the default skin is in use.
// kScope: 1 + the scope set before the start.
// kSawCreate: 1 when the engine saw the window take its WM_CREATE (it ran before the window
// was made), absent otherwise.
namespace lbb::standin {
inline constexpr wchar_t kStartThread[] = L"lbbskin.standin.thread";
inline constexpr wchar_t kShownAtStart[] = L"lbbskin.standin.shown";
inline constexpr wchar_t kSkin[] = L"lbbskin.standin.skin";
inline constexpr wchar_t kScope[] = L"lbbskin.standin.scope";
inline constexpr wchar_t kSawCreate[] = L"lbbskin.standin.created";
}  // namespace lbb::standin

extern "C" {
__declspec(dllexport) int lbbskin_start(void);
__declspec(dllexport) int lbbskin_stop(void);
__declspec(dllexport) int lbbskin_load_file(const wchar_t* path);
__declspec(dllexport) int lbbskin_set_scope(int scope);
__declspec(dllexport) const char* lbbskin_error_text(int code);
}
