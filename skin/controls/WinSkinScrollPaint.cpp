// Drawing one skinned scroll bar into a pixel buffer, shared by the overlays and by the combo
// box's drop-down list, and reading a bar's information from the platform.
#include <algorithm>

#include "base/Colour.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/data/imgutil.h"

namespace lbb::skin {

namespace {

constexpr int kArrowFrames = 23;
constexpr int kTrackFrames = 4;

void FillArea(PixelBuffer& px, const TRect& r, Pixel p) {
  const int right = std::min(px.Width(), r.Right), bottom = std::min(px.Height(), r.Bottom);
  for (int y = std::max(0, r.Top); y < bottom; ++y)
    std::fill(px.Row(y) + std::max(0, r.Left), px.Row(y) + right, p);
}

// Cell `frame` of the SArrow strip stretched into `to`, its key colour left out.
void DrawArrowCell(PixelBuffer& px, const TRect& to, const PixelBuffer& arrows, int frame) {
  if (to.Width() <= 0 || to.Height() <= 0) return;
  StretchCopy(px, to, arrows, SkinFrameRect(arrows, false, kArrowFrames, frame), true);
}

// A nine-part element (track or thumb) at `to` with its own margins, tiling and key colour;
// a frame beyond the element's count draws its first one.
void DrawElement(PixelBuffer& px, const TRect& to, const TDataSkinObject* e, int count, int frame) {
  if (!e || e->Map.Empty() || to.Width() <= 0 || to.Height() <= 0 || count < 1) return;
  if (frame < 1 || frame > count) frame = 1;
  DrawSkinImage(px, to, e->Map, false, e->Tile == 1, e->trans == 1, count, frame, e->r);
}

}  // namespace

bool ReadScrollBarInfo(HWND host, LONG idObject, SCROLLBARINFO& info) {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  if (!host || !TSkinData::GetScrollBarInfo(host, idObject, &info)) return false;
  if (!IsWindowEnabled(host)) info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  return true;
}

int SystemArrowWidth() {
  return GetSystemMetrics(SM_CXHSCROLL);
}

int SkinScrollThickness(const TSkinData& sd, int cw) {
  if (!sd.SArrow || sd.SArrow->Map.Empty()) return 0;
  return ScrollThickness(sd.SArrow->Map.Height(), cw);
}

bool RenderScrollBar(const TSkinData& sd, const TScrollBarPicture& pic, PixelBuffer& px) {
  if (!sd.SArrow || sd.SArrow->Map.Empty()) return false;
  const bool vertical = pic.sbDir == kSbVertical;
  const TRect area = vertical ? TRect{0, 0, pic.Cross, pic.Len} : TRect{0, 0, pic.Len, pic.Cross};
  FillArea(px, area, PixelOf(ColorToRGB(sd.Colors[kShemeButtonFace])));

  TScrollBarInput in;
  in.Len = pic.Len;
  in.SbDir = pic.sbDir;
  in.CW = pic.CW;
  in.Thickness = ScrollThickness(sd.SArrow->Map.Height(), pic.CW);
  in.ArrowBitmapHeight = sd.SArrow->Map.Height();
  in.Thumb = pic.Thumb;
  in.Enabled = pic.Enabled;
  in.ScrollPos = pic.ScrollPos;
  in.FDown = pic.FDown;
  const TScrollBarLayout l = ScrollBarLayout(in);
  const TScrollFrames f = ScrollBarFrames(in);

  if (l.HasTrack) {
    DrawElement(px, l.Track, vertical ? sd.VBar.get() : sd.HBar.get(), kTrackFrames, f.Track);
  }
  DrawArrowCell(px, l.FirstArrow, sd.SArrow->Map, f.FirstArrow);
  DrawArrowCell(px, l.SecondArrow, sd.SArrow->Map, f.SecondArrow);
  // The thumb only when it lies wholly inside the area drawn.
  if (l.HasThumb && l.Thumb.Right <= area.Right && l.Thumb.Bottom <= area.Bottom) {
    const TDataSkinObject* slider = vertical ? sd.VSlider.get() : sd.HSlider.get();
    DrawElement(px, l.Thumb, slider, slider ? slider->frame : 0, f.Thumb);
    if (l.HasGrip) DrawArrowCell(px, l.Grip, sd.SArrow->Map, f.Grip);
  }
  return true;
}

}  // namespace lbb::skin
