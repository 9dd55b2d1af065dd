// The Win32 file system's atomic writes. "Write unless there": a new page is written whole and
// renamed into place, an existing file is left as it is, a folder of that name is a failure.
// "Write and replace": an existing file is replaced whole, and a target that cannot be
// replaced keeps its content. In every case no temporary file stays behind, also for paths
// longer than the plain API takes.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/win/platform/WinFileSystem.h"
#include "base/win/WideText.h"

namespace lbb {
namespace {

namespace fs = std::filesystem;

class WriteNew : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    root_ = fs::temp_directory_path() / ("lbb-writenew-" + std::to_string(rd()));
    fs::create_directories(root_ / "user" / "html");
  }
  void TearDown() override { RemoveTree(root_); }
  // Removes `folder` and everything in it, through the \\?\ prefix: the long-path test
  // leaves folders the plain API cannot reach.
  static void RemoveTree(const fs::path& folder) {
    const std::wstring prefixed = L"\\\\?\\" + folder.wstring();
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((prefixed + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(folder / name);
        else
          DeleteFileW((prefixed + L"\\" + name).c_str());
      } while (FindNextFileW(find, &found));
      FindClose(find);
    }
    RemoveDirectoryW(prefixed.c_str());
  }
  // `name` in UTF-8.
  String Page(const std::string& name) const {
    return lbb::FromWide((root_ / "user" / "html").wstring()) + u"/" + Utf8ToText(name);
  }
  static std::string Read(const String& path) {
    std::ifstream in(fs::path(lbb::Wide(path)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Every file below the root, as relative paths.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(root_))
      if (e.is_regular_file()) {
        names.push_back(TextToUtf8(lbb::FromWide(fs::relative(e.path(), root_).generic_wstring())));
      }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path root_;
  win::WinFileSystem files_;
};

TEST_F(WriteNew, NewPageIsWrittenAndNothingElseStays) {
  bool existed = true;
  String error;
  ASSERT_TRUE(files_.WriteNewAtomically(Page("1 标题.html"), "<html>页</html>", &existed, &error));
  EXPECT_FALSE(existed);
  EXPECT_EQ(Read(Page("1 标题.html")), "<html>页</html>");
  EXPECT_EQ(Files(), std::vector<std::string>{"user/html/1 标题.html"});
}

TEST_F(WriteNew, ExistingFileIsLeftAsItIs) {
  { std::ofstream(fs::path(lbb::Wide(Page("2 old.html")))) << "first"; }
  bool existed = false;
  String error;
  // Another case of the same name is the same file on Windows.
  ASSERT_TRUE(files_.WriteNewAtomically(Page("2 OLD.html"), "second", &existed, &error));
  EXPECT_TRUE(existed);
  EXPECT_EQ(Read(Page("2 old.html")), "first");
  EXPECT_EQ(Files(), std::vector<std::string>{"user/html/2 old.html"});
}

TEST_F(WriteNew, FolderOfThatNameOrMissingFolderFails) {
  fs::create_directories(root_ / "user" / "html" / "3 dir.html");
  bool existed = true;
  String error;
  EXPECT_FALSE(files_.WriteNewAtomically(Page("3 dir.html"), "x", &existed, &error));
  EXPECT_FALSE(existed);
  EXPECT_FALSE(error.empty());
  error.clear();
  const String missing = lbb::FromWide((root_ / "user" / "nothere" / "4.html").wstring());
  EXPECT_FALSE(files_.WriteNewAtomically(missing, "x", nullptr, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(Files().empty());
}

// The names in `folder`, through the \\?\ prefix so that any length works.
std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((L"\\\\?\\" + folder.wstring() + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(TextToUtf8(lbb::FromWide(name)));
  } while (FindNextFileW(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(WriteNew, LongPathIsWrittenWhole) {
  // Deep enough that the full path needs the \\?\ prefix, in the rename too.
  fs::path deep = root_ / "user" / "html";
  while (deep.wstring().size() < MAX_PATH + 20)
    deep /= "a-rather-long-folder-name";
  for (fs::path level = root_ / "user" / "html"; level != deep;) {
    level /= "a-rather-long-folder-name";
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + level.wstring()).c_str(), nullptr));
  }
  const String page = lbb::FromWide(deep.wstring()) + u"/5 长路径.html";
  String error;
  ASSERT_TRUE(files_.WriteNewAtomically(page, "deep", nullptr, &error)) << TextToUtf8(error);
  EXPECT_EQ(Listing(deep), std::vector<std::string>{"5 长路径.html"});
  EXPECT_EQ(Listing(deep.parent_path()), std::vector<std::string>{"a-rather-long-folder-name"});
  ASSERT_TRUE(files_.WriteAtomically(page, "deeper", &error)) << TextToUtf8(error);
  EXPECT_EQ(files_.ReadFile(page), std::optional<std::string>("deeper"));
  EXPECT_EQ(Listing(deep), std::vector<std::string>{"5 长路径.html"});
}

using WriteReplacing = WriteNew;

TEST_F(WriteReplacing, ExistingFileIsReplacedWhole) {
  { std::ofstream(fs::path(lbb::Wide(Page("pic.jpg")))) << "an older and longer picture"; }
  String error;
  ASSERT_TRUE(files_.WriteAtomically(Page("pic.jpg"), "new", &error)) << TextToUtf8(error);
  EXPECT_EQ(Read(Page("pic.jpg")), "new");
  ASSERT_TRUE(files_.WriteAtomically(Page("other.jpg"), "fresh", &error));
  EXPECT_EQ(Read(Page("other.jpg")), "fresh");
  EXPECT_EQ(Files(), (std::vector<std::string>{"user/html/other.jpg", "user/html/pic.jpg"}));
}

TEST_F(WriteReplacing, TargetThatCannotBeReplacedKeepsItsContent) {
  { std::ofstream(fs::path(lbb::Wide(Page("busy.jpg")))) << "kept"; }
  // Another program holds the file open and shares nothing: the rename must fail.
  HANDLE holder = CreateFileW(lbb::Wide(Page("busy.jpg")).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  String error;
  EXPECT_FALSE(files_.WriteAtomically(Page("busy.jpg"), "lost", &error));
  EXPECT_FALSE(error.empty());
  CloseHandle(holder);
  EXPECT_EQ(Read(Page("busy.jpg")), "kept");
  fs::create_directories(root_ / "user" / "html" / "dir.jpg");
  error.clear();
  EXPECT_FALSE(files_.WriteAtomically(Page("dir.jpg"), "x", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(root_ / "user" / "html" / "dir.jpg"));
  EXPECT_EQ(Files(), std::vector<std::string>{"user/html/busy.jpg"});
}

}  // namespace
}  // namespace lbb
