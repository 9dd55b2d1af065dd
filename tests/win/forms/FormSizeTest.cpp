// Sizes of forms: the client size asked for before the window exists (for every border style,
// with a menu, through later changes of style and menu), and AutoScroll: scroll bars that
// come up only when children lie beyond the client area, and scrolling by messages, by real
// clicks on the bar and by the real mouse wheel, which moves the children.
#include <gtest/gtest.h>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/StdCtrls.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

SIZE RealClient(TCustomForm& form) {
  RECT r{};
  GetClientRect(form.Handle(), &r);
  return SIZE{r.right, r.bottom};
}

TMainMenu* AddMenu(TForm& form, std::initializer_list<const char16_t*> captions) {
  auto* menu = new TMainMenu(&form);
  for (const char16_t* caption : captions) {
    auto* item = new TMenuItem(&form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  return menu;
}

class ClientSizeTest : public ::testing::TestWithParam<TFormBorderStyle> {
 protected:
  void SetUp() override { test::EnsureApplication(); }
};

TEST_P(ClientSizeTest, ClientSizeAskedBeforeTheWindowIsExact) {
  TForm form(nullptr);
  form.SetBorderStyle(GetParam());
  form.SetClientWidth(455);
  form.SetClientHeight(267);
  EXPECT_FALSE(form.HandleAllocated());
  EXPECT_EQ(form.ClientWidth(), 455);
  EXPECT_EQ(form.ClientHeight(), 267);
  SIZE real = RealClient(form);
  EXPECT_EQ(real.cx, 455);
  EXPECT_EQ(real.cy, 267);
  // The bounds held the frame already: making the window did not move them.
  RECT window{};
  GetWindowRect(form.Handle(), &window);
  EXPECT_EQ(form.Width(), window.right - window.left);
  EXPECT_EQ(form.Height(), window.bottom - window.top);
}

TEST_P(ClientSizeTest, WithAMenuSetBeforeOrAfterTheClientSize) {
  TForm before(nullptr);
  before.SetBorderStyle(GetParam());
  before.SetMenu(AddMenu(before, {u"&File", u"&Help"}));
  before.SetClientWidth(400);
  before.SetClientHeight(200);
  TForm after(nullptr);
  after.SetClientWidth(400);
  after.SetClientHeight(200);
  after.SetMenu(AddMenu(after, {u"&File", u"&Help"}));
  after.SetBorderStyle(GetParam());
  for (TForm* f : {&before, &after}) {
    EXPECT_EQ(f->ClientHeight(), 200);
    // The bounds held the menu bar before the window was made.
    int64_t height = f->Height();
    SIZE real = RealClient(*f);
    EXPECT_EQ(f->Height(), height);
    EXPECT_EQ(real.cx, 400);
    EXPECT_EQ(real.cy, 200);
    EXPECT_NE(GetMenu(f->Handle()), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(BorderStyles, ClientSizeTest,
                         ::testing::Values(TFormBorderStyle::bsSingle, TFormBorderStyle::bsSizeable,
                                           TFormBorderStyle::bsDialog,
                                           TFormBorderStyle::bsToolWindow,
                                           TFormBorderStyle::bsSizeToolWin,
                                           TFormBorderStyle::bsNone));

TEST(ClientSize, WidthSetOutrightWinsAndIconsKeepTheClient) {
  test::EnsureApplication();
  TForm form(nullptr);
  form.SetClientWidth(300);
  form.SetClientHeight(100);
  form.SetWidth(500);
  form.SetBorderIcons(biSystemMenu);
  form.SetBorderStyle(TFormBorderStyle::bsDialog);
  form.HandleNeeded();
  EXPECT_EQ(form.Width(), 500);
  EXPECT_EQ(RealClient(form).cy, 100);
  // Once the window exists the client size is measured from it.
  form.SetClientWidth(320);
  EXPECT_EQ(RealClient(form).cx, 320);
}

TEST(ClientSize, MeasuringAnOwnedFormMakesNoWindowOfTheMainForm) {
  test::EnsureApplication();
  TCustomForm* savedMain = Application->MainForm();
  TForm main(nullptr);
  Application->SetMainForm(&main);
  {
    TForm owned(nullptr);
    owned.SetClientWidth(250);
    EXPECT_EQ(owned.ClientWidth(), 250);
    EXPECT_FALSE(main.HandleAllocated());
    owned.SetClientHeight(120);
    EXPECT_EQ(RealClient(owned).cx, 250);
    EXPECT_EQ(RealClient(owned).cy, 120);
  }
  Application->SetMainForm(savedMain);
}

class AutoScrollTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 0, 0);
    form->SetClientWidth(240);
    form->SetClientHeight(160);
    form->SetAutoScroll(true);
    top = test::Place<TButton>(form, 10, 10, 80, 25);
    low = test::Place<TButton>(form, 10, 100, 80, 25);
    label = test::Place<TLabel>(form, 100, 104, 60, 15);
    label->SetCaption(u"标签");
    form->ShowForm();
    test::Settle();
  }
  void TearDown() override { delete form; }

  bool Bar(int bar) const {
    LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
    return (style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
  }
  SCROLLINFO Info(int bar) const {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(form->Handle(), bar, &si);
    return si;
  }
  LONG WindowTop(TWinControl* c) const {
    RECT r{};
    GetWindowRect(c->Handle(), &r);
    MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r.top;
  }
  void Scroll(WPARAM code) { SendMessageW(form->Handle(), WM_VSCROLL, code, 0); }

  TForm* form = nullptr;
  TButton* top = nullptr;
  TButton* low = nullptr;
  TLabel* label = nullptr;
};

TEST_F(AutoScrollTest, BarsOnlyWhenChildrenLieBeyondTheClientArea) {
  EXPECT_FALSE(Bar(SB_VERT));
  EXPECT_FALSE(Bar(SB_HORZ));
  low->SetTop(300);
  EXPECT_TRUE(Bar(SB_VERT));
  EXPECT_FALSE(Bar(SB_HORZ));
  SCROLLINFO si = Info(SB_VERT);
  EXPECT_EQ(si.nMax, 324);
  EXPECT_EQ(static_cast<LONG>(si.nPage), form->ClientHeight());
  EXPECT_EQ(form->ClientWidth(), 240 - GetSystemMetrics(SM_CXVSCROLL));
  label->SetLeft(400);
  EXPECT_TRUE(Bar(SB_HORZ));
  EXPECT_EQ(Info(SB_HORZ).nMax, label->BoundsRect().right - 1);
  label->SetLeft(100);
  low->SetTop(100);
  EXPECT_FALSE(Bar(SB_VERT));
  EXPECT_FALSE(Bar(SB_HORZ));
}

TEST_F(AutoScrollTest, ScrollMessagesMoveTheChildrenAndTheirTop) {
  low->SetTop(300);
  label->SetTop(304);
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(form->ScrollPos().y, 8);
  EXPECT_EQ(GetScrollPos(form->Handle(), SB_VERT), 8);
  EXPECT_EQ(top->Top(), 2);
  EXPECT_EQ(low->Top(), 292);
  EXPECT_EQ(WindowTop(low), 292);
  EXPECT_EQ(label->Top(), 296);
  Scroll(SB_BOTTOM);
  EXPECT_EQ(low->Top() + low->Height(), form->ClientHeight());
  EXPECT_EQ(WindowTop(low), low->Top());
  Scroll(SB_PAGEUP);
  Scroll(SB_TOP);
  EXPECT_EQ(form->ScrollPos().y, 0);
  EXPECT_EQ(low->Top(), 300);
  EXPECT_EQ(top->Top(), 10);
  EXPECT_EQ(label->Top(), 304);
  Scroll(MAKEWPARAM(SB_THUMBPOSITION, 50));
  EXPECT_EQ(low->Top(), 250);
  // Range stays the same while scrolled: a child moved now counts from the scrolled place.
  EXPECT_EQ(Info(SB_VERT).nMax, 324);
}

TEST_F(AutoScrollTest, RealClickOnTheArrowAndRealWheelScroll) {
  low->SetTop(300);
  SIZE client{static_cast<LONG>(form->ClientWidth()), static_cast<LONG>(form->ClientHeight())};
  // The down arrow sits at the bottom of the vertical bar, right of the client area.
  POINT arrow{client.cx + GetSystemMetrics(SM_CXVSCROLL) / 2,
              client.cy - GetSystemMetrics(SM_CYVSCROLL) / 2};
  test::ClickAt(form->Handle(), arrow);
  EXPECT_TRUE(test::PumpUntil([&] { return form->ScrollPos().y > 0; }));
  EXPECT_EQ(low->Top(), 300 - form->ScrollPos().y);
  EXPECT_EQ(WindowTop(low), low->Top());
  int before = form->ScrollPos().y;
  test::MoveMouseTo(form->Handle(), POINT{150, 40});
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
  SendInput(1, &wheel, sizeof wheel);
  EXPECT_TRUE(test::PumpUntil([&] { return form->ScrollPos().y > before; }));
  EXPECT_EQ(low->Top(), 300 - form->ScrollPos().y);
}

TEST_F(AutoScrollTest, GrowingTheFormHidesTheBarsAndScrollsBack) {
  low->SetTop(300);
  Scroll(SB_BOTTOM);
  ASSERT_GT(form->ScrollPos().y, 0);
  form->SetClientHeight(400);
  test::Settle();
  EXPECT_FALSE(Bar(SB_VERT));
  EXPECT_EQ(form->ScrollPos().y, 0);
  EXPECT_EQ(low->Top(), 300);
  EXPECT_EQ(WindowTop(low), 300);
  EXPECT_EQ(form->ClientHeight(), 400);
}

TEST_F(AutoScrollTest, TurningItOffByNameScrollsBackAndHidesTheBars) {
  low->SetTop(300);
  Scroll(SB_LINEDOWN);
  Scroll(SB_LINEDOWN);
  ASSERT_EQ(low->Top(), 284);
  EXPECT_TRUE(SetPropText(form, u"AutoScroll", u"false"));
  EXPECT_FALSE(form->AutoScroll());
  EXPECT_EQ(form->ScrollPos().y, 0);
  EXPECT_EQ(low->Top(), 300);
  EXPECT_EQ(top->Top(), 10);
  EXPECT_FALSE(Bar(SB_VERT));
  // Without AutoScroll a scroll message moves nothing.
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(low->Top(), 300);
}

}  // namespace
}  // namespace lbb::forms
