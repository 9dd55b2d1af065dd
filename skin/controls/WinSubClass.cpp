#include "skin/controls/WinSubClass.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "base/Colour.h"
#include "base/PerThread.h"
#include "base/Text.h"
#include "base/win/Handles.h"
#include "forms/WinText.h"
#include "forms/core/Properties.h"
#include "skin/controls/SkinControlHost.h"
#include "skin/data/ControlGeometry.h"
#include "skin/data/imgutil.h"
#include "skin/win/SkinMessages.h"
#include "skin/win/SkinRects.h"
#include "skin/win/WinSkinText.h"

namespace lbb::skin {

namespace {

constexpr UINT kRtlReading = 0x20000;  // DT_RTLREADING

bool Inverted(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// Frame I of N of `bmp` cut out and stretched to a new image of rc's size.
PixelBuffer StretchedFrame(const PixelBuffer& bmp, const RECT& rc, int I, int N) {
  PixelBuffer out(int(rc.right - rc.left), int(rc.bottom - rc.top));
  if (out.Empty() || bmp.Empty() || N < 1) return out;
  out.Fill(kSkinKeyColour);
  StretchCopy(out, TRect{0, 0, out.Width(), out.Height()}, bmp, SkinFrameRect(bmp, false, N, I));
  return out;
}

// Puts `img` at rc of dc, keyed (0xFF00FF leaves dc as it was) or copied, through a scratch
// surface of the painting thread: the DC's pixels under rc are read first when keyed.
void PutImage(HDC dc, const RECT& rc, const PixelBuffer& img, bool keyed) {
  static TPerThread<TDibSurface> scratches;
  if (img.Empty()) return;
  TDibSurface& scratch = scratches.Mine();
  PaintBuffered(scratch, dc, rc, [&](const RECT& whole) {
    if (keyed) BitBlt(scratch.Dc(), 0, 0, whole.right, whole.bottom, dc, rc.left, rc.top, SRCCOPY);
    StretchCopy(scratch.Pixels(), ToSkin(whole), img, TRect{0, 0, img.Width(), img.Height()},
                keyed);
  });
}

// The text box of `text` measured in rc with `flags` (plus DT_CALCRECT | DT_NOCLIP).
RECT MeasureText(HDC dc, const std::u16string& text, const RECT& rc, UINT flags) {
  RECT box = rc;
  DrawTextCompat(dc, text, box, flags | DT_CALCRECT | DT_NOCLIP);
  return box;
}

TSize SizeOf(const RECT& r) {
  return TSize{int(r.right - r.left), int(r.bottom - r.top)};
}

}  // namespace

TSkinControl::TSkinControl(forms::TComponent* AOwner) : forms::TComponent(AOwner) {}

TSkinControl::~TSkinControl() {
  // The control's previous message method and window procedure go back in place; the hook
  // does nothing when the control is already gone.
  hook_.reset();
  subclass_.Restore();
  if (skinform) skinform->DeleteControl(this);
}

// ---- starting and stopping

void TSkinControl::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  auto* c = dynamic_cast<forms::TWinControl*>(Owner());
  if (!c) return;
  newColor = acolor;
  fsd = sd;
  skinform = sf;
  fCanvas = acanvas;
  control = c;
  hwnd = c->Handle();
  isunicode = hwnd && IsWindowUnicode(hwnd);
  HookMessages(*c);
  if (skinform) skinform->AddControlList(this);
  if (newColor) {
    oldcolor = c->Color();
    c->SetColor(SchemeColor(kShemeButtonFace));
  }
  if (parentbk) kind = 1;
  c->Invalidate();  // a window that does not show is not marked: it is painted when it shows
  Inited = true;
  skinstate = kControlStarted;
}

void TSkinControl::Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas,
                            TSkinControlHost* sf) {
  if (Inited) return;
  fsd = sd;
  fCanvas = acanvas;
  skinform = sf;
  hwnd = ahwnd;
  enabled = true;
  kind = 0;
  if (skinform) skinform->AddControlList(this);
  isunicode = IsWindowUnicode(ahwnd) != 0;
  caption = WindowText();
  HookWindow(ahwnd);
  if (IsWindowVisible(ahwnd)) InvalidateRect(ahwnd, nullptr, TRUE);
  Inited = true;
  skinstate = kControlStarted;
}

bool TSkinControl::HookMessages(forms::TControl& c) {
  hook_ = std::make_unique<forms::TWindowProcHook>([this](forms::TMessage& m) { NewWndProc(m); });
  return hook_->Install(c);
}

bool TSkinControl::HookWindow(HWND ahwnd) {
  return subclass_.Install(ahwnd, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    forms::TMessage m{msg, wParam, lParam, 0};
    NewWndProc(m);
    return m.Result;
  });
}

void TSkinControl::Unsubclass() {
  if (!skinned) return;
  skinned = false;
  if (skinstate != kControlDestroyed && newColor && control) control->SetColor(oldcolor);
}

void TSkinControl::SkinChange() {
  if (newColor && control) control->SetColor(SchemeColor(kShemeButtonFace));
  Redraw();
}

void TSkinControl::MouseLeave() {
  if (hwnd && IsWindow(hwnd)) SendMessageW(hwnd, forms::CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::Redraw() {
  if (GControl) {
    GControl->Invalidate();
    return;
  }
  if (hwnd && IsWindow(hwnd))
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

// ---- the message pipeline

void TSkinControl::NewWndProc(forms::TMessage& m) {
  // The control's own handling may free the control and with it this skinner: after every
  // step that runs it, nothing here is touched unless the skinner is still there.
  const std::weak_ptr<char> alive = life_;
  done = false;
  if (m.Msg == SKM_SETSKINNED) {
    skinned = static_cast<intptr_t>(m.WParam) > 0;
    if (skinned) Redraw();
    return;
  }
  if (!skinned) {
    CallOldProc(m);
    return;
  }
  if (!BeforeProc(m) || Gone(alive)) return;
  CallOldProc(m);
  if (Gone(alive)) return;
  AfterProc(m);
}

void TSkinControl::CallOldProc(forms::TMessage& m) {
  if (hook_ && hook_->Installed()) {
    hook_->CallPrevious(m);
  } else if (subclass_.Installed()) {
    m.Result = subclass_.CallPrevious(m.Msg, m.WParam, m.LParam);
  } else if (hook_) {
    // The control object is gone; nothing to hand the message to.
  } else if (hwnd && IsWindow(hwnd)) {
    m.Result = DefWindowProcW(hwnd, m.Msg, m.WParam, m.LParam);
  }
}

bool TSkinControl::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY: {
      skinstate = kControlDestroyed;
      const std::weak_ptr<char> alive = life_;
      CallOldProc(m);
      if (!Gone(alive) && skinned) Unsubclass();
      return false;
    }
    case SKM_ISSKINNED:
      m.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinControl::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case forms::CM_ENABLEDCHANGED:
      Redraw();
      break;
    case WM_PAINT:
      // Over what the control just drew (wParam: the DC it painted into, or 0).
      PaintControl(reinterpret_cast<HDC>(m.WParam));
      break;
    case SKM_SETSKINNED:
      skinned = static_cast<intptr_t>(m.WParam) > 0;
      break;
    default:
      break;
  }
}

// ---- painting

void TSkinControl::PaintControl(HDC adc) {
  RECT r{};
  if (!hwnd || !GetWindowRect(hwnd, &r)) return;
  boundsrect = r;
  OffsetRect(&r, -r.left, -r.top);
  try {
    if (adc) {
      DrawControl(adc, r);
    } else {
      WindowDc dc(hwnd, true);
      if (dc.get()) DrawControl(dc.get(), r);
    }
  } catch (const std::exception&) {
    // A failed paint leaves what was drawn before.
  }
}

void TSkinControl::DrawControl(HDC, const RECT&) {}

bool TSkinControl::TakeOwnPaint(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      PaintHandler(m);
      return true;
    case WM_ERASEBKGND:
      m.Result = 1;  // the paint covers every pixel
      return true;
    default:
      return false;
  }
}

bool TSkinControl::PassOldWindowsEnd(forms::TMessage& m) {
  if (!recreating) return false;
  CallOldProc(m);
  return true;
}

bool TSkinControl::TakeRecreatedWindow() {
  if (!recreating || !control) return false;
  recreating = false;
  hwnd = control->WindowHandle();
  isunicode = hwnd && IsWindowUnicode(hwnd);
  return true;
}

std::u16string LowerClassName(HWND w) {
  return w ? LowerAscii(forms::WindowClassName(w)) : std::u16string();
}

void TSkinControl::PaintHandler(forms::TMessage& m) {
  RECT r{};
  auto draw = [&](HDC dc) {
    if (!GetWindowRect(hwnd, &r)) return;
    boundsrect = r;
    OffsetRect(&r, -r.left, -r.top);
    try {
      DrawControl(dc, r);
    } catch (const std::exception&) {
      // As PaintControl: the control keeps what was drawn before.
    }
  };
  if (m.WParam) {
    draw(reinterpret_cast<HDC>(m.WParam));
  } else {
    PaintCycle paint(hwnd);
    if (paint.get()) draw(paint.get());
  }
  m.Result = 0;
}

void TSkinControl::EraseHandler(forms::TMessage& m) {
  const HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (control) {
    DrawParentBackground(control, dc);
  } else if (hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    FillFace(dc, r);
  }
  m.Result = 1;
}

void TSkinControl::DrawParentBackground(forms::TControl* acontrol, HDC dc) {
  forms::TWinControl* parent = acontrol ? acontrol->Parent() : nullptr;
  if (!parent || !dc || !parent->WindowHandle()) return;
  const RECT b = acontrol->BoundsRect();
  SavedDc saved(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - b.left, origin.y - b.top, nullptr);
  IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
  const auto wp = reinterpret_cast<WPARAM>(dc);
  parent->Perform(WM_ERASEBKGND, wp, 0);
  parent->Perform(WM_PAINT, wp, 0);
}

// ---- mouse

void TSkinControl::ForwardMouseDown(const forms::TMessage& m) {
  if (!control) return;
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  if (ForwardUsesCursor(int(control->Width()), int(control->Height()))) {
    POINT p{};
    GetCursorPos(&p);
    p = control->ScreenToClient(p);
    x = p.x;
    y = p.y;
  }
  forms::TShiftState shift = 0;
  if (m.WParam & MK_SHIFT) shift |= forms::ssShift;
  if (m.WParam & MK_CONTROL) shift |= forms::ssCtrl;
  if (m.WParam & MK_LBUTTON) shift |= forms::ssLeft;
  if (m.WParam & MK_RBUTTON) shift |= forms::ssRight;
  if (m.WParam & MK_MBUTTON) shift |= forms::ssMiddle;
  if (m.Msg == WM_LBUTTONDBLCLK) shift |= forms::ssDouble;
  control->MouseDown(forms::TMouseButton::mbLeft, shift, x, y);
}

void TSkinControl::TrackLeave() const {
  TrackMouseLeave(hwnd);
}

bool TSkinControl::CursorOver() const {
  return skin::CursorOver(hwnd);
}

bool TSkinControl::EndsHover(const forms::TMessage& m, THoverWatcher& hover) const {
  if (m.Msg != WM_MOUSELEAVE && m.Msg != forms::CM_MOUSELEAVE) return false;
  if (m.Msg == WM_MOUSELEAVE || !CursorOver()) hover.Leave();
  return true;
}

THoverWatcher::TPoll TSkinControl::PollHover(bool over) const {
  if (!skinned) return THoverWatcher::TPoll::Idle;
  return over ? THoverWatcher::TPoll::Over : THoverWatcher::TPoll::Left;
}

void TSkinControl::ReadWindowState() {
  if (!hwnd) return;
  enabled = (GetWindowLongW(hwnd, GWL_STYLE) & WS_DISABLED) == 0;
  focused = GetFocus() == hwnd;
}

std::u16string TSkinControl::WindowText() const {
  if (!hwnd) return {};
  const int n = GetWindowTextLengthW(hwnd);
  if (n <= 0) return {};
  std::u16string s(size_t(n) + 1, u'\0');
  const int got = GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(s.data()), n + 1);
  s.resize(size_t(std::max(got, 0)));
  return s;
}

// ---- drawing helpers

void TSkinControl::DrawSunkenEdge(HDC dc, const RECT& r, int whiteRings) const {
  BrushHandle shadow(CreateSolidBrush(SchemeRGB(kShemeButtonShadow)));
  BrushHandle white(CreateSolidBrush(RGB(255, 255, 255)));
  FrameIn(dc, r, shadow.get());
  for (int i = 1; i <= whiteRings; ++i)
    FrameIn(dc, Inset(r, i), white.get());
}

TColor TSkinControl::SchemeColor(int index) const {
  if (fsd && index >= 0 && index < int(std::size(fsd->Colors))) return fsd->Colors[index];
  return SysColor(index == kShemeButtonText ? kColorBtnText : kColorBtnFace);
}

void TSkinControl::DrawSkinMap(PixelBuffer& dst, const RECT& rc, const TDataSkinObject* aObject,
                               int I, int N) {
  if (!aObject || aObject->Map.Empty() || Inverted(rc)) return;
  const TRect size{0, 0, int(rc.right - rc.left), int(rc.bottom - rc.top)};
  const PixelBuffer img =
      RenderSkinImage(size, aObject->Map, aObject->r, false, aObject->Tile == 1, N, I);
  StretchCopy(dst, ToSkin(rc), img, size, aObject->trans == 1);
}

void TSkinControl::DrawSkinMap(HDC dc, const RECT& rc, const TDataSkinObject* aObject, int I,
                               int N) {
  if (!aObject || aObject->Map.Empty() || Inverted(rc)) return;
  const TRect size{0, 0, int(rc.right - rc.left), int(rc.bottom - rc.top)};
  PutImage(dc, rc, RenderSkinImage(size, aObject->Map, aObject->r, false, aObject->Tile == 1, N, I),
           aObject->trans == 1);
}

void TSkinControl::DrawSkinMap1(HDC dc, const RECT& rc, const PixelBuffer& bmp, int I, int N) {
  if (Inverted(rc)) return;
  PutImage(dc, rc, StretchedFrame(bmp, rc, I, N), true);
}

void TSkinControl::DrawSkinMap2(HDC dc, const RECT& rc, const PixelBuffer& bmp, int I, int N) {
  // The same picture as DrawSkinMap1: both put the stretched frame down with the key colour
  // left out.
  DrawSkinMap1(dc, rc, bmp, I, N);
}

void TSkinControl::DrawSkinMap3(forms::TCanvas* acanvas, const RECT& rc, const PixelBuffer& bmp,
                                int I, int N) {
  if (acanvas && acanvas->Handle()) DrawSkinMap1(acanvas->Handle(), rc, bmp, I, N);
}

void TSkinControl::DrawBMPSkin(TDibSurface& abmp, const RECT& rc, const TDataSkinObject* aObject,
                               int I, int N, int trans) {
  if (Inverted(rc) || !abmp.Reserve(int(rc.right), int(rc.bottom))) return;
  PixelBuffer& px = abmp.Pixels();
  const Pixel face = PixelOf(SchemeRGB(kShemeButtonFace));
  for (int y = std::max(0, int(rc.top)); y < std::min(px.Height(), int(rc.bottom)); ++y)
    for (int x = std::max(0, int(rc.left)); x < std::min(px.Width(), int(rc.right)); ++x)
      px.At(x, y) = face;
  if (!aObject || aObject->Map.Empty()) return;
  const TRect size{0, 0, int(rc.right - rc.left), int(rc.bottom - rc.top)};
  const PixelBuffer img =
      RenderSkinImage(size, aObject->Map, aObject->r, false, aObject->Tile == 1, N, I);
  StretchCopy(px, size, img, size, trans == 1);
}

TDibSurface& TSkinControl::WorkSurface() {
  // One per painting thread: every skinner of a thread draws into it and copies it out at
  // once, so it is never shared between two paints in flight.
  static TPerThread<TDibSurface> surfaces;
  TDibSurface& work = surfaces.Mine();
  if (work.Empty()) work.Reserve(64, 32);
  if (work.Dc()) SetStretchBltMode(work.Dc(), COLORONCOLOR);
  return work;
}

void TSkinControl::DrawSkin(const RECT& rc, const TDataSkinObject* aObject, int I, int N,
                            int trans) {
  DrawBMPSkin(WorkSurface(), rc, aObject, I, N, trans);
}

void TSkinControl::DrawBuf(HDC dc, const RECT& rc) {
  TDibSurface& work = WorkSurface();
  work.Present(dc, rc.left, rc.top, rc);
}

void TSkinControl::FillFace(HDC dc, const RECT& rc) const {
  BrushHandle b(CreateSolidBrush(SchemeRGB(kShemeButtonFace)));
  FillRect(dc, &rc, b.get());
}

void TSkinControl::FillParentColor(HDC dc, const RECT& rc) const {
  BrushHandle b(CreateSolidBrush(ColorToRGB(GetParentColor(SchemeColor(kShemeButtonFace)))));
  FillRect(dc, &rc, b.get());
}

TColor TSkinControl::GetParentColor(TColor acolor) const {
  const forms::TControl* c = control ? control : GControl;
  const forms::TWinControl* parent = c ? c->Parent() : nullptr;
  const forms::TPropInfo* p = forms::FindProp(parent, u"Color");
  if (!p || p->type != forms::TPropType::tkInteger) return acolor;
  return static_cast<TColor>(forms::GetIntProp(parent, u"Color"));
}

UINT TSkinControl::CheckBiDi(UINT dw) const {
  const forms::TControl* c = control ? static_cast<forms::TControl*>(control) : GControl;
  bool rtl = forms::GetEnumProp(c, u"BiDiMode") == u"bdRightToLeft";
  if (!rtl && hwnd && !GControl) rtl = (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
  return rtl ? dw | kRtlReading : dw;
}

int TSkinControl::TextHeight(HDC dc, const std::u16string& s) {
  SIZE size{};
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(s.c_str()), int(s.size()), &size);
  return size.cy;
}

void TSkinControl::DrawCaption(HDC dc, const RECT& rc, const std::u16string& text, bool aenabled,
                               bool, int Alignment) {
  const UINT flags = UINT(Alignment) | DT_EXPANDTABS;
  SetBkMode(dc, TRANSPARENT);
  const RECT box = MeasureText(dc, text, rc, flags);
  RECT place = ToRect(PlaceCaption(ToSkin(rc), SizeOf(box), Alignment));
  if (!aenabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextCompat(dc, text, place, CheckBiDi(flags));
}

void TSkinControl::DrawImgCaption(HDC dc, const RECT& rc, forms::TCustomImageList* ImgList,
                                  int imgIndex, const std::u16string& text, int talign) {
  TImgCaptionInput in;
  in.rc = ToSkin(rc);
  in.HasImage = imgIndex != -1 && ImgList != nullptr;
  in.Image = ImgList ? TSize{int(ImgList->Width()), int(ImgList->Height())} : TSize{};
  in.TextAlign = talign;
  RECT measure = ToRect(ImgCaptionMeasureBox(in));
  if (!text.empty()) DrawTextCompat(dc, text, measure, 0x8550);
  in.Text = text.empty() ? TSize{} : SizeOf(measure);
  const TImgCaptionPlace place = PlaceImgCaption(in);
  if (place.DrawsImage && ImgList) ImgList->Draw(dc, place.ImageX, place.ImageY, imgIndex);
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  RECT box = ToRect(place.Text);
  DrawTextCompat(dc, text, box, CheckBiDi(0x8050));
}

void TSkinControl::DrawCaptionFocus(HDC dc, UINT flags, const RECT& rc) {
  const RECT box = MeasureText(dc, caption, rc, flags);
  const RECT focus = ToRect(CaptionFocusRect(ToSkin(rc), SizeOf(box), int(flags)));
  DrawFocusRect(dc, &focus);
}

}  // namespace lbb::skin
