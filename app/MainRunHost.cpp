#include "MainRunHost.h"

#include <memory>

#include "Application.h"
#include "Unit2.h"
#include "Unit3.h"
#include "win_runhost.h"

namespace lbb::app {

TMainRunHost::TMainRunHost()
    : handOver_([this](const Text& line) { ToLog(line); },
                [this](const std::vector<Text>& lines) { AppendLines(lines); }) {}

void TMainRunHost::ToLog(const Text& line) {
  if (log_) log_(line);
}

void TMainRunHost::AppendLines(const std::vector<Text>& lines) {
  Text joined;
  for (const Text& line : lines) {
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
  worker.release();  // the thread frees it when it ends
  return true;
}

void TMainRunHost::HandOverLogLine(const Text& line) {
  handOver_.HandOverLogLine(line);
}

void TMainRunHost::AppendLog(const Text& line) {
  handOver_.AppendLog(line);
}

void TMainRunHost::ProcessPendingEvents() {
  forms::Application->ProcessMessages();
}

LocalTime TMainRunHost::Now() {
  return handOver_.Now();
}

}  // namespace lbb::app
