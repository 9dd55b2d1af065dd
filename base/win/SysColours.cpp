#include "base/win/SysColours.h"

#include <windows.h>

namespace lbb {

uint32_t TWinSysColours::Colour(int index) const {
  return static_cast<uint32_t>(GetSysColor(index)) & 0xFFFFFF;
}

void UsePlatformSysColours() {
  static const TWinSysColours platform;
  SetSysColours(&platform);
}

}  // namespace lbb
