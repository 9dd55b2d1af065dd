// Starts the program, waits for its window to be painted, and drives it with real mouse and
// keyboard input: types a user name, presses the backup button, then the album button, waits
// each time until the button is enabled again (answering any message box with OK), saves a
// screenshot of the window and closes it. Prints how long each step took.
//   lorvane_ui_driver PROGRAM.exe --user NAME [--backup-only | --album-only]
//                     [--screenshot PNG] [--leave-open]
#include <windows.h>

#include <cstdio>
#include <string>

#include "forms/Screenshot.h"
#include "app/Unit1.h"
#include "app/win/driver/UiWindow.h"
#include "base/win/WideText.h"

namespace {

using namespace lbb::driver;

// Places of the window's controls, in client coordinates (the window's layout).
constexpr POINT kEdit1{53 + 37, 239 + 10};
constexpr POINT kButton1{132 + 28, 237 + 12};
constexpr POINT kButton2{195 + 28, 237 + 12};
constexpr POINT kMemo1{227, 114};
constexpr DWORD kRunLimitMs = 15 * 60 * 1000;

void Print(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n,
                      nullptr, nullptr);
  utf8 += '\n';
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

class Clock {
 public:
  Clock() {
    QueryPerformanceFrequency(&f_);
    QueryPerformanceCounter(&t0_);
  }
  void Restart() { QueryPerformanceCounter(&t0_); }
  double Ms() const {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart - t0_.QuadPart) * 1000.0 / double(f_.QuadPart);
  }

 private:
  LARGE_INTEGER f_{}, t0_{};
};

struct Options {
  std::wstring program, user = L"orlend", screenshot;
  bool backup = true, album = true, leaveOpen = false;
};

bool Parse(int argc, wchar_t** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == L"--user" && hasValue) {
      o.user = argv[++i];
    } else if (a == L"--screenshot" && hasValue) {
      o.screenshot = argv[++i];
    } else if (a == L"--backup-only") {
      o.album = false;
    } else if (a == L"--album-only") {
      o.backup = false;
    } else if (a == L"--leave-open") {
      o.leaveOpen = true;
    } else if (o.program.empty() && a.rfind(L"--", 0) != 0) {
      o.program = a;
    } else {
      return false;
    }
  }
  return !o.program.empty();
}

// Polls `done` every millisecond until it holds or `limitMs` has passed.
template <class F>
bool WaitFor(F done, DWORD limitMs) {
  const ULONGLONG end = GetTickCount64() + limitMs;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(1);
  }
  return true;
}

// Presses a run's button and waits until the run has ended: the button was disabled and is
// enabled again. Message boxes that the run shows are printed and answered with OK.
bool RunButton(HWND form, POINT where, const wchar_t* name, DWORD pid) {
  HWND button = ChildAt(form, where);
  if (!button) return false;
  SetForegroundWindow(form);
  Clock clock;
  ClickClient(form, where);
  bool seenDisabled = false;
  const bool ended = WaitFor(
      [&] {
        if (HWND box = FindDialog(pid)) {
          Print(L"message box: " + DialogText(box));
          SetForegroundWindow(box);
          PressKey(VK_RETURN);
          WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
        }
        const bool enabled = IsWindowEnabled(button);
        seenDisabled = seenDisabled || !enabled;
        return seenDisabled && enabled;
      },
      kRunLimitMs);
  if (!ended) return false;
  wchar_t figure[64];
  swprintf(figure, 64, L"%.0f ms", clock.Ms());
  Print(std::wstring(name) + L": button press to enabled button " + figure);
  return true;
}

int Drive(const Options& o) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + o.program + L"\"";
  Clock clock;
  if (!CreateProcessW(o.program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi)) {
    Print(L"cannot start " + o.program);
    return 1;
  }
  CloseHandle(pi.hThread);
  const std::wstring caption = lbb::Wide(lbb::String(lbb::app::kMainCaption));
  HWND form = nullptr;
  const bool shown =
      WaitFor([&] { return (form = FindProgramWindow(pi.dwProcessId, caption)); }, 30000) &&
      WaitFor([&] { return Painted(form); }, 30000);
  if (!shown) {
    Print(L"the program's window did not appear");
    TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    return 1;
  }
  wchar_t figure[64];
  swprintf(figure, 64, L"%.0f ms", clock.Ms());
  Print(std::wstring(L"window start to first paint: ") + figure);

  SetForegroundWindow(form);
  Sleep(200);
  ClickClient(form, kEdit1);
  Sleep(100);
  TypeUnicode(o.user);
  Sleep(100);
  bool ok = true;
  HWND memo = ChildAt(form, kMemo1);
  if (o.backup) {
    ok = RunButton(form, kButton1, L"backup", pi.dwProcessId) && ok;
    Sleep(300);  // the last workers' lines reach the log
    if (memo) Print(L"log: " + LastLine(memo));
  }
  if (o.album && ok) {
    ok = RunButton(form, kButton2, L"album", pi.dwProcessId) && ok;
    Sleep(300);
    if (memo) Print(L"log: " + LastLine(memo));
  }
  if (!o.screenshot.empty()) {
    SetForegroundWindow(form);
    Sleep(300);
    const std::string path = lbb::TextToUtf8(lbb::FromWide(o.screenshot));
    if (lbb::forms::SaveWindowPng(form, path)) {
      Print(L"screenshot: " + o.screenshot);
    } else {
      Print(L"no screenshot could be taken");
    }
  }
  if (!o.leaveOpen) {
    PostMessageW(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) {
      Print(L"the program did not close; ending it");
      TerminateProcess(pi.hProcess, 1);
      ok = false;
    }
  }
  CloseHandle(pi.hProcess);
  return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options o;
  if (!Parse(argc, argv, o)) {
    std::fputs(
        "usage: lorvane_ui_driver PROGRAM.exe [--user NAME] [--backup-only|--album-only]\n"
        "                         [--screenshot PNG] [--leave-open]\n",
        stderr);
    return 2;
  }
  return Drive(o);
}
