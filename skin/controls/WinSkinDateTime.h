// TSkinDateTime: a date-time picker ("SysDateTimePick32", the form library's TDateTimePicker,
// the "datetimepicker" kind) keeps painting its date field itself; its drop-down button is
// covered by a TArrowButton, a small window of this module laid exactly over it (the picker's
// DTM_GETDATETIMEPICKERINFO says where) and drawn as the skinned combo box's button is
// (`comboxarrow`, frames: skin/data/ComboGeometry.h): hot under the mouse, pressed while held
// and while the calendar is open. A press on it is handed to the picker at its own button,
// so the calendar opens exactly as from the native button. A picker in up-down style
// (DTS_UPDOWN) has no drop-down button and keeps its native look, as does a picker under a
// skin without a combo button picture.
#pragma once

#include <windows.h>

#include <memory>

#include "base/win/Handles.h"
#include "skin/controls/WinSubClass.h"
#include "skin/win/EngineWindows.h"
#include "skin/win/HoverWatcher.h"

namespace lbb::skin {

class TArrowButton {
 public:
  TArrowButton();
  TArrowButton(const TArrowButton&) = delete;
  TArrowButton& operator=(const TArrowButton&) = delete;

  // Makes the arrow's window, a child of the picker `acontrol`, painted with `aobj`'s skin.
  void Attach(TSkinControl* aobj, HWND acontrol);
  // Lays the arrow over r (the picker's client coordinates); hidden when r is empty.
  void MoveArrow(const RECT& r);
  // Draws the arrow now (its state may have changed).
  void Repaint();
  // The frame the arrow shows now (1 normal, 2 pressed, 3 disabled, 4 hot).
  int FrameNow() const;

  int cw = 0;              // the arrow's width: the picker's button's
  HWND control = nullptr;  // the picker
  TSkinControl* obj = nullptr;
  HWND hwnd = nullptr;  // the arrow's own window (null before Attach and after it went)
  uint8_t state = 0;    // kStateHot | kStatePressed

 private:
  // Every message of the arrow's window.
  LRESULT Dispatch(HWND w, UINT msg, WPARAM wParam, LPARAM lParam);
  // Hands a mouse button message to the picker at the middle of its button.
  void Forward(UINT msg, WPARAM wParam);
  void Draw(HDC dc);
  // The hot look ends.
  void OnMouseLeave();

  RECT placed_{};  // where the arrow lies, in the picker's client coordinates
  TEngineWindow window_;
  // While hot the arrow also looks for the cursor itself: the hot state ends when the cursor
  // is off the arrow (or the arrow's window went).
  THoverWatcher hover_;
};

class TSkinDateTime : public TSkinControl {
 public:
  explicit TSkinDateTime(forms::TComponent* AOwner);
  ~TSkinDateTime() override;

  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf) override;
  // Stops skinning: the arrow button goes.
  void Unsubclass() override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void SkinChange() override;

  // The picker's drop-down button in its client coordinates (empty when it has none).
  RECT ButtonRect() const;

  std::unique_ptr<TArrowButton> arrow;

 private:
  // The arrow made (or not) for the window and the skin as they are.
  void Setup();
  void Place();
};

}  // namespace lbb::skin
