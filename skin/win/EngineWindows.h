// The engine's own windows (scroll-bar overlays, the date picker's arrow, the timers' window):
// the module they belong to, their window classes, and the window object that routes a
// window's messages to the engine object that owns it.
#pragma once

#include <windows.h>

#include <functional>

namespace lbb::skin {

// The module the engine's code is linked into: the program, or the DLL that carries the
// engine.
HINSTANCE EngineModule();

// Registers window class `name` of the engine's module with procedure `proc` and class style
// `style` (an arrow cursor), once: later calls, and a class registered already, give the same
// atom. 0 when the class cannot be registered.
ATOM RegisterEngineClass(const wchar_t* name, WNDPROC proc, UINT style = 0);

// One engine window, owned by the object that holds it: made with the object's handler as
// its procedure (the window's back pointer is this object), destroyed with it. Every message
// goes to the handler behind the window boundary's exception guard (forms/WindowGuard.h: a
// throw gets the default handling); the messages of the window's creation, and all after the
// owner let the window go, get the default handling. A window destroyed by others (with its
// parent) drops the back pointer at WM_NCDESTROY, which the handler still sees.
class TEngineWindow {
 public:
  using THandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

  // Registers engine window class `name` for these windows (see RegisterEngineClass).
  static ATOM RegisterClassOnce(const wchar_t* name, UINT style = 0);
  // The window of `w` is alive and still its owner's.
  static bool Owned(HWND w);

  TEngineWindow() = default;
  ~TEngineWindow() { Destroy(); }
  TEngineWindow(const TEngineWindow&) = delete;
  TEngineWindow& operator=(const TEngineWindow&) = delete;

  // Makes the window of class `cls` (a name or an atom of RegisterClassOnce) at no size;
  // nothing when made already. False when there is no window.
  bool Create(const wchar_t* cls, DWORD exStyle, DWORD style, HWND parent, THandler handler);
  // Drops the back pointer, then destroys the window.
  void Destroy();
  HWND Handle() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  THandler handler_;
};

}  // namespace lbb::skin
