// skinsample_driver.exe: drives SkinSample.exe from outside with real keys and saves a
// picture of each state under SHOTS, each checked on its pixels first:
//   01-main.png    the main window wears the built-in skin's frame;
//   02-dialog.png  the dialog of standard controls wears it, every control of the mapping's
//                  classes answers that it is skinned;
//   03-menu.png    the popup menu is skinned and not painted in the native menu colour.
//
//   skinsample_driver SkinSample.exe --shots DIR
//
// Exits 0 when every step worked, 1 (saying which step failed) otherwise.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/Text.h"
#include "base/win/Handles.h"
#include "base/win/WideText.h"
#include "forms/Forms.h"
#include "forms/Screenshot.h"
#include "resources/skin/BuiltinSkin.h"
#include "skin/data/FrameMatch.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinScale.h"
#include "skin/win/SkinMessages.h"
#include "tools/input/Input.h"

namespace {

constexpr DWORD kLimitMs = 10000;
constexpr DWORD kCloseLimitMs = 15000;

void Print(const std::string& text) {
  std::fprintf(stdout, "%s\n", text.c_str());
  std::fflush(stdout);
}

bool Fail(const std::string& what) {
  Print("FAILED: " + what);
  return false;
}

lbb::input::Waiting Within(DWORD limitMs) {
  lbb::input::Waiting w;
  w.limitMs = limitMs;
  return w;
}

std::string ClassOf(HWND hwnd) {
  wchar_t name[128] = {};
  GetClassNameW(hwnd, name, 128);
  return lbb::TextToUtf8(lbb::FromWide(std::wstring_view(name)));
}

// The built-in skin at the screen's resolution, as the sample shows it.
const lbb::skin::TSkinModel& Skin() {
  static const auto model = [] {
    auto m = std::make_unique<lbb::skin::TSkinModel>();
    const auto bytes = lbb::resources::BuiltinSkin();
    m->data.Write(bytes.data(), bytes.size());
    m->SetTargetDpi(lbb::forms::ScreenPixelsPerInch());
    m->ParseSkin();
    lbb::skin::ScaleSkinModel(*m, lbb::forms::ScreenPixelsPerInch());
    return m;
  }();
  return *model;
}

bool AnswersSkinned(HWND hwnd) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(hwnd, lbb::skin::SKM_ISSKINNED, 0, 0, SMTO_ABORTIFHUNG, 2000,
                             &answer) != 0 &&
         answer == 1;
}

bool SavePicture(const lbb::PixelBuffer& picture, const std::filesystem::path& file) {
  if (picture.Empty()) return Fail(file.filename().string() + ": nothing could be captured");
  if (!lbb::forms::SavePng(picture, file.string()))
    return Fail(file.filename().string() + ": could not be written");
  Print("saved " + file.string());
  return true;
}

// The window classes of the mapping's table, as the sample's windows hold them.
bool IsMappedControl(HWND h) {
  static const std::array<const char*, 12> kMapped = {"Button",
                                                      "Edit",
                                                      "ComboBox",
                                                      "ListBox",
                                                      "SysListView32",
                                                      "SysTabControl32",
                                                      "msctls_trackbar32",
                                                      "msctls_progress32",
                                                      "msctls_updown32",
                                                      "SysDateTimePick32",
                                                      "SysHeader32",
                                                      "msctls_statusbar32"};
  const std::string cls = ClassOf(h);
  return std::find_if(kMapped.begin(), kMapped.end(), [&](const char* m) { return cls == m; }) !=
         kMapped.end();
}

BOOL CALLBACK CollectMapped(HWND h, LPARAM p) {
  if (IsWindowVisible(h) && IsMappedControl(h))
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
  return TRUE;
}

std::vector<HWND> MappedControls(HWND top) {
  std::vector<HWND> all;
  EnumChildWindows(top, &CollectMapped, reinterpret_cast<LPARAM>(&all));
  return all;
}

// Every mapped control of the window shows on the screen as more than one colour: it is
// painted, not covered by its parent's background nor an area the screen has not drawn.
bool ControlsPainted(HWND top) {
  for (HWND h : MappedControls(top)) {
    const lbb::PixelBuffer shown = lbb::forms::CaptureWindow(h);
    if (shown.Empty()) return false;
    const lbb::Pixel first = shown.Row(0)[0] & 0xFFFFFF;
    bool varied = false;
    for (int y = 0; y < shown.Height() && !varied; ++y)
      for (int x = 0; x < shown.Width() && !varied; ++x)
        varied = (shown.Row(y)[x] & 0xFFFFFF) != first;
    if (!varied) return false;
  }
  return true;
}

// Waits until `top` is skinned, shows the skin's frame on the screen and its client area is
// painted, then saves it.
bool ShotSkinned(HWND top, const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  if (auto r = lbb::input::BringToFront(top, Within(kLimitMs)); !r)
    return Fail(name + ": " + r.message());
  lbb::PixelBuffer picture;
  const bool shows = lbb::input::WaitUntil(
      [&] {
        if (!AnswersSkinned(top) || !ControlsPainted(top)) return false;
        picture = lbb::forms::CaptureWindow(top);
        return !picture.Empty() && lbb::skin::FrameLookShown(picture, Skin()) != 0;
      },
      Within(kLimitMs));
  if (!shows) return Fail(name + ": the window does not show the skin's frame and its controls");
  return SavePicture(picture, file);
}

bool ControlsSkinned(HWND dialog) {
  std::string missing;
  const std::vector<HWND> mapped = MappedControls(dialog);
  for (HWND h : mapped)
    if (!AnswersSkinned(h)) missing += " " + ClassOf(h) + "#" + std::to_string(GetDlgCtrlID(h));
  Print("dialog controls of the mapped classes: " + std::to_string(mapped.size()));
  if (mapped.empty()) return Fail("the dialog holds none of the mapped controls");
  if (!missing.empty()) return Fail("controls without a skinner:" + missing);
  return true;
}

// The share of the picture's pixels in the native menu colour.
double NativeMenuShare(const lbb::PixelBuffer& picture) {
  const COLORREF c = GetSysColor(COLOR_MENU);
  const lbb::Pixel native = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  long same = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if ((picture.Row(y)[x] & 0xFFFFFF) == native) ++same;
  return picture.Empty() ? 1.0 : double(same) / (double(picture.Width()) * picture.Height());
}

bool DriveDialog(HWND main, DWORD pid, const std::filesystem::path& shots) {
  HWND dialog = nullptr;
  auto r = lbb::input::PressKey(
      VK_F2, [&] { return (dialog = lbb::input::ShownWindowOf(pid, L"#32770")) != nullptr; },
      "the dialog opening on F2", Within(kLimitMs));
  if (!r) return Fail(r.message());
  if (!ShotSkinned(dialog, shots / "02-dialog.png")) return false;
  if (!ControlsSkinned(dialog)) return false;
  r = lbb::input::PressKey(
      VK_ESCAPE, [&] { return !IsWindow(dialog); }, "the dialog closing on Escape",
      Within(kLimitMs));
  if (!r) return Fail(r.message());
  return lbb::input::BringToFront(main, Within(kLimitMs)).ok() || Fail("main window to front");
}

bool DriveMenu(HWND main, DWORD pid, const std::filesystem::path& shots) {
  HWND popup = nullptr;
  auto r = lbb::input::PressKey(
      VK_F3, [&] { return (popup = lbb::input::ShownWindowOf(pid, L"#32768")) != nullptr; },
      "the popup menu opening on F3", Within(kLimitMs));
  if (!r) return Fail(r.message());
  RECT pr{}, mr{}, both{};
  lbb::PixelBuffer menu;
  bool answers = false;
  const bool skinned = lbb::input::WaitUntil(
      [&] {
        GetWindowRect(popup, &pr);
        menu = lbb::forms::CaptureScreen(pr);
        answers = AnswersSkinned(popup);
        return answers && !menu.Empty() && NativeMenuShare(menu) < 0.5;
      },
      Within(kLimitMs));
  GetWindowRect(main, &mr);
  UnionRect(&both, &mr, &pr);
  const lbb::PixelBuffer picture = lbb::forms::CaptureScreen(both);
  const bool closed = lbb::input::PressKey(
                          VK_ESCAPE, [&] { return !IsWindow(popup) || !IsWindowVisible(popup); },
                          "the popup menu closing on Escape", Within(kLimitMs))
                          .ok();
  if (!skinned)
    return Fail("03-menu.png: the popup menu is not skinned (answers " + std::to_string(answers) +
                ", native colour share " + std::to_string(NativeMenuShare(menu)) + ")");
  if (!closed) return Fail("the popup menu did not close");
  return SavePicture(picture, shots / "03-menu.png");
}

int Drive(const std::wstring& program, const std::filesystem::path& shots) {
  std::filesystem::create_directories(shots);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + program + L"\"";
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return Fail("cannot start the sample"), 1;
  const lbb::KernelHandle process(pi.hProcess), thread(pi.hThread);
  HWND main = nullptr;
  if (!lbb::input::WaitUntil(
          [&] {
            return (main = lbb::input::ShownWindowOf(pi.dwProcessId, L"LbbSkinSample")) != nullptr;
          },
          Within(kLimitMs))) {
    TerminateProcess(process.get(), 1);
    return Fail("the sample's window did not appear"), 1;
  }
  bool ok = ShotSkinned(main, shots / "01-main.png") && DriveDialog(main, pi.dwProcessId, shots) &&
            DriveMenu(main, pi.dwProcessId, shots);
  PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.get(), kCloseLimitMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    ok = Fail("the sample did not close");
  }
  return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetProcessDPIAware();
  if (argc != 4 || std::wstring(argv[2]) != L"--shots") {
    std::fputs("usage: skinsample_driver SkinSample.exe --shots DIR\n", stderr);
    return 2;
  }
  return Drive(argv[1], std::filesystem::path(argv[3]));
}
