// The skin archive reader on any bytes, two ways: the input as an unpacked archive (packed
// first, so the archive parser sees exactly these bytes) and as a compressed block. Whatever
// the reader accepts must have its entries inside its data, and every lookup must stay there.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/data/SkinRead.h"
#include "skin/data/WinConvert.h"

namespace {

using lbb::skin::TMemoryStream;
using lbb::skin::TSkinReader;

void Check(const TSkinReader& r) {
  if (r.Num < 0 || r.Num > lbb::skin::kSkinMaxEntries) std::abort();
  for (int i = 0; i < r.Num; ++i) {
    if (r.sizes[i] < 0 || r.EntryOffset(i) + r.sizes[i] > r.ms.Size()) std::abort();
    // A name may appear twice; a lookup finds its first entry.
    int first = 0;
    while (r.Dir[first] != r.Dir[i])
      ++first;
    TMemoryStream entry;
    r.readfile(r.Dir[i], entry);
    if (entry.Size() > r.sizes[first]) std::abort();
  }
  TMemoryStream ini;
  lbb::String name;
  r.readIni(u".ini", ini, name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  if (size <= 8192) {
    TMemoryStream plain(bytes), packed;
    lbb::skin::CompressBlock(plain, packed);
    TSkinReader r;
    if (r.Loadfromstream(packed)) Check(r);
  }
  // Keep the announced size small so damaged blocks decode quickly.
  if (size >= 4 && (bytes[3] | bytes[2]) == 0) {
    TMemoryStream block(bytes);
    TSkinReader r;
    if (r.Loadfromstream(block)) Check(r);
  }
  return 0;
}
