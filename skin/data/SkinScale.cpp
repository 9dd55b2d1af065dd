#include "skin/data/SkinScale.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <initializer_list>

#include "skin/data/ComboGeometry.h"
#include "skin/data/SkinModel.h"
#include "skin/data/TabGeometry.h"

namespace lbb::skin {

namespace {

int ClampDpi(int dpi) {
  return std::min(dpi, kMaxSkinDpi);
}

// The pixel under the centre of target pixel `i` of `to` when `from` pixels are stretched to
// `to` pixels (both positive): floor((i + 0.5) * from / to).
int Nearest(int i, int to, int from) {
  return static_cast<int>((int64_t{2} * i + 1) * from / (int64_t{2} * to));
}

// For one axis of a cell of `len` pixels scaled to `newLen`: the source index of every target
// index. `lo` and `hi` are the margins at both ends (already known to fit `len`).
std::vector<int> AxisMap(int len, int newLen, int lo, int hi, bool tile, int dpi) {
  std::vector<int> map(static_cast<size_t>(newLen));
  if (dpi % kBaseDpi == 0) {
    const int k = dpi / kBaseDpi;
    for (int i = 0; i < newLen; ++i)
      map[static_cast<size_t>(i)] = i / k;
    return map;
  }
  const int newLo = std::min(ScaleToDpi(lo, dpi), newLen);
  const int newHi = std::min(ScaleToDpi(hi, dpi), newLen - newLo);
  const int centre = len - lo - hi, newCentre = newLen - newLo - newHi;
  for (int i = 0; i < newLen; ++i) {
    int s = 0;
    if (i < newLo) {
      s = Nearest(i, newLo, lo);
    } else if (i >= newLo + newCentre) {
      s = len - hi + Nearest(i - newLo - newCentre, newHi, hi);
    } else if (centre <= 0) {
      s = Nearest(i, newLen, len);  // margins meet: the whole axis stretched
    } else {
      const int j = i - newLo;
      s = lo + (tile ? j % centre : Nearest(j, newCentre, centre));
    }
    map[static_cast<size_t>(i)] = std::clamp(s, 0, len - 1);
  }
  return map;
}

// The margins of one axis as the resampling uses them: negative ones as 0, both 0 when they do
// not fit the cell together.
void FitMargins(int len, int& lo, int& hi) {
  lo = std::max(lo, 0);
  hi = std::max(hi, 0);
  if (int64_t{lo} + hi > len) lo = hi = 0;
}

// One image of the model with what its painters assume of it.
struct TImageSlot {
  PixelBuffer* Image = nullptr;
  int Cells = 1;
  bool Columns = false;
  TRect Margins{};
  bool Tile = false;
};

int CellsOf(int frame) {
  return std::max(frame, 1);
}

// An element's image and second image as the control painters draw them: cells side by side,
// the element's margins, tiled when Tile is 1 (or, for `tileUnlessOne`, unless it is 1).
void AddObject(std::vector<TImageSlot>& out, TDataSkinObject* o, bool tileUnlessOne = false) {
  if (!o) return;
  const bool tile = tileUnlessOne ? o->Tile != 1 : o->Tile == 1;
  out.push_back({&o->Map, CellsOf(o->frame), false, o->r, tile});
}

void AddBorder(std::vector<TImageSlot>& out, TDataSkinBorder* b, int maskCells) {
  if (!b) return;
  AddObject(out, b);
  out.push_back({&b->MaskMap, CellsOf(maskCells), false, TRect{}, false});
}

// The elements whose images the painters take as cells side by side with the element's
// margins, and that carry no other image or pixel number.
std::vector<TDataSkinObject*> PlainElements(TSkinModel& m) {
  return {m.progresschunk.get(), m.Box.get(),        m.StatusBar.get(),    m.TabSheet.get(),
          m.Toolbar.get(),       m.Toolbarbtn.get(), m.Comboxborder.get(), m.comboxarrow.get(),
          m.ExtraImages.get(),   m.Header.get(),     m.SArrow.get(),       m.HBar.get(),
          m.VBar.get(),          m.HSlider.get(),    m.VSlider.get(),      m.TrackHorz.get(),
          m.TrackVert.get(),     m.TrackLeft.get(),  m.Trackright.get(),   m.Tracktop.get(),
          m.Trackbottom.get(),   m.TrackBar.get(),   m.TrackBarVert.get(), m.MinCaption.get()};
}

// Every image of the model, with its layout.
std::vector<TImageSlot> ImageSlots(TSkinModel& m) {
  std::vector<TImageSlot> out;
  for (int side = 0; side < 4; ++side) {
    TDataSkinBorder* b = m.border[static_cast<size_t>(side)].get();
    if (b) out.push_back({&b->Map, CellsOf(b->frame), side >= kBorderTop, b->r, b->Tile != 1});
  }
  if (TDataSkinTitle* t = m.Title.get())
    out.push_back({&t->Map, 2, true, TRect{t->backleft, 0, t->backright, 0}, false});
  if (TDataSkinObject* e = m.Menubar.get())
    out.push_back({&e->Map, 2, true, TRect{e->r.Left, 0, e->r.Right, 0}, false});
  for (const auto& b : m.SysBtn)
    out.push_back({&b->Map, CellsOf(b->frame), false, TRect{}, false});
  if (TDataSkinButton* b = m.Button.get()) {
    AddObject(out, b);
    out.push_back({&b->CheckMap, CellsOf(b->checkframe), false, TRect{}, false});
    out.push_back({&b->RadioMap, CellsOf(b->radioframe), false, TRect{}, false});
  }
  AddObject(out, m.MenuItem.get(), true);
  AddObject(out, m.MenuitemBG.get(), true);
  if (TDataSkinBorder* t = m.tab.get()) {
    AddObject(out, t);
    const PixelBuffer& mask = t->MaskMap;
    out.push_back({&t->MaskMap, 1, false, TabBorderMargins(mask.Width(), mask.Height()), false});
  }
  AddBorder(out, m.HSpin.get(), kUpDownFrames);
  AddBorder(out, m.VSpin.get(), kUpDownFrames);
  if (m.combox) AddBorder(out, m.combox.get(), m.combox->frame);
  if (m.progress) AddBorder(out, m.progress.get(), m.progress->frame);
  for (TDataSkinObject* o : PlainElements(m))
    AddObject(out, o);
  AddObject(out, m.boxlabel.get());
  return out;
}

struct TCellSize {
  int W = 0;
  int H = 0;
};

TCellSize CellOf(const PixelBuffer& img, int cells, bool columns) {
  return columns ? TCellSize{img.Width(), img.Height() / cells}
                 : TCellSize{img.Width() / cells, img.Height()};
}

// Why `hi` cannot stand for `slot`'s image at 192 DPI; empty when it can.
std::string HiDpiProblem(const TSkinModel::THiDpiImage& hi, const TImageSlot& slot) {
  if (hi.One.Empty()) return "its 1x image is missing or not a BMP file";
  if (hi.Two.Empty()) return "it is not a BMP file";
  if (!(*slot.Image == hi.One)) return "the skin derives another image from the 1x image";
  const TCellSize one = CellOf(hi.One, slot.Cells, slot.Columns);
  const TCellSize two = CellOf(hi.Two, slot.Cells, slot.Columns);
  if (one.W == 0 || one.H == 0) return "the 1x image has more cells than pixels";
  if (two.W != 2 * one.W || two.H != 2 * one.H)
    return "its cells are " + std::to_string(two.W) + "x" + std::to_string(two.H) +
           ", not twice the 1x cells " + std::to_string(one.W) + "x" + std::to_string(one.H);
  return {};
}

const TSkinModel::THiDpiImage* HiDpiOf(const TSkinModel& m, const PixelBuffer* image) {
  for (const TSkinModel::THiDpiImage& h : m.HiDpiImages())
    if (h.Slot == image) return &h;
  return nullptr;
}

// The @2x image without the pixels past its last whole cell.
PixelBuffer WholeCells(const PixelBuffer& two, int cells, bool columns) {
  const TCellSize c = CellOf(two, cells, columns);
  const int w = columns ? c.W : c.W * cells, h = columns ? c.H * cells : c.H;
  if (w == two.Width() && h == two.Height()) return two;
  PixelBuffer out(w, h);
  for (int y = 0; y < h; ++y)
    std::copy(two.Row(y), two.Row(y) + w, out.Row(y));
  return out;
}

void ScaleImages(TSkinModel& m, int dpi) {
  for (const TImageSlot& s : ImageSlots(m)) {
    const TSkinModel::THiDpiImage* hi = dpi == 2 * kBaseDpi ? HiDpiOf(m, s.Image) : nullptr;
    if (hi && HiDpiProblem(*hi, s).empty())
      *s.Image = WholeCells(hi->Two, s.Cells, s.Columns);
    else
      *s.Image = ScaleSkinImage(*s.Image, s.Cells, s.Columns, s.Margins, s.Tile, dpi);
  }
}

void ScaleRect(TRect& r, int dpi) {
  r = {ScaleToDpi(r.Left, dpi), ScaleToDpi(r.Top, dpi), ScaleToDpi(r.Right, dpi),
       ScaleToDpi(r.Bottom, dpi)};
}

void ScaleNumbers(TSkinModel& m, int dpi) {
  auto rect = [dpi](TDataSkinObject* o) {
    if (o) ScaleRect(o->r, dpi);
  };
  for (const auto& b : m.border)
    rect(b.get());
  for (const auto& b : m.SysBtn) {
    rect(b.get());
    b->XCoord = ScaleToDpi(b->XCoord, dpi);
    b->YCoord = ScaleToDpi(b->YCoord, dpi);
  }
  if (TDataSkinTitle* t = m.Title.get()) {
    rect(t);
    t->FontHeight = ScaleToDpi(t->FontHeight, dpi);
    t->backleft = ScaleToDpi(t->backleft, dpi);
    t->backright = ScaleToDpi(t->backright, dpi);
  }
  if (TDataSkinBoxLabel* l = m.boxlabel.get()) {
    rect(l);
    l->LeftShift = ScaleToDpi(l->LeftShift, dpi);
    l->RightShift = ScaleToDpi(l->RightShift, dpi);
  }
  for (TDataSkinObject* o : PlainElements(m))
    rect(o);
  for (TDataSkinObject* o : std::initializer_list<TDataSkinObject*>{
           m.Button.get(), m.progress.get(), m.Menubar.get(), m.tab.get(), m.combox.get(),
           m.MenuItem.get(), m.MenuitemBG.get(), m.HSpin.get(), m.VSpin.get()})
    rect(o);
}

}  // namespace

int SkinMulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = int64_t{number} * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const int64_t p = product < 0 ? -product : product;
  const int64_t d = denominator < 0 ? -int64_t{denominator} : int64_t{denominator};
  const int64_t q = (p + d / 2) / d;
  const int64_t result = negative ? -q : q;
  if (result > INT_MAX || result < INT_MIN) return -1;
  return static_cast<int>(result);
}

int ScaleToDpi(int v, int dpi) {
  if (dpi <= kBaseDpi) return v;
  const int64_t p = int64_t{v} * ClampDpi(dpi);
  const int64_t q = (p < 0 ? -p + kBaseDpi / 2 : p + kBaseDpi / 2) / kBaseDpi;
  return static_cast<int>(std::clamp<int64_t>(p < 0 ? -q : q, INT_MIN, INT_MAX));
}

PixelBuffer ScaleSkinImage(const PixelBuffer& img, int cells, bool columns, const TRect& margins,
                           bool tile, int dpi) {
  if (dpi <= kBaseDpi || img.Empty()) return img;
  dpi = ClampDpi(dpi);
  cells = std::max(cells, 1);
  TCellSize cell = CellOf(img, cells, columns);
  TRect m = margins;
  if (cell.W == 0 || cell.H == 0) cells = 1, cell = {img.Width(), img.Height()}, m = TRect{};
  FitMargins(cell.W, m.Left, m.Right);
  FitMargins(cell.H, m.Top, m.Bottom);
  const int cw = ScaleToDpi(cell.W, dpi), ch = ScaleToDpi(cell.H, dpi);
  const std::vector<int> mapX = AxisMap(cell.W, cw, m.Left, m.Right, tile, dpi);
  const std::vector<int> mapY = AxisMap(cell.H, ch, m.Top, m.Bottom, tile, dpi);
  PixelBuffer out(columns ? cw : cw * cells, columns ? ch * cells : ch);
  for (int c = 0; c < cells; ++c) {
    const int sx = columns ? 0 : c * cell.W, sy = columns ? c * cell.H : 0;
    const int dx = columns ? 0 : c * cw, dy = columns ? c * ch : 0;
    for (int y = 0; y < ch; ++y) {
      const Pixel* from = img.Row(sy + mapY[static_cast<size_t>(y)]) + sx;
      Pixel* to = out.Row(dy + y) + dx;
      for (int x = 0; x < cw; ++x)
        to[x] = from[mapX[static_cast<size_t>(x)]];
    }
  }
  return out;
}

void ScaleSkinModel(TSkinModel& model, int dpi) {
  if (dpi <= kBaseDpi) return;
  dpi = ClampDpi(dpi);
  ScaleImages(model, dpi);
  ScaleNumbers(model, dpi);
  model.ForgetHiDpiImages();
}

std::vector<THiDpiCheck> CheckHiDpiImages(TSkinModel& model) {
  std::vector<THiDpiCheck> out;
  const std::vector<TImageSlot> slots = ImageSlots(model);
  for (const TSkinModel::THiDpiImage& h : model.HiDpiImages()) {
    THiDpiCheck c;
    c.Name = h.Name;
    c.OneWidth = h.One.Width(), c.OneHeight = h.One.Height();
    c.TwoWidth = h.Two.Width(), c.TwoHeight = h.Two.Height();
    const auto slot = std::find_if(slots.begin(), slots.end(),
                                   [&](const TImageSlot& s) { return s.Image == h.Slot; });
    if (slot == slots.end()) {
      c.Why = "the skin keeps no image read from its 1x image";
    } else {
      c.Cells = slot->Cells;
      c.Columns = slot->Columns;
      c.Why = HiDpiProblem(h, *slot);
      c.Used = c.Why.empty();
    }
    out.push_back(std::move(c));
  }
  return out;
}

int SkinDpi(const TSkinModel* model) {
  return model ? model->TargetDpi() : 96;
}

}  // namespace lbb::skin
