// The program's main window with the skin manager running: its log memo's vertical bar is
// drawn by an overlay, which follows the memo and hands real mouse presses to it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/Unit1.h"
#include "base/Colour.h"
#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "skin/data/imgutil.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/WindowSubclass.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinscroll/ScrollSupport.h"
#include "tools/input/Input.h"

namespace {

using namespace lbb;
using namespace lbb::skin;
using namespace lbb::skin::test;
using forms::test::PumpUntil;
using forms::test::Settle;

struct TStrayWalk {
  HWND host;
  int stray = 0;
};

// Counts a shown overlay that does not lie over one of the walk's host's bars.
BOOL CALLBACK CountStray(HWND w, LPARAM p) {
  auto* state = reinterpret_cast<TStrayWalk*>(p);
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (std::wstring(cls) != L"LbbSkinScrollbar" || !IsWindowVisible(w)) return TRUE;
  RECT o{};
  GetWindowRect(w, &o);
  bool over = false;
  for (LONG object : {OBJID_VSCROLL, OBJID_HSCROLL}) {
    SCROLLBARINFO info;
    if (ReadScrollBarInfo(state->host, object, info) &&
        !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) && EqualRect(&o, &info.rcScrollBar))
      over = true;
  }
  if (!over) ++state->stray;
  return TRUE;
}

// The shown overlays among `parent`'s children that do not lie over one of `host`'s bars.
int StrayOverlays(HWND parent, HWND host) {
  TStrayWalk walk{host};
  EnumChildWindows(parent, &CountStray, reinterpret_cast<LPARAM>(&walk));
  return walk.stray;
}

class MemoBar : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::test::EnsureApplication();
    UseSkinManager();
    form = new app::TForm1(forms::Application);
    form->DoCreate();
    form->ShowForm();
    ASSERT_TRUE(PumpUntil([&] {
      TWinSkinForm* f = Skinner();
      return f && f->Skinstate == kSkinIdle && f->Subclassed();
    })) << "the main window was not skinned";
    Settle();
    sf = Skinner();
    skinner = ScrollSkinnerOf(sf, form->Memo1);
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(skinner->vb);
    sd = sf->fsd;
    ASSERT_TRUE(sd && sd->SArrow && sd->VBar);
  }
  void TearDown() override {
    delete form;
    Settle();
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
    Settle();
  }
  TWinSkinForm* Skinner() const {
    TSkinManage* m = SkinManagerInstance();
    return m && form->HandleAllocated() ? m->FindForm(form->Handle()) : nullptr;
  }
  HWND Memo() const { return form->Memo1->Handle(); }
  HWND Overlay() const { return skinner->vb->Handle(); }
  int FirstLine() const { return int(SendMessageW(Memo(), EM_GETFIRSTVISIBLELINE, 0, 0)); }
  void Fill(int lines) {
    std::u16string text;
    for (int i = 1; i <= lines; ++i) {
      if (i > 1) text += u"\r\n";
      text += u"第 " + Utf8ToText(std::to_string(i)) + u" 行 log line";
    }
    form->Memo1->Lines()->SetText(text);
    SendMessageW(Memo(), WM_VSCROLL, SB_TOP, 0);
  }
  // The native vertical bar's rectangle on the screen; empty when it is not shown.
  RECT NativeBar() const {
    SCROLLBARINFO info;
    if (!ReadScrollBarInfo(Memo(), OBJID_VSCROLL, info) ||
        (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
      return RECT{};
    return info.rcScrollBar;
  }
  // The overlay is shown exactly over the native bar.
  bool OverBar() const {
    const RECT bar = NativeBar();
    RECT o{};
    GetWindowRect(Overlay(), &o);
    return IsWindowVisible(Overlay()) && bar.right > bar.left && EqualRect(&o, &bar);
  }
  void Front() {
    ASSERT_TRUE(forms::test::Check(input::BringToFront(form->Handle(), forms::test::Waiting())));
    Settle();
  }
  int Arrow() const {
    RECT o{};
    GetWindowRect(Overlay(), &o);
    return ScrollArrowLength(o.bottom - o.top, skinner->vb->CW);
  }
  int Thick() const { return SkinScrollThickness(*sd, skinner->vb->CW); }

  app::TForm1* form = nullptr;
  TWinSkinForm* sf = nullptr;
  TSkinScrollbar* skinner = nullptr;
  TSkinData* sd = nullptr;
};

TEST_F(MemoBar, OverlayAppearsOverTheBarOnceTextFillsTheMemo) {
  Front();
  // Before the text: an overlay only where the memo shows a bar.
  // Wine's memo shows its bar (disabled) while the text fits; a memo whose bar is hidden
  // (as an empty memo's is where the platform hides it) has no overlay shown.
  ShowScrollBar(Memo(), SB_VERT, FALSE);
  ASSERT_TRUE(PumpUntil([&] { return NativeBar().right == 0 && !IsWindowVisible(Overlay()); }))
      << "the memo's bar is hidden, its overlay is not";
  SCROLLBARINFO before;
  ASSERT_TRUE(ReadScrollBarInfo(Memo(), OBJID_VSCROLL, before));
  Fill(200);
  ASSERT_TRUE(PumpUntil([&] { return OverBar(); })) << "no overlay over the memo's bar";
  SCROLLBARINFO after;
  ASSERT_TRUE(ReadScrollBarInfo(Memo(), OBJID_VSCROLL, after));
  EXPECT_FALSE(after.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) << "200 lines make the bar usable";
  Settle();
  // Both arrows in their normal frames, at the ends of the bar.
  RECT o{};
  GetWindowRect(Overlay(), &o);
  const int w = o.right - o.left, h = o.bottom - o.top, a = Arrow();
  const PixelBuffer up = ArrowPiece(*sd, kUpNormal, w, a, Thick());
  const PixelBuffer down = ArrowPiece(*sd, kDownNormal, w, a, Thick());
  ASSERT_TRUE(PumpUntil([&] {
    const PixelBuffer screen = ScreenOf(Overlay());
    return Differing(screen, RECT{0, 0, w, a}, up, 0, 0) == 0 &&
           Differing(screen, RECT{0, h - a, w, h}, down, 0, 0) == 0;
  })) << "the overlay does not show the skin's arrows";
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  EXPECT_TRUE(forms::SaveWindowPng(form->Handle(), LBB_SCREENSHOT_DIR "/skinned-memo-bar.png"));
}

TEST_F(MemoBar, HoldingTheDownArrowRepeatsAndShowsItPressedUntilRelease) {
  Fill(200);
  ASSERT_TRUE(PumpUntil([&] { return OverBar(); }));
  Front();
  RECT o{};
  GetWindowRect(Overlay(), &o);
  const int w = o.right - o.left, h = o.bottom - o.top, a = Arrow();
  const PixelBuffer pressed = ArrowPiece(*sd, kDownPressed, w, a, Thick());
  const PixelBuffer normal = ArrowPiece(*sd, kDownNormal, w, a, Thick());
  const POINT at{o.left + w / 2, o.bottom - a / 2};
  ASSERT_TRUE(forms::test::Check(input::MoveMouse(at, forms::test::Waiting())));
  const int first = FirstLine();
  bool shownPressed = false;
  EXPECT_TRUE(HoldButton(
      at,
      [&] {
        if (!skinner->vb->fdown) return false;
        const PixelBuffer screen = ScreenOf(Overlay());
        shownPressed = Differing(screen, RECT{0, h - a, w, h}, pressed, 0, 0) == 0;
        return shownPressed && FirstLine() - first >= 3;
      },
      "the memo scrolling more than once with the down arrow shown pressed"));
  EXPECT_GE(FirstLine() - first, 3);
  // Released with the cursor still on it: the arrow is hot; once the cursor leaves, normal.
  const PixelBuffer hot = ArrowPiece(*sd, kDownHot, w, a, Thick());
  EXPECT_TRUE(PumpUntil([&] {
    return !skinner->vb->fdown &&
           Differing(ScreenOf(Overlay()), RECT{0, h - a, w, h}, hot, 0, 0) == 0;
  })) << "the down arrow is not hot after the release";
  ASSERT_TRUE(forms::test::MoveMouseTo(form->Handle(), POINT{100, 100}));
  EXPECT_TRUE(PumpUntil([&] {
    return Differing(ScreenOf(Overlay()), RECT{0, h - a, w, h}, normal, 0, 0) == 0;
  })) << "the down arrow did not go back to normal when the cursor left";
}

TEST_F(MemoBar, MemoDestroyedWhileItsArrowIsHeldTakesItsOverlayAlong) {
  Fill(200);
  ASSERT_TRUE(PumpUntil([&] { return OverBar(); }));
  Front();
  RECT o{};
  GetWindowRect(Overlay(), &o);
  const POINT at{(o.left + o.right) / 2, o.bottom - Arrow() / 2};
  ASSERT_TRUE(forms::test::Check(input::MoveMouse(at, forms::test::Waiting())));
  const HWND overlay = Overlay();
  // The memo (and its skinner and overlay with it) goes inside the memo's own tracking loop,
  // under the overlay's press.
  EXPECT_TRUE(HoldButton(
      at,
      [&] {
        if (!form->Memo1 || !skinner->vb->fdown) return false;
        delete form->Memo1;
        form->Memo1 = nullptr;
        return true;
      },
      "the memo being destroyed during the press"));
  Settle();
  EXPECT_FALSE(IsWindow(overlay));
}

TEST_F(MemoBar, DraggingTheThumbScrollsTheMemo) {
  Fill(200);
  ASSERT_TRUE(PumpUntil([&] { return OverBar(); }));
  Front();
  SCROLLBARINFO info;
  ASSERT_TRUE(ReadScrollBarInfo(Memo(), OBJID_VSCROLL, info));
  const RECT& bar = info.rcScrollBar;
  ASSERT_GT(info.xyThumbBottom, info.xyThumbTop);
  const POINT at{(bar.left + bar.right) / 2, bar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  ASSERT_TRUE(forms::test::Check(input::MoveMouse(at, forms::test::Waiting())));
  bool moved = false;
  EXPECT_TRUE(HoldButton(
      at,
      [&] {
        if (!skinner->vb->fdown || skinner->vb->scrollpos != kSbThumb) return false;
        if (!moved) moved = SendMouseMove(POINT{at.x, at.y + 60});
        return FirstLine() > 0;
      },
      "the memo scrolling as the thumb was dragged down"));
  EXPECT_GT(FirstLine(), 0);
}

TEST_F(MemoBar, DisabledMemoShowsTheDisabledTrackAndNoThumb) {
  Fill(200);
  ASSERT_TRUE(PumpUntil([&] { return OverBar(); }));
  form->Memo1->SetEnabled(false);
  Front();
  RECT o{};
  GetWindowRect(Overlay(), &o);
  const int w = o.right - o.left, h = o.bottom - o.top, a = Arrow(), t = Thick();
  // The track between the arrows: VBar's frame 3 of 4 on ButtonFace, nothing over it.
  PixelBuffer expected(w, h - 2 * a);
  expected.Fill(FacePixel(*sd));
  const auto& vbar = *sd->VBar;
  DrawSkinImage(expected, TRect{0, 0, t, h - 2 * a}, vbar.Map, false, vbar.Tile == 1,
                vbar.trans == 1, 4, 3, vbar.r);
  EXPECT_TRUE(PumpUntil([&] {
    return Differing(ScreenOf(Overlay()), RECT{0, a, w, h - a}, expected, 0, 0) == 0;
  })) << "the disabled memo's bar is not the disabled track alone";
  form->Memo1->SetEnabled(true);
}

TEST_F(MemoBar, ShortBarDrawsTwoHalfArrowsAndNoTrack) {
  Fill(200);
  form->Memo1->SetAlign(forms::TAlign::alNone);
  form->Memo1->SetBounds(0, 0, 300, 4 + skinner->vb->CW + skinner->vb->CW / 2);
  ASSERT_TRUE(PumpUntil([&] { return OverBar(); })) << "no overlay over the short bar";
  Front();
  RECT o{};
  GetWindowRect(Overlay(), &o);
  const int w = o.right - o.left, h = o.bottom - o.top;
  ASSERT_LT(h, 2 * skinner->vb->CW);
  const int half = h / 2;
  const PixelBuffer up = ArrowPiece(*sd, kUpNormal, w, half, Thick());
  const PixelBuffer down = ArrowPiece(*sd, kDownNormal, w, half, Thick());
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer screen = ScreenOf(Overlay());
    return Differing(screen, RECT{0, 0, w, half}, up, 0, 0) == 0 &&
           Differing(screen, RECT{0, h - half, w, h}, down, 0, 0) == 0;
  })) << "the short bar does not show two half-length arrows";
}

TEST_F(MemoBar, OverlayFollowsAResizedMovedHiddenAndDestroyedMemo) {
  Fill(200);
  ASSERT_TRUE(PumpUntil([&] { return OverBar(); }));
  forms::TMemo* memo = form->Memo1;
  memo->SetAlign(forms::TAlign::alNone);
  memo->SetBounds(0, 0, 300, 150);
  EXPECT_TRUE(PumpUntil([&] { return OverBar(); })) << "after a resize";
  memo->SetBounds(40, 30, 300, 150);
  EXPECT_TRUE(PumpUntil([&] { return OverBar(); })) << "after a move";
  memo->SetVisible(false);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(Overlay()); })) << "after a hide";
  memo->SetVisible(true);
  EXPECT_TRUE(PumpUntil([&] { return OverBar(); })) << "after showing it again";
  // A new window for the memo: the form skinner is asked to skin it afresh, and no overlay
  // stays shown anywhere but over the memo's new bar.
  std::vector<WPARAM> reskins;
  TWindowSubclass spy;
  spy.Install(form->Handle(), [&](UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == SKM_RESKINSCROLLBAR) reskins.push_back(wParam);
    return spy.CallPrevious(msg, wParam, lParam);
  });
  const HWND oldWindow = memo->Handle();
  memo->RecreateWnd();
  EXPECT_TRUE(PumpUntil([&] { return !reskins.empty(); })) << "no re-skin asked for";
  EXPECT_EQ(reskins.size() == 1 ? reskins[0] : 0, reinterpret_cast<WPARAM>(oldWindow));
  spy.Restore();
  EXPECT_TRUE(PumpUntil([&] { return StrayOverlays(form->Handle(), memo->Handle()) == 0; }))
      << "an overlay stayed where the memo's old window had its bar";
  // The form skinner gave the memo's new window a scroll-bar skinner of its own.
  auto listed = [&]() -> TSkinScrollbar* {
    for (TSkinControl* c : sf->Controls())
      if (auto* s = dynamic_cast<TSkinScrollbar*>(c); s && s->hwnd == memo->Handle()) return s;
    return nullptr;
  };
  ASSERT_TRUE(PumpUntil([&] { return listed() != nullptr; }))
      << "the memo's new window got no scroll-bar skinner";
  skinner = listed();
  EXPECT_TRUE(PumpUntil([&] { return OverBar(); })) << "no overlay over the new window's bar";
  const HWND overlay = Overlay();
  memo->DestroyHandle();
  EXPECT_FALSE(IsWindowVisible(overlay)) << "the memo's window went, its overlay stays shown";
  delete memo;
  form->Memo1 = nullptr;
  EXPECT_FALSE(IsWindow(overlay)) << "the overlay outlived its memo";
}

TEST_F(MemoBar, MemoBorderIsTheSkinsTwoPixelFrame) {
  Front();
  RECT w{};
  GetWindowRect(Memo(), &w);
  const int W = w.right - w.left, H = w.bottom - w.top;
  const Pixel shadow = PixelOf(ColorToRGB(sd->Colors[kShemeButtonShadow]));
  const Pixel face = FacePixel(*sd);
  // Into a memory surface on request, and on the screen after the memo's own frame paint.
  TDibSurface surface(W, H);
  EXPECT_EQ(
      SendMessageW(Memo(), SKM_PAINTFRAMETO, reinterpret_cast<WPARAM>(surface.Dc()), SkinMagic),
      SkinMagic);
  const PixelBuffer& painted = surface.Pixels();
  auto frameIs = [&](const PixelBuffer& px) {
    for (int y : {0, H / 2, H - 1})
      if ((px.Get(0, y) & 0xFFFFFF) != shadow || (px.Get(W - 1, y) & 0xFFFFFF) != shadow)
        return false;
    for (int x : {1, W / 3})
      if ((px.Get(x, 0) & 0xFFFFFF) != shadow || (px.Get(x, 1) & 0xFFFFFF) != face) return false;
    return (px.Get(1, H / 2) & 0xFFFFFF) == face && (px.Get(W / 3, H - 2) & 0xFFFFFF) == face;
  };
  EXPECT_TRUE(frameIs(painted)) << "the frame painted on request";
  RedrawWindow(Memo(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(PumpUntil([&] { return frameIs(ScreenOf(Memo())); })) << "the frame on the screen";
}

TEST_F(MemoBar, ClickingTheOverlayScrollsWithoutMovingTheFocus) {
  Fill(200);
  ASSERT_TRUE(PumpUntil([&] { return OverBar(); }));
  Front();
  form->Edit1->SetFocus();
  ASSERT_EQ(GetFocus(), form->Edit1->Handle());
  RECT o{};
  GetWindowRect(Overlay(), &o);
  const int first = FirstLine();
  ASSERT_TRUE(forms::test::ClickAt(Overlay(),
                                   POINT{(o.right - o.left) / 2, o.bottom - o.top - Arrow() / 2}));
  EXPECT_TRUE(PumpUntil([&] { return FirstLine() == first + 1; })) << "one click, one line";
  EXPECT_EQ(GetFocus(), form->Edit1->Handle());
  EXPECT_EQ(GetActiveWindow(), form->Handle());
}

}  // namespace
