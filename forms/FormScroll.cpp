// AutoScroll of forms: scroll ranges that cover the child controls, the form's own scroll
// bars and the mouse wheel, and the scrolling itself, which moves the children.
#include <windowsx.h>

#include <algorithm>

#include "forms/Forms.h"

namespace lbb::forms {
namespace {

// Pixels a click on a scroll arrow (or a line of the mouse wheel) scrolls.
constexpr int kLineStep = 8;

// Sets a flag for the lifetime of the scope and puts its former value back.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), old_(std::exchange(flag, true)) {}
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

bool BarShown(HWND hwnd, int bar) {
  LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  return (style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

// The client area the window would have without its scroll bars.
SIZE FullClient(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  SIZE s{r.right, r.bottom};
  if (BarShown(hwnd, SB_VERT)) s.cx += GetSystemMetrics(SM_CXVSCROLL);
  if (BarShown(hwnd, SB_HORZ)) s.cy += GetSystemMetrics(SM_CYHSCROLL);
  return s;
}

void SetBar(HWND hwnd, int bar, bool shown, LONG extent, LONG page, int pos) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = shown ? extent - 1 : 0;
  si.nPage = shown ? static_cast<UINT>(std::max<LONG>(page, 0)) : 0;
  si.nPos = shown ? pos : 0;
  SetScrollInfo(hwnd, bar, &si, TRUE);
  ShowScrollBar(hwnd, bar, shown);
}

}  // namespace

void TCustomForm::SetAutoScroll(bool v) {
  if (v == autoScroll_) return;
  if (!v) {
    ScrollTo(0, 0);
    HideScrollBars();
  }
  autoScroll_ = v;
  UpdateScrollRange();
}

void TCustomForm::ControlBoundsChanged(TControl*) {
  UpdateScrollRange();
  PlaceMDIClient();
}

SIZE TCustomForm::ContentExtent() const {
  // Where the children reach with the content scrolled back to the start. Aligned controls
  // fill the client area along their side and widen nothing there.
  SIZE extent{0, 0};
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    RECT r = c->BoundsRect();
    TAlign a = c->Align();
    if (a == TAlign::alNone || a == TAlign::alLeft || a == TAlign::alRight) {
      extent.cx = std::max(extent.cx, r.right + scrollPos_.x);
    }
    if (a == TAlign::alNone || a == TAlign::alTop || a == TAlign::alBottom) {
      extent.cy = std::max(extent.cy, r.bottom + scrollPos_.y);
    }
  }
  return extent;
}

void TCustomForm::UpdateScrollRange() {
  HWND hwnd = WindowHandle();
  if (!hwnd || !autoScroll_ || updatingScroll_ || Destroying()) return;
  FlagScope updating(updatingScroll_);
  SIZE content = ContentExtent();
  SIZE full = FullClient(hwnd);
  const int barW = GetSystemMetrics(SM_CXVSCROLL), barH = GetSystemMetrics(SM_CYHSCROLL);
  // A bar takes room from the other direction, which may then need its bar too.
  bool horz = false, vert = false;
  for (int round = 0; round < 2; ++round) {
    horz = content.cx > full.cx - (vert ? barW : 0);
    vert = content.cy > full.cy - (horz ? barH : 0);
  }
  SIZE page{full.cx - (vert ? barW : 0), full.cy - (horz ? barH : 0)};
  // A larger client area (or smaller content) may leave less to scroll than is scrolled.
  int x = horz ? std::clamp<int>(scrollPos_.x, 0, std::max<LONG>(content.cx - page.cx, 0)) : 0;
  int y = vert ? std::clamp<int>(scrollPos_.y, 0, std::max<LONG>(content.cy - page.cy, 0)) : 0;
  MoveContent(scrollPos_.x - x, scrollPos_.y - y);
  SetBar(hwnd, SB_HORZ, horz, content.cx, page.cx, scrollPos_.x);
  SetBar(hwnd, SB_VERT, vert, content.cy, page.cy, scrollPos_.y);
}

void TCustomForm::HideScrollBars() {
  HWND hwnd = WindowHandle();
  if (!hwnd) return;
  FlagScope updating(updatingScroll_);
  SetBar(hwnd, SB_HORZ, false, 0, 0, 0);
  SetBar(hwnd, SB_VERT, false, 0, 0, 0);
}

int TCustomForm::ScrollLimit(int bar) const {
  HWND hwnd = WindowHandle();
  if (!hwnd || !autoScroll_ || !BarShown(hwnd, bar)) return 0;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  GetScrollInfo(hwnd, bar, &si);
  return std::max(si.nMax - si.nMin + 1 - static_cast<int>(si.nPage), 0);
}

void TCustomForm::ScrollTo(int x, int y) {
  x = std::clamp(x, 0, ScrollLimit(SB_HORZ));
  y = std::clamp(y, 0, ScrollLimit(SB_VERT));
  MoveContent(scrollPos_.x - x, scrollPos_.y - y);
  if (HWND hwnd = WindowHandle(); hwnd && autoScroll_) {
    SetScrollPos(hwnd, SB_HORZ, scrollPos_.x, TRUE);
    SetScrollPos(hwnd, SB_VERT, scrollPos_.y, TRUE);
  }
}

void TCustomForm::MoveContent(int dx, int dy) {
  if (!dx && !dy) return;
  FlagScope updating(updatingScroll_);
  scrollPos_.x -= dx;
  scrollPos_.y -= dy;
  HWND hwnd = WindowHandle();
  // The child windows move with the scrolled pixels (and read their new place back from
  // their windows); windowless controls, and any child without a window, are moved here.
  if (hwnd) {
    ScrollWindowEx(hwnd, dx, dy, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  }
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    auto* w = dynamic_cast<TWinControl*>(c);
    if (hwnd && w && w->HandleAllocated()) continue;
    c->SetBounds(static_cast<int>(c->Left()) + dx, static_cast<int>(c->Top()) + dy,
                 static_cast<int>(c->Width()), static_cast<int>(c->Height()));
  }
}

void TCustomForm::OnScroll(TMessage& m, int bar) {
  HWND hwnd = WindowHandle();
  // Scroll-bar controls send their own; only the form's bars scroll the form.
  if (!autoScroll_ || m.LParam || !hwnd) {
    TWinControl::WndProc(m);
    return;
  }
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd, bar, &si);
  int pos = bar == SB_HORZ ? scrollPos_.x : scrollPos_.y;
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP:
      pos -= kLineStep;
      break;
    case SB_LINEDOWN:
      pos += kLineStep;
      break;
    case SB_PAGEUP:
      pos -= static_cast<int>(si.nPage);
      break;
    case SB_PAGEDOWN:
      pos += static_cast<int>(si.nPage);
      break;
    case SB_THUMBTRACK:
      pos = si.nTrackPos;
      break;
    case SB_THUMBPOSITION:
      pos = HIWORD(m.WParam);
      break;
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = ScrollLimit(bar);
      break;
    default:  // SB_ENDSCROLL
      return;
  }
  if (bar == SB_HORZ) {
    ScrollTo(pos, scrollPos_.y);
  } else {
    ScrollTo(scrollPos_.x, pos);
  }
  m.Result = 0;
}

void TCustomForm::OnMouseWheel(TMessage& m) {
  HWND hwnd = WindowHandle();
  if (!autoScroll_ || !hwnd || !BarShown(hwnd, SB_VERT)) {
    TWinControl::WndProc(m);
    return;
  }
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  RECT client{};
  GetClientRect(hwnd, &client);
  int notch = lines == WHEEL_PAGESCROLL ? client.bottom : static_cast<int>(lines) * kLineStep;
  int delta = GET_WHEEL_DELTA_WPARAM(m.WParam);
  ScrollTo(scrollPos_.x, scrollPos_.y - MulDiv(delta, notch, WHEEL_DELTA));
  m.Result = 0;
}

void TCustomForm::OnSize(TMessage& m) {
  TWinControl::WndProc(m);
  // The client area changed (the window, its menu bar or its scroll bars): aligned controls
  // follow it.
  AlignControls();
  if (autoScroll_) UpdateScrollRange();
}

}  // namespace lbb::forms
