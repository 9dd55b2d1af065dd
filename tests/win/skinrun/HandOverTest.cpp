// The i686 build: a 32-bit program given to the 64-bit skinrun is handed over to the 32-bit
// skinrun (named by LBBSKIN_SKINRUN_I686), which brings the 32-bit engine DLL in.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win/skinrun/SkinrunSupport.h"

namespace lbb::skinrun::test {
namespace {

TEST_F(Skinrun, TheSixtyFourBitSkinrunHandsAThirtyTwoBitProgramToTheThirtyTwoBitOne) {
  const std::wstring loader64 = WindowsPath(LBB_SKINRUN64_EXE);
  ASSERT_NE(GetFileAttributesW(loader64.c_str()), INVALID_FILE_ATTRIBUTES)
      << "the 64-bit build's skinrun is missing (build the win64 preset's skinrun first)";
  ASSERT_TRUE(SetEnvironmentVariableW(L"LBBSKIN_SKINRUN_I686", loader.c_str()));
  // The 32-bit Notepad by its own folder: the 64-bit skinrun sees the file as it is.
  SkinrunProcess run(loader64,
                     {L"--dll", check->Dll(), Expanded(L"%SystemRoot%\\syswow64\\notepad.exe")});
  HWND main = run.WaitForMainWindow(L"Notepad");
  ASSERT_TRUE(main) << "no window; skinrun said: " << run.Messages();
  EXPECT_TRUE(check->IsSkinned(main));
  EXPECT_EQ(MarksOf(main).shownAtStart, 0);
  EXPECT_TRUE(MarksOf(main).sawCreate);
  ASSERT_TRUE(CloseFromWindowMenu(main));
  EXPECT_EQ(run.WaitForExit(), 0) << run.Messages();
}

}  // namespace
}  // namespace lbb::skinrun::test
