#include <windows.h>

#include <array>
#include <cctype>
#include <utility>

#include "base/Text.h"
#include "tools/samplehost/Charset.h"

namespace samplehost {

namespace {

// Charset names as they appear in Content-Type headers, and the code page of each.
constexpr std::array<std::pair<std::string_view, UINT>, 16> kCodePages = {{
    {"utf-8", CP_UTF8},
    {"utf8", CP_UTF8},
    {"gbk", 936},
    {"gb2312", 936},
    {"cp936", 936},
    {"gb18030", 54936},
    {"big5", 950},
    {"shift_jis", 932},
    {"euc-jp", 20932},
    {"euc-kr", 51949},
    {"iso-8859-1", 28591},
    {"latin1", 28591},
    {"windows-1252", 1252},
    {"iso-8859-2", 28592},
    {"windows-1251", 1251},
    {"us-ascii", 20127},
}};

UINT CodePageOf(std::string_view name) {
  const std::string lower = lbb::LowerAscii(name);
  for (const auto& [n, cp] : kCodePages) {
    if (n == lower) return cp;
  }
  return 0;
}

}  // namespace

EncodeResult EncodeText(std::string_view utf8, std::string_view charset, bool replace,
                        std::string& out) {
  out.clear();
  const int inLen = static_cast<int>(utf8.size());
  const int wideLen = utf8.empty() ? 0
                                   : MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                                         inLen, nullptr, 0);
  if (!utf8.empty() && wideLen == 0) return EncodeResult::kBadInput;
  const UINT cp = CodePageOf(charset);
  if (cp == 0) return EncodeResult::kUnknownCharset;
  if (cp == CP_UTF8 || utf8.empty()) {
    out.assign(utf8);
    return EncodeResult::kOk;
  }
  std::wstring wide(static_cast<size_t>(wideLen), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLen, wide.data(), wideLen);
  // GB18030 holds every character and refuses a default character.
  const bool complete = cp == 54936;
  BOOL usedDefault = FALSE;
  const int outLen =
      WideCharToMultiByte(cp, 0, wide.data(), wideLen, nullptr, 0, complete ? nullptr : "?",
                          complete ? nullptr : &usedDefault);
  if (outLen == 0) return EncodeResult::kUnencodable;
  if (usedDefault && !replace) return EncodeResult::kUnencodable;
  out.resize(static_cast<size_t>(outLen));
  WideCharToMultiByte(cp, 0, wide.data(), wideLen, out.data(), outLen, complete ? nullptr : "?",
                      nullptr);
  return EncodeResult::kOk;
}

}  // namespace samplehost
