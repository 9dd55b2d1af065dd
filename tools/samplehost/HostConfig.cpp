#include "tools/samplehost/HostConfig.h"

#include <charconv>
#include <functional>
#include <map>
#include <tuple>

namespace samplehost {

namespace {

bool ParseInt(std::string_view s, int lo, int hi, int& out) {
  int v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

constexpr int kMaxPort = 65535;
constexpr int kMaxMs = 3600 * 1000;

}  // namespace

bool ParseFault(std::string_view text, Fault& fault) {
  using K = Fault::Kind;
  fault = Fault{};
  if (text.empty()) return true;
  for (int code : {404, 500, 503, 429}) {
    if (text == std::to_string(code)) {
      fault = {K::kStatus, code};
      return true;
    }
  }
  if (text == "reset") fault = {K::kReset, 0};
  if (text == "stall") fault = {K::kStall, 0};
  if (text == "wrong-charset") fault = {K::kWrongCharset, 0};
  if (fault.kind != K::kNone) return true;
  int n = 0;
  if (text.starts_with("flaky:") && ParseInt(text.substr(6), 0, 1000000, n)) {
    fault = {K::kFlaky, n};
    return true;
  }
  if (text.starts_with("redirect:") && ParseInt(text.substr(9), 1, 1000, n)) {
    fault = {K::kRedirect, n};
    return true;
  }
  return false;
}

std::string FaultName(const Fault& f) {
  using K = Fault::Kind;
  switch (f.kind) {
    case K::kStatus:
      return std::to_string(f.value);
    case K::kReset:
      return "reset";
    case K::kStall:
      return "stall";
    case K::kFlaky:
      return "flaky:" + std::to_string(f.value);
    case K::kRedirect:
      return "redirect:" + std::to_string(f.value);
    case K::kWrongCharset:
      return "wrong-charset";
    case K::kNone:
      break;
  }
  return "";
}

std::string UsageText() {
  return "usage: samplehost [options]\n"
         "  --port N              blog site port on 127.0.0.1 (0 = a free one; default 0)\n"
         "  --photo-port N        separate picture server port (default: the blog port serves "
         "both)\n"
         "  --port-file F         write blog=URL and photo=URL lines (and https=URL) when "
         "listening\n"
         "  --articles N          articles per user (default 25)\n"
         "  --page-size N         articles per list page (default 10)\n"
         "  --pictures N          pictures in the default album (default 20)\n"
         "  --album-page-size N   pictures per album page (default 8)\n"
         "  --no-odd-titles       plain ASCII titles\n"
         "  --charset utf-8|gbk   encoding of the pages (default utf-8)\n"
         "  --no-charset-param    Content-Type without a charset parameter\n"
         "  --claim-charset NAME  Content-Type names NAME whatever the encoding\n"
         "  --latency MS          delay before every answer\n"
         "  --stall-ms MS         how long a stall fault holds its answer (default 120000)\n"
         "  --fault PATH=KIND     404|500|503|429|reset|stall|flaky:K|redirect:N|wrong-charset;"
         " repeatable; a PATH ending in * matches a prefix\n"
         "  --https-port N        HTTPS listener (needs --cert and --key)\n"
         "  --cert F --key F      PEM certificate and private key for HTTPS\n"
         "  --threads N           worker threads per listener (default 256)\n"
         "  --log                 one line per request on stderr\n";
}

std::string ParseCommandLine(const std::vector<std::string>& args, HostConfig& c) {
  using IntSetter = std::function<void(int)>;
  const std::map<std::string, std::tuple<int, int, IntSetter>> ints = {
      {"--port", {0, kMaxPort, [&](int v) { c.port = v; }}},
      {"--photo-port", {0, kMaxPort, [&](int v) { c.photoPort = v; }}},
      {"--https-port", {0, kMaxPort, [&](int v) { c.httpsPort = v; }}},
      {"--articles", {0, kMaxArticles, [&](int v) { c.blog.articles = v; }}},
      {"--page-size", {1, 1000000, [&](int v) { c.blog.pageSize = v; }}},
      {"--pictures", {0, kMaxPictures, [&](int v) { c.blog.pictures = v; }}},
      {"--album-page-size", {1, 1000000, [&](int v) { c.blog.albumPageSize = v; }}},
      {"--latency", {0, kMaxMs, [&](int v) { c.latencyMs = v; }}},
      {"--stall-ms", {0, kMaxMs, [&](int v) { c.stallMs = v; }}},
      {"--threads", {1, 4096, [&](int v) { c.threads = v; }}},
  };
  const std::map<std::string, std::function<void()>> flags = {
      {"--no-odd-titles", [&] { c.blog.oddTitles = false; }},
      {"--no-charset-param", [&] { c.blog.charsetParam = false; }},
      {"--log", [&] { c.log = true; }},
  };
  const std::map<std::string, std::string*> texts = {
      {"--port-file", &c.portFile},
      {"--charset", &c.blog.charset},
      {"--claim-charset", &c.blog.claimedCharset},
      {"--cert", &c.certFile},
      {"--key", &c.keyFile},
  };
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i], value;
    const size_t eq = name.find('=');
    const bool inlineValue = name.starts_with("--") && eq != std::string::npos;
    if (inlineValue) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    if (name == "--help" || name == "-h") return "help";
    if (auto f = flags.find(name); f != flags.end() && !inlineValue) {
      f->second();
      continue;
    }
    const bool takesValue = ints.count(name) || texts.count(name) || name == "--fault";
    if (!takesValue) return "unknown option " + args[i];
    if (!inlineValue) {
      if (i + 1 >= args.size()) return "option " + name + " needs a value";
      value = args[++i];
    }
    if (auto it = ints.find(name); it != ints.end()) {
      const auto& [lo, hi, set] = it->second;
      int v = 0;
      if (!ParseInt(value, lo, hi, v)) return "bad value for " + name + ": " + value;
      set(v);
    } else if (auto t = texts.find(name); t != texts.end()) {
      *t->second = value;
    } else {
      const size_t at = value.rfind('=');
      Fault f;
      if (at == std::string::npos || at == 0 || value[0] != '/' ||
          !ParseFault(std::string_view(value).substr(at + 1), f) || f.kind == Fault::Kind::kNone) {
        return "bad fault " + value + " (PATH=KIND)";
      }
      c.faults.emplace_back(value.substr(0, at), f);
    }
  }
  if (c.blog.charset != "utf-8" && c.blog.charset != "gbk") {
    return "--charset must be utf-8 or gbk";
  }
  if (c.httpsPort >= 0 && (c.certFile.empty() || c.keyFile.empty())) {
    return "--https-port needs --cert and --key";
  }
  if (c.photoPort > 0 && c.photoPort == c.port) return "--photo-port must differ from --port";
  return "";
}

}  // namespace samplehost
