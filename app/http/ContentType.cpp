#include "app/http/ContentType.h"
#include "base/Text.h"

namespace lbb::http {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back()))
    s.remove_suffix(1);
  return s;
}

// Reads a quoted string that starts at s[at] == '"'; `at` ends after the closing quote (or at
// the end of `s` when the quote is never closed).
std::string ReadQuoted(std::string_view s, size_t& at) {
  std::string out;
  ++at;
  while (at < s.size()) {
    const char c = s[at++];
    if (c == '"') break;
    if (c == '\\' && at < s.size()) {
      out.push_back(s[at++]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// Reads one parameter value starting at `at` (blanks already skipped); `at` ends at the ';'
// that closes the parameter or at the end of `s`.
std::string ReadValue(std::string_view s, size_t& at) {
  if (at < s.size() && s[at] == '"') {
    std::string v = ReadQuoted(s, at);
    const size_t semi = s.find(';', at);
    at = semi == std::string_view::npos ? s.size() : semi;
    return std::string(TrimBlanks(v));
  }
  const size_t semi = s.find(';', at);
  const size_t end = semi == std::string_view::npos ? s.size() : semi;
  std::string_view v = TrimBlanks(s.substr(at, end - at));
  at = end;
  return std::string(v);
}

}  // namespace

std::string ContentTypeCharset(std::string_view header) {
  // The media type itself holds no quotes, so the parameters begin at the first ';'.
  size_t at = header.find(';');
  while (at < header.size()) {
    ++at;  // past the ';'
    const size_t eq = header.find_first_of("=;", at);
    if (eq == std::string_view::npos) break;
    if (header[eq] == ';') {  // a parameter without a value
      at = eq;
      continue;
    }
    const std::string_view name = TrimBlanks(header.substr(at, eq - at));
    at = eq + 1;
    while (at < header.size() && IsBlank(header[at]))
      ++at;
    std::string value = ReadValue(header, at);
    if (SameTextAscii(name, "charset")) return value;
  }
  return std::string();
}

}  // namespace lbb::http
