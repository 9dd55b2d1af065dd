// What the runs need from the program, on Win32: workers on a few long-lived threads, a
// hand-over of log lines to the UI thread through its message queue, processing of pending
// window events, the user's date and time formats, and where the program and the blog host
// are.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "app/engine/Downloader.h"
#include "app/engine/Runs.h"
#include "app/engine/Scrape.h"
#include "app/engine/WorkerPool.h"
#include "base/win/Handles.h"
#include "forms/HandOver.h"

namespace lbb::win {

// Threads that run the workers of a host (or of the program) at most: twice the downloads in
// flight, so that while some workers write their pages or wait for the UI thread the others
// keep every download slot busy. A thread start costs much under Wine: a run of thousands of
// articles reuses these few threads instead of starting one per article.
constexpr int kWorkerThreads = 2 * kMaxDownloadsInFlight;

// Least time between two appends of handed-over lines, for a host that appends lines together.
constexpr DWORD kLogAppendIntervalMs = 50;
// For such a host the pause after an append is also at least this many times what the append
// took: a log whose appends are slow (a long memo under Wine takes tens of milliseconds) takes
// at most about a fifth of the UI thread, which also fetches the list pages and starts the
// workers. The lines are the same, in the same order; slow logs get them in fewer, larger
// appends.
constexpr DWORD kLogAppendPauseFactor = 4;

// The workers of a host or of the program on a pool of at most kWorkerThreads threads, and
// the UI thread's wait for them. A worker has ended when its body has returned and the log
// line it handed over has been appended.
class WorkerThreads {
 public:
  WorkerThreads();
  // Runs `body` as a worker; exceptions do not leave it. false when no thread could be had
  // (`body` is then dropped without running).
  bool Start(std::function<void()> body);
  // Workers started and not yet ended.
  int Live() const { return pool_.LiveItems(); }
  // Pool threads running now, and the most that ran at once.
  int Threads() const { return pool_.Threads(); }
  int PeakThreads() const { return pool_.PeakThreads(); }
  // Dispatches window events (handed-over lines included) until every worker has ended,
  // waiting on the message queue and on the workers' ends without polling.
  void WaitUntilNone();

 private:
  // Set when a worker ends while the UI thread waits for them (manual reset); shared with
  // the ends, which may come late. Outside that wait no end signals it: setting an event is a
  // request to the Wine server, once per article otherwise.
  struct Ends {
    KernelHandle changed;
    std::atomic<bool> waiting{false};
  };
  std::shared_ptr<Ends> ends_;
  WorkerPool pool_;
};

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
  // Hands the line over to the UI thread. A worker of a pool does not keep its thread
  // waiting: it stays alive until the line has been appended (or the host is closing) while
  // its thread goes on with the next worker. Any other thread waits for the append.
  void HandOverLogLine(const String& line) override;
  // Lines handed over earlier and still waiting go first.
  void AppendLog(const String& line) override;
  void ProcessPendingEvents() override;
  LocalTime Now() override;

  // Lines handed over that have not reached the UI thread yet.
  size_t QueuedLines() { return handOver_.Queued(); }
  // Workers started here that have not ended yet.
  int LiveWorkers() const { return workers_.Live(); }
  // The threads that run them: now, and the most at once.
  int WorkerThreadCount() const { return workers_.Threads(); }
  int PeakWorkerThreads() const { return workers_.PeakThreads(); }
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
  forms::THandOver handOver_;  // the lines' way to the UI thread
  WindowTimer flushTimer_{1};  // appends lines that waited for the interval
  // Handed over, not yet appended (their workers wait or stay alive).
  std::vector<std::shared_ptr<LogHandOver>> waiting_;
  DWORD lastAppend_ = 0;      // tick count at the end of the last append
  DWORD lastAppendCost_ = 0;  // milliseconds the last append took
  // Last, so it goes first: its end joins the threads while the hand-over (closed by then)
  // is still there for workers that are finishing.
  WorkerThreads workers_;
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
