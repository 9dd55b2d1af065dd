// Breakdowns of the skinned frame's costs: the steps one frame paint, one region rebuild and
// one keyed-bitmap region are made of, timed in sequence with the skinner's own data (each
// part finds the caches and buffers as the part before left them, as in the real paint), so
// that a missed goal can be traced to the step that costs most.
#pragma once

#include "base/PixelBuffer.h"
#include "skin/forms/WinSkinForm.h"

namespace lbb::bench {

// The parts of a frame paint of `sf`'s window into a memory DC of the window's size: the side
// and bottom pieces, the caption's copy, Top piece, title, buttons, icon and presentation.
void ProfileFramePaint(skin::TWinSkinForm& sf, int runs);

// The parts of a region rebuild of `sf`'s window: each border piece drawn, each piece's
// region, the union and the window's region set.
void ProfileCropwindow(skin::TWinSkinForm& sf, int runs);

// The parts of a region from a keyed bitmap: finding the runs alone, and the system's region
// work (everything else).
void ProfileRegionFromBitmap(const PixelBuffer& bmp, int runs);

}  // namespace lbb::bench
