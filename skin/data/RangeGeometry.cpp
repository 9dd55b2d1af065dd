#include "skin/data/RangeGeometry.h"

#include <algorithm>

#include "skin/data/SkinScale.h"

namespace lbb::skin {

namespace {

constexpr int kPanelInset = 2;   // panels sit this far inside the bar's top and bottom
constexpr int kTextPadding = 4;  // a panel's text keeps this far from its sides
constexpr int kCaptionLeft = 8;  // a group box's caption from its side
constexpr int kNoRight = -1;     // SB_GETPARTS: the part runs to the bar's end
constexpr int kThumbFrames = 5;

}  // namespace

// ---- progress bars

int ProgressFillLength(int length, int64_t position, int64_t minimum, int64_t maximum) {
  if (length <= 0 || maximum <= minimum) return 0;
  const int64_t p = std::clamp(position, minimum, maximum);
  return static_cast<int>(int64_t{length} * (p - minimum) / (maximum - minimum));
}

int ProgressStyle(int skinStyle, bool hasChunkImage, int progressFrames) {
  if (!hasChunkImage) return 0;
  return skinStyle != 0 || progressFrames < 2 ? 1 : 0;
}

std::vector<TRect> ProgressChunks(const TRect& track, int fill, int chunkWidth, int gap,
                                  int inset) {
  std::vector<TRect> chunks;
  if (chunkWidth <= 0) return chunks;
  const int step = chunkWidth + std::max(gap, 0);
  const int top = track.Top + inset, bottom = std::max(track.Bottom - inset, top);
  const int limit = std::min(track.Left + fill, track.Right - inset);
  for (int x = track.Left + inset; x + chunkWidth <= limit; x += step)
    chunks.push_back(TRect{x, top, x + chunkWidth, bottom});
  return chunks;
}

TRect ProgressFillRect(const TRect& track, int fill) {
  const int w = std::clamp(fill, 0, std::max(track.Width(), 0));
  return TRect{track.Left, track.Top, track.Left + w, track.Bottom}.Upright();
}

// ---- track bars

TThumbShape TrackThumbShape(bool vertical, bool both, bool noTicks, bool topOrLeft) {
  if (both || noTicks) return vertical ? TThumbShape::Vert : TThumbShape::Horz;
  if (vertical) return topOrLeft ? TThumbShape::Left : TThumbShape::Right;
  return topOrLeft ? TThumbShape::Up : TThumbShape::Down;
}

TThumbShape PlainThumbShape(TThumbShape shape) {
  switch (shape) {
    case TThumbShape::Vert:
    case TThumbShape::Left:
    case TThumbShape::Right:
      return TThumbShape::Vert;
    default:
      return TThumbShape::Horz;
  }
}

int TrackThumbFrame(bool enabled, bool pressed, bool hot, bool focused) {
  int frame = kFrameNormal;
  if (!enabled) {
    frame = kFrameDisabled;
  } else if (pressed) {
    frame = kFramePressed;
  } else if (hot) {
    frame = kFrameHot;
  } else if (focused) {
    frame = kFrameFocused;
  }
  return std::clamp(frame, 1, kThumbFrames);
}

TRect TrackGrooveRect(const TRect& channel, bool vertical, int thickness) {
  const TRect c = channel.Upright();
  if (thickness <= 0) return c;
  if (vertical) {
    const int left = c.Left + (c.Width() - thickness) / 2;
    return TRect{left, c.Top, left + thickness, c.Bottom};
  }
  const int top = c.Top + (c.Height() - thickness) / 2;
  return TRect{c.Left, top, c.Right, top + thickness};
}

// ---- status bars

std::vector<TRect> StatusPanelRects(const TRect& bar, const std::vector<int>& rights, int gripWidth,
                                    int dpi) {
  const int inset = ScaleToDpi(kPanelInset, dpi);
  const int top = bar.Top + inset;
  const int bottom = std::max(bar.Bottom - inset, top);
  const int end = std::max(bar.Right - std::max(gripWidth, 0), bar.Left);
  std::vector<TRect> panels;
  if (rights.empty()) {
    panels.push_back(TRect{bar.Left, top, end, bottom});
    return panels;
  }
  int left = bar.Left;
  for (const int r : rights) {
    int right = r == kNoRight ? end : bar.Left + r;
    right = std::clamp(right, left, end);
    panels.push_back(TRect{left, top, right, bottom});
    left = right;
  }
  return panels;
}

int StatusTextAlign(std::u16string& text) {
  int tabs = 0;
  while (tabs < 2 && tabs < static_cast<int>(text.size()) &&
         text[static_cast<size_t>(tabs)] == u'\t')
    ++tabs;
  text.erase(0, static_cast<size_t>(tabs));
  return tabs;
}

TRect StatusTextRect(const TRect& panel, int dpi) {
  const int pad = ScaleToDpi(kTextPadding, dpi);
  return TRect{panel.Left + pad, panel.Top, panel.Right - pad, panel.Bottom}.Upright();
}

TRect StatusGripRect(const TRect& bar, TSize cell) {
  const int w = std::clamp(cell.cx, 0, std::max(bar.Width(), 0));
  const int h = std::clamp(cell.cy, 0, std::max(bar.Height(), 0));
  return TRect{bar.Right - w, bar.Bottom - h, bar.Right, bar.Bottom};
}

// ---- group boxes

TGroupBoxLayout GroupBoxLayout(TSize box, int zeroHeight, TSize caption, bool rightAligned,
                               int dpi) {
  TGroupBoxLayout l;
  const int captionLeft = ScaleToDpi(kCaptionLeft, dpi);
  const int w = std::max(box.cx, 0), h = std::max(box.cy, 0);
  const int top = std::clamp(zeroHeight / 2 - 1, 0, h);
  l.Frame = TRect{1, top, w - 1, h - 1}.Upright();
  const int room = std::max(w - 2 * captionLeft, 0);
  const int cw = std::clamp(caption.cx, 0, room);
  const int ch = std::clamp(caption.cy, 0, h);
  const int left = rightAligned ? std::max(w - captionLeft - cw, 0) : std::min(captionLeft, w);
  l.Caption = TRect{left, 0, left + cw, ch};
  return l;
}

// ---- media-player panel

std::vector<TRect> MediaButtonRects(const TRect& rc, int count) {
  std::vector<TRect> buttons;
  if (count < 1) return buttons;
  const TRect r = rc.Upright();
  const int w = r.Width() / count;
  for (int i = 0; i < count; ++i) {
    const int left = r.Left + i * w;
    const int right = i == count - 1 ? r.Right : left + w;
    buttons.push_back(TRect{left, r.Top, right, r.Bottom});
  }
  return buttons;
}

int MediaButtonAt(const std::vector<TRect>& buttons, int x, int y) {
  for (size_t i = 0; i < buttons.size(); ++i) {
    const TRect& b = buttons[i];
    if (x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace lbb::skin
