#include "resources/skins/sand/SandSkin.h"

#include <cstddef>

namespace lbb::resources {

extern const uint8_t kSandSkin[];
extern const size_t kSandSkin_size;

std::span<const uint8_t> SandSkin() {
  return {kSandSkin, kSandSkin_size};
}

}  // namespace lbb::resources
