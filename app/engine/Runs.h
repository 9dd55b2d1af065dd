// The two runs of the program, the blog backup (`BeiFen`) and the album download
// (`DownPics`), with their worker bodies, over the services the program around them gives.
// Runs happen on the UI thread; every article and picture is a worker of its own, run on a
// thread the host gives it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "app/engine/Article.h"
#include "app/engine/Config.h"
#include "app/engine/Downloader.h"
#include "app/engine/Files.h"
#include "app/engine/Scrape.h"
#include "app/engine/Text.h"

namespace lbb {

// An article the host answered 404 or 410 for, `runs` runs in a row.
struct GoneAnswer {
  int status = 0;
  int runs = 0;
};
// After this many runs in a row with the same 404 or 410 an article is not tried again.
inline constexpr int kGoneRunsBeforeGivingUp = 3;

// State shared by the runs and their workers. One instance lives as long as the process.
struct AppState {
  String appDir;    // folder of the program, no trailing separator
  String userName;  // user of the current run
  String lastURL;   // newest article address remembered for userName; "" when none
  // Workers of the current run that have reported. Changed under linkLock; read atomically.
  std::atomic<int32_t> doneCount{0};
  std::vector<blogLink> blogLinks;  // guarded by linkLock
  std::vector<String> failedURLs;   // articles of this run that could not be saved; linkLock
  // Of those, the ones the host said are gone (404 or 410), with that answer and the number
  // of runs in a row that got it; linkLock.
  std::map<String, GoneAnswer> goneURLs;
  std::mutex linkLock;
  std::condition_variable workerDone;  // signalled after each report
};

struct LocalTime {
  String shortDate;  // the user's locale's short date
  String longTime;   // the user's locale's long time
  int hour = 0, minute = 0, second = 0;
};

// What a run needs from the program around it.
class RunHost {
 public:
  virtual ~RunHost() = default;
  // UI thread: starts `body` as a worker on another thread; nobody waits for it here. false
  // when no thread could be had.
  virtual bool StartWorker(std::function<void()> body) = 0;
  // Worker: hands `line` to the UI thread for the log; the worker ends only once it has been
  // appended. Lines are appended in the order in which they were handed over.
  virtual void HandOverLogLine(const String& line) = 0;
  // UI thread: appends `line` to the log at once.
  virtual void AppendLog(const String& line) = 0;
  // UI thread: processes the window events that are pending (log lines handed over included).
  virtual void ProcessPendingEvents() = 0;
  virtual LocalTime Now() = 0;
};

// An error that ends a run; its text is shown to the user.
class RunError : public std::runtime_error {
 public:
  explicit RunError(const String& text) : std::runtime_error(TextToUtf8(text)), text_(text) {}
  const String& text() const { return text_; }

 private:
  String text_;
};

// The address of the default album's pages, without the page number.
String AlbumBase(const Sites& sites, const String& userName);
// "Name (index)" text of the list-index error.
String ListIndexError(int index);
// The time stamp of an index block: short date, then a blank and the long time unless the
// time is exactly midnight.
String TimeStamp(const LocalTime& t);
// The text of an error message box: the error's text, with "." added when its last
// character's code is above that of ".".
String MessageBoxText(const String& error);
// Why a trimmed user name cannot be used: it would lead outside the program's folder or name
// a device. "" when it can be used. (An empty name is not refused: it does nothing.)
String UserNameProblem(const String& name);

class BackupEngine {
 public:
  BackupEngine(AppState& state, RunHost& host, FileSystem& fs, Downloader& downloader, Sites sites);

  // The backup button after trimming and the empty check: checks the name, sets userName,
  // creates the user's folders, reads lastURL and runs BeiFen. Returns the text to show in
  // an error message box ("" when the run completed).
  String BackupButton(const String& trimmedName);
  // The album button likewise, with the pic folder and DownPics.
  String AlbumButton(const String& trimmedName);

  // The runs themselves; they throw RunError.
  void BeiFen();
  void DownPics();

  // Worker bodies, run on the worker threads.
  void ArticleWorker(const String& url, int32_t sum);
  void PictureWorker(const String& url, int32_t sum);

  const Sites& sites() const { return sites_; }
  String ConfigPath() const;

 private:
  void PrepareUserFolders(const String& name, const String& sub);
  // Runs `run`; the text of the error that ended it, "" when it completed.
  String RunReportingErrors(void (BackupEngine::*run)());
  // Starts one worker; when no thread can be had the article or picture counts as failed.
  void StartWorker(bool article, const String& url, int32_t& startedCount);
  void WaitForWorkers(int32_t startedCount);
  void Report(std::function<void()> underLock);
  // A worker's log line to the UI thread; a line that cannot be handed over is lost.
  void HandOver(const String& logLine);
  void ReadRetryList(const ConfigIni& ini);
  // The log line of an article the host says is gone; records it (call under linkLock).
  String GoneArticle(int32_t id, const String& url, int status);
  void StoreRunResult(const String& firstURL);
  String UserDir() const;

  AppState& state_;
  RunHost& host_;
  FileSystem& fs_;
  Downloader& downloader_;
  Sites sites_;
  std::vector<String> retryURLs_;           // read from config.ini when a backup starts
  std::map<String, GoneAnswer> retryGone_;  // of those, the ones earlier runs found gone
};

}  // namespace lbb
