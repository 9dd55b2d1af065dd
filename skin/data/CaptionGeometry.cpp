#include "skin/data/CaptionGeometry.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "skin/data/SkinScale.h"

namespace lbb::skin {

namespace {

// The title's horizontal offset inside the caption rectangle by its alignment.
int AlignOffset(const TCaptionTextInput& in, int w, int cw, int current) {
  if (in.BidiLeft) {
    switch (in.Aligment) {
      case 0:
        return cw - in.RightBtn - w;
      case 1:
        return (cw - w - in.RightBtn) / 2;
      case 2:
        return in.Shift.Left;
      default:
        return current;
    }
  }
  switch (in.Aligment) {
    case 0:
      return in.Shift.Left;
    case 1:
      return (cw - w) / 2;
    case 2:
      return cw - in.Shift.Right - w;
    default:
      return 0;
  }
}

// The values both visibility rules read the same way; nothing for the others.
std::optional<bool> SharedRule(int v, const TButtonWindow& w) {
  switch (v) {
    case 0:
      return true;
    case 1:
      return w.Maximised;
    case 2:
      return !w.Maximised;
    case 3:
      return w.Active;
    case 4:
      return !w.Active;
    case 7:
      return !w.MaxBox;
    case 9:
      return !w.MinBox;
    case 100:
      return w.MDIChildMax && w.HasMenuBar;
    case 200:
      return !w.MessageBox && w.DialogBorder;
    default:
      return std::nullopt;
  }
}

// The first visibility rule (by Visibility).
bool FirstRule(int v, int action, const TButtonWindow& w, const TAskButtonVisible& ask) {
  if (const std::optional<bool> shared = SharedRule(v, w)) return *shared;
  switch (v) {
    case 6:
    case 8:
      return (w.MinBox || w.MaxBox) && w.SystemMenu;
    case 10:
      return w.HelpBox && !w.MinBox && !w.MaxBox;
    default:
      break;
  }
  if (v >= 201 && v <= 999) return true;
  if (v >= 1000 && v <= 2000) return ask && ask(v, action);
  return false;
}

// The second visibility rule (by Visibility1).
bool SecondRule(int v, const TButtonWindow& w) {
  if (const std::optional<bool> shared = SharedRule(v, w)) return *shared;
  switch (v) {
    case 6:
    case 8:
      return w.MinBox || w.MaxBox;
    case 10:
      return w.HelpBox;
    default:
      return v >= 201 && v <= 2000;
  }
}

}  // namespace

TCaptionTextPlace PlaceCaptionText(const TCaptionTextInput& in) {
  const TRect& c = in.Caption;
  TRect t{c.Left, c.Top, c.Left + in.TextWidth + in.BackLeft + in.BackRight, c.Top + in.TextHeight};
  const int w = t.Width(), cw = c.Width(), h = t.Height(), ch = c.Height();
  const int x = AlignOffset(in, w, cw, 0);
  const int y = (ch - h) / 2 + in.Shift.Top / 2;
  t = TRect{t.Left + x, t.Top + y, t.Right + x, t.Bottom + y};
  if (in.BidiLeft && x <= 0) t.Left = in.Shift.Left;
  const int gap = ScaleToDpi(5, in.Dpi);
  if (in.BidiLeft) {
    t.Left += ScaleToDpi(10, in.Dpi);
    t.Right += ScaleToDpi(10, in.Dpi);
  } else if (in.Popup) {
    if (in.RightBtn > gap && c.Right - in.RightBtn - gap < t.Right)
      t.Right = c.Right - in.RightBtn - gap;
  } else {
    t.Right = std::min(t.Right, c.Right - in.Shift.Right);
  }
  if (in.DialogBorder && in.Aligment == 0) t.Left -= ScaleToDpi(16, in.Dpi);
  TCaptionTextPlace place;
  place.Background = t;
  place.Text = TRect{t.Left + in.BackLeft, t.Top, t.Right - in.BackRight, t.Bottom};
  return place;
}

TButtonVisibility SysButtonVisibility(int visibility, int visibility1, int action,
                                      const TButtonWindow& w, const TAskButtonVisible& ask) {
  TButtonVisibility r;
  r.Visible = FirstRule(visibility, action, w, ask) && SecondRule(visibility1, w);
  switch (action) {
    case 0:
      if (!w.SystemMenu) r.Visible = false;
      break;
    case 1:
      r.SetsEnabled = true;
      r.Enabled = w.MaxBox && w.SystemMenu;
      break;
    case 2:
      r.SetsEnabled = true;
      r.Enabled = w.MinBox && w.SystemMenu;
      break;
    case 3:
    case 11:
    case 12:
      if (w.DialogBorder) r.Visible = false;
      break;
    default:
      break;
  }
  return r;
}

TRect SysButtonBounds(int align, int xcoord, int ycoord, int w, int h, const TButtonFrame& f) {
  int x = 0, y = 0;
  switch (align) {
    case 0:
      x = xcoord;
      y = ycoord;
      break;
    case 1:
      x = f.Width - xcoord;
      y = ycoord;
      break;
    case 2:
    case 8:
      x = f.Title.Left - w - xcoord;
      y = ycoord;
      break;
    case 3:
    case 9:
      x = f.Title.Right + xcoord;
      y = ycoord;
      break;
    case 100:
      x = f.Width - xcoord - f.Borders.Right - f.MenubarShift;
      y = (f.MenuHeight - h) / 2 + f.Borders.Top;
      break;
    default:
      break;
  }
  return TRect{x, y, x + w, y + h};
}

TFramePoint ClientToFrame(int clientX, int clientY, const TFrameWidths& widths, int menuHeight,
                          bool minimisedMdiChild) {
  if (minimisedMdiChild) return {clientX, clientY};
  return {clientX + widths.Left, clientY + widths.Top + menuHeight};
}

bool PointIn(const TRect& r, int x, int y) {
  return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

// ---- region runs

TRegionRuns::TRegionRuns(TFlush flush) : flush_(std::move(flush)) {
  rects_.reserve(kStep);
}

void TRegionRuns::Add(const TRect& r) {
  if (rects_.size() == capacity_) {
    capacity_ += kStep;
    rects_.reserve(capacity_);
  }
  if (rects_.empty()) {
    bounds_ = r;
  } else {
    bounds_.Left = std::min(bounds_.Left, r.Left);
    bounds_.Top = std::min(bounds_.Top, r.Top);
    bounds_.Right = std::max(bounds_.Right, r.Right);
    bounds_.Bottom = std::max(bounds_.Bottom, r.Bottom);
  }
  rects_.push_back(r);
  if (rects_.size() == kBatch) Flush();
}

void TRegionRuns::Finish() {
  Flush();
}

void TRegionRuns::Flush() {
  if (flush_) flush_(rects_, rects_.empty() ? TRect{} : bounds_);
  rects_.clear();
  bounds_ = TRect{};
}

void KeyedRuns(const PixelBuffer& bmp, TColor key, int tolerance, int dx, int dy, TRunSink& runs) {
  const auto range = [tolerance](uint32_t c) {
    return std::pair<uint32_t, uint32_t>{
        c, std::min<uint32_t>(255, c + static_cast<uint32_t>(std::max(0, tolerance)))};
  };
  const uint32_t k = static_cast<uint32_t>(key);
  const auto red = range(k & 0xFF), green = range((k >> 8) & 0xFF), blue = range((k >> 16) & 0xFF);
  const auto keyed = [&](Pixel p) {
    const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r >= red.first && r <= red.second && g >= green.first && g <= green.second &&
           b >= blue.first && b <= blue.second;
  };
  for (int y = 0; y < bmp.Height(); ++y) {
    const Pixel* row = bmp.Row(y);
    int x = 0;
    const int width = bmp.Width();
    while (x < width) {
      while (x < width && keyed(row[x]))
        ++x;
      if (x == width) break;
      const int start = x;
      while (x < width && !keyed(row[x]))
        ++x;
      runs.Add(TRect{start + dx, y + dy, x + dx, y + dy + 1});
    }
  }
}

// ---- merging repeated rows

void TRowMerge::Add(const TRect& r) {
  if (!row_.empty() && r.Top != row_.front().Top) EndRow();
  row_.push_back(r);
}

void TRowMerge::EndRow() {
  if (row_.empty()) return;
  const bool same =
      !above_.empty() && above_.size() == row_.size() &&
      above_.front().Bottom == row_.front().Top &&
      std::equal(above_.begin(), above_.end(), row_.begin(), [](const TRect& a, const TRect& b) {
        return a.Left == b.Left && a.Right == b.Right;
      });
  if (same) {
    for (TRect& a : above_)
      a.Bottom = row_.front().Bottom;
  } else {
    Emit();
    above_.swap(row_);
  }
  row_.clear();
}

void TRowMerge::Emit() {
  for (const TRect& a : above_)
    target_.Add(a);
  above_.clear();
}

void TRowMerge::Finish() {
  EndRow();
  Emit();
  target_.Finish();
}

}  // namespace lbb::skin
