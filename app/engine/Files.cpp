#include "app/engine/Files.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

namespace lbb {

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const String& p) {
  return fs::path(p);
}

String ErrorText(int err) {
  return Utf8ToText(std::generic_category().message(err));
}

class StdOutputFile : public OutputFile {
 public:
  explicit StdOutputFile(std::ofstream s) : stream_(std::move(s)) {}
  // Each write reaches the file at once, as the index page's head must before any page is
  // fetched.
  bool Write(std::string_view bytes) override {
    stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream_.flush();
    return static_cast<bool>(stream_);
  }
  bool Close() override {
    if (!stream_.is_open()) return true;
    stream_.close();
    return !stream_.fail();
  }

 private:
  std::ofstream stream_;
};

}  // namespace

String TemporaryNameFor(const String& path) {
  static std::atomic<unsigned> counter{0};
  const auto thread = std::hash<std::thread::id>{}(std::this_thread::get_id()) & 0xFFFFF;
  return path + u".tmp" + IntToText(static_cast<int64_t>(thread)) + u"-" +
         IntToText(counter.fetch_add(1));
}

bool StdFileSystem::DirectoryExists(const String& path) {
  std::error_code ec;
  return fs::is_directory(ToPath(path), ec);
}

bool StdFileSystem::MakeDirectory(const String& path) {
  std::error_code ec;
  return fs::create_directory(ToPath(path), ec) && !ec;
}

bool StdFileSystem::FileExists(const String& path) {
  std::error_code ec;
  return fs::is_regular_file(ToPath(path), ec);
}

std::unique_ptr<OutputFile> StdFileSystem::OpenAppend(const String& path, String* error) {
  errno = 0;
  std::ofstream s(ToPath(path), std::ios::binary | std::ios::app);
  if (!s.is_open()) {
    if (error) *error = ErrorText(errno != 0 ? errno : EIO);
    return nullptr;
  }
  return std::make_unique<StdOutputFile>(std::move(s));
}

bool StdFileSystem::WriteAtomically(const String& path, std::string_view bytes, String* error) {
  const fs::path target = ToPath(path);
  const fs::path temp = ToPath(TemporaryNameFor(path));
  errno = 0;
  std::ofstream s(temp, std::ios::binary | std::ios::trunc);
  bool written = s.is_open();
  if (written) {
    s.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    s.close();
    written = !s.fail();
  }
  if (!written) {
    const int err = errno != 0 ? errno : EIO;
    std::error_code ignored;
    fs::remove(temp, ignored);
    if (error) *error = ErrorText(err);
    return false;
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    if (error) *error = Utf8ToText(ec.message());
    return false;
  }
  return true;
}

std::optional<std::string> StdFileSystem::ReadFile(const String& path) {
  std::ifstream s(ToPath(path), std::ios::binary);
  if (!s.is_open()) return std::nullopt;
  std::string data((std::istreambuf_iterator<char>(s)), std::istreambuf_iterator<char>());
  if (s.bad()) return std::nullopt;
  return data;
}

}  // namespace lbb
