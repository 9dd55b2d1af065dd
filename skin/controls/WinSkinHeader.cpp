// TSkinHeader: every item of the header from the `Header` element at its own rectangle (as
// the skins' sample window shows the list's column header: frame 1 for an item, the hot frame
// under the mouse), the bar after the last item in the normal frame, each caption six pixels
// in from its item's ends by its alignment, centred vertically.
#include "skin/controls/WinSkinHeader.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>

#include "base/Colour.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/TabGeometry.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin::controls {

namespace {

constexpr UINT kTextFlags = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_VCENTER;

TColor ElementColour(int colour, TColor fallback) {
  return colour >= 0 ? static_cast<TColor>(colour) : fallback;
}

}  // namespace

TSkinHeader::TSkinHeader(forms::TComponent* AOwner)
    : TSkinControl(AOwner),
      hover_([this] { return PollHover(CursorOver()); }, [this] { SetHot(-1); }) {}

bool TSkinHeader::HasSkin() const {
  return fsd && !fsd->Empty && fsd->Header && !fsd->Header->Map.Empty() && fsd->Header->frame > 0;
}

void TSkinHeader::Invalidate() const {
  if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
}

// ---- messages

bool TSkinHeader::BeforeProc(forms::TMessage& m) {
  if (!HasSkin()) return TSkinControl::BeforeProc(m);
  if (TakeOwnPaint(m)) return false;
  switch (m.Msg) {
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinHeader::AfterProc(forms::TMessage& m) {
  if (EndsHover(m, hover_)) return;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      OnMouseMove(m.LParam);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(m.LParam);
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      OnButtonUp();
      return;
    default:
      TSkinControl::AfterProc(m);
      return;
  }
}

int TSkinHeader::ItemAt(LPARAM lParam) const {
  HDHITTESTINFO hit{};
  hit.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const int index = int(SendMessageW(hwnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  const bool onItem = (hit.flags & HHT_ONHEADER) && !(hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN));
  return onItem ? index : -1;
}

void TSkinHeader::OnMouseMove(LPARAM lParam) {
  // While a divider is dragged the header holds the mouse: the hot item stays as it was.
  if (GetCapture() != hwnd) SetHot(ItemAt(lParam));
  hover_.Track(hwnd, indexitem >= 0);
}

void TSkinHeader::OnButtonDown(LPARAM lParam) {
  // The header has taken the press: on an item it holds the mouse until the release (a press
  // on a divider starts a resize and presses no item).
  if (GetCapture() != hwnd) return;
  downitem = ItemAt(lParam);
  Invalidate();
}

void TSkinHeader::OnButtonUp() {
  if (downitem < 0) return;
  downitem = -1;
  Invalidate();
}

void TSkinHeader::SetHot(int index) {
  if (index == indexitem) return;
  indexitem = index;
  Invalidate();
}

// ---- painting

TColor TSkinHeader::TextColorOf(int frame) const {
  const TDataSkinObject& h = *fsd->Header;
  const TColor normal = ElementColour(h.Normalcolor, SchemeColor(kShemeButtonText));
  if (frame == kHeaderFrameDisabled) return clGrayText;
  if (frame == kHeaderFrameHot) return ElementColour(h.Overcolor, normal);
  if (frame == kHeaderFramePressed) return ElementColour(h.Downcolor, normal);
  return normal;
}

void TSkinHeader::DrawItemText(HDC dc, int index, const RECT& r, int frame) {
  wchar_t buf[260] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT;
  item.pszText = buf;
  item.cchTextMax = 259;
  if (!SendMessageW(hwnd, HDM_GETITEMW, WPARAM(index), reinterpret_cast<LPARAM>(&item))) return;
  const wchar_t* text = item.pszText ? item.pszText : buf;
  const int n = int(wcslen(text));
  RECT measure{0, 0, 0, 0};
  DrawTextW(dc, text, n, &measure, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);  // full width
  const int align = item.fmt & HDF_JUSTIFYMASK;  // HDF_LEFT 0, HDF_RIGHT 1, HDF_CENTER 2
  const TRect box = HeaderTextRect(ToSkin(r), TSize{int(measure.right), int(measure.bottom)}, align,
                                   frame == kHeaderFramePressed);
  RECT place = ToRect(box);
  SetTextColor(dc, ColorToRGB(TextColorOf(frame)));
  DrawTextW(dc, text, n, &place, CheckBiDi(kTextFlags));
}

void TSkinHeader::DrawControl(HDC dc, const RECT&) {
  if (!HasSkin() || !hwnd) return;
  ReadWindowState();
  RECT client{};
  GetClientRect(hwnd, &client);
  PaintBuffered(surface_, dc, client, [&](const RECT& whole) { DrawItems(whole); });
}

void TSkinHeader::DrawItems(const RECT& client) {
  const int w = client.right, h = client.bottom;
  const TDataSkinObject* e = fsd->Header.get();
  const int frames = e->frame;
  FillFace(surface_.Dc(), client);
  const int n = int(SendMessageW(hwnd, HDM_GETITEMCOUNT, 0, 0));
  Items.assign(size_t(std::max(0, n)), RECT{});
  int end = 0;
  for (int i = 0; i < n; ++i) {
    SendMessageW(hwnd, HDM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&Items[size_t(i)]));
    end = std::max(end, int(Items[size_t(i)].right));
  }
  // The bar after the last item, then every item.
  DrawSkinMap(surface_.Pixels(), RECT{end, 0, w, h}, e,
              HeaderItemFrame(-1, indexitem, downitem, enabled, frames), frames);
  for (int i = 0; i < n; ++i)
    DrawSkinMap(surface_.Pixels(), Items[size_t(i)], e,
                HeaderItemFrame(i, indexitem, downitem, enabled, frames), frames);
  {
    auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    SelectScope use(surface_.Dc(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(surface_.Dc(), TRANSPARENT);
    for (int i = 0; i < n; ++i)
      DrawItemText(surface_.Dc(), i, Items[size_t(i)],
                   HeaderItemFrame(i, indexitem, downitem, enabled, frames));
  }
}

}  // namespace lbb::skin::controls

namespace lbb::skin {

// ---- the list view's header

void TSkinListView::AttachHeaderSkinner(HWND header) {
  // Owned by this skinner (and listed with the form skinner): it goes with the list view's.
  auto* s = new controls::TSkinHeader(this);
  s->Inithwnd(header, fsd, fCanvas, skinform);
}

}  // namespace lbb::skin
