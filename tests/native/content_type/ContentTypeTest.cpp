#include "app/http/ContentType.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "app/http/CharsetNames.h"

namespace lbb::http {
namespace {

struct Case {
  const char* header;
  const char* charset;
};

void ExpectCharsets(std::initializer_list<Case> cases) {
  for (const Case& c : cases)
    EXPECT_EQ(ContentTypeCharset(c.header), c.charset) << c.header;
}

TEST(ContentTypeCharset, FindsTheParameterWhateverItsSpelling) {
  ExpectCharsets({
      {"text/html; charset=GBK", "GBK"},
      {"text/html;CHARSET=utf-8", "utf-8"},
      {"text/html; ChArSeT=big5", "big5"},
      {" text/html ; charset = gbk ", "gbk"},
      {"text/html;\tcharset=\tgbk\t", "gbk"},
      {"text/plain; format=flowed; charset=shift_jis", "shift_jis"},
      {"text/html; charset=gbk; charset=utf-8", "gbk"},
      {"text/html; flag; charset=koi8-r", "koi8-r"},
  });
}

TEST(ContentTypeCharset, UnquotesValues) {
  ExpectCharsets({
      {"text/html; charset=\"big5\"", "big5"},
      {"text/html; charset=\" euc-kr \" ; x=1", "euc-kr"},
      {"text/html; charset=\"a\\\"b\"", "a\"b"},
      {"text/html; charset=\"gbk", "gbk"},
      // A ';' inside a quoted value of another parameter does not start a parameter.
      {"text/html; name=\"x;charset=gbk\"", ""},
      {"text/html; name=\"x;charset=gbk\"; charset=big5", "big5"},
  });
}

TEST(ContentTypeCharset, NothingWithoutACharsetParameter) {
  ExpectCharsets({
      {"", ""},
      {"text/html", ""},
      {"text/html;", ""},
      {"text/html; charset", ""},
      {"text/html; charset=", ""},
      {"text/html; xcharset=gbk", ""},
      {"text/html; charsetx=gbk", ""},
      {"charset=gbk", ""},
  });
}

TEST(CharsetCodePage, RegisteredNamesAndAliases) {
  const struct {
    const char* name;
    unsigned codePage;
  } cases[] = {
      {"utf-8", 65001},
      {"UTF8", 65001},
      {"gbk", 936},
      {"x-gbk", 936},
      {"cp936", 936},
      {"GB2312", 936},
      {"gb18030", 54936},
      {"big5", 950},
      {"Shift_JIS", 932},
      {"sjis", 932},
      {"euc-jp", 20932},
      {"EUC-KR", 949},
      {"ks_c_5601-1987", 949},
      {"iso-8859-1", kLatin1CodePage},
      {"latin1", kLatin1CodePage},
      {"ISO_8859-1:1987", kLatin1CodePage},
      {"us-ascii", kLatin1CodePage},
      {"iso-8859-2", 28592},
      {"iso8859-5", 28595},
      {"ISO_8859-9", 28599},
      {"iso-8859-13", 28603},
      {"iso-8859-15", 28605},
      {"latin9", 28605},
      {"windows-1250", 1250},
      {"windows-1252", 1252},
      {"cp1251", 1251},
      {"x-cp1258", 1258},
      {"koi8-r", 20866},
      {"KOI8-U", 21866},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CharsetCodePage(c.name), c.codePage) << c.name;
  }
}

TEST(CharsetCodePage, IgnoresCaseBlanksAndQuotes) {
  EXPECT_EQ(CharsetCodePage("  \"GbK\"  "), 936u);
  EXPECT_EQ(CharsetCodePage("'utf-8'"), 65001u);
  EXPECT_EQ(CharsetCodePage("\tWINDOWS-1252\r\n"), 1252u);
}

TEST(CharsetCodePage, UnknownNamesGiveZero) {
  for (const char* name : {"", "  ", "\"\"", "utf-9", "gbkk", "x-gbk2", "klingon", "iso-8859-12",
                           "iso-8859-0", "iso-8859-", "iso-8859-100", "windows-1259", "windows-125",
                           "windows-12500", "cp125x", "utf-8 gbk"}) {
    EXPECT_EQ(CharsetCodePage(name), 0u) << name;
  }
  EXPECT_EQ(CharsetCodePage(std::string(100, 'a')), 0u);
}

}  // namespace
}  // namespace lbb::http
