// Window texts and class names as the form library's UTF-16 texts.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/WideText.h"

namespace lbb::forms {

// The text of a window (any length).
String WindowText(HWND hwnd);
// The class name of a window (at most 255 characters).
String WindowClassName(HWND hwnd);

}  // namespace lbb::forms
