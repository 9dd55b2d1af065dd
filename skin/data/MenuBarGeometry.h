// The painted menu bar's geometry as pure functions: where the first button starts in the
// band, how wide a button is for its measured caption, and the buttons' bounds left to right
// or right to left, with a maximised MDI child's caption buttons limiting a right-to-left row.
// Band-local numbers are relative to the band's top-left corner; bounds are in frame
// coordinates (the band rectangle's own).
#pragma once

#include <vector>

#include "skin/data/SkinRect.h"

namespace lbb::skin {

// The first button's offset in a band `bandWidth` wide: without a Menubar element 6; with one
// its right margin + 8 for right-to-left menus, else its left margin + 4, and 12 when that
// is more than the band is wide. The fixed offsets are 96-DPI pixels, scaled to `dpi`.
int MenuBarStart(bool hasElement, const TRect& margins, bool rightToLeft, int bandWidth,
                 int dpi = 96);

// A button's width for its caption measured `textWidth` wide: 10 more for the space around
// it, 0 for an empty caption (it cannot be hit).
int MenuButtonWidth(int textWidth, int dpi = 96);

// One button to lay out.
struct TMenuBarEntry {
  bool Visible = true;
  int Width = 0;  // MenuButtonWidth of its caption
};

struct TMenuBarPlace {
  TRect Item;    // where the caption is drawn, band-local: (x, 0, x + w, band height - 1)
  TRect Bounds;  // frame coordinates: (B.Left + x, B.Top, B.Left + x + w, B.Bottom - 1)
  bool operator==(const TMenuBarPlace&) const = default;
};

// The buttons of band `band` from offset `start`: left to right, or right to left from
// band width - start and no further right than `rightLimit` (band-local; the maximised MDI
// child's buttons, see MenuBarRightLimit). Hidden buttons get empty rectangles.
std::vector<TMenuBarPlace> LayoutMenuBar(const TRect& band, int start, bool rightToLeft,
                                         const std::vector<TMenuBarEntry>& entries, int rightLimit);

// The right end of a right-to-left row in band `band` (band-local): band width - start, but
// 5 short of the leftmost of `mdiButtons` (frame coordinates) when there are any.
int MenuBarRightLimit(const TRect& band, int start, const std::vector<TRect>& mdiButtons,
                      int dpi = 96);

}  // namespace lbb::skin
