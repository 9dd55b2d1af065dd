#include "tests/win/skinmisc/MiscSupport.h"

#include <algorithm>
#include <filesystem>

#include "base/Colour.h"
#include "forms/Screenshot.h"
#include "skin/data/imgutil.h"

namespace lbb::skin::test {

void MiscTest::SetUp() {
  ButtonTest::SetUp();
  form->SetBounds(60, 60, 660, 500);
  sink->SetBounds(560, 420, 60, 22);
}

Pixel MiscTest::Scheme(int index) const {
  return PixelOf(ColorToRGB(data->Colors[index]));
}

TSkinControl* MiscTest::Attach(TSkinnerKind kind, forms::TControl* c, bool colour) {
  return AttachSkinner(*sf, kind, c, colour);
}

void MiscTest::SaveShot(HWND hwnd, const std::string& name) {
  Settle();
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR "/skinmisc");
  EXPECT_TRUE(forms::SaveWindowPng(hwnd, LBB_SCREENSHOT_DIR "/skinmisc/" + name + ".png"));
}

void Compose(PixelBuffer& dst, const RECT& at, const TDataSkinObject& e, int frame, int frames) {
  const TRect size{0, 0, int(at.right - at.left), int(at.bottom - at.top)};
  if (size.Width() <= 0 || size.Height() <= 0) return;
  const PixelBuffer img = RenderSkinImage(size, e.Map, e.r, false, e.Tile == 1, frames, frame);
  StretchCopy(dst, TRect{int(at.left), int(at.top), int(at.right), int(at.bottom)}, img, size,
              e.trans == 1);
}

int Differences(const PixelBuffer& shot, const RECT& area, const PixelBuffer& expected,
                const std::vector<RECT>& skip) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const POINT p{x, y};
      if (std::any_of(skip.begin(), skip.end(), [&](const RECT& r) { return PtInRect(&r, p); }))
        continue;
      const int ex = x - area.left, ey = y - area.top;
      if (x < 0 || y < 0 || x >= shot.Width() || y >= shot.Height() || ex >= expected.Width() ||
          ey >= expected.Height() || (shot.At(x, y) & 0xFFFFFF) != (expected.At(ex, ey) & 0xFFFFFF))
        ++n;
    }
  return n;
}

int CountOf(const PixelBuffer& shot, const RECT& area, Pixel p) {
  int n = 0;
  for (int y = std::max(0L, area.top); y < std::min<LONG>(shot.Height(), area.bottom); ++y)
    for (int x = std::max(0L, area.left); x < std::min<LONG>(shot.Width(), area.right); ++x)
      if ((shot.At(x, y) & 0xFFFFFF) == p) ++n;
  return n;
}

RECT RectIn(HWND hwnd, HWND ancestor) {
  RECT r{}, a{};
  GetWindowRect(hwnd, &r);
  GetWindowRect(ancestor, &a);
  OffsetRect(&r, -a.left, -a.top);
  return r;
}

}  // namespace lbb::skin::test
