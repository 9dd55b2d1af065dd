// Helpers of the menu-bar tests: a window with a native menu whose procedure records its
// commands and gives owner-drawn items a size, and a watcher thread that drives the modal
// menu loop with real input while the test's thread runs it.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "skin/forms/WinSkinMenuBar.h"
#include "tests/win/skinengine/EngineSupport.h"
#include "tools/input/Input.h"

namespace lbb::skin::test {

// Command ids of the test menu: File (Open, Recent > One, Two, Exit), Edit (Copy, Paste), an
// item with an empty caption, View (Zoom).
enum : UINT {
  kOpen = 101,
  kOne = 111,
  kTwo = 112,
  kExit = 103,
  kCopy = 201,
  kPaste = 202,
  kEmpty = 300,
  kZoom = 401,
};

// What the menu window saw.
struct TMenuLog {
  std::vector<UINT> commands;  // WM_COMMAND ids, in order
  int Count(UINT id) const;
};

// A visible window with the test menu (items right to left with `rtl`); the log must outlive
// it.
HWND MakeMenuWindow(TMenuLog* log, bool rtl = false);

// The menu windows ("#32768") of this process that are showing, and their menus.
std::vector<HMENU> OpenMenus();
bool IsOpen(HMENU m);
bool Highlighted(HMENU m, int position);

// Real input for the watcher thread (it has no windows: nothing to handle while waiting).
input::Waiting WatcherWaiting();
bool MoveTo(POINT screen);
void LeftClick();
void Key(WORD vk, bool down);
void Tap(WORD vk);
void AltTap(WORD vk);

// Runs `watch` on a thread of its own while this thread handles messages (and the menu loops
// the input starts) until it has finished; its failures are collected and reported here.
class TWatcher {
 public:
  // A failure of the watcher: recorded, and the watch goes on to close what it opened.
  void Fail(const std::string& what);
  // Waits (bounded) for `done`; false, with the failure recorded as `what`, when it never holds.
  bool Expect(const std::function<bool()>& done, const std::string& what);
  std::vector<std::string> failures;
  std::mutex lock;
};
void RunWatched(const std::function<void(TWatcher&)>& watch);

class MenuBarTest : public EngineTest {
 protected:
  HWND SkinnedMenuWindow(bool rtl = false);
  // The screen point at the middle of bar button `i`.
  POINT ButtonCentre(int i) const;
  RECT BandRect() const;  // frame coordinates
  // Brings the mouse onto button `i` from below the band and waits until it is the hot
  // ActiveBtn; returns the point below (failures are recorded).
  POINT HoverButton(int i);
  static PixelBuffer Painted(HWND h);
  void SaveShot(const RECT& screen, const std::string& name) const;

  TMenuLog log;
  HWND hwnd = nullptr;
  TWinSkinForm* sf = nullptr;
};

}  // namespace lbb::skin::test
