#include "tests/win/skintabs/TabSupport.h"

#include <filesystem>

#include "forms/Screenshot.h"
#include "skin/data/imgutil.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {

namespace {

constexpr Pixel kKey = 0xFF00FF;
constexpr int kBand = 3;

bool SameBands(const PixelBuffer& shot, const RECT& r, const PixelBuffer& want) {
  const int w = want.Width(), h = want.Height();
  for (int y = 0; y < h; ++y) {
    if (y >= kBand && y < h - kBand) continue;
    for (int x = kBand; x < w - kBand; ++x) {
      const Pixel p = want.At(x, y) & 0xFFFFFF;
      if (p == kKey) continue;
      const int sx = r.left + x, sy = r.top + y;
      if (!shot.Contains(sx, sy) || (shot.At(sx, sy) & 0xFFFFFF) != p) return false;
    }
  }
  return true;
}

}  // namespace

void TabTest::SetUp() {
  ButtonTest::SetUp();
  form->SetBounds(60, 60, 760, 520);
  form->SetCaption(u"Skinned tabs");
  sink->SetBounds(600, 440, 80, 22);
}

std::vector<int> TabTest::FramesAt(const PixelBuffer& shot, const RECT& r, const PixelBuffer& img,
                                   const TRect& margins, bool tile, int N) {
  std::vector<int> found;
  const TRect size{0, 0, int(r.right - r.left), int(r.bottom - r.top)};
  if (size.Right <= 2 * kBand || size.Bottom <= 2 * kBand) return found;
  for (int f = 1; f <= N; ++f)
    if (SameBands(shot, r, RenderSkinImage(size, img, margins, false, tile, N, f)))
      found.push_back(f);
  return found;
}

::testing::AssertionResult TabTest::ShowsFrameAt(HWND hwnd, const std::function<RECT()>& r,
                                                 const TDataSkinObject& e, int N, int want,
                                                 int wrong) {
  return ShowsFrameAt(hwnd, r, e.Map, e.r, N, want, wrong);
}

::testing::AssertionResult TabTest::ShowsFrameAt(HWND hwnd, const std::function<RECT()>& r,
                                                 const PixelBuffer& img, const TRect& margins,
                                                 int N, int want, int wrong) {
  std::vector<int> seen;
  auto ok = [&] {
    seen = FramesAt(forms::CaptureWindow(hwnd), r(), img, margins, false, N);
    const bool has = std::find(seen.begin(), seen.end(), want) != seen.end();
    return has && std::find(seen.begin(), seen.end(), wrong) == seen.end();
  };
  if (PumpUntil(ok)) return ::testing::AssertionSuccess();
  std::string list;
  for (int f : seen)
    list += " " + std::to_string(f);
  return ::testing::AssertionFailure()
         << "frames matching:" << list << "; wanted " << want << " and not " << wrong;
}

void TabTest::SaveShot(const char* name) const {
  Settle();
  const std::filesystem::path dir = LBB_SCREENSHOT_DIR "/skintabs";
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(forms::SaveWindowPng(form->Handle(), (dir / name).string()));
}

Pixel TabTest::PixelAt(HWND hwnd, POINT p) {
  const PixelBuffer shot = forms::CaptureWindow(hwnd);
  return shot.Contains(p.x, p.y) ? shot.At(p.x, p.y) & 0xFFFFFF : 0xFFFFFFFF;
}

RECT ToRect(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

POINT Centre(const RECT& r) {
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace lbb::skin::test
