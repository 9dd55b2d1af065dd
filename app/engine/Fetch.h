// What one HTTP GET of a page or picture gives, and the source of pages the engine reads.
// The platform implements PageSource (WinHTTP on Windows; in-memory generators in tests).
#pragma once

#include <string>

#include "app/engine/Text.h"

namespace lbb {

enum class FetchStatus {
  kOk,              // final answer 2xx, or a redirect answer that ended the fetch by the limit
  kHttpError,       // final answer not 2xx (httpStatus holds it)
  kConnectFailed,   // name resolution or connection failed
  kTimedOut,        // connect, send or receive time-out
  kTransferFailed,  // the connection broke while the answer was arriving
  kBadAddress,      // the address could not be used (not http/https, no host, ...)
};

struct FetchResult {
  FetchStatus status = FetchStatus::kConnectFailed;
  int httpStatus = 0;   // status of the last answer that arrived; 0 when none did
  std::string body;     // bytes that arrived (for kTransferFailed: those before the failure;
                        // for kHttpError: none)
  std::string charset;  // charset parameter of the answer's Content-Type; "" when none
  int redirects = 0;    // redirects followed

  bool ok() const { return status == FetchStatus::kOk; }
  // Failures worth another try: connection level, time-out, broken transfer, 5xx and 429.
  bool retryable() const {
    switch (status) {
      case FetchStatus::kConnectFailed:
      case FetchStatus::kTimedOut:
      case FetchStatus::kTransferFailed:
        return true;
      case FetchStatus::kHttpError:
        return httpStatus >= 500 || httpStatus == 429;
      default:
        return false;
    }
  }
};

const char* FetchStatusName(FetchStatus s);

class PageSource {
 public:
  virtual ~PageSource() = default;
  // One HTTP GET of `url` with a client of its own (nothing outlives the call). Thread-safe:
  // called from many worker threads at once.
  virtual FetchResult Fetch(const String& url) = 0;
  // The body decoded by its charset name (registered names, case-insensitive); a missing or
  // unknown name means ISO-8859-1 (every byte one character).
  virtual String Decode(const std::string& bytes, const std::string& charset) = 0;
};

}  // namespace lbb
