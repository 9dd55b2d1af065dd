#include "tools/skintool/PreviewSheet.h"

#include <algorithm>

#include "skin/data/imgutil.h"

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

lbb::skin::TRect Skin(Rect r) {
  return {r.l, r.t, r.r, r.b};
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
  lbb::skin::StretchCopy(dst, Skin(to), src, Skin(from), keyed);
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
  PixelBuffer part(cell.W(), cell.H());
  lbb::skin::StretchCopy(part, {0, 0, cell.W(), cell.H()}, src, Skin(cell));
  lbb::skin::DrawSkinImage(dst, Skin(to), part, false, false, keyed, 1, 1, Skin(m));
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
