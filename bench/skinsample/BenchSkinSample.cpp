// The C sample (SkinSample.exe) in three looks, alternating round by round in one run:
//   classic  no visual style, no skin;
//   Light    Wine's Light visual style (the sample asks for common controls 6), no skin;
//   skin     the sample as it ships, in the built-in skin (Light off).
// Each round starts the sample's benchmark build (SkinSampleBench.exe, beside this program)
// once per look and takes four figures, measured inside the sample's process by its probe:
//   a. start to first paint: process creation to the end of the main window's first complete
//      paint (frame with its menu bar, client, status bar; in the skin look, skinned);
//   b. a full repaint of the main window (frame and every child, to its end; the median of a
//      few per round);
//   c. 100 one-pixel resize steps of the main window, each step's repaint finished;
//   d. a real press on the menu bar's first item until its drop-down is shown, painted and idle.
// Prints the medians over the rounds, the ratios skin/Light (goal <= 1.0) and skin/classic
// (goal <= 1.5) per figure, and which goals are met. A goal missed is reported, not failed:
// the exit code is 1 only when a measurement could not be made (each wait is bounded), and
// the prefix's visual-style switch is given back as it was however the run ends.
//   bench_skinsample.exe [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "bench/skinframe/BenchTiming.h"
#include "bench/skinsample/ProbeCommands.h"
#include "bench/skinsample/VisualStyle.h"
#include "tools/input/Input.h"

namespace {

using namespace lbb::bench;
namespace probe = lbb::bench::probe;

constexpr int kDefaultRounds = 15;
constexpr int kRepaintsPerRound = 5;
constexpr int kResizeSteps = 100;
constexpr DWORD kLimitMs = 15000;
constexpr UINT kCommandLimitMs = 60000;
constexpr double kStyleGoal = 1.0, kClassicGoal = 1.5;

struct Look {
  const char* name;
  const wchar_t* argument;
  bool lightStyle;
};
constexpr std::array<Look, 3> kLooks = {{{"classic", probe::kClassicLook, false},
                                         {"Light", probe::kStyleLook, true},
                                         {"skin", probe::kSkinLook, false}}};

constexpr std::array<const char*, 4> kFigureNames = {"a. start to first paint", "b. full repaint",
                                                     "c. 100 resize steps", "d. opening a menu"};

// Per look, per figure: one value a round.
using Samples = std::array<std::array<std::vector<double>, 4>, 3>;

bool Fail(const std::string& what) {
  std::fprintf(stderr, "FAILED: %s\n", what.c_str());
  std::fflush(stderr);
  return false;
}

lbb::input::Waiting Within(DWORD limitMs) {
  lbb::input::Waiting w;
  w.limitMs = limitMs;
  return w;
}

std::wstring ProgramBeside(const wchar_t* name) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir(self);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + name;
}

// The probe's message-only window in process `pid`.
HWND ProbeOf(DWORD pid) {
  for (HWND h = FindWindowExW(HWND_MESSAGE, nullptr, probe::kWindowClass, nullptr); h;
       h = FindWindowExW(HWND_MESSAGE, h, probe::kWindowClass, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid) return h;
  }
  return nullptr;
}

// One sample process of one look: started, asked for its figures, closed; ended by force on
// any failure.
class SampleRun {
 public:
  bool Start(const Look& look, double& startedMs) {
    const std::wstring exe = ProgramBeside(L"SkinSampleBench.exe");
    std::wstring command = L"\"" + exe + L"\" " + probe::kLookOption + L" " + look.argument;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    startedMs = NowMs();
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
      return Fail("SkinSampleBench.exe cannot be started");
    process_.reset(pi.hProcess);
    lbb::KernelHandle thread(pi.hThread);
    pid_ = pi.dwProcessId;
    if (!lbb::input::WaitUntil([&] { return (probe_ = ProbeOf(pid_)) != nullptr; },
                               Within(kLimitMs))) {
      DWORD code = 0;
      GetExitCodeProcess(process_.get(), &code);
      return Fail(code == STILL_ACTIVE
                      ? "the sample's probe window did not appear"
                      : "the sample ended at its start, exit code " + std::to_string(code));
    }
    return true;
  }

  // The command's answer; false when the sample did not answer.
  bool Ask(UINT command, WPARAM wParam, LRESULT& answer) const {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(probe_, command, wParam, 0, SMTO_NORMAL, kCommandLimitMs, &r))
      return Fail("the sample did not answer command " + std::to_string(command - WM_APP));
    answer = static_cast<LRESULT>(r);
    return true;
  }

  // Waits until `command` answers a time (not 0); the time in milliseconds.
  bool WaitForTime(UINT command, double& ms, const char* what) const {
    LRESULT r = 0;
    bool answered = true;
    lbb::input::WaitUntil([&] { return !(answered = Ask(command, 0, r)) || r != 0; },
                          Within(kLimitMs));
    if (!answered) return false;
    if (r == 0) return Fail(std::string(what) + " did not happen");
    ms = static_cast<double>(r) / 1000.0;
    return true;
  }

  HWND Main() const { return lbb::input::ShownWindowOf(pid_, probe::kMainClass); }

  // Closes the sample as a user would and waits for its end.
  bool Close() {
    const HWND main = Main();
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    if (!main || WaitForSingleObject(process_.get(), kLimitMs) != WAIT_OBJECT_0)
      return Fail("the sample did not close");
    process_.reset();
    return true;
  }

  ~SampleRun() {
    if (!process_) return;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), kLimitMs);
  }

 private:
  lbb::KernelHandle process_;
  DWORD pid_ = 0;
  HWND probe_ = nullptr;
};

// A screen point on the menu bar's first item: a little right of the client area's left
// edge, in the middle of the band above the client area that answers HTMENU (the native menu
// bar, or the skin's menu band).
bool MenuBarPoint(HWND main, POINT& at) {
  POINT client{0, 0};
  ClientToScreen(main, &client);
  const auto hit = [&](int y) {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(main, WM_NCHITTEST, 0, MAKELPARAM(client.x + 12, y), SMTO_NORMAL, 2000, &r);
    return r == HTMENU;
  };
  int bottom = client.y - 1;
  while (bottom > client.y - 12 && !hit(bottom))
    --bottom;
  if (!hit(bottom)) return Fail("the main window shows no menu bar above its client area");
  int top = bottom;
  while (top > client.y - 80 && hit(top - 1))
    --top;
  at = POINT{client.x + 12, (top + bottom) / 2};
  return true;
}

bool Press(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  return SendInput(1, &in, sizeof in) == 1 || Fail("SendInput refused the mouse button");
}

// d: the press on the first menu-bar item until its drop-down is shown, painted and idle.
bool MeasureMenu(const SampleRun& run, double& ms) {
  const HWND main = run.Main();
  POINT at{};
  if (!main || !MenuBarPoint(main, at)) return false;
  if (auto r = lbb::input::MoveMouse(at, Within(kLimitMs)); !r) return Fail(r.message());
  LRESULT ignored = 0, armed = 0;
  if (!run.Ask(probe::kSettle, 0, ignored) || !run.Ask(probe::kMenuArm, 0, armed)) return false;
  if (armed != 1) return Fail("the sample could not watch the drop-down's paint");
  const double pressed = NowMs();
  if (!Press(MOUSEEVENTF_LEFTDOWN)) return false;
  double painted = 0;
  const bool opened = run.WaitForTime(probe::kMenuPainted, painted, "the drop-down's paint");
  if (!Press(MOUSEEVENTF_LEFTUP) || !opened) return false;
  ms = painted - pressed;
  return true;
}

// Runs the sample once in `look` and adds its four figures to `into`.
bool MeasureLook(const Look& look, const LightStyle& style, std::array<double, 4>& into) {
  std::string error;
  if (!style.Switch(look.lightStyle, error)) return Fail(error);
  SampleRun run;
  double started = 0, painted = 0;
  if (!run.Start(look, started)) return false;
  if (!run.WaitForTime(probe::kFirstPaint, painted, "the main window's first complete paint")) {
    LRESULT seen = 0;
    if (run.Ask(probe::kPaintsSeen, 0, seen))
      Fail(std::string("painted in the ") + look.name + " look: frame " +
           (seen & 1 ? "yes" : "no") + ", client " + (seen & 2 ? "yes" : "no") + ", status bar " +
           (seen & 4 ? "yes" : "no"));
    return false;
  }
  LRESULT shown = 0, repaint = 0, resize = 0, settled = 0;
  if (!run.Ask(probe::kLookShown, 0, shown)) return false;
  if (shown != 1) return Fail(std::string("the sample does not show the ") + look.name + " look");
  if (!run.Ask(probe::kSettle, 0, settled) ||
      !run.Ask(probe::kRepaint, kRepaintsPerRound, repaint) ||
      !run.Ask(probe::kSettle, 0, settled) || !run.Ask(probe::kResize, kResizeSteps, resize))
    return false;
  if (repaint <= 0 || resize <= 0) return Fail("the sample's main window could not be painted");
  into[0] = painted - started;
  into[1] = static_cast<double>(repaint) / 1000.0;
  into[2] = static_cast<double>(resize) / 1000.0;
  return MeasureMenu(run, into[3]) && run.Close();
}

bool Round(const LightStyle& style, int round, Samples* samples) {
  for (size_t look = 0; look < kLooks.size(); ++look) {
    std::array<double, 4> f{};
    if (!MeasureLook(kLooks[look], style, f)) return false;
    std::printf("round %2d  %-7s  a %8.2f  b %7.3f  c %8.2f  d %7.3f ms\n", round,
                kLooks[look].name, f[0], f[1], f[2], f[3]);
    std::fflush(stdout);
    if (samples)
      for (size_t i = 0; i < f.size(); ++i)
        (*samples)[look][i].push_back(f[i]);
  }
  return true;
}

const char* Verdict(double ratio, double goal) {
  return ratio <= goal ? "met" : "MISSED";
}

void PrintTable(const Samples& s, int rounds) {
  std::printf(
      "\nMedians over %d rounds (ms); goals: skin/Light <= %.1f, skin/classic <= %.1f\n"
      "%-26s %10s %10s %10s %12s %14s\n",
      rounds, kStyleGoal, kClassicGoal, "figure", "classic", "Light", "skin", "skin/Light",
      "skin/classic");
  int met = 0;
  for (size_t i = 0; i < kFigureNames.size(); ++i) {
    const double c = Summarise(s[0][i]).median, l = Summarise(s[1][i]).median,
                 k = Summarise(s[2][i]).median;
    const double toLight = l > 0 ? k / l : 0, toClassic = c > 0 ? k / c : 0;
    met += (toLight <= kStyleGoal) + (toClassic <= kClassicGoal);
    std::printf("%-26s %10.2f %10.2f %10.2f %6.2f %-6s %6.2f %-6s\n", kFigureNames[i], c, l, k,
                toLight, Verdict(toLight, kStyleGoal), toClassic, Verdict(toClassic, kClassicGoal));
  }
  std::printf("%d of %zu goals met\n", met, kFigureNames.size() * 2);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
  LightStyle style;
  std::string error;
  if (!style.Find(error)) return Fail(error), 1;
  std::printf(
      "SkinSample.exe, %d rounds of classic, Light (%ls) and skin, after one warm-up; the "
      "prefix's ThemeActive before the run: \"%ls\"\n",
      rounds, style.File().c_str(), style.Before().c_str());
  Samples samples;
  bool ok = Round(style, 0, nullptr);
  for (int r = 1; ok && r <= rounds; ++r)
    ok = Round(style, r, &samples);
  if (!style.Restore(error)) ok = Fail(error);
  if (ok) PrintTable(samples, rounds);
  return ok ? 0 : 1;
}
