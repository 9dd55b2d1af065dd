// Addresses and Location header values from a server are outside data. The input is split at
// the first NUL byte into a base address and a reference, both read as UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/http/Address.h"

namespace {

// A request address holds printable ASCII only after the host.
void CheckRequestForm(const lbb::String& address) {
  const size_t host = address.find(u"://");
  const size_t rest = host == lbb::String::npos ? 0 : address.find_first_of(u"/?#", host + 3);
  if (rest == lbb::String::npos) return;
  for (size_t i = rest; i < address.size(); ++i) {
    if (address[i] <= 0x20 || address[i] >= 0x7F || address[i] == u'#') std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const lbb::String base = lbb::Utf8ToText(input.substr(0, split));
  const lbb::String ref =
      split == std::string_view::npos ? lbb::String() : lbb::Utf8ToText(input.substr(split + 1));
  const lbb::String resolved = lbb::http::ResolveReference(base, ref);
  CheckRequestForm(lbb::http::RequestAddress(base));
  CheckRequestForm(lbb::http::RequestAddress(resolved));
  // Resolution never grows beyond base and reference together (plus "//", ":", "/", "?").
  if (resolved.size() > base.size() + ref.size() + 8) std::abort();
  return 0;
}
