// build, list and extract: skin archives made from and taken apart into folders.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>

#include "base/BmpFile.h"
#include "base/Text.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinStream.h"
#include "skin/data/Winskinini.h"
#include "tools/skintool/Commands.h"
#include "tools/skintool/SkinLoad.h"

namespace skintool {

namespace fs = std::filesystem;
using lbb::String;
using lbb::skin::TMemoryStream;

namespace {

int32_t ParseVersion(const std::string& text) {
  int32_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || lbb::skin::SkinSkipLength(v) < 0)
    throw ToolError(kExitUsage, "unknown skin version \"" + text +
                                    "\" (20000, 30000, 40000, 50000, 60000 or 70000)");
  return v;
}

struct SourceFiles {
  fs::path ini;
  std::vector<fs::path> images;  // sorted by lower-cased name
};

SourceFiles CollectSources(const fs::path& dir) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) throw ToolError(kExitBadInput, dir.string() + ": not a folder");
  SourceFiles src;
  std::vector<fs::path> inis;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    if (!e.is_regular_file()) continue;
    const std::string ext = lbb::LowerAscii(e.path().extension().string());
    if (ext == ".ini") {
      inis.push_back(e.path());
    } else if (ext == ".bmp") {
      src.images.push_back(e.path());
    } else {
      std::cerr << "skintool: build: skipping " << e.path().filename().string()
                << " (neither .ini nor .bmp)\n";
    }
  }
  if (inis.size() != 1)
    throw ToolError(kExitBadInput, dir.string() + ": the folder must hold exactly one .ini file (" +
                                       std::to_string(inis.size()) + " found)");
  src.ini = inis[0];
  std::sort(src.images.begin(), src.images.end(), [](const fs::path& a, const fs::path& b) {
    return lbb::LowerAscii(a.filename().string()) < lbb::LowerAscii(b.filename().string());
  });
  return src;
}

// Warns about INI image names that the skin loader would not find in the archive.
void CheckImageNames(const TMemoryStream& iniBytes, const std::vector<lbb::skin::TSkinEntry>& all) {
  TMemoryStream copy(iniBytes.Bytes());
  lbb::skin::TQuickIni ini;
  ini.LoadFromStream(&copy);
  for (const String& line : ini.IniFile()) {
    const size_t eq = line.find(u'=');
    if (eq == String::npos) continue;
    const String value = lbb::Trim(std::u16string_view(line).substr(eq + 1));
    if (value.size() < 4 || !lbb::SameTextAscii(value.substr(value.size() - 4), u".bmp")) continue;
    const String name = value.substr(value.find_last_of(u"/\\") + 1);
    const std::string shown = lbb::skin::TextToCp1252(name);
    if (value.substr(value.size() - 4) != u".bmp")
      std::cerr << "skintool: build: warning: " << shown
                << ": the extension must be \".bmp\" in lower case to be loaded\n";
    const bool found = std::any_of(all.begin(), all.end(), [&](const lbb::skin::TSkinEntry& e) {
      return lbb::SameTextAscii(e.Name, name);
    });
    if (!found) std::cerr << "skintool: build: warning: " << shown << " is named but missing\n";
  }
}

lbb::skin::TSkinEntry ReadEntry(const fs::path& file) {
  TMemoryStream bytes;
  bytes.LoadFromFile(file);
  const std::u16string name = file.filename().u16string();
  return {String(name.begin(), name.end()), std::move(bytes.Bytes())};
}

// "W x H, N bits" for a BMP entry, empty for anything else.
std::string ImageSummary(const std::vector<uint8_t>& bytes) {
  lbb::PixelBuffer img;
  lbb::TBmpInfo info;
  if (!lbb::DecodeBmp(bytes, img, nullptr, &info)) return "";
  return std::to_string(info.Width) + " x " + std::to_string(info.Height) + ", " +
         std::to_string(info.BitCount) + " bits";
}

bool SafeEntryName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string::npos;
}

}  // namespace

int BuildCommand(std::span<const std::string> args) {
  const int32_t version = args.size() > 2 ? ParseVersion(args[2]) : lbb::skin::kSkinDefaultVersion;
  const SourceFiles src = CollectSources(fs::path(args[0]));
  std::vector<lbb::skin::TSkinEntry> entries;
  for (const fs::path& image : src.images) {
    entries.push_back(ReadEntry(image));
    lbb::PixelBuffer img;
    std::string why;
    if (!lbb::DecodeBmp(entries.back().Data, img, &why))
      throw ToolError(kExitBadInput,
                      image.filename().string() + ": not a usable BMP (" + why + ")");
  }
  entries.push_back(ReadEntry(src.ini));
  CheckImageNames(TMemoryStream(entries.back().Data), entries);
  std::vector<uint8_t> packed;
  try {
    packed = lbb::skin::PackSkin(version, entries);
  } catch (const std::invalid_argument& e) {
    throw ToolError(kExitBadInput, e.what());
  }
  TMemoryStream(std::move(packed)).SaveToFile(fs::path(args[1]));
  return kExitOk;
}

int ListCommand(std::span<const std::string> args) {
  const LoadedSkin skin = LoadSkin(args[0]);
  const lbb::skin::TSkinReader& r = *skin.reader;
  std::printf("version %d, directory %d bytes, U1 %d, U2 %d\n", r.header.Version, r.header.DirLen,
              r.header.U1, r.header.U2);
  std::printf("%d entries, unpacked %lld bytes, packed %lld bytes, entry data from byte %lld\n",
              r.Num, static_cast<long long>(skin.unpackedSize),
              static_cast<long long>(skin.packedSize), static_cast<long long>(skin.dataStart));
  std::printf("%10s %10s  %-28s %s\n", "offset", "size", "name", "image");
  for (int i = 0; i < r.Num; ++i) {
    TMemoryStream entry;
    r.readfile(r.Dir[i], entry);
    std::printf("%10lld %10d  %-28s %s\n", static_cast<long long>(r.EntryOffset(i)), r.sizes[i],
                lbb::skin::TextToCp1252(r.StoredNames[i]).c_str(),
                ImageSummary(entry.Bytes()).c_str());
  }
  return kExitOk;
}

int ExtractCommand(std::span<const std::string> args) {
  const LoadedSkin skin = LoadSkin(args[0]);
  const lbb::skin::TSkinReader& r = *skin.reader;
  for (int i = 0; i < r.Num; ++i) {
    const std::string name = lbb::skin::TextToCp1252(r.StoredNames[i]);
    if (!SafeEntryName(name))
      throw ToolError(kExitBadInput, "entry name \"" + name + "\" is not a plain file name");
  }
  const fs::path dir(args[1]);
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw ToolError(kExitBadInput, dir.string() + ": " + ec.message());
  for (int i = 0; i < r.Num; ++i) {
    const auto begin = r.ms.Bytes().begin() + static_cast<std::ptrdiff_t>(r.EntryOffset(i));
    TMemoryStream(std::vector<uint8_t>(begin, begin + r.sizes[i]))
        .SaveToFile(dir / fs::path(std::u16string(r.StoredNames[i])));
  }
  return kExitOk;
}

}  // namespace skintool
