#include "app/win/platform/WinFileSystem.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "base/win/Handles.h"
#include "base/win/WideText.h"

namespace lbb::win {

std::wstring Win32Path(const String& path) {
  std::wstring w = Wide(path);
  for (wchar_t& c : w) {
    if (c == L'/') c = L'\\';
  }
  const bool driveAbsolute = w.size() > 2 && w[1] == L':' && w[2] == L'\\';
  if (w.size() >= MAX_PATH - 12 && driveAbsolute) w = L"\\\\?\\" + w;
  return w;
}

namespace {

DWORD Attributes(const String& path) {
  return GetFileAttributesW(Win32Path(path).c_str());
}

bool WriteAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

class WinOutputFile : public OutputFile {
 public:
  explicit WinOutputFile(KernelHandle h) : h_(std::move(h)) {}
  bool Write(std::string_view bytes) override { return h_ && WriteAll(h_.get(), bytes); }
  bool Close() override {
    h_.reset();
    return true;
  }

 private:
  KernelHandle h_;
};

}  // namespace

bool WinFileSystem::DirectoryExists(const String& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinFileSystem::MakeDirectory(const String& path) {
  return ::CreateDirectoryW(Win32Path(path).c_str(), nullptr) != 0;
}

bool WinFileSystem::FileExists(const String& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<OutputFile> WinFileSystem::OpenAppend(const String& path, String* error) {
  KernelHandle h(CreateFileW(Win32Path(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) {
    if (error) *error = SystemErrorText(GetLastError());
    return nullptr;
  }
  return std::make_unique<WinOutputFile>(std::move(h));
}

namespace {

// A temporary file that is written whole, flushed to the disk and then renamed into place
// through its own handle: the rename needs no second open of the file and no second lookup
// of its name (each costs a round trip to the Wine server, and a backup writes thousands of
// pages). A temporary file that is dropped without being renamed is deleted.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() { Discard(); }

  // Creates the file `path` (replacing a file of that name); 0 or the system's error code.
  DWORD Create(const std::wstring& path) {
    Discard();
    h_ = KernelHandle(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return h_ ? 0 : GetLastError();
  }

  // Writes `bytes` and flushes them to the disk; 0 or the system's error code.
  DWORD Write(std::string_view bytes) {
    if (!WriteAll(h_.get(), bytes) || !FlushFileBuffers(h_.get())) return GetLastError();
    return 0;
  }

  // Gives the file the full path `target`; without `replace` an existing file of that name
  // is an error (ERROR_ALREADY_EXISTS) and stays as it is. 0 or the system's error code.
  DWORD RenameTo(const std::wstring& target, bool replace) {
    const size_t nameBytes = (target.size() + 1) * sizeof(wchar_t);
    std::vector<unsigned char> buffer(offsetof(FILE_RENAME_INFO, FileName) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, target.c_str(), nameBytes);
    if (!SetFileInformationByHandle(h_.get(), FileRenameInfo, info,
                                    static_cast<DWORD>(buffer.size()))) {
      return GetLastError();
    }
    h_.reset();
    return 0;
  }

 private:
  // Deletes the file when its handle closes, then closes it.
  void Discard() {
    if (!h_) return;
    FILE_DISPOSITION_INFO dispose{TRUE};
    SetFileInformationByHandle(h_.get(), FileDispositionInfo, &dispose, sizeof dispose);
    h_.reset();
  }

  KernelHandle h_;
};

bool Fail(DWORD failure, String* error) {
  if (error) *error = SystemErrorText(failure);
  return false;
}

// A temporary name for `path` in the folder above its own (beside it when it has none).
String TemporaryNameAbove(const String& path) {
  const size_t name = path.find_last_of(u"/\\");
  const size_t folder =
      name == String::npos || name == 0 ? String::npos : path.find_last_of(u"/\\", name - 1);
  if (folder == String::npos) return TemporaryNameFor(path);
  return TemporaryNameFor(path.substr(0, folder) + path.substr(name));
}

}  // namespace

bool WinFileSystem::WriteAtomically(const String& path, std::string_view bytes, String* error) {
  TemporaryFile temp;
  DWORD failure = temp.Create(Win32Path(TemporaryNameFor(path)));
  if (failure == 0) failure = temp.Write(bytes);
  if (failure == 0) failure = temp.RenameTo(Win32Path(path), true);
  return failure == 0 || Fail(failure, error);
}

bool WinFileSystem::WriteNewAtomically(const String& path, std::string_view bytes, bool* existed,
                                       String* error) {
  if (existed) *existed = false;
  TemporaryFile temp;
  // The folder above may not take files: beside the page then.
  DWORD failure = temp.Create(Win32Path(TemporaryNameAbove(path)));
  if (failure != 0) failure = temp.Create(Win32Path(TemporaryNameFor(path)));
  if (failure == 0) failure = temp.Write(bytes);
  if (failure == 0) failure = temp.RenameTo(Win32Path(path), false);
  if (failure == 0) return true;
  // A file of that name stays as it is; a folder of that name is a failure.
  if ((failure == ERROR_ALREADY_EXISTS || failure == ERROR_FILE_EXISTS) && FileExists(path)) {
    if (existed) *existed = true;
    return true;
  }
  return Fail(failure, error);
}

std::optional<std::string> WinFileSystem::ReadFile(const String& path) {
  KernelHandle h(CreateFileW(Win32Path(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return std::nullopt;
  std::string data;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    // A read that fails part-way gives no data at all, never the part before the failure.
    if (!::ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) return data;
    data.append(buffer, got);
  }
}

}  // namespace lbb::win
