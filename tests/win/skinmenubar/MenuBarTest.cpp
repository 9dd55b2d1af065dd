// The painted menu bar's buttons, layout and looks: built from the window's native menu (which
// the window loses while skinned and gets back when unskinned), the band from the skin's
// Menubar element in the active and inactive look, hot buttons framed, right-to-left rows,
// and a skin change.
#include <gtest/gtest.h>

#include "forms/Screenshot.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/data/imgutil.h"
#include "tests/win/skinmenubar/MenuBarSupport.h"

namespace lbb::skin::test {
namespace {

Pixel SchemePixel(const TSkinData& d, int index) {
  return PixelOf(d.SchemeRGB(index));
}

bool Shows(const PixelBuffer& shot, const RECT& r, Pixel colour) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (shot.At(x, y) == colour) return true;
  return false;
}

TEST_F(MenuBarTest, ButtonsComeFromTheNativeMenuWhichTheWindowLosesUntilUnskinned) {
  SkinnedMenuWindow();
  ASSERT_NE(sf->menu, nullptr);
  EXPECT_EQ(GetMenu(hwnd), nullptr);
  const HMENU native = sf->menu->hmenu;
  ASSERT_EQ(sf->menu->Buttons.size(), 4u);
  EXPECT_EQ(sf->menu->Buttons[0]->caption, L"&File");
  EXPECT_EQ(sf->menu->Buttons[3]->caption, L"&View");
  EXPECT_EQ(sf->menu->Buttons[0]->hsubmenu, GetSubMenu(native, 0));
  EXPECT_EQ(sf->menu->Buttons[2]->hsubmenu, nullptr);
  EXPECT_EQ(sf->menu->Buttons[2]->mid, static_cast<int>(kEmpty));
  // Left to right from the Menubar element's left margin + 4, each caption + 10 wide.
  const RECT band = BandRect();
  const TDataSkinObject& bar = *data->Menubar;
  const RECT& file = sf->menu->Buttons[0]->bounds;
  EXPECT_EQ(file.left, band.left + bar.r.Left + 4);
  EXPECT_EQ(file.top, band.top);
  EXPECT_EQ(file.bottom, band.bottom - 1);
  EXPECT_EQ(sf->menu->Buttons[1]->bounds.left, file.right);
  sf->UnSubclass();
  EXPECT_EQ(GetMenu(hwnd), native);
  EXPECT_EQ(sf->menu, nullptr);
}

TEST_F(MenuBarTest, AnEmptyCaptionHasNoWidthAndIsNeverHit) {
  SkinnedMenuWindow();
  const TMenuBtn& empty = *sf->menu->Buttons[2];
  EXPECT_EQ(empty.bounds.right - empty.bounds.left, 0);
  EXPECT_EQ(empty.bounds.left, sf->menu->Buttons[3]->bounds.left);
  const RECT band = BandRect();
  for (int x = band.left; x < band.right; ++x)
    for (int y = band.top; y < band.bottom; ++y)
      ASSERT_NE(sf->menu->FindBtn(x, y), &empty) << x << "," << y;
  // Between the buttons and past the last one nothing is hit.
  EXPECT_EQ(sf->menu->FindBtn(band.right - 2, band.top + 2), nullptr);
  EXPECT_EQ(sf->menu->FindBtn(band.left, band.top + 2), nullptr);
}

TEST_F(MenuBarTest, BandIsTheMenubarElementInTheActiveOrInactiveLook) {
  SkinnedMenuWindow();
  const TDataSkinObject& bar = *data->Menubar;
  const RECT band = BandRect();
  const int w = band.right - band.left, h = band.bottom - band.top;
  auto expected = [&](int index) {
    PixelBuffer look(w, h);
    if (bar.Tile == 1)
      DrawSkinImage(look, TRect{0, 0, w, h}, bar.Map, true, false, false, 2, index, bar.r);
    else
      DrawSkinHorz(look, TRect{0, 0, w, h}, bar.Map, true, false, 2, index,
                   TRect{bar.r.Left, 0, bar.r.Right, 0});
    return look;
  };
  // Right of the last button the band is the element alone.
  const int from = sf->menu->Buttons[3]->bounds.right - band.left + 1;
  auto matches = [&](const PixelBuffer& painted, const PixelBuffer& look) {
    for (int y = 0; y < h; ++y)
      for (int x = from; x < w; ++x)
        if (painted.At(band.left + x, band.top + y) != look.At(x, y)) return false;
    return true;
  };
  SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(matches(Painted(hwnd), expected(1)));
  SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0);
  const PixelBuffer inactive = Painted(hwnd);
  EXPECT_TRUE(matches(inactive, expected(2)));
  EXPECT_FALSE(matches(inactive, expected(1))) << "the two looks differ";
  SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
}

TEST_F(MenuBarTest, TheButtonUnderTheMouseIsFramedInButtonHilight) {
  SkinnedMenuWindow();
  const POINT below = HoverButton(1);
  ASSERT_FALSE(HasFailure());
  TMenuBtn& edit = *sf->menu->Buttons[1];
  const RECT& b = edit.bounds;
  const PixelBuffer shot = forms::CaptureWindow(hwnd);
  const Pixel hilight = SchemePixel(*data, kShemeButtonHilight);
  EXPECT_EQ(shot.At(b.left, b.top), hilight);
  EXPECT_EQ(shot.At(b.right - 1, (b.top + b.bottom) / 2), hilight);
  EXPECT_EQ(shot.At((b.left + b.right) / 2, b.bottom - 1), hilight);
  // Leaving the band: normal again, the frame gone.
  ASSERT_TRUE(input::MoveMouse(below).ok());
  ASSERT_TRUE(PumpUntil([&] { return edit.state == kNCNormal && !sf->ActiveBtn; }));
  EXPECT_NE(forms::CaptureWindow(hwnd).At(b.left, b.top), hilight);
}

TEST_F(MenuBarTest, RebuildingTheBarForgetsTheButtonUnderTheMouse) {
  SkinnedMenuWindow();
  HoverButton(1);
  ASSERT_FALSE(HasFailure());
  data->UpdateMainMenu(true);  // the skin data's rebuild
  EXPECT_EQ(sf->ActiveBtn, nullptr);
  HoverButton(0);
  ASSERT_FALSE(HasFailure());
  sf->menu->UpdataBtn2(nullptr);  // an MDI frame's rebuild after a child closed
  EXPECT_EQ(sf->ActiveBtn, nullptr);
}

// A skin without colour keys leaves its scheme colours system-colour references, resolved
// only when drawn: the captions, the hot frame and the frame's face fill show the resolved
// colours.
TEST_F(MenuBarTest, ASkinWithoutColourKeysIsDrawnInTheResolvedSystemColours) {
  SkinnedMenuWindow();
  const TSkinModel plain;
  data->Colors = plain.Colors;
  ASSERT_TRUE(IsSysColor(data->Colors[kShemeMenuBarText]));
  const PixelBuffer shot = Painted(hwnd);
  EXPECT_TRUE(Shows(shot, sf->menu->Buttons[0]->bounds, SchemePixel(*data, kShemeMenuBarText)));
  EXPECT_TRUE(Shows(shot, sf->TitleRect(), SchemePixel(*data, kShemeTitleTextActive)));
  TDibSurface clip;
  sf->getClipMap(clip);
  EXPECT_EQ(clip.Pixels().At(clip.Width() / 2, clip.Height() / 2),
            SchemePixel(*data, kShemeButtonFace));
  HoverButton(1);
  const RECT& b = sf->menu->Buttons[1]->bounds;
  EXPECT_EQ(forms::CaptureWindow(hwnd).At(b.left, b.top), SchemePixel(*data, kShemeButtonHilight));
}

TEST_F(MenuBarTest, ADisabledCaptionIsWrittenInThePlatformsButtonShadow) {
  SkinnedMenuWindow();
  const Pixel platform = PixelOf(GetSysColor(COLOR_BTNSHADOW));
  ASSERT_NE(SchemePixel(*data, kShemeButtonShadow), platform) << "the skin's shadow must differ";
  EnableMenuItem(sf->menu->hmenu, 3, MF_BYPOSITION | MF_GRAYED);
  data->UpdateMainMenu(true);
  ASSERT_FALSE(sf->menu->Buttons[3]->enabled);
  EXPECT_TRUE(Shows(Painted(hwnd), sf->menu->Buttons[3]->bounds, platform));
}

TEST_F(MenuBarTest, RightToLeftMenusRunFromTheRightEnd) {
  SkinnedMenuWindow(true);
  ASSERT_TRUE(sf->menu->RightToLeft());
  const RECT band = BandRect();
  const TDataSkinObject& bar = *data->Menubar;
  const auto& b = sf->menu->Buttons;
  EXPECT_EQ(b[0]->bounds.right, band.right - (bar.r.Right + 8));
  EXPECT_EQ(b[1]->bounds.right, b[0]->bounds.left);
  EXPECT_EQ(b[3]->bounds.right, b[1]->bounds.left);  // the empty one takes no room
  EXPECT_GT(b[3]->bounds.left, band.left);
}

TEST_F(MenuBarTest, ASkinWithoutAMenubarElementFillsTheBandWithItsMenubarColour) {
  SkinnedMenuWindow();
  const auto sand = lbb::resources::SandSkin();
  data->data.Clear();
  data->data.Write(sand.data(), sand.size());
  ASSERT_TRUE(data->ParseSkin());
  mgr->SetUpdateData(data);
  mgr->DeleteSysbtn();
  sf->InitSkinData();
  sf->SkinChange();
  Settle();
  ASSERT_TRUE(!data->Menubar || data->Menubar->Map.Empty());
  const PixelBuffer painted = Painted(hwnd);
  const RECT band = BandRect();
  // Six from the band's left edge, and the band's colour where no caption is.
  EXPECT_EQ(sf->menu->Buttons[0]->bounds.left, band.left + 6);
  EXPECT_EQ(painted.At(band.right - 3, band.top + 2), SchemePixel(*data, kShemeMenubar));
  EXPECT_EQ(sf->menu->Buttons.size(), 4u);
}

TEST_F(MenuBarTest, MenuChangesRebuildTheButtonsWithMenuUpdate) {
  SkinnedMenuWindow();
  AppendMenuW(sf->menu->hmenu, MF_STRING, 500, L"&Help");
  data->UpdateMainMenu(true);
  ASSERT_EQ(sf->menu->Buttons.size(), 5u);
  EXPECT_EQ(sf->menu->Buttons[4]->caption, L"&Help");
  EXPECT_GT(sf->menu->Buttons[4]->bounds.right, sf->menu->Buttons[3]->bounds.right);
  EXPECT_EQ(GetMenu(hwnd), nullptr);
}

}  // namespace
}  // namespace lbb::skin::test
