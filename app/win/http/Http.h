// HTTP GET over WinHTTP: one fetch per call with a session, connection and request of its
// own, redirects followed by hand, and the two fetch helpers of the backup engine.
#pragma once

#include <string>

#include "app/engine/Fetch.h"
#include "app/engine/Text.h"

namespace lbb::win {

struct HttpOptions {
  // For name resolution and for connecting; 0 leaves both to the system's own limits (the
  // resolver's time-outs, TCP's connect retries), which bound them. A limit of WinHTTP's own
  // costs a thread hand-off per name lookup and a non-blocking connect under Wine: a third of
  // a fetch's requests to the Wine server.
  int connectTimeoutMs = 0;
  int sendTimeoutMs = 30000;
  int receiveTimeoutMs = 60000;   // for the answer's head and for each read of its body
  int redirectMax = 15;           // answers per fetch: at most redirectMax - 1 redirects followed
  bool ignoreCertErrors = false;  // accept any server certificate (tests only)
};

// One GET of `url`. Every request of the fetch (the first and each redirect) has a session
// and connection of its own that are closed before the call returns. Request headers: Host,
// Accept, Accept-Encoding "identity", User-Agent; no cookies, credentials, referrer or proxy.
// A 3xx answer (not 304) with a Location is followed unless it is the redirectMax-th answer,
// which then ends the fetch as its final answer (status kOk). See FetchResult for the rest.
FetchResult HttpGet(const String& url, const HttpOptions& options = {});

// The body of a successful GET decoded by its charset; "" on any failure.
String FetchText(const String& url);

// The body of a GET as bytes: on a broken transfer those that arrived before it broke, none
// when the server answered with an error status or could not be reached.
std::string FetchBytes(const String& url);

// The engine's page source on WinHTTP. Safe to use from many threads at once: every Fetch
// works on handles of its own.
class WinPageSource : public PageSource {
 public:
  explicit WinPageSource(const HttpOptions& options = {}) : options_(options) {}
  FetchResult Fetch(const String& url) override;
  String Decode(const std::string& bytes, const std::string& charset) override;

 private:
  const HttpOptions options_;
};

}  // namespace lbb::win
