#include "bench/skinframe/FrameProfile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/win/WideText.h"
#include "bench/skinframe/BenchTiming.h"
#include "forms/Application.h"
#include "forms/WinText.h"
#include "skin/data/CaptionGeometry.h"
#include "skin/data/imgutil.h"
#include "skin/win/DibSurface.h"
#include "skin/win/WinRegion.h"

namespace lbb::bench {

namespace {

using namespace lbb::skin;

// Parts timed in sequence: each round runs every part once, in order, as the code measured
// runs them (each part finds the caches as the part before left them); `runs` rounds. Printed
// at the end: each part's figures and, for separate steps, the sum of their medians.
class Breakdown {
 public:
  // `summed`: the parts are separate steps, and their medians' sum is printed at the end.
  Breakdown(const char* what, int runs, bool summed = true)
      : what_(what), runs_(runs), summed_(summed) {}
  ~Breakdown() { Finish(); }
  Breakdown(const Breakdown&) = delete;
  Breakdown& operator=(const Breakdown&) = delete;

  void Part(std::string what, std::function<void()> step) {
    parts_.push_back(Entry{std::move(what), std::move(step), {}});
  }
  // A part that the caller timed.
  void Add(std::string what, std::vector<double> ms) {
    parts_.push_back(Entry{std::move(what), nullptr, std::move(ms)});
  }

 private:
  struct Entry {
    std::string what;
    std::function<void()> step;
    std::vector<double> ms;
  };

  void Finish() {
    for (int i = 0; i < runs_; ++i)
      for (Entry& e : parts_)
        if (e.step) {
          const double t0 = NowMs();
          e.step();
          e.ms.push_back(NowMs() - t0);
        }
    std::printf("  breakdown of %s (%d rounds of the parts in sequence):\n", what_, runs_);
    double sum = 0;
    for (const Entry& e : parts_) {
      ReportPart(e.what.c_str(), e.ms);
      sum += Summarise(e.ms).median;
    }
    if (summed_) std::printf("    %-46s median %8.4f ms\n", "sum of the parts", sum);
    std::fflush(stdout);
  }

  const char* what_;
  int runs_;
  bool summed_;
  std::vector<Entry> parts_;
};

struct WindowSize {
  int W = 0, H = 0;
};

WindowSize SizeOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return WindowSize{r.right - r.left, r.bottom - r.top};
}

bool IsIconButton(const TWinSysButton& b) {
  return b.data->Action == 3 || b.data->Action == 11;
}

// What the caption's buttons cost: each visible picture button drawn in its normal look.
void DrawButtons(TWinSkinForm& sf, PixelBuffer& px) {
  for (const auto& b : sf.SysBtn) {
    const TDataSkinSysButton& d = *b->data;
    if (!b->visible || d.Map.Empty() || d.Visibility == 100 || IsIconButton(*b)) continue;
    const RECT& r = b->bounds;
    DrawSkinFrame(px, TRect{r.left, r.top, r.right, r.bottom}, d.Map, true, std::max(1, d.frame),
                  1);
  }
}

// The application's icon drawn where the caption shows it, when a visible button shows it.
void DrawIcon(TWinSkinForm& sf, HDC dc) {
  bool shown = false;
  for (const auto& b : sf.SysBtn)
    shown = shown || (b->visible && IsIconButton(*b));
  HWND app = forms::Application ? forms::Application->Handle() : nullptr;
  if (!shown || !app) return;
  auto icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
  const int y =
      sf.TitleRect().top + (sf.TitleRect().bottom - sf.TitleRect().top) / 2 - sf.IconSize() / 2;
  if (icon) DrawIconEx(dc, 8, y, icon, sf.IconSize(), sf.IconSize(), 0, nullptr, DI_NORMAL);
}

// The title measured and drawn in the caption font, as the caption painter does it.
void DrawTitle(TWinSkinForm& sf, HDC dc, const std::wstring& text) {
  HGDIOBJ old = SelectObject(dc, sf.CaptionFontHandle());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(sf.fsd->Colors[kShemeTitleTextActive]));
  RECT measured = sf.CaptionRect();
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_NOPREFIX | DT_CALCRECT | DT_NOCLIP);
  RECT t = sf.TitleRect();
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
            DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetBkMode(dc, oldMode);
  if (old) SelectObject(dc, old);
}

void DrawTitleBack(TWinSkinForm& sf, PixelBuffer& px) {
  const TDataSkinTitle* title = sf.fsd->Title.get();
  if (!title || title->Map.Empty()) return;
  const TRect back{sf.CaptionRect().left, 0, sf.CaptionRect().right, sf.bw.top};
  DrawSkinHorz(px, back, title->Map, true, true, 2, 1,
               TRect{title->backleft, 0, title->backright, 0});
}

}  // namespace

void ProfileFramePaint(TWinSkinForm& sf, int runs) {
  const WindowSize s = SizeOf(sf.Hwnd);
  const RECT bw = sf.bw;
  TDibSurface target(s.W, s.H), caption(s.W, bw.top);
  HDC dc = target.Dc();
  std::wstring title;
  {
    Breakdown b("one frame paint", runs);
    b.Part("left piece (DrawBorder)", [&] {
      sf.DrawBorder(kBorderLeft, RECT{0, 0, bw.left, s.H}, dc);
    });
    b.Part("right piece (DrawBorder)", [&] {
      sf.DrawBorder(kBorderRight, RECT{s.W - bw.right, 0, s.W, s.H}, dc);
    });
    b.Part("bottom piece (DrawBorder)", [&] {
      sf.DrawBorder(kBorderBottom, RECT{bw.left, s.H - bw.bottom, s.W - bw.right, s.H}, dc);
    });
    b.Part("caption: strip copied in (BitBlt)",
           [&] { BitBlt(caption.Dc(), 0, 0, s.W, bw.top, dc, 0, 0, SRCCOPY); });
    b.Part("caption: Top piece (DrawBorderPixels)", [&] {
      sf.DrawBorderPixels(kBorderTop, TRect{bw.left, 0, s.W - bw.right, bw.top}, caption.Pixels());
    });
    b.Part("caption: title read (WM_GETTEXT)", [&] { title = sf.TitleText(); });
    b.Part("caption: title background (DrawSkinHorz)",
           [&] { DrawTitleBack(sf, caption.Pixels()); });
    b.Part("caption: title measured, drawn (DrawTextW x2)",
           [&] { DrawTitle(sf, caption.Dc(), title); });
    b.Part("caption: button layout (LayoutSysButtons)", [&] { sf.LayoutSysButtons(); });
    b.Part("caption: kept for button redraws (copy)", [&] {
      const PixelBuffer& px = caption.Pixels();
      PixelBuffer back(s.W, bw.top);
      for (int y = 0; y < bw.top; ++y)
        std::memcpy(back.Row(y), px.Row(y), sizeof(Pixel) * static_cast<size_t>(s.W));
    });
    b.Part("caption: buttons (DrawSkinFrame)", [&] { DrawButtons(sf, caption.Pixels()); });
    b.Part("caption: window icon (WM_GETICON, DrawIconEx)", [&] { DrawIcon(sf, caption.Dc()); });
    b.Part("caption: presented (BitBlt)", [&] {
      caption.Present(dc, 0, 0, RECT{0, 0, s.W, bw.top});
    });
    b.Part("frame checks (IsWindow, GetWindowRect, IsIconic)", [&] {
      RECT r{};
      (void)IsWindow(sf.Hwnd);
      GetWindowRect(sf.Hwnd, &r);
      (void)IsIconic(sf.Hwnd);
    });
  }
  // Not parts: the whole paint without the message, and a message that does nothing.
  ReportPart("(the whole paint called directly: PaintFrame)",
             TimeRuns(runs, [&] { sf.PaintFrame(dc); }));
  ReportPart("(a message doing nothing: WM_NULL)",
             TimeRuns(runs, [&] { SendMessageW(sf.Hwnd, WM_NULL, 0, 0); }));
}

namespace {

// One border piece's place in the window, as the region builder lays the pieces out.
struct PiecePlace {
  int side;
  const char* name;
  RECT at;
};

std::vector<PiecePlace> PiecePlaces(const TWinSkinForm& sf, WindowSize s) {
  const RECT& bw = sf.bw;
  return {{kBorderLeft, "left", RECT{0, 0, bw.left, s.H}},
          {kBorderRight, "right", RECT{s.W - bw.right, 0, s.W, s.H}},
          {kBorderBottom, "bottom", RECT{bw.left, s.H - bw.bottom, s.W - bw.right, s.H}},
          {kBorderTop, "top", RECT{bw.left, 0, s.W - bw.right, bw.top}}};
}

// The four pieces' regions and the client rectangle united into one region.
lbb::RegionHandle UnitePieces(const std::vector<lbb::RegionHandle>& pieces, const RECT& client) {
  lbb::RegionHandle all(CreateRectRgn(client.left, client.top, client.right, client.bottom));
  for (const auto& p : pieces)
    CombineRgn(all.get(), all.get(), p.get(), RGN_OR);
  return all;
}

}  // namespace

void ProfileCropwindow(TWinSkinForm& sf, int runs) {
  const WindowSize s = SizeOf(sf.Hwnd);
  const std::vector<PiecePlace> places = PiecePlaces(sf, s);
  const auto key = static_cast<TColor>(kSkinKeyColour);
  std::vector<PixelBuffer> drawn;
  std::vector<lbb::RegionHandle> regions;
  for (const PiecePlace& p : places) {
    drawn.emplace_back(p.at.right - p.at.left, p.at.bottom - p.at.top);
    sf.DrawBorderPixels(p.side, TRect{0, 0, drawn.back().Width(), drawn.back().Height()},
                        drawn.back());
    regions.push_back(RegionFromBitmap(drawn.back(), p.at.left, p.at.top, key, 1));
  }
  const RECT client{sf.bw.left, sf.bw.top, s.W - sf.bw.right, s.H - sf.bw.bottom};
  // The window owns the region it is given: each run gives it a new one.
  auto setRegion = [&](BOOL redraw) {
    lbb::RegionHandle copy = UnitePieces(regions, client);
    if (SetWindowRgn(sf.Hwnd, copy.get(), redraw)) copy.release();
  };
  {
    Breakdown b("one region rebuild", runs);
    for (size_t k = 0; k < places.size(); ++k) {
      const PiecePlace& p = places[k];
      const int w = drawn[k].Width(), h = drawn[k].Height();
      b.Part(std::string(p.name) + " piece " + std::to_string(w) + " x " + std::to_string(h) +
                 " drawn (DrawBorderPixels)",
             [&sf, &p, w, h] {
               PixelBuffer scratch(w, h);
               sf.DrawBorderPixels(p.side, TRect{0, 0, w, h}, scratch);
             });
      b.Part(std::string(p.name) + " piece's region (RegionFromBitmap)",
             [&, k] { (void)RegionFromBitmap(drawn[k], p.at.left, p.at.top, key, 1); });
    }
    b.Part("pieces and client united (CombineRgn)", [&] { (void)UnitePieces(regions, client); });
    b.Part("united again, set as the window's (SetWindowRgn)", [&] { setRegion(TRUE); });
  }
  ReportPart("(not a part: the same set without redrawing)",
             TimeRuns(runs, [&] { setRegion(FALSE); }));
  // The skinner's own region again, so that its record of the window's region is true.
  sf.ForgetCropSize();
  sf.Cropwindow();
}

namespace {

// A region of one batch of rectangles, as the region builder makes it.
HRGN BatchRegion(const std::vector<TRect>& rects, const TRect& bounds) {
  static_assert(sizeof(RGNDATAHEADER) % sizeof(RECT) == 0);
  constexpr size_t kHeader = sizeof(RGNDATAHEADER) / sizeof(RECT);
  std::vector<RECT> data(kHeader + rects.size());
  const RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES,
                             static_cast<DWORD>(rects.size()),
                             static_cast<DWORD>(rects.size() * sizeof(RECT)),
                             RECT{bounds.Left, bounds.Top, bounds.Right, bounds.Bottom}};
  std::memcpy(data.data(), &header, sizeof(header));
  for (size_t i = 0; i < rects.size(); ++i)
    data[kHeader + i] = RECT{rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom};
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size() * sizeof(RECT)),
                         reinterpret_cast<const RGNDATA*>(data.data()));
}

}  // namespace

namespace {

// The first batch of `bmp`'s runs, as the region builder hands it to the system.
std::vector<TRect> FirstBatch(const PixelBuffer& bmp) {
  std::vector<TRect> first;
  TRegionRuns collect([&](const std::vector<TRect>& rects, const TRect&) {
    if (first.empty()) first = rects;
  });
  KeyedRuns(bmp, static_cast<TColor>(kSkinKeyColour), 1, 0, 0, collect);
  collect.Finish();
  return first;
}

bool SameSpan(const TRect& a, const TRect& b) {
  return a.Left == b.Left && a.Right == b.Right;
}

// Runs taken row by row, a row that repeats the row right above it merged into that row: its
// rectangles grow down instead of being added (a region keeps such rows as one band anyway).
class RowMerger {
 public:
  void Add(const TRect& r) {
    if (!row_.empty() && r.Top != row_.front().Top) EndRow();
    row_.push_back(r);
  }
  std::vector<TRect>& Finish() {
    EndRow();
    return out_;
  }

 private:
  void EndRow() {
    const bool repeats = !row_.empty() && out_.size() - last_ == row_.size() &&
                         out_[last_].Bottom == row_.front().Top &&
                         std::equal(row_.begin(), row_.end(),
                                    out_.begin() + static_cast<ptrdiff_t>(last_), SameSpan);
    if (repeats) {
      for (size_t k = 0; k < row_.size(); ++k)
        out_[last_ + k].Bottom = row_[k].Bottom;
    } else {
      last_ = out_.size();
      out_.insert(out_.end(), row_.begin(), row_.end());
    }
    row_.clear();
  }

  std::vector<TRect> row_, out_;
  size_t last_ = 0;  // where the last kept row's rectangles start in out_
};

std::vector<TRect> MergedRuns(const PixelBuffer& bmp) {
  RowMerger merger;
  TRegionRuns runs([&](const std::vector<TRect>& rects, const TRect&) {
    for (const TRect& r : rects)
      merger.Add(r);
  });
  KeyedRuns(bmp, static_cast<TColor>(kSkinKeyColour), 1, 0, 0, runs);
  runs.Finish();
  return std::move(merger.Finish());
}

// A region of `rects` made as the region builder makes it: batches of 2000 united.
lbb::RegionHandle BatchedRegion(const std::vector<TRect>& rects) {
  lbb::RegionHandle result(CreateRectRgn(0, 0, 0, 0));
  for (size_t at = 0; at < rects.size(); at += TRegionRuns::kBatch) {
    const std::vector<TRect> batch(
        rects.begin() + static_cast<ptrdiff_t>(at),
        rects.begin() + static_cast<ptrdiff_t>(std::min(rects.size(), at + TRegionRuns::kBatch)));
    lbb::RegionHandle part(BatchRegion(batch, TRect{0, 0, 1 << 16, 1 << 16}));
    CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
  }
  return result;
}

// What one batch costs the system as it grows: the first n runs in one region.
void ReportBatchSizes(const std::vector<TRect>& all, int runs) {
  char label[96];
  for (size_t n : {size_t{250}, size_t{500}, size_t{1000}, size_t{2000}}) {
    if (n > all.size()) break;
    const std::vector<TRect> batch(all.begin(), all.begin() + static_cast<ptrdiff_t>(n));
    std::snprintf(label, sizeof label, "(one batch of %zu runs: ExtCreateRegion)", n);
    ReportPart(label, TimeRuns(runs, [&] { DeleteObject(BatchRegion(batch, TRect{})); }));
  }
}

}  // namespace

void ProfileRegionFromBitmap(const PixelBuffer& bmp, int runs) {
  const auto key = static_cast<TColor>(kSkinKeyColour);
  {
    Breakdown b("one keyed-bitmap region (each part includes the one before)", runs, false);
    b.Part("runs found, batches of 2000 (KeyedRuns)", [&] {
      TRegionRuns batches([](const std::vector<TRect>&, const TRect&) {});
      KeyedRuns(bmp, key, 1, 0, 0, batches);
      batches.Finish();
    });
    b.Part("+ a region made of each batch (ExtCreateRegion)", [&] {
      TRegionRuns batches([](const std::vector<TRect>& rects, const TRect& bounds) {
        DeleteObject(BatchRegion(rects, bounds));
      });
      KeyedRuns(bmp, key, 1, 0, 0, batches);
      batches.Finish();
    });
    b.Part("+ the batches united (the whole RegionFromBitmap)",
           [&] { (void)RegionFromBitmap(bmp, 0, 0, key, 1); });
  }
  std::printf(
      "  the system's cost of a batch as it grows, and the runs with repeated rows "
      "merged (not parts):\n");
  ReportBatchSizes(FirstBatch(bmp), runs);
  const std::vector<TRect> merged = MergedRuns(bmp);
  std::printf("    with repeated rows merged the runs become %zu rectangles\n", merged.size());
  ReportPart("(runs found, repeated rows merged)", TimeRuns(runs, [&] { (void)MergedRuns(bmp); }));
  const lbb::RegionHandle whole = RegionFromBitmap(bmp, 0, 0, key, 1);
  std::printf("    the merged rectangles' region equals RegionFromBitmap's: %s\n",
              EqualRgn(BatchedRegion(merged).get(), whole.get()) ? "yes" : "NO");
  ReportPart("(+ the merged rectangles' region, batches of 2000)",
             TimeRuns(runs, [&] { (void)BatchedRegion(MergedRuns(bmp)); }));
}

}  // namespace lbb::bench
