// The painters' surface under Wine: what GDI draws the pixel code sees and the other way round,
// and one transfer puts the chosen part of the picture where it was asked, on a memory bitmap
// and on a real window.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/win/Handles.h"
#include "skin/win/DibSurface.h"

namespace {

using namespace lbb;
using lbb::skin::TDibSurface;

TEST(DibSurface, SizesAndReuse) {
  TDibSurface none(0, 5);
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(none.Dc(), nullptr);
  EXPECT_FALSE(none.Present(nullptr, 0, 0));

  TDibSurface s(40, 20);
  ASSERT_FALSE(s.Empty());
  EXPECT_EQ(s.Width(), 40);
  EXPECT_EQ(s.Height(), 20);
  s.Pixels().At(39, 19) = 0x123456;
  EXPECT_TRUE(s.Reserve(30, 10));  // smaller: the same bitmap is kept
  EXPECT_EQ(s.Width(), 40);
  EXPECT_EQ(s.Pixels().At(39, 19), 0x123456u);
  EXPECT_TRUE(s.Reserve(50, 10));  // wider: a new one with room to grow, as tall as the old one
  EXPECT_EQ(s.Width(), 64);
  EXPECT_EQ(s.Height(), 20);
  s.Pixels().At(63, 19) = 0x654321;
  EXPECT_TRUE(s.Reserve(51, 20));  // a pixel wider again: the same bitmap
  EXPECT_EQ(s.Pixels().At(63, 19), 0x654321u);
  EXPECT_TRUE(s.Reserve(10, 60));  // then taller: as wide as the last one
  EXPECT_EQ(s.Width(), 64);
  EXPECT_EQ(s.Height(), 64);
  EXPECT_FALSE(s.Reserve(-1, 10));
}

TEST(DibSurface, GdiAndPixelCodeShareTheBitmap) {
  TDibSurface s(16, 8);
  ASSERT_FALSE(s.Empty());
  const BrushHandle brush(CreateSolidBrush(RGB(0x10, 0x20, 0x30)));
  const RECT left{0, 0, 8, 8};
  FillRect(s.Dc(), &left, brush.get());
  // GDI's 0x00BBGGRR colour is the pixel 0x00RRGGBB.
  EXPECT_EQ(s.Pixels().At(3, 3) & 0xFFFFFF, 0x102030u);
  EXPECT_EQ(s.Pixels().At(12, 3), 0u);
  s.Pixels().At(12, 3) = 0x405060;
  EXPECT_EQ(GetPixel(s.Dc(), 12, 3), RGB(0x40, 0x50, 0x60));
}

TEST(DibSurface, PresentCopiesThePartAskedFor) {
  TDibSurface s(10, 10);
  ASSERT_FALSE(s.Empty());
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      s.Pixels().At(x, y) = static_cast<Pixel>((x << 16) | (y << 8) | 0x80);

  TDibSurface target(20, 20);
  ASSERT_FALSE(target.Empty());
  ASSERT_TRUE(s.Present(target.Dc(), 5, 7, RECT{2, 3, 6, 5}));  // 4 x 2 from (2, 3)
  const PixelBuffer& out = target.Pixels();
  EXPECT_EQ(out.At(5, 7) & 0xFFFFFF, 0x020380u);
  EXPECT_EQ(out.At(8, 8) & 0xFFFFFF, 0x050480u);
  EXPECT_EQ(out.At(9, 7), 0u);  // right of the part
  EXPECT_EQ(out.At(5, 9), 0u);  // below it
  EXPECT_EQ(out.At(4, 7), 0u);  // left of the destination
}

TEST(DibSurface, PresentToARealWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LbbDibSurfaceTest";
  RegisterClassW(&wc);
  const WindowHandle window(CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"surface",
                                            WS_POPUP | WS_VISIBLE, 40, 40, 64, 48, nullptr, nullptr,
                                            wc.hInstance, nullptr));
  ASSERT_TRUE(window);
  UpdateWindow(window.get());
  TDibSurface s(64, 48);
  ASSERT_FALSE(s.Empty());
  s.Pixels().Fill(0x00C08040);
  const WindowDc dc(window.get());
  ASSERT_TRUE(s.Present(dc.get(), 0, 0));
  GdiFlush();
  EXPECT_EQ(GetPixel(dc.get(), 10, 10), RGB(0xC0, 0x80, 0x40));
  EXPECT_EQ(GetPixel(dc.get(), 63, 47), RGB(0xC0, 0x80, 0x40));
}

}  // namespace
