// The resolution the harness runs a test program at (LBB_DPI; 96 when unset). Including this
// makes the program aware of the screen's resolution, as the program and the gallery are
// through their manifests, so the platform neither stretches its windows nor its pixels.
#pragma once

#include <windows.h>

#include <cstdlib>

namespace lbb::test {

[[maybe_unused]] inline const bool kDpiAware = SetProcessDPIAware() != FALSE;

inline int HarnessDpi() {
  const char* dpi = std::getenv("LBB_DPI");
  return dpi && *dpi ? std::atoi(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace lbb::test
