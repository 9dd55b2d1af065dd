// hidpi: which images of a skin have an @2x partner that 192 DPI uses, and which @2x entries
// are ignored and why; and the scaling of the preview's elements to a DPI.
#include <cstdio>
#include <filesystem>
#include <set>

#include "base/Text.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinScale.h"
#include "tools/skintool/Commands.h"
#include "tools/skintool/PreviewElements.h"
#include "tools/skintool/SkinLoad.h"

namespace skintool {

namespace {

using lbb::skin::TextToCp1252;

bool IsHiDpiName(const lbb::String& lower) {
  return lower.size() > 7 && lower.substr(lower.size() - 7) == u"@2x.bmp";
}

void ScaleElement(Element& e, int dpi) {
  const Rect& m = e.margins;
  e.img = lbb::skin::ScaleSkinImage(e.img, e.cells, e.columns, {m.l, m.t, m.r, m.b}, false, dpi);
  e.margins = {lbb::skin::ScaleToDpi(m.l, dpi), lbb::skin::ScaleToDpi(m.t, dpi),
               lbb::skin::ScaleToDpi(m.r, dpi), lbb::skin::ScaleToDpi(m.b, dpi)};
}

}  // namespace

void ScaleView(SkinView& view, int dpi) {
  for (auto& [key, e] : view.elements)
    ScaleElement(e, dpi);
  for (CaptionButton& b : view.buttons) {
    ScaleElement(b.element, dpi);
    b.x = lbb::skin::ScaleToDpi(b.x, dpi);
    b.y = lbb::skin::ScaleToDpi(b.y, dpi);
  }
}

int HiDpiCommand(std::span<const std::string> args) {
  const LoadedSkin skin = LoadSkin(args[0]);  // refuses what is not a skin, with the reason
  lbb::skin::TSkinModel model;
  model.data.LoadFromFile(std::filesystem::path(args[0]));
  model.SetTargetDpi(2 * lbb::skin::kBaseDpi);
  if (!model.ParseSkin()) throw ToolError(kExitBadInput, args[0] + ": the skin does not parse");
  std::set<lbb::String> read;
  int used = 0, ignored = 0;
  for (const lbb::skin::THiDpiCheck& c : lbb::skin::CheckHiDpiImages(model)) {
    read.insert(lbb::LowerAscii(c.Name));
    std::printf("%-28s %s  1x %dx%d, @2x %dx%d, %d cell%s %s\n", TextToCp1252(c.Name).c_str(),
                c.Used ? "used   " : "ignored", c.OneWidth, c.OneHeight, c.TwoWidth, c.TwoHeight,
                c.Cells, c.Cells == 1 ? "" : "s", c.Columns ? "stacked" : "side by side");
    if (!c.Used) std::printf("%-28s   because %s\n", "", c.Why.c_str());
    ++(c.Used ? used : ignored);
  }
  const lbb::skin::TSkinReader& r = *skin.reader;
  for (int i = 0; i < r.Num; ++i) {
    const lbb::String lower = lbb::LowerAscii(r.StoredNames[i]);
    if (!IsHiDpiName(lower) || read.count(lower)) continue;
    std::printf(
        "%-28s ignored\n%-28s   because the skin names no image \"%s\"\n",
        TextToCp1252(r.StoredNames[i]).c_str(), "",
        TextToCp1252(r.StoredNames[i].substr(0, r.StoredNames[i].size() - 7) + u".bmp").c_str());
    ++ignored;
  }
  std::printf("%d @2x image%s used at 192 DPI, %d ignored\n", used, used == 1 ? "" : "s", ignored);
  return kExitOk;
}

}  // namespace skintool
