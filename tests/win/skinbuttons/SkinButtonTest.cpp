// Push buttons skinned with the built-in skin on real windows: the frame each state shows on
// the screen, clicks from real mouse and keyboard input, what reaches the button's own
// message method, captions broken at "||", bare "button" windows, and buttons freed by their
// own click.
#include <gtest/gtest.h>

#include "forms/Screenshot.h"
#include "forms/StdCtrls.h"
#include "skin/data/SkinObjects.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinbuttons/ButtonSupport.h"

namespace lbb::skin::test {
namespace {

class SkinButtonTest : public ButtonTest {
 protected:
  // A skinned push button with a click counter.
  forms::TButton* Button(int left, int top, int width, int height, const char16_t* text) {
    auto* b = Add<forms::TButton>(left, top, width, height);
    b->SetCaption(text);
    b->OnClick = [this](forms::TObject*) { ++clicks; };
    return b;
  }
  // Groups of ink rows in the button's picture against its plain frame.
  std::vector<TInkRows> CaptionLines(HWND h, int frame) const {
    const PixelBuffer shot = forms::CaptureWindow(h);
    const RECT inner{3, 3, shot.Width() - 3, shot.Height() - 3};
    return InkRowGroups(shot, Rendered(frame, shot.Width(), shot.Height()), inner);
  }
  int clicks = 0;
};

TEST_F(SkinButtonTest, TheFiveFramesDifferAlongTheButtonsEdges) {
  // FrameShown tells the frames apart only when every two of them differ somewhere on the
  // three-pixel ring it looks at.
  for (int a = 1; a <= 5; ++a)
    for (int b = a + 1; b <= 5; ++b) {
      const PixelBuffer fa = Rendered(a, 75, 25), fb = Rendered(b, 75, 25);
      bool differ = false;
      for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 75; ++x)
          if ((x < 3 || y < 3 || x >= 72 || y >= 22) && fa.At(x, y) != fb.At(x, y)) differ = true;
      EXPECT_TRUE(differ) << "frames " << a << " and " << b;
    }
}

TEST_F(SkinButtonTest, NormalHotPressedAndBackShowTheirFramesWithTheRealMouse) {
  forms::TButton* b = Button(20, 20, 75, 25, u"Normal");
  Add<forms::TButton>(20, 60, 75, 25)->SetCaption(u"Other");
  ShowSkinned();
  auto* s = Skin<TSkinButton>(b);
  HWND h = b->Handle();
  EXPECT_TRUE(ShowsFrame(h, kFrameNormal));
  ASSERT_TRUE(forms::test::MoveMouseTo(h, Middle(h)));
  EXPECT_TRUE(ShowsFrame(h, kFrameHot));
  EXPECT_EQ(s->MouseState(), kStateHot);
  ASSERT_TRUE(PressLeft());
  EXPECT_TRUE(ShowsFrame(h, kFramePressed));
  EXPECT_EQ(clicks, 0) << "a press alone does not click";
  ASSERT_TRUE(ReleaseLeft());
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks == 1; }));
  // Released over the button: hot again, and now focused (hot wins over focused).
  EXPECT_TRUE(ShowsFrame(h, kFrameHot));
  EXPECT_EQ(GetFocus(), h);
  // The mouse leaves: the focused frame.
  ASSERT_TRUE(forms::test::MoveMouseTo(form->Handle(), Away()));
  EXPECT_TRUE(ShowsFrame(h, kFrameFocused));
  Settle();
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinButtonTest, FocusedAndDefaultButtonsShowTheFifthFrame) {
  forms::TButton* focusedButton = Button(20, 20, 75, 25, u"Focused");
  forms::TButton* defaultButton = Button(20, 60, 75, 25, u"Default");
  forms::TButton* plain = Button(20, 100, 75, 25, u"Plain");
  defaultButton->SetDefault(true);
  ShowSkinned();
  Skin<TSkinButton>(focusedButton);
  Skin<TSkinButton>(defaultButton);
  Skin<TSkinButton>(plain);
  focusedButton->SetFocus();
  ASSERT_TRUE(forms::test::PumpUntil([&] { return GetFocus() == focusedButton->Handle(); }));
  EXPECT_TRUE(ShowsFrame(focusedButton->Handle(), kFrameFocused));
  EXPECT_TRUE(ShowsFrame(defaultButton->Handle(), kFrameFocused)) << "default, not focused";
  EXPECT_TRUE(ShowsFrame(plain->Handle(), kFrameNormal));
  // Focus moves on: the first button is plain again.
  plain->SetFocus();
  EXPECT_TRUE(ShowsFrame(focusedButton->Handle(), kFrameNormal));
  EXPECT_TRUE(ShowsFrame(plain->Handle(), kFrameFocused));
}

TEST_F(SkinButtonTest, DisabledButtonShowsTheDisabledFrameWhileTheMouseIsOverIt) {
  forms::TButton* b = Button(20, 20, 75, 25, u"Off");
  b->SetEnabled(false);
  ShowSkinned();
  Skin<TSkinButton>(b);
  HWND h = b->Handle();
  EXPECT_TRUE(ShowsFrame(h, kFrameDisabled));
  ASSERT_TRUE(forms::test::MoveMouseTo(h, Middle(h)));
  EXPECT_TRUE(ShowsFrame(h, kFrameDisabled));
  // A disabled window takes no mouse: pressing does nothing.
  ASSERT_TRUE(PressLeft());
  ASSERT_TRUE(ReleaseLeft());
  Settle();
  EXPECT_TRUE(ShowsFrame(h, kFrameDisabled));
  EXPECT_EQ(clicks, 0);
}

TEST_F(SkinButtonTest, PressInsideReleaseOutsideClicksNothing) {
  forms::TButton* b = Button(20, 20, 75, 25, u"Press");
  ShowSkinned();
  auto* s = Skin<TSkinButton>(b);
  HWND h = b->Handle();
  ASSERT_TRUE(forms::test::MoveMouseTo(h, Middle(h)));
  ASSERT_TRUE(PressLeft());
  EXPECT_TRUE(ShowsFrame(h, kFramePressed));
  // Out of the button with the button held: the leave (reported, or found by the skinner)
  // clears pressed and hot.
  ASSERT_TRUE(forms::test::MoveMouseTo(form->Handle(), Away()));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return s->MouseState() == 0; }));
  ASSERT_TRUE(ReleaseLeft());
  Settle();
  EXPECT_EQ(clicks, 0);
  EXPECT_NE(FrameShown(h), kFramePressed);
}

TEST_F(SkinButtonTest, PressAndReleaseInsideClickOnce) {
  forms::TButton* b = Button(20, 20, 75, 25, u"Once");
  ShowSkinned();
  Skin<TSkinButton>(b);
  ASSERT_TRUE(forms::test::ClickAt(b->Handle(), Middle(b->Handle())));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks >= 1; }));
  Settle();
  EXPECT_EQ(clicks, 1);
  ASSERT_TRUE(forms::test::ClickAt(b->Handle(), Middle(b->Handle())));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks >= 2; }));
  Settle();
  EXPECT_EQ(clicks, 2);
}

TEST_F(SkinButtonTest, SpaceKeyShowsThePressedFrameWhileHeldAndClicksOnce) {
  forms::TButton* b = Button(20, 20, 75, 25, u"Space");
  ShowSkinned();
  Skin<TSkinButton>(b);
  HWND h = b->Handle();
  b->SetFocus();
  ASSERT_TRUE(forms::test::PumpUntil([&] { return GetFocus() == h; }));
  ASSERT_TRUE(KeyDown(VK_SPACE));
  EXPECT_TRUE(ShowsFrame(h, kFramePressed));
  EXPECT_EQ(clicks, 0);
  ASSERT_TRUE(KeyUp(VK_SPACE));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks >= 1; }));
  EXPECT_TRUE(ShowsFrame(h, kFrameFocused));
  Settle();
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinButtonTest, TheButtonsOwnMethodNeverSeesTheButtonDownNorThePaint) {
  forms::TButton* b = Button(20, 20, 75, 25, u"Seen");
  ShowSkinned();
  // The recorder is the method the skinner finds in place: what it sees reaches the button.
  forms::test::MessageRecorder seen(
      *b, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_PAINT, WM_ERASEBKGND, WM_MOUSEMOVE});
  auto* s = Skin<TSkinButton>(b);
  EXPECT_EQ(SendMessageW(b->Handle(), SKM_ISSKINNED, 0, 0), 1);
  seen.Clear();
  ASSERT_TRUE(forms::test::ClickAt(b->Handle(), Middle(b->Handle())));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks == 1; }));
  RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_FALSE(seen.Saw(WM_LBUTTONDOWN));
  EXPECT_FALSE(seen.Saw(WM_PAINT));
  EXPECT_FALSE(seen.Saw(WM_ERASEBKGND));
  EXPECT_TRUE(seen.Saw(WM_LBUTTONUP));
  EXPECT_TRUE(seen.Saw(WM_MOUSEMOVE));
  // Switched off, the button handles everything itself again.
  SendMessageW(b->Handle(), SKM_SETSKINNED, 0, 0);
  seen.Clear();
  RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(seen.Saw(WM_PAINT));
  EXPECT_FALSE(s->Skinned());
  SendMessageW(b->Handle(), SKM_SETSKINNED, 1, 0);
  EXPECT_TRUE(s->Skinned());
  delete s;  // the recorder's method is outermost again before it goes
}

TEST_F(SkinButtonTest, OneDoubleBarBreaksTheCaptionAndOnlyTheFirstOfTwoDoes) {
  forms::TButton* one = Button(20, 20, 140, 60, u"Upper||Lower");
  forms::TButton* two = Button(20, 100, 140, 60, u"Aa||Bb||Cc");
  forms::TButton* none = Button(20, 180, 140, 60, u"Single line");
  ShowSkinned();
  for (forms::TButton* b : {one, two, none})
    Skin<TSkinButton>(b);
  Settle();
  for (forms::TButton* b : {one, two, none})
    ASSERT_TRUE(ShowsFrame(b->Handle(), kFrameNormal));
  const auto lines1 = CaptionLines(one->Handle(), kFrameNormal);
  const auto lines2 = CaptionLines(two->Handle(), kFrameNormal);
  const auto lines0 = CaptionLines(none->Handle(), kFrameNormal);
  EXPECT_EQ(lines0.size(), 1u);
  EXPECT_EQ(lines1.size(), 2u);
  // "Aa" over "Bb||Cc": two lines, the bars of the second pair drawn as text.
  EXPECT_EQ(lines2.size(), 2u);
  // The two lines sit centred: as much room above the first as below the second, give or take
  // the one pixel the caption is raised by and the font's own leading.
  if (lines1.size() == 2u) {
    const int above = lines1[0].first, below = 60 - 1 - lines1[1].last;
    EXPECT_NEAR(above, below, 6);
  }
}

TEST_F(SkinButtonTest, BareButtonWindowPostsOneCommandToItsParent) {
  TRawLog log;
  HWND parent = MakeRawWindow(&log, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  windows.push_back(parent);
  ASSERT_TRUE(SkinShown(parent));
  TWinSkinForm* psf = mgr->FindForm(parent);
  ASSERT_NE(psf, nullptr);
  HWND button =
      CreateWindowExW(0, L"BUTTON", L"Bare", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 80, 26,
                      parent, reinterpret_cast<HMENU>(1234), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  ASSERT_EQ(SendMessageW(button, SKM_ISSKINNED, 0, 0), 0) << "the button is not skinned yet";
  auto* s = new TSkinButton(nullptr);
  s->Inithwnd(button, data, psf->HostCanvas(), psf);
  EXPECT_EQ(SendMessageW(button, SKM_ISSKINNED, 0, 0), 1);
  EXPECT_TRUE(ShowsFrame(button, kFrameNormal));
  log.Clear();
  ASSERT_TRUE(forms::test::ClickAt(button, Middle(button)));
  auto commands = [&] { return log.Count(WM_COMMAND); };
  EXPECT_TRUE(PumpUntil([&] { return commands() >= 1; }));
  Settle();
  ASSERT_EQ(commands(), 1);
  for (const auto& e : log.seen)
    if (e.msg == WM_COMMAND) {
      EXPECT_EQ(e.wParam, WPARAM{1234}) << "the button's id, BN_CLICKED (0) above it";
      EXPECT_EQ(e.lParam, reinterpret_cast<LPARAM>(button));
    }
  DestroyWindow(button);
  Settle();
}

TEST_F(SkinButtonTest, AButtonFreedByItsOwnClickIsNotTouchedAgain) {
  forms::TButton* b = Button(20, 20, 75, 25, u"Free me");
  bool freed = false;
  b->OnClick = [&](forms::TObject*) {
    delete b;
    freed = true;
  };
  ShowSkinned();
  Skin<TSkinButton>(b);
  HWND h = b->Handle();
  ASSERT_TRUE(forms::test::ClickAt(h, Middle(h)));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return freed; }));
  EXPECT_FALSE(IsWindow(h));
  // The form and its skinner go on: another skinned button still works.
  forms::TButton* other = Button(20, 60, 75, 25, u"Still here");
  Skin<TSkinButton>(other);
  ASSERT_TRUE(forms::test::ClickAt(other->Handle(), Middle(other->Handle())));
  EXPECT_TRUE(forms::test::PumpUntil([&] { return clicks == 1; }));
}

TEST_F(SkinButtonTest, NoFocusRectangleWithTheOption) {
  forms::TButton* b = Button(20, 20, 100, 40, u"Focus");
  ShowSkinned();
  Skin<TSkinButton>(b);
  HWND h = b->Handle();
  b->SetFocus();
  ASSERT_TRUE(ShowsFrame(h, kFrameFocused));
  const PixelBuffer with = Shot(h);
  data->SetOptions(data->Options() | SetOf(xoNoFocusRect));
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const PixelBuffer without = Shot(h);
  // The focus rectangle is dotted around the text box: only rows and columns the text does
  // not reach change. Compare the ink rows: with the rectangle there are more.
  const PixelBuffer plain = Rendered(kFrameFocused, with.Width(), with.Height());
  const RECT inner{3, 3, with.Width() - 3, with.Height() - 3};
  const auto rowsWith = InkRowGroups(with, plain, inner);
  const auto rowsWithout = InkRowGroups(without, plain, inner);
  ASSERT_FALSE(rowsWith.empty());
  ASSERT_FALSE(rowsWithout.empty());
  EXPECT_LT(rowsWith.front().first, rowsWithout.front().first) << "the rectangle's top line";
  EXPECT_GT(rowsWith.back().last, rowsWithout.back().last) << "the rectangle's bottom line";
  data->SetOptions(data->Options() & ~SetOf(xoNoFocusRect));
}

}  // namespace
}  // namespace lbb::skin::test
