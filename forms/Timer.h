// A timer component: OnTimer runs on the UI thread every Interval milliseconds while Enabled.
#pragma once

#include <windows.h>

#include "base/win/Handles.h"
#include "forms/Controls.h"
#include "forms/core/Component.h"

namespace lbb::forms {

class TTimer : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int64_t Interval() const { return interval_; }
  void SetInterval(int64_t ms);
  TNotifyEvent OnTimer;

  // Runs OnTimer (the application window's WM_TIMER).
  void Fire();

 private:
  void Update();

  bool enabled_ = true;
  int64_t interval_ = 1000;
  WindowTimer timer_;  // on the application's window, under an id of the application
};

}  // namespace lbb::forms
