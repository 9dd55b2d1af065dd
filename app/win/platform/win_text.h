// Text at the Win32 boundary: the engine's UTF-16 texts as wide strings and back.
#pragma once

#include <windows.h>

#include <string>

#include "text.h"

namespace lbb::win {

inline std::wstring Wide(const Text& t) {
  return std::wstring(t.begin(), t.end());
}
inline Text FromWide(const wchar_t* s, size_t n) {
  return Text(s, s + n);
}
inline Text FromWide(const std::wstring& s) {
  return Text(s.begin(), s.end());
}

// The system's text for an error code, without the trailing line break.
Text SystemErrorText(DWORD code);

}  // namespace lbb::win
