// The skin gallery's main form under the Windows build: a press on its first menu-bar item to
// the first paint of the drop-down it opens, median of several rounds, with the skin's painted
// menu bar (the drop-down tracked by the bar, its items owner-drawn) beside the native menu
// bar of the same form with the skinning off, measured in the same run (goal: the skinned
// median at most 1.5 times the native one).
//   bench_skinmenu.exe [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "base/win/Handles.h"
#include "bench/skinframe/BenchTiming.h"
#include "forms/Application.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenuBar.h"
#include "skin/manager/WinSkinDlg.h"
#include "tools/gallery/SkinGalleryForm.h"

namespace {

using namespace lbb;
using namespace lbb::bench;
using namespace lbb::skin;
using forms::Application;

constexpr int kDefaultRounds = 30;
constexpr double kRatioGoal = 1.5;

bool SpinUntil(const std::function<bool()>& done, double limitMs = 5000) {
  const double end = NowMs() + limitMs;
  while (!done()) {
    if (NowMs() > end) return false;
    Application->ProcessMessages();
  }
  return true;
}

void Settle() {
  SpinUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; }, 2000);
}

TWinSkinForm* SkinnedForm(HWND hwnd) {
  TSkinManage* m = SkinManagerInstance();
  TWinSkinForm* sf = m ? m->FindForm(hwnd) : nullptr;
  return sf && sf->Skinstate == kSkinIdle && sf->Subclassed() ? sf : nullptr;
}

// The end of a round: the first paint of a drop-down window has returned; the drop-down is
// closed from there (the hook runs inside its loop).
double g_painted = 0;
LRESULT CALLBACK AfterCall(int code, WPARAM wParam, LPARAM lParam) {
  const auto* c = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && c && c->message == WM_PAINT && g_painted == 0) {
    wchar_t cls[16] = {};
    GetClassNameW(c->hwnd, cls, 16);
    if (std::wstring(cls) == L"#32768") {
      g_painted = NowMs();
      EndMenu();
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool NoMenuShowing() {
  HWND m = FindWindowW(L"#32768", nullptr);
  return !m || !IsWindowVisible(m);
}

// Rounds of a posted press at screen point `at` (frame hit code HTMENU) to the drop-down's
// first paint.
bool TimeOpenings(HWND hwnd, POINT at, int rounds, std::vector<double>& ms) {
  lbb::HookHandle hook(
      SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterCall, nullptr, GetCurrentThreadId()));
  if (!hook) return false;
  for (int i = 0; i < rounds; ++i) {
    g_painted = 0;
    const double t0 = NowMs();
    PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(at.x, at.y));
    if (!SpinUntil([] { return g_painted > 0; }) || !SpinUntil(NoMenuShowing)) return false;
    ms.push_back(g_painted - t0);
    Settle();
  }
  return true;
}

POINT SkinnedButton(HWND hwnd) {
  TWinSkinForm* sf = SkinnedForm(hwnd);
  RECT w{};
  GetWindowRect(hwnd, &w);
  const RECT& b = sf->menu->Buttons[0]->bounds;
  return POINT{w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2};
}

POINT NativeItem(HWND hwnd) {
  RECT r{};
  GetMenuItemRect(hwnd, GetMenu(hwnd), 0, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool Measure(gallery::TSkinGalleryForm& form, int rounds) {
  const HWND hwnd = form.Handle();
  TWinSkinForm* sf = SkinnedForm(hwnd);
  if (!sf || !sf->menu || sf->menu->Buttons.empty()) {
    std::fprintf(stderr, "the gallery form has no painted menu bar\n");
    return false;
  }
  std::vector<double> skinned, native, warm;
  if (!TimeOpenings(hwnd, SkinnedButton(hwnd), 3, warm) ||
      !TimeOpenings(hwnd, SkinnedButton(hwnd), rounds, skinned)) {
    std::fprintf(stderr, "the painted bar's drop-down did not open\n");
    return false;
  }
  form.SetSkinning(false);
  if (!SpinUntil([&] { return SkinManagerInstance()->FindForm(hwnd) == nullptr; }) ||
      !GetMenu(hwnd)) {
    std::fprintf(stderr, "the form did not get its native menu bar back\n");
    return false;
  }
  Settle();
  if (!TimeOpenings(hwnd, NativeItem(hwnd), 3, warm) ||
      !TimeOpenings(hwnd, NativeItem(hwnd), rounds, native)) {
    std::fprintf(stderr, "the native menu bar's drop-down did not open\n");
    return false;
  }
  form.SetSkinning(true);
  SpinUntil([&] { return SkinnedForm(hwnd) != nullptr; });
  Settle();
  const Figures s = Summarise(skinned), n = Summarise(native);
  const double ratio = n.median > 0 ? s.median / n.median : 0;
  const bool met = ratio <= kRatioGoal;
  std::printf(
      "Opening the first menu drop-down (press to its first paint), %d runs each:\n"
      "  skinned median %.3f ms (min %.3f)  native median %.3f ms (min %.3f)\n"
      "  ratio %.2f  goal: <= %g (%s)\n",
      rounds, s.median, s.min, n.median, n.min, ratio, kRatioGoal, met ? "met" : "MISSED");
  std::fflush(stdout);
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : kDefaultRounds;
  Application->Initialize();
  UseSkinManager();
  auto* form = new gallery::TSkinGalleryForm(Application);
  form->Show();
  bool ok = SpinUntil([&] { return SkinnedForm(form->Handle()) != nullptr; }, 10000);
  if (!ok) std::fprintf(stderr, "the gallery form was not skinned\n");
  Settle();
  if (ok) ok = Measure(*form, rounds);
  delete form;
  Settle();
  DestroySkinManager();
  SetSkinManagerFactory(nullptr);
  Settle();
  return ok ? 0 : 1;
}
