// The download cap and the retry rules.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/engine/Downloader.h"
#include "tests/native/engine/TestHost.h"

namespace lbb {
namespace {

using test::FunctionSource;

DownloadPolicy Fast() {
  DownloadPolicy p;
  p.backoff = std::chrono::milliseconds(0);
  return p;
}

TEST(Downloader, NeverMoreThanTheCapInFlight) {
  std::atomic<int> now{0}, peak{0};
  std::atomic<bool> release{false};
  FunctionSource src([&](const String&) {
    const int n = ++now;
    int p = peak.load();
    while (n > p && !peak.compare_exchange_weak(p, n)) {
    }
    while (!release)
      std::this_thread::yield();
    --now;
    return test::Ok("x");
  });
  Downloader d(src, Fast());
  std::vector<std::thread> threads;
  for (int i = 0; i < 3 * kMaxDownloadsInFlight; ++i) {
    threads.emplace_back([&] { EXPECT_TRUE(d.FetchText(u"u").ok); });
  }
  // Let the first wave fill every slot, then hold it there a moment longer.
  while (peak < kMaxDownloadsInFlight)
    std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(now.load(), kMaxDownloadsInFlight);
  release = true;
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(peak.load(), kMaxDownloadsInFlight);
  EXPECT_EQ(d.PeakInFlight(), kMaxDownloadsInFlight);
}

// A page fetch waits while many workers wait, then takes the next free slot before them.
TEST(Downloader, PageFetchesGoAheadOfAShortWorkerQueue) {
  std::mutex m;
  std::condition_variable cv;
  int releases = 0;  // fetches allowed to finish
  std::vector<String> order;
  FunctionSource src([&](const String& url) {
    std::unique_lock lock(m);
    order.push_back(url);
    const size_t mine = order.size();
    cv.wait(lock, [&] { return static_cast<size_t>(releases) >= mine; });
    return test::Ok("x");
  });
  Downloader d(src, Fast());
  const int workers = kMaxDownloadsInFlight + Downloader::kPagingLowWater + 4;
  std::vector<std::thread> threads;
  for (int i = 0; i < workers; ++i) {
    threads.emplace_back([&] { d.FetchText(u"w"); });
  }
  auto started = [&] {
    std::lock_guard lock(m);
    return order.size();
  };
  while (started() < static_cast<size_t>(kMaxDownloadsInFlight) ||
         d.WorkersWaiting() < workers - kMaxDownloadsInFlight) {
    std::this_thread::yield();
  }
  threads.emplace_back([&] { d.FetchText(u"page", Downloader::Lane::kPaging); });
  // Finish fetches one at a time; after each, wait for the next fetch to start, and once the
  // queue is short enough, for the page fetch to line up first.
  auto pagePosition = [&]() -> size_t {
    std::lock_guard lock(m);
    for (size_t i = 0; i < order.size(); ++i) {
      if (order[i] == u"page") return i + 1;
    }
    return 0;
  };
  while (pagePosition() == 0) {
    const size_t before = started();
    {
      std::lock_guard lock(m);
      ++releases;
    }
    cv.notify_all();
    while (started() == before)
      std::this_thread::yield();
    if (d.WorkersWaiting() <= Downloader::kPagingLowWater) {
      while (d.PagesWaiting() == 0 && pagePosition() == 0)
        std::this_thread::yield();
    }
  }
  const size_t pageAt = pagePosition();
  {
    std::lock_guard lock(m);
    releases = 1 << 20;
  }
  cv.notify_all();
  for (auto& t : threads)
    t.join();
  // It started once the queue had shrunk to the low-water mark, not at the end of the queue.
  EXPECT_EQ(pageAt, static_cast<size_t>(workers - Downloader::kPagingLowWater) + 1);
  EXPECT_EQ(order.size(), static_cast<size_t>(workers) + 1);
}

TEST(Downloader, RetriesWhatMayPassUpToTwiceMore) {
  struct Case {
    FetchResult first;
    int expectedTries;
  };
  FetchResult reset;
  reset.status = FetchStatus::kTransferFailed;
  FetchResult timeout;
  timeout.status = FetchStatus::kTimedOut;
  FetchResult refused;
  refused.status = FetchStatus::kConnectFailed;
  const std::vector<Case> cases = {{test::HttpError(503), 3},
                                   {test::HttpError(429), 3},
                                   {test::HttpError(500), 3},
                                   {reset, 3},
                                   {timeout, 3},
                                   {refused, 3},
                                   {test::HttpError(404), 1},
                                   {test::HttpError(403), 1}};
  for (const Case& c : cases) {
    int tries = 0;
    FunctionSource src([&](const String&) {
      ++tries;
      return c.first;
    });
    Downloader d(src, Fast());
    const TextPage page = d.FetchText(u"u");
    EXPECT_FALSE(page.ok);
    EXPECT_EQ(page.text, u"");
    EXPECT_EQ(tries, c.expectedTries)
        << FetchStatusName(c.first.status) << " " << c.first.httpStatus;
  }
}

TEST(Downloader, ARetryThatPassesGivesThePage) {
  int tries = 0;
  FunctionSource src(
      [&](const String&) { return ++tries < 3 ? test::HttpError(503) : test::Ok("caf\xC3\xA9"); });
  Downloader d(src, Fast());
  const TextPage page = d.FetchText(u"u");
  EXPECT_TRUE(page.ok);
  EXPECT_EQ(page.text, u"café");
  EXPECT_EQ(tries, 3);
}

}  // namespace
}  // namespace lbb
