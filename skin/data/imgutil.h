// Skin bitmap drawing on the portable pixel buffer: cutting one state cell out of a skin image
// and putting it into a target rectangle (margins unscaled, the rest stretched or tiled,
// 0xFF00FF transparent), and the colour and image helpers that derive images and colours.
//
// Stretching drops and repeats rows and columns exactly as the platform's colour-on-colour
// stretch mode does (StretchIndexes); nothing is blended. Every draw clips to the target
// buffer. Colours are 0x00BBGGRR (system-colour references resolved); pixels 0x00RRGGBB.
#pragma once

#include <cstdint>
#include <vector>

#include "base/PixelBuffer.h"
#include "skin/data/SkinRect.h"
#include "skin/data/SkinSystem.h"

namespace lbb::skin {

// The transparent colour of every skin image (the same in both byte orders).
inline constexpr uint32_t kSkinKeyColour = 0xFF00FF;

// For a stretch of `srcLen` source pixels to `dstLen` target pixels, the source index of
// every target pixel, as the colour-on-colour stretch mode picks it. Growing takes the source
// pixel under each target pixel's centre (ties to the lower one). Shrinking maps each source
// pixel to the target pixel under its centre (ties to the lower one) and keeps, per target
// pixel, the last such source column, or the first such source row (`vertical`); a one-pixel
// wide target reads columns as if the source were one pixel narrower. Empty when either length
// is 0 or less.
std::vector<int> StretchIndexes(int srcLen, int dstLen, bool vertical = false);

// Copies src's rectangle `from` into dst's rectangle `to`, stretched (colour-on-colour), or
// with `keyed` leaving the target where the source is 0xFF00FF. Nothing when either rectangle
// is empty or inverted; source pixels outside src leave the target unchanged.
void StretchCopy(PixelBuffer& dst, const TRect& to, const PixelBuffer& src, const TRect& from,
                 bool keyed = false);

// Cell `index` (1-based) of `count` equal cells: a row of cells, or with `columns` a column.
TRect SkinFrameRect(const PixelBuffer& img, bool columns, int count, int index);

// The nine-part draw of cell `index` into a new image of the target's size.
PixelBuffer RenderSkinImage(const TRect& target, const PixelBuffer& img, const TRect& margins,
                            bool columns, bool tile, int count, int index);
void DrawSkinImage(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, bool columns,
                   bool tile, bool trans, int count, int index, const TRect& margins);
// Three-part row: caps stretched to the height, the middle repeated (caption text backgrounds).
void DrawSkinHorz(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, bool columns,
                  bool trans, int count, int index, const TRect& margins);
// Three-part row, middle stretched; a target narrower than the cell gets the whole cell
// stretched. Opaque.
void DrawSkinHorzStretch(PixelBuffer& dst, const TRect& target, const PixelBuffer& img,
                         bool columns, int count, int index, const TRect& margins);
// The whole cell (of a row of cells) stretched to the target.
void DrawSkinFrame(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, bool trans,
                   int count, int index);
// The cell (of a row of cells) unscaled, centred in the target.
void DrawSkinGlyph(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, bool trans,
                   int count, int index);
// img from (0, 0) at the target's top-left corner, the target's size, unscaled; pixels of
// `key` leave the target unchanged.
void TransparentBlit(PixelBuffer& dst, const TRect& target, const PixelBuffer& img,
                     TColor key = static_cast<TColor>(kSkinKeyColour));
// img's rectangle `source` repeated from the target's top-left corner; the last column and
// row overhang the target (clipped only by the buffer).
void TileBitmap(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, const TRect& source);

// Mix of two colours: weight below 100 in percent of c1, from 100 on in per mille.
uint32_t MixColors(TColor c1, TColor c2, int weight);
// 0..255: the saturation of a colour with a channel of 160 or more, else 200.
int ColourSaturation(TColor c);
// A gradient from `first` to `last`, one solid line per row (vertical) or column, only on the
// lines inside `clip` (the whole buffer when not given). The last 16 colour tables are cached.
void GradientFill(PixelBuffer& dst, const TRect& rect, TColor first, bool vertical, TColor last);
void GradientFill(PixelBuffer& dst, const TRect& rect, TColor first, bool vertical, TColor last,
                  const TRect& clip);
// How many gradient tables were built and how many reused (for tests of the cache).
struct TGradientCacheStats {
  int64_t built = 0;
  int64_t reused = 0;
};
TGradientCacheStats GradientCacheStats();

// Every 0xFF00FF pixel becomes `colour`.
void ReplaceColour(PixelBuffer& img, TColor colour);
// Left-right mirror; top-bottom flip; quarter turns anticlockwise and clockwise.
void MirrorImage(PixelBuffer& img);
void FlipImage(PixelBuffer& img);
void RotateLeft(PixelBuffer& img);
void RotateRight(PixelBuffer& img);

}  // namespace lbb::skin
