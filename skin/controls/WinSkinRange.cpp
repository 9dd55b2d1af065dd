// TSkinTrackBar, TSkinProgress: track bars and progress bars from the skin.
//
// Track bar. The bar lays itself out (channel and thumb rectangles) and hands each part to the
// custom-draw notification: the groove is the skin's `TrackBar` (`TrackBarVert`) image, as
// thick as the image and centred on the native channel's middle line, like the groove of the
// preview sheet's sample window; the thumb is the skin's thumb image stretched (nine-part,
// margins kept) into the native thumb rectangle, so what the mouse grabs is what is drawn. The
// thumb points to the ticks (`Trackbottom`, `Tracktop`, `Trackright`, `TrackLeft`) and is
// plain with ticks on both sides or none (`TrackHorz`, `TrackVert`). A skin that has only the
// horizontal thumbs (the built-in one) gives a vertical bar its horizontal thumb turned a
// quarter to the left (pointing down becomes pointing right, up becomes left). The thumb's five
// frames are the push button's: normal, pressed (dragged), disabled, hot, focused.
//
// Progress bar. Style 0: frame 1 of `progress` over the whole bar, frame 2 stretched over the
// filled part (the preview's sample bar). Style 1: frame 1, then the `progresschunk` image
// repeated along the fill, each chunk its cell's width, 2 pixels apart and 2 inside the track.
// The skin's [Progress] Style key chooses (skin/data/RangeGeometry.h), whatever the bar's own
// style (PBS_SMOOTH, the form library's Smooth) says.
#include "skin/controls/WinSkinRange.h"

#include <windowsx.h>

#include <algorithm>

#include "base/Colour.h"
#include "base/win/Handles.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/imgutil.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kThumbFrames = 5;
constexpr int kChunkGap = 2;
constexpr int kChunkInset = 2;
constexpr int kTrackFrame = 1;
constexpr int kFillFrame = 2;

bool HasImage(const TDataSkinObject* e) {
  return e && !e->Map.Empty();
}

int Frames(const TDataSkinObject& e) {
  return std::max(e.frame, 1);
}

// Frame `frame` of the element rendered nine-part at w x h.
PixelBuffer RenderFrame(const TDataSkinObject& e, int w, int h, int frame) {
  return RenderSkinImage(TRect{0, 0, w, h}, e.Map, e.r, false, e.Tile == 1, Frames(e), frame);
}

}  // namespace

// ---- track bar

TSkinTrackBar::TSkinTrackBar(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

bool TSkinTrackBar::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case forms::CN_NOTIFY:
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(m.LParam);
      if (!hdr || hdr->code != UINT(NM_CUSTOMDRAW) || hdr->hwndFrom != hwnd) break;
      OnCustomDraw(m);
      return false;
    }
    case forms::CN_CTLCOLORSTATIC:
      OnCtlColor(m);
      return false;
    case WM_LBUTTONDOWN:
      downOnThumb_ = OverThumb();
      break;
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinTrackBar::OnCtlColor(forms::TMessage& m) {
  const auto alive = AliveToken();
  CallOldProc(m);
  if (Gone(alive) || !fsd || !fsd->BGBrush) return;
  // The bar fills its background (around the groove, the ticks and the thumb) with the brush
  // its parent answers: the skin's ButtonFace, as on the skinned form around it.
  SetBkColor(reinterpret_cast<HDC>(m.WParam), SchemeRGB(kShemeButtonFace));
  m.Result = reinterpret_cast<LRESULT>(fsd->BGBrush.get());
}

void TSkinTrackBar::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      OnMouseMove();
      return;
    case WM_LBUTTONDOWN:
      // The bar took the capture when the press grabbed its thumb: it is dragged now.
      if (downOnThumb_ && GetCapture() == hwnd) SetLook(state | kStatePressed);
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      SetLook(static_cast<uint8_t>(state & ~kStatePressed));
      return;
    case WM_MOUSELEAVE:
      SetLook(static_cast<uint8_t>(state & ~kStateHot));
      return;
    default:
      TSkinControl::AfterProc(m);
      return;
  }
}

bool TSkinTrackBar::Vertical() const {
  return hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & TBS_VERT) != 0;
}

bool TSkinTrackBar::OverThumb() const {
  RECT thumb{};
  POINT p{};
  if (!hwnd || !GetCursorPos(&p) || !ScreenToClient(hwnd, &p)) return false;
  SendMessageW(hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  return PtInRect(&thumb, p) != FALSE;
}

void TSkinTrackBar::OnMouseMove() {
  const bool hot = OverThumb();
  SetLook(static_cast<uint8_t>(hot ? state | kStateHot : state & ~kStateHot));
  TrackLeave();
}

void TSkinTrackBar::SetLook(uint8_t look) {
  if (look == state) return;
  state = look;
  if (hwnd) InvalidateRect(hwnd, nullptr, TRUE);
}

void TSkinTrackBar::OnCustomDraw(forms::TMessage& m) {
  const auto& cd = *reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam);
  switch (cd.dwDrawStage) {
    case CDDS_PREPAINT:
      m.Result = CDRF_NOTIFYITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT:
      m.Result = ItemPrePaint(cd);
      return;
    default:
      m.Result = CDRF_DODEFAULT;
      return;
  }
}

LRESULT TSkinTrackBar::ItemPrePaint(const NMCUSTOMDRAW& cd) {
  try {
    if (cd.dwItemSpec == TBCD_CHANNEL && DrawGroove(cd)) return CDRF_SKIPDEFAULT;
    if (cd.dwItemSpec == TBCD_THUMB && DrawThumb(cd)) return CDRF_SKIPDEFAULT;
  } catch (const std::exception&) {
    // A failed draw leaves the part to the bar.
  }
  return CDRF_DODEFAULT;
}

bool TSkinTrackBar::DrawGroove(const NMCUSTOMDRAW& cd) {
  const bool vertical = Vertical();
  const TDataSkinObject* e = fsd ? (vertical ? fsd->TrackBarVert : fsd->TrackBar).get() : nullptr;
  if (!HasImage(e) || !cd.hdc) return false;
  const int thickness = vertical ? e->Map.Width() / Frames(*e) : e->Map.Height();
  DrawSkinMap(cd.hdc, ToRect(TrackGrooveRect(ToSkin(cd.rc), vertical, thickness)), e, 1,
              Frames(*e));
  return true;
}

const TDataSkinObject* TSkinTrackBar::ThumbElement(TThumbShape shape) const {
  const TDataSkinObject* e = nullptr;
  switch (shape) {
    case TThumbShape::Horz:
      e = fsd->TrackHorz.get();
      break;
    case TThumbShape::Vert:
      e = fsd->TrackVert.get();
      break;
    case TThumbShape::Up:
      e = fsd->Tracktop.get();
      break;
    case TThumbShape::Down:
      e = fsd->Trackbottom.get();
      break;
    case TThumbShape::Left:
      e = fsd->TrackLeft.get();
      break;
    case TThumbShape::Right:
      e = fsd->Trackright.get();
      break;
  }
  return HasImage(e) ? e : nullptr;
}

bool TSkinTrackBar::DrawThumb(const NMCUSTOMDRAW& cd) {
  if (!fsd || !cd.hdc) return false;
  const DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
  const bool vertical = (style & TBS_VERT) != 0;
  const TThumbShape shape = TrackThumbShape(vertical, (style & TBS_BOTH) != 0,
                                            (style & TBS_NOTICKS) != 0, (style & TBS_TOP) != 0);
  const TDataSkinObject* e = ThumbElement(shape);
  if (!e) e = ThumbElement(PlainThumbShape(shape));
  // A vertical bar without vertical thumbs lays the horizontal one on its side.
  bool turned = false;
  if (!e && vertical) {
    const TThumbShape lying = shape == TThumbShape::Right  ? TThumbShape::Down
                              : shape == TThumbShape::Left ? TThumbShape::Up
                                                           : TThumbShape::Horz;
    e = ThumbElement(lying);
    if (!e) e = ThumbElement(TThumbShape::Horz);
    turned = e != nullptr;
  }
  if (!e) return false;
  ReadWindowState();
  const bool pressed = (state & kStatePressed) || (cd.uItemState & CDIS_SELECTED);
  const int frame = TrackThumbFrame(enabled, pressed, (state & kStateHot) != 0, focused);
  const int w = cd.rc.right - cd.rc.left, h = cd.rc.bottom - cd.rc.top;
  if (w <= 0 || h <= 0) return true;
  PixelBuffer img = turned ? RenderFrame(*e, h, w, frame) : RenderFrame(*e, w, h, frame);
  if (turned) RotateLeft(img);
  DrawSkinMap1(cd.hdc, cd.rc, img, 1, 1);
  return true;
}

// ---- progress bar

TSkinProgress::TSkinProgress(forms::TComponent* AOwner) : TSkinControl(AOwner) {}

const TDataSkinObject* TSkinProgress::Track() const {
  if (!fsd || fsd->Empty || !HasImage(fsd->progress.get())) return nullptr;
  return fsd->progress.get();
}

const TDataSkinObject* TSkinProgress::Chunk() const {
  return fsd && HasImage(fsd->progresschunk.get()) ? fsd->progresschunk.get() : nullptr;
}

bool TSkinProgress::BeforeProc(forms::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!Track()) break;
      PaintHandler(m);
      return false;
    case WM_ERASEBKGND:
      if (!Track()) break;
      m.Result = 1;  // the paint covers every pixel
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeProc(m);
}

void TSkinProgress::AfterProc(forms::TMessage& m) {
  switch (m.Msg) {
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_STEPIT:
    case PBM_SETRANGE:
    case PBM_SETRANGE32:
    case PBM_SETSTATE:
      // The bar drew its new fill itself or only asked for a paint: the skin shows it now.
      Redraw();
      return;
    default:
      TSkinControl::AfterProc(m);
      return;
  }
}

int TSkinProgress::StyleNow() const {
  const TDataSkinObject* track = Track();
  return ProgressStyle(track->style, Chunk() != nullptr, Frames(*track));
}

PixelBuffer TSkinProgress::DrawLying(int length, int across, int fill) {
  PixelBuffer bar(length, across);
  bar.Fill(PixelOf(SchemeRGB(kShemeButtonFace)));
  const TDataSkinObject* track = Track();
  const RECT whole{0, 0, length, across};
  DrawSkinMap(bar, whole, track, kTrackFrame, Frames(*track));
  if (StyleNow() == 0) {
    if (Frames(*track) >= kFillFrame)
      DrawSkinMap(bar, ToRect(ProgressFillRect(ToSkin(whole), fill)), track, kFillFrame,
                  Frames(*track));
    return bar;
  }
  const TDataSkinObject* chunk = Chunk();
  const int cellWidth = chunk->Map.Width() / Frames(*chunk);
  for (const TRect& c : ProgressChunks(ToSkin(whole), fill, cellWidth, kChunkGap, kChunkInset))
    DrawSkinMap(bar, ToRect(c), chunk, 1, Frames(*chunk));
  return bar;
}

void TSkinProgress::DrawControl(HDC dc, const RECT& rc) {
  if (!dc || !Track()) return;
  PaintBuffered(buffer_, dc, rc, [&](const RECT& whole) {
    const int w = whole.right, h = whole.bottom;
    const bool vertical = (GetWindowLongW(hwnd, GWL_STYLE) & PBS_VERTICAL) != 0;
    PBRANGE range{};
    SendMessageW(hwnd, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    const auto pos = static_cast<int>(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
    const int length = vertical ? h : w, across = vertical ? w : h;
    PixelBuffer bar =
        DrawLying(length, across, ProgressFillLength(length, pos, range.iLow, range.iHigh));
    // Turned a quarter to the left, the bar's left end (where the fill starts) is at the bottom.
    if (vertical) RotateLeft(bar);
    StretchCopy(buffer_.Pixels(), ToSkin(whole), bar, ToSkin(whole));
  });
}

}  // namespace lbb::skin
