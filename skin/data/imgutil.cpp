#include "skin/data/imgutil.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace lbb::skin {

namespace {

constexpr Pixel kKeyPixel = 0xFF00FF;

bool IsKey(Pixel p) {
  return (p & 0xFFFFFF) == kKeyPixel;
}

TRect Intersect(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

TRect Bounds(const PixelBuffer& img) {
  return {0, 0, img.Width(), img.Height()};
}

bool Positive(const TRect& r) {
  return r.Width() > 0 && r.Height() > 0;
}

// Copies the image onto dst at (x, y), opaque or keyed.
void Put(PixelBuffer& dst, int x, int y, const PixelBuffer& img, bool keyed) {
  const TRect c = Intersect({x, y, x + img.Width(), y + img.Height()}, Bounds(dst));
  for (int ty = c.Top; ty < c.Bottom; ++ty) {
    const Pixel* s = img.Row(ty - y) + (c.Left - x);
    Pixel* d = dst.Row(ty) + c.Left;
    const int n = c.Width();
    if (!keyed) {
      if (n > 0) std::memcpy(d, s, static_cast<size_t>(n) * sizeof(Pixel));
      continue;
    }
    for (int i = 0; i < n; ++i)
      if (!IsKey(s[i])) d[i] = s[i];
  }
}

// Repeats src's rectangle `from` from to's top-left corner, writing only inside `clip`.
void TileInto(PixelBuffer& dst, const TRect& to, const PixelBuffer& src, const TRect& from,
              const TRect& clip) {
  const int w = from.Width(), h = from.Height();
  if (w <= 0 || h <= 0) return;
  const TRect c = Intersect(clip, Bounds(dst));
  const TRect inSrc = Intersect(from, Bounds(src));
  for (int y = c.Top; y < c.Bottom; ++y) {
    const int sy = from.Top + (y - to.Top) % h;
    if (y < to.Top || sy < inSrc.Top || sy >= inSrc.Bottom) continue;
    Pixel* d = dst.Row(y);
    const Pixel* s = src.Row(sy);
    int x = std::max(c.Left, to.Left);
    while (x < c.Right) {
      const int sx = from.Left + (x - to.Left) % w;
      const int run = std::min(c.Right - x, from.Right - sx);
      for (int i = 0; i < run; ++i) {
        const int px = sx + i;
        if (px >= inSrc.Left && px < inSrc.Right) d[x + i] = s[px];
      }
      x += run;
    }
  }
}

// Margins as the primitives use them: a negative margin counts as 0, and none is taken as
// wider than any image can be.
TRect SaneMargins(const TRect& m) {
  auto one = [](int v) { return std::clamp(v, 0, 1 << 16); };
  return {one(m.Left), one(m.Top), one(m.Right), one(m.Bottom)};
}

}  // namespace

// The source index of target pixel j of a stretch (see StretchIndexes).
static int StretchIndex(int64_t j, int64_t s, int64_t d, bool vertical) {
  if (d >= s) {
    if (d == 1 && s > 1) --s;
    return static_cast<int>(((2 * j + 1) * s - 1) / (2 * d));
  }
  if (vertical) return static_cast<int>((2 * s * j + d) / (2 * d));
  if (d == 1) --s;
  return static_cast<int>((2 * s * (j + 1) - d) / (2 * d));
}

std::vector<int> StretchIndexes(int srcLen, int dstLen, bool vertical) {
  std::vector<int> idx;
  if (srcLen <= 0 || dstLen <= 0) return idx;
  idx.resize(static_cast<size_t>(dstLen));
  for (int j = 0; j < dstLen; ++j)
    idx[static_cast<size_t>(j)] = StretchIndex(j, srcLen, dstLen, vertical);
  return idx;
}

void StretchCopy(PixelBuffer& dst, const TRect& to, const PixelBuffer& src, const TRect& from,
                 bool keyed) {
  if (!Positive(to) || !Positive(from)) return;
  const TRect c = Intersect(to, Bounds(dst));
  if (!Positive(c)) return;
  // Source columns of the visible target columns only: a huge target costs nothing.
  std::vector<int> xi(static_cast<size_t>(c.Width()));
  for (int x = c.Left; x < c.Right; ++x)
    xi[static_cast<size_t>(x - c.Left)] =
        from.Left + StretchIndex(x - to.Left, from.Width(), to.Width(), false);
  const bool inside = xi.front() >= 0 && xi.back() < src.Width();
  for (int y = c.Top; y < c.Bottom; ++y) {
    const int sy = from.Top + StretchIndex(y - to.Top, from.Height(), to.Height(), true);
    if (sy < 0 || sy >= src.Height()) continue;
    const Pixel* s = src.Row(sy);
    Pixel* d = dst.Row(y) + c.Left;
    const int n = c.Width();
    if (inside && !keyed) {
      for (int i = 0; i < n; ++i)
        d[i] = s[xi[static_cast<size_t>(i)]];
      continue;
    }
    for (int i = 0; i < n; ++i) {
      const int sx = xi[static_cast<size_t>(i)];
      if (sx < 0 || sx >= src.Width()) continue;
      const Pixel p = s[sx];
      if (!keyed || !IsKey(p)) d[i] = p;
    }
  }
}

TRect SkinFrameRect(const PixelBuffer& img, bool columns, int count, int index) {
  if (count < 1) count = 1;
  if (columns) {
    const int h = img.Height() / count;
    return {0, (index - 1) * h, img.Width(), index * h};
  }
  const int w = img.Width() / count;
  return {(index - 1) * w, 0, index * w, img.Height()};
}

PixelBuffer RenderSkinImage(const TRect& target, const PixelBuffer& img, const TRect& margins,
                            bool columns, bool tile, int count, int index) {
  const int W = target.Width(), H = target.Height();
  PixelBuffer out(W, H);
  if (out.Empty()) return out;
  const TRect cell = SkinFrameRect(img, columns, count, index);
  const TRect sane = SaneMargins(margins);
  int L = sane.Left, T = sane.Top, R = sane.Right, B = sane.Bottom;
  if (W < int64_t{L} + R) L = R = 0;
  if (H < int64_t{T} + B) T = B = 0;
  const int cl = cell.Left, ct = cell.Top, cr = cell.Right, cb = cell.Bottom;
  auto part = [&](TRect to, TRect from) { StretchCopy(out, to, img, from); };
  part({0, 0, L, T}, {cl, ct, cl + L, ct + T});
  part({0, H - B, L, H}, {cl, cb - B, cl + L, cb});
  part({W - R, 0, W, T}, {cr - R, ct, cr, ct + T});
  part({0, T, L, H - B}, {cl, ct + T, cl + L, cb - B});
  part({L, 0, W - R, T}, {cl + L, ct, cr - R, ct + T});
  const TRect centre{L, T, W - R, H - B};
  const TRect centreSrc{cl + L, ct + T, cr - R, cb - B};
  if (tile)
    TileInto(out, centre, img, centreSrc, centre);
  else
    part(centre, centreSrc);
  part({W - R, H - B, W, H}, {cr - R, cb - B, cr, cb});
  part({W - R, T, W, H - B}, {cr - R, ct + T, cr, cb - B});
  part({L, H - B, W - R, H}, {cl + L, cb - B, cr - R, cb});
  return out;
}

void DrawSkinImage(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, bool columns,
                   bool tile, bool trans, int count, int index, const TRect& margins) {
  if (target.Inverted()) return;
  const PixelBuffer part = RenderSkinImage(target, img, margins, columns, tile, count, index);
  Put(dst, target.Left, target.Top, part, trans);
}

void DrawSkinHorz(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, bool columns,
                  bool trans, int count, int index, const TRect& margins) {
  if (target.Inverted()) return;
  const int W = target.Width(), H = target.Height();
  PixelBuffer out(W, H);
  if (out.Empty()) return;
  const TRect cell = SkinFrameRect(img, columns, count, index);
  const int L = SaneMargins(margins).Left, R = SaneMargins(margins).Right;
  const int m = cell.Width() - L - R;
  StretchCopy(out, {0, 0, L, H}, img, {cell.Left, cell.Top, cell.Left + L, cell.Bottom});
  // A cell without a middle part leaves the middle as it is (the repetition would not move).
  if (m > 0) {
    // Copies wholly left of the image (a negative margin) are skipped, not walked through.
    int64_t x = L;
    if (x + m <= 0) x += (-x / m) * m;
    for (; x < int64_t{W} - R && x < W; x += m)
      StretchCopy(out, {static_cast<int>(x), 0, static_cast<int>(x + m), H}, img,
                  {cell.Left + L, cell.Top, cell.Right - R, cell.Bottom});
  }
  StretchCopy(out, {W - R, 0, W, H}, img, {cell.Right - R, cell.Top, cell.Right, cell.Bottom});
  Put(dst, target.Left, target.Top, out, trans);
}

void DrawSkinHorzStretch(PixelBuffer& dst, const TRect& target, const PixelBuffer& img,
                         bool columns, int count, int index, const TRect& margins) {
  if (target.Inverted()) return;
  const TRect cell = SkinFrameRect(img, columns, count, index);
  const int L = SaneMargins(margins).Left, R = SaneMargins(margins).Right;
  const int x0 = target.Left, y0 = target.Top, x1 = target.Right, y1 = target.Bottom;
  if (target.Width() < cell.Width()) {
    StretchCopy(dst, target, img, cell);
    return;
  }
  StretchCopy(dst, {x0, y0, x0 + L, y1}, img, {cell.Left, cell.Top, cell.Left + L, cell.Bottom});
  StretchCopy(dst, {x0 + L, y0, x1 - R, y1}, img,
              {cell.Left + L, cell.Top, cell.Right - R, cell.Bottom});
  StretchCopy(dst, {x1 - R, y0, x1, y1}, img, {cell.Right - R, cell.Top, cell.Right, cell.Bottom});
}

void DrawSkinFrame(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, bool trans,
                   int count, int index) {
  if (target.Inverted()) return;
  StretchCopy(dst, target, img, SkinFrameRect(img, false, count, index), trans);
}

void DrawSkinGlyph(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, bool trans,
                   int count, int index) {
  if (target.Inverted()) return;
  const TRect cell = SkinFrameRect(img, false, count, index);
  const int x = target.Left + (target.Width() - cell.Width()) / 2;
  const int y = target.Top + (target.Height() - cell.Height()) / 2;
  StretchCopy(dst, {x, y, x + cell.Width(), y + cell.Height()}, img, cell, trans);
}

void TransparentBlit(PixelBuffer& dst, const TRect& target, const PixelBuffer& img, TColor key) {
  if (target.Inverted()) return;
  const Pixel k = PixelOf(static_cast<uint32_t>(key) & 0xFFFFFF);
  const TRect c =
      Intersect(Intersect(target, Bounds(dst)),
                {target.Left, target.Top, target.Left + img.Width(), target.Top + img.Height()});
  for (int y = c.Top; y < c.Bottom; ++y) {
    const Pixel* s = img.Row(y - target.Top);
    Pixel* d = dst.Row(y);
    for (int x = c.Left; x < c.Right; ++x) {
      const Pixel p = s[x - target.Left];
      if ((p & 0xFFFFFF) != k) d[x] = p;
    }
  }
}

void TileBitmap(PixelBuffer& dst, const TRect& target, const PixelBuffer& img,
                const TRect& source) {
  const int w = source.Width(), h = source.Height();
  if (w < 0 || h < 0 || int64_t{w} * h == 0) return;
  if (target.Right <= target.Left || target.Bottom <= target.Top) return;
  const int across = (target.Width() + w - 1) / w, down = (target.Height() + h - 1) / h;
  const TRect covered{target.Left, target.Top, target.Left + across * w, target.Top + down * h};
  TileInto(dst, target, img, source, covered);
}

void ReplaceColour(PixelBuffer& img, TColor colour) {
  const Pixel p = PixelOf(ColorToRGB(colour));
  for (int y = 0; y < img.Height(); ++y) {
    Pixel* row = img.Row(y);
    for (int x = 0; x < img.Width(); ++x)
      if (IsKey(row[x])) row[x] = p;
  }
}

void MirrorImage(PixelBuffer& img) {
  for (int y = 0; y < img.Height(); ++y)
    std::reverse(img.Row(y), img.Row(y) + img.Width());
}

void FlipImage(PixelBuffer& img) {
  for (int y = 0, z = img.Height() - 1; y < z; ++y, --z)
    std::swap_ranges(img.Row(y), img.Row(y) + img.Width(), img.Row(z));
}

void RotateLeft(PixelBuffer& img) {
  const int W = img.Width(), H = img.Height();
  PixelBuffer out(H, W);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      out.At(y, W - 1 - x) = img.At(x, y) & 0xFFFFFF;
  img = std::move(out);
}

void RotateRight(PixelBuffer& img) {
  const int W = img.Width(), H = img.Height();
  PixelBuffer out(H, W);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      out.At(H - 1 - y, x) = img.At(x, y) & 0xFFFFFF;
  img = std::move(out);
}

}  // namespace lbb::skin
