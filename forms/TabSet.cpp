#include "forms/TabSet.h"

#include <windowsx.h>

#include <algorithm>

#include "forms/WinText.h"

namespace lbb::forms {

namespace {

constexpr int kTextPad = 8;   // on each side of a tab's caption
constexpr int kRowStart = 2;  // the first tab starts this far in
constexpr int kLift = 2;      // an unselected tab is this much lower

}  // namespace

// ---- TTabScroller

const TClassInfo& TTabScroller::StaticClassInfo() {
  static const TClassInfo info(u"TTabScroller", &TWinControl::StaticClassInfo());
  return info;
}

TTabScroller::TTabScroller(TComponent* owner, TTabSet& set) : TWinControl(owner), set_(set) {
  SetVisible(false);
}

void TTabScroller::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  const int half = r.right / 2;
  RECT left{0, 0, half, r.bottom}, right{half, 0, r.right, r.bottom};
  const bool back = set_.FirstIndex() > 0;
  const bool on = set_.FirstIndex() + 1 < set_.Tabs()->Count();
  DrawFrameControl(dc, &left, DFC_SCROLL, DFCS_SCROLLLEFT | (back ? 0 : DFCS_INACTIVE));
  DrawFrameControl(dc, &right, DFC_SCROLL, DFCS_SCROLLRIGHT | (on ? 0 : DFCS_INACTIVE));
}

void TTabScroller::WndProc(TMessage& m) {
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
    const bool left = GET_X_LPARAM(m.LParam) < ClientWidth() / 2;
    set_.SetFirstIndex(set_.FirstIndex() + (left ? -1 : 1));
    Invalidate();
  }
  TWinControl::WndProc(m);
}

// ---- TTabSet

const TClassInfo& TTabSet::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TTabSet", &TWinControl::StaticClassInfo());
    i.Add(IntProp<TTabSet>(u"TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex));
    i.Add(IntProp<TTabSet>(u"FirstIndex", &TTabSet::FirstIndex, &TTabSet::SetFirstIndex));
    return i;
  }();
  return info;
}

TTabSet::TTabSet(TComponent* owner) : TWinControl(owner), tabs_(std::make_unique<TStrings>()) {
  SetBounds(0, 0, 185, kTabHeight + 1);
  SetTabStop(true);
  tabs_->OnChange = [this](TStrings::TChange, int) { TabsChanged(); };
  scroller_ = new TTabScroller(this, *this);
  scroller_->SetParent(this);
}

TTabSet::~TTabSet() {
  BeginDestroy();
  tabs_->OnChange = nullptr;
}

void TTabSet::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScroller();
}

void TTabSet::BoundsChanged() {
  TWinControl::BoundsChanged();
  UpdateScroller();
}

void TTabSet::TabsChanged() {
  if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
  first_ = std::clamp<int64_t>(first_, 0, std::max(0, tabs_->Count() - 1));
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetTabIndex(int64_t index) {
  index = std::clamp<int64_t>(index, -1, tabs_->Count() - 1);
  if (index == tabIndex_) return;
  tabIndex_ = index;
  Invalidate();
  if (OnChange) OnChange(this);
}

void TTabSet::SetFirstIndex(int64_t index) {
  index = std::clamp<int64_t>(index, 0, std::max(0, tabs_->Count() - 1));
  if (index == first_) return;
  first_ = index;
  Invalidate();
  if (scroller_) scroller_->Invalidate();
}

void TTabSet::ChangeScale(int m, int d) {
  TWinControl::ChangeScale(m, d);
  pixelsPerInch_ = MulDiv(pixelsPerInch_, m, d);
  UpdateScroller();
}

int TTabSet::TabWidth(int index) {
  const std::wstring text = Wide(tabs_->Strings(index));
  WindowDc dc(WindowHandle());
  SelectScope font(dc.get(), Font()->Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), int(text.size()), &size);
  return int(size.cx) + 2 * Scaled(kTextPad);
}

bool TTabSet::ScrollerNeeded() {
  int total = Scaled(kRowStart);
  for (int i = 0; i < tabs_->Count(); ++i)
    total += TabWidth(i);
  return total > ClientWidth();
}

int TTabSet::RowLength() {
  const int w = int(ClientWidth());
  return scroller_ && scroller_->Visible() ? w - ScrollerWidth() : w;
}

void TTabSet::UpdateScroller() {
  if (!scroller_ || !HandleAllocated()) return;
  const bool need = ScrollerNeeded();
  scroller_->SetBounds(int(ClientWidth()) - ScrollerWidth(), 1, ScrollerWidth(), TabHeight() - 2);
  scroller_->SetVisible(need);
  if (!need) SetFirstIndex(0);
}

RECT TTabSet::TabRect(int index) {
  if (index < first_ || index >= tabs_->Count()) return RECT{};
  int x = Scaled(kRowStart);
  for (int i = int(first_); i < index; ++i)
    x += TabWidth(i);
  const int top = index == tabIndex_ ? 0 : Scaled(kLift);
  return RECT{x, top, std::min(x + TabWidth(index), RowLength()), TabHeight()};
}

int TTabSet::TabAt(POINT p) {
  for (int i = int(first_); i < tabs_->Count(); ++i) {
    const RECT r = TabRect(i);
    if (r.right > r.left && PtInRect(&r, p)) return i;
  }
  return -1;
}

void TTabSet::PaintWindow(HDC dc) {
  RECT client = ClientRect();
  FillRect(dc, &client, ColorBrush());
  RECT line{0, TabHeight() - 1, client.right, TabHeight()};
  FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
  SelectScope font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(static_cast<TColor>(Font()->Color())));
  for (int i = int(first_); i < tabs_->Count(); ++i) {
    RECT r = TabRect(i);
    if (r.right <= r.left) break;
    if (i == tabIndex_) r.bottom += 1;  // open into the area below
    FillRect(dc, &r, ColorBrush());
    DrawEdge(dc, &r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
    const std::wstring text = Wide(tabs_->Strings(i));
    DrawTextW(dc, text.c_str(), int(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
}

void TTabSet::WndProc(TMessage& m) {
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
    const int hit = TabAt(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    if (CanFocus() && !Focused()) SetFocus();
    if (hit >= 0) SetTabIndex(hit);
  }
  TWinControl::WndProc(m);
}

}  // namespace lbb::forms
