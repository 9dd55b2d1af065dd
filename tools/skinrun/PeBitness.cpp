#include "tools/skinrun/PeBitness.h"

namespace lbb::skinrun {

namespace {

uint32_t ReadLittle(std::span<const uint8_t> b, size_t at, size_t bytes) {
  uint32_t v = 0;
  for (size_t i = 0; i < bytes; ++i)
    v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
  return v;
}

constexpr uint32_t kPeNewHeaderAt = 0x3C;  // e_lfanew in the MS-DOS header
constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMachineArm64 = 0xAA64;

}  // namespace

Bitness BitnessOf(std::span<const uint8_t> head) {
  if (head.size() < kPeNewHeaderAt + 4 || head[0] != 'M' || head[1] != 'Z')
    return Bitness::kUnknown;
  const uint32_t pe = ReadLittle(head, kPeNewHeaderAt, 4);
  // The signature "PE\0\0" and the machine field after it.
  if (pe > head.size() || head.size() - pe < 6) return Bitness::kUnknown;
  if (ReadLittle(head, pe, 4) != 0x00004550) return Bitness::kUnknown;
  switch (ReadLittle(head, pe + 4, 2)) {
    case kMachineI386:
      return Bitness::k32;
    case kMachineAmd64:
    case kMachineArm64:
      return Bitness::k64;
    default:
      return Bitness::kUnknown;
  }
}

}  // namespace lbb::skinrun
