// TSkinUpDown: the skinned up-down. Both halves are drawn into one picture and copied to the
// window in one transfer on every paint; presses are shown here and handed on to the up-down.
#include "skin/controls/WinSkinUpDown.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "base/Colour.h"
#include "base/Text.h"
#include "base/win/Handles.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/imgutil.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

// What the system's up-down leaves for an edit buddy it is aligned to (the unthemed sizes):
// the buddy's edge drawn on its outer sides, and a gap towards the buddy.
constexpr int kBuddyBorder = 2;
constexpr int kBuddySpacer = 2;

bool IsEditClass(HWND w) {
  return w && LowerClassName(w).find(u"edit") != std::u16string::npos;
}

void FillPixels(PixelBuffer& px, const TRect& r, COLORREF colour) {
  const Pixel p = PixelOf(colour);
  for (int y = std::max(0, r.Top); y < std::min(px.Height(), r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(px.Width(), r.Right); ++x)
      px.At(x, y) = p;
}

}  // namespace

TSkinUpDown::TSkinUpDown(forms::TComponent* AOwner)
    : TSkinControl(AOwner), hover_([this] { return PollLeave(); }, [this] { OnMouseLeave(); }) {}

void TSkinUpDown::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (!Inited) return;
  inedit = IsEditClass(GetParent(hwnd));
  ReadKind();
}

void TSkinUpDown::Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas,
                           TSkinControlHost* sf) {
  if (Inited) return;
  inedit = IsEditClass(GetParent(ahwnd));
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  ReadKind();
}

void TSkinUpDown::ReadKind() {
  dir = hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & UDS_HORZ) ? 1 : 0;
  const TDataSkinBorder* e = Element();
  kind = e && !e->Map.Empty() ? 1 : 0;
  shownLook_ = -1;
}

const TDataSkinBorder* TSkinUpDown::Element() const {
  if (!fsd || fsd->Empty) return nullptr;
  return dir == 1 ? fsd->HSpin.get() : fsd->VSpin.get();
}

void TSkinUpDown::SkinChange() {
  ReadKind();
  TSkinControl::SkinChange();
}

// ---- messages

bool TSkinUpDown::BeforeProc(forms::TMessage& m) {
  if (kind == 1) {
    switch (m.Msg) {
      case WM_PAINT:
      case WM_PRINTCLIENT:
        PaintHandler(m);
        return false;
      case WM_ERASEBKGND:
        m.Result = 1;
        return false;
      case WM_LBUTTONDOWN:
        OnButtonDown(m);
        return true;
      case WM_LBUTTONDBLCLK: {
        // The second press of a double click is a press like the first: the up-down steps
        // again (a window class with double clicks would otherwise swallow it).
        OnButtonDown(m);
        forms::TMessage down{WM_LBUTTONDOWN, m.WParam, m.LParam, 0};
        const auto alive = AliveToken();
        CallOldProc(down);
        m.Result = down.Result;
        if (!Gone(alive)) Update();
        return false;
      }
      default:
        break;
    }
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinUpDown::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONUP:
      OnButtonUp();
      return;
    case WM_CAPTURECHANGED:
      // The up-down lost the mouse in the middle of a press: the press is over.
      if (held_ != udNone && GetCapture() != hwnd) OnButtonUp();
      return;
    case WM_MOUSEMOVE:
      OnMouseMove(m.LParam);
      return;
    case WM_MOUSELEAVE:
      hover_.Leave();
      return;
    case forms::CM_MOUSELEAVE:
      if (HalfUnderCursor() == udNone) hover_.Leave();
      return;
    case WM_LBUTTONDOWN:
    case WM_TIMER:
      // A held press repeats on the up-down's timer; the cursor may have left the half.
      Update();
      return;
    case WM_STYLECHANGED:
      ReadKind();
      Redraw();
      return;
    default:
      TSkinControl::AfterProc(m);
      return;
  }
}

void TSkinUpDown::OnButtonDown(forms::TMessage& m) {
  if (!hwnd || !IsWindowEnabled(hwnd)) return;
  held_ = HalfAt(m.LParam);
  hot_ = held_;
  Update();
}

void TSkinUpDown::OnButtonUp() {
  if (held_ == udNone) return;
  held_ = udNone;
  hot_ = HalfUnderCursor();
  Update();
}

void TSkinUpDown::OnMouseMove(LPARAM lParam) {
  if (kind != 1) return;
  hot_ = HalfAt(lParam);
  hover_.Track(hwnd, hot_ != udNone);
  Update();
}

void TSkinUpDown::OnMouseLeave() {
  hot_ = udNone;
  Update();
}

THoverWatcher::TPoll TSkinUpDown::PollLeave() const {
  // Switched to its own look meanwhile, the up-down leaves nothing to watch; a held half stays.
  if (kind != 1) return THoverWatcher::TPoll::Idle;
  return PollHover(held_ != udNone || HalfUnderCursor() != udNone);
}

// ---- geometry

TUpDownLayout TSkinUpDown::Layout() const {
  RECT c{};
  if (hwnd) GetClientRect(hwnd, &c);
  TUpDownInput in;
  in.width = int(c.right);
  in.height = int(c.bottom);
  in.horizontal = dir == 1;
  const LONG style = hwnd ? GetWindowLongW(hwnd, GWL_STYLE) : 0;
  const bool aligned = (style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)) != 0;
  const HWND buddy =
      hwnd ? reinterpret_cast<HWND>(SendMessageW(hwnd, UDM_GETBUDDY, 0, 0)) : nullptr;
  if (aligned && buddy && IsWindow(buddy)) {
    in.spacer = kBuddySpacer;
    if (IsEditClass(buddy)) in.border = kBuddyBorder;
  }
  in.alignLeft = (style & UDS_ALIGNLEFT) != 0;
  return UpDownHalves(in);
}

int TSkinUpDown::HalfAt(LPARAM lParam) const {
  return UpDownHalfAt(Layout(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

int TSkinUpDown::HalfUnderCursor() const {
  POINT p{};
  if (!CursorOver() || !GetCursorPos(&p)) return udNone;
  ScreenToClient(hwnd, &p);
  return UpDownHalfAt(Layout(), int(p.x), int(p.y));
}

TUpDownLook TSkinUpDown::Look() const {
  TUpDownLook look;
  look.enabled = hwnd && IsWindowEnabled(hwnd);
  // As the up-down itself: a held half is down only while the cursor is on it (it repeats
  // only then).
  if (held_ != udNone && HalfUnderCursor() == held_) look.pressed = held_;
  look.hot = hot_;
  return look;
}

void TSkinUpDown::Update() {
  if (kind != 1 || !hwnd) return;
  const TUpDownLook look = Look();
  const int packed = (look.enabled ? 1 : 0) | look.pressed << 1 | look.hot << 3;
  if (packed == shownLook_) return;
  WindowDc dc(hwnd);
  RECT rc{};
  if (dc.get() && GetWindowRect(hwnd, &rc)) {
    OffsetRect(&rc, -rc.left, -rc.top);
    DrawControl(dc.get(), rc);
  }
}

// ---- painting

void TSkinUpDown::DrawControl(HDC dc, const RECT&) {
  const TDataSkinBorder* e = Element();
  if (kind != 1 || !dc || !e || !hwnd) return;
  RECT c{};
  GetClientRect(hwnd, &c);
  TUpDownLook look;
  if (PaintBuffered(picture_, dc, c, [&](const RECT& whole) { look = DrawHalves(e, whole); }))
    shownLook_ = (look.enabled ? 1 : 0) | look.pressed << 1 | look.hot << 3;
}

TUpDownLook TSkinUpDown::DrawHalves(const TDataSkinBorder* e, const RECT& whole) {
  const int w = int(whole.right), h = int(whole.bottom);
  const TUpDownLayout l = Layout();
  const bool edge = l.Arrows.Top > 0;  // the buddy's edge goes round the arrows
  if (edge) {
    FillPixels(picture_.Pixels(), TRect{0, 0, w, h}, GetSysColor(COLOR_WINDOW));
    DrawBuddyEdge(w, h);
  } else if (control && control->Parent() && !inedit) {
    DrawParentBackground(control, picture_.Dc());
  } else {
    FillFace(picture_.Dc(), RECT{0, 0, w, h});
  }
  PixelBuffer& px = picture_.Pixels();
  const TUpDownLook look = Look();
  for (int half : {udFirst, udSecond}) {
    const TRect r = half == udFirst ? l.First : l.Second;
    const int frame = UpDownFrame(half, look);
    DrawSkinMap(px, ToRect(r), e, frame, kUpDownFrames);
    if (e->MaskMap.Empty()) continue;
    // The arrow glyph in the middle of its half at its own size: a half smaller than the
    // glyph's cell shows the cell's middle, so the arrow is never squeezed.
    const int gw = e->MaskMap.Width() / kUpDownFrames, gh = e->MaskMap.Height();
    const TRect at = CentredIn(r, gw, gh);
    const TRect cell = SkinFrameRect(e->MaskMap, false, kUpDownFrames, frame);
    if (at.Width() > 0 && at.Height() > 0)
      StretchCopy(px, at, e->MaskMap, CentredIn(cell, at.Width(), at.Height()), true);
  }
  return look;
}

void TSkinUpDown::DrawBuddyEdge(int w, int h) {
  // The skinned edit's border carried on round the up-down: ButtonShadow outside, white inside,
  // on the top, the bottom and the outer side.
  PixelBuffer& px = picture_.Pixels();
  const COLORREF shadow = SchemeRGB(kShemeButtonShadow);
  const bool left = (GetWindowLongW(hwnd, GWL_STYLE) & UDS_ALIGNLEFT) != 0;
  FillPixels(px, TRect{0, 0, w, 1}, shadow);
  FillPixels(px, TRect{0, h - 1, w, h}, shadow);
  FillPixels(px, TRect{0, 1, w, 2}, 0xFFFFFF);
  FillPixels(px, TRect{0, h - 2, w, h - 1}, 0xFFFFFF);
  if (left) {
    FillPixels(px, TRect{0, 0, 1, h}, shadow);
    FillPixels(px, TRect{1, 1, 2, h - 1}, 0xFFFFFF);
  } else {
    FillPixels(px, TRect{w - 1, 0, w, h}, shadow);
    FillPixels(px, TRect{w - 2, 1, w - 1, h - 1}, 0xFFFFFF);
  }
}

}  // namespace lbb::skin
