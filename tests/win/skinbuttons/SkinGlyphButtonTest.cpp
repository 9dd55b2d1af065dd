// Bit buttons, menu buttons and speed buttons skinned with the built-in skin: where glyph,
// text and arrow land on the screen, the embossed disabled glyph, flat speed buttons, hot
// tracking and the down state of windowless buttons, and a picture of every kind and state.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "base/Colour.h"
#include "forms/Buttons.h"
#include "forms/ImgList.h"
#include "forms/Screenshot.h"
#include "forms/StdCtrls.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/imgutil.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinbuttons/ButtonSupport.h"

namespace lbb::skin::test {
namespace {

constexpr Pixel kGreen = 0x00FF00;  // the test glyph's ink (0x00RRGGBB)
constexpr Pixel kWhite = 0xFFFFFF;  // its see-through colour (bottom-left pixel)

// A 16 x 16 glyph of green ink whose bottom-left pixel, white, is its see-through colour.
void GreenGlyph(forms::TBitmap& g) {
  g.SetSize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      g.Pixels().At(x, y) = kGreen;
  g.Pixels().At(0, 15) = kWhite;
}

// The size DrawText gives `text` in `font` measured with DT_CALCRECT | DT_WORDBREAK in a box
// `width` wide.
SIZE Measure(HFONT font, const std::u16string& text, int width) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, width, 100};
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// A bit button with a second picture property, as buttons of other libraries publish one
// ("PngImage"): a skinner whose PicField names it draws that picture instead of the glyph.
class TPicButton : public forms::TBitBtn {
  LBB_FORMS_CLASS_INFO

 public:
  using forms::TBitBtn::TBitBtn;
  forms::TBitmap* PngImage() const { return pic_.get(); }
  void SetPngImage(forms::TBitmap* b) { pic_->Assign(*b); }

 private:
  std::unique_ptr<forms::TBitmap> pic_ = std::make_unique<forms::TBitmap>();
};

const forms::TClassInfo& TPicButton::StaticClassInfo() {
  static const forms::TClassInfo info = [] {
    forms::TClassInfo i(u"TPicButton", &forms::TBitBtn::StaticClassInfo());
    i.Add(forms::ObjectProp<TPicButton, forms::TBitmap>(
        u"PngImage", u"TBitmap", &TPicButton::PngImage, &TPicButton::SetPngImage));
    return i;
  }();
  return info;
}

class GlyphButtonTest : public ButtonTest {
 protected:
  forms::TBitBtn* BitButton(int left, int top, int w, int h, forms::TButtonLayout layout) {
    auto* b = Add<forms::TBitBtn>(left, top, w, h);
    forms::TBitmap g;
    GreenGlyph(g);
    b->SetGlyph(&g);
    b->SetCaption(u"Go");
    b->SetLayout(layout);
    b->SetMargin(-1);
    b->SetSpacing(-1);
    return b;
  }
  // The screen's pixels of a windowless control.
  static PixelBuffer ShotOf(forms::TControl& c) {
    Settle();
    RECT r = c.BoundsRect();
    POINT origin{r.left, r.top};
    ClientToScreen(c.Parent()->Handle(), &origin);
    return forms::CaptureScreen(
        RECT{origin.x, origin.y, origin.x + (r.right - r.left), origin.y + (r.bottom - r.top)});
  }
  // A red panel to lay windowless buttons on, so the skin's face shows against it.
  forms::TPanel* RedPanel() {
    auto* p = Add<forms::TPanel>(200, 20, 220, 120);
    p->SetBevelOuter(forms::TBevelCut::bvNone);
    p->SetColor(0x0000FF);
    return p;
  }
  forms::TSpeedButton* Speed(forms::TPanel* p, int left, int top) {
    auto* s = forms::Place<forms::TSpeedButton>(form, p, left, top, 40, 30);
    s->SetTag(kNotMapped);
    return s;
  }
  Pixel Face() const { return PixelOf(ColorToRGB(data->Colors[kShemeButtonFace])) & 0xFFFFFF; }
};

TEST_F(GlyphButtonTest, GlyphLeftWithMarginAndSpacingMinusOneSplitsTheRoomInThirds) {
  forms::TBitBtn* b = BitButton(20, 20, 120, 40, forms::TButtonLayout::blGlyphLeft);
  ShowSkinned();
  Skin<TSkinBitButton>(b);
  HWND h = b->Handle();
  ASSERT_TRUE(ShowsFrame(h, kFrameNormal));
  const PixelBuffer shot = Shot(h);
  // By hand: text measured in 120 - 4 - (16 + 2) = 98 pixels; free room 120 - 16 - tw split
  // in three: margin, spacing, and what is left on the right.
  const SIZE text = Measure(b->Font()->Handle(), u"Go", 98);
  const int margin = (120 - 16 - text.cx) / 3;
  const RECT glyph = BoxOf(shot, kGreen, RECT{0, 0, 120, 40});
  EXPECT_EQ(glyph.left, margin);
  EXPECT_EQ(glyph.right, margin + 16);
  EXPECT_EQ(glyph.top, (40 - 16 + 1) / 2);
  EXPECT_EQ(glyph.bottom - glyph.top, 16);
  // The ink of "Go" lies inside its box, which starts one spacing after the glyph.
  const int textX = margin + 16 + margin, textY = (40 - text.cy + 1) / 2;
  const RECT ink = InkBox(shot, Rendered(kFrameNormal, 120, 40), kGreen, RECT{3, 3, 117, 37});
  EXPECT_GE(ink.left, textX);
  EXPECT_LE(ink.left, textX + 2);
  EXPECT_LE(ink.right, textX + text.cx);
  EXPECT_GE(ink.top, textY);
  EXPECT_LE(ink.bottom, textY + text.cy);
}

TEST_F(GlyphButtonTest, GlyphTopWithMarginAndSpacingMinusOneSplitsTheHeightInThirds) {
  forms::TBitBtn* b = BitButton(20, 20, 120, 70, forms::TButtonLayout::blGlyphTop);
  ShowSkinned();
  Skin<TSkinBitButton>(b);
  HWND h = b->Handle();
  ASSERT_TRUE(ShowsFrame(h, kFrameNormal));
  const PixelBuffer shot = Shot(h);
  // Measured in the button shrunk by 2 and lowered by 16 + 2: 116 wide.
  const SIZE text = Measure(b->Font()->Handle(), u"Go", 116);
  const int margin = (70 - 16 - text.cy) / 3;
  const RECT glyph = BoxOf(shot, kGreen, RECT{0, 0, 120, 70});
  EXPECT_EQ(glyph.top, margin);
  EXPECT_EQ(glyph.left, (120 - 16 + 1) / 2);
  const int textY = margin + 16 + margin, textX = (120 - text.cx + 1) / 2;
  const RECT ink = InkBox(shot, Rendered(kFrameNormal, 120, 70), kGreen, RECT{3, 3, 117, 67});
  EXPECT_GE(ink.top, textY);
  EXPECT_LE(ink.bottom, textY + text.cy);
  EXPECT_GE(ink.left, textX);
  EXPECT_LE(ink.right, textX + text.cx);
}

TEST_F(GlyphButtonTest, DisabledSingleGlyphIsEmbossedInTheSchemesHighlightAndShadow) {
  forms::TBitBtn* b = BitButton(20, 20, 120, 40, forms::TButtonLayout::blGlyphLeft);
  b->SetEnabled(false);
  ShowSkinned();
  Skin<TSkinBitButton>(b);
  HWND h = b->Handle();
  ASSERT_TRUE(ShowsFrame(h, kFrameDisabled));
  const PixelBuffer shot = Shot(h);
  EXPECT_EQ(BoxOf(shot, kGreen, RECT{0, 0, 120, 40}).right, 0) << "no green ink when disabled";
  const Pixel light = PixelOf(ColorToRGB(data->Colors[kShemeButtonHilight])) & 0xFFFFFF;
  const Pixel dark = PixelOf(ColorToRGB(data->Colors[kShemeButtonShadow])) & 0xFFFFFF;
  ASSERT_NE(light, dark);
  const int margin = (120 - 16 - Measure(b->Font()->Handle(), u"Go", 98).cx) / 3;
  const int top = (40 - 16 + 1) / 2;
  // The shadow copy at the glyph's place, the highlight one pixel down and right of it: it
  // shows only in the last row and column.
  EXPECT_EQ(shot.At(margin + 5, top + 5) & 0xFFFFFF, dark);
  EXPECT_EQ(shot.At(margin + 16, top + 8) & 0xFFFFFF, light);
  EXPECT_EQ(shot.At(margin + 8, top + 16) & 0xFFFFFF, light);
}

TEST_F(GlyphButtonTest, PicFieldDrawsThePictureItNamesInsteadOfTheGlyph) {
  auto* b = Add<TPicButton>(20, 20, 120, 40);
  forms::TBitmap glyph, pic;
  GreenGlyph(glyph);
  GreenGlyph(pic);
  constexpr Pixel kBlue = 0x0000FF;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 16; ++x)
      pic.Pixels().At(x, y) = kBlue;
  b->SetGlyph(&glyph);
  b->SetPngImage(&pic);
  b->SetCaption(u"Go");
  ShowSkinned();
  auto* s = new TSkinBitButton(b);
  s->PicField = u"PngImage";
  s->Init(sf, data, sf->HostCanvas(), false);
  HWND h = b->Handle();
  ASSERT_TRUE(ShowsFrame(h, kFrameNormal));
  const PixelBuffer shot = Shot(h);
  const RECT all{0, 0, 120, 40};
  EXPECT_EQ(BoxOf(shot, kGreen, all).right - BoxOf(shot, kGreen, all).left, 15)
      << "only the picture's green bottom row, less its see-through corner";
  const RECT blue = BoxOf(shot, kBlue, all);
  EXPECT_EQ(blue.right - blue.left, 16);
  EXPECT_EQ(blue.bottom - blue.top, 15);
  EXPECT_TRUE(s->isPicture);
}

TEST_F(GlyphButtonTest, ImageListImageFollowsImageIndexAndDisabledIndex) {
  constexpr Pixel kBlue = 0x0000FF;
  auto* images = new forms::TImageList(form);
  forms::TBitmap strip(32, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x)
      strip.Pixels().At(x, y) = x < 16 ? kGreen : kBlue;
  ASSERT_EQ(images->AddMasked(strip, 0xFFFFFF), 0);
  auto* b = Add<forms::TBitBtn>(20, 20, 120, 40);
  b->SetCaption(u"Go");
  b->SetImages(images);
  b->SetImageIndex(0);
  b->SetDisabledIndex(1);
  ShowSkinned();
  Skin<TSkinBitButton>(b);
  HWND h = b->Handle();
  ASSERT_TRUE(ShowsFrame(h, kFrameNormal));
  const RECT all{0, 0, 120, 40};
  // Enabled: image 0, placed as a 16 x 16 glyph would be. Margin -1 with the bit button's
  // default Spacing 4: glyph, spacing and text centred, (120 - 16 - 4 - text) / 2 on each side.
  ASSERT_EQ(b->Spacing(), 4);
  const int margin = (120 - 16 - 4 - Measure(b->Font()->Handle(), u"Go", 98).cx) / 2;
  RECT green = BoxOf(Shot(h), kGreen, all);
  EXPECT_EQ(green.left, margin);
  EXPECT_EQ(green.right - green.left, 16);
  EXPECT_EQ(BoxOf(Shot(h), kBlue, all).right, 0);
  // Disabled: DisabledIndex.
  b->SetEnabled(false);
  ASSERT_TRUE(ShowsFrame(h, kFrameDisabled));
  EXPECT_EQ(BoxOf(Shot(h), kGreen, all).right, 0);
  EXPECT_EQ(BoxOf(Shot(h), kBlue, all).left, margin);
}

TEST_F(GlyphButtonTest, MenuButtonDrawsItsArrowAfterTheCaption) {
  forms::TButton* b = Add<forms::TButton>(20, 20, 120, 30);
  b->SetCaption(u"Menu");
  ShowSkinned();
  Skin<TSkinMenuButton>(b);
  HWND h = b->Handle();
  ASSERT_TRUE(ShowsFrame(h, kFrameNormal));
  const PixelBuffer shot = Shot(h);
  // No Margin or Spacing property: both -1, quarters of the free room. The text is measured
  // 120 - 0 - 8 wide, shrunk by 2.
  const SIZE text = Measure(b->Font()->Handle(), u"Menu", 108);
  const int q = (120 - text.cx - 8) / 4;
  const int x = q + text.cx + 3 * q, y = (30 - 3) / 2;
  const Pixel ink = PixelOf(ColorToRGB(clWindowText)) & 0xFFFFFF;
  // The triangle's centre column from its top edge (y - 1) to its tip (y + 2).
  for (int dy = -1; dy <= 1; ++dy)
    EXPECT_EQ(shot.At(x, y + dy) & 0xFFFFFF, ink) << "arrow at " << x << "," << y + dy;
  const PixelBuffer plain = Rendered(kFrameNormal, 120, 30);
  EXPECT_EQ(shot.At(x + 5, y), plain.At(x + 5, y) & 0xFFFFFF) << "right of the arrow";
  // Focused, the menu button shows the hot frame.
  b->SetFocus();
  EXPECT_TRUE(ShowsFrame(h, kFrameHot));
}

TEST_F(GlyphButtonTest, FlatSpeedButtonShowsNoFrameUntilTheMouseIsOverIt) {
  forms::TPanel* panel = RedPanel();
  forms::TSpeedButton* s = Speed(panel, 10, 10);
  s->SetFlat(true);
  ShowSkinned();
  SkinSpeed(s);
  panel->Invalidate();
  PixelBuffer shot = ShotOf(*s);
  int face = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x)
      face += (shot.At(x, y) & 0xFFFFFF) == Face();
  EXPECT_EQ(face, 40 * 30) << "an idle flat button is the face colour, no frame";
  // The mouse over it: the hot frame.
  POINT at{10 + 20, 10 + 15};
  ASSERT_TRUE(forms::test::MoveMouseTo(panel->Handle(), at));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*s)) == kFrameHot; }))
      << "shows " << FrameShown(ShotOf(*s));
  // Away again: flat.
  ASSERT_TRUE(forms::test::MoveMouseTo(form->Handle(), Away()));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*s)) == 0; }));
}

TEST_F(GlyphButtonTest, SpeedButtonPressClicksOnceAndADownButtonShowsThePressedFrame) {
  forms::TPanel* panel = RedPanel();
  forms::TSpeedButton* s = Speed(panel, 10, 10);
  forms::TSpeedButton* down = Speed(panel, 60, 10);
  down->SetGroupIndex(1);
  down->SetDown(true);
  int clicks = 0;
  s->OnClick = [&](forms::TObject*) { ++clicks; };
  ShowSkinned();
  auto* skin = SkinSpeed(s);
  SkinSpeed(down);
  panel->Invalidate();
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*s)) == kFrameNormal; }));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*down)) == kFramePressed; }));
  ASSERT_TRUE(forms::test::MoveMouseTo(panel->Handle(), POINT{30, 25}));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*s)) == kFrameHot; }));
  ASSERT_TRUE(PressLeft());
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*s)) == kFramePressed; }));
  EXPECT_EQ(skin->MouseState(), kStateHot | kStatePressed);
  ASSERT_TRUE(ReleaseLeft());
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks == 1; }));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*s)) == kFrameHot; }));
  Settle();
  EXPECT_EQ(clicks, 1);
}

TEST_F(GlyphButtonTest, SpeedButtonTakesThePressOnceAndNeverPaintsItself) {
  forms::TPanel* panel = RedPanel();
  forms::TSpeedButton* s = Speed(panel, 10, 10);
  ShowSkinned();
  // The recorder is the method the skinner finds: what it sees reaches the button.
  forms::test::MessageRecorder seen(*s, {WM_PAINT, WM_LBUTTONDOWN, WM_LBUTTONUP});
  auto* skin = SkinSpeed(s);
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*s)) == kFrameNormal; }));
  ASSERT_TRUE(forms::test::ClickAt(panel->Handle(), POINT{30, 25}));
  Settle();
  EXPECT_EQ(seen.Seen(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}))
      << "the press once, the release once, no paint";
  // Switched off, the button paints itself again.
  skin->SetSkinned(false);
  seen.Clear();
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(seen.Saw(WM_PAINT));
  skin->SetSkinned(true);
  delete skin;  // the recorder's method is outermost again before it goes
}

TEST_F(GlyphButtonTest, TransparentButtonsShowTheParentThroughTheKeyedFrame) {
  // A Button element drawn keyed, whose frames have keyed 2 x 2 top-left corners.
  TDataSkinButton& e = *data->Button;
  const PixelBuffer saved = e.Map;
  const int savedTrans = e.trans;
  const int cw = e.Map.Width() / 5;
  for (int k = 0; k < 5; ++k)
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x)
        e.Map.At(k * cw + x, y) = PixelOf(kSkinKeyColour);
  e.trans = 1;
  forms::TPanel* panel = RedPanel();
  auto* b = forms::Place<forms::TButton>(form, panel, 10, 10, 80, 26);
  b->SetTag(kNotMapped);
  b->SetCaption(u"See through");
  data->SetOptions(data->Options() | SetOf(xoTransparent));
  ShowSkinned();
  auto* s = Skin<TSkinButton>(b);
  EXPECT_TRUE(s->trans);
  constexpr Pixel kRed = 0xFF0000;
  EXPECT_TRUE(PumpUntil([&] { return (Shot(b->Handle()).At(0, 0) & 0xFFFFFF) == kRed; }))
      << "the red panel under the keyed corner";
  EXPECT_EQ(Shot(b->Handle()).At(2, 2) & 0xFFFFFF, Rendered(kFrameNormal, 80, 26).At(2, 2));
  // Without the option (and without tag 5555) the face colour fills behind the frame.
  data->SetOptions(data->Options() & ~SetOf(xoTransparent));
  auto* opaque = forms::Place<forms::TButton>(form, panel, 10, 50, 80, 26);
  opaque->SetTag(kNotMapped);
  auto* o = Skin<TSkinButton>(opaque);
  EXPECT_FALSE(o->trans);
  EXPECT_TRUE(PumpUntil([&] { return (Shot(opaque->Handle()).At(0, 0) & 0xFFFFFF) == Face(); }));
  e.Map = saved;
  e.trans = savedTrans;
}

TEST_F(GlyphButtonTest, EveryKindAndStateInOnePicture) {
  auto* normal = Add<forms::TButton>(10, 10, 90, 26);
  normal->SetCaption(u"Normal");
  auto* def = Add<forms::TButton>(10, 44, 90, 26);
  def->SetCaption(u"Default");
  def->SetDefault(true);
  auto* off = Add<forms::TButton>(10, 78, 90, 26);
  off->SetCaption(u"Disabled");
  off->SetEnabled(false);
  auto* focus = Add<forms::TButton>(10, 112, 90, 26);
  focus->SetCaption(u"Focused");
  auto* twoLines = Add<forms::TButton>(10, 146, 90, 40);
  twoLines->SetCaption(u"Two||lines");
  auto* left = BitButton(110, 10, 80, 30, forms::TButtonLayout::blGlyphLeft);
  auto* top = BitButton(110, 46, 80, 50, forms::TButtonLayout::blGlyphTop);
  auto* menu = Add<forms::TButton>(110, 104, 80, 26);
  menu->SetCaption(u"Menu");
  forms::TPanel* panel = RedPanel();
  forms::TSpeedButton* flat = Speed(panel, 10, 10);
  flat->SetFlat(true);
  forms::TSpeedButton* plain = Speed(panel, 60, 10);
  plain->SetCaption(u"Spd");
  forms::TSpeedButton* down = Speed(panel, 110, 10);
  down->SetGroupIndex(1);
  down->SetDown(true);
  down->SetCaption(u"Down");
  ShowSkinned();
  for (forms::TButton* b : {normal, def, off, focus, twoLines})
    Skin<TSkinButton>(b);
  Skin<TSkinBitButton>(left);
  Skin<TSkinBitButton>(top);
  Skin<TSkinMenuButton>(menu);
  for (forms::TSpeedButton* s : {flat, plain, down})
    SkinSpeed(s);
  focus->SetFocus();
  RedrawWindow(form->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ASSERT_TRUE(ShowsFrame(focus->Handle(), kFrameFocused));
  ASSERT_TRUE(ShowsFrame(off->Handle(), kFrameDisabled));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*down)) == kFramePressed; }))
      << FrameShown(ShotOf(*down));
  EXPECT_TRUE(
      forms::test::PumpUntil([&] { return (ShotOf(*flat).At(20, 15) & 0xFFFFFF) == Face(); }));
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR "/skinbuttons");
  EXPECT_TRUE(forms::SaveWindowPng(form->Handle(), LBB_SCREENSHOT_DIR "/skinbuttons/kinds.png"));
  // The plain speed button hot and the normal push button pressed.
  ASSERT_TRUE(forms::test::MoveMouseTo(panel->Handle(), POINT{60 + 20, 10 + 15}));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return FrameShown(ShotOf(*plain)) == kFrameHot; }));
  ASSERT_TRUE(forms::test::MoveMouseTo(normal->Handle(), Middle(normal->Handle())));
  ASSERT_TRUE(PressLeft());
  EXPECT_TRUE(ShowsFrame(normal->Handle(), kFramePressed));
  EXPECT_TRUE(forms::SaveWindowPng(form->Handle(), LBB_SCREENSHOT_DIR "/skinbuttons/pressed.png"));
  ASSERT_TRUE(ReleaseLeft());
  Settle();
}

}  // namespace
}  // namespace lbb::skin::test
