// The skinned controls' geometry as pure functions: which skin frame a button draws, where its
// caption, glyph and drop-down arrow go, and a scroll bar's arrows, track, thumb and hit test.
// The Win32 skinners measure the text and read the control; everything they decide from those
// numbers is decided here. Rectangles are in the control's own coordinates (its window
// rectangle moved to (0, 0)) unless a function says otherwise. Every halving truncates toward
// zero. Damaged inputs (negative sizes, inverted ranges) never divide by zero and never give an
// inverted rectangle; each function says what they give.
#pragma once

#include <string>
#include <string_view>

#include "skin/data/SkinRect.h"

namespace lbb::skin {

// ---- text flags the placements hand back (the values of the Win32 DrawText flags)

inline constexpr int kDtCenter = 0x1;
inline constexpr int kDtRight = 0x2;
inline constexpr int kDtWordBreak = 0x10;

// ---- button frames

// Bits of the skinner's `state` byte.
inline constexpr int kStateHot = 1;
inline constexpr int kStatePressed = 2;

// The five frames of the skin's `Button` element.
inline constexpr int kFrameNormal = 1;
inline constexpr int kFramePressed = 2;
inline constexpr int kFrameDisabled = 3;
inline constexpr int kFrameHot = 4;
inline constexpr int kFrameFocused = 5;

struct TButtonLook {
  int state = 0;           // kStateHot | kStatePressed
  bool enabled = true;     // the window lacks WS_DISABLED
  bool focused = false;    // the window has the focus
  bool isdefault = false;  // published "Default" reads "true"
};

// Push and bit buttons: disabled 3; else pressed 2, hot 4, focused or default 5, else 1.
int ButtonFrame(const TButtonLook& b);
// Menu buttons: disabled 3; else pressed 2, focused or hot 4, else 1 (default is not shown).
int MenuButtonFrame(const TButtonLook& b);

struct TSpeedButtonLook {
  int state = 0;
  bool enabled = true;  // published "Enabled" reads "true"
  bool down = false;    // published "Down" reads "true"
  bool flat = false;    // published "Flat" reads "true"
};

// Speed buttons: Down 2 (even when disabled); else disabled 3; else pressed 2, hot 4, else 1.
int SpeedButtonFrame(const TSpeedButtonLook& b);
// Whether the skin frame is drawn at all: a flat button shows it only for frames 2 and 4.
bool SpeedButtonDrawsFrame(int frame, bool flat);

// A button-down forwarded to the control object carries the message's coordinates, unless the
// control is wider or taller than 0x8000 pixels (more than the message's 16-bit coordinates
// hold): then the cursor position in the control's client coordinates is used.
bool ForwardUsesCursor(int width, int height);

// ---- glyph choice

// The glyph bitmap's count of images side by side: NumGlyphs, below 1 counted as 1.
int GlyphCount(int numGlyphs);

struct TGlyphChoice {
  int Image = 1;          // 1-based: 1 up, 2 disabled, 3 clicked, 4 down
  bool Embossed = false;  // a disabled button with a single-image glyph draws it embossed
  bool operator==(const TGlyphChoice&) const = default;
};

// Bit buttons: image 3 for frame 2, 2 for frame 3, else 1; an image beyond the glyph's count
// uses the first one.
TGlyphChoice BitButtonGlyph(int frame, int numGlyphs);
// Speed buttons: image 4 when Down, else as BitButtonGlyph.
TGlyphChoice SpeedButtonGlyph(int frame, bool down, int numGlyphs);
// The source rectangle of image `image` (1-based) in a glyph bitmap of w x h holding
// `numGlyphs` images side by side (each w / count wide). An image outside 1..count gives the
// first; a negative size gives an empty rectangle.
TRect GlyphCell(int w, int h, int numGlyphs, int image);
// The image-list index drawn: ImageIndex when enabled; when disabled DisabledIndex, or
// ImageIndex when DisabledIndex is -1.
int ImageListIndex(bool enabled, int imageIndex, int disabledIndex);

struct TSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const TSize&) const = default;
};

// What the bit button has to show beside its caption.
struct TGlyphSource {
  bool HasGlyph = false;  // published "Glyph" holds a bitmap
  int GlyphWidth = 0;     // the whole glyph bitmap
  int GlyphHeight = 0;
  int NumGlyphs = 1;
  bool HasImages = false;  // published "Images" is set
  int ImageIndex = -1;
  int ImagesWidth = 0;  // the image list's image size
  int ImagesHeight = 0;
};

// The glyph's size: glyph width / NumGlyphs x glyph height; else the image list's size when
// it is set and ImageIndex is not -1; else 0 x 0. Negative sizes count as 0.
TSize BitButtonGlyphSize(const TGlyphSource& g);

// ---- captions

// The caption with its first "||" replaced by a line break (CR LF); later ones stay.
std::u16string CaptionLineBreak(std::u16string_view caption);

// The rectangle a rect shrunk by d on every side gives; it never inverts (an over-shrunk side
// collapses onto the centre line).
TRect ShrinkRect(const TRect& r, int d);

// Push-button caption: the measured text box (measured in rc shrunk by 2) centred in rc at
// (dw / 2, dh / 2 - 1) from rc's top-left, dw and dh the differences of width and height; the
// focus rectangle is the box grown by 2 on every side, present when focused and the skin's
// Options lack xoNoFocusRect. A box larger than rc hangs over its top-left (dw, dh < 0).
struct TButtonCaption {
  TRect Text;
  bool HasFocus = false;
  TRect Focus;
  bool operator==(const TButtonCaption&) const = default;
};
TButtonCaption PlaceButtonCaption(const TRect& rc, TSize text, bool focused, bool noFocusRect);

// The control base's caption (`DrawCaption`): the box measured from rc, moved by
// (dw / 2, dh / 2 - 1) when Alignment is 1 (centred); otherwise moved down by dh / 2 - 1 and
// given rc's left and right.
TRect PlaceCaption(const TRect& rc, TSize text, int alignment);

// The control base's focus rectangle (`DrawCaptionFocus`): the box measured from rc, moved by
// (dw / 2, dh / 2 - 1) with DT_CENTER, by (dw, 0) with DT_RIGHT, grown by 2 horizontally and 1
// vertically and clipped to rc. An empty intersection gives an empty rectangle inside rc.
TRect CaptionFocusRect(const TRect& rc, TSize text, int flags);

// The control base's image and caption (`DrawImgCaption`).
struct TImgCaptionInput {
  TRect rc;
  bool HasImage = false;  // ImgIndex is not -1 and the image list is set
  TSize Image;            // the image list's image size
  TSize Text;             // the box measured in ImgCaptionMeasureBox (0 x 0 for empty text)
  int TextAlign = 0;      // 0 left, 1 centre, 2 right
};
struct TImgCaptionPlace {
  bool DrawsImage = false;
  int ImageX = 0;  // the image's top-left
  int ImageY = 0;
  TRect Text;
  bool operator==(const TImgCaptionPlace&) const = default;
};
// The image's width used in the layout: its width when it counts (an image is set and it is
// narrower than rc), else 0.
int ImgCaptionImageWidth(const TImgCaptionInput& in);
// The box the text is measured in: rc, its right side moved out by image width + 2 when an
// image counts.
TRect ImgCaptionMeasureBox(const TImgCaptionInput& in);
// Left offset x (3; centred; right less 2; anything below 2 becomes 1); the image at
// (rc.Left + x, rc.Top + (height - image width) / 2); the text box moved by
// (x + image width, (height - box height) / 2) from rc's top-left, clipped to rc's left and
// right (a box wholly outside collapses onto rc's nearer side).
TImgCaptionPlace PlaceImgCaption(const TImgCaptionInput& in);

// ---- bit buttons

enum class TButtonLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };

// Published "Layout" read by its identifier in any letter case; anything unknown is left.
TButtonLayout ParseButtonLayout(std::u16string_view layout);

struct TBitButtonInput {
  int Width = 0;  // the button's client width and height
  int Height = 0;
  TSize Glyph;  // from BitButtonGlyphSize
  TSize Text;   // measured in BitButtonMeasureBox; 0 x 0 for an empty caption
  TButtonLayout Layout = TButtonLayout::GlyphLeft;
  int Margin = -1;
  int Spacing = -1;
  bool AlignCenter = false;  // published "Alignment" reads "taCenter"
};

struct TBitButtonPlace {
  TRect Glyph;                   // Glyph.cx x Glyph.cy at its place
  TRect Text;                    // Text.cx x Text.cy at its place
  int TextFlags = kDtWordBreak;  // plus DT_RIGHT (glyph right) or DT_CENTER (top, bottom)
  int Margin = 0;                // the margin and spacing used
  int Spacing = 0;
  bool operator==(const TBitButtonPlace&) const = default;
};

// The box the caption is measured in: the button shrunk by 2 on every side, then narrowed by
// glyph width + 2 (left/right layouts) or lowered by glyph height + 2 (top/bottom) from its
// right or bottom side; never inverted.
TRect BitButtonMeasureBox(int width, int height, TSize glyph, TButtonLayout layout);

// Glyph and caption: centred across the layout axis ((size - item + 1) / 2); along it, with
// client the width (left/right) or height (top/bottom), the spacing is 0 when the text or the
// glyph has no width; then with Margin -1 or centre alignment, Spacing -1 gives thirds of the
// free room to margin and spacing, else margin := (client - glyph - spacing - text) / 2;
// otherwise Spacing -1 gives spacing := (client - margin - glyph - text) / 2. The glyph sits
// margin from the layout's edge and the text spacing beyond it.
TBitButtonPlace PlaceBitButton(const TBitButtonInput& in);

// ---- menu buttons

struct TMenuButtonInput {
  int Width = 0;
  int Height = 0;
  TSize Glyph;  // the whole glyph bitmap, one image
  TSize Text;   // measured in MenuButtonMeasureBox
  int Margin = -1;
  int Spacing = -1;
};

struct TMenuButtonPlace {
  TRect Glyph;
  TRect Text;
  int ArrowX = 0;  // the arrow's centre
  int ArrowY = 0;
  int Margin = 0;
  int Spacing = 0;
  bool operator==(const TMenuButtonPlace&) const = default;
};

// The drop-down arrow's area: 8 x 3 pixels after the text.
inline constexpr int kMenuArrowWidth = 8;
inline constexpr int kMenuArrowHeight = 3;

// The caption's measuring box: W - glyph width - 8 wide and the button's height, shrunk by 2.
TRect MenuButtonMeasureBox(int width, int height, TSize glyph);

// Margin -1 and Spacing -1: quarters (W - glyph - text - 8) / 4 for both; Margin -1 only:
// margin := (W - glyph - text - 2 x spacing - 8) / 2; Spacing -1 only:
// spacing := (W + 8 - 2 x margin - glyph - text) / 2. Glyph at (margin, (H - glyph) / 2), text
// at (margin + glyph + spacing, (H - text + 1) / 2), arrow centre at
// (margin + glyph + text + 3 x spacing, (H - 3) / 2).
TMenuButtonPlace PlaceMenuButton(const TMenuButtonInput& in);

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};
// The arrow triangle's corners around centre (x, y): (x, y + 2), (x - 3, y - 1), (x + 3, y - 1).
struct TArrowTriangle {
  TPoint P[3];
};
TArrowTriangle MenuArrowTriangle(int x, int y);

// ---- scroll bars

// The parts of a bar (also the scroll codes of WM_HSCROLL/WM_VSCROLL that light them up).
inline constexpr int kSbNone = -1;
inline constexpr int kSbFirstArrow = 0;   // left / up
inline constexpr int kSbSecondArrow = 1;  // right / down
inline constexpr int kSbPageFirst = 2;    // track before the thumb
inline constexpr int kSbPageSecond = 3;   // track after the thumb
inline constexpr int kSbThumb = 5;

inline constexpr int kSbHorizontal = 0;
inline constexpr int kSbVertical = 1;

// The scroll information of a scroll-bar control.
struct TScrollInfo {
  int Min = 0;
  int Max = 0;
  int Page = 0;
  int Pos = 0;
};

struct TThumb {
  int Top = 0;     // thumbTop, from the bar's start
  int Bottom = 0;  // thumbbottom
  bool operator==(const TThumb&) const = default;
};

// A scroll-bar control's thumb in a bar `len` long with arrows `cw` long: range := max - min
// (9 999 999 when equal); usable := len - 2 cw; page != 0: length := usable (page - 1) / range
// rounded, start := cw + usable (pos - min) / range; when length <= 7 and `minimum8` (the
// window's scroll-bar control, not the control object's fields) length := 8 and
// start := cw + (usable - 8) (pos - min) / range; page 0: length := cw,
// start := cw + (len - 3 cw) (pos - min) / range; start := cw when pos = min.
// Damaged inputs: max < min counts as range 9 999 999, negative len and cw as 0, and the thumb
// is kept inside the track [cw, len - cw] (a page larger than the range fills the track).
TThumb ScrollThumb(const TScrollInfo& si, int len, int cw, bool minimum8);

// The arrows' length: cw, or half the bar when it is shorter than two arrows. Never negative.
int ScrollArrowLength(int len, int cw);

// The bar's thickness: the SArrow bitmap's height, or cw when they differ by more than 2.
int ScrollThickness(int arrowBitmapHeight, int cw);

// The part under position p along the axis: on an arrow that arrow; else before the thumb
// page-first, in the thumb the thumb, after it page-second; outside [0, len) nothing. The
// arrows are ScrollArrowLength long and come first, so a short bar's halves answer as they are
// drawn and a thumb reaching over an arrow does not hide it.
int ScrollHitTest(int p, int len, int cw, const TThumb& thumb);
// The same for a point of the bar's rectangle (0, 0, width, height); outside it nothing.
int ScrollHitTestPoint(int x, int y, int width, int height, int sbDir, int cw, const TThumb& thumb);

// The thumb's start while it is dragged: trackthumb moved by the cursor's movement along the
// axis, kept between cw and len - cw - thumb length (cw when that is less than cw).
int DragThumbStart(int trackthumb, int moved, int len, int cw, int thumbLen);

struct TScrollBarInput {
  int Len = 0;  // along the axis
  int SbDir = kSbHorizontal;
  int CW = 0;
  int Thickness = 0;          // ScrollThickness
  int ArrowBitmapHeight = 0;  // the grip's length
  TThumb Thumb;
  bool Enabled = true;
  int ScrollPos = kSbNone;
  bool FDown = false;
};

struct TScrollBarLayout {
  TRect FirstArrow;
  TRect SecondArrow;
  bool HasTrack = false;  // only when the bar is longer than 2 x CW
  TRect Track;
  bool HasThumb = false;  // enabled, thumb not empty and inside the bar
  TRect Thumb;
  bool HasGrip = false;  // thumb longer than the SArrow bitmap's height - 2
  TRect Grip;
  bool operator==(const TScrollBarLayout&) const = default;
};

// The drawing rectangles in the work bitmap: the bar (len along the axis, Thickness across)
// with the arrows at both ends, the track between, the thumb across the full thickness and the
// grip centred on the thumb, ArrowBitmapHeight long.
TScrollBarLayout ScrollBarLayout(const TScrollBarInput& in);

struct TScrollFrames {
  int FirstArrow = 0;  // SArrow frames (of 23)
  int SecondArrow = 0;
  int Track = 0;  // HBar/VBar frame (of 4)
  int Thumb = 0;  // HSlider/VSlider frame
  int Grip = 0;   // SArrow frame
  bool operator==(const TScrollFrames&) const = default;
};

// The frames drawn: an arrow is pressed when ScrollPos names it and FDown, hot when it names
// it without FDown; the track is 1, 3 when disabled; the thumb 1, 2 while dragged, 3 when hot;
// the grip pressed +1, hot +2.
TScrollFrames ScrollBarFrames(const TScrollBarInput& in);

// A bar's length along its axis: the rectangle's height (vertical) or width; never negative.
int ScrollBarLen(const TRect& bar, int sbDir);

// The host's two-pixel border in window coordinates: a ButtonShadow frame around the whole
// window and a ButtonFace frame one pixel inside (empty frames for a window under 2 pixels).
struct TScrollBorder {
  TRect Shadow;
  TRect Face;
  bool operator==(const TScrollBorder&) const = default;
};
TScrollBorder ScrollBorderRects(int width, int height);

// The corner square between a visible vertical and horizontal bar (window coordinates): the
// vertical bar's left + 2 .. right + 2 by the horizontal bar's top + 2 .. bottom + 2.
TRect ScrollCornerRect(const TRect& vbar, const TRect& hbar);

}  // namespace lbb::skin
