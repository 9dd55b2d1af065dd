#include "SkinSystem.h"

#include <array>

namespace lbb::skin {

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

const TFixedSkinSystem kFixed;
const TSkinSystem* gSystem = &kFixed;

}  // namespace

uint32_t TFixedSkinSystem::SysColor(int index) const {
  if (index < 0 || index >= kSysColourCount) return 0;
  return kClassicColours[static_cast<size_t>(index)];
}

int TFixedSkinSystem::SystemMetric(int index) const {
  switch (index) {
    case kSmCxVScroll:
    case kSmCyHScroll:
    case kSmCxHScroll:
      return 17;
    case kSmCyCaption:
      return 19;
    case kSmCxSmIcon:
    case kSmCySmIcon:
      return 16;
    case kSmCxMaximized:
      return 1032;
    case kSmCyMaximized:
      return 776;
    default:
      return 0;
  }
}

PixelBuffer TFixedSkinSystem::NamedBitmap(std::u16string_view name) const {
  if (name == u"TRACK") return BuiltinGroove(false);
  if (name == u"TRACKVERT") return BuiltinGroove(true);
  return {};
}

const TSkinSystem& SkinSystem() {
  return *gSystem;
}

void SetSkinSystem(const TSkinSystem* system) {
  gSystem = system ? system : &kFixed;
}

uint32_t ColorToRGB(TColor c) {
  if (IsSysColourRef(c)) return SkinSystem().SysColor(c & 0xFF) & 0xFFFFFF;
  return static_cast<uint32_t>(c) & 0xFFFFFF;
}

PixelBuffer BuiltinGroove(bool vertical) {
  PixelBuffer img(vertical ? 4 : 16, vertical ? 16 : 4);
  const int w = img.Width(), h = img.Height();
  img.Fill(0xE2E6EB);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (y == h - 1 || x == w - 1) img.At(x, y) = 0xFFFFFF;
      if (y == 0 || x == 0) img.At(x, y) = 0xA0AAB6;
    }
  return img;
}

}  // namespace lbb::skin
