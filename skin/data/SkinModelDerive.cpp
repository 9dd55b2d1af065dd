// The parts of a skin parse that derive: caption buttons with their cell counts, the frame
// counts of every element, and the images built from others (combo box, combo arrow, toolbar
// background).
#include <algorithm>

#include "base/Text.h"
#include "skin/data/SkinModel.h"
#include "skin/data/imgutil.h"

namespace lbb::skin {

namespace {

bool IsCaptionButtonSection(const String& up) {
  return up.rfind(u"BUTTON", 0) == 0 && up != u"BUTTON" && up != u"BUTTONS" &&
         up != u"BUTTON.RADIO" && up != u"BUTTON.CHECKBOX";
}

// Cells of a check-box or radio-button image whose skin gave no count.
int GlyphCells(const PixelBuffer& img) {
  const int s = img.Height() < 16 ? 13 : 16;
  return std::max(img.Width() / s, 4);
}

constexpr Pixel kKey = 0xFF00FF;

}  // namespace

void TSkinModel::ReadSysButtons() {
  SysBtn.clear();
  std::vector<String> kept;
  for (const String& s : *sectionlist) {
    if (!IsCaptionButtonSection(UpperAscii(s))) continue;
    // A section without an action is a caption button only when it says Visibility 0; a
    // missing Visibility key does not count as 0 here.
    if (Int(s, u"Action", 0) == -1 && Int(s, u"Visibility", -1) != 0) continue;
    kept.push_back(s);
  }
  int maxX = 0, maxY = 0;  // the last maximise button shown on a normal window
  for (const String& s : kept) {
    auto b = std::make_unique<TDataSkinSysButton>(UpperAscii(s));
    b->Action = Int(s, u"Action", 0);
    b->Align = Int(s, u"Align", 0);
    b->XCoord = Int(s, u"XCoord", 0);
    b->YCoord = Int(s, u"YCoord", 0);
    b->Visibility = Int(s, u"Visibility", 0);
    b->Visibility1 = Int(s, u"Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = Int(s, u"CombineOp", -1);
    b->frame = Cells(s, u"frame", 0);
    Readbmp(b->Map, Str(s, u"ButtonImage"));
    if (b->Action == 1 && b->Visibility == 2) maxX = b->XCoord, maxY = b->YCoord;
    if (b->Action == 4) b->XCoord = maxX, b->YCoord = maxY;
    if (b->frame == 0) {
      b->frame = 6;
      if (!b->Map.Empty()) {
        // Width / height <= 3.8, in whole numbers: a quotient in floating point rounds
        // differently with the i686 build's extended precision (38 x 10 gave 6 cells there).
        b->frame = int64_t{b->Map.Width()} * 10 <= int64_t{b->Map.Height()} * 38 ? 3 : 6;
      }
      if (b->Action < 0) b->frame = 6;
      if (b->Action == 3 || b->Action == 11) b->Map = PixelBuffer();
    }
    SysBtn.push_back(std::move(b));
  }
  const size_t first = SysBtn.size();
  for (int i = 0; i < 3; ++i) {
    auto b = std::make_unique<TDataSkinSysButton>(u"MDICONTROLS");
    b->Action = 7 + i;
    b->Align = b->Visibility = b->Visibility1 = 100;
    b->frame = 4;
    SysBtn.push_back(std::move(b));
  }
  ReadMDIButtons(first);
}

void TSkinModel::ReadMDIButtons(size_t first) {
  PixelBuffer img;
  Readbmp(img, Str(u"MDICONTROLS", u"Image"));
  if (img.Empty()) return;
  const int a = img.Width() / 12, h = img.Height();
  for (int i = 0; i < 3; ++i) {
    TDataSkinSysButton& b = *SysBtn[first + static_cast<size_t>(i)];
    b.Map = PixelBuffer(a * 4, h);
    StretchCopy(b.Map, {0, 0, a * 4, h}, img, {4 * i * a, 0, (4 * i + 4) * a, h});
    b.XCoord = (a + 4) * (3 - i);
  }
  SplitMDIHiDpi(img, first);
}

void TSkinModel::SplitMDIHiDpi(const PixelBuffer& whole, size_t first) {
  const auto it = std::find_if(hiDpi.begin(), hiDpi.end(),
                               [&](const THiDpiImage& h) { return h.Slot == &whole; });
  if (it == hiDpi.end()) return;
  const THiDpiImage hi = std::move(*it);
  hiDpi.erase(it);
  const int a = hi.Two.Width() / 12, h = hi.Two.Height();
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *SysBtn[first + static_cast<size_t>(i)];
    THiDpiImage part{&b.Map, hi.Name, b.Map, PixelBuffer(a * 4, h)};
    StretchCopy(part.Two, {0, 0, a * 4, h}, hi.Two, {4 * i * a, 0, (4 * i + 4) * a, h});
    hiDpi.push_back(std::move(part));
  }
}

void TSkinModel::SetFrameCounts() {
  Button->frame = 5;
  if (Button->radioframe == 0) Button->radioframe = GlyphCells(Button->RadioMap);
  if (Button->checkframe == 0) Button->checkframe = GlyphCells(Button->CheckMap);
  Title->frame = 2;
  auto set = [](TDataSkinObject* o, int n) {
    if (o) o->frame = n;
  };
  if (progress) progress->frame = progress->style != 0 ? 1 : 2;
  set(Menubar.get(), 2);
  set(Box.get(), 2);
  set(boxlabel.get(), 1);
  set(tab.get(), 5);
  set(StatusBar.get(), 3);
  set(TabSheet.get(), 1);
  set(Toolbar.get(), 1);
  set(Toolbarbtn.get(), 5);
  set(combox.get(), 4);
  set(Comboxborder.get(), 4);
  set(ExtraImages.get(), 5);
  if (Header && Header->frame == 0) Header->frame = 5;
  set(MenuItem.get(), 5);
  set(MenuitemBG.get(), 1);
  set(SArrow.get(), 23);
  set(HBar.get(), 4);
  set(VBar.get(), 4);
  set(HSlider.get(), Cells(u"HorzScrollThumb", u"FrameCount", 3));
  set(VSlider.get(), Cells(u"VertScrollThumb", u"FrameCount", 3));
  for (TDataSkinObject* o : {TrackHorz.get(), TrackVert.get(), TrackLeft.get(), Trackright.get(),
                             Tracktop.get(), Trackbottom.get()})
    set(o, 5);
  set(HSpin.get(), 8);
  set(VSpin.get(), 8);
}

void TSkinModel::MakeComboImages() {
  if (!Comboxborder || !combox) return;
  const int k = Comboxborder->frame;
  const int w = SkinSystem().SystemMetric(kSmCxHScroll) + 2;
  constexpr int kW = 50, kH = 21;
  PixelBuffer strip(kW * k, kH);
  strip.Fill(kKey);
  for (int c = 1; c <= k; ++c) {
    PixelBuffer cell(kW, kH);
    cell.Fill(kKey);
    const TDataSkinObject& edge = *Comboxborder;
    DrawSkinImage(cell, {0, 0, kW, kH}, edge.Map, false, edge.Tile == 1, edge.trans == 1, k, c,
                  edge.r);
    const TRect button{kW - w, 0, kW, kH};
    DrawSkinImage(cell, button, combox->Map, false, combox->Tile == 1, true, combox->frame, c,
                  combox->r);
    if (ExtraImages) DrawSkinGlyph(cell, button, ExtraImages->Map, true, ExtraImages->frame, c);
    for (int y = 2; y < 18; ++y)
      for (int x = 2; x < kW - 1 - w; ++x)
        cell.At(x, y) = kKey;
    StretchCopy(strip, {kW * (c - 1), 0, kW * c, kH}, cell, {0, 0, kW, kH});
  }
  combox->style = 2;
  combox->r = Comboxborder->r;
  combox->r.Left = 2;
  combox->r.Right = w + 2;
  combox->Map = strip;
  MirrorImage(strip);
  Comboxborder->Map = std::move(strip);
  Comboxborder->r.Left = w + 2;
  Comboxborder->r.Right = 2;
}

void TSkinModel::MakeComboArrow() {
  // Derived afresh from each skin; a skin without a combo button has no arrow.
  comboxarrow.reset();
  if (!combox) return;
  comboxarrow = std::make_unique<TDataSkinObject>(u"ComboxArrow");
  if (!Comboxborder) {
    comboxarrow->Map = combox->Map;
    ReplaceColour(comboxarrow->Map, Colors[kShemeButtonFace]);
    comboxarrow->frame = combox->frame;
    return;
  }
  if (combox->style != 2) return;
  const int k = std::max(combox->frame, 1);
  const int cw = combox->Map.Width() / k;
  comboxarrow->Map = PixelBuffer(17 * k, 17);
  for (int i = 0; i < k; ++i)
    StretchCopy(comboxarrow->Map, {17 * i, 0, 17 * (i + 1), 17}, combox->Map,
                {(i + 1) * cw - 19, 2, (i + 1) * cw - 2, 19});
  comboxarrow->frame = k;
}

void TSkinModel::MakeToolbarImage() {
  const TColor c = GetCaptionColor();
  TColor bottom = static_cast<TColor>(MixColors(0x808080, c, 150));
  const TColor top = static_cast<TColor>(MixColors(Colors[kShemeButtonFace], 0xFFFFFF, 150));
  const int saturation = ColourSaturation(c);
  if (saturation > 110) {
    const int p = (5625 - 25 * saturation) / 140 + 50;
    bottom = static_cast<TColor>(MixColors(c, 0xFFFFFF, p));
  }
  if (!Toolbar) Toolbar = std::make_unique<TDataSkinObject>(u"Toolbar");
  Toolbar->Map = PixelBuffer(10, 40);
  GradientFill(Toolbar->Map, {0, 0, 10, 40}, top, true, bottom);
  Toolbar->frame = 1;
}

}  // namespace lbb::skin
