// The one message pump of the UI thread, used by the application's loop, modal loops and
// every loop that waits for something while messages must keep flowing.
//
// The WM_QUIT rule: the outermost loop (the application's Run) ends on it and keeps its exit
// code. A loop nested inside the handling of a message (a modal loop, a wait for workers, a
// pass over pending messages) takes it off the queue, stops dispatching input for the rest
// of that pass and posts it again with the same exit code when the loop ends, so that the
// loop that owns it ends too. Waiting loops wait on the queue and on events, never poll.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>

namespace lbb::forms {

// How a loop hands one message on (the application adds dialog keys and hints).
using TMessageDispatch = std::function<void(MSG& m)>;

// TranslateMessage and DispatchMessage.
void DispatchPlain(MSG& m);

// How deep the calling thread is in messages dispatched by a TMessagePump: 0 outside any.
int DispatchDepth();

// Waits until input is in the queue (also input seen before and not taken), one of
// `handles` is signalled or `timeoutMs` has passed. Returns the index of the signalled
// handle, `handles.size()` for input, WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitForInputOrObjects(std::initializer_list<HANDLE> handles, DWORD timeoutMs = INFINITE);

class TMessagePump {
 public:
  // `outermost`: this loop owns WM_QUIT (ends on it and does not post it again).
  explicit TMessagePump(TMessageDispatch dispatch = {}, bool outermost = false);
  // A nested loop that took a WM_QUIT posts it again.
  ~TMessagePump();
  TMessagePump(const TMessagePump&) = delete;
  TMessagePump& operator=(const TMessagePump&) = delete;

  // Dispatches every pending message. false when WM_QUIT came (now or earlier).
  bool ProcessPending();
  // Waits for one message and dispatches it. false when WM_QUIT came.
  bool HandleOne();
  // Dispatches messages until `done()` holds, waiting between passes on the queue and on
  // `wake` (may be null), which whoever changes what `done` looks at signals. A WM_QUIT
  // does not end the wait: it is posted again when the pump ends. false when
  // `timeoutMs` passed first.
  bool PumpUntil(const std::function<bool()>& done, HANDLE wake, DWORD timeoutMs = INFINITE);

  bool QuitSeen() const { return quitSeen_; }
  int ExitCode() const { return exitCode_; }

 private:
  void Dispatch(MSG& m);
  void TakeQuit(const MSG& m);

  TMessageDispatch dispatch_;
  bool outermost_;
  bool quitSeen_ = false;
  int exitCode_ = 0;
};

}  // namespace lbb::forms
