// TSkinUpDown: up-down arrow pairs (the system's "msctls_updown32", the form library's
// TUpDown, an up-down inside an edit or a tab control) drawn from the skin's VSpin (vertical)
// or HSpin (horizontal, UDS_HORZ) element: each half a frame of the element's eight with the
// arrow glyph of its MaskMap in the middle (frames: skin/data/ComboGeometry.h). The skinner
// replaces the painting; the presses are its own to show (the half under a held button shows
// pressed, the half under the mouse hot) and then go on to the up-down unchanged, so the
// position, the buddy's text, the notifications and the auto-repeat of a held press are the
// system's own. A skin without the element leaves the up-down to paint itself.
#pragma once

#include <windows.h>

#include "base/win/Handles.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/ComboGeometry.h"
#include "skin/win/DibSurface.h"
#include "skin/win/HoverWatcher.h"

namespace lbb::skin {

class TDataSkinBorder;

class TSkinUpDown : public TSkinControl {
 public:
  explicit TSkinUpDown(forms::TComponent* AOwner);

  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  // Also for an up-down inside an edit: `inedit` is set when the window's parent is an edit.
  void Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf) override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;
  void SkinChange() override;

  bool inedit = false;  // the up-down sits inside an edit
  int dir = 0;          // 0 vertical, 1 horizontal (UDS_HORZ)

  // The half held down (udNone when none) and the half under the mouse, as shown.
  int PressedHalf() const { return held_; }
  int HotHalf() const { return hot_; }

 private:
  // Direction and kind (1: the skin has the element) from the window style and the skin.
  void ReadKind();
  const TDataSkinBorder* Element() const;
  // The halves in the client area (the buddy's edge and the spacer left out).
  TUpDownLayout Layout() const;
  int HalfAt(LPARAM lParam) const;
  // The half the cursor is over now.
  int HalfUnderCursor() const;
  TUpDownLook Look() const;
  void OnButtonDown(forms::TMessage& m);
  void OnButtonUp();
  void OnMouseMove(LPARAM lParam);
  void OnMouseLeave();
  // The hover poll: the cursor is still on a half, or a half is held.
  THoverWatcher::TPoll PollLeave() const;
  // Repaints at once when what is shown changed.
  void Update();
  void DrawBuddyEdge(int w, int h);
  // Both halves from element `e` into picture_'s `whole`; the look they show.
  TUpDownLook DrawHalves(const TDataSkinBorder* e, const RECT& whole);

  int held_ = udNone;    // the half a press started on, while the button is down
  int hot_ = udNone;     // the half under the mouse
  int shownLook_ = -1;   // the look last drawn (packed), to repaint only on a change
  TDibSurface picture_;  // the whole up-down, copied to the window in one transfer
  THoverWatcher hover_;  // while a half is hot
};

}  // namespace lbb::skin
