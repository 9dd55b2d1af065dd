// config.ini on any bytes: parsing never fails, an unchanged file is written back byte for
// byte (line breaks normalised to CR LF), and a written key reads back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/engine/Config.h"

namespace {

std::string NormalisedLines(std::string s) {
  if (s.starts_with("\xEF\xBB\xBF")) s.erase(0, 3);
  std::string out;
  size_t at = 0;
  while (at < s.size()) {
    size_t end = s.find('\n', at);
    if (end == std::string::npos) end = s.size();
    std::string line = s.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out += line + "\r\n";
    at = end + 1;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  lbb::ConfigIni ini(bytes);
  std::string written = ini.Bytes();
  if (written.starts_with("\xEF\xBB\xBF")) written.erase(0, 3);
  if (written != NormalisedLines(bytes)) __builtin_trap();
  ini.Write(u"用户", u"lastURL", u"http://x/1");
  const lbb::ConfigIni again(ini.Bytes());
  if (again.ReadString(u"用户", u"lastURL", u"") != u"http://x/1") __builtin_trap();
  return 0;
}
