// skinrun on Wine's own programs, with the stand-in engine: the DLL gets in, the engine starts
// on each program's UI thread before its first window is shown, the programs work under real
// input, they end with their own exit codes, and a skin or DLL that fails leaves them running.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/win/skinrun/SkinrunSupport.h"
#include "tests/win/skinrun/standin/StandIn.h"
#include "tools/input/Input.h"

namespace lbb::skinrun::test {

namespace {

TEST_F(Skinrun, NotepadIsSkinnedFromItsFirstWindowAndWorksUnderRealInput) {
  auto run = Start({L"--skin", sand, L"notepad.exe"});
  HWND main = ShowMain(*run, L"Notepad");
  ASSERT_TRUE(main);
  const DWORD pid = run->ProgramId();
  EXPECT_TRUE(check->IsSkinned(main));
  const StandInMarks marks = MarksOf(main);
  EXPECT_EQ(marks.shownAtStart, 0) << "the engine started after the program showed a window";
  EXPECT_TRUE(marks.sawCreate) << "the engine started after the window was made";
  EXPECT_TRUE(marks.skinLoaded);
  EXPECT_EQ(marks.scope, LBBSKIN_SCOPE_PROCESS);

  HWND edit = FindWindowExW(main, nullptr, L"Edit", nullptr);
  ASSERT_TRUE(edit);
  ASSERT_TRUE(Check(input::TypeText(edit, L"Skinned by skinrun", L"Skinned by skinrun")));
  EXPECT_TRUE(ShowsProgramWindow(main, "notepad", GetSysColor(COLOR_WINDOW), 0.5));

  // File, Open...: the dialog is the program's window too, and closes again.
  ASSERT_TRUE(Check(input::PressChord(
      VK_MENU, 'F', [&] { return FindWindowOf(pid, L"#32768") != nullptr; },
      "the File menu opening")));
  ASSERT_TRUE(Check(input::PressKey(
      'O', [&] { return FindWindowOf(pid, L"#32770") != nullptr; }, "the Open dialog opening")));
  HWND open = FindWindowOf(pid, L"#32770");
  EXPECT_TRUE(check->IsSkinned(open));
  ASSERT_TRUE(Check(input::PressKey(
      VK_ESCAPE, [&] { return !IsWindowVisible(open); }, "the Open dialog closing")));

  // Resized by its border, then minimised, restored and maximised from its window menu.
  ASSERT_TRUE(GrowByBorder(main, 80, 50));
  EXPECT_TRUE(UseWindowMenu(
      pid, 'N', [&] { return IsIconic(main) != FALSE; }, "minimising"));
  EXPECT_TRUE(UseWindowMenu(
      pid, 'R', [&] { return !IsIconic(main); }, "restoring"));
  EXPECT_TRUE(UseWindowMenu(
      pid, 'X', [&] { return IsZoomed(main) != FALSE; }, "maximising"));

  // Closed: the question whether to save the typed text is answered No.
  ASSERT_TRUE(Check(input::PressChord(
      VK_MENU, VK_F4, [&] { return FindWindowOf(pid, L"#32770") != nullptr; },
      "the question whether to save")));
  ASSERT_TRUE(Check(input::PressKey(
      'N', [&] { return !IsWindow(main); }, "Notepad closing")));
  EXPECT_EQ(run->WaitForExit(), 0) << run->Messages();
}

// A truncated copy of the sand skin: a skin file that cannot be read.
std::wstring DamagedSkin() {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "damaged.skn";
  std::ifstream in(LBB_SAND_SKIN_FILE, std::ios::binary);
  std::vector<char> head(400);
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  std::ofstream(path, std::ios::binary).write(head.data(), in.gcount());
  return path.wstring();
}

TEST_F(Skinrun, ProgramRunsOnWhenTheSkinOrTheDllFails) {
  struct Case {
    const char* name;
    std::vector<std::wstring> args;
    bool engine;       // the engine still starts (with its default skin)
    const char* says;  // what skinrun says on stderr
  };
  const Case cases[] = {
      {"damaged skin", {L"--skin", DamagedSkin(), L"notepad.exe"}, true, "was not loaded"},
      {"missing skin", {L"--skin", L"Z:\\no\\such.skn", L"notepad.exe"}, true, "was not loaded"},
      {"missing DLL",
       {L"--dll", L"Z:\\no\\lbbskin.dll", L"notepad.exe"},
       false,
       "could not be loaded"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto run = Start(c.args);
    HWND main = ShowMain(*run, L"Notepad");
    ASSERT_TRUE(main);
    if (c.engine) {
      EXPECT_TRUE(check->IsSkinned(main));
      EXPECT_FALSE(MarksOf(main).skinLoaded);
    } else {
      EXPECT_FALSE(check->IsSkinned(main));
    }
    ASSERT_TRUE(CloseFromWindowMenu(main));
    EXPECT_EQ(run->WaitForExit(), 0);
    EXPECT_NE(run->Messages().find(c.says), std::string::npos) << run->Messages();
  }
}

TEST_F(Skinrun, EachUiThreadGetsTheEngineOnItselfBeforeItsFirstWindowIsShown) {
  auto run = Start({WindowsPath(LBB_THREADS_PROBE_EXE)});
  const DWORD pid = run->ProgramId();
  // The probe's window of that title.
  const auto probeWindow = [pid](const wchar_t* title) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"LbbSkinrunProbe", title); w;
         w = FindWindowExW(nullptr, w, L"LbbSkinrunProbe", title)) {
      DWORD of = 0;
      GetWindowThreadProcessId(w, &of);
      if (of == pid) return w;
    }
    return HWND{};
  };
  HWND main = nullptr, second = nullptr;
  ASSERT_TRUE(input::WaitUntil([&] {
    main = probeWindow(L"Probe main");
    second = probeWindow(L"Probe second");
    return main && second && IsWindowVisible(second);
  })) << "the probe's windows never came; skinrun said: "
      << run->Messages();
  EXPECT_NE(GetWindowThreadProcessId(main, nullptr), GetWindowThreadProcessId(second, nullptr));
  for (HWND w : {main, second}) {
    EXPECT_TRUE(check->IsSkinned(w)) << (w == main ? "main" : "second");
    EXPECT_EQ(MarksOf(w).shownAtStart, 0) << (w == main ? "main" : "second");
    EXPECT_TRUE(MarksOf(w).sawCreate) << (w == main ? "main" : "second");
  }
  // Closed by a message (the threads, not the input, are this test's point: the two windows
  // take the foreground from each other as they come up), the program ends with its code.
  ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
  EXPECT_EQ(run->WaitForExit(), 3) << run->Messages();
}

TEST_F(Skinrun, EndsWithTheProgramsExitCode) {
  EXPECT_EQ(Start({L"cmd.exe", L"/c", L"exit 7"})->WaitForExit(), 7);
  EXPECT_EQ(Start({L"no-such-program.exe"})->WaitForExit(), 127);
  EXPECT_EQ(Start({L"--colour", L"notepad.exe"})->WaitForExit(), 125);
}

}  // namespace

}  // namespace lbb::skinrun::test
