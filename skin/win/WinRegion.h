// Window regions from colour-keyed bitmaps: every pixel that is not the key colour belongs to
// the region. The runs are found by the portable KeyedRuns; here they become GDI regions.
#pragma once

#include <windows.h>

#include "base/PixelBuffer.h"
#include "base/win/Handles.h"
#include "skin/data/SkinSystem.h"

namespace lbb::skin {

// The region of the pixels of `bmp` that are not `key` (0x00BBGGRR; each channel may exceed
// the key by up to `tolerance`), moved by (dx, dy). Rows are scanned from the top; a row equal
// to the one above makes that row's rectangles taller; every 2000 rectangles become a region
// united with the result. An empty bitmap, or one that is all key, gives an empty region; null
// only when the system refuses a region.
lbb::RegionHandle RegionFromBitmap(const PixelBuffer& bmp, int dx, int dy, TColor key,
                                   int tolerance);

}  // namespace lbb::skin
