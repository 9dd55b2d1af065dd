// The default Skin3rd list of the skin data component: extra control classes mapped to the
// skinner kind that draws them, one "class=kind" line each, in the order they are added.
#pragma once

#include <string>
#include <vector>

namespace lbb::skin {

std::vector<std::u16string> DefaultSkin3rd();

}  // namespace lbb::skin
