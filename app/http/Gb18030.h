// GB18030 without the system's code page 54936, which Wine lacks: the one- and two-byte
// sequences (the GBK part) are handed to a decoder of the caller's choice, the four-byte
// sequences are decoded here. Portable, so that it can be tested and fuzzed natively.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "app/engine/Text.h"

namespace lbb::http {

constexpr uint32_t kReplacementCharacter = 0xFFFD;

// Code point of the four-byte sequence b1 b2 b3 b4; U+FFFD when it is not a valid one.
uint32_t Gb18030FourByte(unsigned char b1, unsigned char b2, unsigned char b3, unsigned char b4);

// Decodes the one- and two-byte sequences of a stretch of GB18030 (never split inside a
// sequence, except for a lead byte at the very end).
using TwoByteDecoder = std::function<String(std::string_view)>;

// `bytes` as GB18030: four-byte sequences decoded here (a malformed one as U+FFFD), the runs
// between them by `decodeTwoByte`.
String DecodeGb18030(std::string_view bytes, const TwoByteDecoder& decodeTwoByte);

}  // namespace lbb::http
