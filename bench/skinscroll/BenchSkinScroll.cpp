// The skinned scroll bars' speed on real windows under the Windows build. The program's main
// window, skinned, with its log memo holding 2,000 lines, scrolled with the mouse wheel (the
// wheel message sent to the memo, each notch painted at once):
//   1. the overlay's repaint after one notch (its whole bar drawn and copied once);
//   2. one notch, the memo's paint included, with the memo skinned and unskinned, in blocks
//      that alternate in the same run; the skinned speed is given as a share of the unskinned;
//   3. one log line appended to the memo as a backup run appends it (the memo's paint
//      included), skinned and unskinned alternately in the same way.
// The machine's other work shows in the figures: compare runs, not single numbers.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "bench/skinframe/BenchTiming.h"
#include "forms/Application.h"
#include "forms/MessagePump.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/DibSurface.h"

namespace {

using namespace lbb;
using namespace lbb::bench;
using namespace lbb::skin;
using forms::Application;

constexpr int kLines = 2000;
constexpr int kRepaintRuns = 1000;
constexpr int kNotchesPerBlock = 100;
constexpr int kBlocks = 6;

// Handles messages until `done` holds, at most ten seconds.
bool PumpUntil(const std::function<bool()>& done) {
  forms::TMessagePump pump;
  return pump.PumpUntil(done, nullptr, 10000);
}

// Handles what is pending.
void Settle() {
  forms::TMessagePump pump;
  pump.ProcessPending();
}

TWinSkinForm* SkinnerOf(HWND hwnd) {
  TSkinManage* m = SkinManagerInstance();
  return m ? m->FindForm(hwnd) : nullptr;
}

// The memo's scroll-bar skinner: the one the control-kind mapping gave it, else a new one.
TSkinScrollbar* MemoSkinner(TWinSkinForm* sf, forms::TMemo* memo) {
  for (TSkinControl* c : sf->Controls())
    if (auto* s = dynamic_cast<TSkinScrollbar*>(c); s && s->control == memo) return s;
  auto* s = new TSkinScrollbar(memo);
  s->InitScrollbar(memo, sf->fsd, sf->HostCanvas(), sf);
  return s;
}

void FillLog(forms::TMemo* memo) {
  std::u16string text;
  for (int i = 1; i <= kLines; ++i) {
    if (i > 1) text += u"\r\n";
    text += u"[12:00:00] 第" + Utf8ToText(std::to_string(i)) + u"篇 saved: html/article-" +
            Utf8ToText(std::to_string(i)) + u".html";
  }
  memo->Lines()->SetText(text);
}

// One notch of the wheel on the memo, painted at once; 50 notches down, then 50 up.
void Notch(HWND memo, int i) {
  const int delta = (i / 50) % 2 == 0 ? -WHEEL_DELTA : WHEEL_DELTA;
  RECT r{};
  GetWindowRect(memo, &r);
  SendMessageW(memo, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(r.left + 40, r.top + 40));
  UpdateWindow(memo);
}

// The repaint's parts, each timed alone: reading the bar's information, drawing the bar into
// the work surface, and copying it to the overlay.
void ProfileRepaint(TWScrollbar& vb) {
  SCROLLBARINFO info;
  const std::vector<double> read = TimeRuns(kRepaintRuns, [&] { vb.GetBarInfo(info); });
  RECT o{};
  GetWindowRect(vb.Handle(), &o);
  const int w = o.right - o.left, h = o.bottom - o.top;
  TScrollBarPicture pic;
  pic.sbDir = kSbVertical;
  pic.Len = h;
  pic.Cross = w;
  pic.CW = vb.CW;
  pic.Thumb = TThumb{info.xyThumbTop, info.xyThumbBottom};
  TDibSurface& work = TSkinControl::WorkSurface();
  work.Reserve(w, h);
  const TSkinData& sd = *vb.obj->SkinData();
  const std::vector<double> draw =
      TimeRuns(kRepaintRuns, [&] { RenderScrollBar(sd, pic, work.Pixels()); });
  WindowDc dc(vb.Handle());
  const std::vector<double> copy = TimeRuns(kRepaintRuns, [&] {
    work.Present(dc.get(), 0, 0, RECT{0, 0, w, h});
  });
  ReportPart("bar information (GetScrollBarInfo)", read);
  ReportPart("drawing the bar into the work surface", draw);
  ReportPart("copying it to the overlay (one BitBlt)", copy);
}

bool MeasureRepaint(HWND memo, TWScrollbar& vb) {
  int i = 0;
  std::vector<double> ms;
  for (int run = 0; run < kRepaintRuns; ++run) {
    Notch(memo, i++);
    const double t0 = NowMs();
    vb.Repaint();
    ms.push_back(NowMs() - t0);
  }
  RECT o{};
  GetWindowRect(vb.Handle(), &o);
  char what[160];
  std::snprintf(what, sizeof what,
                "1. Overlay repaint after one wheel notch (memo of %d lines, bar %d x %d)", kLines,
                int(o.right - o.left), int(o.bottom - o.top));
  ReportGoal(what, ms, 1.0);
  ProfileRepaint(vb);
  return vb.sbVisible;
}

// Blocks of `runs` timed calls of `step`, the memo skinned in the even blocks and unskinned
// in the odd ones, each block after an untimed `start`; the skinner is there again at the end.
void AlternateSkin(TWinSkinForm* sf, forms::TMemo* memo, int runs,
                   const std::function<void()>& start, const std::function<void(int)>& step,
                   std::vector<double>& skinned, std::vector<double>& unskinned) {
  TSkinScrollbar* s = MemoSkinner(sf, memo);
  int i = 0;
  for (int block = 0; block < kBlocks; ++block) {
    const bool withSkin = block % 2 == 0;
    if (withSkin && !s) s = MemoSkinner(sf, memo);
    if (!withSkin && s) {
      delete s;  // the memo's own message handling and native bar, nothing over them
      s = nullptr;
    }
    Settle();
    start();
    const std::vector<double> ms = TimeRuns(runs, [&] { step(i++); });
    std::vector<double>& into = withSkin ? skinned : unskinned;
    into.insert(into.end(), ms.begin(), ms.end());
  }
  if (!s) MemoSkinner(sf, memo);
}

// The skinned speed as a share of the unskinned (medians), against the goal of 0.8.
bool ReportSpeed(const char* what, const std::vector<double>& skinned,
                 const std::vector<double>& unskinned) {
  const double a = Summarise(skinned).median, b = Summarise(unskinned).median;
  const double speed = a > 0 ? b / a : 0;
  std::printf("%s:\n  speed skinned / unskinned %.2fx  goal: >= 0.8x (%s)\n", what, speed,
              speed >= 0.8 ? "met" : "MISSED");
  std::fflush(stdout);
  return !skinned.empty() && !unskinned.empty();
}

bool MeasureScrolling(app::TForm1& form, TWinSkinForm* sf) {
  forms::TMemo* memo = form.Memo1;
  const HWND hwnd = memo->Handle();
  std::vector<double> skinned, unskinned;
  AlternateSkin(
      sf, memo, kNotchesPerBlock,
      [&] {
        SendMessageW(hwnd, WM_VSCROLL, SB_TOP, 0);
        UpdateWindow(hwnd);
      },
      [&](int i) { Notch(hwnd, i % kNotchesPerBlock); }, skinned, unskinned);
  ReportPart("one notch, skinned (wheel message and paint)", skinned);
  ReportPart("one notch, unskinned", unskinned);
  char what[120];
  std::snprintf(
      what, sizeof what,
      "2. Wheel scrolling of the %d-line memo, skinned against unskinned (%d notches each)", kLines,
      int(skinned.size()));
  return ReportSpeed(what, skinned, unskinned);
}

bool MeasureAppending(app::TForm1& form, TWinSkinForm* sf) {
  forms::TMemo* memo = form.Memo1;
  const HWND hwnd = memo->Handle();
  std::vector<double> skinned, unskinned;
  AlternateSkin(
      sf, memo, kNotchesPerBlock, [] {},
      [&](int i) {
        form.AppendLog(u"[12:00:01] 第" + Utf8ToText(std::to_string(kLines + i)) +
                       u"篇 saved: html/article.html");
        UpdateWindow(hwnd);
      },
      skinned, unskinned);
  ReportPart("one appended line, skinned (append, scroll to the end and paint)", skinned);
  ReportPart("one appended line, unskinned", unskinned);
  char what[120];
  std::snprintf(what, sizeof what,
                "3. Appending to the memo of %d+ lines, skinned against unskinned (%d lines each)",
                kLines, int(skinned.size()));
  return ReportSpeed(what, skinned, unskinned);
}

}  // namespace

int main() {
  Application->Initialize();
  UseSkinManager();
  auto* form = new app::TForm1(Application);
  form->DoCreate();
  form->ShowForm();
  const HWND hwnd = form->Handle();
  bool ok = PumpUntil([&] {
    TWinSkinForm* sf = SkinnerOf(hwnd);
    return sf && sf->Skinstate == kSkinIdle && sf->Subclassed();
  });
  TWinSkinForm* sf = SkinnerOf(hwnd);
  if (!ok || !sf) {
    std::fprintf(stderr, "the main window was not skinned\n");
    return 1;
  }
  FillLog(form->Memo1);
  TSkinScrollbar* s = MemoSkinner(sf, form->Memo1);
  Settle();
  if (!s->vb || !PumpUntil([&] { return s->vb->sbVisible; })) {
    std::fprintf(stderr, "the memo's bar has no overlay\n");
    return 1;
  }
  ok = MeasureRepaint(form->Memo1->Handle(), *s->vb);
  ok = MeasureScrolling(*form, sf) && ok;
  ok = MeasureAppending(*form, sf) && ok;
  delete form;
  Settle();
  DestroySkinManager();
  return ok ? 0 : 1;
}
