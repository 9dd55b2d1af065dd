#include "tests/native/skinmodel/SkinBuilder.h"

#include "base/BmpFile.h"
#include "skin/data/SkinRead.h"

namespace skintest {

PixelBuffer Solid(int w, int h, Pixel p) {
  PixelBuffer img(w, h);
  img.Fill(p);
  return img;
}

std::vector<uint8_t> Pack(const SkinFiles& files, int version) {
  std::vector<lbb::skin::TSkinEntry> entries;
  entries.push_back({u"skin.ini", std::vector<uint8_t>(files.ini.begin(), files.ini.end())});
  for (const auto& [name, img] : files.images)
    entries.push_back({lbb::String(name.begin(), name.end()), lbb::EncodeBmp24(img)});
  return lbb::skin::PackSkin(version, entries);
}

bool Parse(lbb::skin::TSkinModel& model, const std::vector<uint8_t>& bytes) {
  model.data.Clear();
  model.data.Write(bytes.data(), bytes.size());
  return model.ParseSkin();
}

}  // namespace skintest
