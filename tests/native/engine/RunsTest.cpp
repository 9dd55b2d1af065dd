// Both runs end to end over the sample blog generator, in memory, with real worker threads
// and real files in a temporary program folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/engine/Runs.h"
#include "tests/native/engine/TestHost.h"
#include "tools/samplehost/BlogGenerator.h"

namespace lbb {
namespace {

namespace fs = std::filesystem;
using samplehost::BlogGenerator;
using samplehost::BlogOptions;

const String kBlog = u"http://blog.test";
const String kPhoto = u"http://photo.test";

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
    ++n;
  return n;
}

class RunTest : public ::testing::Test {
 protected:
  RunTest() { state.appDir = dir.text(); }
  ~RunTest() override { host.Finish(); }

  static BlogOptions Options() {
    BlogOptions o;
    o.articles = 25;
    o.pageSize = 10;
    o.pictures = 20;
    o.albumPageSize = 8;
    return o;
  }

  FetchResult Answer(const String& url) {
    if (onFetch) onFetch(url);
    const std::string u = TextToUtf8(url);
    const bool photo = url.starts_with(kPhoto);
    const std::string path = u.substr(TextToUtf8(photo ? kPhoto : kBlog).size());
    {
      std::lock_guard lock(faultMutex);
      auto f = faults.find(path);
      if (f != faults.end()) return f->second;
    }
    const samplehost::Answer a = gen.Get(photo, path);
    if (a.status != 200) return test::HttpError(a.status);
    return test::Ok(a.body, "utf-8");
  }
  void Fault(const std::string& path, FetchResult r) {
    std::lock_guard lock(faultMutex);
    faults[path] = std::move(r);
  }
  void ClearFaults() {
    std::lock_guard lock(faultMutex);
    faults.clear();
  }

  String Backup(const String& name) {
    const String error = engine.BackupButton(name);
    host.Finish();
    return error;
  }
  String Album(const String& name) {
    const String error = engine.AlbumButton(name);
    host.Finish();
    return error;
  }
  fs::path UserPath(const std::string& user) { return dir.path() / fs::u8path(user); }
  std::string Index(const std::string& user) {
    return test::ReadAll(UserPath(user) / (user + ".html"));
  }
  String LastURL(const String& user) {
    return ConfigIni::Load(files, dir.text() + u"/config.ini").ReadString(user, u"lastURL", u"?");
  }
  // Article addresses of the generator, newest first.
  std::vector<String> ArticleURLs(const std::string& user) {
    std::vector<String> urls;
    for (const auto& a : gen.Articles(user))
      urls.push_back(kBlog + Utf8ToText(a.path));
    return urls;
  }
  std::vector<String> Fetched(const String& part) {
    std::vector<String> out;
    for (const String& u : source.Fetched()) {
      if (u.find(part) != String::npos) out.push_back(u);
    }
    return out;
  }

  test::TempDir dir;
  AppState state;
  test::TestHost host;
  test::FaultyFileSystem files;
  BlogGenerator gen{Options(), "http://blog.test", "http://photo.test"};
  std::mutex faultMutex;
  std::map<std::string, FetchResult> faults;
  std::function<void(const String&)> onFetch;
  test::FunctionSource source{[this](const String& url) { return Answer(url); }};
  Downloader downloader{
      source, DownloadPolicy{kMaxDownloadsInFlight, kFetchRetries, std::chrono::milliseconds(0)}};
  BackupEngine engine{state, host, files, downloader, Sites{kBlog, kPhoto}};
};

TEST_F(RunTest, FirstRunSavesEveryArticleAndOneIndexBlock) {
  EXPECT_EQ(Backup(u"alice"), u"");
  const auto articles = gen.Articles("alice");
  ASSERT_EQ(articles.size(), 25u);
  const std::string index = Index("alice");
  EXPECT_TRUE(index.starts_with(
      "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
      "charset=utf-8\">\r\n<title>alice的博客</title>\r\n<style type=\"text/css\">\r\n"
      "body{font-size: 12pt;}\r\na{color: #000000;text-decoration : none;font-size: 10pt;}\r\n"
      "a:hover {color: red;text-decoration : underline;}\r\n</style>\r\n</head>\r\n<body>\r\n"
      "<h2>alice的博客<h4>[备份时间：2026/12/8 17:05:09]</h4></h2>\r\n<table>\r\n"));
  EXPECT_TRUE(index.ends_with("</a></td></tr>\r\n</table>\r\n</body>\r\n</html>"));
  EXPECT_EQ(Count(index, "<tr>"), 25u);

  std::set<String> logged;
  for (const String& l : host.Log())
    logged.insert(l);
  size_t lastRow = 0;
  for (size_t i = 0; i < articles.size(); ++i) {
    const String title = IntToText(static_cast<int>(i) + 1) + u" " + Utf8ToText(articles[i].title);
    const String url = kBlog + Utf8ToText(articles[i].path);
    EXPECT_TRUE(logged.count(title)) << TextToUtf8(title);
    const fs::path page = dir.path() / "alice" / "html" / (SafeFileTitle(title) + u".html");
    EXPECT_EQ(test::ReadAll(page),
              ArticlePageText(Utf8ToText(articles[i].body), title, kPhoto, u"alice"));
    // Rows follow the article numbers.
    const std::string row = TextToUtf8(u"<tr><td><a href=\"" + url +
                                       u"\" target=_blank>[原网页]</a></td><td><a href=\"" +
                                       LocalURLFor(title) + title + u"</a></td></tr>\r\n");
    const size_t at = index.find(row);
    ASSERT_NE(at, std::string::npos) << row;
    EXPECT_GT(at, lastRow);
    lastRow = at;
  }
  EXPECT_EQ(LastURL(u"alice"), ArticleURLs("alice").front());
  // The paging read pages 0 to 3; page 3 held no article.
  EXPECT_EQ(Fetched(u"/blog/index/").size(), 4u);
  // Pending events were processed after every worker start.
  EXPECT_GE(host.eventRounds.load(), 25);
}

TEST_F(RunTest, WorkersOnAFewPoolThreadsSaveEveryArticleWithEachNumberOnce) {
  host.UsePool(3);
  EXPECT_EQ(Backup(u"alice"), u"");
  EXPECT_EQ(Count(Index("alice"), "<tr>"), 25u);
  const std::vector<String> log = host.Log();
  ASSERT_EQ(log.size(), 25u);
  std::set<int> numbers;
  for (const String& line : log)
    numbers.insert(std::stoi(TextToUtf8(line.substr(0, line.find(u' ')))));
  EXPECT_EQ(numbers.size(), 25u);
  EXPECT_EQ(*numbers.begin(), 1);
  EXPECT_EQ(*numbers.rbegin(), 25);
  size_t pages = 0;
  for (const auto& e : fs::directory_iterator(dir.path() / "alice" / "html")) {
    (void)e;
    ++pages;
  }
  EXPECT_EQ(pages, 25u);
  EXPECT_GE(host.PoolPeakThreads(), 1);
  EXPECT_LE(host.PoolPeakThreads(), 3);
  EXPECT_EQ(LastURL(u"alice"), ArticleURLs("alice").front());
}

TEST_F(RunTest, TheBlockHeadIsWrittenBeforeTheFirstListPage) {
  std::string atFirstFetch = "<not fetched>";
  onFetch = [&](const String& url) {
    if (url.ends_with(u"/blog/index/0")) atFirstFetch = Index("una");
  };
  ASSERT_EQ(Backup(u"una"), u"");
  EXPECT_TRUE(atFirstFetch.ends_with("<table>\r\n")) << atFirstFetch;
}

TEST_F(RunTest, OwnPicturesPointAtThePicFolder) {
  ASSERT_EQ(Backup(u"bob"), u"");
  size_t rewritten = 0;
  for (const auto& entry : fs::directory_iterator(UserPath("bob") / "html")) {
    const std::string page = test::ReadAll(entry.path());
    EXPECT_EQ(page.find("src=\"http://photo.test/bob/pic/item/"), std::string::npos);
    rewritten += Count(page, "src=\"../pic/");
  }
  EXPECT_GT(rewritten, 0u);
}

TEST_F(RunTest, SecondRunWithNothingNewAppendsAnEmptyBlock) {
  ASSERT_EQ(Backup(u"alice"), u"");
  const String last = LastURL(u"alice");
  const size_t fetchedBefore = source.Fetched().size();
  ASSERT_EQ(Backup(u"alice"), u"");
  const std::string index = Index("alice");
  EXPECT_EQ(Count(index, "<table>"), 2u);
  EXPECT_EQ(Count(index, "<tr>"), 25u);
  EXPECT_TRUE(index.ends_with("<table>\r\n</table>\r\n</body>\r\n</html>"));
  EXPECT_EQ(LastURL(u"alice"), last);
  EXPECT_EQ(source.Fetched().size(), fetchedBefore + 1);  // list page 0 only
}

TEST_F(RunTest, TwoNewArticlesGetNumbersOneAndTwo) {
  ASSERT_EQ(Backup(u"alice"), u"");
  gen.SetArticles(27);
  ASSERT_EQ(Backup(u"alice"), u"");
  const std::string index = Index("alice");
  const std::string block = index.substr(index.rfind("<table>"));
  EXPECT_EQ(Count(block, "<tr>"), 2u);
  const auto articles = gen.Articles("alice");
  const std::string first = TextToUtf8(u"1 " + Utf8ToText(articles[0].title) + u"</a>");
  const std::string second = TextToUtf8(u"2 " + Utf8ToText(articles[1].title) + u"</a>");
  ASSERT_NE(block.find(first), std::string::npos);
  EXPECT_LT(block.find(first), block.find(second));
  EXPECT_EQ(LastURL(u"alice"), ArticleURLs("alice").front());
}

TEST_F(RunTest, ListPageZeroFailingEndsTheRunBeforeAnyWorker) {
  Fault("/carol/blog/index/0", test::HttpError(404));
  EXPECT_EQ(Backup(u"carol"), u"List index out of bounds (0)");
  const std::string index = Index("carol");
  EXPECT_TRUE(index.ends_with("<table>\r\n"));  // the head only
  EXPECT_FALSE(fs::exists(dir.path() / "config.ini"));
  EXPECT_TRUE(Fetched(u"/blog/item/").empty());
  // The next press works again.
  ClearFaults();
  EXPECT_EQ(Backup(u"carol"), u"");
}

TEST_F(RunTest, ALaterListPageFailingEndsThePaging) {
  Fault("/dave/blog/index/1", test::HttpError(404));
  EXPECT_EQ(Backup(u"dave"), u"");
  EXPECT_EQ(Count(Index("dave"), "<tr>"), 10u);
  EXPECT_EQ(LastURL(u"dave"), ArticleURLs("dave").front());
}

TEST_F(RunTest, TwoUsersOneAfterTheOther) {
  ASSERT_EQ(Backup(u"alice"), u"");
  const String aliceNewest = ArticleURLs("alice").front();
  gen.SetArticles(3);
  ASSERT_EQ(Backup(u"bob"), u"");
  const std::string index = Index("bob");
  EXPECT_EQ(Count(index, "<tr>"), 3u);
  EXPECT_EQ(index.find("/alice/"), std::string::npos);
  EXPECT_EQ(LastURL(u"alice"), aliceNewest);
  EXPECT_EQ(LastURL(u"bob"), ArticleURLs("bob").front());
}

TEST_F(RunTest, AnArticleThatCannotBeFetchedIsTriedAgainNextRun) {
  const auto urls = ArticleURLs("erin");
  const std::string lostPath = TextToUtf8(urls[4]).substr(TextToUtf8(kBlog).size());
  Fault(lostPath, test::HttpError(503));
  ASSERT_EQ(Backup(u"erin"), u"");
  const auto log = host.Log();
  EXPECT_NE(std::find(log.begin(), log.end(), u"5 下载失败 " + urls[4]), log.end());
  EXPECT_EQ(Count(Index("erin"), "<tr>"), 24u);
  EXPECT_EQ(Count(Index("erin"), TextToUtf8(urls[4])), 0u);
  EXPECT_EQ(std::distance(fs::directory_iterator(UserPath("erin") / "html"), {}), 24);
  // Three tries: the first and two more.
  EXPECT_EQ(Fetched(urls[4]).size(), 3u);

  ClearFaults();
  ASSERT_EQ(Backup(u"erin"), u"");
  const std::string index = Index("erin");
  const std::string block = index.substr(index.rfind("<table>"));
  EXPECT_EQ(Count(block, "<tr>"), 1u);
  EXPECT_NE(block.find(TextToUtf8(urls[4])), std::string::npos);
  const ConfigIni ini = ConfigIni::Load(files, dir.text() + u"/config.ini");
  EXPECT_EQ(ini.Keys(u"erin"), std::vector<String>{u"lastURL"});
}

// An article the host says is gone (404 or 410) is tried again by the next runs, counted in
// config.ini, and given up after the third run in a row with the same answer, said once.
TEST_F(RunTest, AnArticleGoneForGoodIsGivenUpAfterThreeRuns) {
  const auto urls = ArticleURLs("gil");
  const std::string path = TextToUtf8(urls[2]).substr(TextToUtf8(kBlog).size());
  auto retryValues = [&] {
    std::vector<String> values;
    const ConfigIni ini = ConfigIni::Load(files, dir.text() + u"/config.ini");
    for (const String& key : ini.Keys(u"gil"))
      if (key != u"lastURL") values.push_back(ini.ReadString(u"gil", key, u""));
    return values;
  };
  auto lineOf = [&](const std::vector<String>& log) {
    for (const String& l : log)
      if (l.starts_with(u"3 下载失败 ") || l.find(urls[2]) != String::npos) return l;
    return String(u"<none>");
  };
  Fault(path, test::HttpError(404));
  ASSERT_EQ(Backup(u"gil"), u"");
  EXPECT_EQ(lineOf(host.Log()), u"3 下载失败 " + urls[2]);
  EXPECT_EQ(retryValues(), std::vector<String>{u"404x1 " + urls[2]});
  host.ClearLog();
  ASSERT_EQ(Backup(u"gil"), u"");
  EXPECT_EQ(lineOf(host.Log()), u"1 下载失败 " + urls[2]);
  EXPECT_EQ(retryValues(), std::vector<String>{u"404x2 " + urls[2]});
  host.ClearLog();
  ASSERT_EQ(Backup(u"gil"), u"");
  EXPECT_EQ(lineOf(host.Log()), u"1 下载失败 " + urls[2] + u" 404，已连续3次，不再重试");
  EXPECT_TRUE(retryValues().empty());
  host.ClearLog();
  ASSERT_EQ(Backup(u"gil"), u"");  // not tried any more
  EXPECT_EQ(lineOf(host.Log()), u"<none>");
  EXPECT_EQ(Fetched(urls[2]).size(), 3u);  // once per run, for three runs
}

// A different answer starts the count again; a failure that may pass is never given up.
TEST_F(RunTest, AnotherAnswerStartsTheCountAgain) {
  const auto urls = ArticleURLs("hedy");
  const std::string path = TextToUtf8(urls[0]).substr(TextToUtf8(kBlog).size());
  Fault(path, test::HttpError(404));
  ASSERT_EQ(Backup(u"hedy"), u"");
  ASSERT_EQ(Backup(u"hedy"), u"");
  Fault(path, test::HttpError(410));
  ASSERT_EQ(Backup(u"hedy"), u"");
  const ConfigIni ini = ConfigIni::Load(files, dir.text() + u"/config.ini");
  EXPECT_EQ(ini.ReadString(u"hedy", u"retry1", u""), u"410x1 " + urls[0]);
  Fault(path, test::HttpError(503));
  for (int run = 0; run < 4; ++run)
    ASSERT_EQ(Backup(u"hedy"), u"");
  EXPECT_EQ(ConfigIni::Load(files, dir.text() + u"/config.ini").ReadString(u"hedy", u"retry1", u""),
            urls[0]);
}

TEST_F(RunTest, AnArticleThatCannotBeWrittenIsTriedAgainNextRun) {
  const auto articles = gen.Articles("fay");
  const String title = u"3 " + Utf8ToText(articles[2].title);
  files.failWriteContaining = u"/html/" + SafeFileTitle(title);
  ASSERT_EQ(Backup(u"fay"), u"");
  EXPECT_EQ(Count(Index("fay"), "<tr>"), 24u);
  files.failWriteContaining.clear();
  ASSERT_EQ(Backup(u"fay"), u"");
  EXPECT_EQ(Count(Index("fay"), "<tr>"), 25u);
}

TEST_F(RunTest, AnExistingPageIsNotRewrittenButStillListed) {
  fs::create_directories(UserPath("gus") / "html");
  const auto articles = gen.Articles("gus");
  const String title = u"1 " + Utf8ToText(articles[0].title);
  const fs::path page = UserPath("gus") / "html" / (SafeFileTitle(title) + u".html");
  { std::ofstream(page) << "old"; }
  ASSERT_EQ(Backup(u"gus"), u"");
  EXPECT_EQ(test::ReadAll(page), "old");
  EXPECT_NE(Index("gus").find(TextToUtf8(title) + "</a>"), std::string::npos);
}

TEST_F(RunTest, IndexPageThatCannotBeOpened) {
  files.failOpen = true;
  const String path = dir.text() + u"/hal/hal.html";
  EXPECT_EQ(Backup(u"hal"), u"Cannot create file \"" + path + u"\". Access is denied");
  files.failOpen = false;
  ASSERT_EQ(Backup(u"hal"), u"");
  files.failOpen = true;
  EXPECT_EQ(Backup(u"hal"), u"Cannot open file \"" + path + u"\". Access is denied");
}

TEST_F(RunTest, ConfigThatCannotBeWritten) {
  files.failWriteContaining = u"config.ini";
  EXPECT_EQ(Backup(u"ivy"), u"Unable to write to " + dir.text() + u"/config.ini");
  EXPECT_TRUE(Index("ivy").ends_with("</table>\r\n</body>\r\n</html>"));
}

TEST_F(RunTest, ConfigThatCannotBeReadIsNeverRewritten) {
  const fs::path config = dir.path() / "config.ini";
  const std::string before = "[other]\r\nlastURL=http://example/keep\r\n";
  { std::ofstream(config, std::ios::binary) << before; }
  files.failReadContaining = u"config.ini";
  EXPECT_EQ(Backup(u"ivy"), u"Unable to write to " + dir.text() + u"/config.ini");
  EXPECT_TRUE(Index("ivy").ends_with("</table>\r\n</body>\r\n</html>"));
  files.failReadContaining.clear();
  EXPECT_EQ(test::ReadAll(config), before);
  // Readable again: the next run keeps the other section and adds its own.
  ASSERT_EQ(Backup(u"ivy"), u"");
  EXPECT_TRUE(test::ReadAll(config).starts_with(before));
  EXPECT_NE(LastURL(u"ivy"), u"?");
}

TEST_F(RunTest, MidnightStampShowsTheDateOnly) {
  host.now = {u"2026/12/9", u"0:00:00", 0, 0, 0};
  ASSERT_EQ(Backup(u"jo"), u"");
  EXPECT_NE(Index("jo").find("[备份时间：2026/12/9]"), std::string::npos);
}

TEST_F(RunTest, NoThreadMeansFailedNotHung) {
  host.refuseThreads = true;
  ASSERT_EQ(Backup(u"kim"), u"");
  EXPECT_EQ(Count(Index("kim"), "<tr>"), 0u);
  const ConfigIni ini = ConfigIni::Load(files, dir.text() + u"/config.ini");
  EXPECT_EQ(ini.Keys(u"kim").size(), 26u);  // lastURL and 25 retries
  host.refuseThreads = false;
  ASSERT_EQ(Backup(u"kim"), u"");
  EXPECT_EQ(Count(Index("kim"), "<tr>"), 25u);
}

TEST_F(RunTest, RefusedUserNameWritesNothing) {
  EXPECT_FALSE(Backup(u"..").empty());
  EXPECT_FALSE(Album(u"a/../../x").empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 0);
  EXPECT_TRUE(source.Fetched().empty());
}

TEST_F(RunTest, AlbumDownloadsEveryPictureOnce) {
  ASSERT_EQ(Album(u"alice"), u"");
  const auto pictures = gen.Pictures("alice");
  ASSERT_EQ(pictures.size(), 20u);
  for (const auto& p : pictures) {
    EXPECT_EQ(test::ReadAll(UserPath("alice") / "pic" / p.fileName), p.bytes);
    EXPECT_EQ(Fetched(Utf8ToText(p.itemPath)).size(), 1u);
  }
  // Pages 0..2 hold pictures; page 3 repeats page 2 and ends the paging.
  EXPECT_EQ(Fetched(u"/album/").size(), 4u);
  const auto log = host.Log();
  const String third = u"3 " + kPhoto + Utf8ToText(pictures[2].itemPath);
  EXPECT_NE(std::find(log.begin(), log.end(), third), log.end());
}

TEST_F(RunTest, AlbumEndsWhenPageOneBeginsLikePageZero) {
  gen.SetPictures(5);
  ASSERT_EQ(Album(u"alice"), u"");
  EXPECT_EQ(Fetched(u"/album/").size(), 2u);
  EXPECT_EQ(Fetched(u"/pic/item/").size(), 5u);
}

TEST_F(RunTest, AlbumPageWithoutPicturesWaitsThenFails) {
  Fault("/lee/album/%C4%AC%C8%CF%CF%E0%B2%E1/index/1", test::HttpError(404));
  EXPECT_EQ(Album(u"lee"), u"List index out of bounds (0)");
  // The workers of page 0 finished before the error came back.
  EXPECT_EQ(std::distance(fs::directory_iterator(UserPath("lee") / "pic"), {}), 8);
}

TEST_F(RunTest, AFailedPictureKeepsTheGoodFile) {
  const auto pictures = gen.Pictures("max");
  ASSERT_EQ(Album(u"max"), u"");
  FetchResult reset;
  reset.status = FetchStatus::kTransferFailed;
  reset.body = "BM";  // the bytes that arrived before the connection broke
  Fault(pictures[0].itemPath, reset);
  ASSERT_EQ(Album(u"max"), u"");
  EXPECT_EQ(test::ReadAll(UserPath("max") / "pic" / pictures[0].fileName), pictures[0].bytes);
  const auto log = host.Log();
  const String failed = u"1 下载失败 " + kPhoto + Utf8ToText(pictures[0].itemPath);
  EXPECT_NE(std::find(log.begin(), log.end(), failed), log.end());
}

TEST_F(RunTest, APictureThatCannotBeSavedIsLoggedAsASaveFailure) {
  const auto pictures = gen.Pictures("ned");
  files.failWriteContaining = Utf8ToText(pictures[0].fileName);
  ASSERT_EQ(Album(u"ned"), u"");
  const auto log = host.Log();
  const String path = dir.text() + u"/ned/pic/" + Utf8ToText(pictures[0].fileName);
  const String line = u"1 保存失败 " + path + u" disk full";
  EXPECT_NE(std::find(log.begin(), log.end(), line), log.end());
  for (const String& l : log)
    EXPECT_EQ(l.find(u"下载失败"), String::npos) << TextToUtf8(l);
}

}  // namespace
}  // namespace lbb
