#include "skin/data/Winskinini.h"

#include <string>

namespace lbb::skin {

namespace {

bool IsHeader(std::u16string_view line) {
  const String t = Trim(line);
  return !t.empty() && t.front() == u'[' && t.back() == u']';
}

String KeyOf(std::u16string_view line) {
  const size_t eq = line.find(u'=');
  if (eq == std::u16string_view::npos) return String();
  return LowerAscii(Trim(line.substr(0, eq)));
}

String ValueOf(std::u16string_view line) {
  const size_t eq = line.find(u'=');
  if (eq == std::u16string_view::npos) return String();
  return Trim(line.substr(eq + 1));
}

void RequireList(const TStrings* Strings) {
  if (Strings == nullptr) throw EAssertionFailed(kStringsUnassigned, "Winskinini");
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// A signed 32-bit number: optional sign, then decimal digits or "$" and hexadecimal digits
// (up to FFFFFFFF, two's complement). The whole text must be the number.
bool ParseInt32(std::u16string_view s, int32_t& out) {
  size_t i = 0;
  const bool negative = !s.empty() && s[0] == u'-';
  if (!s.empty() && (s[0] == u'-' || s[0] == u'+')) ++i;
  const bool hex = i < s.size() && s[i] == u'$';
  if (hex) ++i;
  if (i == s.size()) return false;
  const uint64_t limit = hex ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
  uint64_t value = 0;
  for (; i < s.size(); ++i) {
    const int d = hex ? HexDigit(s[i]) : (s[i] >= u'0' && s[i] <= u'9') ? s[i] - u'0' : -1;
    if (d < 0) return false;
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (value > limit) return false;
  }
  const auto bits = static_cast<uint32_t>(value);
  out = static_cast<int32_t>(negative ? 0u - bits : bits);
  return true;
}

}  // namespace

// ---- Loading and saving ----

void TQuickIni::LoadFromStream(TStream* Stream) {
  if (Stream == nullptr) return;
  const std::vector<uint8_t> bytes = Stream->ReadRest();
  ParseText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TQuickIni::LoadFromFile(const std::filesystem::path& aname) {
  TFileStream file(aname, TFileStream::Mode::Read);
  LoadFromStream(&file);
}

void TQuickIni::LoadFromZip(const std::filesystem::path& aname, int64_t maxSize) {
  TMemoryStream packed;
  packed.LoadFromFile(aname);
  TMemoryStream plain;
  DecompressBlock(packed, plain, maxSize);
  plain.SetPosition(0);
  LoadFromStream(&plain);
}

void TQuickIni::ParseText(std::string_view bytes) {
  Clear();
  size_t p = 0;
  while (p < bytes.size() && bytes[p] != '\0') {
    const size_t start = p;
    while (p < bytes.size() && bytes[p] != '\0' && bytes[p] != '\r' && bytes[p] != '\n')
      ++p;
    String line = Trim(Cp1252ToText(bytes.substr(start, p - start)));
    if (p < bytes.size() && bytes[p] == '\r') ++p;
    if (p < bytes.size() && bytes[p] == '\n') ++p;
    if (line.empty() || line.front() == u';') continue;
    if (IsHeader(line)) FSections.emplace_back(line, static_cast<int>(FIniFile.size()));
    FIniFile.push_back(std::move(line));
  }
}

std::string TQuickIni::SaveText() const {
  std::string out;
  for (const String& line : FIniFile) {
    out += TextToCp1252(line);
    out += "\r\n";
  }
  return out;
}

void TQuickIni::SaveToStream(TStream* Stream) const {
  if (Stream == nullptr) return;
  const std::string text = SaveText();
  Stream->Write(text.data(), text.size());
}

void TQuickIni::SaveToFile(const std::filesystem::path& aname) const {
  TFileStream file(aname, TFileStream::Mode::Create);
  SaveToStream(&file);
}

void TQuickIni::SavetoZip(const std::filesystem::path& aname) const {
  TMemoryStream plain;
  SaveToStream(&plain);
  TMemoryStream packed;
  CompressBlock(plain, packed);
  packed.SaveToFile(aname);
}

// ---- Lookups ----

int TQuickIni::FindSection(std::u16string_view Section) const {
  if (FIniFile.empty()) return -1;
  String header = u"[";
  header.append(Section);
  header += u']';
  for (const auto& [name, index] : FSections)
    if (SameTextAscii(name, header)) return index;
  return -1;
}

int TQuickIni::SectionEnd(int header) const {
  int i = header + 1;
  while (i < static_cast<int>(FIniFile.size()) && !IsHeader(FIniFile[i]))
    ++i;
  return i;
}

int TQuickIni::FindKey(int header, std::u16string_view ident) const {
  const int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i)
    if (KeyOf(FIniFile[i]) == ident) return i;
  return -1;
}

void TQuickIni::ReadSections(TStrings* Strings) const {
  RequireList(Strings);
  Strings->clear();
  for (const auto& section : FSections) {
    const String& h = section.first;
    Strings->push_back(Trim(std::u16string_view(h).substr(1, h.size() - 2)));
  }
}

std::pair<int, int> TQuickIni::SectionLines(std::u16string_view Section) const {
  const int header = FindSection(Section);
  if (header < 0) return {0, 0};
  return {header + 1, SectionEnd(header)};
}

void TQuickIni::ReadSection(std::u16string_view Section, TStrings* Strings) const {
  RequireList(Strings);
  Strings->clear();
  const auto [first, end] = SectionLines(Section);
  for (int i = first; i < end; ++i) {
    String key = KeyOf(FIniFile[i]);
    if (!key.empty()) Strings->push_back(std::move(key));
  }
}

void TQuickIni::ReadSectionValues(std::u16string_view Section, TStrings* Strings) const {
  RequireList(Strings);
  Strings->clear();
  const auto [first, end] = SectionLines(Section);
  Strings->assign(FIniFile.begin() + first, FIniFile.begin() + end);
}

String TQuickIni::ReadString(std::u16string_view Section, std::u16string_view Ident,
                             std::u16string_view Default) const {
  const int header = FindSection(Section);
  if (header < 0) return String(Default);
  const int line = FindKey(header, LowerAscii(Ident));
  if (line < 0) return String(Default);
  String value = ValueOf(FIniFile[line]);
  return value.empty() ? String(Default) : value;
}

int32_t TQuickIni::ReadInteger(std::u16string_view Section, std::u16string_view Ident,
                               int32_t Default) const {
  String s = ReadString(Section, Ident, u"");
  if (s.size() >= 3 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) s.replace(0, 2, u"$");
  int32_t value = 0;
  return ParseInt32(s, value) ? value : Default;
}

bool TQuickIni::ReadBool(std::u16string_view Section, std::u16string_view Ident,
                         bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

// ---- Changes ----

void TQuickIni::WriteString(std::u16string_view Section, std::u16string_view Ident,
                            std::u16string_view Value) {
  String line(Ident);
  line += u'=';
  line.append(Value);
  const int header = FindSection(Section);
  if (header < 0) {
    String h = u"[";
    h.append(Section);
    h += u']';
    FIniFile.push_back(std::move(h));
    if (!Ident.empty()) FIniFile.push_back(std::move(line));
  } else {
    if (Ident.empty()) return;
    const int at = FindKey(header, LowerAscii(Ident));
    if (at >= 0) {
      FIniFile[at] = std::move(line);
      return;  // no line moved: the index stays valid
    }
    FIniFile.insert(FIniFile.begin() + SectionEnd(header), std::move(line));
  }
  RebuildSections();
}

void TQuickIni::WriteInteger(std::u16string_view Section, std::u16string_view Ident,
                             int32_t Value) {
  const std::string digits = std::to_string(Value);
  WriteString(Section, Ident, String(digits.begin(), digits.end()));
}

void TQuickIni::WriteBool(std::u16string_view Section, std::u16string_view Ident, bool Value) {
  WriteString(Section, Ident, Value ? u"1" : u"0");
}

void TQuickIni::DeleteKey(std::u16string_view Section, std::u16string_view Ident) {
  const int header = FindSection(Section);
  if (header < 0) return;
  const int at = FindKey(header, LowerAscii(Ident));
  if (at < 0) return;
  FIniFile.erase(FIniFile.begin() + at);
  RebuildSections();
}

void TQuickIni::EraseSection(std::u16string_view Section) {
  const int header = FindSection(Section);
  if (header < 0) return;
  FIniFile.erase(FIniFile.begin() + header, FIniFile.begin() + SectionEnd(header));
  if (header > 0) FIniFile.insert(FIniFile.begin() + header, String());
  RebuildSections();
}

void TQuickIni::RebuildSections() {
  FSections.clear();
  for (size_t i = 0; i < FIniFile.size(); ++i)
    if (IsHeader(FIniFile[i])) FSections.emplace_back(Trim(FIniFile[i]), static_cast<int>(i));
}

void TQuickIni::Clear() {
  FIniFile.clear();
  FSections.clear();
}

void TQuickIni::SetIniFile(const TStrings& lines) {
  FIniFile = lines;
  RebuildSections();
}

}  // namespace lbb::skin
