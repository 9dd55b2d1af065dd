// TSkinComBox: the border and the drop-down button of a skinned combo box, drawn after the box
// painted itself; the list's scroll bar skinned by a skinner of its own.
#include "skin/controls/WinSkinCombo.h"

#include <windowsx.h>

#include "base/Colour.h"
#include "base/win/Handles.h"
#include "skin/controls/SkinControlHost.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/data/ComboGeometry.h"
#include "skin/data/SkinObjects.h"
#include "skin/win/SkinMessages.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kBoxBorder = 2;  // the box's own sunken edge
constexpr int kButtonFrames = 5;

bool HasMap(const TDataSkinObject* o) {
  return o && !o->Map.Empty();
}

// The offset of the client area's origin inside the window rectangle.
POINT ClientOrigin(HWND hwnd) {
  RECT w{};
  POINT o{0, 0};
  GetWindowRect(hwnd, &w);
  ClientToScreen(hwnd, &o);
  return POINT{o.x - w.left, o.y - w.top};
}

}  // namespace

bool HasComboButtonPicture(const TSkinData* sd) {
  if (!sd || sd->Empty) return false;
  if (HasMap(sd->comboxarrow.get())) return true;
  return HasMap(sd->ExtraImages.get()) && sd->Button && HasMap(sd->Button.get());
}

bool DrawComboButtonPicture(TSkinControl& painter, HDC dc, const RECT& r, int frame) {
  const TSkinData* sd = painter.SkinData();
  if (!dc || !HasComboButtonPicture(sd) || r.right <= r.left || r.bottom <= r.top) return false;
  if (HasMap(sd->comboxarrow.get())) {
    const TDataSkinObject* arrow = sd->comboxarrow.get();
    painter.DrawSkinMap(dc, r, arrow, frame, std::max(arrow->frame, 1));
    return true;
  }
  // The skin's button with its arrow glyph: the combo frames are the button frames 1..4.
  painter.DrawSkinMap(dc, r, sd->Button.get(), frame, kButtonFrames);
  const PixelBuffer& glyph = sd->ExtraImages->Map;
  const int gw = glyph.Width() / kExtraImageFrames;
  const RECT at = ToRect(CentredIn(ToSkin(r), gw, glyph.Height()));
  TSkinControl::DrawSkinMap1(dc, at, glyph, frame, kExtraImageFrames);
  return true;
}

TSkinComBox::TSkinComBox(forms::TComponent* AOwner)
    : TSkinControl(AOwner),
      hover_([this] { return PollHover(CursorOnButton()); }, [this] { SetHot(false); }) {}

TSkinComBox::~TSkinComBox() {
  FreeHelpers();
}

// ---- starting and stopping

void TSkinComBox::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (Inited) Setup();
}

void TSkinComBox::Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas,
                           TSkinControlHost* sf) {
  if (Inited) return;
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  if (Inited) Setup();
}

void TSkinComBox::Setup() {
  FreeHelpers();
  if (!hwnd || !IsWindow(hwnd)) {
    kind = 0;
    return;
  }
  dwStyle = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
  ExStyle = DWORD(GetWindowLongW(hwnd, GWL_EXSTYLE));
  ReadKind();
  StartHelpers();
  InvalidateRect(hwnd, nullptr, TRUE);
}

void TSkinComBox::ReadKind() {
  const bool system = ReadInfo();
  // A simple combo box keeps its native look: its list is always there, it has no button.
  const bool simple = system && (dwStyle & 3) == CBS_SIMPLE;
  kind = !simple && (Combined() || HasComboButtonPicture(fsd)) ? 1 : 0;
}

void TSkinComBox::StartHelpers() {
  if (kind != 1 || hlist || hbtn) return;
  const bool system = info.cbSize != 0;
  hlist = system ? info.hwndList : nullptr;
  if (HasButton && !system) StartButtonWindow();
  ReadInfo();  // the button window, when there is one, tells where the button is
  StartListSkinner();
  isDrop = system && SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TSkinComBox::StartListSkinner() {
  if (!hlist || !skinform || !fsd || !HasMap(fsd->SArrow.get()) ||
      !InSet(fsd->SkinControls(), xcScrollbar))
    return;
  if (SendMessageW(hlist, SKM_ISSKINNED, 0, 0) == 1) return;
  // The system's drop-down list lies on the desktop, over everything: its bar is drawn into it
  // (TComboxScrollBar). A list living inside the box gets the overlays of any child window.
  if (GetParent(hlist) == hwnd) {
    vb = new TSkinScrollbarH(nullptr);
    vb->FreeNotification(this);
    vb->Inithwnd(hlist, fsd, fCanvas, skinform);
  } else {
    db = new TComboxScrollBar(nullptr);
    db->FreeNotification(this);
    db->Inithwnd(hlist, fsd, fCanvas, skinform);
  }
}

void TSkinComBox::StartButtonWindow() {
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == hlist) continue;
    hbtn = child;
    break;
  }
  if (!hbtn) return;
  FBtnObjectInst.Install(hbtn, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    return ButtonProc(msg, wParam, lParam);
  });
  InvalidateRect(hbtn, nullptr, TRUE);
}

void TSkinComBox::FreeHelpers() {
  hover_.Stop();
  if (FBtnObjectInst.Installed()) {
    const HWND b = FBtnObjectInst.Window();
    FBtnObjectInst.Restore();
    if (IsWindow(b)) InvalidateRect(b, nullptr, TRUE);
  }
  hbtn = nullptr;
  btnHot_ = btnDown_ = false;
  // Taken out of the fields first: their going notifies this skinner.
  if (TComboxScrollBar* d = db) {
    db = nullptr;
    delete d;
  }
  if (TSkinScrollbarH* v = vb) {
    vb = nullptr;
    delete v;
  }
  hlist = nullptr;
}

void TSkinComBox::Notification(forms::TComponent* c, forms::TOperation operation) {
  TSkinControl::Notification(c, operation);
  if (operation != forms::TOperation::opRemove) return;
  if (c == db) db = nullptr;
  if (c == vb) vb = nullptr;
}

void TSkinComBox::Unsubclass() {
  const bool was = skinned;
  FreeHelpers();
  TSkinControl::Unsubclass();
  // The box shows its own look again.
  if (was && skinstate != kControlDestroyed && hwnd && IsWindow(hwnd))
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TSkinComBox::SkinChange() {
  // The new skin may lack (or now have) the pictures. The list's skinner follows the new skin
  // by itself: the form skinner tells every skinner of its list, from a copy of the list, so
  // none is freed here.
  if (hwnd && IsWindow(hwnd)) {
    ReadKind();
    StartHelpers();
  }
  TSkinControl::SkinChange();
}

// ---- messages

bool TSkinComBox::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case forms::CM_RECREATEWND:
      // The window goes and a new one comes for the same control: the skinner stays and takes
      // the new window when it is made.
      recreating = true;
      FreeHelpers();
      break;
    case WM_NCDESTROY:
      if (PassOldWindowsEnd(m)) return false;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Shown pressed while the box drops its list down; the press goes on to the box.
      if (kind == 1 && PtInRect(&rBtn, POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}))
        state |= kStatePressed;
      break;
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinComBox::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_CREATE:
      if (TakeRecreatedWindow()) Setup();
      return;
    case WM_NCPAINT:
      if (kind == 1) PaintControl(nullptr);
      return;
    case WM_MOUSEMOVE:
      if (kind != 1) return;
      SetHot(PtInRect(&rBtn, POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}) != FALSE);
      TrackLeave();
      return;
    case WM_MOUSELEAVE:
      SetHot(false);
      return;
    case forms::CM_MOUSELEAVE:
      if (!CursorOnButton()) SetHot(false);
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      state &= static_cast<uint8_t>(~kStatePressed);
      Refresh();
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case CB_SHOWDROPDOWN:
      Refresh();
      return;
    case forms::CN_COMMAND:
      if (HIWORD(m.WParam) == CBN_DROPDOWN) {
        isDrop = true;
        if (kind == 1) PaintControl(nullptr);
      } else if (HIWORD(m.WParam) == CBN_CLOSEUP) {
        isDrop = false;
        state &= static_cast<uint8_t>(~kStatePressed);
        if (kind == 1) PaintControl(nullptr);
      }
      return;
    default:
      if (kind == 1 || m.Msg == SKM_SETSKINNED) TSkinControl::AfterProc(m);
      return;
  }
}

void TSkinComBox::Refresh() {
  if (kind == 1 && FrameNow() != lastFrame_) PaintControl(nullptr);
}

void TSkinComBox::SetHot(bool hot) {
  const bool was = (state & kStateHot) != 0;
  if (hot == was) return;
  if (hot) {
    state |= kStateHot;
    hover_.Watch();
  } else {
    state &= static_cast<uint8_t>(~kStateHot);
    hover_.Stop();
  }
  if (kind == 1) PaintControl(nullptr);
}

bool TSkinComBox::CursorOnButton() const {
  POINT p{};
  RECT w{};
  if (!hwnd || !GetCursorPos(&p) || !GetWindowRect(hwnd, &w)) return false;
  const HWND under = WindowFromPoint(p);
  if (under != hwnd && !IsChild(hwnd, under)) return false;
  return PtInRect(&rBtn, POINT{p.x - w.left, p.y - w.top}) != FALSE;
}

// ---- reading the box

bool TSkinComBox::ReadInfo() {
  info = COMBOBOXINFO{};
  info.cbSize = sizeof info;
  RECT w{};
  GetWindowRect(hwnd, &w);
  const POINT origin = ClientOrigin(hwnd);
  if (GetComboBoxInfo(hwnd, &info)) {
    rBtn = info.rcButton;
    OffsetRect(&rBtn, origin.x, origin.y);
    return true;
  }
  info.cbSize = 0;
  if (hbtn && GetWindowRect(hbtn, &rBtn)) {
    OffsetRect(&rBtn, -w.left, -w.top);
    return false;
  }
  const bool left = (ExStyle & (WS_EX_LEFTSCROLLBAR | WS_EX_LAYOUTRTL)) != 0;
  rBtn = ToRect(ComboFallbackButton(int(w.right - w.left), int(w.bottom - w.top), kBoxBorder,
                                    GetSystemMetrics(SM_CXVSCROLL), left));
  return false;
}

bool TSkinComBox::DroppedNow() {
  const bool system = info.cbSize && hwnd && SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
  if (!control) isDrop = system;
  return isDrop || system;
}

int TSkinComBox::FrameNow() {
  TComboLook look;
  look.enabled = hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_DISABLED) == 0;
  look.dropped = DroppedNow();
  look.pressed = (state & kStatePressed) != 0;
  look.hot = (state & kStateHot) != 0;
  return ComboButtonFrame(look);
}

bool TSkinComBox::Combined() const {
  return fsd && fsd->combox && fsd->combox->style == 2 && HasMap(fsd->combox.get());
}

bool TSkinComBox::ButtonOnLeft() const {
  RECT w{};
  if (!hwnd || !GetWindowRect(hwnd, &w)) return false;
  return (rBtn.left + rBtn.right) / 2 < (w.right - w.left) / 2;
}

// ---- painting

void TSkinComBox::DrawControl(HDC dc, const RECT& rc) {
  if (kind != 1 || !dc || !fsd) return;
  ReadWindowState();
  ReadInfo();
  const int frame = FrameNow();
  lastFrame_ = frame;
  if (Combined()) {
    // Border, button and arrow in one picture whose middle is keyed away.
    const bool mirrored = ButtonOnLeft() && HasMap(fsd->Comboxborder.get());
    const TDataSkinObject* pic = mirrored ? fsd->Comboxborder.get() : fsd->combox.get();
    DrawSkinMap(dc, rc, pic, frame, kComboFrames);
    return;
  }
  DrawBorder(dc, rc);
  if (!hbtn) DrawComboButtonPicture(*this, dc, rBtn, frame);
}

void TSkinComBox::DrawBorder(HDC dc, const RECT& rc) const {
  DrawSunkenEdge(dc, rc, 1);
}

// ---- the button window of a box that has one

LRESULT TSkinComBox::ButtonProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const std::weak_ptr<char> alive = AliveToken();
  const HWND b = hbtn;
  auto previous = [&] { return FBtnObjectInst.CallPrevious(msg, wParam, lParam); };
  if (kind != 1 || !skinned) return previous();
  switch (msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (wParam) {
        PaintButtonWindow(reinterpret_cast<HDC>(wParam));
      } else {
        PaintCycle paint(b);
        PaintButtonWindow(paint.get());
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE: {
      const LRESULT r = previous();
      if (Gone(alive)) return r;
      btnHot_ = true;
      TrackMouseLeave(b);
      PaintButtonWindow(nullptr);
      return r;
    }
    case WM_MOUSELEAVE:
      btnHot_ = false;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      btnDown_ = true;
      break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      btnDown_ = false;
      break;
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_UPDATEUISTATE:
      break;
    default:
      return previous();
  }
  // A push button draws its new look at once on these, without a paint message: the skin goes
  // back on right after.
  const LRESULT r = previous();
  if (!Gone(alive) && IsWindow(b)) PaintButtonWindow(nullptr);
  return r;
}

void TSkinComBox::PaintButtonWindow(HDC adc) {
  if (!hbtn || !IsWindowVisible(hbtn)) return;
  RECT r{};
  GetClientRect(hbtn, &r);
  TComboLook look;
  look.enabled = IsWindowEnabled(hbtn) && IsWindowEnabled(hwnd);
  look.dropped = DroppedNow();
  look.pressed = btnDown_;
  look.hot = btnHot_;
  const int frame = ComboButtonFrame(look);
  if (adc) {
    DrawComboButtonPicture(*this, adc, r, frame);
    return;
  }
  WindowDc dc(hbtn);
  if (dc.get()) DrawComboButtonPicture(*this, dc.get(), r, frame);
}

}  // namespace lbb::skin
