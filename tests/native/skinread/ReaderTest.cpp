// TSkinReader on well-formed archives: versions and skipped blocks, directory line breaks,
// lower-cased names, entry lookup, and the archive writer.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/native/skinread/SkinTestUtil.h"

namespace lbb::skin {
namespace {

using namespace lbb::skin::testing;

const Bytes kData = {'a', 'b', 'c', 'x', 'y', '[', 'S', ']'};

TEST(SkinReader, EveryKnownVersionSkipsItsBlock) {
  const std::pair<int32_t, int> versions[] = {{20000, 0},  {30000, 256}, {40000, 80},
                                              {50000, 48}, {60000, 117}, {70000, 69}};
  for (const auto& [version, skip] : versions) {
    EXPECT_EQ(SkinSkipLength(version), skip);
    TSkinReader r;
    ASSERT_TRUE(
        Load(r, RawArchive(version, "one.bmp\r\ntwo.bmp\r\nskin.ini\r\n", {3, 2, 3}, kData, skip)))
        << version << ": " << r.LastError();
    EXPECT_EQ(r.header.Version, version);
    EXPECT_EQ(r.header.U1, 7);
    EXPECT_EQ(r.Num, 3);
    EXPECT_EQ(Entry(r, u"one.bmp"), "abc");
    EXPECT_EQ(Entry(r, u"two.bmp"), "xy");
    EXPECT_EQ(Entry(r, u"skin.ini"), "[S]");
  }
  // The writer puts the same block lengths in.
  for (const auto& [version, skip] : versions) {
    const Bytes plain = WriteSkinArchive(version, {{u"A.bmp", {1, 2}}});
    EXPECT_EQ(plain.size(), 16u + skip + 7 + 4 + 2) << version;
  }
  EXPECT_EQ(SkinSkipLength(10000), -1);
  EXPECT_EQ(SkinSkipLength(70001), -1);
}

TEST(SkinReader, DirectoryLineBreaksAndCase) {
  struct Case {
    std::string dir;
    std::vector<std::u16string> names;
  };
  const Case cases[] = {
      {"A.bmp\r\nb.BMP\r\nc.ini\r\n", {u"a.bmp", u"b.bmp", u"c.ini"}},
      {"A.bmp\rb.BMP\rc.ini", {u"a.bmp", u"b.bmp", u"c.ini"}},
      {"A.bmp\nb.BMP\nc.ini\n", {u"a.bmp", u"b.bmp", u"c.ini"}},
      {"A.bmp\n\rb.BMP\r\rc.ini", {u"a.bmp", u"", u"b.bmp", u"", u"c.ini"}},
      {"A.bmp\r\n\r\nc.ini", {u"a.bmp", u"", u"c.ini"}},
  };
  for (const Case& c : cases) {
    TSkinReader r;
    std::vector<int32_t> sizes(c.names.size(), 1);
    ASSERT_TRUE(Load(r, RawArchive(20000, c.dir, sizes, Bytes(sizes.size(), 'z'), 0)));
    EXPECT_EQ(r.Dir, c.names);
    EXPECT_EQ(r.Num, static_cast<int>(c.names.size()));
  }
  TSkinReader r;
  ASSERT_TRUE(Load(r, RawArchive(20000, "Buttons.BMP\r\n", {3}, kData, 0)));
  EXPECT_EQ(r.Dir[0], u"buttons.bmp");
  EXPECT_EQ(r.StoredNames[0], u"Buttons.BMP");
  EXPECT_EQ(Entry(r, u"BUTTONS.bmp"), "abc");
  // Windows-1252 names widen: 0xE9 is e-acute, 0x80 the euro sign.
  ASSERT_TRUE(Load(r, RawArchive(20000, "caf\xE9\x80.bmp\r\n", {1}, kData, 0)));
  EXPECT_EQ(r.Dir[0], u"caf\u00E9\u20AC.bmp");
}

TEST(SkinReader, LookupsClearRewindAndReportNames) {
  TSkinReader r;
  ASSERT_TRUE(
      Load(r, RawArchive(70000, "one.bmp\r\nmy.ini\r\nzero.bmp\r\n", {3, 2, 0}, kData, 69)));
  TMemoryStream s(Bytes{9, 9, 9, 9, 9, 9, 9});
  r.readfile(u"missing.bmp", s);
  EXPECT_EQ(s.Size(), 0);
  r.readfile(u"zero.bmp", s);
  EXPECT_EQ(s.Size(), 0);
  r.readfile(u"one.bmp", s);
  EXPECT_EQ(s.Position(), 0);
  EXPECT_EQ(s.Size(), 3);
  String name = u"old";
  r.readIni(u".ini", s, name);
  EXPECT_EQ(name, u"my.ini");
  EXPECT_EQ(std::string(s.Bytes().begin(), s.Bytes().end()), "xy");
  r.readIni(u".png", s, name);
  EXPECT_EQ(name, u"");
  EXPECT_EQ(s.Size(), 0);
  r.readIni(u"e.b", s, name);  // "contains", not "ends with": the first match wins
  EXPECT_EQ(name, u"one.bmp");
  // Trailing bytes after the last entry are kept but belong to no entry.
  ASSERT_TRUE(Load(r, RawArchive(20000, "a\r\n", {2}, kData, 0)));
  EXPECT_EQ(Entry(r, u"a"), "ab");
  EXPECT_EQ(r.ms.Size(), static_cast<int64_t>(kData.size()));
}

TEST(SkinReader, ReadsFromTheStartWhateverThePosition) {
  TMemoryStream block = Pack(RawArchive(20000, "a\r\n", {3}, kData, 0));
  block.SetPosition(block.Size());
  TSkinReader r;
  EXPECT_TRUE(r.Loadfromstream(block));
  EXPECT_EQ(Entry(r, u"a"), "abc");
}

TEST(SkinReader, LoadsFilesAndRefusesMissingOnesQuietly) {
  int messages = 0;
  SetSkinMessageHandler([&](const String&) { ++messages; });
  const std::filesystem::path path = "skinread_file_test.skn";
  Pack(RawArchive(20000, "a\r\n", {3}, kData, 0)).SaveToFile(path);
  TSkinReader r;
  EXPECT_TRUE(r.loadfromfile(path));
  EXPECT_EQ(Entry(r, u"a"), "abc");
  EXPECT_FALSE(r.loadfromfile("no_such_skin_file.skn"));
  EXPECT_EQ(r.Num, 0);
  EXPECT_EQ(messages, 0);
  SetSkinMessageHandler(nullptr);
}

TEST(SkinWriter, WritesWhatTheReaderReadsAndRefusesBadEntries) {
  std::vector<TSkinEntry> entries = {
      {u"Top.bmp", {1, 2, 3}}, {u"Empty.bmp", {}}, {u"s.ini", {'k'}}};
  TMemoryStream block(PackSkin(70000, entries));
  TSkinReader r;
  ASSERT_TRUE(r.Loadfromstream(block));
  EXPECT_EQ(r.header.DirLen, 9 + 11 + 7);
  EXPECT_EQ(r.header.U1, 0);
  EXPECT_EQ(r.StoredNames, (TStrings{u"Top.bmp", u"Empty.bmp", u"s.ini"}));
  EXPECT_EQ(Entry(r, u"top.bmp"), std::string("\1\2\3"));
  EXPECT_EQ(r.sizes[1], 0);
  EXPECT_EQ(r.EntryOffset(2), 3);

  auto refused = [](int32_t version, std::vector<TSkinEntry> e) {
    try {
      WriteSkinArchive(version, e);
    } catch (const std::invalid_argument&) {
      return true;
    }
    return false;
  };
  EXPECT_TRUE(refused(12345, entries));
  EXPECT_TRUE(refused(70000, {{u"", {}}}));
  EXPECT_TRUE(refused(70000, {{u"a\r\nb", {}}}));
  EXPECT_TRUE(refused(70000, {{u"a\nb", {}}}));
  EXPECT_TRUE(refused(70000, {{u"\u4E2D.bmp", {}}}));
  EXPECT_TRUE(refused(70000, {{u"A.bmp", {}}, {u"a.BMP", {}}}));
  EXPECT_TRUE(refused(70000, std::vector<TSkinEntry>(1002, {u"x", {}})));
  std::vector<TSkinEntry> many;
  for (int i = 0; i < kSkinMaxEntries; ++i) {
    const std::string n = std::to_string(i);
    many.push_back({String(n.begin(), n.end()), {static_cast<uint8_t>(i)}});
  }
  TMemoryStream full(PackSkin(20000, many));
  ASSERT_TRUE(r.Loadfromstream(full));
  EXPECT_EQ(r.Num, 1001);
  EXPECT_EQ(Entry(r, u"1000"), std::string(1, static_cast<char>(1000 & 255)));
}

}  // namespace
}  // namespace lbb::skin
