// The skinned main window at the screen's resolution (LBB_DPI; 96 when unset), as the program
// shows it: the frame's borders are the 96-DPI widths scaled, the caption text ends before
// the first caption button, and at twice the resolution a frame corner is the 96-DPI corner
// with every pixel doubled. Checked on the pixels the screen shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/Unit1.h"
#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "resources/skin/BuiltinSkin.h"
#include "skin/data/FrameGeometry.h"
#include "skin/data/SkinScale.h"
#include "skin/forms/NCObject.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "tests/win/dpi/HarnessDpi.h"
#include "tests/win/forms/FormsSupport.h"
#include "tools/input/Input.h"

namespace lbb::app {
namespace {

using namespace lbb::skin;
namespace test = forms::test;

using lbb::test::HarnessDpi;

// The built-in skin as it is at 96 DPI.
std::unique_ptr<TSkinModel> SkinAt96() {
  auto m = std::make_unique<TSkinModel>();
  const auto bytes = resources::BuiltinSkin();
  m->data.Write(bytes.data(), bytes.size());
  m->ParseSkin();
  return m;
}

TBorderPiece PieceOf(const TSkinModel& m, int side) {
  const auto& b = m.border[static_cast<size_t>(side)];
  return b ? TBorderPiece{b->Map.Width(), b->Map.Height(), b->frame} : TBorderPiece{};
}

class SkinnedAtDpi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test::EnsureApplication();
    UseSkinManager();
  }
  static void TearDownTestSuite() {
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
    test::Settle();
  }
  void SetUp() override {
    form = std::make_unique<TForm1>(forms::Application);
    form->DoCreate();
    form->ShowForm();
    ASSERT_TRUE(test::PumpUntil([&] {
      TSkinManage* m = SkinManagerInstance();
      sf = m ? m->FindForm(form->Handle()) : nullptr;
      return sf && sf->Skinstate == kSkinIdle;
    })) << "the main window was not skinned";
    ASSERT_TRUE(test::Check(input::BringToFront(form->Handle(), test::Waiting())));
    ASSERT_TRUE(test::PumpUntil([&] { return sf->WindowActive(); }));
  }
  void TearDown() override {
    form.reset();
    test::Settle();
  }
  // The window as the screen shows it, saved for a person to look at.
  PixelBuffer Shot(const char* name) {
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    test::Settle();
    PixelBuffer shot = forms::CaptureWindow(form->Handle());
    const std::filesystem::path dir =
        std::filesystem::path(LBB_SCREENSHOT_DIR) / ("dpi-" + std::to_string(HarnessDpi()));
    std::filesystem::create_directories(dir);
    forms::SavePng(shot, (dir / name).string());
    return shot;
  }

  std::unique_ptr<TForm1> form;
  TWinSkinForm* sf = nullptr;
};

TEST_F(SkinnedAtDpi, TheBordersAreTheScaledWidths) {
  const auto m = SkinAt96();
  const TFrameWidths w96 =
      FrameWidthsOf(PieceOf(*m, kBorderLeft), PieceOf(*m, kBorderRight), PieceOf(*m, kBorderTop),
                    PieceOf(*m, kBorderBottom), false);
  const int dpi = HarnessDpi();
  EXPECT_EQ(sf->bw.left, ScaleToDpi(w96.Left, dpi));
  EXPECT_EQ(sf->bw.top, ScaleToDpi(w96.Top, dpi));
  EXPECT_EQ(sf->bw.right, ScaleToDpi(w96.Right, dpi));
  EXPECT_EQ(sf->bw.bottom, ScaleToDpi(w96.Bottom, dpi));
  // The client area the form asked for lies inside them on the screen.
  RECT window{}, client{};
  GetWindowRect(form->Handle(), &window);
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(window.right - window.left, client.right + sf->bw.left + sf->bw.right);
}

TEST_F(SkinnedAtDpi, TheCaptionTextEndsBeforeTheFirstCaptionButton) {
  // A title far longer than the caption, and none: right of the first caption button the two
  // captions must be the same pixels.
  SetWindowTextW(form->Handle(), std::wstring(120, L'W').c_str());
  const PixelBuffer longTitle = Shot("skinned-long-title.png");
  SetWindowTextW(form->Handle(), L"");
  const PixelBuffer noTitle = Shot("skinned-no-title.png");
  const RECT t = sf->TitleRect();
  // The first of the buttons right of the title's start (the window icon sits left of it).
  int firstButton = sf->FrameWidth();
  for (const auto& b : sf->SysBtn)
    if (b->visible && b->bounds.right > b->bounds.left && b->bounds.left >= t.left)
      firstButton = std::min(firstButton, static_cast<int>(b->bounds.left));
  auto differ = [&](int x0, int x1) {
    int n = 0;
    for (int y = std::max(0, int(t.top)); y < std::min(noTitle.Height(), int(t.bottom)); ++y)
      for (int x = std::max(0, x0); x < std::min(noTitle.Width(), x1); ++x)
        n += (longTitle.At(x, y) & 0xFFFFFF) != (noTitle.At(x, y) & 0xFFFFFF);
    return n;
  };
  EXPECT_GT(differ(t.left, firstButton), 0) << "no title text on the screen";
  EXPECT_EQ(differ(firstButton, sf->FrameWidth() - sf->bw.right), 0)
      << "the title shows at or right of the first caption button (x = " << firstButton << ")";
}

TEST_F(SkinnedAtDpi, AtTwiceTheResolutionAFrameCornerIsTheCornerDoubled) {
  if (HarnessDpi() != 192) GTEST_SKIP() << "only at 192 DPI";
  const PixelBuffer shot = Shot("skinned-main-window.png");
  // The bottom-left corner is the Left piece's bottom margin in the active look (its looks
  // side by side, the first one active).
  const auto m = SkinAt96();
  const TDataSkinBorder& left = *m->border[kBorderLeft];
  const int cw = left.Map.Width() / std::max(1, left.frame), h = left.Map.Height();
  const int margin = left.r.Bottom;
  ASSERT_GT(margin, 0) << "the skin's left border has no bottom corner";
  int compared = 0;
  for (int y = 0; y < 2 * margin; ++y)
    for (int x = 0; x < 2 * cw; ++x) {
      const Pixel want = left.Map.At(x / 2, h - margin + y / 2) & 0xFFFFFF;
      if (want == 0xFF00FF) continue;  // cut by the window's region
      const int sy = shot.Height() - 2 * margin + y;
      ASSERT_EQ(shot.At(x, sy) & 0xFFFFFF, want) << "at (" << x << ", " << sy << ")";
      ++compared;
    }
  EXPECT_GT(compared, 0);
}

// A program aware of each screen's resolution gets WM_DPICHANGED when its window moves to a
// screen of another one. Wine gives every screen the same resolution and never sends it, so
// the test sends it as the platform would: 96 -> 144 DPI, the place suggested beside it.
TEST_F(SkinnedAtDpi, MovedToAScreenOfAnotherResolutionTheFrameIsRenderedForIt) {
  if (HarnessDpi() != 96) GTEST_SKIP() << "sent from 96 DPI only";
  constexpr int kTo = 144;
  const HWND hwnd = form->Handle();
  RECT client{};
  GetClientRect(hwnd, &client);
  RECT place{40, 30, 40 + 700, 30 + 480};
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(kTo, kTo), reinterpret_cast<LPARAM>(&place));

  auto m = SkinAt96();
  ScaleSkinModel(*m, kTo);
  const TFrameWidths want =
      FrameWidthsOf(PieceOf(*m, kBorderLeft), PieceOf(*m, kBorderRight), PieceOf(*m, kBorderTop),
                    PieceOf(*m, kBorderBottom), false);
  ASSERT_TRUE(test::PumpUntil([&] {
    return sf->Skinstate == kSkinIdle && sf->bw.left == want.Left && sf->bw.top == want.Top;
  })) << "the frame did not take the borders of "
      << kTo << " DPI";
  RECT window{}, now{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &now);
  EXPECT_EQ(window.left, place.left);
  EXPECT_EQ(window.top, place.top);
  EXPECT_EQ(now.right, MulDiv(client.right, kTo, 96)) << "the client area was not scaled";
  EXPECT_EQ(window.right - window.left, now.right + want.Left + want.Right);

  // On the screen the bottom-left corner is the left border's corner as scaled for 144 DPI.
  const PixelBuffer shot = Shot("moved-to-144-dpi.png");
  const TDataSkinBorder& left = *m->border[kBorderLeft];
  const int cw = left.Map.Width() / std::max(1, left.frame), h = left.Map.Height();
  int compared = 0;
  for (int y = 0; y < left.r.Bottom; ++y)
    for (int x = 0; x < cw; ++x) {
      const Pixel px = left.Map.At(x, h - left.r.Bottom + y) & 0xFFFFFF;
      if (px == 0xFF00FF) continue;  // cut by the window's region
      const int sy = shot.Height() - left.r.Bottom + y;
      ASSERT_EQ(shot.At(x, sy) & 0xFFFFFF, px) << "at (" << x << ", " << sy << ")";
      ++compared;
    }
  EXPECT_GT(compared, 0);
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&place));
}

}  // namespace
}  // namespace lbb::app
