// The sample blog host: HTTP listeners on 127.0.0.1 that serve the generated blog, the
// generic test paths, injected faults and the control endpoints.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "tools/samplehost/BlogGenerator.h"
#include "tools/samplehost/HostConfig.h"
#include "tools/samplehost/HostGeneric.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace samplehost {

struct HostStats {
  int64_t requests = 0;  // answered requests, control endpoints not counted
  int maxConcurrent = 0;
  int current = 0;
};

class SampleHost {
 public:
  explicit SampleHost(HostConfig config);
  ~SampleHost();
  SampleHost(const SampleHost&) = delete;
  SampleHost& operator=(const SampleHost&) = delete;

  // Binds every listener and starts serving. False with `error` set when a port cannot be
  // bound or the certificate cannot be loaded. SIGPIPE is ignored from then on.
  bool Start(std::string& error);
  // Wakes stalled and delayed requests, closes the listeners and waits for their threads.
  // Must not be called from a request handler (use RequestStop there).
  void Stop();

  // Asks the owner to stop (signals, /_control/stop); WaitForStopRequest returns then.
  void RequestStop();
  void WaitForStopRequest();
  bool StopRequested();

  std::string BlogUrl() const;   // "http://127.0.0.1:P"
  std::string PhotoUrl() const;  // the blog URL when one port serves both
  std::string HttpsUrl() const;  // "" without an HTTPS listener
  // The lines of the port file.
  std::string PortFileText() const;

  void SetFault(const std::string& path, Fault fault);  // kNone clears the path
  void ClearFaults();
  HostStats Stats();
  void ResetStats();

 private:
  struct Listener;
  struct FaultEntry {
    Fault fault;
    int hits = 0;
  };

  bool StartListener(Listener& l, int port, std::string& error);
  void Handle(Listener& l, const httplib::Request& req, httplib::Response& res);
  void HandleControl(const httplib::Request& req, httplib::Response& res);
  std::string ApplySettings(const httplib::Request& req);
  std::string SettingsText();
  // The fault for a request (the decoded path or the path as sent) and how often it hit.
  FaultEntry TakeFault(const std::string& path, const std::string& rawPath);
  Reply Produce(Listener& l, const httplib::Request& req, const std::string& path,
                const FaultEntry& fault);
  Reply Content(Listener& l, const httplib::Request& req, const std::string& path);
  // Waits for the time a setting names (latency, stall) unless the host stops first; false
  // when it stops. Changing the setting meanwhile changes the end of the wait.
  bool Wait(const std::atomic<int>& ms);
  void WakeWaiters();
  void Log(const Listener& l, const httplib::Request& req, int status, uint64_t bytes);

  HostConfig config_;
  std::vector<std::unique_ptr<Listener>> listeners_;
  std::unique_ptr<BlogGenerator> http_, https_;
  std::shared_mutex optionsMutex_;  // setters exclusive, page generation shared
  std::atomic<int> latencyMs_{0}, stallMs_{0};

  std::mutex faultsMutex_;
  std::map<std::string, FaultEntry> faults_;

  std::mutex statsMutex_;
  HostStats stats_;

  std::mutex stopMutex_;
  std::condition_variable stopCv_;
  bool stopping_ = false;       // Stop() has begun: sleeps end at once
  bool stopRequested_ = false;  // someone asked the owner to stop
  bool started_ = false;
};

}  // namespace samplehost
