#include "skin/data/TabGeometry.h"

#include <algorithm>

#include "skin/data/imgutil.h"

namespace lbb::skin {

namespace {

constexpr unsigned kStyleBottom = 0x2;     // TCS_BOTTOM (TCS_RIGHT with TCS_VERTICAL)
constexpr unsigned kStyleVertical = 0x80;  // TCS_VERTICAL

bool Inside(const TRect& r, TPoint p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

bool IsEmpty(const TRect& r) {
  return r.Right <= r.Left || r.Bottom <= r.Top;
}

// Cell k (0-based) of `frames` cut out of `strip`.
PixelBuffer Cell(const PixelBuffer& strip, int frames, int k) {
  const int w = strip.Width() / frames;
  PixelBuffer cell(w, strip.Height());
  for (int y = 0; y < strip.Height(); ++y)
    for (int x = 0; x < w; ++x)
      cell.At(x, y) = strip.At(k * w + x, y);
  return cell;
}

void Turn(PixelBuffer& cell, TSkinTabPosition pos) {
  switch (pos) {
    case TSkinTabPosition::tpBottom:
      FlipImage(cell);
      return;
    case TSkinTabPosition::tpLeft:
      RotateLeft(cell);
      return;
    case TSkinTabPosition::tpRight:
      RotateRight(cell);
      return;
    case TSkinTabPosition::tpTop:
      return;
  }
}

}  // namespace

TSkinTabPosition TabPositionFromStyle(unsigned style) {
  const bool vertical = (style & kStyleVertical) != 0, bottomOrRight = (style & kStyleBottom) != 0;
  if (vertical) return bottomOrRight ? TSkinTabPosition::tpRight : TSkinTabPosition::tpLeft;
  return bottomOrRight ? TSkinTabPosition::tpBottom : TSkinTabPosition::tpTop;
}

TRect TabToControl(const TRect& t, TSkinTabPosition pos, TSize control) {
  switch (pos) {
    case TSkinTabPosition::tpBottom:
      return TRect{t.Left, control.cy - t.Bottom, t.Right, control.cy - t.Top};
    case TSkinTabPosition::tpLeft:
      return TRect{t.Top, t.Left, t.Bottom, t.Right};
    case TSkinTabPosition::tpRight:
      return TRect{control.cx - t.Bottom, t.Left, control.cx - t.Top, t.Right};
    case TSkinTabPosition::tpTop:
      break;
  }
  return t;
}

TRect TabFromControl(const TRect& r, TSkinTabPosition pos, TSize control) {
  switch (pos) {
    case TSkinTabPosition::tpBottom:
      return TRect{r.Left, control.cy - r.Bottom, r.Right, control.cy - r.Top};
    case TSkinTabPosition::tpLeft:
      return TRect{r.Top, r.Left, r.Bottom, r.Right};
    case TSkinTabPosition::tpRight:
      return TRect{r.Top, control.cx - r.Right, r.Bottom, control.cx - r.Left};
    case TSkinTabPosition::tpTop:
      break;
  }
  return r;
}

std::vector<TRect> TabRects(const TTabLayoutInput& in) {
  std::vector<TRect> out(in.Lengths.size());
  int along = kTabStart;
  for (int i = std::max(0, in.First); i < int(in.Lengths.size()); ++i) {
    int a0 = along, a1 = along + std::max(0, in.Lengths[size_t(i)]);
    along = a1;
    if (a0 >= in.Length) continue;
    int d0 = kTabLift;
    if (i == in.Selected) {
      a0 = std::max(0, a0 - kTabOverlap);
      a1 += kTabOverlap;
      d0 = 0;
    }
    a1 = std::min(a1, in.Length);
    if (a1 <= a0 || in.Depth <= d0) continue;
    out[size_t(i)] = TabToControl(TRect{a0, d0, a1, in.Depth}, in.Position, in.Control);
  }
  return out;
}

int TabHitTest(const std::vector<TRect>& rects, int selected, TPoint p) {
  if (selected >= 0 && selected < int(rects.size()) && Inside(rects[size_t(selected)], p))
    return selected;
  for (int i = 0; i < int(rects.size()); ++i)
    if (i != selected && !IsEmpty(rects[size_t(i)]) && Inside(rects[size_t(i)], p)) return i;
  return -1;
}

TRect TabCloseRect(const TRect& tab, TSkinTabPosition pos, TSize control) {
  const TRect t = TabFromControl(tab, pos, control);
  // Centred across the part of the tab above the page border.
  const int mid = (t.Top + t.Bottom - kTabPaneGap) / 2;
  const int a1 = t.Right - kTabCloseGap, d0 = mid - kTabCloseSize / 2;
  return TabToControl(TRect{a1 - kTabCloseSize, d0, a1, d0 + kTabCloseSize}, pos, control);
}

TRect TabTextRect(const TRect& tab, bool hasClose, TSkinTabPosition pos, TSize control) {
  const TRect t = TabFromControl(tab, pos, control);
  int a1 = t.Right - kTabTextPad;
  if (hasClose) a1 = t.Right - kTabCloseGap - kTabCloseSize - 2;
  const TRect box{t.Left + kTabTextPad, t.Top, std::max(t.Left + kTabTextPad, a1),
                  std::max(t.Top, t.Bottom - kTabPaneGap)};
  return TabToControl(box, pos, control);
}

TRect TabPaneRect(const TRect& d, TSize control) {
  return TRect{std::max(0, d.Left - kTabPaneGap), std::max(0, d.Top - kTabPaneGap),
               std::min(control.cx, d.Right + kTabPaneGap),
               std::min(control.cy, d.Bottom + kTabPaneGap)};
}

int TabStripDepth(const TRect& d, TSkinTabPosition pos, TSize control) {
  switch (pos) {
    case TSkinTabPosition::tpBottom:
      return std::max(0, control.cy - d.Bottom);
    case TSkinTabPosition::tpLeft:
      return std::max(0, d.Left);
    case TSkinTabPosition::tpRight:
      return std::max(0, control.cx - d.Right);
    case TSkinTabPosition::tpTop:
      break;
  }
  return std::max(0, d.Top);
}

int TabStripLength(TSkinTabPosition pos, TSize control, int upDown) {
  const bool across = pos == TSkinTabPosition::tpTop || pos == TSkinTabPosition::tpBottom;
  return std::max(0, (across ? control.cx : control.cy) - std::max(0, upDown));
}

int TabFirstVisible(const std::vector<int>& nativeStarts, const std::vector<int>& lengths) {
  int i = 0;
  const int n = int(std::min(nativeStarts.size(), lengths.size()));
  while (i < n && (nativeStarts[size_t(i)] < 0 || lengths[size_t(i)] <= 0))
    ++i;
  return i == n ? 0 : i;
}

int TabFrame(bool selected, bool hot, bool enabled, bool focused) {
  if (!enabled) return kTabFrameDisabled;
  if (selected) return focused ? kTabFrameFocused : kTabFrameSelected;
  return hot ? kTabFrameHot : kTabFrameNormal;
}

PixelBuffer TabImageFor(const PixelBuffer& strip, int frames, TSkinTabPosition pos) {
  if (pos == TSkinTabPosition::tpTop || strip.Empty() || frames < 1 || strip.Width() < frames)
    return strip;
  PixelBuffer out;
  for (int k = 0; k < frames; ++k) {
    PixelBuffer cell = Cell(strip, frames, k);
    Turn(cell, pos);
    if (out.Empty()) out = PixelBuffer(cell.Width() * frames, cell.Height());
    for (int y = 0; y < cell.Height(); ++y)
      for (int x = 0; x < cell.Width(); ++x)
        out.At(k * cell.Width() + x, y) = cell.At(x, y);
  }
  return out;
}

TRect TabMarginsFor(const TRect& m, TSkinTabPosition pos) {
  switch (pos) {
    case TSkinTabPosition::tpBottom:
      return TRect{m.Left, m.Bottom, m.Right, m.Top};
    case TSkinTabPosition::tpLeft:
      return TRect{m.Top, m.Right, m.Bottom, m.Left};
    case TSkinTabPosition::tpRight:
      return TRect{m.Bottom, m.Left, m.Top, m.Right};
    case TSkinTabPosition::tpTop:
      break;
  }
  return m;
}

TRect TabBorderMargins(int width, int height) {
  return TRect{width / 3, height / 3, width / 3, height / 3};
}

// ---- header bars

int HeaderItemFrame(int index, int hot, int pressed, bool enabled, int frames) {
  auto have = [frames](int f) { return f <= frames ? f : kHeaderFrameNormal; };
  if (!enabled) return have(kHeaderFrameDisabled);
  if (index < 0) return kHeaderFrameNormal;
  if (index == pressed) return have(kHeaderFramePressed);
  if (index == hot) return have(kHeaderFrameHot);
  return kHeaderFrameNormal;
}

TRect HeaderTextRect(const TRect& item, TSize text, int align, bool pressed) {
  int x = item.Left + kHeaderTextPad;
  if (align == 1) x = item.Right - kHeaderTextPad - text.cx;
  if (align == 2) x = item.Left + (item.Width() - text.cx) / 2;
  const int y = item.Top + (item.Height() - text.cy) / 2;
  TRect r{std::max(x, item.Left + kHeaderTextPad), y,
          std::min(x + text.cx, item.Right - kHeaderTextPad), y + text.cy};
  if (r.Right < r.Left) r.Right = r.Left;
  if (pressed) r = TRect{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
  return r;
}

}  // namespace lbb::skin
