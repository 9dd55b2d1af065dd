#include "app/win/http/DecodeCharset.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace lbb::win {
namespace {

struct Case {
  const char* charset;
  std::string bytes;
  const char16_t* text;
};

void ExpectDecoded(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeCharset(c.bytes, c.charset), String(c.text)) << c.charset;
  }
}

std::string AllBytes() {
  std::string bytes(256, '\0');
  for (int i = 0; i < 256; ++i)
    bytes[i] = static_cast<char>(i);
  return bytes;
}

TEST(DecodeCharset, EastAsianCharsets) {
  ExpectDecoded({
      {"utf-8", "\xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9", u"中文 café"},
      {"gbk", "\xD6\xD0\xCE\xC4\xB1\xE0\xC2\xEB", u"中文编码"},
      {"gb2312", "\xD6\xD0\xCE\xC4", u"中文"},
      {"x-gbk", "\xD6\xD0\xCE\xC4", u"中文"},
      {"cp936", "\xD6\xD0\xCE\xC4", u"中文"},
      {"gb18030", "\xD6\xD0\x81\x30\x81\x30", u"中\u0080"},
      {"big5", "\xA4\xA4\xA4\xE5\xB4\xFA\xB8\xD5", u"中文測試"},
      {"shift_jis", "\x93\xFA\x96\x7B\xB1", u"日本\uFF71"},
      {"euc-jp", "\xC6\xFC\xCB\xDC", u"日本"},
      {"euc-kr", "\xC7\xD1\xB1\xB9", u"한국"},
  });
}

TEST(DecodeCharset, SingleByteCharsets) {
  ExpectDecoded({
      {"iso-8859-2", "\xA1", u"\u0104"},
      {"iso-8859-5", "\xB0", u"\u0410"},
      {"iso-8859-7", "\xC1", u"\u0391"},
      {"iso-8859-9", "\xD0", u"\u011E"},
      {"iso-8859-15", "\xA4", u"\u20AC"},
      {"windows-1250", "\x8A", u"\u0160"},
      {"windows-1251", "\xC0", u"\u0410"},
      {"windows-1252", "\x80\x9F", u"\u20AC\u0178"},
      {"windows-1253", "\xC1", u"\u0391"},
      {"windows-1254", "\xD0", u"\u011E"},
      {"windows-1255", "\xE0", u"\u05D0"},
      {"windows-1256", "\xC7", u"\u0627"},
      {"windows-1257", "\xC0", u"\u0104"},
      {"windows-1258", "\xC3", u"\u0102"},
      {"koi8-r", "\xC1\xE1", u"\u0430\u0410"},
  });
}

TEST(DecodeCharset, Latin1IsEveryByteOneCharacterNotWindows1252) {
  const std::string bytes = AllBytes();
  for (const char* name : {"iso-8859-1", "ISO_8859-1", "latin1", "us-ascii"}) {
    const String text = DecodeCharset(bytes, name);
    ASSERT_EQ(text.size(), 256u) << name;
    for (int i = 0; i < 256; ++i)
      EXPECT_EQ(text[i], static_cast<char16_t>(i)) << name << i;
  }
  EXPECT_EQ(DecodeCharset("\x80", "iso-8859-1"), String(u"\u0080"));
  EXPECT_EQ(DecodeCharset("\x80", "windows-1252"), String(u"\u20AC"));
}

TEST(DecodeCharset, MissingOrUnknownNamesGiveLatin1) {
  const std::string gbk = "\xD6\xD0\xCE\xC4";
  const String latin1 = u"\u00D6\u00D0\u00CE\u00C4";
  for (const char* name : {"", "klingon", "utf-9", "x-user-defined", "iso-8859-12"}) {
    EXPECT_EQ(DecodeCharset(gbk, name), latin1) << name;
  }
}

TEST(DecodeCharset, NamesIgnoreCaseBlanksAndQuotes) {
  ExpectDecoded({
      {"GBK", "\xD6\xD0", u"中"},
      {"  \"Gb2312\" ", "\xD6\xD0", u"中"},
      {"'UTF-8'", "\xE4\xB8\xAD", u"中"},
      {"Shift_JIS", "\x93\xFA", u"日"},
  });
}

TEST(DecodeCharset, DamagedBytesStillDecode) {
  EXPECT_EQ(DecodeCharset("", "utf-8"), String());
  EXPECT_EQ(DecodeCharset("a\xFF"
                          "b",
                          "utf-8"),
            String(u"a\uFFFDb"));
  // A lead byte cut off at the end gives a replacement or nothing, never the bytes after it.
  const String cut = DecodeCharset("ab\xD6", "gbk");
  ASSERT_GE(cut.size(), 2u);
  EXPECT_EQ(cut.substr(0, 2), String(u"ab"));
  EXPECT_LE(cut.size(), 3u);
}

}  // namespace
}  // namespace lbb::win
