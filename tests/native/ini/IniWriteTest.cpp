// Changes to TQuickIni, and saving and loading plain and compressed files.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/native/ini/IniHelpers.h"

namespace lbb::skin::testing {
namespace {

const char* kBase = "[A]\na=1\nb=2\n[B]\nc=3\n[C]\nd=4\n";

TEST(IniWrite, ReplacesInsertsAndAppendsWithTheIndexFollowing) {
  TQuickIni ini;
  LoadText(ini, kBase);
  ini.WriteString(u"a", u"B", u"20");   // replaced in place, written as the caller spelled it
  ini.WriteString(u"A", u"new", u"x");  // inserted before [B]
  ini.WriteInteger(u"D", u"n", -12);    // new section at the end
  ini.WriteBool(u"C", u"flag", true);
  EXPECT_EQ(ini.IniFile(), Lines({u"[A]", u"a=1", u"B=20", u"new=x", u"[B]", u"c=3", u"[C]", u"d=4",
                                  u"flag=1", u"[D]", u"n=-12"}));
  // Every section after the inserted lines is still found at its own header.
  EXPECT_EQ(ini.ReadInteger(u"B", u"c", 0), 3);
  EXPECT_EQ(ini.ReadInteger(u"C", u"d", 0), 4);
  EXPECT_TRUE(ini.ReadBool(u"C", u"flag", false));
  EXPECT_EQ(ini.ReadInteger(u"D", u"n", 0), -12);
  EXPECT_EQ(ini.Sections().back(), std::make_pair(String(u"[D]"), 9));
}

TEST(IniWrite, EmptyIdent) {
  TQuickIni ini;
  LoadText(ini, "[A]\nno equals\n");
  ini.WriteString(u"A", u"", u"x");    // existing section: nothing written
  ini.WriteString(u"New", u"", u"x");  // missing section: the header alone
  EXPECT_EQ(ini.IniFile(), Lines({u"[A]", u"no equals", u"[New]"}));
  ini.WriteString(u"New", u"k", u"v");
  EXPECT_EQ(ini.ReadString(u"New", u"k", u""), u"v");
}

TEST(IniWrite, DeleteKeyKeepsLaterSectionsReachable) {
  TQuickIni ini;
  LoadText(ini, kBase);
  ini.DeleteKey(u"A", u"A");
  ini.DeleteKey(u"A", u"zzz");
  ini.DeleteKey(u"Nope", u"b");
  EXPECT_EQ(ini.IniFile(), Lines({u"[A]", u"b=2", u"[B]", u"c=3", u"[C]", u"d=4"}));
  EXPECT_EQ(ini.ReadInteger(u"B", u"c", 0), 3);
  EXPECT_EQ(ini.ReadInteger(u"C", u"d", 0), 4);
}

TEST(IniWrite, EraseSectionLeavesASeparatorUnlessFirst) {
  TQuickIni ini;
  LoadText(ini, kBase);
  ini.EraseSection(u"b");
  EXPECT_EQ(ini.IniFile(), Lines({u"[A]", u"a=1", u"b=2", u"", u"[C]", u"d=4"}));
  EXPECT_EQ(ini.ReadInteger(u"B", u"c", 0), 0);
  EXPECT_EQ(ini.ReadInteger(u"C", u"d", 0), 4);
  ini.EraseSection(u"A");
  EXPECT_EQ(ini.IniFile(), Lines({u"[C]", u"d=4"}));  // the separator went with [A]
  TStrings names;
  ini.ReadSections(&names);
  EXPECT_EQ(names, Lines({u"C"}));
  EXPECT_EQ(ini.ReadInteger(u"C", u"d", 0), 4);
}

TEST(IniWrite, IniFileAssignmentRebuildsTheIndexAndClearEmpties) {
  TQuickIni ini;
  ini.SetIniFile(Lines({u"  [X]  ", u"k = v", u"[Y]"}));
  EXPECT_EQ(ini.ReadString(u"x", u"K", u""), u"v");
  EXPECT_EQ(ini.Sections()[0], std::make_pair(String(u"[X]"), 0));
  ini.Clear();
  EXPECT_TRUE(ini.IniFile().empty());
  EXPECT_TRUE(ini.Sections().empty());
  ini.SetFileName(u"skin.ini");
  ini.SetAutoSaveLoad(true);
  EXPECT_EQ(ini.FileName(), u"skin.ini");
  EXPECT_TRUE(ini.AutoSaveLoad());
}

class IniFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("lbb_ini_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(IniFiles, PlainFileRoundTripDropsCommentsAndBlankLines) {
  TQuickIni ini;
  LoadText(ini, "; head\n\n[S]\n k=v \n\xE9t\xE9=1\n");
  ini.SaveToFile(dir_ / "plain.ini");
  TMemoryStream raw;
  raw.LoadFromFile(dir_ / "plain.ini");
  EXPECT_EQ(std::string(raw.Bytes().begin(), raw.Bytes().end()), "[S]\r\nk=v\r\n\xE9t\xE9=1\r\n");
  TQuickIni back;
  back.LoadFromFile(dir_ / "plain.ini");
  EXPECT_EQ(back.IniFile(), ini.IniFile());
  EXPECT_EQ(back.ReadInteger(u"S", u"\u00E9t\u00E9", 0), 1);
}

TEST_F(IniFiles, CompressedFileRoundTrip) {
  TQuickIni ini;
  for (int s = 0; s < 40; ++s)
    for (int k = 0; k < 25; ++k)
      ini.WriteInteger(
          u"Section" + String(1, char16_t(u'A' + s % 26)) + String(1, char16_t(u'a' + s / 26)),
          u"Key" + String(1, char16_t(u'a' + k)), s * 100 + k);
  ini.SavetoZip(dir_ / "skin.dat");
  TMemoryStream raw;
  raw.LoadFromFile(dir_ / "skin.dat");
  TMemoryStream plain;
  ini.SaveToStream(&plain);
  ASSERT_GE(raw.Size(), 4);
  EXPECT_EQ(raw.Bytes()[0] | raw.Bytes()[1] << 8 | raw.Bytes()[2] << 16, plain.Size());
  EXPECT_LT(raw.Size(), plain.Size() / 3);

  TQuickIni back;
  back.LoadFromZip(dir_ / "skin.dat");
  EXPECT_EQ(back.IniFile(), ini.IniFile());
  EXPECT_EQ(back.ReadInteger(u"SectionNb", u"KeyY", 0), 3924);
}

TEST_F(IniFiles, MissingOrDamagedFiles) {
  TQuickIni ini;
  EXPECT_THROW(ini.LoadFromFile(dir_ / "absent.ini"), EFOpenError);
  EXPECT_THROW(ini.LoadFromZip(dir_ / "absent.dat"), EFOpenError);
  TMemoryStream bad(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
  bad.SaveToFile(dir_ / "huge.dat");
  EXPECT_THROW(ini.LoadFromZip(dir_ / "huge.dat", 1 << 20), ElzhException);
}

}  // namespace
}  // namespace lbb::skin::testing
