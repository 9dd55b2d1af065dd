// The block decoder on any bytes: it must stay inside its buffers and write the announced
// size (at most 59 bytes more), and its memory-to-memory path must give exactly what the
// byte-by-byte callbacks give (bytes, truncation, input read), whole or in pieces. Inputs of up to
// 4 KiB are also packed and unpacked again, which must give them back unchanged.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/data/WinConvert.h"

using lbb::skin::TMemoryStream;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // 64 KiB: sixteen turns of the ring and of the piecewise window; larger sizes only repeat
  // the same loops and cost the fuzzer most of its runs.
  constexpr int64_t kLimit = 1 << 16;
  TMemoryStream block(std::vector<uint8_t>(data, data + size)), out;
  try {
    const lbb::skin::TLzhBlockInfo info = lbb::skin::DecompressBlock(block, out, kLimit);
    const int64_t expected = info.AnnouncedSize > 0 ? info.AnnouncedSize : 0;
    if (out.Size() < expected || out.Size() > expected + 59) std::abort();
    // The callback path over the same bits.
    TMemoryStream in(std::vector<uint8_t>(data, data + size)), viaCallbacks;
    in.SetPosition(4);
    lbb::skin::TLZH lzh;
    lzh.StreamIn = &in;
    lzh.StreamOut = &viaCallbacks;
    lzh.LZHUnpack(
        info.AnnouncedSize,
        [&lzh](uint8_t* d, uint16_t n, uint16_t& g) { lzh.GetBlockStream(d, n, g); },
        [&lzh](const uint8_t* d, uint16_t n, uint16_t& p) { lzh.PutBlockStream(d, n, p); });
    if (viaCallbacks.Bytes() != out.Bytes() || lzh.InputTruncated() != info.InputTruncated ||
        in.Position() != block.Position())
      std::abort();
    // The same bits decoded through a small window, handed on in pieces.
    std::vector<uint8_t> joined;
    lbb::skin::TLZH chunked;
    chunked.DecodeChunks(
        info.AnnouncedSize, data + 4, size - 4,
        [&joined](const uint8_t* d, size_t n) { joined.insert(joined.end(), d, d + n); }, 4096);
    if (joined != out.Bytes() || chunked.InputTruncated() != info.InputTruncated) std::abort();
  } catch (const lbb::skin::ElzhException&) {
    // too short for the size field, or a size above the limit
  }

  if (size <= 4096) {
    TMemoryStream plain(std::vector<uint8_t>(data, data + size)), packed, back;
    lbb::skin::CompressBlock(plain, packed);
    lbb::skin::DecompressBlock(packed, back);
    if (back.Bytes() != plain.Bytes()) std::abort();
  }
  return 0;
}
