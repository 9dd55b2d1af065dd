// The skinned window frame's speed on real windows under the Windows build:
//   1. the non-client paint of the program's main window into a memory DC;
//   2. the rebuild of a 1280 x 800 skinned window's region;
//   3. a region from a 1920 x 1080 bitmap keyed on every other pixel;
//   4. 200 one-pixel resize steps of a skinned window with a few controls against the same
//      steps on the same window unskinned (the platform drawing its own frame).
// Each prints its median, min and max in milliseconds beside its goal, and a breakdown of the
// parts (the resize steps: a profile of the messages they cause, skinned and unskinned). The
// machine's other work shows in the figures: compare runs, not single numbers. Nothing here moves
// the mouse, presses keys or needs the foreground: the frames are painted in whichever look (active
// or inactive) their windows have.
//   bench_skinframe.exe [N...]   all measurements, or only those numbered N
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "app/Unit1.h"
#include "bench/skinframe/BenchTiming.h"
#include "bench/skinframe/FrameProfile.h"
#include "bench/skinframe/MessageProfile.h"
#include "forms/Application.h"
#include "forms/ButtonCtrls.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "skin/data/imgutil.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/DibSurface.h"
#include "skin/win/WinRegion.h"
#include "skin/win/WinSkinData.h"

namespace {

using namespace lbb;
using namespace lbb::bench;
using namespace lbb::skin;
using forms::Application;

constexpr int kPaintRuns = 1000;
constexpr int kCropRuns = 100;
constexpr int kRegionRuns = 20;
// The keyed-bitmap breakdown repeats the slow whole; fewer runs do.
constexpr int kRegionProfileRuns = 5;
constexpr int kResizeSteps = 200;
constexpr int kResizeFrom = 600;
constexpr int kResizeHeight = 420;
constexpr UINT kResizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

// Handles what is pending until `done` holds: at most 1000 rounds, each waiting at most 10 ms
// for something to arrive.
bool PumpUntil(const std::function<bool()>& done) {
  for (int round = 0; round < 1000; ++round) {
    Application->ProcessMessages();
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

// Until nothing is pending.
void Settle() {
  PumpUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
}

TWinSkinForm* SkinnerOf(HWND hwnd) {
  TSkinManage* m = SkinManagerInstance();
  return m ? m->FindForm(hwnd) : nullptr;
}

bool Skinned(HWND hwnd) {
  const TWinSkinForm* sf = SkinnerOf(hwnd);
  return sf && sf->Skinstate == kSkinIdle && sf->Subclassed();
}

// Waits for the skinner's deferred initialisation of `hwnd`; asks the manager for the window
// when its hooks did not take it.
bool WaitSkinned(HWND hwnd) {
  if (PumpUntil([&] { return Skinned(hwnd); })) return true;
  TSkinManage* m = SkinManagerInstance();
  if (!m || !m->AddFormHwnd(hwnd)) return false;
  return PumpUntil([&] { return Skinned(hwnd); });
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// ---- 1. the main window's frame painted into a memory DC

bool MeasureFramePaint(HWND hwnd) {
  TWinSkinForm* sf = SkinnerOf(hwnd);
  const RECT w = WindowRect(hwnd);
  const int W = w.right - w.left, H = w.bottom - w.top;
  RECT c{};
  GetClientRect(hwnd, &c);
  TDibSurface surface(W, H);
  bool answered = true;
  auto paint = [&] {
    const LRESULT r =
        SendMessageW(hwnd, SKM_PAINTFRAMETO, reinterpret_cast<WPARAM>(surface.Dc()), SkinMagic);
    answered = answered && r == SkinMagic;
  };
  // The first paints make the painter's buffers.
  for (int i = 0; i < 20; ++i)
    paint();
  const std::vector<double> ms = TimeRuns(kPaintRuns, paint);
  if (!sf || !answered) {
    std::fprintf(stderr, "the main window's skinned frame did not paint\n");
    return false;
  }
  char what[200];
  std::snprintf(what, sizeof what,
                "1. Non-client paint of the main window (window %d x %d, client %d x %d, %s "
                "look) into a memory DC",
                W, H, static_cast<int>(c.right), static_cast<int>(c.bottom),
                sf->WindowActive() ? "active" : "inactive");
  ReportGoal(what, ms, 1.0);
  ProfileFramePaint(*sf, kPaintRuns);
  return true;
}

// ---- 2. the region of a 1280 x 800 skinned window rebuilt

void ReportResizeWithRegion(HWND hwnd) {
  // The same rebuild as the platform's resize makes it happen (WM_SIZE), for comparison.
  int i = 0;
  const std::vector<double> ms = TimeRuns(
      kCropRuns, [&] { SetWindowPos(hwnd, nullptr, 0, 0, 1280 + (++i % 2), 800, kResizeFlags); });
  ReportPart("whole resize 1280 <-> 1281 (SetWindowPos)", ms);
  SetWindowPos(hwnd, nullptr, 0, 0, 1280, 800, kResizeFlags);
  Settle();
}

bool MeasureRegionRebuild() {
  auto* form = new forms::TForm(nullptr);
  form->SetCaption(u"Region rebuild");
  form->SetBounds(0, 0, 1280, 800);
  form->ShowForm();
  const HWND hwnd = form->Handle();
  const bool skinned = WaitSkinned(hwnd);
  SetWindowPos(hwnd, nullptr, 0, 0, 1280, 800, kResizeFlags);
  Settle();
  TWinSkinForm* sf = SkinnerOf(hwnd);
  const RECT w = WindowRect(hwnd);
  if (!skinned || !sf || !sf->Cropped()) {
    std::fprintf(stderr, "the 1280 x 800 window was not skinned and cut to its keyed pieces\n");
    delete form;
    return false;
  }
  std::vector<double> ms;
  bool cut = true;
  for (int i = 0; i < kCropRuns; ++i) {
    sf->ForgetCropSize();  // forces the rebuild at the same size
    const double t0 = NowMs();
    sf->Cropwindow();
    ms.push_back(NowMs() - t0);
    cut = cut && sf->Cropped();
    Settle();  // the repaint the new region asked for, not timed
  }
  char what[160];
  std::snprintf(what, sizeof what, "2. Region rebuild (Cropwindow) of a %d x %d skinned window",
                static_cast<int>(w.right - w.left), static_cast<int>(w.bottom - w.top));
  ReportGoal(what, ms, 5.0);
  if (!cut) std::fprintf(stderr, "  a rebuild left the window without its region\n");
  ProfileCropwindow(*sf, kCropRuns);
  ReportResizeWithRegion(hwnd);
  delete form;
  Settle();
  return cut;
}

// ---- 3. a region from a keyed bitmap

constexpr int kBitmapW = 1920, kBitmapH = 1080;

// Even columns are the key colour, odd columns a grey far from it.
PixelBuffer KeyedEveryOtherPixel() {
  PixelBuffer bmp(kBitmapW, kBitmapH);
  for (int y = 0; y < kBitmapH; ++y)
    for (int x = 0; x < kBitmapW; ++x)
      bmp.At(x, y) = x % 2 == 0 ? PixelOf(kSkinKeyColour) : PixelOf(0x404040);
  return bmp;
}

// The region must be the odd columns exactly: rectangles one pixel wide at odd x, covering
// 960 x 1080 pixels, bounded by (1, 0)-(1920, 1080).
bool IsOddColumns(HRGN rgn, char* said, size_t room) {
  const DWORD size = GetRegionData(rgn, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return false;
  std::vector<RECT> data(size / sizeof(RECT) + 1);
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  if (GetRegionData(rgn, size, rd) != size) return false;
  const auto* rects = reinterpret_cast<const RECT*>(rd->Buffer);
  long long area = 0;
  for (DWORD i = 0; i < rd->rdh.nCount; ++i) {
    const RECT& r = rects[i];
    if (r.right - r.left != 1 || r.left % 2 != 1) return false;
    area += static_cast<long long>(r.bottom - r.top);
  }
  RECT box{};
  GetRgnBox(rgn, &box);
  std::snprintf(said, room, "  the region: %lu rectangles, %lld pixels\n", rd->rdh.nCount, area);
  return area == 1LL * (kBitmapW / 2) * kBitmapH && box.left == 1 && box.top == 0 &&
         box.right == kBitmapW && box.bottom == kBitmapH;
}

bool MeasureRegionFromBitmap() {
  const PixelBuffer bmp = KeyedEveryOtherPixel();
  std::vector<double> ms;
  bool right = true;
  char said[96] = "";
  for (int i = 0; i < kRegionRuns; ++i) {
    const double t0 = NowMs();
    lbb::RegionHandle rgn =
        RegionFromBitmap(bmp, 0, 0, static_cast<TColor>(kSkinKeyColour), /*tolerance=*/1);
    ms.push_back(NowMs() - t0);
    if (i == 0) right = rgn && IsOddColumns(rgn.get(), said, sizeof said);
  }
  ReportGoal("3. RegionFromBitmap of 1920 x 1080 keyed on every other pixel (960 runs a row)", ms,
             20.0);
  std::printf("%s", said);
  if (!right) std::fprintf(stderr, "  the region is not the bitmap's odd columns\n");
  ProfileRegionFromBitmap(bmp, kRegionProfileRuns);
  return right;
}

// ---- 4. resizing, skinned and unskinned

// A small window like the gallery's: a label, edits, a button, check and radio boxes in a
// group, a memo and a panel.
forms::TForm* MakeSmallGallery(const String& caption) {
  auto* form = new forms::TForm(nullptr);
  form->SetCaption(caption);
  form->SetBounds(40, 40, kResizeFrom, kResizeHeight);
  forms::Place<forms::TLabel>(form, 12, 12, 80, 16)->SetCaption(u"Name:");
  forms::Place<forms::TEdit>(form, 96, 10, 200, 22)->SetCaption(u"orlend");
  forms::Place<forms::TButton>(form, 310, 8, 90, 26)->SetCaption(u"Back up");
  auto* group = forms::Place<forms::TGroupBox>(form, 12, 44, 280, 110);
  group->SetCaption(u"Options");
  forms::Place<forms::TCheckBox>(group, 12, 22, 240, 20)->SetCaption(u"Pictures");
  forms::Place<forms::TRadioButton>(group, 12, 50, 240, 20)->SetCaption(u"All articles");
  forms::Place<forms::TRadioButton>(group, 12, 76, 240, 20)->SetCaption(u"New articles");
  auto* memo = forms::Place<forms::TMemo>(form, 12, 164, 560, 160);
  memo->SetCaption(u"The log of the last backup.\r\nSecond line.\r\nThird line.");
  forms::Place<forms::TPanel>(form, 310, 44, 262, 110)->SetCaption(u"Panel");
  return form;
}

// The steps' times, whole and in their three parts; a message profile of a further pass; what
// one message costs the window.
struct ResizeTimes {
  std::vector<double> step, setPos, pump, update;
  std::shared_ptr<MessageProfile> profile;
  double nullMessage = 0, textRead = 0;
  // Skinned only: the region rebuild alone at the last step's size, and its messages.
  std::vector<double> crop;
  std::shared_ptr<MessageProfile> cropProfile;
};

constexpr int kCropAloneRuns = 50;

// The skinner's region rebuild forced at the window's size, with what it asks to be painted.
void MeasureCropAlone(HWND hwnd, ResizeTimes& t) {
  TWinSkinForm* sf = SkinnerOf(hwnd);
  if (!sf) return;
  t.cropProfile = std::make_shared<MessageProfile>(hwnd);
  for (int i = 0; i < kCropAloneRuns; ++i) {
    sf->ForgetCropSize();
    t.crop.push_back(TimeRuns(1, [&] { sf->Cropwindow(); }).front());
    t.cropProfile->DispatchPending();
  }
  t.cropProfile->Stop();
}

// kResizeSteps one-pixel width steps from kResizeFrom, each with what is pending handled and
// the window's paint done.
ResizeTimes ResizeSteps(HWND hwnd, MessageProfile* profile = nullptr) {
  SetWindowPos(hwnd, nullptr, 0, 0, kResizeFrom, kResizeHeight, kResizeFlags);
  UpdateWindow(hwnd);
  Settle();
  ResizeTimes t;
  for (int i = 1; i <= kResizeSteps; ++i) {
    const double t0 = NowMs();
    SetWindowPos(hwnd, nullptr, 0, 0, kResizeFrom + i, kResizeHeight, kResizeFlags);
    const double t1 = NowMs();
    if (profile)
      profile->DispatchPending();
    else
      Application->ProcessMessages();
    const double t2 = NowMs();
    UpdateWindow(hwnd);
    const double t3 = NowMs();
    t.step.push_back(t3 - t0);
    t.setPos.push_back(t1 - t0);
    t.pump.push_back(t2 - t1);
    t.update.push_back(t3 - t2);
  }
  return t;
}

// The steps on a new small gallery window, skinned or not; the first pass (the window's first
// sizes, the buffers' first allocations) is not kept. Empty when the window is not as asked.
ResizeTimes MeasureResize(bool skinned) {
  forms::TForm* form = MakeSmallGallery(skinned ? u"Skinned" : u"Unskinned");
  form->ShowForm();
  const HWND hwnd = form->Handle();
  const bool asAsked = skinned ? WaitSkinned(hwnd) : SkinnerOf(hwnd) == nullptr;
  Settle();
  ResizeTimes t;
  if (asAsked) {
    (void)ResizeSteps(hwnd);
    t = ResizeSteps(hwnd);
    t.profile = std::make_shared<MessageProfile>(hwnd);
    (void)ResizeSteps(hwnd, t.profile.get());
    t.profile->Stop();
    wchar_t text[256];
    t.nullMessage = Summarise(TimeRuns(1000, [&] { SendMessageW(hwnd, WM_NULL, 0, 0); })).median;
    t.textRead = Summarise(TimeRuns(1000, [&] { GetWindowTextW(hwnd, text, 256); })).median;
    if (skinned) MeasureCropAlone(hwnd, t);
  } else {
    std::fprintf(stderr, "the %s window is not %s\n", skinned ? "skinned" : "unskinned",
                 skinned ? "skinned" : "plain");
  }
  delete form;
  Settle();
  return t;
}

void ReportSteps(const char* what, const ResizeTimes& t) {
  const Figures f = Summarise(t.step);
  std::printf("  %-38s total %8.2f ms  step: median %.3f ms  min %.3f ms  max %.3f ms\n", what,
              f.total, f.median, f.min, f.max);
  std::printf(
      "    of a step: SetWindowPos median %.3f ms, pending messages %.3f ms, "
      "UpdateWindow %.3f ms\n",
      Summarise(t.setPos).median, Summarise(t.pump).median, Summarise(t.update).median);
  std::printf("    one message to the window: WM_NULL %.4f ms, GetWindowTextW %.4f ms\n",
              t.nullMessage, t.textRead);
  if (t.profile) t.profile->Print(kResizeSteps, "step", 12);
  if (t.crop.empty() || !t.cropProfile) return;
  const Figures c = Summarise(t.crop);
  std::printf(
      "    the region rebuild alone at %d x %d (Cropwindow forced, %d runs): median %.3f "
      "ms  min %.3f ms  max %.3f ms;\n    with the messages it causes, per run:\n",
      kResizeFrom + kResizeSteps, kResizeHeight, kCropAloneRuns, c.median, c.min, c.max);
  t.cropProfile->Print(kCropAloneRuns, "run", 8);
}

bool ReportResize(const ResizeTimes& plain, const ResizeTimes& skinned, const ResizeTimes& later) {
  if (plain.step.empty() || skinned.step.empty() || later.step.empty()) return false;
  std::printf(
      "4. Resizing a window with 8 controls, %d one-pixel width steps (%d -> %d), each "
      "with its pending messages and UpdateWindow:\n",
      kResizeSteps, kResizeFrom, kResizeFrom + kResizeSteps);
  ReportSteps("unskinned (before the skin manager)", plain);
  ReportSteps("skinned", skinned);
  ReportSteps("unskinned (after the skin manager)", later);
  const double s = Summarise(skinned.step).total;
  const double ratio = s / Summarise(plain.step).total;
  const double laterRatio = s / Summarise(later.step).total;
  std::printf(
      "  ratio skinned / unskinned (totals): %.2f (%.2f against the later unskinned run)"
      "  goal: <= 1.5 (%s)\n",
      ratio, laterRatio, ratio <= 1.5 ? "met" : "MISSED");
  std::fflush(stdout);
  return true;
}

// The program's main window as the program starts it, skinned by its own skin data component.
app::TForm1* ShowMainWindow() {
  UseSkinManager();
  auto* form = new app::TForm1(Application);
  form->DoCreate();
  form->ShowForm();
  if (!WaitSkinned(form->Handle())) {
    std::fprintf(stderr, "the main window was not skinned\n");
    delete form;
    return nullptr;
  }
  Settle();
  return form;
}

// Which measurements run: all, or those whose numbers the command line names ("1 3").
struct Selection {
  bool run[5] = {false, true, true, true, true};
};

Selection Select(int argc, char** argv) {
  Selection s;
  if (argc <= 1) return s;
  for (bool& r : s.run)
    r = false;
  for (int i = 1; i < argc; ++i) {
    const int n = std::atoi(argv[i]);
    if (n >= 1 && n <= 4) s.run[n] = true;
  }
  return s;
}

// The measurements on skinned windows, with the main window up; the skin manager is gone
// afterwards. False when one of them could not be made.
bool MeasureSkinned(const Selection& want, ResizeTimes& skinned) {
  app::TForm1* mainWindow = ShowMainWindow();
  if (!mainWindow) return false;
  bool ok = true;
  if (want.run[1]) ok = MeasureFramePaint(mainWindow->Handle()) && ok;
  if (want.run[2]) ok = MeasureRegionRebuild() && ok;
  if (want.run[4]) skinned = MeasureResize(true);
  delete mainWindow;
  Settle();
  DestroySkinManager();
  SetSkinManagerFactory(nullptr);
  Settle();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const Selection want = Select(argc, argv);
  Application->Initialize();
  ResizeTimes plain, skinned, later;
  // The unskinned resize first: no skin manager exists yet.
  if (want.run[4]) plain = MeasureResize(false);
  bool ok = true;
  if (want.run[1] || want.run[2] || want.run[4]) ok = MeasureSkinned(want, skinned);
  // Once more without the manager, to see how far the machine drifted meanwhile.
  if (want.run[4]) later = MeasureResize(false);
  if (want.run[3]) ok = MeasureRegionFromBitmap() && ok;
  if (want.run[4]) ok = ReportResize(plain, skinned, later) && ok;
  return ok ? 0 : 1;
}
