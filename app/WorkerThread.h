// A thread object that releases itself: made with `new`, started once, and deleted by its
// own thread when Execute has returned. Nobody joins it; the number of such threads still
// alive is counted for the program's shut-down and for tests.
#pragma once

#include <windows.h>

#include <atomic>

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
  static int LiveCount() { return live_.load(); }

 protected:
  // The thread body. Exceptions are caught by the thread procedure.
  virtual void Execute() = 0;

 private:
  static DWORD WINAPI ThreadProc(void* param);
  static std::atomic<int> live_;
};

// Handles messages on the calling (UI) thread until every worker thread has ended: the last
// workers hand their log lines over before they end.
void WaitForWorkerThreads();

}  // namespace lbb::app
