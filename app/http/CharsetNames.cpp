#include "app/http/CharsetNames.h"
#include "base/Text.h"

#include <string>

namespace lbb::http {

namespace {

struct CharsetName {
  std::string_view name;  // lower case
  unsigned codePage;
};

// Registered names and the aliases that pages and servers commonly send. US-ASCII is read as
// ISO-8859-1 so that stray high bytes still come through one character each.
constexpr CharsetName kNames[] = {
    {"utf-8", 65001},
    {"utf8", 65001},
    {"unicode-1-1-utf-8", 65001},
    {"x-unicode20utf8", 65001},
    {"gbk", 936},
    {"x-gbk", 936},
    {"cp936", 936},
    {"ms936", 936},
    {"windows-936", 936},
    {"gb2312", 936},
    {"csgb2312", 936},
    {"gb_2312", 936},
    {"gb_2312-80", 936},
    {"euc-cn", 936},
    {"x-euc-cn", 936},
    {"chinese", 936},
    {"iso-ir-58", 936},
    {"gb18030", 54936},
    {"big5", 950},
    {"big-5", 950},
    {"x-x-big5", 950},
    {"cn-big5", 950},
    {"csbig5", 950},
    {"cp950", 950},
    {"big5-hkscs", 950},
    {"shift_jis", 932},
    {"shift-jis", 932},
    {"sjis", 932},
    {"x-sjis", 932},
    {"ms_kanji", 932},
    {"csshiftjis", 932},
    {"windows-31j", 932},
    {"cp932", 932},
    {"ms932", 932},
    {"euc-jp", 20932},
    {"x-euc-jp", 20932},
    {"cseucpkdfmtjapanese", 20932},
    {"iso-2022-jp", 50220},
    {"csiso2022jp", 50220},
    {"euc-kr", 949},
    {"x-euc-kr", 949},
    {"cseuckr", 949},
    {"ks_c_5601-1987", 949},
    {"ks_c_5601-1989", 949},
    {"ksc5601", 949},
    {"ksc_5601", 949},
    {"korean", 949},
    {"csksc56011987", 949},
    {"iso-ir-149", 949},
    {"windows-949", 949},
    {"cp949", 949},
    {"uhc", 949},
    {"iso-8859-1", 28591},
    {"iso8859-1", 28591},
    {"iso_8859-1", 28591},
    {"iso88591", 28591},
    {"iso_8859-1:1987", 28591},
    {"latin1", 28591},
    {"latin-1", 28591},
    {"l1", 28591},
    {"cp819", 28591},
    {"ibm819", 28591},
    {"iso-ir-100", 28591},
    {"csisolatin1", 28591},
    {"us-ascii", 28591},
    {"ascii", 28591},
    {"ansi_x3.4-1968", 28591},
    {"iso646-us", 28591},
    {"cp367", 28591},
    {"ibm367", 28591},
    {"csascii", 28591},
    {"latin2", 28592},
    {"l2", 28592},
    {"csisolatin2", 28592},
    {"latin3", 28593},
    {"l3", 28593},
    {"latin4", 28594},
    {"l4", 28594},
    {"cyrillic", 28595},
    {"arabic", 28596},
    {"greek", 28597},
    {"hebrew", 28598},
    {"iso-8859-8-i", 38598},
    {"latin5", 28599},
    {"l5", 28599},
    {"latin9", 28605},
    {"latin-9", 28605},
    {"l9", 28605},
    {"windows-874", 874},
    {"tis-620", 874},
    {"cp874", 874},
    {"koi8-r", 20866},
    {"koi8r", 20866},
    {"cskoi8r", 20866},
    {"koi8-u", 21866},
    {"ibm866", 866},
    {"cp866", 866},
    {"macintosh", 10000},
    {"x-mac-roman", 10000},
};

// ISO-8859-n parts and their code pages (28590 + n, except 13 and 15).
constexpr unsigned kIsoParts[][2] = {
    {1, 28591}, {2, 28592}, {3, 28593},  {4, 28594},  {5, 28595},  {6, 28596},  {7, 28597},
    {8, 28598}, {9, 28599}, {10, 28600}, {13, 28603}, {14, 28604}, {15, 28605}, {16, 28606},
};

bool IsSurrounding(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '\'';
}

std::string Normalised(std::string_view name) {
  while (!name.empty() && IsSurrounding(name.front()))
    name.remove_prefix(1);
  while (!name.empty() && IsSurrounding(name.back()))
    name.remove_suffix(1);
  return LowerAscii(name);
}

// Decimal number 1..99 that makes up all of `s`; 0 otherwise.
unsigned SmallNumber(std::string_view s) {
  if (s.empty() || s.size() > 2) return 0;
  unsigned n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + static_cast<unsigned>(c - '0');
  }
  return n;
}

// "iso-8859-n" and its spellings "iso8859-n", "iso_8859-n", "iso8859n", "iso-8859-n:yyyy".
unsigned IsoCodePage(std::string_view name) {
  for (std::string_view prefix : {"iso-8859-", "iso_8859-", "iso8859-", "iso8859"}) {
    if (name.substr(0, prefix.size()) != prefix) continue;
    std::string_view part = name.substr(prefix.size());
    part = part.substr(0, part.find(':'));
    const unsigned n = SmallNumber(part);
    for (const auto& entry : kIsoParts) {
      if (entry[0] == n) return entry[1];
    }
    return 0;
  }
  return 0;
}

// "windows-125n", "cp125n", "x-cp125n".
unsigned WindowsCodePage(std::string_view name) {
  for (std::string_view prefix : {"windows-", "x-cp", "cp"}) {
    if (name.substr(0, prefix.size()) != prefix) continue;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.size() == 4 && digits.substr(0, 3) == "125" && digits[3] >= '0' &&
        digits[3] <= '8') {
      return 1250 + static_cast<unsigned>(digits[3] - '0');
    }
    return 0;
  }
  return 0;
}

}  // namespace

unsigned CharsetCodePage(std::string_view name) {
  const std::string key = Normalised(name);
  if (key.empty() || key.size() > 40) return 0;
  for (const CharsetName& entry : kNames) {
    if (entry.name == key) return entry.codePage;
  }
  if (const unsigned cp = IsoCodePage(key)) return cp;
  return WindowsCodePage(key);
}

}  // namespace lbb::http
