#include "app/WorkerThread.h"

#include <memory>

#include "app/win/platform/WinRunHost.h"

namespace lbb::app {

std::atomic<int> TWorkerThread::live_{0};

bool TWorkerThread::Start() {
  ++live_;
  // Every article and picture has its own thread: a small reserved stack keeps a large run
  // inside a 32-bit address space.
  HANDLE thread = CreateThread(nullptr, win::kWorkerStackReserve, &ThreadProc, this,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) {
    --live_;
    return false;
  }
  CloseHandle(thread);  // nobody joins a worker
  return true;
}

DWORD WINAPI TWorkerThread::ThreadProc(void* param) {
  std::unique_ptr<TWorkerThread> self(static_cast<TWorkerThread*>(param));
  try {
    self->Execute();
  } catch (...) {
    // Worker bodies report and log by themselves; nothing may escape a thread.
  }
  self.reset();
  --live_;
  return 0;
}

void WaitForWorkerThreads() {
  while (TWorkerThread::LiveCount() > 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;  // the loop that owned it has ended already
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

}  // namespace lbb::app
