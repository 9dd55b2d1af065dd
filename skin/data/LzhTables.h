// Internal to the block codec: the tables of a TLZH and the position prefix codes, shared by
// the files of its implementation (WinConvert.cpp, LzhMemoryDecode.cpp).
#pragma once

#include <array>
#include <cstdint>

#include "skin/data/WinConvert.h"

namespace lbb::skin {

namespace lzh_detail {

// Position prefix codes: the upper six bits of a 12-bit position get a canonical code of 3 to 8
// bits (3 for 0, 4 for 1-3, 5 for 4-11, 6 for 12-23, 7 for 24-47, 8 for 48-63), written
// left-aligned in a byte.
struct PositionCodes {
  std::array<uint8_t, 64> len{};
  std::array<uint8_t, 64> code{};
  std::array<uint8_t, 256> d_code{};  // upper six bits, by the leading bits of a byte
  std::array<uint8_t, 256> d_len{};   // code length, likewise
};

constexpr PositionCodes MakePositionCodes() {
  PositionCodes pc;
  for (int v = 0; v < 64; ++v)
    pc.len[v] = v == 0 ? 3 : v < 4 ? 4 : v < 12 ? 5 : v < 24 ? 6 : v < 48 ? 7 : 8;
  int next = 0;
  for (int v = 0; v < 64; ++v) {
    pc.code[v] = static_cast<uint8_t>(next);
    const int span = 1 << (8 - pc.len[v]);
    for (int b = next; b < next + span; ++b) {
      pc.d_code[b] = static_cast<uint8_t>(v);
      pc.d_len[b] = pc.len[v];
    }
    next += span;
  }
  return pc;
}

inline constexpr PositionCodes kPos = MakePositionCodes();
static_assert(kPos.code[1] == 0x20 && kPos.code[4] == 0x50 && kPos.code[5] == 0x58);
static_assert(kPos.code[47] == 0xEE && kPos.code[48] == 0xF0 && kPos.code[63] == 0xFF);

}  // namespace lzh_detail

struct TLZH::Tables {
  // The last F - 1 bytes mirror the first for comparisons; 8 spare bytes let the comparison
  // load whole words past the last byte it uses.
  uint8_t text_buf[N + F - 1 + 8];
  uint8_t in_buf[kInBlock];  // encoder input not yet used
  int16_t lson[N + 1];
  int16_t rson[N + 257];  // N+1 .. N+256: roots of the trees, one per first byte
  int16_t dad[N + 1];
  uint16_t freq[T + 1];      // freq[T] is a sentinel
  int16_t prnt[T + N_CHAR];  // parents of nodes; of leaves at T + symbol
  int16_t son[T];            // inner node i: children i and i+1; leaf: T + symbol
};

}  // namespace lbb::skin
