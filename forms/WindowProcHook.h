// A chained replacement of a control's message method (TControl::WindowProc): the hook
// installs its handler in front of the method it finds, the handler passes what it does not
// take to that method (CallPrevious), and Restore puts the method back.
//
// Hooks may be removed in any order. A hook removed while another one was installed after it
// becomes a pass-through: the later hook (or anything else that kept the method) still reaches
// the method the removed hook had replaced, and when the later hook is restored it puts back
// that method, not the removed hook. A hook that outlives its control does nothing when it is
// restored or destroyed.
#pragma once

#include <memory>

#include "forms/Controls.h"

namespace lbb::forms {

class TWindowProcHook {
 public:
  // `handler` gets every message while the hook is installed; it calls CallPrevious for the
  // messages it leaves to the method it replaced.
  explicit TWindowProcHook(TWndMethod handler);
  // Restores the previous method when the hook is still installed.
  ~TWindowProcHook();
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;

  // Installs the hook in front of `control`'s current method (restoring it first from the
  // control it was on). false when the control is being destroyed.
  bool Install(TControl& control);
  // Takes the hook out of its control's chain; nothing when not installed.
  void Restore();
  // Installed on a control that still exists.
  bool Installed() const;
  // Installed and the outermost method of its control (no hook or method installed later).
  bool Current() const;
  TControl* Control() const { return control_; }
  // Passes `m` to the method this hook replaced (the control's own handling when none).
  void CallPrevious(TMessage& m);

 private:
  struct Link;
  struct Thunk;
  class Watcher;

  // `method` without the pass-through links of hooks that are out already.
  static TWndMethod WithoutRemovedHooks(TWndMethod method);
  void ControlGone();

  TWndMethod handler_;
  TControl* control_ = nullptr;
  std::shared_ptr<Link> link_;
  std::unique_ptr<Watcher> watcher_;
};

}  // namespace lbb::forms
