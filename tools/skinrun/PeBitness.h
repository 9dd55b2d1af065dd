// Which bitness a Windows program is, read from the first bytes of its file (the MS-DOS
// header, which points at the PE header and its machine field).
#pragma once

#include <cstdint>
#include <span>

namespace lbb::skinrun {

enum class Bitness { kUnknown, k32, k64 };

// How many bytes of a file BitnessOf reads at most (the PE header of a normal file lies well
// inside them).
inline constexpr size_t kPeProbeBytes = 4096;

// The bitness of the program whose file starts with `head`: x86 is 32-bit; x86-64 and ARM64
// are 64-bit; anything else, or bytes that are no PE file, is unknown.
Bitness BitnessOf(std::span<const uint8_t> head);

}  // namespace lbb::skinrun
