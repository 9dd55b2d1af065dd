#include "app/engine/Runs.h"
#include "base/Text.h"

#include <algorithm>
#include <set>

namespace lbb {

namespace {

constexpr std::u16string_view kFailedMark = u" 下载失败 ";
constexpr std::u16string_view kSaveFailedMark = u" 保存失败 ";
constexpr std::u16string_view kRetryKeyPrefix = u"retry";

// "404x2" -> {404, 2}; anything else -> {0, 0}.
GoneAnswer ParseGoneAnswer(const String& text) {
  const size_t x = text.find(u'x');
  if (x == String::npos || x == 0 || x + 1 >= text.size()) return {};
  auto number = [](std::u16string_view digits) {
    int n = 0;
    for (char16_t c : digits) {
      if (c < u'0' || c > u'9' || n > 100000) return -1;
      n = n * 10 + (c - u'0');
    }
    return n;
  };
  const int status = number(std::u16string_view(text).substr(0, x));
  const int runs = number(std::u16string_view(text).substr(x + 1));
  if ((status != 404 && status != 410) || runs <= 0) return {};
  return {status, runs};
}

bool IsRetryKey(const String& key) {
  if (key.size() <= kRetryKeyPrefix.size() || !StartsWithAscii(key, kRetryKeyPrefix)) return false;
  return std::all_of(key.begin() + static_cast<long>(kRetryKeyPrefix.size()), key.end(),
                     [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

String IndexBlockHead(const String& userName, const String& stamp) {
  return u"<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
         u"charset=utf-8\">\r\n<title>" +
         userName + u"的博客</title>" + u"\r\n" + u"<style type=\"text/css\">" + u"\r\n" +
         u"body{font-size: 12pt;}" + u"\r\n" +
         u"a{color: #000000;text-decoration : none;font-size: 10pt;}" + u"\r\n" +
         u"a:hover {color: red;text-decoration : underline;}" + u"\r\n" + u"</style>" + u"\r\n" +
         u"</head>" + u"\r\n" + u"<body>" + u"\r\n" + u"<h2>" + userName +
         u"的博客<h4>[备份时间：" + stamp + u"]</h4></h2>" + u"\r\n" + u"<table>" + u"\r\n";
}

String IndexRow(const blogLink& link) {
  return u"<tr><td><a href=\"" + link.webURL + u"\" target=_blank>[原网页]</a></td>" +
         u"<td><a href=\"" + link.localURL + link.title + u"</a></td></tr>" + u"\r\n";
}

}  // namespace

String AlbumBase(const Sites& sites, const String& userName) {
  return sites.blog + u"/" + userName + u"/album/%C4%AC%C8%CF%CF%E0%B2%E1/index/";
}

String ListIndexError(int index) {
  return u"List index out of bounds (" + IntToText(index) + u")";
}

String TimeStamp(const LocalTime& t) {
  if (t.hour == 0 && t.minute == 0 && t.second == 0) return t.shortDate;
  return t.shortDate + u" " + t.longTime;
}

String MessageBoxText(const String& error) {
  if (!error.empty() && error.back() > u'.') return error + u".";
  return error;
}

String UserNameProblem(const String& name) {
  const bool badChar = std::any_of(name.begin(), name.end(), [](char16_t c) {
    return c < 32 || c == 127 || std::u16string_view(u"\\/:*?\"<>|").find(c) != String::npos;
  });
  if (!badChar && !name.empty() && name.back() != u'.' && !IsReservedDeviceName(name)) {
    return String();
  }
  return u"无法使用用户名“" + name +
         u"”：用户名不能包含 \\ / : * ? \" < > | 或控制字符，不能以点结尾，"
         u"也不能是 CON、NUL、COM1 之类的设备名.";
}

BackupEngine::BackupEngine(AppState& state, RunHost& host, FileSystem& fs, Downloader& downloader,
                           Sites sites)
    : state_(state), host_(host), fs_(fs), downloader_(downloader), sites_(std::move(sites)) {}

String BackupEngine::UserDir() const {
  return state_.appDir + u"/" + state_.userName;
}

String BackupEngine::ConfigPath() const {
  return state_.appDir + u"/config.ini";
}

void BackupEngine::PrepareUserFolders(const String& name, const String& sub) {
  state_.userName = name;
  // A folder that cannot be created is not reported: the writes that need it fail instead.
  if (!fs_.DirectoryExists(UserDir())) fs_.MakeDirectory(UserDir());
  if (!fs_.DirectoryExists(UserDir() + sub)) fs_.MakeDirectory(UserDir() + sub);
}

String BackupEngine::BackupButton(const String& trimmedName) {
  if (String problem = UserNameProblem(trimmedName); !problem.empty()) return problem;
  PrepareUserFolders(trimmedName, u"/html");
  const ConfigIni ini = ConfigIni::Load(fs_, ConfigPath());
  state_.lastURL = ini.ReadString(trimmedName, u"lastURL", u"");
  ReadRetryList(ini);
  return RunReportingErrors(&BackupEngine::BeiFen);
}

String BackupEngine::AlbumButton(const String& trimmedName) {
  if (String problem = UserNameProblem(trimmedName); !problem.empty()) return problem;
  PrepareUserFolders(trimmedName, u"/pic");
  return RunReportingErrors(&BackupEngine::DownPics);
}

String BackupEngine::RunReportingErrors(void (BackupEngine::*run)()) {
  try {
    (this->*run)();
  } catch (const RunError& e) {
    return e.text();
  } catch (const std::exception& e) {
    return Utf8ToText(e.what());
  }
  return String();
}

void BackupEngine::ReadRetryList(const ConfigIni& ini) {
  retryURLs_.clear();
  retryGone_.clear();
  for (const String& key : ini.Keys(state_.userName)) {
    if (!IsRetryKey(key)) continue;
    String value = ini.ReadString(state_.userName, key, u"");
    // "404x2 address": the host answered 404 to the last two runs in a row.
    GoneAnswer gone;
    if (const size_t space = value.find(u' '); space != String::npos) {
      gone = ParseGoneAnswer(value.substr(0, space));
      value = value.substr(space + 1);
    }
    if (value.empty()) continue;
    if (gone.runs > 0) retryGone_[value] = gone;
    retryURLs_.push_back(std::move(value));
  }
}

String BackupEngine::GoneArticle(int32_t id, const String& url, int status) {
  GoneAnswer gone{status, 1};
  if (auto before = retryGone_.find(url);
      before != retryGone_.end() && before->second.status == status)
    gone.runs = before->second.runs + 1;
  String line = IntToText(id) + String(kFailedMark) + url;
  if (gone.runs >= kGoneRunsBeforeGivingUp) {
    // Said once: the article is not kept for later runs any more.
    return line + u" " + IntToText(status) + u"，已连续" + IntToText(gone.runs) + u"次，不再重试";
  }
  state_.goneURLs[url] = gone;
  state_.failedURLs.push_back(url);
  return line;
}

void BackupEngine::StartWorker(bool article, const String& url, int32_t& startedCount) {
  const int32_t sum = startedCount;
  auto body = [this, article, url, sum] {
    if (article) {
      ArticleWorker(url, sum);
    } else {
      PictureWorker(url, sum);
    }
  };
  if (host_.StartWorker(std::move(body))) {
    ++startedCount;
    return;
  }
  // No thread could be had: the article is kept for the next run, and the log says so.
  if (article) {
    std::lock_guard lock(state_.linkLock);
    state_.failedURLs.push_back(url);
  }
  host_.AppendLog(IntToText(sum + 1) + String(kFailedMark) + url);
}

void BackupEngine::Report(std::function<void()> underLock) {
  {
    std::lock_guard lock(state_.linkLock);
    if (underLock) underLock();
    state_.doneCount.fetch_add(1);
  }
  state_.workerDone.notify_all();
}

void BackupEngine::WaitForWorkers(int32_t startedCount) {
  // Blocks without processing window events: handed-over log lines wait in the queue.
  std::unique_lock lock(state_.linkLock);
  state_.workerDone.wait(lock, [&] { return state_.doneCount.load() >= startedCount; });
}

void BackupEngine::BeiFen() {
  {
    std::lock_guard lock(state_.linkLock);
    state_.blogLinks.clear();
    state_.failedURLs.clear();
    state_.goneURLs.clear();
  }
  const String indexPath = UserDir() + u"/" + state_.userName + u".html";
  const bool existed = fs_.FileExists(indexPath);
  String why;
  std::unique_ptr<OutputFile> index = fs_.OpenAppend(indexPath, &why);
  if (!index) {
    throw RunError((existed ? u"Cannot open file \"" : u"Cannot create file \"") + indexPath +
                   u"\". " + why);
  }
  auto write = [&](const String& text) {
    if (!index->Write(TextToUtf8(text))) throw RunError(u"Unable to write to " + indexPath);
  };
  const String base = sites_.blog + u"/" + state_.userName + u"/blog/index/";
  write(IndexBlockHead(state_.userName, TimeStamp(host_.Now())));

  int32_t page = 0, startedCount = 0;
  state_.doneCount.store(0);
  String firstURL, previousFirst;
  std::set<String> started;
  bool paging = true;
  try {
    while (paging) {
      const std::vector<String> list = GetURLS(downloader_, sites_, base + IntToText(page));
      if (page == 0) {
        if (list.empty()) throw RunError(ListIndexError(0));
        firstURL = list.front();
      }
      // An empty page ends the list; so does a page that begins like the one before it (a
      // host that answers every page number past the end with its last page).
      if (list.empty() || (page > 0 && list.front() == previousFirst)) break;
      previousFirst = list.front();
      for (const String& url : list) {
        if (url == state_.lastURL) {
          paging = false;
          break;
        }
        started.insert(url);
        StartWorker(true, url, startedCount);
        host_.ProcessPendingEvents();
      }
      ++page;
    }
    // Articles that earlier runs could not save, unless this run met them again.
    for (const String& url : retryURLs_) {
      if (!started.insert(url).second) continue;
      StartWorker(true, url, startedCount);
      host_.ProcessPendingEvents();
    }
  } catch (...) {
    // A run that ends with an error still waits for the workers it started.
    WaitForWorkers(startedCount);
    throw;
  }
  WaitForWorkers(startedCount);

  std::vector<blogLink> links;
  {
    std::lock_guard lock(state_.linkLock);
    links = state_.blogLinks;
  }
  std::stable_sort(links.begin(), links.end(),
                   [](const blogLink& a, const blogLink& b) { return a.id < b.id; });
  String rows;
  for (const blogLink& link : links)
    rows += IndexRow(link);
  write(rows + u"</table>\r\n</body>\r\n</html>");
  if (!index->Close()) throw RunError(u"Unable to write to " + indexPath);
  StoreRunResult(firstURL);
}

void BackupEngine::StoreRunResult(const String& firstURL) {
  // A config.ini that is there but cannot be read in full is left as it is: rewriting it
  // from what was read would drop the other users' sections.
  std::optional<ConfigIni> loaded = ConfigIni::LoadForRewrite(fs_, ConfigPath());
  if (!loaded) throw RunError(u"Unable to write to " + ConfigPath());
  ConfigIni& ini = *loaded;
  const String& section = state_.userName;
  ini.Write(section, u"lastURL", firstURL);
  for (const String& key : ini.Keys(section)) {
    if (IsRetryKey(key)) ini.DeleteKey(section, key);
  }
  std::vector<String> failed;
  std::map<String, GoneAnswer> gone;
  {
    std::lock_guard lock(state_.linkLock);
    failed = state_.failedURLs;
    gone = state_.goneURLs;
  }
  for (size_t i = 0; i < failed.size(); ++i) {
    String value = failed[i];
    if (auto g = gone.find(value); g != gone.end())
      value = IntToText(g->second.status) + u"x" + IntToText(g->second.runs) + u" " + value;
    ini.Write(section, String(kRetryKeyPrefix) + IntToText(static_cast<int64_t>(i) + 1), value);
  }
  if (!ini.Save(fs_, ConfigPath())) throw RunError(u"Unable to write to " + ConfigPath());
}

void BackupEngine::DownPics() {
  const String base = AlbumBase(sites_, state_.userName);
  int32_t page = 0, startedCount = 0;
  state_.doneCount.store(0);
  String previousFirst;
  try {
    while (true) {
      const std::vector<String> list = GetPicURLS(downloader_, sites_, base + IntToText(page));
      if (list.empty()) throw RunError(ListIndexError(0));
      if (list.front() == previousFirst) break;
      for (const String& url : list) {
        StartWorker(false, url, startedCount);
        host_.ProcessPendingEvents();
      }
      previousFirst = list.front();
      ++page;
    }
  } catch (...) {
    // A run that ends with an error still waits for the workers it started.
    WaitForWorkers(startedCount);
    throw;
  }
  WaitForWorkers(startedCount);
}

void BackupEngine::ArticleWorker(const String& url, int32_t sum) {
  const int32_t id = sum + 1;
  String logLine;
  bool saved = false;
  blogLink record;
  try {
    const TextPage page = downloader_.FetchText(url);
    if (!page.ok && (page.httpStatus == 404 || page.httpStatus == 410)) {
      // The host says the article is gone: counted over runs, given up after a few.
      Report([&] { logLine = GoneArticle(id, url, page.httpStatus); });
      HandOver(logLine);
      return;
    }
    if (!page.ok) {
      logLine = IntToText(id) + String(kFailedMark) + url;
    } else {
      const ArticleContent content = ParseArticlePage(page.text);
      const String title = IntToText(id) + u" " + content.title;
      const String path = UserDir() + u"/html/" + SafeFileTitle(title) + u".html";
      String why;
      // An existing page is neither read nor rewritten.
      saved = fs_.WriteNewAtomically(
          path, ArticlePageText(content.body, title, sites_.photo, state_.userName), nullptr, &why);
      if (saved) {
        record = blogLink{id, title, LocalURLFor(title), url};
        logLine = title;
      } else {
        logLine = IntToText(id) + String(kSaveFailedMark) + path + u" " + why;
      }
    }
  } catch (...) {
    saved = false;
    logLine = IntToText(id) + String(kFailedMark) + url;
  }
  // Every worker reports exactly once, before it hands over its log line.
  Report([&] {
    if (saved) {
      state_.blogLinks.push_back(std::move(record));
    } else {
      state_.failedURLs.push_back(url);
    }
  });
  HandOver(logLine);
}

void BackupEngine::HandOver(const String& logLine) {
  try {
    host_.HandOverLogLine(logLine);
  } catch (...) {
    // The line is lost; the worker has reported and ends normally.
  }
}

void BackupEngine::PictureWorker(const String& url, int32_t sum) {
  const String picTail = TextCopy(url, TextLength(url) - 28, 29);
  const String download = sites_.photo + u"/" + state_.userName + u"/pic/item" + picTail;
  const String id = IntToText(sum + 1);
  String logLine = id + String(kFailedMark) + download;
  try {
    const FetchResult r = downloader_.FetchBytes(download);
    // A failed download never replaces a good file with an empty or partial one.
    if (r.ok()) {
      const String path = UserDir() + u"/pic/" + PictureFileName(picTail);
      String why;
      if (fs_.WriteAtomically(path, r.body, &why))
        logLine = id + u" " + download;
      else  // it came, but could not be kept: say so, not that the download failed
        logLine = id + String(kSaveFailedMark) + path + u" " + why;
    }
  } catch (...) {
    logLine = id + String(kFailedMark) + download;
  }
  Report(nullptr);
  HandOver(logLine);
}

}  // namespace lbb
