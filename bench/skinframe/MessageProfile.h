// Where a window's time goes, message by message: while a profile runs, hooks around every
// message sent to a window procedure of this thread record the time spent in it, and the
// posted messages handed to Dispatch are timed the same way. Each message kind is counted
// apart for the profiled top-level window and for everything else (its controls), with its
// inclusive time and its own time (without the messages handled inside it).
#pragma once

#include <windows.h>

#include <map>
#include <utility>
#include <vector>

namespace lbb::bench {

class MessageProfile {
 public:
  // Starts recording the messages of this thread; `frame` is the top-level window whose
  // messages are counted apart. One profile runs at a time.
  explicit MessageProfile(HWND frame);
  ~MessageProfile() { Stop(); }
  MessageProfile(const MessageProfile&) = delete;
  MessageProfile& operator=(const MessageProfile&) = delete;

  // Stops recording; what was recorded stays.
  void Stop();
  // A posted message handed to its window, timed.
  void Dispatch(MSG& m);
  // Every pending message handed to its window, timed.
  void DispatchPending();
  // Prints the `most` costliest kinds by own time, per one of `steps` (named `step`).
  void Print(int steps, const char* step, size_t most) const;

  // The hooks' entry and exit of one message.
  void Enter(HWND hwnd, UINT msg);
  void Leave();

 private:
  struct Open {
    UINT msg;
    bool frame;
    double start;
    double inner;
  };
  struct Totals {
    long count = 0;
    double inclusive = 0;
    double own = 0;
  };
  HWND frame_;
  HHOOK before_ = nullptr;
  HHOOK after_ = nullptr;
  std::vector<Open> open_;
  std::map<std::pair<UINT, bool>, Totals> totals_;
  double outside_ = 0;  // time of the outermost messages, inclusive
};

}  // namespace lbb::bench
