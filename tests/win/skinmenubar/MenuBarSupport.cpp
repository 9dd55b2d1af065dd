#include "tests/win/skinmenubar/MenuBarSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/PngFile.h"
#include "forms/Screenshot.h"

namespace lbb::skin::test {

namespace {

constexpr const wchar_t* kMenuClass = L"LbbMenuBarTest";
constexpr UINT kGetMenuOfWindow = 0x01E1;  // MN_GETHMENU

LRESULT CALLBACK MenuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* log = reinterpret_cast<TMenuLog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_COMMAND:
      if (log && lParam == 0) log->commands.push_back(LOWORD(wParam));
      return 0;
    case WM_MEASUREITEM: {
      // The items are owner-drawn while the bar tracks them: give them room to be hit.
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      mis->itemWidth = 120;
      mis->itemHeight = 20;
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      const bool selected = (dis->itemState & ODS_SELECTED) != 0;
      FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
      wchar_t text[64] = {};
      GetMenuStringW(reinterpret_cast<HMENU>(dis->hwndItem), dis->itemID, text, 64, MF_BYCOMMAND);
      RECT r = dis->rcItem;
      r.left += 8;
      SetBkMode(dis->hDC, TRANSPARENT);
      DrawTextW(dis->hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER);
      return TRUE;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HMENU Popup(std::initializer_list<std::pair<UINT, const wchar_t*>> items, UINT type) {
  HMENU m = CreatePopupMenu();
  for (const auto& [id, text] : items)
    AppendMenuW(m, MF_STRING | type, id, text);
  return m;
}

void AppendPopup(HMENU bar, HMENU sub, const wchar_t* text, UINT type) {
  AppendMenuW(bar, MF_POPUP | type, reinterpret_cast<UINT_PTR>(sub), text);
}

struct MenuWindows {
  std::vector<HMENU> menus;
};

BOOL CALLBACK CollectMenu(HWND hwnd, LPARAM lp) {
  wchar_t cls[16];
  GetClassNameW(hwnd, cls, 16);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32768" || !IsWindowVisible(hwnd))
    return TRUE;
  DWORD_PTR menu = 0;
  if (SendMessageTimeoutW(hwnd, kGetMenuOfWindow, 0, 0, SMTO_ABORTIFHUNG, 2000, &menu) && menu)
    reinterpret_cast<MenuWindows*>(lp)->menus.push_back(reinterpret_cast<HMENU>(menu));
  return TRUE;
}

void SendMouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof(in));
}

}  // namespace

int TMenuLog::Count(UINT id) const {
  return static_cast<int>(std::count(commands.begin(), commands.end(), id));
}

HWND MakeMenuWindow(TMenuLog* log, bool rtl) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &MenuProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMenuClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  const UINT type = rtl ? MFT_RIGHTORDER : 0;
  HMENU recent = Popup({{kOne, L"One"}, {kTwo, L"Two"}}, type);
  HMENU file = Popup({{kOpen, L"&Open"}}, type);
  AppendPopup(file, recent, L"&Recent", type);
  AppendMenuW(file, MF_STRING | type, kExit, L"E&xit");
  HMENU edit = Popup({{kCopy, L"&Copy"}, {kPaste, L"&Paste"}}, type);
  HMENU view = Popup({{kZoom, L"&Zoom"}}, type);
  HMENU bar = CreateMenu();
  AppendPopup(bar, file, L"&File", type);
  AppendPopup(bar, edit, L"&Edit", type);
  AppendMenuW(bar, MF_STRING | type, kEmpty, L"");
  AppendPopup(bar, view, L"&View", type);
  return CreateWindowExW(0, kMenuClass, L"Menu window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                         420, 300, nullptr, bar, GetModuleHandleW(nullptr), log);
}

std::vector<HMENU> OpenMenus() {
  MenuWindows found;
  EnumWindows(&CollectMenu, reinterpret_cast<LPARAM>(&found));
  return found.menus;
}

bool IsOpen(HMENU m) {
  const auto open = OpenMenus();
  return std::find(open.begin(), open.end(), m) != open.end();
}

bool Highlighted(HMENU m, int position) {
  const UINT state = GetMenuState(m, static_cast<UINT>(position), MF_BYPOSITION);
  return state != static_cast<UINT>(-1) && (state & MF_HILITE) != 0;
}

input::Waiting WatcherWaiting() {
  input::Waiting w;
  w.handleMessages = nullptr;  // the watcher has no windows
  return w;
}

bool MoveTo(POINT screen) {
  return input::MoveMouse(screen, WatcherWaiting()).ok();
}

void LeftClick() {
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
}

void Key(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof(in));
}

void Tap(WORD vk) {
  Key(vk, true);
  Key(vk, false);
}

void AltTap(WORD vk) {
  Key(VK_MENU, true);
  Tap(vk);
  Key(VK_MENU, false);
}

void TWatcher::Fail(const std::string& what) {
  std::lock_guard l(lock);
  failures.push_back(what);
}

bool TWatcher::Expect(const std::function<bool()>& done, const std::string& what) {
  if (input::WaitUntil(done, WatcherWaiting())) return true;
  Fail(what);
  return false;
}

void RunWatched(const std::function<void(TWatcher&)>& watch) {
  TWatcher w;
  std::atomic<bool> finished{false};
  std::thread t([&] {
    watch(w);
    // Whatever the watch left open closes.
    for (int i = 0; i < 4 && !OpenMenus().empty(); ++i) {
      Tap(VK_ESCAPE);
      input::WaitUntil([] { return OpenMenus().empty(); }, WatcherWaiting());
    }
    finished = true;
  });
  const DWORD start = GetTickCount();
  while (!finished && GetTickCount() - start < 120000)
    PumpUntil([&] { return finished.load(); });
  t.join();
  Settle();
  for (const std::string& f : w.failures)
    ADD_FAILURE() << f;
}

HWND MenuBarTest::SkinnedMenuWindow(bool rtl) {
  hwnd = MakeMenuWindow(&log, rtl);
  windows.push_back(hwnd);
  Start();
  EXPECT_TRUE(SkinShown(hwnd));
  sf = mgr->FindForm(hwnd);
  EXPECT_NE(sf, nullptr);
  EXPECT_TRUE(input::BringToFront(hwnd).ok());
  Painted(hwnd);
  return hwnd;
}

POINT MenuBarTest::ButtonCentre(int i) const {
  RECT w{};
  GetWindowRect(hwnd, &w);
  const RECT& b = sf->menu->Buttons[static_cast<size_t>(i)]->bounds;
  return POINT{w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2};
}

// The cursor may already rest where button `i` now is (left there by an earlier test, under a
// window just shown): it first goes below the band so that reaching the button is a move.
POINT MenuBarTest::HoverButton(int i) {
  const POINT below{ButtonCentre(i).x, ButtonCentre(i).y + 80};
  EXPECT_TRUE(input::MoveMouse(below).ok());
  EXPECT_TRUE(PumpUntil([&] { return !sf->ActiveBtn; }));
  EXPECT_TRUE(input::MoveMouse(ButtonCentre(i)).ok());
  TMenuBtn* b = sf->menu->Buttons[static_cast<size_t>(i)].get();
  EXPECT_TRUE(PumpUntil([&] { return b->state == kNCHot && sf->ActiveBtn == b; }));
  return below;
}

RECT MenuBarTest::BandRect() const {
  RECT w{};
  GetWindowRect(hwnd, &w);
  return RECT{sf->bw.left, sf->bw.top, (w.right - w.left) - sf->bw.right,
              sf->bw.top + sf->MenuHeight};
}

PixelBuffer MenuBarTest::Painted(HWND h) {
  RECT w{};
  GetWindowRect(h, &w);
  TDibSurface surface(w.right - w.left, w.bottom - w.top);
  EXPECT_EQ(SendMessageW(h, SKM_PAINTFRAMETO, reinterpret_cast<WPARAM>(surface.Dc()), SkinMagic),
            SkinMagic);
  return surface.Pixels();
}

void MenuBarTest::SaveShot(const RECT& screen, const std::string& name) const {
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  const std::string png = EncodePng(forms::CaptureScreen(screen));
  std::ofstream(std::string(LBB_SCREENSHOT_DIR) + "/" + name, std::ios::binary) << png;
}

}  // namespace lbb::skin::test
