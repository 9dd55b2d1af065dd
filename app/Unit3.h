// TDownPic: the worker of one picture of an album run. It runs the engine's picture worker
// body (download the picture into the user's pic folder, report completion, hand the log
// line to the UI thread) on one of the program's worker threads and releases itself when
// that is done.
#pragma once

#include <functional>

#include "app/WorkerThread.h"

namespace lbb::app {

class TDownPic : public TWorkerThread {
 public:
  // `work` is the picture's worker body as the run made it (its address and number inside).
  explicit TDownPic(std::function<void()> work) : work_(std::move(work)) {}

 protected:
  void Execute() override;

 private:
  std::function<void()> work_;
};

}  // namespace lbb::app
