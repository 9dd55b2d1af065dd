// pack and unpack: one compressed block per file. Each file is read with one call into memory
// that is not cleared first, coded memory to memory, and the result written with one call.
#include <filesystem>
#include <fstream>
#include <memory>

#include "skin/data/SkinStream.h"
#include "skin/data/WinConvert.h"
#include "tools/skintool/Commands.h"

namespace skintool {

namespace {

using lbb::skin::TLZH;
using lbb::skin::TMemoryStream;

// Largest size unpack accepts from a block's size field.
constexpr int64_t kMaxUnpackedSize = int64_t{256} << 20;

struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
};

FileBytes ReadInput(const std::string& name) {
  std::filebuf file;
  if (!file.open(std::filesystem::path(name), std::ios::in | std::ios::binary))
    throw ToolError(kExitBadInput, "Cannot open file \"" + name + "\"");
  const auto end = file.pubseekoff(0, std::ios::end);
  if (end < 0 || file.pubseekpos(0) != 0) throw ToolError(kExitBadInput, name + ": cannot read");
  FileBytes bytes{std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(end) + 1), 0};
  bytes.size = static_cast<size_t>(file.sgetn(reinterpret_cast<char*>(bytes.data.get()), end));
  return bytes;
}

void WriteOutput(const std::string& name, const uint8_t* data, size_t size) {
  std::filebuf file;
  if (!file.open(std::filesystem::path(name), std::ios::out | std::ios::trunc | std::ios::binary))
    throw ToolError(kExitBadInput, "Cannot create file \"" + name + "\"");
  const auto n = static_cast<std::streamsize>(size);
  const bool written = file.sputn(reinterpret_cast<const char*>(data), n) == n;
  if (!file.close() || !written) throw ToolError(kExitBadInput, name + ": write error");
}

}  // namespace

int PackCommand(std::span<const std::string> args) {
  const FileBytes in = ReadInput(args[0]);
  TMemoryStream out;
  out.Reserve(in.size / 2 + 64);  // most input packs to less than half
  lbb::skin::CompressBlock(in.data.get(), in.size, out);
  WriteOutput(args[1], out.Bytes().data(), out.Bytes().size());
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
  auto out = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(announced) +
                                                       TLZH::kDecodeSlack);
  TLZH lzh;
  lzh.DecodeBuffer(announced, b + 4, in.size - 4, out.get());
  if (lzh.InputTruncated())
    throw ToolError(kExitBadInput, name + ": truncated block (the bit stream ends before " +
                                       std::to_string(announced) + " bytes are decoded)");
  // A damaged last match may run over the announced size; only that much is kept.
  WriteOutput(args[1], out.get(), static_cast<size_t>(announced));
  return kExitOk;
}

}  // namespace skintool
