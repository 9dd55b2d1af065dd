#include "tools/skintool/PreviewElements.h"

#include <cctype>

#include "base/BmpFile.h"
#include "base/Text.h"
#include "skin/data/SkinModel.h"

namespace skintool {

namespace {

using lbb::String;

String W(const std::string& s) {
  return String(s.begin(), s.end());
}

std::string N(const String& t) {
  return lbb::skin::TextToCp1252(t);
}

class ViewReader {
 public:
  ViewReader(const lbb::skin::TSkinReader& r, SkinView& v) : reader_(r), view_(v) {}

  int Int(const std::string& sec, const std::string& key, int def) const {
    return view_.ini.ReadInteger(W(sec), W(key), def);
  }

  // The image the INI names under [sec] key, loaded as the skin loader would.
  PixelBuffer Image(const std::string& sec, const std::string& key) const {
    String name = view_.ini.ReadString(W(sec), W(key), u"");
    name = name.substr(name.find_last_of(u"/\\") + 1);
    PixelBuffer img;
    if (name.size() < 4 || name.substr(name.size() - 4) != u".bmp") return img;
    lbb::skin::TMemoryStream entry;
    reader_.readfile(name, entry);
    lbb::DecodeBmp(entry.Bytes(), img);
    return img;
  }

  // Adds [sec] key as an element; returns it or null when the image is missing.
  Element* Add(const std::string& sec, const std::string& key, int cells, bool columns, bool keyed,
               const std::string& id = "") {
    PixelBuffer img = Image(sec, key);
    if (img.Empty()) return nullptr;
    const std::string k = id.empty() ? sec : id;
    Element& e = view_.elements[k];
    e.label = sec + " " + key;
    e.img = std::move(img);
    e.cells = cells > 0 ? cells : 1;
    e.columns = columns;
    e.keyed = keyed;
    e.margins = {Int(sec, "LeftWidth", 0), Int(sec, "TopHeight", 0), Int(sec, "RightWidth", 0),
                 Int(sec, "BottomHeight", 0)};
    view_.order.push_back(k);
    return &e;
  }

  void Standard(const std::string& sec, int cells) {
    Add(sec, "Image", cells, false, Int(sec, "Trans", 0) == 1);
  }

  void Borders() {
    const char* sides[] = {"Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 4; ++i) {
      const std::string s = sides[i];
      if (Element* e = Add("Personality", s, Int("Personality", s + "Frame", 1), i >= 2,
                           Int("Personality", s + "Trans", 1) == 1, s)) {
        const int a = Int("Personality", s + "TopHeight", 0),
                  b = Int("Personality", s + "BotHeight", 0);
        e->margins = i < 2 ? Rect{0, a, 0, b} : Rect{a, 0, b, 0};
      }
    }
    if (Element* e = Add("Personality", "TextBack", 2, true, true, "TextBack"))
      e->margins = {Int("Personality", "TXTBackleft", 0), 0, Int("Personality", "TXTBackRight", 0),
                    0};
    if (Element* e = Add("Personality", "menuBar", 2, true, false, "MenuBar"))
      e->margins = {Int("Personality", "TileLeftMenu", 1), 0,
                    Int("Personality", "TileRightMenu", 1), 0};
  }

  void Buttons() {
    Add("Buttons", "Bitmap", 5, false, Int("Buttons", "Trans", 0) == 1);
    for (const char* key : {"CheckButton", "RadioButton"}) {
      const std::string k = key;
      PixelBuffer img = Image("Buttons", k);
      int n = Int("Buttons", k + "Frame", 0);
      if (n == 0 && !img.Empty()) n = std::max(4, img.Width() / (img.Height() < 16 ? 13 : 16));
      Add("Buttons", k, n, false, true, k);
    }
  }

  void CaptionButtons() {
    lbb::skin::TStrings sections;
    view_.ini.ReadSections(&sections);
    for (const String& t : sections) {
      const std::string up = lbb::UpperAscii(N(t));
      if (up.rfind("BUTTON", 0) != 0 || up == "BUTTON" || up == "BUTTONS" || up == "BUTTON.RADIO" ||
          up == "BUTTON.CHECKBOX")
        continue;
      const std::string sec = N(t);
      CaptionButton b;
      b.action = Int(sec, "Action", 0);
      // A section without action is a caption button only when it says Visibility 0.
      if (b.action == -1 && Int(sec, "Visibility", -1) != 0) continue;
      b.visibility = Int(sec, "Visibility", 0);
      b.align = Int(sec, "Align", 0), b.x = Int(sec, "Xcoord", 0), b.y = Int(sec, "Ycoord", 0);
      PixelBuffer img = Image(sec, "ButtonImage");
      int n = Int(sec, "frame", 0);
      if (n == 0) n = (b.action < 0 || img.Empty() || img.Width() > 3.8 * img.Height()) ? 6 : 3;
      if (Element* e = Add(sec, "ButtonImage", n, false, true, up)) b.element = *e;
      view_.buttons.push_back(std::move(b));
    }
  }

 private:
  const lbb::skin::TSkinReader& reader_;
  SkinView& view_;
};

}  // namespace

const Element* SkinView::Find(const std::string& key) const {
  const auto it = elements.find(key);
  return it == elements.end() ? nullptr : &it->second;
}

Pixel SkinView::Colour(const char* key, Pixel fallback) const {
  const String v = ini.ReadString(u"Colours", W(key), u"");
  if (v.empty()) return fallback;
  return lbb::PixelOf(static_cast<uint32_t>(lbb::skin::ParseColourTriple(v, 0)));
}

SkinView ReadSkinView(const lbb::skin::TSkinReader& reader) {
  SkinView view;
  lbb::skin::TMemoryStream iniBytes;
  String iniName;
  reader.readIni(u".ini", iniBytes, iniName);
  view.ini.LoadFromStream(&iniBytes);
  view.name = N(view.ini.ReadString(u"TitlebarSkin", u"SkinName", u""));
  ViewReader r(reader, view);
  r.Borders();
  r.CaptionButtons();
  r.Buttons();
  r.Add("Progress", "Bitmap", r.Int("Progress", "Style", 0) != 0 ? 1 : 2, false,
        r.Int("Progress", "Trans", 0) == 1);
  r.Standard("Progress.Chunk", r.Int("Progress.Chunk", "Frame", 0));
  const int header = r.Int("Headerbar", "Frame", 0);
  r.Standard("Headerbar", header == 0 ? 5 : header);
  r.Standard("Scrollbar", 23);
  r.Standard("HorzScroll", 4);
  r.Standard("VertScroll", 4);
  r.Standard("HorzScrollThumb", r.Int("HorzScrollThumb", "FrameCount", 3));
  r.Standard("VertScrollThumb", r.Int("VertScrollThumb", "FrameCount", 3));
  for (const char* s : {"MenuBackground"})
    r.Standard(s, 1);
  r.Standard("MenuItem", 5);
  r.Standard("ExtraImages", 5);
  r.Standard("StatusBarEdges", 3);
  r.Standard("Tab.Pane", 1);
  r.Standard("GroupBoxEdge", 2);
  r.Standard("ToolBars", 5);
  r.Standard("SunkEdge", 4);
  r.Standard("GroupBox", 1);
  for (const char* s : {"Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                        "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
    r.Standard(s, 5);
  for (const char* s : {"Track", "TRACKVERT"})
    r.Standard(s, std::max(1, r.Int(s, "Frame", 0)));
  r.Add("Tabs", "Image", 5, false, r.Int("Tabs", "Trans", 0) == 1);
  r.Add("Tabs", "Border", 1, false, r.Int("Tabs", "Trans", 0) == 1, "Tabs.Border");
  r.Add("ComboButton", "Image", 4, false, true);
  for (const char* s : {"UpDown.Horz", "UpDown.Vert"}) {
    r.Add(s, "Image", 8, false, r.Int(s, "Trans", 0) == 1);
    r.Add(s, "GlyphImage", 8, false, true, std::string(s) + ".Glyph");
  }
  r.Add("MDICONTROLS", "Image", 12, false, true);
  return view;
}

}  // namespace skintool
