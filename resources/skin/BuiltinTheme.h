// The built-in skin "Slate": its palette, frame geometry and the image sets it is drawn as.
// Calm slate blue for the active caption, cool light greys for everything else, one accent
// blue for selection, focus and checked states.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "resources/skin/Paint.h"

namespace lbb::skingen {

using ImageSet = std::vector<std::pair<std::string, PixelBuffer>>;

namespace slate {

inline constexpr Rgb kCaptionTop = Hex(0x5E87B4), kCaptionBottom = Hex(0x47709C);
inline constexpr Rgb kOutline = Hex(0x2E4C6E), kInner = Hex(0x3A618D), kSheen = Hex(0x8DAED2);
inline constexpr Rgb kCaptionTopOff = Hex(0xDCE1E7), kCaptionBottomOff = Hex(0xCDD4DC);
inline constexpr Rgb kOutlineOff = Hex(0x9BA6B2), kInnerOff = Hex(0xB5BEC8),
                     kSheenOff = Hex(0xEEF1F4);

inline constexpr Rgb kFace = Hex(0xF0F2F5);      // ButtonFace
inline constexpr Rgb kText = Hex(0x1E242C);      // ButtonText, MenuText
inline constexpr Rgb kShadow = Hex(0xA0AAB6);    // ButtonShadow
inline constexpr Rgb kDkShadow = Hex(0x646E7A);  // ButtonDkShadow
inline constexpr Rgb kAccent = Hex(0x4A78B0);    // Hilight
inline constexpr Rgb kAccentLight = Hex(0x6E98C9);
inline constexpr Rgb kAccentDark = Hex(0x3A6294);
inline constexpr Rgb kBorder = Hex(0xAAB4C0);     // control borders
inline constexpr Rgb kBorderOff = Hex(0xCBD1D8);  // disabled borders
inline constexpr Rgb kGlyph = Hex(0x55606D);      // arrows and chevrons
inline constexpr Rgb kGlyphOff = Hex(0xB4BCC5);
inline constexpr Rgb kTrack = Hex(0xE9ECF0);  // scroll-bar track
inline constexpr Rgb kMenu = Hex(0xFBFCFD);
inline constexpr Rgb kMenuBar = Hex(0xF4F6F8);
inline constexpr Rgb kWhite = Hex(0xFFFFFF);
inline constexpr Rgb kCloseHot = Hex(0xCF524C), kClosePressed = Hex(0xA9423D);

// Frame geometry: caption height and border widths (the pieces' cell sizes).
inline constexpr int kCaption = 30, kSide = 4, kBottom = 4, kCornerRadius = 7;
// Caption buttons: cell size and vertical position.
inline constexpr int kCapButtonW = 35, kCapButtonH = 21, kCapButtonY = 5;

}  // namespace slate

// Frame pieces, caption and MDI buttons, menu bar (frame_images.cpp).
void AddFrameImages(ImageSet& out);
// Push buttons, check and radio glyphs, scroll bars, progress, tabs, header, menus, combo,
// up-down, track-bar thumbs, status bar (control_images.cpp).
void AddControlImages(ImageSet& out);
// The program's named bitmaps: MENUGLYPHS, TRACK, TRACKVERT.
void AddNamedBitmaps(ImageSet& out);

// Caption-button glyphs (shared with the menu glyphs), drawn centred at (cx, cy) with side s.
enum class CaptionGlyph { Close, Maximize, Restore, Minimize, Help };
Distance CaptionGlyphShape(CaptionGlyph g, double cx, double cy, double s, double stroke);

}  // namespace lbb::skingen
