// Every fetch of a run goes through the Downloader: it caps how many downloads are in flight
// at once (real hosts refuse or reset a flood of simultaneous connections) and tries a fetch
// again when it failed in a way that may pass (connection level, time-out, 5xx, 429).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "app/engine/Fetch.h"

namespace lbb {

// Downloads in flight at once, over all threads of a run (list pages included).
constexpr int kMaxDownloadsInFlight = 8;
// Further tries of a fetch that failed in a way that may pass.
constexpr int kFetchRetries = 2;

struct DownloadPolicy {
  int maxInFlight = kMaxDownloadsInFlight;
  int retries = kFetchRetries;
  // Pause before the first retry; doubled before each further one. No slot is held meanwhile.
  std::chrono::milliseconds backoff{300};
};

// A fetched page as text: "" when the fetch failed.
struct TextPage {
  bool ok = false;
  String text;
  int httpStatus = 0;  // the answer's status when the host answered with an error; else 0
};

class Downloader {
 public:
  explicit Downloader(PageSource& source, DownloadPolicy policy = {});

  // Who waits for a free slot. The run's own page fetches (list and album pages, on the UI
  // thread) wait until few workers are left waiting, then go before them: the next page's
  // workers start while this page's still keep every slot busy, and no more threads are
  // alive at once than keep the slots busy.
  enum class Lane { kWorker, kPaging };
  // Workers still waiting for a slot when the next page may be fetched.
  static constexpr int kPagingLowWater = 2 * kMaxDownloadsInFlight;

  // One fetch with its retries; the result of the last try.
  FetchResult FetchBytes(const String& url, Lane lane = Lane::kWorker);
  // FetchBytes decoded by the answer's charset.
  TextPage FetchText(const String& url, Lane lane = Lane::kWorker);

  // Largest number of fetches that were in flight at once since construction.
  int PeakInFlight() const;
  // Fetches waiting for a slot now: worker downloads, and page fetches ready to go first.
  int WorkersWaiting() const;
  int PagesWaiting() const;

 private:
  class Slot;
  void Acquire(Lane lane);
  void Release();

  PageSource& source_;
  DownloadPolicy policy_;
  mutable std::mutex mutex_;
  std::condition_variable workerTurn_;  // a worker may take a slot
  std::condition_variable pagingTurn_;  // a page fetch may go on
  int inFlight_ = 0;
  int pagingWaiting_ = 0;   // page fetches that wait for a slot, ahead of the workers
  int workersWaiting_ = 0;  // worker downloads that wait for a slot
  int peak_ = 0;
};

}  // namespace lbb
