// The decoder on blocks that are cut short, damaged or announce odd sizes: it writes the
// announced size (at most 59 bytes more), refuses sizes above the caller's limit, and never
// leaves its buffers (the sanitizer build checks the last part).
#include <gtest/gtest.h>

#include <string>

#include "tests/native/codec/CodecHelpers.h"

namespace lbb::skin::testing {
namespace {

void SetSize(Bytes& block, int32_t size) {
  const auto u = static_cast<uint32_t>(size);
  for (int i = 0; i < 4; ++i)
    block[static_cast<size_t>(i)] = static_cast<uint8_t>(u >> (8 * i));
}

TEST(LzhDamage, TruncatedBlockYieldsTheAnnouncedSizeAndSaysSo) {
  const Bytes data = samples::EnglishText(20000, 3);
  Bytes block = Pack(data);
  TLzhBlockInfo info;
  EXPECT_EQ(Unpack(block, &info), data);
  EXPECT_FALSE(info.InputTruncated);

  block.resize(block.size() / 2);
  const Bytes out = Unpack(block, &info);
  EXPECT_TRUE(info.InputTruncated);
  EXPECT_EQ(info.AnnouncedSize, 20000);
  EXPECT_EQ(info.Written, static_cast<int64_t>(out.size()));
  EXPECT_GE(out.size(), data.size());
  EXPECT_LE(out.size(), data.size() + 59);
  // What was there before the cut still decodes to the same bytes.
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 1000, data.begin()));
}

TEST(LzhDamage, SizeFieldOnlyWithLargeSizeDecodesZerosToGarbage) {
  Bytes block{0, 0, 0, 0};
  SetSize(block, 5000);
  TLzhBlockInfo info;
  const Bytes out = Unpack(block, &info);
  EXPECT_GE(out.size(), 5000u);
  EXPECT_LE(out.size(), 5059u);
  EXPECT_TRUE(info.InputTruncated);
}

TEST(LzhDamage, ZeroAndNegativeSizesWriteNothing) {
  for (int32_t size : {0, -1, INT32_MIN}) {
    Bytes block = Pack(samples::EnglishText(500, 9));
    SetSize(block, size);
    TLzhBlockInfo info;
    EXPECT_TRUE(Unpack(block, &info).empty()) << size;
    EXPECT_EQ(info.AnnouncedSize, size);
    EXPECT_EQ(info.Written, 0);
  }
}

TEST(LzhDamage, SizeAboveTheCallersLimitIsRefusedBeforeWriting) {
  Bytes block = Pack(samples::EnglishText(500, 9));
  SetSize(block, INT32_MAX);
  TMemoryStream in(block), out;
  try {
    DecompressBlock(in, out, 1 << 20);
    FAIL() << "no error";
  } catch (const ElzhException& e) {
    EXPECT_NE(std::string(e.what()).find("2147483647"), std::string::npos) << e.what();
  }
  EXPECT_EQ(out.Size(), 0);
  // Exactly at the limit is fine.
  EXPECT_EQ(Unpack(Pack(Repeat(100, 7)), nullptr, 100), Repeat(100, 7));
}

TEST(LzhDamage, BlockShorterThanItsSizeFieldIsAnError) {
  for (size_t n = 0; n < 4; ++n) {
    TMemoryStream in(Bytes(n, 1)), out;
    EXPECT_THROW(DecompressBlock(in, out), ElzhException) << n;
  }
}

TEST(LzhDamage, RandomBitFlipsNeverBreakTheDecoder) {
  const Bytes data = Concat({samples::EnglishText(6000, 1), samples::Bitmap24(40, 30)});
  const Bytes good = Pack(data);
  uint32_t s = 0x9E3779B9;
  auto next = [&s] {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
  };
  for (int trial = 0; trial < 300; ++trial) {
    Bytes block = good;
    const int flips = 1 + static_cast<int>(next() % 8);
    for (int f = 0; f < flips; ++f) {
      const size_t bit = 32 + next() % ((block.size() - 4) * 8);  // keep the size field
      block[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
    }
    if (trial % 3 == 0) block.resize(4 + next() % (block.size() - 4));
    TLzhBlockInfo info;
    const Bytes out = Unpack(block, &info);
    ASSERT_GE(out.size(), data.size()) << "trial " << trial;
    ASSERT_LE(out.size(), data.size() + 59) << "trial " << trial;
  }
}

TEST(LzhDamage, RandomBytesAsBitStream) {
  for (uint32_t seed = 1; seed <= 50; ++seed) {
    Bytes block = samples::RandomBytes(64 + seed * 13, seed);
    SetSize(block, static_cast<int32_t>(seed * 997));
    const Bytes out = Unpack(block);
    ASSERT_GE(out.size(), seed * 997);
    ASSERT_LE(out.size(), seed * 997 + 59);
  }
}

}  // namespace
}  // namespace lbb::skin::testing
