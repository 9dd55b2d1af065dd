#include "tools/samplehost/BlogContent.h"

#include <array>
#include <cstdio>

namespace samplehost {

uint64_t UserHash(std::string_view user) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : user) {
    h ^= c;
    h *= 0x100000001b3ull;
  }
  return h;
}

uint64_t Mix(uint64_t a, uint64_t b) {
  // splitmix64 finaliser over both inputs
  uint64_t z = a + 0x9e3779b97f4a7c15ull * (b + 1);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

namespace {

std::string Hex(uint64_t v, int digits) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i) {
    s[static_cast<size_t>(i)] = kDigits[v & 0xF];
    v >>= 4;
  }
  return s;
}

// Whether `s` is all lower-case hex digits; their value (at most 16 digits) in `v`.
bool ParseHex(std::string_view s, uint64_t& v) {
  v = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else {
      return false;
    }
    v = (v << 4) | static_cast<uint64_t>(d);
  }
  return true;
}

constexpr uint64_t kArticleSalt = 0xA57;
constexpr uint64_t kPictureSalt = 0x9F1C;

}  // namespace

std::string ArticleId(std::string_view user, int number) {
  const uint64_t h = Mix(UserHash(user) ^ kArticleSalt, static_cast<uint64_t>(number));
  return Hex(h, 16) + Hex(static_cast<uint64_t>(number), 4);
}

int ArticleNumberOf(std::string_view user, std::string_view id) {
  uint64_t n = 0, hash = 0;
  if (id.size() != 20 || !ParseHex(id.substr(16), n) || !ParseHex(id.substr(0, 16), hash)) {
    return 0;
  }
  if (n < 1) return 0;
  return ArticleId(user, static_cast<int>(n)) == id ? static_cast<int>(n) : 0;
}

std::string PictureFileName(std::string_view user, int index) {
  const uint64_t h = Mix(UserHash(user) ^ kPictureSalt, static_cast<uint64_t>(index));
  return Hex(h, 16) + Hex((h >> 48) ^ 0x5a5a, 4) + Hex(static_cast<uint64_t>(index), 4) + ".bmp";
}

namespace {

// Titles cycle through this table. The first one holds every character that is awkward in
// a file name; the underscore one makes the title cut stop early.
constexpr std::array<std::string_view, 12> kOddTitles = {
    "符号大全 *:?\"<>|#\\/ 测试",
    "春天的故事",
    "Hello, world",
    "星号*与斜杠/的日记",
    "路径 C:\\Windows\\System32 笔记",
    "Why? \"引号\"里的话",
    "<尖括号> 与 | 竖线",
    "C# 与 F# 学习笔记",
    "下划线_标题_两个",
    "读书笔记：《红楼梦》",
    "Mixed 中文 and English",
    "夏日 café 与 über 的回忆",
};

constexpr std::array<std::string_view, 4> kPlainTitles = {
    "Daily notes",
    "Weekend trip",
    "Reading list",
    "Cooking at home",
};

constexpr std::array<std::string_view, 8> kParagraphs = {
    "今天天气很好，我们去公园散步，看到了很多盛开的花。",
    "The quick brown fox jumps over the lazy dog.",
    "学而时习之，不亦说乎？有朋自远方来，不亦乐乎？",
    "Numbers &amp; symbols: 1 &lt; 2 &gt; 0, 100% sure.",
    "晚上读了一本关于历史的书，收获颇多。",
    "A line with <b>bold</b> and <i>italic</i> words.",
    "周末和朋友一起做饭，尝试了新的菜谱。",
    "窗外下着小雨，听着音乐写下这篇日志。",
};

// Civil date from a count of days since 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

}  // namespace

std::string ArticleTitle(int number, bool oddTitles) {
  const size_t at = static_cast<size_t>(number > 0 ? number - 1 : 0);
  std::string title(oddTitles ? kOddTitles[at % kOddTitles.size()]
                              : kPlainTitles[at % kPlainTitles.size()]);
  return title + " " + std::to_string(number);
}

std::string ArticleDate(std::string_view user, int number) {
  constexpr int64_t kFirstDay = 13879;  // 2008-01-01
  int y = 0, m = 0, d = 0;
  CivilFromDays(kFirstDay + 3 * static_cast<int64_t>(number - 1), y, m, d);
  const uint64_t h = Mix(UserHash(user), static_cast<uint64_t>(number));
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", y, m, d, static_cast<int>(8 + h % 14),
                static_cast<int>((h >> 8) % 60));
  return buf;
}

std::string ArticleParagraph(int number, int which) {
  const size_t at = static_cast<size_t>(number * 3 + which * 5) % kParagraphs.size();
  return std::string(kParagraphs[at]);
}

namespace {

void PutLe(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

std::string BmpPicture(std::string_view user, int index) {
  const uint64_t h = Mix(UserHash(user) ^ kPictureSalt, static_cast<uint64_t>(index) + 7777);
  const int width = 16 + static_cast<int>(h % 49);
  const int height = 16 + static_cast<int>((h >> 8) % 33);
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t imageSize = static_cast<uint32_t>(stride * height);
  std::string out;
  out.reserve(54 + imageSize);
  out += "BM";
  PutLe(out, 54 + imageSize, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);  // BITMAPINFOHEADER
  PutLe(out, static_cast<uint32_t>(width), 4);
  PutLe(out, static_cast<uint32_t>(height), 4);  // positive: bottom-up rows
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);  // BI_RGB
  PutLe(out, imageSize, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  const int r0 = static_cast<int>((h >> 16) & 0xFF), g0 = static_cast<int>((h >> 24) & 0xFF);
  const int b0 = static_cast<int>((h >> 32) & 0xFF), cell = 2 + static_cast<int>((h >> 40) % 6);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool dark = ((x / cell) + (y / cell) + index) % 2 == 0;
      const bool stripe = (x + y + index) % 11 == 0;
      const int r = stripe ? 255 : (r0 + x * 4) & 0xFF;
      const int g = stripe ? 255 : (g0 + y * 4) & 0xFF;
      const int b = dark ? b0 / 2 : b0;
      out.push_back(static_cast<char>(b));
      out.push_back(static_cast<char>(g));
      out.push_back(static_cast<char>(r));
    }
    out.append(static_cast<size_t>(stride - width * 3), '\0');
  }
  return out;
}

std::string HtmlEscape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string UrlPart(std::string_view s) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if (c <= 0x20 || c == 0x7F || c == '"' || c == '<' || c == '>' || c == '%') {
      out.push_back('%');
      out.push_back(kDigits[c >> 4]);
      out.push_back(kDigits[c & 0xF]);
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

}  // namespace samplehost
