// Writes the deterministic sample files of bench/codec/compare:
//   codec_sample text BYTES OUT       English-like prose
//   codec_sample bitmap W H OUT       a 24-bit BMP that looks like interface artwork
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tests/native/codec/SampleData.h"

namespace {

bool Save(const char* name, const lbb::samples::Bytes& bytes) {
  std::FILE* f = std::fopen(name, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view kind = argc > 1 ? argv[1] : "";
  bool ok = false;
  if (kind == "text" && argc == 4) {
    ok = Save(argv[3], lbb::samples::EnglishText(std::strtoul(argv[2], nullptr, 10), 2024));
  } else if (kind == "bitmap" && argc == 5) {
    ok = Save(argv[4], lbb::samples::Bitmap24(std::atoi(argv[2]), std::atoi(argv[3])));
  } else {
    std::fprintf(stderr, "usage: codec_sample text BYTES OUT | bitmap W H OUT\n");
    return 2;
  }
  if (!ok) std::fprintf(stderr, "codec_sample: cannot write the sample\n");
  return ok ? 0 : 1;
}
