#include "app/WorkerThread.h"

#include <memory>

#include "app/win/platform/WinRunHost.h"

namespace lbb::app {
namespace {

const std::shared_ptr<win::WorkerCount>& Workers() {
  static const std::shared_ptr<win::WorkerCount> count = std::make_shared<win::WorkerCount>();
  return count;
}

}  // namespace

int TWorkerThread::LiveCount() {
  return Workers()->Live();
}

bool TWorkerThread::Start() {
  // The object becomes the thread's only when the thread runs: a start that fails leaves it
  // to the caller.
  return win::StartWorkerThread(
      [this] {
        std::unique_ptr<TWorkerThread> self(this);
        self->Execute();
      },
      Workers());
}

void WaitForWorkerThreads() {
  Workers()->WaitUntilNone();
}

}  // namespace lbb::app
