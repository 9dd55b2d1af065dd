// skinrun with the engine's own DLL (lbbskin.dll beside skinrun): Wine's Notepad wears the Sand
// skin given on the command line, on the screen's pixels, from its first window; its menu band
// is painted, typing and a File -> Open dialog (skinned as well) work, and it closes with exit
// code 0.
#include <windows.h>

#include <memory>
#include <span>

#include <gtest/gtest.h>

#include "forms/Graphics.h"
#include "forms/Screenshot.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/data/FrameMatch.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinScale.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/skinrun/SkinrunSupport.h"
#include "tools/input/Input.h"

namespace lbb::skinrun::test {
namespace {

// The engine's answer and the screen: the window says it is skinned and shows the skin's frame.
class EngineCheck : public SkinnedCheck {
 public:
  explicit EngineCheck(std::span<const uint8_t> skin) {
    const int dpi = forms::ScreenPixelsPerInch();
    model_.data.Write(skin.data(), skin.size());
    model_.SetTargetDpi(dpi);
    model_.ParseSkin();
    skin::ScaleSkinModel(model_, dpi);
  }
  ::testing::AssertionResult IsSkinned(HWND hwnd) const override {
    // The engine finishes a window's set-up after it first shows: both are waited for.
    bool answers = false;
    const bool shown = input::WaitUntil([&] {
      answers = SendMessageW(hwnd, skin::SKM_ISSKINNED, 0, 0) == 1;
      if (!answers) return false;
      RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
      return skin::FrameLookShown(forms::CaptureWindow(hwnd), model_) != 0;
    });
    if (!answers) return ::testing::AssertionFailure() << "the engine does not skin the window";
    if (!shown) return ::testing::AssertionFailure() << "the screen does not show the skin's frame";
    return ::testing::AssertionSuccess();
  }
  std::wstring Dll() const override { return WindowsPath(LBB_ENGINE_DLL); }

 private:
  skin::TSkinModel model_;
};

TEST_F(Skinrun, WithTheEngineNotepadWearsTheSkinGivenAndWorks) {
  check = std::make_unique<EngineCheck>(resources::SandSkin());
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
  // File -> Open (Ctrl+O): the platform's dialog comes skinned and goes with Escape.
  HWND dialog = nullptr;
  ASSERT_TRUE(Check(input::PressChord(
      VK_CONTROL, 'O', [&] { return (dialog = FindWindowOf(run->ProgramId(), L"#32770")); },
      "the File -> Open dialog opens")));
  EXPECT_TRUE(check->IsSkinned(dialog));
  ASSERT_TRUE(Check(input::PressKey(
      VK_ESCAPE, [&] { return !IsWindow(dialog); }, "the dialog closes")));
  // Typed text would be offered for saving on close: the edit is emptied first.
  SetWindowTextW(edit, L"");
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  ASSERT_TRUE(CloseFromWindowMenu(main));
  EXPECT_EQ(run->WaitForExit(), 0) << run->Messages();
}

}  // namespace
}  // namespace lbb::skinrun::test
