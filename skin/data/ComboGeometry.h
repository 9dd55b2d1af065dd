// The combo box, the up-down and the date-time picker's arrow button as pure functions: which
// frame of the skin's `combox` (ComboButton), `ExtraImages`, `HSpin` and `VSpin` elements a
// control shows, and where the halves of an up-down and a centred glyph go. The Win32
// skinners (skin/controls/WinSkinCombo, WinSkinUpDown, WinSkinDateTime) read the windows;
// everything they decide from those readings is decided here. Rectangles are in the control's
// own client coordinates; halving truncates toward zero.
#pragma once

#include "skin/data/ControlGeometry.h"
#include "skin/data/SkinRect.h"

namespace lbb::skin {

// ---- combo box button (combox, Comboxborder: 4 frames; ExtraImages: 5 frames)

// The frames follow the push buttons' convention (and the skin's own comment on ComboButton):
// 1 normal, 2 pressed, 3 disabled, 4 hot. ExtraImages has a fifth, focused, frame that the
// combo box does not use.
inline constexpr int kComboFrames = 4;
inline constexpr int kExtraImageFrames = 5;
inline constexpr int kComboFrameNormal = 1;
inline constexpr int kComboFramePressed = 2;
inline constexpr int kComboFrameDisabled = 3;
inline constexpr int kComboFrameHot = 4;

struct TComboLook {
  bool enabled = true;
  bool dropped = false;  // the list is open (it shows pressed the whole time)
  bool pressed = false;  // the left button is down on the button
  bool hot = false;      // the mouse is over the button
};

// Disabled 3; else dropped or pressed 2; else hot 4; else 1.
int ComboButtonFrame(const TComboLook& look);

// The button of a box whose window does not say where its button is (not a system combo box):
// `buttonWidth` wide at the right edge (left edge when `rightToLeft`) inside a border of
// `border` pixels. Never inverted.
TRect ComboFallbackButton(int width, int height, int border, int buttonWidth, bool rightToLeft);

// A w x h picture centred in `box` (rounded toward the top-left), clipped to it.
TRect CentredIn(const TRect& box, int w, int h);

// ---- up-down (HSpin, VSpin: 8 frames side by side, glyphs the same in MaskMap)

// The eight frames: 1..4 the first half (up on a vertical up-down, left on a horizontal one),
// 5..8 the second half (down, right); each four as normal, pressed, disabled, hot. That is
// how the built-in skin draws them ("UPDOWN.HORZ IMAGE (8 cells)" on the preview sheet: two
// rows of the button's normal, pressed, disabled and hot looks), and the glyph images follow
// the same order.
inline constexpr int kUpDownFrames = 8;

enum TUpDownHalf : int { udNone = 0, udFirst = 1, udSecond = 2 };

struct TUpDownLook {
  bool enabled = true;
  int pressed = udNone;  // the half held down with the cursor over it
  int hot = udNone;      // the half under the mouse
};

// The frame of half `half` (udFirst or udSecond): disabled 3, pressed 2, hot 4, else 1, plus 4
// for the second half.
int UpDownFrame(int half, const TUpDownLook& look);

struct TUpDownInput {
  int width = 0;  // the client rectangle
  int height = 0;
  bool horizontal = false;  // UDS_HORZ
  // An up-down aligned to an edit buddy (UDS_ALIGNLEFT or UDS_ALIGNRIGHT) draws the buddy's
  // edge on its outer sides (`border` pixels) and keeps `spacer` pixels free towards the buddy.
  int border = 0;
  int spacer = 0;
  bool alignLeft = false;  // UDS_ALIGNLEFT: the edge is on the left, the spacer on the right
};

struct TUpDownLayout {
  TRect Arrows;  // both halves together
  TRect First;   // up or left
  TRect Second;  // down or right
  bool operator==(const TUpDownLayout&) const = default;
};

// The halves as the system's up-down lays them out: the client rectangle less the buddy's edge
// on the outer side, top and bottom and the spacer towards the buddy, split at its middle
// (the first half size / 2 long). Never inverted.
TUpDownLayout UpDownHalves(const TUpDownInput& in);
// The half under a client point: udFirst, udSecond or udNone.
int UpDownHalfAt(const TUpDownLayout& layout, int x, int y);

}  // namespace lbb::skin
