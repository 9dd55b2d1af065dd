// skinrun on Wine's Registry Editor, Minesweeper and WordPad (64-bit build: the 32-bit
// prefix holds 64-bit copies of some of them where a 32-bit process looks first): each shows
// its window, skinned from its first window on, and closes with exit code 0. With the engine,
// each also opens a dialog from its menu band's first drop-down twice without leaving windows
// or handles behind, takes typing where it edits text, resizes, minimises, restores and
// maximises in the skin.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "resources/skin/BuiltinSkin.h"
#include "tests/win/skinrun/SkinrunSupport.h"
#include "tools/input/Input.h"

namespace lbb::skinrun::test {
namespace {

struct Program {
  std::wstring exe;
  std::string name;
  const wchar_t* title;   // the main window's caption once the program has set itself up
  COLORREF clientColour;  // the colour that covers `share` of the client area at least
  double share;
  WORD menuKey, itemKey;  // the first drop-down's accelerator, its item that opens a dialog
  const wchar_t* editor;  // the class of the child that takes typing; null: none
  bool sizable;
};

// Each program through skinrun with the fixture's check: its window skinned, saved as
// `<name><suffix>.png`, closed from its window menu with exit code 0. With the stand-in, the
// engine was started before the window was shown and before its WM_CREATE.
class WinesPrograms : public Skinrun {
 protected:
  void Exercise(SkinrunProcess& run, HWND main, const Program& p, const std::string& suffix) {
    const DWORD pid = run.ProgramId();
    HWND editor = p.editor ? FindWindowExW(main, nullptr, p.editor, nullptr) : nullptr;
    if (p.editor) {
      ASSERT_TRUE(editor) << "no editor";
      EXPECT_TRUE(Check(input::TypeText(editor, L"skinned", L"skinned")));
    }
    EXPECT_TRUE(LeavesNothingBehind(pid, 2, [&] {
      return OpensDialogFromBand(pid, p.menuKey, p.itemKey, *check, p.name + suffix);
    }));
    EXPECT_TRUE(WorksAsAWindow(main, p.sizable, *check, p.name + suffix, p.clientColour, p.share));
    if (editor) {
      // Typed text would be offered for saving on close.
      SetWindowTextW(editor, L"");
      SendMessageW(editor, EM_SETMODIFY, FALSE, 0);
    }
  }

  void RunEach(const std::string& suffix, bool standIn) {
    // The tree and list of the Registry Editor and WordPad's page are the window colour;
    // Minesweeper's unopened cells are green.
    // Registry -> Import, Game -> Custom, File -> Open.
    const Program programs[] = {
        {L"regedit.exe", "regedit", L"Registry Editor", GetSysColor(COLOR_WINDOW), 0.5, 'R', 'I',
         nullptr, true},
        {L"winemine.exe", "winemine", L"WineMine", RGB(0, 128, 0), 0.3, 'G', 'C', nullptr, false},
        {Expanded(L"%ProgramFiles%\\Windows NT\\Accessories\\wordpad.exe"), "wordpad",
         L"Document - Wine Wordpad", GetSysColor(COLOR_WINDOW), 0.5, 'F', 'O', L"RichEdit20W",
         true}};
    for (const Program& p : programs) {
      SCOPED_TRACE(p.name);
      auto run = Start({p.exe});
      HWND main = ShowMain(*run);
      ASSERT_TRUE(main);
      // WordPad shows its window before its bars and its document's name.
      EXPECT_TRUE(input::WaitUntil([&] { return input::TextOf(main) == p.title; }))
          << "the caption never became the program's own";
      EXPECT_TRUE(check->IsSkinned(main));
      if (standIn) {
        EXPECT_EQ(MarksOf(main).shownAtStart, 0);
        EXPECT_TRUE(MarksOf(main).sawCreate);
      }
      EXPECT_TRUE(ShowsProgramWindow(main, p.name + suffix, p.clientColour, p.share));
      if (!standIn) Exercise(*run, main, p, suffix);
      ASSERT_TRUE(CloseFromWindowMenu(main));
      EXPECT_EQ(run->WaitForExit(), 0) << run->Messages();
    }
  }
};

TEST_F(WinesPrograms, ShowTheirWindowsSkinnedAndClose) {
  RunEach("", true);
}

// The same with the engine's own DLL and its built-in skin.
TEST_F(WinesPrograms, WearTheEnginesBuiltInSkinAndClose) {
  check = EngineCheckFor(resources::BuiltinSkin());
  RunEach("-engine", false);
}

}  // namespace
}  // namespace lbb::skinrun::test
