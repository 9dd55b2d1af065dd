// Every fetch of a run goes through the Downloader: it caps how many downloads are in flight
// at once (real hosts refuse or reset a flood of simultaneous connections) and tries a fetch
// again when it failed in a way that may pass (connection level, time-out, 5xx, 429).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "fetch.h"

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
  Text text;
};

class Downloader {
 public:
  explicit Downloader(PageSource& source, DownloadPolicy policy = {});

  // One fetch with its retries; the result of the last try.
  FetchResult FetchBytes(const Text& url);
  // FetchBytes decoded by the answer's charset.
  TextPage FetchText(const Text& url);

  // Largest number of fetches that were in flight at once since construction.
  int PeakInFlight() const;

 private:
  class Slot;
  void Acquire();
  void Release();

  PageSource& source_;
  DownloadPolicy policy_;
  mutable std::mutex mutex_;
  std::condition_variable freed_;
  int inFlight_ = 0;
  int peak_ = 0;
};

}  // namespace lbb
