#include "text.h"

#include <climits>

namespace lbb {

int TextLength(std::u16string_view s) {
  return s.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(s.size());
}

int TextPos(std::u16string_view sub, std::u16string_view s) {
  if (sub.empty()) return 0;
  size_t at = s.find(sub);
  if (at == std::u16string_view::npos || at >= static_cast<size_t>(INT_MAX)) return 0;
  return static_cast<int>(at) + 1;
}

std::u16string_view TextSlice(std::u16string_view s, int index, int count) {
  if (index < 1) index = 1;
  const int len = TextLength(s);
  if (index > len || count < 0) return {};
  const int available = len - index + 1;
  if (count > available) count = available;
  return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

Text TextCopy(std::u16string_view s, int index, int count) {
  return Text(TextSlice(s, index, count));
}

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(Text& out, uint32_t cp) {
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

Text Utf8ToText(std::string_view in) {
  Text out;
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

Text Latin1ToText(std::string_view bytes) {
  Text out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i)
    out[i] = static_cast<unsigned char>(bytes[i]);
  return out;
}

Text IntToText(int64_t n) {
  const std::string s = std::to_string(n);
  return Text(s.begin(), s.end());
}

Text TrimControl(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= 32)
    ++b;
  while (e > b && s[e - 1] <= 32)
    --e;
  return Text(s.substr(b, e - b));
}

Text ReplaceAll(std::u16string_view s, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return Text(s);
  Text out;
  out.reserve(s.size());
  size_t at = 0;
  while (true) {
    const size_t hit = s.find(from, at);
    if (hit == std::u16string_view::npos) break;
    out.append(s.substr(at, hit - at));
    out.append(to);
    at = hit + from.size();
  }
  out.append(s.substr(at));
  return out;
}

}  // namespace lbb
