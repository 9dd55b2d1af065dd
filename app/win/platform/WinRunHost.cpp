#include "app/win/platform/WinRunHost.h"

#include <algorithm>
#include <memory>

#include "base/win/Handles.h"
#include "base/win/WideText.h"
#include "forms/MessagePump.h"

namespace lbb::win {

namespace {

String TrimDirectory(const std::wstring& full) {
  const size_t cut = full.find_last_of(L"\\/");
  return FromWide(cut == std::wstring::npos ? std::wstring() : full.substr(0, cut));
}

String SiteFromEnvironment(const wchar_t* name, std::u16string_view fallback) {
  wchar_t buffer[2048];
  const DWORD n = GetEnvironmentVariableW(name, buffer, 2048);
  String site = (n > 0 && n < 2048) ? FromWide(buffer, n) : String(fallback);
  while (!site.empty() && site.back() == u'/')
    site.pop_back();
  return site;
}

}  // namespace

struct WinRunHost::LogHandOver {
  String line;
  KernelHandle appended;    // event set once the UI thread has appended the line; or
  WorkerPool::Hold worker;  // the pooled worker that stays alive until then
};

WinRunHost::WinRunHost(std::function<void(const String&)> appendLog)
    : WinRunHost(std::move(appendLog), nullptr) {}

WinRunHost::WinRunHost(std::function<void(const String&)> appendLog,
                       std::function<void(const std::vector<String>&)> appendLines)
    : appendLog_(std::move(appendLog)), appendLines_(std::move(appendLines)) {
  handOver_.afterCalls = [this] { AppendOrWait(); };
  handOver_.onTimer = [this](UINT_PTR id) {
    if (id == flushTimer_.Id()) OnFlushTimer();
  };
}

WinRunHost::~WinRunHost() {
  // Lines still queued are appended now, so that no worker waits for ever; later ones are
  // refused.
  handOver_.RunPending();
  handOver_.Close();
  FlushWaitingLines();
  flushTimer_.Stop();
}

void WinRunHost::AppendOrWait() {
  if (waiting_.empty()) return;
  if (!appendLines_) {
    FlushWaitingLines();
    return;
  }
  const DWORD since = GetTickCount() - lastAppend_;
  const DWORD pause = std::max(kLogAppendIntervalMs, kLogAppendPauseFactor * lastAppendCost_);
  if (since >= pause) {
    FlushWaitingLines();
  } else if (!flushTimer_.Running()) {
    flushTimer_.Start(handOver_.Window(), pause - since);
    // Without a timer the lines cannot wait: append them now.
    if (!flushTimer_.Running()) FlushWaitingLines();
  }
}

void WinRunHost::OnFlushTimer() {
  flushTimer_.Stop();
  FlushWaitingLines();
}

void WinRunHost::FlushWaitingLines() {
  if (waiting_.empty()) return;
  // The pooled workers whose lines these are end when this list goes.
  std::vector<std::shared_ptr<LogHandOver>> handOvers;
  handOvers.swap(waiting_);
  const DWORD start = GetTickCount();
  try {
    if (appendLines_) {
      std::vector<String> lines;
      lines.reserve(handOvers.size());
      for (const auto& h : handOvers)
        lines.push_back(h->line);
      appendLines_(lines);
    } else {
      for (const auto& h : handOvers)
        appendLog_(h->line);
    }
  } catch (...) {
    // A log that cannot take the lines must not keep the workers waiting.
  }
  for (const auto& h : handOvers) {
    if (h->appended) SetEvent(h->appended.get());
  }
  lastAppend_ = GetTickCount();
  lastAppendCost_ = lastAppend_ - start;
}

WorkerThreads::WorkerThreads()
    : ends_(std::make_shared<Ends>()), pool_(kWorkerThreads, [ends = ends_] {
        if (ends->waiting) SetEvent(ends->changed.get());
      }) {
  ends_->changed = KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

bool WorkerThreads::Start(std::function<void()> body) {
  return pool_.Submit(std::move(body));
}

void WorkerThreads::WaitUntilNone() {
  forms::TMessagePump pump;
  // Ends signal from now on; the event is reset before the count is read: a worker that ends
  // after the read sets it again, so the wait cannot miss the last end.
  ends_->waiting = true;
  pump.PumpUntil(
      [&] {
        ResetEvent(ends_->changed.get());
        return Live() == 0;
      },
      ends_->changed.get());
  ends_->waiting = false;
  pump.ProcessPending();
}

bool WinRunHost::StartWorker(std::function<void()> body) {
  return workers_.Start(std::move(body));
}

void WinRunHost::HandOverLogLine(const String& line) {
  // The line is queued on the UI thread; it is appended there now or with the lines that
  // follow within the interval, and its worker waits (or stays alive) until it has been.
  if (WorkerPool::Hold worker = WorkerPool::HoldCurrentItem()) {
    // The UI thread may be in a run's wait, which handles no window events: a pool thread
    // held here would be missing for the workers still queued.
    auto handOver = std::make_shared<LogHandOver>(LogHandOver{line, {}, std::move(worker)});
    handOver_.Post([this, handOver] { waiting_.push_back(handOver); });
    return;
  }
  auto handOver = std::make_shared<LogHandOver>(
      LogHandOver{line, KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)), nullptr});
  if (!handOver->appended) return;
  if (!handOver_.Run([&] { waiting_.push_back(handOver); })) return;
  if (GetCurrentThreadId() == handOver_.OwnerThread()) {
    FlushWaitingLines();  // the UI thread itself cannot wait for its own timer
    return;
  }
  WaitForSingleObject(handOver->appended.get(), INFINITE);
}

void WinRunHost::AppendLog(const String& line) {
  FlushWaitingLines();
  appendLog_(line);
}

void WinRunHost::FinishWorkers() {
  workers_.WaitUntilNone();
}

void WinRunHost::ProcessPendingEvents() {
  // A WM_QUIT is left for the message loop that owns it.
  forms::TMessagePump pump;
  pump.ProcessPending();
}

LocalTime WinRunHost::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return FormatLocalTime(st);
}

LocalTime FormatLocalTime(const SYSTEMTIME& st) {
  LocalTime t;
  wchar_t buffer[256];
  int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 256);
  if (n > 0) t.shortDate = FromWide(buffer, static_cast<size_t>(n - 1));
  n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 256);
  if (n > 0) t.longTime = FromWide(buffer, static_cast<size_t>(n - 1));
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  return t;
}

String ProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return String();
    if (n < path.size()) {
      path.resize(n);
      return TrimDirectory(path);
    }
    path.resize(path.size() * 2);
  }
}

Sites ProgramSites() {
  return Sites{SiteFromEnvironment(L"LORVANE_BLOG_SITE", BlogSiteURL),
               SiteFromEnvironment(L"LORVANE_PHOTO_SITE", PhotoSiteURL)};
}

}  // namespace lbb::win
