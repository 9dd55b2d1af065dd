// The geometry of the skinned range, status, group and media-player controls as pure
// functions: a progress bar's fill and chunks, a track bar's groove, thumb shape and thumb
// frame, a status bar's panels and size grip, a group box's frame and caption, and the buttons
// of the media-player panel. The Win32 skinners read the window (the native channel and thumb
// rectangles, the range and position, the panels' right edges, the text extents); everything
// they decide from those numbers is decided here. Rectangles are in the control's own
// coordinates; halving truncates toward zero; damaged inputs never divide by zero and never
// give an inverted rectangle.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/ControlGeometry.h"
#include "skin/data/SkinRect.h"

namespace lbb::skin {

// ---- progress bars

// The fill's length along a bar `length` pixels long: length x (position - minimum) /
// (maximum - minimum), the position kept within the range. 0 when maximum <= minimum (an
// empty range shows an empty bar) or the length is not positive.
int ProgressFillLength(int length, int64_t position, int64_t minimum, int64_t maximum);

// How the bar is drawn: 0 a track (frame 1 of `progress`) with the fill (frame 2) stretched
// over the filled part; 1 the track with the `progresschunk` image repeated along the fill.
// The skin's [Progress] Style key decides, not the bar's own style: Style 0 (a `progress`
// image of two frames) draws style 0, any other Style draws chunks when the skin has a chunk
// image. A `progress` image without a fill frame draws chunks whenever there is a chunk
// image; without one, every bar draws style 0.
int ProgressStyle(int skinStyle, bool hasChunkImage, int progressFrames);

// The chunks of style 1 along a bar drawn left to right in `track`: each `chunkWidth` wide
// (the chunk image's cell width), `gap` apart, starting `inset` pixels inside the track and
// inset as much from its top and bottom; only whole chunks that end within the first `fill`
// pixels of the track and inside its inset. Empty when the chunk width is not positive.
std::vector<TRect> ProgressChunks(const TRect& track, int fill, int chunkWidth, int gap, int inset);

// The fill rectangle of style 0: the track's left part `fill` pixels wide.
TRect ProgressFillRect(const TRect& track, int fill);

// ---- track bars

// Which thumb element a track bar draws, from its style: a bar with ticks on both sides or
// none has the plain thumb (`TrackHorz`, `TrackVert`); a horizontal bar points to its ticks:
// down (`Trackbottom`, the default) or up with TBS_TOP (`Tracktop`); a vertical one right
// (`Trackright`, the default) or left with TBS_LEFT (`TrackLeft`).
enum class TThumbShape { Horz, Vert, Up, Down, Left, Right };
TThumbShape TrackThumbShape(bool vertical, bool both, bool noTicks, bool topOrLeft);
// The plain shape of the same orientation, drawn when the skin lacks the pointed one.
TThumbShape PlainThumbShape(TThumbShape shape);

// The thumb's frame of five, laid out as the push button's: 1 normal, 2 pressed (dragged),
// 3 disabled, 4 hot (the mouse over the thumb), 5 focused. Disabled wins, then pressed, hot
// and focused.
int TrackThumbFrame(bool enabled, bool pressed, bool hot, bool focused);

// The skinned groove: `thickness` pixels across (the groove image's height, or width when
// vertical), centred on the native channel's middle line and as long as the channel. A
// non-positive thickness keeps the channel's own.
TRect TrackGrooveRect(const TRect& channel, bool vertical, int thickness);

// ---- status bars

// The panels of a bar whose parts end at `rights` (SB_GETPARTS; -1 runs to the end): each
// from the previous right edge to its own, two pixels inside the bar's top and bottom, the
// last one (and every -1) ending `gripWidth` before the bar's right edge; an edge beyond that
// is kept there. No parts give one panel across the bar.
std::vector<TRect> StatusPanelRects(const TRect& bar, const std::vector<int>& rights, int gripWidth,
                                    int dpi = 96);

// A panel's text as the window keeps it: a leading tab centres it, two right-align it. The
// tabs are taken off `text`; the result is 0 left, 1 centre, 2 right.
int StatusTextAlign(std::u16string& text);

// The box a panel's text is drawn in: the panel less 4 pixels on the left and right.
TRect StatusTextRect(const TRect& panel, int dpi = 96);

// The size grip: one cell of the grip image at its own size in the bar's bottom-right
// corner (no higher than the bar).
TRect StatusGripRect(const TRect& bar, TSize cell);

// ---- group boxes

struct TGroupBoxLayout {
  TRect Frame;    // the rounded frame
  TRect Caption;  // the caption box, on its own background
  bool operator==(const TGroupBoxLayout&) const = default;
};

// The frame from (1, h / 2 - 1) to (width - 1, height - 1), h the height of "0" in the
// control's font; the caption of the measured size at (8, 0), or ending 8 pixels before the
// right edge when the window reads from the right (WS_EX_RIGHT). A caption wider than the
// room left is cut at the frame's far side.
//
// The fixed pixels of the status bar and group box layouts (2, 4, 8) are 96-DPI pixels,
// scaled to `dpi`.
TGroupBoxLayout GroupBoxLayout(TSize box, int zeroHeight, TSize caption, bool rightAligned,
                               int dpi = 96);

// ---- media-player panel

// The visible buttons side by side in `rc`, each `rc` width / count wide, the last taking
// what the division left; empty when count < 1.
std::vector<TRect> MediaButtonRects(const TRect& rc, int count);

// The index of the button under (x, y); -1 when none.
int MediaButtonAt(const std::vector<TRect>& buttons, int x, int y);

}  // namespace lbb::skin
