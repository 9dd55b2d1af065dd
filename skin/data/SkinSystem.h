// What the skin code asks of the platform: system colours, system metrics and the bitmaps the
// program carries by name. On Windows they come from the system and the program's resources;
// elsewhere (native tests, tools) from a fixed table that holds the classic Windows values.
//
// Colours are 32-bit values laid out 0x00BBGGRR. A negative value refers to a system colour
// whose index is its low byte (SysColourRef); it is resolved only when drawn or mixed.
#pragma once

#include <cstdint>
#include <string_view>

#include "PixelBuffer.h"

namespace lbb::skin {

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
  kSysColourCount = 31,
};

// System metric indexes (the platform's numbering) that the skin code reads.
enum TSysMetricIndex : int {
  kSmCxVScroll = 2,
  kSmCyHScroll = 3,
  kSmCyCaption = 4,
  kSmCxHScroll = 21,
  kSmCxSmIcon = 49,
  kSmCySmIcon = 50,
  kSmCxMaximized = 61,
  kSmCyMaximized = 62,
};

constexpr TColor SysColourRef(int index) {
  return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index & 0xFF));
}
constexpr bool IsSysColourRef(TColor c) {
  return c < 0;
}

class TSkinSystem {
 public:
  virtual ~TSkinSystem() = default;
  // The system colour `index` as 0x00BBGGRR.
  virtual uint32_t SysColor(int index) const = 0;
  virtual int SystemMetric(int index) const = 0;
  // The program's bitmap named `name` ("TRACK", "TRACKVERT", "MENUGLYPHS"); empty when the
  // program has none.
  virtual PixelBuffer NamedBitmap(std::u16string_view name) const = 0;
};

// The fixed table: classic Windows colours, 96-dpi metrics, and the built-in grooves.
class TFixedSkinSystem : public TSkinSystem {
 public:
  uint32_t SysColor(int index) const override;
  int SystemMetric(int index) const override;
  PixelBuffer NamedBitmap(std::u16string_view name) const override;
};

// The system in use: the fixed table until SetSkinSystem installs another (null puts the
// fixed table back). Set once at start-up; the object must outlive its use.
const TSkinSystem& SkinSystem();
void SetSkinSystem(const TSkinSystem* system);

// `c` with a system-colour reference resolved, as 0x00BBGGRR.
uint32_t ColorToRGB(TColor c);

// The sunken groove of a track bar: `vertical` false gives 16 x 4, true 4 x 16; shadow on the
// top and left, light on the bottom and right.
PixelBuffer BuiltinGroove(bool vertical);

}  // namespace lbb::skin
