// Whether a picture of a whole window (frame included, as the screen shows it) carries a
// skin's frame: the checks of the programs' automatic runs, which must not report a skinned
// window that the screen does not show.
#pragma once

#include "base/PixelBuffer.h"
#include "skin/data/SkinModel.h"

namespace lbb::skin {

// The look of the skin's frame that the picture shows along its left, right and bottom borders:
// 1 the active look, 2 the inactive look, 0 neither (or a skin without those pieces, or a
// picture too small for them). Each border is drawn as the frame painter draws it and compared
// pixel for pixel; the keyed pixels of the pieces (0xFF00FF) are not compared, since the
// window's region cuts them and the picture shows what lies behind.
int FrameLookShown(const PixelBuffer& picture, const TSkinModel& skin);

}  // namespace lbb::skin
