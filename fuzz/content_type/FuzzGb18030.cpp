// Page bodies that claim to be GB18030 are outside data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/http/Gb18030.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  size_t runBytes = 0;
  const lbb::String text = lbb::http::DecodeGb18030(bytes, [&](std::string_view run) {
    // Runs are pieces of the input, in order.
    if (run.data() < bytes.data() || run.data() + run.size() > bytes.data() + bytes.size()) {
      std::abort();
    }
    runBytes += run.size();
    return lbb::Latin1ToText(run);
  });
  // Every byte is either in a run or in a four-byte sequence of one or two code units.
  if (text.size() < runBytes) std::abort();
  const size_t fourByteUnits = text.size() - runBytes;
  const size_t fourByteBytes = size - runBytes;
  if (fourByteBytes % 4 != 0) std::abort();
  if (fourByteUnits < fourByteBytes / 4 || fourByteUnits > fourByteBytes / 2) std::abort();
  return 0;
}
