// The push-button skinners: they paint buttons from the skin's `Button` element (five frames
// side by side: normal, pressed, disabled, hot, focused or default) and take the left button
// and the space key over, so hover and press show at once and the click comes on the release.
//
//   TSkinButton      plain push buttons (control objects and bare "button" windows)
//   TSkinBitButton   buttons with a glyph or an image-list image beside the caption
//   TSkinMenuButton  buttons with a drop-down arrow after the caption
//   TSkinSpeedButton windowless tool buttons: the graphic control's message method is hooked
//
// Every paint renders the whole button into `btemp` and copies it to the window in one
// transfer. All placement comes from skin/data/ControlGeometry.h.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/Handles.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/ControlGeometry.h"
#include "skin/win/DibSurface.h"
#include "skin/win/HoverWatcher.h"

namespace lbb::forms {
class TBitmap;
}

namespace lbb::skin {

class TDataSkinButton;

class TSkinButton : public TSkinControl {
 public:
  explicit TSkinButton(forms::TComponent* AOwner);

  // Sets `kind`, `MultiLine` and `trans` from the control, then starts as the base does.
  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf) override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;
  // The frame of the `Button` element the button shows now (1..5).
  virtual int ButtonFrameNow();

  TDibSurface btemp;  // the button's picture, at least the button's size
  bool MultiLine = false;
  bool trans = false;  // the parent's background behind the frame instead of ButtonFace
  bool redraw = false;
  bool isdefault = false;

 protected:
  // The skin's button element when it has a picture; null otherwise.
  const TDataSkinButton* SkinButton() const;
  // The buffered paint shared by every push button: btemp sized to rc with its background and
  // the skin's `frame` (0: none) over it, then `over()` draws the glyph and caption, and the
  // picture goes to rc of dc in one transfer. False when nothing was drawn (no button element,
  // no surface).
  template <class Over>
  bool PaintButton(HDC dc, const RECT& rc, int frame, Over&& over) {
    if (!SkinButton()) return false;
    return PaintBuffered(btemp, dc, rc, [&](const RECT& whole) {
      DrawFace(whole, frame);
      over();
    });
  }
  // btemp's `whole` with its background and the skin's `frame` (0: none).
  void DrawFace(const RECT& whole, int frame);
  // The caption font (the control's published "Font", a bare window's WM_GETFONT); sets
  // btemp's text colour for `frame` and transparent text.
  HFONT CaptionFont(int frame);
  // The caption with its first "||" as a line break.
  std::u16string CaptionText() const;
  // Text extent of `text` drawn with `flags` (DT_CALCRECT) in `box`.
  TSize MeasureText(const std::u16string& text, const TRect& box, UINT flags) const;
  void PutText(const std::u16string& text, const TRect& box, UINT flags) const;
  void DrawFocus(const TRect& r) const;
  // Whether the skinned control's transparency asks for the parent's background.
  bool WantsTrans() const;
  // The control object or graphic control the skinner serves (null for a bare window).
  forms::TControl* Target() const;

  void OnButtonDown(forms::TMessage& m);
  void OnButtonUp();
  void OnGetState(forms::TMessage& m);
  void OnSpace(bool down);
  void OnMouseMove();
  // The hot and pressed looks end.
  void OnMouseLeave();
  // The click of a release that found the button pressed; the skinner may be gone afterwards.
  void ClickNow();

 private:
  TColor TextColorFor(int frame, TColor base) const;
  THoverWatcher hover_;  // while hot or pressed
};

class TSkinBitButton : public TSkinButton {
 public:
  explicit TSkinBitButton(forms::TComponent* AOwner);
  void DrawControl(HDC dc, const RECT& rc) override;

  bool isPicture = false;
  // The published picture property drawn instead of "Glyph" ("PngImage"); empty: "Glyph".
  String PicField;

 protected:
  // What the published glyph properties say.
  struct TGlyphProps {
    forms::TBitmap* glyph = nullptr;
    forms::TCustomImageList* images = nullptr;
    int numGlyphs = 1;
    int imageIndex = -1;
    int disabledIndex = -1;
    int margin = -1;
    int spacing = -1;
    TButtonLayout layout = TButtonLayout::GlyphLeft;
    bool alignCenter = false;
  };
  TGlyphProps ReadGlyphProps(const String& picField) const;
  // Glyph, caption and focus rectangle of a bit button in btemp (rc at (0, 0)).
  void DrawGlyphAndCaption(const RECT& rc, int frame, int glyphImage, bool embossed,
                           const TGlyphProps& g);
  void DrawGlyph(const TGlyphProps& g, const TRect& at, int image, bool embossed);
  static void DrawEmbossed(PixelBuffer& dst, const forms::TBitmap& glyph, const TRect& cell,
                           const TRect& at, TColor hilight, TColor shadow);
};

class TSkinMenuButton : public TSkinButton {
 public:
  explicit TSkinMenuButton(forms::TComponent* AOwner);
  void DrawControl(HDC dc, const RECT& rc) override;
  int ButtonFrameNow() override;

 private:
  // Glyph, caption, arrow and focus rectangle in btemp (rc at (0, 0)).
  void DrawGlyphAndCaption(forms::TControl* c, const RECT& rc, int frame);
  void DrawArrow(int x, int y) const;
};

class TSkinSpeedButton : public TSkinBitButton {
 public:
  explicit TSkinSpeedButton(forms::TComponent* AOwner);
  // Starts skinning the owner, a windowless control: its message method is hooked.
  void InitGraphicControl(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas);
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void PaintControl(HDC adc) override;
  int ButtonFrameNow() override;
  // Paints the button on `acanvas` (origin at the control) over rc.
  void DrawSpeedbtn(forms::TCanvas* acanvas, const RECT& rc);

  bool FReentr = false;
  forms::TCanvas* gcanvas = nullptr;  // the canvas painted on while a paint is under way

 private:
  void OnPaintMessage(forms::TMessage& m);
  bool OnPressMessage(forms::TMessage& m);
  bool IsTrue(std::u16string_view prop) const;
};

}  // namespace lbb::skin
