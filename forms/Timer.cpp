#include "forms/Timer.h"

#include "forms/Application.h"

namespace lbb::forms {

const TClassInfo& TTimer::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TTimer", &TComponent::StaticClassInfo());
    i.Add(BoolProp<TTimer>(u"Enabled", &TTimer::Enabled, &TTimer::SetEnabled));
    i.Add(IntProp<TTimer>(u"Interval", &TTimer::Interval, &TTimer::SetInterval));
    return i;
  }();
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), id_(Application->AddTimer(this)) {
  Update();
}

TTimer::~TTimer() {
  enabled_ = false;
  Update();
  Application->RemoveTimer(this);
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(int64_t ms) {
  interval_ = ms;
  Update();
}

void TTimer::Update() {
  if (!Application->Handle()) Application->Initialize();
  HWND hwnd = Application->Handle();
  if (running_) KillTimer(hwnd, id_);
  running_ = false;
  if (enabled_ && interval_ > 0) {
    running_ = SetTimer(hwnd, id_, static_cast<UINT>(interval_), nullptr) != 0;
  }
}

void TTimer::Fire() {
  if (running_ && OnTimer) OnTimer(this);
}

}  // namespace lbb::forms
