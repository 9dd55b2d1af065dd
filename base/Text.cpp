#include "base/Text.h"

namespace lbb {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(String& out, uint32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Length of the UTF-8 sequence that starts with `lead`, its first payload bits and the
// smallest code point it may encode; 0 for a byte that cannot start a sequence.
int SequenceLength(unsigned char lead, uint32_t& cp, uint32_t& min) {
  if (lead < 0x80) {
    cp = lead;
    min = 0;
    return 1;
  }
  if (lead >= 0xC2 && lead < 0xE0) {
    cp = lead & 0x1F;
    min = 0x80;
    return 2;
  }
  if (lead >= 0xE0 && lead < 0xF0) {
    cp = lead & 0x0F;
    min = 0x800;
    return 3;
  }
  if (lead >= 0xF0 && lead < 0xF5) {
    cp = lead & 0x07;
    min = 0x10000;
    return 4;
  }
  return 0;
}

}  // namespace

String Utf8ToText(std::string_view in) {
  String out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    uint32_t cp = 0, min = 0;
    const int n = SequenceLength(static_cast<unsigned char>(in[i]), cp, min);
    if (n == 0 || i + static_cast<size_t>(n) > in.size()) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    bool valid = true;
    for (int k = 1; k < n; ++k) {
      const auto c = static_cast<unsigned char>(in[i + k]);
      if ((c & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!valid || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += static_cast<size_t>(n);
  }
  return out;
}

std::string TextToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

namespace {

template <class Char>
std::basic_string_view<Char> TrimView(std::basic_string_view<Char> s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<uint32_t>(static_cast<std::make_unsigned_t<Char>>(s[b])) <= 32)
    ++b;
  while (e > b && static_cast<uint32_t>(static_cast<std::make_unsigned_t<Char>>(s[e - 1])) <= 32)
    --e;
  return s.substr(b, e - b);
}

template <class Char>
std::basic_string_view<Char> TrimBlankView(std::basic_string_view<Char> s) {
  auto blank = [](Char c) { return c == Char(' ') || c == Char('\t'); };
  while (!s.empty() && blank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && blank(s.back()))
    s.remove_suffix(1);
  return s;
}

template <class Char>
bool SameFolded(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

template <class Char>
bool StartsFolded(std::basic_string_view<Char> s, std::basic_string_view<Char> prefix) {
  return s.size() >= prefix.size() && SameFolded(s.substr(0, prefix.size()), prefix);
}

}  // namespace

String Trim(std::u16string_view s) {
  return String(TrimView(s));
}
std::string_view Trim(std::string_view s) {
  return TrimView(s);
}

std::u16string_view TrimBlanks(std::u16string_view s) {
  return TrimBlankView(s);
}
std::string_view TrimBlanks(std::string_view s) {
  return TrimBlankView(s);
}

String LowerAscii(std::u16string_view s) {
  String out(s);
  for (char16_t& c : out)
    c = LowerAscii(c);
  return out;
}
std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = LowerAscii(c);
  return out;
}

String UpperAscii(std::u16string_view s) {
  String out(s);
  for (char16_t& c : out)
    c = UpperAscii(c);
  return out;
}
std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = UpperAscii(c);
  return out;
}

bool SameTextAscii(std::u16string_view a, std::u16string_view b) {
  return SameFolded(a, b);
}
bool SameTextAscii(std::string_view a, std::string_view b) {
  return SameFolded(a, b);
}

bool StartsWithAscii(std::u16string_view s, std::u16string_view prefix) {
  return StartsFolded(s, prefix);
}
bool StartsWithAscii(std::string_view s, std::string_view prefix) {
  return StartsFolded(s, prefix);
}

}  // namespace lbb
