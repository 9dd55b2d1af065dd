// The skinned combo box under Wine: its button shows the skin's frame for each state (read
// from the screen), the real mouse and the keyboard open the list and pick items exactly as
// without the skin, the drop-down list's bar is skinned, a simple combo box keeps its native
// look, bare "combobox" and "comboboxex32" windows are skinned through the control-kind
// mapping, and a box freed while its list is open takes its list skinner with it.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "forms/ComboBox.h"
#include "forms/Screenshot.h"
#include "skin/controls/WinSkinCombo.h"
#include "skin/controls/WinSkinFactory.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/data/ComboGeometry.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skincombo/ComboSupport.h"

namespace lbb::skin::test {
namespace {

class SkinCombo : public ComboTest {
 protected:
  forms::TComboBox* Combo(int top, forms::TComboBoxStyle style, int items = 5) {
    auto* c = Add<forms::TComboBox>(20, top, 150, 21);
    c->SetStyle(style);
    for (int i = 0; i < items; ++i)
      c->Items()->Add(u"Item " + std::u16string(1, char16_t(u'A' + i % 26)) +
                      std::u16string(1, char16_t(u'a' + i / 26)));
    c->SetItemIndex(0);
    return c;
  }
  const TDataSkinObject& Arrow() const { return *data->comboxarrow; }
  // Which comboxarrow frames the box's button shows.
  ::testing::AssertionResult ButtonShows(TSkinComBox* s, int frame) {
    return ShowsFrame(s->hwnd, s->rBtn, Arrow(), kComboFrames, frame);
  }
  HWND List(HWND box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(box, &info);
    return info.hwndList;
  }
  bool Dropped(HWND box) { return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  // Clicks item `index` of the open list with the real mouse.
  ::testing::AssertionResult ClickItem(HWND box, int index) {
    const HWND list = List(box);
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    return ClickInPopup(list, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  // The middle of the button (left part when `left`) in the box's client coordinates.
  static POINT ButtonPoint(TSkinComBox* s, bool left = false) {
    RECT w{};
    GetWindowRect(s->hwnd, &w);
    POINT o{0, 0};
    ClientToScreen(s->hwnd, &o);
    const int x = left ? s->rBtn.left + 4 : (s->rBtn.left + s->rBtn.right) / 2;
    return POINT{x - (o.x - w.left), (s->rBtn.top + s->rBtn.bottom) / 2 - (o.y - w.top)};
  }
  void Focus(forms::TWinControl* c) {
    c->SetFocus();
    ASSERT_TRUE(PumpUntil([&] {
      const HWND f = GetFocus();
      return f == c->Handle() || IsChild(c->Handle(), f);
    }));
  }
};

TEST_F(SkinCombo, ButtonShowsNormalHotPressedAndDisabledFrames) {
  auto* box = Combo(20, forms::TComboBoxStyle::csDropDownList);
  ShowSkinned();
  auto* s = Skin<TSkinComBox>(box);
  ASSERT_EQ(s->kind, 1);
  ASSERT_GT(s->rBtn.right, s->rBtn.left);
  EXPECT_TRUE(ButtonShows(s, kComboFrameNormal)) << "normal";
  // The real mouse over the button: hot.
  ASSERT_TRUE(forms::test::MoveMouseTo(box->Handle(), ButtonPoint(s)));
  EXPECT_TRUE(ButtonShows(s, kComboFrameHot)) << "hot";
  // Pressed: the list drops down and the button shows pressed while it is open.
  ASSERT_TRUE(PressLeft());
  ASSERT_TRUE(PumpUntil([&] { return Dropped(box->Handle()); })) << "the press did not drop";
  EXPECT_TRUE(ButtonShows(s, kComboFramePressed)) << "pressed while held";
  ASSERT_TRUE(ReleaseLeft());
  EXPECT_TRUE(ButtonShows(s, kComboFramePressed)) << "pressed while open";
  SaveShot(RECT{100, 100, 560, 460}, "combo-open.png");
  ASSERT_TRUE(forms::test::PressKey(VK_ESCAPE));
  ASSERT_TRUE(PumpUntil([&] { return !Dropped(box->Handle()); }));
  EXPECT_TRUE(ButtonShows(s, kComboFrameHot)) << "hot again once closed";
  ASSERT_TRUE(forms::test::MoveMouseTo(form->Handle(), Away()));
  EXPECT_TRUE(ButtonShows(s, kComboFrameNormal)) << "normal once the mouse left";
  SaveWindowShot(form->Handle(), "combo-closed.png");
  box->SetEnabled(false);
  EXPECT_TRUE(ButtonShows(s, kComboFrameDisabled)) << "disabled";
}

TEST_F(SkinCombo, MouseOpensTheListAndPicksAnItem) {
  for (auto style : {forms::TComboBoxStyle::csDropDownList, forms::TComboBoxStyle::csDropDown}) {
    auto* box = Combo(20, style);
    int selected = 0;
    box->OnSelect = [&](forms::TObject*) { ++selected; };
    ShowSkinned();
    auto* s = Skin<TSkinComBox>(box);
    Settle();
    ASSERT_TRUE(forms::test::ClickAt(box->Handle(), ButtonPoint(s, true)));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(List(box->Handle())) != FALSE; }))
        << "the click on the skinned button did not open the list";
    EXPECT_TRUE(s->isDrop);
    ASSERT_TRUE(ClickItem(box->Handle(), 3));
    EXPECT_TRUE(PumpUntil([&] { return box->ItemIndex() == 3 && !Dropped(box->Handle()); }))
        << "item 3 was not picked; ItemIndex " << box->ItemIndex();
    EXPECT_EQ(selected, 1);
    EXPECT_FALSE(s->isDrop);
    EXPECT_TRUE(ButtonShows(s, kComboFrameNormal));
    delete box;
    Settle();
  }
}

TEST_F(SkinCombo, KeyboardOpensTheListAndPicksAnItem) {
  for (auto style : {forms::TComboBoxStyle::csDropDownList, forms::TComboBoxStyle::csDropDown}) {
    auto* box = Combo(20, style);
    ShowSkinned();
    auto* s = Skin<TSkinComBox>(box);
    Focus(box);
    // F4 opens, Down moves, Enter picks.
    ASSERT_TRUE(forms::test::PressKey(VK_F4));
    ASSERT_TRUE(PumpUntil([&] { return Dropped(box->Handle()); })) << "F4 did not open";
    EXPECT_TRUE(ButtonShows(s, kComboFramePressed));
    ASSERT_TRUE(forms::test::PressKey(VK_DOWN));
    ASSERT_TRUE(forms::test::PressKey(VK_DOWN));
    ASSERT_TRUE(forms::test::PressKey(VK_RETURN));
    EXPECT_TRUE(PumpUntil([&] { return box->ItemIndex() == 2 && !Dropped(box->Handle()); }))
        << "ItemIndex " << box->ItemIndex();
    EXPECT_TRUE(ButtonShows(s, kComboFrameNormal));
    // Alt+Down opens too; Escape closes and keeps the item.
    ASSERT_TRUE(KeyDown(VK_MENU));
    ASSERT_TRUE(forms::test::PressKey(VK_DOWN));
    ASSERT_TRUE(KeyUp(VK_MENU));
    ASSERT_TRUE(PumpUntil([&] { return Dropped(box->Handle()); })) << "Alt+Down did not open";
    ASSERT_TRUE(forms::test::PressKey(VK_ESCAPE));
    EXPECT_TRUE(PumpUntil([&] { return !Dropped(box->Handle()); }));
    EXPECT_EQ(box->ItemIndex(), 2);
    delete box;
    Settle();
  }
}

TEST_F(SkinCombo, TheLongListsBarIsSkinned) {
  auto* box = Combo(20, forms::TComboBoxStyle::csDropDownList, 40);
  box->SetDropDownCount(8);
  ShowSkinned();
  auto* s = Skin<TSkinComBox>(box);
  ASSERT_NE(s->db, nullptr) << "no skinner on the drop-down list";
  EXPECT_EQ(s->db->hwnd, List(box->Handle()));
  EXPECT_EQ(SendMessageW(List(box->Handle()), SKM_ISSKINNED, 0, 0), 1);
  Focus(box);
  box->SetDroppedDown(true);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(List(box->Handle())) != FALSE; }));
  EXPECT_TRUE(PumpUntil([&] { return s->db->painted; })) << "the list's bar was never drawn";
  // The bar's top arrow is the skin's (not the system's grey arrow): ButtonFace under the
  // skin's arrow frame, as the scroll-bar tests read it.
  SCROLLBARINFO info;
  ASSERT_TRUE(ReadScrollBarInfo(List(box->Handle()), OBJID_VSCROLL, info));
  const RECT bar = info.rcScrollBar;
  TScrollBarPicture pic;
  pic.sbDir = kSbVertical;
  pic.Len = bar.bottom - bar.top;
  pic.Cross = bar.right - bar.left;
  pic.CW = s->db->cw;
  pic.Thumb = TThumb{info.xyThumbTop, info.xyThumbBottom};
  PixelBuffer drawn(pic.Cross, pic.Len);
  ASSERT_TRUE(RenderScrollBar(*data, pic, drawn));
  int differing = 0;
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer onScreen = forms::CaptureScreen(bar);
    differing = 0;
    for (int y = 0; y < pic.Len; ++y)
      for (int x = 0; x < pic.Cross; ++x)
        differing += (onScreen.At(x, y) & 0xFFFFFF) != (drawn.At(x, y) & 0xFFFFFF);
    return differing == 0;
  })) << "the list's bar is not the skin's bar: "
      << differing << " pixels differ";
  SaveShot(RECT{100, 100, 560, 460}, "combo-open-long-list.png");
  box->SetDroppedDown(false);
}

TEST_F(SkinCombo, ASkinChangeKeepsTheListsSkinner) {
  auto* box = Combo(20, forms::TComboBoxStyle::csDropDownList, 30);
  ShowSkinned();
  auto* s = Skin<TSkinComBox>(box);
  TComboxScrollBar* list = s->db;
  ASSERT_NE(list, nullptr);
  // Every skinner of the form hears of the change, the list's among them.
  sf->SkinChange();
  Settle();
  EXPECT_EQ(s->db, list);
  EXPECT_EQ(s->kind, 1);
  EXPECT_TRUE(ButtonShows(s, kComboFrameNormal));
}

TEST_F(SkinCombo, ABoxWithAButtonWindowOfItsOwnHasThatButtonSkinned) {
  ShowSkinned();
  TRawLog log;
  const HWND boxWnd = MakeRawWindow(&log, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN, 0,
                                    kRawClass, form->Handle(), nullptr, RECT{20, 60, 170, 83});
  ASSERT_NE(boxWnd, nullptr);
  RECT c{};
  GetClientRect(boxWnd, &c);
  const HWND button =
      CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, c.right - 17, 0, 17,
                      c.bottom, boxWnd, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  auto* s = dynamic_cast<TSkinComBox*>(AttachSkinnerHwnd(*sf, TSkinnerKind::ComBoxEx, boxWnd));
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->HasButton);
  EXPECT_EQ(s->hbtn, button);
  EXPECT_TRUE(s->FBtnObjectInst.Installed());
  RECT inner{};
  GetClientRect(button, &inner);
  EXPECT_TRUE(ShowsFrame(button, inner, Arrow(), kComboFrames, kComboFrameNormal)) << "normal";
  ASSERT_TRUE(forms::test::MoveMouseTo(button, Middle(button)));
  EXPECT_TRUE(ShowsFrame(button, inner, Arrow(), kComboFrames, kComboFrameHot)) << "hot";
  ASSERT_TRUE(PressLeft());
  EXPECT_TRUE(ShowsFrame(button, inner, Arrow(), kComboFrames, kComboFramePressed)) << "pressed";
  ASSERT_TRUE(ReleaseLeft());
  // The button still clicks: its parent hears of it.
  EXPECT_TRUE(PumpUntil([&] {
    for (const auto& e : log.seen)
      if (e.msg == WM_COMMAND && HIWORD(e.wParam) == BN_CLICKED &&
          reinterpret_cast<HWND>(e.lParam) == button)
        return true;
    return false;
  })) << "the button's click did not reach its parent";
  EXPECT_TRUE(ShowsFrame(button, inner, Arrow(), kComboFrames, kComboFrameHot)) << "released";
  DestroyWindow(boxWnd);
  Settle();
}

TEST_F(SkinCombo, ASimpleComboBoxKeepsItsNativeLook) {
  auto* box = Combo(20, forms::TComboBoxStyle::csSimple);
  box->SetBounds(20, 20, 150, 100);
  ShowSkinned();
  const PixelBuffer before = Shot(box->Handle());
  auto* s = Skin<TSkinComBox>(box);
  EXPECT_EQ(s->kind, 0);
  EXPECT_EQ(s->db, nullptr);
  EXPECT_EQ(SendMessageW(box->Handle(), SKM_ISSKINNED, 0, 0), 1);
  RedrawWindow(box->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const PixelBuffer after = Shot(box->Handle());
  ASSERT_EQ(before.Width(), after.Width());
  int differing = 0;
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x)
      differing += (before.At(x, y) & 0xFFFFFF) != (after.At(x, y) & 0xFFFFFF);
  EXPECT_EQ(differing, 0) << "the simple combo box was painted over";
}

TEST_F(SkinCombo, StyleChangeKeepsTheSkinnerOnTheNewWindow) {
  auto* box = Combo(20, forms::TComboBoxStyle::csDropDownList);
  ShowSkinned();
  auto* s = Skin<TSkinComBox>(box);
  const HWND old = box->Handle();
  box->SetStyle(forms::TComboBoxStyle::csDropDown);
  ASSERT_NE(box->Handle(), old);
  EXPECT_EQ(s->hwnd, box->Handle());
  EXPECT_EQ(s->kind, 1);
  EXPECT_EQ(SendMessageW(box->Handle(), SKM_ISSKINNED, 0, 0), 1);
  EXPECT_TRUE(ButtonShows(s, kComboFrameNormal));
  box->SetStyle(forms::TComboBoxStyle::csSimple);
  EXPECT_EQ(s->kind, 0) << "a simple combo box is left native";
}

TEST_F(SkinCombo, ABoxFreedWhileItsListIsOpenTakesItsListSkinnerAlong) {
  auto* box = Combo(20, forms::TComboBoxStyle::csDropDownList, 30);
  ShowSkinned();
  auto* s = Skin<TSkinComBox>(box);
  ASSERT_NE(s->db, nullptr);
  const size_t skinners = sf->Controls().size();
  Focus(box);
  box->SetDroppedDown(true);
  const HWND list = List(box->Handle());
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(list) != FALSE; }));
  delete box;
  Settle();
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(sf->Controls().size(), skinners - 2) << "the box's and its list's skinners stay";
  // The form goes on working.
  EXPECT_TRUE(IsWindow(form->Handle()));
  EXPECT_TRUE(RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW));
}

TEST_F(SkinCombo, BareComboBoxAndComboBoxExAreSkinnedThroughTheMapping) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_USEREX_CLASSES};
  InitCommonControlsEx(&icc);
  ShowSkinned();
  const HWND bare =
      CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 20, 60, 150,
                      200, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  const HWND ex =
      CreateWindowExW(0, WC_COMBOBOXEXW, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 20, 100,
                      150, 200, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  const HWND simple =
      CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_SIMPLE, 200, 60, 150, 80,
                      form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(bare && ex && simple);
  for (const wchar_t* item : {L"One", L"Two", L"Three"})
    SendMessageW(bare, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageW(bare, CB_SETCURSEL, 0, 0);
  sf->AddControlh(bare);
  sf->AddControlh(ex);
  sf->AddControlh(simple);
  const HWND inner = GetWindow(ex, GW_CHILD);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(SendMessageW(bare, SKM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(SendMessageW(inner, SKM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(SendMessageW(simple, SKM_ISSKINNED, 0, 0), 0) << "a simple combo box is not mapped";
  TSkinComBox* bareSkin = nullptr;
  for (TSkinControl* c : sf->Controls())
    if (c->hwnd == bare) bareSkin = dynamic_cast<TSkinComBox*>(c);
  ASSERT_NE(bareSkin, nullptr);
  EXPECT_TRUE(ButtonShows(bareSkin, kComboFrameNormal));
  // The bare box opens on a click and takes an item, telling its state through itself only.
  ASSERT_TRUE(forms::test::ClickAt(bare, ButtonPoint(bareSkin, true)));
  ASSERT_TRUE(PumpUntil([&] { return Dropped(bare); }));
  EXPECT_TRUE(ButtonShows(bareSkin, kComboFramePressed));
  ASSERT_TRUE(ClickItem(bare, 2));
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(bare, CB_GETCURSEL, 0, 0) == 2; }));
  EXPECT_TRUE(ButtonShows(bareSkin, kComboFrameNormal));
  for (HWND h : {bare, ex, simple})
    DestroyWindow(h);
  Settle();
}

}  // namespace
}  // namespace lbb::skin::test
