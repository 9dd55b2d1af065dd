// Both runs through the real window: typing and clicking for real, the files the runs write,
// the log, message boxes answered with real keys, and the other button refused during a run.
#include <gtest/gtest.h>

#include "app/WorkerThread.h"
#include "app/win/platform/WinRunHost.h"
#include "forms/Application.h"
#include "tests/win/app/AppSupport.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::app::test {
namespace {

class RunsThroughWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Env("SAMPLEHOST_BLOG").empty()) << "run through scripts/with-samplehost";
    Control("clear-faults");
    Control("set?articles=12&page-size=5&pictures=10&album-page-size=4&latency=0&odd-titles=0");
  }
};

// The first address of list page 0, as the sample host serves it.
std::string FirstAddress(const std::string& user) {
  const std::string page = Fetch(Env("SAMPLEHOST_BLOG") + "/" + user + "/blog/index/0");
  const std::string item = "/" + user + "/blog/item/";
  const size_t at = page.find(item);
  if (at == std::string::npos) return {};
  return Env("SAMPLEHOST_BLOG") + page.substr(at, page.find(".html", at) + 5 - at);
}

// Log lines after the seven lines of the start.
std::vector<std::string> RunLines(MainWindow& w) {
  std::vector<std::string> lines;
  const auto all = w.LogLines();
  for (size_t i = 7; i < all.size(); ++i)
    lines.push_back(TextToUtf8(all[i]));
  return lines;
}

TEST_F(RunsThroughWindow, BackupWritesPagesIndexAndConfigThenIncrementalRuns) {
  MainWindow w({"winalice"});
  w.TypeUserName(L"  winalice  ");
  ASSERT_TRUE(w.ClickAndWait(w.form().Button1));
  EXPECT_TRUE(w.form().Button1->Enabled());
  EXPECT_TRUE(w.form().Button2->Enabled());

  const fs::path user = w.UserDir("winalice");
  const std::vector<std::string> lines = RunLines(w);
  ASSERT_EQ(lines.size(), 12u);
  std::vector<std::string> sorted = lines;
  for (int n = 1; n <= 12; ++n) {
    const std::string prefix = std::to_string(n) + " ";
    auto it = std::find_if(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    ASSERT_NE(it, lines.end()) << "no log line numbered " << n;
    const fs::path page = user / "html" / fs::u8path(*it + ".html");
    ASSERT_TRUE(fs::exists(page)) << page;
    const std::string content = ReadFile(page);
    EXPECT_NE(content.find(it->substr(prefix.size())), std::string::npos) << *it;
  }
  EXPECT_EQ(FilesIn(user / "html").size(), 12u);

  const std::string index = ReadFile(user / "winalice.html");
  EXPECT_EQ(Count(index, "<table>"), 1u);
  EXPECT_EQ(Count(index, "<tr>"), 12u);
  EXPECT_NE(index.find("winalice的博客"), std::string::npos);
  const std::string first = FirstAddress("winalice");
  ASSERT_FALSE(first.empty());
  const std::string config = ReadFile(ProgramDir() / "config.ini");
  EXPECT_NE(config.find("[winalice]"), std::string::npos) << config;
  EXPECT_NE(config.find("lastURL=" + first), std::string::npos) << config;

  // Nothing new: one more block without rows; config.ini keeps its address.
  ASSERT_TRUE(w.ClickAndWait(w.form().Button1));
  EXPECT_EQ(RunLines(w).size(), 12u);
  std::string again = ReadFile(user / "winalice.html");
  EXPECT_EQ(Count(again, "<table>"), 2u);
  EXPECT_EQ(Count(again, "<tr>"), 12u);
  EXPECT_NE(ReadFile(ProgramDir() / "config.ini").find("lastURL=" + first), std::string::npos);

  // Two new articles: exactly those, numbered 1 and 2, in the newest block.
  Control("set?articles=14");
  ASSERT_TRUE(w.ClickAndWait(w.form().Button1));
  const std::vector<std::string> after = RunLines(w);
  ASSERT_EQ(after.size(), 14u);
  EXPECT_EQ(after[12].rfind("1 ", 0) == 0 || after[13].rfind("1 ", 0) == 0, true);
  EXPECT_EQ(after[12].rfind("2 ", 0) == 0 || after[13].rfind("2 ", 0) == 0, true);
  again = ReadFile(user / "winalice.html");
  const std::string lastBlock = again.substr(again.rfind("<table>"));
  EXPECT_EQ(Count(lastBlock, "<tr>"), 2u);
  EXPECT_LT(lastBlock.find(">1 "), lastBlock.find(">2 "));
  EXPECT_NE(ReadFile(ProgramDir() / "config.ini").find("lastURL=" + FirstAddress("winalice")),
            std::string::npos);
}

TEST_F(RunsThroughWindow, AlbumWritesPicturesThatSavedPagesShow) {
  MainWindow w({"winbob"});
  w.TypeUserName(L"winbob");
  ASSERT_TRUE(w.ClickAndWait(w.form().Button1));
  ASSERT_TRUE(w.ClickAndWait(w.form().Button2));
  const fs::path user = w.UserDir("winbob");
  EXPECT_EQ(FilesIn(user / "pic").size(), 10u);
  EXPECT_EQ(RunLines(w).size(), 12u + 10u);
  // Every picture of the user that a saved page shows through "../pic/" is there.
  size_t shown = 0;
  for (const fs::path& page : FilesIn(user / "html")) {
    const std::string content = ReadFile(page);
    for (size_t at = content.find("../pic/"); at != std::string::npos;
         at = content.find("../pic/", at + 1)) {
      const std::string name = content.substr(at + 7, 28);
      EXPECT_TRUE(fs::exists(user / "pic" / name)) << page << " shows " << name;
      ++shown;
    }
  }
  EXPECT_GT(shown, 0u);
}

TEST_F(RunsThroughWindow, FailingListPageShowsErrorAndButtonWorksAgain) {
  MainWindow w({"wincarol"});
  Control("fault?path=/wincarol/blog/index/0&kind=404");
  w.TypeUserName(L"wincarol");
  {
    MessageBoxAnswerer box;
    ASSERT_TRUE(w.ClickAndWait(w.form().Button1));
    ASSERT_TRUE(box.Seen());
    // The error's text ends in ")", whose code is below that of ".": no "." is added.
    EXPECT_EQ(box.Text(), L"List index out of bounds (0)");
    EXPECT_EQ(box.Caption(), L"Orlend作品");
    EXPECT_EQ(box.Icon(), UINT(MB_ICONERROR));
    EXPECT_EQ(box.Buttons(), 1);
  }
  EXPECT_TRUE(w.form().Button1->Enabled());
  EXPECT_TRUE(w.form().Button2->Enabled());
  EXPECT_FALSE(fs::exists(ProgramDir() / "config.ini"));

  Control("clear-faults");
  ASSERT_TRUE(w.ClickAndWait(w.form().Button1));
  EXPECT_EQ(FilesIn(w.UserDir("wincarol") / "html").size(), 12u);
}

TEST_F(RunsThroughWindow, BlankNameDoesNothingAndRefusedNameWritesNothing) {
  MainWindow w({"windave"});
  const size_t before = w.LogLines().size();
  w.TypeUserName(L"   ");
  {
    MessageBoxAnswerer box;
    ASSERT_TRUE(w.Click(w.form().Button1));
    forms::test::Settle();
    EXPECT_FALSE(box.Seen());
  }
  EXPECT_TRUE(w.form().Button1->Enabled());
  EXPECT_EQ(w.LogLines().size(), before);

  w.TypeUserName(L"win:dave");
  {
    MessageBoxAnswerer box;
    ASSERT_TRUE(w.ClickAndWait(w.form().Button2));
    ASSERT_TRUE(box.Seen());
    EXPECT_NE(box.Text().find(L"win:dave"), std::wstring::npos);
    EXPECT_EQ(box.Caption(), L"Orlend作品");
  }
  EXPECT_FALSE(fs::exists(ProgramDir() / "win:dave"));
  EXPECT_FALSE(fs::exists(ProgramDir() / "win"));
  EXPECT_EQ(w.LogLines().size(), before);
}

TEST_F(RunsThroughWindow, WorkersShareAFewThreadsThatLeaveAfterTheRun) {
  // Thirty articles a page and some latency: a page's workers overlap.
  Control("set?articles=90&page-size=30&latency=10");
  MainWindow w({"winfred"});
  w.TypeUserName(L"winfred");
  ASSERT_TRUE(w.ClickAndWait(w.form().Button1));
  EXPECT_EQ(RunLines(w).size(), 90u);
  EXPECT_EQ(FilesIn(w.UserDir("winfred") / "html").size(), 90u);
  EXPECT_GE(TWorkerThread::PeakThreadCount(), 2);
  EXPECT_LE(TWorkerThread::PeakThreadCount(), win::kWorkerThreads);
  // With every worker ended the threads leave: a program between runs has none.
  EXPECT_TRUE(forms::test::PumpUntil([] { return TWorkerThread::ThreadCount() == 0; }));
}

TEST_F(RunsThroughWindow, OtherButtonCannotStartASecondRun) {
  Control("set?articles=40&page-size=4&latency=40");
  MainWindow w({"winerin"});
  w.TypeUserName(L"winerin");
  HWND button1 = w.form().Button1->Handle();
  HWND button2 = w.form().Button2->Handle();
  RECT r;
  GetWindowRect(button2, &r);
  const POINT target{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  std::atomic<bool> clicked{false}, otherWasEnabled{false};
  // While the run is in progress, press the album button with the real mouse.
  std::thread presser([&] {
    // This thread handles no messages; the run's window is the UI thread's.
    input::Waiting waiting;
    waiting.handleMessages = nullptr;
    if (!input::WaitUntil([&] { return !IsWindowEnabled(button1); }, waiting)) return;
    // The handler disables the two buttons one after the other: the album button follows at
    // once, while the run is still going.
    otherWasEnabled =
        !input::WaitUntil([&] { return !IsWindowEnabled(button2) || IsWindowEnabled(button1); },
                          waiting) ||
        IsWindowEnabled(button2) != FALSE;
    if (!input::MoveMouse(target, waiting)) return;
    // A disabled button takes no press, so there is no effect of the press to wait for:
    // press and release are queued together while the run goes on.
    INPUT in[2]{};
    for (INPUT& x : in) {
      x.type = INPUT_MOUSE;
      x.mi.dx = MulDiv(target.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
      x.mi.dy = MulDiv(target.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(2, in, sizeof in[0]);
    clicked = !IsWindowEnabled(button1);  // still inside the run
  });
  const bool ended = w.ClickAndWait(w.form().Button1);
  presser.join();
  ASSERT_TRUE(ended);
  EXPECT_TRUE(clicked) << "the run ended before the second press";
  EXPECT_FALSE(otherWasEnabled);
  EXPECT_FALSE(fs::exists(w.UserDir("winerin") / "pic"));
  EXPECT_EQ(RunLines(w).size(), 40u);
  EXPECT_TRUE(w.form().Button2->Enabled());
}

}  // namespace
}  // namespace lbb::app::test
