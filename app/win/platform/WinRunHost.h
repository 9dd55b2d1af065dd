// What the runs need from the program, on Win32: worker threads that release themselves, a
// hand-over of log lines to the UI thread through its message queue, processing of pending
// window events, the user's date and time formats, and where the program and the blog host
// are.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "app/engine/Runs.h"
#include "app/engine/Scrape.h"
#include "base/win/Handles.h"
#include "forms/HandOver.h"

namespace lbb::win {

// Reserved stack of each worker thread: every article and picture has its own thread, and
// a large blog must not run a 32-bit process out of address space.
constexpr SIZE_T kWorkerStackReserve = 256 * 1024;

// Least time between two appends of handed-over lines, for a host that appends lines together.
constexpr DWORD kLogAppendIntervalMs = 50;

// Worker threads started and not yet ended; shared with the threads, which may outlive
// whoever started them.
class WorkerCount {
 public:
  WorkerCount();
  int Live() const { return live_.load(); }
  // Dispatches window events (handed-over lines included) until every worker counted here
  // has ended, waiting on the message queue and on the workers' ends without polling.
  void WaitUntilNone();
  // Counted by StartWorkerThread.
  void Started() { ++live_; }
  void Ended();

 private:
  std::atomic<int> live_{0};
  KernelHandle changed_;  // manual-reset event, set when a worker ends
};

// Starts `body` on a new thread that ends by itself (nobody joins it), counted in `count`
// while it runs; exceptions do not leave it. false when no thread could be had (`body` is
// then dropped without running).
bool StartWorkerThread(std::function<void()> body, std::shared_ptr<WorkerCount> count);

class WinRunHost : public RunHost {
 public:
  // Create and use on the UI thread. `appendLog` appends one line to the log.
  explicit WinRunHost(std::function<void(const String&)> appendLog);
  // The same, with `appendLines` taking the lines handed over together, in order: at most
  // one append per `kLogAppendIntervalMs`, lines arriving in between wait for the next one
  // (and their workers with them). A log control that redraws per append costs the UI
  // thread a few milliseconds each time under Wine; appending thousands of lines one by
  // one would keep it from starting the next workers.
  WinRunHost(std::function<void(const String&)> appendLog,
             std::function<void(const std::vector<String>&)> appendLines);
  ~WinRunHost() override;
  WinRunHost(const WinRunHost&) = delete;
  WinRunHost& operator=(const WinRunHost&) = delete;

  bool StartWorker(std::function<void()> body) override;
  // Hands the line over to the UI thread and waits until it has been appended (or the host
  // is closing).
  void HandOverLogLine(const String& line) override;
  // Lines handed over earlier and still waiting go first.
  void AppendLog(const String& line) override;
  void ProcessPendingEvents() override;
  LocalTime Now() override;

  // Lines handed over that have not reached the UI thread yet.
  size_t QueuedLines() { return handOver_.Queued(); }
  // Worker threads started here that have not ended yet.
  int LiveWorkers() const { return workers_->Live(); }
  // Processes window events (handed-over lines included) until every worker has ended.
  void FinishWorkers();

 private:
  struct LogHandOver;
  // On the UI thread, after lines were handed over together: appends the waiting lines now,
  // or after the rest of the interval.
  void AppendOrWait();
  void OnFlushTimer();
  // Appends the waiting lines and releases their workers.
  void FlushWaitingLines();

  std::function<void(const String&)> appendLog_;
  std::function<void(const std::vector<String>&)> appendLines_;
  forms::THandOver handOver_;          // the lines' way to the UI thread
  WindowTimer flushTimer_{1};          // appends lines that waited for the interval
  std::vector<LogHandOver*> waiting_;  // handed over, not yet appended (the workers wait)
  DWORD lastAppend_ = 0;               // tick count at the end of the last append
  std::shared_ptr<WorkerCount> workers_ = std::make_shared<WorkerCount>();
};

// The user's short date and long time of `st`.
LocalTime FormatLocalTime(const SYSTEMTIME& st);

// Folder of the running executable, without the trailing separator.
String ProgramDirectory();

// The blog host: BlogSiteURL and PhotoSiteURL, unless the environment variables
// LORVANE_BLOG_SITE and LORVANE_PHOTO_SITE (a testing aid: the sample host's addresses) say
// otherwise. A trailing slash is dropped.
Sites ProgramSites();

}  // namespace lbb::win
