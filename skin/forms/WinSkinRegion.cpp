// The shape of a skinned window: when the skin's border pieces are colour-keyed, the window is
// cut to the pieces' opaque pixels plus the client area.
#include "skin/data/imgutil.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinFormImpl.h"
#include "skin/win/WinRegion.h"

namespace lbb::skin {

namespace {

constexpr int kRegionTolerance = 1;

lbb::RegionHandle RectRegion(int left, int top, int right, int bottom) {
  return lbb::RegionHandle(CreateRectRgn(left, top, right, bottom));
}

void Unite(lbb::RegionHandle& into, const lbb::RegionHandle& other) {
  if (into && other) CombineRgn(into.get(), into.get(), other.get(), RGN_OR);
}

}  // namespace

// The region of border piece `side` drawn at w x h, moved to (dx, dy); the rectangle when the
// piece cannot be drawn.
static lbb::RegionHandle PieceRegion(TWinSkinForm& sf, int side, int w, int h, int dx, int dy) {
  PixelBuffer scratch(w, h);
  if (scratch.Empty()) return RectRegion(dx, dy, dx + w, dy + h);
  sf.DrawBorderPixels(side, TRect{0, 0, w, h}, scratch);
  lbb::RegionHandle r =
      RegionFromBitmap(scratch, dx, dy, static_cast<TColor>(kSkinKeyColour), kRegionTolerance);
  return r ? std::move(r) : RectRegion(dx, dy, dx + w, dy + h);
}

void TWinSkinForm::Cropwindow(bool redraw) {
  RECT wr{};
  if (!IsWindow(Hwnd) || !GetWindowRect(Hwnd, &wr)) return;
  CropTo(wr.right - wr.left, wr.bottom - wr.top, redraw);
}

void TWinSkinForm::CropTo(int W, int H, bool redraw) {
  if (Skinstate == kSkinDestroyed || !sMainMenu || !fsd || fsd->Empty || !IsWindow(Hwnd)) return;
  if (W <= 0 || H <= 0) return;
  const bool mdiChild = FormStyle == TSkinFormStyle::sfsMDIChild;
  if (mdiChild && Windowstate != TSkinWindowState::swsNormal) return;
  if (W == crwidth && H == crheight && !mdiChild && Skinstate != kSkinChanging) return;
  crop = false;
  auto keyed = [&](int side) {
    const auto& piece = fsd->border[static_cast<size_t>(side)];
    return piece && piece->trans == 1;
  };
  lbb::RegionHandle region;
  crwidth = W;
  crheight = H;
  if (!keyed(kBorderLeft) && !keyed(kBorderRight) && !keyed(kBorderTop) && !keyed(kBorderBottom)) {
    region = RectRegion(0, 0, W, H);
  } else {
    region = RectRegion(bw.left, bw.top, W - bw.right, H - bw.bottom);
    if (FormBorder != TSkinFormBorder::sbsNone) {
      const int inner = W - bw.left - bw.right;
      lbb::RegionHandle left = keyed(kBorderLeft) && H > 1
                                   ? PieceRegion(*this, kBorderLeft, bw.left, H, 0, 0)
                                   : RectRegion(0, 0, bw.left, H);
      lbb::RegionHandle right = keyed(kBorderRight) && H > 1
                                    ? PieceRegion(*this, kBorderRight, bw.right, H, W - bw.right, 0)
                                    : RectRegion(W - bw.right, 0, W, H);
      lbb::RegionHandle bottom =
          keyed(kBorderBottom) && bw.bottom >= 2
              ? PieceRegion(*this, kBorderBottom, inner, bw.bottom, bw.left, H - bw.bottom)
              : RectRegion(bw.left, H - bw.bottom, W - bw.right, H);
      lbb::RegionHandle top = keyed(kBorderTop) && bw.top > 1 && inner > 0
                                  ? PieceRegion(*this, kBorderTop, inner, bw.top, bw.left, 0)
                                  : RectRegion(bw.left, 0, W - bw.right, bw.top);
      Unite(left, right);
      Unite(top, bottom);
      Unite(left, top);
      Unite(region, left);
    }
  }
  if (!region) return;
  // The window owns a region once it is set: it is never deleted here.
  WinRgn = region.get();
  if (SetWindowRgn(Hwnd, region.get(), redraw ? TRUE : FALSE)) {
    region.release();
    crop = true;
  } else {
    WinRgn = nullptr;
    crwidth = crheight = 0;
  }
}

void TWinSkinForm::Uncropwindow() {
  if (!crop) return;
  crop = false;
  WinRgn = nullptr;
  crwidth = crheight = 0;
  // With redraw: the corners the region cut show the frame again at once, not at the next
  // frame paint.
  if (IsWindow(Hwnd)) SetWindowRgn(Hwnd, nullptr, TRUE);
}

}  // namespace lbb::skin
