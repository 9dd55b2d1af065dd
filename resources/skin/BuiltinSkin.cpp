#include "resources/skin/BuiltinSkin.h"

#include <cstddef>

namespace lbb::resources {

extern const uint8_t kSlateSkin[];
extern const size_t kSlateSkin_size;

std::span<const uint8_t> BuiltinSkin() {
  return {kSlateSkin, kSlateSkin_size};
}

}  // namespace lbb::resources
