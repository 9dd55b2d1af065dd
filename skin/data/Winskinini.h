// TQuickIni: one INI text held in memory as a list of cleaned lines plus an index of its
// section headers, answering lookups on it.
//
// Files are 8-bit text in the Windows-1252 code page on every platform (read and written the
// same way by the native and the Windows builds); inside, lines are UTF-16.
//
// Loading keeps every line trimmed (characters of code 32 or below removed at both ends),
// drops empty lines and lines that start with ";". A line ends at CR, LF or a zero byte; after
// a line one CR and then one LF are skipped; a zero byte ends the text. There is no escaping,
// quoting or line continuation.
//  - A line is a section header when, trimmed, it starts with "[" and ends with "]".
//  - The key of a line is the text before its first "=", trimmed and lower-cased (ASCII
//    letters); a line without "=" has the empty key. Its value is the text after the first
//    "=", trimmed.
//  - Section names and keys match ASCII case-insensitively; spaces inside the brackets count.
//    With duplicate headers, lookups use the first.
// Parsing any bytes is safe: it never reads or writes out of bounds and never fails; only
// opening a file can fail (EFOpenError) and a damaged compressed file raises ElzhException.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "skin/data/SkinStream.h"
#include "skin/data/SkinText.h"
#include "skin/data/WinConvert.h"

namespace lbb::skin {

// A broken precondition of a caller (a programming error). `SourceUnit` names the unit that
// asserted.
class EAssertionFailed : public std::logic_error {
 public:
  EAssertionFailed(const char* message, const char* unit)
      : std::logic_error(message), SourceUnit(unit) {}
  const char* SourceUnit;
};

inline constexpr const char* kStringsUnassigned = "The parameter Strings is unassigned!";

using TStrings = std::vector<String>;

class TQuickIni {
 public:
  // Parses from the stream's current position to its end, replacing all content. A null
  // stream does nothing.
  void LoadFromStream(TStream* Stream);
  // Reads the whole file at once and parses it. Throws EFOpenError when it cannot be opened.
  // (The file is open only for that read; no sharing mode is asked for.)
  void LoadFromFile(const std::filesystem::path& aname);
  // Reads the file as one compressed block (4-byte size, then the bit stream), unpacks it and
  // parses the result. A block announcing more than `maxSize` bytes raises ElzhException.
  void LoadFromZip(const std::filesystem::path& aname, int64_t maxSize = kLzhDefaultMaxSize);

  // Write every line followed by CR LF, in Windows-1252 (a character it cannot hold becomes
  // "?"), without a byte-order mark. A null stream does nothing.
  void SaveToStream(TStream* Stream) const;
  void SaveToFile(const std::filesystem::path& aname) const;
  // The same text as one compressed block.
  void SavetoZip(const std::filesystem::path& aname) const;

  // The list fillers clear `Strings` first (plain vectors: there are no update notifications
  // to bracket). A null list raises EAssertionFailed with
  // "The parameter Strings is unassigned!" (unit "Winskinini").
  // Section names in file order, without brackets, trimmed.
  void ReadSections(TStrings* Strings) const;
  // The non-empty keys (lower-cased) of the section's lines.
  void ReadSection(std::u16string_view Section, TStrings* Strings) const;
  // The section's lines as stored (key "=" value).
  void ReadSectionValues(std::u16string_view Section, TStrings* Strings) const;

  // The value of the first line of the section whose key is `Ident`; `Default` when the
  // section or key is missing or the value is empty.
  String ReadString(std::u16string_view Section, std::u16string_view Ident,
                    std::u16string_view Default) const;
  // The value as a signed 32-bit number: decimal, or hexadecimal after "$", "0x" or "0X"
  // (hexadecimal up to FFFFFFFF, taken as two's complement); an optional sign in front.
  // Anything else (empty, not a number, out of range, several numbers) gives `Default`.
  int32_t ReadInteger(std::u16string_view Section, std::u16string_view Ident,
                      int32_t Default) const;
  bool ReadBool(std::u16string_view Section, std::u16string_view Ident, bool Default) const;

  // Sets a value; the line written is Ident "=" Value. A missing section is appended (header
  // only when `Ident` is empty); an existing key line is replaced; a new key line goes after
  // the section's last line. With an existing section an empty `Ident` writes nothing.
  void WriteString(std::u16string_view Section, std::u16string_view Ident,
                   std::u16string_view Value);
  void WriteInteger(std::u16string_view Section, std::u16string_view Ident, int32_t Value);
  void WriteBool(std::u16string_view Section, std::u16string_view Ident, bool Value);
  // After every change of the lines the section index points at each header's own line.
  // Removes the section's first line with key `Ident`.
  void DeleteKey(std::u16string_view Section, std::u16string_view Ident);
  // Removes the header and the section's lines; unless it was the first line, an empty line
  // stays in its place as a separator.
  void EraseSection(std::u16string_view Section);
  // Rebuilds the section index from the lines.
  void RebuildSections();
  void Clear();

  const String& FileName() const { return FFileName; }
  void SetFileName(std::u16string_view name) {
    if (FFileName != name) FFileName = String(name);
  }
  // Kept for the caller; the class does not act on it.
  bool AutoSaveLoad() const { return FAuto; }
  void SetAutoSaveLoad(bool value) { FAuto = value; }
  const TStrings& IniFile() const { return FIniFile; }
  // Replaces the lines by a copy of `lines` (taken as they are) and rebuilds the index.
  void SetIniFile(const TStrings& lines);
  // The section index: header lines (trimmed) with their line numbers in IniFile().
  const std::vector<std::pair<String, int>>& Sections() const { return FSections; }

 private:
  void ParseText(std::string_view bytes);
  // Line index of the section's header, or -1.
  int FindSection(std::u16string_view Section) const;
  // One past the section's last line (the next header or the end).
  int SectionEnd(int header) const;
  // The section's lines after its header: [first, end); empty when it is missing.
  std::pair<int, int> SectionLines(std::u16string_view Section) const;
  // Line index of the section's first line whose key is `ident` (lower-cased), or -1.
  int FindKey(int header, std::u16string_view ident) const;
  std::string SaveText() const;

  TStrings FIniFile;
  std::vector<std::pair<String, int>> FSections;
  String FFileName;
  bool FAuto = false;
};

}  // namespace lbb::skin
