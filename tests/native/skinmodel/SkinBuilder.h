// Hand-made skins for the model tests: an INI text plus named images, packed as a skin file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/PixelBuffer.h"
#include "skin/data/SkinModel.h"

namespace skintest {

using lbb::Pixel;
using lbb::PixelBuffer;

// A w x h image filled with `p`.
PixelBuffer Solid(int w, int h, Pixel p);

struct SkinFiles {
  std::string ini;
  std::vector<std::pair<std::string, PixelBuffer>> images;  // entry names with extension
};

// The packed skin (a compressed block).
std::vector<uint8_t> Pack(const SkinFiles& files, int version = 70000);
// Parses `bytes` into `model`; returns ParseSkin's result.
bool Parse(lbb::skin::TSkinModel& model, const std::vector<uint8_t>& bytes);

}  // namespace skintest
