// The second skin's archive as bytes, for tests.
#pragma once

#include <cstdint>
#include <span>

namespace lbb::resources {

// "Sand", version 20000.
std::span<const uint8_t> SandSkin();

}  // namespace lbb::resources
