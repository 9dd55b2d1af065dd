// pack and unpack: one compressed block per file.
#include <filesystem>

#include "skin/data/SkinStream.h"
#include "skin/data/WinConvert.h"
#include "tools/skintool/Commands.h"

namespace skintool {

namespace {

using lbb::skin::TMemoryStream;

// Largest size unpack accepts from a block's size field.
constexpr int64_t kMaxUnpackedSize = int64_t{256} << 20;

TMemoryStream ReadInput(const std::string& name) {
  TMemoryStream in;
  in.LoadFromFile(std::filesystem::path(name));  // EFOpenError: bad input (exit 1)
  return in;
}

}  // namespace

int PackCommand(std::span<const std::string> args) {
  TMemoryStream in = ReadInput(args[0]);
  TMemoryStream out;
  lbb::skin::CompressBlock(in, out);
  out.SaveToFile(std::filesystem::path(args[1]));
  return kExitOk;
}

int UnpackCommand(std::span<const std::string> args) {
  TMemoryStream in = ReadInput(args[0]);
  const std::string& name = args[0];
  if (in.Size() < 4)
    throw ToolError(kExitBadInput, name + ": not a compressed block (shorter than 4 bytes)");
  const auto& b = in.Bytes();
  const auto announced = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | b[1] << 8 | b[2] << 16 |
                                              static_cast<uint32_t>(b[3]) << 24);
  if (announced < 0)
    throw ToolError(kExitBadInput,
                    name + ": damaged block (negative size " + std::to_string(announced) + ")");
  if (announced > kMaxUnpackedSize)
    throw ToolError(kExitBadInput, name + ": damaged block (announced size " +
                                       std::to_string(announced) + " is above " +
                                       std::to_string(kMaxUnpackedSize) + " bytes)");
  TMemoryStream out;
  const lbb::skin::TLzhBlockInfo info = lbb::skin::DecompressBlock(in, out, kMaxUnpackedSize);
  if (info.InputTruncated)
    throw ToolError(kExitBadInput, name + ": truncated block (the bit stream ends before " +
                                       std::to_string(announced) + " bytes are decoded)");
  out.Bytes().resize(static_cast<size_t>(announced));  // a damaged last match may run over
  out.SaveToFile(std::filesystem::path(args[1]));
  return kExitOk;
}

}  // namespace skintool
