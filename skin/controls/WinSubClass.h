// TSkinControl: the base of every control skinner. One instance is attached to one control
// (a control object of the form library, or a bare window without one) and lives in its form
// skinner's Controllist. This is the lifecycle the form skinner relies on; taking over the
// control's messages and painting it belong to the control skinners built on it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/Controls.h"
#include "forms/core/Component.h"
#include "skin/win/WinSkinData.h"

namespace lbb::skin {

class TWinSkinForm;

// skinstate values of a control skinner.
enum TSkinControlState : int {
  kControlCreated = 0,
  kControlStarted = 1,
  kControlDestroyed = 6,  // its window is being destroyed
};

class TSkinControl : public forms::TComponent {
 public:
  // Created with the skinned control as owner, so it goes with the control; null for a bare
  // window (then the form skinner's list owns it).
  explicit TSkinControl(forms::TComponent* AOwner);
  // Takes itself out of its form skinner's list (DeleteControl).
  ~TSkinControl() override;

  // Stops skinning without touching the window procedure: clears `skinned` and gives the
  // control its colour back (not while its window is being destroyed).
  virtual void Unsubclass();
  // The skin data changed: the control takes the new ButtonFace when its colour was replaced.
  virtual void SkinChange();
  virtual int GetState() { return 1; }
  // The mouse left the control (the form skinner's timer says so for plain windows).
  virtual void MouseLeave() {}

  uint8_t state = 0;  // bit 0 hot, bit 1 pressed
  bool done = false;
  bool isdraw = false;
  bool enabled = true;
  bool focused = false;
  std::u16string caption;
  bool skinned = true;
  bool isunicode = false;
  TSkinData* fsd = nullptr;
  HWND hwnd = nullptr;
  forms::TWinControl* control = nullptr;
  forms::TControl* GControl = nullptr;  // windowless controls
  bool newColor = false;
  int64_t oldcolor = 0;
  bool Inited = false;
  int skinstate = kControlCreated;
  TWinSkinForm* skinform = nullptr;
  int kind = 0;
  bool sizing = false;
  bool parentbk = false;
  RECT boundsrect{};  // the control's rectangle on the screen
};

}  // namespace lbb::skin
