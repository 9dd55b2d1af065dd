// Check boxes, radio buttons, combo boxes, scroll bars, track bars and up-downs driven by
// real mouse and keyboard input.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "forms/ButtonCtrls.h"
#include "forms/ComboBox.h"
#include "forms/Forms.h"
#include "forms/RangeCtrls.h"
#include "forms/ScrollBar.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

using ChoiceControlsTest = test::FormTest;

TEST_F(ChoiceControlsTest, ClickingACheckBoxTogglesItsStateAndRunsOnClick) {
  auto* box = test::Place<TCheckBox>(form, 10, 10, 150, 17);
  box->SetCaption(u"备份图片");
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  Show();
  test::ClickAt(box->Handle(), POINT{6, 8});
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(GetEnumProp(box, u"State"), u"cbChecked");
  test::ClickAt(box->Handle(), POINT{40, 8});  // away from the first: not a double click
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);
  // With AllowGrayed a click goes through the third state.
  box->SetAllowGrayed(true);
  test::ClickAt(box->Handle(), POINT{6, 8});
  test::ClickAt(box->Handle(), POINT{40, 8});
  EXPECT_EQ(box->State(), TCheckBoxState::cbGrayed);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(GetEnumProp(box, u"Checked"), u"false");
  // The space key toggles the focused box as well.
  box->SetFocus();
  test::PressKey(VK_SPACE);
  EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
}

TEST_F(ChoiceControlsTest, StateWrittenByNameReachesTheWindow) {
  auto* box = test::Place<TCheckBox>(form, 10, 10, 150, 17);
  box->SetAlignment(TLeftRight::taLeftJustify);
  Show();
  EXPECT_TRUE(SetPropText(box, u"State", u"cbGrayed"));
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_TRUE(GetWindowLongW(box->Handle(), GWL_STYLE) & BS_LEFTTEXT);
  EXPECT_EQ(GetEnumProp(box, u"Alignment"), u"taLeftJustify");
}

TEST_F(ChoiceControlsTest, RadioButtonsOfOneParentExcludeEachOther) {
  auto* group = test::Place<TGroupBox>(form, 10, 10, 200, 110);
  group->SetCaption(u"Pictures");
  TRadioButton* radios[3];
  int clicks[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    radios[i] = new TRadioButton(form);
    radios[i]->SetParent(group);
    radios[i]->SetBounds(10, 20 + 25 * i, 150, 17);
    radios[i]->OnClick = [&clicks, i](TObject*) { ++clicks[i]; };
  }
  auto* outside = test::Place<TRadioButton>(form, 220, 30, 150, 17);
  outside->SetChecked(true);
  Show();
  test::ClickAt(radios[1]->Handle(), POINT{6, 8});
  EXPECT_TRUE(radios[1]->Checked());
  test::ClickAt(radios[2]->Handle(), POINT{6, 8});
  EXPECT_FALSE(radios[1]->Checked());
  EXPECT_TRUE(radios[2]->Checked());
  EXPECT_EQ(SendMessageW(radios[1]->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(radios[2]->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  // A click on the checked one changes nothing; another parent's radio is left alone.
  test::ClickAt(radios[2]->Handle(), POINT{6, 8});
  EXPECT_EQ(clicks[0], 0);
  EXPECT_EQ(clicks[1], 1);
  EXPECT_EQ(clicks[2], 1);
  EXPECT_TRUE(outside->Checked());
  radios[0]->SetChecked(true);
  EXPECT_FALSE(radios[2]->Checked());
  EXPECT_EQ(clicks[0], 1);
}

TEST_F(ChoiceControlsTest, ComboBoxSelectionByKeyboardAndByMouse) {
  auto* combo = test::Place<TComboBox>(form, 10, 10, 160, 21);
  combo->SetStyle(TComboBoxStyle::csDropDownList);
  for (const char16_t* s : {u"日志", u"文章", u"相册", u"评论"})
    combo->Items()->Add(s);
  combo->SetItemIndex(0);
  int changes = 0, selects = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  combo->OnSelect = [&](TObject*) { ++selects; };
  Show();
  EXPECT_EQ(combo->ItemIndex(), 0);
  combo->SetFocus();
  test::PressKey(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), u"文章");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(selects, 1);
  // Open the list with a click and click its third item.
  test::ClickAt(combo->Handle(), POINT{150, 10});
  ASSERT_TRUE(test::PumpUntil([&] { return combo->DroppedDown(); }));
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
  RECT item{};
  SendMessageW(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  test::ClickAt(info.hwndList, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
  EXPECT_TRUE(test::PumpUntil([&] { return combo->ItemIndex() == 2; }));
  EXPECT_EQ(combo->Text(), u"相册");
  EXPECT_EQ(selects, 2);
  // Items changed after the window exists reach it.
  combo->Items()->Delete(0);
  combo->Items()->Insert(0, u"首页");
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 4);
  wchar_t first[16] = {};
  SendMessageW(combo->Handle(), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(std::wstring(first), L"首页");
  EXPECT_EQ(GetEnumProp(combo, u"Style"), u"csDropDownList");
}

TEST_F(ChoiceControlsTest, ScrollBarArrowsMoveThePositionWithinTheRange) {
  auto* bar = test::Place<TScrollBar>(form, 10, 10, 200, 17);
  bar->SetMax(10);
  bar->SetPageSize(4);
  bar->SetLargeChange(3);
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  Show();
  EXPECT_EQ(GetEnumProp(bar, u"Kind"), u"sbHorizontal");
  test::ClickAt(bar->Handle(), POINT{195, 8});  // the right arrow
  EXPECT_EQ(bar->Position(), 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 1);
  test::ClickAt(bar->Handle(), POINT{180, 8});  // the track right of the thumb
  EXPECT_EQ(bar->Position(), 4);
  bar->SetPosition(100);  // the last page's first position is the highest
  EXPECT_EQ(bar->Position(), 7);
  EXPECT_TRUE(SetPropText(bar, u"Kind", u"sbVertical"));
  EXPECT_EQ(bar->Width(), 17);
  EXPECT_EQ(bar->Height(), 200);
  EXPECT_TRUE(GetWindowLongW(bar->Handle(), GWL_STYLE) & SBS_VERT);
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 7);
}

TEST_F(ChoiceControlsTest, TrackBarFollowsKeysAndClicks) {
  auto* track = test::Place<TTrackBar>(form, 10, 10, 200, 40);
  track->SetMax(20);
  track->SetPageSize(5);
  std::vector<int64_t> seen;
  track->OnChange = [&](TObject*) { seen.push_back(track->Position()); };
  Show();
  track->SetFocus();
  test::PressKey(VK_RIGHT);
  test::PressKey(VK_RIGHT);
  EXPECT_EQ(track->Position(), 2);
  test::PressKey(VK_END);
  EXPECT_EQ(track->Position(), 20);
  // A click on the channel left of the thumb moves a page toward it.
  RECT channel{};
  SendMessageW(track->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  test::ClickAt(track->Handle(), POINT{channel.left + 20, (channel.top + channel.bottom) / 2});
  EXPECT_EQ(track->Position(), 15);
  EXPECT_EQ(seen, (std::vector<int64_t>{1, 2, 20, 15}));
  EXPECT_EQ(GetIntProp(track, u"Position"), 15);
}

TEST_F(ChoiceControlsTest, UpDownArrowsStepTheAssociatedEdit) {
  auto* edit = test::Place<TEdit>(form, 10, 10, 80, 21);
  auto* updown = test::Place<TUpDown>(form, 0, 0, 17, 21);
  updown->SetMax(3);
  updown->SetAssociate(edit);
  std::vector<TUDBtnType> pressed;
  updown->OnClick = [&](TObject*, TUDBtnType b) { pressed.push_back(b); };
  Show();
  EXPECT_EQ(edit->Text(), u"0");
  RECT r{};
  GetClientRect(updown->Handle(), &r);
  POINT up{r.right / 2, r.bottom / 4}, down{r.right / 2, r.bottom * 3 / 4};
  test::ClickAt(updown->Handle(), up);
  test::ClickAt(updown->Handle(), up);
  EXPECT_EQ(updown->Position(), 2);
  EXPECT_EQ(edit->Text(), u"2");
  test::ClickAt(updown->Handle(), down);
  EXPECT_EQ(updown->Position(), 1);
  EXPECT_EQ(pressed,
            (std::vector<TUDBtnType>{TUDBtnType::btNext, TUDBtnType::btNext, TUDBtnType::btPrev}));
  // OnChanging may refuse a move.
  updown->OnChanging = [](TObject*, bool& allow) { allow = false; };
  test::ClickAt(updown->Handle(), up);
  EXPECT_EQ(updown->Position(), 1);
}

}  // namespace
}  // namespace lbb::forms
