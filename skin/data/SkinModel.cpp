#include "skin/data/SkinModel.h"

#include <algorithm>
#include <cstdint>

#include "base/BmpFile.h"
#include "base/Text.h"
#include "skin/data/imgutil.h"

namespace lbb::skin {

namespace {

// The keys of the scheme colours in reading order: `Menubar` (13) comes after `ButtonFace` (3)
// because it defaults to it.
struct TColourKey {
  int index;
  const char16_t* key;
  int sysDefault;  // system colour index; -1: Colors[3] as read
};
constexpr TColourKey kColourKeys[] = {
    {0, u"WindowText", kColorWindowText},
    {3, u"ButtonFace", kColorBtnFace},
    {18, u"Scrollbar", kColorScrollbar},
    {11, u"HilightText", kColorHighlightText},
    {12, u"Hilight", kColorHighlight},
    {13, u"Menubar", -1},
    {16, u"Menu", kColorMenu},
    {15, u"MenuText", kColorMenuText},
    {4, u"ButtonText", kColorBtnText},
    {5, u"ButtonHilight", kColorBtnHighlight},
    {6, u"Buttonlight", kColorBtnHighlight},
    {7, u"ButtonShadow", kColorBtnShadow},
    {8, u"ButtonDkShadow", kColor3DDkShadow},
    {14, u"MenuBarText", kColorMenuText},
    {1, u"TitleTextActive", kColorCaptionText},
    {2, u"TitleTextNoActive", kColorInactiveCaptionText},
};

constexpr const char16_t* kSides[4] = {u"Left", u"Right", u"Top", u"Bottom"};

String Cat(std::u16string_view a, std::u16string_view b) {
  String t(a);
  t += b;
  return t;
}

}  // namespace

TSkinModel::TParseScope::~TParseScope() {
  model.reader.reset();
  model.ms.reset();
  model.ini.reset();
  model.sectionlist.reset();
}

TColor ParseColourTriple(std::u16string_view text, TColor def) {
  const String t = Trim(text);
  if (t.empty()) return def;
  int64_t parts[3] = {0, 0, 0};
  int stored = 0;
  int64_t value = 0;
  bool digits = false, fits = true;
  auto store = [&] {
    if (digits && fits && stored < 3) parts[stored++] = value;
    value = 0, digits = false, fits = true;
  };
  for (char16_t c : t) {
    if (c >= u'0' && c <= u'9') {
      value = value * 10 + (c - u'0');
      if (value > INT32_MAX) fits = false, value = INT32_MAX;
      digits = true;
    } else {
      store();
    }
  }
  if (stored == 2) store();
  return static_cast<TColor>((parts[0] & 255) | (parts[1] & 255) << 8 | (parts[2] & 255) << 16);
}

TSkinModel::TSkinModel() {
  Title = std::make_unique<TDataSkinTitle>(u"Title");
  for (int i = 0; i < 4; ++i)
    border[static_cast<size_t>(i)] = std::make_unique<TDataSkinBorder>(kSides[i]);
  Button = std::make_unique<TDataSkinButton>(u"Buttons");
  for (const TColourKey& k : kColourKeys)
    Colors[static_cast<size_t>(k.index)] =
        SysColor(k.sysDefault < 0 ? kColorBtnFace : k.sysDefault);
  Colors[kShemeCaption] = Colors[kShemeButtonFace];
  PresetColors.fill(0xFFFFFF);
}

TSkinModel::~TSkinModel() = default;

bool TSkinModel::ParseSkin() {
  Empty = true;
  if (IsDesignTime()) return false;
  TParseScope scope{*this};
  reader = std::make_unique<TSkinReader>();
  if (!reader->Loadfromstream(data)) return false;
  ini = std::make_unique<TQuickIni>();
  ms = std::make_unique<TMemoryStream>();
  String iniName;
  reader->readIni(u".ini", *ms, iniName);
  ini->LoadFromStream(ms.get());
  ReadSkin();
  return !Empty;
}

void TSkinModel::ReadSkin() {
  hiDpi.clear();
  sectionlist = std::make_unique<TStrings>();
  ini->ReadSections(sectionlist.get());
  SkinName = ini->ReadString(u"TitlebarSkin", u"SkinName", u"");
  ReadBorders();
  ReadColours();
  ReadSysButtons();
  ReadButtons();
  ReadTitle();
  ReadControls();
  SetFrameCounts();
  MakeComboImages();
  MakeComboArrow();
  MakeToolbarImage();
  Colors[kShemeCaption] = GetCaptionColor();
  sectionlist.reset();
  Empty = false;
  SkinParsed();
}

void TSkinModel::Readbmp(PixelBuffer& bmp, std::u16string_view fname) {
  bmp = PixelBuffer();
  if (!reader) return;
  const size_t slash = fname.find_last_of(u"/\\");
  const std::u16string_view name =
      slash == std::u16string_view::npos ? fname : fname.substr(slash + 1);
  if (name.size() < 4 || name.substr(name.size() - 4) != u".bmp") return;
  TMemoryStream entry;
  reader->readfile(name, entry);
  if (entry.Size() == 0 || !DecodeBmp(entry.Bytes(), bmp)) bmp = PixelBuffer();
  if (targetDpi != 2 * 96) return;
  const String two = Cat(name.substr(0, name.size() - 4), u"@2x.bmp");
  TMemoryStream twoEntry;
  reader->readfile(two, twoEntry);
  if (twoEntry.Size() == 0) return;
  THiDpiImage hi{&bmp, two, bmp, PixelBuffer()};
  if (!DecodeBmp(twoEntry.Bytes(), hi.Two)) hi.Two = PixelBuffer();
  hiDpi.push_back(std::move(hi));
}

bool TSkinModel::GetPrecolor(TColor& acolor, int n) const {
  if (n < 0 || n >= static_cast<int>(ColorPreset.size())) return false;
  acolor = ColorPreset[static_cast<size_t>(n)];
  return true;
}

uint32_t TSkinModel::SchemeRGB(int index) const {
  return ColorToRGB(Colors[static_cast<size_t>(index)]);
}

String TSkinModel::GetFileName(std::u16string_view s) {
  const size_t dot = s.find(u'.');
  return dot == std::u16string_view::npos ? String() : String(s.substr(0, dot));
}

TColor TSkinModel::GetCaptionColor() const {
  const TDataSkinBorder* top = border[kBorderTop].get();
  if (!top || top->Map.Empty()) return Colors[kShemeButtonFace];
  const int cells = top->frame > 0 ? top->frame : 1;
  const Pixel p = top->Map.Get(top->Map.Width() / 3, (top->Map.Height() / cells) / 3);
  return static_cast<TColor>(ColourOf(p & 0xFFFFFF));
}

int TSkinModel::Int(std::u16string_view section, std::u16string_view key, int def) const {
  return ini->ReadInteger(section, key, def);
}

int TSkinModel::Cells(std::u16string_view section, std::u16string_view key, int def) const {
  const int n = Int(section, key, def);
  return n < 0 ? def : n;
}

String TSkinModel::Str(std::u16string_view section, std::u16string_view key) const {
  return ini->ReadString(section, key, u"");
}

TColor TSkinModel::Triple(std::u16string_view section, std::u16string_view key, TColor def) const {
  return ParseColourTriple(Str(section, key), def);
}

void TSkinModel::ReadBorders() {
  for (int i = 0; i < 4; ++i) {
    TDataSkinBorder& b = *border[static_cast<size_t>(i)];
    const String x = kSides[i];
    const int a = Int(u"Personality", Cat(x, u"TopHeight"), 0);
    const int z = Int(u"Personality", Cat(x, u"BotHeight"), 0);
    b.r = i < 2 ? TRect{0, a, 0, z} : TRect{a, 0, z, 0};
    b.frame = Cells(u"Personality", Cat(x, u"Frame"), 1);
    b.Tile = Int(u"Personality", Cat(x, u"Stretch"), 1);
    if (b.Tile > 1) b.Tile = 1;
    b.trans = Int(u"Personality", Cat(x, u"Trans"), 1);
    Readbmp(b.Map, Str(u"Personality", x));
  }
}

void TSkinModel::ReadColours() {
  for (const TColourKey& k : kColourKeys) {
    const size_t i = static_cast<size_t>(k.index);
    const String v = Str(u"Colours", k.key);
    hasColors[i] = !v.empty();
    const TColor def = k.sysDefault < 0 ? Colors[kShemeButtonFace] : SysColor(k.sysDefault);
    Colors[i] = ParseColourTriple(v, def);
  }
  ColorPreset.clear();
  for (const String& s : *sectionlist) {
    const String up = UpperAscii(s);
    if (up.rfind(u"COLOUR", 0) == 0 && up != u"COLOURS")
      ColorPreset.push_back(Triple(s, u"color", SysColor(kColorWindowText)));
  }
  for (int i = 0; i < 10; ++i) {
    const String key = Cat(u"Color", String(1, static_cast<char16_t>(u'0' + i)));
    PresetColors[static_cast<size_t>(i)] = Triple(u"Customcolors", key, 0xFFFFFF);
  }
}

void TSkinModel::ReadCommon(TDataSkinObject& o, std::u16string_view section, bool colours) const {
  o.style = Int(section, u"Style", 0);
  o.r = {Int(section, u"LeftWidth", 0), Int(section, u"TopHeight", 0),
         Int(section, u"RightWidth", 0), Int(section, u"BottomHeight", 0)};
  o.trans = Int(section, u"Trans", 0);
  o.Tile = Int(section, u"Tile", 0);
  if (o.Tile > 1) o.Tile = 0;
  if (!colours) return;
  o.Normalcolor = Int(section, u"NormalColour", -1);
  o.Overcolor = Int(section, u"MouseOverColour", -1);
  o.Downcolor = Int(section, u"PressedColour", -1);
  const TColor text = Colors[kShemeButtonText];
  o.Normalcolor2 = Triple(section, u"NormalColour2", text);
  o.Overcolor2 = Triple(section, u"MouseOverColour2", text);
  o.Downcolor2 = Triple(section, u"PressedColour2", text);
}

std::unique_ptr<TDataSkinObject> TSkinModel::ReadSkinObject(std::u16string_view section) {
  const String image = Str(section, u"Image");
  if (image.empty()) return nullptr;
  auto o = std::make_unique<TDataSkinObject>(String(section));
  Readbmp(o->Map, image);
  ReadCommon(*o, section, true);
  o->frame = Cells(section, u"Frame", 0);
  return o;
}

std::unique_ptr<TDataSkinBorder> TSkinModel::ReadSkinBorder(std::u16string_view section,
                                                            std::u16string_view second) {
  const String image = Str(section, u"Image");
  if (image.empty()) return nullptr;
  auto o = std::make_unique<TDataSkinBorder>(String(section));
  Readbmp(o->Map, image);
  ReadCommon(*o, section, true);
  const String mask = Str(section, second);
  if (!mask.empty()) Readbmp(o->MaskMap, mask);
  return o;
}

void TSkinModel::ReadButtons() {
  auto b = std::make_unique<TDataSkinButton>(u"Buttons");
  const std::u16string_view s = u"Buttons";
  Readbmp(b->Map, Str(s, u"Bitmap"));
  ReadCommon(*b, s, true);
  b->style = 0;
  Readbmp(b->CheckMap, Str(s, u"CheckButton"));
  Readbmp(b->RadioMap, Str(s, u"RadioButton"));
  b->radioframe = Cells(s, u"RadioButtonFrame", 0);
  b->checkframe = Cells(s, u"CheckButtonFrame", 0);
  b->newnormal = !Str(s, u"NormalColour2").empty();
  b->newover = !Str(s, u"MouseOverColour2").empty();
  b->newdown = !Str(s, u"PressedColour2").empty();
  Button = std::move(b);
}

void TSkinModel::ReadTitle() {
  TDataSkinTitle& t = *Title;
  const std::u16string_view s = u"Personality";
  Readbmp(t.Map, Str(s, u"TextBack"));
  t.r = {Int(s, u"TextShift", 0), Int(s, u"TextShiftVert", 0), Int(s, u"TextRightClip", 0), 0};
  t.Aligment = Int(s, u"TextAlignment", 0);
  t.BackGround = Int(s, u"Textbackground", 0);
  t.backleft = Int(s, u"TXTBackleft", 0);
  t.backright = Int(s, u"TXTBackRight", 0);
  t.FontHeight = Int(u"Fonts", u"FontHeight", 14);
  auto rgb = [&](std::u16string_view prefix) -> TColor {
    const int r = Int(s, Cat(prefix, u"R"), -1), g = Int(s, Cat(prefix, u"G"), -1),
              b = Int(s, Cat(prefix, u"B"), -1);
    if (r < 0 || g < 0 || b < 0) return 0x1FFFFFFF;
    return (r & 255) | (g & 255) << 8 | (b & 255) << 16;
  };
  t.activetext = rgb(u"ActiveText");
  t.inactivetext = rgb(u"InActiveText");
}

std::unique_ptr<TDataSkinObject> TSkinModel::ReadTrack(std::u16string_view section) {
  std::unique_ptr<TDataSkinObject> o = ReadSkinObject(section);
  if (o && !o->Map.Empty()) return o;
  const bool vertical = section == u"TRACKVERT";
  o = std::make_unique<TDataSkinObject>(vertical ? u"TRACKVERT" : u"TRACK");
  o->Map = SkinSystem().NamedBitmap(o->IDName);
  o->r = {3, 3, 3, 3};
  o->Tile = 0;
  o->frame = 1;
  return o;
}

void TSkinModel::ReadControls() {
  {
    const std::u16string_view s = u"Progress";
    progress.reset();
    const String image = Str(s, u"Bitmap");
    if (!image.empty()) {
      progress = std::make_unique<TDataSkinBorder>(String(s));
      Readbmp(progress->Map, image);
      ReadCommon(*progress, s, false);
      progress->Tile = Int(s, u"Tile", 0) > 1 ? 1 : Int(s, u"Tile", 0);
    }
  }
  progresschunk = ReadSkinObject(u"Progress.Chunk");
  Menubar.reset();
  if (const String image = Str(u"Personality", u"menuBar"); !image.empty()) {
    Menubar = std::make_unique<TDataSkinObject>(u"menuBar");
    Readbmp(Menubar->Map, image);
    Menubar->Tile = std::min(Int(u"Personality", u"TileMenu", 1), 1);
    Menubar->r = {Int(u"Personality", u"TileLeftMenu", 1), 0,
                  Int(u"Personality", u"TileRightMenu", 1), 0};
  }
  Box = ReadSkinObject(u"GroupBoxEdge");
  boxlabel.reset();
  if (const String image = Str(u"GroupBox", u"Image"); !image.empty()) {
    boxlabel = std::make_unique<TDataSkinBoxLabel>(u"GroupBox");
    Readbmp(boxlabel->Map, image);
    ReadCommon(*boxlabel, u"GroupBox", true);
    boxlabel->Alignment = Int(u"GroupBox", u"BackgroundAlignment", 0);
    boxlabel->LeftShift = Int(u"GroupBox", u"BackgroundLeftShift", 0);
    boxlabel->RightShift = Int(u"GroupBox", u"BackgroundRightShift", 0);
  }
  tab = ReadSkinBorder(u"Tabs", u"Border");
  StatusBar = ReadSkinObject(u"StatusBarEdges");
  TabSheet = ReadSkinObject(u"Tab.Pane");
  if (TabSheet) {
    TRect& r = TabSheet->r;
    r = {std::min(r.Left, 4), std::min(r.Top, 4), std::min(r.Right, 4), std::min(r.Bottom, 4)};
  }
  Toolbarbtn = ReadSkinObject(u"ToolBars");
  combox = ReadSkinBorder(u"ComboButton", u"****");
  Comboxborder = ReadSkinObject(u"SunkEdge");
  if (combox && !combox->Map.Empty()) {
    combox->MaskMap = combox->Map;
    MirrorImage(combox->MaskMap);
  }
  ExtraImages = ReadSkinObject(u"ExtraImages");
  Header = ReadSkinObject(u"Headerbar");
  MenuItem = ReadSkinObject(u"MenuItem");
  MenuitemBG = ReadSkinObject(u"MenuBackground");
  SArrow = ReadSkinObject(u"Scrollbar");
  HBar = ReadSkinObject(u"HorzScroll");
  VBar = ReadSkinObject(u"VertScroll");
  HSlider = ReadSkinObject(u"HorzScrollThumb");
  VSlider = ReadSkinObject(u"VertScrollThumb");
  TrackHorz = ReadSkinObject(u"Trackbar.ThumbHorz");
  TrackVert = ReadSkinObject(u"Trackbar.ThumbVert");
  TrackLeft = ReadSkinObject(u"Trackbar.ThumbLeft");
  Trackright = ReadSkinObject(u"Trackbar.ThumbRight");
  Tracktop = ReadSkinObject(u"Trackbar.ThumbUp");
  Trackbottom = ReadSkinObject(u"Trackbar.ThumbDown");
  HSpin = ReadSkinBorder(u"UpDown.Horz", u"GlyphImage");
  VSpin = ReadSkinBorder(u"UpDown.Vert", u"GlyphImage");
  TrackBar = ReadTrack(u"Track");
  TrackBarVert = ReadTrack(u"TRACKVERT");
}

}  // namespace lbb::skin
