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
  ProgramHoldings first;
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // The band's File drop-down (Alt+F) opens skinned and closes with Escape.
    ASSERT_TRUE(Check(input::PressChord(
        VK_MENU, 'F', [&] { return FindWindowOf(pid, L"#32768") != nullptr; },
        "the File drop-down opens")));
    EXPECT_TRUE(ShowsSkinnedMenu(pid, "notepad-engine-file-menu"));
    ASSERT_TRUE(Check(input::PressKey(
        VK_ESCAPE, [&] { return !FindWindowOf(pid, L"#32768"); }, "the drop-down closes")));
    // File -> Open (Ctrl+O): the platform's dialog comes skinned and goes with Escape.
    HWND dialog = nullptr;
    ASSERT_TRUE(Check(input::PressChord(
        VK_CONTROL, 'O', [&] { return (dialog = FindWindowOf(pid, L"#32770")); },
        "the File -> Open dialog opens")));
    EXPECT_TRUE(check->IsSkinned(dialog));
    ASSERT_TRUE(Check(input::PressKey(
        VK_ESCAPE, [&] { return !IsWindow(dialog); }, "the dialog closes")));
    // The first round loads what the dialog needs; later rounds must not add to it.
    const ProgramHoldings now = HoldingsOf(pid);
    if (round == 0) {
      first = now;
      continue;
    }
    EXPECT_EQ(now.windows, first.windows) << "windows left behind";
    EXPECT_LE(now.handles, first.handles) << "handles left behind";
  }
  // Resized by its border, then minimised, restored and maximised from its skinned window menu.
  ASSERT_TRUE(GrowByBorder(main, 80, 50));
  EXPECT_TRUE(check->IsSkinned(main)) << "after the resize";
  ASSERT_TRUE(Check(input::BringToFront(main)));
  ASSERT_TRUE(Check(input::PressChord(
      VK_MENU, VK_SPACE, [&] { return FindWindowOf(pid, L"#32768") != nullptr; },
      "the window menu opens")));
  EXPECT_TRUE(ShowsSkinnedMenu(pid, "notepad-engine-window-menu"));
  ASSERT_TRUE(Check(input::PressKey(
      'N', [&] { return IsIconic(main) != FALSE; }, "minimising")));
  EXPECT_TRUE(UseWindowMenu(
      pid, 'R', [&] { return !IsIconic(main); }, "restoring"));
  EXPECT_TRUE(check->IsSkinned(main)) << "after restoring";
  EXPECT_TRUE(UseWindowMenu(
      pid, 'X', [&] { return IsZoomed(main) != FALSE; }, "maximising"));
  EXPECT_TRUE(ShowsProgramWindow(main, "notepad-engine-maximised", GetSysColor(COLOR_WINDOW), 0.5));
  // Typed text would be offered for saving on close: the edit is emptied first.
  SetWindowTextW(edit, L"");
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  ASSERT_TRUE(CloseFromWindowMenu(main));
  EXPECT_EQ(run->WaitForExit(), 0) << run->Messages();
}

}  // namespace
}  // namespace lbb::skinrun::test
