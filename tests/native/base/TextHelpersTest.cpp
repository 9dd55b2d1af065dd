// ASCII folding and trimming, in 8-bit and UTF-16 text: names, keys and markers fold; other
// characters (user text) never do.
#include <gtest/gtest.h>

#include "base/Text.h"

namespace {

using namespace lbb;

TEST(AsciiFolding, LettersFoldOtherCharactersStay) {
  EXPECT_EQ(LowerAscii(u"Button.RADIO-9"), u"button.radio-9");
  EXPECT_EQ(UpperAscii(std::string_view("utf-8 Gbk")), "UTF-8 GBK");
  // Letters outside ASCII (Latin-1 capitals, full-width letters) are not folded, and the
  // characters just beside the ranges stay what they are.
  EXPECT_EQ(LowerAscii(u"\u00C9\uFF21@[`{"), u"\u00C9\uFF21@[`{");
  EXPECT_EQ(UpperAscii(u"\u00E9\uFF41@[`{"), u"\u00E9\uFF41@[`{");
  EXPECT_EQ(LowerAscii('Z'), 'z');
  EXPECT_EQ(UpperAscii(u'a'), u'A');
}

TEST(AsciiFolding, SameTextAndPrefix) {
  EXPECT_TRUE(SameTextAscii(u"Button.CheckBox", u"BUTTON.checkbox"));
  EXPECT_TRUE(SameTextAscii(std::string_view("Content-Type"), "content-TYPE"));
  EXPECT_FALSE(SameTextAscii(u"Button", u"Buttons"));
  EXPECT_FALSE(SameTextAscii(u"\u00C9", u"\u00E9"));  // not an ASCII pair
  EXPECT_FALSE(SameTextAscii(std::string_view("a\x80"), "A\xA0"));
  EXPECT_TRUE(StartsWithAscii(u"RETRY12", u"retry"));
  EXPECT_TRUE(StartsWithAscii(std::string_view("Utf-8"), ""));
  EXPECT_FALSE(StartsWithAscii(u"ret", u"retry"));
  EXPECT_FALSE(StartsWithAscii(std::string_view("xretry"), "retry"));
}

TEST(Trimming, ControlCharactersOrBlanksOnly) {
  EXPECT_EQ(Trim(u"\t\r\n  name \x01\x1F "), u"name");
  EXPECT_EQ(Trim(std::string_view(" \x7F ")), "\x7F");  // DEL is above the space
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(Trim(std::string_view("\xA0x\xA0")), "\xA0x\xA0");  // bytes above 127 stay
  EXPECT_EQ(TrimBlanks(u" \tvalue\r\t "), u"value\r");
  EXPECT_EQ(TrimBlanks(std::string_view("\t\n a \n")), "\n a \n");
  EXPECT_EQ(TrimBlanks(std::string_view("")), "");
}

TEST(Utf8, RoundTripAndReplacement) {
  const String text = u"G\u00FCnter \u535A\u5BA2 \U0001F600";
  EXPECT_EQ(Utf8ToText(TextToUtf8(text)), text);
  EXPECT_EQ(Utf8ToText("a\xC0\xAF"
                       "b"),
            u"a\uFFFD\uFFFDb");                        // overlong form refused
  EXPECT_EQ(TextToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");  // lone surrogate
}

}  // namespace
