// The skinned scroll bars. A native scroll bar is never painted over in place: each bar of a
// host window gets a small borderless window of its own (TWScrollbar, the overlay) that sits
// exactly over it, one step above the host in z-order, and draws the bar from the skin's
// SArrow, HBar/VBar and HSlider/VSlider elements. A press on the overlay is handed to the host
// as the press on its own bar would reach it, so the platform's tracking, auto-repeat and
// scroll messages run unchanged; the host's skinner follows those messages and repaints.
//
// The skinners:
//   TSkinScrollbar   a control object with its own bars (memo, list, grid): two overlays
//   TSkinListView    the same for a list view, plus a hook on its header window
//   TSkinScrollbarH  a bare window with its own bars: two overlays attached by handle
//   TSkinScControl   a scroll-bar control: one overlay of type 2 over the whole control
//   TComboxScrollBar a combo box's drop-down list: draws straight into the list's non-client
//                    area (the list is a pop-up, so no sibling can lie over it) and tracks a
//                    press on that bar itself
//
// Every geometric decision (thumb, hit test, drag, arrows, layout, frames, border, corner)
// comes from skin/data/ControlGeometry.h.
#pragma once

#include <windows.h>

#include <memory>

#include "base/win/Handles.h"
#include "forms/Messages.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/ControlGeometry.h"
#include "skin/win/EngineWindows.h"
#include "skin/win/WindowSubclass.h"

namespace lbb::skin {

// The scroll-bar information record of a bar: the platform's, with the unavailable flag also
// set while the host window is disabled (the bar is then drawn disabled whatever the host
// reports). False when there is none.
bool ReadScrollBarInfo(HWND host, LONG idObject, SCROLLBARINFO& info);

// What one drawing of a bar needs, read once per paint.
struct TScrollBarPicture {
  int sbDir = kSbHorizontal;
  int Len = 0;    // along the axis
  int Cross = 0;  // the target's size across the axis
  int CW = 0;
  TThumb Thumb;
  bool Enabled = true;
  int ScrollPos = kSbNone;
  bool FDown = false;
};

// Draws the bar into `px` at (0, 0): ButtonFace under everything, the track, both arrows, the
// thumb and its grip, at the skin's thickness. False (nothing drawn) when the skin has no
// SArrow image.
bool RenderScrollBar(const TSkinData& sd, const TScrollBarPicture& pic, PixelBuffer& px);
// The thickness the bar is drawn at (ScrollThickness of the skin's SArrow image); 0 without one.
int SkinScrollThickness(const TSkinData& sd, int cw);

// The arrow length of the system's bars (the horizontal bar's arrow width).
int SystemArrowWidth();

class TWScrollbar;
// What the two overlays of a host share: placing them over the host's bars, hiding them,
// repainting them on a paint of the host (a hidden one is placed again when the host's style
// now shows its bar), and lighting the part a scroll message of the host's own bar names.
void PositionBarPair(TWScrollbar* h, TWScrollbar* v, HWND host);
void HideBarPair(TWScrollbar* h, TWScrollbar* v);
void RepaintBarPair(TWScrollbar* h, TWScrollbar* v);
void PaintBarPair(TWScrollbar* h, TWScrollbar* v, HWND host);
void ScrollBarPair(TWScrollbar* h, TWScrollbar* v, const forms::TMessage& m);

// ---- the overlay

class TWScrollbar {
 public:
  // `obj`: the skinner that owns the overlay (for the skin data). The window is made by
  // Attach / AttachHwnd, as a child of the host's parent.
  explicit TWScrollbar(TSkinControl* aobj);
  ~TWScrollbar();
  TWScrollbar(const TWScrollbar&) = delete;
  TWScrollbar& operator=(const TWScrollbar&) = delete;

  // Follows bar `aType` (0 the host's horizontal, 1 its vertical bar, 2 a scroll-bar control)
  // of a control object, and of a bare window.
  void Attach(TSkinControl* aobj, forms::TWinControl* aControl, int aType);
  void AttachHwnd(TSkinControl* aobj, HWND ahwnd, int aType);
  // Places the overlay over the host's bar (hidden when the host or the bar is hidden).
  void SetPosition(HWND ahwnd);
  void HideScrollbar();
  // The press ended: no part is down, the capture goes.
  void ButtonUp();
  void DoLog() {}
  // Draws the bar now (when shown).
  void Repaint();
  void SetEnabled(bool value);
  // The bar's information: the host's record for types 0/1; for a scroll-bar control its
  // window rectangle and the thumb from its scroll information. False when there is none.
  bool GetBarInfo(SCROLLBARINFO& info) const;
  // The overlay's own window (null before Attach and after it was destroyed).
  HWND Handle() const { return window_.Handle(); }

  int Len = 0;
  int thumbTop = 0;
  int thumbbottom = 0;
  POINT OffsetSC{};
  POINT trackp{};
  int trackthumb = 0;
  bool fdown = false;
  int sbDir = kSbHorizontal;
  bool ERASEBKGND = false;
  int scrollpos = kSbNone;
  int CW = 0;
  HWND hwnd = nullptr;  // the host
  forms::TWinControl* control = nullptr;
  TSkinControl* obj = nullptr;
  uint8_t sbType = 0;
  RECT sbRect{};  // the bar in the host's client coordinates
  bool sbVisible = false;

 private:
  // Every message of the overlay's window.
  LRESULT Dispatch(HWND w, UINT msg, WPARAM wParam, LPARAM lParam);
  void MakeWindow();
  void OnPaint();
  void OnMouseMove(LPARAM lParam);
  void OnMouseLeave();
  void OnButtonDown(LPARAM lParam);
  void OnButtonUp(LPARAM lParam);
  void DrawOn(HDC dc);
  int HitPart(POINT client) const;
  // The press point for the host: screen coordinates (types 0/1) or the host's client ones.
  POINT HostPoint(POINT client) const;
  void PlaceWindow(const RECT& screen);

  TEngineWindow window_;
  bool enabled_ = true;  // applied to the window when it is made
  std::shared_ptr<char> life_ = std::make_shared<char>(0);
};

// ---- the skinners

class TSkinScrollbar : public TSkinControl {
 public:
  explicit TSkinScrollbar(forms::TComponent* AOwner);
  ~TSkinScrollbar() override;

  // Starts skinning `acontrol`'s bars: the overlays are made, the control's messages taken
  // over (without Init).
  virtual void InitScrollbar(forms::TWinControl* acontrol, TSkinData* sd, forms::TCanvas* acanvas,
                             TSkinControlHost* sf);
  // Started as every control skinner is (the owner being the control): InitScrollbar on the
  // owner. The colour is never lent.
  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  void Unsubclass() override;
  void SkinChange() override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  bool nobe = true;
  std::unique_ptr<TWScrollbar> hb;
  std::unique_ptr<TWScrollbar> vb;
  int postype = 0;
  bool painted = false;
  bool border = false;

 protected:
  void PositionBars();
  void HideBars();
  void RepaintBars();
  // The two-pixel border into `dc` (window coordinates).
  void DrawBorder(HDC dc) const;
  void PaintCorner();

 private:
  void OnNcPaint(forms::TMessage& m);
  void OnRecreate();
  void OnScroll(forms::TMessage& m);
  void OnVisibleChanged(forms::TMessage& m);
  void OnEnabledChanged();
  bool hasFixedColor_ = false;
  int64_t fixedColor_ = 0;
};

class TSkinListView : public TSkinScrollbar {
 public:
  explicit TSkinListView(forms::TComponent* AOwner);
  ~TSkinListView() override;
  void InitScrollbar(forms::TWinControl* acontrol, TSkinData* sd, forms::TCanvas* acanvas,
                     TSkinControlHost* sf) override;
  // Every message of the list view's header window passes here.
  LRESULT HeaderProc(UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  // The header's own skinner plugs in here (a TSkinHeader owned by this skinner).
  virtual void AttachHeaderSkinner(HWND header);

 private:
  TWindowSubclass headerHook_;
};

class TSkinScrollbarH : public TSkinControl {
 public:
  explicit TSkinScrollbarH(forms::TComponent* AOwner);
  ~TSkinScrollbarH() override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf) override;
  void Unsubclass() override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  std::unique_ptr<TWScrollbar> hb;
  std::unique_ptr<TWScrollbar> vb;
  int postype = 0;

 private:
  void PositionBars();
  void RepaintBars();
};

class TSkinScControl : public TSkinControl {
 public:
  explicit TSkinScControl(forms::TComponent* AOwner);
  ~TSkinScControl() override;
  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  void Unsubclass() override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  bool downBtn = false;
  SCROLLINFO SP{};
  std::unique_ptr<TWScrollbar> sb;

 private:
  void Place();
};

class TSkinTimer;

class TComboxScrollBar : public TSkinControl {
 public:
  explicit TComboxScrollBar(forms::TComponent* AOwner);
  ~TComboxScrollBar() override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf) override;
  // Started on a combo box object (its owner): Inithwnd on the box's drop-down list window.
  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  // Draws the list's bar(s) into its window DC.
  void PaintBars();

  int cw = 0;
  int len = 0;
  int scrollpos = kSbNone;
  int thumbtop = 0;
  int thumbBottom = 0;
  POINT OffsetSC{};
  POINT trackp{};
  int trackthumb = 0;
  bool fdown = false;
  int sbDir = kSbVertical;
  bool nobe = true;
  int postype = 0;
  bool painted = false;
  bool border = false;

 private:
  void PaintBar(HDC dc, int dir);
  void Track(int dir, POINT screen);
  void TrackStep(int dir, int part);
  void TrackThumb(int dir, const SCROLLBARINFO& info, POINT cursor);
  bool TrackLoop(int dir, int part);
  void TrackMouse(int dir, int part, bool tick, TSkinTimer& repeat);
};

}  // namespace lbb::skin
