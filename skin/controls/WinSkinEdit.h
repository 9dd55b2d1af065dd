// TSkinEdit: single-line edits keep painting themselves; the skinner only draws their border
// over the native sunken edge (one ButtonShadow line outside, two white lines inside), and the
// border of a printed edit. An up-down arrow pair living inside the edit gets its own skinner.
#pragma once

#include <windows.h>

#include "skin/controls/WinSubClass.h"

namespace lbb::skin {

class TSkinEdit : public TSkinControl {
 public:
  explicit TSkinEdit(forms::TComponent* AOwner);

  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  // The border over the edit's own edge; nothing for an edit without a border.
  void DrawControl(HDC dc, const RECT& rc) override;

  // The skinner of an up-down found inside the edit (owned by the form skinner's list); null
  // while none was found.
  TSkinControl* updown = nullptr;

 private:
  int printState_ = 0;  // the DC's saved state while the edit prints into it

  // The edit paints its client area into the DC in wParam (another module's skinner asks).
  void OnPaintClientTo(forms::TMessage& m);
  // The border of WM_PRINT: the DC's brush one pixel inside, ButtonShadow around.
  void DrawPrintBorder(HDC dc);
  // Looks once among the edit's children for an up-down and skins it.
  void FindUpDown();
  // The edit's client rectangle is as wide or as high as rc: it has no border.
  bool Borderless(const RECT& rc) const;
};

}  // namespace lbb::skin
