// Which Windows code page decodes a character set named in an HTTP answer. A plain table of
// numbers, kept free of the platform so that it can be tested and fuzzed natively.
#pragma once

#include <string_view>

namespace lbb::http {

// ISO-8859-1: every byte is the character of the same number (decoded without the platform).
constexpr unsigned kLatin1CodePage = 28591;

// Code page of the character set registered under `name` or one of its common aliases
// ("utf8", "x-gbk", "cp936", "latin1", ...). Names are compared without regard to case;
// blanks and quotes around the name are ignored. 0 when the name is not known.
unsigned CharsetCodePage(std::string_view name);

}  // namespace lbb::http
