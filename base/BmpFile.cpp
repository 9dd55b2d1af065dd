#include "base/BmpFile.h"

#include <algorithm>
#include <bit>

namespace lbb {

namespace {

constexpr size_t kFileHeader = 14;

// Little-endian reads with a bounds check done by the caller through Has().
struct Input {
  const uint8_t* p;
  size_t n;
  bool Has(size_t off, size_t len) const { return off <= n && len <= n - off; }
  uint32_t U16(size_t off) const { return p[off] | p[off + 1] << 8; }
  uint32_t U32(size_t off) const {
    return p[off] | p[off + 1] << 8 | p[off + 2] << 16 | static_cast<uint32_t>(p[off + 3]) << 24;
  }
  int32_t I32(size_t off) const { return static_cast<int32_t>(U32(off)); }
};

// One colour channel described by a bit mask.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = std::countr_one(m >> shift);
  }
  // The channel of `v` widened or narrowed to 8 bits (bits repeated when fewer than 8).
  uint32_t Get(uint32_t v) const {
    if (bits == 0) return 0;
    const uint32_t x = (v >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
    if (bits >= 8) return (x >> (bits - 8)) & 0xFF;
    uint32_t r = 0;
    for (int pos = 8 - bits; pos > -bits; pos -= bits)
      r |= pos >= 0 ? x << pos : x >> -pos;
    return r & 0xFF;
  }
};

struct Layout {
  TBmpInfo info;
  bool core = false;  // 12-byte header: 3-byte colour-table entries
  Channel red, green, blue;
  std::vector<Pixel> palette;
  size_t pixels = 0;  // offset of the pixel array
};

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

bool KnownHeaderSize(uint32_t s) {
  return s == 12 || s == 16 || s == 40 || s == 52 || s == 56 || s == 64 || s == 108 || s == 124;
}

// Reads the bit-field masks: inside the header (52 bytes and more) or right after a 40-byte
// header. Returns the offset where the colour table starts.
size_t ReadMasks(const Input& in, uint32_t headerSize, Layout& l) {
  const size_t h = kFileHeader;
  size_t tableAt = h + headerSize;
  uint32_t r = 0, g = 0, b = 0;
  const bool fields = l.info.Compression == 3 || l.info.Compression == 6;
  if (fields && headerSize >= 52) {
    r = in.U32(h + 40), g = in.U32(h + 44), b = in.U32(h + 48);
  } else if (fields && headerSize == 40) {
    const size_t extra = l.info.Compression == 6 ? 16 : 12;
    if (in.Has(tableAt, extra))
      r = in.U32(tableAt), g = in.U32(tableAt + 4), b = in.U32(tableAt + 8);
    tableAt += extra;
  } else if (l.info.BitCount == 16) {
    r = 0x7C00, g = 0x03E0, b = 0x001F;
  } else {
    r = 0xFF0000, g = 0x00FF00, b = 0x0000FF;
  }
  l.red = Channel(r), l.green = Channel(g), l.blue = Channel(b);
  return tableAt;
}

void ReadPalette(const Input& in, size_t at, uint32_t used, Layout& l) {
  const int bpp = l.info.BitCount;
  if (bpp > 8) return;
  const uint32_t full = 1u << bpp;
  const uint32_t count = (used == 0 || used > full) ? full : used;
  const size_t entry = l.core ? 3 : 4;
  const size_t end = std::min(l.pixels, in.n);
  for (uint32_t i = 0; i < count && at <= end && entry <= end - at; ++i, at += entry)
    l.palette.push_back(in.p[at] | in.p[at + 1] << 8 | in.p[at + 2] << 16);
  l.info.PaletteSize = static_cast<int>(l.palette.size());
}

bool ReadHeaders(const Input& in, Layout& l, std::string* error) {
  if (!in.Has(0, kFileHeader + 4) || in.p[0] != 'B' || in.p[1] != 'M')
    return Fail(error, "not a BMP file");
  const uint32_t hs = in.U32(kFileHeader);
  if (!KnownHeaderSize(hs)) return Fail(error, "unknown BMP header size");
  if (!in.Has(kFileHeader, hs)) return Fail(error, "BMP header cut short");
  const size_t h = kFileHeader;
  int64_t width = 0, height = 0;
  if (hs == 12) {
    l.core = true;
    width = static_cast<int16_t>(in.U16(h + 4)), height = static_cast<int16_t>(in.U16(h + 6));
    l.info.BitCount = static_cast<int>(in.U16(h + 10));
  } else {
    width = in.I32(h + 4), height = in.I32(h + 8);
    l.info.BitCount = static_cast<int>(in.U16(h + 14));
    if (hs >= 20) l.info.Compression = static_cast<int>(in.U32(h + 16));
  }
  const int bpp = l.info.BitCount;
  if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return Fail(error, "unsupported bits per pixel");
  const int c = l.info.Compression;
  const bool ok = c == 0 || (c == 1 && bpp == 8) || (c == 2 && bpp == 4) ||
                  ((c == 3 || c == 6) && (bpp == 16 || bpp == 32) && hs != 64);
  if (!ok) return Fail(error, "unsupported BMP compression");
  l.info.TopDown = height < 0;
  if (l.info.TopDown && c != 0 && c != 3 && c != 6) return Fail(error, "top-down RLE image");
  height = height < 0 ? -height : height;
  if (width <= 0 || height <= 0) return Fail(error, "empty BMP image");
  if (width > kBmpMaxSide || height > kBmpMaxSide || width * height > kBmpMaxPixels)
    return Fail(error, "BMP image too large");
  l.info.Width = static_cast<int>(width), l.info.Height = static_cast<int>(height);
  const size_t tableAt = ReadMasks(in, hs, l);
  const uint32_t used = hs >= 36 ? in.U32(h + 32) : 0;
  const uint32_t offBits = in.U32(10);
  const size_t entry = l.core ? 3 : 4;
  const size_t ownTable =
      bpp <= 8 ? entry * ((used == 0 || used > (1u << bpp)) ? 1u << bpp : used) : 0;
  l.pixels = offBits != 0 ? offBits : tableAt + ownTable;
  if (l.pixels > in.n) return Fail(error, "BMP pixel data missing");
  if (l.pixels < kFileHeader + hs) return Fail(error, "BMP pixel data inside the header");
  ReadPalette(in, tableAt, used, l);
  return true;
}

Pixel PaletteColour(const Layout& l, uint32_t index) {
  return index < l.palette.size() ? l.palette[index] : 0;
}

// Uncompressed rows.
bool DecodeRows(const Input& in, const Layout& l, PixelBuffer& image, std::string* error) {
  const int w = l.info.Width, h = l.info.Height, bpp = l.info.BitCount;
  const size_t rowBytes = (static_cast<size_t>(w) * bpp + 7) / 8;
  const size_t stride = (static_cast<size_t>(w) * bpp + 31) / 32 * 4;
  const size_t avail = in.n - l.pixels;
  if (stride * (h - 1) + rowBytes > avail) return Fail(error, "BMP pixel rows cut short");
  image = PixelBuffer(w, h);
  for (int row = 0; row < h; ++row) {
    const uint8_t* s = in.p + l.pixels + stride * row;
    Pixel* d = image.Row(l.info.TopDown ? row : h - 1 - row);
    for (int x = 0; x < w; ++x) {
      if (bpp <= 8) {
        const size_t bit = static_cast<size_t>(x) * bpp;
        const uint32_t idx = (s[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        d[x] = PaletteColour(l, idx);
      } else if (bpp == 24) {
        const uint8_t* q = s + 3 * x;
        d[x] = q[0] | q[1] << 8 | q[2] << 16;
      } else {
        const uint8_t* q = s + (bpp / 8) * x;
        const uint32_t v = bpp == 16 ? (q[0] | q[1] << 8) : Input{q, 4}.U32(0);
        d[x] = l.blue.Get(v) | l.green.Get(v) << 8 | l.red.Get(v) << 16;
      }
    }
  }
  return true;
}

// RLE8 / RLE4: runs and absolute blocks, bottom-up. Writes outside the image are dropped.
void DecodeRle(const Input& in, const Layout& l, PixelBuffer& image) {
  const bool four = l.info.Compression == 2;
  const int h = l.info.Height;
  size_t at = l.pixels;
  int x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](uint32_t idx) {
    image.Set(x, h - 1 - y, PaletteColour(l, idx));
    ++x;
  };
  while (at + 2 <= in.n && y < h) {
    const int count = in.p[at], value = in.p[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < image.Width(); ++i)
        put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
    } else if (value == 0) {
      x = 0, ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (at + 2 > in.n) break;
      x += in.p[at], y += in.p[at + 1];
      at += 2;
    } else {
      const size_t bytes = four ? (static_cast<size_t>(value) + 1) / 2 : value;
      if (bytes > in.n - at) break;
      for (int i = 0; i < value; ++i) {
        const uint8_t b = in.p[at + (four ? i / 2 : i)];
        put(four ? ((i & 1) ? b & 0xF : b >> 4) : b);
      }
      at += (bytes + 1) & ~size_t{1};
    }
  }
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, PixelBuffer& image, std::string* error,
               TBmpInfo* info) {
  image = PixelBuffer();
  if (data == nullptr) return Fail(error, "not a BMP file");
  const Input in{data, size};
  Layout l;
  if (!ReadHeaders(in, l, error)) return false;
  if (info) *info = l.info;
  if (l.info.Compression == 1 || l.info.Compression == 2) {
    image = PixelBuffer(l.info.Width, l.info.Height);
    DecodeRle(in, l, image);
    return true;
  }
  return DecodeRows(in, l, image, error);
}

std::vector<uint8_t> EncodeBmp24(const PixelBuffer& image) {
  const int w = image.Empty() ? 0 : image.Width(), h = image.Empty() ? 0 : image.Height();
  const size_t stride = (static_cast<size_t>(w) * 3 + 3) / 4 * 4;
  const size_t dataSize = stride * h;
  std::vector<uint8_t> out(54 + dataSize, 0);
  auto put32 = [&out](size_t off, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      out[off + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  out[0] = 'B', out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  out[26] = 1;   // planes
  out[28] = 24;  // bits per pixel
  put32(34, static_cast<uint32_t>(dataSize));
  put32(38, 2835);
  put32(42, 2835);
  for (int y = 0; y < h; ++y) {
    uint8_t* d = out.data() + 54 + stride * (h - 1 - y);
    const Pixel* s = image.Row(y);
    for (int x = 0; x < w; ++x) {
      d[3 * x] = static_cast<uint8_t>(s[x]);
      d[3 * x + 1] = static_cast<uint8_t>(s[x] >> 8);
      d[3 * x + 2] = static_cast<uint8_t>(s[x] >> 16);
    }
  }
  return out;
}

}  // namespace lbb
