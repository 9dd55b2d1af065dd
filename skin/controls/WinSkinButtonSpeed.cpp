// TSkinSpeedButton: windowless tool buttons. A graphic control has no window: its parent
// hands it WM_PAINT with the parent's device context in wParam (origin at the control) and
// its mouse messages in the control's coordinates, and the application tells it of the mouse
// entering and leaving (CM_MOUSEENTER / CM_MOUSELEAVE). The skinner hooks the control's
// message method and paints through the control's canvas.
#include "base/win/Handles.h"
#include "forms/core/Properties.h"
#include "skin/controls/SkinControlHost.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/data/SkinObjects.h"

namespace lbb::skin {

namespace {

constexpr int kTransparentTag = 5555;

// Clears a re-entry flag when the paint ends, also when it is abandoned.
class ReentryGuard {
 public:
  explicit ReentryGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~ReentryGuard() { flag_ = false; }
  ReentryGuard(const ReentryGuard&) = delete;
  ReentryGuard& operator=(const ReentryGuard&) = delete;

 private:
  bool& flag_;
};

// The canvas locked and bound to a device context for one paint.
class LockedCanvas {
 public:
  LockedCanvas(forms::TCanvas& canvas, HDC dc) : canvas_(canvas) {
    canvas_.Lock();
    canvas_.SetHandle(dc);
  }
  ~LockedCanvas() {
    canvas_.SetHandle(nullptr);
    canvas_.Unlock();
  }
  LockedCanvas(const LockedCanvas&) = delete;
  LockedCanvas& operator=(const LockedCanvas&) = delete;

 private:
  forms::TCanvas& canvas_;
};

}  // namespace

TSkinSpeedButton::TSkinSpeedButton(forms::TComponent* AOwner) : TSkinBitButton(AOwner) {}

void TSkinSpeedButton::InitGraphicControl(TSkinControlHost* sf, TSkinData* sd,
                                          forms::TCanvas* acanvas) {
  if (Inited) return;
  auto* c = dynamic_cast<forms::TControl*>(Owner());
  if (!c) return;
  fsd = sd;
  fCanvas = acanvas;
  skinform = sf;
  GControl = c;
  if (!HookMessages(*c)) return;
  if (sf) sf->AddControlList(this);
  trans = c->Tag() == kTransparentTag || (sd && InSet(sd->Options(), xoTransparent));
  Inited = true;
  skinstate = kControlStarted;
  c->Invalidate();
}

bool TSkinSpeedButton::IsTrue(std::u16string_view prop) const {
  return forms::GetEnumProp(GControl, prop) == u"true";
}

int TSkinSpeedButton::ButtonFrameNow() {
  return SpeedButtonFrame(TSpeedButtonLook{state, enabled, IsTrue(u"Down"), IsTrue(u"Flat")});
}

// ---- messages

bool TSkinSpeedButton::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!m.WParam) return true;
      OnPaintMessage(m);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return OnPressMessage(m);
    default:
      return TSkinButton::BeforeProc(m);
  }
}

void TSkinSpeedButton::OnPaintMessage(forms::TMessage& m) {
  auto* g = dynamic_cast<forms::TGraphicControl*>(GControl);
  if (!g) return;
  LockedCanvas canvas(*g->Canvas(), reinterpret_cast<HDC>(m.WParam));
  DrawSpeedbtn(g->Canvas(), g->ClientRect());
  m.Result = 1;
}

bool TSkinSpeedButton::OnPressMessage(forms::TMessage& m) {
  // The control takes the press first (it presses itself and the parent captures the mouse
  // for it); its handling may free it.
  const auto alive = AliveToken();
  CallOldProc(m);
  if (Gone(alive)) return false;
  state |= kStatePressed;
  PaintControl(nullptr);
  return false;
}

void TSkinSpeedButton::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONUP:
      state &= static_cast<uint8_t>(~kStatePressed);
      PaintControl(nullptr);
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) return;
      if (m.Msg == WM_KEYDOWN) {
        state |= kStatePressed;
      } else {
        state &= static_cast<uint8_t>(~kStatePressed);
      }
      PaintControl(nullptr);
      return;
    case forms::CM_MOUSEENTER:
      state |= kStateHot;
      PaintControl(nullptr);
      return;
    case forms::CM_MOUSELEAVE:
      state &= static_cast<uint8_t>(~(kStateHot | kStatePressed));
      if (GControl && GControl->Visible()) PaintControl(nullptr);
      return;
    case WM_ENABLE:
    case forms::CM_FOCUSCHANGED:
    case forms::CM_ENABLEDCHANGED:
      return;
    case WM_NCDESTROY:
    case forms::CM_RELEASE:
      // The control is going: its own method handles everything from now on.
      skinned = false;
      return;
    default:
      TSkinButton::AfterProc(m);
      return;
  }
}

// ---- painting

void TSkinSpeedButton::PaintControl(HDC adc) {
  auto* g = dynamic_cast<forms::TGraphicControl*>(GControl);
  if (!g || !g->Parent() || !g->Parent()->HandleAllocated()) return;
  const RECT rc = g->ClientRect();
  if (adc) {
    LockedCanvas canvas(*g->Canvas(), adc);
    DrawSpeedbtn(g->Canvas(), rc);
    return;
  }
  if (g->Canvas()->HandleAllocated()) {
    DrawSpeedbtn(g->Canvas(), rc);
    return;
  }
  // Outside a paint the canvas has no device context: the parent's, with the origin moved to
  // the control and clipped to it, as the parent paints its windowless children.
  if (!g->Showing()) return;
  WindowDc dc(g->Parent()->WindowHandle());
  if (!dc.get()) return;
  SavedDc saved(dc.get());
  const RECT b = g->BoundsRect();
  SetViewportOrgEx(dc.get(), b.left, b.top, nullptr);
  IntersectClipRect(dc.get(), 0, 0, b.right - b.left, b.bottom - b.top);
  LockedCanvas canvas(*g->Canvas(), dc.get());
  DrawSpeedbtn(g->Canvas(), rc);
}

void TSkinSpeedButton::DrawSpeedbtn(forms::TCanvas* acanvas, const RECT& rc) {
  if (!GControl || !acanvas || !acanvas->HandleAllocated()) return;
  if (forms::GetEnumProp(GControl, u"Visible") == u"false") return;
  if (FReentr || rc.right <= rc.left || rc.bottom <= rc.top || !SkinButton()) return;
  ReentryGuard guard(FReentr);
  gcanvas = acanvas;
  enabled = IsTrue(u"Enabled");
  focused = false;
  caption = forms::GetStrProp(GControl, u"Caption");
  const int frame = ButtonFrameNow();
  const bool down = IsTrue(u"Down");
  const int face = SpeedButtonDrawsFrame(frame, IsTrue(u"Flat")) ? frame : 0;
  PaintButton(acanvas->Handle(), rc, face, [&] {
    const TGlyphProps g = ReadGlyphProps(PicField);
    const TGlyphChoice choice = SpeedButtonGlyph(frame, down, g.numGlyphs);
    DrawGlyphAndCaption(rc, frame, choice.Image, choice.Embossed, g);
  });
  gcanvas = nullptr;
}

}  // namespace lbb::skin
