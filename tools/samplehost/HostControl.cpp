// The control endpoints of the sample host: tests that run as separate programs change the
// blog, the faults and the latency between runs, and read the request statistics.
#include <httplib.h>

#include <charconv>

#include "tools/samplehost/HostServer.h"

namespace samplehost {

namespace {

bool ReadInt(const std::string& s, int lo, int hi, int& out) {
  int v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) {
    return false;
  }
  out = v;
  return true;
}

bool ReadSwitch(const std::string& s, bool& out) {
  if (s != "0" && s != "1") return false;
  out = s == "1";
  return true;
}

}  // namespace

std::string SampleHost::ApplySettings(const httplib::Request& req) {
  // The whole read-change-write under the exclusive lock, so that setters never interleave.
  std::unique_lock lock(optionsMutex_);
  BlogOptions o = http_->Options();
  int latency = latencyMs_, stall = stallMs_;
  for (const auto& [key, value] : req.params) {
    bool ok = true;
    if (key == "articles") {
      ok = ReadInt(value, 0, kMaxArticles, o.articles);
    } else if (key == "pictures") {
      ok = ReadInt(value, 0, kMaxPictures, o.pictures);
    } else if (key == "page-size") {
      ok = ReadInt(value, 1, 1000000, o.pageSize);
    } else if (key == "album-page-size") {
      ok = ReadInt(value, 1, 1000000, o.albumPageSize);
    } else if (key == "latency") {
      ok = ReadInt(value, 0, 3600 * 1000, latency);
    } else if (key == "stall-ms") {
      ok = ReadInt(value, 0, 3600 * 1000, stall);
    } else if (key == "odd-titles") {
      ok = ReadSwitch(value, o.oddTitles);
    } else if (key == "charset-param") {
      ok = ReadSwitch(value, o.charsetParam);
    } else if (key == "charset") {
      ok = value == "utf-8" || value == "gbk";
      o.charset = value;
    } else if (key == "claim-charset") {
      o.claimedCharset = value;
    } else {
      return "unknown setting " + key;
    }
    if (!ok) return "bad value for " + key + ": " + value;
  }
  http_->SetOptions(o);
  if (https_) https_->SetOptions(o);
  latencyMs_ = latency;
  stallMs_ = stall;
  WakeWaiters();
  return "";
}

std::string SampleHost::SettingsText() {
  BlogOptions o;
  {
    std::shared_lock lock(optionsMutex_);
    o = http_->Options();
  }
  std::string s =
      "articles=" + std::to_string(o.articles) + "\npage-size=" + std::to_string(o.pageSize) +
      "\npictures=" + std::to_string(o.pictures) +
      "\nalbum-page-size=" + std::to_string(o.albumPageSize) +
      "\nodd-titles=" + (o.oddTitles ? "1" : "0") + "\ncharset=" + o.charset +
      "\ncharset-param=" + (o.charsetParam ? "1" : "0") + "\nclaim-charset=" + o.claimedCharset +
      "\nlatency=" + std::to_string(latencyMs_.load()) +
      "\nstall-ms=" + std::to_string(stallMs_.load()) + "\n";
  std::lock_guard lock(faultsMutex_);
  for (const auto& [path, entry] : faults_)
    s += "fault=" + path + "=" + FaultName(entry.fault) + "\n";
  return s;
}

void SampleHost::HandleControl(const httplib::Request& req, httplib::Response& res) {
  const std::string command = req.path.substr(10);
  Reply r = TextReply(200, "ok\n");
  if (command == "set") {
    const std::string error = ApplySettings(req);
    r = error.empty() ? TextReply(200, "ok\n" + SettingsText()) : TextReply(400, error + "\n");
  } else if (command == "settings") {
    r = TextReply(200, SettingsText());
  } else if (command == "fault") {
    const std::string path = req.get_param_value("path");
    Fault fault;
    if (path.empty() || path[0] != '/' || !ParseFault(req.get_param_value("kind"), fault)) {
      r = TextReply(400,
                    "need path=/... and kind=404|500|503|429|reset|stall|flaky:K|"
                    "redirect:N|wrong-charset (empty kind clears)\n");
    } else {
      SetFault(path, fault);
    }
  } else if (command == "clear-faults") {
    ClearFaults();
  } else if (command == "stats") {
    const HostStats s = Stats();
    r = TextReply(200, "requests=" + std::to_string(s.requests) +
                           "\nmax_concurrent=" + std::to_string(s.maxConcurrent) +
                           "\ncurrent=" + std::to_string(s.current) + "\n");
  } else if (command == "reset-stats") {
    ResetStats();
  } else if (command == "stop") {
    RequestStop();
    r = TextReply(200, "stopping\n");
  } else {
    r = TextReply(404, "unknown control command " + command + "\n");
  }
  res.status = r.status;
  res.set_content(r.body, r.contentType.c_str());
}

}  // namespace samplehost
