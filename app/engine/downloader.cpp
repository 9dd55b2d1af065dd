#include "downloader.h"

#include <algorithm>
#include <thread>

namespace lbb {

class Downloader::Slot {
 public:
  explicit Slot(Downloader& d) : d_(d) { d_.Acquire(); }
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

void Downloader::Acquire() {
  std::unique_lock lock(mutex_);
  freed_.wait(lock, [this] { return inFlight_ < policy_.maxInFlight; });
  ++inFlight_;
  peak_ = std::max(peak_, inFlight_);
}

void Downloader::Release() {
  {
    std::lock_guard lock(mutex_);
    --inFlight_;
  }
  freed_.notify_one();
}

int Downloader::PeakInFlight() const {
  std::lock_guard lock(mutex_);
  return peak_;
}

FetchResult Downloader::FetchBytes(const Text& url) {
  auto pause = policy_.backoff;
  for (int attempt = 0;; ++attempt) {
    FetchResult r;
    {
      Slot slot(*this);
      r = source_.Fetch(url);
    }
    if (r.ok() || !r.retryable() || attempt >= policy_.retries) return r;
    if (pause.count() > 0) std::this_thread::sleep_for(pause);
    pause *= 2;
  }
}

TextPage Downloader::FetchText(const Text& url) {
  FetchResult r = FetchBytes(url);
  if (!r.ok()) return {};
  return {true, source_.Decode(r.body, r.charset)};
}

}  // namespace lbb
