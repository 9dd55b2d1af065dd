// Texts of the form library are UTF-16 (String); these convert at the Win32 boundary.
#pragma once

#include <windows.h>

#include <string>

#include "Properties.h"

namespace lbb::forms {

inline std::wstring Wide(const String& t) {
  return std::wstring(t.begin(), t.end());
}
inline String FromWide(const wchar_t* s, size_t n) {
  return String(s, s + n);
}
inline String FromWide(const std::wstring& s) {
  return String(s.begin(), s.end());
}

// The text of a window (any length).
String WindowText(HWND hwnd);
// The class name of a window (at most 255 characters).
String WindowClassName(HWND hwnd);

}  // namespace lbb::forms
