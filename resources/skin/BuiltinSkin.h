// The built-in skin's archive as bytes linked into the program: the same compressed block as
// the file the build leaves in the build tree (see CMakeLists.txt).
#pragma once

#include <cstdint>
#include <span>

namespace lbb::resources {

// "Slate", version 70000.
std::span<const uint8_t> BuiltinSkin();

}  // namespace lbb::resources
