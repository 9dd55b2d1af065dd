#include "app/engine/Fetch.h"

namespace lbb {

const char* FetchStatusName(FetchStatus s) {
  switch (s) {
    case FetchStatus::kOk:
      return "ok";
    case FetchStatus::kHttpError:
      return "http error";
    case FetchStatus::kConnectFailed:
      return "connect failed";
    case FetchStatus::kTimedOut:
      return "timed out";
    case FetchStatus::kTransferFailed:
      return "transfer failed";
    case FetchStatus::kBadAddress:
      return "bad address";
  }
  return "?";
}

}  // namespace lbb
