// The media player's skinned buttons. TSkinMP lays a TWMediaPlayer panel over the player
// control (a sibling window at the control's place, above it) and keeps it there while the
// control moves, resizes, shows and hides. The panel draws the player's visible buttons from
// the skin's `Button` element, as push buttons (normal, pressed, disabled, hot), each with its
// glyph, and hands a click to the player as the player's own buttons would (its OnClick with
// the button). A skin without a button picture leaves the player as it is.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "forms/MediaPlayer.h"
#include "forms/StdCtrls.h"
#include "skin/controls/WinSubClass.h"
#include "skin/win/DibSurface.h"

namespace lbb::skin {

using forms::TMPBtnType;

// One button of the panel.
struct TMPButton {
  TMPBtnType Kind = TMPBtnType::btPlay;
  bool Visible = false;
  bool Enabled = false;
  RECT Rect{};  // in the panel's client area (visible buttons only)
};

class TWMediaPlayer : public forms::TCustomPanel {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TWMediaPlayer(forms::TComponent* AOwner);

  // Serves the player `aObj` with the skin data of `askin`: the panel goes onto the player's
  // parent, over the player.
  void Attach(TSkinControl* askin, forms::TWinControl* aObj);
  // Takes the player's place, visibility and buttons again, and stays above it.
  void SetPosition(forms::TWinControl* aObj);
  void WndProc(forms::TMessage& m) override;

  std::vector<TMPButton> Buttons;  // all nine, in TMPBtnType order
  int count = 0;                   // visible buttons
  TSkinData* fsd = nullptr;
  bool IsDown = false;                        // a button is held
  TMPBtnType BtnClick = TMPBtnType::btPlay;   // the button held (while IsDown)
  TMPBtnType BtnFocuse = TMPBtnType::btPlay;  // the button under the mouse (while hot)
  int BtnWidth = 0;                           // width of a button
  forms::TWinControl* obj = nullptr;          // the player
  TSkinControl* skincontrol = nullptr;        // the player's skinner (draws the frames)

 protected:
  void PaintWindow(HDC dc) override;

 private:
  void ReadButtons();
  // The visible button under client point p; null when none.
  const TMPButton* ButtonAt(POINT p) const;
  int FrameOf(const TMPButton& b) const;
  void DrawButton(const TMPButton& b);
  void OnDown(POINT p);
  // Clicks the held button when released over it; the panel may be gone afterwards.
  void OnUp(POINT p);
  void OnMove(POINT p);
  void OnLeave();

  bool hot_ = false;  // BtnFocuse is under the mouse
  TDibSurface buffer_;
};

class TSkinMP : public TSkinControl {
 public:
  explicit TSkinMP(forms::TComponent* AOwner);
  ~TSkinMP() override;

  // Starts as the base does, then lays the panel over the player (when the skin has a
  // button picture).
  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  void AfterProc(forms::TMessage& m) override;
  // Frees the panel; the player shows its own buttons again.
  void Unsubclass() override;
  void SkinChange() override;

  std::unique_ptr<TWMediaPlayer> mp;
};

}  // namespace lbb::skin
