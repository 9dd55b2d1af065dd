// TSkinScrollbarH (a bare window with its own bars) and TSkinScControl (a scroll-bar control).
#include "skin/controls/WinSkinScrollbars.h"

namespace lbb::skin {

// ---- TSkinScrollbarH

TSkinScrollbarH::TSkinScrollbarH(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollbarH::~TSkinScrollbarH() = default;

void TSkinScrollbarH::Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas,
                               TSkinControlHost* sf) {
  if (Inited) return;
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  hb = std::make_unique<TWScrollbar>(this);
  vb = std::make_unique<TWScrollbar>(this);
  hb->AttachHwnd(this, ahwnd, 0);
  vb->AttachHwnd(this, ahwnd, 1);
}

void TSkinScrollbarH::Unsubclass() {
  TSkinControl::Unsubclass();
  if (skinstate == kControlDestroyed) {
    HideBarPair(hb.get(), vb.get());
  } else {
    hb.reset();
    vb.reset();
  }
}

bool TSkinScrollbarH::BeforeProc(forms::TMessage& m) {
  if (m.Msg == WM_DESTROY) HideBarPair(hb.get(), vb.get());
  return TSkinControl::BeforeProc(m);
}

void TSkinScrollbarH::AfterProc(forms::TMessage& m) {
  if (!IsWindowVisible(hwnd)) HideBarPair(hb.get(), vb.get());
  switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
    case WM_WINDOWPOSCHANGED:
      // Placing an overlay repaints it; the window itself needs nothing more (redrawing it
      // from here would come back as another WM_NCPAINT).
      PositionBars();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      ScrollBarPair(hb.get(), vb.get(), m);
      break;
    case WM_MOUSEWHEEL:
      RepaintBars();
      break;
    default:
      TSkinControl::AfterProc(m);
      break;
  }
}

void TSkinScrollbarH::DrawControl(HDC, const RECT&) {
  if (hwnd) PaintBarPair(hb.get(), vb.get(), hwnd);
}

void TSkinScrollbarH::PositionBars() {
  if (hwnd && IsWindowVisible(hwnd)) PositionBarPair(hb.get(), vb.get(), hwnd);
}

void TSkinScrollbarH::RepaintBars() {
  RepaintBarPair(hb.get(), vb.get());
}

// ---- TSkinScControl

TSkinScControl::TSkinScControl(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScControl::~TSkinScControl() = default;

void TSkinScControl::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas,
                          bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (!Inited || !control) return;
  sb = std::make_unique<TWScrollbar>(this);
  sb->Attach(this, control, 2);
  sb->SetEnabled(control->Enabled());
}

void TSkinScControl::Unsubclass() {
  TSkinControl::Unsubclass();
  if (skinstate == kControlDestroyed) {
    if (sb) sb->HideScrollbar();
  } else {
    sb.reset();
  }
}

bool TSkinScControl::BeforeProc(forms::TMessage& m) {
  if (m.Msg == WM_DESTROY && sb) sb->HideScrollbar();
  // The mouse on the overlay is on the control: the control does not lose it to its own
  // overlay (the form library would drop the control's hint).
  if (m.Msg == WM_MOUSELEAVE && sb && sb->Handle()) {
    if (skin::CursorOver(sb->Handle())) return false;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinScControl::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
      Place();
      break;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case forms::CN_HSCROLL:
    case forms::CN_VSCROLL:
      if (sb) sb->Repaint();
      break;
    case forms::CM_VISIBLECHANGED:
      if (m.WParam)
        Place();
      else if (sb)
        sb->HideScrollbar();
      break;
    case forms::CM_ENABLEDCHANGED:
      if (sb && control) sb->SetEnabled(control->Enabled());
      TSkinControl::AfterProc(m);
      break;
    default:
      TSkinControl::AfterProc(m);
      break;
  }
}

void TSkinScControl::Place() {
  if (control && control->HandleAllocated()) hwnd = control->WindowHandle();
  if (sb && hwnd) sb->SetPosition(hwnd);
}

void TSkinScControl::DrawControl(HDC, const RECT&) {
  if (sb) sb->Repaint();
}

}  // namespace lbb::skin
