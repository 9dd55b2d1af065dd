// TSkinDateTime and its arrow button: the picker's drop-down button covered by a skinned one.
#include "skin/controls/WinSkinDateTime.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>

#include "skin/controls/WinSkinCombo.h"
#include "skin/data/ComboGeometry.h"
#include "skin/win/EngineWindows.h"

namespace lbb::skin {

namespace {

// The width of the drop-down button of a picker that does not report its button (a system
// without DTM_GETDATETIMEPICKERINFO): the button the system's picker lays at its right edge.
constexpr int kFallbackButtonWidth = 15;

const wchar_t* ArrowClass() {
  static const ATOM atom = TEngineWindow::RegisterClassOnce(L"LbbSkinArrowButton");
  return reinterpret_cast<const wchar_t*>(static_cast<uintptr_t>(atom));
}

bool CalendarOpen(HWND picker) {
  const auto cal = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
  return cal && IsWindowVisible(cal);
}

}  // namespace

// ---- TArrowButton

TArrowButton::TArrowButton()
    : hover_(
          [this] {
            return CursorOver(hwnd) ? THoverWatcher::TPoll::Over : THoverWatcher::TPoll::Left;
          },
          [this] { OnMouseLeave(); }) {}

void TArrowButton::Attach(TSkinControl* aobj, HWND acontrol) {
  obj = aobj;
  control = acontrol;
  if (window_ || !control) return;
  // A child of the picker: it moves with the picker and lies above the picker's own drawing.
  window_.Create(ArrowClass(), WS_EX_NOPARENTNOTIFY, WS_CHILD | WS_CLIPSIBLINGS, control,
                 [this](HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
                   return Dispatch(w, msg, wParam, lParam);
                 });
  hwnd = window_.Handle();
}

void TArrowButton::MoveArrow(const RECT& r) {
  if (!hwnd) return;
  placed_ = r;
  cw = r.right - r.left;
  if (r.right <= r.left || r.bottom <= r.top) {
    ShowWindow(hwnd, SW_HIDE);
    return;
  }
  SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Repaint();
}

void TArrowButton::Repaint() {
  if (!hwnd || !IsWindowVisible(hwnd)) return;
  WindowDc dc(hwnd);
  if (dc.get()) Draw(dc.get());
}

int TArrowButton::FrameNow() const {
  TComboLook look;
  look.enabled = control && IsWindowEnabled(control);
  look.dropped = control && CalendarOpen(control);
  // Held only while the button is down: the picker's calendar may take the release.
  look.pressed = (state & kStatePressed) != 0 && (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
  look.hot = (state & kStateHot) != 0;
  return ComboButtonFrame(look);
}

void TArrowButton::Draw(HDC dc) {
  RECT r{};
  GetClientRect(hwnd, &r);
  if (!obj || !DrawComboButtonPicture(*obj, dc, r, FrameNow())) {
    // No picture in this skin (any more): the picker's own button shows through.
    ShowWindow(hwnd, SW_HIDE);
  }
}

void TArrowButton::Forward(UINT msg, WPARAM wParam) {
  if (!control) return;
  const POINT at{(placed_.left + placed_.right) / 2, (placed_.top + placed_.bottom) / 2};
  SendMessageW(control, msg, wParam, MAKELPARAM(at.x, at.y));
}

LRESULT TArrowButton::Dispatch(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PaintCycle paint(w);
      if (paint.get()) Draw(paint.get());
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      // The press is the picker's: it takes the focus itself.
      return MA_NOACTIVATE;
    case WM_MOUSEMOVE: {
      if (!(state & kStateHot)) {
        state |= kStateHot;
        hover_.Watch();
        Repaint();
      }
      TrackMouseLeave(w);
      return 0;
    }
    case WM_MOUSELEAVE:
      hover_.Leave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      state |= kStatePressed;
      Repaint();
      // The picker opens (or closes) its calendar as on a press on its own button; it may
      // take the mouse. The arrow may be gone afterwards (the picker freed).
      Forward(WM_LBUTTONDOWN, wParam);
      if (TEngineWindow::Owned(w)) Repaint();
      return 0;
    }
    case WM_LBUTTONUP:
      state &= static_cast<uint8_t>(~kStatePressed);
      Forward(WM_LBUTTONUP, wParam);
      if (TEngineWindow::Owned(w)) Repaint();
      return 0;
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_NCDESTROY:
      // Gone with the picker.
      hwnd = nullptr;
      return DefWindowProcW(w, msg, wParam, lParam);
    default:
      return DefWindowProcW(w, msg, wParam, lParam);
  }
}

void TArrowButton::OnMouseLeave() {
  state &= static_cast<uint8_t>(~kStateHot);
  Repaint();
}

// ---- TSkinDateTime

TSkinDateTime::TSkinDateTime(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinDateTime::~TSkinDateTime() {
  arrow.reset();
}

void TSkinDateTime::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas,
                         bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (Inited) Setup();
}

void TSkinDateTime::Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas,
                             TSkinControlHost* sf) {
  if (Inited) return;
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  if (Inited) Setup();
}

void TSkinDateTime::Setup() {
  arrow.reset();
  kind = 0;
  if (!hwnd || !IsWindow(hwnd)) return;
  if ((GetWindowLongW(hwnd, GWL_STYLE) & DTS_UPDOWN) || !HasComboButtonPicture(fsd)) return;
  kind = 1;
  arrow = std::make_unique<TArrowButton>();
  arrow->Attach(this, hwnd);
  Place();
}

RECT TSkinDateTime::ButtonRect() const {
  RECT r{};
  if (!hwnd || (GetWindowLongW(hwnd, GWL_STYLE) & DTS_UPDOWN)) return r;
  DATETIMEPICKERINFO pi{};
  pi.cbSize = sizeof pi;
  SendMessageW(hwnd, DTM_GETDATETIMEPICKERINFO, 0, reinterpret_cast<LPARAM>(&pi));
  if (pi.rcButton.right > pi.rcButton.left && pi.rcButton.bottom > pi.rcButton.top)
    return pi.rcButton;
  // A picker that does not say: its button at the right edge, the whole height.
  GetClientRect(hwnd, &r);
  r.left = std::max(r.left, r.right - kFallbackButtonWidth);
  return r;
}

void TSkinDateTime::Place() {
  if (arrow) arrow->MoveArrow(ButtonRect());
}

void TSkinDateTime::Unsubclass() {
  arrow.reset();
  TSkinControl::Unsubclass();
}

void TSkinDateTime::SkinChange() {
  Setup();
  TSkinControl::SkinChange();
}

bool TSkinDateTime::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case forms::CM_RECREATEWND:
      recreating = true;
      arrow.reset();
      break;
    case WM_NCDESTROY:
      arrow.reset();
      if (PassOldWindowsEnd(m)) return false;
      break;
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinDateTime::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_CREATE:
      if (TakeRecreatedWindow()) Setup();
      return;
    case WM_SIZE:
    case WM_STYLECHANGED:
      Place();
      return;
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONUP:
    case forms::CM_ENABLEDCHANGED:
    case forms::CN_NOTIFY:
      // The picker drew its own button, or its calendar opened or closed.
      if (arrow) arrow->Repaint();
      return;
    default:
      TSkinControl::AfterProc(m);
      return;
  }
}

}  // namespace lbb::skin
