// The skin object model at a screen's DPI. Skins are drawn for 96 DPI; on a screen of 120, 144
// or 192 DPI every image and every pixel quantity of a parsed model is scaled once, after the
// parse, so the painters draw the scaled model exactly as they draw a 96-DPI one.
//
// Pixel rules (ScaleSkinImage):
//  - Every state cell is scaled on its own: an image of n cells of cw x ch pixels becomes n
//    cells of ScaleToDpi(cw) x ScaleToDpi(ch), in the same layout (side by side, or stacked
//    with `columns`). Columns or rows past the last whole cell (a width the cell count does not
//    divide) are dropped: no painter reads them.
//  - A whole-number factor (192 = 2x, 288 = 3x) replicates pixels: every source pixel becomes
//    an exact k x k block.
//  - Other factors resample the nine parts on their own: the margins (left, top, right, bottom
//    widths) become ScaleToDpi(margin), corners and edge strips are sampled by nearest
//    neighbour, and the centre is stretched by nearest neighbour or, with `tile`, repeated
//    from the 1x centre. Margins that do not fit the cell (left + right wider than the cell,
//    top + bottom taller) are dropped for that axis, as the nine-part draw drops them; negative
//    margins count as 0 here.
//  - Only source pixels are copied, whole (the unused byte as the source has it): no colour
//    of the result is absent from the source, and the key colour 0xFF00FF stays exact.
//
// Model rules (ScaleSkinModel), with ScaleToDpi(v) = SkinMulDiv(v, dpi, 96):
//  Scaled: every element image (border pieces, title background, caption buttons and the MDI
//  buttons, push-button, check-box and radio-button images, menu bar, menu item and background,
//  group box and its label, tabs and the tab border, status bar, tab sheet, tool bar and its
//  button, combo box, its edge and arrow, extra images, header, scroll-bar arrows, bars and
//  thumbs, track-bar thumbs and tracks, up-down images and glyphs, progress bar and chunk),
//  each element's `r` (margins; for the title the text shifts and right clip), the title's
//  FontHeight, backleft and backright, the group-box label's LeftShift and RightShift, and the
//  caption buttons' XCoord and YCoord. A caption button's Align says which edge its
//  coordinates count from (0 the left, 1 and 100 the right, 2 and 8 before the title, 3 and 9
//  after it); a negative coordinate is an offset the other way. Each is a distance in pixels,
//  so each scales by itself, and SkinMulDiv rounds -v to -(v rounded): a button left of an edge
//  and its mirror image right of it stay mirror images.
//  Left as they are: frame counts (frame, checkframe, radioframe), styles, Tile and trans,
//  colours (Colors, hasColors, ColorPreset, PresetColors, element colours, title text
//  colours), alignments (Aligment, Alignment, Align), Action, CombineOp, Visibility,
//  Visibility1, BackGround, the newnormal/newover/newdown flags, names and the skin stream.
//
// Contracts: at a DPI of 96 or less nothing changes (the model's @2x entries are kept too). A DPI
// above kMaxSkinDpi is taken as kMaxSkinDpi. An empty image stays empty; a cell count of 0 or less
// counts as 1; a cell count larger than the image (cells of no width or height) scales the image as
// one cell without margins. No input (zero-size images, margins larger than the image, cell counts
// that do not divide it, negative numbers) makes these functions read or write outside an image.
// The result has factor^2 times the pixels of the source, at most.
#pragma once

#include <string>
#include <vector>

#include "base/PixelBuffer.h"
#include "skin/data/SkinRect.h"
#include "skin/data/SkinText.h"

namespace lbb::skin {

class TSkinModel;

inline constexpr int kBaseDpi = 96;
inline constexpr int kMaxSkinDpi = 960;  // 10x

// number * numerator / denominator rounded to the nearest whole number, halves away from zero,
// as the platform's MulDiv rounds; -1 for a zero denominator or a result outside int.
int SkinMulDiv(int number, int numerator, int denominator);
// A 96-DPI length at `dpi`: SkinMulDiv(v, dpi, 96), saturated at the ends of int instead of
// -1; `v` itself at 96 DPI or less.
int ScaleToDpi(int v, int dpi);

// The DPI `model` was scaled to; 96 without a model.
int SkinDpi(const TSkinModel* model);

// One image of `cells` cells scaled to `dpi` by the pixel rules above.
PixelBuffer ScaleSkinImage(const PixelBuffer& img, int cells, bool columns, const TRect& margins,
                           bool tile, int dpi);

// Every image and pixel quantity of the parsed `model` scaled to `dpi` by the model rules
// above. At 192 DPI an image whose @2x entry was read (TSkinModel::SetTargetDpi) and fits is
// replaced by it instead (see CheckHiDpiImages); the model then forgets its @2x entries.
// Scaling twice scales twice: call it once after each parse.
void ScaleSkinModel(TSkinModel& model, int dpi);

// One @2x entry the last parse read, and whether 192 DPI uses it.
struct THiDpiCheck {
  String Name;  // the @2x entry, e.g. "border_left@2x.bmp"
  int OneWidth = 0, OneHeight = 0;
  int TwoWidth = 0, TwoHeight = 0;
  int Cells = 0;
  bool Columns = false;
  bool Used = false;
  std::string Why;  // why it is ignored; empty when used
};

// The @2x entries of the model's last parse (at 192 DPI) and what ScaleSkinModel(model, 192)
// does with each. An entry is used when its cells are exactly twice the 1x image's cells in
// both directions; otherwise the 1x image is scaled.
std::vector<THiDpiCheck> CheckHiDpiImages(TSkinModel& model);

}  // namespace lbb::skin
