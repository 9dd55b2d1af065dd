// Backs up a large sample blog through the Windows build (WinHTTP, pooled worker threads,
// Win32 files) and reports wall time, peak memory, the most workers and threads, and the
// most connections the host saw at once.
// Run by bench/backup/run, which starts the sample host with its articles and latency.
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/engine/Runs.h"
#include "app/win/http/Http.h"
#include "app/win/platform/WinFileSystem.h"
#include "app/win/platform/WinRunHost.h"

namespace {

std::string Env(const char* name, const char* fallback = "") {
  const char* v = std::getenv(name);
  return v ? v : fallback;
}

std::string Control(const std::string& request) {
  const lbb::FetchResult r =
      lbb::win::HttpGet(lbb::Utf8ToText(Env("SAMPLEHOST_CONTROL") + "/_control/" + request));
  return r.body;
}

int Stat(const std::string& stats, const std::string& name) {
  const size_t at = stats.find(name + "=");
  return at == std::string::npos ? -1 : std::atoi(stats.c_str() + at + name.size() + 1);
}

class CountingHost : public lbb::win::WinRunHost {
 public:
  CountingHost() : WinRunHost([this](const lbb::String&) { ++lines; }) {}
  bool StartWorker(std::function<void()> body) override {
    const bool ok = WinRunHost::StartWorker(std::move(body));
    peakWorkers = std::max(peakWorkers.load(), LiveWorkers());
    return ok;
  }
  std::atomic<int> lines{0}, peakWorkers{0};
};

// The Windows page source, timing every fetch: how long a download holds its slot tells how
// close the run comes to keeping every slot busy.
class TimedSource : public lbb::PageSource {
 public:
  explicit TimedSource(lbb::PageSource& inner) : inner_(inner) {}
  lbb::FetchResult Fetch(const lbb::String& url) override {
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    lbb::FetchResult r = inner_.Fetch(url);
    QueryPerformanceCounter(&end);
    totalUs += (end.QuadPart - start.QuadPart) * 1000000 / freq.QuadPart;
    ++count;
    return r;
  }
  lbb::String Decode(const std::string& bytes, const std::string& charset) override {
    return inner_.Decode(bytes, charset);
  }
  std::atomic<long long> totalUs{0}, count{0};

 private:
  lbb::PageSource& inner_;
};

}  // namespace

int main() {
  if (Env("SAMPLEHOST_CONTROL").empty()) {
    std::fprintf(stderr, "run me through bench/backup/run\n");
    return 2;
  }
  const int articles = std::atoi(Env("BENCH_ARTICLES", "2000").c_str());
  const int pageSize = std::atoi(Env("BENCH_PAGE_SIZE", "50").c_str());
  const int latency = std::atoi(Env("BENCH_LATENCY_MS", "20").c_str());
  Control("set?articles=" + std::to_string(articles) + "&page-size=" + std::to_string(pageSize) +
          "&latency=" + std::to_string(latency));
  Control("reset-stats");

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path root =
      std::filesystem::path(temp) / ("lbb-bench-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(root);

  lbb::AppState state;
  state.appDir = root.u16string();
  CountingHost host;
  lbb::win::WinFileSystem files;
  lbb::win::WinPageSource winSource;
  TimedSource source(winSource);
  lbb::Downloader downloader(source);
  lbb::BackupEngine engine(state, host, files, downloader,
                           lbb::Sites{lbb::Utf8ToText(Env("SAMPLEHOST_BLOG")),
                                      lbb::Utf8ToText(Env("SAMPLEHOST_PHOTO"))});
  LARGE_INTEGER freq, start, end;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  const lbb::String error = engine.BackupButton(u"benchuser");
  QueryPerformanceCounter(&end);
  host.FinishWorkers();

  const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / freq.QuadPart;
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  const std::string stats = Control("stats");
  const int listPages = (articles + pageSize - 1) / pageSize + 1;
  const double bound = std::max(listPages * latency / 1000.0,
                                articles * latency / 1000.0 / lbb::kMaxDownloadsInFlight) +
                       latency / 1000.0;
  std::size_t saved = 0;
  for (const auto& e : std::filesystem::directory_iterator(root / "benchuser" / "html")) {
    (void)e;
    ++saved;
  }
  std::printf("articles           %d (page size %d, latency %d ms)\n", articles, pageSize, latency);
  std::printf("result             %s, %zu pages saved, %d log lines\n",
              error.empty() ? "completed" : lbb::TextToUtf8(error).c_str(), saved,
              host.lines.load());
  std::printf("wall time          %.3f s\n", seconds);
  if (source.count.load() > 0) {
    std::printf("fetches            %lld, %.2f ms each on average, slots busy %.2f of %d\n",
                source.count.load(), source.totalUs.load() / 1000.0 / source.count.load(),
                source.totalUs.load() / 1e6 / seconds, lbb::kMaxDownloadsInFlight);
  }
  std::printf("bound              %.3f s (ratio %.2f, goal <= 1.20)\n", bound, seconds / bound);
  std::printf("peak working set   %.1f MB\n", pmc.PeakWorkingSetSize / 1048576.0);
  std::printf("peak private bytes %.1f MB\n", pmc.PeakPagefileUsage / 1048576.0);
  std::printf("workers            %d alive at most, on %d threads at most\n",
              host.peakWorkers.load(), host.PeakWorkerThreads());
  std::printf("host requests      %d, at most %d at once (goal <= %d)\n", Stat(stats, "requests"),
              Stat(stats, "max_concurrent"), lbb::kMaxDownloadsInFlight);
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  return error.empty() && saved == static_cast<std::size_t>(articles) ? 0 : 1;
}
