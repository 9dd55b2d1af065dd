// skingen: draws the images of the skins that come with the program.
//   skingen builtin IMAGE_DIR NAMED_DIR   the built-in skin's images into IMAGE_DIR, the
//                                         program's named bitmaps into NAMED_DIR
//   skingen second IMAGE_DIR              the second skin's images
// The INI files are kept beside the sources and copied by the build.
#include <cstdio>
#include <exception>
#include <string>

#include "resources/skin/BuiltinTheme.h"
#include "resources/skins/sand/SecondTheme.h"

namespace {

void Save(const lbb::skingen::ImageSet& images, const std::string& dir) {
  for (const auto& [name, img] : images)
    lbb::skingen::SaveBmp(img, dir + "/" + name);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  try {
    if (what == "builtin" && argc == 4) {
      lbb::skingen::ImageSet images, named;
      lbb::skingen::AddFrameImages(images);
      lbb::skingen::AddControlImages(images);
      lbb::skingen::AddNamedBitmaps(named);
      Save(images, argv[2]);
      Save(named, argv[3]);
      return 0;
    }
    if (what == "second" && argc == 3) {
      lbb::skingen::ImageSet images;
      lbb::skingen::AddSecondSkinImages(images);
      Save(images, argv[2]);
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "usage: skingen builtin IMAGE_DIR NAMED_DIR | skingen second IMAGE_DIR\n");
  return 2;
}
