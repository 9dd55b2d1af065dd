// What the skin code asks of the platform besides colours (base/Colour.h): system metrics and
// the bitmaps the program carries by name. On Windows they come from the system and the
// program's resources; elsewhere (native tests, tools) from a fixed table that holds the
// classic Windows values.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/Colour.h"
#include "base/PixelBuffer.h"

namespace lbb::skin {

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

class TSkinSystem {
 public:
  virtual ~TSkinSystem() = default;
  // A system metric as it is at 96 DPI: the skin model is built at 96 DPI and scaled to the
  // screen's afterwards, so a metric the platform already scaled would be scaled twice.
  virtual int SystemMetric(int index) const = 0;
  // The program's bitmap named `name` ("TRACK", "TRACKVERT", "MENUGLYPHS"); empty when the
  // program has none.
  virtual PixelBuffer NamedBitmap(std::u16string_view name) const = 0;
};

// The fixed table: classic Windows colours, 96-dpi metrics, and the built-in grooves.
class TFixedSkinSystem : public TSkinSystem {
 public:
  int SystemMetric(int index) const override;
  PixelBuffer NamedBitmap(std::u16string_view name) const override;
};

// The system in use: the fixed table until SetSkinSystem installs another (null puts the
// fixed table back). Set once at start-up; the object must outlive its use.
const TSkinSystem& SkinSystem();
void SetSkinSystem(const TSkinSystem* system);

// The sunken groove of a track bar: `vertical` false gives 16 x 4, true 4 x 16; shadow on the
// top and left, light on the bottom and right.
PixelBuffer BuiltinGroove(bool vertical);

}  // namespace lbb::skin
