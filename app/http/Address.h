// Addresses as the HTTP client sends them: the request form of an address and the target of
// a redirect. Free of the platform so that they can be tested and fuzzed natively.
#pragma once

#include <string_view>

#include "app/engine/Text.h"

namespace lbb::http {

// `url` as it goes out: the fragment dropped and, after the host, every character that cannot
// stand raw on a request line (non-ASCII, control characters, blanks, DEL) written as percent
// escapes of its UTF-8 bytes. Everything else, existing escapes included, is kept unchanged.
String RequestAddress(std::u16string_view url);

// The address that the reference `ref` (a Location header value) names when it is read
// against `base`, the address whose answer carried it: absolute references are kept,
// scheme-relative, absolute-path, query-only and relative-path references are resolved, and
// "." and ".." segments are removed. Blanks around `ref` are ignored.
String ResolveReference(std::u16string_view base, std::u16string_view ref);

}  // namespace lbb::http
