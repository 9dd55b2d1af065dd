#include "app/engine/Text.h"

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

String TextCopy(std::u16string_view s, int index, int count) {
  return String(TextSlice(s, index, count));
}

String Latin1ToText(std::string_view bytes) {
  String out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i)
    out[i] = static_cast<unsigned char>(bytes[i]);
  return out;
}

String IntToText(int64_t n) {
  const std::string s = std::to_string(n);
  return String(s.begin(), s.end());
}

String ReplaceAll(std::u16string_view s, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return String(s);
  String out;
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
