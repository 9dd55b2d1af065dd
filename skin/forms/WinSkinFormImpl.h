// The form skinner's own state: the replaced window procedures and form message method, and
// what set-up took from the window so that unskinning gives exactly that back. Only the form
// skinner's files include this.
#pragma once

#include <windows.h>

#include <memory>

#include "forms/WindowProcHook.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/win/WindowSubclass.h"

namespace lbb::skin {

struct TWinSkinForm::TImpl {
  explicit TImpl(TWinSkinForm& owner);

  TWindowSubclass window;           // the skinned window's procedure (SkinWndProc)
  TWindowSubclass mdiClient;        // the MDI client's procedure (MDIClientWndProc)
  forms::TWindowProcHook formHook;  // the form's message method (FormWindowProc)
  // False once the skinner is freed: a message that freed it must not touch it afterwards.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
  // The message being dispatched reached the previous procedure already (a handler that
  // fails after that must not pass it a second time).
  bool* passed = nullptr;
  bool menuTaken = false;     // the native menu bar is taken from the window (hmenu)
  bool fitted = false;        // FitFrame resized the window: unskinning gives the size back
  RECT fittedBw{};            // the border widths it was fitted with
  int fittedMenu = 0;         // and the menu band
  bool colorSaved = false;    // formcolor holds the form's own colour
  bool deferredDone = false;  // the deferred initialisation ran
};

}  // namespace lbb::skin
