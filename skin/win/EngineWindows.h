// The engine's own windows (scroll-bar overlays, the date picker's arrow, the timers' window):
// the module they belong to and their window classes.
#pragma once

#include <windows.h>

namespace lbb::skin {

// The module the engine's code is linked into: the program, or the DLL that carries the
// engine.
HINSTANCE EngineModule();

// Registers window class `name` of the engine's module with procedure `proc` and class style
// `style` (an arrow cursor), once: later calls, and a class registered already, give the same
// atom. 0 when the class cannot be registered.
ATOM RegisterEngineClass(const wchar_t* name, WNDPROC proc, UINT style = 0);

}  // namespace lbb::skin
