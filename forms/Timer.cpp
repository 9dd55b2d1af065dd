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

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(Application->AddTimer(this)) {
  Update();
}

TTimer::~TTimer() {
  timer_.Stop();
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
  timer_.Stop();
  if (enabled_ && interval_ > 0) timer_.Start(Application->Handle(), static_cast<UINT>(interval_));
}

void TTimer::Fire() {
  if (timer_.Running() && OnTimer) OnTimer(this);
}

}  // namespace lbb::forms
