// Parsing and lookups of TQuickIni.
#include <gtest/gtest.h>

#include "tests/native/ini/IniHelpers.h"

namespace lbb::skin::testing {
namespace {

TEST(IniParse, LineBreaksTrimmingAndComments) {
  TQuickIni ini;
  LoadText(ini, std::string("[A]\r\n a = 1 \rb=2\n\n\tc=3\t\n\r; note\r\n  ;x=9\r\nd=4;5"));
  EXPECT_EQ(ini.IniFile(), Lines({u"[A]", u"a = 1", u"b=2", u"c=3", u"d=4;5"}));
  EXPECT_EQ(ini.ReadString(u"A", u"d", u""), u"4;5");  // ";" after the start is text
  EXPECT_EQ(ini.ReadString(u"A", u"x", u"none"), u"none");
}

TEST(IniParse, ZeroByteEndsTheText) {
  TQuickIni ini;
  LoadText(ini, std::string("[A]\nk=v\0[B]\nz=1\n", 16));
  EXPECT_EQ(ini.IniFile(), Lines({u"[A]", u"k=v"}));
  LoadText(ini, std::string("[A]\nk=v\n\0\0", 10));
  EXPECT_EQ(ini.IniFile(), Lines({u"[A]", u"k=v"}));
}

TEST(IniParse, LoadReplacesEverythingAndStartsAtTheStreamPosition) {
  TQuickIni ini;
  LoadText(ini, "[Old]\nk=1\n");
  const std::string text = "junk[New]\nk=2\n";
  TMemoryStream s(std::vector<uint8_t>(text.begin(), text.end()));
  s.SetPosition(4);
  ini.LoadFromStream(&s);
  EXPECT_EQ(ini.ReadInteger(u"Old", u"k", -1), -1);
  EXPECT_EQ(ini.ReadInteger(u"New", u"k", -1), 2);
  ini.LoadFromStream(nullptr);  // does nothing
  EXPECT_EQ(ini.IniFile().size(), 2u);
}

TEST(IniParse, HeadersNeedBracketsAtBothEnds) {
  TQuickIni ini;
  LoadText(ini, "[A] x\nk=1\n[ B]\nk=2\n  [C]  \nk=3\n[]\nk=4\n");
  ASSERT_EQ(ini.Sections().size(), 3u);
  EXPECT_EQ(ini.Sections()[0], std::make_pair(String(u"[ B]"), 2));
  EXPECT_EQ(ini.Sections()[1], std::make_pair(String(u"[C]"), 4));
  EXPECT_EQ(ini.ReadInteger(u"A", u"k", 0), 0);  // "[A] x" is no header
  EXPECT_EQ(ini.ReadInteger(u"B", u"k", 0), 0);  // spaces inside the brackets count
  EXPECT_EQ(ini.ReadInteger(u" B", u"k", 0), 2);
  EXPECT_EQ(ini.ReadInteger(u"c", u"k", 0), 3);
  EXPECT_EQ(ini.ReadInteger(u"", u"k", 0), 4);
}

TEST(IniParse, Windows1252Text) {
  TQuickIni ini;
  LoadText(ini, "[Caf\xE9]\nsign=\x80 \x93q\x94 \x81\n");
  EXPECT_EQ(ini.ReadString(u"Caf\u00E9", u"sign", u""), u"\u20AC \u201Cq\u201D \u0081");
  TMemoryStream out;
  ini.SaveToStream(&out);
  const std::string saved(out.Bytes().begin(), out.Bytes().end());
  EXPECT_EQ(saved, "[Caf\xE9]\r\nsign=\x80 \x93q\x94 \x81\r\n");
}

TEST(IniLookup, KeysAndSectionsIgnoreCase) {
  TQuickIni ini;
  LoadText(ini, "[Buttons]\nRightwidth=5\n[Colours]\nText=1\n");
  EXPECT_EQ(ini.ReadInteger(u"Buttons", u"RightWidth", 0), 5);
  EXPECT_EQ(ini.ReadInteger(u"COLOURS", u"TEXT", 0), 1);
}

TEST(IniLookup, EmptyOrMissingValuesGiveTheDefault) {
  TQuickIni ini;
  LoadText(ini, "[S]\nTrans=\nTrans=7\nplain line\n");
  EXPECT_EQ(ini.ReadString(u"S", u"Trans", u"def"), u"def");  // the first line decides
  EXPECT_EQ(ini.ReadInteger(u"S", u"Trans", 3), 3);
  EXPECT_EQ(ini.ReadString(u"S", u"missing", u"def"), u"def");
  EXPECT_EQ(ini.ReadString(u"Nope", u"Trans", u"def"), u"def");
  TQuickIni empty;
  EXPECT_EQ(empty.ReadString(u"S", u"Trans", u"def"), u"def");
}

TEST(IniLookup, ValueKeepsEverythingAfterTheFirstEquals) {
  TQuickIni ini;
  LoadText(ini, "[S]\n a b = x=y = z \n");
  EXPECT_EQ(ini.ReadString(u"S", u"A B", u""), u"x=y = z");
}

TEST(IniLookup, ScanStopsAtTheNextSectionAndDuplicatesUseTheFirst) {
  TQuickIni ini;
  LoadText(ini, "[A]\nx=1\n[B]\ny=2\n[A]\ny=3\nx=9\n");
  EXPECT_EQ(ini.ReadInteger(u"A", u"y", 0), 0);
  EXPECT_EQ(ini.ReadInteger(u"A", u"x", 0), 1);
  EXPECT_EQ(ini.ReadInteger(u"B", u"y", 0), 2);
}

TEST(IniLookup, IntegersInDecimalAndHexadecimal) {
  TQuickIni ini;
  LoadText(ini,
           "[N]\nhex1=0x1F\nhex2=$1F\nhex3=0X1f\nbare=0x\ndollar=$\nneg=-42\nplus=+7\n"
           "min=-2147483648\nmax=2147483647\nover=2147483648\nunder=-2147483649\n"
           "ffff=$FFFFFFFF\nbig=$100000000\nnegdollar=-$10\nnegx=-0x10\nmulti=236 233 216\n"
           "tail=12abc\nsign=-\nspace=1 2\n");
  const std::pair<const char16_t*, int32_t> cases[] = {
      {u"hex1", 31},  {u"hex2", 31}, {u"hex3", 31},       {u"bare", -5},       {u"dollar", -5},
      {u"neg", -42},  {u"plus", 7},  {u"min", INT32_MIN}, {u"max", INT32_MAX}, {u"over", -5},
      {u"under", -5}, {u"ffff", -1}, {u"big", -5},        {u"negdollar", -16}, {u"negx", -5},
      {u"multi", -5}, {u"tail", -5}, {u"sign", -5},       {u"space", -5},      {u"absent", -5}};
  for (const auto& [key, expected] : cases)
    EXPECT_EQ(ini.ReadInteger(u"N", key, -5), expected)
        << std::string(key, key + std::char_traits<char16_t>::length(key));
}

TEST(IniLookup, Booleans) {
  TQuickIni ini;
  LoadText(ini, "[B]\nyes=1\nno=0\nhex=0x10\nword=true\n");
  EXPECT_TRUE(ini.ReadBool(u"B", u"yes", false));
  EXPECT_FALSE(ini.ReadBool(u"B", u"no", true));
  EXPECT_TRUE(ini.ReadBool(u"B", u"hex", false));
  EXPECT_TRUE(ini.ReadBool(u"B", u"word", true));  // not a number: the default
  EXPECT_FALSE(ini.ReadBool(u"B", u"word", false));
}

TEST(IniLists, SectionsKeysAndValues) {
  TQuickIni ini;
  LoadText(ini, "[ One ]\nAlpha=1\nno equals\n =x\nBeta = 2\n[Two]\n");
  TStrings list{u"stale"};
  ini.ReadSections(&list);
  EXPECT_EQ(list, Lines({u"One", u"Two"}));
  ini.ReadSection(u" One ", &list);
  EXPECT_EQ(list, Lines({u"alpha", u"beta"}));
  ini.ReadSectionValues(u" One ", &list);
  EXPECT_EQ(list, Lines({u"Alpha=1", u"no equals", u"=x", u"Beta = 2"}));
  ini.ReadSection(u"Missing", &list);
  EXPECT_TRUE(list.empty());
}

TEST(IniLists, NullListIsAnAssertion) {
  TQuickIni ini;
  try {
    ini.ReadSection(u"S", nullptr);
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "The parameter Strings is unassigned!");
    EXPECT_STREQ(e.SourceUnit, "Winskinini");
  }
  EXPECT_THROW(ini.ReadSections(nullptr), EAssertionFailed);
  EXPECT_THROW(ini.ReadSectionValues(u"S", nullptr), EAssertionFailed);
}

}  // namespace
}  // namespace lbb::skin::testing
