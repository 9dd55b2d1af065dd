// Windows BMP files: decoding into the portable pixel buffer, and writing 24-bit files.
//
// DecodeBmp reads the file header ("BM", the offset of the pixel array) and one of the info
// headers of 12 (core), 16, 40, 52, 56, 64, 108 or 124 bytes. Pixel formats:
//  - 1, 2, 4 and 8 bits per pixel with a colour table (4-byte entries; 3-byte entries after a
//    12-byte core header), uncompressed, or RLE8 (8 bits) and RLE4 (4 bits);
//  - 16 and 32 bits, uncompressed (5-5-5 and 8-8-8 by default) or with bit-field masks
//    (after a 40-byte header or inside the larger ones); alpha is ignored, since skin images
//    have no alpha; a channel of fewer than 8 bits is widened by repeating its bits;
//  - 24 bits;
// rows bottom-up (positive height) or top-down (negative height; not with RLE).
// Colour-table indexes beyond the table read as black. RLE data that ends early leaves the
// rest black; RLE moves and runs past the image are clipped.
//
// Safety contract: for any input bytes DecodeBmp never reads outside `data[0, size)` and
// never writes outside the image it allocates. It refuses (returns false, the image left
// empty, `error` set when given) files that are not BMP, use another compression (JPEG, PNG),
// have a zero or negative width, a zero height, more than kBmpMaxPixels pixels or a side above
// kBmpMaxSide, or whose uncompressed pixel rows do not all lie inside the data. The image is
// allocated only after the pixel rows are known to be present, so a short file cannot make it
// allocate much (an RLE image is bounded by kBmpMaxPixels).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/PixelBuffer.h"

namespace lbb {

inline constexpr int kBmpMaxSide = 32768;
inline constexpr int64_t kBmpMaxPixels = int64_t{1} << 24;

// What a BMP header says, as DecodeBmp read it.
struct TBmpInfo {
  int Width = 0;
  int Height = 0;  // always positive; TopDown tells the row order
  int BitCount = 0;
  int Compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 or 6 bit fields
  bool TopDown = false;
  int PaletteSize = 0;  // colour-table entries read
};

// Decodes the BMP file in data[0, size) into `image` (pixels 0x00RRGGBB). True on success.
bool DecodeBmp(const uint8_t* data, size_t size, PixelBuffer& image, std::string* error = nullptr,
               TBmpInfo* info = nullptr);
inline bool DecodeBmp(const std::vector<uint8_t>& bytes, PixelBuffer& image,
                      std::string* error = nullptr, TBmpInfo* info = nullptr) {
  return DecodeBmp(bytes.data(), bytes.size(), image, error, info);
}

// The bytes of a 24-bit uncompressed bottom-up BMP file of `image` (40-byte info header, rows
// padded to 4 bytes, 2835 pixels per metre). An empty image gives a 0 x 0 file.
std::vector<uint8_t> EncodeBmp24(const PixelBuffer& image);

}  // namespace lbb
