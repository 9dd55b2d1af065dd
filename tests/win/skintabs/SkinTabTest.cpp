// The skinned page control under Wine, mapped as the form skinner maps it: each tab shows its
// frame of the skin's tab image (selected, normal, hot under the real mouse and normal again
// once the mouse left), the page border comes from the tab element's second image, the pages
// are filled with the skin's ButtonFace, a real click switches pages with the control's own
// notifications, an overflowing strip keeps the native up-down and scrolls; a button-style tab
// control gets button frames; a class listed as "advpagecontrol" gets TSkinAdvPage.
#include <windows.h>

#include <commctrl.h>

#include "base/Colour.h"
#include "forms/PageControl.h"
#include "forms/StdCtrls.h"
#include "skin/controls/WinSkinTab.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skintabs/TabSupport.h"

namespace lbb::forms {

// A page control of another class, for the Skin3rd list to name.
class TAdvTestPages : public TPageControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TAdvTestPages(TComponent* owner) : TPageControl(owner) {}
};

const TClassInfo& TAdvTestPages::StaticClassInfo() {
  static const TClassInfo info(u"TAdvTestPages", &TPageControl::StaticClassInfo());
  return info;
}

}  // namespace lbb::forms

namespace lbb::skin::test {
namespace {

constexpr int kTabFrames = 5;

class SkinTab : public TabTest {
 protected:
  // A page control with one sheet per caption, mapped (not tagged away from the mapping).
  template <class P = forms::TPageControl>
  P* Pages(int left, int top, int width, int height, std::initializer_list<const char16_t*> caps) {
    auto* pc = forms::Place<P>(form, left, top, width, height);
    for (const char16_t* c : caps) {
      auto* sheet = new forms::TTabSheet(form);
      sheet->SetCaption(c);
      sheet->SetPageControl(pc);
    }
    return pc;
  }
  const TDataSkinObject& Tab() const { return *data->tab; }
  std::function<RECT()> TabAt(TSkinTab* s, int i) const {
    return [s, i] { return ToRect(s->TabRect(i)); };
  }
};

TEST_F(SkinTab, PageControlTabsShowTheirFramesAndTheMouseMakesOneHot) {
  auto* pc = Pages(20, 20, 330, 200, {u"Blog", u"Album", u"Log"});
  ShowSkinned();
  auto* s = SkinnerOf<TSkinTab>(pc->Handle());
  ASSERT_NE(s, nullptr) << "the page control got no tab skinner";
  const HWND h = pc->Handle();
  // Selected (the control has no focus), normal, normal.
  EXPECT_TRUE(ShowsFrameAt(h, TabAt(s, 0), Tab(), kTabFrames, 2, 1)) << "selected tab";
  EXPECT_TRUE(ShowsFrameAt(h, TabAt(s, 1), Tab(), kTabFrames, 1, 4)) << "normal tab";
  // The selected tab stands two pixels higher than the others.
  EXPECT_EQ(s->TabRect(0).Top + 2, s->TabRect(1).Top);
  // The real mouse over the third tab makes it hot; away again, normal.
  ASSERT_TRUE(forms::test::MoveMouseTo(h, Centre(ToRect(s->TabRect(2)))));
  EXPECT_TRUE(PumpUntil([&] { return s->HotTab() == 2; }));
  EXPECT_TRUE(ShowsFrameAt(h, TabAt(s, 2), Tab(), kTabFrames, 4, 1)) << "hot tab";
  SaveShot("page-control-hot.png");
  ASSERT_TRUE(forms::test::MoveMouseTo(form->Handle(), Away()));
  EXPECT_TRUE(PumpUntil([&] { return s->HotTab() == -1; })) << "the mouse left unnoticed";
  EXPECT_TRUE(ShowsFrameAt(h, TabAt(s, 2), Tab(), kTabFrames, 1, 4)) << "after the mouse left";
}

TEST_F(SkinTab, RealClickSwitchesPagesWithTheControlsNotifications) {
  auto* pc = Pages(20, 20, 330, 200, {u"Blog", u"Album", u"Log"});
  auto* label = forms::Place<forms::TLabel>(pc->Pages(1), 10, 10, 120, 16);
  label->SetCaption(u"Album page");
  int changing = 0, changed = 0;
  pc->OnChanging = [&](forms::TObject*, bool&) { ++changing; };
  pc->OnChange = [&](forms::TObject*) { ++changed; };
  ShowSkinned();
  auto* s = SkinnerOf<TSkinTab>(pc->Handle());
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return s->TabRect(1).Right > 0; }));
  ASSERT_TRUE(forms::test::ClickAt(pc->Handle(), Centre(ToRect(s->TabRect(1)))));
  EXPECT_TRUE(PumpUntil([&] { return pc->ActivePage() == pc->Pages(1); }))
      << "the click did not switch pages";
  EXPECT_EQ(pc->TabIndex(), 1);
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  EXPECT_TRUE(IsWindowVisible(pc->Pages(1)->Handle()));
  EXPECT_FALSE(IsWindowVisible(pc->Pages(0)->Handle()));
  // The clicked control has the focus: the selected tab shows the focused frame.
  EXPECT_TRUE(ShowsFrameAt(pc->Handle(), TabAt(s, 1), Tab(), kTabFrames, 5, 1));
  EXPECT_TRUE(ShowsFrameAt(pc->Handle(), TabAt(s, 0), Tab(), kTabFrames, 1, 2));
  // The page is skinned and filled with the skin's ButtonFace, away from its label.
  const HWND page = pc->Pages(1)->Handle();
  EXPECT_EQ(SendMessageW(page, SKM_ISSKINNED, 0, 0), 1);
  const Pixel face = PixelOf(ColorToRGB(data->Colors[kShemeButtonFace]));
  EXPECT_TRUE(PumpUntil([&] {
    return PixelAt(page, POINT{200, 120}) == face;
  })) << "the page is not ButtonFace";
  // The page border: the left edge of the border image at the border's left edge.
  const PixelBuffer& border = data->tab->MaskMap;
  ASSERT_FALSE(border.Empty());
  RECT pageRect{};
  GetWindowRect(page, &pageRect);
  MapWindowPoints(nullptr, pc->Handle(), reinterpret_cast<POINT*>(&pageRect), 2);
  const POINT edge{pageRect.left - 2, Centre(pageRect).y};
  EXPECT_EQ(PixelAt(pc->Handle(), edge), border.At(0, border.Height() / 2) & 0xFFFFFF);
  SaveShot("page-control.png");
}

TEST_F(SkinTab, OverflowingTabsKeepTheUpDownAndTheStripScrolls) {
  auto* pc = Pages(20, 20, 220, 150,
                   {u"First", u"Second", u"Third", u"Fourth", u"Fifth", u"Sixth", u"Seventh"});
  ShowSkinned();
  auto* s = SkinnerOf<TSkinTab>(pc->Handle());
  ASSERT_NE(s, nullptr);
  const HWND ud = FindWindowExW(pc->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(ud, nullptr) << "the tabs do not overflow";
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(ud) && s->TabRect(0).Right > 0; }));
  // No tab is drawn under the up-down.
  RECT u{};
  GetWindowRect(ud, &u);
  MapWindowPoints(nullptr, pc->Handle(), reinterpret_cast<POINT*>(&u), 2);
  for (int i = 0; i < pc->PageCount(); ++i)
    EXPECT_LE(s->TabRect(i).Right, u.left) << "tab " << i;
  // The up-down's right half scrolls the strip by one tab.
  RECT uc{};
  GetClientRect(ud, &uc);
  ASSERT_TRUE(forms::test::ClickAt(ud, POINT{uc.right * 3 / 4, uc.bottom / 2}));
  EXPECT_TRUE(PumpUntil([&] { return s->TabRect(0).Right == 0 && s->TabRect(1).Left == 2; }))
      << "the strip did not scroll: tab 0 ends at " << s->TabRect(0).Right << ", tab 1 starts at "
      << s->TabRect(1).Left;
  SaveShot("page-control-overflow.png");
  // A tab shown after scrolling is still clicked where it is drawn.
  ASSERT_TRUE(forms::test::ClickAt(pc->Handle(), Centre(ToRect(s->TabRect(2)))));
  EXPECT_TRUE(PumpUntil([&] { return pc->TabIndex() == 2; }));
  EXPECT_EQ(pc->ActivePage(), pc->Pages(2));
}

TEST_F(SkinTab, ButtonStyleTabControlGetsButtonFrames) {
  const HWND tabs =
      CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_BUTTONS, 20, 240, 300, 60,
                      form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(tabs, nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  for (const wchar_t* t : {L"Daily", L"Weekly", L"Monthly"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(t);
    TabCtrl_InsertItem(tabs, TabCtrl_GetItemCount(tabs), &item);
  }
  ShowSkinned();
  sf->AddControlh(tabs);
  auto* s = SkinnerOf<TSkinTabBtn>(tabs);
  ASSERT_NE(s, nullptr) << "a TCS_BUTTONS tab control must get the button-style skinner";
  auto item = [tabs](int i) {
    return [tabs, i] {
      RECT r{};
      TabCtrl_GetItemRect(tabs, i, &r);
      return r;
    };
  };
  const TDataSkinObject& b = *data->Button;
  EXPECT_TRUE(ShowsFrameAt(tabs, item(0), b, 5, 2, 1)) << "selected: the pressed frame";
  EXPECT_TRUE(ShowsFrameAt(tabs, item(1), b, 5, 1, 2)) << "normal";
  ASSERT_TRUE(forms::test::ClickAt(tabs, Centre(item(2)())));
  EXPECT_TRUE(PumpUntil([&] { return TabCtrl_GetCurSel(tabs) == 2; }));
  EXPECT_TRUE(ShowsFrameAt(tabs, item(2), b, 5, 2, 1)) << "clicked";
  EXPECT_TRUE(ShowsFrameAt(tabs, item(0), b, 5, 1, 2)) << "no longer selected";
  SaveShot("button-tabs.png");
  DestroyWindow(tabs);
}

TEST_F(SkinTab, CloseButtonsTakeTheirTabAway) {
  auto* pc = Pages(20, 20, 330, 200, {u"Blog", u"Album", u"Log"});
  ShowSkinned();
  auto* s = SkinnerOf<TSkinTab>(pc->Handle());
  ASSERT_NE(s, nullptr);
  s->showclose = true;
  RedrawWindow(pc->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_TRUE(PumpUntil([&] { return s->CloseRect.size() == 3 && s->CloseRect[1].right > 0; }));
  // The cross lies inside its tab, at the tab's far end.
  const RECT close = s->CloseRect[1];
  const TRect tab = s->TabRect(1);
  EXPECT_GT(close.left, tab.Left + (tab.Right - tab.Left) / 2);
  EXPECT_LE(close.right, tab.Right);
  SaveShot("page-control-close.png");
  ASSERT_TRUE(forms::test::ClickAt(pc->Handle(), Centre(close)));
  EXPECT_TRUE(PumpUntil([&] { return !pc->Pages(1)->TabVisible(); })) << "the tab stayed";
  EXPECT_TRUE(PumpUntil([&] { return TabCtrl_GetItemCount(pc->Handle()) == 2; }));
  EXPECT_EQ(pc->ActivePage(), pc->Pages(0));
}

TEST_F(SkinTab, TabsAtTheBottomAreTheTopLayoutMirrored) {
  const HWND tabs =
      CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_BOTTOM, 20, 240, 300, 150,
                      form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(tabs, nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  for (const wchar_t* t : {L"Posts", L"Pictures", L"Notes"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(t);
    TabCtrl_InsertItem(tabs, TabCtrl_GetItemCount(tabs), &item);
  }
  ShowSkinned();
  sf->AddControlh(tabs);
  auto* s = SkinnerOf<TSkinTab>(tabs);
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return s->TabRect(0).Right > 0; }));
  EXPECT_EQ(s->Position, TSkinTabPosition::tpBottom);
  RECT client{};
  GetClientRect(tabs, &client);
  EXPECT_EQ(s->TabRect(0).Bottom, client.bottom);      // selected: down to the edge
  EXPECT_EQ(s->TabRect(1).Bottom, client.bottom - 2);  // the others two pixels short of it
  const PixelBuffer img = TabImageFor(Tab().Map, kTabFrames, TSkinTabPosition::tpBottom);
  const TRect margins = TabMarginsFor(Tab().r, TSkinTabPosition::tpBottom);
  EXPECT_TRUE(ShowsFrameAt(tabs, TabAt(s, 0), img, margins, kTabFrames, 2, 1));
  EXPECT_TRUE(ShowsFrameAt(tabs, TabAt(s, 1), img, margins, kTabFrames, 1, 2));
  SaveShot("tabs-bottom.png");
  DestroyWindow(tabs);
}

TEST_F(SkinTab, TabsAtTheLeftAreTheTopLayoutTurned) {
  const HWND tabs = CreateWindowExW(
      0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_VERTICAL | TCS_MULTILINE, 360, 20, 300,
      200, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(tabs, nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  for (const wchar_t* t : {L"Posts", L"Pictures", L"Notes"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(t);
    TabCtrl_InsertItem(tabs, TabCtrl_GetItemCount(tabs), &item);
  }
  ShowSkinned();
  sf->AddControlh(tabs);
  auto* s = SkinnerOf<TSkinTab>(tabs);
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return s->TabRect(0).Bottom > 0; }));
  EXPECT_EQ(s->Position, TSkinTabPosition::tpLeft);
  EXPECT_EQ(s->TabRect(0).Left, 0);                 // selected: out to the edge
  EXPECT_EQ(s->TabRect(1).Left, 2);                 // the others two pixels in
  EXPECT_LT(s->TabRect(0).Top, s->TabRect(1).Top);  // stacked downwards
  const PixelBuffer img = TabImageFor(Tab().Map, kTabFrames, TSkinTabPosition::tpLeft);
  const TRect margins = TabMarginsFor(Tab().r, TSkinTabPosition::tpLeft);
  EXPECT_TRUE(ShowsFrameAt(tabs, TabAt(s, 0), img, margins, kTabFrames, 2, 1));
  // The second tab's top end lies under the selected one: the third is read.
  EXPECT_TRUE(ShowsFrameAt(tabs, TabAt(s, 2), img, margins, kTabFrames, 1, 2));
  SaveShot("tabs-left.png");
  DestroyWindow(tabs);
}

TEST_F(SkinTab, AdvPageControlKindGetsItsSkinner) {
  auto lines = data->Skin3rd();
  lines.insert(lines.begin(), u"TAdvTestPages=advpagecontrol");
  data->SetSkin3rd(lines);
  auto* pc = Pages<forms::TAdvTestPages>(20, 20, 300, 160, {u"One", u"Two"});
  ShowSkinned();
  auto* s = SkinnerOf<TSkinAdvPage>(pc->Handle());
  ASSERT_NE(s, nullptr) << "the Skin3rd kind \"advpagecontrol\" must give TSkinAdvPage";
  EXPECT_EQ(s->kind, 4);
  EXPECT_TRUE(ShowsFrameAt(pc->Handle(), TabAt(s, 0), Tab(), kTabFrames, 2, 1));
  EXPECT_TRUE(ShowsFrameAt(pc->Handle(), TabAt(s, 1), Tab(), kTabFrames, 1, 2));
}

TEST_F(SkinTab, SkinWithoutTabImageLeavesTheControlNativeButSkinned) {
  auto* pc = Pages(20, 20, 300, 160, {u"One", u"Two"});
  pc->SetTag(kNotMapped);
  ShowSkinned();
  data->tab->Map = PixelBuffer();
  auto* s = new TSkinTab(pc);
  s->Init(sf, data, sf->HostCanvas(), false);
  EXPECT_EQ(SendMessageW(pc->Handle(), SKM_ISSKINNED, 0, 0), 1);
  RedrawWindow(pc->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Settle();
  // The skinner drew nothing: it read no tabs.
  EXPECT_EQ(s->TabRect(0), TRect{});
}

}  // namespace
}  // namespace lbb::skin::test
