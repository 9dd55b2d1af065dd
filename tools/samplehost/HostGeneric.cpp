#include "tools/samplehost/HostGeneric.h"

#include <charconv>

#include "tools/samplehost/Charset.h"

namespace samplehost {

namespace {

const char kHex[] = "0123456789ABCDEF";

void PutEscaped(std::string& out, unsigned char c) {
  out.push_back('%');
  out.push_back(kHex[c >> 4]);
  out.push_back(kHex[c & 0xF]);
}

template <typename T>
bool ParseNumber(std::string_view s, T max, T& out) {
  T v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v > max) return false;
  out = v;
  return true;
}

}  // namespace

Reply FromAnswer(Answer a) {
  Reply r;
  r.status = a.status;
  r.contentType = std::move(a.contentType);
  r.body = std::move(a.body);
  r.headers = std::move(a.headers);
  return r;
}

Reply TextReply(int status, std::string text) {
  Reply r;
  r.status = status;
  r.contentType = "text/plain; charset=utf-8";
  r.body = std::move(text);
  return r;
}

std::string QueryEncode(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.' || c == '~' || c == '/';
    if (plain) {
      out.push_back(static_cast<char>(c));
    } else {
      PutEscaped(out, c);
    }
  }
  return out;
}

std::string LocationEncode(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c <= 0x20 || c >= 0x7F) {
      PutEscaped(out, c);
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

Reply RedirectReply(std::string_view n, const std::string& to) {
  int count = 0;
  if (!ParseNumber(n, 100000, count)) return FromAnswer(NotFound());
  Reply r = TextReply(302, "redirect " + std::to_string(count) + "\n");
  const std::string target = to.empty() ? "/" : to;
  r.headers.emplace_back("Location", count == 0 ? LocationEncode(target)
                                                : "/_redirect/" + std::to_string(count - 1) +
                                                      "?to=" + QueryEncode(target));
  return r;
}

Reply EchoReply(const std::string& method, const std::string& target, const std::string& version,
                const std::vector<std::pair<std::string, std::string>>& headers) {
  std::string text = method + " " + target + " " + version + "\n";
  for (const auto& [name, value] : headers)
    text += name + ": " + value + "\n";
  return TextReply(200, std::move(text));
}

Reply BytesReply(std::string_view n) {
  uint64_t length = 0;
  if (!ParseNumber<uint64_t>(n, uint64_t{1} << 40, length)) return FromAnswer(NotFound());
  Reply r;
  r.contentType = "application/octet-stream";
  r.generated = true;
  r.length = length;
  return r;
}

Reply CharsetReply(std::string_view name, bool param) {
  Reply r;
  r.contentType = param ? "text/plain; charset=" + std::string(name) : "text/plain";
  if (EncodeText(kCharsetSample, name, true, r.body) != EncodeResult::kOk) {
    r.body = std::string(kCharsetSample);
  }
  return r;
}

}  // namespace samplehost
