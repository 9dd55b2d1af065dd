// The platform's system colours as the source of ColorToRGB (base/Colour.h).
#pragma once

#include "base/Colour.h"

namespace lbb {

// GetSysColor, the colours of the user's scheme.
class TWinSysColours : public TSysColours {
 public:
  uint32_t Colour(int index) const override;
};

// Installs the platform's colours as the process's source (the form library does so before
// it draws anything).
void UsePlatformSysColours();

}  // namespace lbb
