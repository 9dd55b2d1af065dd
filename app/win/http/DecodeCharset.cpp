#include "app/win/http/DecodeCharset.h"

#include <windows.h>

#include <climits>
#include <string_view>

#include "app/http/CharsetNames.h"
#include "app/http/Gb18030.h"

namespace lbb::win {

namespace {

constexpr unsigned kGb18030CodePage = 54936;
constexpr unsigned kGbkCodePage = 936;

// `bytes` decoded through the system's code page into `out`; false when the system lacks
// the code page or cannot convert.
bool DecodeWithCodePage(std::string_view bytes, unsigned codePage, String& out) {
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

// `bytes` in the code page, or every byte one character when the system cannot decode them.
String DecodeOrLatin1(std::string_view bytes, unsigned codePage) {
  String out;
  if (!DecodeWithCodePage(bytes, codePage, out)) return Latin1ToText(bytes);
  return out;
}

}  // namespace

String DecodeCharset(const std::string& bytes, const std::string& charset) {
  const unsigned codePage = http::CharsetCodePage(charset);
  if (bytes.empty()) return String();
  if (codePage == 0 || codePage == http::kLatin1CodePage) return Latin1ToText(bytes);
  if (codePage == kGb18030CodePage && !IsValidCodePage(kGb18030CodePage)) {
    // Wine has no GB18030 code page: its GBK part goes through code page 936.
    return http::DecodeGb18030(
        bytes, [](std::string_view run) { return DecodeOrLatin1(run, kGbkCodePage); });
  }
  return DecodeOrLatin1(bytes, codePage);
}

}  // namespace lbb::win
