// The caption bar's geometry as pure functions: where the title text goes, which caption
// buttons show and where, frame coordinates of a client point, and the opaque runs of a
// colour-keyed bitmap that make a shaped window's region. The Win32 frame painter measures the
// text and reads the window; everything it decides from those numbers is decided here.
// Coordinates are frame coordinates (relative to the window's top-left corner, frame included).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "base/PixelBuffer.h"
#include "skin/data/FrameGeometry.h"
#include "skin/data/SkinRect.h"
#include "skin/data/SkinSystem.h"

namespace lbb::skin {

// ---- the title text

// What the title placement needs: the caption rectangle C, the measured text size, the title
// element's numbers and the window's kind.
struct TCaptionTextInput {
  TRect Caption;      // C: (bw.Left, 0, W - bw.Right, bw.Top), or (0, 0, W, bw.Top) minimised
  int TextWidth = 0;  // the title text ("  " + title + " ") measured in the caption font
  int TextHeight = 0;
  int BackLeft = 0;  // the title background's fixed caps
  int BackRight = 0;
  int Aligment = 0;  // 0 left, 1 centre, 2 right
  TRect Shift;       // Left: text shift, Top: vertical text shift, Right: right clip
  int RightBtn = 0;  // the largest XCoord of the visible right-aligned caption buttons
  bool BidiLeft = false;
  bool Popup = false;         // the window has WS_POPUP
  bool DialogBorder = false;  // sbsDialog
  int Dpi = 96;  // the screen's: the fixed gaps below are 96-DPI pixels, scaled with it
};

struct TCaptionTextPlace {
  TRect Background;  // `ctr`: the title background's span (caps included)
  TRect Text;        // where the text is drawn (caps excluded): `FTitleRect`
  bool operator==(const TCaptionTextPlace&) const = default;
};

// The title's place: measured rectangle widened by the caps, moved by the alignment (mirrored
// with BidiLeft) and the vertical shift, clipped on the right (by the right-aligned buttons for
// popup windows, by the right clip for others), shifted 10 right for right-to-left titles, 16
// left for left-aligned dialog titles. Halvings truncate toward zero.
TCaptionTextPlace PlaceCaptionText(const TCaptionTextInput& in);

// ---- caption buttons

// Flags of TSkinFormIcons the visibility rules read.
struct TButtonWindow {
  bool Maximised = false;
  bool Active = true;
  bool MinBox = false;      // sbiMin
  bool MaxBox = false;      // sbiMax
  bool HelpBox = false;     // sbiHelp
  bool SystemMenu = false;  // sbisystem
  bool MessageBox = false;
  bool DialogBorder = false;  // sbsDialog
  bool MDIChildMax = false;   // a maximised MDI child's buttons show in this window's menu bar
  bool HasMenuBar = false;
};

// The result of the visibility rules for one button: whether it shows, and for the maximise
// and minimise actions whether it is enabled (left unchanged for the other actions).
struct TButtonVisibility {
  bool Visible = false;
  bool SetsEnabled = false;
  bool Enabled = true;
  bool operator==(const TButtonVisibility&) const = default;
};

// `ask` answers the window's SKM_BUTTONVISIBLE for first-rule values 1000..2000 (called only
// then, with the button's Visibility and Action): true when the window says > 0.
using TAskButtonVisible = std::function<bool(int visibility, int action)>;

TButtonVisibility SysButtonVisibility(int visibility, int visibility1, int action,
                                      const TButtonWindow& w, const TAskButtonVisible& ask);

// What the button layout needs of the window.
struct TButtonFrame {
  int Width = 0;  // fwidth: the window width
  TRect Title;    // ctr: the title background's span
  TFrameWidths Borders;
  int MenuHeight = 0;
  int MenubarShift = 0;  // Menubar.r.Left, 0 without a Menubar element
};

// The bounds of a caption button of w x h pixels with `align`, `xcoord` and `ycoord`.
TRect SysButtonBounds(int align, int xcoord, int ycoord, int w, int h, const TButtonFrame& f);

// Frame coordinates of a point given in client coordinates: shifted by the left border and by
// the caption and menu band, except for a minimised MDI child (its client point is used as it
// is).
struct TFramePoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TFramePoint&) const = default;
};
TFramePoint ClientToFrame(int clientX, int clientY, const TFrameWidths& widths, int menuHeight,
                          bool minimisedMdiChild);

bool PointIn(const TRect& r, int x, int y);

// ---- shaped windows

// Where the runs of a keyed bitmap go.
class TRunSink {
 public:
  virtual ~TRunSink() = default;
  virtual void Add(const TRect& r) = 0;
};

// Collects the rectangles of a region the way the frame's region builder does: room for 500
// at first, growing by 500 whenever full, the bounding box kept; every 2000 rectangles (and at
// Finish, also when none are left) they are handed to `flush` and the buffer starts empty.
class TRegionRuns : public TRunSink {
 public:
  using TFlush = std::function<void(const std::vector<TRect>& rects, const TRect& bounds)>;
  explicit TRegionRuns(TFlush flush);

  void Add(const TRect& r) override;
  void Finish();

  size_t Capacity() const { return capacity_; }
  size_t Pending() const { return rects_.size(); }

  static constexpr size_t kStep = 500;
  static constexpr size_t kBatch = 2000;

 private:
  void Flush();

  TFlush flush_;
  std::vector<TRect> rects_;
  size_t capacity_ = kStep;
  TRect bounds_{};
};

// Every maximal run, row by row from the top, of pixels of `bmp` that are not the key colour
// (each channel within [key, min(255, key + tolerance)]), as the rectangle (start + dx, row +
// dy, end + dx, row + dy + 1) with an exclusive end, handed to `runs`. `key` is 0x00BBGGRR.
void KeyedRuns(const PixelBuffer& bmp, TColor key, int tolerance, int dx, int dy, TRunSink& runs);

// Between KeyedRuns and a TRegionRuns: a row whose runs are the same as the row right above
// it makes the rectangles of that row one row taller instead of adding its own. The region is
// the same, with far fewer rectangles (a platform region of many rectangles is slow to make).
// Runs arrive row by row, left to right, one pixel high.
class TRowMerge : public TRunSink {
 public:
  explicit TRowMerge(TRegionRuns& target) : target_(target) {}
  void Add(const TRect& r) override;
  // The last rows to the target, then the target's Finish.
  void Finish();

 private:
  void EndRow();
  void Emit();

  TRegionRuns& target_;
  std::vector<TRect> above_;  // the band the rows so far make, not yet handed on
  std::vector<TRect> row_;    // the row being collected
};

}  // namespace lbb::skin
