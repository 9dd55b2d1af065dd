// What bitmap buttons and speed buttons share: the glyph (a bitmap of up to four images side
// by side, or an image of an image list), the placement of glyph and caption by layout,
// margin and spacing, and the drawing of both.
#pragma once

#include <windows.h>

#include <memory>

#include "forms/Bitmap.h"
#include "forms/core/Component.h"

namespace lbb::forms {

class TCustomImageList;

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// The images of a glyph bitmap, in order: up, disabled, clicked (held down), down (stays down).
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where glyph and text go inside a button's face.
struct TButtonPlacement {
  POINT glyph{0, 0};
  RECT text{0, 0, 0, 0};
};

// Places a glyph of `glyph` size and a caption of `text` size inside `client`. Along the
// layout's axis: Margin -1 centres the pair (with Spacing -1 the free room is split in equal
// thirds between the two edges and the gap); otherwise the glyph sits Margin pixels from its
// edge and Spacing -1 splits the rest. Across the axis both are centred.
TButtonPlacement PlaceButtonContent(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout,
                                    int margin, int spacing);

// The glyph of a button: a bitmap of NumGlyphs images side by side, its bottom-left pixel's
// colour see-through, or else an image of an image list.
class TButtonGlyph {
 public:
  TButtonGlyph();
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(const TBitmap* bitmap);
  int64_t NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int64_t n) { numGlyphs_ = n < 1 ? 1 : (n > 4 ? 4 : n); }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* images) { images_ = images; }
  int64_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int64_t v) { imageIndex_ = v; }
  int64_t DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int64_t v) { disabledIndex_ = v; }

  // The size of one image; 0 x 0 when there is none.
  SIZE Size() const;
  // Scales the bitmap's images by m / d, each by its nearest pixels (a button scaled with its
  // form); an image list's images are scaled with the list.
  void ChangeScale(int m, int d);
  // Draws the image for `state` with its top-left corner at `at`.
  void Draw(HDC dc, POINT at, TButtonState state) const;

 private:
  void DrawEmbossed(HDC dc, POINT at) const;

  std::unique_ptr<TBitmap> glyph_;
  int64_t numGlyphs_ = 1;
  TCustomImageList* images_ = nullptr;
  int64_t imageIndex_ = -1;
  int64_t disabledIndex_ = -1;
};

// Draws glyph and caption of a button face into `client`; `offset` moves both (a pressed
// button's content moves by one pixel).
struct TButtonFace {
  const TButtonGlyph* glyph = nullptr;
  String caption;
  HFONT font = nullptr;
  COLORREF textColor = 0;
  TButtonLayout layout = TButtonLayout::blGlyphLeft;
  int margin = -1;
  int spacing = 4;
  TButtonState state = TButtonState::bsUp;
  int offset = 0;
};
// Returns where the caption went (for a focus rectangle).
RECT DrawButtonFace(HDC dc, const RECT& client, const TButtonFace& face);

}  // namespace lbb::forms
