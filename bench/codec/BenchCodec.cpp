// Encode and decode speed of the block codec, memory to memory as the skin loader uses it,
// beside the plain C LZHUF coder of bench/codec/reference on the same inputs (its figures are
// the yardstick: BM_RefEncode / BM_RefDecode).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "bench/codec/reference/lzhuf_ref.h"
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

const char* Label(int kind) {
  return kind == 0 ? "text" : "bitmap";
}

Bytes Packed(const Bytes& plain) {
  TMemoryStream in(plain), packed;
  lbb::skin::CompressBlock(in, packed);
  return packed.Bytes();
}

void BM_Encode(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TMemoryStream in(plain), out;
    lbb::skin::CompressBlock(in, out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(plain.size()));
  state.SetLabel(Label(static_cast<int>(state.range(0))));
}

void BM_Decode(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  const Bytes packed = Packed(plain);
  for (auto _ : state) {
    TMemoryStream block(packed), out;
    lbb::skin::DecompressBlock(block, out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(plain.size()));
  state.counters["ratio"] = static_cast<double>(packed.size()) / static_cast<double>(plain.size());
  state.SetLabel(Label(static_cast<int>(state.range(0))));
}

// The reference coder on the same inputs and with the same buffers: whole input in memory,
// output to a buffer it allocates (encode) or one of the full size (decode).
void BM_RefEncode(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    size_t size = 0;
    unsigned char* out = lzhuf_ref_encode(plain.data(), plain.size(), &size);
    benchmark::DoNotOptimize(out);
    std::free(out);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(plain.size()));
  state.SetLabel(Label(static_cast<int>(state.range(0))));
}

void BM_RefDecode(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  const Bytes packed = Packed(plain);
  for (auto _ : state) {
    std::vector<unsigned char> out(plain.size() + 60);
    lzhuf_ref_decode(packed.data() + 4, packed.size() - 4, out.data(),
                     static_cast<long>(plain.size()));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(plain.size()));
  state.SetLabel(Label(static_cast<int>(state.range(0))));
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
BENCHMARK(BM_RefEncode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBuiltinSkin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Decode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
