// The program's main window with the skin manager running, as the program starts it: the
// window carries the built-in skin's frame, its client area keeps the size the window sets,
// the caption bar is the skin's Top piece, and the window is cut to the skin's keyed corners.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Unit1.h"
#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "skin/data/imgutil.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "tests/win/forms/FormsSupport.h"
#include "tools/input/Input.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

class MainWindowFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::test::EnsureApplication();
    UseSkinManager();
    form = new app::TForm1(forms::Application);
    form->DoCreate();
    form->ShowForm();
    ASSERT_TRUE(forms::test::PumpUntil([&] {
      TWinSkinForm* sf = Skinner();
      return sf && sf->Skinstate == kSkinIdle && sf->Subclassed();
    })) << "the main window was not skinned";
    forms::test::Settle();
  }
  void TearDown() override {
    delete form;
    forms::test::Settle();
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
    forms::test::Settle();
  }
  TWinSkinForm* Skinner() const {
    TSkinManage* m = SkinManagerInstance();
    return m && form->HandleAllocated() ? m->FindForm(form->Handle()) : nullptr;
  }
  HWND Hwnd() const { return form->Handle(); }

  app::TForm1* form = nullptr;
};

// The frame as painted into a memory surface of the window's size.
PixelBuffer PaintedFrame(HWND hwnd) {
  RECT w{};
  GetWindowRect(hwnd, &w);
  TDibSurface surface(w.right - w.left, w.bottom - w.top);
  EXPECT_EQ(SendMessageW(hwnd, SKM_PAINTFRAMETO, reinterpret_cast<WPARAM>(surface.Dc()), SkinMagic),
            SkinMagic);
  return surface.Pixels();
}

bool Inside(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

TEST_F(MainWindowFrame, ClientAreaKeepsItsSizeUnderTheSkinBorders) {
  TWinSkinForm* sf = Skinner();
  ASSERT_NE(sf, nullptr);
  // The built-in skin: Left and Right pieces 8 wide with 2 frames, Top 60 high with 2, Bottom
  // 8 high with 2.
  EXPECT_EQ(sf->bw.left, 4);
  EXPECT_EQ(sf->bw.top, 30);
  EXPECT_EQ(sf->bw.right, 4);
  EXPECT_EQ(sf->bw.bottom, 4);
  RECT c{}, w{};
  GetClientRect(Hwnd(), &c);
  GetWindowRect(Hwnd(), &w);
  EXPECT_EQ(c.right, 455);
  EXPECT_EQ(c.bottom, 267);
  EXPECT_EQ(w.right - w.left, 455 + 4 + 4);
  EXPECT_EQ(w.bottom - w.top, 267 + 30 + 4);
  // The client area starts under the left border and the caption.
  POINT origin{0, 0};
  ClientToScreen(Hwnd(), &origin);
  EXPECT_EQ(origin.x - w.left, 4);
  EXPECT_EQ(origin.y - w.top, 30);
}

TEST_F(MainWindowFrame, CaptionBarIsTheSkinsTopPieceOutsideTitleAndButtons) {
  TWinSkinForm* sf = Skinner();
  ASSERT_NE(sf, nullptr);
  TSkinData* data = sf->fsd;
  ASSERT_NE(data, nullptr);
  // What is on the screen, and what the frame paints into a memory surface.
  ASSERT_TRUE(forms::test::Check(input::BringToFront(Hwnd(), forms::test::Waiting())));
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  forms::test::Settle();
  const PixelBuffer screen = forms::CaptureWindow(Hwnd());
  const PixelBuffer frame = PaintedFrame(Hwnd());
  const int W = frame.Width();
  ASSERT_EQ(screen.Width(), W);
  const auto& top = data->border[kBorderTop];
  ASSERT_TRUE(top);
  // The Top piece rendered by the drawing primitives at the caption's size, active look.
  const int inner = W - sf->bw.left - sf->bw.right;
  const PixelBuffer expected = RenderSkinImage(TRect{0, 0, inner, sf->bw.top}, top->Map, top->r,
                                               true, top->Tile != 1, top->frame, 1);
  int compared = 0, differing = 0, onScreen = 0;
  for (int y = 0; y < sf->bw.top; ++y)
    for (int x = sf->bw.left; x < W - sf->bw.right; ++x) {
      if (Inside(sf->CaptionRect(), x, y)) continue;  // the title and its background
      bool onButton = false;
      for (const auto& b : sf->SysBtn)
        if (b->visible && Inside(b->bounds, x, y)) onButton = true;
      if (onButton) continue;
      ++compared;
      if (frame.At(x, y) != expected.At(x - sf->bw.left, y)) ++differing;
      if ((screen.At(x, y) & 0xFFFFFF) != expected.At(x - sf->bw.left, y)) ++onScreen;
    }
  EXPECT_GT(compared, inner * sf->bw.top / 2);
  EXPECT_EQ(differing, 0) << "of " << compared << " caption pixels painted";
  EXPECT_EQ(onScreen, 0) << "of " << compared << " caption pixels on the screen";
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  EXPECT_TRUE(forms::SaveWindowPng(Hwnd(), LBB_SCREENSHOT_DIR "/skinned-main-window.png"));
}

TEST_F(MainWindowFrame, RegionCutsExactlyTheKeyedPixelsOfTheCorners) {
  TWinSkinForm* sf = Skinner();
  ASSERT_NE(sf, nullptr);
  ASSERT_TRUE(sf->Cropped());
  RegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(Hwnd(), rgn.get()), ERROR);
  RECT w{};
  GetWindowRect(Hwnd(), &w);
  const int W = w.right - w.left, H = w.bottom - w.top;
  // The pieces as the frame draws them: Left at bw.left x H, Top across the caption.
  PixelBuffer left(sf->bw.left, H), top(W - sf->bw.left - sf->bw.right, sf->bw.top);
  sf->DrawBorderPixels(kBorderLeft, TRect{0, 0, left.Width(), H}, left);
  sf->DrawBorderPixels(kBorderTop, TRect{0, 0, top.Width(), top.Height()}, top);
  const Pixel key = PixelOf(kSkinKeyColour);
  int keyed = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < sf->bw.left; ++x) {
      keyed += left.At(x, y) == key;
      EXPECT_EQ(PtInRegion(rgn.get(), x, y) != FALSE, left.At(x, y) != key) << x << "," << y;
    }
  for (int y = 0; y < top.Height(); ++y)
    for (int x = 0; x < top.Width(); ++x) {
      keyed += top.At(x, y) == key;
      EXPECT_EQ(PtInRegion(rgn.get(), x + sf->bw.left, y) != FALSE, top.At(x, y) != key)
          << x + sf->bw.left << "," << y;
    }
  EXPECT_GT(keyed, 0) << "the built-in skin's corners are keyed";
  // The client area is whole.
  EXPECT_TRUE(PtInRegion(rgn.get(), sf->bw.left, sf->bw.top));
  EXPECT_TRUE(PtInRegion(rgn.get(), W - sf->bw.right - 1, H - sf->bw.bottom - 1));
}

// The caption button with `action`, laid out by the last paint.
TWinSysButton* ButtonOf(TWinSkinForm& sf, int action) {
  for (const auto& b : sf.SysBtn)
    if (b->data->Action == action && b->visible) return b.get();
  return nullptr;
}

// The middle of a caption button in the window's client coordinates (the caption lies above
// the client area, so y is negative).
POINT ClientPointOf(const TWinSkinForm& sf, const TWinSysButton& b) {
  return POINT{(b.bounds.left + b.bounds.right) / 2 - sf.bw.left,
               (b.bounds.top + b.bounds.bottom) / 2 - sf.bw.top - sf.MenuHeight};
}

TEST_F(MainWindowFrame, CaptionButtonsMinimiseRestoreAndCloseWithTheMouse) {
  TWinSkinForm* sf = Skinner();
  ASSERT_NE(sf, nullptr);
  ASSERT_TRUE(forms::test::Check(input::BringToFront(Hwnd(), forms::test::Waiting())));
  TWinSysButton* minimise = ButtonOf(*sf, 2);
  ASSERT_NE(minimise, nullptr);
  ASSERT_TRUE(minimise->enabled) << "the window has a minimise box";
  ASSERT_TRUE(forms::test::ClickAt(Hwnd(), ClientPointOf(*sf, *minimise)));
  ASSERT_TRUE(forms::test::PumpUntil([&] { return IsIconic(Hwnd()) != FALSE; }))
      << "the minimise button did not minimise the window";
  // Minimised, the same button restores (its frame is laid out across the small caption).
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  forms::test::Settle();
  minimise = ButtonOf(*sf, 2);
  ASSERT_NE(minimise, nullptr);
  ASSERT_TRUE(forms::test::ClickAt(Hwnd(), ClientPointOf(*sf, *minimise)));
  ASSERT_TRUE(forms::test::PumpUntil([&] { return !IsIconic(Hwnd()); }))
      << "the button did not restore the minimised window";
  forms::test::Settle();
  TWinSysButton* close = ButtonOf(*sf, 0);
  ASSERT_NE(close, nullptr);
  ASSERT_TRUE(forms::test::ClickAt(Hwnd(), ClientPointOf(*sf, *close)));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return !IsWindowVisible(Hwnd()); }))
      << "the close button did not close the window";
}

TEST_F(MainWindowFrame, PressOnAButtonAndReleaseElsewhereDoesNotClick) {
  TWinSkinForm* sf = Skinner();
  ASSERT_NE(sf, nullptr);
  TWinSysButton* minimise = ButtonOf(*sf, 2);
  ASSERT_NE(minimise, nullptr);
  // The press lands on the button (pressed look, ActiveBtn); the release comes over the client
  // area.
  POINT at = ClientPointOf(*sf, *minimise);
  ClientToScreen(Hwnd(), &at);
  SetCursorPos(at.x, at.y);
  SendMessageW(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
  EXPECT_EQ(sf->ActiveBtn, minimise);
  EXPECT_EQ(minimise->state, kNCPressed);
  POINT away{40, 40};
  ClientToScreen(Hwnd(), &away);
  SendMessageW(Hwnd(), WM_NCLBUTTONUP, HTCLIENT, MAKELPARAM(away.x, away.y));
  forms::test::Settle();
  EXPECT_FALSE(IsIconic(Hwnd()));
  // Pressed and released over it: it clicks.
  SendMessageW(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
  SendMessageW(Hwnd(), WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(at.x, at.y));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return IsIconic(Hwnd()) != FALSE; }));
  ShowWindow(Hwnd(), SW_RESTORE);
}

TEST_F(MainWindowFrame, HitTestsGiveCaptionAboveTheClientArea) {
  TWinSkinForm* sf = Skinner();
  ASSERT_NE(sf, nullptr);
  RECT w{};
  GetWindowRect(Hwnd(), &w);
  // Below the top 3 pixels of the caption, off the buttons: the caption (the window moves).
  EXPECT_EQ(SendMessageW(Hwnd(), WM_NCHITTEST, 0, MAKELPARAM(w.left + 60, w.top + 12)), HTCAPTION);
  EXPECT_EQ(SendMessageW(Hwnd(), WM_NCHITTEST, 0, MAKELPARAM(w.left + 60, w.top + sf->bw.top + 5)),
            HTCLIENT);
  // The caption buttons are the skin's: the platform's own button codes never come back.
  for (const auto& b : sf->SysBtn) {
    if (!b->visible) continue;
    const LRESULT code = SendMessageW(Hwnd(), WM_NCHITTEST, 0,
                                      MAKELPARAM(w.left + (b->bounds.left + b->bounds.right) / 2,
                                                 w.top + (b->bounds.top + b->bounds.bottom) / 2));
    EXPECT_EQ(code, HTCAPTION) << "button with action " << b->data->Action;
  }
}

}  // namespace

namespace {

// The program's two buttons are skinned, and a real click on each runs its handler once.
TEST_F(MainWindowFrame, SkinnedButtonsClickOnceWithTheRealMouse) {
  int clicks1 = 0, clicks2 = 0;
  form->Button1->OnClick = [&](forms::TObject*) { ++clicks1; };
  form->Button2->OnClick = [&](forms::TObject*) { ++clicks2; };
  EXPECT_EQ(SendMessageW(form->Button1->Handle(), SKM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(SendMessageW(form->Button2->Handle(), SKM_ISSKINNED, 0, 0), 1);
  const RECT b1 = form->Button1->BoundsRect(), b2 = form->Button2->BoundsRect();
  // As a person does: the user name typed first, then the button pressed.
  const RECT e = form->Edit1->BoundsRect();
  ASSERT_TRUE(forms::test::ClickAt(Hwnd(), POINT{(e.left + e.right) / 2, (e.top + e.bottom) / 2}));
  ASSERT_TRUE(forms::test::TypeText(L"orlend"));
  ASSERT_TRUE(
      forms::test::ClickAt(Hwnd(), POINT{(b1.left + b1.right) / 2, (b1.top + b1.bottom) / 2}));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks1 == 1; })) << "备份 was not clicked";
  ASSERT_TRUE(
      forms::test::ClickAt(Hwnd(), POINT{(b2.left + b2.right) / 2, (b2.top + b2.bottom) / 2}));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks2 == 1; })) << "相册 was not clicked";
  forms::test::Settle();
  EXPECT_EQ(clicks1, 1);
  EXPECT_EQ(clicks2, 1);
  // A press held a while (as a person holds it) still clicks on the release.
  const POINT at = form->Button1->ClientToScreen(POINT{(b1.right - b1.left) / 2, 8});
  ASSERT_TRUE(forms::test::MoveMouseTo(nullptr, at));
  INPUT down{}, up{};
  down.type = up.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  const HWND b = form->Button1->Handle();
  auto pushed = [&] { return (SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; };
  ASSERT_EQ(SendInput(1, &down, sizeof down), 1u);
  // The native button never sees the press; it reports the press the skin shows.
  EXPECT_TRUE(forms::test::PumpUntil(pushed)) << "the held button does not report itself pushed";
  const ULONGLONG held = GetTickCount64() + 400;
  forms::test::PumpUntil([&] { return GetTickCount64() > held; });
  ASSERT_EQ(SendInput(1, &up, sizeof up), 1u);
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks1 == 2; })) << "a held press did not click";
  EXPECT_FALSE(pushed());
}

}  // namespace
