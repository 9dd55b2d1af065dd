// The other members of the tab family: button-style tab controls (each tab a skin button),
// the "advpagecontrol" kind, the form library's tab set (its scroller replaced by an
// up-down) and the pages of a page control.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "base/Colour.h"
#include "forms/TabSet.h"
#include "skin/controls/SkinControlHost.h"
#include "skin/controls/WinSkinFactory.h"
#include "skin/controls/WinSkinTab.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/imgutil.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kButtonFrames = 5;

}  // namespace

// ---- TSkinTabBtn

TSkinTabBtn::TSkinTabBtn(forms::TComponent* AOwner) : TSkinTab(AOwner) {}

bool TSkinTabBtn::HasSkin() const {
  return fsd && !fsd->Empty && fsd->Button && !fsd->Button->Map.Empty();
}

// Button-style tabs stand where the control lays them out (rows of buttons, no page border),
// so the native item rectangles are used as they are.
void TSkinTabBtn::ReadView(TTabView& v) {
  RECT client{};
  GetClientRect(hwnd, &client);
  v.Size = TSize{int(client.right), int(client.bottom)};
  const int n = int(SendMessageW(hwnd, TCM_GETITEMCOUNT, 0, 0));
  v.Rects.clear();
  v.Texts.clear();
  for (int i = 0; i < n; ++i) {
    RECT r{};
    SendMessageW(hwnd, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
    v.Rects.push_back(ToSkin(r));
    wchar_t buf[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 255;
    SendMessageW(hwnd, TCM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    const wchar_t* text = item.pszText ? item.pszText : buf;
    v.Texts.emplace_back(text, text + wcslen(text));
  }
  v.Enabled.assign(size_t(n), enabled);
  v.Selected = int(SendMessageW(hwnd, TCM_GETCURSEL, 0, 0));
  v.Pane = TRect{};
}

// Frames as push buttons show them: the selected tab pressed, the tab under the mouse hot.
int TSkinTabBtn::FrameOf(int index) const {
  const bool on = index < int(view_.Enabled.size()) && view_.Enabled[size_t(index)];
  if (!on) return kFrameDisabled;
  if (index == view_.Selected) return kFramePressed;
  return index == HotTab() ? kFrameHot : kFrameNormal;
}

TColor TSkinTabBtn::TextColorOf(int frame) const {
  const TDataSkinButton& b = *fsd->Button;
  TColor c = b.newnormal ? b.Normalcolor2 : SchemeColor(kShemeButtonText);
  if (b.newover && frame == kFrameHot) c = b.Overcolor2;
  if (b.newdown && frame == kFramePressed) c = b.Downcolor2;
  return frame == kFrameDisabled ? clGrayText : c;
}

void TSkinTabBtn::DrawTabFace(PixelBuffer& px, const TRect& r, int frame) {
  const TDataSkinButton& b = *fsd->Button;
  const TRect size{0, 0, r.Width(), r.Height()};
  const PixelBuffer img =
      RenderSkinImage(size, b.Map, b.r, false, b.Tile == 1, kButtonFrames, frame);
  StretchCopy(px, r, img, size, b.trans == 1);
}

// ---- TSkinAdvPage

TSkinAdvPage::TSkinAdvPage(forms::TComponent* AOwner) : TSkinTab(AOwner) {
  kind = 4;
}

// ---- TSkinTab31

TSkinTab31::TSkinTab31(forms::TComponent* AOwner) : TSkinTab(AOwner) {}

TSkinTab31::~TSkinTab31() = default;

forms::TTabSet* TSkinTab31::TabSet() const {
  return dynamic_cast<forms::TTabSet*>(control);
}

void TSkinTab31::Unsubclass() {
  TSkinTab::Unsubclass();
  updownWnd_.reset();
  updown = nullptr;
  // The tab set's own scroller comes back when its tabs need it.
  if (skinstate != kControlDestroyed)
    if (forms::TTabSet* set = TabSet()) set->UpdateScroller();
}

bool TSkinTab31::BeforeProc(forms::TMessage& m) {
  if (m.Msg == WM_HSCROLL && updownWnd_ && reinterpret_cast<HWND>(m.LParam) == updownWnd_.get()) {
    OnScroll(m);
    return false;
  }
  return TSkinTab::BeforeProc(m);
}

void TSkinTab31::OnScroll(forms::TMessage& m) {
  m.Result = 0;
  forms::TTabSet* set = TabSet();
  if (!set) return;
  const int pos = int(SendMessageW(updownWnd_.get(), UDM_GETPOS32, 0, 0));
  set->SetFirstIndex(pos);
}

void TSkinTab31::SyncUpDown(forms::TTabSet& set) {
  scroller = set.Scroller();
  const bool need = set.ScrollerNeeded();
  if (scroller && scroller->Visible()) scroller->SetVisible(false);
  if (!need) {
    if (updownWnd_) ShowWindow(updownWnd_.get(), SW_HIDE);
    return;
  }
  const RECT place = scroller ? scroller->BoundsRect() : RECT{};
  if (!updownWnd_) {
    updownWnd_.reset(CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | UDS_HORZ, 0, 0, 0, 0,
                                     hwnd, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (updownWnd_ && skinform)
      updown = AttachSkinnerHwnd(*skinform, TSkinnerKind::UpDown, updownWnd_.get());
  }
  if (!updownWnd_) return;
  const int last = std::max(0, set.Tabs()->Count() - 1);
  SendMessageW(updownWnd_.get(), UDM_SETRANGE32, 0, last);
  SendMessageW(updownWnd_.get(), UDM_SETPOS32, 0, LPARAM(set.FirstIndex()));
  SetWindowPos(updownWnd_.get(), HWND_TOP, place.left, place.top, place.right - place.left,
               place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// The tab set's row at the top: the skin's tabs stand on a page border along the bottom of
// the control, as on a page control.
void TSkinTab31::ReadView(TTabView& v) {
  forms::TTabSet* set = TabSet();
  RECT client{};
  GetClientRect(hwnd, &client);
  v.Size = TSize{int(client.right), int(client.bottom)};
  if (!set) return;
  SyncUpDown(*set);
  std::vector<int> lengths;
  v.Texts.clear();
  for (int i = 0; i < set->Tabs()->Count(); ++i) {
    lengths.push_back(set->TabWidth(i));
    v.Texts.push_back(set->Tabs()->Strings(i));
  }
  v.Selected = int(set->TabIndex());
  int udLength = 0;
  if (updownWnd_ && IsWindowVisible(updownWnd_.get())) {
    RECT u{};
    GetWindowRect(updownWnd_.get(), &u);
    udLength = int(u.right - u.left);
  }
  const int depth = set->TabHeight();
  LayoutTabs(v, lengths, int(set->FirstIndex()), depth, udLength);
  v.Pane = TRect{0, depth - kTabPaneGap, v.Size.cx, std::max(depth, v.Size.cy)};
}

void TSkinTab31::SelectTab(int index) {
  if (forms::TTabSet* set = TabSet()) set->SetTabIndex(index);  // runs OnChange
}

// ---- TSkinTabSheet

TSkinTabSheet::TSkinTabSheet(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinTabSheet::Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool) {
  // The page's own painting (and that of its windowless children) then uses the skin's face.
  TSkinControl::Init(sf, sd, acanvas, true);
}

bool TSkinTabSheet::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      OnPaint(m);
      return false;
    case WM_PRINT:
    case WM_PRINTCLIENT:
      OnPrint(m);
      return false;
    case WM_ERASEBKGND:
      FillClient(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(m);
  }
}

void TSkinTabSheet::FillClient(HDC dc) const {
  RECT r{};
  if (!dc || !hwnd || !GetClientRect(hwnd, &r)) return;
  FillFace(dc, r);
}

// The page is filled with ButtonFace; the windowless controls on it are painted over by the
// page's own handling of a paint into that DC.
void TSkinTabSheet::OnPaint(forms::TMessage& m) {
  if (m.WParam) {
    OnPrint(m);
    return;
  }
  PaintCycle paint(hwnd);
  if (!paint.get()) return;
  FillClient(paint.get());
  forms::TMessage inner{WM_PAINT, reinterpret_cast<WPARAM>(paint.get()), 0, 0};
  CallOldProc(inner);
  m.Result = 0;
}

void TSkinTabSheet::OnPrint(forms::TMessage& m) {
  const HDC dc = reinterpret_cast<HDC>(m.WParam);
  FillClient(dc);
  forms::TMessage inner{WM_PAINT, m.WParam, 0, 0};
  if (dc) CallOldProc(inner);
  m.Result = 0;
}

}  // namespace lbb::skin
