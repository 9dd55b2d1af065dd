#include "tests/win/skincombo/ComboSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/PngFile.h"
#include "forms/Screenshot.h"
#include "skin/data/imgutil.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::skin::test {

namespace {

constexpr Pixel kKey = 0xFF00FF;

bool InAny(const std::vector<RECT>& rects, int x, int y) {
  for (const RECT& r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

}  // namespace

std::vector<int> ComboTest::Matching(const PixelBuffer& shot, const RECT& at,
                                     const TDataSkinObject& element, int N,
                                     const std::vector<RECT>& skip) {
  std::vector<int> found;
  const int w = at.right - at.left, h = at.bottom - at.top;
  if (w <= 0 || h <= 0) return found;
  for (int f = 1; f <= N; ++f) {
    const PixelBuffer img =
        RenderSkinImage(TRect{0, 0, w, h}, element.Map, element.r, false, element.Tile == 1, N, f);
    bool same = true;
    int compared = 0;
    for (int y = 0; y < h && same; ++y)
      for (int x = 0; x < w && same; ++x) {
        const Pixel want = img.At(x, y) & 0xFFFFFF;
        const int sx = at.left + x, sy = at.top + y;
        if ((element.trans == 1 && want == kKey) || InAny(skip, sx, sy)) continue;
        ++compared;
        if (sx < 0 || sy < 0 || sx >= shot.Width() || sy >= shot.Height() ||
            (shot.At(sx, sy) & 0xFFFFFF) != want)
          same = false;
      }
    if (same && compared > 0) found.push_back(f);
  }
  return found;
}

::testing::AssertionResult ComboTest::ShowsFrame(HWND hwnd, const RECT& at,
                                                 const TDataSkinObject& element, int N, int want,
                                                 const std::vector<RECT>& skip) {
  std::vector<int> seen;
  const bool ok = PumpUntil([&] {
    seen = Matching(forms::CaptureWindow(hwnd), at, element, N, skip);
    return seen == std::vector<int>{want};
  });
  if (ok) return ::testing::AssertionSuccess();
  // Where the wanted frame differs from the screen, for the failure.
  const PixelBuffer shot = forms::CaptureWindow(hwnd);
  const int w = at.right - at.left, h = at.bottom - at.top;
  const PixelBuffer img =
      RenderSkinImage(TRect{0, 0, w, h}, element.Map, element.r, false, element.Tile == 1, N, want);
  int differing = 0;
  std::string first;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Pixel p = img.At(x, y) & 0xFFFFFF;
      const int sx = at.left + x, sy = at.top + y;
      if ((element.trans == 1 && p == kKey) || InAny(skip, sx, sy) || sx >= shot.Width() ||
          sy >= shot.Height() || (shot.At(sx, sy) & 0xFFFFFF) == p)
        continue;
      if (differing++ == 0) {
        char buf[96];
        std::snprintf(buf, sizeof buf, " first at (%d, %d): %06X on the screen, %06X drawn", sx, sy,
                      unsigned(shot.At(sx, sy) & 0xFFFFFF), unsigned(p));
        first = buf;
      }
    }
  return ::testing::AssertionFailure() << "frames matching:" << Frames(seen) << "; wanted only "
                                       << want << "; " << differing << " pixels differ" << first;
}

::testing::AssertionResult ComboTest::ClickInPopup(HWND popup, POINT client) {
  ClientToScreen(popup, &client);
  if (auto moved = forms::test::Check(lbb::input::MoveMouse(client, forms::test::Waiting()));
      !moved)
    return moved;
  if (auto down = PressLeft(); !down) return down;
  return ReleaseLeft();
}

void ComboTest::SaveShot(const RECT& screen, const std::string& name) {
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  const std::string png = EncodePng(forms::CaptureScreen(screen));
  std::ofstream(std::string(LBB_SCREENSHOT_DIR) + "/" + name, std::ios::binary) << png;
}

void ComboTest::SaveWindowShot(HWND hwnd, const std::string& name) {
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  EXPECT_TRUE(forms::SaveWindowPng(hwnd, std::string(LBB_SCREENSHOT_DIR) + "/" + name));
}

RECT WindowRectIn(HWND window, HWND of) {
  RECT r{}, o{};
  GetWindowRect(window, &r);
  GetWindowRect(of, &o);
  OffsetRect(&r, -o.left, -o.top);
  return r;
}

std::string Frames(const std::vector<int>& frames) {
  std::string s;
  for (int f : frames)
    s += " " + std::to_string(f);
  return s.empty() ? " none" : s;
}

}  // namespace lbb::skin::test
