#include "skin/win/WinRegion.h"

#include <cstring>
#include <vector>

#include "skin/data/CaptionGeometry.h"

namespace lbb::skin {

namespace {

// One region from a batch of rectangles (ExtCreateRegion's RGNDATA: header, then the
// rectangles).
lbb::RegionHandle RegionOf(const std::vector<TRect>& rects, const TRect& bounds) {
  if (rects.empty()) return lbb::RegionHandle(CreateRectRgn(0, 0, 0, 0));
  std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(rects.size());
  header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  header.rcBound = RECT{bounds.Left, bounds.Top, bounds.Right, bounds.Bottom};
  std::memcpy(data.data(), &header, sizeof(header));
  uint8_t* out = data.data() + sizeof(RGNDATAHEADER);
  for (const TRect& r : rects) {
    const RECT w{r.Left, r.Top, r.Right, r.Bottom};
    std::memcpy(out, &w, sizeof(w));
    out += sizeof(w);
  }
  return lbb::RegionHandle(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                           reinterpret_cast<const RGNDATA*>(data.data())));
}

}  // namespace

lbb::RegionHandle RegionFromBitmap(const PixelBuffer& bmp, int dx, int dy, TColor key,
                                   int tolerance) {
  lbb::RegionHandle result;
  bool failed = false;
  TRegionRuns runs([&](const std::vector<TRect>& rects, const TRect& bounds) {
    lbb::RegionHandle part = RegionOf(rects, bounds);
    if (!part) {
      failed = true;
      return;
    }
    if (!result)
      result = std::move(part);
    else
      CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
  });
  TRowMerge rows(runs);
  KeyedRuns(bmp, key, tolerance, dx, dy, rows);
  rows.Finish();
  if (failed) return lbb::RegionHandle();
  return result;
}

}  // namespace lbb::skin
