// Helpers of the skin archive tests: archives made by hand, byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/SkinRead.h"
#include "skin/data/WinConvert.h"

namespace lbb::skin::testing {

using Bytes = std::vector<uint8_t>;

inline void PutI32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i)
    b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

// An unpacked archive with the given header fields, a skipped block of `skip` bytes of 0xEE,
// the directory text as given, the sizes as given and then `data`.
inline Bytes RawArchive(int32_t version, const std::string& dir, const std::vector<int32_t>& sizes,
                        const Bytes& data, int skip, int32_t dirLen = -1) {
  Bytes b;
  PutI32(b, version);
  PutI32(b, dirLen >= 0 ? dirLen : static_cast<int32_t>(dir.size()));
  PutI32(b, 7);
  PutI32(b, 9);
  b.insert(b.end(), static_cast<size_t>(skip), 0xEE);
  b.insert(b.end(), dir.begin(), dir.end());
  for (int32_t s : sizes)
    PutI32(b, s);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

inline TMemoryStream Pack(const Bytes& plain) {
  TMemoryStream in(plain), out;
  CompressBlock(in, out);
  return out;
}

inline bool Load(TSkinReader& r, const Bytes& plain) {
  TMemoryStream block = Pack(plain);
  return r.Loadfromstream(block);
}

inline std::string Entry(const TSkinReader& r, std::u16string_view name) {
  TMemoryStream s;
  r.readfile(name, s);
  return std::string(s.Bytes().begin(), s.Bytes().end());
}

}  // namespace lbb::skin::testing
