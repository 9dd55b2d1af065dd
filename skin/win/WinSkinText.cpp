#include "skin/win/WinSkinText.h"

#include <string>

namespace lbb::skin {

namespace {

const wchar_t* Wide(const std::u16string& s) {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}

std::string WideToAnsi(const std::u16string& text) {
  if (text.empty()) return {};
  const int len = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, Wide(text), len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, Wide(text), len, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

bool HasWideTextOutput() {
  // The top bit of the version word is set only on the 8-bit systems of the 95 line.
  return (GetVersion() & 0x80000000u) == 0;
}

int DrawTextCompat(HDC dc, const std::u16string& text, RECT& rect, UINT format) {
  if (!HasWideTextOutput()) return DrawTextAnsi(dc, text, rect, format);
  return DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &rect, format);
}

int DrawTextAnsi(HDC dc, const std::u16string& text, RECT& rect, UINT format) {
  std::string narrow = WideToAnsi(text);
  return DrawTextA(dc, narrow.c_str(), static_cast<int>(narrow.size()), &rect, format);
}

std::u16string AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  const int len = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), len, nullptr, 0);
  std::u16string out(static_cast<size_t>(n > 0 ? n : 0), u'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), len, reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::u16string WideCopy(const std::u16string& text, int n) {
  if (n < 0 || static_cast<size_t>(n) >= text.size()) return text;
  return text.substr(0, static_cast<size_t>(n));
}

}  // namespace lbb::skin
