// Tab strips and header bars as pure functions: where the tabs of a skinned tab control lie,
// which of them are shown when the strip is scrolled, which tab a point hits, where a tab's
// caption and close button go, the page border, and the skin frame a tab or a header item
// shows. The Win32 skinners read the control (tab widths, the page's rectangle, the scroll
// offset) and draw; every decision from those readings is made here.
//
// The look follows the skins' sample window: tabs stand in a row on the page's edge, two
// pixels apart from the control's edge; an unselected tab is two pixels lower than the
// selected one, and the selected tab is two pixels wider on each side, so it overlaps its
// neighbours and covers the page border under it (it is drawn last). The page border lies two
// pixels outside the page, so the tabs' lower two pixels stand on it.
//
// Every layout is worked out for tabs at the top ("along" is x, "depth" is y from the
// control's edge) and then turned to the control's side: mirrored for the bottom, turned a
// quarter for the left and the right.
#pragma once

#include <vector>

#include "base/PixelBuffer.h"
#include "skin/data/ControlGeometry.h"
#include "skin/data/SkinRect.h"

namespace lbb::skin {

enum class TSkinTabPosition { tpTop, tpBottom, tpLeft, tpRight };

inline constexpr int kTabStart = 2;    // the first tab starts this far along the strip
inline constexpr int kTabLift = 2;     // the selected tab stands this much higher
inline constexpr int kTabOverlap = 2;  // and this much wider on each side
inline constexpr int kTabPaneGap = 2;  // the page border lies this far outside the page
inline constexpr int kTabCloseSize = 11;
inline constexpr int kTabCloseGap = 4;  // between the close button and the tab's far end
inline constexpr int kTabTextPad = 6;   // the caption keeps this far from the tab's ends

// The skin's tab frames: normal, selected, disabled, hot, selected with the keyboard focus.
inline constexpr int kTabFrameNormal = 1;
inline constexpr int kTabFrameSelected = 2;
inline constexpr int kTabFrameDisabled = 3;
inline constexpr int kTabFrameHot = 4;
inline constexpr int kTabFrameFocused = 5;

// The position a tab control's style asks for: TCS_BOTTOM (2) alone the bottom, TCS_VERTICAL
// (0x80) the left, both the right.
TSkinTabPosition TabPositionFromStyle(unsigned style);

struct TTabLayoutInput {
  std::vector<int> Lengths;  // each tab's length along the strip
  int First = 0;             // tabs before it are scrolled out of sight
  int Selected = -1;
  int Depth = 0;   // from the control's edge to the page: the tabs' height
  int Length = 0;  // room along the strip (the control's side less an up-down)
  TSkinTabPosition Position = TSkinTabPosition::tpTop;
  TSize Control;  // the control's client size
};

// Each tab's rectangle in the control's coordinates; an empty rectangle (all 0) for a tab
// scrolled out or lying wholly past `Length`. A tab reaching past `Length` is cut there.
std::vector<TRect> TabRects(const TTabLayoutInput& in);

// A rectangle of the top layout (x along, y depth) in the control's coordinates, and back.
TRect TabToControl(const TRect& top, TSkinTabPosition pos, TSize control);
TRect TabFromControl(const TRect& r, TSkinTabPosition pos, TSize control);

// The tab under `p`: the selected tab first (it lies on top), then the others; -1 for none.
int TabHitTest(const std::vector<TRect>& rects, int selected, TPoint p);

// The close button of a tab: a square at the far end of the tab, centred across it.
TRect TabCloseRect(const TRect& tab, TSkinTabPosition pos, TSize control);
// The box a tab's caption is centred in: the tab less its padding, the part standing on the
// page border, and the close button when there is one.
TRect TabTextRect(const TRect& tab, bool hasClose, TSkinTabPosition pos, TSize control);
// The page border around the page rectangle `display`, kept inside the control.
TRect TabPaneRect(const TRect& display, TSize control);
// How deep the strip is: from the control's edge on the tabs' side to the page.
int TabStripDepth(const TRect& display, TSkinTabPosition pos, TSize control);
// The room along the strip: the control's side, less the up-down when one is shown (its
// length along the strip, `upDown`).
int TabStripLength(TSkinTabPosition pos, TSize control, int upDown);

// The first tab shown, from each tab's left (top) edge and length as the native control
// places them after scrolling: the leading tabs it moved before the control's edge, or left
// without a length, are out of sight.
int TabFirstVisible(const std::vector<int>& nativeStarts, const std::vector<int>& lengths);

// The frame of a tab: selected (with the focus: the focused frame), disabled, hot or normal.
int TabFrame(bool selected, bool hot, bool enabled, bool focused);
// The skin's tab image (cells side by side, drawn for tabs at the top) made for another side:
// each cell flipped for the bottom, turned a quarter anticlockwise for the left and clockwise
// for the right; cells stay side by side.
PixelBuffer TabImageFor(const PixelBuffer& strip, int frames, TSkinTabPosition pos);
// The image's margins turned with it.
TRect TabMarginsFor(const TRect& margins, TSkinTabPosition pos);
// The margins of the page border image: a third of its size on each side, so its corners and
// edges stay unscaled and only the middle stretches.
TRect TabBorderMargins(int width, int height);

// ---- header bars

// The skin's header frames: normal, pressed, disabled, hot.
inline constexpr int kHeaderFrameNormal = 1;
inline constexpr int kHeaderFramePressed = 2;
inline constexpr int kHeaderFrameDisabled = 3;
inline constexpr int kHeaderFrameHot = 4;
inline constexpr int kHeaderTextPad = 6;  // the item's text keeps this far from its ends

// The frame of header item `index` (hot: the item under the mouse, pressed: the item the
// mouse went down on); an image of fewer frames shows normal instead. The frame of the empty
// bar after the last item is that of index -1.
int HeaderItemFrame(int index, int hot, int pressed, bool enabled, int frames);
// The caption box of a header item: `align` 0 left, 1 right, 2 centred (the header's format
// bits); `text` is the caption's measured size. A pressed item's caption moves one pixel
// right and down, as a pushed button's would.
TRect HeaderTextRect(const TRect& item, TSize text, int align, bool pressed);

}  // namespace lbb::skin
