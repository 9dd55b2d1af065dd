// The samplehost program and scripts/with-samplehost, as the Windows tests and the demo use
// them. ctest runs this under with-samplehost (see CMakeLists.txt): --photo-port 0
// --articles 4 --fault /w/blog/index/0=404.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

httplib::Result Fetch(const std::string& base, const std::string& path) {
  httplib::Client cli(base);
  cli.set_read_timeout(30);
  return cli.Get(path.c_str());
}

TEST(WithSamplehost, ExportsTheAddressesOfARunningHost) {
  const std::string blog = Env("SAMPLEHOST_BLOG"), photo = Env("SAMPLEHOST_PHOTO");
  ASSERT_TRUE(blog.starts_with("http://127.0.0.1:")) << blog;
  ASSERT_TRUE(photo.starts_with("http://127.0.0.1:")) << photo;
  EXPECT_NE(blog, photo);
  EXPECT_EQ(Env("SAMPLEHOST_CONTROL"), blog);
  EXPECT_EQ(Env("SAMPLEHOST_HTTPS"), "");

  auto list = Fetch(blog, "/u/blog/index/0");
  ASSERT_TRUE(list);
  size_t entries = 0;
  for (size_t at = list->body.find("/u/blog/item/"); at != std::string::npos;
       at = list->body.find("/u/blog/item/", at + 1)) {
    ++entries;
  }
  EXPECT_EQ(entries, 4u);
  EXPECT_EQ(Fetch(blog, "/w/blog/index/0")->status, 404);
  auto album = Fetch(blog, "/u/album/%C4%AC%C8%CF%CF%E0%B2%E1/index/0");
  ASSERT_TRUE(album);
  const std::string marker = "psrc:\"" + photo;
  const size_t at = album->body.find(marker);
  ASSERT_NE(at, std::string::npos);
  const size_t from = at + marker.size();
  const std::string abpic = album->body.substr(from, album->body.find('"', from) - from);
  // The program asks for the last 29 characters below the user's /pic/item.
  const std::string item = "/u/pic/item" + abpic.substr(abpic.size() - 29);
  auto picture = Fetch(photo, item);
  ASSERT_TRUE(picture) << item;
  EXPECT_EQ(picture->status, 200) << item;
  EXPECT_TRUE(picture->body.starts_with("BM"));
}

// The program itself, started with a port file and stopped in both ways it knows.
class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    bin = Env("SAMPLEHOST_BIN");
    if (bin.empty()) GTEST_SKIP() << "SAMPLEHOST_BIN is not set";
    dir = fs::temp_directory_path() / ("samplehost-cli-" + std::to_string(getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (!dir.empty()) fs::remove_all(dir);
  }
  void Launch(std::vector<std::string> args) {
    args.insert(args.begin(), bin);
    std::vector<char*> argv;
    for (auto& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    ASSERT_EQ(posix_spawn(&pid, bin.c_str(), nullptr, nullptr, argv.data(), environ), 0);
  }
  // Exit status of the program, or -1 when it did not end normally.
  int Finish() {
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string WaitForPortFile() {
    const fs::path file = dir / "ports";
    for (int i = 0; i < 1000 && !fs::exists(file); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string bin;
  fs::path dir;
  pid_t pid = -1;
};

TEST_F(Program, WritesThePortFileAndStopsOnSigterm) {
  Launch({"--port", "0", "--photo-port", "0", "--port-file", (dir / "ports").string()});
  const std::string ports = WaitForPortFile();
  ASSERT_TRUE(ports.starts_with("blog=http://127.0.0.1:")) << ports;
  const std::string blog = ports.substr(5, ports.find('\n') - 5);
  EXPECT_NE(ports.find("\nphoto=http://127.0.0.1:"), std::string::npos);
  EXPECT_TRUE(Fetch(blog, "/a/blog/index/0"));
  kill(pid, SIGTERM);
  EXPECT_EQ(Finish(), 0);
}

TEST_F(Program, StopsOnTheControlEndpoint) {
  Launch({"--port-file", (dir / "ports").string(), "--fault", "/s/blog/index/0=stall"});
  const std::string ports = WaitForPortFile();
  const std::string blog = ports.substr(5, ports.find('\n') - 5);
  // A stalled request does not hold the program up when it stops.
  std::thread stalled([&] { Fetch(blog, "/s/blog/index/0"); });
  auto stop = Fetch(blog, "/_control/stop");
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->body, "stopping\n");
  EXPECT_EQ(Finish(), 0);
  stalled.join();
}

TEST_F(Program, RejectsBadOptions) {
  Launch({"--charset", "latin1"});
  EXPECT_EQ(Finish(), 2);
}

}  // namespace
