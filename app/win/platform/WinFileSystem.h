// The engine's file system on Win32: wide paths, the system's own error texts, long paths
// through the \\?\ prefix, and files replaced by an atomic rename.
#pragma once

#include "app/engine/Files.h"

namespace lbb::win {

class WinFileSystem : public FileSystem {
 public:
  bool DirectoryExists(const String& path) override;
  bool MakeDirectory(const String& path) override;
  bool FileExists(const String& path) override;
  std::unique_ptr<OutputFile> OpenAppend(const String& path, String* error) override;
  bool WriteAtomically(const String& path, std::string_view bytes, String* error) override;
  // The temporary file is written in the folder above `path`'s own (beside `path` when that
  // folder does not take it) and renamed into place, through its own handle, only when no
  // file of that name is there: the existence check and the commit are one step. Under Wine
  // every new name in a folder costs a case-insensitive scan of that folder, and a backup's
  // html folder holds thousands of pages: one scan per page instead of three.
  bool WriteNewAtomically(const String& path, std::string_view bytes, bool* existed,
                          String* error) override;
  std::optional<std::string> ReadFile(const String& path) override;
};

// `path` as Win32 wants it: backslashes, and the \\?\ prefix when a full path is too long
// for the plain API.
std::wstring Win32Path(const String& path);

}  // namespace lbb::win
