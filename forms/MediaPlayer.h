// A media player's button bar: nine buttons (play, pause, stop, next, previous, step, back,
// record, eject) side by side, each drawn as a push button with its glyph. The control plays
// nothing itself: a click on a visible, enabled button raises OnClick with that button, and
// the program does what the button means.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "forms/Controls.h"

namespace lbb::forms {

enum class TMPBtnType {
  btPlay,
  btPause,
  btStop,
  btNext,
  btPrev,
  btStep,
  btBack,
  btRecord,
  btEject
};
inline constexpr int kMPButtonCount = 9;

// A set of buttons: bit n is button n of TMPBtnType.
using TButtonSet = uint16_t;
constexpr TButtonSet MPButton(TMPBtnType b) {
  return static_cast<TButtonSet>(1u << static_cast<int>(b));
}
inline constexpr TButtonSet kAllMPButtons = 0x1FF;

// The glyph of button `b` centred in `r` in `colour`: a triangle (play), two bars (pause), a
// square (stop), a triangle and a bar (next, previous), two triangles (step, back), a disc
// (record), a triangle over a bar (eject).
void DrawMediaGlyph(HDC dc, const RECT& r, TMPBtnType b, COLORREF colour);

class TMediaPlayer : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TMediaPlayer(TComponent* owner);

  TButtonSet VisibleButtons() const { return visible_; }
  void SetVisibleButtons(TButtonSet v);
  TButtonSet EnabledButtons() const { return enabled_; }
  void SetEnabledButtons(TButtonSet v);
  // The published forms of the two sets (their bits as a number).
  int64_t VisibleButtonBits() const { return visible_; }
  void SetVisibleButtonBits(int64_t v) { SetVisibleButtons(static_cast<TButtonSet>(v)); }
  int64_t EnabledButtonBits() const { return enabled_; }
  void SetEnabledButtonBits(int64_t v) { SetEnabledButtons(static_cast<TButtonSet>(v)); }

  struct TButtonPlace {
    TMPBtnType Button;
    RECT Rect;
  };
  // The visible buttons in order, side by side across the client area (each client width /
  // count wide, the last taking the rest).
  std::vector<TButtonPlace> ButtonPlaces() const;
  // A click of `b`: OnClick runs when the button is visible and enabled (the control may be
  // gone afterwards).
  void ButtonClick(TMPBtnType b);
  std::function<void(TObject* sender, TMPBtnType button)> OnClick;

  void WndProc(TMessage& message) override;

 protected:
  void PaintWindow(HDC dc) override;

 private:
  bool Usable(TMPBtnType b) const;
  int PlaceAt(POINT p) const;  // index into ButtonPlaces(); -1 when none
  // Clicks the pressed button when released over it (the control may be gone then).
  void OnRelease(POINT p);

  TButtonSet visible_ = kAllMPButtons;
  TButtonSet enabled_ = kAllMPButtons;
  int pressed_ = -1;  // the place being pressed
};

}  // namespace lbb::forms
