// TSkinCheckBox, TSkinRadioButton: check boxes and radio buttons drawn from the skin's check
// and radio images. The skinner replaces the control's painting; the native control keeps its
// behaviour, and every message after which it would have drawn itself repaints the skin.
#include "skin/controls/WinSkinCheck.h"

#include "base/Colour.h"
#include "base/win/Handles.h"
#include "forms/core/Properties.h"
#include "skin/data/CheckGeometry.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/SkinScale.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kTransparentTag = 5555;
constexpr UINT kCheckRepaint = 0xB0D0;  // the form library's check-box repaint request
constexpr UINT kCaptionFlags = DT_EXPANDTABS | DT_WORDBREAK;
constexpr DWORD kNoFocusMajorVersion = 6;

const PixelBuffer& NoImage() {
  static const PixelBuffer none;
  return none;
}

bool HasProp(const forms::TObject* o, std::u16string_view name) {
  return o && forms::FindProp(o, name) != nullptr;
}

DWORD MajorVersion() {
  return DWORD(LOBYTE(LOWORD(GetVersion())));
}

}  // namespace

// ---- shared

TSkinCheckLike::TSkinCheckLike(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinCheckLike::ReadKind() {
  kind = Image().Empty() || Frames() < 1 ? 0 : 1;
}

void TSkinCheckLike::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas,
                          bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  ReadKind();
  auto* c = dynamic_cast<forms::TControl*>(Owner());
  trans = (c && c->Tag() == kTransparentTag) || (sd && InSet(sd->Options(), xoTransparent));
  if (hwnd) InvalidateRect(hwnd, nullptr, TRUE);
}

void TSkinCheckLike::Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas,
                              TSkinControlHost* sf) {
  if (Inited) return;
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  ReadKind();
  trans = sd && InSet(sd->Options(), xoTransparent);
}

bool TSkinCheckLike::BeforeProc(forms::TMessage& m) {
  if (!TSkinControl::BeforeProc(m)) return false;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
      if (kind != 1) return true;
      PaintHandler(m);
      return false;
    case WM_ERASEBKGND:
      if (!trans) return true;
      EraseHandler(m);
      return false;
    default:
      return true;
  }
}

void TSkinCheckLike::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case forms::CM_EXIT:
    case kCheckRepaint:
      // The native control drew its own look straight away: the skin goes back over it.
      Redraw();
      return;
    default:
      TSkinControl::AfterProc(m);
      return;
  }
}

LRESULT TSkinCheckLike::CheckState() const {
  return hwnd ? SendMessageW(hwnd, BM_GETCHECK, 0, 0) : 0;
}

HFONT TSkinCheckLike::CaptionFont(TColor& colour) const {
  colour = SchemeColor(kShemeButtonText);
  if (auto* f = dynamic_cast<forms::TFont*>(forms::GetObjectProp(control, u"Font", u"TFont"))) {
    colour = static_cast<TColor>(f->Color());
    return f->Handle();
  }
  return hwnd ? reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)) : nullptr;
}

void TSkinCheckLike::DrawControl(HDC dc, const RECT& rc) {
  if (kind != 1 || !dc) return;
  ReadWindowState();
  const PixelBuffer& img = Image();
  const int frames = Frames();
  const bool leftText = (GetWindowLongW(hwnd, GWL_STYLE) & BS_LEFTTEXT) != 0;
  const TCheckLayout layout = CheckLayout(
      ToSkin(rc), CheckImageSize(img.Width(), img.Height(), frames), leftText, SkinDpi(fsd));
  if (!trans) FillFace(dc, rc);
  DrawSkinMap2(dc, ToRect(layout.Image), img, FrameNow(), frames);
  DrawCaptionText(dc, ToRect(layout.Text), layout.RightAligned);
}

void TSkinCheckLike::DrawCaptionText(HDC dc, const RECT& textBox, bool rightAligned) {
  caption = HasProp(control, u"Caption") ? forms::GetStrProp(control, u"Caption") : WindowText();
  SavedDc saved(dc);  // text colour, background colour and mode, font
  TColor colour{};
  if (HFONT font = CaptionFont(colour)) SelectObject(dc, font);
  SetTextColor(dc, enabled ? ColorToRGB(colour) : GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  const UINT flags = CheckBiDi(kCaptionFlags | (rightAligned ? DT_RIGHT : 0));
  RECT measure = textBox;
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(caption.c_str()), int(caption.size()), &measure,
            flags | DT_CALCRECT | DT_NOCLIP);
  RECT place = ToRect(CheckCaptionRect(ToSkin(textBox), int(measure.bottom - measure.top)));
  if (focused && !caption.empty() && MajorVersion() != kNoFocusMajorVersion)
    DrawCaptionFocus(dc, flags, place);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(caption.c_str()), int(caption.size()), &place,
            flags | DT_NOCLIP);
}

// ---- check box

TSkinCheckBox::TSkinCheckBox(forms::TComponent* AOwner) : TSkinCheckLike(AOwner) {}

void TSkinCheckBox::AfterProc(forms::TMessage& m) {
  if (m.Msg == BM_SETCHECK) state = int(m.WParam) + 1;
  TSkinCheckLike::AfterProc(m);
}

const PixelBuffer& TSkinCheckBox::Image() const {
  return fsd && fsd->Button ? fsd->Button->CheckMap : NoImage();
}

int TSkinCheckBox::Frames() const {
  return fsd && fsd->Button ? fsd->Button->checkframe : 0;
}

int TSkinCheckBox::FrameNow() {
  TCheckFrameInput in;
  in.frames = Frames();
  const LRESULT check = CheckState();
  in.checked = check == BST_CHECKED;
  in.indeterminate = check == BST_INDETERMINATE;
  in.disabled = !enabled;
  const forms::TPropInfo* st = control ? forms::FindProp(control, u"State") : nullptr;
  in.hasState = st && st->type == forms::TPropType::tkEnumeration;
  if (in.hasState) in.stateIdent = forms::GetEnumProp(control, u"State");
  in.hasChecked = !in.hasState && HasProp(control, u"Checked");
  in.checkedTrue = in.hasChecked && forms::GetEnumProp(control, u"Checked") == u"true";
  in.hasDataField = HasProp(control, u"DataField");
  in.state = state;
  in.hasDataBinding = HasProp(control, u"DataBinding");
  return CheckBoxFrame(in);
}

// ---- radio button

TSkinRadioButton::TSkinRadioButton(forms::TComponent* AOwner) : TSkinCheckLike(AOwner) {}

const PixelBuffer& TSkinRadioButton::Image() const {
  return fsd && fsd->Button ? fsd->Button->RadioMap : NoImage();
}

int TSkinRadioButton::Frames() const {
  return fsd && fsd->Button ? fsd->Button->radioframe : 0;
}

int TSkinRadioButton::FrameNow() {
  return RadioButtonFrame(CheckState() == BST_CHECKED, !enabled, Frames());
}

}  // namespace lbb::skin
