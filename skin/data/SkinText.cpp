#include "skin/data/SkinText.h"

#include <cstddef>
#include <cstdint>

namespace lbb::skin {

namespace {

// Windows-1252 bytes 0x80..0x9F; every other byte is the character of the same number.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char NarrowCp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (size_t i = 0; i < 32; ++i)
    if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

String Cp1252ToText(std::string_view bytes) {
  String out(bytes.size(), u'\0');
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
