// TSkinStatusBar: the bar, its panels and its grip from the skin's status-bar element.
//
// Layout, chosen after the sample window of the skin's preview sheet: frame 1 fills the whole
// bar; each panel gets frame 2 two pixels inside the bar's top and bottom (the Slate image
// draws a divider at the panel's right edge); the grip is frame 3 at its own size in the
// bottom-right corner, where the skin draws its dots. The skin's `ExtraImages` holds small
// arrows, not a grip, so the grip comes from the status-bar image alone. Texts sit 4 pixels
// inside their panel, centred vertically, aligned as the panel asks (leading tabs).
#include "skin/controls/WinSkinStatus.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "base/Colour.h"
#include "base/win/Handles.h"
#include "forms/core/Properties.h"
#include "skin/data/RangeGeometry.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/SkinScale.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kStatusFrames = 3;
constexpr int kFrameBar = 1;
constexpr int kFramePanel = 2;
constexpr int kFrameGrip = 3;
constexpr UINT kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr UINT kAlignFlags[] = {DT_LEFT, DT_CENTER, DT_RIGHT};

}  // namespace

TSkinStatusBar::TSkinStatusBar(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

const TDataSkinObject* TSkinStatusBar::Element() const {
  if (!fsd || fsd->Empty || !fsd->StatusBar || fsd->StatusBar->Map.Empty()) return nullptr;
  return fsd->StatusBar.get();
}

bool TSkinStatusBar::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!Element()) break;
      PaintHandler(m);
      return false;
    case WM_ERASEBKGND:
      if (!Element()) break;
      m.Result = 1;  // the paint covers every pixel
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

std::vector<int> TSkinStatusBar::PartRights() const {
  if (SendMessageW(hwnd, SB_ISSIMPLE, 0, 0)) return {-1};
  const int n = static_cast<int>(SendMessageW(hwnd, SB_GETPARTS, 0, 0));
  std::vector<int> rights(static_cast<size_t>(std::max(n, 0)));
  if (n > 0) SendMessageW(hwnd, SB_GETPARTS, WPARAM(n), reinterpret_cast<LPARAM>(rights.data()));
  return rights;
}

std::u16string TSkinStatusBar::PartText(int index) const {
  const int n = LOWORD(SendMessageW(hwnd, SB_GETTEXTLENGTHW, WPARAM(index), 0));
  if (n <= 0) return {};
  std::u16string s(size_t(n) + 1, u'\0');
  SendMessageW(hwnd, SB_GETTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(size_t(n));
  return s;
}

HFONT TSkinStatusBar::TextFont() const {
  if (auto* f = dynamic_cast<forms::TFont*>(forms::GetObjectProp(control, u"Font", u"TFont")))
    return f->Handle();
  return reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
}

void TSkinStatusBar::DrawControl(HDC dc, const RECT& rc) {
  const TDataSkinObject* e = Element();
  if (!e || !dc || !hwnd) return;
  PaintBuffered(buffer_, dc, rc, [&](const RECT& area) { DrawBar(*e, ToSkin(area)); });
}

void TSkinStatusBar::DrawBar(const TDataSkinObject& e, const TRect& whole) {
  ReadWindowState();
  SizeGrip = (GetWindowLongW(hwnd, GWL_STYLE) & SBARS_SIZEGRIP) != 0;
  FillFace(buffer_.Dc(), ToRect(whole));
  PixelBuffer& px = buffer_.Pixels();
  DrawSkinMap(px, ToRect(whole), &e, kFrameBar, kStatusFrames);
  const TSize cell{e.Map.Width() / kStatusFrames, e.Map.Height()};
  const bool simple = SendMessageW(hwnd, SB_ISSIMPLE, 0, 0) != 0;
  const std::vector<TRect> panels =
      StatusPanelRects(whole, PartRights(), SizeGrip ? cell.cx : 0, SkinDpi(fsd));
  for (const TRect& p : panels)
    DrawSkinMap(px, ToRect(p), &e, kFramePanel, kStatusFrames);
  if (SizeGrip) DrawSkinMap(px, ToRect(StatusGripRect(whole, cell)), &e, kFrameGrip, kStatusFrames);
  DrawTexts(panels, simple);
}

void TSkinStatusBar::DrawTexts(const std::vector<TRect>& panels, bool simple) {
  const HDC dc = buffer_.Dc();
  SavedDc saved(dc);
  SelectScope font(dc, TextFont());
  const int normal = fsd->StatusBar->Normalcolor;
  const TColor colour = normal >= 0 ? static_cast<TColor>(normal) : SchemeColor(kShemeButtonText);
  SetTextColor(dc, enabled ? ColorToRGB(colour) : GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < panels.size(); ++i) {
    std::u16string text = PartText(simple ? SB_SIMPLEID : int(i));
    const int align = StatusTextAlign(text);
    RECT box = ToRect(StatusTextRect(panels[i], SkinDpi(fsd)));
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), int(text.size()), &box,
              CheckBiDi(kTextFlags | kAlignFlags[align]));
  }
}

}  // namespace lbb::skin
