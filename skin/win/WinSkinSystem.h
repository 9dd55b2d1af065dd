// System colours, metrics and the program's named bitmaps from Windows.
#pragma once

#include "SkinSystem.h"

namespace lbb::skin {

class TWinSkinSystem : public TSkinSystem {
 public:
  uint32_t SysColor(int index) const override;
  int SystemMetric(int index) const override;
  // The program's bitmap resource of that name; empty when there is none.
  PixelBuffer NamedBitmap(std::u16string_view name) const override;
};

}  // namespace lbb::skin
