// The charset parameter of a Content-Type header value, read without any platform help so
// that it can be tested and fuzzed natively.
#pragma once

#include <string>
#include <string_view>

namespace lbb::http {

// Value of the first `charset` parameter of a Content-Type header value such as
// "text/html; Charset=\"GBK\"": parameter names are compared without regard to case, a quoted
// value is unquoted (backslash escapes honoured), blanks around a value are dropped. "" when
// there is no charset parameter.
std::string ContentTypeCharset(std::string_view header);

}  // namespace lbb::http
