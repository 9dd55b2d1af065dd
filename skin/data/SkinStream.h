// Byte streams of the skin library: an abstract stream with a memory and a file
// implementation. Positions and sizes are in bytes from the start of the stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace lbb::skin {

// Base of the stream errors; the message says what failed.
class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file could not be opened: "Cannot open file \"NAME\"" (or "Cannot create file").
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class TStream {
 public:
  virtual ~TStream() = default;

  // Copies up to `count` bytes from the current position into `buffer`, advances past them
  // and returns how many there were (0 at the end).
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes all `count` bytes at the current position and advances; throws EStreamError when
  // it cannot.
  virtual void Write(const void* buffer, size_t count) = 0;
  virtual int64_t Size() const = 0;
  virtual int64_t Position() const = 0;
  // Moves to `position` (clamped to 0 .. Size()).
  virtual void SetPosition(int64_t position) = 0;

  // Reads exactly `count` bytes or throws EStreamError("Stream read error").
  void ReadBuffer(void* buffer, size_t count);
  // Bytes from the current position to the end (the position ends at the end).
  std::vector<uint8_t> ReadRest();
};

// A stream over a growable block of memory that it owns.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  // One byte at the current position: the write path of the codec.
  void WriteByte(uint8_t b);
  int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
  int64_t Position() const override { return static_cast<int64_t>(pos_); }
  void SetPosition(int64_t position) override;

  // Makes room for `bytes` bytes without changing the size (a hint for large writes).
  void Reserve(size_t bytes) { data_.reserve(bytes); }
  void Clear();
  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::vector<uint8_t>& Bytes() { return data_; }

  // Replaces the content by the whole file (position 0) / writes the whole content to a new
  // file. Errors: EFOpenError, EStreamError.
  void LoadFromFile(const std::filesystem::path& name);
  void SaveToFile(const std::filesystem::path& name) const;

 private:
  std::vector<uint8_t> data_;
  size_t pos_ = 0;
};

// A stream over a file. Read mode opens an existing file; Create mode makes a new empty one
// (an existing file is truncated). Throws EFOpenError when the file cannot be opened.
class TFileStream : public TStream {
 public:
  enum class Mode { Read, Create };
  TFileStream(const std::filesystem::path& name, Mode mode);

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  int64_t Size() const override;
  int64_t Position() const override;
  void SetPosition(int64_t position) override;

 private:
  mutable std::filebuf file_;
};

}  // namespace lbb::skin
