// Using skinned popup menus: choosing an item with the real mouse or keyboard runs its command
// once and Escape runs none, the skinned system menu drawn by the same rules, the plain look
// without an item image and the native look without a menu background, the popup skinner's
// lifecycle (given back twice safely, none left after the menus close, no GDI objects lost
// over many opens), and owner-drawing switched off again when a form is unskinned.
#include <windows.h>

#include <thread>

#include "forms/Screenshot.h"
#include "skin/data/imgutil.h"
#include "skin/forms/WinSkinMenu.h"
#include "tests/win/forms/GuiObjects.h"
#include "tests/win/skinpopup/PopupSupport.h"

namespace lbb::skin::test {
namespace {

class PopupUse : public PopupTest {
 protected:
  // The popup skinners the manager holds.
  size_t Skinners() {
    std::lock_guard l(mgr->Lock());
    return mgr->PopupSkinners().size();
  }
  int Total() const {
    int n = 0;
    for (const auto& c : clicks)
      n += c.load();
    return n;
  }
  POINT CentreOf(HWND popup, int pos) {
    const RECT r = ItemIn(popup, menu->Handle(), pos);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
};

TEST_F(PopupUse, MouseAndKeyboardRunTheCommandOnceAndEscapeNone) {
  ShowSkinned();
  HMENU native = menu->Handle();
  Track(menu, MenuPoint(), [&](HWND popup) {
    const RECT r = ItemIn(popup, native, piOpen);
    RECT w{};
    GetWindowRect(popup, &w);
    // Over the item first: once it shows selected the menu takes the mouse; then the click.
    const input::Result moved = input::MoveMouse(
        POINT{w.left + (r.left + r.right) / 2, w.top + (r.top + r.bottom) / 2}, Watching());
    ASSERT_TRUE(moved.ok()) << moved.message();
    ASSERT_TRUE(
        WaitPicture(popup, [&](const PixelBuffer& s) { return Count(s, r, 0x4A78B0) > 40; }));
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    EXPECT_EQ(SendInput(2, click, sizeof(INPUT)), 2u);
    EXPECT_TRUE(input::WaitUntil([popup] { return !IsWindowVisible(popup); }, Watching()));
  });
  EXPECT_EQ(clicks[piOpen].load(), 1);
  EXPECT_EQ(Total(), 1);
  // The keyboard: the first Down selects the first item, the next the second; Enter runs it.
  Track(menu, MenuPoint(), [&](HWND popup) {
    const RECT first = ItemIn(popup, native, piOpen),
               second = ItemIn(popup, native, piCheckedImage);
    const auto selected = [&](const RECT& r) {
      return WaitPicture(popup, [&](const PixelBuffer& s) { return Count(s, r, 0x4A78B0) > 40; });
    };
    EXPECT_TRUE(input::PressKey(
                    VK_DOWN, [&] { return selected(first); }, "the first item selected", Watching())
                    .ok());
    EXPECT_TRUE(
        input::PressKey(
            VK_DOWN, [&] { return selected(second); }, "the second item selected", Watching())
            .ok());
    EXPECT_TRUE(input::PressKey(
                    VK_RETURN, [popup] { return !IsWindowVisible(popup); },
                    "the menu closing on Enter", Watching())
                    .ok());
  });
  EXPECT_EQ(clicks[piCheckedImage].load(), 1);
  EXPECT_EQ(Total(), 2);
  Track(menu, MenuPoint(), [&](HWND popup) {
    EXPECT_TRUE(input::PressKey(
                    VK_ESCAPE, [popup] { return !IsWindowVisible(popup); },
                    "the menu closing on Escape", Watching())
                    .ok());
  });
  EXPECT_EQ(Total(), 2);
  EXPECT_TRUE(PumpUntil([&] { return Skinners() == 0; })) << "a popup skinner stayed";
}

TEST_F(PopupUse, SystemMenuIsDrawnByTheSameRules) {
  ShowSkinned();
  const TDataSkinObject bg = *data->MenuitemBG;
  HWND main = form->Handle();
  std::atomic<bool> framed{false}, itemsLineUp{false}, finished{false};
  std::thread watcher([&] {
    HWND popup = WaitPopups();
    if (!popup) {
      finished = true;
      return;
    }
    RECT w{};
    GetWindowRect(popup, &w);
    const int width = w.right - w.left, height = w.bottom - w.top;
    const PixelBuffer expected =
        RenderSkinImage(TRect{0, 0, width, height}, bg.Map, bg.r, false, bg.Tile != 1, 1, 1);
    const auto shownMenu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    const RECT first = ItemIn(popup, shownMenu, 0);
    const auto same = [&](const PixelBuffer& s, const RECT& r) {
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
          if ((s.Get(x, y) & 0xFFFFFF) != (expected.Get(x, y) & 0xFFFFFF)) return false;
      return true;
    };
    PixelBuffer shot;
    framed = WaitPicture(
        popup,
        [&](const PixelBuffer& s) {
          return same(s, RECT{0, 0, width, 3});
        },
        &shot);
    // The first item's right end, past its text: the item's background is the window's.
    itemsLineUp = WaitPicture(popup, [&](const PixelBuffer& s) {
      return same(s, RECT{first.right - 6, first.top, first.right, first.bottom});
    });
    RECT area{};
    GetWindowRect(main, &area);
    UnionRect(&area, &area, &w);
    SavePicture(forms::CaptureScreen(area), "system-menu");
    CloseMenus();
    finished = true;
  });
  // Alt+space opens the skinned system menu (a modal loop until the watcher closes it).
  INPUT keys[4] = {};
  for (int i = 0; i < 4; ++i)
    keys[i].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_MENU;
  keys[1].ki.wVk = VK_SPACE;
  keys[2].ki.wVk = VK_SPACE;
  keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
  keys[3].ki.wVk = VK_MENU;
  keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, keys, sizeof(INPUT));
  EXPECT_TRUE(PumpUntil([&] { return finished.load(); }));
  watcher.join();
  EXPECT_TRUE(framed.load()) << "the system menu does not show the skin's menu background";
  EXPECT_TRUE(itemsLineUp.load()) << "the system menu's items are not drawn on its background";
}

TEST_F(PopupUse, PlainLookWithoutItemImageAndNativeLookWithoutBackground) {
  data->MenuItem->Map = PixelBuffer();
  data->Colors[kShemeMenu] = 0x40C0F0;     // distinct from the menu background
  data->Colors[kShemeHilight] = 0x802040;  // and from the selected frame
  ShowSkinned();
  HMENU native = menu->Handle();
  const Pixel menuColour = PixelOf(0x40C0F0), hilight = PixelOf(0x802040);
  Track(menu, MenuPoint(), [&](HWND popup) {
    const RECT r = ItemIn(popup, native, piOpen);
    const RECT end{r.right - 8, r.top, r.right, r.bottom};
    EXPECT_TRUE(WaitPicture(popup, [&](const PixelBuffer& s) {
      return Count(s, end, menuColour) == (end.right - end.left) * (end.bottom - end.top);
    })) << "the plain look does not fill items with the Menu colour";
    RECT w{};
    GetWindowRect(popup, &w);
    ASSERT_TRUE(
        input::MoveMouse(POINT{w.left + (r.left + r.right) / 2, w.top + r.top + 4}, Watching())
            .ok());
    EXPECT_TRUE(WaitPicture(popup, [&](const PixelBuffer& s) {
      return Count(s, end, hilight) > 20;
    })) << "the plain look does not fill the selected item with Hilight";
  });
  // Without a menu background the popup keeps the platform's frame; items have the Menu colour.
  data->MenuitemBG->Map = PixelBuffer();
  Track(menu, MenuPoint(), [&](HWND popup) {
    const RECT r = ItemIn(popup, native, piOpen);
    const RECT end{r.right - 8, r.top, r.right, r.bottom};
    PixelBuffer shot;
    EXPECT_TRUE(WaitPicture(
        popup, [&](const PixelBuffer& s) { return Count(s, end, menuColour) > 0; }, &shot));
    SavePicture(shot, "popup-native-frame");
    std::lock_guard l(mgr->Lock());
    ASSERT_EQ(mgr->PopupSkinners().size(), 1u);
    EXPECT_TRUE(mgr->PopupSkinners().front()->MenuBg.Empty()) << "a background was painted";
  });
}

TEST_F(PopupUse, SkinnerGivesTheWindowBackTwiceAndNothingLeaks) {
  ShowSkinned();
  {
    // A popup window the manager does not see (skinning off while it is made).
    mgr->SetActive(false);
    TWinSkinPopMenu p;
    HWND w = CreateWindowExW(0, L"#32768", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_TRUE(w);
    ASSERT_TRUE(p.InitSkin(w, data, nullptr));
    EXPECT_EQ(SendMessageW(w, SKM_ISSKINNED, 0, 0), 1);
    p.UnSubClass();
    p.UnSubClass();
    EXPECT_FALSE(p.Subclassed());
    EXPECT_NE(SendMessageW(w, SKM_ISSKINNED, 0, 0), 1);
    DestroyWindow(w);
    mgr->SetActive(true);
  }
  for (int i = 0; i < 3; ++i)
    Track(menu, MenuPoint(), [](HWND) {});
  const forms::test::GuiObjects before = forms::test::CountGuiObjects();
  for (int i = 0; i < 50; ++i)
    Track(menu, MenuPoint(),
          [&](HWND popup) { WaitPicture(popup, [](const PixelBuffer&) { return true; }); });
  EXPECT_TRUE(PumpUntil([&] { return Skinners() == 0; })) << "a popup skinner stayed";
  const forms::test::GuiObjects after = forms::test::CountGuiObjects();
  EXPECT_LE(after.gdi, before.gdi) << "GDI objects lost over 50 opens";
  EXPECT_LE(after.user, before.user);
}

TEST_F(PopupUse, UnskinningSwitchesOwnerDrawingOffAndKeepsTheProgramsHandlers) {
  int own = 0;
  items[piPlain]->OnMeasureItem = [&](forms::TObject*, forms::TCanvas*, int&, int&) { ++own; };
  auto* mainMenu = new forms::TMainMenu(form);
  auto* top = new forms::TMenuItem(form);
  top->SetCaption(u"&File");
  auto* deep = new forms::TMenuItem(form);
  deep->SetCaption(u"&New");
  top->Add(deep);
  mainMenu->Items()->Add(top);
  form->SetMenu(mainMenu);
  ShowSkinned();
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_TRUE(items[piOpen]->OnDrawItem);
  EXPECT_TRUE(items[piOpen]->OnMeasureItem);
  EXPECT_TRUE(child->OnDrawItem) << "items below the top level are drawn too";
  sf->InitMainMenu(form, true);
  EXPECT_TRUE(mainMenu->OwnerDraw());
  EXPECT_FALSE(top->OnDrawItem) << "the menu bar's own items are not owner-drawn";
  EXPECT_TRUE(deep->OnDrawItem);
  // Unskinned: what the skin set goes, the program's own handler stays.
  sf->Skinstate = kSkinIdle;
  mgr->DeleteForm2(sf);
  sf->UnSubclass();
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(mainMenu->OwnerDraw());
  EXPECT_FALSE(items[piOpen]->OnDrawItem);
  EXPECT_FALSE(items[piOpen]->OnMeasureItem);
  EXPECT_FALSE(deep->OnDrawItem);
  EXPECT_FALSE(child->OnDrawItem);
  ASSERT_TRUE(items[piPlain]->OnMeasureItem);
  int w = 0, h = 0;
  items[piPlain]->OnMeasureItem(items[piPlain], nullptr, w, h);
  EXPECT_EQ(own, 1);
  // A menu the program made owner-drawn itself stays so.
  auto* drawn = new forms::TPopupMenu(form);
  drawn->SetOwnerDraw(true);
  sf->InitPopMenu(form, true, false);
  sf->InitPopMenu(form, false, false);
  EXPECT_TRUE(drawn->OwnerDraw());
}

// A skinner that goes without switching its handlers off (its window was destroyed) leaves
// them behind: they draw the plain look instead of calling it, and the form's next skinner
// takes them over.
TEST_F(PopupUse, ANewSkinnerTakesOverTheHandlersOfAGoneOne) {
  const RECT item{0, 0, 160, 22};
  forms::TBitmap bmp(item.right, item.bottom);
  const auto selectedFrame = [&] {
    items[piOpen]->DrawItem(bmp.Canvas(), item, true);
    GdiFlush();
    return Count(PixelBuffer(bmp.Pixels()), item, 0x4A78B0);
  };
  auto* gone = new TWinSkinForm(nullptr);
  gone->fsd = data;
  gone->InitPopMenu(form, true, false);
  EXPECT_GT(selectedFrame(), 40);
  delete gone;
  EXPECT_EQ(selectedFrame(), 0) << "a handler of a freed skinner drew the skin's look";
  TWinSkinForm next(nullptr);
  next.fsd = data;
  next.InitPopMenu(form, true, false);
  EXPECT_GT(selectedFrame(), 40) << "the next skinner did not take the handlers over";
  next.InitPopMenu(form, false, false);
  EXPECT_FALSE(items[piOpen]->OnDrawItem);
}

// The manager hands a menu to the popup skinner showing it: the newest without one, once; no
// menu is no menu, and a background is only found for a menu a skinner holds.
TEST_F(PopupUse, ManagerHandsEachMenuToOnePopupSkinner) {
  const auto popupWindow = [this] {
    HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, L"#32768", L"", WS_POPUP, 0, 0, 60, 40, nullptr,
                             nullptr, nullptr, nullptr);
    windows.push_back(w);
    return w;
  };
  HWND older = popupWindow(), newer = popupWindow();
  ASSERT_EQ(Skinners(), 2u);
  TWinSkinPopMenu* first = mgr->PopupSkinners().at(0);
  TWinSkinPopMenu* second = mgr->PopupSkinners().at(1);
  ASSERT_EQ(first->hwnd, older);
  ASSERT_EQ(second->hwnd, newer);
  lbb::MenuHandle m1(CreatePopupMenu()), m2(CreatePopupMenu());
  mgr->SetHMenu(nullptr);
  EXPECT_EQ(second->hmenu, nullptr);
  mgr->SetHMenu(m1.get());
  EXPECT_EQ(second->hmenu, m1.get());
  // Every item of a menu asks again: the menu stays where it is.
  mgr->SetHMenu(m1.get());
  EXPECT_EQ(first->hmenu, nullptr);
  mgr->SetHMenu(m2.get());
  EXPECT_EQ(first->hmenu, m2.get());
  EXPECT_EQ(mgr->GetMenuBg(m2.get()), &first->MenuBg);
  EXPECT_EQ(mgr->GetMenuBg(nullptr), nullptr);
  lbb::MenuHandle m3(CreatePopupMenu());
  EXPECT_EQ(mgr->GetMenuBg(m3.get()), nullptr);
  mgr->SetPopMenu();
  EXPECT_TRUE(first->ownerdraw && second->ownerdraw);
  DestroyWindow(newer);
  DestroyWindow(older);
  EXPECT_EQ(Skinners(), 0u);
  EXPECT_EQ(mgr->MenuType(), mtPopup);
}

}  // namespace
}  // namespace lbb::skin::test
