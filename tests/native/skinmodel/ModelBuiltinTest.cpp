// The two skins that come with the program, parsed into the object model.
#include <gtest/gtest.h>

#include "resources/skin/BuiltinSkin.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/data/FrameMatch.h"
#include "skin/data/SkinModel.h"
#include "skin/data/imgutil.h"
#include "tests/native/skinmodel/SkinBuilder.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

std::vector<uint8_t> Bytes(std::span<const uint8_t> s) {
  return {s.begin(), s.end()};
}

class BuiltinSkinModel : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(skintest::Parse(m, Bytes(lbb::resources::BuiltinSkin()))); }
  TSkinModel m;
};

TEST_F(BuiltinSkinModel, NameColoursAndPresets) {
  EXPECT_FALSE(m.Empty);
  EXPECT_EQ(m.SkinName, u"Slate");
  EXPECT_TRUE(m.hasColors[kShemeButtonFace]);
  EXPECT_EQ(m.Colors[kShemeButtonFace], 0xF5F2F0);  // "240 242 245"
  EXPECT_TRUE(m.hasColors[kShemeWindowText]);
  EXPECT_EQ(m.Colors[kShemeWindowText], 0x221B16);
  EXPECT_EQ(m.Colors[kShemeMenubar], 0xF8F6F4);
  EXPECT_EQ(m.Colors[kShemeMenu], 0xFDFCFB);
  EXPECT_EQ(m.Colors[kShemeScrollbar], 0xF0ECE9);
  // Not read: never given.
  EXPECT_FALSE(m.hasColors[9]);
  EXPECT_FALSE(m.hasColors[10]);
  EXPECT_FALSE(m.hasColors[19]);
  EXPECT_TRUE(m.ColorPreset.empty());
  TColor c = 0;
  EXPECT_FALSE(m.GetPrecolor(c, 0));
  for (TColor p : m.PresetColors)
    EXPECT_EQ(p, 0xFFFFFF);
}

TEST_F(BuiltinSkinModel, CaptionButtonsAndMdiButtons) {
  ASSERT_EQ(m.SysBtn.size(), 5u + 3u);
  const char16_t* ids[] = {u"BUTTON0", u"BUTTON1", u"BUTTON2", u"BUTTON3", u"BUTTON4"};
  for (size_t i = 0; i < 5; ++i)
    EXPECT_EQ(m.SysBtn[i]->IDName, ids[i]);
  const TDataSkinSysButton& close = *m.SysBtn[0];
  EXPECT_EQ(close.Map.Width(), 210);
  EXPECT_EQ(close.Map.Height(), 21);
  EXPECT_EQ(close.frame, 6);  // ratio 10
  EXPECT_EQ(close.Align, 1);
  EXPECT_EQ(close.XCoord, 40);
  EXPECT_EQ(close.CombineOp, -1);
  const TDataSkinSysButton& icon = *m.SysBtn[4];
  EXPECT_EQ(icon.Action, 3);
  EXPECT_TRUE(icon.Map.Empty());
  EXPECT_EQ(icon.frame, 6);
  EXPECT_EQ(icon.Visibility1, 0);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *m.SysBtn[5 + static_cast<size_t>(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
    EXPECT_EQ(b.frame, 4);
    ASSERT_FALSE(b.Map.Empty());
  }
  // MdiButtons.bmp: 12 cells; each extra button holds four of them.
  const int a = m.SysBtn[5]->Map.Width() / 4;
  EXPECT_EQ(m.SysBtn[5]->XCoord, (a + 4) * 3);
  EXPECT_EQ(m.SysBtn[7]->XCoord, (a + 4) * 1);
}

TEST_F(BuiltinSkinModel, FrameCountsOfTheEdgeCaseList) {
  EXPECT_EQ(m.Button->frame, 5);
  EXPECT_EQ(m.Button->checkframe, 12);
  EXPECT_EQ(m.Button->radioframe, 8);
  ASSERT_TRUE(m.Header);
  EXPECT_EQ(m.Header->frame, 4);
  ASSERT_TRUE(m.SArrow);
  EXPECT_EQ(m.SArrow->frame, 23);
  ASSERT_TRUE(m.progresschunk);
  EXPECT_EQ(m.progresschunk->frame, 0);  // no Frame key
  ASSERT_TRUE(m.progress);
  EXPECT_EQ(m.progress->frame, 2);  // Style 0
  EXPECT_EQ(m.Title->frame, 2);
  EXPECT_EQ(m.border[kBorderTop]->frame, 2);
  EXPECT_EQ(m.HSlider->frame, 3);
  EXPECT_EQ(m.HBar->frame, 4);
  EXPECT_EQ(m.HSpin->frame, 8);
  EXPECT_EQ(m.tab->frame, 5);
  EXPECT_EQ(m.TrackHorz->frame, 5);
  EXPECT_EQ(m.Trackbottom->frame, 5);
}

TEST_F(BuiltinSkinModel, AbsentAndBuiltInElements) {
  EXPECT_FALSE(m.Box);
  EXPECT_FALSE(m.boxlabel);
  EXPECT_FALSE(m.Toolbarbtn);
  EXPECT_FALSE(m.Comboxborder);
  EXPECT_FALSE(m.TrackVert);
  EXPECT_FALSE(m.MinCaption);
  ASSERT_TRUE(m.TrackBar);
  EXPECT_EQ(m.TrackBar->IDName, u"TRACK");
  EXPECT_EQ(m.TrackBar->Map.Width(), 16);
  EXPECT_EQ(m.TrackBar->Map.Height(), 4);
  EXPECT_EQ(m.TrackBar->r, (TRect{3, 3, 3, 3}));
  EXPECT_EQ(m.TrackBar->frame, 1);
  ASSERT_TRUE(m.TrackBarVert);
  EXPECT_EQ(m.TrackBarVert->IDName, u"TRACKVERT");
  EXPECT_EQ(m.TrackBarVert->Map.Width(), 4);
}

TEST_F(BuiltinSkinModel, ComboArrowIsTheComboButtonOnButtonFace) {
  ASSERT_TRUE(m.combox);
  ASSERT_TRUE(m.comboxarrow);
  EXPECT_EQ(m.comboxarrow->IDName, u"ComboxArrow");
  EXPECT_EQ(m.combox->style, 0);  // no sunken edge: not combined
  EXPECT_EQ(m.comboxarrow->frame, m.combox->frame);
  const PixelBuffer& src = m.combox->Map;
  const PixelBuffer& arrow = m.comboxarrow->Map;
  ASSERT_EQ(arrow.Width(), src.Width());
  ASSERT_EQ(arrow.Height(), src.Height());
  int keyed = 0;
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) {
      if ((src.At(x, y) & 0xFFFFFF) == 0xFF00FF) {
        ++keyed;
        EXPECT_EQ(arrow.At(x, y) & 0xFFFFFF, PixelOf(0xF5F2F0));
      } else {
        EXPECT_EQ(arrow.At(x, y), src.At(x, y));
      }
    }
  EXPECT_GT(keyed, 0);
  // The mask is the image mirrored.
  EXPECT_EQ(m.combox->MaskMap.At(0, 5), src.At(src.Width() - 1, 5));
}

TEST_F(BuiltinSkinModel, BordersTitleAndMenuBar) {
  const TDataSkinBorder& left = *m.border[kBorderLeft];
  EXPECT_EQ(left.IDName, u"Left");
  EXPECT_EQ(left.r, (TRect{0, 30, 0, 4}));
  const TDataSkinBorder& top = *m.border[kBorderTop];
  EXPECT_EQ(top.r, (TRect{8, 0, 8, 0}));
  EXPECT_EQ(top.Tile, 1);
  EXPECT_EQ(top.trans, 1);
  EXPECT_FALSE(top.Map.Empty());
  EXPECT_EQ(m.Title->r, (TRect{22, 0, 8, 0}));
  EXPECT_EQ(m.Title->activetext, 0xFFFFFF);
  EXPECT_EQ(m.Title->inactivetext, 0x64584E);
  EXPECT_EQ(m.Title->FontHeight, 14);
  ASSERT_TRUE(m.Menubar);
  EXPECT_EQ(m.Menubar->r, (TRect{2, 0, 2, 0}));
  EXPECT_EQ(m.Menubar->frame, 2);
  // The caption colour is the Top image's first cell at a third of its size.
  const Pixel p = top.Map.At(top.Map.Width() / 3, top.Map.Height() / 2 / 3);
  EXPECT_EQ(m.Colors[kShemeCaption], static_cast<TColor>(ColourOf(p)));
  EXPECT_EQ(m.GetCaptionColor(), m.Colors[kShemeCaption]);
}

TEST_F(BuiltinSkinModel, ToolbarBackgroundIsAGradientFromTheCaptionColour) {
  ASSERT_TRUE(m.Toolbar);
  EXPECT_EQ(m.Toolbar->frame, 1);
  ASSERT_EQ(m.Toolbar->Map.Width(), 10);
  ASSERT_EQ(m.Toolbar->Map.Height(), 40);
  const TColor c = m.GetCaptionColor();
  const uint32_t top = MixColors(m.Colors[kShemeButtonFace], 0xFFFFFF, 150);
  uint32_t bottom = MixColors(0x808080, c, 150);
  if (ColourSaturation(c) > 110)
    bottom = MixColors(c, 0xFFFFFF, (5625 - 25 * ColourSaturation(c)) / 140 + 50);
  EXPECT_EQ(m.Toolbar->Map.At(3, 0), PixelOf(top));
  EXPECT_EQ(m.Toolbar->Map.At(7, 39), PixelOf(bottom));
}

TEST_F(BuiltinSkinModel, ButtonsElement) {
  EXPECT_EQ(m.Button->IDName, u"Buttons");
  EXPECT_EQ(m.Button->r, (TRect{4, 4, 4, 4}));
  EXPECT_FALSE(m.Button->newnormal);
  EXPECT_EQ(m.Button->Normalcolor, -1);
  EXPECT_EQ(m.Button->Normalcolor2, m.Colors[kShemeButtonText]);
  EXPECT_FALSE(m.Button->CheckMap.Empty());
}

TEST(SandSkinModel, ParsesWithItsOwnValues) {
  TSkinModel m;
  ASSERT_TRUE(skintest::Parse(m, Bytes(lbb::resources::SandSkin())));
  EXPECT_EQ(m.SkinName, u"Sand");
  EXPECT_EQ(m.Colors[kShemeButtonFace], 0xE1E9EF);
  // Not given by Sand: system references, Menubar following ButtonFace as read.
  EXPECT_FALSE(m.hasColors[kShemeButtonHilight]);
  EXPECT_EQ(m.Colors[kShemeButtonHilight], SysColor(kColorBtnHighlight));
  EXPECT_FALSE(m.hasColors[kShemeMenubar]);
  EXPECT_EQ(m.Colors[kShemeMenubar], 0xE1E9EF);
  // Five sections kept: ButtonUnused (Action -1, no Visibility) is not a caption button.
  ASSERT_EQ(m.SysBtn.size(), 6u + 3u);
  EXPECT_EQ(m.SysBtn[0]->IDName, u"BUTTONCLOSE");
  const TDataSkinSysButton& help = *m.SysBtn[4];
  EXPECT_EQ(help.IDName, u"BUTTONHELP");
  EXPECT_EQ(help.Action, 4);
  EXPECT_EQ(help.XCoord, 46);  // the maximise button's place
  EXPECT_EQ(help.YCoord, 3);
  const TDataSkinSysButton& emblem = *m.SysBtn[5];
  EXPECT_EQ(emblem.IDName, u"BUTTONEMBLEM");
  EXPECT_EQ(emblem.Action, -1);
  EXPECT_EQ(emblem.frame, 1);
  EXPECT_EQ(emblem.Visibility1, 0);
  for (const auto& b : m.SysBtn)
    EXPECT_NE(b->IDName, u"BUTTONUNUSED");
  // Its own track images and counts.
  ASSERT_TRUE(m.TrackBar);
  EXPECT_EQ(m.TrackBar->IDName, u"Track");
  EXPECT_EQ(m.TrackBar->frame, 1);
  EXPECT_EQ(m.TrackBar->r, (TRect{2, 0, 2, 0}));
  EXPECT_EQ(m.progress->frame, 1);  // Style 1
  EXPECT_EQ(m.progresschunk->frame, 1);
  EXPECT_EQ(m.Header->frame, 5);  // no Frame key
  EXPECT_EQ(m.Title->FontHeight, 13);
  EXPECT_EQ(m.Title->Aligment, 1);
  EXPECT_EQ(m.Title->backleft, 8);
  EXPECT_FALSE(m.Title->Map.Empty());
  EXPECT_EQ(m.border[kBorderLeft]->trans, 0);
  EXPECT_TRUE(m.Button->newnormal);
  EXPECT_TRUE(m.Button->newover);
  EXPECT_FALSE(m.Button->newdown);
  EXPECT_EQ(m.Button->Normalcolor2, 0x29323B);
  EXPECT_EQ(m.Button->Downcolor2, m.Colors[kShemeButtonText]);
  EXPECT_FALSE(m.combox);
  EXPECT_FALSE(m.comboxarrow);
  EXPECT_FALSE(m.Menubar);
}

TEST(SkinModelParse, ASecondParseReplacesTheElements) {
  TSkinModel m;
  ASSERT_TRUE(skintest::Parse(m, Bytes(lbb::resources::BuiltinSkin())));
  ASSERT_TRUE(m.combox);
  ASSERT_TRUE(skintest::Parse(m, Bytes(lbb::resources::SandSkin())));
  EXPECT_EQ(m.SkinName, u"Sand");
  EXPECT_FALSE(m.combox);
  EXPECT_FALSE(m.comboxarrow);
  EXPECT_FALSE(m.Menubar);
  EXPECT_EQ(m.SysBtn.size(), 9u);
}

}  // namespace

namespace {

// A window of 300 x 200 whose left, right and bottom borders are the built-in skin's pieces in
// `look`, the rest one flat colour.
PixelBuffer FramedPicture(const TSkinModel& m, int look) {
  PixelBuffer p(300, 200);
  p.Fill(0xC0C0C0);
  const int l = m.border[kBorderLeft]->Map.Width() / m.border[kBorderLeft]->frame;
  const int r = m.border[kBorderRight]->Map.Width() / m.border[kBorderRight]->frame;
  const int b = m.border[kBorderBottom]->Map.Height() / m.border[kBorderBottom]->frame;
  const auto draw = [&](int side, TRect at, bool stacked) {
    const auto& piece = m.border[side];
    DrawSkinImage(p, at, piece->Map, stacked, piece->Tile != 1, false, piece->frame, look,
                  piece->r);
  };
  draw(kBorderLeft, TRect{0, 0, l, 200}, false);
  draw(kBorderRight, TRect{300 - r, 0, 300, 200}, false);
  draw(kBorderBottom, TRect{l, 200 - b, 300 - r, 200}, true);
  return p;
}

}  // namespace

// The automatic runs' check that a screenshot shows the skinned frame: each look is told, a
// flat frame is none, and one wrong border pixel is enough to refuse.
TEST_F(BuiltinSkinModel, FrameLookShownTellsTheSkinsBordersOnAPicture) {
  EXPECT_EQ(FrameLookShown(FramedPicture(m, 1), m), 1);
  EXPECT_EQ(FrameLookShown(FramedPicture(m, 2), m), 2);
  PixelBuffer flat(300, 200);
  flat.Fill(0xD4D0C8);
  EXPECT_EQ(FrameLookShown(flat, m), 0);
  PixelBuffer damaged = FramedPicture(m, 1);
  const int x = 300 - 1, y = 100;
  damaged.At(x, y) ^= 0x010101;
  EXPECT_EQ(FrameLookShown(damaged, m), 0);
}
