// A skinned form with a memo (both bars), a list view, a scroll-bar control, a combo box and a
// bare list box, each given its scroll-bar skinner by hand (Tag 99 keeps the control-kind
// mapping away from them).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windowsx.h>

#include <filesystem>
#include <string>

#include "forms/Application.h"
#include "forms/ComboBox.h"
#include "forms/ListView.h"
#include "forms/Screenshot.h"
#include "forms/ScrollBar.h"
#include "forms/StdCtrls.h"
#include "skin/data/imgutil.h"
#include "skin/win/WindowSubclass.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinengine/EngineSupport.h"
#include "tests/win/skinscroll/ScrollSupport.h"
#include "tools/input/Input.h"

namespace {

using namespace lbb;
using namespace lbb::skin;
using namespace lbb::skin::test;
using forms::Place;

String Line(const char* prefix, int i) {
  return Utf8ToText(std::string(prefix) + std::to_string(i));
}

// What the drop-down list and its skinner are doing, for a failure.
std::string State(const TComboxScrollBar* cs, HWND list) {
  POINT c{};
  GetCursorPos(&c);
  return "fdown " + std::to_string(cs->fdown) + ", part " + std::to_string(cs->scrollpos) +
         ", top " + std::to_string(SendMessageW(list, LB_GETTOPINDEX, 0, 0)) + ", shown " +
         std::to_string(IsWindowVisible(list)) + ", capture on the list " +
         std::to_string(GetCapture() == list) + ", cursor " + std::to_string(c.x) + "," +
         std::to_string(c.y) + " over the list " + std::to_string(WindowFromPoint(c) == list);
}

class ScrollControls : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Start();
    form = new forms::TForm(nullptr);
    form->SetBounds(120, 60, 620, 460);
    form->SetCaption(u"Skinned scroll bars");
    MakeControls();
    form->ShowForm();
    ASSERT_TRUE(SkinShown(form->Handle()));
    sf = mgr->FindForm(form->Handle());
    ASSERT_NE(sf, nullptr);
    sd = sf->fsd;
    ASSERT_TRUE(sd && sd->SArrow && sd->VSlider && sd->VBar);
  }
  void TearDown() override {
    delete form;
    EngineTest::TearDown();
  }
  void MakeControls() {
    memo = Place<forms::TMemo>(form, 10, 10, 280, 170);
    memo->SetTag(99);
    memo->SetScrollBars(forms::TScrollStyle::ssBoth);
    memo->SetWordWrap(false);
    String text;
    for (int i = 0; i < 80; ++i)
      text += Line("a long line of the memo that runs past its right edge, number ", i) + u"\r\n";
    memo->Lines()->SetText(text);
    list = Place<forms::TListView>(form, 300, 10, 290, 170);
    list->SetTag(99);
    list->SetViewStyle(forms::TViewStyle::vsReport);
    for (const char* c : {"Title", "Date", "Address"})
      list->AddColumn(Utf8ToText(c), 130);
    for (int i = 0; i < 40; ++i)
      list->AddItem(Line("Article ", i))->SubItems()->Add(u"2026-12-09");
    bar = Place<forms::TScrollBar>(form, 10, 190, 240, 17);
    bar->SetTag(99);
    bar->SetKind(forms::TScrollBarKind::sbVertical);
    bar->SetMax(10000);
    bar->SetPageSize(1);
    combo = Place<forms::TComboBox>(form, 60, 190, 180, 24);
    combo->SetTag(99);
    combo->SetStyle(forms::TComboBoxStyle::csDropDownList);
    for (int i = 0; i < 40; ++i)
      combo->Items()->Add(Line("Item ", i));
    combo->SetDropDownCount(8);
    combo->SetItemIndex(0);
    box = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 300, 190, 290,
                          170, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < 60; ++i)
      SendMessageW(box, LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(
                       reinterpret_cast<const wchar_t*>(Line("Bare list box line ", i).c_str())));
  }
  bool OverNativeBar(HWND host, LONG object, HWND overlay) {
    SCROLLBARINFO info;
    if (!ReadScrollBarInfo(host, object, info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
      return false;
    RECT o{};
    GetWindowRect(overlay, &o);
    return IsWindowVisible(overlay) && EqualRect(&o, &info.rcScrollBar);
  }

  forms::TForm* form = nullptr;
  forms::TMemo* memo = nullptr;
  forms::TListView* list = nullptr;
  forms::TScrollBar* bar = nullptr;
  forms::TComboBox* combo = nullptr;
  HWND box = nullptr;
  // The list view's and the bare list box's skinners, started as the control-kind mapping
  // starts them (Init, Inithwnd).
  TSkinListView* SkinList() {
    auto* lv = new TSkinListView(list);
    lv->Init(sf, sd, sf->HostCanvas(), false);
    return lv;
  }
  TSkinScrollbarH* SkinBox() {
    auto* bare = new TSkinScrollbarH(nullptr);
    bare->Inithwnd(box, sd, sf->HostCanvas(), sf);
    return bare;
  }

  TWinSkinForm* sf = nullptr;
  TSkinData* sd = nullptr;
};

TEST_F(ScrollControls, EveryHostGetsOverlaysOverItsBars) {
  TSkinScrollbar* m = ScrollSkinnerOf(sf, memo);
  TSkinListView* lv = SkinList();
  auto* sc = new TSkinScControl(bar);
  sc->Init(sf, sd, sf->HostCanvas(), false);
  TSkinScrollbarH* bare = SkinBox();
  EXPECT_TRUE(PumpUntil([&] {
    return OverNativeBar(memo->Handle(), OBJID_VSCROLL, m->vb->Handle()) &&
           OverNativeBar(memo->Handle(), OBJID_HSCROLL, m->hb->Handle()) &&
           OverNativeBar(list->Handle(), OBJID_VSCROLL, lv->vb->Handle()) &&
           OverNativeBar(box, OBJID_VSCROLL, bare->vb->Handle());
  })) << "an overlay is missing or misplaced";
  // The corner square between the memo's two bars: the skin's ButtonFace.
  RECT v{}, h{};
  GetWindowRect(m->vb->Handle(), &v);
  GetWindowRect(m->hb->Handle(), &h);
  ASSERT_TRUE(forms::test::Check(input::BringToFront(form->Handle(), forms::test::Waiting())));
  const RECT corner{v.left, h.top, v.right, h.bottom};
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer px = forms::CaptureScreen(corner);
    return !px.Empty() && (px.At(px.Width() / 2, px.Height() / 2) & 0xFFFFFF) == FacePixel(*sd);
  })) << "the corner between the memo's bars is not the skin's ButtonFace";
  RECT o{}, b{};
  GetWindowRect(sc->sb->Handle(), &o);
  GetWindowRect(bar->Handle(), &b);
  EXPECT_TRUE(EqualRect(&o, &b)) << "the scroll-bar control's overlay is not over it";
  // A list view's header changing its columns places the bars again: narrow columns need no
  // horizontal bar.
  for (int i = 0; i < 3; ++i)
    list->Columns(i)->SetWidth(60);
  EXPECT_TRUE(PumpUntil([&] {
    SCROLLBARINFO info;
    return ReadScrollBarInfo(list->Handle(), OBJID_HSCROLL, info) &&
           bool(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) == !IsWindowVisible(lv->hb->Handle());
  }));
  ASSERT_TRUE(forms::test::Check(input::BringToFront(form->Handle(), forms::test::Waiting())));
  Settle();
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  EXPECT_TRUE(forms::SaveWindowPng(form->Handle(), LBB_SCREENSHOT_DIR "/skinned-scroll-bars.png"));
}

// A click on an overlay's second arrow, in the overlay's own coordinates.
::testing::AssertionResult ClickSecondArrow(const TWScrollbar& b) {
  RECT o{};
  GetWindowRect(b.Handle(), &o);
  const int w = o.right - o.left, h = o.bottom - o.top;
  const POINT at = b.sbDir == kSbVertical ? POINT{w / 2, h - b.CW / 2} : POINT{w - b.CW / 2, h / 2};
  return forms::test::ClickAt(b.Handle(), at);
}

TEST_F(ScrollControls, ClicksOnTheOverlaysScrollTheirHosts) {
  TSkinScrollbar* m = ScrollSkinnerOf(sf, memo);
  TSkinListView* lv = SkinList();
  TSkinScrollbarH* bare = SkinBox();
  ASSERT_TRUE(PumpUntil([&] {
    return IsWindowVisible(m->hb->Handle()) && IsWindowVisible(lv->vb->Handle()) &&
           IsWindowVisible(bare->vb->Handle());
  }));
  // The memo's horizontal bar: its text moves left.
  auto firstCharX = [&] {
    return GET_X_LPARAM(SendMessageW(memo->Handle(), EM_POSFROMCHAR, 0, 0));
  };
  const int x0 = firstCharX();
  ASSERT_TRUE(ClickSecondArrow(*m->hb));
  EXPECT_TRUE(PumpUntil([&] { return firstCharX() < x0; })) << "the memo did not scroll right";
  // The list view and the bare list box: one row down.
  ASSERT_TRUE(ClickSecondArrow(*lv->vb));
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(list->Handle(), LVM_GETTOPINDEX, 0, 0) == 1; }))
      << "the list view did not scroll a row";
  ASSERT_TRUE(ClickSecondArrow(*bare->vb));
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(box, LB_GETTOPINDEX, 0, 0) == 1; }))
      << "the bare list box did not scroll a line";
}

TEST_F(ScrollControls, ScrollBarControlWithATinyPageGetsAnEightPixelThumb) {
  auto* sc = new TSkinScControl(bar);
  sc->Init(sf, sd, sf->HostCanvas(), false);
  ASSERT_TRUE(sc->sb);
  ASSERT_TRUE(forms::test::Check(input::BringToFront(form->Handle(), forms::test::Waiting())));
  Settle();
  const HWND overlay = sc->sb->Handle();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(overlay); }));
  RECT o{};
  GetWindowRect(overlay, &o);
  const int w = o.right - o.left, cw = sc->sb->CW;
  const int t = SkinScrollThickness(*sd, cw);
  // Position 0: the thumb starts after the up arrow and is 8 pixels long (a page of 1 in a
  // range of 10 000 is far less); the skin's thumb image is drawn there at that length, the
  // track below it.
  PixelBuffer expected(t, 9);
  const auto& vbar = *sd->VBar;
  const auto& slider = *sd->VSlider;
  DrawSkinImage(expected, TRect{0, 0, t, 9}, vbar.Map, false, vbar.Tile == 1, false, 4, 1, vbar.r);
  DrawSkinImage(expected, TRect{0, 0, t, 8}, slider.Map, false, slider.Tile == 1, slider.trans == 1,
                slider.frame, 1, slider.r);
  PixelBuffer scaled(w, 9);
  StretchCopy(scaled, TRect{0, 0, w, 9}, expected, TRect{0, 0, t, 9});
  EXPECT_TRUE(PumpUntil([&] {
    return Differing(ScreenOf(overlay), RECT{0, cw, w, cw + 9}, scaled, 0, 0) == 0;
  })) << "the thumb is not the skin's thumb 8 pixels long at the top of the track";
  // A click on the overlay's down arrow reaches the control: one small step.
  ASSERT_TRUE(forms::test::ClickAt(overlay, POINT{w / 2, (o.bottom - o.top) - cw / 2}));
  EXPECT_TRUE(PumpUntil([&] { return bar->Position() == 1; })) << "the click did not step";
}

TEST_F(ScrollControls, ComboListScrollsWhenItsSkinnedBarIsPressed) {
  ASSERT_TRUE(forms::test::Check(input::BringToFront(form->Handle(), forms::test::Waiting())));
  // Dropped down as a click would: the box has the focus first.
  combo->SetFocus();
  forms::test::Settle();
  combo->SetDroppedDown(true);
  COMBOBOXINFO cbi{};
  cbi.cbSize = sizeof cbi;
  ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &cbi));
  const HWND listWnd = cbi.hwndList;
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(listWnd) != FALSE; }));
  auto* cs = new TComboxScrollBar(combo);
  cs->Init(sf, sd, sf->HostCanvas(), false);
  ASSERT_EQ(cs->hwnd, listWnd);
  forms::test::Settle();
  SCROLLBARINFO info;
  ASSERT_TRUE(ReadScrollBarInfo(listWnd, OBJID_VSCROLL, info));
  const RECT& r = info.rcScrollBar;
  ASSERT_GT(r.bottom, r.top);
  auto topIndex = [&] { return int(SendMessageW(listWnd, LB_GETTOPINDEX, 0, 0)); };
  const int top = topIndex();
  // The down arrow held: the skinner's own tracking repeats the step.
  const POINT down{(r.left + r.right) / 2, r.bottom - cs->cw / 2};
  ASSERT_TRUE(forms::test::Check(input::MoveMouse(down, forms::test::Waiting())));
  ASSERT_TRUE(IsWindowVisible(listWnd))
      << "the list closed before the press: " << State(cs, listWnd);
  EXPECT_TRUE(HoldButton(
      down, [&] { return cs->fdown && cs->scrollpos == kSbSecondArrow && topIndex() >= top + 3; },
      "the list scrolling line by line under the skinned down arrow"))
      << State(cs, listWnd);
  EXPECT_TRUE(PumpUntil([&] { return !cs->fdown; }));
  // The thumb dragged down: the list follows it.
  ASSERT_TRUE(ReadScrollBarInfo(listWnd, OBJID_VSCROLL, info));
  const int before = topIndex();
  const POINT thumb{(r.left + r.right) / 2, r.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  ASSERT_TRUE(forms::test::Check(input::MoveMouse(thumb, forms::test::Waiting())));
  bool moved = false;
  EXPECT_TRUE(HoldButton(
      thumb,
      [&] {
        if (!cs->fdown || cs->scrollpos != kSbThumb) return false;
        if (!moved) moved = SendMouseMove(POINT{thumb.x, thumb.y + 40});
        return topIndex() > before + 3;
      },
      "the list following the skinned thumb"))
      << State(cs, listWnd);
  // From the top again, a click on the page below the thumb: a page further.
  SendMessageW(listWnd, LB_SETTOPINDEX, 0, 0);
  forms::test::Settle();
  ASSERT_TRUE(ReadScrollBarInfo(listWnd, OBJID_VSCROLL, info));
  const int paged = topIndex();
  POINT page{(r.left + r.right) / 2, r.top + (info.xyThumbBottom + r.bottom - r.top - cs->cw) / 2};
  ScreenToClient(listWnd, &page);
  ASSERT_TRUE(forms::test::ClickAt(listWnd, page));
  EXPECT_TRUE(PumpUntil([&] { return topIndex() >= paged + 7; }))
      << "the page area did not scroll the list a page";
  EXPECT_TRUE(cs->painted) << "the list's bar was never drawn by the skinner";
  combo->SetDroppedDown(false);
}

// A program's scroll handler may free the skinner (a skin switched off, say) while the skinner
// tracks a press on the list's bar: the list window stays, and must not keep the mouse.
TEST_F(ScrollControls, AListSkinnerFreedByItsFirstStepLeavesTheMouseFree) {
  ASSERT_TRUE(forms::test::Check(input::BringToFront(form->Handle(), forms::test::Waiting())));
  auto* cs = new TComboxScrollBar(nullptr);
  cs->Inithwnd(box, sd, sf->HostCanvas(), sf);
  ASSERT_EQ(cs->hwnd, box);
  const int cw = cs->cw;
  bool freed = false;
  TWindowSubclass freer;
  ASSERT_TRUE(freer.Install(box, [&](UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_VSCROLL && !freed) {
      freed = true;
      delete cs;
    }
    return freer.CallPrevious(msg, wParam, lParam);
  }));
  SCROLLBARINFO info;
  ASSERT_TRUE(ReadScrollBarInfo(box, OBJID_VSCROLL, info));
  const RECT& r = info.rcScrollBar;
  const POINT down{(r.left + r.right) / 2, r.bottom - cw / 2};
  ASSERT_TRUE(forms::test::Check(input::MoveMouse(down, forms::test::Waiting())));
  EXPECT_TRUE(HoldButton(
      down, [&] { return freed; }, "the first step of the skinned arrow"));
  EXPECT_TRUE(PumpUntil([&] { return GetCapture() != box; }))
      << "the list box still holds the mouse after the press ended";
}

TEST_F(ScrollControls, TheScrollBarControlsHintShowsOverItsOverlay) {
  bar->SetHint(u"Position");
  bar->SetShowHint(true);
  auto* sc = new TSkinScControl(bar);
  sc->Init(sf, sd, sf->HostCanvas(), false);
  ASSERT_TRUE(sc->sb);
  ASSERT_TRUE(forms::test::Check(input::BringToFront(form->Handle(), forms::test::Waiting())));
  const HWND overlay = sc->sb->Handle();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(overlay); }));
  RECT o{};
  GetWindowRect(overlay, &o);
  ASSERT_TRUE(
      forms::test::MoveMouseTo(nullptr, POINT{(o.left + o.right) / 2, (o.top + o.bottom) / 2}));
  EXPECT_TRUE(PumpUntil([&] { return forms::Application->HintControl() == bar; }))
      << "the mouse over the overlay is not over the scroll bar for the hints ";
  // Off the overlay the control has the mouse no longer.
  ASSERT_TRUE(forms::test::MoveMouseTo(nullptr, POINT{o.left - 40, o.bottom + 60}));
  EXPECT_TRUE(PumpUntil([&] { return forms::Application->HintControl() != bar; }));
}

}  // namespace
