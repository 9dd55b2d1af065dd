// TWMediaPlayer, TSkinMP: the media player's buttons drawn from the skin.
//
// Layout: the visible buttons share the player's width equally (the last one takes what the
// division leaves), each the full height, each a push button of the skin with its glyph
// centred; the glyph moves one pixel down and right while its button is held, as a pressed
// push button's caption does.
#include "skin/controls/WinSkinMedia.h"

#include <windowsx.h>

#include "base/Colour.h"
#include "base/win/Handles.h"
#include "forms/core/Properties.h"
#include "skin/data/RangeGeometry.h"
#include "skin/data/SkinObjects.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kButtonFrames = 5;

// A published button set of the player; every button when it has none.
forms::TButtonSet ButtonSetOf(forms::TControl* player, std::u16string_view name) {
  const int64_t bits = forms::GetIntProp(player, name);
  return bits < 0 ? forms::kAllMPButtons : static_cast<forms::TButtonSet>(bits);
}

}  // namespace

// ---- the panel

const forms::TClassInfo& TWMediaPlayer::StaticClassInfo() {
  static const forms::TClassInfo info(u"TWMediaPlayer", &forms::TCustomPanel::StaticClassInfo());
  return info;
}

TWMediaPlayer::TWMediaPlayer(forms::TComponent* AOwner)
    : forms::TCustomPanel(AOwner), Buttons(forms::kMPButtonCount) {
  SetBevelOuter(forms::TBevelCut::bvNone);
  for (int i = 0; i < forms::kMPButtonCount; ++i)
    Buttons[size_t(i)].Kind = static_cast<TMPBtnType>(i);
}

void TWMediaPlayer::Attach(TSkinControl* askin, forms::TWinControl* aObj) {
  skincontrol = askin;
  fsd = askin ? askin->SkinData() : nullptr;
  obj = aObj;
  if (!aObj || !aObj->Parent()) return;
  SetParent(aObj->Parent());
  SetPosition(aObj);
}

void TWMediaPlayer::SetPosition(forms::TWinControl* aObj) {
  if (!aObj) return;
  const RECT b = aObj->BoundsRect();
  SetBounds(int(b.left), int(b.top), int(b.right - b.left), int(b.bottom - b.top));
  SetVisible(aObj->Visible());
  ReadButtons();
  if (HWND h = Handle())
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TWMediaPlayer::ReadButtons() {
  const forms::TButtonSet visible = ButtonSetOf(obj, u"VisibleButtons");
  const forms::TButtonSet usable = ButtonSetOf(obj, u"EnabledButtons");
  const bool playerEnabled = !obj || obj->Enabled();
  count = 0;
  for (TMPButton& b : Buttons) {
    b.Visible = (visible & forms::MPButton(b.Kind)) != 0;
    b.Enabled = playerEnabled && (usable & forms::MPButton(b.Kind)) != 0;
    if (b.Visible) ++count;
  }
  const RECT c = ClientRect();
  const std::vector<TRect> places = MediaButtonRects(ToSkin(c), count);
  BtnWidth = count > 0 ? int(c.right - c.left) / count : 0;
  size_t next = 0;
  for (TMPButton& b : Buttons)
    b.Rect = b.Visible && next < places.size() ? ToRect(places[next++]) : RECT{};
}

const TMPButton* TWMediaPlayer::ButtonAt(POINT p) const {
  for (const TMPButton& b : Buttons)
    if (b.Visible && PtInRect(&b.Rect, p)) return &b;
  return nullptr;
}

// ---- painting

int TWMediaPlayer::FrameOf(const TMPButton& b) const {
  const bool over = hot_ && BtnFocuse == b.Kind;
  int look = over ? kStateHot : 0;
  if (IsDown && BtnClick == b.Kind && over) look |= kStatePressed;
  return ButtonFrame(TButtonLook{look, b.Enabled, false, false});
}

void TWMediaPlayer::PaintWindow(HDC dc) {
  const RECT c = ClientRect();
  if (!skincontrol || !fsd || !fsd->Button) return;
  PaintBuffered(buffer_, dc, RECT{0, 0, c.right - c.left, c.bottom - c.top},
                [&](const RECT& whole) {
                  ReadButtons();
                  skincontrol->FillFace(buffer_.Dc(), whole);
                  for (const TMPButton& b : Buttons)
                    if (b.Visible) DrawButton(b);
                });
}

void TWMediaPlayer::DrawButton(const TMPButton& b) {
  const TDataSkinButton& e = *fsd->Button;
  const int frame = FrameOf(b);
  skincontrol->DrawSkinMap(buffer_.Pixels(), b.Rect, &e, frame, kButtonFrames);
  TColor ink = skincontrol->SchemeColor(kShemeButtonText);
  if (e.newnormal) ink = e.Normalcolor2;
  if (e.newover && frame == kFrameHot) ink = e.Overcolor2;
  if (e.newdown && frame == kFramePressed) ink = e.Downcolor2;
  RECT glyph = b.Rect;
  if (frame == kFramePressed) OffsetRect(&glyph, 1, 1);
  forms::DrawMediaGlyph(buffer_.Dc(), glyph, b.Kind,
                        b.Enabled ? ColorToRGB(ink) : GetSysColor(COLOR_GRAYTEXT));
}

// ---- mouse

void TWMediaPlayer::WndProc(forms::TMessage& m) {
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnDown(p);
      break;
    case WM_LBUTTONUP:
      forms::TCustomPanel::WndProc(m);
      OnUp(p);  // last: the player's OnClick may free the player, its skinner and this panel
      return;
    case WM_MOUSEMOVE:
      OnMove(p);
      break;
    case WM_MOUSELEAVE:
      OnLeave();
      break;
    default:
      break;
  }
  forms::TCustomPanel::WndProc(m);
}

void TWMediaPlayer::OnDown(POINT p) {
  const TMPButton* b = ButtonAt(p);
  if (!b || !b->Enabled) return;
  IsDown = true;
  BtnClick = b->Kind;
  BtnFocuse = b->Kind;
  hot_ = true;
  SetCapture(WindowHandle());
  Invalidate();
}

void TWMediaPlayer::OnUp(POINT p) {
  if (!IsDown) return;
  IsDown = false;
  if (GetCapture() == WindowHandle()) ReleaseCapture();
  Invalidate();
  const TMPButton* b = ButtonAt(p);
  if (!b || b->Kind != BtnClick || !b->Enabled) return;
  if (auto* player = dynamic_cast<forms::TMediaPlayer*>(obj)) player->ButtonClick(BtnClick);
}

void TWMediaPlayer::OnMove(POINT p) {
  const TMPButton* b = ButtonAt(p);
  const bool hot = b != nullptr;
  if (hot != hot_ || (b && b->Kind != BtnFocuse)) {
    hot_ = hot;
    if (b) BtnFocuse = b->Kind;
    Invalidate();
  }
  TrackMouseLeave(WindowHandle());
}

void TWMediaPlayer::OnLeave() {
  if (!hot_) return;
  hot_ = false;
  Invalidate();
}

// ---- the skinner

TSkinMP::TSkinMP(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinMP::~TSkinMP() {
  mp.reset();
}

void TSkinMP::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (!control || !control->Parent() || !fsd || !fsd->Button || fsd->Button->Map.Empty()) return;
  mp = std::make_unique<TWMediaPlayer>(nullptr);
  mp->SetTag(fsd->DisableTag());  // the mapping leaves the panel alone
  mp->Attach(this, control);
}

void TSkinMP::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case forms::CM_VISIBLECHANGED:
    case forms::CM_ENABLEDCHANGED:
      if (mp && control) mp->SetPosition(control);
      break;
    default:
      break;
  }
  TSkinControl::AfterProc(m);
}

void TSkinMP::Unsubclass() {
  TSkinControl::Unsubclass();
  mp.reset();
}

void TSkinMP::SkinChange() {
  TSkinControl::SkinChange();
  if (mp && control) mp->SetPosition(control);
}

}  // namespace lbb::skin
