// The check-box and radio-button skinners: the control is drawn from the skin's check image
// (`CheckMap`, `checkframe` frames) or radio image (`RadioMap`, `radioframe` frames) of the
// `Button` element, with its caption beside it. A skin without the image leaves the control to
// paint itself (kind 0); it still answers SKM_ISSKINNED. Frame choice and layout come from
// skin/data/CheckGeometry.h.
#pragma once

#include <windows.h>

#include "skin/controls/WinSubClass.h"

namespace lbb::skin {

// What the check box and the radio button share: messages, layout and drawing.
class TSkinCheckLike : public TSkinControl {
 public:
  explicit TSkinCheckLike(forms::TComponent* AOwner);

  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf) override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  bool trans = false;  // the parent's background behind the control instead of ButtonFace

 protected:
  // The skin's image and its frame count; an empty image when the skin has none.
  virtual const PixelBuffer& Image() const = 0;
  virtual int Frames() const = 0;
  // The frame the control shows now (1-based).
  virtual int FrameNow() = 0;
  // The window's check state (BM_GETCHECK).
  LRESULT CheckState() const;

 private:
  // kind 1 when the skin has the image.
  void ReadKind();
  void DrawCaptionText(HDC dc, const RECT& textBox, bool rightAligned);
  // The caption's font: the control's "Font", else the window's.
  HFONT CaptionFont(TColor& colour) const;
};

class TSkinCheckBox : public TSkinCheckLike {
 public:
  explicit TSkinCheckBox(forms::TComponent* AOwner);
  void AfterProc(forms::TMessage& m) override;

  int state = 0;  // last BM_SETCHECK wParam + 1; 0 before any

 protected:
  const PixelBuffer& Image() const override;
  int Frames() const override;
  int FrameNow() override;
};

class TSkinRadioButton : public TSkinCheckLike {
 public:
  explicit TSkinRadioButton(forms::TComponent* AOwner);

 protected:
  const PixelBuffer& Image() const override;
  int Frames() const override;
  int FrameNow() override;
};

}  // namespace lbb::skin
