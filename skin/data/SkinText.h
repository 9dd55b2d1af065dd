// Text helpers of the skin library. Texts are UTF-16 (std::u16string); files hold 8-bit text
// in the Windows-1252 code page, on every platform, so that the native and the Windows builds
// read and write the same files the same way.
#pragma once

#include <string>
#include <string_view>

#include "base/Text.h"

namespace lbb::skin {

// Widens Windows-1252 bytes. The five bytes that code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control characters of the same number, as Windows does.
String Cp1252ToText(std::string_view bytes);

// Narrows to Windows-1252; a character the code page cannot hold becomes "?".
std::string TextToCp1252(std::u16string_view text);

}  // namespace lbb::skin
