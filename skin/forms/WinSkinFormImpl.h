// The form skinner's own state: the replaced window procedures and form message method, and
// what set-up took from the window so that unskinning gives exactly that back. Only the form
// skinner's files include this.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

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
  bool menuTaken = false;        // the native menu bar is taken from the window (hmenu)
  bool fitted = false;           // FitFrame resized the window: unskinning gives the size back
  RECT fittedBw{};               // the border widths it was fitted with
  int fittedMenu = 0;            // and the menu band
  bool colorSaved = false;       // formcolor holds the form's own colour
  bool deferredDone = false;     // the deferred initialisation ran
  bool held = false;             // WS_VISIBLE taken away until the deferred initialisation ends
  bool clipAdded = false;        // WS_CLIPCHILDREN added to a bare window while it is skinned
  std::vector<HWND> seeThrough;  // its group boxes, made WS_EX_TRANSPARENT meanwhile
};

// While the skinner fits the window's size to a frame (the skin's, or the native one given
// back), the form's resize veto is not asked: the client area keeps its size, only the frame
// around it changes. A form that refuses every resize would otherwise keep its old outer size
// and lose client area to the skin's borders.
class TFrameFit {
 public:
  explicit TFrameFit(forms::TCustomForm* form) : form_(form) {
    if (form_) saved_ = std::exchange(form_->OnCanResize, nullptr);
  }
  ~TFrameFit() {
    if (form_ && !form_->OnCanResize) form_->OnCanResize = std::move(saved_);
  }
  TFrameFit(const TFrameFit&) = delete;
  TFrameFit& operator=(const TFrameFit&) = delete;

 private:
  forms::TCustomForm* form_;
  decltype(forms::TCustomForm::OnCanResize) saved_;
};

}  // namespace lbb::skin
