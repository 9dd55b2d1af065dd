// TSkinReader on bad archives: every way the sizes can fail to fit, unknown versions (with
// their message), damaged and truncated blocks. The skin is refused without reading outside
// the data (the sanitizer builds check that) and the reader is left empty.
#include <gtest/gtest.h>

#include <random>

#include "tests/native/skinread/SkinTestUtil.h"

namespace lbb::skin {
namespace {

using namespace lbb::skin::testing;

const Bytes kData = {'a', 'b', 'c', 'x', 'y'};

// Loads `plain` into a reader that held a good skin, expecting a refusal that empties it.
void ExpectRefused(const Bytes& plain, const char* what) {
  TSkinReader r;
  ASSERT_TRUE(Load(r, RawArchive(20000, "a\r\n", {1}, kData, 0)));
  EXPECT_FALSE(Load(r, plain)) << what;
  EXPECT_EQ(r.Num, 0) << what;
  EXPECT_TRUE(r.Dir.empty()) << what;
  EXPECT_EQ(r.ms.Size(), 0) << what;
  EXPECT_FALSE(r.LastError().empty()) << what;
}

TEST(SkinReaderDamage, SizesThatDoNotFitAreRefused) {
  ExpectRefused(Bytes(10, 0), "shorter than the header");
  ExpectRefused(RawArchive(30000, "a\r\n", {1}, kData, 100), "skipped block past the end");
  ExpectRefused(RawArchive(20000, "a\r\n", {1}, kData, 0, 500), "directory past the end");
  Bytes negative = RawArchive(20000, "a\r\n", {1}, kData, 0);
  negative[4] = 0xFF, negative[5] = 0xFF, negative[6] = 0xFF, negative[7] = 0xFF;
  ExpectRefused(negative, "negative directory length");
  ExpectRefused(RawArchive(20000, "a\r\nb\r\n", {1}, {}, 0), "size table past the end");
  ExpectRefused(RawArchive(20000, "a\r\nb\r\n", {1, -1}, kData, 0), "negative size");
  ExpectRefused(RawArchive(20000, "a\r\nb\r\n", {3, 3}, kData, 0), "sizes past the end");
  ExpectRefused(RawArchive(20000, "a\r\nb\r\n", {0x7FFFFFFF, 0x7FFFFFFF}, kData, 0),
                "sizes whose sum overflows 32 bits");
  std::string dir;
  for (int i = 0; i < 1002; ++i)
    dir += "e\r\n";
  ExpectRefused(RawArchive(20000, dir, std::vector<int32_t>(1002, 0), {}, 0), "1002 entries");
}

TEST(SkinReaderDamage, UnknownVersionShowsTheMessageOnce) {
  std::vector<String> shown;
  SetSkinMessageHandler([&](const String& m) { shown.push_back(m); });
  ExpectRefused(RawArchive(10000, "a\r\n", {1}, kData, 0), "version 10000");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], u"This is Older Skin File\rPlease update to new version !");
  ExpectRefused(RawArchive(20000, "a\r\n", {9}, kData, 0), "damage is not a version problem");
  EXPECT_EQ(shown.size(), 1u);
  SetSkinMessageHandler(nullptr);
}

TEST(SkinReaderDamage, DamagedBlocksAreRefused) {
  TSkinReader r;
  TMemoryStream empty;
  EXPECT_FALSE(r.Loadfromstream(empty));
  TMemoryStream tiny(Bytes{1, 0});
  EXPECT_FALSE(r.Loadfromstream(tiny));
  TMemoryStream negative(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3});
  EXPECT_FALSE(r.Loadfromstream(negative));
  TMemoryStream huge(Bytes{0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
  EXPECT_FALSE(r.Loadfromstream(huge));
  const Bytes plain = WriteSkinArchive(70000, {{u"a.bmp", Bytes(3000, 'q')}, {u"s.ini", {'x'}}});
  const Bytes block = Pack(plain).Bytes();
  TMemoryStream half(Bytes(block.begin(), block.begin() + block.size() / 2));
  EXPECT_FALSE(r.Loadfromstream(half));
  EXPECT_NE(r.LastError().find("damaged"), std::string::npos);
}

TEST(SkinReaderDamage, EveryTruncationAndRandomDamageIsSafe) {
  const Bytes plain = WriteSkinArchive(
      70000, {{u"a.bmp", Bytes(300, 'q')}, {u"b.bmp", {1, 2, 3}}, {u"s.ini", {'[', 'x', ']'}}});
  // Truncated unpacked archives: refused (every cut loses part of the last entry at least).
  for (size_t n = 0; n < plain.size(); ++n) {
    TSkinReader r;
    EXPECT_FALSE(Load(r, Bytes(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(n))))
        << n;
  }
  // Random bytes changed anywhere in the unpacked archive or the block: whatever the result,
  // every entry the reader accepts lies inside its data.
  std::mt19937 rng(5);
  const Bytes block = Pack(plain).Bytes();
  for (int round = 0; round < 300; ++round) {
    Bytes p = plain, b = block;
    for (int k = 0; k < 3; ++k) {
      p[rng() % p.size()] = static_cast<uint8_t>(rng());
      b[4 + rng() % (b.size() - 4)] = static_cast<uint8_t>(rng());  // keep the size field
    }
    TSkinReader r1, r2;
    TMemoryStream s(b);
    for (TSkinReader* r : {&r1, &r2}) {
      if (r == &r1 ? !Load(*r, p) : !r->Loadfromstream(s)) continue;
      int64_t end = 0;
      for (int i = 0; i < r->Num; ++i)
        end = std::max(end, r->EntryOffset(i) + r->sizes[i]);
      EXPECT_LE(end, r->ms.Size());
    }
  }
}

}  // namespace
}  // namespace lbb::skin
