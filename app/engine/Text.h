// Text helpers of the backup engine. Texts are UTF-16 (std::u16string): every position and
// length of the scraping rules is counted in UTF-16 code units, positions 1-based.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Text.h"

namespace lbb {

// Position (1-based) of the first occurrence of `sub` in `s`, compared code unit by code unit;
// 0 when there is none or `sub` is empty.
int TextPos(std::u16string_view sub, std::u16string_view s);

// The part of `s` that starts at `index` (1-based) and is `count` long. In this order: an
// index below 1 is taken as 1 (count unchanged); an index beyond the end gives ""; a negative
// count gives ""; a count running past the end is cut at the end.
String TextCopy(std::u16string_view s, int index, int count);
// TextCopy without the copy: the same part of `s`, as a view into it.
std::u16string_view TextSlice(std::u16string_view s, int index, int count);

// Length of `s` in code units as the scraping rules use it (a 32-bit signed number; texts
// longer than that are cut to the largest length it can hold).
int TextLength(std::u16string_view s);

// Every byte one character (ISO-8859-1).
String Latin1ToText(std::string_view bytes);

// Decimal text of a number, no leading zeros.
String IntToText(int64_t n);

// `s` with every occurrence of `from` replaced by `to`, left to right, without rescanning
// replaced text. An empty `from` leaves `s` unchanged.
String ReplaceAll(std::u16string_view s, std::u16string_view from, std::u16string_view to);

// Short form for literals: T(u"...") is a String.
inline String T(std::u16string_view s) {
  return String(s);
}

}  // namespace lbb
