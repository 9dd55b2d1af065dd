// A worker object that releases itself: made with `new`, started once, run on one of the
// program's few long-lived worker threads, and deleted there when Execute has returned.
// Nobody waits for it; the number of such workers still alive is counted for the program's
// shut-down and for tests. A worker stays alive until the log line it handed over has been
// appended, while its thread goes on with the next worker.
#pragma once

#include <windows.h>

namespace lbb::app {

class TWorkerThread {
 public:
  TWorkerThread() = default;
  virtual ~TWorkerThread() = default;
  TWorkerThread(const TWorkerThread&) = delete;
  TWorkerThread& operator=(const TWorkerThread&) = delete;

  // Queues the worker on the program's worker threads. On success they own the object and
  // free it when Execute has returned; on failure (no thread could be had) the caller still
  // owns it. Call once.
  bool Start();

  // Workers started and not yet ended, in the whole process.
  static int LiveCount();
  // The program's worker threads running now (none once every worker has ended), and the
  // most that ran at once.
  static int ThreadCount();
  static int PeakThreadCount();

 protected:
  // The worker's body. Exceptions are caught by the worker thread.
  virtual void Execute() = 0;
};

// Handles messages on the calling (UI) thread until every worker has ended: the last
// workers hand their log lines over before they end. A WM_QUIT that comes meanwhile is
// posted again when the wait is over.
void WaitForWorkerThreads();

}  // namespace lbb::app
