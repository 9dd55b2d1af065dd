// The file system as the backup engine uses it. Paths are UTF-16 texts built from the
// program's folder joined with "/". The platform implements it (Win32 on Windows); the
// portable StdFileSystem serves native builds and tests.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/engine/Text.h"

namespace lbb {

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Appends `bytes`; false when they could not all be written.
  virtual bool Write(std::string_view bytes) = 0;
  // Flushes and closes; false when that failed. Destroying an open file closes it too.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool DirectoryExists(const String& path) = 0;
  // Creates one directory level; false when it could not be created.
  virtual bool MakeDirectory(const String& path) = 0;
  virtual bool FileExists(const String& path) = 0;
  // Opens `path` for writing at its end, creating it when missing. nullptr on failure, with
  // the system's text for the failure in *error.
  virtual std::unique_ptr<OutputFile> OpenAppend(const String& path, String* error) = 0;
  // Writes `bytes` to a new temporary file beside `path` and renames it over `path`, so that
  // `path` never holds a half-written file. On failure `path` is unchanged, the temporary
  // file is removed and *error holds the system's text.
  virtual bool WriteAtomically(const String& path, std::string_view bytes, String* error) = 0;
  // Writes `bytes` to `path` as WriteAtomically does, unless a file is there already: then
  // nothing is written and *existed is set. True when the file is there afterwards, written
  // now or before. This one checks, then writes; a platform may do both in one step.
  virtual bool WriteNewAtomically(const String& path, std::string_view bytes, bool* existed,
                                  String* error) {
    const bool there = FileExists(path);
    if (existed) *existed = there;
    return there || WriteAtomically(path, bytes, error);
  }
  // The whole file; nullopt when it cannot be read (missing included).
  virtual std::optional<std::string> ReadFile(const String& path) = 0;
};

// FileSystem on the C++ standard library (std::filesystem and file streams).
class StdFileSystem : public FileSystem {
 public:
  bool DirectoryExists(const String& path) override;
  bool MakeDirectory(const String& path) override;
  bool FileExists(const String& path) override;
  std::unique_ptr<OutputFile> OpenAppend(const String& path, String* error) override;
  bool WriteAtomically(const String& path, std::string_view bytes, String* error) override;
  std::optional<std::string> ReadFile(const String& path) override;
};

// Name of the temporary file that WriteAtomically writes beside `path` before renaming it.
String TemporaryNameFor(const String& path);

}  // namespace lbb
