// The worker pool: every item runs once on at most the cap of threads, threads start only
// when items wait and leave when the last item has ended, a hold keeps its item alive after
// the body, an exception stays inside its item, and the pool's end runs what is queued.
#include "app/engine/WorkerPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace lbb {
namespace {

// How long a test waits for an effect it caused before it fails.
constexpr std::chrono::seconds kBound{20};

// A gate that items wait at until the test opens it; counts who waits.
class Gate {
 public:
  void Wait() {
    std::unique_lock lock(mutex_);
    ++waiting_;
    changed_.notify_all();
    // Bounded, so that a test that fails before it opens the gate does not hang the pool's end.
    changed_.wait_for(lock, kBound, [&] { return open_; });
  }
  // false when fewer than `n` have come within the bound.
  [[nodiscard]] bool WaitForWaiting(int n) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kBound, [&] { return waiting_ >= n; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  int Waiting() {
    std::lock_guard lock(mutex_);
    return waiting_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int waiting_ = 0;
  bool open_ = false;
};

// Waits for `done` with a bound; false when it never came.
[[nodiscard]] bool WaitUntil(const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + kBound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::yield();
  }
  return true;
}

TEST(WorkerPool, StartsNoThreadUntilAnItemComes) {
  WorkerPool pool(4);
  EXPECT_EQ(pool.Threads(), 0);
  EXPECT_EQ(pool.MaxThreads(), 4);
  Gate gate;
  ASSERT_TRUE(pool.Submit([&] { gate.Wait(); }));
  ASSERT_TRUE(gate.WaitForWaiting(1));
  EXPECT_EQ(pool.Threads(), 1);
  EXPECT_EQ(pool.LiveItems(), 1);
  gate.Open();
}

TEST(WorkerPool, ManyItemsRunOnceEachOnAtMostTheCap) {
  constexpr int kCap = 3, kItems = 40;
  std::mutex mutex;
  std::set<std::thread::id> ids;
  std::vector<int> runs(kItems, 0);
  Gate gate;
  {
    WorkerPool pool(kCap);
    for (int i = 0; i < kItems; ++i) {
      ASSERT_TRUE(pool.Submit([&, i] {
        gate.Wait();
        std::lock_guard lock(mutex);
        ++runs[i];
        ids.insert(std::this_thread::get_id());
      }));
    }
    // Every thread the cap allows is busy at the gate; the other items wait in the queue.
    ASSERT_TRUE(gate.WaitForWaiting(kCap));
    EXPECT_EQ(pool.Threads(), kCap);
    EXPECT_EQ(pool.LiveItems(), kItems);
    gate.Open();
    ASSERT_TRUE(WaitUntil([&] { return pool.LiveItems() == 0; }));
    EXPECT_EQ(pool.PeakThreads(), kCap);
    EXPECT_EQ(gate.Waiting(), kItems);
  }
  EXPECT_EQ(runs, std::vector<int>(kItems, 1));
  EXPECT_EQ(ids.size(), static_cast<size_t>(kCap));
}

TEST(WorkerPool, ThreadsLeaveWhenTheLastItemHasEndedAndComeBackForTheNext) {
  std::atomic<int> ended{0};
  WorkerPool pool(2, [&] { ++ended; });
  Gate first;
  ASSERT_TRUE(pool.Submit([&] { first.Wait(); }));
  ASSERT_TRUE(pool.Submit([&] { first.Wait(); }));
  ASSERT_TRUE(first.WaitForWaiting(2));
  EXPECT_EQ(pool.Threads(), 2);
  first.Open();
  ASSERT_TRUE(WaitUntil([&] { return pool.Threads() == 0; }));
  EXPECT_EQ(ended.load(), 2);
  EXPECT_EQ(pool.LiveItems(), 0);

  std::atomic<bool> ran{false};
  ASSERT_TRUE(pool.Submit([&] { ran = true; }));
  ASSERT_TRUE(WaitUntil([&] { return ended.load() == 3; }));
  EXPECT_TRUE(ran.load());
}

TEST(WorkerPool, AHoldKeepsItsItemAliveButFreesTheThread) {
  std::atomic<int> ended{0};
  WorkerPool pool(1, [&] { ++ended; });
  WorkerPool::Hold kept;
  std::atomic<bool> bodyDone{false}, secondRan{false};
  ASSERT_TRUE(pool.Submit([&] {
    kept = WorkerPool::HoldCurrentItem();
    bodyDone = true;
  }));
  // The one thread runs the next item although the first has not ended.
  ASSERT_TRUE(pool.Submit([&] { secondRan = true; }));
  ASSERT_TRUE(WaitUntil([&] { return ended.load() == 1; }));
  EXPECT_TRUE(bodyDone.load());
  EXPECT_TRUE(secondRan.load());
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(pool.LiveItems(), 1);
  // With an item still alive the thread waits for work instead of leaving.
  EXPECT_EQ(pool.Threads(), 1);
  kept.reset();
  EXPECT_EQ(ended.load(), 2);
  EXPECT_EQ(pool.LiveItems(), 0);
  ASSERT_TRUE(WaitUntil([&] { return pool.Threads() == 0; }));
}

TEST(WorkerPool, NoHoldOutsideAnItem) {
  EXPECT_EQ(WorkerPool::HoldCurrentItem(), nullptr);
  WorkerPool pool(1);
  std::atomic<bool> done{false};
  ASSERT_TRUE(pool.Submit([&] { done = true; }));
  ASSERT_TRUE(WaitUntil([&] { return done.load(); }));
  EXPECT_EQ(WorkerPool::HoldCurrentItem(), nullptr);
}

TEST(WorkerPool, AnExceptionStaysInsideItsItem) {
  std::atomic<int> ended{0}, ran{0};
  WorkerPool pool(1, [&] { ++ended; });
  ASSERT_TRUE(pool.Submit([] { throw std::runtime_error("item failed"); }));
  ASSERT_TRUE(pool.Submit([&] { ++ran; }));
  ASSERT_TRUE(WaitUntil([&] { return ended.load() == 2; }));
  EXPECT_EQ(ran.load(), 1);
}

TEST(WorkerPool, TheEndRunsWhatIsQueuedAndJoins) {
  constexpr int kItems = 50;
  std::atomic<int> ran{0};
  std::atomic<int> ended{0};
  {
    WorkerPool pool(1, [&] { ++ended; });
    for (int i = 0; i < kItems; ++i)
      ASSERT_TRUE(pool.Submit([&] { ++ran; }));
  }
  EXPECT_EQ(ran.load(), kItems);
  EXPECT_EQ(ended.load(), kItems);
}

TEST(WorkerPool, AHoldMayOutliveThePool) {
  std::atomic<int> ended{0};
  WorkerPool::Hold kept;
  {
    WorkerPool pool(1, [&] { ++ended; });
    ASSERT_TRUE(pool.Submit([&] { kept = WorkerPool::HoldCurrentItem(); }));
  }
  EXPECT_EQ(ended.load(), 0);
  kept.reset();
  EXPECT_EQ(ended.load(), 1);
}

}  // namespace
}  // namespace lbb
