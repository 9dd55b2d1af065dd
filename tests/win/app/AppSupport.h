// Helpers of the main window's tests: the window made and shown with a fresh program folder
// state, the sample host's control requests, files of the output tree, and a watcher thread
// that answers the message box a run shows with a real key press.
#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/Unit1.h"

namespace lbb::app::test {

namespace fs = std::filesystem;

std::string Env(const char* name);
// A control request to the sample host; its answer text.
std::string Control(const std::string& request);
// The body of a page of the sample host.
std::string Fetch(const std::string& url);
std::string ReadFile(const fs::path& path);
size_t Count(const std::string& s, const std::string& what);
// Files directly inside `dir` (none when it does not exist).
std::vector<fs::path> FilesIn(const fs::path& dir);

// The program's folder (the test program's, as the window sets appDir).
fs::path ProgramDir();

// The main window made, created and shown, as the program does it. Removes the given users'
// folders and config.ini first, so each test starts from nothing.
class MainWindow {
 public:
  explicit MainWindow(std::vector<std::string> users);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  TForm1& form() { return *form_; }
  fs::path UserDir(const std::string& user) const { return ProgramDir() / user; }
  // Clicks into the user-name box, selects what it holds and types `text` for real.
  void TypeUserName(const std::wstring& text);
  // Clicks a button for real (again when the click went elsewhere); false when no click
  // reached it.
  bool Click(forms::TButton* button);
  // Clicks a button for real; the run happens inside the click. Returns once the button is
  // enabled again and the workers have handed over their log lines.
  bool ClickAndWait(forms::TButton* button);
  std::vector<lbb::String> LogLines() const;

 private:
  TForm1* form_ = nullptr;
};

// Watches for a message box of this process and answers it with a real Enter key press;
// records its caption and text.
class MessageBoxAnswerer {
 public:
  // `inspect`, when given, looks at the box on the watching thread before it is answered.
  explicit MessageBoxAnswerer(std::function<void(HWND)> inspect = {});
  ~MessageBoxAnswerer();
  // Waits (handling nothing: the UI thread is inside the box or done) until one was seen.
  bool Seen() const { return seen_.load(); }
  std::wstring Caption() const;
  std::wstring Text() const;
  UINT Icon() const { return icon_; }
  int Buttons() const { return buttons_; }

 private:
  void Watch();
  std::atomic<bool> stop_{false}, seen_{false};
  std::wstring caption_, text_;
  UINT icon_ = 0;
  int buttons_ = 0;
  std::function<void(HWND)> inspect_;
  std::thread thread_;
};

}  // namespace lbb::app::test
