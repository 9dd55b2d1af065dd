// The built-in skin's control images. State cells follow one order wherever an element has
// them: 1 normal, 2 pressed (or selected), 3 disabled, 4 hot, 5 focused or default. Shapes are
// anti-aliased against the colour they will be shown on; where an element is drawn colour-keyed,
// everything outside the shape is 0xFF00FF.
#include <cmath>

#include "resources/skin/BuiltinTheme.h"

namespace lbb::skingen {

namespace {

using namespace slate;

struct Plate {
  Rgb top, bottom, border;
};

Plate ButtonPlate(int state) {
  switch (state) {
    case 2:
      return {Hex(0xD6DFE9), Hex(0xE0E6EE), Hex(0x7890AE)};
    case 3:
      return {Hex(0xF5F6F8), Hex(0xF5F6F8), kBorderOff};
    case 4:
      return {kWhite, Hex(0xE3ECF7), Hex(0x6F97C6)};
    case 5:
      return {kWhite, Hex(0xEDF0F4), kAccent};
    default:
      return {kWhite, Hex(0xEDF0F4), kBorder};
  }
}

// A rounded plate filled top to bottom and outlined; returns its shape.
Distance DrawPlate(PixelBuffer& cell, const Distance& shape, const Plate& p) {
  Paint(cell, shape, Vertical(0, p.top, cell.Height(), p.bottom));
  Paint(cell, Outline(shape, 1), p.border);
  return shape;
}

Distance Chevron(double cx, double cy, double size, int dir, double w) {
  // dir: 0 left, 1 right, 2 up, 3 down.
  const double a = size, b = size / 2;
  switch (dir) {
    case 0:
      return Polyline({cx + b, cy - a, cx - b, cy, cx + b, cy + a}, w);
    case 1:
      return Polyline({cx - b, cy - a, cx + b, cy, cx - b, cy + a}, w);
    case 2:
      return Polyline({cx - a, cy + b, cx, cy - b, cx + a, cy + b}, w);
    default:
      return Polyline({cx - a, cy - b, cx, cy + b, cx + a, cy - b}, w);
  }
}

Rgb GlyphInk(int state) {
  return state == 2 ? kText : state == 3 ? kGlyphOff : kGlyph;
}

PixelBuffer PushButtons() {
  return Strip(5, 22, 24, [](PixelBuffer& cell, int k) {
    Fill(cell, kFace);
    const Distance shape = RoundRect(0.5, 0.5, 21.5, 23.5, 3.5);
    DrawPlate(cell, shape, ButtonPlate(k));
    if (k == 5) Paint(cell, Outline(RoundRect(1.5, 1.5, 20.5, 22.5, 2.5), 1), kAccent, 0.35);
  });
}

PixelBuffer CheckBoxes() {
  // 1-4 unchecked, 5-8 checked, 9-12 mixed; in each group normal, hot, pressed, disabled.
  return Strip(12, 16, 16, [](PixelBuffer& cell, int k) {
    const int group = (k - 1) / 4, state = (k - 1) % 4;  // 0 normal, 1 hot, 2 pressed, 3 disabled
    Fill(cell, kFace);
    const Distance box = RoundRect(1.5, 1.5, 14.5, 14.5, 2.5);
    if (group == 0) {
      const Rgb fills[] = {kWhite, Hex(0xF1F6FC), Hex(0xDCE6F2), Hex(0xF4F5F7)};
      const Rgb borders[] = {Hex(0x7D8A99), kAccent, kAccentDark, kBorderOff};
      Paint(cell, box, fills[state]);
      Paint(cell, Outline(box, 1), borders[state]);
    } else {
      const Rgb fills[] = {kAccent, kAccentLight, kAccentDark, Hex(0xB7C4D3)};
      Paint(cell, box, fills[state]);
      Paint(cell, Outline(box, 1), Mix(fills[state], kText, 0.15));
      const Distance mark = group == 1 ? Polyline({4.6, 8.1, 7.0, 10.6, 11.5, 5.5}, 1.7)
                                       : Polyline({4.8, 8.0, 11.2, 8.0}, 1.8);
      Paint(cell, mark, kWhite);
    }
    KeyOutside(cell, box);
  });
}

PixelBuffer RadioButtons() {
  // 1 off, 2 on, 3 off disabled, 4 on disabled, 5 off hot, 6 on hot, 7 off pressed, 8 on pressed.
  return Strip(8, 16, 16, [](PixelBuffer& cell, int k) {
    const bool on = k % 2 == 0;
    const int state = (k - 1) / 2;  // 0 normal, 1 disabled, 2 hot, 3 pressed
    Fill(cell, kFace);
    const Distance ring = Circle(8, 8, 6.6);
    if (on) {
      const Rgb fills[] = {kAccent, Hex(0xB7C4D3), kAccentLight, kAccentDark};
      Paint(cell, ring, fills[state]);
      Paint(cell, Circle(8, 8, 2.6), kWhite);
    } else {
      const Rgb fills[] = {kWhite, Hex(0xF4F5F7), Hex(0xF1F6FC), Hex(0xDCE6F2)};
      const Rgb borders[] = {Hex(0x7D8A99), kBorderOff, kAccent, kAccentDark};
      Paint(cell, ring, fills[state]);
      Paint(cell, Outline(ring, 1), borders[state]);
    }
    KeyOutside(cell, ring);
  });
}

constexpr Rgb kThumb[] = {Hex(0xBFC7D1), Hex(0x8C99A8), Hex(0xA6B1BE)};  // normal, dragged, hot

PixelBuffer ScrollArrows() {
  return Strip(23, 17, 17, [](PixelBuffer& cell, int k) {
    if (k <= 16) {
      const int dir = (k - 1) / 4, state = (k - 1) % 4 + 1;
      Fill(cell, kTrack);
      if (state == 2 || state == 4)
        Paint(cell, RoundRect(2, 2, 15, 15, 3), state == 2 ? Hex(0xC2CBD6) : Hex(0xD8DEE5));
      Paint(cell, Chevron(8.5, 8.5, 3.2, dir, 1.6), GlyphInk(state));
    } else if (k <= 22) {
      // Thumb grips: three short lines across the thumb, in the thumb's own colour.
      const bool vertical = k >= 20;
      const Rgb under = kThumb[(k - 17) % 3];
      Fill(cell, under);
      Distance lines = [vertical](double x, double y) {
        double best = 1e9;
        for (double o : {-2.5, 0.0, 2.5}) {
          const Distance l = vertical ? Polyline({5.5, 8.5 + o, 11.5, 8.5 + o}, 1)
                                      : Polyline({8.5 + o, 5.5, 8.5 + o, 11.5}, 1);
          best = std::min(best, l(x, y));
        }
        return best;
      };
      Paint(cell, lines, Mix(under, kWhite, 0.75));
      KeyOutside(cell, lines);
    } else {
      Fill(cell, kFace);
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j)
          Paint(cell, Circle(13.5 - j * 4, 13.5 - (i - j) * 4, 1.1), kShadow);
      KeyOutside(cell, [](double x, double y) { return 24.5 - x - y; });
    }
  });
}

PixelBuffer ScrollTrack() {
  const Rgb fills[] = {kTrack, Hex(0xDCE1E7), Hex(0xF3F4F6), Hex(0xE2E6EB)};
  return Strip(4, 17, 17, [&](PixelBuffer& cell, int k) { Fill(cell, fills[k - 1]); });
}

PixelBuffer ScrollThumb(bool vertical) {
  return Strip(3, 17, 17, [vertical](PixelBuffer& cell, int k) {
    Fill(cell, kTrack);
    const Distance shape =
        vertical ? RoundRect(3.5, 1, 13.5, 16, 4) : RoundRect(1, 3.5, 16, 13.5, 4);
    Paint(cell, shape, kThumb[k - 1]);
    KeyOutside(cell, shape);
  });
}

PixelBuffer Progress() {
  return Strip(2, 24, 16, [](PixelBuffer& cell, int k) {
    Fill(cell, kFace);
    const Distance track = RoundRect(0.5, 0.5, 23.5, 15.5, 4);
    if (k == 1) {
      Paint(cell, track, Hex(0xE3E7EC));
      Paint(cell, Outline(track, 1), Hex(0xC3CAD3));
      KeyOutside(cell, track);
    } else {
      Fill(cell, Hex(0xE3E7EC));
      const Distance bar = RoundRect(1.5, 1.5, 22.5, 14.5, 3);
      Paint(cell, bar, Vertical(1.5, kAccentLight, 14.5, kAccent));
      KeyOutside(cell, bar);
    }
  });
}

PixelBuffer ProgressChunk() {
  PixelBuffer img(8, 12);
  Fill(img, Hex(0xE3E7EC));
  const Distance chunk = RoundRect(0.5, 0.5, 7.5, 11.5, 2);
  Paint(img, chunk, Vertical(0, kAccentLight, 12, kAccent));
  KeyOutside(img, chunk);
  return img;
}

PixelBuffer Tabs() {
  return Strip(5, 44, 24, [](PixelBuffer& cell, int k) {
    Fill(cell, kFace);
    const bool selected = k == 2 || k == 5;
    const Distance shape = RoundRect2(0.5, 0.5, 43.5, 30, 4, 0);
    const Rgb fills[] = {Hex(0xE5E9EE), kFace, Hex(0xEDEFF2), Hex(0xF3F6FA), kFace};
    Paint(cell, shape, fills[k - 1]);
    Paint(cell, Outline(shape, 1), k == 3 ? kBorderOff : k == 4 ? Hex(0x8FA8C6) : kBorder);
    if (selected)
      Paint(cell, Intersect(RoundRect(0, 0, 44, 3, 0), RoundRect2(1, 1, 43, 30, 3.5, 0)), kAccent);
    if (!selected) FillRect(cell, 0, 23, 44, 24, kBorder);
    KeyOutside(cell, shape);
  });
}

PixelBuffer Pane(Rgb fill) {
  PixelBuffer img(24, 24);
  Fill(img, fill);
  Paint(img, Outline(RoundRect(0, 0, 24, 24, 0), 1), kBorder);
  return img;
}

PixelBuffer Header() {
  return Strip(4, 40, 22, [](PixelBuffer& cell, int k) {
    const Plate looks[] = {{kWhite, Hex(0xF2F4F7), kBorder},
                           {Hex(0xE1E7EE), Hex(0xE1E7EE), kBorder},
                           {Hex(0xF6F7F9), Hex(0xF6F7F9), kBorderOff},
                           {kWhite, Hex(0xE8F0F9), kBorder}};
    const Plate& p = looks[k - 1];
    Paint(cell, RoundRect(-1, -1, 41, 23, 0), Vertical(0, p.top, 22, p.bottom));
    FillRect(cell, 0, 21, 40, 22, Hex(0xC9D0D8));
    FillRect(cell, 39, 4, 40, 18, Hex(0xD3D9E0));
  });
}

PixelBuffer MenuItems() {
  return Strip(5, 24, 20, [](PixelBuffer& cell, int k) {
    Fill(cell, kMenu);
    if (k == 2) {
      cell.Fill(kKey);
      FillRect(cell, 4, 15, 20, 16, Hex(0xDDE2E8));
    } else if (k >= 4) {
      const Distance sel = RoundRect(1.5, 1, 22.5, 19, 3);
      Paint(cell, sel, kAccent);
      KeyOutside(cell, sel);
    } else {
      cell.Fill(kKey);
    }
  });
}

PixelBuffer MenuBackground() {
  PixelBuffer img(32, 32);
  Fill(img, kMenu);
  Paint(img, Outline(RoundRect(0, 0, 32, 32, 0), 1), Hex(0xA9B3BF));
  return img;
}

PixelBuffer ComboButtons() {
  return Strip(4, 18, 20, [](PixelBuffer& cell, int k) {
    Fill(cell, kWhite);
    const Distance plate = RoundRect(1, 1, 17, 19, 2.5);
    if (k == 2 || k == 4) Paint(cell, plate, k == 2 ? Hex(0xCCD8E6) : Hex(0xE3EBF5));
    const Distance arrow = Chevron(9, 10, 3.5, 3, 1.5);
    Paint(cell, arrow, GlyphInk(k));
    KeyOutside(cell, (k == 2 || k == 4) ? plate : Distance([arrow](double x, double y) {
                 return arrow(x, y) - 0.6;
               }));
  });
}

PixelBuffer Chevrons(int w, int h, int cellsPerDir, std::initializer_list<int> dirs, bool onPlate) {
  const std::vector<int> d(dirs);
  return Strip(cellsPerDir * static_cast<int>(d.size()), w, h, [&](PixelBuffer& cell, int k) {
    const int state = (k - 1) % cellsPerDir + 1;
    Fill(cell, onPlate ? Mix(ButtonPlate(state).top, ButtonPlate(state).bottom, 0.5) : kWhite);
    const Distance arrow = Chevron(w / 2.0, h / 2.0, 2.6, d[(k - 1) / cellsPerDir], 1.4);
    Paint(cell, arrow, GlyphInk(state));
    KeyOutside(cell, [arrow](double x, double y) { return arrow(x, y) - 0.6; });
  });
}

// Up-down halves: 1-4 the first arrow (up or left), 5-8 the second, each normal, pressed,
// disabled, hot; the halves are rounded on their outer side.
PixelBuffer UpDown(bool vertical) {
  const int w = vertical ? 17 : 11, h = vertical ? 11 : 17;
  return Strip(8, w, h, [=](PixelBuffer& cell, int k) {
    Fill(cell, kFace);
    const bool first = k <= 4;
    const double ext = 4;
    Distance shape = vertical ? (first ? RoundRect(0.5, 0.5, w - 0.5, h + ext, 3)
                                       : RoundRect(0.5, -ext, w - 0.5, h - 0.5, 3))
                              : (first ? RoundRect(0.5, 0.5, w + ext, h - 0.5, 3)
                                       : RoundRect(-ext, 0.5, w - 0.5, h - 0.5, 3));
    DrawPlate(cell, shape, ButtonPlate((k - 1) % 4 + 1));
    KeyOutside(cell, shape);
  });
}

PixelBuffer TrackThumbs(bool pointed) {
  return Strip(5, 11, 20, [pointed](PixelBuffer& cell, int k) {
    Fill(cell, kFace);
    const Distance box = RoundRect(0.5, 0.5, 10.5, 19.5, 3);
    const Distance shape = pointed ? Distance([box](double x, double y) {
      return std::max(box(x, y), (std::abs(x - 5.5) + y - 19.8) / std::sqrt(2.0));
    })
                                   : box;
    Plate p = ButtonPlate(k);
    if (k == 1) p.border = Hex(0x7D8A99);
    DrawPlate(cell, shape, p);
    KeyOutside(cell, shape);
  });
}

PixelBuffer StatusBar() {
  return Strip(3, 24, 22, [](PixelBuffer& cell, int k) {
    Fill(cell, kFace);
    FillRect(cell, 0, 0, 24, 1, Hex(0xD3D9E0));
    if (k == 2) FillRect(cell, 23, 5, 24, 17, Hex(0xC9D0D8));
    if (k == 3)
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j)
          Paint(cell, Circle(20.5 - j * 4, 18.5 - (i - j) * 4, 1.1), kShadow);
  });
}

}  // namespace

void AddControlImages(ImageSet& out) {
  out.emplace_back("buttons.bmp", PushButtons());
  out.emplace_back("checkbox.bmp", CheckBoxes());
  out.emplace_back("radio.bmp", RadioButtons());
  out.emplace_back("scrollbar.bmp", ScrollArrows());
  out.emplace_back("scrolltrack.bmp", ScrollTrack());
  out.emplace_back("hthumb.bmp", ScrollThumb(false));
  out.emplace_back("vthumb.bmp", ScrollThumb(true));
  out.emplace_back("progress.bmp", Progress());
  out.emplace_back("progresschunk.bmp", ProgressChunk());
  out.emplace_back("tabs.bmp", Tabs());
  out.emplace_back("tabborder.bmp", Pane(kFace));
  out.emplace_back("tabpane.bmp", Pane(kFace));
  out.emplace_back("header.bmp", Header());
  out.emplace_back("menuitem.bmp", MenuItems());
  out.emplace_back("menubg.bmp", MenuBackground());
  out.emplace_back("combobutton.bmp", ComboButtons());
  out.emplace_back("extra.bmp", Chevrons(12, 12, 5, {3}, false));
  out.emplace_back("statusbar.bmp", StatusBar());
  out.emplace_back("updownv.bmp", UpDown(true));
  out.emplace_back("updownv_glyphs.bmp", Chevrons(17, 11, 4, {2, 3}, true));
  out.emplace_back("updownh.bmp", UpDown(false));
  out.emplace_back("updownh_glyphs.bmp", Chevrons(11, 17, 4, {0, 1}, true));
  out.emplace_back("thumbhorz.bmp", TrackThumbs(false));
  out.emplace_back("thumbdown.bmp", TrackThumbs(true));
}

}  // namespace lbb::skingen
