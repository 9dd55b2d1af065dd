// Check boxes and radio buttons as pure functions: which frame of the skin's check or radio
// image a control shows, and where the image and the caption go. The Win32 skinners read the
// window and the control object; everything they decide from those readings is decided here.
// Rectangles are in the control's own coordinates; halving truncates toward zero.
#pragma once

#include <string>

#include "skin/data/ControlGeometry.h"
#include "skin/data/SkinRect.h"

namespace lbb::skin {

// What decides a check box's frame.
struct TCheckFrameInput {
  int frames = 4;              // frames side by side in the skin's CheckMap
  bool checked = false;        // the window's button state is checked
  bool indeterminate = false;  // the window's button state is indeterminate (BST_INDETERMINATE)
  bool disabled = false;       // the window has WS_DISABLED
  // The control object's published properties, when it has them.
  bool hasState = false;      // an enumeration "State"
  std::u16string stateIdent;  // its identifier ("cbChecked", ...)
  bool hasChecked = false;    // a Boolean "Checked" (looked at only without "State")
  bool checkedTrue = false;
  bool hasDataField = false;    // a data-aware check box: `state` decides
  int state = 0;                // the skinner's state: last BM_SETCHECK wParam + 1, 0 before
  bool hasDataBinding = false;  // bound check boxes always show the first frame
};

// The 1-based frame of the CheckMap the check box shows. The window's state comes first, the
// control object's properties override it, a disabled window moves two frames on, and the
// indeterminate state shows frame 4. A twelve-frame image keeps its frames in rows of four
// (unchecked, checked, indeterminate), so 2, 3 and 4 become 5, 4 and 8 there, and the
// indeterminate state 9 (12 when disabled). The result is kept within 1..frames.
int CheckBoxFrame(const TCheckFrameInput& in);

// The 1-based frame of the RadioMap a radio button shows: 2 checked, 1 not, two on when
// disabled; kept within 1..frames.
int RadioButtonFrame(bool checked, bool disabled, int frames);

// The size of one frame of a `frames`-frame image of imageWidth x imageHeight.
TSize CheckImageSize(int imageWidth, int imageHeight, int frames);

struct TCheckLayout {
  TRect Image;                // where the frame is drawn
  TRect Text;                 // the box the caption is centred in vertically
  bool RightAligned = false;  // the caption is right-aligned (DT_RIGHT)
};

// The image centred vertically at the left edge and the text box from image width + 2 to the
// right edge; with `leftText` (BS_LEFTTEXT) the image at the right edge, the text box ending
// image width + 2 before it and the caption right-aligned. The gap of 2 is in 96-DPI pixels,
// scaled to `dpi`.
TCheckLayout CheckLayout(const TRect& rc, TSize image, bool leftText, int dpi = 96);

// The caption of measured height `textHeight` centred vertically in `box` (box's width kept).
TRect CheckCaptionRect(const TRect& box, int textHeight);

}  // namespace lbb::skin
