// The main window's services for the runs: article and picture workers (TDownContent,
// TDownPic) on the program's worker threads, the hand-over of workers' log lines to the UI
// thread (a posted message per batch of lines; a pooled worker's thread does not wait for
// the append; lines arriving close together are appended together), processing of pending
// window events, and the user's date and time.
#pragma once

#include <functional>

#include "app/engine/Runs.h"
#include "app/win/platform/WinRunHost.h"

namespace lbb::app {

enum class RunKind { kBackup, kAlbum };

class TMainRunHost : public RunHost {
 public:
  // Create on the UI thread: the hand-over window belongs to it.
  TMainRunHost();
  // The log sink: called on the UI thread with each line. Empty: lines are dropped (the
  // window is gone).
  void SetLog(std::function<void(const String&)> log) { log_ = std::move(log); }
  // Which run is about to start: its workers are article or picture threads.
  void SetRunKind(RunKind kind) { kind_ = kind; }

  bool StartWorker(std::function<void()> body) override;
  // A worker on the program's worker threads posts the line and stays alive (its thread goes
  // on) until the UI thread has appended it; any other thread waits for the append. The run
  // reports completion before it hands over, and the run's wait never needs the UI thread,
  // so this cannot deadlock.
  void HandOverLogLine(const String& line) override;
  void AppendLog(const String& line) override;
  void ProcessPendingEvents() override;
  LocalTime Now() override;

 private:
  // Lines handed over together go to the log in one append (the memo redraws per append).
  void AppendLines(const std::vector<String>& lines);
  void ToLog(const String& line);

  std::function<void(const String&)> log_;
  RunKind kind_ = RunKind::kBackup;
  win::WinRunHost handOver_;
};

}  // namespace lbb::app
