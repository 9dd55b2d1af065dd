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

#include "runs.h"
#include "scrape.h"

namespace lbb::win {

// Reserved stack of each worker thread: every article and picture has its own thread, and
// a large blog must not run a 32-bit process out of address space.
constexpr SIZE_T kWorkerStackReserve = 256 * 1024;

class WinRunHost : public RunHost {
 public:
  // Create and use on the UI thread. `appendLog` appends one line to the log.
  explicit WinRunHost(std::function<void(const Text&)> appendLog);
  // The same, with `appendLines` taking every line handed over that is waiting at once, in
  // order: a log control that redraws per append keeps up with many workers that way.
  WinRunHost(std::function<void(const Text&)> appendLog,
             std::function<void(const std::vector<Text>&)> appendLines);
  ~WinRunHost() override;
  WinRunHost(const WinRunHost&) = delete;
  WinRunHost& operator=(const WinRunHost&) = delete;

  bool StartWorker(std::function<void()> body) override;
  // Posts the line to the UI thread's hand-over window and waits until it has been appended
  // (or the window is gone).
  void HandOverLogLine(const Text& line) override;
  void AppendLog(const Text& line) override;
  void ProcessPendingEvents() override;
  LocalTime Now() override;

  // Worker threads started here that have not ended yet.
  int LiveWorkers() const { return live_->load(); }
  // Processes window events (handed-over lines included) until every worker has ended.
  void FinishWorkers();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnLogLine(LPARAM lp);

  std::function<void(const Text&)> appendLog_;
  std::function<void(const std::vector<Text>&)> appendLines_;
  HWND window_ = nullptr;
  // Shared with the worker threads, which may outlive this object.
  std::shared_ptr<std::atomic<int>> live_ = std::make_shared<std::atomic<int>>(0);
};

// The user's short date and long time of `st`.
LocalTime FormatLocalTime(const SYSTEMTIME& st);

// Folder of the running executable, without the trailing separator.
Text ProgramDirectory();

// The blog host: BlogSiteURL and PhotoSiteURL, unless the environment variables
// LORVANE_BLOG_SITE and LORVANE_PHOTO_SITE (a testing aid: the sample host's addresses) say
// otherwise. A trailing slash is dropped.
Sites ProgramSites();

}  // namespace lbb::win
