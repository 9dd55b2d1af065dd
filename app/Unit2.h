// TDownContent: the worker of one article of a backup run. It runs the engine's article
// worker body (fetch the article page, write it, report completion, hand the log line to the
// UI thread) on one of the program's worker threads and releases itself when that is done.
#pragma once

#include <functional>

#include "app/WorkerThread.h"

namespace lbb::app {

class TDownContent : public TWorkerThread {
 public:
  // `work` is the article's worker body as the run made it (its address and number inside).
  explicit TDownContent(std::function<void()> work) : work_(std::move(work)) {}

 protected:
  void Execute() override;

 private:
  std::function<void()> work_;
};

}  // namespace lbb::app
