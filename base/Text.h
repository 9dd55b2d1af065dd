// String of every layer: UTF-16 (String), because the platform and the scraping rules count
// positions and lengths in UTF-16 code units. Files are UTF-8. The helpers here fold and trim
// ASCII only: names, keys and markers of this system are ASCII, and user text is left as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace lbb {

using String = std::u16string;

// UTF-8 <-> UTF-16. Invalid UTF-8 bytes become U+FFFD; unpaired surrogates become U+FFFD.
String Utf8ToText(std::string_view utf8);
std::string TextToUtf8(std::u16string_view text);

// A-Z to a-z; every other character unchanged.
constexpr char16_t LowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}
constexpr char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}
// a-z to A-Z; every other character unchanged.
constexpr char16_t UpperAscii(char16_t c) {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}
constexpr char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
}
String LowerAscii(std::u16string_view s);
std::string LowerAscii(std::string_view s);
String UpperAscii(std::u16string_view s);
std::string UpperAscii(std::string_view s);

// Equal once ASCII letters are folded to lower case.
bool SameTextAscii(std::u16string_view a, std::u16string_view b);
bool SameTextAscii(std::string_view a, std::string_view b);
// `s` begins with `prefix`, ASCII letters folded.
bool StartsWithAscii(std::u16string_view s, std::u16string_view prefix);
bool StartsWithAscii(std::string_view s, std::string_view prefix);

// `s` without its leading and trailing characters of code 32 (space) or below.
String Trim(std::u16string_view s);
std::string_view Trim(std::string_view s);
// `s` without its leading and trailing spaces and tabs only (the rule of profile files and
// lists of names, where other control characters belong to the value).
std::u16string_view TrimBlanks(std::u16string_view s);
std::string_view TrimBlanks(std::string_view s);

}  // namespace lbb
