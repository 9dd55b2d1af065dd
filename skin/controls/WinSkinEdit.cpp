// TSkinEdit: the border of a skinned edit. The edit draws its text and its own sunken edge;
// after every paint the skinner draws over the edge in the non-client area.
#include "skin/controls/WinSkinEdit.h"

#include <algorithm>
#include <string>

#include "base/Colour.h"
#include "base/win/Handles.h"
#include "skin/controls/SkinControlHost.h"
#include "skin/controls/WinSkinFactory.h"
#include "skin/win/SkinMessages.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kPrintBorderMin = 3;  // a printed edit's client area is this much smaller

bool IsUpDownClass(const std::u16string& cls) {
  return cls == u"msctls_updown32" || cls.find(u"spin") != std::u16string::npos ||
         cls.find(u"updown") != std::u16string::npos;
}

}  // namespace

TSkinEdit::TSkinEdit(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

bool TSkinEdit::BeforeProc(forms::TMessage& m) {
  if (m.Msg == SKM_PAINTCLIENTTO && m.LParam == SkinMagic) {
    OnPaintClientTo(m);
    return false;
  }
  // The edit leaves its own clipping on a DC it prints into; the caller's state is kept so
  // the border is drawn as the caller set the DC up.
  if (m.Msg == WM_PRINT && m.WParam) printState_ = SaveDC(reinterpret_cast<HDC>(m.WParam));
  return TSkinControl::BeforeProc(m);
}

void TSkinEdit::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintControl(reinterpret_cast<HDC>(m.WParam));
      return;
    case WM_NCPAINT:
      // The edit redrew its own edge alone (focus changes do that): the border goes back on.
      PaintControl(nullptr);
      return;
    case WM_PRINT:
      if (m.WParam && printState_) RestoreDC(reinterpret_cast<HDC>(m.WParam), printState_);
      printState_ = 0;
      DrawPrintBorder(reinterpret_cast<HDC>(m.WParam));
      return;
    default:
      TSkinControl::AfterProc(m);
      return;
  }
}

void TSkinEdit::OnPaintClientTo(forms::TMessage& m) {
  forms::TMessage paint{WM_PAINT, m.WParam, 0, 0};
  const auto alive = AliveToken();
  CallOldProc(paint);
  if (Gone(alive)) return;
  m.Result = SkinMagic;
}

bool TSkinEdit::Borderless(const RECT& rc) const {
  RECT client{};
  if (!hwnd || !GetClientRect(hwnd, &client)) return true;
  return client.right >= rc.right - rc.left || client.bottom >= rc.bottom - rc.top;
}

void TSkinEdit::DrawControl(HDC dc, const RECT& rc) {
  if (fsd && InSet(fsd->SkinControls(), xcSpin) && !updown) FindUpDown();
  if (!dc || Borderless(rc)) return;
  DrawSunkenEdge(dc, rc, 2);
}

void TSkinEdit::DrawPrintBorder(HDC adc) {
  RECT rc{}, client{};
  if (!hwnd || !GetWindowRect(hwnd, &rc) || !GetClientRect(hwnd, &client)) return;
  OffsetRect(&rc, -rc.left, -rc.top);
  if (rc.right - client.right < kPrintBorderMin || rc.bottom - client.bottom < kPrintBorderMin)
    return;
  auto draw = [&](HDC dc) {
    FrameIn(dc, Inset(rc, 1), static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    BrushHandle shadow(CreateSolidBrush(SchemeRGB(kShemeButtonShadow)));
    FrameIn(dc, rc, shadow.get());
  };
  if (adc) {
    draw(adc);
  } else {
    WindowDc dc(hwnd, true);
    if (dc.get()) draw(dc.get());
  }
}

void TSkinEdit::FindUpDown() {
  if (!hwnd || !skinform) return;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsUpDownClass(LowerClassName(child))) continue;
    // The up-down skinner marks itself as living inside an edit when it starts on a window
    // whose parent is an edit; when it cannot start, the pair stays native and is looked for
    // again at the next paint.
    updown = AttachSkinnerHwnd(*skinform, TSkinnerKind::UpDown, child);
    return;
  }
}

}  // namespace lbb::skin
