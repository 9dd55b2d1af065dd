// Settings of the sample host and the faults it can inject, with the command-line parser.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/samplehost/BlogGenerator.h"

namespace samplehost {

struct Fault {
  enum class Kind {
    kNone,
    kStatus,        // answer with status `value` (404, 500, 503, 429)
    kReset,         // full Content-Length, about half the body, then the connection closes
    kStall,         // no answer until the stall time is over (or the host stops)
    kFlaky,         // 503 for the first `value` requests, then the real answer
    kRedirect,      // a chain of `value` redirects that ends at the real answer
    kWrongCharset,  // Content-Type names another charset than the body is in
  };
  Kind kind = Kind::kNone;
  int value = 0;
};

// "404", "500", "503", "429", "reset", "stall", "flaky:K", "redirect:N", "wrong-charset".
// An empty text gives kNone. False for anything else.
bool ParseFault(std::string_view text, Fault& fault);
// The text ParseFault reads back into `fault`.
std::string FaultName(const Fault& fault);

struct HostConfig {
  BlogOptions blog;
  int port = 0;        // 0: a free port
  int photoPort = -1;  // -1: the blog listener serves the picture server's paths too
  int httpsPort = -1;  // -1: no HTTPS listener
  std::string certFile, keyFile;
  std::string portFile;
  int latencyMs = 0;
  int stallMs = 120000;
  int threads = 256;  // worker threads per listener
  bool log = false;
  std::vector<std::pair<std::string, Fault>> faults;  // path (a trailing * matches a prefix)
};

// Reads the command line (without the program name) into `config`. Returns "" on success,
// otherwise the text of the problem. "--help" gives the text "help".
std::string ParseCommandLine(const std::vector<std::string>& args, HostConfig& config);

// One line per option, for --help and error messages.
std::string UsageText();

}  // namespace samplehost
