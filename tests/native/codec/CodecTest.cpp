// Round trips, exact encoder output and the decoder's behaviour on damaged blocks.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/native/codec/CodecHelpers.h"

namespace lbb::skin::testing {
namespace {

Bytes Str(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

// The symbols a decoder sees in a block, as (symbol, position code) pairs.
std::vector<std::pair<int, int>> Trace(const Bytes& block) {
  std::vector<std::pair<int, int>> symbols;
  TLZH lzh;
  lzh.OnSymbol = [&](int s, int p) { symbols.emplace_back(s, p); };
  DecodeWith(lzh, block);
  return symbols;
}

// Worked out from the starting tree: node k (k < 626) has parent 314 + k / 2 and the code of a
// symbol is the parity of each node on its path, read from below the root down to the leaf.
//  'a' (node 97): 625 623 619 611 594 561 495 362 97 -> 1111 0110 1 (9 bits).
//  The update for 'a' moves leaf 'a' to node 313 (it swaps with the last leaf of count 1);
//  no inner node changes order (each incremented count stays below its right neighbour's).
//  Length 4 (symbol 257, node 257): 625 622 616 604 581 535 442 257 -> 1000 1101.
//  Position code 0: prefix 000, then six zero bits.
TEST(LzhKnownAnswer, EncoderWritesTheExactLzhufBits) {
  EXPECT_EQ(Pack(Str("a")), (Bytes{1, 0, 0, 0, 0xF6, 0x80}));
  // "aaaaa": literal 'a', then a match of 4 at distance 1:
  // 111101101 10001101 000 000000 -> F6 C6 80 00.
  EXPECT_EQ(Pack(Str("aaaaa")), (Bytes{5, 0, 0, 0, 0xF6, 0xC6, 0x80, 0x00}));
  // "abcabc": 'b' (node 98) 111101110, then 'b' moves to node 312; 'c' (node 99) 111101111,
  // then 'c' moves to node 311 (count 1 -> 2, parent 469 from 2 to 3 below 470's 4); length 3
  // (symbol 256, node 256) 10001100; distance 3 is position code 2: 000 000010.
  EXPECT_EQ(Pack(Str("abcabc")), (Bytes{6, 0, 0, 0, 0xF6, 0xFB, 0xBD, 0xF1, 0x80, 0x20}));
}

TEST(LzhKnownAnswer, DecoderReadsHandWrittenBlocks) {
  EXPECT_EQ(Unpack(Bytes{5, 0, 0, 0, 0xF6, 0xC6, 0x80, 0x00}), Str("aaaaa"));
  EXPECT_EQ(Unpack(Bytes{6, 0, 0, 0, 0xF6, 0xFB, 0xBD, 0xF1, 0x80, 0x20}), Str("abcabc"));
}

TEST(LzhRoundTrip, EmptyInputIsTheSizeFieldAlone) {
  const Bytes block = Pack({});
  EXPECT_EQ(block, (Bytes{0, 0, 0, 0}));
  EXPECT_TRUE(Unpack(block).empty());
}

TEST(LzhRoundTrip, SingleBytesOfEveryValue) {
  for (int b = 0; b < 256; ++b) {
    const Bytes one{static_cast<uint8_t>(b)};
    EXPECT_EQ(Unpack(Pack(one)), one) << "byte " << b;
  }
}

TEST(LzhRoundTrip, RunIsOneLiteralThenOverlappingFullMatches) {
  const Bytes run = Repeat(1 + 60 * 50, 'Q');
  const Bytes block = Pack(run);
  EXPECT_EQ(Unpack(block), run);
  const auto symbols = Trace(block);
  ASSERT_EQ(symbols.size(), 51u);
  EXPECT_EQ(symbols[0], std::make_pair(int{'Q'}, -1));
  for (size_t i = 1; i < symbols.size(); ++i)
    EXPECT_EQ(symbols[i], std::make_pair(313, 0)) << "symbol " << i;  // length 60, distance 1
}

TEST(LzhRoundTrip, LongInputWithRunsAcrossTheRing) {
  using samples::EnglishText;
  const Bytes data =
      Concat({Repeat(5000, 0), EnglishText(3000, 7), Repeat(4097, 0xFF),
              samples::RandomBytes(700, 3), Repeat(9000, ' '), EnglishText(5000, 8)});
  EXPECT_EQ(Unpack(Pack(data)), data);
}

TEST(LzhRoundTrip, MatchesAtEveryDistanceBand) {
  // Repeats at distances across the whole ring reach every upper six-bit position value.
  Bytes data = samples::RandomBytes(4096, 11);
  for (int d = 1; d < 4096; d += 37) {
    const size_t from = data.size() - static_cast<size_t>(d);
    for (int k = 0; k < 12; ++k)
      data.push_back(data[from + k]);
  }
  const Bytes block = Pack(data);
  EXPECT_EQ(Unpack(block), data);
  std::vector<bool> upper(64, false);
  for (const auto& [s, p] : Trace(block))
    if (s >= 256) upper[static_cast<size_t>(p) >> 6] = true;
  for (int u = 0; u < 64; ++u)
    EXPECT_TRUE(upper[u]) << "no match with upper position bits " << u;
}

TEST(LzhRoundTrip, RandomBytes) {
  const Bytes data = samples::RandomBytes(200000, 99);
  const Bytes block = Pack(data);
  EXPECT_EQ(Unpack(block), data);
  EXPECT_LT(block.size(), data.size() * 113 / 100);  // literals cost at most ~9 bits
}

TEST(LzhRoundTrip, OneMebibyteOfText) {
  const Bytes data = samples::EnglishText(1 << 20, 2024);
  const Bytes block = Pack(data);
  EXPECT_EQ(Unpack(block), data);
  EXPECT_LT(block.size(), data.size() / 2);
}

TEST(LzhRoundTrip, Bitmap) {
  const Bytes data = samples::Bitmap24(320, 240);
  const Bytes block = Pack(data);
  EXPECT_EQ(Unpack(block), data);
  EXPECT_LT(block.size(), data.size() / 4);
}

TEST(LzhTree, RebuildsAtTheRootLimitWithEncoderAndDecoderInStep) {
  // The root count starts at 314 and grows by one per symbol; it reaches 0x8000 after
  // 32,454 symbols, so the update of symbol 32,455 rebuilds the tree first.
  const Bytes data = samples::RandomBytes(150000, 5);
  TLZH encoder;
  int32_t consumed = 0;
  const Bytes bits = EncodeWith(encoder, data, consumed);
  EXPECT_EQ(consumed, static_cast<int32_t>(data.size()));
  EXPECT_EQ(encoder.textsize, data.size());
  EXPECT_EQ(encoder.codesize, bits.size());
  const Bytes block = Pack(data);
  EXPECT_EQ(Bytes(block.begin() + 4, block.end()), bits);

  TLZH decoder;
  int symbols = 0, firstRebuildAt = 0;
  decoder.OnSymbol = [&](int, int) {
    ++symbols;
    if (firstRebuildAt == 0 && decoder.Rebuilds() > 0) firstRebuildAt = symbols;
  };
  EXPECT_EQ(DecodeWith(decoder, block), data);
  EXPECT_EQ(firstRebuildAt, 32455);
  EXPECT_GE(decoder.Rebuilds(), 3);
  EXPECT_EQ(decoder.Rebuilds(), encoder.Rebuilds());
  EXPECT_FALSE(decoder.InputTruncated());
}

TEST(LzhCallbacks, ChunkedReadsGiveTheSameBlock) {
  const Bytes data = samples::EnglishText(5000, 1);
  size_t at = 0;
  Bytes block;
  TLZH lzh;
  int32_t consumed = 0;
  lzh.LZHPack(
      consumed,
      [&](uint8_t* d, uint16_t n, uint16_t& got) {  // at most 7 bytes per call
        got = static_cast<uint16_t>(std::min<size_t>({n, 7, data.size() - at}));
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), got, d);
        at += got;
      },
      [&](const uint8_t* d, uint16_t n, uint16_t& put) {
        block.insert(block.end(), d, d + n);
        put = n;
      });
  EXPECT_EQ(consumed, 5000);
  const Bytes whole = Pack(data);
  EXPECT_EQ(block, Bytes(whole.begin() + 4, whole.end()));
}

// The block helper decodes memory to memory without the callbacks: whole, cut short and
// damaged blocks give the same bytes, truncation and input position as the callback path.
TEST(LzhCallbacks, MemoryPathGivesWhatTheCallbacksGive) {
  const Bytes text = Pack(samples::EnglishText(20000, 9));
  Bytes cut(text.begin(), text.begin() + static_cast<long>(text.size() / 2));
  Bytes damaged = text;
  for (size_t i = 40; i < damaged.size(); i += 97)
    damaged[i] ^= 0x5A;
  for (const Bytes& block : {text, cut, damaged, Pack(Bytes{}), Pack(samples::Bitmap24(40, 30))}) {
    TMemoryStream source(block), viaMemory;
    const TLzhBlockInfo info = DecompressBlock(source, viaMemory);
    TLZH lzh;
    TMemoryStream in(block);
    in.SetPosition(4);
    const Bytes viaCallbacks = DecodeFrom(lzh, in, info.AnnouncedSize);
    EXPECT_EQ(viaMemory.Bytes(), viaCallbacks);
    EXPECT_EQ(info.InputTruncated, lzh.InputTruncated());
    EXPECT_EQ(source.Position(), in.Position());
    EXPECT_EQ(info.Written, static_cast<int64_t>(viaCallbacks.size()));
  }
  EXPECT_EQ(Unpack(text), samples::EnglishText(20000, 9));
}

TEST(LzhCallbacks, ExceptionFromTheWriterPassesThrough) {
  const Bytes block = Pack(samples::EnglishText(3000, 4));
  TLZH lzh;
  TMemoryStream in(block);
  in.SetPosition(4);
  lzh.StreamIn = &in;
  int written = 0;
  const TPutBytesProc failing = [&](const uint8_t*, uint16_t, uint16_t&) {
    if (++written == 100) throw std::runtime_error("disk full");
  };
  EXPECT_THROW(
      lzh.LZHUnpack(
          3000, [&](uint8_t* d, uint16_t n, uint16_t& g) { lzh.GetBlockStream(d, n, g); }, failing),
      std::runtime_error);
  EXPECT_EQ(written, 100);
}

}  // namespace
}  // namespace lbb::skin::testing
