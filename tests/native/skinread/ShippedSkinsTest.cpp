// The skins that come with the program: the built-in skin "Slate" (version 70000) and the
// second skin "Sand" (version 20000), read back through the archive reader, the INI reader
// and the BMP decoder.
#include <gtest/gtest.h>

#include "base/BmpFile.h"
#include "resources/skin/BuiltinSkin.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/data/SkinRead.h"
#include "skin/data/Winskinini.h"

namespace lbb::skin {
namespace {

struct Loaded {
  TSkinReader reader;
  TQuickIni ini;
  String iniName;

  explicit Loaded(std::span<const uint8_t> bytes) {
    TMemoryStream block(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_TRUE(reader.Loadfromstream(block)) << reader.LastError();
    TMemoryStream entry;
    reader.readIni(u".ini", entry, iniName);
    ini.LoadFromStream(&entry);
  }
  // The image [section] key names, loaded as the skin loader does (folder part removed).
  PixelBuffer Image(std::u16string_view section, std::u16string_view key) const {
    String name = ini.ReadString(section, key, u"");
    name = name.substr(name.find_last_of(u"/\\") + 1);
    TMemoryStream entry;
    reader.readfile(name, entry);
    PixelBuffer img;
    DecodeBmp(entry.Bytes(), img);
    return img;
  }
  bool HasSection(std::u16string_view s) const {
    TStrings names;
    ini.ReadSections(&names);
    for (const String& n : names)
      if (SameTextAscii(n, s)) return true;
    return false;
  }
  int Int(std::u16string_view s, std::u16string_view k, int def) const {
    return ini.ReadInteger(s, k, def);
  }
};

TEST(BuiltinSkin, LoadsWithItsEntriesAndIni) {
  Loaded s(lbb::resources::BuiltinSkin());
  EXPECT_EQ(s.reader.header.Version, 70000);
  EXPECT_EQ(s.iniName, u"slate.ini");
  EXPECT_EQ(s.ini.ReadString(u"TitlebarSkin", u"SkinName", u""), u"Slate");
  // Entries lie back to back and fill the entry data exactly.
  int64_t end = 0;
  for (int i = 0; i < s.reader.Num; ++i) {
    EXPECT_EQ(s.reader.EntryOffset(i), end);
    end += s.reader.sizes[i];
  }
  EXPECT_EQ(end, s.reader.ms.Size());
  // One INI; every other entry is a BMP that decodes, and every image the INI names exists
  // (found case-insensitively: the INI writes "Buttons.bmp", the entry is "buttons.bmp").
  int images = 0;
  for (int i = 0; i < s.reader.Num; ++i) {
    if (s.reader.Dir[i] == s.iniName) continue;
    TMemoryStream e;
    s.reader.readfile(s.reader.Dir[i], e);
    PixelBuffer img;
    EXPECT_TRUE(DecodeBmp(e.Bytes(), img)) << TextToCp1252(s.reader.Dir[i]);
    ++images;
  }
  EXPECT_EQ(images, s.reader.Num - 1);
  EXPECT_EQ(s.ini.ReadString(u"Buttons", u"Bitmap", u""), u"Buttons.bmp");
  EXPECT_EQ(s.Image(u"Buttons", u"Bitmap").Width(), 5 * 22);
  for (const String& line : s.ini.IniFile()) {
    if (line.size() > 4 && line.substr(line.size() - 4) == u".bmp") {
      const String name = line.substr(line.find(u'=') + 1);
      TMemoryStream e;
      s.reader.readfile(name, e);
      EXPECT_GT(e.Size(), 0) << TextToCp1252(name);
    }
  }
}

TEST(BuiltinSkin, HasTheSectionsAndCellCountsTheProgramExpects) {
  Loaded s(lbb::resources::BuiltinSkin());
  for (const char16_t* sec : {u"TitlebarSkin",
                              u"Skins",
                              u"Buttons",
                              u"Progress",
                              u"Progress.Chunk",
                              u"Tabs",
                              u"Tab.Pane",
                              u"ComboButton",
                              u"StatusBarEdges",
                              u"Headerbar",
                              u"Scrollbar",
                              u"HorzScrollThumb",
                              u"VertScrollThumb",
                              u"HorzScroll",
                              u"VertScroll",
                              u"MenuBackground",
                              u"MenuItem",
                              u"ExtraImages",
                              u"Trackbar.ThumbHorz",
                              u"Trackbar.ThumbDown",
                              u"MDICONTROLS",
                              u"UpDown.Vert",
                              u"UpDown.Horz",
                              u"Button0",
                              u"Button1",
                              u"Button2",
                              u"Button3",
                              u"Button4",
                              u"Personality",
                              u"MinCaption",
                              u"Colours"})
    EXPECT_TRUE(s.HasSection(sec)) << TextToCp1252(sec);
  for (const char16_t* sec :
       {u"Track", u"TRACKVERT", u"GroupBoxEdge", u"GroupBox", u"ToolBars", u"SunkEdge"})
    EXPECT_FALSE(s.HasSection(sec)) << TextToCp1252(sec);
  // Five caption buttons; [Button4] opens the system menu and has no image.
  EXPECT_EQ(s.Int(u"Button4", u"Action", 0), 3);
  EXPECT_EQ(s.ini.ReadString(u"Button4", u"ButtonImage", u""), u"");
  EXPECT_FALSE(s.HasSection(u"Button5"));
  // [Button0]: 210 x 21 and no frame key, so six cells by its width-to-height ratio.
  const PixelBuffer close = s.Image(u"Button0", u"ButtonImage");
  EXPECT_EQ(close.Width(), 210);
  EXPECT_EQ(close.Height(), 21);
  EXPECT_EQ(s.Int(u"Button0", u"frame", 0), 0);
  // Check and radio images without frame keys: cells of 16 (height 16), so 12 and 8 cells.
  const PixelBuffer check = s.Image(u"Buttons", u"CheckButton"),
                    radio = s.Image(u"Buttons", u"RadioButton");
  EXPECT_EQ(check.Height(), 16);
  EXPECT_EQ(check.Width() / 16, 12);
  EXPECT_EQ(radio.Width() / 16, 8);
  EXPECT_EQ(s.Int(u"Buttons", u"CheckButtonFrame", 0), 0);
  EXPECT_EQ(s.Int(u"Headerbar", u"Frame", 0), 4);
  EXPECT_EQ(s.ini.ReadString(u"Progress.Chunk", u"Frame", u""), u"");
  const PixelBuffer arrows = s.Image(u"Scrollbar", u"Image");
  EXPECT_EQ(arrows.Width(), 23 * arrows.Height());
  EXPECT_EQ(s.Image(u"MDICONTROLS", u"Image").Width() % 12, 0);
  EXPECT_EQ(s.ini.ReadString(u"Colours", u"ButtonFace", u""), u"240 242 245");
}

TEST(BuiltinSkin, FrameHasKeyedRoundCornersAndTwoLooks) {
  Loaded s(lbb::resources::BuiltinSkin());
  const PixelBuffer left = s.Image(u"Personality", u"Left"), top = s.Image(u"Personality", u"Top");
  const PixelBuffer right = s.Image(u"Personality", u"Right"),
                    bottom = s.Image(u"Personality", u"Bottom");
  ASSERT_FALSE(left.Empty() || top.Empty() || right.Empty() || bottom.Empty());
  EXPECT_EQ(s.Int(u"Personality", u"LeftTrans", 0), 1);
  const int bw = left.Width() / 2, caption = top.Height() / 2;
  EXPECT_EQ(s.Int(u"Personality", u"LeftTopHeight", 0), caption);
  // The window's top-left and top-right corner pixels are cut away; the bottom corners stay.
  EXPECT_EQ(left.At(0, 0), 0xFF00FFu);
  EXPECT_EQ(right.At(bw - 1, 0), 0xFF00FFu);
  EXPECT_EQ(left.At(1, 1), 0xFF00FFu);  // the rounding spans several pixels
  EXPECT_NE(left.At(0, left.Height() - 1), 0xFF00FFu);
  EXPECT_NE(left.At(0, caption + 5), 0xFF00FFu);
  EXPECT_NE(top.At(top.Width() / 2, 0), 0xFF00FFu);
  // Active and inactive looks differ (cells side by side for left, stacked for top).
  EXPECT_NE(left.At(1, caption + 5), left.At(bw + 1, caption + 5));
  EXPECT_NE(top.At(top.Width() / 2, caption / 2), top.At(top.Width() / 2, caption + caption / 2));
}

TEST(SandSkin, DiffersFromTheBuiltinSkinWhereTestsNeedIt) {
  Loaded sand(lbb::resources::SandSkin()), slate(lbb::resources::BuiltinSkin());
  EXPECT_EQ(sand.reader.header.Version, 20000);
  EXPECT_EQ(sand.ini.ReadString(u"TitlebarSkin", u"SkinName", u""), u"Sand");
  const PixelBuffer left = sand.Image(u"Personality", u"Left"),
                    top = sand.Image(u"Personality", u"Top");
  EXPECT_NE(left.Width() / 2, slate.Image(u"Personality", u"Left").Width() / 2);
  EXPECT_NE(top.Height() / 2, slate.Image(u"Personality", u"Top").Height() / 2);
  // No colour-keyed frame.
  for (const char16_t* side : {u"Left", u"Right", u"Top", u"Bottom"}) {
    const PixelBuffer img = sand.Image(u"Personality", side);
    for (int i = 0; i < img.Width() * img.Height(); ++i)
      ASSERT_NE(img.Bits()[i], 0xFF00FFu) << TextToCp1252(side);
  }
  // A caption-button section without action that is shown (Visibility 0), and one without a
  // Visibility key, which is no caption button.
  EXPECT_EQ(sand.Int(u"ButtonEmblem", u"Action", 0), -1);
  EXPECT_EQ(sand.ini.ReadString(u"ButtonEmblem", u"Visibility", u""), u"0");
  EXPECT_EQ(sand.Int(u"ButtonUnused", u"Action", 0), -1);
  EXPECT_EQ(sand.ini.ReadString(u"ButtonUnused", u"Visibility", u""), u"");
  // Caption buttons of three cells (ratio at most 3.8), check cells of 13 pixels.
  const PixelBuffer close = sand.Image(u"ButtonClose", u"ButtonImage");
  EXPECT_LE(close.Width(), 3.8 * close.Height());
  EXPECT_EQ(sand.Image(u"Buttons", u"CheckButton").Height(), 13);
  EXPECT_FALSE(sand.Image(u"Track", u"Image").Empty());
}

}  // namespace
}  // namespace lbb::skin
