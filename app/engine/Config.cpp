#include "app/engine/Config.h"
#include "base/Text.h"

namespace lbb {

namespace {

// A value as a profile reader gives it: trimmed, one pair of surrounding quotes removed.
std::string CleanValue(std::string_view raw) {
  std::string v(TrimBlanks(raw));
  if (v.size() >= 2 &&
      ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\''))) {
    v = v.substr(1, v.size() - 2);
  }
  return v;
}

}  // namespace

ConfigIni::ConfigIni(std::string bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bom_ = true;
    bytes.erase(0, 3);
  }
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string raw = bytes.substr(at, end - at);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    Line line{raw, 0, {}};
    const std::string t(TrimBlanks(raw));
    if (t.size() >= 2 && t.front() == '[' && t.find(']') != std::string::npos) {
      line.kind = 1;
      line.name = std::string(TrimBlanks(std::string_view(t).substr(1, t.find(']') - 1)));
    } else if (!t.empty() && t.front() != ';' && t.find('=') != std::string::npos) {
      line.kind = 2;
      line.name = std::string(TrimBlanks(std::string_view(t).substr(0, t.find('='))));
    }
    lines_.push_back(std::move(line));
    at = end + 1;
  }
}

ConfigIni ConfigIni::Load(FileSystem& fs, const String& path) {
  return ConfigIni(fs.ReadFile(path).value_or(std::string()));
}

std::optional<ConfigIni> ConfigIni::LoadForRewrite(FileSystem& fs, const String& path) {
  if (std::optional<std::string> bytes = fs.ReadFile(path)) return ConfigIni(std::move(*bytes));
  if (fs.FileExists(path)) return std::nullopt;
  return ConfigIni();
}

int ConfigIni::FindSection(const std::string& section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == 1 && SameTextAscii(lines_[i].name, section)) return static_cast<int>(i);
  }
  return -1;
}

int ConfigIni::SectionEnd(int head) const {
  int i = head + 1;
  while (i < static_cast<int>(lines_.size()) && lines_[i].kind != 1)
    ++i;
  return i;
}

int ConfigIni::FindKey(int head, const std::string& key) const {
  const int end = SectionEnd(head);
  for (int i = head + 1; i < end; ++i) {
    if (lines_[i].kind == 2 && SameTextAscii(lines_[i].name, key)) return i;
  }
  return -1;
}

std::optional<String> ConfigIni::Read(const String& section, const String& key) const {
  const int head = FindSection(TextToUtf8(section));
  if (head < 0) return std::nullopt;
  const int at = FindKey(head, TextToUtf8(key));
  if (at < 0) return std::nullopt;
  const std::string& raw = lines_[at].raw;
  return Utf8ToText(CleanValue(std::string_view(raw).substr(raw.find('=') + 1)));
}

String ConfigIni::ReadString(const String& section, const String& key,
                             const String& fallback) const {
  return Read(section, key).value_or(fallback);
}

std::vector<String> ConfigIni::Keys(const String& section) const {
  std::vector<String> keys;
  const int head = FindSection(TextToUtf8(section));
  if (head < 0) return keys;
  const int end = SectionEnd(head);
  for (int i = head + 1; i < end; ++i) {
    if (lines_[i].kind == 2) keys.push_back(Utf8ToText(lines_[i].name));
  }
  return keys;
}

void ConfigIni::Write(const String& section, const String& key, const String& value) {
  const std::string s = TextToUtf8(section), k = TextToUtf8(key);
  const Line entry{k + "=" + TextToUtf8(value), 2, k};
  int head = FindSection(s);
  if (head < 0) {
    if (!lines_.empty() && !TrimBlanks(lines_.back().raw).empty()) lines_.push_back(Line{});
    lines_.push_back(Line{"[" + s + "]", 1, s});
    lines_.push_back(entry);
    return;
  }
  const int at = FindKey(head, k);
  if (at >= 0) {
    lines_[at] = entry;
    return;
  }
  // After the section's last non-blank line, so a blank separator line stays a separator.
  int end = SectionEnd(head);
  while (end > head + 1 && TrimBlanks(lines_[end - 1].raw).empty())
    --end;
  lines_.insert(lines_.begin() + end, entry);
}

void ConfigIni::DeleteKey(const String& section, const String& key) {
  const int head = FindSection(TextToUtf8(section));
  if (head < 0) return;
  const int at = FindKey(head, TextToUtf8(key));
  if (at >= 0) lines_.erase(lines_.begin() + at);
}

std::string ConfigIni::Bytes() const {
  std::string out = bom_ ? "\xEF\xBB\xBF" : "";
  for (const Line& l : lines_) {
    out += l.raw;
    out += "\r\n";
  }
  return out;
}

bool ConfigIni::Save(FileSystem& fs, const String& path) const {
  String ignored;
  return fs.WriteAtomically(path, Bytes(), &ignored);
}

}  // namespace lbb
