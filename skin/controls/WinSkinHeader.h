// TSkinHeader: a header control (a list view's column header, or a bare header window)
// painted from the skin's `Header` element. The header keeps every bit of its own behaviour:
// the skinner follows the mouse only to show the item under it (hot) and the item pressed,
// and lets every press, drag of a divider and click through to the header unchanged.
//
// It lives in lbb::skin::controls: lbb::skin::TSkinHeader is the skin file's header record.
#pragma once

#include <windows.h>

#include <vector>

#include "base/win/Handles.h"
#include "skin/controls/WinSubClass.h"
#include "skin/win/DibSurface.h"
#include "skin/win/HoverWatcher.h"

namespace lbb::skin::controls {

class TSkinHeader : public TSkinControl {
 public:
  explicit TSkinHeader(forms::TComponent* AOwner);

  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  std::vector<RECT> Items;  // each item's rectangle as last painted
  int indexitem = -1;       // the item under the mouse; -1 for none
  int downitem = -1;        // the item the left button went down on; -1 for none

 private:
  // The skin has a header image; without it the header paints itself.
  bool HasSkin() const;
  // The item at a client point, when the point is on an item (not on a divider).
  int ItemAt(LPARAM lParam) const;
  void OnMouseMove(LPARAM lParam);
  void OnButtonDown(LPARAM lParam);
  void OnButtonUp();
  void SetHot(int index);
  // The bar and every item into surface_'s `client`.
  void DrawItems(const RECT& client);
  void DrawItemText(HDC dc, int index, const RECT& r, int frame);
  TColor TextColorOf(int frame) const;
  void Invalidate() const;

  TDibSurface surface_;  // the header's picture
  THoverWatcher hover_;  // while an item is hot
};

}  // namespace lbb::skin::controls
