// TSkinGroupBox, TSkinBox, TSkinBoxH, TSkinSizer: containers and size grips on the skin's
// ButtonFace.
#include "skin/controls/WinSkinBoxes.h"

#include <algorithm>
#include <string>

#include "base/Colour.h"
#include "base/win/Handles.h"
#include "forms/core/Properties.h"
#include "skin/data/RangeGeometry.h"
#include "skin/data/SkinScale.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

// The rounded frame's corner: an ellipse of 5 x 5 pixels, close to the skin's 4-pixel
// rounding of buttons and panes.
constexpr int kCorner = 5;
constexpr UINT kCaptionFlags = DT_SINGLELINE | DT_NOPREFIX;

}  // namespace

// ---- group box

TSkinGroupBox::TSkinGroupBox(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinGroupBox::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas,
                         bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (control) kind = 1;
}

bool TSkinGroupBox::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (kind != 1) break;
      PaintHandler(m);
      return false;
    case WM_ERASEBKGND:
      if (kind != 1) break;
      m.Result = 1;  // the paint covers every pixel
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinGroupBox::DrawControl(HDC dc, const RECT& rc) {
  if (!dc) return;
  ReadWindowState();
  if (kind == 1) {
    DrawWhole(dc, rc);
  } else {
    DrawOver(dc, rc);
  }
}

void TSkinGroupBox::DrawWhole(HDC dc, const RECT& rc) {
  PaintBuffered(buffer_, dc, rc, [&](const RECT& whole) {
    FillFace(buffer_.Dc(), whole);
    DrawFrameAndCaption(buffer_.Dc(), whole);
    PaintGraphicChildren(buffer_.Dc());
  });
}

void TSkinGroupBox::DrawOver(HDC dc, const RECT& rc) {
  // The native etched frame runs through the middle of the caption's line (from half the
  // font's height less one), two pixels wide.
  COLORREF colour = 0;
  int top = 0;
  {
    SelectScope font(dc, CaptionFont(colour));
    top = std::max(TextHeight(dc, u"0") / 2 - 1, 0);
  }
  BrushHandle face(CreateSolidBrush(SchemeRGB(kShemeButtonFace)));
  const RECT native{rc.left, rc.top + top, rc.right, rc.bottom};
  FrameRect(dc, &native, face.get());
  const RECT inner = Inset(native, 1);
  FrameRect(dc, &inner, face.get());
  DrawFrameAndCaption(dc, rc);
}

HFONT TSkinGroupBox::CaptionFont(COLORREF& colour) const {
  colour = SchemeRGB(kShemeButtonText);
  if (auto* f = dynamic_cast<forms::TFont*>(forms::GetObjectProp(control, u"Font", u"TFont"))) {
    colour = ColorToRGB(static_cast<TColor>(f->Color()));
    return f->Handle();
  }
  return hwnd ? reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)) : nullptr;
}

void TSkinGroupBox::DrawFrameAndCaption(HDC dc, const RECT& rc) {
  COLORREF colour = 0;
  SavedDc saved(dc);
  SelectScope font(dc, CaptionFont(colour));
  caption = control && forms::FindProp(control, u"Caption") ? forms::GetStrProp(control, u"Caption")
                                                            : WindowText();
  RECT measure{0, 0, 0, 0};
  if (!caption.empty())
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(caption.c_str()), int(caption.size()), &measure,
              kCaptionFlags | DT_CALCRECT);
  const bool right = (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
  const TGroupBoxLayout l =
      GroupBoxLayout(TSize{int(rc.right - rc.left), int(rc.bottom - rc.top)}, TextHeight(dc, u"0"),
                     TSize{int(measure.right), int(measure.bottom)}, right, SkinDpi(fsd));
  PenHandle shadow(CreatePen(PS_SOLID, 1, SchemeRGB(kShemeButtonShadow)));
  {
    SelectScope pen(dc, shadow.get());
    SelectScope brush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, l.Frame.Left, l.Frame.Top, l.Frame.Right, l.Frame.Bottom, kCorner, kCorner);
  }
  if (caption.empty()) return;
  RECT box = ToRect(l.Caption);
  FillFace(dc, box);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? colour : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(caption.c_str()), int(caption.size()), &box,
            CheckBiDi(kCaptionFlags | (right ? DT_RIGHT : DT_LEFT)));
}

void TSkinGroupBox::PaintGraphicChildren(HDC dc) const {
  if (!control) return;
  const auto alive = AliveToken();
  for (int i = 0; i < control->ControlCount(); ++i) {
    forms::TControl* c = control->Controls(i);
    if (!dynamic_cast<forms::TGraphicControl*>(c) || !c->Visible()) continue;
    const RECT r = c->BoundsRect();
    SavedDc saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    if (Gone(alive)) return;
  }
}

// ---- box

TSkinBox::TSkinBox(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

// ---- boxh

TSkinBoxH::TSkinBoxH(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

bool TSkinBoxH::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      OnEraseBackground(m);
      return false;
    case WM_CTLCOLORSTATIC:
      OnCtlColorStatic(m);
      return false;
    default:
      return TSkinControl::BeforeProc(m);
  }
}

void TSkinBoxH::OnEraseBackground(forms::TMessage& m) {
  RECT r{};
  if (hwnd && m.WParam && GetWindowRect(hwnd, &r)) {
    OffsetRect(&r, -r.left, -r.top);
    FillFace(reinterpret_cast<HDC>(m.WParam), r);
  }
  m.Result = 0;
}

void TSkinBoxH::OnCtlColorStatic(forms::TMessage& m) {
  const auto alive = AliveToken();
  CallOldProc(m);
  if (Gone(alive) || !fsd || !fsd->BGBrush) return;
  // The static draws its text on the brush's colour: transparent text on the skin's face.
  const HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, SchemeRGB(kShemeButtonFace));
  m.Result = reinterpret_cast<LRESULT>(fsd->BGBrush.get());
}

// ---- sizer

TSkinSizer::TSkinSizer(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinSizer::DrawControl(HDC dc, const RECT& rc) {
  // Only a size box or grip is covered; a plain scroll bar without a tab stop that reached this
  // skinner keeps its arrows and thumb.
  if (!dc || !hwnd || !(GetWindowLongW(hwnd, GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP))) return;
  FillFace(dc, rc);
}

}  // namespace lbb::skin
