// Small helpers of the codec tests: whole blocks in and out of byte vectors.
#pragma once

#include <vector>

#include "skin/data/WinConvert.h"
#include "tests/native/codec/SampleData.h"

namespace lbb::skin::testing {

using samples::Bytes;

inline Bytes Pack(const Bytes& plain) {
  TMemoryStream in(plain), out;
  CompressBlock(in, out);
  return out.Bytes();
}

inline Bytes Unpack(const Bytes& block, TLzhBlockInfo* info = nullptr,
                    int64_t maxSize = kLzhDefaultMaxSize) {
  TMemoryStream in(block), out;
  const TLzhBlockInfo got = DecompressBlock(in, out, maxSize);
  if (info) *info = got;
  return out.Bytes();
}

// Runs `lzh` through its callbacks over `in` from its position, for `size` bytes.
inline Bytes DecodeFrom(TLZH& lzh, TMemoryStream& in, int32_t size) {
  TMemoryStream out;
  lzh.StreamIn = &in;
  lzh.StreamOut = &out;
  lzh.LZHUnpack(
      size, [&](uint8_t* d, uint16_t n, uint16_t& g) { lzh.GetBlockStream(d, n, g); },
      [&](const uint8_t* d, uint16_t n, uint16_t& p) { lzh.PutBlockStream(d, n, p); });
  return out.Bytes();
}

// Runs `lzh` over the bit stream of `block` (after its size field) for the announced size.
inline Bytes DecodeWith(TLZH& lzh, const Bytes& block) {
  TMemoryStream in(block);
  in.SetPosition(4);
  const auto size = static_cast<int32_t>(block[0] | block[1] << 8 | block[2] << 16 |
                                         static_cast<uint32_t>(block[3]) << 24);
  return DecodeFrom(lzh, in, size);
}

// Packs `plain` with `lzh`; returns the bit stream (no size field).
inline Bytes EncodeWith(TLZH& lzh, const Bytes& plain, int32_t& consumed) {
  TMemoryStream in(plain), out;
  lzh.StreamIn = &in;
  lzh.StreamOut = &out;
  lzh.LZHPack(
      consumed, [&](uint8_t* d, uint16_t n, uint16_t& g) { lzh.GetBlockStream(d, n, g); },
      [&](const uint8_t* d, uint16_t n, uint16_t& p) { lzh.PutBlockStream(d, n, p); });
  return out.Bytes();
}

inline Bytes Repeat(size_t count, uint8_t b) {
  return Bytes(count, b);
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts)
    out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace lbb::skin::testing
