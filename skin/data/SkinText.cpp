#include "SkinText.h"

#include <cstddef>
#include <cstdint>

namespace lbb::skin {

namespace {

// Windows-1252 bytes 0x80..0x9F; every other byte is the character of the same number.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

char NarrowCp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (size_t i = 0; i < 32; ++i)
    if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

Text TrimText(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= u' ')
    ++b;
  while (e > b && s[e - 1] <= u' ')
    --e;
  return Text(s.substr(b, e - b));
}

Text LowerAscii(std::u16string_view s) {
  Text out(s);
  for (char16_t& c : out)
    c = FoldAscii(c);
  return out;
}

bool SameTextAscii(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

Text Cp1252ToText(std::string_view bytes) {
  Text out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    out[i] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b;
  }
  return out;
}

std::string TextToCp1252(std::u16string_view text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i)
    out[i] = NarrowCp1252(text[i]);
  return out;
}

}  // namespace lbb::skin
