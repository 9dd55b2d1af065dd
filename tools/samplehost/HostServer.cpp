#include "tools/samplehost/HostServer.h"

#include <httplib.h>
#include <signal.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace samplehost {

struct SampleHost::Listener {
  std::string name;  // "blog", "photo" or "https", for the log
  bool photoSite = false;
  bool https = false;
  int port = -1;
  std::unique_ptr<httplib::Server> server;
  std::thread thread;
};

namespace {

constexpr std::string_view kNoFault = "/_nofault";

std::string PathOf(const std::string& target) {
  return target.substr(0, target.find('?'));
}

// Pseudo-headers the library adds to every request; they were not sent by the client.
bool IsPseudoHeader(const std::string& name) {
  return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
         name == "LOCAL_PORT";
}

// Sends `r`; with `cut`, the headers announce the whole body but only about half of it is
// sent before the connection is dropped.
void Send(Reply r, httplib::Response& res, bool cut) {
  res.status = r.status;
  for (const auto& [name, value] : r.headers)
    res.set_header(name.c_str(), value);
  const uint64_t total = r.generated ? r.length : r.body.size();
  if (!cut && !r.generated) {
    res.set_content(r.body, r.contentType.c_str());
    return;
  }
  if (total == 0) {
    res.set_content("", r.contentType.c_str());
    return;
  }
  const uint64_t end = cut ? total / 2 : total;
  auto body = std::make_shared<std::string>(std::move(r.body));
  const bool generated = r.generated;
  res.set_content_provider(static_cast<size_t>(total), r.contentType.c_str(),
                           [body, end, generated](size_t offset, size_t, httplib::DataSink& sink) {
                             if (offset >= end)
                               return false;  // the cut: the library closes the connection
                             const size_t n =
                                 static_cast<size_t>(std::min<uint64_t>(end - offset, 64 * 1024));
                             if (!generated) return sink.write(body->data() + offset, n);
                             std::string chunk(n, '\0');
                             for (size_t i = 0; i < n; ++i)
                               chunk[i] = GeneratedByte(offset + i);
                             return sink.write(chunk.data(), n);
                           });
}

}  // namespace

SampleHost::SampleHost(HostConfig config) : config_(std::move(config)) {}

SampleHost::~SampleHost() {
  Stop();
}

std::string SampleHost::BlogUrl() const {
  return "http://127.0.0.1:" + std::to_string(listeners_.empty() ? 0 : listeners_[0]->port);
}

std::string SampleHost::PhotoUrl() const {
  for (const auto& l : listeners_) {
    if (l->photoSite) return "http://127.0.0.1:" + std::to_string(l->port);
  }
  return BlogUrl();
}

std::string SampleHost::HttpsUrl() const {
  for (const auto& l : listeners_) {
    if (l->https) return "https://127.0.0.1:" + std::to_string(l->port);
  }
  return "";
}

std::string SampleHost::PortFileText() const {
  std::string s = "blog=" + BlogUrl() + "\nphoto=" + PhotoUrl() + "\n";
  if (!HttpsUrl().empty()) s += "https=" + HttpsUrl() + "\n";
  return s;
}

bool SampleHost::StartListener(Listener& l, int port, std::string& error) {
  if (l.https) {
    auto s =
        std::make_unique<httplib::SSLServer>(config_.certFile.c_str(), config_.keyFile.c_str());
    if (!s->is_valid()) {
      error = "cannot load the certificate " + config_.certFile + " and key " + config_.keyFile;
      return false;
    }
    l.server = std::move(s);
  } else {
    l.server = std::make_unique<httplib::Server>();
  }
  httplib::Server& svr = *l.server;
  const int threads = config_.threads;
  svr.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
  svr.set_keep_alive_max_count(1);  // one request per connection, "Connection: close"
  int listenFd = -1;
  svr.set_socket_options([&listenFd](socket_t s) {
    int yes = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    listenFd = s;
  });
  svr.Get(R"([\s\S]*)",
          [this, &l](const httplib::Request& req, httplib::Response& res) { Handle(l, req, res); });
  l.port = port == 0 ? svr.bind_to_any_port("127.0.0.1")
                     : (svr.bind_to_port("127.0.0.1", port) ? port : -1);
  svr.set_socket_options([](socket_t) {});
  if (l.port <= 0) {
    error = "cannot listen on 127.0.0.1:" + std::to_string(port);
    return false;
  }
  // The library listens with a tiny backlog; a burst of parallel clients needs a deeper
  // accept queue (listen() again only changes the backlog).
  if (listenFd >= 0) ::listen(listenFd, 1024);
  return true;
}

bool SampleHost::Start(std::string& error) {
  signal(SIGPIPE, SIG_IGN);  // clients that hang up must not end the process
  latencyMs_ = config_.latencyMs;
  stallMs_ = config_.stallMs;
  for (const auto& [path, fault] : config_.faults)
    SetFault(path, fault);
  const auto add = [&](std::string name, bool photo, bool https, int port) {
    auto l = std::make_unique<Listener>();
    l->name = std::move(name);
    l->photoSite = photo;
    l->https = https;
    listeners_.push_back(std::move(l));
    return StartListener(*listeners_.back(), port, error);
  };
  if (!add("blog", false, false, config_.port)) return false;
  if (config_.photoPort >= 0 && !add("photo", true, false, config_.photoPort)) return false;
  if (config_.httpsPort >= 0 && !add("https", false, true, config_.httpsPort)) return false;
  http_ = std::make_unique<BlogGenerator>(config_.blog, BlogUrl(), PhotoUrl());
  if (!HttpsUrl().empty()) {
    https_ = std::make_unique<BlogGenerator>(config_.blog, HttpsUrl(), HttpsUrl());
  }
  for (auto& l : listeners_) {
    httplib::Server* svr = l->server.get();
    l->thread = std::thread([svr] { svr->listen_after_bind(); });
    // stop() only works once the server runs, so wait for that.
    for (int i = 0; i < 5000 && !svr->is_running(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  started_ = true;
  return true;
}

void SampleHost::Stop() {
  {
    std::lock_guard lock(stopMutex_);
    stopping_ = true;
    stopRequested_ = true;
  }
  stopCv_.notify_all();
  for (auto& l : listeners_) {
    if (l->server) l->server->stop();
  }
  for (auto& l : listeners_) {
    if (l->thread.joinable()) l->thread.join();
  }
}

void SampleHost::RequestStop() {
  {
    std::lock_guard lock(stopMutex_);
    stopRequested_ = true;
  }
  stopCv_.notify_all();
}

void SampleHost::WaitForStopRequest() {
  std::unique_lock lock(stopMutex_);
  stopCv_.wait(lock, [this] { return stopRequested_; });
}

bool SampleHost::StopRequested() {
  std::lock_guard lock(stopMutex_);
  return stopRequested_;
}

bool SampleHost::Wait(const std::atomic<int>& ms) {
  const auto start = std::chrono::steady_clock::now();
  std::unique_lock lock(stopMutex_);
  for (;;) {
    if (stopping_) return false;
    // The setting is read again after every wake-up: lowering it releases waiting requests.
    const auto deadline = start + std::chrono::milliseconds(ms.load());
    if (std::chrono::steady_clock::now() >= deadline) return true;
    stopCv_.wait_until(lock, deadline);
  }
}

void SampleHost::WakeWaiters() {
  { std::lock_guard lock(stopMutex_); }
  stopCv_.notify_all();
}

void SampleHost::SetFault(const std::string& path, Fault fault) {
  std::lock_guard lock(faultsMutex_);
  if (fault.kind == Fault::Kind::kNone) {
    faults_.erase(path);
  } else {
    faults_[path] = FaultEntry{fault, 0};
  }
}

void SampleHost::ClearFaults() {
  std::lock_guard lock(faultsMutex_);
  faults_.clear();
}

SampleHost::FaultEntry SampleHost::TakeFault(const std::string& path, const std::string& rawPath) {
  std::lock_guard lock(faultsMutex_);
  auto it = faults_.find(path);
  if (it == faults_.end()) it = faults_.find(rawPath);
  if (it == faults_.end()) {
    for (it = faults_.begin(); it != faults_.end(); ++it) {
      const std::string& key = it->first;
      if (!key.ends_with('*')) continue;
      const std::string_view prefix(key.data(), key.size() - 1);
      if (path.starts_with(prefix) || rawPath.starts_with(prefix)) break;
    }
  }
  if (it == faults_.end()) return {};
  ++it->second.hits;
  return it->second;
}

HostStats SampleHost::Stats() {
  std::lock_guard lock(statsMutex_);
  return stats_;
}

void SampleHost::ResetStats() {
  std::lock_guard lock(statsMutex_);
  stats_.requests = 0;
  stats_.maxConcurrent = stats_.current;
}

void SampleHost::Log(const Listener& l, const httplib::Request& req, int status, uint64_t bytes) {
  if (!config_.log) return;
  std::fprintf(stderr, "samplehost %s: %s %s -> %d (%llu bytes)\n", l.name.c_str(),
               req.method.c_str(), req.target.c_str(), status,
               static_cast<unsigned long long>(bytes));
}

void SampleHost::Handle(Listener& l, const httplib::Request& req, httplib::Response& res) {
  if (req.path.starts_with("/_control/")) {
    HandleControl(req, res);
    Log(l, req, res.status, res.body.size());
    return;
  }
  {
    std::lock_guard lock(statsMutex_);
    ++stats_.requests;
    stats_.maxConcurrent = std::max(stats_.maxConcurrent, ++stats_.current);
  }
  struct Leave {
    SampleHost* host;
    ~Leave() {
      std::lock_guard lock(host->statsMutex_);
      --host->stats_.current;
    }
  } leave{this};
  // "/_nofault/<path>" is <path> without its fault: where redirect faults end.
  const bool real = req.path.starts_with(kNoFault);
  const std::string path = real ? req.path.substr(kNoFault.size()) : req.path;
  Reply r;
  FaultEntry fault;
  if (!Wait(latencyMs_)) {
    r = TextReply(503, "stopping\n");
  } else {
    if (!real) fault = TakeFault(path, PathOf(req.target));
    r = Produce(l, req, path, fault);
  }
  const int status = r.status;
  const uint64_t size = r.generated ? r.length : r.body.size();
  Send(std::move(r), res, fault.fault.kind == Fault::Kind::kReset);
  Log(l, req, status, size);
}

Reply SampleHost::Produce(Listener& l, const httplib::Request& req, const std::string& path,
                          const FaultEntry& f) {
  using K = Fault::Kind;
  const int value = f.fault.value;
  switch (f.fault.kind) {
    case K::kStatus: {
      Reply r = TextReply(value, "fault " + std::to_string(value) + "\n");
      if (value == 429 || value == 503) r.headers.emplace_back("Retry-After", "1");
      return r;
    }
    case K::kFlaky:
      if (f.hits <= value) {
        return TextReply(503,
                         "flaky " + std::to_string(f.hits) + "/" + std::to_string(value) + "\n");
      }
      break;
    case K::kRedirect: {
      // This answer is the first redirect; /_redirect/<m> adds m + 1 more. The chain ends at
      // the page without its fault. The path as sent keeps its encoding (the album's name).
      const std::string to = std::string(kNoFault) + PathOf(req.target);
      Reply r = TextReply(302, "redirect fault " + std::to_string(value) + "\n");
      r.headers.emplace_back("Location", value == 1 ? LocationEncode(to)
                                                    : "/_redirect/" + std::to_string(value - 2) +
                                                          "?to=" + QueryEncode(to));
      return r;
    }
    case K::kStall:
      if (!Wait(stallMs_)) return TextReply(503, "stopping\n");
      break;
    default:
      break;
  }
  Reply r = Content(l, req, path);
  if (f.fault.kind == K::kWrongCharset && r.contentType.starts_with("text/")) {
    std::shared_lock lock(optionsMutex_);
    const bool utf8 = http_->Options().charset != "gbk";
    r.contentType = r.contentType.substr(0, r.contentType.find(';')) +
                    (utf8 ? "; charset=gbk" : "; charset=utf-8");
  }
  return r;
}

Reply SampleHost::Content(Listener& l, const httplib::Request& req, const std::string& p) {
  if (p.starts_with("/_redirect/")) return RedirectReply(p.substr(11), req.get_param_value("to"));
  if (p.starts_with("/_bytes/")) return BytesReply(p.substr(8));
  if (p.starts_with("/_charset/")) {
    return CharsetReply(p.substr(10), req.get_param_value("param") != "0");
  }
  if (p == "/_echo") {
    std::vector<std::pair<std::string, std::string>> headers;
    for (const auto& [name, value] : req.headers) {
      if (!IsPseudoHeader(name)) headers.emplace_back(name, value);
    }
    return EchoReply(req.method, req.target, req.version, headers);
  }
  std::shared_lock lock(optionsMutex_);
  const BlogGenerator& g = l.https ? *https_ : *http_;
  return FromAnswer(g.Get(l.photoSite, p));
}

}  // namespace samplehost
