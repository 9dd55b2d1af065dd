// One fetch at a time under Wine: the program's whole fetch (lbb::win::HttpGet) beside the
// fewest WinHTTP calls that fetch the same page (session, connection, request, send, receive,
// read, close; no options), each run N times in turn on one thread. Tells what a fetch costs
// beyond WinHTTP itself; run under a wineserver started with -d1, the difference of the
// request counts of two runs with different N gives the server requests per fetch.
//   bench_fetch.exe URL [N [both|whole|bare]]   (bench/backup/fetches runs it)
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/win/http/Http.h"
#include "base/Text.h"

namespace {

double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// The bare WinHTTP fetch; the number of body bytes, -1 on failure.
long long BareFetch(const std::wstring& host, INTERNET_PORT port, const std::wstring& path) {
  long long bytes = -1;
  HINTERNET session = WinHttpOpen(L"bench", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
  HINTERNET connection = session ? WinHttpConnect(session, host.c_str(), port, 0) : nullptr;
  HINTERNET request = connection
                          ? WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr,
                                               WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                          : nullptr;
  if (request &&
      WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                         0) &&
      WinHttpReceiveResponse(request, nullptr)) {
    std::vector<char> chunk(65536);
    bytes = 0;
    for (DWORD got = 0; WinHttpReadData(request, chunk.data(), 65536, &got) && got > 0;)
      bytes += got;
  }
  if (request) WinHttpCloseHandle(request);
  if (connection) WinHttpCloseHandle(connection);
  if (session) WinHttpCloseHandle(session);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_fetch.exe http://127.0.0.1:PORT/PATH [N]\n");
    return 2;
  }
  const std::string url = argv[1];
  const int n = argc > 2 ? std::max(0, std::atoi(argv[2])) : 200;
  const std::string mode = argc > 3 ? argv[3] : "both";
  const bool doWhole = mode != "bare", doBare = mode != "whole";
  const std::wstring wide(url.begin(), url.end());
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wide.c_str(), 0, 0, &parts)) return 2;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  const std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  const lbb::String address = lbb::Utf8ToText(url);
  double whole = 0, bare = 0;
  int failures = 0;
  // In turn, so that both see the same host and machine.
  for (int i = 0; i < n; ++i) {
    double t0 = NowMs();
    if (doWhole && !lbb::win::HttpGet(address).ok()) ++failures;
    whole += NowMs() - t0;
    t0 = NowMs();
    if (doBare && BareFetch(host, parts.nPort, path) <= 0) ++failures;
    bare += NowMs() - t0;
  }
  if (n == 0) return 0;
  std::printf("fetches            %d of each, %d failed\n", n, failures);
  if (doWhole)
    std::printf("whole fetch        %.2f ms on average (lbb::win::HttpGet)\n", whole / n);
  if (doBare) std::printf("bare WinHTTP fetch %.2f ms on average\n", bare / n);
  return failures == 0 ? 0 : 1;
}
