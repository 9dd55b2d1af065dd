#include "bench/skinframe/FrameProfile.h"

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

// Times each part `runs` times, prints it and adds its median to a running sum.
class Breakdown {
 public:
  // `summed`: the parts are separate steps, and their medians' sum is printed at the end.
  Breakdown(const char* what, int runs, bool summed = true) : runs_(runs), summed_(summed) {
    std::printf("  breakdown of %s (each part %d times):\n", what, runs);
  }
  ~Breakdown() {
    if (summed_) std::printf("    %-46s median %8.4f ms\n", "sum of the parts", sum_);
  }
  Breakdown(const Breakdown&) = delete;
  Breakdown& operator=(const Breakdown&) = delete;

  void Part(const char* what, const std::function<void()>& step) {
    Add(what, TimeRuns(runs_, step));
  }
  // A part that was timed by the caller.
  void Add(const char* what, const std::vector<double>& ms) {
    ReportPart(what, ms);
    sum_ += Summarise(ms).median;
  }

 private:
  int runs_;
  bool summed_;
  double sum_ = 0;
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
  const int y = sf.FTitleRect.top + (sf.FTitleRect.bottom - sf.FTitleRect.top) / 2 - sf.Iconx / 2;
  if (icon) DrawIconEx(dc, 8, y, icon, sf.Iconx, sf.Iconx, 0, nullptr, DI_NORMAL);
}

// The title measured and drawn in the caption font, as the caption painter does it.
void DrawTitle(TWinSkinForm& sf, HDC dc, const std::wstring& text) {
  HGDIOBJ old = SelectObject(dc, sf.CaptionFont ? sf.CaptionFont->Handle() : nullptr);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(sf.fsd->Colors[kShemeTitleTextActive]));
  RECT measured = sf.ctr;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_NOPREFIX | DT_CALCRECT | DT_NOCLIP);
  RECT t = sf.FTitleRect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
            DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetBkMode(dc, oldMode);
  if (old) SelectObject(dc, old);
}

void DrawTitleBack(TWinSkinForm& sf, PixelBuffer& px) {
  const TDataSkinTitle* title = sf.fsd->Title.get();
  if (!title || title->Map.Empty()) return;
  const TRect back{sf.ctr.left, 0, sf.ctr.right, sf.bw.top};
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
  b.Part("caption: title read (WM_GETTEXT)",
         [&] { title = sf.bstr + lbb::Wide(forms::WindowText(sf.Hwnd)) + sf.astr; });
  b.Part("caption: title background (DrawSkinHorz)", [&] { DrawTitleBack(sf, caption.Pixels()); });
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
  char label[96];
  Breakdown b("one region rebuild", runs);
  for (const PiecePlace& p : places) {
    const int w = p.at.right - p.at.left, h = p.at.bottom - p.at.top;
    std::snprintf(label, sizeof label, "%s piece %d x %d drawn (DrawBorderPixels)", p.name, w, h);
    b.Part(label, [&] {
      PixelBuffer scratch(w, h);
      sf.DrawBorderPixels(p.side, TRect{0, 0, w, h}, scratch);
    });
    drawn.emplace_back(w, h);
    sf.DrawBorderPixels(p.side, TRect{0, 0, w, h}, drawn.back());
    std::snprintf(label, sizeof label, "%s piece's region (RegionFromBitmap)", p.name);
    b.Part(label, [&] { (void)RegionFromBitmap(drawn.back(), p.at.left, p.at.top, key, 1); });
    regions.push_back(RegionFromBitmap(drawn.back(), p.at.left, p.at.top, key, 1));
  }
  const RECT client{sf.bw.left, sf.bw.top, s.W - sf.bw.right, s.H - sf.bw.bottom};
  b.Part("pieces and client united (CombineRgn)", [&] { (void)UnitePieces(regions, client); });
  // The window owns the region it is given: each run gives it a new copy (not timed).
  std::vector<double> set;
  for (int i = 0; i < runs; ++i) {
    lbb::RegionHandle copy = UnitePieces(regions, client);
    const double t0 = NowMs();
    if (SetWindowRgn(sf.Hwnd, copy.get(), TRUE)) copy.release();
    set.push_back(NowMs() - t0);
  }
  b.Add("the window's region set (SetWindowRgn)", set);
  // The skinner's own region again, so that its record of the window's region is true.
  sf.crwidth = 0;
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

void ProfileRegionFromBitmap(const PixelBuffer& bmp, int runs) {
  const auto key = static_cast<TColor>(kSkinKeyColour);
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

}  // namespace lbb::bench
