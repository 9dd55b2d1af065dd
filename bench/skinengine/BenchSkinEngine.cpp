// Time to skin one form with 30 controls: the skin manager's AddForm and the form skinner's
// deferred initialisation (SKM_SKINFORM handled), measured over many rounds on a real window
// under the Windows build. Prints the median, the 90th percentile and the extremes in
// milliseconds. Unskinning between rounds is not timed.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "forms/Application.h"
#include "forms/ButtonCtrls.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "resources/skin/BuiltinSkin.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"

namespace {

using namespace lbb;
using namespace lbb::skin;
using Clock = std::chrono::steady_clock;

constexpr int kControls = 30;
constexpr int kRounds = 200;

forms::TForm* MakeForm() {
  auto* form = new forms::TForm(nullptr);
  form->SetBounds(60, 60, 640, 480);
  for (int i = 0; i < kControls; ++i) {
    forms::TWinControl* c = nullptr;
    switch (i % 3) {
      case 0:
        c = new forms::TButton(form);
        break;
      case 1:
        c = new forms::TEdit(form);
        break;
      default:
        c = new forms::TCheckBox(form);
        break;
    }
    c->SetParent(form);
    c->SetBounds(10 + (i % 5) * 120, 10 + (i / 5) * 40, 110, 28);
  }
  return form;
}

// Handles pending messages (the repainting that skinning caused) until the skinner of `hwnd`
// is idle (bounded).
bool WaitSkinned(TSkinManage& mgr, HWND hwnd) {
  for (int round = 0; round < 100000; ++round) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    if (!hwnd) return true;  // only the pending messages
    TWinSkinForm* sf = mgr.FindForm(hwnd);
    if (sf && sf->Skinstate == kSkinIdle) return true;
  }
  return false;
}

// Skins and unskins the form kRounds times; prints the figures.
bool Measure(TSkinManage& mgr, TSkinData* data, bool visible) {
  forms::TForm* form = MakeForm();
  if (visible) form->ShowForm();
  HWND hwnd = form->Handle();
  auto unskin = [&] {
    mgr.SetUpdateData(data);
    mgr.SetAction(TSkinAction::saUnskinAll, 0);
    mgr.TimerAction();
    mgr.SetActive(true);
  };
  unskin();  // showing it may have skinned it already
  std::vector<double> ms, add;
  for (int i = 0; i < kRounds; ++i) {
    const auto t0 = Clock::now();
    const bool added = mgr.AddFormHwnd(hwnd);
    const auto ta = Clock::now();
    // The deferred initialisation handled right away (the posted request then finds it done).
    if (added) SendMessageW(hwnd, SKM_SKINFORM, 0, kSkinFormParam);
    const auto t1 = Clock::now();
    if (!added || !WaitSkinned(mgr, hwnd)) {
      std::fprintf(stderr, "round %d: the form was not skinned\n", i);
      delete form;
      return false;
    }
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    add.push_back(std::chrono::duration<double, std::milli>(ta - t0).count());
    unskin();
  }
  std::sort(ms.begin(), ms.end());
  std::sort(add.begin(), add.end());
  std::printf("AddForm + deferred initialisation, %s form with %d controls, %d rounds:\n",
              visible ? "a shown" : "a hidden", kControls, kRounds);
  std::printf("  median %.3f ms  p90 %.3f ms  min %.3f ms  max %.3f ms\n", ms[ms.size() / 2],
              ms[ms.size() * 9 / 10], ms.front(), ms.back());
  std::printf("  of which AddForm alone: median %.3f ms\n", add[add.size() / 2]);
  // For comparison: the one resize that fitting the frame makes, alone.
  std::vector<double> resize;
  for (int i = 0; i < kRounds; ++i) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    const auto t0 = Clock::now();
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left + (i % 2 ? -1 : 1), r.bottom - r.top,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    resize.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    WaitSkinned(mgr, nullptr);
  }
  std::sort(resize.begin(), resize.end());
  std::printf("  the platform's resize of that window alone: median %.3f ms\n",
              resize[resize.size() / 2]);
  delete form;
  return true;
}

}  // namespace

int main() {
  forms::Application->Initialize();
  TSkinManage& mgr = EnsureSkinManager();
  auto* data = new TSkinData(nullptr);
  TMemoryStream block(std::vector<uint8_t>(lbb::resources::BuiltinSkin().begin(),
                                           lbb::resources::BuiltinSkin().end()));
  data->LoadFromStream(block);
  mgr.AddSkinData(data);
  mgr.SetState(TSkinManagerState::msRunning);
  mgr.SetActive(true);
  const bool ok = Measure(mgr, data, false) && Measure(mgr, data, true);
  delete data;
  DestroySkinManager();
  return ok ? 0 : 1;
}
