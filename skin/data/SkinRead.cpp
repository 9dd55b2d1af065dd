#include "skin/data/SkinRead.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include "skin/data/WinConvert.h"

namespace lbb::skin {

namespace {

constexpr size_t kHeaderSize = 16;

TSkinMessageHandler& MessageHandler() {
  static TSkinMessageHandler handler;
  return handler;
}

int32_t ReadI32(const uint8_t* p) {
  return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void PutI32(std::vector<uint8_t>& out, int64_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void CheckEntryName(const String& name) {
  if (name.empty()) throw std::invalid_argument("skin entry with an empty name");
  if (name.find_first_of(u"\r\n") != String::npos)
    throw std::invalid_argument("skin entry name holds a line break");
  if (Cp1252ToText(TextToCp1252(name)) != name)
    throw std::invalid_argument("skin entry name is not Windows-1252 text");
}

}  // namespace

int SkinSkipLength(int32_t version) {
  switch (version) {
    case 20000:
      return 0;
    case 30000:
      return 256;
    case 40000:
      return 80;
    case 50000:
      return 48;
    case 60000:
      return 117;
    case 70000:
      return 69;
    default:
      return -1;
  }
}

void SetSkinMessageHandler(TSkinMessageHandler handler) {
  MessageHandler() = std::move(handler);
}

void ShowSkinMessage(const String& message) {
  if (MessageHandler()) MessageHandler()(message);
}

TStrings SplitSkinDirectory(std::u16string_view text) {
  TStrings lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
      ++end;
    lines.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end++] == u'\r' && end < text.size() && text[end] == u'\n')
      ++end;  // CR LF is one line break
    start = end;
  }
  return lines;
}

TSkinReader::TSkinReader() = default;
TSkinReader::~TSkinReader() = default;

void TSkinReader::Clear() {
  Dir.clear();
  StoredNames.clear();
  Num = 0;
  sizes.fill(0);
  ms.Clear();
  header = TSkinHeader{};
  offsets_.clear();
}

bool TSkinReader::Refuse(std::string why) {
  Clear();
  lastError_ = std::move(why);
  return false;
}

void TSkinReader::Decompress(TStream& source, TStream& dest) {
  TMemoryStream out;
  const TLzhBlockInfo info = DecompressBlock(source, out, kSkinMaxUnpacked);
  if (info.AnnouncedSize < 0) throw ElzhException("damaged skin block (negative size)");
  if (info.InputTruncated) throw ElzhException("damaged skin block (data ends early)");
  out.Bytes().resize(static_cast<size_t>(info.AnnouncedSize));  // a last match may run over
  dest.Write(out.Bytes().data(), out.Bytes().size());
}

bool TSkinReader::Loadfromstream(TStream& stream) {
  lastError_.clear();
  TMemoryStream raw;
  try {
    stream.SetPosition(0);
    Decompress(stream, raw);
  } catch (const std::exception& e) {
    return Refuse(e.what());
  }
  return LoadUnpacked(raw.Bytes());
}

bool TSkinReader::LoadUnpacked(const std::vector<uint8_t>& raw) {
  Clear();
  const size_t n = raw.size();
  if (n < kHeaderSize) return Refuse("skin archive shorter than its header");
  header = {ReadI32(&raw[0]), ReadI32(&raw[4]), ReadI32(&raw[8]), ReadI32(&raw[12])};
  const int skip = SkinSkipLength(header.Version);
  if (skip < 0) {
    const int32_t version = header.Version;
    Refuse("unknown skin version " + std::to_string(version));
    ShowSkinMessage(String(kOlderSkinMessage));
    return false;
  }
  size_t at = kHeaderSize + static_cast<size_t>(skip);
  if (header.DirLen < 0 || at > n || static_cast<size_t>(header.DirLen) > n - at)
    return Refuse("skin directory does not fit the archive");
  const auto* dirBytes = reinterpret_cast<const char*>(raw.data() + at);
  StoredNames = SplitSkinDirectory(Cp1252ToText(std::string_view(dirBytes, header.DirLen)));
  at += static_cast<size_t>(header.DirLen);
  if (StoredNames.size() > kSkinMaxEntries) return Refuse("skin has more than 1001 entries");
  const size_t count = StoredNames.size();
  if (4 * count > n - at) return Refuse("skin size table does not fit the archive");
  const size_t dataStart = at + 4 * count;
  int64_t total = 0;
  for (size_t i = 0; i < count; ++i) {
    sizes[i] = ReadI32(&raw[at + 4 * i]);
    if (sizes[i] < 0) return Refuse("skin entry with a negative size");
    offsets_.push_back(total);
    total += sizes[i];
  }
  if (total > static_cast<int64_t>(n - dataStart)) return Refuse("skin entries run past the end");
  for (const String& name : StoredNames)
    Dir.push_back(LowerAscii(name));
  Num = static_cast<int>(count);
  ms.Bytes().assign(raw.begin() + static_cast<std::ptrdiff_t>(dataStart), raw.end());
  ms.SetPosition(0);
  return true;
}

bool TSkinReader::loadfromfile(const std::filesystem::path& name) {
  TMemoryStream file;
  try {
    file.LoadFromFile(name);
  } catch (const EStreamError& e) {
    return Refuse(e.what());
  }
  return Loadfromstream(file);
}

void TSkinReader::CopyEntry(int index, TMemoryStream& stream) const {
  const auto begin = ms.Bytes().begin() + static_cast<std::ptrdiff_t>(offsets_[index]);
  stream.Bytes().assign(begin, begin + sizes[index]);
  stream.SetPosition(0);
}

void TSkinReader::readfile(std::u16string_view aname, TMemoryStream& stream) const {
  stream.Clear();
  const String wanted = LowerAscii(aname);
  for (int i = 0; i < Num; ++i) {
    if (Dir[i] == wanted) return CopyEntry(i, stream);
  }
}

void TSkinReader::readIni(std::u16string_view aname, TMemoryStream& stream, String& fname) const {
  stream.Clear();
  fname.clear();
  for (int i = 0; i < Num; ++i) {
    if (Dir[i].find(aname) != String::npos) {
      fname = Dir[i];
      return CopyEntry(i, stream);
    }
  }
}

std::vector<uint8_t> WriteSkinArchive(int32_t version, const std::vector<TSkinEntry>& entries) {
  const int skip = SkinSkipLength(version);
  if (skip < 0) throw std::invalid_argument("unknown skin version " + std::to_string(version));
  if (entries.size() > kSkinMaxEntries)
    throw std::invalid_argument("a skin holds at most 1001 entries");
  std::string dir;
  TStrings seen;
  int64_t total = 0;
  for (const TSkinEntry& e : entries) {
    CheckEntryName(e.Name);
    const String lower = LowerAscii(e.Name);
    for (const String& s : seen)
      if (s == lower) throw std::invalid_argument("two skin entries named " + TextToCp1252(lower));
    seen.push_back(lower);
    dir += TextToCp1252(e.Name) + "\r\n";
    total += static_cast<int64_t>(e.Data.size());
  }
  if (total >= (int64_t{1} << 31) - 2048) throw std::invalid_argument("skin data too large");
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(total) + dir.size() + 4 * entries.size() + 400);
  PutI32(out, version);
  PutI32(out, static_cast<int64_t>(dir.size()));
  PutI32(out, 0);
  PutI32(out, 0);
  out.insert(out.end(), static_cast<size_t>(skip), 0);
  out.insert(out.end(), dir.begin(), dir.end());
  for (const TSkinEntry& e : entries)
    PutI32(out, static_cast<int64_t>(e.Data.size()));
  for (const TSkinEntry& e : entries)
    out.insert(out.end(), e.Data.begin(), e.Data.end());
  return out;
}

std::vector<uint8_t> PackSkin(int32_t version, const std::vector<TSkinEntry>& entries) {
  TMemoryStream plain(WriteSkinArchive(version, entries)), packed;
  CompressBlock(plain, packed);
  return std::move(packed.Bytes());
}

}  // namespace lbb::skin
