// TSkinComBox: combo boxes keep painting and handling themselves; the skinner draws their
// border and drop-down button from the skin over what the box drew, follows the mouse over the
// button and the list opening and closing (pressed while open), and skins the drop-down
// list's scroll bar. Every press and key goes on to the box unchanged: the skinner only paints.
//
// Where the button is: a system combo box says it (GetComboBoxInfo). A box of another library
// with a button window of its own (`HasButton`, the "comboboxex" kind) gets that window
// subclassed and painted; any other box is taken to have its button at its right edge.
//
// What is drawn, from the skin's elements (frames: skin/data/ComboGeometry.h):
//   - a skin whose combo button was combined with its sunken edge (`combox` style 2, made from
//     ComboButton, SunkEdge and ExtraImages when the skin has SunkEdge): that picture over the
//     whole box, its middle keyed away (`Comboxborder`, the mirrored picture, for boxes that
//     read right to left);
//   - otherwise the edit's border (ButtonShadow outside, white inside) over the box's sunken
//     edge and the button's picture on the button;
//   - the button's picture (also of a button window, and of the date-time picker's arrow
//     button, so that they all look alike) is the `comboxarrow` frame: the skin's combo button
//     on ButtonFace, or the button cut from the combined picture. A skin without a ComboButton
//     image but with `ExtraImages` gets the Button element's frame with the ExtraImages arrow
//     in its middle;
//   - a skin with none of them, and a simple combo box (CBS_SIMPLE): the box's native look.
#pragma once

#include <windows.h>

#include "base/win/Handles.h"
#include "skin/controls/WinSubClass.h"
#include "skin/win/HoverWatcher.h"
#include "skin/win/WindowSubclass.h"

namespace lbb::skin {

class TSkinScrollbarH;
class TComboxScrollBar;

// Whether the skin can draw a combo button: a `comboxarrow` picture, or `ExtraImages` with the
// Button element.
bool HasComboButtonPicture(const TSkinData* sd);
// Draws the combo button's picture, frame `frame` (1 normal, 2 pressed, 3 disabled, 4 hot), at
// r of dc with `painter`'s helpers; false when the skin has none.
bool DrawComboButtonPicture(TSkinControl& painter, HDC dc, const RECT& r, int frame);

class TSkinComBox : public TSkinControl {
 public:
  explicit TSkinComBox(forms::TComponent* AOwner);
  ~TSkinComBox() override;

  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf) override;
  // Stops skinning: the list's bar skinner is freed, the button window gets its procedure back.
  void Unsubclass() override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  // Border and button over the box (rc: its window rectangle at (0, 0)).
  void DrawControl(HDC dc, const RECT& rc) override;
  void SkinChange() override;

  DWORD dwStyle = 0;  // the box's window style and extended style, read at the start
  DWORD ExStyle = 0;
  HWND hlist = nullptr;  // the drop-down list
  HWND hbtn = nullptr;   // the button window of a box that has one (HasButton)
  bool isDrop = false;   // the list is open
  // The button window's procedure replacement: FBtnObjectInst routes the button's messages to
  // the skinner, and its CallPrevious is the button's previous procedure (FBtnPrevWndProc).
  TWindowSubclass FBtnObjectInst;
  TSkinScrollbarH* vb = nullptr;   // the bars of a list that lives inside the box
  TComboxScrollBar* db = nullptr;  // the drop-down (pop-up) list's bar
  COMBOBOXINFO info{};             // as last read; cbSize 0 when the box is no system combo box
  RECT rBtn{};                     // the button in the box's window coordinates
  bool HasButton = false;          // the box has a button window of its own

 protected:
  // A skinner of the list this one made went away (the form skinner freed it first).
  void Notification(forms::TComponent* c, forms::TOperation operation) override;

 private:
  // What the box is and what it holds, read after every start (also on a new window).
  void Setup();
  // kind 1 when the box is drawn: not a simple combo box, and the skin has the pictures.
  void ReadKind();
  // The list's skinner and the button window's replacement, when drawn and not there yet.
  void StartHelpers();
  void StartListSkinner();
  void StartButtonWindow();
  void FreeHelpers();
  // Reads the box's information and the button rectangle; false when the box is no system
  // combo box.
  bool ReadInfo();
  // The list is open now; a bare box tells it only through its state, a control object also
  // through the reflected CBN_DROPDOWN / CBN_CLOSEUP.
  bool DroppedNow();
  int FrameNow();
  // The skin combined button and sunken edge into one picture (`combox` style 2).
  bool Combined() const;
  bool ButtonOnLeft() const;
  void DrawBorder(HDC dc, const RECT& rc) const;
  // The dropped state changed or the mouse moved over or off the button: repaint.
  void Refresh();
  void SetHot(bool hot);
  bool CursorOnButton() const;
  // Every message of the button window.
  LRESULT ButtonProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void PaintButtonWindow(HDC dc);

  int lastFrame_ = 0;    // the button frame last drawn
  THoverWatcher hover_;  // while the button is hot
  bool btnHot_ = false;
  bool btnDown_ = false;
};

}  // namespace lbb::skin
