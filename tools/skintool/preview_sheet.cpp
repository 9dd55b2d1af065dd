#include "preview_sheet.h"

#include <algorithm>

namespace skintool {

namespace {

// Glyphs of the sheet font: 5 rows of 3 dots, '#' set.
struct Glyph {
  char c;
  const char* dots;
};
constexpr Glyph kFont[] = {
    {'A', ".#.#.#####.##.#"}, {'B', "##.#.###.#.###."}, {'C', ".###..#..#...##"},
    {'D', "##.#.##.##.###."}, {'E', "####..##.#..###"}, {'F', "####..##.#..#.."},
    {'G', ".###..#.##.#.##"}, {'H', "#.##.#####.##.#"}, {'I', "###.#..#..#.###"},
    {'J', "..#..#..##.#.#."}, {'K', "#.##.###.#.##.#"}, {'L', "#..#..#..#..###"},
    {'M', "#.########.##.#"}, {'N', "##.#.##.##.##.#"}, {'O', ".#.#.##.##.#.#."},
    {'P', "##.#.###.#..#.."}, {'Q', ".#.#.##.###..##"}, {'R', "##.#.###.#.##.#"},
    {'S', ".###...#...###."}, {'T', "###.#..#..#..#."}, {'U', "#.##.##.##.####"},
    {'V', "#.##.##.##.#.#."}, {'W', "#.##.########.#"}, {'X', "#.##.#.#.#.##.#"},
    {'Y', "#.##.#.#..#..#."}, {'Z', "###..#.#.#..###"}, {'0', "####.##.##.####"},
    {'1', ".#.##..#..#.###"}, {'2', "##...#.#.#..###"}, {'3', "##...#.#...###."},
    {'4', "#.##.####..#..#"}, {'5', "####..##...###."}, {'6', ".###..####.####"},
    {'7', "###..#.#..#..#."}, {'8', "####.#####.####"}, {'9', "####.####..###."},
    {'.', ".............#."}, {'-', "......###......"}, {'_', "............###"},
    {'(', "..#.#..#..#...#"}, {')', "#...#..#..#.#.."}, {':', "....#.....#...."},
    {'/', "..#..#.#.#..#.."}, {',', "..........#.#.."}, {'=', "...###...###..."},
    {'+', "....#.###.#...."}, {'#', "#.#####.#####.#"},
};

const char* GlyphOf(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (const Glyph& g : kFont)
    if (g.c == c) return g.dots;
  return nullptr;
}

Rect Clip(Rect rc, const PixelBuffer& dst) {
  return {std::max(rc.l, 0), std::max(rc.t, 0), std::min(rc.r, dst.Width()),
          std::min(rc.b, dst.Height())};
}

}  // namespace

void FillRect(PixelBuffer& dst, Rect rc, Pixel p) {
  const Rect c = Clip(rc, dst);
  for (int y = c.t; y < c.b; ++y)
    std::fill(dst.Row(y) + c.l, dst.Row(y) + std::max(c.l, c.r), p);
}

void FillChecker(PixelBuffer& dst, Rect rc) {
  const Rect c = Clip(rc, dst);
  for (int y = c.t; y < c.b; ++y)
    for (int x = c.l; x < c.r; ++x)
      dst.At(x, y) = (((x - rc.l) / 4 + (y - rc.t) / 4) & 1) ? 0xD8D8D8 : 0xF4F4F4;
}

void FrameRect(PixelBuffer& dst, Rect rc, Pixel p) {
  FillRect(dst, {rc.l, rc.t, rc.r, rc.t + 1}, p);
  FillRect(dst, {rc.l, rc.b - 1, rc.r, rc.b}, p);
  FillRect(dst, {rc.l, rc.t, rc.l + 1, rc.b}, p);
  FillRect(dst, {rc.r - 1, rc.t, rc.r, rc.b}, p);
}

void CopyScaled(PixelBuffer& dst, Rect to, const PixelBuffer& src, Rect from, bool keyed) {
  if (to.W() <= 0 || to.H() <= 0 || from.W() <= 0 || from.H() <= 0) return;
  for (int y = std::max(to.t, 0); y < std::min(to.b, dst.Height()); ++y) {
    const int sy = from.t + static_cast<int>(int64_t{y - to.t} * from.H() / to.H());
    for (int x = std::max(to.l, 0); x < std::min(to.r, dst.Width()); ++x) {
      const int sx = from.l + static_cast<int>(int64_t{x - to.l} * from.W() / to.W());
      if (!src.Contains(sx, sy)) continue;
      const Pixel p = src.At(sx, sy) & 0xFFFFFF;
      if (!keyed || p != kKeyPixel) dst.At(x, y) = p;
    }
  }
}

Rect CellRect(const PixelBuffer& img, int cells, int index, bool columns) {
  cells = std::max(cells, 1);
  if (columns) {
    const int h = img.Height() / cells;
    return {0, (index - 1) * h, img.Width(), index * h};
  }
  const int w = img.Width() / cells;
  return {(index - 1) * w, 0, index * w, img.Height()};
}

void DrawNine(PixelBuffer& dst, Rect to, const PixelBuffer& src, Rect cell, Rect m, bool keyed) {
  if (to.W() < m.l + m.r) m.l = m.r = 0;
  if (to.H() < m.t + m.b) m.t = m.b = 0;
  const int xs[4] = {cell.l, cell.l + m.l, cell.r - m.r, cell.r};
  const int ys[4] = {cell.t, cell.t + m.t, cell.b - m.b, cell.b};
  const int xd[4] = {to.l, to.l + m.l, to.r - m.r, to.r};
  const int yd[4] = {to.t, to.t + m.t, to.b - m.b, to.b};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i)
      CopyScaled(dst, {xd[i], yd[j], xd[i + 1], yd[j + 1]}, src,
                 {xs[i], ys[j], xs[i + 1], ys[j + 1]}, keyed);
}

void DrawLabel(PixelBuffer& dst, int x, int y, std::string_view text, Pixel p, int scale) {
  for (char c : text) {
    if (const char* dots = GlyphOf(c)) {
      for (int i = 0; dots[i] != 0 && i < 15; ++i)
        if (dots[i] == '#')
          FillRect(dst,
                   {x + i % 3 * scale, y + i / 3 * scale, x + (i % 3 + 1) * scale,
                    y + (i / 3 + 1) * scale},
                   p);
    }
    x += 4 * scale;
  }
}

int LabelWidth(std::string_view text, int scale) {
  return static_cast<int>(text.size()) * 4 * scale - scale;
}

}  // namespace skintool
