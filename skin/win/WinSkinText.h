// Text output for the skin painters: wide text where the system draws it, the system's 8-bit
// code page on systems that only draw 8-bit text; and the two conversions around it.
#pragma once

#include <windows.h>

#include <string>

namespace lbb::skin {

// Draws `text` in `rect` with DrawText `format` flags; returns the system's result (the text
// height, 0 on failure). With DT_CALCRECT `rect` receives the measured rectangle.
int DrawTextCompat(HDC dc, const std::u16string& text, RECT& rect, UINT format);
// The same through the 8-bit text call, the text converted to the system code page first; what
// DrawTextCompat does on systems without wide text output.
int DrawTextAnsi(HDC dc, const std::u16string& text, RECT& rect, UINT format);
// True when the system draws wide text (every system of the NT line).
bool HasWideTextOutput();

// 8-bit text in the system code page as wide text.
std::u16string AnsiToWide(const std::string& text);
// The first `n` characters of `text`; all of it when n is -1 (or past its end).
std::u16string WideCopy(const std::u16string& text, int n);

}  // namespace lbb::skin
