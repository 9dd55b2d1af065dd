#include "skin/data/SkinStream.h"

#include <algorithm>
#include <cstring>

namespace lbb::skin {

namespace {

std::string Quoted(const std::filesystem::path& name) {
  const auto u8 = name.u8string();
  return "\"" + std::string(u8.begin(), u8.end()) + "\"";
}

}  // namespace

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (Read(buffer, count) != count) throw EStreamError("Stream read error");
}

std::vector<uint8_t> TStream::ReadRest() {
  const int64_t rest = std::max<int64_t>(0, Size() - Position());
  std::vector<uint8_t> bytes(static_cast<size_t>(rest));
  bytes.resize(Read(bytes.data(), bytes.size()));
  return bytes;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  const size_t n = pos_ < data_.size() ? std::min(count, data_.size() - pos_) : 0;
  if (n > 0) std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 1) {  // the codec writes byte by byte
    WriteByte(*static_cast<const uint8_t*>(buffer));
    return;
  }
  if (count == 0) return;
  if (pos_ + count > data_.size()) data_.resize(pos_ + count);
  std::memcpy(data_.data() + pos_, buffer, count);
  pos_ += count;
}

void TMemoryStream::WriteByte(uint8_t b) {
  if (pos_ == data_.size()) {
    data_.push_back(b);
  } else {
    data_[pos_] = b;
  }
  ++pos_;
}

void TMemoryStream::SetPosition(int64_t position) {
  pos_ = static_cast<size_t>(std::clamp<int64_t>(position, 0, Size()));
}

void TMemoryStream::Clear() {
  data_.clear();
  pos_ = 0;
}

void TMemoryStream::LoadFromFile(const std::filesystem::path& name) {
  TFileStream file(name, TFileStream::Mode::Read);
  data_ = file.ReadRest();
  pos_ = 0;
}

void TMemoryStream::SaveToFile(const std::filesystem::path& name) const {
  TFileStream file(name, TFileStream::Mode::Create);
  file.Write(data_.data(), data_.size());
}

TFileStream::TFileStream(const std::filesystem::path& name, Mode mode) {
  if (mode == Mode::Read) {
    if (!file_.open(name, std::ios::in | std::ios::binary))
      throw EFOpenError("Cannot open file " + Quoted(name));
  } else if (!file_.open(name, std::ios::out | std::ios::trunc | std::ios::binary)) {
    throw EFOpenError("Cannot create file " + Quoted(name));
  }
}

size_t TFileStream::Read(void* buffer, size_t count) {
  return static_cast<size_t>(
      file_.sgetn(static_cast<char*>(buffer), static_cast<std::streamsize>(count)));
}

void TFileStream::Write(const void* buffer, size_t count) {
  const auto n = static_cast<std::streamsize>(count);
  if (file_.sputn(static_cast<const char*>(buffer), n) != n || file_.pubsync() != 0)
    throw EStreamError("Stream write error");
}

int64_t TFileStream::Size() const {
  const auto here = file_.pubseekoff(0, std::ios::cur);
  const auto end = file_.pubseekoff(0, std::ios::end);
  file_.pubseekpos(here);
  return static_cast<int64_t>(end);
}

int64_t TFileStream::Position() const {
  return static_cast<int64_t>(file_.pubseekoff(0, std::ios::cur));
}

void TFileStream::SetPosition(int64_t position) {
  file_.pubseekpos(std::clamp<int64_t>(position, 0, Size()));
}

}  // namespace lbb::skin
