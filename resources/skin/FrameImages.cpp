// The built-in skin's frame: a whole sample window frame is drawn once per look (active,
// inactive) and cut into the four border pieces, so corners and edges always meet. The top
// corners are rounded by key-coloured pixels, which gives the window a shaped region.
#include <cmath>

#include "resources/skin/BuiltinTheme.h"

namespace lbb::skingen {

namespace {

using namespace slate;

constexpr int kMasterW = 100, kMasterH = 80;

struct Look {
  Rgb top, bottom, outline, inner, sheen;
};
constexpr Look kActive{kCaptionTop, kCaptionBottom, kOutline, kInner, kSheen};
constexpr Look kInactive{kCaptionTopOff, kCaptionBottomOff, kOutlineOff, kInnerOff, kSheenOff};

Distance WindowShape() {
  return RoundRect2(0, 0, kMasterW, kMasterH, kCornerRadius, 0);
}

PixelBuffer MasterFrame(const Look& look) {
  PixelBuffer img(kMasterW, kMasterH);
  Fill(img, look.bottom);
  Paint(img, RoundRect(-1, -1, kMasterW + 1, kCaption, 0),
        Vertical(0, look.top, kCaption, look.bottom));
  // A soft sheen along the caption's top, then the thin inner line around the client area.
  Paint(img,
        Intersect(RoundRect(-1, 1, kMasterW + 1, 2, 0),
                  RoundRect2(1, 1, kMasterW - 1, kMasterH, kCornerRadius - 1, 0)),
        look.sheen, 0.55);
  Paint(img,
        Outline(RoundRect(kSide - 1, kCaption - 1, kMasterW - kSide + 1, kMasterH - kBottom + 1, 0),
                1),
        look.inner);
  FillRect(img, kSide, kCaption, kMasterW - kSide, kMasterH - kBottom, kFace);
  Paint(img, Outline(WindowShape(), 1), look.outline);
  KeyOutside(img, WindowShape());
  return img;
}

// A caption-button cell over the caption behind it: an optional rounded hover fill, then the
// glyph; everything the two do not cover is key-coloured, so the real caption shows through.
PixelBuffer CaptionButtonCell(const PixelBuffer& master, CaptionGlyph glyph, int state) {
  const bool activeLook = state <= 3;
  PixelBuffer cell =
      Crop(master, kMasterW / 2 - kCapButtonW / 2, kCapButtonY, kCapButtonW, kCapButtonH);
  const Distance plate = RoundRect(1, 0.5, kCapButtonW - 1, kCapButtonH - 0.5, 4);
  const bool hot = state == 3 || state == 5, pressed = state == 2 || state == 6;
  const bool close = glyph == CaptionGlyph::Close;
  Rgb ink = activeLook ? kWhite : Hex(0x66717E);
  if (hot || pressed) {
    if (close) {
      Paint(cell, plate, pressed ? kClosePressed : kCloseHot);
      ink = kWhite;
    } else if (activeLook) {
      Paint(cell, plate, pressed ? Hex(0x1F3A5A) : kWhite, pressed ? 0.30 : 0.20);
    } else {
      Paint(cell, plate, pressed ? Hex(0x7D8896) : kWhite, pressed ? 0.35 : 0.45);
    }
  }
  // Centred on a pixel corner with an even size, so straight strokes of width 1 stay crisp.
  const double stroke = glyph == CaptionGlyph::Close ? 1.35 : 1.0;
  const Distance shape = CaptionGlyphShape(glyph, kCapButtonW / 2, kCapButtonH / 2, 10, stroke);
  Paint(cell, shape, ink);
  if (hot || pressed) {
    KeyOutside(cell, plate);
  } else {
    KeyOutside(cell, [&](double x, double y) { return shape(x, y) - 0.6; });
  }
  return cell;
}

PixelBuffer CaptionButton(const PixelBuffer& on, const PixelBuffer& off, CaptionGlyph glyph) {
  return Strip(6, kCapButtonW, kCapButtonH, [&](PixelBuffer& cell, int k) {
    // Cells: 1 normal, 2 pressed, 3 hot, 4 inactive or disabled, 5 hot and 6 pressed inactive.
    cell = CaptionButtonCell(k <= 3 ? on : off, glyph, k);
  });
}

// MDI child buttons in the menu bar: minimise, restore, close; cells normal, pressed, hot, hot.
PixelBuffer MdiButtons() {
  const CaptionGlyph glyphs[] = {CaptionGlyph::Minimize, CaptionGlyph::Restore,
                                 CaptionGlyph::Close};
  return Strip(12, 16, 16, [&](PixelBuffer& cell, int k) {
    const int state = (k - 1) % 4 + 1;
    Fill(cell, kMenuBar);
    const Distance plate = RoundRect(0.5, 0.5, 15.5, 15.5, 3);
    if (state >= 2) Paint(cell, plate, state == 2 ? Hex(0xC9D3DF) : Hex(0xDFE6EE));
    const Distance g = CaptionGlyphShape(glyphs[(k - 1) / 4], 8, 8, 8, 1.0);
    Paint(cell, g, state == 2 ? kText : kGlyph);
    KeyOutside(cell,
               state >= 2 ? plate : Distance([&](double x, double y) { return g(x, y) - 0.6; }));
  });
}

PixelBuffer MenuBar() {
  return Strip(
      2, 20, 20,
      [](PixelBuffer& cell, int k) {
        Fill(cell, k == 1 ? kMenuBar : Hex(0xF1F3F5));
        FillRect(cell, 0, 19, 20, 20, Hex(0xDDE2E8));
      },
      true);
}

}  // namespace

Distance CaptionGlyphShape(CaptionGlyph g, double cx, double cy, double s, double w) {
  const double h = s / 2;
  switch (g) {
    case CaptionGlyph::Close:
      return [a = Polyline({cx - h, cy - h, cx + h, cy + h}, w),
              b = Polyline({cx + h, cy - h, cx - h, cy + h}, w)](double x, double y) {
        return std::min(a(x, y), b(x, y));
      };
    case CaptionGlyph::Maximize:
      return Outline(RoundRect(cx - h, cy - h, cx + h, cy + h, 1), w);
    case CaptionGlyph::Restore: {
      const double d = s * 0.22;
      const Distance front = RoundRect(cx - h, cy - h + d, cx + h - d, cy + h, 1);
      const Distance back = Outline(RoundRect(cx - h + d, cy - h, cx + h, cy + h - d, 1), w);
      return [front, back, w](double x, double y) {
        const double f = front(x, y);
        const double frontLine = std::abs(f + w / 2) - w / 2;
        return std::min(frontLine, std::max(back(x, y), -(f + w)));
      };
    }
    case CaptionGlyph::Minimize:
      return Polyline({cx - h, cy + 0.5, cx + h, cy + 0.5}, w);
    case CaptionGlyph::Help:
      return [q = Polyline({cx - h * 0.55, cy - h * 0.45, cx - h * 0.35, cy - h * 0.85, cx, cy - h,
                            cx + h * 0.45, cy - h * 0.8, cx + h * 0.55, cy - h * 0.35, cx, cy, cx,
                            cy + h * 0.35},
                           w),
              dot = Circle(cx, cy + h * 0.85, w * 0.7)](double x, double y) {
        return std::min(q(x, y), dot(x, y));
      };
  }
  return Circle(cx, cy, 0);
}

void AddFrameImages(ImageSet& out) {
  const PixelBuffer on = MasterFrame(kActive), off = MasterFrame(kInactive);
  const int midW = kMasterW - 2 * kSide;
  out.emplace_back("left.bmp",
                   Join(Crop(on, 0, 0, kSide, kMasterH), Crop(off, 0, 0, kSide, kMasterH), false));
  out.emplace_back("right.bmp", Join(Crop(on, kMasterW - kSide, 0, kSide, kMasterH),
                                     Crop(off, kMasterW - kSide, 0, kSide, kMasterH), false));
  out.emplace_back("top.bmp", Join(Crop(on, kSide, 0, midW, kCaption),
                                   Crop(off, kSide, 0, midW, kCaption), true));
  out.emplace_back("bottom.bmp", Join(Crop(on, kSide, kMasterH - kBottom, midW, kBottom),
                                      Crop(off, kSide, kMasterH - kBottom, midW, kBottom), true));
  out.emplace_back("close.bmp", CaptionButton(on, off, CaptionGlyph::Close));
  out.emplace_back("maximize.bmp", CaptionButton(on, off, CaptionGlyph::Maximize));
  out.emplace_back("restore.bmp", CaptionButton(on, off, CaptionGlyph::Restore));
  out.emplace_back("minimize.bmp", CaptionButton(on, off, CaptionGlyph::Minimize));
  out.emplace_back("mdibuttons.bmp", MdiButtons());
  out.emplace_back("menubar.bmp", MenuBar());
}

void AddNamedBitmaps(ImageSet& out) {
  // Restore, maximise, minimise, close: black on white (white is transparent), no shading.
  const CaptionGlyph order[] = {CaptionGlyph::Restore, CaptionGlyph::Maximize,
                                CaptionGlyph::Minimize, CaptionGlyph::Close};
  PixelBuffer glyphs = Strip(4, 16, 16, [&](PixelBuffer& cell, int k) {
    Fill(cell, kWhite);
    const Distance g = CaptionGlyphShape(order[k - 1], 8, 8, 8, 1.5);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (g(x + 0.5, y + 0.5) < 0) cell.At(x, y) = 0;
  });
  out.emplace_back("MENUGLYPHS.bmp", std::move(glyphs));
  // Sunken grooves: shadow on the top and left, light on the bottom and right.
  PixelBuffer track(16, 4), trackVert(4, 16);
  for (PixelBuffer* img : {&track, &trackVert}) {
    Fill(*img, Hex(0xE2E6EB));
    const int w = img->Width(), h = img->Height();
    FillRect(*img, 0, 0, w, 1, kShadow);
    FillRect(*img, 0, 0, 1, h, kShadow);
    FillRect(*img, 0, h - 1, w, h, kWhite);
    FillRect(*img, w - 1, 0, w, h, kWhite);
  }
  out.emplace_back("TRACK.bmp", std::move(track));
  out.emplace_back("TRACKVERT.bmp", std::move(trackVert));
}

}  // namespace lbb::skingen
