// TSkinButton: push buttons painted from the skin's `Button` element. The left button-down
// never reaches the button (so it never presses itself natively); the skinner shows the press
// at once and clicks on a release that finds the button still pressed.
#include <algorithm>

#include "base/Text.h"
#include "base/win/Handles.h"
#include "forms/core/Properties.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/data/SkinObjects.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kTransparentTag = 5555;
constexpr int kButtonFrames = 5;
constexpr UINT kCaptionMeasure = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK | DT_CENTER;
constexpr UINT kCaptionDraw = DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER;

bool StartsWith(const String& s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && std::u16string_view(s).substr(0, prefix.size()) == prefix;
}

String WindowClassName(HWND hwnd) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(hwnd, name, 256);
  return String(name, name + std::max(0, n));
}

}  // namespace

TSkinButton::TSkinButton(forms::TComponent* AOwner)
    : TSkinControl(AOwner),
      hover_([this] { return PollHover(CursorOver()); }, [this] { OnMouseLeave(); }) {}

void TSkinButton::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  auto* c = dynamic_cast<forms::TControl*>(Owner());
  if (c) {
    // Buttons of those libraries handle the press themselves: it is not handed on to them.
    const String cls = LowerAscii(c->ClassName());
    kind = StartsWith(cls, u"trz") || StartsWith(cls, u"tel") ? 1 : 0;
    MultiLine = forms::GetEnumProp(c, u"MultiLine") == u"true";
    trans = c->Tag() == kTransparentTag || (sd && InSet(sd->Options(), xoTransparent));
  }
  TSkinControl::Init(sf, sd, acanvas, acolor);
}

void TSkinButton::Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas,
                           TSkinControlHost* sf) {
  MultiLine = (GetWindowLongPtrW(ahwnd, GWL_STYLE) & BS_MULTILINE) != 0;
  trans = sd && InSet(sd->Options(), xoTransparent);
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
}

forms::TControl* TSkinButton::Target() const {
  if (GControl) return GControl;
  return control;
}

const TDataSkinButton* TSkinButton::SkinButton() const {
  if (!fsd || fsd->Empty || !fsd->Button || fsd->Button->Map.Empty()) return nullptr;
  return fsd->Button.get();
}

bool TSkinButton::WantsTrans() const {
  return trans && Target() && Target()->Parent();
}

// ---- messages

bool TSkinButton::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintHandler(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(m);
      return false;
    case BM_GETSTATE:
      OnGetState(m);
      return false;
    default:
      return TSkinControl::BeforeProc(m);
  }
}

void TSkinButton::AfterProc(forms::TMessage& m) {
  if (EndsHover(m, hover_)) return;
  switch (m.Msg) {
    case WM_SETTEXT:
      PaintControl(nullptr);
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) OnSpace(m.Msg == WM_KEYDOWN);
      return;
    case WM_MOUSEMOVE:
      OnMouseMove();
      return;
    case WM_LBUTTONUP:
      OnButtonUp();
      return;
    case forms::CM_DIALOGKEY:
    case forms::CM_FOCUSCHANGED:
      Redraw();
      return;
    default:
      TSkinControl::AfterProc(m);
      return;
  }
}

void TSkinButton::OnButtonDown(forms::TMessage& m) {
  const auto alive = AliveToken();
  // Focusing runs the control's focus handling: it may free the control.
  if (hwnd && GetFocus() != hwnd) SetFocus(hwnd);
  if (Gone(alive)) return;
  state |= kStatePressed;
  // While pressed the cursor is watched too: the leave report can be lost while it is held.
  if (hwnd) hover_.Watch();
  PaintControl(nullptr);
  if (kind == 0 && control) ForwardMouseDown(m);
}

// The button's own state with the pressed and hot states the skin shows: the native button
// never sees the press, and programs that ask (automation, screen readers, a UI driver) learn
// what the person sees.
void TSkinButton::OnGetState(forms::TMessage& m) {
  CallOldProc(m);
  LRESULT r = m.Result & ~LRESULT(BST_PUSHED | BST_HOT);
  if (state & kStatePressed) r |= BST_PUSHED;
  if (state & kStateHot) r |= BST_HOT;
  m.Result = r;
}

void TSkinButton::OnButtonUp() {
  if (!(state & kStatePressed)) return;
  state &= static_cast<uint8_t>(~kStatePressed);
  Redraw();
  ClickNow();
}

void TSkinButton::ClickNow() {
  if (forms::TControl* c = Target()) {
    c->Click();  // may free the control and this skinner with it
    return;
  }
  if (!hwnd) return;
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  // A bare button: its parent learns of the click as from the button itself (BN_CLICKED).
  const bool frameworkButton = LowerAscii(WindowClassName(hwnd)) == u"tbutton";
  const WPARAM id = frameworkButton ? 0 : static_cast<WPARAM>(GetDlgCtrlID(hwnd));
  PostMessageW(parent, WM_COMMAND, id, reinterpret_cast<LPARAM>(hwnd));
}

void TSkinButton::OnSpace(bool down) {
  if (down) {
    state |= kStatePressed;
  } else {
    state &= static_cast<uint8_t>(~kStatePressed);
  }
  Redraw();
}

void TSkinButton::OnMouseMove() {
  if (hwnd) enabled = IsWindowEnabled(hwnd) != FALSE;
  if (enabled && !(state & kStateHot)) {
    state |= kStateHot;
    Redraw();
  }
  hover_.Track(hwnd, true);
}

void TSkinButton::OnMouseLeave() {
  state &= static_cast<uint8_t>(~(kStateHot | kStatePressed));
  Redraw();
}

// ---- painting

int TSkinButton::ButtonFrameNow() {
  return ButtonFrame(TButtonLook{state, enabled, focused, isdefault});
}

std::u16string TSkinButton::CaptionText() const {
  return CaptionLineBreak(caption);
}

TColor TSkinButton::TextColorFor(int frame, TColor base) const {
  const TDataSkinButton* b = SkinButton();
  TColor c = base;
  if (b && b->newnormal) c = b->Normalcolor2;
  if (b && b->newover && frame == kFrameHot) c = b->Overcolor2;
  if (b && b->newdown && frame == kFramePressed) c = b->Downcolor2;
  if (!enabled) c = clGrayText;
  return c;
}

HFONT TSkinButton::CaptionFont(int frame) {
  HFONT font = nullptr;
  TColor colour = SchemeColor(kShemeButtonText);
  auto* f = dynamic_cast<forms::TFont*>(forms::GetObjectProp(Target(), u"Font", u"TFont"));
  if (f) {
    font = f->Handle();
    colour = static_cast<TColor>(f->Color());
  } else if (hwnd) {
    font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  }
  SetBkMode(btemp.Dc(), TRANSPARENT);
  SetTextColor(btemp.Dc(), ColorToRGB(TextColorFor(frame, colour)));
  return font;
}

TSize TSkinButton::MeasureText(const std::u16string& text, const TRect& box, UINT flags) const {
  RECT r = ToRect(box);
  ::DrawTextW(btemp.Dc(), reinterpret_cast<const wchar_t*>(text.c_str()),
              static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
  return TSize{r.right - r.left, r.bottom - r.top};
}

void TSkinButton::PutText(const std::u16string& text, const TRect& box, UINT flags) const {
  RECT r = ToRect(box);
  ::DrawTextW(btemp.Dc(), reinterpret_cast<const wchar_t*>(text.c_str()),
              static_cast<int>(text.size()), &r, CheckBiDi(flags));
}

void TSkinButton::DrawFocus(const TRect& r) const {
  RECT f = ToRect(r);
  ::DrawFocusRect(btemp.Dc(), &f);
}

void TSkinButton::DrawFace(const RECT& whole, int frame) {
  if (WantsTrans()) {
    DrawParentBackground(Target(), btemp.Dc());
  } else {
    FillFace(btemp.Dc(), whole);
  }
  if (frame > 0) DrawSkinMap(btemp.Pixels(), whole, SkinButton(), frame, kButtonFrames);
}

void TSkinButton::DrawControl(HDC dc, const RECT& rc) {
  if (!SkinButton()) return;
  ReadWindowState();
  forms::TControl* c = Target();
  caption = c && forms::FindProp(c, u"Caption") ? forms::GetStrProp(c, u"Caption") : WindowText();
  if (c) MultiLine = forms::GetEnumProp(c, u"MultiLine") == u"true";
  isdefault = forms::GetEnumProp(c, u"Default") == u"true";
  const int frame = ButtonFrameNow();
  PaintButton(dc, rc, frame, [&] {
    const TRect whole{0, 0, rc.right - rc.left, rc.bottom - rc.top};
    SelectScope font(btemp.Dc(), CaptionFont(frame));
    const std::u16string text = CaptionText();
    const TSize size = MeasureText(text, ShrinkRect(whole, 2), kCaptionMeasure);
    const TButtonCaption place =
        PlaceButtonCaption(whole, size, focused, fsd && InSet(fsd->Options(), xoNoFocusRect));
    PutText(text, place.Text, kCaptionDraw);
    if (place.HasFocus) DrawFocus(place.Focus);
  });
}

}  // namespace lbb::skin
