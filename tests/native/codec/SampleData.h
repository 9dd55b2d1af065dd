// Deterministic sample inputs for the codec tests and benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lbb::samples {

using Bytes = std::vector<uint8_t>;

// `size` pseudo-random bytes from `seed`.
Bytes RandomBytes(size_t size, uint32_t seed);

// `size` bytes of English-like prose: common words in sentences and paragraphs, the words
// drawn with a skewed frequency as in real text.
Bytes EnglishText(size_t size, uint32_t seed);

// A complete 24-bit BMP file of `width` x `height` pixels that looks like interface artwork:
// gradients, flat panels with borders, a round badge and a little noise.
Bytes Bitmap24(int width, int height);

}  // namespace lbb::samples
