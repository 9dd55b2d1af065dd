// The skinned tab set and list-view header under Wine. The tab set: mapped to TSkinTab31, its
// tabs drawn from the skin's tab image, a real click selects a tab and runs OnChange once, and
// when the tabs overflow its scroller is replaced by an up-down that scrolls the row. The
// header: every item drawn from the skin's Header element, the item under the real mouse hot
// and normal again once the mouse left, a divider dragged with the real mouse resizes its
// column, and a click on a column still sends the list view's column-click notification.
#include <windows.h>

#include <commctrl.h>

#include "forms/ListView.h"
#include "forms/TabSet.h"
#include "skin/controls/WinSkinHeader.h"
#include "skin/controls/WinSkinTab.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skintabs/TabSupport.h"

namespace lbb::skin::test {
namespace {

using controls::TSkinHeader;

class SkinTabSet : public TabTest {
 protected:
  forms::TTabSet* Set(int width, std::initializer_list<const char16_t*> tabs) {
    auto* t = forms::Place<forms::TTabSet>(form, 20, 20, width, 40);
    for (const char16_t* s : tabs)
      t->Tabs()->Add(s);
    return t;
  }
};

TEST_F(SkinTabSet, RealClickSelectsATabAndRunsOnChangeOnce) {
  auto* set = Set(300, {u"Posts", u"Drafts", u"Pictures"});
  set->SetTabIndex(0);
  int changes = 0;
  set->OnChange = [&](forms::TObject*) { ++changes; };
  ShowSkinned();
  auto* s = SkinnerOf<TSkinTab31>(set->Handle());
  ASSERT_NE(s, nullptr) << "the tab set got no TSkinTab31";
  const HWND h = set->Handle();
  auto tab = [s](int i) { return [s, i] { return ToRect(s->TabRect(i)); }; };
  EXPECT_TRUE(ShowsFrameAt(h, tab(0), *data->tab, 5, 2, 1)) << "selected";
  EXPECT_TRUE(ShowsFrameAt(h, tab(2), *data->tab, 5, 1, 2)) << "normal";
  ASSERT_TRUE(forms::test::ClickAt(h, Centre(ToRect(s->TabRect(2)))));
  EXPECT_TRUE(PumpUntil([&] { return set->TabIndex() == 2; })) << "the click selected nothing";
  Settle();
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(ShowsFrameAt(h, tab(2), *data->tab, 5, 5, 1)) << "selected and focused";
  SaveShot("tab-set.png");
}

TEST_F(SkinTabSet, OverflowingTabsGetAnUpDownInPlaceOfTheScroller) {
  auto* set = Set(200, {u"January", u"February", u"March", u"April", u"May", u"June"});
  set->SetTabIndex(0);
  ShowSkinned();
  auto* s = SkinnerOf<TSkinTab31>(set->Handle());
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(set->ScrollerNeeded());
  ASSERT_TRUE(PumpUntil([&] { return s->UpDownWindow() && IsWindowVisible(s->UpDownWindow()); }))
      << "no up-down in place of the scroller";
  EXPECT_FALSE(set->Scroller()->Visible());
  SaveShot("tab-set-overflow.png");
  const HWND ud = s->UpDownWindow();
  RECT uc{};
  GetClientRect(ud, &uc);
  ASSERT_TRUE(forms::test::ClickAt(ud, POINT{uc.right * 3 / 4, uc.bottom / 2}));
  EXPECT_TRUE(PumpUntil([&] { return set->FirstIndex() == 1; })) << "the row did not scroll";
  EXPECT_TRUE(PumpUntil([&] { return s->TabRect(0).Right == 0 && s->TabRect(1).Left == 2; }));
  // Unskinned, the tab set's own scroller is back.
  s->Unsubclass();
  EXPECT_TRUE(set->Scroller()->Visible());
  EXPECT_EQ(s->UpDownWindow(), nullptr);
}

class SkinHeader : public TabTest {
 protected:
  void MakeList() {
    list = forms::Place<forms::TListView>(form, 20, 20, 400, 200);
    list->SetViewStyle(forms::TViewStyle::vsReport);
    list->AddColumn(u"Title", 170);
    list->AddColumn(u"Date", 90)->SetAlignment(forms::TAlignment::taRightJustify);
    list->AddItem(u"Article 1");
    ShowSkinned();
    header = list->HeaderHandle();
    ASSERT_NE(header, nullptr);
    for (TSkinControl* c : sf->Controls())
      if (c->hwnd == header) skinner = dynamic_cast<TSkinHeader*>(c);
    ASSERT_NE(skinner, nullptr) << "the list view's header got no TSkinHeader";
  }
  std::function<RECT()> Item(int i) const {
    return [h = header, i] {
      RECT r{};
      Header_GetItemRect(h, i, &r);
      return r;
    };
  }
  const TDataSkinObject& H() const { return *data->Header; }

  forms::TListView* list = nullptr;
  HWND header = nullptr;
  TSkinHeader* skinner = nullptr;
};

TEST_F(SkinHeader, ItemsFromTheHeaderElementAndTheHotItemUnderTheMouse) {
  MakeList();
  const int n = H().frame;
  ASSERT_EQ(n, 4);
  EXPECT_EQ(SendMessageW(header, SKM_ISSKINNED, 0, 0), 1);
  EXPECT_TRUE(ShowsFrameAt(header, Item(0), H(), n, 1, 4));
  EXPECT_TRUE(ShowsFrameAt(header, Item(1), H(), n, 1, 4));
  ASSERT_TRUE(forms::test::MoveMouseTo(header, Centre(Item(1)())));
  EXPECT_TRUE(PumpUntil([&] { return skinner->indexitem == 1; }));
  EXPECT_TRUE(ShowsFrameAt(header, Item(1), H(), n, 4, 1)) << "hot item";
  EXPECT_TRUE(ShowsFrameAt(header, Item(0), H(), n, 1, 4)) << "the other item";
  SaveShot("list-header-hot.png");
  ASSERT_TRUE(forms::test::MoveMouseTo(form->Handle(), Away()));
  EXPECT_TRUE(PumpUntil([&] { return skinner->indexitem == -1; })) << "the mouse left unnoticed";
  EXPECT_TRUE(ShowsFrameAt(header, Item(1), H(), n, 1, 4)) << "after the mouse left";
}

TEST_F(SkinHeader, DraggingADividerResizesTheColumn) {
  MakeList();
  const int before = ListView_GetColumnWidth(list->Handle(), 0);
  const RECT r = Item(0)();
  ASSERT_TRUE(forms::test::MoveMouseTo(header, POINT{r.right - 1, (r.top + r.bottom) / 2}));
  ASSERT_TRUE(PressLeft());
  ASSERT_TRUE(forms::test::MoveMouseTo(header, POINT{r.right + 20, (r.top + r.bottom) / 2}));
  ASSERT_TRUE(forms::test::MoveMouseTo(header, POINT{r.right + 40, (r.top + r.bottom) / 2}));
  ASSERT_TRUE(ReleaseLeft());
  EXPECT_TRUE(PumpUntil([&] { return ListView_GetColumnWidth(list->Handle(), 0) > before + 30; }))
      << "the column is " << ListView_GetColumnWidth(list->Handle(), 0) << " wide, was " << before;
  // The items follow the new width and are drawn there.
  EXPECT_TRUE(ShowsFrameAt(header, Item(1), H(), H().frame, 1, 2));
  SaveShot("list-header-resized.png");
}

TEST_F(SkinHeader, ClickingAColumnSendsTheColumnClick) {
  MakeList();
  std::vector<int> clicked;
  auto previous = list->WindowProc;
  list->WindowProc = [&](forms::TMessage& m) {
    if (m.Msg == forms::CN_BASE + WM_NOTIFY) {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
      if (nm->hdr.code == LVN_COLUMNCLICK) clicked.push_back(nm->iSubItem);
    }
    previous(m);
  };
  // Held down on the item, the item shows the pressed frame; the release clicks the column.
  ASSERT_TRUE(forms::test::MoveMouseTo(header, Centre(Item(1)())));
  ASSERT_TRUE(PressLeft());
  EXPECT_TRUE(PumpUntil([&] { return skinner->downitem == 1; }));
  EXPECT_TRUE(ShowsFrameAt(header, Item(1), H(), H().frame, 2, 4)) << "pressed item";
  SaveShot("list-header-pressed.png");
  ASSERT_TRUE(ReleaseLeft());
  EXPECT_TRUE(PumpUntil([&] { return !clicked.empty(); })) << "no column click";
  list->WindowProc = previous;
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0], 1);
  // Released: no item stays pressed.
  EXPECT_TRUE(PumpUntil([&] { return skinner->downitem == -1; }));
}

}  // namespace
}  // namespace lbb::skin::test
