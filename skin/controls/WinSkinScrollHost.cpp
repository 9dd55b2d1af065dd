// TSkinScrollbar and TSkinListView: the skinners of control objects with their own scroll
// bars. Each bar gets an overlay; the skinner keeps the overlays over the bars (size, move,
// visibility, paint), lights the part the host's tracking reports, draws the host's two-pixel
// border and the corner square between two bars.
#include <windows.h>

#include <commctrl.h>

#include "base/Colour.h"
#include "forms/core/Properties.h"
#include "skin/controls/SkinControlHost.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/win/SkinMessages.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

// ---- what both bars of a host share (also used by TSkinScrollbarH)

void PositionBarPair(TWScrollbar* h, TWScrollbar* v, HWND host) {
  if (h) h->SetPosition(host);
  if (v) v->SetPosition(host);
}

void HideBarPair(TWScrollbar* h, TWScrollbar* v) {
  if (h) h->HideScrollbar();
  if (v) v->HideScrollbar();
}

void RepaintBarPair(TWScrollbar* h, TWScrollbar* v) {
  for (TWScrollbar* b : {h, v})
    if (b && b->sbVisible) b->Repaint();
}

void PaintBarPair(TWScrollbar* h, TWScrollbar* v, HWND host) {
  const LONG style = GetWindowLongW(host, GWL_STYLE);
  for (TWScrollbar* b : {h, v}) {
    if (!b) continue;
    if (b->sbVisible) {
      b->Repaint();
    } else if (style & (b == h ? WS_HSCROLL : WS_VSCROLL)) {
      b->SetPosition(host);
    }
  }
}

// The host's own bar sends lParam 0 (a scroll-bar control inside it sends its window); the
// scroll code names the part the host's tracking works on.
void ScrollBarPair(TWScrollbar* h, TWScrollbar* v, const forms::TMessage& m) {
  if (m.LParam != 0) return;
  TWScrollbar* b = m.Msg == WM_HSCROLL ? h : v;
  if (!b) return;
  b->scrollpos = LOWORD(m.WParam);
  b->Repaint();
}

TSkinScrollbar::TSkinScrollbar(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::InitScrollbar(forms::TWinControl* acontrol, TSkinData* sd,
                                   forms::TCanvas* acanvas, TSkinControlHost* sf) {
  if (Inited || !acontrol) return;
  fsd = sd;
  skinform = sf;
  fCanvas = acanvas;
  control = acontrol;
  hwnd = acontrol->Handle();
  isunicode = hwnd && IsWindowUnicode(hwnd);
  if (skinform) skinform->AddControlList(this);
  border = forms::GetEnumProp(acontrol, u"BorderStyle") != u"bsNone";
  if (acontrol->ClassName() == u"TImageScrollBox" || kind == 1) border = false;
  const forms::TPropInfo* fixed = forms::FindProp(acontrol, u"FixedColor");
  if (fixed && fixed->type == forms::TPropType::tkInteger) {
    hasFixedColor_ = true;
    fixedColor_ = forms::GetIntProp(acontrol, u"FixedColor");
    forms::SetIntProp(acontrol, u"FixedColor", SchemeColor(kShemeButtonFace));
  }
  hb = std::make_unique<TWScrollbar>(this);
  vb = std::make_unique<TWScrollbar>(this);
  hb->Attach(this, acontrol, 0);
  vb->Attach(this, acontrol, 1);
  OnEnabledChanged();
  if (!acontrol->Visible()) HideBars();
  HookMessages(*acontrol);
  Inited = true;
  skinstate = kControlStarted;
  if (border && hwnd) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool) {
  InitScrollbar(dynamic_cast<forms::TWinControl*>(Owner()), sd, acanvas, sf);
}

void TSkinScrollbar::Unsubclass() {
  if (hasFixedColor_ && control && skinstate != kControlDestroyed)
    forms::SetIntProp(control, u"FixedColor", fixedColor_);
  TSkinControl::Unsubclass();
  if (skinstate == kControlDestroyed) {
    HideBars();
  } else {
    hb.reset();
    vb.reset();
  }
}

void TSkinScrollbar::SkinChange() {
  if (hasFixedColor_ && control)
    forms::SetIntProp(control, u"FixedColor", SchemeColor(kShemeButtonFace));
  TSkinControl::SkinChange();
}

// ---- messages

bool TSkinScrollbar::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      OnNcPaint(m);
      return false;
    case SKM_PAINTFRAMETO:
      if (m.LParam != SkinMagic) break;
      if (border) DrawBorder(reinterpret_cast<HDC>(m.WParam));
      m.Result = SkinMagic;
      return false;
    case WM_DESTROY:
      HideBars();
      break;
    case forms::CM_RECREATEWND:
      OnRecreate();
      break;
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinScrollbar::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      sizing = true;
      PositionBars();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnScroll(m);
      break;
    case WM_MOUSEWHEEL:
      RepaintBars();
      break;
    case forms::CM_VISIBLECHANGED:
      OnVisibleChanged(m);
      break;
    case forms::CM_ENABLEDCHANGED:
      OnEnabledChanged();
      TSkinControl::AfterProc(m);
      break;
    default:
      TSkinControl::AfterProc(m);
      break;
  }
}

void TSkinScrollbar::OnNcPaint(forms::TMessage& m) {
  // The control paints its frame and native bars first; the border and the overlays go over.
  const std::weak_ptr<char> alive = AliveToken();
  CallOldProc(m);
  if (Gone(alive) || !hwnd) return;
  if (border) {
    WindowDc dc(hwnd, true);
    if (dc.get()) DrawBorder(dc.get());
  }
  RepaintBars();
}

void TSkinScrollbar::OnRecreate() {
  // The window goes and a new one comes: the form skinner gives the control a new skinner.
  HideBars();
  if (skinform && skinform->HostWindow())
    PostMessageW(skinform->HostWindow(), SKM_RESKINSCROLLBAR, reinterpret_cast<WPARAM>(hwnd), 0);
}

void TSkinScrollbar::OnScroll(forms::TMessage& m) {
  ScrollBarPair(hb.get(), vb.get(), m);
}

void TSkinScrollbar::OnVisibleChanged(forms::TMessage& m) {
  if (m.WParam)
    PositionBars();
  else
    HideBars();
}

void TSkinScrollbar::OnEnabledChanged() {
  const bool on = control ? control->Enabled() : true;
  for (TWScrollbar* b : {hb.get(), vb.get()})
    if (b) b->SetEnabled(on);
}

void TSkinScrollbar::PositionBars() {
  if (hwnd) PositionBarPair(hb.get(), vb.get(), hwnd);
}

void TSkinScrollbar::HideBars() {
  HideBarPair(hb.get(), vb.get());
}

void TSkinScrollbar::RepaintBars() {
  RepaintBarPair(hb.get(), vb.get());
}

// ---- painting

void TSkinScrollbar::DrawControl(HDC, const RECT&) {
  if (!hwnd) return;
  PaintBarPair(hb.get(), vb.get(), hwnd);
  PaintCorner();
  painted = true;
}

void TSkinScrollbar::DrawBorder(HDC dc) const {
  RECT w{};
  if (!dc || !GetWindowRect(hwnd, &w)) return;
  const TScrollBorder b = ScrollBorderRects(w.right - w.left, w.bottom - w.top);
  BrushHandle shadow(CreateSolidBrush(SchemeRGB(kShemeButtonShadow)));
  BrushHandle face(CreateSolidBrush(SchemeRGB(kShemeButtonFace)));
  const RECT outer{b.Shadow.Left, b.Shadow.Top, b.Shadow.Right, b.Shadow.Bottom};
  const RECT inner{b.Face.Left, b.Face.Top, b.Face.Right, b.Face.Bottom};
  FrameRect(dc, &outer, shadow.get());
  FrameRect(dc, &inner, face.get());
}

void TSkinScrollbar::PaintCorner() {
  if (!hb || !vb || !hb->sbVisible || !vb->sbVisible) return;
  // The corner rule counts the host's two-pixel border from client to window coordinates;
  // the bars are shifted so that it lands on the host's actual border width.
  RECT w{};
  POINT origin{0, 0};
  if (!GetWindowRect(hwnd, &w) || !ClientToScreen(hwnd, &origin)) return;
  const int dx = origin.x - w.left - 2, dy = origin.y - w.top - 2;
  auto shifted = [&](const RECT& r) {
    return TRect{int(r.left) + dx, int(r.top) + dy, int(r.right) + dx, int(r.bottom) + dy};
  };
  const TRect c = ScrollCornerRect(shifted(vb->sbRect), shifted(hb->sbRect));
  const RECT corner = ToRect(c);
  WindowDc dc(hwnd, true);
  if (dc.get()) FillFace(dc.get(), corner);
}

// ---- TSkinListView

TSkinListView::TSkinListView(forms::TComponent* AOwner) : TSkinScrollbar(AOwner) {}

TSkinListView::~TSkinListView() {
  headerHook_.Restore();
}

void TSkinListView::InitScrollbar(forms::TWinControl* acontrol, TSkinData* sd,
                                  forms::TCanvas* acanvas, TSkinControlHost* sf) {
  if (Inited) return;
  TSkinScrollbar::InitScrollbar(acontrol, sd, acanvas, sf);
  if (!hwnd) return;
  const HWND header = ListView_GetHeader(hwnd);
  if (!header) return;
  headerHook_.Install(header, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    return HeaderProc(msg, wParam, lParam);
  });
  AttachHeaderSkinner(header);
}

LRESULT TSkinListView::HeaderProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const std::weak_ptr<char> alive = AliveToken();
  const LRESULT r = headerHook_.CallPrevious(msg, wParam, lParam);
  if (Gone(alive) || !skinned) return r;
  switch (msg) {
    case WM_MOUSEMOVE:
      // Only while a column is dragged wider or narrower (the header holds the mouse).
      if (GetCapture() != headerHook_.Window()) break;
      [[fallthrough]];
    case WM_LBUTTONUP:
    case WM_WINDOWPOSCHANGED:
    case HDM_INSERTITEMW:
    case HDM_DELETEITEM:
    case HDM_SETITEMW:
    case HDM_LAYOUT:
      // The columns changed: the list's horizontal range (and with it its bars) may have.
      PositionBars();
      break;
    default:
      break;
  }
  return r;
}

}  // namespace lbb::skin
