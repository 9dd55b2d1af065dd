// Encode and decode speed of the block codec, memory to memory as the skin loader uses it.
#include <benchmark/benchmark.h>

#include "resources/skin/BuiltinSkin.h"
#include "skin/data/WinConvert.h"
#include "tests/native/codec/SampleData.h"

namespace {

using lbb::samples::Bytes;
using lbb::skin::TMemoryStream;

const Bytes& Input(int kind) {
  static const Bytes text = lbb::samples::EnglishText(1 << 20, 2024);
  static const Bytes bitmap = lbb::samples::Bitmap24(512, 682);  // 1,047,606 bytes
  return kind == 0 ? text : bitmap;
}

void BM_Encode(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TMemoryStream in(plain), out;
    lbb::skin::CompressBlock(in, out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(plain.size()));
  state.SetLabel(state.range(0) == 0 ? "text" : "bitmap");
}

void BM_Decode(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  TMemoryStream in(plain), packed;
  lbb::skin::CompressBlock(in, packed);
  for (auto _ : state) {
    TMemoryStream block(packed.Bytes()), out;
    lbb::skin::DecompressBlock(block, out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(plain.size()));
  state.counters["ratio"] =
      static_cast<double>(packed.Bytes().size()) / static_cast<double>(plain.size());
  state.SetLabel(state.range(0) == 0 ? "text" : "bitmap");
}

// Unpacking the program's built-in skin, as the main window does at start-up.
void BM_DecodeBuiltinSkin(benchmark::State& state) {
  const auto skin = lbb::resources::BuiltinSkin();
  const Bytes packed(skin.begin(), skin.end());
  int64_t unpacked = 0;
  for (auto _ : state) {
    TMemoryStream block(packed), out;
    lbb::skin::DecompressBlock(block, out);
    unpacked = static_cast<int64_t>(out.Bytes().size());
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  state.SetBytesProcessed(state.iterations() * unpacked);
  state.SetLabel("built-in skin");
}

BENCHMARK(BM_Encode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBuiltinSkin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Decode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
