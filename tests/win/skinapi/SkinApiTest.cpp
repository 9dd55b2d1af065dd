// The skin engine's C interface (lbbskin.dll) in a program without the form library: plain
// windows of this module, skinned, kept native, vetoed, switched to another skin, given back,
// loads that fail, start and stop again, a popup menu; and the plain C sample driven from
// outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <thread>
#include <vector>

#include "base/win/Handles.h"
#include "forms/Forms.h"
#include "forms/Screenshot.h"
#include "lbbskin.h"
#include "resources/skin/BuiltinSkin.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/data/FrameMatch.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinScale.h"
#include "skin/win/SkinMessages.h"
#include "tools/input/Input.h"

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kClass[] = L"LbbApiTestWindow";

lbb::input::Waiting Within(DWORD limitMs) {
  lbb::input::Waiting w;
  w.limitMs = limitMs;
  return w;
}

bool WaitFor(const std::function<bool()>& done) {
  return lbb::input::WaitUntil(done, Within(10000));
}

// A skin as the engine shows it: parsed at the screen's resolution.
std::unique_ptr<lbb::skin::TSkinModel> ModelOf(std::span<const uint8_t> bytes) {
  auto m = std::make_unique<lbb::skin::TSkinModel>();
  m->data.Write(bytes.data(), bytes.size());
  m->SetTargetDpi(lbb::forms::ScreenPixelsPerInch());
  m->ParseSkin();
  lbb::skin::ScaleSkinModel(*m, lbb::forms::ScreenPixelsPerInch());
  return m;
}

const lbb::skin::TSkinModel& Slate() {
  static const auto m = ModelOf(lbb::resources::BuiltinSkin());
  return *m;
}

const lbb::skin::TSkinModel& Sand() {
  static const auto m = ModelOf(lbb::resources::SandSkin());
  return *m;
}

bool AnswersSkinned(HWND h) {
  return SendMessageW(h, lbb::skin::SKM_ISSKINNED, 0, 0) == 1;
}

// The screen shows `h` with the frame of `skin`.
bool ShowsFrame(HWND h, const lbb::skin::TSkinModel& skin) {
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const lbb::PixelBuffer shown = lbb::forms::CaptureWindow(h);
  return !shown.Empty() && lbb::skin::FrameLookShown(shown, skin) != 0;
}

bool SkinnedWith(HWND h, const lbb::skin::TSkinModel& skin) {
  return AnswersSkinned(h) && ShowsFrame(h, skin);
}

// A top-level window of this module with a menu bar and a push button, shown and active
// (unless `show` is false).
HWND MakeWindow(const wchar_t* title, int x = 60, bool show = true) {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    return RegisterClassExW(&wc);
  }();
  (void)atom;
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 1, L"&File");
  HWND h = CreateWindowExW(0, kClass, title, WS_OVERLAPPEDWINDOW, x, 60, 360, 240, nullptr, bar,
                           GetModuleHandleW(nullptr), nullptr);
  CreateWindowExW(0, L"Button", L"Push", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 90, 26, h,
                  nullptr, GetModuleHandleW(nullptr), nullptr);
  if (show) {
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
  }
  return h;
}

HWND FirstChild(HWND h) {
  return GetWindow(h, GW_CHILD);
}

class SkinApiTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (HWND h : windows)
      if (IsWindow(h)) DestroyWindow(h);
    lbbskin_stop();
    lbbskin_set_filter(nullptr, nullptr);
    const auto slate = lbb::resources::BuiltinSkin();
    lbbskin_load_memory(slate.data(), slate.size());
    lbb::input::HandlePendingMessages();
  }
  HWND Window(const wchar_t* title, int x = 60) {
    windows.push_back(MakeWindow(title, x));
    return windows.back();
  }
  std::vector<HWND> windows;
};

TEST_F(SkinApiTest, StartSkinsTheWindowItsMenuBandAndItsControls) {
  HWND before = Window(L"shown before start");
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  HWND after = Window(L"made after start", 440);
  EXPECT_TRUE(WaitFor([&] { return SkinnedWith(before, Slate()); }))
      << "a window shown before the start is not skinned";
  EXPECT_TRUE(WaitFor([&] { return SkinnedWith(after, Slate()); }))
      << "a window activated after the start is not skinned";
  EXPECT_EQ(GetMenu(after), nullptr) << "the native menu bar was not taken into the frame";
  EXPECT_TRUE(AnswersSkinned(FirstChild(after))) << "the push button got no skinner";
}

TEST_F(SkinApiTest, AWindowKeptNativeStaysNative) {
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  // Kept native after its creation, before it is shown (a shown window is skinned at once).
  HWND native = MakeWindow(L"native", 60, false);
  windows.push_back(native);
  ASSERT_EQ(lbbskin_keep_native(native, 1), LBBSKIN_OK);
  ShowWindow(native, SW_SHOW);
  HWND other = Window(L"skinned", 440);
  SetForegroundWindow(native);
  ASSERT_TRUE(WaitFor([&] { return SkinnedWith(other, Slate()); }));
  // Activated again after the other one was skinned: the engine has seen it twice.
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == native; }));
  lbb::input::HandlePendingMessages();
  EXPECT_FALSE(AnswersSkinned(native));
  EXPECT_FALSE(ShowsFrame(native, Slate()));
  EXPECT_EQ(lbbskin_keep_native(nullptr, 1), LBBSKIN_E_ARGUMENT);
}

HWND gVetoed = nullptr;

// The filter: counts its calls in `user` and vetoes gVetoed.
int __cdecl VetoOne(HWND h, const wchar_t*, void* user) {
  ++*static_cast<int*>(user);
  return h == gVetoed ? 0 : 1;
}

TEST_F(SkinApiTest, TheFilterVetoesAWindow) {
  HWND& vetoed = gVetoed;
  static int asked = 0;
  asked = 0;
  lbbskin_set_filter(&VetoOne, &asked);
  vetoed = Window(L"vetoed");
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  HWND other = Window(L"allowed", 440);
  ASSERT_TRUE(WaitFor([&] { return SkinnedWith(other, Slate()); }));
  // The window shown before the start is asked about when the deferred "skin all" runs.
  EXPECT_TRUE(WaitFor([&] { return asked >= 2; })) << "the filter was not asked about both windows";
  EXPECT_FALSE(AnswersSkinned(vetoed));
  EXPECT_FALSE(ShowsFrame(vetoed, Slate()));
}

TEST_F(SkinApiTest, ASkinLoadedWhileRunningRepaintsWithIt) {
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  HWND h = Window(L"switched");
  ASSERT_TRUE(WaitFor([&] { return SkinnedWith(h, Slate()); }));
  const auto sand = lbb::resources::SandSkin();
  ASSERT_EQ(lbbskin_load_memory(sand.data(), sand.size()), LBBSKIN_OK);
  EXPECT_TRUE(WaitFor([&] { return SkinnedWith(h, Sand()) && !ShowsFrame(h, Slate()); }))
      << "the window does not show the new skin's frame";
}

TEST_F(SkinApiTest, UnskinAllGivesThePlatformFrameBack) {
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  HWND h = Window(L"given back");
  ASSERT_TRUE(WaitFor([&] { return SkinnedWith(h, Slate()); }));
  ASSERT_EQ(lbbskin_unskin_all(), LBBSKIN_OK);
  EXPECT_TRUE(WaitFor([&] { return !AnswersSkinned(h) && !ShowsFrame(h, Slate()); }))
      << "the window keeps the skin";
  EXPECT_NE(GetMenu(h), nullptr) << "the native menu bar did not come back";
  EXPECT_FALSE(AnswersSkinned(FirstChild(h)));
  // Started again: skinned again.
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  EXPECT_TRUE(WaitFor([&] { return SkinnedWith(h, Slate()); }));
}

TEST_F(SkinApiTest, FailedLoadsAnswerCodesAndKeepTheSkin) {
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  HWND h = Window(L"kept");
  ASSERT_TRUE(WaitFor([&] { return SkinnedWith(h, Slate()); }));
  EXPECT_EQ(lbbskin_load_file(L"C:\\no such folder\\none.skn"), LBBSKIN_E_NOT_FOUND);
  const auto slate = lbb::resources::BuiltinSkin();
  std::vector<uint8_t> damaged(slate.begin(), slate.begin() + slate.size() / 3);
  EXPECT_EQ(lbbskin_load_memory(damaged.data(), damaged.size()), LBBSKIN_E_BAD_SKIN);
  std::vector<uint8_t> noise(4096);
  for (size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<uint8_t>(i * 131 + 7);
  EXPECT_EQ(lbbskin_load_memory(noise.data(), noise.size()), LBBSKIN_E_BAD_SKIN);
  EXPECT_EQ(lbbskin_load_resource(nullptr, L"NOSUCHSKIN", MAKEINTRESOURCEW(10)),
            LBBSKIN_E_NOT_FOUND);
  EXPECT_EQ(lbbskin_set_controls(1u << 30), LBBSKIN_E_ARGUMENT);
  EXPECT_EQ(lbbskin_set_scope(7), LBBSKIN_E_ARGUMENT);
  EXPECT_STRNE(lbbskin_error_text(LBBSKIN_E_BAD_SKIN), lbbskin_error_text(LBBSKIN_E_NOT_FOUND));
  // The program goes on with the skin it had: a new window wears it.
  HWND later = Window(L"after the failures", 440);
  EXPECT_TRUE(WaitFor([&] { return SkinnedWith(later, Slate()) && SkinnedWith(h, Slate()); }));
}

// What the owner of a popup menu saw while the menu was open (WM_ENTERIDLE).
struct TPopupSeen {
  HWND popup = nullptr;
  bool skinned = false;
  bool itemsOwnerDrawn = false;  // the program's plain items, drawn by the skin
  bool ownItemMeasured = false;  // the program's own owner-drawn item came to the program
};
TPopupSeen gPopupSeen;
WNDPROC gProgramProc = nullptr;
constexpr UINT kOwnItem = 3;

bool OwnerDrawn(HMENU menu, UINT position) {
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(menu, position, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) != 0;
}

LRESULT CALLBACK PopupOwnerProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (mis->CtlType == ODT_MENU && mis->itemID == kOwnItem) {
      gPopupSeen.ownItemMeasured = true;
      mis->itemWidth = 60;
      mis->itemHeight = 18;
      return TRUE;
    }
  }
  if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) {
    gPopupSeen.popup = FindWindowW(L"#32768", nullptr);
    gPopupSeen.skinned = gPopupSeen.popup && AnswersSkinned(gPopupSeen.popup);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(gPopupSeen.popup, MN_GETHMENU, 0, 0));
    gPopupSeen.itemsOwnerDrawn = OwnerDrawn(menu, 0) && OwnerDrawn(menu, 1);
    EndMenu();
    return 0;
  }
  return CallWindowProcW(gProgramProc, h, msg, wParam, lParam);
}

// The program's plain items are drawn by the skin while the menu is open and are plain again
// afterwards; an item the program draws itself stays the program's.
TEST_F(SkinApiTest, APopupMenuOfTheThreadIsSkinned) {
  // The program's procedure is under the skin's, as in a program skinned after it started.
  HWND h = Window(L"popup owner");
  gProgramProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupOwnerProc)));
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  ASSERT_TRUE(WaitFor([&] { return SkinnedWith(h, Slate()); }));
  for (int round = 0; round < 3; ++round) {
    gPopupSeen = {};
    const lbb::MenuHandle menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"One");
    AppendMenuW(menu.get(), MF_STRING, 2, L"Two\tCtrl+T");
    AppendMenuW(menu.get(), MF_OWNERDRAW, kOwnItem, nullptr);
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN, 200, 200, 0, h, nullptr);
    ASSERT_NE(gPopupSeen.popup, nullptr) << "round " << round << ": the menu did not open";
    EXPECT_TRUE(gPopupSeen.skinned) << "round " << round << ": the popup menu is not skinned";
    EXPECT_TRUE(gPopupSeen.itemsOwnerDrawn) << "round " << round << ": items drawn natively";
    EXPECT_TRUE(gPopupSeen.ownItemMeasured) << "round " << round << ": own item taken away";
    EXPECT_FALSE(OwnerDrawn(menu.get(), 0) || OwnerDrawn(menu.get(), 1))
        << "round " << round << ": the items were not given back plain";
  }
}

// A program greys an item as it is told its drop-down opens, as it would under its own menu
// bar; the skinned drop-down of the band shows it greyed.
constexpr UINT kCutItem = 10;
struct TDropDownSeen {
  bool told = false;
  bool shownGreyed = false;
} gDropDown;

LRESULT CALLBACK DropDownOwnerProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITMENUPOPUP && !HIWORD(lParam)) {
    gDropDown.told = true;
    EnableMenuItem(reinterpret_cast<HMENU>(wParam), kCutItem, MF_BYCOMMAND | MF_GRAYED);
  }
  if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) {
    const HWND popup = FindWindowW(L"#32768", nullptr);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    gDropDown.shownGreyed = popup && AnswersSkinned(popup) && OwnerDrawn(menu, 0) &&
                            (GetMenuState(menu, kCutItem, MF_BYCOMMAND) & MF_GRAYED);
    EndMenu();
  }
  return CallWindowProcW(gProgramProc, h, msg, wParam, lParam);
}

TEST_F(SkinApiTest, TheProgramIsToldOfTheBandsDropDowns) {
  HWND h = Window(L"drop-down owner");
  HMENU edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, kCutItem, L"Cu&t");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
  const lbb::MenuHandle old(GetMenu(h));
  SetMenu(h, bar);
  gProgramProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DropDownOwnerProc)));
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  ASSERT_TRUE(WaitFor([&] { return SkinnedWith(h, Slate()); }));
  gDropDown = {};
  // A drop-down never told of would stay open: a timer closes it.
  const UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  PostMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, 'e');
  EXPECT_TRUE(WaitFor([] { return gDropDown.told; })) << "the program was not told";
  EXPECT_TRUE(WaitFor([] { return gDropDown.shownGreyed; })) << "Cut is not shown greyed";
  KillTimer(nullptr, guard);
}

// A second UI thread starts the engine on its own windows, destroys its window and stops,
// while the first thread, skinned, goes on handling its messages.
TEST_F(SkinApiTest, ASecondUiThreadSkinsItsWindowAndStops) {
  HWND first = Window(L"first thread");
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  ASSERT_TRUE(WaitFor([&] { return SkinnedWith(first, Slate()); }));
  std::atomic<int> outcome{0};  // 1 skinned and stopped, -1 not
  std::thread second([&] {
    if (lbbskin_start() != LBBSKIN_OK) {
      outcome = -1;
      return;
    }
    HWND h = MakeWindow(L"second thread", 440);
    const bool skinned = WaitFor([&] { return SkinnedWith(h, Slate()); });
    DestroyWindow(h);
    const int stopped = lbbskin_stop();
    lbb::input::HandlePendingMessages();
    outcome = skinned && stopped == LBBSKIN_OK ? 1 : -1;
  });
  if (!WaitFor([&] { return outcome != 0; })) {
    second.detach();
    FAIL() << "the second thread hung";
  }
  second.join();
  EXPECT_EQ(outcome, 1) << "the second thread's window was not skinned, or its stop failed";
  EXPECT_TRUE(SkinnedWith(first, Slate())) << "the first thread's window lost its skin";
}

// The thread's windows and message-only windows (the engine's timer and hint windows).
BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<size_t*>(count);
  return TRUE;
}

size_t ThreadWindowCount() {
  size_t n = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&n));
  for (HWND m = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); m;
       m = FindWindowExW(HWND_MESSAGE, m, nullptr, nullptr))
    if (GetWindowThreadProcessId(m, nullptr) == GetCurrentThreadId()) ++n;
  return n;
}

// One start-skin-stop round: the window is skinned, then given back and the hook is gone
// (a window activated afterwards stays native).
void Round(HWND h, std::vector<HWND>& windows) {
  ASSERT_EQ(lbbskin_start(), LBBSKIN_OK);
  ASSERT_TRUE(WaitFor([&] { return SkinnedWith(h, Slate()); }));
  ASSERT_EQ(lbbskin_stop(), LBBSKIN_OK);
  EXPECT_FALSE(AnswersSkinned(h)) << "stop left the window skinned";
  windows.push_back(MakeWindow(L"after stop", 440));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == windows.back(); }));
  lbb::input::HandlePendingMessages();
  EXPECT_FALSE(AnswersSkinned(windows.back())) << "a hook outlived stop";
  DestroyWindow(windows.back());
}

TEST_F(SkinApiTest, StartAndStopTwiceLeaveNoWindowNorHook) {
  HWND h = Window(L"rounds");
  EXPECT_EQ(lbbskin_stop(), LBBSKIN_E_NOT_STARTED);
  Round(h, windows);
  const size_t afterFirst = ThreadWindowCount();
  const DWORD gdiFirst = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  Round(h, windows);
  EXPECT_EQ(ThreadWindowCount(), afterFirst) << "a round left windows behind";
  // Counted only where the system counts them (Wine answers 0).
  if (gdiFirst > 0) {
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiFirst)
        << "a round left GDI objects behind";
  }
}

// ---- the plain C sample, driven from outside

TEST(SkinSample, MainWindowDialogAndPopupMenuAreSkinned) {
  const fs::path shots = fs::path(LBB_SCREENSHOT_DIR) / "sample";
  fs::remove_all(shots);
  const std::wstring driver = fs::path(LBB_SAMPLE_DRIVER_EXE).wstring();
  std::wstring line = L"\"" + driver + L"\" \"" + fs::path(LBB_SAMPLE_EXE).wstring() +
                      L"\" --shots \"" + shots.wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(driver.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &si, &pi));
  const lbb::KernelHandle process(pi.hProcess), thread(pi.hThread);
  ASSERT_EQ(WaitForSingleObject(process.get(), 120000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u) << "the driver failed a step (its output says which)";
  for (const char* png : {"01-main.png", "02-dialog.png", "03-menu.png"})
    EXPECT_TRUE(fs::exists(shots / png)) << png;
}

}  // namespace
