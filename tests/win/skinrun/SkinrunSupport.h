// Helpers of skinrun's tests: skinrun started on a program (its stderr kept, the program's
// process and windows found), the question "is this window skinned?", and the pictures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/win/Handles.h"
#include "tools/input/Input.h"

namespace lbb::skinrun::test {

// A Unix path of the build (as CMake gives it) as Wine's drive Z: shows it.
std::wstring WindowsPath(const std::string& unixPath);

// skinrun.exe running a program; both are ended when the owner goes while they still run.
class SkinrunProcess {
 public:
  // Starts `loader` (a skinrun.exe) with `args`; its stderr goes to a file of its own.
  SkinrunProcess(const std::wstring& loader, const std::vector<std::wstring>& args);
  ~SkinrunProcess();
  SkinrunProcess(const SkinrunProcess&) = delete;
  SkinrunProcess& operator=(const SkinrunProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  // The program skinrun started (skinrun's child, or its grand-child after a hand-over to the
  // skinrun of the other bitness); 0 until it runs. Waits (bounded) for it.
  DWORD ProgramId();
  // The program's first visible top-level window that no other window owns, of class `cls`
  // (any class when empty); waits (bounded) for it; null when it never came.
  HWND WaitForMainWindow(const std::wstring& cls = {});
  // Waits (bounded) for skinrun's end; its exit code, or -1 when it did not end.
  long WaitForExit();
  // What skinrun wrote on stderr.
  std::string Messages() const;

 private:
  std::wstring errorFile_;
  KernelHandle process_;
  DWORD pid_ = 0;
  DWORD program_ = 0;
};

// A visible window of process `pid` of class `cls` (a dialog: "#32770", a menu: "#32768");
// null when there is none.
HWND FindWindowOf(DWORD pid, const std::wstring& cls);

// Whether a window shows the engine's skin. The stand-in engine marks the windows it starts
// on; the real engine's check adds that the frame's pixels are the skin's.
class SkinnedCheck {
 public:
  virtual ~SkinnedCheck() = default;
  virtual ::testing::AssertionResult IsSkinned(HWND hwnd) const = 0;
  // The DLL that skinrun brings in for this check.
  virtual std::wstring Dll() const = 0;
};
std::unique_ptr<SkinnedCheck> StandInCheck();
// The engine's own DLL (lbbskin.dll): the engine answers SKM_ISSKINNED and the screen shows the
// frame of `skin` (as the engine draws it at the screen's resolution); both waited for.
std::unique_ptr<SkinnedCheck> EngineCheckFor(std::span<const uint8_t> skin);

// What the stand-in engine recorded on a window it marked (0 when it did not mark it).
struct StandInMarks {
  DWORD startThread = 0;  // the thread the engine started on
  int shownAtStart = -1;  // visible top-level windows of that thread at the start
  bool skinLoaded = false;
  int scope = -1;
  bool sawCreate = false;  // the engine ran before the window took its WM_CREATE
};
StandInMarks MarksOf(HWND hwnd);

// A path with its environment variables (%ProgramFiles%, %SystemRoot%) expanded.
std::wstring Expanded(const wchar_t* path);

// Real input through tools/input, as assertions.
::testing::AssertionResult Check(const input::Result& r);
// Waits (bounded) until process `pid` shows no menu.
::testing::AssertionResult MenuClosed(DWORD pid);
// Opens the window menu (Alt+Space) of the program's active window, presses `key` for one of
// its items, and waits for `effect` (`what` names it) and for the menu to close.
::testing::AssertionResult UseWindowMenu(DWORD pid, WORD key, const std::function<bool()>& effect,
                                         const std::string& what);
// Brings the program's window to the front and closes it from its window menu; the window is
// gone. (Alt+F4 does not reach the Registry Editor's frame from its tree view.)
::testing::AssertionResult CloseFromWindowMenu(HWND main);

// The program's open popup menu (a drop-down or the window menu) is the engine's: it answers
// that it is skinned and at most half of it shows the native menu colour; its picture is saved
// as build/<preset>/screenshots/skinrun/<name>.png. Waits (bounded) for both.
::testing::AssertionResult ShowsSkinnedMenu(DWORD pid, const std::string& name);

// What a program holds while it runs: its windows (top-level, child and message-only) and its
// kernel handles (-1 where the system does not say).
struct ProgramHoldings {
  int windows = 0;
  long handles = -1;
};
ProgramHoldings HoldingsOf(DWORD pid);

// Runs `round` (a trip through the program's menus and dialogs) `rounds` times: after the
// first, which loads what the program needs, the program holds no more windows nor handles.
::testing::AssertionResult LeavesNothingBehind(
    DWORD pid, int rounds, const std::function<::testing::AssertionResult()>& round);

// Grows the window by dragging its bottom-right corner with the mouse by (dx, dy); the window
// is larger afterwards.
::testing::AssertionResult GrowByBorder(HWND hwnd, int dx, int dy);

// The band's drop-down of accelerator `menuKey` opens skinned (its picture `<name>-menu`), its
// item of accelerator `itemKey` opens a dialog of the program, skinned, and Escape closes it.
::testing::AssertionResult OpensDialogFromBand(DWORD pid, WORD menuKey, WORD itemKey,
                                               const SkinnedCheck& check, const std::string& name);

// A sizable window grows by its border and stays skinned; from its skinned window menu (picture
// `<name>-window-menu`) it minimises and restores, skinned again, and a sizable one maximises
// (picture `<name>-maximised`, checked as ShowsProgramWindow does).
::testing::AssertionResult WorksAsAWindow(HWND main, bool sizable, const SkinnedCheck& check,
                                          const std::string& name, COLORREF clientColour,
                                          double share);

// Captures the window (frame included) to build/<preset>/screenshots/skinrun/<name>.png and
// checks on its pixels that it shows the program's window: a frame around the client area
// (not the desktop's colour), and at least `share` of the client area in `clientColour`.
::testing::AssertionResult ShowsProgramWindow(HWND hwnd, const std::string& name,
                                              COLORREF clientColour, double share);

// The tests' fixture: skinrun with the check's DLL, on programs started afresh.
class Skinrun : public ::testing::Test {
 protected:
  // Wine's programs start where and as large as they were left (maximised, say, by the last
  // test): every test starts them afresh.
  void SetUp() override;
  // skinrun with the check's DLL, the extra options, and the program with its arguments.
  std::unique_ptr<SkinrunProcess> Start(std::vector<std::wstring> args) const;
  // Waits for the program's main window (of class `cls`, any when empty) and brings it to the
  // front; null (and a failure) when it never came.
  HWND ShowMain(SkinrunProcess& run, const std::wstring& cls = {}) const;

  std::unique_ptr<SkinnedCheck> check = StandInCheck();
  std::wstring loader = WindowsPath(LBB_SKINRUN_EXE);
  std::wstring sand = WindowsPath(LBB_SAND_SKIN_FILE);
};

}  // namespace lbb::skinrun::test
