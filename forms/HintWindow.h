// A hint: a small borderless window with a text, measured within a width and shown at a
// rectangle of the screen. The mouse passes through it to the window below.
#pragma once

#include "forms/Controls.h"

namespace lbb::forms {

class THintWindow : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit THintWindow(TComponent* owner);
  // The screen rectangle at (0, 0) that shows `text` wrapped within `maxWidth` pixels.
  RECT CalcHintRect(int maxWidth, const String& text);
  // Shows `text` in `rect` (screen coordinates) without taking the focus.
  void ActivateHint(const RECT& rect, const String& text);
  // Hides the hint and lets its window go.
  void ReleaseHandle();
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(HDC dc) override;
};

}  // namespace lbb::forms
