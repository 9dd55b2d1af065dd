#include "skin/win/EngineWindows.h"

#include <utility>

#include "forms/WindowGuard.h"

namespace lbb::skin {

HINSTANCE EngineModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&EngineModule), &module);
  return module;
}

ATOM RegisterEngineClass(const wchar_t* name, WNDPROC proc, UINT style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = EngineModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  if (const ATOM atom = RegisterClassExW(&wc)) return atom;
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  return static_cast<ATOM>(GetClassInfoExW(wc.hInstance, name, &known));
}

ATOM TEngineWindow::RegisterClassOnce(const wchar_t* name, UINT style) {
  return RegisterEngineClass(name, &TEngineWindow::Proc, style);
}

bool TEngineWindow::Owned(HWND w) {
  return IsWindow(w) && GetWindowLongPtrW(w, GWLP_USERDATA) != 0;
}

bool TEngineWindow::Create(const wchar_t* cls, DWORD exStyle, DWORD style, HWND parent,
                           THandler handler) {
  if (hwnd_) return true;
  const HWND w = CreateWindowExW(exStyle, cls, L"", style, 0, 0, 0, 0, parent, nullptr,
                                 EngineModule(), nullptr);
  if (!w) return false;
  hwnd_ = w;
  handler_ = std::move(handler);
  SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void TEngineWindow::Destroy() {
  const HWND w = std::exchange(hwnd_, nullptr);
  if (!w) return;
  SetWindowLongPtrW(w, GWLP_USERDATA, 0);
  DestroyWindow(w);
}

LRESULT CALLBACK TEngineWindow::Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TEngineWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!self || self->hwnd_ != w) return DefWindowProcW(w, msg, wParam, lParam);
  // The handler may free its owner and this object with it: it is copied first.
  const THandler handler = self->handler_;
  if (msg == WM_NCDESTROY) {
    // Destroyed with its parent: the handle is no longer the owner's to destroy.
    SetWindowLongPtrW(w, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return forms::GuardMessage(
      msg,
      [&] {
        return handler ? handler(w, msg, wParam, lParam) : DefWindowProcW(w, msg, wParam, lParam);
      },
      [&] { return DefWindowProcW(w, msg, wParam, lParam); });
}

}  // namespace lbb::skin
