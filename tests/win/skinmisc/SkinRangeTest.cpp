// The range and status-bar skinners under Wine, on a form skinned with the built-in skin: a
// progress bar shows the skin's track and fill as long as its position asks, for several
// ranges and an empty one, with the fill frame or chunks as the skin's Style says, lying or
// upright; a track bar's thumb is drawn from the skin where the bar has it, hot, pressed while
// dragged with the real mouse, and lands on the same position as an unskinned bar dragged the
// same way; the arrow keys move it too; a status bar shows the skin's bar, panels and grip
// with its texts.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "forms/RangeCtrls.h"
#include "forms/Screenshot.h"
#include "forms/StatusBar.h"
#include "skin/data/RangeGeometry.h"
#include "skin/data/imgutil.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinmisc/MiscSupport.h"
#include "tools/input/Input.h"

namespace lbb::skin::test {
namespace {

constexpr Pixel kKey = 0xFF00FF;

class SkinRange : public MiscTest {
 protected:
  // The bar lying down as the skin draws it: track, then the fill (style 0) or chunks.
  PixelBuffer ExpectedBar(int length, int across, int fill, bool chunks) const {
    PixelBuffer bar(length, across);
    bar.Fill(Scheme(kShemeButtonFace));
    const TDataSkinBorder& p = *data->progress;
    Compose(bar, RECT{0, 0, length, across}, p, 1, p.frame);
    if (!chunks) {
      Compose(bar, RECT{0, 0, fill, across}, p, 2, p.frame);
      return bar;
    }
    const TDataSkinObject& c = *data->progresschunk;
    const int frames = std::max(c.frame, 1);
    for (const TRect& r :
         ProgressChunks(TRect{0, 0, length, across}, fill, c.Map.Width() / frames, 2, 2))
      Compose(bar, RECT{r.Left, r.Top, r.Right, r.Bottom}, c, 1, frames);
    return bar;
  }
  // Waits until the bar on the screen is `expected`.
  ::testing::AssertionResult Shows(forms::TProgressBar* bar, const PixelBuffer& expected) {
    int diff = -1;
    if (PumpUntil([&] {
          const PixelBuffer shot = forms::CaptureWindow(bar->Handle());
          diff = Differences(shot, RECT{0, 0, shot.Width(), shot.Height()}, expected);
          return diff == 0;
        }))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << diff << " pixels differ from the skin's bar";
  }

  static RECT ThumbRect(HWND bar) {
    RECT r{};
    SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // The frames of the thumb element whose every non-key pixel the bar shows at its thumb
  // (the horizontal thumb turned a quarter left on a vertical bar).
  std::vector<int> ThumbFrames(HWND bar, bool turned) const {
    const TDataSkinObject& e = *data->Trackbottom;
    const RECT t = ThumbRect(bar);
    const int w = t.right - t.left, h = t.bottom - t.top;
    const PixelBuffer shot = forms::CaptureWindow(bar, false);
    std::vector<int> found;
    for (int f = 1; f <= 5; ++f) {
      PixelBuffer img = turned ? RenderSkinImage(TRect{0, 0, h, w}, e.Map, e.r, false, false, 5, f)
                               : RenderSkinImage(TRect{0, 0, w, h}, e.Map, e.r, false, false, 5, f);
      if (turned) RotateLeft(img);
      bool same = img.Width() == w && img.Height() == h;
      for (int y = 0; y < h && same; ++y)
        for (int x = 0; x < w && same; ++x) {
          const Pixel want = img.At(x, y) & 0xFFFFFF;
          if (want != kKey && (shot.Get(t.left + x, t.top + y) & 0xFFFFFF) != want) same = false;
        }
      if (same) found.push_back(f);
    }
    return found;
  }
  ::testing::AssertionResult ThumbShows(HWND bar, int frame, bool turned = false) const {
    std::vector<int> seen;
    if (PumpUntil([&] {
          seen = ThumbFrames(bar, turned);
          return std::find(seen.begin(), seen.end(), frame) != seen.end();
        }))
      return ::testing::AssertionSuccess();
    std::string list;
    for (int f : seen)
      list += " " + std::to_string(f);
    return ::testing::AssertionFailure() << "thumb frames shown:" << list << "; wanted " << frame;
  }
  static POINT ScreenMiddle(HWND bar, const RECT& r) {
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &p);
    return p;
  }
  // Drags the bar's thumb `dx` pixels to the right with the real mouse; the position it lands on.
  int64_t Drag(forms::TTrackBar* bar, int dx, bool watchFrames) {
    const HWND h = bar->Handle();
    const int64_t before = bar->Position();
    POINT p = ScreenMiddle(h, ThumbRect(h));
    EXPECT_TRUE(lbb::input::MoveMouse(p, forms::test::Waiting()).ok());
    if (watchFrames) {
      EXPECT_TRUE(ThumbShows(h, 4)) << "hot under the mouse";
    }
    EXPECT_TRUE(PressLeft());
    if (watchFrames) {
      EXPECT_TRUE(ThumbShows(h, 2)) << "pressed while held";
    }
    p.x += dx;
    EXPECT_TRUE(lbb::input::MoveMouse(p, forms::test::Waiting()).ok());
    EXPECT_TRUE(PumpUntil([&] { return bar->Position() != before; })) << "the drag moved nothing";
    EXPECT_TRUE(ReleaseLeft());
    Settle();
    return bar->Position();
  }
};

TEST_F(SkinRange, ProgressFillFollowsPositionAndRange) {
  ASSERT_TRUE(data->progress && data->progress->frame == 2);
  auto* bar = Add<forms::TProgressBar>(8, 8, 150, 16);
  bar->SetSmooth(true);
  ShowSkinned();
  ASSERT_NE(Attach(TSkinnerKind::Progress, bar), nullptr);
  struct Case {
    int64_t min, max, pos;
    int fill;  // 150 x (pos - min) / (max - min)
  };
  for (const Case& c : {Case{0, 100, 60, 90}, Case{20, 70, 30, 30}, Case{0, 100, 100, 150},
                        Case{0, 100, 0, 0}, Case{0, 3, 1, 50}, Case{10, 10, 10, 0}}) {
    bar->SetMax(std::max<int64_t>(c.max, bar->Min()));
    bar->SetMin(c.min);
    bar->SetMax(c.max);
    bar->SetPosition(c.pos);
    EXPECT_TRUE(Shows(bar, ExpectedBar(150, 16, c.fill, false)))
        << "range " << c.min << ".." << c.max << ", position " << c.pos;
  }
  bar->SetMax(100);
  bar->SetPosition(60);
  SaveShot(form->Handle(), "progress");
}

// The built-in skin's [Progress] has Style 0 and a two-frame image: every bar, plain or smooth,
// fills with frame 2, never with the chunk image the skin also carries.
TEST_F(SkinRange, UnderTheBuiltInSkinPlainAndSmoothBarsFillWithTheSecondFrame) {
  const TDataSkinBorder* p = data->progress.get();
  ASSERT_TRUE(p && p->style == 0 && p->frame == 2);
  ASSERT_TRUE(data->progresschunk && !data->progresschunk->Map.Empty());
  auto* plain = Add<forms::TProgressBar>(8, 8, 150, 16);
  plain->SetPosition(50);
  auto* smooth = Add<forms::TProgressBar>(8, 40, 150, 16);
  smooth->SetSmooth(true);
  smooth->SetPosition(50);
  ShowSkinned();
  // The colours of frame 2, the key left out.
  const int cell = p->Map.Width() / p->frame;
  std::set<Pixel> fillColours;
  for (int y = 0; y < p->Map.Height(); ++y)
    for (int x = cell; x < 2 * cell; ++x)
      if ((p->Map.At(x, y) & 0xFFFFFF) != kKey) fillColours.insert(p->Map.At(x, y) & 0xFFFFFF);
  // The middle of the fill (75 of 150 pixels), inside the element's margins: frame 2 only.
  const RECT middle{p->r.Left, p->r.Top, 75 - p->r.Right, 16 - p->r.Bottom};
  ASSERT_LT(middle.left, middle.right);
  ASSERT_LT(middle.top, middle.bottom);
  for (forms::TProgressBar* bar : {plain, smooth}) {
    ASSERT_NE(Attach(TSkinnerKind::Progress, bar), nullptr);
    int foreign = -1;
    EXPECT_TRUE(PumpUntil([&] {
      const PixelBuffer shot = forms::CaptureWindow(bar->Handle());
      foreign = 0;
      for (int y = middle.top; y < middle.bottom; ++y)
        for (int x = middle.left; x < middle.right; ++x)
          foreign += fillColours.count(shot.Get(x, y) & 0xFFFFFF) == 0;
      return foreign == 0;
    })) << (bar == plain ? "plain" : "smooth")
        << " bar: " << foreign << " pixels of the fill are not of frame 2 of the progress image";
  }
  SaveShot(form->Handle(), "progress-style0");
}

// A skin of Style 1 (its `progress` image one frame) fills with chunks, whatever the bar's own
// style; the built-in skin read that way.
TEST_F(SkinRange, AStyleOneSkinShowsChunksAndAVerticalBarFillsUpwards) {
  ASSERT_TRUE(data->progresschunk && !data->progresschunk->Map.Empty());
  auto* chunky = Add<forms::TProgressBar>(8, 8, 150, 16);
  chunky->SetSmooth(true);
  chunky->SetPosition(50);
  auto* upright = Add<forms::TProgressBar>(200, 8, 150, 16);
  upright->SetOrientation(forms::TProgressBarOrientation::pbVertical);
  upright->SetBounds(200, 8, 16, 150);
  upright->SetPosition(60);
  ShowSkinned();
  data->progress->style = 1;
  data->progress->frame = 1;
  ASSERT_NE(Attach(TSkinnerKind::Progress, chunky), nullptr);
  ASSERT_NE(Attach(TSkinnerKind::Progress, upright), nullptr);
  EXPECT_TRUE(Shows(chunky, ExpectedBar(150, 16, 75, true))) << "chunks along half the bar";
  PixelBuffer lying = ExpectedBar(150, 16, 90, true);
  RotateLeft(lying);
  EXPECT_TRUE(Shows(upright, lying)) << "the vertical bar, filled from the bottom";
  SaveShot(form->Handle(), "progress-chunks-vertical");
}

TEST_F(SkinRange, TrackBarThumbFollowsTheRealMouseAndTheKeys) {
  ASSERT_TRUE(data->Trackbottom && !data->Trackbottom->Map.Empty());
  auto make = [&](int top) {
    auto* b = Add<forms::TTrackBar>(8, top, 210, 45);
    b->SetMax(10);
    b->SetPosition(2);
    return b;
  };
  auto* skinned = make(8);
  auto* native = make(120);
  auto* upright = Add<forms::TTrackBar>(260, 8, 160, 45);
  upright->SetOrientation(forms::TTrackBarOrientation::trVertical);
  upright->SetMax(10);
  upright->SetPosition(3);
  ShowSkinned();
  ASSERT_NE(Attach(TSkinnerKind::TrackBar, skinned), nullptr);
  ASSERT_NE(Attach(TSkinnerKind::TrackBar, upright), nullptr);
  EXPECT_TRUE(ThumbShows(skinned->Handle(), 1)) << "at rest";
  EXPECT_TRUE(PumpUntil([&] {
    return (forms::CaptureWindow(skinned->Handle(), false).At(2, 2) & 0xFFFFFF) ==
           Scheme(kShemeButtonFace);
  })) << "the bar's background is not ButtonFace";
  EXPECT_TRUE(ThumbShows(upright->Handle(), 1, true)) << "the vertical bar's thumb, turned";
  const int64_t landed = Drag(skinned, 60, true);
  EXPECT_NE(landed, 2);
  EXPECT_EQ(Drag(native, 60, false), landed) << "the skinned bar lands where the native one does";
  // The thumb is drawn where the bar has it now; away from the mouse it is at rest again.
  POINT away = Away();
  ClientToScreen(form->Handle(), &away);
  ASSERT_TRUE(lbb::input::MoveMouse(away, forms::test::Waiting()).ok());
  skinned->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == skinned->Handle(); }));
  EXPECT_TRUE(ThumbShows(skinned->Handle(), 5)) << "focused";
  const RECT before = ThumbRect(skinned->Handle());
  ASSERT_TRUE(forms::test::PressKey(VK_RIGHT));
  EXPECT_TRUE(PumpUntil([&] { return skinned->Position() == landed + 1; }));
  EXPECT_GT(ThumbRect(skinned->Handle()).left, before.left);
  EXPECT_TRUE(ThumbShows(skinned->Handle(), 5)) << "drawn at its new place";
  SaveShot(form->Handle(), "trackbar");
}

TEST_F(SkinRange, StatusBarShowsTheSkinsBarPanelsAndGripWithItsTexts) {
  const TDataSkinObject* e = data->StatusBar.get();
  ASSERT_TRUE(e && !e->Map.Empty());
  auto* bar = Add<forms::TStatusBar>(0, 0, 600, 22);
  bar->AddPanel()->SetWidth(200);
  bar->Panels(0)->SetText(u"Saved 12 articles");
  bar->AddPanel()->SetText(u"Ready");
  ShowSkinned();
  ASSERT_NE(Attach(TSkinnerKind::StatusBar, bar), nullptr);
  InvalidateRect(bar->Handle(), nullptr, TRUE);
  const int w = int(bar->Width()), h = int(bar->Height());
  const TSize cell{e->Map.Width() / 3, e->Map.Height()};
  PixelBuffer expected(w, h);
  expected.Fill(Scheme(kShemeButtonFace));
  Compose(expected, RECT{0, 0, w, h}, *e, 1, 3);
  const std::vector<TRect> panels = StatusPanelRects(TRect{0, 0, w, h}, {200, -1}, cell.cx);
  std::vector<RECT> texts;
  for (const TRect& p : panels) {
    Compose(expected, RECT{p.Left, p.Top, p.Right, p.Bottom}, *e, 2, 3);
    const TRect t = StatusTextRect(p);
    texts.push_back(RECT{t.Left, t.Top, t.Right, t.Bottom});
  }
  const TRect g = StatusGripRect(TRect{0, 0, w, h}, cell);
  Compose(expected, RECT{g.Left, g.Top, g.Right, g.Bottom}, *e, 3, 3);
  int outside = -1;
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer shot = forms::CaptureWindow(bar->Handle());
    outside = Differences(shot, RECT{0, 0, w, h}, expected, texts);
    return outside == 0;
  })) << outside
      << " pixels outside the texts differ from the skin's bar";
  const PixelBuffer shot = forms::CaptureWindow(bar->Handle());
  const Pixel ink = Scheme(kShemeButtonText);
  EXPECT_GT(CountOf(shot, texts[0], ink), 10) << "the first panel's text";
  EXPECT_GT(CountOf(shot, texts[1], ink), 5) << "the second panel's text";
  SaveShot(form->Handle(), "statusbar");
}

TEST_F(SkinRange, SkinWithoutTheElementsLeavesTheBarsToThemselvesButSkinned) {
  auto* bar = Add<forms::TProgressBar>(8, 8, 150, 16);
  bar->SetPosition(60);
  auto* status = Add<forms::TStatusBar>(0, 0, 600, 22);
  status->AddPanel()->SetText(u"Ready");
  ShowSkinned();
  const PixelBuffer skinLook = ExpectedBar(150, 16, 90, false);
  data->progress.reset();
  data->StatusBar.reset();
  ASSERT_NE(Attach(TSkinnerKind::Progress, bar), nullptr);
  ASSERT_NE(Attach(TSkinnerKind::StatusBar, status), nullptr);
  EXPECT_EQ(SendMessageW(bar->Handle(), SKM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(SendMessageW(status->Handle(), SKM_ISSKINNED, 0, 0), 1);
  // The bar paints its own fill: far from the skin's picture, and not blank.
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer shot = forms::CaptureWindow(bar->Handle());
    const RECT whole{0, 0, shot.Width(), shot.Height()};
    return Differences(shot, whole, skinLook) > 150 * 16 / 4 &&
           CountOf(shot, whole, Scheme(kShemeButtonFace)) < 150 * 16;
  })) << "the progress bar did not paint itself";
}

}  // namespace
}  // namespace lbb::skin::test
