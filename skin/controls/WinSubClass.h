// TSkinControl: the base of every control skinner. One instance is attached to one control:
// a control object of the form library (Init: its message method is swapped for NewWndProc)
// or a bare window without one, such as a button of a system dialog (Inithwnd: its window
// procedure is replaced). Every message of the control passes NewWndProc first: a switched-off
// skinner hands it straight on; otherwise BeforeProc may take it, the control's own handling
// runs, and AfterProc paints over what the control drew. The skinner lives in its form
// skinner's Controllist and puts the control's method and procedure back when destroyed.
//
// The drawing helpers of this file are shared by every control skinner: skin elements drawn
// into a device context or a surface, captions, focus rectangles, the parent's background.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/Colour.h"
#include "forms/Controls.h"
#include "forms/Graphics.h"
#include "forms/ImgList.h"
#include "forms/Messages.h"
#include "forms/WindowProcHook.h"
#include "forms/core/Component.h"
#include "skin/data/ControlGeometry.h"
#include "skin/win/DibSurface.h"
#include "skin/win/HoverWatcher.h"
#include "skin/win/WinSkinData.h"
#include "skin/win/WindowSubclass.h"

namespace lbb::skin {

class TSkinControlHost;
class TDataSkinObject;

// skinstate values of a control skinner.
enum TSkinControlState : int {
  kControlCreated = 0,
  kControlStarted = 1,
  kControlDestroyed = 6,  // its window is being destroyed
};

// The window's class name in lower case (ASCII); empty for no window.
std::u16string LowerClassName(HWND w);

class TSkinControl : public forms::TComponent {
 public:
  // Created with the skinned control as owner, so it goes with the control; null for a bare
  // window (then the form skinner's list owns it).
  explicit TSkinControl(forms::TComponent* AOwner);
  // Puts the control's previous message method and window procedure back and takes itself
  // out of its form skinner's list.
  ~TSkinControl() override;
  TSkinControl(const TSkinControl&) = delete;
  TSkinControl& operator=(const TSkinControl&) = delete;

  // Starts skinning the owner, a windowed control object (its window is made if needed);
  // nothing the second time. `acolor`: the control takes the skin's ButtonFace as its colour
  // until Unsubclass.
  virtual void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor);
  // Starts skinning a bare window; its procedure is replaced until the skinner goes.
  virtual void Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf);
  // Stops skinning without touching the window procedure: clears `skinned` and gives the
  // control its colour back (not while its window is being destroyed).
  virtual void Unsubclass();
  // Sees a message before the control: true passes it on (then AfterProc sees it), false means
  // it was handled here with its result set.
  virtual bool BeforeProc(forms::TMessage& m);
  // Sees a message after the control handled it.
  virtual void AfterProc(forms::TMessage& m);
  // Paints the skin over the control: on `adc`, or on a DC of the whole window when 0.
  virtual void PaintControl(HDC adc);
  // Draws the control on `dc`; `rc` is the window rectangle at (0, 0).
  virtual void DrawControl(HDC dc, const RECT& rc);
  // The skin data changed: the control takes the new ButtonFace when its colour was replaced,
  // and is redrawn.
  virtual void SkinChange();
  virtual int GetState() { return 1; }
  virtual void SetColor() {}
  virtual void RestoreColor() {}
  // The mouse left the control (the form skinner's timer says so): CM_MOUSELEAVE to the window.
  virtual void MouseLeave();

  // Every message of the control comes here first.
  void NewWndProc(forms::TMessage& m);

  // ---- what the form skinner, the mapping and the tests read
  // The control skinned: its window, its control object (windowed) or its windowless control.
  HWND hwnd = nullptr;
  forms::TWinControl* control = nullptr;
  forms::TControl* GControl = nullptr;
  // kControlCreated, kControlStarted or kControlDestroyed.
  TSkinControlState skinstate = kControlCreated;
  // The variant the mapping chose (e.g. a border-less scroll bar, a combo box with a button).
  int kind = 0;

  // kStateHot | kStatePressed as the mouse left them.
  uint8_t MouseState() const { return state; }
  // A switched-off skinner hands every message straight on.
  bool Skinned() const { return skinned; }
  void SetSkinned(bool on) { skinned = on; }
  // Init or Inithwnd ran.
  bool Started() const { return Inited; }
  TSkinData* SkinData() const { return fsd; }
  const std::u16string& Caption() const { return caption; }
  // The control took the skin's ButtonFace as its colour (given back by Unsubclass).
  bool ColourReplaced() const { return newColor; }
  // The control's rectangle on the screen when the mouse last entered it.
  const RECT& ScreenBounds() const { return boundsrect; }
  // The host goes first: the skinner no longer reports back to it.
  void DetachFromHost() { skinform = nullptr; }

  // ---- drawing helpers (frame numbers are 1-based, N frames side by side; 0xFF00FF is the key)

  // Frame I of N of the element's image at rc's size (margins kept, Tile honoured), put at rc:
  // keyed when the element's `trans` is 1, else copied. Nothing when rc is inverted or empty.
  void DrawSkinMap(HDC dc, const RECT& rc, const TDataSkinObject* aObject, int I, int N);
  void DrawSkinMap(PixelBuffer& dst, const RECT& rc, const TDataSkinObject* aObject, int I, int N);
  // Frame I of N cut from bmp, stretched to rc, 0xFF00FF transparent: onto a DC (1), through a
  // keyed transfer (2), onto a canvas (3).
  static void DrawSkinMap1(HDC dc, const RECT& rc, const PixelBuffer& bmp, int I, int N);
  static void DrawSkinMap2(HDC dc, const RECT& rc, const PixelBuffer& bmp, int I, int N);
  static void DrawSkinMap3(forms::TCanvas* acanvas, const RECT& rc, const PixelBuffer& bmp, int I,
                           int N);
  // Fills rc of abmp with ButtonFace, then draws the rendered frame at (0, 0) of abmp (at rc's
  // size), keyed when `trans` is 1.
  void DrawBMPSkin(TDibSurface& abmp, const RECT& rc, const TDataSkinObject* aObject, int I, int N,
                   int trans);
  // The same into the shared work surface; DrawBuf copies its rc out to dc.
  void DrawSkin(const RECT& rc, const TDataSkinObject* aObject, int I, int N, int trans);
  static void DrawBuf(HDC dc, const RECT& rc);
  // The caption in rc: centred (Alignment 1) or at rc's left and right, vertically centred one
  // pixel up; grey when not enabled. `defaulted` is not used.
  void DrawCaption(HDC dc, const RECT& rc, const std::u16string& text, bool aenabled,
                   bool defaulted, int Alignment);
  // An image of ImgList beside a caption in rc (talign 0 left, 1 centre, 2 right).
  void DrawImgCaption(HDC dc, const RECT& rc, forms::TCustomImageList* ImgList, int imgIndex,
                      const std::u16string& text, int talign);
  static int TextHeight(HDC dc, const std::u16string& s);
  // The parent's published "Color" when it has one, else acolor.
  TColor GetParentColor(TColor acolor) const;
  // dw with the right-to-left reading flag when the control reads right to left.
  UINT CheckBiDi(UINT dw) const;
  void FillFace(HDC dc, const RECT& rc) const;
  void FillParentColor(HDC dc, const RECT& rc) const;
  // A focus rectangle around `caption` as drawn in rc with `flags`.
  void DrawCaptionFocus(HDC dc, UINT flags, const RECT& rc);
  // Paints the parent's background under `acontrol` into dc (the control's own coordinates).
  static void DrawParentBackground(forms::TControl* acontrol, HDC dc);
  // The process's work surface (one per painting thread), COLORONCOLOR stretching.
  static TDibSurface& WorkSurface();
  // The skin's scheme colour `index` (a default when there is no skin data).
  TColor SchemeColor(int index) const;
  // The same resolved to 0x00BBGGRR, as GDI takes it.
  COLORREF SchemeRGB(int index) const { return ColorToRGB(SchemeColor(index)); }
  // The sunken edge of edits and combo boxes along `r`: a ButtonShadow ring, then `whiteRings`
  // white rings inside it.
  void DrawSunkenEdge(HDC dc, const RECT& r, int whiteRings) const;

 protected:
  uint8_t state = 0;  // kStateHot | kStatePressed
  forms::TCanvas* fCanvas = nullptr;
  bool done = false;
  bool isdraw = false;
  bool enabled = true;
  bool focused = false;
  std::u16string caption;
  bool skinned = true;
  bool isunicode = false;
  TSkinData* fsd = nullptr;
  RECT boundsrect{};  // the control's rectangle on the screen
  bool newColor = false;
  int64_t oldcolor = 0;  // the control's colour before the skin's
  bool Inited = false;
  TSkinControlHost* skinform = nullptr;
  bool sizing = false;
  bool recreating = false;  // the control's window is being made anew
  bool parentbk = false;

  // Repaints now: a windowless control is invalidated, a window invalidated with erase and
  // updated at once.
  void Redraw();
  // Hands the message to the control's previous method or window procedure; the answer lands
  // in m.Result.
  void CallOldProc(forms::TMessage& m);
  // Installs NewWndProc as `c`'s message method (the previous one is kept for CallOldProc).
  bool HookMessages(forms::TControl& c);
  // Replaces the window procedure of a bare window by NewWndProc.
  bool HookWindow(HWND ahwnd);
  // The paint handler of skinners that replace the control's painting: DrawControl on the
  // paint DC (or the DC in wParam); not passed on.
  void PaintHandler(forms::TMessage& m);
  // The paint and erase messages of a skinner that paints every pixel of its control: paint
  // through PaintHandler, erase answered 1. True when `m` was one of them (taken).
  bool TakeOwnPaint(forms::TMessage& m);
  // A control object's window made anew (CM_RECREATEWND sets `recreating`): the old window's
  // WM_NCDESTROY goes straight to the control (true: taken), and at the new window's
  // WM_CREATE the skinner takes it over (true: the caller sets itself up again).
  bool PassOldWindowsEnd(forms::TMessage& m);
  bool TakeRecreatedWindow();
  // The erase handler of those skinners: the parent's background (control objects) or
  // ButtonFace (bare windows); result 1.
  void EraseHandler(forms::TMessage& m);
  // Hands a swallowed left button-down to the control object as a mouse-down.
  void ForwardMouseDown(const forms::TMessage& m);
  // Asks for WM_MOUSELEAVE when the mouse leaves the window.
  void TrackLeave() const;
  // The cursor is over the window itself (not over a window covering it). Skinners that show
  // a hot state also look for this on a timer (THoverWatcher): under Wine the report of the
  // mouse leaving can be lost.
  bool CursorOver() const;
  // A hover poll's finding: nothing to watch once switched off (the control shows its own
  // look), else whether the hover goes on.
  THoverWatcher::TPoll PollHover(bool over) const;
  // The leave messages of a hover over the whole window: WM_MOUSELEAVE, and the form library's
  // CM_MOUSELEAVE with the cursor off the window, end `hover`. True when m was one of them.
  bool EndsHover(const forms::TMessage& m, THoverWatcher& hover) const;
  // Refreshes `enabled` and `focused` from the window.
  void ReadWindowState();
  // The window's text (wide).
  std::u16string WindowText() const;
  // False once the skinner is gone: a caller that ran foreign code (the control's own handling)
  // checks it before touching the skinner again.
  std::weak_ptr<char> AliveToken() const { return life_; }
  static bool Gone(const std::weak_ptr<char>& token) { return token.expired(); }

 private:
  std::shared_ptr<char> life_ = std::make_shared<char>(0);
  std::unique_ptr<forms::TWindowProcHook> hook_;  // control objects (OldWndProc)
  TWindowSubclass subclass_;                      // bare windows (FPrevWndProc)
};

}  // namespace lbb::skin
