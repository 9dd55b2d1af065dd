// Speed buttons and bitmap buttons: placement of glyph and caption, a group in which one
// button stays down, and glyphs drawn where the layout puts them.
#include <gtest/gtest.h>

#include <memory>

#include "forms/Buttons.h"
#include "forms/Forms.h"
#include "forms/Screenshot.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

TEST(ButtonPlacementTest, MarginAndSpacingAlongTheLayoutAxis) {
  RECT client{0, 0, 100, 30};
  SIZE glyph{16, 16}, text{40, 13};
  // Both -1: equal thirds of the free room (100 - 56 = 44 -> 14).
  TButtonPlacement p = PlaceButtonContent(client, glyph, text, TButtonLayout::blGlyphLeft, -1, -1);
  EXPECT_EQ(p.glyph.x, 14);
  EXPECT_EQ(p.text.left, 14 + 16 + 14);
  EXPECT_EQ(p.glyph.y, (30 - 16 + 1) / 2);
  EXPECT_EQ(p.text.top, (30 - 13 + 1) / 2);
  // Centred with a fixed gap.
  p = PlaceButtonContent(client, glyph, text, TButtonLayout::blGlyphLeft, -1, 4);
  EXPECT_EQ(p.glyph.x, (100 - 16 - 4 - 40) / 2);
  EXPECT_EQ(p.text.left, p.glyph.x + 20);
  // A fixed margin from the right edge, the rest split for the gap.
  p = PlaceButtonContent(client, glyph, text, TButtonLayout::blGlyphRight, 5, -1);
  EXPECT_EQ(p.glyph.x, 100 - 5 - 16);
  EXPECT_EQ(p.text.left, p.glyph.x - (100 - 5 - 16 - 40) / 2 - 40);
  // Top and bottom layouts work on the height.
  RECT tall{0, 0, 60, 80};
  p = PlaceButtonContent(tall, glyph, text, TButtonLayout::blGlyphTop, 3, 2);
  EXPECT_EQ(p.glyph.y, 3);
  EXPECT_EQ(p.text.top, 3 + 16 + 2);
  EXPECT_EQ(p.glyph.x, (60 - 16 + 1) / 2);
  p = PlaceButtonContent(tall, glyph, text, TButtonLayout::blGlyphBottom, 3, 2);
  EXPECT_EQ(p.glyph.y, 80 - 3 - 16);
  EXPECT_EQ(p.text.top, 80 - 3 - 16 - 2 - 13);
  // No text: no gap, the glyph alone is centred.
  p = PlaceButtonContent(client, glyph, SIZE{0, 0}, TButtonLayout::blGlyphLeft, -1, 4);
  EXPECT_EQ(p.glyph.x, 42);
}

class GlyphButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 400, 200);
    form->HandleNeeded();
  }
  void TearDown() override { delete form; }
  TSpeedButton* AddSpeed(int left, int group) {
    auto* b = new TSpeedButton(form);
    b->SetParent(form);
    b->SetBounds(left, 10, 40, 25);
    b->SetGroupIndex(group);
    return b;
  }
  // A 16 x 16 red square on fuchsia; with two images the second is blue.
  static std::unique_ptr<TBitmap> MakeGlyph(int images) {
    auto glyph = std::make_unique<TBitmap>(16 * images, 16);
    TCanvas* c = glyph->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(RECT{0, 0, 16 * images, 16});
    for (int i = 0; i < images; ++i) {
      c->Brush()->SetColor(i == 0 ? clRed : clBlue);
      c->FillRect(RECT{16 * i + 3, 3, 16 * i + 13, 13});
    }
    return glyph;
  }
  // Counts the pixels of `color` in the left and right halves of a window's client area.
  static std::pair<int, int> CountHalves(HWND hwnd, RECT area, Pixel color) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    test::Settle();  // the drawing reaches the screen
    PixelBuffer shot = CaptureWindow(hwnd, false);
    int left = 0, right = 0;
    int middle = (area.left + area.right) / 2;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if ((shot.Get(x, y) & 0xFFFFFF) == color) ++(x < middle ? left : right);
      }
    }
    return {left, right};
  }

  TForm* form = nullptr;
};

TEST_F(GlyphButtonsTest, OneSpeedButtonOfAGroupIsDown) {
  TSpeedButton* b[3] = {AddSpeed(10, 1), AddSpeed(60, 1), AddSpeed(110, 1)};
  TSpeedButton* plain = AddSpeed(160, 0);
  int clicks = 0;
  plain->OnClick = [&](TObject*) { ++clicks; };
  form->ShowForm();
  test::Settle();
  HWND hwnd = form->Handle();
  test::ClickAt(hwnd, POINT{20, 20});
  EXPECT_TRUE(b[0]->Down());
  test::ClickAt(hwnd, POINT{70, 20});
  EXPECT_FALSE(b[0]->Down());
  EXPECT_TRUE(b[1]->Down());
  // Clicking the down button keeps it down; with AllowAllUp it goes up.
  test::ClickAt(hwnd, POINT{70, 20});  // a double click presses as well
  EXPECT_TRUE(b[1]->Down());
  for (auto* button : b)
    button->SetAllowAllUp(true);
  test::ClickAt(hwnd, POINT{70, 20});
  EXPECT_FALSE(b[1]->Down());
  // A button without a group clicks but never stays down.
  test::ClickAt(hwnd, POINT{170, 20});
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(plain->Down());
  EXPECT_TRUE(SetPropText(b[2], u"Down", u"true"));
  EXPECT_EQ(GetEnumProp(b[2], u"Down"), u"true");
  EXPECT_EQ(GetEnumProp(b[0], u"Down"), u"false");
}

TEST_F(GlyphButtonsTest, FlatSpeedButtonIsHotWhileTheMouseIsOverIt) {
  TSpeedButton* b = AddSpeed(10, 0);
  b->SetFlat(true);
  form->ShowForm();
  test::Settle();
  test::MoveMouseTo(form->Handle(), POINT{20, 20});
  EXPECT_TRUE(b->MouseInControl());
  test::MoveMouseTo(form->Handle(), POINT{300, 150});
  EXPECT_FALSE(b->MouseInControl());
}

TEST_F(GlyphButtonsTest, GlyphsAreDrawnWhereTheLayoutPutsThem) {
  std::unique_ptr<TBitmap> glyph = MakeGlyph(2);
  auto* bit = new TBitBtn(form);
  bit->SetParent(form);
  bit->SetBounds(10, 50, 120, 30);
  bit->SetCaption(u"保存");
  bit->SetGlyph(glyph.get());
  bit->SetNumGlyphs(2);
  TSpeedButton* speed = AddSpeed(200, 0);
  speed->SetBounds(200, 50, 120, 30);
  speed->SetGlyph(glyph.get());
  speed->SetNumGlyphs(2);
  speed->SetLayout(TButtonLayout::blGlyphRight);
  speed->SetMargin(4);
  form->ShowForm();
  test::Settle();
  HWND hwnd = form->Handle();
  auto [bitLeft, bitRight] = CountHalves(bit->Handle(), RECT{0, 0, 120, 30}, 0xFF0000);
  EXPECT_EQ(bitLeft, 100);  // the whole 10 x 10 square of the first image, on the left
  EXPECT_EQ(bitRight, 0);
  auto [speedLeft, speedRight] = CountHalves(hwnd, RECT{200, 50, 320, 80}, 0xFF0000);
  EXPECT_EQ(speedLeft, 0);
  EXPECT_EQ(speedRight, 100);
  EXPECT_EQ(CountHalves(hwnd, RECT{200, 50, 320, 80}, 0x0000FF).second, 0);  // no second image
  // Disabled: the second image (the disabled one) instead of the first.
  speed->SetEnabled(false);
  EXPECT_EQ(CountHalves(hwnd, RECT{200, 50, 320, 80}, 0x0000FF).second, 100);
  EXPECT_EQ(GetEnumProp(speed, u"Layout"), u"blGlyphRight");
  EXPECT_EQ(GetIntProp(bit, u"NumGlyphs"), 2);
  EXPECT_EQ(GetIntProp(bit, u"Margin"), -1);
  EXPECT_EQ(GetIntProp(bit, u"Spacing"), 4);
  EXPECT_EQ(GetObjectProp(bit, u"Glyph", u"TBitmap"), bit->Glyph());
  EXPECT_EQ(GetObjectProp(bit, u"Images"), nullptr);
  EXPECT_EQ(GetIntProp(bit, u"ImageIndex"), -1);
  EXPECT_TRUE(bit->InheritsFrom(u"TButton"));
}

TEST_F(GlyphButtonsTest, BitButtonClicksAndTakesStockKinds) {
  auto* bit = new TBitBtn(form);
  bit->SetParent(form);
  bit->SetBounds(10, 50, 90, 30);
  bit->SetKind(TBitBtnKind::bkOK);
  int clicks = 0;
  bit->OnClick = [&](TObject*) { ++clicks; };
  form->ShowForm();
  test::Settle();
  EXPECT_EQ(bit->Caption(), u"OK");
  EXPECT_TRUE(bit->Default());
  EXPECT_EQ(bit->ModalResult(), IDOK);
  EXPECT_EQ(GetWindowLongW(bit->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  test::ClickAt(bit->Handle(), POINT{45, 15});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(GetEnumProp(bit, u"Kind"), u"bkOK");
}

}  // namespace
}  // namespace lbb::forms
