#include "charset.h"

#include <windows.h>

#include <climits>

#include "charset_names.h"

namespace lbb::win {

namespace {

// `bytes` decoded through the system's code page into `out`; false when the system lacks
// the code page or cannot convert.
bool DecodeWithCodePage(const std::string& bytes, unsigned codePage, Text& out) {
  if (!IsValidCodePage(codePage) || bytes.size() > static_cast<size_t>(INT_MAX)) return false;
  const int inLength = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), inLength, nullptr, 0);
  if (length <= 0) return false;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  if (MultiByteToWideChar(codePage, 0, bytes.data(), inLength, wide.data(), length) != length) {
    return false;
  }
  out.assign(wide.begin(), wide.end());
  return true;
}

}  // namespace

Text DecodeCharset(const std::string& bytes, const std::string& charset) {
  const unsigned codePage = http::CharsetCodePage(charset);
  if (bytes.empty()) return Text();
  if (codePage == 0 || codePage == http::kLatin1CodePage) return Latin1ToText(bytes);
  Text out;
  if (!DecodeWithCodePage(bytes, codePage, out)) return Latin1ToText(bytes);
  return out;
}

}  // namespace lbb::win
