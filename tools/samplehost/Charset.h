// Encoding UTF-8 text in a named character set. Linux builds use iconv; Windows builds use
// the system's code pages.
#pragma once

#include <string>
#include <string_view>

namespace samplehost {

enum class EncodeResult {
  kOk,
  kUnknownCharset,  // the name is not a character set this system knows
  kUnencodable,     // a character has no encoding in the set (only when not replacing)
  kBadInput,        // `utf8` is not valid UTF-8
};

// `utf8` encoded in `charset` (names as in HTTP headers: "utf-8", "gbk", "iso-8859-1", ...;
// case does not matter). With `replace`, characters the set cannot hold become "?".
EncodeResult EncodeText(std::string_view utf8, std::string_view charset, bool replace,
                        std::string& out);

}  // namespace samplehost
