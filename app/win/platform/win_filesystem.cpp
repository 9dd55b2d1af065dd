#include "win_filesystem.h"

#include <windows.h>

#include <algorithm>

#include "win_handles.h"
#include "win_text.h"

namespace lbb::win {

Text SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  Text text;
  if (n > 0 && buffer) text = FromWide(buffer, n);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
    text.pop_back();
  }
  if (text.empty()) text = u"System error " + IntToText(code);
  return text;
}

std::wstring Win32Path(const Text& path) {
  std::wstring w = Wide(path);
  for (wchar_t& c : w) {
    if (c == L'/') c = L'\\';
  }
  const bool driveAbsolute = w.size() > 2 && w[1] == L':' && w[2] == L'\\';
  if (w.size() >= MAX_PATH - 12 && driveAbsolute) w = L"\\\\?\\" + w;
  return w;
}

namespace {

DWORD Attributes(const Text& path) {
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
  explicit WinOutputFile(UniqueHandle h) : h_(std::move(h)) {}
  bool Write(std::string_view bytes) override { return h_ && WriteAll(h_.get(), bytes); }
  bool Close() override {
    h_.reset();
    return true;
  }

 private:
  UniqueHandle h_;
};

}  // namespace

bool WinFileSystem::DirectoryExists(const Text& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinFileSystem::MakeDirectory(const Text& path) {
  return ::CreateDirectoryW(Win32Path(path).c_str(), nullptr) != 0;
}

bool WinFileSystem::FileExists(const Text& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<OutputFile> WinFileSystem::OpenAppend(const Text& path, Text* error) {
  UniqueHandle h(CreateFileW(Win32Path(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) {
    if (error) *error = SystemErrorText(GetLastError());
    return nullptr;
  }
  return std::make_unique<WinOutputFile>(std::move(h));
}

bool WinFileSystem::WriteAtomically(const Text& path, std::string_view bytes, Text* error) {
  const std::wstring temp = Win32Path(TemporaryNameFor(path));
  DWORD failure = 0;
  {
    UniqueHandle h(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) {
      if (error) *error = SystemErrorText(GetLastError());
      return false;
    }
    if (!WriteAll(h.get(), bytes) || !FlushFileBuffers(h.get())) failure = GetLastError();
  }
  if (failure == 0 && !MoveFileExW(temp.c_str(), Win32Path(path).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    failure = GetLastError();
  }
  if (failure != 0) {
    DeleteFileW(temp.c_str());
    if (error) *error = SystemErrorText(failure);
    return false;
  }
  return true;
}

std::optional<std::string> WinFileSystem::ReadFile(const Text& path) {
  UniqueHandle h(CreateFileW(Win32Path(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return std::nullopt;
  std::string data;
  char buffer[64 * 1024];
  DWORD got = 0;
  while (::ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    data.append(buffer, got);
  }
  return data;
}

}  // namespace lbb::win
