// The elements of a skin as the preview shows them: each image the INI names, with its cell
// count and layout, margins and colour key, read with the rules of the skin loader.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "skin/data/SkinRead.h"
#include "skin/data/Winskinini.h"
#include "tools/skintool/PreviewSheet.h"

namespace skintool {

struct Element {
  std::string label;  // "SECTION KEY"
  PixelBuffer img;
  int cells = 1;
  bool columns = false;  // cells stacked
  bool keyed = false;
  Rect margins;  // l, t, r, b
  Rect Cell(int index) const { return CellRect(img, cells, index, columns); }
};

struct CaptionButton {
  Element element;
  int action = 0, align = 0, x = 0, y = 0, visibility = 0;
};

struct SkinView {
  lbb::skin::TQuickIni ini;
  std::vector<std::string> order;           // element keys in sheet order
  std::map<std::string, Element> elements;  // by "SECTION" or "SECTION.KEY"
  std::vector<CaptionButton> buttons;
  std::string name;
  const Element* Find(const std::string& key) const;
  // A [Colours] entry as a pixel, or `fallback`.
  Pixel Colour(const char* key, Pixel fallback) const;
};

// Reads every element of the loaded skin.
SkinView ReadSkinView(const lbb::skin::TSkinReader& reader);

// Every element's cells, margins and the caption buttons' places scaled to `dpi` (96 or more).
void ScaleView(SkinView& view, int dpi);

}  // namespace skintool
