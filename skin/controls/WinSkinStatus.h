// TSkinStatusBar: status bars drawn from the skin's `StatusBar` element (three frames: the bar,
// a panel, the size grip) with their panel texts in the element's `Normalcolor`. A skin
// without the element leaves the bar to paint itself. Layout comes from
// skin/data/RangeGeometry.h.
#pragma once

#include <windows.h>

#include <string>

#include "skin/controls/WinSubClass.h"
#include "skin/win/DibSurface.h"

namespace lbb::skin {

class TSkinStatusBar : public TSkinControl {
 public:
  explicit TSkinStatusBar(forms::TComponent* AOwner);

  bool BeforeProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  bool SizeGrip = false;  // the bar shows a size grip (SBARS_SIZEGRIP), read at every paint

 private:
  // The skin's status-bar element when it has a picture; null otherwise.
  const TDataSkinObject* Element() const;
  // The panels' right edges (SB_GETPARTS); one -1 in simple mode.
  std::vector<int> PartRights() const;
  // Panel `index`'s text (SB_GETTEXT; SB_SIMPLEID in simple mode).
  std::u16string PartText(int index) const;
  // The bar, its panels, grip and texts from element `e` into buffer_'s `whole`.
  void DrawBar(const TDataSkinObject& e, const TRect& whole);
  void DrawTexts(const std::vector<TRect>& panels, bool simple);
  HFONT TextFont() const;

  TDibSurface buffer_;
};

}  // namespace lbb::skin
