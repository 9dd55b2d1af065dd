// TComboxScrollBar: the skinned bar of a combo box's drop-down list. The list is a pop-up
// window of its own, so no overlay can lie over it as a sibling; the bar is drawn straight into
// the list's non-client area over the rectangle the system reports for its own bar.
//
// Tracking. A press on that bar reaches the list as a non-client button-down (the list, which
// holds the mouse while it is dropped down, sends it to itself). The native tracking would
// draw the native bar over the skinned one at every step, so the press is tracked here, in a
// loop of our own that holds the mouse until the button comes up:
//   - an arrow or a page area scrolls one step (SB_LINE... / SB_PAGE...) at once, then again
//     every 50 ms after a first pause of 200 ms, while the cursor stays on that part (the
//     part shows pressed only then);
//   - the thumb follows the cursor (kept inside the track); each move sets the bar's position
//     to the one under the thumb and sends SB_THUMBTRACK with it (the list reads the position
//     from its bar), the release SB_THUMBPOSITION;
//   - every press ends with SB_ENDSCROLL.
// Messages that are not the mouse's are dispatched as usual meanwhile, through the thread's
// one message pump (which keeps a WM_QUIT for the loop that owns it); the repeat timer is one
// of the engine's own (skin/win/SkinTimers.h) and ticks from there.
#include <windowsx.h>

#include <algorithm>

#include "forms/MessagePump.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/win/SkinTimers.h"

namespace lbb::skin {

namespace {

constexpr UINT kFirstRepeatMs = 200;
constexpr UINT kRepeatMs = 50;

int Along(POINT p, int dir) {
  return dir == kSbVertical ? p.y : p.x;
}

LONG BarObject(int dir) {
  return dir == kSbVertical ? OBJID_VSCROLL : OBJID_HSCROLL;
}

UINT ScrollMessage(int dir) {
  return dir == kSbVertical ? WM_VSCROLL : WM_HSCROLL;
}

int BarLen(const SCROLLBARINFO& info, int dir) {
  const RECT& r = info.rcScrollBar;
  return dir == kSbVertical ? r.bottom - r.top : r.right - r.left;
}

// The scroll position a thumb starting at `start` stands for: the track's free room maps
// linearly onto min .. max - (page - 1), rounded to the nearest position.
int PositionOfThumb(const SCROLLINFO& si, int start, int len, int cw, int thumbLen) {
  const int room = len - 2 * cw - thumbLen;
  const int highest = si.nMax - std::max(int(si.nPage) - 1, 0);
  if (room <= 0 || highest <= si.nMin) return si.nMin;
  const int64_t span = int64_t{highest} - si.nMin;
  const int64_t moved = std::clamp(start - cw, 0, room);
  return si.nMin + int((moved * span + room / 2) / room);
}

// The mouse held by a window for the span of a press; given up when the scope ends, unless
// the window lost it to another meanwhile.
class TMouseCapture {
 public:
  explicit TMouseCapture(HWND w) : w_(w) { SetCapture(w); }
  ~TMouseCapture() {
    if (GetCapture() == w_) ReleaseCapture();
  }
  TMouseCapture(const TMouseCapture&) = delete;
  TMouseCapture& operator=(const TMouseCapture&) = delete;

 private:
  HWND w_;
};

}  // namespace

TComboxScrollBar::TComboxScrollBar(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

TComboxScrollBar::~TComboxScrollBar() = default;

void TComboxScrollBar::Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas,
                                TSkinControlHost* sf) {
  if (Inited) return;
  cw = SystemArrowWidth();
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  if (ahwnd) RedrawWindow(ahwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TComboxScrollBar::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool) {
  auto* box = dynamic_cast<forms::TWinControl*>(Owner());
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!box || !GetComboBoxInfo(box->Handle(), &info) || !info.hwndList) return;
  Inithwnd(info.hwndList, sd, acanvas, sf);
}

bool TComboxScrollBar::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT: {
      const std::weak_ptr<char> alive = AliveToken();
      CallOldProc(m);
      if (!Gone(alive)) PaintBars();
      return false;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (m.WParam != HTVSCROLL && m.WParam != HTHSCROLL) break;
      Track(m.WParam == HTVSCROLL ? kSbVertical : kSbHorizontal,
            POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      m.Result = 0;
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

void TComboxScrollBar::AfterProc(forms::TMessage& m) {
  TSkinControl::AfterProc(m);
  switch (m.Msg) {
    case WM_PAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED:
    case 0x1AE:
      PaintBars();
      break;
    default:
      // The list's own messages may move its bar, which it then draws natively.
      if (m.Msg >= LB_ADDSTRING && m.Msg <= LB_MSGMAX) PaintBars();
      break;
  }
}

// ---- painting

void TComboxScrollBar::PaintBars() {
  if (!hwnd || !IsWindowVisible(hwnd)) return;
  WindowDc dc(hwnd, true);
  if (!dc.get()) return;
  PaintBar(dc.get(), kSbVertical);
  PaintBar(dc.get(), kSbHorizontal);
}

void TComboxScrollBar::PaintBar(HDC dc, int dir) {
  SCROLLBARINFO info;
  RECT w{};
  if (!fsd || !ReadScrollBarInfo(hwnd, BarObject(dir), info) || !GetWindowRect(hwnd, &w)) return;
  if (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) return;
  RECT r = info.rcScrollBar;
  OffsetRect(&r, -w.left, -w.top);
  const int bw = r.right - r.left, bh = r.bottom - r.top;
  if (bw <= 0 || bh <= 0) return;

  TScrollBarPicture pic;
  pic.sbDir = dir;
  pic.Len = BarLen(info, dir);
  pic.Cross = dir == kSbVertical ? bw : bh;
  pic.CW = cw;
  pic.Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  const bool tracked = fdown && sbDir == dir;
  pic.ScrollPos = sbDir == dir ? scrollpos : kSbNone;
  pic.FDown = tracked;
  pic.Thumb = TThumb{info.xyThumbTop, info.xyThumbBottom};
  if (tracked && scrollpos == kSbThumb) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const int thumbLen = info.xyThumbBottom - info.xyThumbTop;
    const int start =
        DragThumbStart(trackthumb, Along(cursor, dir) - Along(trackp, dir), pic.Len, cw, thumbLen);
    pic.Thumb = TThumb{start, start + thumbLen};
  }
  if (sbDir == dir) {
    len = pic.Len;
    thumbtop = pic.Thumb.Top;
    thumbBottom = pic.Thumb.Bottom;
  }
  TDibSurface& work = WorkSurface();
  painted = PaintBuffered(work, dc, RECT{r.left, r.top, r.left + bw, r.top + bh},
                          [&](const RECT&) { return RenderScrollBar(*fsd, pic, work.Pixels()); });
}

// ---- tracking a press on the bar

void TComboxScrollBar::Track(int dir, POINT screen) {
  SCROLLBARINFO info;
  if (!ReadScrollBarInfo(hwnd, BarObject(dir), info)) return;
  if (info.rgstate[0] & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE)) return;
  sbDir = dir;
  OffsetSC = POINT{info.rcScrollBar.left, info.rcScrollBar.top};
  len = BarLen(info, dir);
  const POINT at{screen.x - OffsetSC.x, screen.y - OffsetSC.y};
  const int part =
      ScrollHitTest(Along(at, dir), len, cw, TThumb{info.xyThumbTop, info.xyThumbBottom});
  if (part == kSbNone) return;
  trackp = screen;
  trackthumb = info.xyThumbTop;
  scrollpos = part;
  fdown = true;
  const HWND list = hwnd;
  const std::weak_ptr<char> alive = AliveToken();
  bool stillHere = false;
  {
    // The first step and the loop may free the skinner (and return at once): the capture
    // goes with this scope on every path.
    TMouseCapture capture(list);
    if (part != kSbThumb) TrackStep(dir, part);
    if (Gone(alive)) return;
    PaintBars();
    stillHere = TrackLoop(dir, part);
  }
  if (!stillHere || Gone(alive)) return;
  if (part == kSbThumb) {
    const int pos = GetScrollPos(list, dir == kSbVertical ? SB_VERT : SB_HORZ);
    SendMessageW(list, ScrollMessage(dir), MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
    if (Gone(alive)) return;
  }
  fdown = false;
  scrollpos = kSbNone;
  SendMessageW(list, ScrollMessage(dir), SB_ENDSCROLL, 0);
  if (!Gone(alive)) PaintBars();
}

void TComboxScrollBar::TrackStep(int dir, int part) {
  // The parts' numbers are the scroll codes of the steps they make.
  SendMessageW(hwnd, ScrollMessage(dir), MAKEWPARAM(part, 0), 0);
}

void TComboxScrollBar::TrackThumb(int dir, const SCROLLBARINFO& info, POINT cursor) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  const int bar = dir == kSbVertical ? SB_VERT : SB_HORZ;
  if (!GetScrollInfo(hwnd, bar, &si)) return;
  const int thumbLen = info.xyThumbBottom - info.xyThumbTop;
  const int start =
      DragThumbStart(trackthumb, Along(cursor, dir) - Along(trackp, dir), len, cw, thumbLen);
  const int pos = PositionOfThumb(si, start, len, cw, thumbLen);
  if (pos != si.nPos) {
    SCROLLINFO set{};
    set.cbSize = sizeof set;
    set.fMask = SIF_POS;
    set.nPos = pos;
    SetScrollInfo(hwnd, bar, &set, FALSE);
  }
  SendMessageW(hwnd, ScrollMessage(dir), MAKEWPARAM(SB_THUMBTRACK, pos), 0);
}

bool TComboxScrollBar::TrackLoop(int dir, int part) {
  const HWND list = hwnd;
  const std::weak_ptr<char> alive = AliveToken();
  // The repeat timer of this press, killed however the press ends. It is the engine's own:
  // the list's own timers tick on meanwhile.
  TSkinTimer repeat([&] {
    if (!Gone(alive)) TrackMouse(dir, part, true, repeat);
  });
  if (part != kSbThumb) repeat.Start(kFirstRepeatMs);
  bool released = false;
  forms::TMessagePump pump([&](MSG& msg) {
    if (msg.message == WM_LBUTTONUP) {
      released = true;
    } else if (msg.message == WM_MOUSEMOVE) {
      TrackMouse(dir, part, false, repeat);
    } else {
      forms::DispatchPlain(msg);
    }
  });
  while (!released && GetCapture() == list) {
    if (!pump.HandleOne()) break;
    if (Gone(alive) || !IsWindow(list)) return false;
    PaintBars();
  }
  return !Gone(alive);
}

void TComboxScrollBar::TrackMouse(int dir, int part, bool tick, TSkinTimer& repeat) {
  SCROLLBARINFO info;
  if (!ReadScrollBarInfo(hwnd, BarObject(dir), info)) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (part == kSbThumb) {
    if (!tick) TrackThumb(dir, info, cursor);
    return;
  }
  // An arrow or a page area repeats only while the cursor is on it, and shows pressed then.
  const POINT at{cursor.x - info.rcScrollBar.left, cursor.y - info.rcScrollBar.top};
  const bool over = ScrollHitTest(Along(at, dir), BarLen(info, dir), cw,
                                  TThumb{info.xyThumbTop, info.xyThumbBottom}) == part;
  scrollpos = over ? part : kSbNone;
  if (!tick) return;
  repeat.Start(kRepeatMs);
  if (over) TrackStep(dir, part);
}

}  // namespace lbb::skin
