#include "tests/native/codec/SampleData.h"

#include <cstring>
#include <string_view>

namespace lbb::samples {

namespace {

// xorshift32: small, fast and the same on every platform.
struct Rng {
  uint32_t s;
  uint32_t Next() {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
  }
};

constexpr std::string_view kWords[] = {
    "the",     "of",      "and",     "to",     "a",        "in",       "is",      "it",
    "that",    "was",     "for",     "on",     "with",     "as",       "he",      "she",
    "they",    "at",      "by",      "this",   "from",     "but",      "not",     "or",
    "have",    "had",     "what",    "all",    "were",     "when",     "we",      "there",
    "can",     "an",      "which",   "their",  "said",     "if",       "do",      "will",
    "each",    "about",   "how",     "up",     "out",      "them",     "then",    "many",
    "some",    "so",      "these",   "would",  "other",    "into",     "more",    "write",
    "time",    "could",   "people",  "my",     "than",     "first",    "water",   "been",
    "who",     "now",     "find",    "long",   "down",     "day",      "did",     "get",
    "come",    "made",    "may",     "part",   "blog",     "article",  "window",  "picture",
    "morning", "evening", "garden",  "river",  "mountain", "journey",  "letter",  "friend",
    "city",    "history", "memory",  "season", "quietly",  "suddenly", "because", "through",
    "without", "between", "another", "always", "perhaps",  "remember", "thought", "village"};

}  // namespace

Bytes RandomBytes(size_t size, uint32_t seed) {
  Rng rng{seed | 1};
  Bytes out(size);
  for (auto& b : out)
    b = static_cast<uint8_t>(rng.Next() >> 24);
  return out;
}

Bytes EnglishText(size_t size, uint32_t seed) {
  constexpr size_t kCount = sizeof kWords / sizeof kWords[0];
  Rng rng{seed | 1};
  Bytes out;
  out.reserve(size + 32);
  bool capital = true;
  int inSentence = 0, inParagraph = 0;
  while (out.size() < size) {
    // Squaring a uniform number favours the first (common) words.
    const double u = (rng.Next() >> 8) / double(1 << 24);
    const std::string_view w = kWords[static_cast<size_t>(u * u * kCount)];
    for (size_t i = 0; i < w.size(); ++i)
      out.push_back(static_cast<uint8_t>(capital && i == 0 ? w[i] - 32 : w[i]));
    capital = false;
    if (++inSentence > 6 && rng.Next() % 5 == 0) {
      out.push_back(rng.Next() % 7 == 0 ? '?' : '.');
      capital = true;
      inSentence = 0;
      if (++inParagraph > 4 && rng.Next() % 3 == 0) {
        out.insert(out.end(), {'\r', '\n', '\r', '\n'});
        inParagraph = 0;
        continue;
      }
    } else if (rng.Next() % 11 == 0) {
      out.push_back(',');
    }
    out.push_back(' ');
  }
  out.resize(size);
  return out;
}

Bytes Bitmap24(int width, int height) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t pixels = stride * static_cast<uint32_t>(height);
  Bytes out(54 + pixels, 0);
  auto put32 = [&out](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      out[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, 54 + pixels);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  out[26] = 1;
  out[28] = 24;
  put32(34, pixels);
  Rng rng{12345};
  for (int y = 0; y < height; ++y) {
    uint8_t* row = out.data() + 54 + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      uint8_t b = static_cast<uint8_t>(160 + y * 80 / height),
              g = static_cast<uint8_t>(120 + x * 60 / width), r = 90;
      const bool panel = (x / 64) % 3 != 2 && (y / 48) % 4 != 3;
      if (panel) {
        const bool edge = x % 64 == 0 || y % 48 == 0 || x % 64 == 63 || y % 48 == 47;
        b = g = r = edge ? 128 : 212;
      }
      const int dx = x - width / 2, dy = y - height / 2;
      if (dx * dx + dy * dy < (height / 5) * (height / 5)) {
        b = 40;
        g = 90;
        r = static_cast<uint8_t>(200 + (dx + dy) / 8);
      }
      if (!panel && rng.Next() % 4 == 0) b = static_cast<uint8_t>(b + 1);
      row[3 * x] = b;
      row[3 * x + 1] = g;
      row[3 * x + 2] = r;
    }
  }
  return out;
}

}  // namespace lbb::samples
