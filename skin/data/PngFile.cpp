#include "PngFile.h"

#include <algorithm>
#include <array>

namespace lbb::skin {

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

// zlib stream of stored deflate blocks (at most 65535 bytes each) with its Adler-32.
std::string StoredZlib(const std::string& raw) {
  std::string z = "\x78\x01";
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(raw.size() - at, 65535);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<char>(n & 0xFF));
    z.push_back(static_cast<char>(n >> 8));
    z.push_back(static_cast<char>(~n & 0xFF));
    z.push_back(static_cast<char>((~n >> 8) & 0xFF));
    z.append(raw, at, n);
    at += n;
  } while (at < raw.size());
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
  PutChunk(out, "IDAT", StoredZlib(raw));
  PutChunk(out, "IEND", std::string());
  return out;
}

}  // namespace lbb::skin
