// In-memory stand-ins for the program around the engine: a UI thread whose event queue the
// test drains by hand, a page source serving fixed answers, and a file system with faults.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/engine/Files.h"
#include "app/engine/Runs.h"
#include "app/engine/WorkerPool.h"

namespace lbb::test {

// RunHost whose "window events" are the handed-over log lines; worker threads are kept so
// that the test can join them before the engine goes away. With a pool the workers run on it
// as in the program: a worker's line is queued with a hold on the worker, which ends once its
// line has been appended, while its thread goes on.
class TestHost : public RunHost {
 public:
  ~TestHost() override { Finish(); }

  // Workers from now on run on a pool of at most `threads` threads.
  void UsePool(int threads) { pool_ = std::make_unique<WorkerPool>(threads); }
  int PoolPeakThreads() const { return pool_ ? pool_->PeakThreads() : 0; }

  bool StartWorker(std::function<void()> body) override {
    if (refuseThreads) return false;
    if (pool_) return pool_->Submit(std::move(body));
    ++live_;
    threads_.emplace_back([this, body = std::move(body)] {
      body();
      --live_;
    });
    return true;
  }
  void HandOverLogLine(const String& line) override {
    std::unique_lock lock(mutex_);
    if (WorkerPool::Hold worker = WorkerPool::HoldCurrentItem()) {
      ++handedOver_;  // keeps the tickets of waiting workers in queue order
      queue_.push_back(line);
      holds_.push_back(std::move(worker));
      return;
    }
    const uint64_t ticket = ++handedOver_;
    queue_.push_back(line);
    appended_.wait(lock, [&] { return appendedCount_ >= ticket; });
  }
  void AppendLog(const String& line) override {
    std::lock_guard lock(mutex_);
    log.push_back(line);
  }
  void ProcessPendingEvents() override {
    ++eventRounds;
    std::vector<WorkerPool::Hold> appended;  // their workers end once the lock is let go
    std::lock_guard lock(mutex_);
    while (!queue_.empty()) {
      log.push_back(queue_.front());
      queue_.pop_front();
      ++appendedCount_;
    }
    appended.swap(holds_);
    appended_.notify_all();
  }
  LocalTime Now() override { return now; }

  // Lets every worker hand over its line and end, then joins them (the message loop that
  // follows a run in the program).
  void Finish() {
    while (live_ > 0 || (pool_ && pool_->LiveItems() > 0)) {
      ProcessPendingEvents();
      std::this_thread::yield();
    }
    ProcessPendingEvents();
    for (auto& t : threads_)
      t.join();
    threads_.clear();
  }
  std::vector<String> Log() {
    std::lock_guard lock(mutex_);
    return log;
  }
  void ClearLog() {
    std::lock_guard lock(mutex_);
    log.clear();
  }

  LocalTime now{u"2026/12/8", u"17:05:09", 17, 5, 9};
  bool refuseThreads = false;
  std::atomic<int> eventRounds{0};
  std::vector<String> log;

 private:
  std::mutex mutex_;
  std::condition_variable appended_;
  std::deque<String> queue_;
  uint64_t handedOver_ = 0, appendedCount_ = 0;
  std::atomic<int> live_{0};
  std::vector<std::thread> threads_;
  std::vector<WorkerPool::Hold> holds_;  // of pooled workers whose lines wait in the queue
  std::unique_ptr<WorkerPool> pool_;
};

// PageSource over a function from address to answer; decodes UTF-8 and ISO-8859-1 only.
class FunctionSource : public PageSource {
 public:
  explicit FunctionSource(std::function<FetchResult(const String&)> f) : f_(std::move(f)) {}
  FetchResult Fetch(const String& url) override {
    {
      std::lock_guard lock(mutex_);
      fetched.push_back(url);
    }
    return f_(url);
  }
  String Decode(const std::string& bytes, const std::string& charset) override {
    return charset == "utf-8" ? Utf8ToText(bytes) : Latin1ToText(bytes);
  }
  std::vector<String> Fetched() {
    std::lock_guard lock(mutex_);
    return fetched;
  }

 private:
  std::function<FetchResult(const String&)> f_;
  std::mutex mutex_;
  std::vector<String> fetched;
};

inline FetchResult Ok(std::string body, std::string charset = "utf-8") {
  FetchResult r;
  r.status = FetchStatus::kOk;
  r.httpStatus = 200;
  r.body = std::move(body);
  r.charset = std::move(charset);
  return r;
}
inline FetchResult HttpError(int status) {
  FetchResult r;
  r.status = FetchStatus::kHttpError;
  r.httpStatus = status;
  return r;
}

// StdFileSystem with switchable faults.
class FaultyFileSystem : public StdFileSystem {
 public:
  std::unique_ptr<OutputFile> OpenAppend(const String& path, String* error) override {
    if (failOpen) {
      *error = u"Access is denied";
      return nullptr;
    }
    return StdFileSystem::OpenAppend(path, error);
  }
  bool WriteAtomically(const String& path, std::string_view bytes, String* error) override {
    if (failWriteContaining.size() && path.find(failWriteContaining) != String::npos) {
      *error = u"disk full";
      return false;
    }
    return StdFileSystem::WriteAtomically(path, bytes, error);
  }
  // A file that is there but cannot be read.
  std::optional<std::string> ReadFile(const String& path) override {
    if (failReadContaining.size() && path.find(failReadContaining) != String::npos)
      return std::nullopt;
    return StdFileSystem::ReadFile(path);
  }
  bool failOpen = false;
  String failWriteContaining;
  String failReadContaining;
};

// A fresh folder for the program, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("lbb-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  String text() const { return path_.u16string(); }
  std::filesystem::path path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadAll(const std::filesystem::path& p) {
  StdFileSystem fs;
  return fs.ReadFile(p.u16string()).value_or("<missing>");
}

}  // namespace lbb::test
