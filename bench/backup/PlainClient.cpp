// A plain native HTTP client as the yardstick of the backup benchmark: it fetches the same
// article pages of the same sample host as the program does, with the same number of
// requests in flight and a new connection per request (the host closes each one), and
// reports the wall time and the mean time of a fetch. Nothing of the program is used: the
// figure is what the host and the machine allow.
//   bench_plain_client BLOG_ADDRESS USER [IN_FLIGHT]
// BLOG_ADDRESS is http://127.0.0.1:PORT. The article addresses are read from the user's list
// pages first (not timed); then every article page is fetched once.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Answer {
  int status = 0;
  std::string body;
};

// One GET on a connection of its own, read until the host closes it. Status 0 on failure.
Answer Get(const sockaddr_in& host, const std::string& path) {
  Answer a;
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return a;
  if (connect(s, reinterpret_cast<const sockaddr*>(&host), sizeof host) != 0) {
    close(s);
    return a;
  }
  const std::string request =
      "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  if (send(s, request.data(), request.size(), 0) != static_cast<ssize_t>(request.size())) {
    close(s);
    return a;
  }
  std::string raw;
  char buffer[16384];
  for (ssize_t got; (got = recv(s, buffer, sizeof buffer, 0)) > 0;)
    raw.append(buffer, static_cast<size_t>(got));
  close(s);
  const size_t head = raw.find("\r\n\r\n");
  if (raw.compare(0, 9, "HTTP/1.1 ") != 0 || head == std::string::npos) return a;
  a.status = std::atoi(raw.c_str() + 9);
  a.body = raw.substr(head + 4);
  return a;
}

// The article paths of list page after list page, until a page lists none.
std::vector<std::string> ArticlePaths(const sockaddr_in& host, const std::string& user) {
  const std::string href = "<div class=\"tit\"><a href=\"";
  const std::string marker = href + "/" + user + "/blog/item/";
  std::vector<std::string> paths;
  for (int page = 0;; ++page) {
    const Answer a = Get(host, "/" + user + "/blog/index/" + std::to_string(page));
    if (a.status != 200) return {};
    const size_t before = paths.size();
    for (size_t at = a.body.find(marker); at != std::string::npos;
         at = a.body.find(marker, at + 1)) {
      const size_t start = at + href.size();
      const size_t end = a.body.find('"', at + marker.size());
      if (end != std::string::npos) paths.push_back(a.body.substr(start, end - start));
    }
    if (paths.size() == before) return paths;
  }
}

bool ParseAddress(const std::string& address, sockaddr_in& out) {
  const std::string prefix = "http://";
  if (address.compare(0, prefix.size(), prefix) != 0) return false;
  const size_t colon = address.find(':', prefix.size());
  if (colon == std::string::npos) return false;
  out = sockaddr_in{};
  out.sin_family = AF_INET;
  out.sin_port = htons(static_cast<uint16_t>(std::atoi(address.c_str() + colon + 1)));
  const std::string ip = address.substr(prefix.size(), colon - prefix.size());
  return inet_pton(AF_INET, ip.c_str(), &out.sin_addr) == 1;
}

}  // namespace

int main(int argc, char** argv) {
  sockaddr_in host{};
  if (argc < 3 || !ParseAddress(argv[1], host)) {
    std::fprintf(stderr, "usage: bench_plain_client http://127.0.0.1:PORT USER [IN_FLIGHT]\n");
    return 2;
  }
  const std::string user = argv[2];
  const int inFlight = argc > 3 ? std::max(1, std::atoi(argv[3])) : 8;
  const std::vector<std::string> paths = ArticlePaths(host, user);
  if (paths.empty()) {
    std::fprintf(stderr, "no article pages found for %s\n", user.c_str());
    return 1;
  }
  std::atomic<size_t> next{0};
  std::atomic<long long> fetchUs{0};
  std::atomic<int> failed{0};
  const auto start = Clock::now();
  std::vector<std::thread> workers;
  for (int i = 0; i < inFlight; ++i) {
    workers.emplace_back([&] {
      for (size_t k; (k = next.fetch_add(1)) < paths.size();) {
        const auto t0 = Clock::now();
        const Answer a = Get(host, paths[k]);
        fetchUs += std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
        if (a.status != 200 || a.body.empty()) ++failed;
      }
    });
  }
  for (auto& w : workers)
    w.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("articles           %zu fetched by %d at once, %d failed\n", paths.size(), inFlight,
              failed.load());
  std::printf("wall time          %.3f s\n", seconds);
  std::printf("fetches            %zu, %.2f ms each on average\n", paths.size(),
              fetchUs.load() / 1000.0 / static_cast<double>(paths.size()));
  return failed.load() == 0 ? 0 : 1;
}
