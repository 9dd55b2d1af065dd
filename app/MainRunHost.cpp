#include "app/MainRunHost.h"

#include <memory>

#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/win/platform/WinRunHost.h"
#include "forms/Application.h"

namespace lbb::app {

TMainRunHost::TMainRunHost()
    : handOver_([this](const String& line) { ToLog(line); },
                [this](const std::vector<String>& lines) { AppendLines(lines); }) {}

void TMainRunHost::ToLog(const String& line) {
  if (log_) log_(line);
}

void TMainRunHost::AppendLines(const std::vector<String>& lines) {
  String joined;
  for (const String& line : lines) {
    if (!joined.empty()) joined += u"\r\n";
    joined += line;
  }
  ToLog(joined);
}

bool TMainRunHost::StartWorker(std::function<void()> body) {
  std::unique_ptr<TWorkerThread> worker;
  if (kind_ == RunKind::kBackup) {
    worker = std::make_unique<TDownContent>(std::move(body));
  } else {
    worker = std::make_unique<TDownPic>(std::move(body));
  }
  if (!worker->Start()) return false;
  worker.release();  // the worker thread frees it when it has run
  return true;
}

void TMainRunHost::HandOverLogLine(const String& line) {
  handOver_.HandOverLogLine(line);
}

void TMainRunHost::AppendLog(const String& line) {
  handOver_.AppendLog(line);
}

void TMainRunHost::ProcessPendingEvents() {
  forms::Application->ProcessMessages();
}

LocalTime TMainRunHost::Now() {
  return handOver_.Now();
}

}  // namespace lbb::app
