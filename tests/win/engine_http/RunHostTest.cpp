// The log hand-over of the Windows run host: lines handed over by many workers at once are
// all appended, once each, and the workers released; a host that appends lines together does
// so in few appends, and a line the UI thread appends itself comes after the waiting ones.
// Workers run on a few pool threads, and one whose line waits does not hold its thread: its
// line is posted, in order with the calls that wait.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app/win/platform/WinRunHost.h"
#include "base/win/Handles.h"
#include "forms/HandOver.h"
#include "tools/input/Input.h"

namespace lbb {
namespace {

// Processes window events until `done` or 20 s have passed.
template <class F>
bool PumpUntil(F done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > 20000) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
  return true;
}

struct BatchLog {
  std::vector<String> lines;
  std::vector<size_t> appendSizes;
};

TEST(RunHostHandOver, ManyWorkersAtOnceAreAppendedTogetherOnceEach) {
  BatchLog log;
  win::WinRunHost host(
      [&](const String& line) {
        log.lines.push_back(line);
        log.appendSizes.push_back(1);
      },
      [&](const std::vector<String>& lines) {
        log.lines.insert(log.lines.end(), lines.begin(), lines.end());
        log.appendSizes.push_back(lines.size());
      });
  constexpr int kWorkers = 120;
  std::atomic<int> released{0};
  std::vector<std::thread> workers;
  for (int i = 0; i < kWorkers; ++i) {
    workers.emplace_back([&, i] {
      host.HandOverLogLine(u"line " + IntToText(i));
      ++released;
    });
  }
  ASSERT_TRUE(PumpUntil([&] { return released.load() == kWorkers; }));
  for (std::thread& t : workers)
    t.join();
  ASSERT_EQ(log.lines.size(), static_cast<size_t>(kWorkers));
  const std::set<String> distinct(log.lines.begin(), log.lines.end());
  EXPECT_EQ(distinct.size(), static_cast<size_t>(kWorkers));
  // Lines arriving close together share appends.
  EXPECT_LT(log.appendSizes.size(), static_cast<size_t>(kWorkers));
}

TEST(RunHostHandOver, OwnLineComesAfterTheLinesWaiting) {
  std::vector<String> log;
  win::WinRunHost host(
      [&](const String& line) { log.push_back(line); },
      [&](const std::vector<String>& lines) { log.insert(log.end(), lines.begin(), lines.end()); });
  std::atomic<bool> firstDone{false}, secondDone{false};
  std::thread first([&] {
    host.HandOverLogLine(u"first");
    firstDone = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return firstDone.load(); }));
  first.join();
  // The second line arrives right after an append: it waits for the next one, unless the
  // machine is slow enough that the interval has passed already.
  std::thread second([&] {
    host.HandOverLogLine(u"second");
    secondDone = true;
  });
  MSG msg;
  ASSERT_TRUE(PumpUntil([&] {
    return PeekMessageW(&msg, nullptr, WM_APP, WM_APP + 0xFF, PM_NOREMOVE) || secondDone.load();
  }));
  while (PeekMessageW(&msg, nullptr, WM_APP, WM_APP + 0xFF, PM_REMOVE))
    DispatchMessageW(&msg);
  host.AppendLog(u"own");
  ASSERT_TRUE(PumpUntil([&] { return secondDone.load(); }));
  second.join();
  EXPECT_EQ(log, (std::vector<String>{u"first", u"second", u"own"}));
}

TEST(RunHostHandOver, LineHandedOverOnTheUiThreadIsAppendedAtOnce) {
  std::vector<String> log;
  win::WinRunHost host(
      [&](const String& line) { log.push_back(line); },
      [&](const std::vector<String>& lines) { log.insert(log.end(), lines.begin(), lines.end()); });
  host.AppendLog(u"before");
  // Right after an append a worker's line would wait for the interval; the UI thread's own
  // line cannot wait for its own timer.
  host.HandOverLogLine(u"own");
  EXPECT_EQ(log, (std::vector<String>{u"before", u"own"}));
}

TEST(RunHostHandOver, HostGoneReleasesWaitingWorkers) {
  std::vector<String> log;
  std::atomic<int> released{0};
  std::vector<std::thread> workers;
  {
    win::WinRunHost host([&](const String& line) { log.push_back(line); },
                         [&](const std::vector<String>& lines) {
                           log.insert(log.end(), lines.begin(), lines.end());
                         });
    for (int i = 0; i < 8; ++i) {
      workers.emplace_back([&, i] {
        host.HandOverLogLine(u"w" + IntToText(i));
        ++released;
      });
    }
    // The eight lines wait in the queue, not yet taken by the UI thread; then the host ends.
    // Nothing may handle the queue while waiting: the lines must stay in it.
    input::Waiting untouched;
    untouched.handleMessages = nullptr;
    untouched.limitMs = 20000;
    ASSERT_TRUE(input::WaitUntil([&] { return host.QueuedLines() == 8; }, untouched))
        << host.QueuedLines() << " lines queued";
    EXPECT_EQ(released.load(), 0);
  }
  // The host's end appended the queued lines and released every worker.
  for (std::thread& t : workers)
    t.join();
  EXPECT_EQ(released.load(), 8);
  EXPECT_EQ(log.size(), 8u);
}

TEST(RunHostWorkers, FinishingWaitsForWorkersHandingOverAndKeepsAQuitForItsLoop) {
  std::vector<String> log;
  win::WinRunHost host([&](const String& line) { log.push_back(line); });
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(go, nullptr);
  constexpr int kWorkers = 6;
  for (int i = 0; i < kWorkers; ++i) {
    ASSERT_TRUE(host.StartWorker([&host, go, i] {
      WaitForSingleObject(go, INFINITE);
      host.HandOverLogLine(u"w" + IntToText(i));
    }));
  }
  EXPECT_EQ(host.LiveWorkers(), kWorkers);
  // A quit that comes while the UI thread waits does not end the wait: the workers still
  // need it to take their lines. It is posted again once they are all done.
  PostQuitMessage(4);
  SetEvent(go);
  host.FinishWorkers();
  CloseHandle(go);
  EXPECT_EQ(host.LiveWorkers(), 0);
  EXPECT_EQ(log.size(), static_cast<size_t>(kWorkers));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 4u);
}

TEST(RunHostWorkers, PooledWorkersDoNotHoldTheirThreadsWhileTheUiThreadWaits) {
  std::vector<String> log;
  win::WinRunHost host([&](const String& line) { log.push_back(line); });
  constexpr int kWorkers = 5 * win::kWorkerThreads;
  std::atomic<int> reported{0};
  for (int i = 0; i < kWorkers; ++i) {
    ASSERT_TRUE(host.StartWorker([&host, &reported, i] {
      ++reported;
      host.HandOverLogLine(u"w" + IntToText(i));
    }));
  }
  // The UI thread handles nothing, as in a run's wait: a worker whose line waits must not
  // keep its thread from the workers queued behind it.
  input::Waiting untouched;
  untouched.handleMessages = nullptr;
  untouched.limitMs = 20000;
  ASSERT_TRUE(input::WaitUntil([&] { return reported.load() == kWorkers; }, untouched))
      << reported.load() << " of " << kWorkers << " workers ran";
  // No line has been appended yet, so no worker has ended.
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(host.LiveWorkers(), kWorkers);
  host.FinishWorkers();
  EXPECT_EQ(host.LiveWorkers(), 0);
  ASSERT_EQ(log.size(), static_cast<size_t>(kWorkers));
  EXPECT_EQ(std::set<String>(log.begin(), log.end()).size(), static_cast<size_t>(kWorkers));
  EXPECT_LE(host.PeakWorkerThreads(), win::kWorkerThreads);
}

TEST(RunHostHandOver, ASlowLogGetsEveryLineOnceInTheOrderHandedOver) {
  // Each append goes into a real multi-line edit that already holds a long log, so that it
  // takes a while, as a long memo's does: the host waits longer between appends, and no line
  // is lost, doubled or moved. (A log of lines, as the program's memo holds: one line of
  // 200,000 characters made each append take seconds under Wine.)
  lbb::WindowHandle memo(CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 400, 300,
                                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(memo);
  SendMessageW(memo.get(), EM_SETLIMITTEXT, 0, 0);
  std::wstring filler;
  for (int i = 0; i < 2000; ++i)
    filler += L"http://127.0.0.1/orlend/pic/item/0c47edd170324b74561d0008.bmp\r\n";
  SetWindowTextW(memo.get(), filler.c_str());
  BatchLog log;
  win::WinRunHost host([&](const String& line) { log.lines.push_back(line); },
                       [&](const std::vector<String>& lines) {
                         for (const String& line : lines) {
                           const std::wstring text(line.begin(), line.end());
                           SendMessageW(memo.get(), EM_SETSEL, static_cast<WPARAM>(-1), -1);
                           SendMessageW(memo.get(), EM_REPLACESEL, FALSE,
                                        reinterpret_cast<LPARAM>((text + L"\r\n").c_str()));
                         }
                         log.lines.insert(log.lines.end(), lines.begin(), lines.end());
                         log.appendSizes.push_back(lines.size());
                       });
  constexpr int kLines = 60;
  // One worker on a pool thread hands its lines over one after another: their order is known.
  ASSERT_TRUE(host.StartWorker([&host] {
    for (int i = 0; i < kLines; ++i)
      host.HandOverLogLine(u"line " + IntToText(i));
  }));
  host.FinishWorkers();
  ASSERT_EQ(log.lines.size(), static_cast<size_t>(kLines));
  for (int i = 0; i < kLines; ++i)
    EXPECT_EQ(log.lines[i], u"line " + IntToText(i));
  EXPECT_EQ(host.LiveWorkers(), 0);
}

TEST(HandOverPosts, PostedAndWaitedCallsRunOnTheOwnerInTheOrderQueued) {
  forms::THandOver handOver;
  const DWORD owner = GetCurrentThreadId();
  std::vector<int> order;  // written on the owning thread only
  bool allOnOwner = true;
  auto step = [&](int n) {
    return [&, n] {
      allOnOwner = allOnOwner && GetCurrentThreadId() == owner;
      order.push_back(n);
    };
  };
  std::atomic<bool> postedAll{false};
  std::thread worker([&] {
    handOver.Post(step(1));
    // A posted call that fails is dropped; the calls after it still run.
    handOver.Post([] { throw std::runtime_error("posted call failed"); });
    handOver.Post(step(2));
    handOver.Run(step(3));  // waits for the owner, after the posted calls before it
    handOver.Post(step(4));
    postedAll = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return order.size() == 4 && postedAll.load(); }));
  worker.join();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_TRUE(allOnOwner);
  // On the owning thread a posted call runs at once.
  EXPECT_TRUE(handOver.Post(step(5)));
  EXPECT_EQ(order.back(), 5);
}

TEST(HandOverPosts, ACallStillQueuedAtTheCloseIsDestroyedUnrun) {
  forms::THandOver handOver;
  auto held = std::make_shared<int>(0);
  std::atomic<bool> ran{false};
  bool posted = false;
  std::thread worker([&] { posted = handOver.Post([&ran, held] { ran = true; }); });
  worker.join();
  ASSERT_TRUE(posted);
  EXPECT_EQ(handOver.Queued(), 1u);
  EXPECT_EQ(held.use_count(), 2);  // the queued call holds it
  handOver.Close();
  EXPECT_EQ(held.use_count(), 1);
  EXPECT_FALSE(ran.load());
  // A closed hand-over refuses posts from other threads, and drops what they give it.
  std::thread late([&] { posted = handOver.Post([&ran, held] { ran = true; }); });
  late.join();
  EXPECT_FALSE(posted);
  EXPECT_EQ(held.use_count(), 1);
  // The wake-up message of the first post still comes; it runs nothing.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&msg);
  EXPECT_FALSE(ran.load());
}

}  // namespace
}  // namespace lbb
