// "Sand", the second skin: deliberately unlike the built-in one. Square corners without colour
// keys, wider side borders and a thick bottom, a lower caption with a title plate, small
// three-cell caption buttons, 13-pixel check and radio cells, a 16-pixel scroll bar, its own
// track grooves, and a decorative caption button that does nothing.
#pragma once

#include "resources/skin/BuiltinTheme.h"  // ImageSet

namespace lbb::skingen {

void AddSecondSkinImages(ImageSet& out);

}  // namespace lbb::skingen
