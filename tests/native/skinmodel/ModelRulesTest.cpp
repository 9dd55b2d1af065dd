// The parse rules on hand-made skins: colour triples, defaults, clamps, caption-button rules,
// the combined combo images and failures.
#include <gtest/gtest.h>

#include "skin/data/SkinModel.h"
#include "skin/data/WinConvert.h"
#include "skin/data/imgutil.h"
#include "tests/native/skinmodel/SkinBuilder.h"

namespace {

using namespace lbb;
using namespace lbb::skin;
using skintest::Pack;
using skintest::Parse;
using skintest::Solid;

TEST(ParseColourTriple, NumbersSeparatedByAnyNonDigits) {
  EXPECT_EQ(ParseColourTriple(u"236 233 216", 7), 0xD8E9EC);
  EXPECT_EQ(ParseColourTriple(u"236,233,216", 7), 0xD8E9EC);
  EXPECT_EQ(ParseColourTriple(u"  236 ; 233 x 216  ", 7), 0xD8E9EC);
  EXPECT_EQ(ParseColourTriple(u"255", 7), 0);     // one number alone: black
  EXPECT_EQ(ParseColourTriple(u"10 20", 7), 10);  // the pending second is dropped
  EXPECT_EQ(ParseColourTriple(u"1 2 3 4", 7), 0x030201);
  EXPECT_EQ(ParseColourTriple(u"300 2 513", 7), 0x01022C);          // masked to 8 bits
  EXPECT_EQ(ParseColourTriple(u"99999999999 1 2 3", 7), 0x030201);  // too big: skipped
  EXPECT_EQ(ParseColourTriple(u"", 7), 7);
  EXPECT_EQ(ParseColourTriple(u"   ", -3), -3);
  EXPECT_EQ(ParseColourTriple(u"red", 7), 0);
}

TEST(SkinModelParse, SkinWithoutColoursUsesSystemReferences) {
  TSkinModel m;
  ASSERT_TRUE(Parse(m, Pack({"[TitlebarSkin]\r\nSkinName=Bare\r\n", {}})));
  EXPECT_EQ(m.SkinName, u"Bare");
  for (bool has : m.hasColors)
    EXPECT_FALSE(has);
  EXPECT_EQ(m.Colors[kShemeMenubar], SysColor(kColorBtnFace));
  EXPECT_EQ(m.Colors[kShemeWindowText], SysColor(kColorWindowText));
  EXPECT_EQ(m.Colors[kShemeButtonlight], SysColor(kColorBtnHighlight));
  EXPECT_EQ(m.Colors[kShemeTitleTextNoActive], SysColor(kColorInactiveCaptionText));
  EXPECT_EQ(m.Colors[kShemeCaption], SysColor(kColorBtnFace));  // no Top image
  // Every element but the always-present ones is absent; the tracks are built in.
  EXPECT_FALSE(m.progress);
  EXPECT_FALSE(m.SArrow);
  EXPECT_FALSE(m.combox);
  EXPECT_EQ(m.SysBtn.size(), 3u);
  EXPECT_TRUE(m.SysBtn[0]->Map.Empty());
  EXPECT_EQ(m.Button->checkframe, 4);
  EXPECT_EQ(m.TrackBar->IDName, u"TRACK");
  EXPECT_EQ(m.Title->activetext, 0x1FFFFFFF);
}

TEST(SkinModelParse, PresetsDefaultsAndClamps) {
  const std::string ini =
      "[Colours]\r\nButtonFace=1 2 3\r\nMenubar=\r\n"
      "[Colour1]\r\ncolor=9 8 7\r\n[ColourTwo]\r\n[Colours2]\r\ncolor=1,1,1\r\n"
      "[Customcolors]\r\nColor3=0 0 255\r\n"
      "[Personality]\r\nTopStretch=5\r\nActiveTextR=1\r\nActiveTextG=2\r\n"
      "InActiveTextR=1\r\nInActiveTextG=2\r\nInActiveTextB=3\r\n"
      "[Tab.Pane]\r\nImage=pane.bmp\r\nLeftWidth=9\r\nTopHeight=2\r\nRightWidth=5\r\n"
      "BottomHeight=4\r\nTile=3\r\n"
      "[Progress]\r\nBitmap=p.bmp\r\nTile=7\r\nStyle=1\r\n"
      "[Headerbar]\r\nImage=h.bmp\r\nFrame=3\r\n"
      "[VertScrollThumb]\r\nImage=t.bmp\r\nFrameCount=2\r\n";
  TSkinModel m;
  ASSERT_TRUE(Parse(m, Pack({ini,
                             {{"pane.bmp", Solid(9, 9, 1)},
                              {"p.bmp", Solid(4, 4, 2)},
                              {"h.bmp", Solid(30, 9, 3)},
                              {"t.bmp", Solid(8, 9, 4)}}})));
  EXPECT_EQ(m.Colors[kShemeButtonFace], 0x030201);
  EXPECT_FALSE(m.hasColors[kShemeMenubar]);
  EXPECT_EQ(m.Colors[kShemeMenubar], 0x030201);
  ASSERT_EQ(m.ColorPreset.size(), 3u);  // Colour1, ColourTwo, Colours2 in section order
  EXPECT_EQ(m.ColorPreset[0], 0x070809);
  EXPECT_EQ(m.ColorPreset[1], SysColor(kColorWindowText));
  EXPECT_EQ(m.ColorPreset[2], 0x010101);
  TColor c = 0;
  EXPECT_TRUE(m.GetPrecolor(c, 2));
  EXPECT_EQ(c, 0x010101);
  EXPECT_FALSE(m.GetPrecolor(c, 3));
  EXPECT_FALSE(m.GetPrecolor(c, -1));
  EXPECT_EQ(m.PresetColors[3], 0xFF0000);
  EXPECT_EQ(m.PresetColors[4], 0xFFFFFF);
  EXPECT_EQ(m.border[kBorderTop]->Tile, 1);
  EXPECT_EQ(m.Title->activetext, 0x1FFFFFFF);  // B missing
  EXPECT_EQ(m.Title->inactivetext, 0x030201);
  ASSERT_TRUE(m.TabSheet);
  EXPECT_EQ(m.TabSheet->r, (TRect{4, 2, 4, 4}));
  EXPECT_EQ(m.TabSheet->Tile, 0);
  EXPECT_EQ(m.progress->Tile, 1);
  EXPECT_EQ(m.progress->frame, 1);
  EXPECT_EQ(m.Header->frame, 3);
  EXPECT_EQ(m.VSlider->frame, 2);
}

// A damaged skin's negative cell counts read as absent: the caption button's count is derived
// from its image, an element's stays unset, a border's is the default 1.
TEST(SkinModelParse, NegativeCellCountsReadAsAbsent) {
  const std::string ini =
      "[Personality]\r\nTop=t.bmp\r\nTopFrame=-2\r\n"
      "[Buttons]\r\n[Headerbar]\r\nImage=b.bmp\r\nFrame=-7\r\n"
      "[Button.Radio]\r\n[button.checkbox]\r\n"
      "[Button]\r\nImage=b.bmp\r\nRadioButtonFrame=-1\r\nCheckButtonFrame=-4\r\n"
      "[ButtonX]\r\nAction=0\r\nButtonImage=sq.bmp\r\nframe=-3\r\n"
      "[HorzScrollThumb]\r\nImage=b.bmp\r\nFrameCount=-9\r\n";
  TSkinModel m;
  ASSERT_TRUE(Parse(m, Pack({ini,
                             {{"t.bmp", Solid(8, 8, 1)},
                              {"b.bmp", Solid(40, 10, 1)},
                              {"sq.bmp", Solid(38, 10, 2)}}})));
  EXPECT_EQ(m.border[kBorderTop]->frame, 1);
  ASSERT_FALSE(m.SysBtn.empty());
  EXPECT_EQ(m.SysBtn[0]->frame, 3);  // derived: 38 / 10 = 3.8
  ASSERT_TRUE(m.Button);
  EXPECT_EQ(m.Button->radioframe, 4);  // derived from the glyph images, as when absent
  EXPECT_EQ(m.Button->checkframe, 4);
  ASSERT_TRUE(m.Header);
  EXPECT_EQ(m.Header->frame, 5);  // as without a count
  ASSERT_TRUE(m.HSlider);
  EXPECT_EQ(m.HSlider->frame, 3);
}

TEST(SkinModelParse, CaptionButtonRules) {
  const std::string ini =
      "[Button]\r\nAction=0\r\n[Buttons]\r\n[Button.Radio]\r\n[button.checkbox]\r\n"
      "[ButtonA]\r\nAction=-1\r\n"
      "[ButtonB]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=b.bmp\r\n"
      "[ButtonC]\r\nAction=-1\r\nVisibility=3\r\n"
      "[buttonMax]\r\nAction=1\r\nVisibility=2\r\nXCoord=50\r\nYcoord=4\r\nButtonImage=sq.bmp\r\n"
      "[ButtonHelp]\r\nAction=4\r\nXCoord=1\r\nYCoord=1\r\nCombineOp=2\r\n"
      "[ButtonSys]\r\nAction=11\r\nButtonImage=sq.bmp\r\n"
      "[ButtonSys2]\r\nAction=11\r\nButtonImage=sq.bmp\r\nframe=2\r\n"
      "[MDICONTROLS]\r\nImage=mdi.bmp\r\n";
  PixelBuffer mdi(12 * 5, 7);
  for (int x = 0; x < mdi.Width(); ++x)
    for (int y = 0; y < 7; ++y)
      mdi.At(x, y) = static_cast<Pixel>(x);
  TSkinModel m;
  ASSERT_TRUE(Parse(
      m,
      Pack({ini, {{"b.bmp", Solid(40, 10, 1)}, {"sq.bmp", Solid(38, 10, 2)}, {"mdi.bmp", mdi}}})));
  ASSERT_EQ(m.SysBtn.size(), 5u + 3u);
  const TDataSkinSysButton& b = *m.SysBtn[0];
  EXPECT_EQ(b.IDName, u"BUTTONB");
  EXPECT_EQ(b.Visibility1, -1);
  EXPECT_EQ(b.frame, 6);  // Action below 0: always 6
  const TDataSkinSysButton& max = *m.SysBtn[1];
  EXPECT_EQ(max.IDName, u"BUTTONMAX");
  EXPECT_EQ(max.frame, 3);  // 38 / 10 = 3.8
  EXPECT_EQ(max.Visibility1, 0);
  const TDataSkinSysButton& help = *m.SysBtn[2];
  EXPECT_EQ(help.XCoord, 50);
  EXPECT_EQ(help.YCoord, 4);
  EXPECT_EQ(help.CombineOp, 2);
  EXPECT_EQ(help.frame, 6);                // no image
  EXPECT_TRUE(m.SysBtn[3]->Map.Empty());   // Action 11 without a frame count: icon
  EXPECT_FALSE(m.SysBtn[4]->Map.Empty());  // with a frame count the image stays
  EXPECT_EQ(m.SysBtn[4]->frame, 2);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& x = *m.SysBtn[5 + static_cast<size_t>(i)];
    ASSERT_EQ(x.Map.Width(), 20);
    ASSERT_EQ(x.Map.Height(), 7);
    EXPECT_EQ(x.Map.At(0, 3), static_cast<Pixel>(20 * i));
    EXPECT_EQ(x.Map.At(19, 6), static_cast<Pixel>(20 * i + 19));
    EXPECT_EQ(x.XCoord, 9 * (3 - i));
  }
}

TEST(SkinModelParse, CombinedComboImagesWithASunkenEdge) {
  const std::string ini =
      "[SunkEdge]\r\nImage=edge.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\n"
      "BottomHeight=2\r\n[ComboButton]\r\nImage=btn.bmp\r\nLeftWidth=1\r\nRightWidth=1\r\n";
  PixelBuffer edge(40, 10), btn(4 * 17, 21);
  for (int c = 0; c < 4; ++c) {
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        edge.At(10 * c + x, y) = static_cast<Pixel>(0x100 * (c + 1));
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 17; ++x)
        btn.At(17 * c + x, y) = static_cast<Pixel>(0x10 * (c + 1));
  }
  TSkinModel m;
  ASSERT_TRUE(Parse(m, Pack({ini, {{"edge.bmp", edge}, {"btn.bmp", btn}}})));
  ASSERT_TRUE(m.combox);
  ASSERT_TRUE(m.Comboxborder);
  const int w = SkinSystem().SystemMetric(kSmCxHScroll) + 2;
  EXPECT_EQ(m.combox->style, 2);
  EXPECT_EQ(m.combox->r, (TRect{2, 2, w + 2, 2}));
  EXPECT_EQ(m.Comboxborder->r, (TRect{w + 2, 2, 2, 2}));
  const PixelBuffer& strip = m.combox->Map;
  ASSERT_EQ(strip.Width(), 200);
  ASSERT_EQ(strip.Height(), 21);
  for (int c = 0; c < 4; ++c) {
    const int x0 = 50 * c;
    EXPECT_EQ(strip.At(x0, 0), static_cast<Pixel>(0x100 * (c + 1)));  // the edge
    EXPECT_EQ(strip.At(x0 + 10, 10), 0xFF00FFu);                      // the hole
    EXPECT_EQ(strip.At(x0 + 49 - w, 10), static_cast<Pixel>(0x100 * (c + 1)));
    EXPECT_EQ(strip.At(x0 + 50 - w, 10), static_cast<Pixel>(0x10 * (c + 1)));  // button
  }
  // The edge is the strip mirrored.
  EXPECT_EQ(m.Comboxborder->Map.At(199, 0), strip.At(0, 0));
  EXPECT_EQ(m.Comboxborder->Map.At(150, 10), strip.At(49, 10));
  // The arrow: 17 x 17 cells cut from the right of each strip cell.
  ASSERT_TRUE(m.comboxarrow);
  EXPECT_EQ(m.comboxarrow->frame, 4);
  ASSERT_EQ(m.comboxarrow->Map.Width(), 68);
  ASSERT_EQ(m.comboxarrow->Map.Height(), 17);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(m.comboxarrow->Map.At(17 * i, 0), strip.At((i + 1) * 50 - 19, 2));
}

TEST(SkinModelParse, ImageNamesFollowTheArchiveRules) {
  const std::string ini =
      "[Scrollbar]\r\nImage=skins\\sub/Arrow.bmp\r\n"
      "[HorzScroll]\r\nImage=Arrow.BMP\r\n"
      "[VertScroll]\r\nImage=missing.bmp\r\n";
  TSkinModel m;
  ASSERT_TRUE(Parse(m, Pack({ini, {{"arrow.bmp", Solid(23, 4, 5)}}})));
  ASSERT_TRUE(m.SArrow);
  EXPECT_EQ(m.SArrow->Map.Width(), 23);
  ASSERT_TRUE(m.HBar);  // the section names an image: present, its image empty
  EXPECT_TRUE(m.HBar->Map.Empty());
  ASSERT_TRUE(m.VBar);
  EXPECT_TRUE(m.VBar->Map.Empty());
  EXPECT_EQ(TSkinModel::GetFileName(u"Arrow.bmp"), u"Arrow");
  EXPECT_EQ(TSkinModel::GetFileName(u"a.b.c"), u"a");
  EXPECT_EQ(TSkinModel::GetFileName(u"noext"), u"");
}

TEST(SkinModelParse, UnknownVersionKeepsThePreviousElements) {
  TSkinModel m;
  ASSERT_TRUE(Parse(m, Pack({"[TitlebarSkin]\r\nSkinName=First\r\n[Scrollbar]\r\nImage=a.bmp\r\n",
                             {{"a.bmp", Solid(23, 2, 1)}}})));
  // An archive of a version the reader does not know (12345).
  std::vector<uint8_t> raw(16, 0);
  raw[0] = 0x39, raw[1] = 0x30;  // 12345
  lbb::skin::TMemoryStream in(raw), packed;
  lbb::skin::CompressBlock(in, packed);
  EXPECT_FALSE(Parse(m, packed.Bytes()));
  EXPECT_TRUE(m.Empty);
  EXPECT_EQ(m.SkinName, u"First");
  EXPECT_TRUE(m.SArrow);
  EXPECT_FALSE(m.Parsing());
}

}  // namespace
