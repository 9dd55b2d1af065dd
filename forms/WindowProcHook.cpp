#include "forms/WindowProcHook.h"

#include <utility>

namespace lbb::forms {

// What an installed hook put in front of the method it found. The control's WindowProc, and
// any method installed later that kept it, hold the link through a Thunk; the link outlives
// the hook, so a method kept by someone else keeps working after the hook has gone.
struct TWindowProcHook::Link {
  TWindowProcHook* hook = nullptr;  // null once the hook is out: messages pass to `previous`
  TWndMethod previous;
};

struct TWindowProcHook::Thunk {
  std::shared_ptr<Link> link;
  void operator()(TMessage& m) const {
    // The handler may restore the hook and so replace the very method running now: keep the
    // link alive on the stack and do not touch this thunk afterwards.
    std::shared_ptr<Link> keep = link;
    if (keep->hook) {
      keep->hook->handler_(m);
    } else if (keep->previous) {
      keep->previous(m);
    }
  }
};

// Learns that the control is freed (free notifications are between components).
class TWindowProcHook::Watcher : public TComponent {
 public:
  explicit Watcher(TWindowProcHook& hook) : TComponent(nullptr), hook_(hook) {}

 protected:
  void Notification(TComponent* c, TOperation operation) override {
    TComponent::Notification(c, operation);
    if (operation == TOperation::opRemove && c == hook_.control_) hook_.ControlGone();
  }

 private:
  TWindowProcHook& hook_;
};

TWndMethod TWindowProcHook::WithoutRemovedHooks(TWndMethod method) {
  for (;;) {
    const auto* thunk = method.target<Thunk>();
    if (!thunk || thunk->link->hook) return method;
    TWndMethod inner = thunk->link->previous;
    method = std::move(inner);
  }
}

TWindowProcHook::TWindowProcHook(TWndMethod handler)
    : handler_(std::move(handler)), watcher_(std::make_unique<Watcher>(*this)) {}

TWindowProcHook::~TWindowProcHook() {
  Restore();
}

bool TWindowProcHook::Install(TControl& control) {
  Restore();
  link_.reset();
  if (control.Destroying()) return false;
  link_ = std::make_shared<Link>();
  link_->hook = this;
  link_->previous = WithoutRemovedHooks(control.WindowProc);
  control_ = &control;
  control.FreeNotification(watcher_.get());
  control.WindowProc = Thunk{link_};
  return true;
}

void TWindowProcHook::Restore() {
  TControl* control = std::exchange(control_, nullptr);
  if (!control || !link_) return;
  // The link stays with the hook, so that a handler that restores its hook can still pass
  // the message it is handling on.
  link_->hook = nullptr;
  control->RemoveFreeNotification(watcher_.get());
  if (control->Destroying()) return;
  // The outermost method: the control gets back what this hook replaced. Otherwise the
  // methods installed later keep reaching it through the link, which now passes on.
  const auto* thunk = control->WindowProc.target<Thunk>();
  if (thunk && thunk->link == link_) control->WindowProc = WithoutRemovedHooks(link_->previous);
}

bool TWindowProcHook::Installed() const {
  return control_ && link_ && link_->hook == this;
}

bool TWindowProcHook::Current() const {
  if (!Installed() || control_->Destroying()) return false;
  const auto* thunk = control_->WindowProc.target<Thunk>();
  return thunk && thunk->link == link_;
}

void TWindowProcHook::CallPrevious(TMessage& m) {
  std::shared_ptr<Link> link = link_;
  if (link && link->previous) {
    link->previous(m);
  } else if (control_) {
    control_->WndProc(m);
  }
}

void TWindowProcHook::ControlGone() {
  // The control's methods went with it; what is left of the chain is the links.
  if (link_) link_->hook = nullptr;
  link_.reset();
  control_ = nullptr;
}

}  // namespace lbb::forms
