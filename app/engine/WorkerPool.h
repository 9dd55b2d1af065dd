// A few long-lived threads that run work items one after another, so that a run of
// thousands of articles does not start (and end) a thread per article.
//
// Threads start when an item arrives and no thread is free, up to a cap. They stay while the
// pool has work and end when its last item has ended, so that between two runs the program
// has no worker thread left; the next item starts them again. The pool's end runs the items
// still queued and joins every thread.
//
// An item has ended when its body has returned and every hold taken on it inside the body
// (HoldCurrentItem) has been let go: a worker whose log line waits for the UI thread gives
// its thread to the next item at once and ends when the line has been appended.
#pragma once

#include <functional>
#include <memory>

namespace lbb {

class WorkerPool {
 public:
  // `onItemEnded` is called after each item has ended, on the thread that ended it, outside
  // the pool's lock.
  explicit WorkerPool(int maxThreads, std::function<void()> onItemEnded = nullptr);
  // Runs the items still queued, then joins every thread. Holds still kept end their items
  // later; they may outlive the pool.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Queues `item` to run on a pool thread. An exception of the item is caught there. false
  // when no pool thread runs and none could be started: the item is dropped unrun.
  bool Submit(std::function<void()> item);

  // Inside an item's body on a pool thread: keeps the item from ending until the returned
  // hold (and every copy of it) is let go. Empty when not called from an item's body.
  using Hold = std::shared_ptr<void>;
  static Hold HoldCurrentItem();

  int MaxThreads() const;
  // Threads that run or wait for items now.
  int Threads() const;
  // The most threads that ran at once since the pool was made.
  int PeakThreads() const;
  // Items submitted that have not ended yet (queued, running or held).
  int LiveItems() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace lbb
