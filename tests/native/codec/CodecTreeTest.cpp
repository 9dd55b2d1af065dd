// The adaptive Huffman tree driven symbol by symbol: deep trees give codes longer than 16
// bits, which must be written and read whole.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "skin/data/WinConvert.h"
#include "tests/native/codec/CodecHelpers.h"
#include "tests/native/codec/SampleData.h"

namespace lbb::skin {

struct TLZHTestAccess {
  static void Start(TLZH& z, const TGetBytesProc* get, const TPutBytesProc* put) {
    z.get_ = get;
    z.put_ = put;
    z.AllocTables();
    z.StartTree();
  }
  static void Encode(TLZH& z, int symbol) { z.EncodeSymbol(symbol); }
  static void EncodePosition(TLZH& z, unsigned position) { z.EncodePosition(position); }
  static void Flush(TLZH& z) { z.FlushBits(); }
  static int Decode(TLZH& z) { return z.DecodeSymbol(); }
  static int CodeLength(TLZH& z) { return z.len_; }
};

namespace {

// An encoder driven symbol by symbol, its bits collected in `bits`.
struct CollectingEncoder {
  samples::Bytes bits;
  const TPutBytesProc put = [this](const uint8_t* d, uint16_t n, uint16_t& p) {
    bits.insert(bits.end(), d, d + n);
    p = n;
  };
  TLZH encoder;
  CollectingEncoder() { TLZHTestAccess::Start(encoder, nullptr, &put); }
};

// Symbols 300..308 with counts in the proportions 1:1:2:3:5:8:13:21:34 build a chain in
// which every step adds one level above the ~300 leaves still counted once: those leaves
// end up about 18 levels deep.
std::vector<int> DeepTreeSymbols() {
  const int fib[9] = {1, 1, 2, 3, 5, 8, 13, 21, 34};
  std::vector<int> symbols;
  const samples::Bytes noise = samples::RandomBytes(60000, 21);
  for (uint8_t b : noise) {
    int r = b % 88, k = 0;
    while (r >= fib[k])
      r -= fib[k++];
    symbols.push_back(300 + k);
  }
  for (int rare : {5, 77, 200, 255, 0, 13})
    symbols.push_back(rare);
  return symbols;
}

TEST(LzhTree, CodesLongerThanSixteenBitsRoundTrip) {
  const std::vector<int> symbols = DeepTreeSymbols();
  CollectingEncoder collecting;
  TLZH& encoder = collecting.encoder;
  const samples::Bytes& bits = collecting.bits;
  int longest = 0;
  for (int s : symbols) {
    TLZHTestAccess::Encode(encoder, s);
    longest = std::max(longest, TLZHTestAccess::CodeLength(encoder));
  }
  TLZHTestAccess::Flush(encoder);
  EXPECT_GT(longest, 16);
  EXPECT_EQ(encoder.LongestCode(), longest);
  EXPECT_GE(encoder.Rebuilds(), 1);

  size_t at = 0;
  const TGetBytesProc get = [&](uint8_t* d, uint16_t, uint16_t& g) {
    g = at < bits.size() ? 1 : 0;
    if (g) *d = bits[at++];
  };
  TLZH decoder;
  TLZHTestAccess::Start(decoder, &get, nullptr);
  for (size_t i = 0; i < symbols.size(); ++i)
    ASSERT_EQ(TLZHTestAccess::Decode(decoder), symbols[i]) << "symbol " << i;
  EXPECT_EQ(decoder.Rebuilds(), encoder.Rebuilds());
}

// The same deep tree through the memory decoder, whose tree walk takes its bits from a word:
// a block of the symbols (each match length followed by a position) decodes to the same
// symbols, and to the same bytes as through the callbacks.
TEST(LzhTree, MemoryDecoderReadsCodesLongerThanSixteenBits) {
  const std::vector<int> symbols = DeepTreeSymbols();
  CollectingEncoder collecting;
  TLZH& encoder = collecting.encoder;
  const samples::Bytes& bits = collecting.bits;
  int32_t size = 0;
  std::vector<std::pair<int, int>> sent;  // (symbol, position code or -1)
  for (size_t i = 0; i < symbols.size(); ++i) {
    TLZHTestAccess::Encode(encoder, symbols[i]);
    if (symbols[i] < 256) {
      sent.emplace_back(symbols[i], -1);
      ++size;
      continue;
    }
    const int position = static_cast<int>(i * 37 % 4096);
    TLZHTestAccess::EncodePosition(encoder, static_cast<unsigned>(position));
    sent.emplace_back(symbols[i], position);
    size += symbols[i] - 253;
  }
  TLZHTestAccess::Flush(encoder);
  ASSERT_GT(encoder.LongestCode(), 16);

  samples::Bytes block{static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                       static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
  block.insert(block.end(), bits.begin(), bits.end());
  TLZH decoder;
  std::vector<std::pair<int, int>> seen;
  decoder.OnSymbol = [&](int s, int p) { seen.emplace_back(s, p); };
  samples::Bytes out(static_cast<size_t>(size) + TLZH::kDecodeSlack);
  out.resize(decoder.DecodeBuffer(size, bits.data(), bits.size(), out.data()));
  EXPECT_EQ(seen, sent);
  EXPECT_FALSE(decoder.InputTruncated());
  EXPECT_EQ(out.size(), static_cast<size_t>(size));

  TLZH viaCallbacks;
  EXPECT_EQ(testing::DecodeWith(viaCallbacks, block), out);
}

}  // namespace
}  // namespace lbb::skin
