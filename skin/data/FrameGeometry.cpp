#include "skin/data/FrameGeometry.h"

namespace lbb::skin {

namespace {

int FrameSize(int size, int frames) {
  return size / (frames > 0 ? frames : 1);
}

}  // namespace

TFrameWidths FrameWidthsOf(const TBorderPiece& left, const TBorderPiece& right,
                           const TBorderPiece& top, const TBorderPiece& bottom, bool noBorder) {
  if (noBorder) return {};
  return {FrameSize(left.Width, left.Frames), FrameSize(top.Height, top.Frames),
          FrameSize(right.Width, right.Frames), FrameSize(bottom.Height, bottom.Frames)};
}

TRect ClientRectOf(int x, int y, int cx, int cy, const TFrameWidths& widths, int menuHeight) {
  return {x + widths.Left, y + widths.Top + menuHeight, x + cx - widths.Right,
          y + cy - widths.Bottom};
}

int FrameHitTest(int previousAnswer, int frameY, const TFrameWidths& widths, int menuHeight) {
  if (previousAnswer != kHitNowhere && previousAnswer != kHitCaption) return previousAnswer;
  int answer = previousAnswer;
  if (frameY > 3) {
    answer = kHitCaption;
    if (frameY > widths.Top && menuHeight > 0) answer = kHitMenu;
  }
  return answer;
}

TFrameSize SkinnedWindowSize(int clientWidth, int clientHeight, const TFrameWidths& widths,
                             int menuHeight) {
  return {clientWidth + widths.Left + widths.Right,
          clientHeight + widths.Top + widths.Bottom + menuHeight};
}

TTitleFit FitTitle(int width, int needed) {
  if (width >= needed) return {width, 0};
  return {needed, (needed - width) / 2};
}

TFrameSize UnskinnedWindowSize(int width, int height, int nativeWidth, int nativeHeight,
                               const TFrameWidths& widths) {
  return {width + nativeWidth - widths.Left - widths.Right,
          height + nativeHeight - widths.Top - widths.Bottom};
}

}  // namespace lbb::skin
