#include "skin/win/EngineWindows.h"

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

}  // namespace lbb::skin
