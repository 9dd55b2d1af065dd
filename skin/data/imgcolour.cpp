// The colour helpers of imgutil.h: mixing, saturation and cached gradients.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "base/PerThread.h"
#include "skin/data/imgutil.h"

namespace lbb::skin {

namespace {

int Channel(uint32_t c, int shift) {
  return static_cast<int>((c >> shift) & 0xFF);
}

// A gradient's colour table (pixels), keyed by its length and end colours.
struct TGradientTable {
  int length = 0;
  uint32_t first = 0;
  uint32_t last = 0;
  std::vector<Pixel> pixels;
};

struct TGradientCache {
  std::array<TGradientTable, 16> ring;
  size_t next = 0;
  TGradientCacheStats stats;
};

// One per drawing thread: the tables handed out are read while the thread draws.
TPerThread<TGradientCache>& Caches() {
  static TPerThread<TGradientCache> caches;
  return caches;
}

// Rounds down also for negative values, so that a darkening gradient ends exactly on its last
// colour as a brightening one does (truncation toward zero would stop one short).
int FloorDiv(int a, int b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

std::vector<Pixel> BuildGradient(int n, uint32_t first, uint32_t last) {
  std::vector<Pixel> table(static_cast<size_t>(n));
  const int c = n - 1, f = c / 2;
  for (int i = 0; i < n; ++i) {
    uint32_t colour = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int a = Channel(first, shift), diff = Channel(last, shift) - a;
      const int v = n == 1 ? a + diff / 2 : a + FloorDiv(f + i * diff, c);
      colour |= static_cast<uint32_t>(v & 0xFF) << shift;
    }
    table[static_cast<size_t>(i)] = PixelOf(colour);
  }
  return table;
}

const std::vector<Pixel>& GradientTable(int n, uint32_t first, uint32_t last) {
  TGradientCache& cache = Caches().Mine();
  for (const TGradientTable& t : cache.ring)
    if (t.length == n && t.first == first && t.last == last) {
      ++cache.stats.reused;
      return t.pixels;
    }
  TGradientTable& slot = cache.ring[cache.next];
  cache.next = (cache.next + 1) % cache.ring.size();
  slot = {n, first, last, BuildGradient(n, first, last)};
  ++cache.stats.built;
  return slot.pixels;
}

}  // namespace

uint32_t MixColors(TColor c1, TColor c2, int weight) {
  const uint32_t a = ColorToRGB(c1), b = ColorToRGB(c2);
  const int s = weight < 100 ? 100 : 1000;
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int v = (Channel(a, shift) * weight + Channel(b, shift) * (s - weight) + s / 2) / s;
    out |= static_cast<uint32_t>(std::clamp(v, 0, 255)) << shift;
  }
  return out;
}

int ColourSaturation(TColor c) {
  const uint32_t rgb = ColorToRGB(c);
  const int r = Channel(rgb, 0), g = Channel(rgb, 8), b = Channel(rgb, 16);
  const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
  if (hi < 160) return 200;
  const double s = static_cast<double>(hi - lo) / hi;
  return static_cast<int>(std::nearbyint(s * 255.0));  // halves to even
}

void GradientFill(PixelBuffer& dst, const TRect& rect, TColor first, bool vertical, TColor last) {
  GradientFill(dst, rect, first, vertical, last, {0, 0, dst.Width(), dst.Height()});
}

void GradientFill(PixelBuffer& dst, const TRect& rect, TColor first, bool vertical, TColor last,
                  const TRect& clip) {
  const TRect box{std::max({rect.Left, clip.Left, 0}), std::max({rect.Top, clip.Top, 0}),
                  std::min({rect.Right, clip.Right, dst.Width()}),
                  std::min({rect.Bottom, clip.Bottom, dst.Height()})};
  if (box.Width() <= 0 || box.Height() <= 0) return;
  const int n = vertical ? rect.Height() : rect.Width();
  if (n <= 0) return;
  const std::vector<Pixel>& table = GradientTable(n, ColorToRGB(first), ColorToRGB(last));
  for (int y = box.Top; y < box.Bottom; ++y) {
    Pixel* row = dst.Row(y);
    if (vertical) {
      std::fill(row + box.Left, row + box.Right, table[static_cast<size_t>(y - rect.Top)]);
    } else {
      std::copy(table.begin() + (box.Left - rect.Left), table.begin() + (box.Right - rect.Left),
                row + box.Left);
    }
  }
}

TGradientCacheStats GradientCacheStats() {
  return Caches().Mine().stats;
}

}  // namespace lbb::skin
