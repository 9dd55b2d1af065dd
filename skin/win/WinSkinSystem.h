// System colours, metrics and the program's named bitmaps from Windows.
#pragma once

#include <windows.h>

#include "base/win/Handles.h"
#include "skin/data/SkinSystem.h"

namespace lbb::skin {

class TWinSkinSystem : public TSkinSystem {
 public:
  int SystemMetric(int index) const override;
  // The program's bitmap resource of that name; empty when there is none.
  PixelBuffer NamedBitmap(std::u16string_view name) const override;
};

// The platform's version word (GetVersion): the painters tell the Windows 9x family (high bit
// set) from the NT family by it.
DWORD SkinOsVersion();

// One of the platform's non-client fonts (NONCLIENTMETRICSW::lfCaptionFont, lfMenuFont, ...)
// made for a screen of `dpi` pixels per inch; null when the platform does not tell.
lbb::FontHandle NonClientFont(LOGFONTW NONCLIENTMETRICSW::*which, int dpi);

}  // namespace lbb::skin
