#include "base/Colour.h"

#include <array>
#include <cstddef>

namespace lbb {

namespace {

// Classic Windows scheme, 0x00BBGGRR.
constexpr std::array<uint32_t, kSysColourCount> kClassicColours = {
    0xC8D0D4,  // scroll bar
    0xA56E3A,  // desktop
    0x6A240A,  // active caption
    0x808080,  // inactive caption
    0xC8D0D4,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC8D0D4,  // active border
    0xC8D0D4,  // inactive border
    0x808080,  // application workspace
    0x6A240A,  // highlight
    0xFFFFFF,  // highlight text
    0xC8D0D4,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xC8D0D4,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x404040,  // 3-D dark shadow
    0xC8D0D4,  // 3-D light
    0x000000,  // tooltip text
    0xE1FFFF,  // tooltip background
    0xB5B5B5,  // (unused index)
    0x800000,  // hot-tracked item
    0xF0CAA6,  // gradient of the active caption
    0xC0C0C0,  // gradient of the inactive caption
    0x6A240A,  // menu highlight
    0xC8D0D4,  // menu bar
};

const TClassicSysColours kClassic;
constinit const TSysColours* gSource = &kClassic;

}  // namespace

uint32_t TClassicSysColours::Colour(int index) const {
  if (index < 0 || index >= kSysColourCount) return 0;
  return kClassicColours[static_cast<size_t>(index)];
}

const TSysColours& SysColours() {
  return *gSource;
}

const TSysColours* SetSysColours(const TSysColours* source) {
  const TSysColours* previous = gSource;
  gSource = source ? source : &kClassic;
  return previous;
}

uint32_t ColorToRGB(TColor c) {
  if (IsSysColor(c)) return SysColours().Colour(c & 0xFF) & 0xFFFFFF;
  return static_cast<uint32_t>(c) & 0xFFFFFF;
}

}  // namespace lbb
