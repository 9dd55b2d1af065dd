// The skin object model: a skin (one compressed block) parsed into one object per skinned
// element, the colour scheme and a few derived images. TSkinModel is the portable part of
// the skin data component; the Windows component adds the settings and the manager calls.
//
// A parse reads the archive's INI entry and, for every image the INI names, the image entry.
// Missing sections, keys and images give absent elements (null), empty images or defaults;
// nothing is reported. Only a version the reader does not know (or a damaged block) stops a
// parse: Empty then stays true and the previous elements remain.
#pragma once

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "skin/data/SkinObjects.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinStream.h"
#include "skin/data/Winskinini.h"

namespace lbb::skin {

using TShemeColors = std::array<TColor, 20>;

// Scheme colour indexes (Colors / hasColors).
enum TShemeIndex : int {
  kShemeWindowText = 0,
  kShemeTitleTextActive = 1,
  kShemeTitleTextNoActive = 2,
  kShemeButtonFace = 3,
  kShemeButtonText = 4,
  kShemeButtonHilight = 5,
  kShemeButtonlight = 6,
  kShemeButtonShadow = 7,
  kShemeButtonDkShadow = 8,
  kShemeHilightText = 11,
  kShemeHilight = 12,
  kShemeMenubar = 13,
  kShemeMenuBarText = 14,
  kShemeMenuText = 15,
  kShemeMenu = 16,
  kShemeCaption = 17,
  kShemeScrollbar = 18,
};

// The four frame borders, in the order of `border`.
enum TBorderSide : int { kBorderLeft = 0, kBorderRight = 1, kBorderTop = 2, kBorderBottom = 3 };

// A colour value of the skin INI: up to three decimal numbers (red, green, blue) separated by
// any non-digit characters; `def` when the text is empty.
TColor ParseColourTriple(std::u16string_view text, TColor def);

class TSkinModel {
 public:
  TSkinModel();
  virtual ~TSkinModel();
  TSkinModel(const TSkinModel&) = delete;
  TSkinModel& operator=(const TSkinModel&) = delete;

  // Parses the skin held in `data`. True when it was parsed (Empty is then false).
  bool ParseSkin();
  // Loads image entry `fname` of the skin being parsed into `bmp` (empty when the name is
  // empty, its extension is not ".bmp", or the entry is missing or not a BMP file). With a
  // target DPI of 192 an entry of the same name with "@2x" before ".bmp" is read too and kept
  // beside `bmp` (HiDpiImages); `bmp` itself is always the 1x image.
  void Readbmp(PixelBuffer& bmp, std::u16string_view fname);

  // The DPI the next parses are for (96 until set). Only 192 changes a parse: it reads the
  // skin's @2x entries, which ScaleSkinModel(model, 192) then uses where they fit.
  void SetTargetDpi(int dpi) { targetDpi = dpi; }
  int TargetDpi() const { return targetDpi; }

  // An @2x entry read beside a 1x image by the last parse.
  struct THiDpiImage {
    const PixelBuffer* Slot = nullptr;  // the model's image it stands for (compared, not read)
    String Name;                        // the @2x entry's name
    PixelBuffer One;                    // the 1x image as read, to tell it from a derived one
    PixelBuffer Two;                    // the @2x entry; empty when it is not a BMP file
  };
  const std::vector<THiDpiImage>& HiDpiImages() const { return hiDpi; }
  void ForgetHiDpiImages() { hiDpi.clear(); }
  // ColorPreset[n] into `acolor`; false for n outside the array.
  bool GetPrecolor(TColor& acolor, int n) const;
  // The text before the first "."; empty when there is none.
  static String GetFileName(std::u16string_view s);
  // Colors[3], or the first cell's pixel at a third of the Top border image.
  TColor GetCaptionColor() const;
  // Scheme colour `index` (one of the kSheme indexes) as 0x00BBGGRR: a system-colour reference
  // resolved now. Every scheme colour that is drawn goes through here.
  uint32_t SchemeRGB(int index) const;

  // True while a parse holds its temporaries (the archive reader, the INI and its sections);
  // false once the parse ended, also after a failed one.
  bool Parsing() const { return reader || ms || ini || sectionlist; }

  TMemoryStream data;  // the compressed block of the current skin
  bool Empty = true;

  String SkinName;
  std::unique_ptr<TDataSkinTitle> Title;
  std::array<std::unique_ptr<TDataSkinBorder>, 4> border;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysBtn;
  std::unique_ptr<TDataSkinButton> Button;
  std::unique_ptr<TDataSkinBorder> progress;
  std::unique_ptr<TDataSkinObject> progresschunk, Menubar, Box;
  std::unique_ptr<TDataSkinBoxLabel> boxlabel;
  std::unique_ptr<TDataSkinBorder> tab;
  std::unique_ptr<TDataSkinObject> StatusBar, TabSheet, Toolbar, Toolbarbtn;
  std::unique_ptr<TDataSkinBorder> combox;
  std::unique_ptr<TDataSkinObject> Comboxborder, comboxarrow, ExtraImages, Header, MenuItem,
      MenuitemBG, SArrow, HBar, VBar, HSlider, VSlider;
  std::unique_ptr<TDataSkinObject> TrackHorz, TrackVert, TrackLeft, Trackright, Tracktop,
      Trackbottom, TrackBar, TrackBarVert;
  std::unique_ptr<TDataSkinBorder> HSpin, VSpin;
  std::unique_ptr<TDataSkinObject> MinCaption;  // no loader fills it

  TShemeColors Colors{};
  std::array<bool, 20> hasColors{};
  std::vector<TColor> ColorPreset;
  std::array<TColor, 10> PresetColors{};

 protected:
  // True at design time: a parse then only sets Empty.
  virtual bool IsDesignTime() const { return false; }
  // Called at the end of every successful parse (the component recreates its brush).
  virtual void SkinParsed() {}

  void ReadSkin();
  void ReadBorders();
  void ReadColours();
  void ReadSysButtons();
  void ReadMDIButtons(size_t first);
  void ReadButtons();
  void ReadTitle();
  void ReadControls();
  void SetFrameCounts();
  void MakeComboImages();
  void MakeComboArrow();
  void MakeToolbarImage();
  // The @2x entry of the MDI buttons' image cut into the three buttons' @2x images.
  void SplitMDIHiDpi(const PixelBuffer& whole, size_t first);

 private:
  int targetDpi = 96;
  std::vector<THiDpiImage> hiDpi;

  // Only during a parse: the archive reader, the INI entry's bytes, the INI and its sections.
  std::unique_ptr<TSkinReader> reader;
  std::unique_ptr<TMemoryStream> ms;
  std::unique_ptr<TQuickIni> ini;
  std::unique_ptr<TStrings> sectionlist;
  // Frees them when a parse ends, also when an error passes.
  struct TParseScope {
    TSkinModel& model;
    ~TParseScope();
  };

  int Int(std::u16string_view section, std::u16string_view key, int def) const;
  // A count of image cells: a negative count (a damaged skin) reads as absent, `def`.
  int Cells(std::u16string_view section, std::u16string_view key, int def) const;
  String Str(std::u16string_view section, std::u16string_view key) const;
  TColor Triple(std::u16string_view section, std::u16string_view key, TColor def) const;
  void ReadCommon(TDataSkinObject& o, std::u16string_view section, bool colours) const;
  std::unique_ptr<TDataSkinObject> ReadSkinObject(std::u16string_view section);
  std::unique_ptr<TDataSkinBorder> ReadSkinBorder(std::u16string_view section,
                                                  std::u16string_view second);
  std::unique_ptr<TDataSkinObject> ReadTrack(std::u16string_view section);
};

}  // namespace lbb::skin
