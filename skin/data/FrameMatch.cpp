#include "skin/data/FrameMatch.h"

#include <algorithm>

#include "skin/data/FrameGeometry.h"
#include "skin/data/imgutil.h"

namespace lbb::skin {

namespace {

constexpr Pixel kKeyed = 0xFF00FF;

TBorderPiece PieceOf(const TSkinModel& skin, int side) {
  const auto& b = skin.border[static_cast<size_t>(side)];
  return b ? TBorderPiece{b->Map.Width(), b->Map.Height(), b->frame} : TBorderPiece{};
}

// True when the picture inside `r` is border `side` of the skin in `look`, keyed pixels aside.
bool BorderShown(const PixelBuffer& picture, const TSkinModel& skin, int side, const TRect& r,
                 int look) {
  const auto& piece = skin.border[static_cast<size_t>(side)];
  if (!piece || piece->Map.Empty() || r.Inverted()) return false;
  const int frames = std::max(1, piece->frame);
  const bool stacked = side == kBorderTop || side == kBorderBottom;
  const PixelBuffer expected =
      RenderSkinImage(TRect{0, 0, r.Width(), r.Height()}, piece->Map, piece->r, stacked,
                      piece->Tile != 1, frames, frames == 1 ? 1 : look);
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) {
      const Pixel want = expected.At(x, y) & 0xFFFFFF;
      if (want != kKeyed && (picture.At(r.Left + x, r.Top + y) & 0xFFFFFF) != want) return false;
    }
  return true;
}

}  // namespace

int FrameLookShown(const PixelBuffer& picture, const TSkinModel& skin) {
  if (skin.Empty) return 0;
  const TFrameWidths w =
      FrameWidthsOf(PieceOf(skin, kBorderLeft), PieceOf(skin, kBorderRight),
                    PieceOf(skin, kBorderTop), PieceOf(skin, kBorderBottom), false);
  const int W = picture.Width(), H = picture.Height();
  if (w.Left <= 0 || w.Right <= 0 || w.Bottom <= 0 || W <= w.Left + w.Right ||
      H <= w.Top + w.Bottom)
    return 0;
  for (int look = 1; look <= 2; ++look) {
    if (BorderShown(picture, skin, kBorderLeft, TRect{0, 0, w.Left, H}, look) &&
        BorderShown(picture, skin, kBorderRight, TRect{W - w.Right, 0, W, H}, look) &&
        BorderShown(picture, skin, kBorderBottom, TRect{w.Left, H - w.Bottom, W - w.Right, H},
                    look))
      return look;
  }
  return 0;
}

}  // namespace lbb::skin
