// The BMP decoder on any bytes: it must stay inside the input and its image, and an image it
// accepts must re-encode as 24 bits and decode to the same pixels.
#include <cstdint>
#include <cstdlib>

#include "base/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lbb::PixelBuffer img;
  lbb::TBmpInfo info;
  if (!lbb::DecodeBmp(data, size, img, nullptr, &info)) {
    if (!img.Empty()) std::abort();
    return 0;
  }
  if (img.Width() != info.Width || img.Height() != info.Height) std::abort();
  if (static_cast<int64_t>(img.Width()) * img.Height() <= 4096) {
    lbb::PixelBuffer back;
    if (!lbb::DecodeBmp(lbb::EncodeBmp24(img), back)) std::abort();
    for (int i = 0; i < img.Width() * img.Height(); ++i)
      if ((img.Bits()[i] & 0xFFFFFF) != back.Bits()[i]) std::abort();
  }
  return 0;
}
