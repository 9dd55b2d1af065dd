// Loading a skin file for the commands that look into one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skin/data/SkinRead.h"

namespace skintool {

struct LoadedSkin {
  std::unique_ptr<lbb::skin::TSkinReader> reader;
  int64_t packedSize = 0;
  int64_t unpackedSize = 0;
  int64_t dataStart = 0;  // offset of the entry data in the unpacked archive
};

// Reads and unpacks the skin file `name`; a skin the reader refuses raises ToolError (exit 1)
// with the reader's reason.
LoadedSkin LoadSkin(const std::string& name);

}  // namespace skintool
