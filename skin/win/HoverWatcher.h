// The hover tracking of the skinners that show a hot state. The system reports the mouse
// leaving a window only for one tracked window per thread, and the form library tracks the
// window under the mouse as well: a report can be lost (under Wine it is, now and then). So
// while something is hot the watcher also looks for the cursor itself, every 100 ms, on an
// engine timer (skin/win/SkinTimers.h: the control's own WM_TIMER stream is never touched).
#pragma once

#include <windows.h>

#include <functional>

#include "skin/win/SkinTimers.h"

namespace lbb::skin {

// The cursor is over `hwnd` itself (not over a window covering it).
bool CursorOver(HWND hwnd);

class THoverWatcher {
 public:
  // What the poll finds: the hover goes on, it ended (the leave callback runs), or there is
  // nothing left to watch (the poll stops without a leave).
  enum class TPoll { Over, Left, Idle };
  using TCheck = std::function<TPoll()>;
  using TLeave = std::function<void()>;

  // `check` runs on every poll; `leave` ends the hot state.
  THoverWatcher(TCheck check, TLeave leave);
  THoverWatcher(const THoverWatcher&) = delete;
  THoverWatcher& operator=(const THoverWatcher&) = delete;

  // The mouse moved over `hwnd`: asks for its leave report and, while `hot`, runs the poll.
  void Track(HWND hwnd, bool hot);
  // Starts the poll unless it runs.
  void Watch();
  // Stops the poll without a leave.
  void Stop() { poll_.Stop(); }
  // The mouse left (WM_MOUSELEAVE, or the poll found it gone): stops the poll, then `leave`.
  void Leave();

 private:
  void OnTick();

  TCheck check_;
  TLeave leave_;
  TSkinTimer poll_;
};

}  // namespace lbb::skin
