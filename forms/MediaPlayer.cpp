#include "forms/MediaPlayer.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "base/win/Handles.h"

namespace lbb::forms {

namespace {

constexpr int kMinGlyph = 6;

// One glyph's shapes in a square of side s at (x0, y0); `mirror` turns right-pointing shapes
// to point left.
class GlyphPen {
 public:
  GlyphPen(HDC dc, int x0, int y0, int s, bool mirror)
      : dc_(dc), x0_(x0), y0_(y0), s_(s), mirror_(mirror) {}
  // A triangle of points given in 1/12ths of the square.
  void Triangle(int ax, int ay, int bx, int by, int cx, int cy) const {
    POINT p[3] = {At(ax, ay), At(bx, by), At(cx, cy)};
    Polygon(dc_, p, 3);
  }
  void Bar(int left, int top, int right, int bottom) const {
    const POINT a = At(left, top), b = At(right, bottom);
    Rectangle(dc_, std::min(a.x, b.x), a.y, std::max(a.x, b.x), b.y);
  }
  void Disc() const { Ellipse(dc_, x0_, y0_, x0_ + s_, y0_ + s_); }

 private:
  POINT At(int x, int y) const {
    const int px = x * s_ / 12, py = y * s_ / 12;
    return POINT{mirror_ ? x0_ + s_ - px : x0_ + px, y0_ + py};
  }
  HDC dc_;
  int x0_, y0_, s_;
  bool mirror_;
};

void DrawShapes(const GlyphPen& g, TMPBtnType b) {
  switch (b) {
    case TMPBtnType::btPlay:
      g.Triangle(2, 0, 2, 12, 11, 6);
      break;
    case TMPBtnType::btPause:
      g.Bar(1, 0, 5, 12);
      g.Bar(7, 0, 11, 12);
      break;
    case TMPBtnType::btStop:
      g.Bar(1, 1, 11, 11);
      break;
    case TMPBtnType::btNext:
    case TMPBtnType::btPrev:
      g.Triangle(0, 0, 0, 12, 8, 6);
      g.Bar(9, 0, 12, 12);
      break;
    case TMPBtnType::btStep:
    case TMPBtnType::btBack:
      g.Triangle(0, 0, 0, 12, 6, 6);
      g.Triangle(6, 0, 6, 12, 12, 6);
      break;
    case TMPBtnType::btRecord:
      g.Disc();
      break;
    case TMPBtnType::btEject:
      g.Triangle(0, 7, 12, 7, 6, 0);
      g.Bar(0, 9, 12, 12);
      break;
  }
}

bool Mirrored(TMPBtnType b) {
  return b == TMPBtnType::btPrev || b == TMPBtnType::btBack;
}

}  // namespace

void DrawMediaGlyph(HDC dc, const RECT& r, TMPBtnType b, COLORREF colour) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int s = std::max(std::min(w, h) / 2, kMinGlyph);
  BrushHandle brush(CreateSolidBrush(colour));
  PenHandle pen(CreatePen(PS_SOLID, 1, colour));
  SelectScope useBrush(dc, brush.get());
  SelectScope usePen(dc, pen.get());
  DrawShapes(GlyphPen(dc, r.left + (w - s) / 2, r.top + (h - s) / 2, s, Mirrored(b)), b);
}

// ---- TMediaPlayer

const TClassInfo& TMediaPlayer::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TMediaPlayer", &TWinControl::StaticClassInfo());
    i.Add(IntProp<TMediaPlayer>(u"VisibleButtons", &TMediaPlayer::VisibleButtonBits,
                                &TMediaPlayer::SetVisibleButtonBits));
    i.Add(IntProp<TMediaPlayer>(u"EnabledButtons", &TMediaPlayer::EnabledButtonBits,
                                &TMediaPlayer::SetEnabledButtonBits));
    return i;
  }();
  return info;
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 253, 30);
}

void TMediaPlayer::SetVisibleButtons(TButtonSet v) {
  visible_ = static_cast<TButtonSet>(v & kAllMPButtons);
  pressed_ = -1;
  Invalidate();
}

void TMediaPlayer::SetEnabledButtons(TButtonSet v) {
  enabled_ = static_cast<TButtonSet>(v & kAllMPButtons);
  Invalidate();
}

bool TMediaPlayer::Usable(TMPBtnType b) const {
  return (visible_ & MPButton(b)) && (enabled_ & MPButton(b)) && Enabled();
}

std::vector<TMediaPlayer::TButtonPlace> TMediaPlayer::ButtonPlaces() const {
  std::vector<TButtonPlace> places;
  for (int i = 0; i < kMPButtonCount; ++i)
    if (visible_ & (1u << i)) places.push_back({static_cast<TMPBtnType>(i), RECT{}});
  const RECT c = ClientRect();
  const int n = static_cast<int>(places.size());
  for (int i = 0; i < n; ++i) {
    const int w = (c.right - c.left) / n;
    places[size_t(i)].Rect =
        RECT{c.left + i * w, c.top, i == n - 1 ? c.right : c.left + (i + 1) * w, c.bottom};
  }
  return places;
}

int TMediaPlayer::PlaceAt(POINT p) const {
  const std::vector<TButtonPlace> places = ButtonPlaces();
  for (size_t i = 0; i < places.size(); ++i)
    if (PtInRect(&places[i].Rect, p)) return static_cast<int>(i);
  return -1;
}

void TMediaPlayer::ButtonClick(TMPBtnType b) {
  if (Usable(b) && OnClick) OnClick(this, b);
}

void TMediaPlayer::PaintWindow(HDC dc) {
  const std::vector<TButtonPlace> places = ButtonPlaces();
  for (size_t i = 0; i < places.size(); ++i) {
    RECT r = places[i].Rect;
    const bool down = static_cast<int>(i) == pressed_;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    const COLORREF ink = GetSysColor(Usable(places[i].Button) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    DrawMediaGlyph(dc, r, places[i].Button, ink);
  }
}

void TMediaPlayer::OnRelease(POINT p) {
  const int was = std::exchange(pressed_, -1);
  if (GetCapture() == WindowHandle()) ReleaseCapture();
  Invalidate();
  if (was < 0 || PlaceAt(p) != was) return;
  ButtonClick(ButtonPlaces()[size_t(was)].Button);
}

void TMediaPlayer::WndProc(TMessage& m) {
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int at = PlaceAt(p);
      if (at >= 0 && Usable(ButtonPlaces()[size_t(at)].Button)) {
        pressed_ = at;
        SetCapture(WindowHandle());
        Invalidate();
      }
      break;
    }
    case WM_LBUTTONUP:
      if (pressed_ >= 0) {
        TWinControl::WndProc(m);
        OnRelease(p);  // last: the click may free the control
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

}  // namespace lbb::forms
