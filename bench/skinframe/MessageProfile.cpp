#include "bench/skinframe/MessageProfile.h"

#include <algorithm>
#include <cstdio>

#include "bench/skinframe/BenchTiming.h"
#include "skin/win/SkinMessages.h"

namespace lbb::bench {

namespace {

MessageProfile* gProfile = nullptr;

LRESULT CALLBACK BeforeMessage(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && gProfile) {
    const auto* s = reinterpret_cast<const CWPSTRUCT*>(lParam);
    gProfile->Enter(s->hwnd, s->message);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && gProfile) gProfile->Leave();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct Name {
  UINT msg;
  const char* name;
};

constexpr Name kNames[] = {
    {WM_SIZE, "WM_SIZE"},
    {WM_MOVE, "WM_MOVE"},
    {WM_PAINT, "WM_PAINT"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_NCPAINT, "WM_NCPAINT"},
    {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
    {WM_NCHITTEST, "WM_NCHITTEST"},
    {WM_NCACTIVATE, "WM_NCACTIVATE"},
    {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
    {WM_STYLECHANGING, "WM_STYLECHANGING"},
    {WM_STYLECHANGED, "WM_STYLECHANGED"},
    {WM_GETTEXT, "WM_GETTEXT"},
    {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
    {WM_GETICON, "WM_GETICON"},
    {WM_SETCURSOR, "WM_SETCURSOR"},
    {WM_TIMER, "WM_TIMER"},
    {WM_SYNCPAINT, "WM_SYNCPAINT"},
    {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
    {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
    {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
    {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
    {WM_SETREDRAW, "WM_SETREDRAW"},
    {WM_GETFONT, "WM_GETFONT"},
    {WM_NOTIFY, "WM_NOTIFY"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_DRAWITEM, "WM_DRAWITEM"},
    {skin::SKM_PAINTFRAMETO, "SKM_PAINTFRAMETO"},
};

void PrintName(UINT msg) {
  for (const Name& n : kNames)
    if (n.msg == msg) {
      std::printf("%-22s", n.name);
      return;
    }
  std::printf("message 0x%04X       ", msg);
}

}  // namespace

MessageProfile::MessageProfile(HWND frame) : frame_(frame) {
  gProfile = this;
  const DWORD thread = GetCurrentThreadId();
  before_ = SetWindowsHookExW(WH_CALLWNDPROC, BeforeMessage, nullptr, thread);
  after_ = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterMessage, nullptr, thread);
}

void MessageProfile::Stop() {
  if (before_) UnhookWindowsHookEx(before_);
  if (after_) UnhookWindowsHookEx(after_);
  before_ = after_ = nullptr;
  if (gProfile == this) gProfile = nullptr;
  open_.clear();
}

void MessageProfile::Enter(HWND hwnd, UINT msg) {
  open_.push_back(Open{msg, hwnd == frame_, NowMs(), 0});
}

void MessageProfile::Leave() {
  if (open_.empty()) return;
  const Open o = open_.back();
  open_.pop_back();
  const double took = NowMs() - o.start;
  Totals& t = totals_[{o.msg, o.frame}];
  ++t.count;
  t.inclusive += took;
  t.own += took - o.inner;
  if (open_.empty())
    outside_ += took;
  else
    open_.back().inner += took;
}

void MessageProfile::Dispatch(MSG& m) {
  Enter(m.hwnd, m.message);
  TranslateMessage(&m);
  DispatchMessageW(&m);
  Leave();
}

void MessageProfile::DispatchPending() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
    Dispatch(m);
}

void MessageProfile::Print(int steps, const char* step, size_t most) const {
  std::vector<std::pair<std::pair<UINT, bool>, Totals>> rows(totals_.begin(), totals_.end());
  std::sort(rows.begin(), rows.end(),
            [](const auto& a, const auto& b) { return a.second.own > b.second.own; });
  const double n = std::max(1, steps);
  std::printf("    messages, per %s: %.3f ms in the outermost ones; the costliest by own time:\n",
              step, outside_ / n);
  for (size_t i = 0; i < rows.size() && i < most; ++i) {
    const Totals& t = rows[i].second;
    std::printf("      ");
    PrintName(rows[i].first.first);
    std::printf(" to the %-7s x%5.1f  own %7.3f ms  with what it sends %7.3f ms\n",
                rows[i].first.second ? "window" : "others", t.count / n, t.own / n,
                t.inclusive / n);
  }
  std::fflush(stdout);
}

}  // namespace lbb::bench
