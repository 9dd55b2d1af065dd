#include "tests/win/forms/GuiObjects.h"

#include <windows.h>

namespace lbb::forms::test {
namespace {

int ProbeGdiObjects() {
  int n = 0;
  for (UINT_PTR low = 1; low <= 0xFFFF; ++low) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(low))) ++n;
  }
  return n;
}

int ProbeMenus() {
  // A menu answers to its even low word (and to the odd one after it): count the even ones.
  int n = 0;
  for (UINT_PTR low = 2; low <= 0xFFFF; low += 2) {
    if (IsMenu(reinterpret_cast<HMENU>(low))) ++n;
  }
  return n;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(hwnd, CountChild, count);
  return TRUE;
}

}  // namespace

GuiObjects CountGuiObjects() {
  GuiObjects out;
  out.gdi = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  if (out.gdi == 0) out.gdi = ProbeGdiObjects();
  out.user = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (out.user == 0) out.user = ProbeMenus();
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&out.windows));
  return out;
}

}  // namespace lbb::forms::test
