// System colours, metrics and the program's named bitmaps from Windows.
#pragma once

#include <windows.h>

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

}  // namespace lbb::skin
