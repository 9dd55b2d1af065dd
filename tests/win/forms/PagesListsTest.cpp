// Page controls, list views, status bars and progress bars: tabs switched by a click, rows
// selected by a click, the list view's header, panels and positions.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "forms/Forms.h"
#include "forms/ListView.h"
#include "forms/PageControl.h"
#include "forms/RangeCtrls.h"
#include "forms/StatusBar.h"
#include "forms/WinText.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

using PagesListsTest = test::FormTest;

TEST_F(PagesListsTest, ClickingATabShowsItsSheet) {
  auto* pages = new TPageControl(form);
  pages->SetParent(form);
  pages->SetBounds(10, 10, 300, 200);
  TTabSheet* sheets[3];
  for (int i = 0; i < 3; ++i) {
    sheets[i] = new TTabSheet(form);
    sheets[i]->SetCaption(i == 0 ? u"常规" : i == 1 ? u"Pictures" : u"Hidden");
    sheets[i]->SetPageControl(pages);
  }
  sheets[2]->SetTabVisible(false);
  auto* onSecond = new TButton(form);
  onSecond->SetParent(sheets[1]);
  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  form->ShowForm();
  test::Settle();
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(TabCtrl_GetItemCount(pages->Handle()), 2);
  EXPECT_TRUE(IsWindowVisible(sheets[0]->Handle()));
  EXPECT_FALSE(IsWindowVisible(onSecond->Handle()));
  RECT tab{};
  TabCtrl_GetItemRect(pages->Handle(), 1, &tab);
  test::ClickAt(pages->Handle(), POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(IsWindowVisible(onSecond->Handle()));
  EXPECT_FALSE(IsWindowVisible(sheets[0]->Handle()));
  // The sheet fills the area below the tabs.
  RECT display = pages->DisplayRect();
  EXPECT_EQ(sheets[1]->BoundsRect().top, display.top);
  EXPECT_EQ(sheets[1]->Width(), display.right - display.left);
  // A refused change keeps the tab.
  pages->OnChanging = [](TObject*, bool& allow) { allow = false; };
  TabCtrl_GetItemRect(pages->Handle(), 0, &tab);
  test::ClickAt(pages->Handle(), POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  EXPECT_EQ(GetIntProp(pages, u"ActivePageIndex"), 1);
  EXPECT_EQ(GetObjectProp(pages, u"ActivePage", u"TTabSheet"), sheets[1]);
  // Freeing the active sheet shows a neighbour.
  delete sheets[1];
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(pages->PageCount(), 2);
}

TEST_F(PagesListsTest, ReportViewHasAHeaderAndSelectsRowsByClick) {
  auto* list = new TListView(form);
  list->SetParent(form);
  list->SetBounds(10, 10, 380, 200);
  list->SetViewStyle(TViewStyle::vsReport);
  list->SetRowSelect(true);
  list->AddColumn(u"标题", 200);
  list->AddColumn(u"Date", 100)->SetAlignment(TAlignment::taRightJustify);
  for (int i = 0; i < 5; ++i) {
    TListItem* item = list->AddItem(u"文章 " + String(1, char16_t(u'1' + i)));
    item->SubItems()->Add(u"2009-0" + String(1, char16_t(u'1' + i)));
  }
  std::vector<std::pair<int, bool>> selections;
  list->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
    selections.emplace_back(item->Index(), selected);
  };
  form->ShowForm();
  test::Settle();
  HWND header = list->HeaderHandle();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(Header_GetItemCount(header), 2);
  EXPECT_EQ(ListView_GetItemCount(list->Handle()), 5);
  wchar_t text[32] = {};
  ListView_GetItemText(list->Handle(), 3, 1, text, 32);
  EXPECT_EQ(FromWide(text, wcslen(text)), u"2009-04");
  RECT row{};
  ListView_GetItemRect(list->Handle(), 2, &row, LVIR_BOUNDS);
  test::ClickAt(list->Handle(), POINT{250, (row.top + row.bottom) / 2});
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(list->Selected(), list->Items(2));
  ListView_GetItemRect(list->Handle(), 4, &row, LVIR_BOUNDS);
  test::ClickAt(list->Handle(), POINT{50, (row.top + row.bottom) / 2});
  EXPECT_EQ(selections, (std::vector<std::pair<int, bool>>{{2, true}, {2, false}, {4, true}}));
  // The view keeps its items and selection across a new window.
  list->SetGridLines(true);
  SetPropText(list, u"BorderStyle", u"bsNone");
  EXPECT_FALSE(GetWindowLongW(list->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(ListView_GetItemCount(list->Handle()), 5);
  EXPECT_EQ(list->ItemIndex(), 4);
  EXPECT_EQ(GetEnumProp(list, u"ViewStyle"), u"vsReport");
}

TEST_F(PagesListsTest, StatusBarPanelsAndProgressBarPosition) {
  auto* status = new TStatusBar(form);
  status->SetParent(form);
  status->AddPanel()->SetWidth(120);
  status->Panels(0)->SetText(u"已备份 12 篇");
  status->AddPanel()->SetText(u"Ready");
  auto* progress = new TProgressBar(form);
  progress->SetParent(form);
  progress->SetBounds(10, 10, 200, 16);
  progress->SetMax(50);
  progress->SetPosition(20);
  form->ShowForm();
  test::Settle();
  // Aligned to the bottom across the whole client width.
  EXPECT_EQ(status->Top() + status->Height(), form->ClientHeight());
  EXPECT_EQ(status->Width(), form->ClientWidth());
  EXPECT_EQ(SendMessageW(status->Handle(), SB_GETPARTS, 0, 0), 2);
  wchar_t text[64] = {};
  SendMessageW(status->Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(FromWide(text, wcslen(text)), u"已备份 12 篇");
  status->SetSimplePanel(true);
  status->SetSimpleText(u"Working");
  EXPECT_TRUE(SendMessageW(status->Handle(), SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(SendMessageW(progress->Handle(), PBM_GETPOS, 0, 0), 20);
  EXPECT_EQ(SendMessageW(progress->Handle(), PBM_GETRANGE, FALSE, 0), 50);
  progress->SetStep(20);
  progress->StepIt();
  progress->StepIt();
  EXPECT_EQ(progress->Position(), 10);  // past the end it starts again from the beginning
  EXPECT_EQ(SendMessageW(progress->Handle(), PBM_GETPOS, 0, 0), 10);
  EXPECT_TRUE(SetPropText(progress, u"Orientation", u"pbVertical"));
  EXPECT_TRUE(GetWindowLongW(progress->Handle(), GWL_STYLE) & PBS_VERTICAL);
  EXPECT_EQ(SendMessageW(progress->Handle(), PBM_GETPOS, 0, 0), 10);
}

}  // namespace
}  // namespace lbb::forms
