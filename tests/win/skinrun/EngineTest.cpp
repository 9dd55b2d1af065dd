// skinrun with the engine's own DLL (lbbskin.dll beside skinrun): Wine's Notepad wears the Sand
// skin given on the command line, on the screen's pixels, from its first window; its menu band
// is painted and its drop-down and window menu open skinned, typing and a File -> Open dialog
// (skinned as well) work, menus and dialog opened again leave no window or handle behind, the
// window resizes by its border, minimises, restores and maximises in the skin, and it closes
// with exit code 0.
#include <windows.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "resources/skins/sand/SandSkin.h"
#include "tests/win/skinrun/SkinrunSupport.h"
#include "tools/input/Input.h"

namespace lbb::skinrun::test {
namespace {

TEST_F(Skinrun, WithTheEngineNotepadWearsTheSkinGivenAndWorks) {
  check = EngineCheckFor(resources::SandSkin());
  auto run = Start({L"--skin", sand, L"notepad.exe"});
  HWND main = ShowMain(*run, L"Notepad");
  ASSERT_TRUE(main);
  EXPECT_TRUE(check->IsSkinned(main));
  EXPECT_TRUE(ShowsProgramWindow(main, "notepad-engine", GetSysColor(COLOR_WINDOW), 0.5));
  // The native menu bar became the painted band: the window has no menu bar row of its own.
  MENUBARINFO bar{};
  bar.cbSize = sizeof bar;
  EXPECT_FALSE(GetMenuBarInfo(main, OBJID_MENU, 0, &bar) && bar.rcBar.bottom > bar.rcBar.top)
      << "the native menu bar is still there";
  HWND edit = FindWindowExW(main, nullptr, L"Edit", nullptr);
  ASSERT_TRUE(edit);
  EXPECT_TRUE(Check(input::TypeText(edit, L"skinned", L"skinned")));
  const DWORD pid = run->ProgramId();
  // The band's File drop-down (Alt+F) opens skinned and closes with Escape; File -> Open
  // (Ctrl+O): the platform's dialog comes skinned and goes with Escape.
  EXPECT_TRUE(LeavesNothingBehind(pid, 3, [&]() -> ::testing::AssertionResult {
    if (auto r = Check(input::PressChord(
            VK_MENU, 'F', [&] { return FindWindowOf(pid, L"#32768") != nullptr; },
            "the File drop-down opening"));
        !r)
      return r;
    if (auto r = ShowsSkinnedMenu(pid, "notepad-engine-file-menu"); !r) return r;
    if (auto r = Check(input::PressKey(
            VK_ESCAPE, [&] { return !FindWindowOf(pid, L"#32768"); }, "the drop-down closing"));
        !r)
      return r;
    HWND dialog = nullptr;
    if (auto r = Check(input::PressChord(
            VK_CONTROL, 'O', [&] { return (dialog = FindWindowOf(pid, L"#32770")) != nullptr; },
            "the File -> Open dialog opening"));
        !r)
      return r;
    if (auto r = check->IsSkinned(dialog); !r) return r << " (the dialog)";
    return Check(input::PressKey(
        VK_ESCAPE, [&] { return !IsWindow(dialog); }, "the dialog closing"));
  }));
  EXPECT_TRUE(WorksAsAWindow(main, true, *check, "notepad-engine", GetSysColor(COLOR_WINDOW), 0.5));
  // Typed text would be offered for saving on close: the edit is emptied first.
  SetWindowTextW(edit, L"");
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  ASSERT_TRUE(CloseFromWindowMenu(main));
  EXPECT_EQ(run->WaitForExit(), 0) << run->Messages();
}

}  // namespace
}  // namespace lbb::skinrun::test
