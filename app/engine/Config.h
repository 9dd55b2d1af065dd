// config.ini beside the program: one section per user name. The file is UTF-8 without a
// byte-order mark (a mark, when present, is kept). Section and key names compare without
// regard to ASCII letter case, values lose surrounding blanks, as Windows profile files do.
// Lines the program does not change are written back byte for byte, so other sections,
// keys, comments and even text in other encodings survive a rewrite.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/engine/Files.h"
#include "app/engine/Text.h"

namespace lbb {

class ConfigIni {
 public:
  // Parses the file's bytes (any bytes; nothing is refused).
  explicit ConfigIni(std::string bytes = {});
  // Reads `path`; a missing or unreadable file is an empty one.
  static ConfigIni Load(FileSystem& fs, const String& path);
  // Reads `path` for a rewrite: a missing file is an empty one, a file that is there but
  // cannot be read in full gives nullopt (rewriting it would lose what could not be read).
  static std::optional<ConfigIni> LoadForRewrite(FileSystem& fs, const String& path);

  // Value of `key` in `section`; nullopt when either is missing.
  std::optional<String> Read(const String& section, const String& key) const;
  String ReadString(const String& section, const String& key, const String& fallback) const;
  // Keys of `section` in file order.
  std::vector<String> Keys(const String& section) const;

  // Sets `key` in `section`, adding the key at the end of the section or the section at the
  // end of the file when missing.
  void Write(const String& section, const String& key, const String& value);
  void DeleteKey(const String& section, const String& key);

  std::string Bytes() const;
  // Writes the file through a temporary file renamed over it, so it is never half-written.
  // false when that failed (the old file is then unchanged).
  bool Save(FileSystem& fs, const String& path) const;

 private:
  struct Line {
    std::string raw;   // the line as in the file, without its line break
    int kind = 0;      // 0 other, 1 section head, 2 key=value
    std::string name;  // section or key name, trimmed (UTF-8)
  };
  // Index of the section head line; -1 when missing.
  int FindSection(const std::string& section) const;
  // Index of the key line within the section starting at `head`; -1 when missing.
  int FindKey(int head, const std::string& key) const;
  int SectionEnd(int head) const;

  bool bom_ = false;
  std::vector<Line> lines_;
};

}  // namespace lbb
