// The one colour type of every layer. A colour is a 32-bit value laid out 0x00BBGGRR; a
// negative value refers to a system colour whose index (the platform's numbering) is its low
// byte. System colours are resolved only when drawn or mixed, by ColorToRGB, from the one
// installed source: the classic Windows table until the platform's own is installed.
#pragma once

#include <cstdint>

namespace lbb {

using TColor = int32_t;

// System colour indexes (the platform's numbering).
enum TSysColourIndex : int {
  kColorScrollbar = 0,
  kColorBackground = 1,
  kColorActiveCaption = 2,
  kColorInactiveCaption = 3,
  kColorMenu = 4,
  kColorWindow = 5,
  kColorWindowFrame = 6,
  kColorMenuText = 7,
  kColorWindowText = 8,
  kColorCaptionText = 9,
  kColorHighlight = 13,
  kColorHighlightText = 14,
  kColorBtnFace = 15,
  kColorBtnShadow = 16,
  kColorGrayText = 17,
  kColorBtnText = 18,
  kColorInactiveCaptionText = 19,
  kColorBtnHighlight = 20,
  kColor3DDkShadow = 21,
  kColor3DLight = 22,
  kColorInfoText = 23,
  kColorInfoBk = 24,
  kColorHotLight = 26,
  kSysColourCount = 31,
};

// The colour that refers to system colour `index`.
constexpr TColor SysColor(int index) {
  return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index & 0xFF));
}
constexpr bool IsSysColor(TColor c) {
  return c < 0;
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clFuchsia = 0xFF00FF;
// Not colours: "no colour" and "the default colour" of a property.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clMenu = SysColor(kColorMenu);
constexpr TColor clWindow = SysColor(kColorWindow);
constexpr TColor clMenuText = SysColor(kColorMenuText);
constexpr TColor clWindowText = SysColor(kColorWindowText);
constexpr TColor clHighlight = SysColor(kColorHighlight);
constexpr TColor clHighlightText = SysColor(kColorHighlightText);
constexpr TColor clBtnFace = SysColor(kColorBtnFace);
constexpr TColor clBtnShadow = SysColor(kColorBtnShadow);
constexpr TColor clGrayText = SysColor(kColorGrayText);
constexpr TColor clBtnText = SysColor(kColorBtnText);
constexpr TColor clBtnHighlight = SysColor(kColorBtnHighlight);
constexpr TColor clInfoText = SysColor(kColorInfoText);
constexpr TColor clInfoBk = SysColor(kColorInfoBk);
constexpr TColor clHotLight = SysColor(kColorHotLight);

// Where system colours come from.
class TSysColours {
 public:
  virtual ~TSysColours() = default;
  // System colour `index` as 0x00BBGGRR; 0 for an index the source does not know.
  virtual uint32_t Colour(int index) const = 0;
};

// The classic Windows scheme, the same on every machine (native tests, tools, previews).
class TClassicSysColours : public TSysColours {
 public:
  uint32_t Colour(int index) const override;
};

// The source in use, and installing another (null puts the classic table back). Returns the
// source that was in use, so a caller can put it back. The object must outlive its use.
const TSysColours& SysColours();
const TSysColours* SetSysColours(const TSysColours* source);

// `c` as 0x00BBGGRR, a system colour resolved from the source in use.
uint32_t ColorToRGB(TColor c);

}  // namespace lbb
