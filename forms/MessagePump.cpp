#include "forms/MessagePump.h"

#include <utility>
#include <vector>

namespace lbb::forms {
namespace {

thread_local int dispatchDepth = 0;

}  // namespace

void DispatchPlain(MSG& m) {
  TranslateMessage(&m);
  DispatchMessageW(&m);
}

int DispatchDepth() {
  return dispatchDepth;
}

DWORD WaitForInputOrObjects(std::initializer_list<HANDLE> handles, DWORD timeoutMs) {
  std::vector<HANDLE> list;
  for (HANDLE h : handles) {
    if (h) list.push_back(h);
  }
  const DWORD n = static_cast<DWORD>(list.size());
  const DWORD got = MsgWaitForMultipleObjectsEx(n, list.empty() ? nullptr : list.data(), timeoutMs,
                                                QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (got >= WAIT_OBJECT_0 && got < WAIT_OBJECT_0 + n) {
    // Index among the handles given (null ones were left out of the wait).
    HANDLE signalled = list[got - WAIT_OBJECT_0];
    DWORD index = 0;
    for (HANDLE h : handles) {
      if (h == signalled) return index;
      ++index;
    }
  }
  if (got == WAIT_OBJECT_0 + n) return static_cast<DWORD>(handles.size());
  return got;
}

TMessagePump::TMessagePump(TMessageDispatch dispatch, bool outermost)
    : dispatch_(std::move(dispatch)), outermost_(outermost) {}

TMessagePump::~TMessagePump() {
  if (quitSeen_ && !outermost_) PostQuitMessage(exitCode_);
}

void TMessagePump::Dispatch(MSG& m) {
  ++dispatchDepth;
  struct Leave {
    ~Leave() { --dispatchDepth; }
  } leave;
  if (dispatch_) {
    dispatch_(m);
  } else {
    DispatchPlain(m);
  }
}

void TMessagePump::TakeQuit(const MSG& m) {
  quitSeen_ = true;
  exitCode_ = static_cast<int>(m.wParam);
}

bool TMessagePump::ProcessPending() {
  if (quitSeen_) return false;
  MSG m{};
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      TakeQuit(m);
      return false;
    }
    Dispatch(m);
  }
  return true;
}

bool TMessagePump::HandleOne() {
  if (quitSeen_) return false;
  MSG m{};
  const BOOL got = GetMessageW(&m, nullptr, 0, 0);
  if (got == -1) {
    // No queue to read (should not happen on a UI thread): end like a quit.
    quitSeen_ = true;
    return false;
  }
  if (got == 0) {
    TakeQuit(m);
    return false;
  }
  Dispatch(m);
  return true;
}

bool TMessagePump::PumpUntil(const std::function<bool()>& done, HANDLE wake, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    // A quit seen earlier is held: the messages behind it still flow while the wait lasts.
    MSG m{};
    while (!done() && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) {
        TakeQuit(m);
      } else {
        Dispatch(m);
      }
    }
    if (done()) return true;
    DWORD left = INFINITE;
    if (timeoutMs != INFINITE) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= timeoutMs) return false;
      left = timeoutMs - spent;
    }
    if (WaitForInputOrObjects({wake}, left) == WAIT_FAILED) return done();
  }
}

}  // namespace lbb::forms
