// A thread object that releases itself: made with `new`, started once, and deleted by its
// own thread when Execute has returned. Nobody joins it; the number of such threads still
// alive is counted for the program's shut-down and for tests. The thread is started the one
// way the program starts workers (win::StartWorkerThread).
#pragma once

#include <windows.h>

namespace lbb::app {

class TWorkerThread {
 public:
  TWorkerThread() = default;
  virtual ~TWorkerThread() = default;
  TWorkerThread(const TWorkerThread&) = delete;
  TWorkerThread& operator=(const TWorkerThread&) = delete;

  // Starts the thread. On success the thread owns the object and frees it when it ends; on
  // failure (no thread could be had) the caller still owns it. Call once.
  bool Start();

  // Worker threads started and not yet ended, in the whole process.
  static int LiveCount();

 protected:
  // The thread body. Exceptions are caught by the thread procedure.
  virtual void Execute() = 0;
};

// Handles messages on the calling (UI) thread until every worker thread has ended: the last
// workers hand their log lines over before they end. A WM_QUIT that comes meanwhile is
// posted again when the wait is over.
void WaitForWorkerThreads();

}  // namespace lbb::app
