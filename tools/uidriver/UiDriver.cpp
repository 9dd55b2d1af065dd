// Starts the program, waits for its window to be painted, and drives it with real mouse and
// keyboard input: types a user name, presses the backup button, then the album button, waits
// each time until the run has ended (answering any message box with OK), saves a screenshot
// of the painted window (which must show the built-in skin's frame) and closes it. Prints how long
// each step took. Every step waits for its effect; a step whose effect never comes is printed and
// the driver exits with 1.
//   lorvane_ui_driver PROGRAM.exe --user NAME [--backup-only | --album-only | --start-only]
//                     [--screenshot PNG] [--leave-open]
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/Unit1.h"
#include "base/Text.h"
#include "base/win/Handles.h"
#include "base/win/WideText.h"
#include "forms/Graphics.h"
#include "forms/Screenshot.h"
#include "resources/skin/BuiltinSkin.h"
#include "skin/data/FrameMatch.h"
#include "skin/data/SkinScale.h"
#include "tools/input/Input.h"
#include "tools/uidriver/UiWindow.h"

namespace {

using namespace lbb::driver;

// Places of the window's controls, in client coordinates of the window's design at 96 pixels
// per inch (AtScreen gives them at the screen's resolution, which the window is scaled to).
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
    } else if (a == L"--start-only") {  // first paint, then close: no run
      o.backup = o.album = false;
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

// Every wait of the driver ends when its condition holds; these bounds only turn a program
// that never gets there into a failure.
constexpr DWORD kWindowLimitMs = 30000;
constexpr DWORD kCloseLimitMs = 15000;

lbb::input::Waiting Within(DWORD limitMs) {
  lbb::input::Waiting w;
  w.limitMs = limitMs;
  return w;
}

// A design point of the window at the screen's resolution, as the form library scales it.
POINT AtScreen(POINT design) {
  return POINT{lbb::forms::ScreenPixels(design.x), lbb::forms::ScreenPixels(design.y)};
}

// Prints a failed input step; false.
bool Failed(const wchar_t* step, const lbb::input::Result& r) {
  Print(std::wstring(step) + L" failed: " + lbb::Wide(lbb::Utf8ToText(r.message())));
  return false;
}

// A client point of the form as a client point of `child`.
POINT InChild(HWND form, HWND child, POINT client) {
  MapWindowPoints(form, child, &client, 1);
  return client;
}

// Answers a message box of the program with a real Enter key press; false when it stays.
bool AnswerBox(HWND box) {
  Print(L"message box: " + DialogText(box));
  const auto gone = [box] { return !IsWindow(box) || !IsWindowVisible(box); };
  if (auto r = lbb::input::BringToFront(box); !r && !gone()) return Failed(L"answering", r);
  if (auto r = lbb::input::PressKey(VK_RETURN, gone, "closing the message box"); !r) {
    return Failed(L"answering", r);
  }
  return true;
}

// A run has started once its button has been seen disabled, the log has grown or a message
// box has come; it has ended when its button is enabled again and every worker of the run has
// ended: a worker ends only after the window has put its log line in, so the log is complete.
class RunWatch {
 public:
  RunWatch(DWORD pid, HWND button, HWND memo)
      : pid_(pid),
        button_(button),
        memo_(memo),
        lines_(LineCount(memo)),
        idleThreads_(ThreadCount(pid)) {}
  // Checks once; true when the run has ended.
  bool Ended() {
    if (HWND box = FindDialog(pid_)) {
      started_ = true;
      answered_ = AnswerBox(box) && answered_;
    }
    const bool enabled = IsWindowEnabled(button_);
    started_ = started_ || !enabled || LineCount(memo_) > lines_;
    if (started_ && enabled && enabledMs_ < 0) enabledMs_ = clock_.Ms();
    return started_ && enabled && ThreadCount(pid_) <= idleThreads_;
  }
  // The program has taken the click (a skinned button's click returns only then): a run that
  // ended before the first look, leaving no trace, has ended all the same.
  void ClickTaken() { started_ = true; }
  double EnabledMs() const { return enabledMs_; }
  bool Answered() const { return answered_; }

 private:
  DWORD pid_;
  HWND button_, memo_;
  int lines_, idleThreads_;
  Clock clock_;
  bool started_ = false, answered_ = true;
  double enabledMs_ = -1;
};

// Clicks a run's button and waits until the run has ended, answering the message boxes it
// shows. Prints the time from the click to the enabled button.
bool RunButton(HWND form, HWND memo, POINT where, const wchar_t* name, DWORD pid) {
  HWND button = ChildAt(form, where);
  if (!button) {
    Print(std::wstring(L"no ") + name + L" button");
    return false;
  }
  if (auto r = lbb::input::BringToFront(form); !r) return Failed(name, r);
  RunWatch watch(pid, button, memo);
  const bool skinned = IsSkinnedButton(button);
  const auto shows =
      skinned ? lbb::input::PressShows::PushedState : lbb::input::PressShows::Capture;
  if (auto r = lbb::input::Click(button, InChild(form, button, where), {}, shows); !r) {
    return Failed(name, r);
  }
  if (skinned) watch.ClickTaken();
  if (!lbb::input::WaitUntil([&] { return watch.Ended(); }, Within(kRunLimitMs))) {
    Print(std::wstring(name) + L": the run did not end");
    return false;
  }
  wchar_t figure[64];
  swprintf(figure, 64, L"%.0f ms", watch.EnabledMs());
  Print(std::wstring(name) + L": button press to enabled button " + figure);
  return watch.Answered();
}

// Clicks into the user-name box and types the name; false (printed) when the text did not
// arrive.
bool EnterUser(HWND form, const std::wstring& user) {
  const POINT at = AtScreen(kEdit1);
  HWND edit = ChildAt(form, at);
  if (!edit) {
    Print(L"no user-name box");
    return false;
  }
  if (auto r = lbb::input::BringToFront(form); !r) return Failed(L"typing the user name", r);
  if (auto r = lbb::input::Click(edit, InChild(form, edit, at)); !r) {
    return Failed(L"clicking the user-name box", r);
  }
  // A name kept from an earlier run is replaced by the typed one.
  SendMessageW(edit, EM_SETSEL, 0, -1);
  if (auto r = lbb::input::TypeText(edit, user, user); !r) {
    return Failed(L"typing the user name", r);
  }
  return true;
}

// The program's built-in skin, read as the program reads it: at the screen's DPI.
const lbb::skin::TSkinModel& BuiltinSkin() {
  static const std::unique_ptr<lbb::skin::TSkinModel> skin = [] {
    auto m = std::make_unique<lbb::skin::TSkinModel>();
    const auto bytes = lbb::resources::BuiltinSkin();
    const int dpi = lbb::forms::ScreenPixelsPerInch();
    m->data.Write(bytes.data(), bytes.size());
    m->SetTargetDpi(dpi);
    m->ParseSkin();
    lbb::skin::ScaleSkinModel(*m, dpi);
    return m;
  }();
  return *skin;
}

// Saves a picture of the window as the screen shows it, once the screen shows the window
// painted and wearing the built-in skin's frame; a picture that never shows it is not saved
// and fails the run (a picture named after the skinned window must show it).
bool SaveScreenshot(HWND form, const std::wstring& file) {
  if (auto r = lbb::input::BringToFront(form); !r) return Failed(L"the screenshot", r);
  if (!lbb::input::WaitUntil([&] { return Painted(form); }, Within(kWindowLimitMs))) {
    Print(L"the window was not painted; no screenshot");
    return false;
  }
  lbb::PixelBuffer picture;
  const bool skinned = lbb::input::WaitUntil(
      [&] {
        picture = lbb::forms::CaptureWindow(form);
        return !picture.Empty() && lbb::skin::FrameLookShown(picture, BuiltinSkin()) != 0;
      },
      Within(kWindowLimitMs));
  if (picture.Empty()) {
    Print(L"no screenshot could be taken");
    return false;
  }
  if (!lbb::forms::SavePng(picture, lbb::TextToUtf8(lbb::FromWide(file)))) {
    Print(L"the screenshot could not be written to " + file);
    return false;
  }
  if (!skinned) {
    Print(L"the screenshot does not show the skin's frame: " + file);
    return false;
  }
  Print(L"screenshot (the skinned window): " + file);
  return true;
}

// Runs the steps the options ask for on the shown window.
bool DriveWindow(const Options& o, HWND form, DWORD pid) {
  if (!o.backup && !o.album) return o.screenshot.empty() || SaveScreenshot(form, o.screenshot);
  if (!EnterUser(form, o.user)) return false;
  HWND memo = ChildAt(form, AtScreen(kMemo1));
  if (!memo) {
    Print(L"no log");
    return false;
  }
  const auto run = [&](POINT where, const wchar_t* name) {
    if (!RunButton(form, memo, where, name, pid)) return false;
    Print(L"log: " + LastLine(memo));
    return true;
  };
  if (o.backup && !run(AtScreen(kButton1), L"backup")) return false;
  if (o.album && !run(AtScreen(kButton2), L"album")) return false;
  return o.screenshot.empty() || SaveScreenshot(form, o.screenshot);
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
  const lbb::KernelHandle process(pi.hProcess), thread(pi.hThread);
  const std::wstring caption = lbb::Wide(lbb::String(lbb::app::kMainCaption));
  HWND form = nullptr;
  const auto within = Within(kWindowLimitMs);
  const bool shown =
      lbb::input::WaitUntil(
          [&] { return (form = FindProgramWindow(pi.dwProcessId, caption)) != nullptr; }, within) &&
      lbb::input::WaitUntil([&] { return Painted(form); }, within);
  if (!shown) {
    Print(L"the program's window did not appear");
    TerminateProcess(process.get(), 1);
    return 1;
  }
  wchar_t figure[64];
  swprintf(figure, 64, L"%.0f ms", clock.Ms());
  Print(std::wstring(L"window start to first paint: ") + figure);

  bool ok = DriveWindow(o, form, pi.dwProcessId);
  if (!o.leaveOpen || !ok) {
    PostMessageW(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), kCloseLimitMs) != WAIT_OBJECT_0) {
      Print(L"the program did not close; ending it");
      TerminateProcess(process.get(), 1);
      ok = false;
    }
  }
  return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // The screen's resolution (the program's window is scaled to it) is reported only to a
  // DPI-aware process; the program says so in its manifest, the driver here.
  SetProcessDPIAware();
  Options o;
  if (!Parse(argc, argv, o)) {
    std::fputs(
        "usage: lorvane_ui_driver PROGRAM.exe [--user NAME] [--backup-only|--album-only|"
        "--start-only]\n"
        "                         [--screenshot PNG] [--leave-open]\n",
        stderr);
    return 2;
  }
  return Drive(o);
}
