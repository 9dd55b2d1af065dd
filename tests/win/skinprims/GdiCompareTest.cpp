// Pixels of the portable primitives against GDI: the same cells stretched with StretchBlt in
// COLORONCOLOR mode, keyed copies with TransparentBlt, tiles with BitBlt.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/data/imgutil.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

// A memory DC with a top-down 32-bpp DIB section selected; `px` views its bits.
class Dib {
 public:
  Dib(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
    px = PixelBuffer::Wrap(static_cast<Pixel*>(bits), w, h);
  }
  ~Dib() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  HDC dc() const { return dc_; }
  PixelBuffer px;

 private:
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

// Distinct pixels, with some magenta ones for the keyed copies.
void Pattern(PixelBuffer& img, int seed) {
  uint32_t v = 2166136261u ^ static_cast<uint32_t>(seed);
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x) {
      v = v * 16777619u + static_cast<uint32_t>(x * 31 + y);
      img.At(x, y) = (v % 7 == 0) ? 0xFF00FF : (v >> 8) & 0xFFFFFF;
    }
}

void Stretch(HDC dst, const TRect& to, HDC src, const TRect& from) {
  if (to.Width() <= 0 || to.Height() <= 0 || from.Width() <= 0 || from.Height() <= 0) return;
  StretchBlt(dst, to.Left, to.Top, to.Width(), to.Height(), src, from.Left, from.Top, from.Width(),
             from.Height(), SRCCOPY);
}

// The nine-part draw made of StretchBlt calls, margins dropped as RenderSkinImage drops them.
void NinePartGdi(HDC dst, int W, int H, HDC src, const TRect& cell, TRect m) {
  if (W < m.Left + m.Right) m.Left = m.Right = 0;
  if (H < m.Top + m.Bottom) m.Top = m.Bottom = 0;
  const int xs[4] = {cell.Left, cell.Left + m.Left, cell.Right - m.Right, cell.Right};
  const int ys[4] = {cell.Top, cell.Top + m.Top, cell.Bottom - m.Bottom, cell.Bottom};
  const int xd[4] = {0, m.Left, W - m.Right, W};
  const int yd[4] = {0, m.Top, H - m.Bottom, H};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i)
      Stretch(dst, {xd[i], yd[j], xd[i + 1], yd[j + 1]}, src, {xs[i], ys[j], xs[i + 1], ys[j + 1]});
}

::testing::AssertionResult SamePixels(const PixelBuffer& a, const PixelBuffer& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if ((a.At(x, y) & 0xFFFFFF) != (b.At(x, y) & 0xFFFFFF))
        return ::testing::AssertionFailure() << "differs at " << x << "," << y << ": " << std::hex
                                             << a.At(x, y) << " vs " << b.At(x, y);
  return ::testing::AssertionSuccess();
}

TEST(GdiCompare, StretchCopyMatchesStretchBltColorOnColor) {
  Dib src(64, 48);
  Pattern(src.px, 1);
  for (int sw : {1, 2, 3, 5, 8, 13, 31, 64})
    for (int sh : {1, 2, 4, 7, 16, 48})
      for (int dw : {1, 2, 3, 6, 9, 17, 40, 100})
        for (int dh : {1, 3, 5, 12, 33}) {
          Dib gdi(dw, dh), mine(dw, dh);
          SetStretchBltMode(gdi.dc(), COLORONCOLOR);
          Stretch(gdi.dc(), {0, 0, dw, dh}, src.dc(), {0, 0, sw, sh});
          GdiFlush();
          StretchCopy(mine.px, {0, 0, dw, dh}, src.px, {0, 0, sw, sh});
          ASSERT_TRUE(SamePixels(mine.px, gdi.px)) << sw << "x" << sh << " -> " << dw << "x" << dh;
        }
}

TEST(GdiCompare, RenderSkinImageMatchesNineStretchBlts) {
  Dib img(5 * 24, 20);
  Pattern(img.px, 2);
  const TRect margins[] = {{0, 0, 0, 0}, {3, 4, 5, 2}, {8, 8, 8, 8}, {1, 0, 11, 0}};
  for (const TRect& m : margins)
    for (int k = 1; k <= 5; ++k)
      for (int w : {1, 4, 15, 16, 24, 37, 200})
        for (int h : {1, 9, 16, 20, 57}) {
          Dib gdi(w, h);
          SetStretchBltMode(gdi.dc(), COLORONCOLOR);
          NinePartGdi(gdi.dc(), w, h, img.dc(), SkinFrameRect(img.px, false, 5, k), m);
          GdiFlush();
          const PixelBuffer mine = RenderSkinImage({0, 0, w, h}, img.px, m, false, false, 5, k);
          ASSERT_TRUE(SamePixels(mine, gdi.px)) << "cell " << k << " " << w << "x" << h;
        }
}

TEST(GdiCompare, DrawSkinFrameMatchesStretchBltThenTransparentBlt) {
  Dib img(3 * 21, 17);
  Pattern(img.px, 3);
  for (int w : {1, 7, 21, 30, 90})
    for (int h : {2, 17, 40}) {
      Dib gdi(w + 4, h + 4), tmp(w, h), mine(w + 4, h + 4);
      gdi.px.Fill(0x336699);
      mine.px.Fill(0x336699);
      SetStretchBltMode(tmp.dc(), COLORONCOLOR);
      Stretch(tmp.dc(), {0, 0, w, h}, img.dc(), SkinFrameRect(img.px, false, 3, 2));
      GdiFlush();
      TransparentBlt(gdi.dc(), 2, 2, w, h, tmp.dc(), 0, 0, w, h, 0xFF00FF);
      GdiFlush();
      DrawSkinFrame(mine.px, {2, 2, 2 + w, 2 + h}, img.px, true, 3, 2);
      ASSERT_TRUE(SamePixels(mine.px, gdi.px)) << w << "x" << h;
    }
}

TEST(GdiCompare, TransparentBlitMatchesTransparentBlt) {
  Dib img(30, 20), gdi(40, 30), mine(40, 30);
  Pattern(img.px, 4);
  gdi.px.Fill(0x102030);
  mine.px.Fill(0x102030);
  TransparentBlt(gdi.dc(), 5, 6, 30, 20, img.dc(), 0, 0, 30, 20, 0xFF00FF);
  GdiFlush();
  TransparentBlit(mine.px, {5, 6, 35, 26}, img.px);
  EXPECT_TRUE(SamePixels(mine.px, gdi.px));
}

TEST(GdiCompare, TileBitmapMatchesBitBltTiles) {
  Dib img(20, 20), gdi(50, 40), mine(50, 40);
  Pattern(img.px, 5);
  const TRect source{3, 2, 10, 7};
  for (int x = 4; x < 44; x += 7)
    for (int y = 1; y < 35; y += 5)
      BitBlt(gdi.dc(), x, y, 7, 5, img.dc(), 3, 2, SRCCOPY);
  GdiFlush();
  TileBitmap(mine.px, {4, 1, 44, 35}, img.px, source);
  EXPECT_TRUE(SamePixels(mine.px, gdi.px));
}

TEST(GdiCompare, GradientEndsAreTheGivenColours) {
  Dib mine(64, 30);
  GradientFill(mine.px, {0, 0, 64, 30}, RGB(250, 10, 0), true, RGB(5, 200, 255));
  EXPECT_EQ(ColourOf(mine.px.At(10, 0)), static_cast<uint32_t>(RGB(250, 10, 0)));
  EXPECT_EQ(ColourOf(mine.px.At(10, 29)), static_cast<uint32_t>(RGB(5, 200, 255)));
  // A rectangle outside the DC's clipping region leaves it alone.
  Dib other(8, 8);
  other.px.Fill(0x010101);
  GradientFill(other.px, {8, 0, 20, 8}, 0, false, 0xFFFFFF);
  EXPECT_EQ(other.px.At(7, 7), 0x010101u);
}

}  // namespace
