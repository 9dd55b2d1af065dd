#include "skin/data/SkinSystem.h"

#include <array>

namespace lbb::skin {

namespace {

const TFixedSkinSystem kFixed;
const TSkinSystem* gSystem = &kFixed;

}  // namespace

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
