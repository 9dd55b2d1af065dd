#include "tests/win/skinscroll/ScrollSupport.h"

#include "base/Colour.h"
#include "base/Text.h"
#include "base/win/Handles.h"
#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "skin/data/imgutil.h"

namespace lbb::skin::test {

namespace {

INPUT Mouse(DWORD flags, POINT screen) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return in;
}

bool Send(INPUT in) {
  return SendInput(1, &in, sizeof in) == 1;
}

// The one hold in progress: the timer procedure runs wherever the thread's messages are
// being dispatched, the test's own pump or a tracking loop of a control.
struct THold {
  std::function<bool()> held;
  POINT at{};
  ULONGLONG until = 0;
  bool seen = false;
  bool released = false;
};
THold* activeHold = nullptr;

// Where the hold's press went (the first left press the thread takes while it is on).
struct TPressSeen {
  HWND hwnd = nullptr;
  POINT pt{};
  UINT msg = 0;
};
TPressSeen* pressSeen = nullptr;

LRESULT CALLBACK PressHook(int code, WPARAM msg, LPARAM lp) {
  if (code == HC_ACTION && pressSeen && !pressSeen->msg &&
      (msg == WM_LBUTTONDOWN || msg == WM_NCLBUTTONDOWN || msg == WM_LBUTTONDBLCLK)) {
    const auto* m = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lp);
    *pressSeen = TPressSeen{m->hwnd, m->pt, UINT(msg)};
  }
  return CallNextHookEx(nullptr, code, msg, lp);
}

void CALLBACK HoldTick(HWND, UINT, UINT_PTR, DWORD) {
  THold* h = activeHold;
  if (!h || h->released) return;
  if (h->held()) h->seen = true;
  if (h->seen || GetTickCount64() > h->until) {
    h->released = true;
    // Released where the cursor is now (a drag has moved it).
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);
  }
}

}  // namespace

TSkinScrollbar* ScrollSkinnerOf(TWinSkinForm* sf, forms::TWinControl* control) {
  if (!sf || !control) return nullptr;
  for (TSkinControl* c : sf->Controls())
    if (auto* s = dynamic_cast<TSkinScrollbar*>(c); s && s->control == control) return s;
  auto* s = new TSkinScrollbar(control);
  s->InitScrollbar(control, sf->fsd, sf->HostCanvas(), sf);
  return s;
}

bool SendMouseMove(POINT at) {
  return Send(Mouse(MOUSEEVENTF_MOVE, at));
}

::testing::AssertionResult HoldButton(POINT at, const std::function<bool()>& held, const char* what,
                                      DWORD limitMs) {
  THold hold{held, at, GetTickCount64() + limitMs};
  activeHold = &hold;
  TPressSeen seen;
  pressSeen = &seen;
  HookHandle hook(SetWindowsHookExW(WH_MOUSE, &PressHook, nullptr, GetCurrentThreadId()));
  const UINT_PTR timer = SetTimer(nullptr, 0, 15, &HoldTick);
  // The press carries its own position: a late echo of an earlier move may still put the
  // cursor back for a moment, and the press must not land there.
  const bool pressed = Send(Mouse(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE, at));
  // The release comes from the timer; afterwards the thread takes it, also a tracking loop.
  for (int round = 0; pressed && round < 3000 && !hold.released; ++round) {
    forms::Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  KillTimer(nullptr, timer);
  activeHold = nullptr;
  if (!hold.released) {
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);
  }
  for (int round = 0; round < 200 && (GetAsyncKeyState(VK_LBUTTON) & 0x8000); ++round) {
    forms::Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  forms::Application->ProcessMessages();
  if (!pressed) return ::testing::AssertionFailure() << "SendInput refused the press";
  pressSeen = nullptr;
  if (!hold.seen) {
    wchar_t cls[64] = {};
    if (seen.hwnd) GetClassNameW(seen.hwnd, cls, 64);
    return ::testing::AssertionFailure()
           << "while the button was held: " << what << " never happened (the press at " << at.x
           << "," << at.y << " went as message " << seen.msg << " to a window of class "
           << TextToUtf8(std::u16string(reinterpret_cast<const char16_t*>(cls))) << " at "
           << seen.pt.x << "," << seen.pt.y << ")";
  }
  return ::testing::AssertionSuccess();
}

PixelBuffer ScreenOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return forms::CaptureScreen(r);
}

int Differing(const PixelBuffer& a, RECT r, const PixelBuffer& b, int bx, int by) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if ((a.Get(x, y) & 0xFFFFFF) != (b.Get(bx + x - r.left, by + y - r.top) & 0xFFFFFF)) ++n;
  return n;
}

Pixel FacePixel(const TSkinData& sd) {
  return PixelOf(ColorToRGB(sd.Colors[kShemeButtonFace]));
}

PixelBuffer ArrowPiece(const TSkinData& sd, int frame, int w, int h, int t) {
  PixelBuffer out(w, h);
  out.Fill(FacePixel(sd));
  const PixelBuffer& arrows = sd.SArrow->Map;
  StretchCopy(out, TRect{0, 0, t, h}, arrows, SkinFrameRect(arrows, false, 23, frame), true);
  return out;
}

}  // namespace lbb::skin::test
