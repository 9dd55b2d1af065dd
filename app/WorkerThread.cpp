#include "app/WorkerThread.h"

#include <memory>

#include "app/win/platform/WinRunHost.h"

namespace lbb::app {
namespace {

// The program's worker threads: made on first use, joined when the process ends.
win::WorkerThreads& Workers() {
  static win::WorkerThreads workers;
  return workers;
}

}  // namespace

int TWorkerThread::LiveCount() {
  return Workers().Live();
}

int TWorkerThread::ThreadCount() {
  return Workers().Threads();
}

int TWorkerThread::PeakThreadCount() {
  return Workers().PeakThreads();
}

bool TWorkerThread::Start() {
  // The object becomes the worker thread's only when it runs: a start that fails leaves it
  // to the caller.
  return Workers().Start([this] {
    std::unique_ptr<TWorkerThread> self(this);
    self->Execute();
  });
}

void WaitForWorkerThreads() {
  Workers().WaitUntilNone();
}

}  // namespace lbb::app
