#include "tests/win/http/FetchSupport.h"

// winsock2.h must come before windows.h.
#include <windows.h>
#include <winsock2.h>

#include <cctype>
#include <cstdlib>

#include "tools/samplehost/HostGeneric.h"

namespace lbb::win::testing {

namespace {

String Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? Utf8ToText(value) : String();
}

// Owns a socket and closes it.
class Socket {
 public:
  Socket() : s_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }
  SOCKET get() const { return s_; }

 private:
  SOCKET s_;
};

// Keeps Winsock started for as long as it lives.
class Winsock {
 public:
  Winsock() {
    WSADATA data;
    ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  Winsock(const Winsock&) = delete;
  Winsock& operator=(const Winsock&) = delete;
  ~Winsock() {
    if (ok_) WSACleanup();
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

}  // namespace

String BlogSite() {
  return Env("SAMPLEHOST_BLOG");
}

String HttpsSite() {
  return Env("SAMPLEHOST_HTTPS");
}

String Blog(std::u16string_view path) {
  return BlogSite() + String(path);
}

bool Control(std::u16string_view command) {
  const FetchResult r = HttpGet(Blog(u"/_control/") + String(command));
  return r.ok() && r.httpStatus == 200;
}

bool SetFault(std::u16string_view path, std::u16string_view kind) {
  return Control(u"fault?path=" + String(path) + u"&kind=" + String(kind));
}

std::string GeneratedBytes(size_t n) {
  std::string bytes(n, '\0');
  for (size_t i = 0; i < n; ++i)
    bytes[i] = samplehost::GeneratedByte(i);
  return bytes;
}

String CharsetSample() {
  return Utf8ToText(samplehost::kCharsetSample);
}

int OpenFileCount() {
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW(L"Z:\\proc\\self\\fd\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  do {
    ++count;
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return count;
}

std::string Echo::Header(const std::string& lowerName) const {
  const auto it = headers.find(lowerName);
  return it == headers.end() ? std::string("(absent)") : it->second;
}

Echo ParseEcho(const std::string& body) {
  Echo echo;
  size_t at = 0;
  bool first = true;
  while (at < body.size()) {
    size_t end = body.find('\n', at);
    if (end == std::string::npos) end = body.size();
    const std::string line = body.substr(at, end - at);
    at = end + 1;
    if (first) {
      echo.requestLine = line;
      first = false;
      continue;
    }
    const size_t colon = line.find(": ");
    if (colon == std::string::npos) continue;
    std::string name = line.substr(0, colon);
    for (char& c : name)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    echo.headers.emplace(name, line.substr(colon + 2));
  }
  return echo;
}

int ClosedPort() {
  // Bind a port, learn its number and close it again: nothing listens there afterwards.
  const Winsock winsock;
  if (!winsock.ok()) return 0;
  const Socket s;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(s.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) return 0;
  int length = sizeof(address);
  if (getsockname(s.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

void SampleHostTest::SetUp() {
  ASSERT_FALSE(BlogSite().empty()) << "SAMPLEHOST_BLOG is not set: run under with-samplehost";
  ASSERT_TRUE(Control(u"clear-faults"));
}

}  // namespace lbb::win::testing
