// pack and unpack: one compressed block per file. The input file is read with one call into
// memory that is not cleared first and coded in place; pack writes its block with one call,
// unpack writes its output in pieces of 1 MiB as it decodes them (fresh memory for a whole
// output costs more to map than the decoding itself).
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>

#include "skin/data/SkinStream.h"
#include "skin/data/WinConvert.h"
#include "tools/skintool/Commands.h"

namespace skintool {

namespace {

using lbb::skin::TLZH;
using lbb::skin::TMemoryStream;
namespace fs = std::filesystem;

// Largest size unpack accepts from a block's size field.
constexpr int64_t kMaxUnpackedSize = int64_t{256} << 20;

std::string Utf8(const fs::path& p) {
  const auto u8 = p.u8string();
  return std::string(u8.begin(), u8.end());
}

struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
};

FileBytes ReadInput(const std::string& name) {
  std::filebuf file;
  if (!file.open(fs::path(name), std::ios::in | std::ios::binary))
    throw ToolError(kExitBadInput, "Cannot open file \"" + name + "\"");
  const auto end = file.pubseekoff(0, std::ios::end);
  if (end < 0 || file.pubseekpos(0) != 0) throw ToolError(kExitBadInput, name + ": cannot read");
  FileBytes bytes{std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(end) + 1), 0};
  bytes.size = static_cast<size_t>(file.sgetn(reinterpret_cast<char*>(bytes.data.get()), end));
  return bytes;
}

// A file being written; it is removed again unless Commit is reached.
class OutputFile {
 public:
  explicit OutputFile(fs::path name) : name_(std::move(name)) {
    if (!file_.open(name_, std::ios::out | std::ios::trunc | std::ios::binary))
      throw ToolError(kExitBadInput, "Cannot create file \"" + Utf8(name_) + "\"");
  }
  ~OutputFile() {
    if (committed_) return;
    file_.close();
    std::error_code ignored;
    fs::remove(name_, ignored);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(const uint8_t* data, size_t size) {
    const auto n = static_cast<std::streamsize>(size);
    if (file_.sputn(reinterpret_cast<const char*>(data), n) != n)
      throw ToolError(kExitBadInput, Utf8(name_) + ": write error");
  }
  // Closes the file and gives it its final name `target` (replacing a file of that name), or
  // keeps the name it has when `target` is empty.
  void Commit(const fs::path& target = {}) {
    if (!file_.close()) throw ToolError(kExitBadInput, Utf8(name_) + ": write error");
    if (!target.empty()) fs::rename(name_, target);
    committed_ = true;
  }

 private:
  fs::path name_;
  std::filebuf file_;
  bool committed_ = false;
};

}  // namespace

int PackCommand(std::span<const std::string> args) {
  const FileBytes in = ReadInput(args[0]);
  TMemoryStream out;
  out.Reserve(in.size / 2 + 64);  // most input packs to less than half
  lbb::skin::CompressBlock(in.data.get(), in.size, out);
  OutputFile file{fs::path(args[1])};
  file.Write(out.Bytes().data(), out.Bytes().size());
  file.Commit();
  return kExitOk;
}

int UnpackCommand(std::span<const std::string> args) {
  const FileBytes in = ReadInput(args[0]);
  const std::string& name = args[0];
  if (in.size < 4)
    throw ToolError(kExitBadInput, name + ": not a compressed block (shorter than 4 bytes)");
  const uint8_t* b = in.data.get();
  const auto announced = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | b[1] << 8 | b[2] << 16 |
                                              static_cast<uint32_t>(b[3]) << 24);
  if (announced < 0)
    throw ToolError(kExitBadInput,
                    name + ": damaged block (negative size " + std::to_string(announced) + ")");
  if (announced > kMaxUnpackedSize)
    throw ToolError(kExitBadInput, name + ": damaged block (announced size " +
                                       std::to_string(announced) + " is above " +
                                       std::to_string(kMaxUnpackedSize) + " bytes)");
  // Written beside OUT, which it replaces once the block has turned out whole.
  const fs::path target(args[1]);
  fs::path partial = target;
  partial += ".unpacking";
  OutputFile file(partial);
  auto left = static_cast<size_t>(announced);  // a damaged last match may run over; cut it
  TLZH lzh;
  lzh.DecodeChunks(announced, b + 4, in.size - 4, [&](const uint8_t* data, size_t size) {
    file.Write(data, std::min(size, left));
    left -= std::min(size, left);
  });
  if (lzh.InputTruncated())
    throw ToolError(kExitBadInput, name + ": truncated block (the bit stream ends before " +
                                       std::to_string(announced) + " bytes are decoded)");
  file.Commit(target);
  return kExitOk;
}

}  // namespace skintool
