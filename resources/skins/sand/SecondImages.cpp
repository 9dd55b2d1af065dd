#include <cmath>

#include "resources/skins/sand/SecondTheme.h"

namespace lbb::skingen {

namespace {

constexpr Rgb kCaptionL = Hex(0x6B5A48), kCaptionR = Hex(0x8C7660);
constexpr Rgb kCaptionOffL = Hex(0xB9AFA4), kCaptionOffR = Hex(0xC9C0B6);
constexpr Rgb kFace = Hex(0xEFE9E1), kEdge = Hex(0x4A3E32), kEdgeOff = Hex(0x9A8F84);
constexpr Rgb kAccent = Hex(0xB8743A), kInk = Hex(0x3B3229), kLine = Hex(0xB5A999);
constexpr Rgb kWhite = Hex(0xFFFFFF);
constexpr int kSide = 6, kBottomH = 8, kCaptionH = 24, kMasterW = 90, kMasterH = 70;

PixelBuffer Master(bool active) {
  PixelBuffer img(kMasterW, kMasterH);
  Fill(img, active ? kCaptionL : kCaptionOffL);
  Paint(img, RoundRect(-1, -1, kMasterW + 1, kMasterH + 1, 0),
        Horizontal(0, active ? kCaptionL : kCaptionOffL, kMasterW,
                   active ? kCaptionR : kCaptionOffR));
  Paint(img, Outline(RoundRect(0, 0, kMasterW, kMasterH, 0), 1), active ? kEdge : kEdgeOff);
  Paint(
      img,
      Outline(RoundRect(kSide - 1, kCaptionH - 1, kMasterW - kSide + 1, kMasterH - kBottomH + 1, 0),
              1),
      active ? kEdge : kEdgeOff, 0.6);
  // A row of grip dots in the thick bottom border.
  for (int x = 8; x < kMasterW - 8; x += 4)
    Paint(img, Circle(x + 0.5, kMasterH - 3.5, 0.8), kWhite, 0.35);
  return img;
}

PixelBuffer CaptionButton(CaptionGlyph glyph) {
  // Three cells: normal, pressed, hot.
  return Strip(3, 18, 18, [glyph](PixelBuffer& cell, int k) {
    Fill(cell, k == 2 ? Hex(0x4F4236) : k == 3 ? Hex(0xA08870) : Hex(0x7C6854));
    Paint(cell, Outline(RoundRect(0, 0, 18, 18, 0), 1), kEdge);
    Paint(cell, CaptionGlyphShape(glyph, 9, 9, 8, 1.5), kWhite);
  });
}

PixelBuffer Emblem() {
  PixelBuffer img(16, 16);
  Fill(img, kCaptionL);
  Paint(img, Circle(8, 8, 6), kAccent);
  Paint(img, Circle(8, 8, 2.5), kFace);
  KeyOutside(img, Circle(8, 8, 6));
  return img;
}

PixelBuffer TitlePlate() {
  return Strip(
      2, 30, kCaptionH,
      [](PixelBuffer& cell, int k) {
        Fill(cell, k == 1 ? kCaptionL : kCaptionOffL);
        const Distance plate = RoundRect(0, 4, 30, kCaptionH - 4, 8);
        Paint(cell, plate, k == 1 ? Hex(0x574838) : Hex(0xA69B8F));
        KeyOutside(cell, plate);
      },
      true);
}

PixelBuffer Square(int cells, int w, int h, const std::function<void(PixelBuffer&, int)>& extra) {
  return Strip(cells, w, h, [&](PixelBuffer& cell, int k) {
    Fill(cell, kFace);
    extra(cell, k);
  });
}

void AddControls(ImageSet& out) {
  out.emplace_back("button.bmp", Square(5, 16, 20, [](PixelBuffer& c, int k) {
                     const Rgb fills[] = {Hex(0xF7F3EE), Hex(0xD9CFC3), Hex(0xEFE9E1),
                                          Hex(0xFFF8EF), Hex(0xF7F3EE)};
                     Fill(c, fills[k - 1]);
                     Paint(c, Outline(RoundRect(0, 0, 16, 20, 0), k == 5 ? 2 : 1),
                           k == 5   ? kAccent
                           : k == 3 ? kLine
                                    : kEdgeOff);
                   }));
  out.emplace_back("check.bmp", Square(6, 13, 13, [](PixelBuffer& c, int k) {
                     // Unchecked, checked, unchecked disabled, checked disabled, mixed, mixed
                     // disabled.
                     Fill(c, k == 3 || k == 4 || k == 6 ? kFace : kWhite);
                     Paint(c, Outline(RoundRect(0, 0, 13, 13, 0), 1),
                           k >= 3 && k != 5 ? kLine : kEdge);
                     if (k == 2 || k == 4)
                       Paint(c, Polyline({3, 6.5, 5.5, 9, 10, 3.5}, 1.6), k == 2 ? kAccent : kLine);
                     if (k >= 5) FillRect(c, 3, 3, 10, 10, k == 5 ? kAccent : kLine);
                   }));
  out.emplace_back("radio.bmp", Square(4, 13, 13, [](PixelBuffer& c, int k) {
                     Paint(c, Circle(6.5, 6.5, 6), k >= 3 ? kFace : kWhite);
                     Paint(c, Outline(Circle(6.5, 6.5, 6), 1), k >= 3 ? kLine : kEdge);
                     if (k % 2 == 0) Paint(c, Circle(6.5, 6.5, 2.5), k == 2 ? kAccent : kLine);
                     KeyOutside(c, Circle(6.5, 6.5, 6));
                   }));
  out.emplace_back(
      "arrows.bmp", Square(23, 16, 16, [](PixelBuffer& c, int k) {
        Paint(c, Outline(RoundRect(0, 0, 16, 16, 0), 1), kLine);
        if (k > 16) {
          for (int i = -1; i <= 1; ++i)
            FillRect(c, k < 20 ? 7 + 3 * i : 5, k < 20 ? 5 : 7 + 3 * i, k < 20 ? 8 + 3 * i : 11,
                     k < 20 ? 11 : 8 + 3 * i, kEdgeOff);
          return;
        }
        const int dir = (k - 1) / 4, s = (k - 1) % 4 + 1;
        if (s == 2 || s == 4) FillRect(c, 1, 1, 15, 15, s == 2 ? Hex(0xD9CFC3) : Hex(0xF7F0E6));
        const double a = 3.5, cx = 8, cy = 8;
        Distance tri =
            dir == 2   ? Polyline({cx - a, cy + 2, cx, cy - 2, cx + a, cy + 2, cx - a, cy + 2}, 1.2)
            : dir == 3 ? Polyline({cx - a, cy - 2, cx, cy + 2, cx + a, cy - 2, cx - a, cy - 2}, 1.2)
            : dir == 0
                ? Polyline({cx + 2, cy - a, cx - 2, cy, cx + 2, cy + a, cx + 2, cy - a}, 1.2)
                : Polyline({cx - 2, cy - a, cx + 2, cy, cx - 2, cy + a, cx - 2, cy - a}, 1.2);
        Paint(c, tri, s == 3 ? kLine : kInk);
      }));
  out.emplace_back("track.bmp", Square(4, 16, 16, [](PixelBuffer& c, int k) {
                     Fill(c, k == 3 ? kFace : Hex(0xE2D9CE));
                   }));
  out.emplace_back("thumb.bmp", Square(3, 16, 16, [](PixelBuffer& c, int k) {
                     Fill(c, k == 2 ? Hex(0xA08870) : k == 3 ? Hex(0xC2AE98) : Hex(0xB5A08A));
                     Paint(c, Outline(RoundRect(0, 0, 16, 16, 0), 1), kEdgeOff);
                   }));
  out.emplace_back("progress.bmp", Square(1, 20, 14, [](PixelBuffer& c, int) {
                     Fill(c, kWhite);
                     Paint(c, Outline(RoundRect(0, 0, 20, 14, 0), 1), kEdgeOff);
                   }));
  out.emplace_back("chunk.bmp", Square(1, 9, 10, [](PixelBuffer& c, int) {
                     FillRect(c, 0, 0, 7, 10, kAccent);
                   }));
  out.emplace_back("menubg.bmp", Square(1, 24, 24, [](PixelBuffer& c, int) {
                     Fill(c, Hex(0xFAF7F2));
                     Paint(c, Outline(RoundRect(0, 0, 24, 24, 0), 1), kEdgeOff);
                   }));
  out.emplace_back("menuitem.bmp", Square(5, 20, 18, [](PixelBuffer& c, int k) {
                     c.Fill(kKey);
                     if (k == 2) FillRect(c, 2, 13, 18, 14, kLine);
                     if (k >= 4) FillRect(c, 0, 0, 20, 18, kAccent);
                   }));
  out.emplace_back("tabs.bmp", Square(5, 30, 22, [](PixelBuffer& c, int k) {
                     Fill(c, k == 2 || k == 5 ? kFace : Hex(0xE2D9CE));
                     Paint(c, Outline(RoundRect(0, 0, 30, 30, 0), 1), kEdgeOff);
                     if (k == 2 || k == 5) FillRect(c, 1, 1, 29, 3, kAccent);
                   }));
  out.emplace_back("header.bmp", Square(5, 30, 20, [](PixelBuffer& c, int k) {
                     Fill(c, k == 2 ? Hex(0xD9CFC3) : k == 4 ? Hex(0xF7F0E6) : Hex(0xEAE2D7));
                     FillRect(c, 0, 19, 30, 20, kEdgeOff);
                     FillRect(c, 29, 3, 30, 17, kLine);
                   }));
  out.emplace_back("groove.bmp", Square(1, 12, 6, [](PixelBuffer& c, int) {
                     Fill(c, Hex(0xD2C6B8));
                     FillRect(c, 0, 0, 12, 1, kEdgeOff);
                   }));
  out.emplace_back("groovevert.bmp", Square(1, 6, 12, [](PixelBuffer& c, int) {
                     Fill(c, Hex(0xD2C6B8));
                     FillRect(c, 0, 0, 1, 12, kEdgeOff);
                   }));
}

}  // namespace

void AddSecondSkinImages(ImageSet& out) {
  const PixelBuffer on = Master(true), off = Master(false);
  const int midW = kMasterW - 2 * kSide;
  out.emplace_back("sideleft.bmp",
                   Join(Crop(on, 0, 0, kSide, kMasterH), Crop(off, 0, 0, kSide, kMasterH), false));
  out.emplace_back("sideright.bmp", Join(Crop(on, kMasterW - kSide, 0, kSide, kMasterH),
                                         Crop(off, kMasterW - kSide, 0, kSide, kMasterH), false));
  out.emplace_back("caption.bmp", Join(Crop(on, kSide, 0, midW, kCaptionH),
                                       Crop(off, kSide, 0, midW, kCaptionH), true));
  out.emplace_back("foot.bmp", Join(Crop(on, kSide, kMasterH - kBottomH, midW, kBottomH),
                                    Crop(off, kSide, kMasterH - kBottomH, midW, kBottomH), true));
  out.emplace_back("titleplate.bmp", TitlePlate());
  out.emplace_back("close.bmp", CaptionButton(CaptionGlyph::Close));
  out.emplace_back("max.bmp", CaptionButton(CaptionGlyph::Maximize));
  out.emplace_back("restore.bmp", CaptionButton(CaptionGlyph::Restore));
  out.emplace_back("min.bmp", CaptionButton(CaptionGlyph::Minimize));
  out.emplace_back("help.bmp", CaptionButton(CaptionGlyph::Help));
  out.emplace_back("emblem.bmp", Emblem());
  AddControls(out);
}

}  // namespace lbb::skingen
