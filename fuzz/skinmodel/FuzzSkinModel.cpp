// The skin object model on damaged skins: the input is an INI text, then (after a zero byte)
// the bytes of up to six image entries "a.bmp" .. "d.bmp", "a@2x.bmp", "b@2x.bmp" separated by
// zero bytes, packed into a skin and parsed. Every element the parse makes is then drawn at a
// few sizes with the primitives, so that odd margins, cell counts and image sizes are exercised
// too; then again after the model is scaled to 144 DPI, and once more after a parse for 192 DPI
// (which reads the @2x entries) scaled to 192 DPI.
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/BmpFile.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinScale.h"
#include "skin/data/imgutil.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

void DrawAll(const TDataSkinObject* o, PixelBuffer& target) {
  if (!o) return;
  if (o->frame < 0 || (o->Map.Empty() && o->frame > 1000000)) std::abort();
  const int cells = o->frame > 0 ? o->frame : 1;
  for (const TRect rc : {TRect{0, 0, 1, 1}, TRect{2, 3, 19, 11}, TRect{-5, -5, 40, 30}}) {
    DrawSkinImage(target, rc, o->Map, false, o->Tile == 1, o->trans == 1, cells, 1, o->r);
    DrawSkinImage(target, rc, o->Map, true, true, false, cells, cells, o->r);
    DrawSkinHorz(target, rc, o->Map, false, true, cells, 1, o->r);
    DrawSkinHorzStretch(target, rc, o->Map, true, cells, 1, o->r);
    DrawSkinFrame(target, rc, o->Map, true, cells, cells);
    DrawSkinGlyph(target, rc, o->Map, false, cells, 1);
  }
}

void DrawModel(const TSkinModel& m) {
  PixelBuffer target(32, 24);
  DrawAll(m.Title.get(), target);
  for (const auto& b : m.border)
    DrawAll(b.get(), target);
  for (const auto& b : m.SysBtn)
    DrawAll(b.get(), target);
  for (const TDataSkinObject* o : std::initializer_list<const TDataSkinObject*>{
           m.Button.get(),       m.progress.get(),     m.progresschunk.get(), m.Menubar.get(),
           m.Box.get(),          m.boxlabel.get(),     m.tab.get(),           m.StatusBar.get(),
           m.TabSheet.get(),     m.Toolbar.get(),      m.Toolbarbtn.get(),    m.combox.get(),
           m.Comboxborder.get(), m.comboxarrow.get(),  m.ExtraImages.get(),   m.Header.get(),
           m.MenuItem.get(),     m.MenuitemBG.get(),   m.SArrow.get(),        m.HBar.get(),
           m.VBar.get(),         m.HSlider.get(),      m.VSlider.get(),       m.TrackHorz.get(),
           m.TrackBar.get(),     m.TrackBarVert.get(), m.HSpin.get(),         m.VSpin.get()})
    DrawAll(o, target);
}

void ParseOrDie(TSkinModel& m, const std::vector<uint8_t>& block) {
  m.data.Write(block.data(), block.size());
  if (!m.ParseSkin()) std::abort();  // a well-formed archive always parses
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::vector<uint8_t>> parts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 7)
      parts.emplace_back();
    else
      parts.back().push_back(data[i]);
  }
  std::vector<TSkinEntry> entries{{u"skin.ini", parts[0]}};
  const char16_t* names[] = {u"a.bmp", u"b.bmp", u"c.bmp", u"d.bmp", u"a@2x.bmp", u"b@2x.bmp"};
  for (size_t i = 1; i < parts.size(); ++i)
    entries.push_back({names[i - 1], parts[i]});
  const std::vector<uint8_t> block = PackSkin(70000, entries);
  TSkinModel m;
  ParseOrDie(m, block);
  DrawModel(m);
  ScaleSkinModel(m, 144);
  DrawModel(m);
  TSkinModel two;
  two.SetTargetDpi(192);
  ParseOrDie(two, block);
  for (const THiDpiCheck& c : CheckHiDpiImages(two))
    if (c.Used != c.Why.empty()) std::abort();
  ScaleSkinModel(two, 192);
  DrawModel(two);
  return 0;
}
