#include <benchmark/benchmark.h>

#include <memory>

#include "resources/skin/BuiltinSkin.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinScale.h"
#include "skin/data/imgutil.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

// The whole parse: block decode, archive, INI, every image, the derived images.
void BM_ParseBuiltinSkin(benchmark::State& state) {
  const auto bytes = lbb::resources::BuiltinSkin();
  for (auto _ : state) {
    TSkinModel m;
    m.data.Write(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(m.ParseSkin());
  }
}
BENCHMARK(BM_ParseBuiltinSkin)->Unit(benchmark::kMillisecond);

// Every image and number of the parsed built-in skin scaled to a DPI (144: nine parts
// resampled; 192: pixels doubled). Each round scales a fresh copy of the parse.
void BM_ScaleBuiltinSkin(benchmark::State& state) {
  const auto bytes = lbb::resources::BuiltinSkin();
  const int dpi = static_cast<int>(state.range(0));
  std::unique_ptr<TSkinModel> m;
  for (auto _ : state) {
    state.PauseTiming();  // the last round's model freed and a fresh parse: not measured
    m = std::make_unique<TSkinModel>();
    m->data.Write(bytes.data(), bytes.size());
    m->ParseSkin();
    state.ResumeTiming();
    ScaleSkinModel(*m, dpi);
    benchmark::DoNotOptimize(m->border[kBorderTop]->Map.Bits());
  }
}
BENCHMARK(BM_ScaleBuiltinSkin)->Arg(144)->Arg(192)->Unit(benchmark::kMicrosecond);

// A 5-cell element of 5 x (40 x 30) with 6-pixel margins drawn into 1920 x 1080.
void BM_RenderSkinImageFullHd(benchmark::State& state) {
  PixelBuffer img(5 * 40, 30);
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      img.At(x, y) = static_cast<Pixel>(x * 2654435761u + y);
  const bool tile = state.range(0) != 0;
  for (auto _ : state) {
    PixelBuffer out = RenderSkinImage({0, 0, 1920, 1080}, img, {6, 6, 6, 6}, false, tile, 5, 3);
    benchmark::DoNotOptimize(out.Bits());
  }
  state.SetLabel(tile ? "tile" : "stretch");
}
BENCHMARK(BM_RenderSkinImageFullHd)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
