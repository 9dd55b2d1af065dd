// skinrun on Wine's Registry Editor, Minesweeper and WordPad (64-bit build: the 32-bit
// prefix holds 64-bit copies of some of them where a 32-bit process looks first): each shows
// its window, skinned from its first window on, and closes with exit code 0.
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
};

// Each program through skinrun with the fixture's check: its window skinned, saved as
// `<name><suffix>.png`, closed from its window menu with exit code 0. With the stand-in, the
// engine was started before the window was shown and before its WM_CREATE.
class WinesPrograms : public Skinrun {
 protected:
  void RunEach(const std::string& suffix, bool standIn) {
    // The tree and list of the Registry Editor and WordPad's page are the window colour;
    // Minesweeper's unopened cells are green.
    const Program programs[] = {
        {L"regedit.exe", "regedit", L"Registry Editor", GetSysColor(COLOR_WINDOW), 0.5},
        {L"winemine.exe", "winemine", L"WineMine", RGB(0, 128, 0), 0.3},
        {Expanded(L"%ProgramFiles%\\Windows NT\\Accessories\\wordpad.exe"), "wordpad",
         L"Document - Wine Wordpad", GetSysColor(COLOR_WINDOW), 0.5}};
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
