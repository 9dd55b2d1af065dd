// Text at the Win32 boundary: the program's UTF-16 texts (String) as wide strings and back.
// wchar_t is 16 bits on Windows, so the conversion is a copy of code units.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/Text.h"

namespace lbb {

inline std::wstring Wide(std::u16string_view t) {
  return std::wstring(t.begin(), t.end());
}
inline String FromWide(const wchar_t* s, size_t n) {
  return String(s, s + n);
}
inline String FromWide(std::wstring_view s) {
  return String(s.begin(), s.end());
}
inline String FromWide(const wchar_t* s) {
  return s ? FromWide(std::wstring_view(s)) : String();
}

// The system's text for an error code, without the trailing line break ("System error N"
// when the system has none).
String SystemErrorText(DWORD code);

}  // namespace lbb
