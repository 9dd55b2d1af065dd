// TSkinReader: unpacks a skin (one compressed block) into its archive and serves the entries
// by name; WriteSkinArchive / PackSkin make such archives.
//
// The unpacked archive, all integers signed 32-bit little-endian:
//   header      16 bytes: Version, DirLen, U1, U2 (U1 and U2 unused)
//   skipped     a block whose length depends on Version (SkinSkipLength), not interpreted
//   directory   DirLen bytes of Windows-1252 text, one entry name per line; CR LF, a lone CR
//               or a lone LF ends a line, and a final line break adds no empty name
//   sizes       4 bytes per name: each entry's byte size, in directory order
//   entry data  the rest: the entries' bytes concatenated in directory order, no padding
//
// Safety contract of Loadfromstream: for any input bytes it never reads outside the unpacked
// data and never writes outside its own buffers. It refuses the skin (returns false, the
// reader left empty, LastError() saying why) when the block is damaged (shorter than its size
// field, announcing a negative size or more than kSkinMaxUnpacked bytes, or with a bit stream
// that ends before the announced size is decoded), when the version is not known (this case
// alone also shows kOlderSkinMessage through the message handler), or when the header,
// skipped block, directory, size table or entries do not fit the unpacked data: a negative
// DirLen, more than kSkinMaxEntries names, a negative size, or sizes summing past the end.
// Bytes after the last entry are kept in `ms` and ignored by the lookups.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinStream.h"
#include "skin/data/SkinText.h"
#include "skin/data/Winskinini.h"  // TStrings

namespace lbb::skin {

struct TSkinHeader {
  int32_t Version = 0;
  int32_t DirLen = 0;
  int32_t U1 = 0;
  int32_t U2 = 0;
};

// The size table has room for this many entries.
inline constexpr int kSkinMaxEntries = 1001;
// Largest unpacked skin accepted (far above any real skin).
inline constexpr int64_t kSkinMaxUnpacked = int64_t{64} << 20;
// The version a new skin is written with by default.
inline constexpr int32_t kSkinDefaultVersion = 70000;

inline constexpr std::u16string_view kOlderSkinMessage =
    u"This is Older Skin File\rPlease update to new version !";

// Length of the block skipped after the header for a known version; -1 for any other.
int SkinSkipLength(int32_t version);

// Where the reader's message for an unknown version goes. The Windows program shows it in a
// message box; without a handler it is dropped. Not thread-safe: set once at start-up.
using TSkinMessageHandler = std::function<void(const String& message)>;
void SetSkinMessageHandler(TSkinMessageHandler handler);
void ShowSkinMessage(const String& message);

class TSkinReader {
 public:
  TSkinReader();
  ~TSkinReader();
  TSkinReader(const TSkinReader&) = delete;
  TSkinReader& operator=(const TSkinReader&) = delete;

  // Unpacks the compressed block held in `stream` (read from offset 0 whatever its position)
  // and loads header, directory, sizes and entry data. True when the skin is usable.
  bool Loadfromstream(TStream& stream);
  // The same for the bytes of a file; false without a message when it cannot be read.
  bool loadfromfile(const std::filesystem::path& name);

  // Clears `stream`, copies into it the entry whose name equals `aname` lower-cased, and
  // rewinds it; no such entry leaves it empty.
  void readfile(std::u16string_view aname, TMemoryStream& stream) const;
  // Clears `stream`, copies into it the first entry whose name contains `aname`, rewinds it,
  // and returns that entry's name in `fname` (empty when none).
  void readIni(std::u16string_view aname, TMemoryStream& stream, String& fname) const;
  // The block decoder: `dest` receives the unpacked bytes of `source` (exactly the announced
  // size). Throws ElzhException as DecompressBlock does, and for a truncated or negative block.
  void Decompress(TStream& source, TStream& dest);

  // Why the last load failed; empty after a successful one.
  const std::string& LastError() const { return lastError_; }
  // Offset of entry `index` in `ms` (its bytes are sizes[index] from there).
  int64_t EntryOffset(int index) const { return offsets_[index]; }

  TStrings Dir;          // entry names, lower-cased
  TStrings StoredNames;  // the same names as the archive spells them
  int Num = 0;
  std::array<int32_t, kSkinMaxEntries> sizes{};
  TMemoryStream ms;  // the entry data
  TSkinHeader header;
  int32_t dirlen = 0;   // unused
  TSkinHeader header2;  // unused

 private:
  void Clear();
  bool Refuse(std::string why);
  bool LoadUnpacked(const std::vector<uint8_t>& raw);
  void CopyEntry(int index, TMemoryStream& stream) const;

  std::vector<int64_t> offsets_;
  std::string lastError_;
};

// Splits a directory text into names as a string list does (CR LF, CR or LF end a line; a
// final line break adds no empty name).
TStrings SplitSkinDirectory(std::u16string_view text);

struct TSkinEntry {
  String Name;
  std::vector<uint8_t> Data;
};

// The unpacked archive of `entries` (header with U1 = U2 = 0, a zero-filled skipped block,
// names joined and ended by CR LF). Throws std::invalid_argument for an unknown version, more
// than kSkinMaxEntries entries, an empty name, a name holding CR, LF or a character
// Windows-1252 cannot hold, two names equal once lower-cased, or data of 2 GiB or more.
std::vector<uint8_t> WriteSkinArchive(int32_t version, const std::vector<TSkinEntry>& entries);
// The same archive compressed into one block: the bytes of a skin file.
std::vector<uint8_t> PackSkin(int32_t version, const std::vector<TSkinEntry>& entries);

}  // namespace lbb::skin
