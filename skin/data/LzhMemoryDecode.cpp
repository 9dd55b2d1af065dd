// The memory-to-memory decoder of TLZH: the bits are read from a 64-bit word refilled in
// bulk, and the output itself serves as the ring (no copy through the ring buffer).
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "skin/data/LzhTables.h"
#include "skin/data/WinConvert.h"

namespace lbb::skin {

using lzh_detail::kPos;

size_t TLZH::DecodeMemory(int32_t TextSize, const uint8_t* in, size_t length, TMemoryStream& out) {
  ResetState();
  if (TextSize <= 0) return 0;
  // Straight into the stream's bytes when it appends (the usual case).
  const size_t room = static_cast<size_t>(TextSize) + kDecodeSlack;
  std::vector<uint8_t>& bytes = out.Bytes();
  const auto at = static_cast<size_t>(out.Position());
  if (at != bytes.size()) {
    std::vector<uint8_t> scratch(room);
    out.Write(scratch.data(), DecodeBuffer(TextSize, in, length, scratch.data()));
    return input_read_;
  }
  bytes.resize(at + room);
  size_t written = 0;
  try {
    written = DecodeBuffer(TextSize, in, length, bytes.data() + at);
  } catch (...) {
    bytes.resize(at);
    throw;
  }
  bytes.resize(at + written);
  out.SetPosition(static_cast<int64_t>(at + written));
  return input_read_;
}

// ---- Bit input and match copies ----

// Input bits of the memory decoder: the next bits left-aligned in a 64-bit word, refilled
// with one 8-byte load while at least 8 input bytes remain. Past the end of the input it reads
// zero bytes, as the callback path does.
class TLZH::BitReader {
 public:
  BitReader(const uint8_t* in, size_t length) : begin_(in), p_(in), end_(in + length) {}

  // Makes at least 56 bits available. The fast path may leave bits of the next byte below
  // the valid ones; the next load ORs the same bits into the same place.
  void Refill() {
    if (end_ - p_ >= 8) {
      bits_ |= LoadBigEndian() >> count_;
      p_ += (63 - count_) >> 3;
      count_ |= 56;
      return;
    }
    while (count_ <= 56) {
      uint64_t b = 0;
      if (p_ != end_) {
        b = *p_++;
      } else {
        ++missing_;
      }
      bits_ |= b << (56 - count_);
      count_ += 8;
    }
  }
  uint64_t Bits() const { return bits_; }
  int Count() const { return count_; }
  void Consume(int n) {
    bits_ <<= n;
    count_ -= n;
  }
  // Bits taken so far, including zero bits read past the end.
  uint64_t Consumed() const {
    return (static_cast<uint64_t>(p_ - begin_) + missing_) * 8 - static_cast<uint64_t>(count_);
  }

 private:
  uint64_t LoadBigEndian() const {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
      v = (v << 8) | p_[i];
    return v;
  }

  const uint8_t* begin_;
  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t bits_ = 0;
  int count_ = 0;
  uint64_t missing_ = 0;
};

namespace {

// Copies a match of `length` bytes from `distance` bytes back in the output; the source may
// overlap the bytes it produces. Whole 8-byte words are stored, the last up to 7 bytes past
// the end. With a distance of 8 or more each word reads bytes already written; a shorter
// distance repeats a pattern of `distance` bytes, which is spread over a word and stored at a
// step that keeps it in phase (a multiple of the distance).
inline void CopyMatch(uint8_t* dst, int distance, int length) {
  const uint8_t* src = dst - distance;
  if (distance >= 8) {
    for (int k = 0; k < length; k += 8)
      std::memcpy(dst + k, src + k, 8);
    return;
  }
  static constexpr int kStep[8] = {0, 8, 8, 6, 8, 5, 6, 7};
  uint8_t pattern[8];
  for (int i = 0; i < 8; ++i)
    pattern[i] = i < distance ? src[i] : pattern[i - distance];
  for (int k = 0; k < length; k += kStep[distance])
    std::memcpy(dst + k, pattern, 8);
}

}  // namespace

// The memory decoder keeps no ring: the output itself is the history. A match that reaches
// back before the first output byte reads the ring's starting content: N - F spaces, and
// zeros before them (only a damaged block gets there).
void TLZH::CopyFromStart(uint8_t* out, int64_t count, int distance, int length) {
  for (int k = 0; k < length; ++k) {
    const int64_t from = count + k - distance;
    out[count + k] = from >= 0 ? out[from] : from >= -(N - F) ? FILL : 0;
  }
}

// Walks the tree from the root by the next bits, keeping the nodes it passes for the update.
// A code longer than kPathMax bits (deeper than any tree of counts below 0x8000) goes on bit
// by bit with the general update.
int TLZH::DecodeSymbolFrom(BitReader& bits) {
  // Node numbers are read unsigned (no entry is negative), so that one load leads to the next
  // without a sign extension between them.
  const auto* son = reinterpret_cast<const uint16_t*>(t_->son);
  int16_t path[kPathMax];
  uint64_t word = bits.Bits();
  size_t c = son[R];
  int depth = 0;
  while (c < T && depth < kPathMax) {
    const size_t node = c + (word >> 63);
    path[depth++] = static_cast<int16_t>(node);
    c = son[node];
    word <<= 1;
  }
  bits.Consume(depth);
  if (c < T) {
    while (c < T) {
      bits.Refill();
      c = son[c + (bits.Bits() >> 63)];
      bits.Consume(1);
    }
    UpdateTree(static_cast<int>(c) - T);
    return static_cast<int>(c) - T;
  }
  UpdatePath(static_cast<int>(c) - T, path, depth);
  return static_cast<int>(c) - T;
}

// Decodes symbols into out[count..] until `count` reaches `stop`; returns the new count (up to
// F - 1 past `stop` when the last symbol is a match). out[0] is the first byte of the block's
// output, unless `count` starts at N or more (a window with N bytes of history in front).
int64_t TLZH::DecodeSymbols(BitReader& bits, uint8_t* out, int64_t count, int64_t stop) {
  while (count < stop) {
    bits.Refill();
    const int c = DecodeSymbolFrom(bits);
    if (c < 256) {
      if (OnSymbol) OnSymbol(c, -1);
      out[count++] = static_cast<uint8_t>(c);
      continue;
    }
    // The position: a prefix code of 3..8 bits for the upper six bits, then six plain bits.
    if (bits.Count() < 14) bits.Refill();
    const unsigned top = static_cast<unsigned>(bits.Bits() >> 56);
    const int codeLength = kPos.d_len[top];
    const int position =
        kPos.d_code[top] << 6 | static_cast<int>((bits.Bits() >> (58 - codeLength)) & 0x3F);
    bits.Consume(codeLength + 6);
    if (OnSymbol) OnSymbol(c, position);
    const int matchLength = c - (255 - THRESHOLD);
    if (count > position) {
      CopyMatch(out + count, position + 1, matchLength);
    } else {
      CopyFromStart(out, count, position + 1, matchLength);
    }
    count += matchLength;
  }
  return count;
}

// Runs `decode` between the table setup and the final count of the input read.
template <typename Decode>
void TLZH::RunMemoryDecode(const uint8_t* in, size_t length, Decode&& decode) {
  const TableScope tables = OpenTables();
  BitReader bits(in, length);
  decode(bits);
  consumed_bits_ = bits.Consumed();
  CountClassicReads(length);
}

size_t TLZH::DecodeBuffer(int32_t TextSize, const uint8_t* in, size_t length, uint8_t* out) {
  ResetState();
  if (TextSize <= 0) return 0;
  int64_t count = 0;
  RunMemoryDecode(in, length,
                  [&](BitReader& bits) { count = DecodeSymbols(bits, out, 0, TextSize); });
  return static_cast<size_t>(count);
}

// The output goes through a window of kChunkHistory + chunk bytes: each time it is full its
// new bytes go to `sink` and its last kChunkHistory bytes move to its front, where the
// matches that follow find them.
void TLZH::DecodeChunks(int32_t TextSize, const uint8_t* in, size_t length, const TChunkSink& sink,
                        size_t chunk) {
  ResetState();
  if (TextSize <= 0) return;
  const auto window = static_cast<int64_t>(std::max<size_t>(chunk, N)) + kChunkHistory;
  const auto buffer =
      std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(window) + kDecodeSlack);
  uint8_t* out = buffer.get();
  RunMemoryDecode(in, length, [&](BitReader& bits) {
    int64_t done = 0, at = 0;  // bytes decoded; their end in the window
    while (done < TextSize) {
      const int64_t end = DecodeSymbols(bits, out, at, std::min(window, at + TextSize - done));
      const int64_t from = done == 0 ? 0 : kChunkHistory;
      done += end - at;
      sink(out + from, static_cast<size_t>(end - from));
      if (done < TextSize) std::memmove(out, out + end - kChunkHistory, kChunkHistory);
      at = kChunkHistory;
    }
  });
}

// The callback decoder reads a byte whenever 8 or fewer bits are left before a read, and its
// last read is always one bit (a symbol code ends with one, a position ends with its plain
// bits): after B bits it has asked for ceil(B / 8) + 1 bytes. The memory decoder reports the
// same count, and the same truncation, so both paths leave their input at the same place.
void TLZH::CountClassicReads(size_t length) {
  const uint64_t asked = consumed_bits_ == 0 ? 0 : (consumed_bits_ + 7) / 8 + 1;
  const uint64_t got = std::min<uint64_t>(asked, length);
  missing_bytes_ = static_cast<int64_t>(asked - got);
  getlen_ = static_cast<int>(asked * 8 - consumed_bits_);
  input_read_ = static_cast<size_t>(got);
}

}  // namespace lbb::skin
