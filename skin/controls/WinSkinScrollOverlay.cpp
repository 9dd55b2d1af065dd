// TWScrollbar: the overlay window that draws one skinned bar over a host's native bar and
// hands presses on it to the host.
#include <windowsx.h>

#include <algorithm>

#include "base/Text.h"
#include "forms/Application.h"
#include "forms/core/Properties.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/win/EngineWindows.h"

namespace lbb::skin {

namespace {

constexpr const wchar_t* kOverlayClass = L"LbbSkinScrollbar";

ATOM OverlayClass() {
  static const ATOM atom = TEngineWindow::RegisterClassOnce(kOverlayClass, CS_DBLCLKS);
  return atom;
}

bool IsOverlay(HWND w) {
  return static_cast<ATOM>(GetClassLongPtrW(w, GCW_ATOM)) == OverlayClass();
}

// The overlay lies directly above the host: only other overlays between them.
bool DirectlyAbove(HWND overlay, HWND host) {
  for (HWND w = GetWindow(overlay, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == host) return true;
    if (!IsOverlay(w)) return false;
  }
  return false;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int Along(POINT p, int dir) {
  return dir == kSbVertical ? p.y : p.x;
}

}  // namespace

TWScrollbar::TWScrollbar(TSkinControl* aobj) : obj(aobj) {
  CW = SystemArrowWidth();
}

TWScrollbar::~TWScrollbar() = default;

// ---- attaching and placing

void TWScrollbar::Attach(TSkinControl* aobj, forms::TWinControl* aControl, int aType) {
  obj = aobj;
  control = aControl;
  sbType = static_cast<uint8_t>(aType);
  sbDir = aType == 2 ? kSbVertical : aType;
  if (aType == 2) {
    const String kind = forms::GetEnumProp(aControl, u"Kind");
    sbDir = LowerAscii(kind) == u"sbhorizontal" ? kSbHorizontal : kSbVertical;
  }
  hwnd = aControl ? aControl->Handle() : nullptr;
  SetPosition(hwnd);
}

void TWScrollbar::AttachHwnd(TSkinControl* aobj, HWND ahwnd, int aType) {
  obj = aobj;
  control = nullptr;
  sbType = static_cast<uint8_t>(aType);
  sbDir = aType == 2 ? ((GetWindowLongW(ahwnd, GWL_STYLE) & SBS_VERT) ? kSbVertical : kSbHorizontal)
                     : aType;
  hwnd = ahwnd;
  SetPosition(hwnd);
}

// The overlay window is made the first time its bar shows: a control whose bar never shows
// costs no window.
void TWScrollbar::MakeWindow() {
  if (window_ || !hwnd || !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) return;
  // A child of the host's parent that never takes the focus or activates anything, and whose
  // creation and clicks the parent is not told of (it is no control of the parent's).
  const bool made = window_.Create(
      reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(OverlayClass())),
      WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_NOPARENTNOTIFY, WS_CHILD | WS_CLIPSIBLINGS,
      GetParent(hwnd), [this](HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
        return Dispatch(w, msg, wParam, lParam);
      });
  if (made && !enabled_) EnableWindow(Handle(), FALSE);
}

bool TWScrollbar::GetBarInfo(SCROLLBARINFO& info) const {
  if (!hwnd || !IsWindow(hwnd)) return false;
  if (sbType != 2)
    return ReadScrollBarInfo(hwnd, sbType == 0 ? OBJID_HSCROLL : OBJID_VSCROLL, info);
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  if (!GetWindowRect(hwnd, &info.rcScrollBar)) return false;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(hwnd, SB_CTL, &si)) return false;
  const RECT& r = info.rcScrollBar;
  const int len = sbDir == kSbVertical ? r.bottom - r.top : r.right - r.left;
  const TThumb t = ScrollThumb({si.nMin, si.nMax, int(si.nPage), si.nPos}, len, CW, true);
  info.dxyLineButton = CW;
  info.xyThumbTop = t.Top;
  info.xyThumbBottom = t.Bottom;
  if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE)) info.rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (!IsWindowEnabled(hwnd)) info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  return true;
}

void TWScrollbar::SetPosition(HWND ahwnd) {
  hwnd = ahwnd;
  // A scroll-bar control may have been turned since: its window's style says which way.
  if (sbType == 2 && hwnd)
    sbDir = (GetWindowLongW(hwnd, GWL_STYLE) & SBS_VERT) ? kSbVertical : kSbHorizontal;
  SCROLLBARINFO info;
  if (!GetBarInfo(info)) {
    sbVisible = false;
    return;
  }
  const RECT& r = info.rcScrollBar;
  const bool shown = (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0 &&
                     !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) && r.right > r.left &&
                     r.bottom > r.top;
  if (shown) MakeWindow();
  if (!shown || !window_) {
    HideScrollbar();
    return;
  }
  POINT tl{r.left, r.top}, br{r.right, r.bottom};
  ScreenToClient(hwnd, &tl);
  ScreenToClient(hwnd, &br);
  sbRect = RECT{tl.x, tl.y, br.x, br.y};
  Len = sbDir == kSbVertical ? r.bottom - r.top : r.right - r.left;
  OffsetSC = POINT{r.left, r.top};
  thumbTop = info.xyThumbTop;
  thumbbottom = info.xyThumbBottom;
  PlaceWindow(r);
  sbVisible = true;
  Repaint();
}

void TWScrollbar::PlaceWindow(const RECT& screen) {
  const HWND parent = GetParent(hwnd);
  if (GetParent(Handle()) != parent) SetParent(Handle(), parent);
  RECT want = screen;
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&want), 2);
  RECT now{};
  GetWindowRect(Handle(), &now);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
  const bool zOk = DirectlyAbove(Handle(), hwnd);
  if (zOk && SameRect(now, want) && IsWindowVisible(Handle())) return;
  // Directly behind the window that precedes the host: one step above the host.
  const HWND prev = GetWindow(hwnd, GW_HWNDPREV);
  const HWND after = prev ? prev : HWND_TOP;
  UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
  if (zOk || prev == Handle()) flags |= SWP_NOZORDER;
  SetWindowPos(Handle(), after, want.left, want.top, want.right - want.left, want.bottom - want.top,
               flags);
}

void TWScrollbar::HideScrollbar() {
  if (Handle() && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
  sbVisible = false;
}

void TWScrollbar::ButtonUp() {
  fdown = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (sbType == 2) Repaint();
}

void TWScrollbar::SetEnabled(bool value) {
  enabled_ = value;
  if (Handle()) EnableWindow(Handle(), value);
}

// ---- painting

void TWScrollbar::Repaint() {
  if (!Handle() || !IsWindowVisible(Handle())) return;
  WindowDc dc(Handle());
  if (dc.get()) DrawOn(dc.get());
  ValidateRect(Handle(), nullptr);
}

void TWScrollbar::OnPaint() {
  PaintCycle paint(Handle());
  if (paint.get()) DrawOn(paint.get());
}

void TWScrollbar::DrawOn(HDC dc) {
  const TSkinData* sd = obj ? obj->SkinData() : nullptr;
  SCROLLBARINFO info;
  if (!sd || !sd->SArrow || sd->SArrow->Map.Empty() || !GetBarInfo(info)) return;
  if (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  const RECT& r = info.rcScrollBar;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || w > client.right || h > client.bottom) return;

  TScrollBarPicture pic;
  pic.sbDir = sbDir;
  pic.Len = Len = sbDir == kSbVertical ? h : w;
  pic.CW = CW;
  pic.Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  pic.ScrollPos = scrollpos;
  pic.FDown = fdown;
  thumbTop = info.xyThumbTop;
  thumbbottom = info.xyThumbBottom;
  if (fdown && scrollpos == kSbThumb && sbType != 2) {
    // Dragging: the thumb follows the cursor from where it was at the press.
    POINT cursor{};
    GetCursorPos(&cursor);
    const int thumbLen = thumbbottom - thumbTop;
    const int moved = Along(cursor, sbDir) - Along(trackp, sbDir);
    thumbTop = DragThumbStart(trackthumb, moved, Len, CW, thumbLen);
    thumbbottom = thumbTop + thumbLen;
  }
  pic.Thumb = TThumb{thumbTop, thumbbottom};
  const int across = sbDir == kSbVertical ? w : h;
  // A scroll-bar control is drawn at the skin's thickness and stretched over the control.
  const int thick = SkinScrollThickness(*sd, CW);
  pic.Cross = sbType == 2 && thick > 0 ? thick : across;
  const int pw = sbDir == kSbVertical ? pic.Cross : pic.Len;
  const int ph = sbDir == kSbVertical ? pic.Len : pic.Cross;

  TDibSurface& work = TSkinControl::WorkSurface();
  const auto render = [&](const RECT&) { return RenderScrollBar(*sd, pic, work.Pixels()); };
  if (sbType != 2) {
    PaintBuffered(work, dc, RECT{0, 0, pw, ph}, render);
  } else if (DrawBuffered(work, pw, ph, render)) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, w, h, work.Dc(), 0, 0, pw, ph, SRCCOPY);
  }
}

// ---- mouse

int TWScrollbar::HitPart(POINT client) const {
  SCROLLBARINFO info;
  TThumb thumb{thumbTop, thumbbottom};
  if (GetBarInfo(info)) thumb = TThumb{info.xyThumbTop, info.xyThumbBottom};
  RECT c{};
  GetClientRect(Handle(), &c);
  return ScrollHitTestPoint(client.x, client.y, c.right, c.bottom, sbDir, CW, thumb);
}

POINT TWScrollbar::HostPoint(POINT client) const {
  POINT p = client;
  ClientToScreen(Handle(), &p);
  if (sbType == 2) ScreenToClient(hwnd, &p);
  return p;
}

void TWScrollbar::OnMouseMove(LPARAM lParam) {
  const int part = HitPart(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (part != scrollpos) {
    scrollpos = part;
    Repaint();
  }
  // A scroll-bar control lies wholly under its overlay: the mouse over the overlay is over the
  // control for the form library, so the control's hint shows as it would unskinned.
  if (sbType == 2 && control && forms::Application) forms::Application->MouseMoved(control);
  // Asked after the form library's own request, so that the overlay is the window watched.
  TrackMouseLeave(Handle());
}

void TWScrollbar::OnMouseLeave() {
  if (sbType == 2 && control && forms::Application) forms::Application->MouseLeftWindow(control);
  if (fdown) return;
  scrollpos = kSbNone;
  Repaint();
}

void TWScrollbar::OnButtonDown(LPARAM lParam) {
  const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (!hwnd || !IsWindow(hwnd) || !IsWindowEnabled(hwnd)) return;
  GetCursorPos(&trackp);
  SCROLLBARINFO info;
  if (GetBarInfo(info)) trackthumb = info.xyThumbTop;
  scrollpos = HitPart(client);
  fdown = true;
  Repaint();
  if (GetCapture()) ReleaseCapture();
  // The host tracks the press in a loop of its own that ends with the button's release; the
  // skinner (and this overlay with it) may be gone by then.
  const std::weak_ptr<char> alive = life_;
  const POINT at = HostPoint(client);
  if (sbType == 2) {
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  } else {
    SendMessageW(hwnd, WM_NCLBUTTONDOWN, sbType == 0 ? HTHSCROLL : HTVSCROLL,
                 MAKELPARAM(at.x, at.y));
  }
  if (alive.expired()) return;
  fdown = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  Repaint();
}

void TWScrollbar::OnButtonUp(LPARAM lParam) {
  const POINT at = HostPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  fdown = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (!hwnd || !IsWindow(hwnd)) return;
  if (sbType == 2) {
    PostMessageW(hwnd, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  } else {
    PostMessageW(hwnd, WM_NCLBUTTONUP, sbType == 0 ? HTHSCROLL : HTVSCROLL, MAKELPARAM(at.x, at.y));
  }
  Repaint();
}

// ---- the window procedure

LRESULT TWScrollbar::Dispatch(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(lParam);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(lParam);
      return 0;
    case WM_NCDESTROY:
      // Destroyed with its parent.
      sbVisible = false;
      return DefWindowProcW(w, msg, wParam, lParam);
    default:
      return DefWindowProcW(w, msg, wParam, lParam);
  }
}

}  // namespace lbb::skin
