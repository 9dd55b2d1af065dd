// The Win32 file system's "write unless there": a new page is written whole and renamed into
// place, an existing file is left as it is, a folder of that name is a failure, and no
// temporary file stays behind in either folder.
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
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
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

}  // namespace
}  // namespace lbb
