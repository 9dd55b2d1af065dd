// The gallery driving itself (`--auto`): it opens every window, shows both message boxes
// (closing them from a timer), switches skins Slate -> Sand -> no skin -> Slate and saves a
// screenshot of each state.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/gallery/SkinGalleryForm.h"

namespace lbb::gallery {

// Runs every step with `form` as the main window and writes the PNG files into `shots`
// (made when missing); with a `skinFile`, the skin from that file is shown last (then Slate
// again). Returns the failures, one line each; none when every step worked.
std::vector<std::string> RunAutoGallery(TSkinGalleryForm& form, const std::filesystem::path& shots,
                                        const std::u16string& skinFile = {});

}  // namespace lbb::gallery
