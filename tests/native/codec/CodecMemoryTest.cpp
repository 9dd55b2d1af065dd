// The memory-to-memory decoder (DecodeMemory / DecodeBuffer, the path of every skin load and of
// skintool) against hand-built blocks and against the callback decoder, which keeps a real
// ring buffer: matches that reach before the first byte, short overlapping distances, input
// that ends at any byte, and destinations that already hold data.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/native/codec/CodecHelpers.h"

namespace lbb::skin::testing {
namespace {

using Symbols = std::vector<std::pair<int, int>>;

// Decodes `block` with DecodeBuffer, recording the symbols it sees.
Bytes DecodeBufferOf(const Bytes& block, Symbols* symbols = nullptr, bool* truncated = nullptr) {
  const auto size = static_cast<int32_t>(block[0] | block[1] << 8 | block[2] << 16 |
                                         static_cast<uint32_t>(block[3]) << 24);
  TLZH lzh;
  if (symbols) lzh.OnSymbol = [symbols](int s, int p) { symbols->emplace_back(s, p); };
  Bytes out(static_cast<size_t>(std::max(size, 0)) + TLZH::kDecodeSlack);
  out.resize(lzh.DecodeBuffer(size, block.data() + 4, block.size() - 4, out.data()));
  if (truncated) *truncated = lzh.InputTruncated();
  return out;
}

Symbols TraceCallbacks(const Bytes& block) {
  Symbols symbols;
  TLZH lzh;
  lzh.OnSymbol = [&](int s, int p) { symbols.emplace_back(s, p); };
  DecodeWith(lzh, block);
  return symbols;
}

// From the starting tree (node k < 626 has parent 314 + k / 2), symbol 256 (length 3) sits at
// node 256 on the path 625 622 616 604 581 535 442 256: code 1000 1100; symbol 257 (length 4)
// at node 257: 1000 1101. Position 4095 is prefix 0xFF (upper bits 63) and 111111; position
// 4037 is 0xFF and 000101.
//  - Length 3 at distance 4096 from the first byte reads ring[4036..4038]: never written,
//    zeros.
//  - Length 4 at distance 4038 reads ring[4094], ring[4095] (zeros), then ring[0], ring[1]
//    (the starting spaces).
TEST(LzhMemoryDecoder, MatchesBeforeTheFirstByteReadTheStartingRing) {
  const Bytes zeros{3, 0, 0, 0, 0x8C, 0xFF, 0xFC};
  const Bytes mixed{4, 0, 0, 0, 0x8D, 0xFF, 0x14};
  bool truncated = true;
  EXPECT_EQ(DecodeBufferOf(zeros, nullptr, &truncated), (Bytes{0, 0, 0}));
  EXPECT_FALSE(truncated);  // 22 of the 24 bits
  EXPECT_EQ(Unpack(mixed), (Bytes{0, 0, ' ', ' '}));
  TLZH lzh;
  EXPECT_EQ(DecodeWith(lzh, zeros), (Bytes{0, 0, 0}));
  EXPECT_EQ(DecodeWith(lzh, mixed), (Bytes{0, 0, ' ', ' '}));
}

// Ten spaces at the start match the spaces the ring starts with: every string the encoder
// inserted before the first byte is a run of spaces, the nearest (distance 1) is on the search
// path, and the run ends at 'x'. So the block starts with length 10 (symbol 263) at position
// code 0, then the three literals.
TEST(LzhMemoryDecoder, LeadingSpacesComeFromTheStartingRing) {
  const std::string text = "          xyz";
  const Bytes plain(text.begin(), text.end());
  const Bytes block = Pack(plain);
  const Symbols expected{{263, 0}, {'x', -1}, {'y', -1}, {'z', -1}};
  Symbols seen;
  EXPECT_EQ(DecodeBufferOf(block, &seen), plain);
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(TraceCallbacks(block), expected);
  EXPECT_EQ(Unpack(block), plain);
}

// Segments of a random seed of d bytes continued with period d: each is coded as literals and
// then matches at distance d (position code d - 1), which copy bytes they have just written.
TEST(LzhMemoryDecoder, ShortDistancesRepeatTheirPattern) {
  Bytes data;
  for (int d = 1; d <= 20; ++d) {
    const Bytes seed = samples::RandomBytes(static_cast<size_t>(d), 100 + static_cast<uint32_t>(d));
    const size_t start = data.size();
    data.insert(data.end(), seed.begin(), seed.end());
    for (int k = 0; k < 150 + 7 * d; ++k)
      data.push_back(data[data.size() - static_cast<size_t>(d)]);
    ASSERT_EQ(data[start + static_cast<size_t>(d) * 3], seed[0]);
  }
  const Bytes block = Pack(data);
  Symbols seen;
  EXPECT_EQ(DecodeBufferOf(block, &seen), data);
  EXPECT_EQ(seen, TraceCallbacks(block));
  for (int d = 1; d <= 20; ++d) {
    bool found = false;
    for (const auto& [s, p] : seen)
      found = found || (s >= 256 && p == d - 1);
    EXPECT_TRUE(found) << "no match at distance " << d;
  }
}

// The memory decoder against the callback decoder: bytes, truncation and input position.
void ExpectSameAsCallbacks(const Bytes& block, int32_t size, const std::string& what) {
  TMemoryStream source(block), viaMemory;
  const TLzhBlockInfo info = DecompressBlock(source, viaMemory);
  TLZH lzh;
  TMemoryStream in(block);
  in.SetPosition(4);
  EXPECT_EQ(viaMemory.Bytes(), DecodeFrom(lzh, in, size)) << what;
  EXPECT_EQ(info.InputTruncated, lzh.InputTruncated()) << what;
  EXPECT_EQ(source.Position(), in.Position()) << what;
}

// Cut at every length: the bit reader's 8-byte loads give way to single bytes and then to
// zeros. Stopped after every size: the callback decoder has read one byte more than the bits
// it used, which the memory decoder reports as its input position.
TEST(LzhMemoryDecoder, EveryCutAndEveryEndAgreeWithTheCallbacks) {
  const Bytes whole = Pack(samples::EnglishText(3000, 12));
  for (size_t n = 4; n <= 120; ++n) {
    const Bytes block(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    ExpectSameAsCallbacks(block, 3000, "cut at " + std::to_string(n));
  }
  for (int32_t size = 1; size <= 400; ++size) {
    Bytes block = whole;
    for (int i = 0; i < 4; ++i)
      block[static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    ExpectSameAsCallbacks(block, size, "size " + std::to_string(size));
  }
}

// DecodeChunks hands on, piece by piece, exactly what DecodeBuffer writes, whatever the size
// of its window: whole blocks, and a cut one with its garbage and its overrun.
TEST(LzhMemoryDecoder, ChunksAddUpToTheWholeOutput) {
  const Bytes text = samples::EnglishText(50000, 6);
  const Bytes packedText = Pack(text);
  const Bytes cut(packedText.begin(), packedText.begin() + 9000);
  for (const Bytes& block :
       {packedText, Pack(samples::Bitmap24(100, 80)), Pack(samples::RandomBytes(20000, 4)), cut}) {
    bool truncated = false;
    const Bytes whole = DecodeBufferOf(block, nullptr, &truncated);
    const auto size = static_cast<int32_t>(block[0] | block[1] << 8 | block[2] << 16);
    for (size_t chunk : {size_t{1}, size_t{4096}, size_t{5000}, size_t{1} << 20}) {
      Bytes joined;
      int pieces = 0;
      TLZH lzh;
      lzh.DecodeChunks(
          size, block.data() + 4, block.size() - 4,
          [&](const uint8_t* d, size_t n) {
            joined.insert(joined.end(), d, d + n);
            ++pieces;
          },
          chunk);
      EXPECT_EQ(joined, whole) << "chunk " << chunk;
      EXPECT_EQ(lzh.InputTruncated(), truncated) << "chunk " << chunk;
      // A window of at least 4096 new bytes: 20000 or more bytes take several pieces.
      if (chunk <= 5000) {
        EXPECT_GE(pieces, 4) << "chunk " << chunk;
      }
    }
  }
  EXPECT_EQ(DecodeBufferOf(packedText), text);
}

// DecompressBlock writes from position 0: into a destination that holds more bytes, the
// decoded bytes replace the first ones and the rest stays.
TEST(LzhMemoryDecoder, DestinationWithDataKeepsItsTail) {
  const Bytes plain = samples::EnglishText(300, 5);
  const Bytes block = Pack(plain);
  TMemoryStream source(block), dest(Bytes(1000, 0xEE));
  dest.SetPosition(700);
  const TLzhBlockInfo info = DecompressBlock(source, dest);
  EXPECT_EQ(info.Written, 300);
  EXPECT_EQ(dest.Position(), 300);
  ASSERT_EQ(dest.Size(), 1000);
  EXPECT_EQ(Bytes(dest.Bytes().begin(), dest.Bytes().begin() + 300), plain);
  EXPECT_EQ(Bytes(dest.Bytes().begin() + 300, dest.Bytes().end()), Bytes(700, 0xEE));
}

// CompressBlock from memory writes exactly what the callback encoder writes, whole blocks of
// text and of a bitmap.
TEST(LzhMemoryEncoder, SameBitsAsTheCallbackEncoder) {
  for (const Bytes& plain : {samples::EnglishText(100000, 3), samples::Bitmap24(200, 150)}) {
    TMemoryStream viaMemory;
    CompressBlock(plain.data(), plain.size(), viaMemory);
    TLZH lzh;
    int32_t consumed = 0;
    const Bytes bits = EncodeWith(lzh, plain, consumed);
    EXPECT_EQ(consumed, static_cast<int32_t>(plain.size()));
    EXPECT_EQ(Bytes(viaMemory.Bytes().begin() + 4, viaMemory.Bytes().end()), bits);
    EXPECT_EQ(Unpack(viaMemory.Bytes()), plain);
  }
}

}  // namespace
}  // namespace lbb::skin::testing
