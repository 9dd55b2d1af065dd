#include "app/engine/WorkerPool.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace lbb {

struct WorkerPool::State {
  struct Thread {
    std::thread thread;
    bool leaving = false;  // out of its loop: joining it does not wait for work
  };

  // Shared by an item's body and the holds taken in it; the item ends when the last goes.
  struct ItemEnd {
    explicit ItemEnd(std::shared_ptr<State> s) : state(std::move(s)) {}
    ~ItemEnd() { state->EndItem(); }
    ItemEnd(const ItemEnd&) = delete;
    ItemEnd& operator=(const ItemEnd&) = delete;
    std::shared_ptr<State> state;
  };
  // The end of the item that the calling pool thread runs now; null elsewhere.
  static thread_local std::shared_ptr<ItemEnd>* current;

  State(int max, std::function<void()> ended) : maxThreads(max), onItemEnded(std::move(ended)) {}

  void Loop(Thread* self, const std::shared_ptr<State>& keep);
  void RunItem(std::function<void()>& item, const std::shared_ptr<State>& keep);
  void EndItem();
  // Under the lock: starts one more thread; false when none could be had.
  bool StartThread(const std::shared_ptr<State>& keep);
  // Under the lock: joins the threads that have left their loops.
  void JoinLeaving();

  const int maxThreads;
  const std::function<void()> onItemEnded;
  mutable std::mutex mutex;
  std::condition_variable wake;  // an item was queued, the pool drained, or it stops
  std::deque<std::function<void()>> queue;
  std::vector<std::unique_ptr<Thread>> threads;  // started and not yet joined
  int running = 0;                               // threads inside their loops
  int idle = 0;                                  // of those, waiting for an item
  int peak = 0;
  int live = 0;  // items submitted and not yet ended
  bool stopping = false;
};

thread_local std::shared_ptr<WorkerPool::State::ItemEnd>* WorkerPool::State::current = nullptr;

void WorkerPool::State::EndItem() {
  {
    std::lock_guard lock(mutex);
    --live;
    // Threads waiting for work end once nothing is left.
    if (live == 0 && queue.empty()) wake.notify_all();
  }
  if (onItemEnded) onItemEnded();
}

void WorkerPool::State::RunItem(std::function<void()>& item, const std::shared_ptr<State>& keep) {
  // An item runs even when its end cannot be shared (no memory for it): it then ends with
  // its body, and holds taken in it are empty. Not running it would leave whoever waits for
  // the item's own report waiting for ever.
  std::shared_ptr<ItemEnd> end;
  try {
    end = std::make_shared<ItemEnd>(keep);
  } catch (...) {
    end = nullptr;
  }
  current = end ? &end : nullptr;
  try {
    item();
  } catch (...) {
    // Items report their own failures; nothing may leave a pool thread.
  }
  current = nullptr;
  // What the item holds goes before it counts as ended.
  item = nullptr;
  if (end) {
    end.reset();
  } else {
    EndItem();
  }
}

void WorkerPool::State::Loop(Thread* self, const std::shared_ptr<State>& keep) {
  std::unique_lock lock(mutex);
  for (;;) {
    ++idle;
    wake.wait(lock, [&] { return !queue.empty() || stopping || live == 0; });
    --idle;
    if (queue.empty()) break;  // the pool stops, or has no item left
    std::function<void()> item = std::move(queue.front());
    queue.pop_front();
    lock.unlock();
    RunItem(item, keep);
    lock.lock();
  }
  --running;
  self->leaving = true;
}

bool WorkerPool::State::StartThread(const std::shared_ptr<State>& keep) {
  JoinLeaving();
  auto t = std::make_unique<Thread>();
  Thread* self = t.get();
  try {
    // The state outlives the thread: the pool joins it before letting go of the state.
    t->thread = std::thread([this, self, keep] { Loop(self, keep); });
  } catch (const std::system_error&) {
    return false;
  }
  threads.push_back(std::move(t));
  ++running;
  peak = std::max(peak, running);
  return true;
}

void WorkerPool::State::JoinLeaving() {
  // A leaving thread has released the lock for good: joining it here cannot wait for us.
  auto out = std::stable_partition(threads.begin(), threads.end(),
                                   [](const std::unique_ptr<Thread>& t) { return !t->leaving; });
  for (auto it = out; it != threads.end(); ++it)
    (*it)->thread.join();
  threads.erase(out, threads.end());
}

WorkerPool::WorkerPool(int maxThreads, std::function<void()> onItemEnded)
    : state_(std::make_shared<State>(std::max(1, maxThreads), std::move(onItemEnded))) {}

WorkerPool::~WorkerPool() {
  std::vector<std::unique_ptr<State::Thread>> threads;
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
    state_->wake.notify_all();
    threads.swap(state_->threads);
  }
  // Threads leave once the queue is empty; none is started any more.
  for (auto& t : threads)
    t->thread.join();
}

bool WorkerPool::Submit(std::function<void()> item) {
  State& s = *state_;
  // An item that cannot run is destroyed after the lock: what it holds (a hold on an item
  // of this pool, say) may end an item, which takes the lock.
  std::function<void()> dropped;
  {
    std::lock_guard lock(s.mutex);
    if (s.stopping) return false;
    s.queue.push_back(std::move(item));
    ++s.live;
    // Every idle thread may be about to take an earlier item: start one more unless enough
    // are free for all that wait.
    const bool enoughIdle = s.queue.size() <= static_cast<size_t>(s.idle);
    const bool started = !enoughIdle && s.running < s.maxThreads && s.StartThread(state_);
    if (started || s.running > 0) {
      s.wake.notify_one();
      return true;
    }
    dropped = std::move(s.queue.back());
    s.queue.pop_back();
    --s.live;
  }
  return false;
}

WorkerPool::Hold WorkerPool::HoldCurrentItem() {
  if (!State::current) return nullptr;
  return *State::current;
}

int WorkerPool::MaxThreads() const {
  return state_->maxThreads;
}

int WorkerPool::Threads() const {
  std::lock_guard lock(state_->mutex);
  return state_->running;
}

int WorkerPool::PeakThreads() const {
  std::lock_guard lock(state_->mutex);
  return state_->peak;
}

int WorkerPool::LiveItems() const {
  std::lock_guard lock(state_->mutex);
  return state_->live;
}

}  // namespace lbb
