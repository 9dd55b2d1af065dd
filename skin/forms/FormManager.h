// TFormManagerSeam: what a form skinner asks of the skin manager above it. The manager makes
// the form skinners and registers itself here (SetFormManager); a form skinner reaches it
// through FormManager(), which is null while there is no manager (a form skinner made by a
// test, or after shutdown), and every caller copes with that.
#pragma once

#include <windows.h>

#include <cstdint>

#include "forms/Forms.h"

namespace lbb::skin {

class TWinSkinForm;
class TWinSkinPopMenu;

// The kind of menu about to open.
enum TMenuType : int { mtPopup = 0, mtMenuBar = 1, mtSystem = 2 };

class TFormManagerSeam {
 public:
  // The skinner `sf` goes: it must leave the manager's list.
  virtual void FormGone(TWinSkinForm* sf) = 0;
  // A form skinner starts its set-up: the manager is running from now on.
  virtual void FormSettingUp() = 0;
  // Skinning is switched on.
  virtual bool SkinningOn() const = 0;
  // The manager's mode: 0 for the program's main manager, a module handle for a module's.
  virtual intptr_t ManagerMode() const = 0;
  // The kind of the menu about to open; `tracking`: the painted menu bar tracks it.
  virtual void MenuOpening(TMenuType type, bool tracking = false) = 0;
  // An MDI child is shown maximised (the frame's menu bar carries its caption buttons).
  virtual bool MDIMaximised() const = 0;
  // Says so, re-fitting the MDI children's frames when it changes.
  virtual void SetMDIMax(bool b) = 0;
  // Forgets it without touching any frame (the maximised child was restored or closed).
  virtual void ForgetMDIMax() = 0;
  // The MDI frame of the program: its client window and form.
  virtual void SetMDIFrame(HWND client, forms::TCustomForm* form) = 0;
  virtual HWND MDIClient() const = 0;
  virtual forms::TCustomForm* MDIFrameForm() const = 0;
  // The popup-menu skinners: `amenu` is the menu being shown; SetPopMenu makes the newest
  // popup skinner the current one; the skinner of `amenu`, or null.
  virtual void SetHMenu(HMENU amenu) = 0;
  virtual void SetPopMenu() = 0;
  virtual TWinSkinPopMenu* FindPopMenu(HMENU amenu) const = 0;

 protected:
  ~TFormManagerSeam() = default;
};

TFormManagerSeam* FormManager();
void SetFormManager(TFormManagerSeam* manager);

}  // namespace lbb::skin
