#include "skin/data/MenuBarGeometry.h"

#include <algorithm>

#include "skin/data/SkinScale.h"

namespace lbb::skin {

int MenuBarStart(bool hasElement, const TRect& margins, bool rightToLeft, int bandWidth, int dpi) {
  if (!hasElement) return ScaleToDpi(6, dpi);
  const int a =
      rightToLeft ? margins.Right + ScaleToDpi(8, dpi) : margins.Left + ScaleToDpi(4, dpi);
  return a > bandWidth ? ScaleToDpi(12, dpi) : a;
}

int MenuButtonWidth(int textWidth, int dpi) {
  return textWidth > 0 ? textWidth + ScaleToDpi(10, dpi) : 0;
}

std::vector<TMenuBarPlace> LayoutMenuBar(const TRect& band, int start, bool rightToLeft,
                                         const std::vector<TMenuBarEntry>& entries,
                                         int rightLimit) {
  std::vector<TMenuBarPlace> places;
  places.reserve(entries.size());
  const int h = band.Height();
  int x = rightToLeft ? rightLimit : start;
  for (const TMenuBarEntry& e : entries) {
    if (!e.Visible) {
      places.push_back(TMenuBarPlace{});
      continue;
    }
    const int w = e.Width;
    const int left = rightToLeft ? x - w : x;
    places.push_back(
        TMenuBarPlace{TRect{left, 0, left + w, h - 1},
                      TRect{band.Left + left, band.Top, band.Left + left + w, band.Bottom - 1}});
    x = rightToLeft ? x - w : x + w;
  }
  return places;
}

int MenuBarRightLimit(const TRect& band, int start, const std::vector<TRect>& mdiButtons, int dpi) {
  int c = band.Width() - start;
  for (const TRect& b : mdiButtons)
    c = std::min(c, b.Left - band.Left - ScaleToDpi(5, dpi));
  return c;
}

}  // namespace lbb::skin
