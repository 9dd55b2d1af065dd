#include "skin/win/HoverWatcher.h"

#include <utility>

#include "skin/win/WinSkinData.h"

namespace lbb::skin {

namespace {

constexpr UINT kLeavePollMs = 100;

}  // namespace

bool CursorOver(HWND hwnd) {
  POINT cursor{};
  return hwnd && GetCursorPos(&cursor) && WindowFromPoint(cursor) == hwnd;
}

THoverWatcher::THoverWatcher(TCheck check, TLeave leave)
    : check_(std::move(check)), leave_(std::move(leave)), poll_([this] { OnTick(); }) {}

void THoverWatcher::Track(HWND hwnd, bool hot) {
  TrackMouseLeave(hwnd);
  if (hot && hwnd) Watch();
}

void THoverWatcher::Watch() {
  if (!poll_.Running()) poll_.Start(kLeavePollMs);
}

void THoverWatcher::Leave() {
  poll_.Stop();
  if (leave_) leave_();
}

void THoverWatcher::OnTick() {
  switch (check_ ? check_() : TPoll::Left) {
    case TPoll::Over:
      return;
    case TPoll::Left:
      Leave();
      return;
    case TPoll::Idle:
      poll_.Stop();
      return;
  }
}

}  // namespace lbb::skin
