// The skin gallery's main form under the Windows build, with every control kind the form
// library offers. Two figures, each beside its goal:
// - skinning the form: from the making of its form skinner (the manager's AddForm) to the
//   end of the deferred initialisation (every control skinner attached, frame fitted), median
//   of several rounds (goal: at most 20 ms): for new forms skinned as they are shown (the
//   program's usual path), and for the shown form unskinned and skinned again, with what one
//   frame change of the visible window costs the platform beside it;
// - a full repaint of the form (frame, client and every child, RDW_UPDATENOW) skinned,
//   beside the same repaint with the skinning off, measured in the same run (goal: the
//   skinned median at most twice the plain one).
//   bench_skincontrols.exe [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "bench/skinframe/BenchTiming.h"
#include "forms/Application.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "tools/gallery/SkinGalleryForm.h"

namespace {

using namespace lbb;
using namespace lbb::bench;
using namespace lbb::skin;
using forms::Application;

constexpr int kDefaultRounds = 30;
constexpr double kSkinGoalMs = 20.0;
constexpr double kRepaintRatioGoal = 2.0;

// Handles messages without sleeping until `done` holds or `limitMs` passed.
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

// Rounds of unskinning the form (the skin data switched off) and skinning it again (switched
// on: after its delay the manager hands the form to AddForm, which makes the form skinner and
// posts the deferred set-up); the time from the form skinner's making to the end of that set-up.
bool MeasureSkinning(gallery::TSkinGalleryForm& form, int rounds) {
  const HWND hwnd = form.Handle();
  std::vector<double> ms;
  size_t skinners = 0;
  for (int i = 0; i < rounds; ++i) {
    form.SetSkinning(false);
    if (!SpinUntil([&] { return SkinManagerInstance()->FindForm(hwnd) == nullptr; })) {
      std::fprintf(stderr, "the form was not unskinned\n");
      return false;
    }
    Settle();
    // Switching on runs the manager's deferred action after its delay; the time counts from
    // the moment the form skinner is made for the form to the end of its deferred set-up
    // (the paints that follow are the window's normal painting, measured below).
    double t0 = 0, t1 = 0;
    form.SkinData1->OnBeforeSkinForm = [&](forms::TObject*, HWND h, const std::u16string&) {
      if (h == hwnd) t0 = NowMs();
    };
    form.SkinData1->OnAfterSkinForm = [&](forms::TObject*, HWND h, const std::u16string&) {
      if (h == hwnd) t1 = NowMs();
    };
    form.SetSkinning(true);
    const bool again = SpinUntil([&] { return t1 > 0 && SkinnedForm(hwnd) != nullptr; });
    form.SkinData1->OnBeforeSkinForm = nullptr;
    form.SkinData1->OnAfterSkinForm = nullptr;
    if (!again || t0 <= 0) {
      std::fprintf(stderr, "the form was not skinned again\n");
      return false;
    }
    ms.push_back(t1 - t0);
    skinners = SkinnedForm(hwnd)->Controls().size();
    Settle();
  }
  std::printf("Control skinners attached to the gallery form: %zu\n", skinners);
  // For comparison: what the platform takes for one frame change of this visible window (a
  // resize by a pixel with its frame recalculated, as the skin's frame fit does once).
  RECT w{};
  GetWindowRect(hwnd, &w);
  int grow = 1;
  ReportPart("one frame change of the window (platform)", TimeRuns(rounds, [&] {
               SetWindowPos(hwnd, nullptr, 0, 0, w.right - w.left + grow, w.bottom - w.top,
                            SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
               grow = 1 - grow;
             }));
  SetWindowPos(hwnd, nullptr, 0, 0, w.right - w.left, w.bottom - w.top,
               SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
  Settle();
  return ReportGoal("Skinning the shown gallery form again (AddForm to the end of its set-up)", ms,
                    kSkinGoalMs);
}

// Rounds of making and showing a second gallery form, as a program opens a form: the manager
// skins its window as it is activated (hidden while its frame is fitted); the time from the
// making of its form skinner to the end of the deferred set-up (whichever of the two forms'
// skin data serves it).
bool MeasureNewForms(gallery::TSkinGalleryForm& first, int rounds) {
  std::vector<double> ms;
  for (int i = 0; i < rounds; ++i) {
    double t0 = 0, t1 = 0;
    HWND made = nullptr;
    const auto before = [&](forms::TObject*, HWND h, const std::u16string&) {
      if (h != first.Handle() && !made) {
        made = h;
        t0 = NowMs();
      }
    };
    const auto after = [&](forms::TObject*, HWND h, const std::u16string&) {
      if (h == made) t1 = NowMs();
    };
    auto* form = new gallery::TSkinGalleryForm(Application);
    for (TSkinData* data : {first.SkinData1, form->SkinData1}) {
      data->OnBeforeSkinForm = before;
      data->OnAfterSkinForm = after;
    }
    form->Show();
    const bool done = SpinUntil([&] { return t1 > 0; });
    first.SkinData1->OnBeforeSkinForm = nullptr;
    first.SkinData1->OnAfterSkinForm = nullptr;
    delete form;
    Settle();
    if (!done || t0 <= 0) {
      std::fprintf(stderr, "the new form was not skinned\n");
      return false;
    }
    ms.push_back(t1 - t0);
  }
  return ReportGoal("Skinning a new gallery form as it is shown (AddForm to the end of its set-up)",
                    ms, kSkinGoalMs);
}

std::vector<double> Repaints(HWND hwnd, int runs) {
  return TimeRuns(runs, [hwnd] {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  });
}

bool MeasureRepaint(gallery::TSkinGalleryForm& form, int runs) {
  const HWND hwnd = form.Handle();
  Repaints(hwnd, 3);  // pictures made once and kept
  const Figures skinned = Summarise(Repaints(hwnd, runs));
  form.SetSkinning(false);
  if (!SpinUntil([&] { return SkinManagerInstance()->FindForm(hwnd) == nullptr; })) return false;
  Settle();
  Repaints(hwnd, 3);
  const Figures plain = Summarise(Repaints(hwnd, runs));
  form.SetSkinning(true);
  SpinUntil([&] { return SkinnedForm(hwnd) != nullptr; });
  Settle();
  const double ratio = plain.median > 0 ? skinned.median / plain.median : 0;
  const bool met = ratio <= kRepaintRatioGoal;
  std::printf(
      "Full repaint of the gallery form, %d runs each:\n  skinned median %.3f ms (min %.3f)"
      "  plain median %.3f ms (min %.3f)\n  ratio %.2f  goal: <= %g (%s)\n",
      runs, skinned.median, skinned.min, plain.median, plain.min, ratio, kRepaintRatioGoal,
      met ? "met" : "MISSED");
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
  if (ok) {
    const bool made = MeasureNewForms(*form, rounds);
    const bool skinning = MeasureSkinning(*form, rounds);
    const bool repaint = MeasureRepaint(*form, rounds * 2);
    ok = made && skinning && repaint;
  }
  delete form;
  Settle();
  DestroySkinManager();
  SetSkinManagerFactory(nullptr);
  Settle();
  return ok ? 0 : 1;
}
