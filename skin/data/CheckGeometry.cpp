#include "skin/data/CheckGeometry.h"

#include <algorithm>

#include "skin/data/SkinScale.h"

namespace lbb::skin {

namespace {

constexpr int kTwelveFrames = 12;
constexpr int kTextGap = 2;  // between the image and the caption

std::u16string Lower(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return s;
}

bool Has(const std::u16string& s, std::u16string_view part) {
  return s.find(part) != std::u16string::npos;
}

int Within(int frame, int frames) {
  return frames < 1 ? frame : std::clamp(frame, 1, frames);
}

// The frame the control object's published properties ask for, or `frame` unchanged.
int FromProperties(const TCheckFrameInput& in, int frame) {
  if (in.hasState) {
    const std::u16string id = Lower(in.stateIdent);
    if (Has(id, u"uncheck")) {
      frame = 1;
    } else if (Has(id, u"check")) {
      frame = 2;
    } else if (Has(id, u"gray")) {
      frame = 4;
    }
  } else if (in.hasChecked) {
    frame = in.checkedTrue ? 2 : 3;
  }
  if (in.hasDataField && in.state != 0) frame = in.state == 3 ? 4 : in.state;
  if (in.hasDataBinding) frame = 1;
  return frame;
}

int RemapTwelve(int frame, const TCheckFrameInput& in) {
  if (in.indeterminate) return in.disabled ? 12 : 9;
  switch (frame) {
    case 2:
      return 5;
    case 3:
      return 4;
    case 4:
      return 8;
    default:
      return frame;
  }
}

}  // namespace

int CheckBoxFrame(const TCheckFrameInput& in) {
  int frame = in.checked ? 2 : 1;
  frame = FromProperties(in, frame);
  if (in.disabled) frame += 2;
  if (in.indeterminate) frame = 4;
  if (in.frames == kTwelveFrames) frame = RemapTwelve(frame, in);
  return Within(frame, in.frames);
}

int RadioButtonFrame(bool checked, bool disabled, int frames) {
  return Within((checked ? 2 : 1) + (disabled ? 2 : 0), frames);
}

TSize CheckImageSize(int imageWidth, int imageHeight, int frames) {
  if (frames < 1 || imageWidth <= 0 || imageHeight <= 0) return TSize{};
  return TSize{imageWidth / frames, imageHeight};
}

TCheckLayout CheckLayout(const TRect& rc, TSize image, bool leftText, int dpi) {
  TCheckLayout out;
  const int gap = ScaleToDpi(kTextGap, dpi);
  const int top = rc.Top + (rc.Height() - image.cy) / 2;
  if (leftText) {
    out.Image = TRect{rc.Right - image.cx, top, rc.Right, top + image.cy};
    out.Text = TRect{rc.Left, rc.Top, std::max(rc.Left, rc.Right - image.cx - gap), rc.Bottom};
    out.RightAligned = true;
  } else {
    out.Image = TRect{rc.Left, top, rc.Left + image.cx, top + image.cy};
    out.Text = TRect{std::min(rc.Right, rc.Left + image.cx + gap), rc.Top, rc.Right, rc.Bottom};
  }
  return out;
}

TRect CheckCaptionRect(const TRect& box, int textHeight) {
  const int top = box.Top + (box.Height() - textHeight) / 2;
  return TRect{box.Left, top, box.Right, top + textHeight};
}

}  // namespace lbb::skin
