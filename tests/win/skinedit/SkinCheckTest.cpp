// The skinned check boxes and radio buttons under Wine: on a form skinned with the built-in
// skin (a 12-frame check image, an 8-frame radio image) each control shows, read from the
// screen, the frame of the image its state asks for; the real mouse toggles a check box and
// the new frame follows; the caption on the left puts the image at the right; a skin without
// the check image leaves the box to paint itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/ButtonCtrls.h"
#include "forms/Screenshot.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/data/SkinObjects.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinbuttons/ButtonSupport.h"

namespace lbb::skin::test {
namespace {

constexpr Pixel kKey = 0xFF00FF;

class SkinCheck : public ButtonTest {
 protected:
  forms::TCheckBox* Check(int top, forms::TCheckBoxState st) {
    auto* c = Add<forms::TCheckBox>(20, top, 120, 20);
    c->SetCaption(u"Check");
    c->SetAllowGrayed(true);
    c->SetState(st);
    return c;
  }
  const TDataSkinButton& B() const { return *data->Button; }

  // The frames (1-based) of `img` (N side by side) whose every non-key pixel equals the
  // shot's pixel in `at`; `at` has the size of one frame.
  static std::vector<int> Matching(const PixelBuffer& shot, const RECT& at, const PixelBuffer& img,
                                   int N) {
    std::vector<int> found;
    const int fw = img.Width() / N;
    for (int f = 1; f <= N; ++f) {
      bool same = true;
      for (int y = 0; y < img.Height() && same; ++y)
        for (int x = 0; x < fw && same; ++x) {
          const Pixel want = img.At((f - 1) * fw + x, y) & 0xFFFFFF;
          if (want == kKey) continue;
          const int sx = at.left + x, sy = at.top + y;
          if (sx < 0 || sy < 0 || sx >= shot.Width() || sy >= shot.Height() ||
              (shot.At(sx, sy) & 0xFFFFFF) != want)
            same = false;
        }
      if (same) found.push_back(f);
    }
    return found;
  }
  // Where the image goes in a window of w x h: at the left (or right) edge, centred.
  static RECT ImageAt(HWND hwnd, const PixelBuffer& img, int N, bool right) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int iw = img.Width() / N, ih = img.Height();
    const int top = (h - ih) / 2;
    const int left = right ? w - iw : 0;
    return RECT{left, top, left + iw, top + ih};
  }
  // Waits until the control shows frame `want` of the image at its place and not `wrong`.
  ::testing::AssertionResult Shows(HWND hwnd, const PixelBuffer& img, int N, int want, int wrong,
                                   bool right = false) {
    std::vector<int> seen;
    auto ok = [&] {
      seen = Matching(forms::CaptureWindow(hwnd), ImageAt(hwnd, img, N, right), img, N);
      const bool hasWant = std::find(seen.begin(), seen.end(), want) != seen.end();
      const bool hasWrong = std::find(seen.begin(), seen.end(), wrong) != seen.end();
      return hasWant && !hasWrong;
    };
    if (PumpUntil(ok)) return ::testing::AssertionSuccess();
    std::string list;
    for (int f : seen)
      list += " " + std::to_string(f);
    return ::testing::AssertionFailure()
           << "frames matching:" << list << "; wanted " << want << " and not " << wrong;
  }
};

TEST_F(SkinCheck, BuiltInSkinHasTheImagesTheseTestsRead) {
  ASSERT_EQ(B().checkframe, 12);
  ASSERT_EQ(B().radioframe, 8);
  ASSERT_FALSE(B().CheckMap.Empty());
  ASSERT_FALSE(B().RadioMap.Empty());
}

TEST_F(SkinCheck, EachStateShowsItsFrame) {
  auto* unchecked = Check(20, forms::TCheckBoxState::cbUnchecked);
  auto* checked = Check(50, forms::TCheckBoxState::cbChecked);
  auto* disabled = Check(80, forms::TCheckBoxState::cbUnchecked);
  disabled->SetEnabled(false);
  auto* grayed = Check(110, forms::TCheckBoxState::cbGrayed);
  auto* radio = Add<forms::TRadioButton>(20, 140, 120, 20);
  radio->SetCaption(u"Radio");
  radio->SetChecked(true);
  auto* radioOff = Add<forms::TRadioButton>(20, 170, 120, 20);
  radioOff->SetCaption(u"Radio 2");
  ShowSkinned();
  for (auto* c : {unchecked, checked, disabled, grayed})
    Skin<TSkinCheckBox>(c);
  Skin<TSkinRadioButton>(radio);
  Skin<TSkinRadioButton>(radioOff);
  Settle();
  const PixelBuffer& cm = B().CheckMap;
  const PixelBuffer& rm = B().RadioMap;
  // Twelve frames: unchecked 1; checked 2 -> 5; unchecked disabled 1 + 2 = 3 -> 4;
  // indeterminate 9.
  EXPECT_TRUE(Shows(unchecked->Handle(), cm, 12, 1, 5)) << "unchecked";
  EXPECT_TRUE(Shows(checked->Handle(), cm, 12, 5, 1)) << "checked";
  EXPECT_TRUE(Shows(disabled->Handle(), cm, 12, 4, 1)) << "disabled";
  EXPECT_TRUE(Shows(grayed->Handle(), cm, 12, 9, 1)) << "indeterminate";
  // Radio: checked 2, unchecked 1.
  EXPECT_TRUE(Shows(radio->Handle(), rm, 8, 2, 1)) << "checked radio";
  EXPECT_TRUE(Shows(radioOff->Handle(), rm, 8, 1, 2)) << "unchecked radio";
}

TEST_F(SkinCheck, RealMouseClickTogglesAndRepaints) {
  auto* box = Check(20, forms::TCheckBoxState::cbUnchecked);
  box->SetAllowGrayed(false);
  ShowSkinned();
  Skin<TSkinCheckBox>(box);
  const PixelBuffer& cm = B().CheckMap;
  ASSERT_TRUE(Shows(box->Handle(), cm, 12, 1, 5));
  ASSERT_TRUE(forms::test::ClickAt(box->Handle(), Middle(box->Handle())));
  EXPECT_TRUE(PumpUntil([&] { return box->State() == forms::TCheckBoxState::cbChecked; }))
      << "the click did not check the box";
  EXPECT_TRUE(Shows(box->Handle(), cm, 12, 5, 1)) << "after the first click";
  ASSERT_TRUE(forms::test::ClickAt(box->Handle(), Middle(box->Handle())));
  EXPECT_TRUE(PumpUntil([&] { return box->State() == forms::TCheckBoxState::cbUnchecked; }));
  EXPECT_TRUE(Shows(box->Handle(), cm, 12, 1, 5)) << "after the second click";
}

TEST_F(SkinCheck, CaptionOnTheLeftPutsTheImageAtTheRight) {
  auto* box = Check(20, forms::TCheckBoxState::cbChecked);
  box->SetAlignment(forms::TLeftRight::taLeftJustify);
  ShowSkinned();
  ASSERT_NE(GetWindowLongW(box->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
  Skin<TSkinCheckBox>(box);
  EXPECT_TRUE(Shows(box->Handle(), B().CheckMap, 12, 5, 1, true));
}

TEST_F(SkinCheck, SkinWithoutCheckImageLeavesTheBoxNativeButSkinned) {
  data->Button->CheckMap = PixelBuffer();
  auto* box = Check(20, forms::TCheckBoxState::cbChecked);
  ShowSkinned();
  auto* s = Skin<TSkinCheckBox>(box);
  EXPECT_EQ(s->kind, 0);
  EXPECT_EQ(SendMessageW(box->Handle(), SKM_ISSKINNED, 0, 0), 1);
}

TEST_F(SkinCheck, SetCheckRemembersTheStatePlusOne) {
  auto* box = Check(20, forms::TCheckBoxState::cbUnchecked);
  ShowSkinned();
  auto* s = Skin<TSkinCheckBox>(box);
  EXPECT_EQ(s->state, 0);
  box->SetState(forms::TCheckBoxState::cbGrayed);  // BM_SETCHECK 2
  EXPECT_EQ(s->state, 3);
  box->SetState(forms::TCheckBoxState::cbChecked);  // BM_SETCHECK 1
  EXPECT_EQ(s->state, 2);
}

}  // namespace
}  // namespace lbb::skin::test
