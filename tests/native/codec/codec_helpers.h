// Small helpers of the codec tests: whole blocks in and out of byte vectors.
#pragma once

#include <vector>

#include "WinConvert.h"
#include "sample_data.h"

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
