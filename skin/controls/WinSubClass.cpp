#include "skin/controls/WinSubClass.h"

#include "skin/forms/WinSkinForm.h"

namespace lbb::skin {

TSkinControl::TSkinControl(forms::TComponent* AOwner) : forms::TComponent(AOwner) {}

TSkinControl::~TSkinControl() {
  if (skinform) skinform->DeleteControl(this);
}

void TSkinControl::Unsubclass() {
  if (!skinned) return;
  skinned = false;
  if (skinstate != kControlDestroyed && newColor && control) control->SetColor(oldcolor);
}

void TSkinControl::SkinChange() {
  if (newColor && control && fsd) control->SetColor(fsd->Colors[kShemeButtonFace]);
  if (hwnd && IsWindow(hwnd)) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

}  // namespace lbb::skin
