// The hot objects of a skinned window's non-client area: caption buttons (TWinSysButton) and,
// from the menu-bar painter, menu-bar buttons. Each is normal, hot or pressed; at most one of
// them is the form skinner's ActiveBtn at a time.
#pragma once

#include <windows.h>

#include "skin/data/SkinObjects.h"

namespace lbb::skin {

class TWinSkinForm;
class TSkinData;

// state values of a non-client object.
enum TNCState : int { kNCNormal = 1, kNCPressed = 2, kNCHot = 3 };

class TNCObject {
 public:
  TNCObject(TWinSkinForm* sf, TSkinData* sd) : SF(sf), fsd(sd) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  // Pressed: any other ActiveBtn leaves first; a visible object becomes ActiveBtn.
  virtual void MouseDown();
  // Released over it: hot again.
  virtual void MouseUp();
  // The mouse came over it: any other ActiveBtn leaves; a visible object becomes ActiveBtn.
  virtual void MouseEnter();
  // The mouse left it: normal again, no ActiveBtn, the caption-button hint hidden.
  virtual void MouseLeave();
  // Draws the object in its state straight onto the window (nothing in the base class).
  virtual void Draw() {}

  TWinSkinForm* SF;
  TSkinData* fsd;
  RECT bounds{};  // frame coordinates
  bool visible = false;
  int state = kNCNormal;
  bool enabled = true;
};

// One caption button, drawn from its skin element (not owned).
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm* sf, TSkinData* sd, TDataSkinSysButton* element)
      : TNCObject(sf, sd), data(element) {}
  void Draw() override;

  TDataSkinSysButton* data;
};

}  // namespace lbb::skin
