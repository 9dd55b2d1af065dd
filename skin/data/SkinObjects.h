// The skin object model's elements: one object per skinned element of a skin, filled by the
// parse (SkinModel.h) and read by every painter.
#pragma once

#include "base/PixelBuffer.h"
#include "skin/data/SkinRect.h"
#include "skin/data/SkinSystem.h"
#include "skin/data/SkinText.h"

namespace lbb::skin {

// One skinned element.
class TDataSkinObject {
 public:
  TDataSkinObject() = default;
  explicit TDataSkinObject(String id) : IDName(std::move(id)) {}
  virtual ~TDataSkinObject() = default;

  TRect r;          // margins: left, top, right, bottom widths
  PixelBuffer Map;  // the element image: `frame` equal cells; empty without image
  int trans = 0;    // 1: 0xFF00FF pixels are transparent
  int Tile = 0;     // 0 stretch, 1 tile (frame borders: the skin's Stretch value)
  String IDName;    // the section or built-in name it came from
  int frame = 0;    // number of state cells in Map
  int style = 0;    // Style key; 2 on the combo button once combined
  int Normalcolor = -1;
  int Overcolor = -1;
  int Downcolor = -1;
  TColor Normalcolor2 = SysColor(kColorBtnText);
  TColor Overcolor2 = SysColor(kColorBtnText);
  TColor Downcolor2 = SysColor(kColorBtnText);
};

// An element with a second image: the tab border, the up-down glyphs, the combo button's mask.
class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  PixelBuffer MaskMap;
};

// Push buttons, with the check-box and radio-button images.
class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  PixelBuffer CheckMap;
  PixelBuffer RadioMap;
  int radioframe = 0;
  int checkframe = 0;
  bool newnormal = false;  // the skin gave NormalColour2
  bool newover = false;    // MouseOverColour2
  bool newdown = false;    // PressedColour2
};

// The caption text: r = (TextShift, TextShiftVert, TextRightClip, 0), Map = TextBack.
class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int Aligment = 0;
  int BackGround = 0;
  int FontHeight = 14;
  int backleft = 0;
  int backright = 0;
  TColor activetext = 0x1FFFFFFF;  // 0x1FFFFFFF: not given
  TColor inactivetext = 0x1FFFFFFF;
};

// The group-box label background.
class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int LeftShift = 0;
  int RightShift = 0;
  int Alignment = 0;
};

// One caption button; the form skinner interprets the numbers.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int Action = 0;
  int Align = 0;
  int XCoord = 0;
  int YCoord = 0;
  int CombineOp = -1;
  int Visibility = 0;
  int Visibility1 = 0;
};

}  // namespace lbb::skin
