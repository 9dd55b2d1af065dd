// Writing images as PNG files, for people to look at (screenshots, skin sheets): 8-bit RGB,
// no interlace, one fixed-Huffman deflate block (LZ77 with a 32 KiB window). Any PNG reader
// opens it; it packs flat user-interface pictures well, photographs poorly.
#pragma once

#include <string>

#include "base/PixelBuffer.h"

namespace lbb {

// The PNG file bytes of `image` (the unused byte of each pixel is dropped). An empty image
// gives a valid 0 x 0 file, which some readers refuse; callers draw something first.
std::string EncodePng(const PixelBuffer& image);

// CRC-32 as PNG and zlib use it (polynomial 0xEDB88320), continuing from `crc`.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

}  // namespace lbb
