// Content-Type header values and charset names from a server are outside data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/http/CharsetNames.h"
#include "app/http/ContentType.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view header(reinterpret_cast<const char*>(data), size);
  const std::string charset = lbb::http::ContentTypeCharset(header);
  // The value is cut out of the header (quotes and escapes only remove bytes).
  if (charset.size() > header.size()) std::abort();
  const unsigned fromHeader = lbb::http::CharsetCodePage(charset);
  const unsigned whole = lbb::http::CharsetCodePage(header);
  // Known names map to code pages in the range Windows uses.
  if (fromHeader > 65535 || whole > 65535) std::abort();
  // Case and surrounding quotes never change the answer.
  std::string upper(charset);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (lbb::http::CharsetCodePage("\"" + upper + "\"") != fromHeader) std::abort();
  return 0;
}
