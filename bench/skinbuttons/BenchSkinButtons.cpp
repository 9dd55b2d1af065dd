// The skinned push button's paint on a real window under the Windows build: a 75 x 25 button
// with a caption on the program's skinned main window, painted by its TSkinButton (skin frame
// and caption into the off-screen picture, one transfer to the window). Printed: the median,
// min and max of many paints beside the goal (median at most 0.3 ms), and for comparison the
// whole repaint cycle (invalidate, WM_PAINT through the skinner) and the native button's own
// paint of the same button. The machine's other work shows in the figures: compare runs.
//   bench_skinbuttons.exe [PAINTS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/Unit1.h"
#include "bench/skinframe/BenchTiming.h"
#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"

namespace {

using namespace lbb;
using namespace lbb::bench;
using namespace lbb::skin;
using forms::Application;

constexpr int kDefaultPaints = 2000;
constexpr double kPaintGoalMs = 0.3;

bool PumpUntil(const std::function<bool()>& done) {
  for (int round = 0; round < 1000; ++round) {
    Application->ProcessMessages();
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

void Settle() {
  PumpUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
}

TWinSkinForm* SkinnedForm(HWND hwnd) {
  TSkinManage* m = SkinManagerInstance();
  TWinSkinForm* sf = m ? m->FindForm(hwnd) : nullptr;
  return sf && sf->Skinstate == kSkinIdle && sf->Subclassed() ? sf : nullptr;
}

struct Bench {
  app::TForm1* form = nullptr;
  forms::TButton* button = nullptr;
  TSkinButton* skinner = nullptr;
};

// The main window shown and skinned, with a button of its own (tag 99: the mapping leaves it
// alone) carrying a push-button skinner.
bool SetUp(Bench& b) {
  UseSkinManager();
  b.form = new app::TForm1(Application);
  b.form->DoCreate();
  b.form->ShowForm();
  if (!PumpUntil([&] { return SkinnedForm(b.form->Handle()) != nullptr; })) {
    std::fprintf(stderr, "the main window was not skinned\n");
    return false;
  }
  TWinSkinForm* sf = SkinnedForm(b.form->Handle());
  b.button = forms::Place<forms::TButton>(b.form, 10, 10, 75, 25);
  b.button->SetTag(99);
  b.button->SetCaption(u"Backup");
  b.skinner = new TSkinButton(b.button);
  b.skinner->Init(sf, sf->fsd, sf->HostCanvas(), false);
  Settle();
  return true;
}

bool Measure(Bench& b, int paints) {
  HWND h = b.button->Handle();
  const RECT rc{0, 0, 75, 25};
  WindowDc dc(h, true);
  b.skinner->DrawControl(dc.get(), rc);  // the picture made once before timing
  const bool met =
      ReportGoal("Skinned button paint (frame + caption into btemp, one blit)",
                 TimeRuns(paints, [&] { b.skinner->DrawControl(dc.get(), rc); }), kPaintGoalMs);
  ReportPart("repaint cycle through the skinner", TimeRuns(paints / 4, [&] {
               RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
             }));
  SendMessageW(h, SKM_SETSKINNED, 0, 0);
  ReportPart("repaint cycle, skinner off (native button)", TimeRuns(paints / 4, [&] {
               RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
             }));
  SendMessageW(h, SKM_SETSKINNED, 1, 0);
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  const int paints = argc > 1 ? std::max(100, std::atoi(argv[1])) : kDefaultPaints;
  Application->Initialize();
  Bench b;
  bool ok = SetUp(b);
  if (ok) ok = Measure(b, paints);
  delete b.form;
  Settle();
  DestroySkinManager();
  SetSkinManagerFactory(nullptr);
  Settle();
  return ok ? 0 : 1;
}
