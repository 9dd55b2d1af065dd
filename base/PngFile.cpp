#include "base/PngFile.h"

#include <algorithm>
#include <array>
#include <vector>

namespace lbb {

namespace {

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutBig32(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v >> 24));
  out.push_back(static_cast<char>(v >> 16));
  out.push_back(static_cast<char>(v >> 8));
  out.push_back(static_cast<char>(v));
}

void PutChunk(std::string& out, const char type[4], const std::string& data) {
  PutBig32(out, static_cast<uint32_t>(data.size()));
  std::string typed(type, 4);
  typed += data;
  out += typed;
  PutBig32(out, Crc32(typed.data(), typed.size()));
}

// Deflate bits, least significant bit first.
class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}
  void Bits(uint32_t value, int count) {
    acc_ |= static_cast<uint64_t>(value) << fill_;
    fill_ += count;
    while (fill_ >= 8) {
      out_.push_back(static_cast<char>(acc_ & 0xFF));
      acc_ >>= 8;
      fill_ -= 8;
    }
  }
  // A Huffman code, which deflate stores most significant bit first.
  void Code(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i)
      reversed |= ((code >> i) & 1u) << (length - 1 - i);
    Bits(reversed, length);
  }
  void Flush() {
    if (fill_ > 0) out_.push_back(static_cast<char>(acc_ & 0xFF));
    acc_ = 0;
    fill_ = 0;
  }

 private:
  std::string& out_;
  uint64_t acc_ = 0;
  int fill_ = 0;
};

// Literal/length symbol in the fixed Huffman code.
void PutSymbol(BitWriter& w, int symbol) {
  if (symbol < 144) {
    w.Code(0x30 + symbol, 8);
  } else if (symbol < 256) {
    w.Code(0x190 + symbol - 144, 9);
  } else if (symbol < 280) {
    w.Code(symbol - 256, 7);
  } else {
    w.Code(0xC0 + symbol - 280, 8);
  }
}

constexpr int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                               33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                               1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& w, int length, int distance) {
  int l = 28;
  while (kLengthBase[l] > length)
    --l;
  PutSymbol(w, 257 + l);
  w.Bits(static_cast<uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
  int d = 29;
  while (kDistBase[d] > distance)
    --d;
  w.Code(static_cast<uint32_t>(d), 5);
  w.Bits(static_cast<uint32_t>(distance - kDistBase[d]), kDistExtra[d]);
}

// One fixed-Huffman deflate block: greedy LZ77 over a 32 KiB window with hash chains. Screen
// shots and skin sheets are mostly runs and repeated rows, which this packs well enough.
std::string Deflate(const std::string& raw) {
  constexpr int kWindow = 32768, kMaxChain = 48, kMinMatch = 3, kMaxMatch = 258;
  constexpr int kHashBits = 15;
  std::string out;
  BitWriter w(out);
  w.Bits(1, 1);  // final block
  w.Bits(1, 2);  // fixed Huffman codes
  std::vector<int> head(1 << kHashBits, -1), prev(raw.size(), -1);
  const auto* p = reinterpret_cast<const unsigned char*>(raw.data());
  const int n = static_cast<int>(raw.size());
  auto hash = [&](int i) {
    return ((p[i] << 10) ^ (p[i + 1] << 5) ^ p[i + 2]) & ((1 << kHashBits) - 1);
  };
  auto insert = [&](int i) {
    if (i + kMinMatch > n) return;
    const int h = hash(i);
    prev[i] = head[h];
    head[h] = i;
  };
  int i = 0;
  while (i < n) {
    int bestLen = 0, bestDist = 0;
    if (i + kMinMatch <= n) {
      int chain = kMaxChain;
      for (int c = head[hash(i)]; c >= 0 && i - c <= kWindow && chain-- > 0; c = prev[c]) {
        const int limit = std::min(kMaxMatch, n - i);
        int len = 0;
        while (len < limit && p[c + len] == p[i + len])
          ++len;
        if (len > bestLen) {
          bestLen = len;
          bestDist = i - c;
          if (len == limit) break;
        }
      }
    }
    if (bestLen >= kMinMatch) {
      PutMatch(w, bestLen, bestDist);
      for (int k = 0; k < bestLen; ++k)
        insert(i + k);
      i += bestLen;
    } else {
      PutSymbol(w, p[i]);
      insert(i);
      ++i;
    }
  }
  PutSymbol(w, 256);  // end of block
  w.Flush();
  return out;
}

// zlib stream: header, one deflate block, Adler-32 of the raw bytes.
std::string Zlib(const std::string& raw) {
  std::string z = "\x78\x01";
  z += Deflate(raw);
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBig32(z, (b << 16) | a);
  return z;
}

}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
  const auto& t = CrcTable();
  const auto* p = static_cast<const unsigned char*>(data);
  crc = ~crc;
  for (size_t i = 0; i < size; ++i)
    crc = t[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::string EncodePng(const PixelBuffer& image) {
  const int w = image.Empty() ? 0 : image.Width();
  const int h = image.Empty() ? 0 : image.Height();
  std::string out("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  PutBig32(header, static_cast<uint32_t>(w));
  PutBig32(header, static_cast<uint32_t>(h));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, deflate, no filter/interlace
  PutChunk(out, "IHDR", header);
  std::string raw;
  raw.reserve(static_cast<size_t>(h) * (static_cast<size_t>(w) * 3 + 1));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);  // filter: none
    const Pixel* row = image.Row(y);
    for (int x = 0; x < w; ++x) {
      raw.push_back(static_cast<char>((row[x] >> 16) & 0xFF));
      raw.push_back(static_cast<char>((row[x] >> 8) & 0xFF));
      raw.push_back(static_cast<char>(row[x] & 0xFF));
    }
  }
  PutChunk(out, "IDAT", Zlib(raw));
  PutChunk(out, "IEND", std::string());
  return out;
}

}  // namespace lbb
