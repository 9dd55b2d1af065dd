#include "app/engine/Downloader.h"

#include <algorithm>
#include <thread>

namespace lbb {

class Downloader::Slot {
 public:
  Slot(Downloader& d, Lane lane) : d_(d) { d_.Acquire(lane); }
  ~Slot() { d_.Release(); }
  Slot(const Slot&) = delete;
  Slot& operator=(const Slot&) = delete;

 private:
  Downloader& d_;
};

Downloader::Downloader(PageSource& source, DownloadPolicy policy)
    : source_(source), policy_(policy) {
  policy_.maxInFlight = std::max(1, policy_.maxInFlight);
  policy_.retries = std::max(0, policy_.retries);
}

void Downloader::Acquire(Lane lane) {
  std::unique_lock lock(mutex_);
  if (lane == Lane::kPaging) {
    pagingTurn_.wait(lock, [this] { return workersWaiting_ <= kPagingLowWater; });
    ++pagingWaiting_;
    pagingTurn_.wait(lock, [this] { return inFlight_ < policy_.maxInFlight; });
    --pagingWaiting_;
  } else {
    ++workersWaiting_;
    workerTurn_.wait(lock,
                     [this] { return inFlight_ < policy_.maxInFlight && pagingWaiting_ == 0; });
    --workersWaiting_;
    // A page fetch may be waiting for the workers' queue to shrink.
    if (workersWaiting_ == kPagingLowWater) pagingTurn_.notify_all();
  }
  ++inFlight_;
  peak_ = std::max(peak_, inFlight_);
}

void Downloader::Release() {
  std::lock_guard lock(mutex_);
  --inFlight_;
  // One waiter at a time, a page fetch first: waking every waiting worker for one free slot
  // costs a thread switch each.
  if (pagingWaiting_ > 0) {
    pagingTurn_.notify_all();
  } else {
    workerTurn_.notify_one();
  }
}

int Downloader::WorkersWaiting() const {
  std::lock_guard lock(mutex_);
  return workersWaiting_;
}

int Downloader::PagesWaiting() const {
  std::lock_guard lock(mutex_);
  return pagingWaiting_;
}

int Downloader::PeakInFlight() const {
  std::lock_guard lock(mutex_);
  return peak_;
}

FetchResult Downloader::FetchBytes(const String& url, Lane lane) {
  auto pause = policy_.backoff;
  for (int attempt = 0;; ++attempt) {
    FetchResult r;
    {
      Slot slot(*this, lane);
      r = source_.Fetch(url);
    }
    if (r.ok() || !r.retryable() || attempt >= policy_.retries) return r;
    if (pause.count() > 0) std::this_thread::sleep_for(pause);
    pause *= 2;
  }
}

TextPage Downloader::FetchText(const String& url, Lane lane) {
  FetchResult r = FetchBytes(url, lane);
  if (!r.ok()) return {false, String(), r.status == FetchStatus::kHttpError ? r.httpStatus : 0};
  return {true, source_.Decode(r.body, r.charset), 0};
}

}  // namespace lbb
