// DrawTextCompat and its conversions under Wine, against the system's own text calls.
#include <gtest/gtest.h>

#include "forms/Bitmap.h"
#include "skin/win/WinSkinText.h"

namespace {

using namespace lbb;
using namespace lbb::skin;
using lbb::forms::TBitmap;

// A white 120 x 40 bitmap.
struct Sheet {
  Sheet() : bmp(120, 40) { bmp.Pixels().Fill(0xFFFFFF); }
  HDC dc() { return bmp.Canvas()->Handle(); }
  int Inked() const {
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x)
        n += bmp.Pixels().At(x, y) != 0xFFFFFF;
    return n;
  }
  TBitmap bmp;
};

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixels().At(x, y) != b.Pixels().At(x, y)) return false;
  return true;
}

TEST(SkinText, DrawsWhatTheWideCallDraws) {
  EXPECT_TRUE(HasWideTextOutput());
  const std::u16string text = u"Skin \u00e9t\u00e9 42";
  Sheet ours, theirs;
  RECT r1{4, 4, 116, 36}, r2 = r1;
  const int h = DrawTextCompat(ours.dc(), text, r1, DT_LEFT | DT_SINGLELINE);
  GdiFlush();
  const int expected =
      DrawTextW(theirs.dc(), L"Skin \u00e9t\u00e9 42", -1, &r2, DT_LEFT | DT_SINGLELINE);
  GdiFlush();
  EXPECT_EQ(h, expected);
  EXPECT_GT(h, 0);
  EXPECT_GT(ours.Inked(), 20);
  EXPECT_TRUE(SamePixels(ours.bmp, theirs.bmp));
}

TEST(SkinText, EightBitPathDrawsTheSameTextAndMeasures) {
  Sheet wide, narrow;
  RECT r1{0, 0, 120, 40}, r2 = r1;
  DrawTextCompat(wide.dc(), u"Caption", r1, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  DrawTextAnsi(narrow.dc(), u"Caption", r2, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  GdiFlush();
  EXPECT_GT(wide.Inked(), 20);
  EXPECT_TRUE(SamePixels(wide.bmp, narrow.bmp));
  RECT m{0, 0, 0, 0};
  const int h = DrawTextCompat(wide.dc(), u"Caption", m, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(m.bottom - m.top, h);
  EXPECT_GT(m.right, 20);
  RECT longer{0, 0, 0, 0};
  DrawTextCompat(wide.dc(), u"Caption Caption", longer, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(longer.right, m.right);
}

TEST(SkinText, Conversions) {
  EXPECT_EQ(AnsiToWide("Orlend 7"), u"Orlend 7");
  EXPECT_EQ(AnsiToWide(""), u"");
  if (GetACP() == 1252) {
    EXPECT_EQ(AnsiToWide("caf\xe9"), u"caf\u00e9");
  }
  EXPECT_EQ(WideCopy(u"abcdef", 3), u"abc");
  EXPECT_EQ(WideCopy(u"abcdef", 0), u"");
  EXPECT_EQ(WideCopy(u"abcdef", -1), u"abcdef");
  EXPECT_EQ(WideCopy(u"abc", 10), u"abc");
}

}  // namespace
