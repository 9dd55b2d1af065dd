// MDI frames and children: the client window, the Window menu, window states, arranging,
// keyboard switching, closing and freeing; and forms placed on other controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "forms/Application.h"
#include "forms/Menus.h"
#include "forms/Screenshot.h"
#include "forms/StatusBar.h"
#include "forms/StdCtrls.h"
#include "forms/WinText.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

RECT RectInClient(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Holds Ctrl down while `vk` is pressed and released, with real keyboard input.
::testing::AssertionResult PressWithControl(WORD vk) {
  INPUT control{};
  control.type = INPUT_KEYBOARD;
  control.ki.wVk = VK_CONTROL;
  SendInput(1, &control, sizeof control);
  const bool held = test::PumpUntil([] { return GetKeyState(VK_CONTROL) < 0; });
  ::testing::AssertionResult pressed =
      held ? test::PressKey(vk) : ::testing::AssertionFailure() << "Ctrl never went down";
  control.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &control, sizeof control);
  if (!test::PumpUntil([] { return GetKeyState(VK_CONTROL) >= 0; })) {
    return ::testing::AssertionFailure() << "Ctrl never came up";
  }
  return pressed;
}

class MdiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    formsBefore = Screen->FormCount();
    frame = new TForm(nullptr);
    frame->SetCaption(u"MDI frame");
    frame->SetFormStyle(TFormStyle::fsMDIForm);
    frame->SetBounds(60, 60, 640, 480);
    menu = new TMainMenu(frame);
    AddItem(menu->Items(), u"&File");
    windowMenu = AddItem(menu->Items(), u"&Window");
    cascadeItem = AddItem(windowMenu, u"&Cascade");
    cascadeItem->OnClick = [this](TObject*) { frame->Cascade(); };
    tileItem = AddItem(windowMenu, u"&Tile");
    tileItem->OnClick = [this](TObject*) { frame->Tile(); };
    frame->SetMenu(menu);
    frame->SetWindowMenu(windowMenu);
    statusBar = new TStatusBar(frame);
    statusBar->SetParent(frame);
    frame->ShowForm();
    for (int i = 0; i < 3; ++i) {
      children[i] = new TForm(nullptr);
      children[i]->SetFormStyle(TFormStyle::fsMDIChild);
      children[i]->SetCaption(u"Child " + String(1, static_cast<char16_t>(u'1' + i)));
      children[i]->SetBounds(10 + 30 * i, 10 + 30 * i, 260, 180);
      children[i]->ShowForm();
    }
    test::Settle();
    menuItemsBefore = GetMenuItemCount(GetMenu(frame->Handle()));
  }

  void TearDown() override { delete frame; }

  TMenuItem* AddItem(TMenuItem* parent, const String& caption) {
    auto* item = new TMenuItem(frame);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }

  HWND Client() const { return frame->ClientHandle(); }

  int formsBefore = 0;
  int menuItemsBefore = 0;
  TForm* frame = nullptr;
  TMainMenu* menu = nullptr;
  TMenuItem* windowMenu = nullptr;
  TMenuItem* cascadeItem = nullptr;
  TMenuItem* tileItem = nullptr;
  TStatusBar* statusBar = nullptr;
  TForm* children[3] = {};
};

TEST_F(MdiTest, FrameHoldsItsChildrenInItsMDIClient) {
  ASSERT_TRUE(Client());
  EXPECT_EQ(WindowClassName(Client()), u"MDIClient");
  EXPECT_EQ(GetParent(Client()), frame->Handle());
  EXPECT_EQ(GetEnumProp(frame, u"FormStyle"), u"fsMDIForm");
  for (TForm* child : children) {
    EXPECT_EQ(GetParent(child->Handle()), Client());
    EXPECT_TRUE(GetWindowLongPtrW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_TRUE(IsWindowVisible(child->Handle()));
    EXPECT_EQ(GetEnumProp(child, u"FormStyle"), u"fsMDIChild");
    EXPECT_EQ(Screen->FindForm(child->Handle()), child);
  }
  EXPECT_EQ(Screen->FindForm(frame->Handle()), frame);
  EXPECT_EQ(Screen->FormCount(), formsBefore + 4);
  ASSERT_EQ(frame->MDIChildCount(), 3);
  // The child shown last is active and on top.
  EXPECT_EQ(frame->ActiveMDIChild(), children[2]);
  EXPECT_EQ(frame->MDIChildren(0), children[2]);
  // The client fills what the status bar leaves of the frame's client area.
  RECT frameClient{};
  GetClientRect(frame->Handle(), &frameClient);
  RECT client = RectInClient(Client());
  RECT bar = RectInClient(statusBar->Handle());
  EXPECT_EQ(bar.bottom, frameClient.bottom);
  EXPECT_EQ(client.top, 0);
  EXPECT_EQ(client.right, frameClient.right);
  EXPECT_EQ(client.bottom, bar.top);
  // And keeps doing so when the frame is resized.
  frame->SetBounds(60, 60, 560, 420);
  test::Settle();
  GetClientRect(frame->Handle(), &frameClient);
  client = RectInClient(Client());
  bar = RectInClient(statusBar->Handle());
  EXPECT_EQ(bar.bottom, frameClient.bottom);
  EXPECT_EQ(client.bottom, bar.top);
  EXPECT_EQ(client.right, frameClient.right);
  // The Window menu lists the children after its own items.
  HMENU window = windowMenu->Handle();
  EXPECT_GE(GetMenuItemCount(window), 2 + 3);
  wchar_t text[64] = {};
  EXPECT_GT(GetMenuStringW(window, kFirstMDIChildId, text, 64, MF_BYCOMMAND), 0);
}

TEST_F(MdiTest, ChildrenAreMaximisedMinimisedAndRestoredThroughMessages) {
  TForm* a = children[0];
  TForm* b = children[1];
  SendMessageW(a->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return IsZoomed(a->Handle()) != 0; }));
  EXPECT_EQ(a->WindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(frame->ActiveMDIChild(), a);
  // The maximised child's icon and caption buttons went to the frame's menu bar.
  EXPECT_GT(GetMenuItemCount(GetMenu(frame->Handle())), menuItemsBefore);
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  test::Settle();
  EXPECT_TRUE(SaveWindowPng(frame->Handle(), LBB_SCREENSHOT_DIR "/mdi-maximised.png"));

  SendMessageW(Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(a->Handle()), 0);
  ASSERT_TRUE(test::PumpUntil([&] { return !IsZoomed(a->Handle()); }));
  EXPECT_EQ(a->WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(GetMenuItemCount(GetMenu(frame->Handle())), menuItemsBefore);

  SendMessageW(b->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return IsIconic(b->Handle()) != 0; }));
  EXPECT_EQ(b->WindowState(), TWindowState::wsMinimized);
  EXPECT_NE(frame->ActiveMDIChild(), b);
  b->SetWindowState(TWindowState::wsNormal);
  ASSERT_TRUE(test::PumpUntil([&] { return !IsIconic(b->Handle()); }));

  // The state by name, as a skinner sets it.
  ASSERT_TRUE(SetPropText(b, u"WindowState", u"wsMaximized"));
  ASSERT_TRUE(test::PumpUntil([&] { return IsZoomed(b->Handle()) != 0; }));
  EXPECT_EQ(GetEnumProp(b, u"WindowState"), u"wsMaximized");
}

TEST_F(MdiTest, WindowMenuCommandsCascadeAndTileTheChildren) {
  SendMessageW(frame->Handle(), WM_COMMAND, cascadeItem->Command(), 0);
  test::Settle();
  std::vector<RECT> rects;
  for (TForm* child : children)
    rects.push_back(RectInClient(child->Handle()));
  std::sort(rects.begin(), rects.end(), [](const RECT& x, const RECT& y) { return x.top < y.top; });
  for (size_t i = 1; i < rects.size(); ++i) {
    // Each one a step down and to the right of the one behind it.
    EXPECT_GT(rects[i].top, rects[i - 1].top);
    EXPECT_GT(rects[i].left, rects[i - 1].left);
  }

  SendMessageW(frame->Handle(), WM_COMMAND, tileItem->Command(), 0);
  test::Settle();
  RECT area{};
  GetClientRect(Client(), &area);
  rects.clear();
  for (TForm* child : children)
    rects.push_back(RectInClient(child->Handle()));
  for (size_t i = 0; i < rects.size(); ++i) {
    RECT inside{};
    EXPECT_TRUE(IntersectRect(&inside, &rects[i], &area));
    EXPECT_TRUE(EqualRect(&inside, &rects[i])) << "child " << i << " lies outside the client";
    for (size_t j = i + 1; j < rects.size(); ++j) {
      RECT overlap{};
      EXPECT_FALSE(IntersectRect(&overlap, &rects[i], &rects[j]))
          << "children " << i << " and " << j << " overlap";
    }
  }
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  EXPECT_TRUE(SaveWindowPng(frame->Handle(), LBB_SCREENSHOT_DIR "/mdi-frame.png"));
}

TEST_F(MdiTest, KeyboardAndCallsSwitchTheActiveChild) {
  ASSERT_TRUE(test::Check(lbb::input::BringToFront(frame->Handle(), test::Waiting())));
  ASSERT_EQ(frame->ActiveMDIChild(), children[2]);
  // Ctrl+F6 goes through the application's loop to the MDI client.
  ASSERT_TRUE(PressWithControl(VK_F6));
  ASSERT_TRUE(test::PumpUntil([&] { return frame->ActiveMDIChild() != children[2]; }));
  // Next visits every child once in three steps; Previous goes back the same way.
  std::vector<TCustomForm*> visited{frame->ActiveMDIChild()};
  for (int i = 0; i < 3; ++i) {
    frame->Next();
    test::Settle();
    visited.push_back(frame->ActiveMDIChild());
  }
  EXPECT_EQ(visited[3], visited[0]);
  EXPECT_NE(visited[0], visited[1]);
  EXPECT_NE(visited[1], visited[2]);
  EXPECT_NE(visited[0], visited[2]);
  frame->Previous();
  test::Settle();
  EXPECT_EQ(frame->ActiveMDIChild(), visited[2]);
}

TEST_F(MdiTest, ClosingAChildMinimisesItOrFreesIt) {
  TForm* a = children[0];
  PostMessageW(a->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return IsIconic(a->Handle()) != 0; }));
  EXPECT_TRUE(Screen->Contains(a));

  TForm* b = children[1];
  bool freed = false;
  b->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
  b->OnDestroy = [&](TObject*) { freed = true; };
  HWND bWindow = b->Handle();
  PostMessageW(bWindow, WM_CLOSE, 0, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return freed; }));
  children[1] = nullptr;
  EXPECT_FALSE(IsWindow(bWindow));
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(Screen->FormCount(), formsBefore + 3);
}

TEST_F(MdiTest, FreeingTheFrameFreesItsChildrenAndTheirWindows) {
  SendMessageW(children[1]->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  test::Settle();
  std::vector<HWND> windows{frame->Handle(), Client()};
  int freed = 0;
  for (TForm* child : children) {
    windows.push_back(child->Handle());
    child->OnDestroy = [&](TObject*) { ++freed; };
  }
  delete frame;
  frame = nullptr;
  EXPECT_EQ(freed, 3);
  for (HWND w : windows)
    EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(Screen->FormCount(), formsBefore);
}

TEST_F(MdiTest, FrameMenuRebuiltWhileAChildIsMaximisedKeepsTheChildsButtons) {
  TForm* a = children[0];
  SendMessageW(a->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return IsZoomed(a->Handle()) != 0; }));
  const int augmented = GetMenuItemCount(GetMenu(frame->Handle()));
  ASSERT_GT(augmented, menuItemsBefore);
  // A changed item makes the menu object build a new native menu.
  cascadeItem->SetCaption(u"&Cascade all");
  test::Settle();
  EXPECT_EQ(GetMenu(frame->Handle()), menu->Handle());
  EXPECT_EQ(GetMenuItemCount(GetMenu(frame->Handle())), augmented);
  EXPECT_TRUE(IsMenu(GetSystemMenu(a->Handle(), FALSE)));
  SendMessageW(Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(a->Handle()), 0);
  ASSERT_TRUE(test::PumpUntil([&] { return !IsZoomed(a->Handle()); }));
  EXPECT_EQ(GetMenuItemCount(GetMenu(frame->Handle())), menuItemsBefore);
  EXPECT_TRUE(IsMenu(GetSystemMenu(a->Handle(), FALSE)));
}

TEST_F(MdiTest, AChildWhoseSizeHandlingFailsIsStillMaximisedTheMDIWay) {
  std::vector<String> errors;
  Application->OnException = [&](const String& text) { errors.push_back(text); };
  TForm* a = children[0];
  TWndMethod previous = a->WindowProc;
  a->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SIZE) throw std::runtime_error("size handling failed");
    previous(m);
  };
  SendMessageW(a->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  a->WindowProc = previous;
  Application->OnException = nullptr;
  ASSERT_TRUE(test::PumpUntil([&] { return IsZoomed(a->Handle()) != 0; }));
  EXPECT_FALSE(errors.empty());
  // The failed WM_SIZE still reached DefMDIChildProc: the frame's menu bar took the buttons.
  EXPECT_GT(GetMenuItemCount(GetMenu(frame->Handle())), menuItemsBefore);
}

TEST(FormStyleTest, StayOnTopByNameMakesTheWindowTopmostAndBack) {
  test::EnsureApplication();
  TForm form(nullptr);
  form.SetBounds(90, 90, 300, 200);
  form.ShowForm();
  test::Settle();
  const auto topmost = [&] {
    return (GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  EXPECT_FALSE(topmost());
  ASSERT_TRUE(SetPropText(&form, u"FormStyle", u"fsStayOnTop"));
  EXPECT_TRUE(topmost());
  form.SetFormStyle(TFormStyle::fsNormal);
  EXPECT_FALSE(topmost());
}

TEST(FormStyleTest, MDIChildWithoutAFrameIsRefused) {
  test::EnsureApplication();
  ASSERT_EQ(Screen->MDIFrame(), nullptr);
  TForm child(nullptr);
  child.SetFormStyle(TFormStyle::fsMDIChild);
  EXPECT_THROW(child.HandleNeeded(), std::runtime_error);
  EXPECT_FALSE(child.HandleAllocated());
}

TEST(ReleaseTest, FormClosedWithCaFreeIsFreedOnceItsMessagesAreHandled) {
  test::EnsureApplication();
  auto* form = new TForm(nullptr);
  bool freed = false;
  form->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
  form->OnDestroy = [&](TObject*) { freed = true; };
  form->ShowForm();
  test::Settle();
  form->Close();
  EXPECT_FALSE(freed) << "freed while its own handling may still run";
  EXPECT_TRUE(test::PumpUntil([&] { return freed; }));
}

TEST(ReleaseTest, AReleasedFormFreedMeanwhileLeavesALaterFormAlone) {
  test::EnsureApplication();
  auto* released = new TForm(nullptr);
  released->Release();
  delete released;
  // Likely at the same address as the one freed.
  auto* later = new TForm(nullptr);
  bool laterFreed = false;
  later->OnDestroy = [&](TObject*) { laterFreed = true; };
  test::Settle();
  EXPECT_FALSE(laterFreed);
  EXPECT_TRUE(Screen->Contains(later));
  delete later;
}

TEST(NestedFormTest, FormPlacedOnAPanelIsAChildWindowOfIt) {
  test::EnsureApplication();
  TForm host(nullptr);
  host.SetBounds(80, 80, 400, 300);
  auto* panel = test::Place<TPanel>(&host, 8, 8, 300, 200);
  auto* nested = new TForm(&host);
  nested->SetCaption(u"Nested");
  nested->SetBorderStyle(TFormBorderStyle::bsSingle);
  nested->SetParent(panel);
  nested->SetBounds(10, 10, 200, 120);
  auto* button = test::Place<TButton>(nested, 8, 8, 75, 25);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  host.ShowForm();
  nested->Show();
  test::Settle();
  HWND w = nested->Handle();
  EXPECT_EQ(GetParent(w), panel->Handle());
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(Screen->FindForm(w), nested);
  EXPECT_EQ(RectInClient(w).left, 10);
  // It takes real input like any control of the host.
  EXPECT_TRUE(test::ClickAt(button->Handle(), POINT{20, 12}));
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace lbb::forms
