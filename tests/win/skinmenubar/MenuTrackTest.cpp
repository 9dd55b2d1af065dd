// Drop-downs opened from the painted menu bar with the real mouse and keyboard: sliding to a
// neighbour with the mouse and the arrow keys (mirrored in right-to-left menus), submenus,
// commands chosen exactly once, Escape, Alt+letter, and the message-filter hook that lives
// exactly as long as a drop-down.
#include <gtest/gtest.h>

#include <atomic>

#include "forms/Screenshot.h"
#include "tests/win/skinmenubar/MenuBarSupport.h"

namespace lbb::skin::test {
namespace {

class MenuTrack : public MenuBarTest {
 protected:
  HMENU Sub(int i) const { return sf->menu->Buttons[static_cast<size_t>(i)]->hsubmenu; }
  // Moves the mouse onto button `index` of the bar and waits for its drop-down `m` to open
  // with its first item highlighted. The display can put the cursor back where a press was
  // made (a late echo of it) after it reached the button, and the drop-down follows the
  // cursor: the move is made again then, twice at most, never while the cursor stays there.
  bool SlideTo(TWatcher& w, int index, HMENU m, const std::string& what) const {
    const POINT target = ButtonCentre(index);
    const auto cursorThere = [target] {
      POINT p{};
      return GetCursorPos(&p) && p.x == target.x && p.y == target.y;
    };
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (!MoveTo(target)) {
        w.Fail("the mouse did not reach button " + std::to_string(index));
        return false;
      }
      const auto opened = [m] { return IsOpen(m) && Highlighted(m, 0); };
      input::WaitUntil([&] { return opened() || !cursorThere(); }, WatcherWaiting());
      if (opened()) return true;
      if (cursorThere()) break;
    }
    return FailOpening(w, m, what);
  }
  // Waits until drop-down `m` is open with its first item highlighted.
  static bool OpenWithFirst(TWatcher& w, HMENU m, const std::string& what) {
    if (input::WaitUntil([m] { return IsOpen(m) && Highlighted(m, 0); }, WatcherWaiting()))
      return true;
    return FailOpening(w, m, what);
  }
  // Reports `what`, and whether `m` is open at all.
  static bool FailOpening(TWatcher& w, HMENU m, const std::string& what) {
    w.Fail(what + (IsOpen(m) ? " (it is open, its first item not highlighted)" : " (not open)"));
    return false;
  }
  // No drop-down shows and the bar's tracking has ended (the window's thread is out of the
  // menu loop).
  bool Closed(TWatcher& w, const std::string& what) const {
    return w.Expect([this] { return OpenMenus().empty() && !sf->InMenuLoop(); }, what);
  }
};

TEST_F(MenuTrack, TheMouseSlidesFromAnOpenDropDownOntoTheNeighbour) {
  SkinnedMenuWindow();
  const HMENU file = Sub(0), edit = Sub(1);
  RECT window{};
  GetWindowRect(hwnd, &window);
  const RECT pressed = sf->menu->Buttons[0]->bounds;
  const Pixel hilight =
      PixelOf(static_cast<uint32_t>(data->Colors[kShemeButtonHilight]) & 0xFFFFFF);
  RunWatched([&](TWatcher& w) {
    if (!MoveTo(ButtonCentre(0))) return w.Fail("the mouse did not reach File");
    LeftClick();
    if (!OpenWithFirst(w, file, "File did not open with its first item highlighted")) return;
    // The pressed button is framed while its drop-down is open.
    const PixelBuffer shot = forms::CaptureWindow(hwnd);
    if (shot.At(pressed.left, pressed.top) != hilight ||
        shot.At(pressed.right - 1, pressed.top + 2) != hilight)
      w.Fail("the pressed File button is not framed in ButtonHilight");
    SaveShot(RECT{window.left, window.top, window.right, window.bottom},
             "menubar-file-dropdown.png");
    if (!SlideTo(w, 1, edit, "Edit did not open with its first item highlighted")) return;
    if (IsOpen(file)) w.Fail("File stayed open beside Edit");
    Tap(VK_ESCAPE);
    Closed(w, "Escape did not close Edit");
  });
  EXPECT_TRUE(log.commands.empty()) << "a command ran without being chosen";
  // Owner-drawn only while tracked: the menu is as it was for the window to get back.
  for (HMENU m : {file, edit, GetSubMenu(file, 1)}) {
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof(mii);
      mii.fMask = MIIM_FTYPE;
      ASSERT_TRUE(GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &mii));
      EXPECT_EQ(mii.fType & MFT_OWNERDRAW, 0u) << "item " << i;
    }
  }
  EXPECT_TRUE(MenuTrackState().ownerDrawn.empty());
  EXPECT_FALSE(sf->InMenuLoop());
  EXPECT_FALSE(MenuTrackState().hook);
  EXPECT_EQ(MenuTrackState().index, -1);
}

TEST_F(MenuTrack, ArrowKeysSlideAcrossTheBarAndIntoSubmenus) {
  SkinnedMenuWindow();
  const HMENU file = Sub(0), view = Sub(3);
  const HMENU recent = GetSubMenu(file, 1);
  RunWatched([&](TWatcher& w) {
    AltTap('F');
    if (!OpenWithFirst(w, file, "Alt+F did not open File")) return;
    // Left from the first button wraps to the last (the empty one is skipped).
    Tap(VK_LEFT);
    if (!OpenWithFirst(w, view, "Left did not move from File to View")) return;
    Tap(VK_RIGHT);
    if (!OpenWithFirst(w, file, "Right did not move from View to File")) return;
    // Right on an item with sub-items opens them; Left there only closes them.
    Tap(VK_DOWN);
    if (!w.Expect([&] { return Highlighted(file, 1); }, "Down did not reach Recent")) return;
    Tap(VK_RIGHT);
    if (!w.Expect([&] { return IsOpen(recent) && IsOpen(file); }, "Right did not open Recent"))
      return;
    Tap(VK_LEFT);
    if (!w.Expect([&] { return !IsOpen(recent) && IsOpen(file); },
                  "Left in Recent did not just close it"))
      return;
    Tap(VK_ESCAPE);
    Closed(w, "Escape did not close File");
  });
  EXPECT_TRUE(log.commands.empty());
}

TEST_F(MenuTrack, RightToLeftMenusMirrorTheArrowKeys) {
  SkinnedMenuWindow(true);
  const HMENU file = Sub(0), edit = Sub(1);
  RunWatched([&](TWatcher& w) {
    AltTap('F');
    if (!OpenWithFirst(w, file, "Alt+F did not open File")) return;
    // Edit lies left of File: Left goes there, Right comes back.
    Tap(VK_LEFT);
    if (!OpenWithFirst(w, edit, "Left did not move from File to Edit")) return;
    Tap(VK_RIGHT);
    if (!OpenWithFirst(w, file, "Right did not move from Edit to File")) return;
    Tap(VK_ESCAPE);
    Closed(w, "Escape did not close File");
  });
}

TEST_F(MenuTrack, ChosenItemsRunTheirCommandOnceAndEscapeRunsNone) {
  SkinnedMenuWindow();
  const HMENU file = Sub(0), edit = Sub(1);
  RunWatched([&](TWatcher& w) {
    // With the mouse.
    if (!MoveTo(ButtonCentre(0))) return w.Fail("the mouse did not reach File");
    LeftClick();
    if (!OpenWithFirst(w, file, "File did not open")) return;
    RECT item{};
    if (!GetMenuItemRect(hwnd, file, 0, &item)) return w.Fail("no rectangle for Open");
    if (!MoveTo(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}))
      return w.Fail("the mouse did not reach Open");
    LeftClick();
    if (!Closed(w, "choosing Open did not close File")) return;
    // With the keyboard: Alt+E, the first item is highlighted, Enter.
    AltTap('E');
    if (!OpenWithFirst(w, edit, "Alt+E did not open Edit")) return;
    Tap(VK_RETURN);
    if (!Closed(w, "Enter did not close Edit")) return;
    // Escape: nothing.
    AltTap('F');
    if (!OpenWithFirst(w, file, "Alt+F did not open File")) return;
    Tap(VK_ESCAPE);
    Closed(w, "Escape did not close File");
  });
  ASSERT_TRUE(PumpUntil([&] { return log.Count(kOpen) >= 1 && log.Count(kCopy) >= 1; }));
  Settle();
  EXPECT_EQ(log.Count(kOpen), 1);
  EXPECT_EQ(log.Count(kCopy), 1);
  EXPECT_EQ(log.commands.size(), 2u) << "another command ran";
}

TEST_F(MenuTrack, TheMenuKeyAloneOpensTheFirstButtonAndMenuNextTheOneAtAPoint) {
  SkinnedMenuWindow();
  const HMENU file = Sub(0), edit = Sub(1);
  const POINT editAt = ButtonCentre(1);
  RunWatched([&](TWatcher& w) {
    Tap(VK_F10);
    if (!OpenWithFirst(w, file, "F10 did not open File")) return;
    Tap(VK_ESCAPE);
    if (!Closed(w, "Escape did not close File")) return;
    PostMessageW(hwnd, SKM_MENUNEXT, 0, MAKELPARAM(editAt.x, editAt.y));
    if (!OpenWithFirst(w, edit, "SKM_MENUNEXT did not open Edit")) return;
    Tap(VK_ESCAPE);
    Closed(w, "Escape did not close Edit");
  });
  EXPECT_TRUE(log.commands.empty());
}

TEST_F(MenuTrack, TheHookLivesExactlyAsLongAsEachDropDown) {
  SkinnedMenuWindow();
  TMenuTrackState& t = MenuTrackState();
  // A second install while one is there is ignored.
  const int before = t.hookInstalls;
  sf->InstallMenuHook();
  const HHOOK first = t.hook.get();
  sf->InstallMenuHook();
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(t.hook.get(), first);
  EXPECT_EQ(t.hookInstalls, before + 1);
  TWinSkinForm::RemoveMenuHook();
  EXPECT_FALSE(t.hook);
  // A hundred drop-downs opened and closed: one hook each, none left.
  const int opened = t.hookInstalls;
  const HMENU file = Sub(0);
  RECT window{};
  GetWindowRect(hwnd, &window);
  const RECT& b = sf->menu->Buttons[0]->bounds;
  const LPARAM at = MAKELPARAM(window.left + b.left + 2, window.top + b.top + 2);
  RunWatched([&](TWatcher& w) {
    for (int i = 0; i < 100; ++i) {
      PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTMENU, at);
      if (!OpenWithFirst(w, file, "File did not open on press " + std::to_string(i))) return;
      Tap(VK_ESCAPE);
      if (!Closed(w, "File did not close after press " + std::to_string(i))) return;
    }
  });
  EXPECT_FALSE(t.hook);
  EXPECT_EQ(t.hookInstalls, opened + 100);
  EXPECT_FALSE(sf->InMenuLoop());
}

}  // namespace
}  // namespace lbb::skin::test
