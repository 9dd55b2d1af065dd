// TSkinTab: tab and page controls painted from the skin's `tab` element. The native control
// keeps its items, selection, keys and scrolling; the skinner reads them on every paint, lays
// the tabs out as the skins' sample window shows them (see skin/data/TabGeometry.h) and takes
// the left button on a tab so that the click lands on the tab it sees.
#include "skin/controls/WinSkinTab.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>

#include "base/Colour.h"
#include "forms/PageControl.h"
#include "forms/core/Properties.h"
#include "skin/controls/SkinControlHost.h"
#include "skin/controls/WinSkinFactory.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/SkinScale.h"
#include "skin/data/imgutil.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kTabFrames = 5;
constexpr int kNativePadX = 6;  // the tab control's own padding at 96 DPI
constexpr int kNativePadY = 3;
constexpr UINT kTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

bool IsEmpty(const TRect& r) {
  return r.Right <= r.Left || r.Bottom <= r.Top;
}

// The native up-down the tab control shows when its tabs overflow; null while none is shown.
HWND ShownUpDown(HWND tab) {
  for (HWND c = GetWindow(tab, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsWindowVisible(c) && LowerClassName(c) == u"msctls_updown32") return c;
  return nullptr;
}

std::u16string ItemText(HWND hwnd, int i) {
  wchar_t buf[256] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = 255;
  if (!SendMessageW(hwnd, TCM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item))) return {};
  const wchar_t* text = item.pszText ? item.pszText : buf;
  return std::u16string(text, text + wcslen(text));
}

TColor ElementColour(int colour, TColor fallback) {
  return colour >= 0 ? static_cast<TColor>(colour) : fallback;
}

}  // namespace

TSkinTab::TSkinTab(forms::TComponent* AOwner)
    : TSkinControl(AOwner),
      hover_([this] { return PollHover(CursorOver()); }, [this] { SetHot(-1); }) {}

TSkinTab::~TSkinTab() = default;

void TSkinTab::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  unicode = isunicode;
  BuildImages();
}

void TSkinTab::Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf) {
  if (Inited) return;
  const int keep = kind;  // the base start clears it
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  kind = keep;
  unicode = isunicode;
  BuildImages();
}

void TSkinTab::SkinChange() {
  BuildImages();
  TSkinControl::SkinChange();
}

bool TSkinTab::HasSkin() const {
  return fsd && !fsd->Empty && fsd->tab && !fsd->tab->Map.Empty();
}

void TSkinTab::BuildImages() {
  if (hwnd) Position = TabPositionFromStyle(unsigned(GetWindowLongW(hwnd, GWL_STYLE)));
  builtFor_ = Position;
  tabbmp = PixelBuffer();
  borderbmp = PixelBuffer();
  if (!HasSkin()) return;
  tabbmp = TabImageFor(fsd->tab->Map, kTabFrames, Position);
  borderbmp = fsd->tab->MaskMap;
}

void TSkinTab::Invalidate() const {
  if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
}

// ---- messages

bool TSkinTab::BeforeProc(forms::TMessage& m) {
  if (!HasSkin()) return TSkinControl::BeforeProc(m);
  if (TakeOwnPaint(m)) return false;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (TabAt(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}) < 0) break;
      OnButtonDown(m);
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinTab::AfterProc(forms::TMessage& m) {
  if (EndsHover(m, hover_)) return;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      OnMouseMove(m.LParam);
      return;
    case WM_SIZE:
    case WM_STYLECHANGED:
      if (hwnd) Position = TabPositionFromStyle(unsigned(GetWindowLongW(hwnd, GWL_STYLE)));
      Invalidate();
      return;
    default:
      TSkinControl::AfterProc(m);
      return;
  }
}

int TSkinTab::TabAt(POINT client) const {
  const int hit = TabHitTest(view_.Rects, view_.Selected, TPoint{int(client.x), int(client.y)});
  if (hit >= 0 && hit < int(view_.Enabled.size()) && !view_.Enabled[size_t(hit)]) return -1;
  return hit;
}

void TSkinTab::OnButtonDown(forms::TMessage& m) {
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const int hit = TabAt(p);
  m.Result = 0;
  const auto alive = AliveToken();
  // The control takes the focus as a click on it would give it.
  if (hwnd && GetFocus() != hwnd && (!control || control->CanFocus())) SetFocus(hwnd);
  if (Gone(alive)) return;
  if (showclose && hit < int(CloseRect.size()) && PtInRect(&CloseRect[size_t(hit)], p)) {
    CloseTab(hit);
    return;
  }
  if (hit != view_.Selected) SelectTab(hit);
  if (Gone(alive)) return;
  Invalidate();
  // The control object still learns of the press (OnMouseDown), as without the skinner.
  ForwardMouseDown(m);
}

void TSkinTab::SelectTab(int index) {
  HWND parent = hwnd ? GetParent(hwnd) : nullptr;
  if (!parent) return;
  const auto alive = AliveToken();
  NMHDR nm{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), UINT(TCN_SELCHANGING)};
  const LRESULT refused = SendMessageW(parent, WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
  if (Gone(alive) || refused) return;
  SendMessageW(hwnd, TCM_SETCURSEL, WPARAM(index), 0);
  if (Gone(alive)) return;
  nm.code = UINT(TCN_SELCHANGE);
  SendMessageW(parent, WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void TSkinTab::CloseTab(int index) {
  // A page control hides the page's tab; a bare tab control loses the item.
  if (auto* pc = dynamic_cast<forms::TPageControl*>(control)) {
    for (int i = 0; i < pc->PageCount(); ++i)
      if (pc->Pages(i)->TabIndex() == index) {
        pc->Pages(i)->SetTabVisible(false);
        return;
      }
    return;
  }
  if (hwnd) SendMessageW(hwnd, TCM_DELETEITEM, WPARAM(index), 0);
}

void TSkinTab::OnMouseMove(LPARAM lParam) {
  SetHot(TabAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
  hover_.Track(hwnd, hot_ >= 0);
}

void TSkinTab::SetHot(int index) {
  if (index == hot_) return;
  hot_ = index;
  Invalidate();
}

// ---- reading the control

// The native tabs keep the system's padding (6 by 3) scaled to the skin's resolution; with
// close buttons they are made wider by the button on each side, so the captions keep their room.
void TSkinTab::PadForClose() {
  const int dpi = SkinDpi(fsd);
  const POINT want{
      ScaleToDpi(kNativePadX, dpi) + (showclose ? (kTabCloseSize + kTabCloseGap + 1) / 2 : 0),
      ScaleToDpi(kNativePadY, dpi)};
  if (want.x == padding_.x && want.y == padding_.y) return;
  padding_ = want;
  SendMessageW(hwnd, TCM_SETPADDING, 0, MAKELPARAM(want.x, want.y));
  // The control lays its tabs out again when its font is set; the same font is given again.
  SendMessageW(hwnd, WM_SETFONT, SendMessageW(hwnd, WM_GETFONT, 0, 0), FALSE);
  Invalidate();
}

void TSkinTab::ReadView(TTabView& v) {
  PadForClose();
  const int n = int(SendMessageW(hwnd, TCM_GETITEMCOUNT, 0, 0));
  RECT client{};
  GetClientRect(hwnd, &client);
  v.Size = TSize{int(client.right), int(client.bottom)};
  RECT display = client;
  SendMessageW(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const TRect page{int(display.left), int(display.top), int(display.right), int(display.bottom)};
  const bool across = Position == TSkinTabPosition::tpTop || Position == TSkinTabPosition::tpBottom;
  std::vector<int> lengths, starts;
  v.Texts.clear();
  for (int i = 0; i < n; ++i) {
    RECT r{};
    SendMessageW(hwnd, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
    lengths.push_back(int(across ? r.right - r.left : r.bottom - r.top));
    starts.push_back(int(across ? r.left : r.top));
    v.Texts.push_back(ItemText(hwnd, i));
  }
  v.Selected = int(SendMessageW(hwnd, TCM_GETCURSEL, 0, 0));
  const HWND ud = ShownUpDown(hwnd);
  FindUpDown(ud);
  int udLength = 0;
  if (ud) {
    RECT u{};
    GetWindowRect(ud, &u);
    udLength = int(across ? u.right - u.left : u.bottom - u.top);
  }
  LayoutTabs(v, lengths, TabFirstVisible(starts, lengths), TabStripDepth(page, Position, v.Size),
             udLength);
  v.Pane = n > 0 ? TabPaneRect(page, v.Size) : TRect{0, 0, v.Size.cx, v.Size.cy};
}

void TSkinTab::LayoutTabs(TTabView& v, const std::vector<int>& lengths, int first, int depth,
                          int upDownLength) const {
  TTabLayoutInput in;
  in.Lengths = lengths;
  in.First = first;
  in.Selected = v.Selected;
  in.Depth = depth;
  in.Position = Position;
  in.Control = v.Size;
  in.Length = TabStripLength(Position, v.Size, upDownLength);
  v.Rects = TabRects(in);
  v.Enabled.assign(lengths.size(), enabled);
  v.Texts.resize(lengths.size());
}

void TSkinTab::FindUpDown(HWND ud) {
  if (!ud || ud == updownTried_ || !skinform) return;
  updownTried_ = ud;
  updown = AttachSkinnerHwnd(*skinform, TSkinnerKind::UpDown, ud);
}

// ---- painting

int TSkinTab::FrameOf(int index) const {
  const bool on = index < int(view_.Enabled.size()) && view_.Enabled[size_t(index)];
  return TabFrame(index == view_.Selected, index == hot_, on, focused);
}

TColor TSkinTab::TextColorOf(int frame) const {
  const TColor base = SchemeColor(kShemeButtonText);
  const TDataSkinObject* t = fsd ? fsd->tab.get() : nullptr;
  if (!t) return base;
  const TColor normal = ElementColour(t->Normalcolor, t->Normalcolor2);
  if (frame == kTabFrameDisabled) return clGrayText;
  if (frame == kTabFrameHot) return ElementColour(t->Overcolor, normal);
  if (frame == kTabFrameSelected || frame == kTabFrameFocused)
    return ElementColour(t->Downcolor, normal);
  return normal;
}

void TSkinTab::DrawTabFace(PixelBuffer& px, const TRect& r, int frame) {
  const TDataSkinObject& t = *fsd->tab;
  const TRect size{0, 0, r.Width(), r.Height()};
  const PixelBuffer img = RenderSkinImage(size, tabbmp, TabMarginsFor(t.r, Position), false,
                                          t.Tile == 1, kTabFrames, frame);
  StretchCopy(px, r, img, size, t.trans == 1);
}

void TSkinTab::DrawPane(PixelBuffer& px) const {
  if (IsEmpty(view_.Pane) || borderbmp.Empty()) return;
  const TRect size{0, 0, view_.Pane.Width(), view_.Pane.Height()};
  const PixelBuffer img = RenderSkinImage(
      size, borderbmp, TabBorderMargins(borderbmp.Width(), borderbmp.Height()), false, false, 1, 1);
  StretchCopy(px, view_.Pane, img, size, fsd->tab->trans == 1);
}

// A skin without a page border image gets a one-pixel ButtonShadow line in its place.
void TSkinTab::FramePane(HDC dc) const {
  if (IsEmpty(view_.Pane)) return;
  BrushHandle shadow(CreateSolidBrush(SchemeRGB(kShemeButtonShadow)));
  const RECT r = ToRect(view_.Pane);
  FrameRect(dc, &r, shadow.get());
}

void TSkinTab::DrawControl(HDC dc, const RECT&) {
  if (!HasSkin() || !hwnd) return;
  ReadWindowState();
  if (builtFor_ != Position) BuildImages();
  ReadView(view_);
  // The control's child windows (pages, up-down) are left alone.
  SavedDc saved(dc);
  ExcludeChildren(dc);
  // The client area: a tab control has no frame of its own, and one that has keeps it.
  PaintBuffered(Drawtemp, dc, RECT{0, 0, view_.Size.cx, view_.Size.cy},
                [&](const RECT& whole) { DrawTabs(whole); });
}

void TSkinTab::DrawTabs(const RECT& whole) {
  FillFace(Drawtemp.Dc(), whole);
  if (borderbmp.Empty()) FramePane(Drawtemp.Dc());
  PixelBuffer& px = Drawtemp.Pixels();
  DrawPane(px);
  // The selected tab last: it overlaps its neighbours and the border under it.
  for (int i = 0; i < int(view_.Rects.size()); ++i)
    if (i != view_.Selected && !IsEmpty(view_.Rects[size_t(i)]))
      DrawTabFace(px, view_.Rects[size_t(i)], FrameOf(i));
  if (view_.Selected >= 0 && view_.Selected < int(view_.Rects.size()) &&
      !IsEmpty(view_.Rects[size_t(view_.Selected)]))
    DrawTabFace(px, view_.Rects[size_t(view_.Selected)], FrameOf(view_.Selected));
  DrawTexts(Drawtemp.Dc());
}

HFONT TSkinTab::TextFont() const {
  auto f = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  if (!f && control && control->Font()) f = control->Font()->Handle();
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TSkinTab::DrawTexts(HDC dc) {
  SelectScope font(dc, TextFont());
  SetBkMode(dc, TRANSPARENT);
  CloseRect.assign(view_.Rects.size(), RECT{});
  for (int i = 0; i < int(view_.Rects.size()); ++i) {
    const TRect& r = view_.Rects[size_t(i)];
    if (IsEmpty(r)) continue;
    const TColor colour = TextColorOf(FrameOf(i));
    SetTextColor(dc, ColorToRGB(colour));
    RECT box = ToRect(TabTextRect(r, showclose, Position, view_.Size));
    const std::u16string& text = view_.Texts[size_t(i)];
    if (Position == TSkinTabPosition::tpLeft || Position == TSkinTabPosition::tpRight) {
      DrawTurnedText(dc, text, box);
    } else {
      DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), int(text.size()), &box,
                CheckBiDi(kTextFlags));
    }
    if (!showclose) continue;
    CloseRect[size_t(i)] = ToRect(TabCloseRect(r, Position, view_.Size));
    DrawClose(dc, CloseRect[size_t(i)], colour);
  }
}

// Tabs on the left read upwards and tabs on the right downwards, as the tab control writes
// them: the caption in the control's font turned a quarter, centred in its box and cut there.
void TSkinTab::DrawTurnedText(HDC dc, const std::u16string& text, const RECT& box) const {
  LOGFONTW lf{};
  if (!GetObjectW(TextFont(), sizeof lf, &lf)) return;
  const bool left = Position == TSkinTabPosition::tpLeft;
  lf.lfEscapement = lf.lfOrientation = left ? 900 : 2700;
  FontHandle turned(CreateFontIndirectW(&lf));
  SelectScope use(dc, turned.get());
  const auto* w = reinterpret_cast<const wchar_t*>(text.c_str());
  SIZE size{};
  GetTextExtentPoint32W(dc, w, int(text.size()), &size);
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  // The reference point is the start of the string on the letters' top side.
  const int x = left ? cx - size.cy / 2 : cx + size.cy / 2;
  const int y = left ? cy + size.cx / 2 : cy - size.cx / 2;
  const UINT align = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  ExtTextOutW(dc, x, y, ETO_CLIPPED, &box, w, UINT(text.size()), nullptr);
  SetTextAlign(dc, align);
}

// The close button: a cross in the caption's colour, two pixels in from the square's edges.
void TSkinTab::DrawClose(HDC dc, const RECT& r, TColor colour) const {
  PenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(colour)));
  SelectScope use(dc, pen.get());
  const int l = r.left + 2, t = r.top + 2, rr = r.right - 2, b = r.bottom - 2;
  for (int d = 0; d < 2; ++d) {
    MoveToEx(dc, l + d, t, nullptr);
    LineTo(dc, rr + d, b);
    MoveToEx(dc, rr - 1 + d, t, nullptr);
    LineTo(dc, l - 1 + d, b);
  }
}

void TSkinTab::ExcludeChildren(HDC dc) const {
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r{};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
}

}  // namespace lbb::skin
