// Both runs through real HTTP: the engine with WinHTTP, Win32 files, worker threads and the
// log hand-over through the message queue, against the sample host. The workers of a run
// share a few pool threads, which the host's end joins.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string>

#include "app/engine/Runs.h"
#include "app/win/http/Http.h"
#include "app/win/platform/WinFileSystem.h"
#include "app/win/platform/WinRunHost.h"
#include "base/win/Handles.h"
#include "base/win/WideText.h"
#include "tools/uidriver/UiWindow.h"

namespace lbb {
namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// A control request to the sample host; its answer text.
std::string Control(const std::string& request) {
  const FetchResult r =
      win::HttpGet(Utf8ToText(Env("SAMPLEHOST_CONTROL") + "/_control/" + request));
  EXPECT_TRUE(r.ok()) << request;
  return r.body;
}

int Stat(const std::string& name) {
  const std::string stats = Control("stats");
  const size_t at = stats.find(name + "=");
  return at == std::string::npos ? -1 : std::atoi(stats.c_str() + at + name.size() + 1);
}

// WinRunHost whose log is a list of lines.
class LoggingHost : public win::WinRunHost {
 public:
  LoggingHost() : WinRunHost([this](const String& line) { log.push_back(line); }) {}
  std::vector<String> log;
};

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
    ++n;
  return n;
}

class EngineHttp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Env("SAMPLEHOST_BLOG").empty()) << "run through scripts/with-samplehost";
    Control("clear-faults");
    Control("set?articles=25&pictures=20&page-size=10&album-page-size=8&latency=0");
    Control("reset-stats");
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root = fs::path(temp) / ("lbb-http-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount64()));
    fs::create_directories(root);
    state.appDir = root.u16string();
  }
  void TearDown() override {
    host.FinishWorkers();
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  String Backup(const String& user) {
    const String error = engine.BackupButton(user);
    host.FinishWorkers();
    return error;
  }
  String Album(const String& user) {
    const String error = engine.AlbumButton(user);
    host.FinishWorkers();
    return error;
  }
  std::string Index(const std::string& user) {
    std::ifstream in(root / user / (user + ".html"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  String LastURL(const String& user) {
    return ConfigIni::Load(files, state.appDir + u"/config.ini").ReadString(user, u"lastURL", u"");
  }
  size_t Files(const fs::path& dir) {
    std::error_code ec;
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir, ec), {}));
  }

  fs::path root;
  AppState state;
  LoggingHost host;
  win::WinFileSystem files;
  win::WinPageSource source;
  Downloader downloader{source};
  Sites sites{Utf8ToText(Env("SAMPLEHOST_BLOG")), Utf8ToText(Env("SAMPLEHOST_PHOTO"))};
  BackupEngine engine{state, host, files, downloader, sites};
};

TEST_F(EngineHttp, FirstRunThenNothingNewThenTwoNew) {
  ASSERT_EQ(Backup(u"alice"), u"");
  EXPECT_EQ(Count(Index("alice"), "<tr>"), 25u);
  EXPECT_EQ(Files(root / "alice" / "html"), 25u);
  EXPECT_EQ(host.log.size(), 25u);
  EXPECT_TRUE(std::any_of(host.log.begin(), host.log.end(),
                          [](const String& l) { return l.starts_with(u"1 "); }));
  const String first = LastURL(u"alice");
  EXPECT_TRUE(first.starts_with(sites.blog + u"/alice/blog/item/"));

  ASSERT_EQ(Backup(u"alice"), u"");
  std::string index = Index("alice");
  EXPECT_EQ(Count(index, "<table>"), 2u);
  EXPECT_EQ(Count(index, "<tr>"), 25u);
  EXPECT_EQ(LastURL(u"alice"), first);

  Control("set?articles=27");
  ASSERT_EQ(Backup(u"alice"), u"");
  index = Index("alice");
  const std::string block = index.substr(index.rfind("<table>"));
  EXPECT_EQ(Count(block, "<tr>"), 2u);
  EXPECT_NE(block.find("target=_blank>1 "), std::string::npos);
  EXPECT_LT(block.find("target=_blank>1 "), block.find("target=_blank>2 "));
  EXPECT_NE(LastURL(u"alice"), first);
}

TEST_F(EngineHttp, ListPageZeroFailing) {
  Control("fault?path=/bob/blog/index/0&kind=404");
  EXPECT_EQ(Backup(u"bob"), u"List index out of bounds (0)");
  EXPECT_TRUE(Index("bob").ends_with("<table>\r\n"));
  EXPECT_FALSE(fs::exists(root / "config.ini"));
}

TEST_F(EngineHttp, ALaterListPageFailing) {
  Control("fault?path=/carol/blog/index/2&kind=404");
  ASSERT_EQ(Backup(u"carol"), u"");
  EXPECT_EQ(Count(Index("carol"), "<tr>"), 20u);
}

TEST_F(EngineHttp, TwoUsersOneAfterTheOther) {
  ASSERT_EQ(Backup(u"dave"), u"");
  Control("set?articles=4");
  ASSERT_EQ(Backup(u"erin"), u"");
  EXPECT_EQ(Count(Index("erin"), "<tr>"), 4u);
  EXPECT_EQ(Count(Index("erin"), "/dave/"), 0u);
  EXPECT_EQ(Count(Index("dave"), "<tr>"), 25u);
}

TEST_F(EngineHttp, AChineseUserName) {
  Control("set?articles=3");
  ASSERT_EQ(Backup(u"中文用户"), u"");
  EXPECT_EQ(Files(root / u"中文用户" / "html"), 3u);
}

TEST_F(EngineHttp, AlbumPagingStopsAtARepeatedPage) {
  ASSERT_EQ(Album(u"fay"), u"");
  EXPECT_EQ(Files(root / "fay" / "pic"), 20u);
  EXPECT_EQ(host.log.size(), 20u);
  // Every saved picture is a bitmap.
  for (const auto& e : fs::directory_iterator(root / "fay" / "pic")) {
    std::ifstream in(e.path(), std::ios::binary);
    char magic[2] = {};
    in.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM") << e.path();
  }
  // With all pictures on page 0, page 1 repeats it and nothing more is fetched.
  Control("set?pictures=5");
  Control("reset-stats");
  ASSERT_EQ(Album(u"gus"), u"");
  EXPECT_EQ(Files(root / "gus" / "pic"), 5u);
  EXPECT_EQ(Stat("requests"), 2 + 5);
}

TEST_F(EngineHttp, SavedArticlesShowTheDownloadedPictures) {
  Control("set?articles=6");
  ASSERT_EQ(Backup(u"hal"), u"");
  ASSERT_EQ(Album(u"hal"), u"");
  size_t shown = 0;
  for (const auto& e : fs::directory_iterator(root / "hal" / "html")) {
    std::ifstream in(e.path(), std::ios::binary);
    const std::string page(std::istreambuf_iterator<char>(in), {});
    for (size_t at = page.find("src=\"../pic/"); at != std::string::npos;
         at = page.find("src=\"../pic/", at + 1)) {
      const size_t end = page.find('"', at + 5);
      const std::string name = page.substr(at + 12, end - at - 12);
      EXPECT_TRUE(fs::exists(root / "hal" / "pic" / name)) << name;
      ++shown;
    }
  }
  EXPECT_GT(shown, 0u);
}

TEST_F(EngineHttp, NeverMoreThanTheCapAtOnce) {
  Control("set?articles=60&latency=30");
  ASSERT_EQ(Backup(u"ivy"), u"");
  EXPECT_EQ(Count(Index("ivy"), "<tr>"), 60u);
  const int peak = Stat("max_concurrent");
  EXPECT_LE(peak, kMaxDownloadsInFlight);
  EXPECT_GE(peak, 2);  // the workers did overlap
}

TEST_F(EngineHttp, AnArticleThatFailsIsTriedAgainNextRun) {
  Control("set?articles=5");
  const std::string list = std::string(win::HttpGet(sites.blog + u"/jo/blog/index/0").body);
  const size_t at = list.find("/jo/blog/item/", list.find("/jo/blog/item/") + 1);
  const std::string path = list.substr(at, list.find('"', at) - at);
  Control("fault?path=" + path + "&kind=503");
  ASSERT_EQ(Backup(u"jo"), u"");
  EXPECT_EQ(Count(Index("jo"), "<tr>"), 4u);
  Control("clear-faults");
  ASSERT_EQ(Backup(u"jo"), u"");
  const std::string index = Index("jo");
  EXPECT_EQ(Count(index.substr(index.rfind("<table>")), "<tr>"), 1u);
  EXPECT_NE(index.rfind(path), std::string::npos);
}

// A config.ini that is there but cannot be read (another handle denies reading; it allows
// renaming over the file, so only the program's own care keeps it) is never rewritten: the
// run completes its index block and ends with the write error, the file keeps its bytes.
TEST_F(EngineHttp, AConfigThatCannotBeReadIsNeverRewritten) {
  const fs::path config = root / "config.ini";
  const std::string before = "[other]\r\nlastURL=http://example/keep\r\n";
  {
    std::ofstream out(config, std::ios::binary);
    out << before;
  }
  String error;
  {
    KernelHandle lock(CreateFileW(config.wstring().c_str(), GENERIC_READ,
                                  FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    error = Backup(u"carol");
  }
  EXPECT_EQ(error, u"Unable to write to " + state.appDir + u"/config.ini");
  EXPECT_TRUE(Index("carol").ends_with("</html>"));
  EXPECT_EQ(Count(Index("carol"), "<tr>"), 25u);
  std::ifstream in(config, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
}

// Records the thread each worker runs on, and the log.
class ThreadRecordingHost : public win::WinRunHost {
 public:
  ThreadRecordingHost() : WinRunHost([this](const String& line) { log.push_back(line); }) {}
  bool StartWorker(std::function<void()> body) override {
    return WinRunHost::StartWorker([this, body = std::move(body)] {
      {
        std::lock_guard lock(mutex_);
        threads_.insert(GetCurrentThreadId());
      }
      body();
    });
  }
  std::set<DWORD> Threads() {
    std::lock_guard lock(mutex_);
    return threads_;
  }
  std::vector<String> log;

 private:
  std::mutex mutex_;
  std::set<DWORD> threads_;
};

class TempFolder {
 public:
  TempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path = fs::path(temp) / ("lbb-pool-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  fs::path path;
};

TEST(PooledWorkers, ManyArticlesRunOnAFewThreadsThatTheHostsEndJoins) {
  ASSERT_FALSE(Env("SAMPLEHOST_BLOG").empty()) << "run through scripts/with-samplehost";
  constexpr int kArticles = 150;
  Control("clear-faults");
  // Fifty articles a page and some latency: each page's workers overlap, so a thread per
  // article would have many threads alive at once.
  Control("set?articles=150&page-size=50&latency=10");
  TempFolder root;
  AppState state;
  state.appDir = root.path.u16string();
  std::set<DWORD> used;
  {
    ThreadRecordingHost host;
    win::WinFileSystem files;
    win::WinPageSource source;
    Downloader downloader{source};
    BackupEngine engine{
        state, host, files, downloader,
        Sites{Utf8ToText(Env("SAMPLEHOST_BLOG")), Utf8ToText(Env("SAMPLEHOST_PHOTO"))}};
    ASSERT_EQ(engine.BackupButton(u"pooluser"), u"");
    // Every worker has reported; its line may still wait for the UI thread.
    EXPECT_EQ(state.doneCount.load(), kArticles);
    host.FinishWorkers();
    EXPECT_EQ(host.LiveWorkers(), 0);
    ASSERT_EQ(host.log.size(), static_cast<size_t>(kArticles));
    // Numbers 1 to 150, each once.
    std::set<String> numbers;
    for (const String& line : host.log)
      numbers.insert(line.substr(0, line.find(u' ')));
    EXPECT_EQ(numbers.size(), static_cast<size_t>(kArticles));
    EXPECT_TRUE(numbers.count(u"1") && numbers.count(u"150"));

    used = host.Threads();
    EXPECT_LE(used.size(), static_cast<size_t>(win::kWorkerThreads));
    EXPECT_LE(host.PeakWorkerThreads(), win::kWorkerThreads);
    // The run did go on more than one thread at once.
    EXPECT_GE(host.PeakWorkerThreads(), 2);
    EXPECT_GE(used.size(), 2u);
    // None of them is the test's own thread.
    EXPECT_EQ(used.count(GetCurrentThreadId()), 0u);
  }
  // The host's end joined its threads: none of them is left in the process.
  const std::vector<DWORD> now = driver::ThreadIds(GetCurrentProcessId());
  ASSERT_FALSE(now.empty());
  for (DWORD id : used)
    EXPECT_EQ(std::count(now.begin(), now.end(), id), 0) << "thread " << id << " still runs";
}

}  // namespace
}  // namespace lbb
