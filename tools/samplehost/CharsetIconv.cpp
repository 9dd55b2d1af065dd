#include <errno.h>
#include <iconv.h>

#include "tools/samplehost/Charset.h"

namespace samplehost {

namespace {

// Length of the valid UTF-8 sequence at the start of `s`; 0 when it is not valid.
size_t Utf8SequenceLength(std::string_view s) {
  const auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(0);
  size_t n;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < n || b(1) < lo || b(1) > hi) return 0;
  for (size_t i = 2; i < n; ++i) {
    if (b(i) < 0x80 || b(i) > 0xBF) return 0;
  }
  return n;
}

bool ValidUtf8(std::string_view s) {
  while (!s.empty()) {
    const size_t n = Utf8SequenceLength(s);
    if (n == 0) return false;
    s.remove_prefix(n);
  }
  return true;
}

class Converter {
 public:
  explicit Converter(const std::string& charset) : cd_(iconv_open(charset.c_str(), "UTF-8")) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  EncodeResult Run(std::string_view in, bool replace, std::string& out) {
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    out.clear();
    char buf[4096];
    for (;;) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      const size_t r = srcLeft == 0 ? iconv(cd_, nullptr, nullptr, &dst, &dstLeft)
                                    : iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r != static_cast<size_t>(-1)) {
        if (srcLeft == 0) return EncodeResult::kOk;
        continue;
      }
      if (errno == E2BIG) continue;
      if (errno != EILSEQ || !replace) return EncodeResult::kUnencodable;
      // Input is valid UTF-8, so this is a character the set cannot hold: skip it.
      const size_t n = Utf8SequenceLength(std::string_view(src, srcLeft));
      src += n;
      srcLeft -= n;
      out.push_back('?');
    }
  }

 private:
  iconv_t cd_;
};

}  // namespace

EncodeResult EncodeText(std::string_view utf8, std::string_view charset, bool replace,
                        std::string& out) {
  out.clear();
  if (!ValidUtf8(utf8)) return EncodeResult::kBadInput;
  // Names are plain tokens; iconv's own suffixes ("//TRANSLIT") are not charset names.
  if (charset.empty() || charset.find('/') != std::string_view::npos) {
    return EncodeResult::kUnknownCharset;
  }
  Converter c{std::string(charset)};
  if (!c.ok()) return EncodeResult::kUnknownCharset;
  return c.Run(utf8, replace, out);
}

}  // namespace samplehost
