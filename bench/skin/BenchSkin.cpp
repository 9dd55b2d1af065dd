#include <benchmark/benchmark.h>

#include "resources/skin/BuiltinSkin.h"
#include "skin/data/SkinModel.h"
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
