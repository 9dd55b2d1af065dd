// The one way to hand work from a worker thread to a window's thread: calls queued from any
// thread run on the thread that created the hand-over, from its message loop, in the order
// they were queued, while the calling thread waits (or, posted, without waiting). The application
// runs its Synchronize through one; a program without an application object (the command line)
// makes its own.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "base/win/Handles.h"

namespace lbb::forms {

class THandOver {
 public:
  // Create on the thread the calls are to run on; it needs a message loop (any pump of the
  // form library will do) for queued calls to run.
  THandOver();
  // Closes the hand-over (calls still queued are released without running) and returns once
  // no caller is inside Run any more.
  ~THandOver();
  THandOver(const THandOver&) = delete;
  THandOver& operator=(const THandOver&) = delete;

  // The message-only window the calls arrive through, null when it could not be created.
  HWND Window() const { return window_.get(); }
  DWORD OwnerThread() const { return owner_; }

  // Runs `call` on the owning thread and returns when it has run; on the owning thread it
  // runs at once. An exception of `call` is thrown again here. false when the call did not
  // run: the hand-over is closed or has no window.
  bool Run(const std::function<void()>& call);
  // Queues `call` to run on the owning thread after the calls queued before it, and returns
  // at once; on the owning thread it runs at once. Nobody waits for it, so an exception of
  // `call` is dropped. false when the hand-over is closed or has no window; a call still
  // queued when it closes is destroyed without running.
  bool Post(std::function<void()> call);
  // On the owning thread: runs every call queued so far (a message loop does it by itself;
  // this is for owners about to stop pumping).
  void RunPending();
  // Refuses further calls and releases the waiting ones without running them.
  void Close();

  // Calls queued and not yet run.
  size_t Queued();

  // For owners that batch what is handed over: called on the owning thread after the calls
  // that were queued together have run, and for the window's WM_TIMER messages.
  std::function<void()> afterCalls;
  std::function<void(UINT_PTR id)> onTimer;

 private:
  struct PendingCall;
  // Queues `pending` and wakes the owning thread; false when closed. A caller that waits
  // for it is counted inside Run.
  bool Enqueue(PendingCall* pending, bool waits);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  DWORD owner_ = 0;
  WindowHandle window_;
  std::mutex lock_;
  std::condition_variable done_;
  std::deque<PendingCall*> pending_;
  int inside_ = 0;       // callers waiting in Run
  bool posted_ = false;  // a run message is on its way: later calls ride along
  bool closed_ = false;
};

}  // namespace lbb::forms
