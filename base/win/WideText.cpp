#include "base/win/WideText.h"

#include <string>

namespace lbb {

String SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  String text;
  if (n > 0 && buffer) text = FromWide(buffer, n);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
    text.pop_back();
  }
  if (text.empty()) {
    const std::string digits = std::to_string(code);
    text = u"System error " + String(digits.begin(), digits.end());
  }
  return text;
}

}  // namespace lbb
