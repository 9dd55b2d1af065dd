// The container skinners: group boxes drawn as a rounded ButtonShadow frame on ButtonFace
// (TSkinGroupBox), panels and embedded forms that take the skin's ButtonFace (TSkinBox),
// system dialogs and tool bars without a control object whose background and static texts
// take it (TSkinBoxH), and size grips painted over with it (TSkinSizer). Layout comes from
// skin/data/RangeGeometry.h.
#pragma once

#include <windows.h>

#include "skin/controls/WinSubClass.h"
#include "skin/win/DibSurface.h"

namespace lbb::skin {

class TSkinGroupBox : public TSkinControl {
 public:
  explicit TSkinGroupBox(forms::TComponent* AOwner);

  // A control object is painted wholly by the skinner (kind 1).
  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  bool BeforeProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  int border = 0;  // kept for controls that report a border width; the frame is one pixel

 private:
  // kind 1: the whole box into `buffer_`, then one copy to dc.
  void DrawWhole(HDC dc, const RECT& rc);
  // kind 0: over what the window drew, its native frame covered first.
  void DrawOver(HDC dc, const RECT& rc);
  // The rounded frame and the caption on `dc` for a box of rc's size.
  void DrawFrameAndCaption(HDC dc, const RECT& rc);
  // The control's windowless children (labels inside the box) onto dc.
  void PaintGraphicChildren(HDC dc) const;
  HFONT CaptionFont(COLORREF& colour) const;

  TDibSurface buffer_;
};

class TSkinBox : public TSkinControl {
 public:
  explicit TSkinBox(forms::TComponent* AOwner);

  int border = 0;  // kept for panels that report a border width; the panel draws its own
};

class TSkinBoxH : public TSkinControl {
 public:
  explicit TSkinBoxH(forms::TComponent* AOwner);
  bool BeforeProc(forms::TMessage& m) override;

 private:
  void OnEraseBackground(forms::TMessage& m);
  void OnCtlColorStatic(forms::TMessage& m);
};

class TSkinSizer : public TSkinControl {
 public:
  explicit TSkinSizer(forms::TComponent* AOwner);
  // Fills the grip's rectangle with ButtonFace (the skinned frame draws its own corner).
  void DrawControl(HDC dc, const RECT& rc) override;
};

}  // namespace lbb::skin
