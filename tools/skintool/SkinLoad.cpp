#include "tools/skintool/SkinLoad.h"

#include <filesystem>

#include "tools/skintool/Commands.h"

namespace skintool {

LoadedSkin LoadSkin(const std::string& name) {
  lbb::skin::TMemoryStream file;
  file.LoadFromFile(std::filesystem::path(name));  // EFOpenError: exit 1
  LoadedSkin skin;
  skin.reader = std::make_unique<lbb::skin::TSkinReader>();
  if (!skin.reader->Loadfromstream(file))
    throw ToolError(kExitBadInput, name + ": not a usable skin (" + skin.reader->LastError() + ")");
  const lbb::skin::TSkinReader& r = *skin.reader;
  skin.packedSize = file.Size();
  skin.dataStart = 16 + lbb::skin::SkinSkipLength(r.header.Version) + r.header.DirLen + 4 * r.Num;
  skin.unpackedSize = skin.dataStart + r.ms.Size();
  return skin;
}

}  // namespace skintool
