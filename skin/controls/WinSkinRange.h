// The range skinners. TSkinTrackBar draws the track bar's groove and thumb from the skin when
// the bar asks its parent how to draw them (the custom-draw notification, reflected to the
// control by the form library); the bar keeps its own mouse and keyboard handling, so the
// thumb moves exactly as it does natively. TSkinProgress replaces the progress bar's painting:
// a track with a stretched fill or with chunks, a vertical bar drawn lying down and turned.
// Layout comes from skin/data/RangeGeometry.h.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "skin/controls/WinSubClass.h"
#include "skin/data/RangeGeometry.h"
#include "skin/win/DibSurface.h"

namespace lbb::skin {

class TSkinTrackBar : public TSkinControl {
 public:
  explicit TSkinTrackBar(forms::TComponent* AOwner);

  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;

 private:
  void OnCustomDraw(forms::TMessage& m);
  // The background brush the bar asks its parent for (reflected to the control).
  void OnCtlColor(forms::TMessage& m);
  LRESULT ItemPrePaint(const NMCUSTOMDRAW& cd);
  // Each draws its part from the skin and answers true, or false to leave it to the bar.
  bool DrawGroove(const NMCUSTOMDRAW& cd);
  bool DrawThumb(const NMCUSTOMDRAW& cd);
  const TDataSkinObject* ThumbElement(TThumbShape shape) const;
  bool Vertical() const;
  // The mouse is over the thumb now.
  bool OverThumb() const;
  void OnMouseMove();
  void SetLook(uint8_t look);

  bool downOnThumb_ = false;  // the button went down on the thumb (read before the bar moved it)
};

class TSkinProgress : public TSkinControl {
 public:
  explicit TSkinProgress(forms::TComponent* AOwner);

  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;

 private:
  // The skin's progress element when it has a picture; null otherwise (the bar paints itself).
  const TDataSkinObject* Track() const;
  const TDataSkinObject* Chunk() const;
  int StyleNow() const;
  // The bar lying down, `length` x `across`, filled `fill` pixels from the left.
  PixelBuffer DrawLying(int length, int across, int fill);

  TDibSurface buffer_;
};

}  // namespace lbb::skin
