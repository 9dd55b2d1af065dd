// The skinned up-down under Wine: a click on each half steps the position and the buddy edit
// by exactly one (real mouse), the held half shows the skin's pressed frame and the press
// repeats, horizontal and bare up-downs work the same, and an up-down inside an edit is
// skinned by the edit's skinner when the skin controls hold xcSpin and only then.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "forms/RangeCtrls.h"
#include "forms/StdCtrls.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/controls/WinSkinFactory.h"
#include "skin/controls/WinSkinUpDown.h"
#include "skin/data/ComboGeometry.h"
#include "skin/data/imgutil.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skincombo/ComboSupport.h"

namespace lbb::skin::test {
namespace {

RECT ToRect(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

POINT MiddleOf(const TRect& r) {
  return POINT{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

class SkinUpDown : public ComboTest {
 protected:
  // An up-down with an edit buddy, as the gallery's UpDown1 and Edit2.
  void MakePair(forms::TUDOrientation orientation = forms::TUDOrientation::udVertical) {
    edit = Add<forms::TEdit>(20, 20, 60, 21);
    ud =
        Add<forms::TUpDown>(80, 20, orientation == forms::TUDOrientation::udVertical ? 17 : 34, 21);
    ud->SetOrientation(orientation);
    ud->SetMax(99);
    ud->SetPosition(7);
    ud->SetAssociate(edit);
  }
  // The halves as the skinner lays them out for `hwnd` (with an edit buddy: its edge and the
  // spacer left out).
  static TUpDownLayout Halves(HWND hwnd) {
    RECT c{};
    GetClientRect(hwnd, &c);
    TUpDownInput in{int(c.right), int(c.bottom), (GetWindowLongW(hwnd, GWL_STYLE) & UDS_HORZ) != 0};
    if (SendMessageW(hwnd, UDM_GETBUDDY, 0, 0)) in.border = in.spacer = 2;
    return UpDownHalves(in);
  }
  const TDataSkinBorder& Element(HWND hwnd) const {
    return (GetWindowLongW(hwnd, GWL_STYLE) & UDS_HORZ) ? *data->HSpin : *data->VSpin;
  }
  // The half shows frame `frame` of the element (the pixels of its glyph, drawn over the
  // middle at its own size, left out).
  ::testing::AssertionResult HalfShows(HWND hwnd, const TRect& half, int frame) {
    const TDataSkinBorder& e = Element(hwnd);
    const TRect at = CentredIn(half, e.MaskMap.Width() / kUpDownFrames, e.MaskMap.Height());
    const TRect cell = SkinFrameRect(e.MaskMap, false, kUpDownFrames, frame);
    const TRect from = CentredIn(cell, at.Width(), at.Height());
    std::vector<RECT> glyph;
    for (int y = 0; y < at.Height(); ++y)
      for (int x = 0; x < at.Width(); ++x)
        if ((e.MaskMap.At(from.Left + x, from.Top + y) & 0xFFFFFF) != 0xFF00FF)
          glyph.push_back(RECT{at.Left + x, at.Top + y, at.Left + x + 1, at.Top + y + 1});
    return ShowsFrame(hwnd, ToRect(half), e, kUpDownFrames, frame, glyph);
  }
  std::wstring EditText() const { return lbb::input::TextOf(edit->Handle()); }

  forms::TEdit* edit = nullptr;
  forms::TUpDown* ud = nullptr;
};

TEST_F(SkinUpDown, EachClickStepsOnceAndTheBuddyFollows) {
  MakePair();
  ShowSkinned();
  auto* s = Skin<TSkinUpDown>(ud);
  ASSERT_EQ(s->kind, 1);
  EXPECT_EQ(s->dir, 0);
  EXPECT_FALSE(s->inedit);
  const TUpDownLayout l = Halves(ud->Handle());
  EXPECT_TRUE(HalfShows(ud->Handle(), l.First, 1));
  EXPECT_TRUE(HalfShows(ud->Handle(), l.Second, 5));
  SaveWindowShot(form->Handle(), "updown.png");
  ASSERT_TRUE(forms::test::ClickAt(ud->Handle(), MiddleOf(l.First)));
  EXPECT_TRUE(PumpUntil([&] { return ud->Position() == 8 && EditText() == L"8"; }))
      << "position " << ud->Position();
  ASSERT_TRUE(forms::test::ClickAt(ud->Handle(), MiddleOf(l.Second)));
  ASSERT_TRUE(forms::test::ClickAt(ud->Handle(), MiddleOf(l.Second)));
  EXPECT_TRUE(PumpUntil([&] { return ud->Position() == 6 && EditText() == L"6"; }))
      << "position " << ud->Position();
  Settle();
  EXPECT_EQ(ud->Position(), 6) << "a click stepped more than once";
}

TEST_F(SkinUpDown, TheHeldHalfShowsPressedAndRepeats) {
  MakePair();
  ShowSkinned();
  auto* s = Skin<TSkinUpDown>(ud);
  const TUpDownLayout l = Halves(ud->Handle());
  ASSERT_TRUE(forms::test::MoveMouseTo(ud->Handle(), MiddleOf(l.Second)));
  EXPECT_TRUE(HalfShows(ud->Handle(), l.Second, 8)) << "hot";
  EXPECT_TRUE(HalfShows(ud->Handle(), l.First, 1));
  ASSERT_TRUE(PressLeft());
  EXPECT_EQ(s->PressedHalf(), udSecond);
  EXPECT_TRUE(HalfShows(ud->Handle(), l.Second, 6)) << "pressed";
  EXPECT_TRUE(PumpUntil([&] { return ud->Position() <= 3; }))
      << "the held press did not repeat: position " << ud->Position();
  ASSERT_TRUE(ReleaseLeft());
  EXPECT_EQ(s->PressedHalf(), udNone);
  EXPECT_TRUE(HalfShows(ud->Handle(), l.Second, 8)) << "hot after the release";
  const int64_t after = ud->Position();
  Settle();
  EXPECT_EQ(ud->Position(), after) << "the repeat went on after the release";
  ud->SetEnabled(false);
  EXPECT_TRUE(HalfShows(ud->Handle(), l.First, 3)) << "disabled";
  EXPECT_TRUE(HalfShows(ud->Handle(), l.Second, 7)) << "disabled";
}

TEST_F(SkinUpDown, HorizontalHalvesStepLeftDownRightUp) {
  MakePair(forms::TUDOrientation::udHorizontal);
  ShowSkinned();
  auto* s = Skin<TSkinUpDown>(ud);
  EXPECT_EQ(s->dir, 1);
  const TUpDownLayout l = Halves(ud->Handle());
  EXPECT_TRUE(HalfShows(ud->Handle(), l.First, 1));
  EXPECT_TRUE(HalfShows(ud->Handle(), l.Second, 5));
  ASSERT_TRUE(forms::test::ClickAt(ud->Handle(), MiddleOf(l.Second)));
  EXPECT_TRUE(PumpUntil([&] { return ud->Position() == 8; })) << "position " << ud->Position();
  ASSERT_TRUE(forms::test::ClickAt(ud->Handle(), MiddleOf(l.First)));
  EXPECT_TRUE(PumpUntil([&] { return ud->Position() == 7; })) << "position " << ud->Position();
}

TEST_F(SkinUpDown, ABareUpDownIsSkinnedByHandle) {
  ShowSkinned();
  const HWND h = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 200, 20, 17, 30,
                                 form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(h, nullptr);
  SendMessageW(h, UDM_SETRANGE32, 0, 50);
  SendMessageW(h, UDM_SETPOS32, 0, 10);
  auto* s = dynamic_cast<TSkinUpDown*>(AttachSkinnerHwnd(*sf, TSkinnerKind::UpDown, h));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1);
  const TUpDownLayout l = Halves(h);
  EXPECT_TRUE(HalfShows(h, l.First, 1));
  ASSERT_TRUE(forms::test::ClickAt(h, MiddleOf(l.First)));
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(h, UDM_GETPOS32, 0, 0) == 11; }));
  ASSERT_TRUE(forms::test::ClickAt(h, MiddleOf(l.Second)));
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(h, UDM_GETPOS32, 0, 0) == 10; }));
  DestroyWindow(h);
  Settle();
}

TEST_F(SkinUpDown, AnUpDownInsideAnEditIsSkinnedOnTheEditsFirstPaintWithSpinOn) {
  ShowSkinned();
  for (const bool spin : {true, false}) {
    data->SetSkinControls(spin ? data->SkinControls() | SetOf(xcSpin)
                               : data->SkinControls() & ~SetOf(xcSpin));
    auto* box = Add<forms::TEdit>(20, 60, 120, 30);
    const HWND inner = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 100, 2, 15, 22,
                                       box->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(inner, nullptr);
    auto* skin = Skin<TSkinEdit>(box);
    RedrawWindow(box->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    Settle();
    if (spin) {
      auto* s = dynamic_cast<TSkinUpDown*>(skin->updown);
      ASSERT_NE(s, nullptr) << "the edit's paint did not skin its up-down";
      EXPECT_TRUE(s->inedit);
      EXPECT_EQ(s->hwnd, inner);
      EXPECT_EQ(SendMessageW(inner, SKM_ISSKINNED, 0, 0), 1);
      EXPECT_TRUE(HalfShows(inner, Halves(inner).First, 1));
    } else {
      EXPECT_EQ(skin->updown, nullptr);
      EXPECT_EQ(SendMessageW(inner, SKM_ISSKINNED, 0, 0), 0) << "skinned without xcSpin";
    }
    delete box;
    Settle();
  }
}

}  // namespace
}  // namespace lbb::skin::test
