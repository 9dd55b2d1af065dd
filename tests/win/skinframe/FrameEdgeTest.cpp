// The skinned frame's edge cases on plain windows skinned with the built-in skin: looks of
// active and inactive windows, the minimised caption, title placement, double clicks, the
// skinned system menu, hints, the maximised caption's hit code, skins without caption buttons
// or keyed pieces, and caption buttons freed under the hover timer.
#include <windows.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <deque>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/Screenshot.h"
#include "skin/data/imgutil.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {
namespace {

class FrameEdge : public EngineTest {
 protected:
  // The logs outlive the windows, which the base fixture destroys after each test.
  TRawLog& NewLog() { return logs.emplace_back(); }
  std::deque<TRawLog> logs;

  HWND Skinned(TRawLog& log, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, DWORD exstyle = 0) {
    HWND h = MakeRawWindow(&log, style, exstyle);
    windows.push_back(h);
    Start();
    EXPECT_TRUE(SkinShown(h));
    return h;
  }
  // The frame painted into a surface of the window's size.
  static PixelBuffer Painted(HWND h) {
    RECT w{};
    GetWindowRect(h, &w);
    TDibSurface surface(w.right - w.left, w.bottom - w.top);
    EXPECT_EQ(SendMessageW(h, SKM_PAINTFRAMETO, reinterpret_cast<WPARAM>(surface.Dc()), SkinMagic),
              SkinMagic);
    return surface.Pixels();
  }
  static LPARAM ScreenPoint(HWND h, int frameX, int frameY) {
    RECT w{};
    GetWindowRect(h, &w);
    return MAKELPARAM(w.left + frameX, w.top + frameY);
  }
  static TWinSysButton* ButtonOf(TWinSkinForm& sf, int action) {
    for (const auto& b : sf.SysBtn)
      if (b->data->Action == action && b->visible) return b.get();
    return nullptr;
  }
};

// Whether column x of the painted left border is the piece's look `index` (of 2).
bool LeftBorderIs(const PixelBuffer& painted, const TDataSkinObject& piece, int width, int height,
                  int index) {
  const PixelBuffer look = RenderSkinImage(TRect{0, 0, width, height}, piece.Map, piece.r, false,
                                           piece.Tile != 1, std::max(1, piece.frame), index);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (painted.At(x, y) != look.At(x, y)) return false;
  return true;
}

TEST_F(FrameEdge, InactiveWindowsUseTheSecondLookOfTwoFramePiecesAndTheOnlyLookOfOne) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  TWinSkinForm* sf = mgr->FindForm(h);
  ASSERT_NE(sf, nullptr);
  TDataSkinBorder& left = *data->border[kBorderLeft];
  ASSERT_EQ(left.frame, 2);
  RECT w{};
  GetWindowRect(h, &w);
  const int H = w.bottom - w.top;
  SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(LeftBorderIs(Painted(h), left, sf->bw.left, H, 1));
  SendMessageW(h, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(sf->WindowActive());
  const PixelBuffer inactive = Painted(h);
  EXPECT_TRUE(LeftBorderIs(inactive, left, sf->bw.left, H, 2));
  EXPECT_FALSE(LeftBorderIs(inactive, left, sf->bw.left, H, 1)) << "the two looks differ";
  // A piece with a single frame looks the same either way: its only look.
  left.frame = 1;
  EXPECT_TRUE(LeftBorderIs(Painted(h), left, sf->bw.left, H, 1));
  left.frame = 2;
}

TEST_F(FrameEdge, MinimisedWindowShowsTheCaptionAcrossItsFullWidth) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  TWinSkinForm* sf = mgr->FindForm(h);
  ShowWindow(h, SW_MINIMIZE);
  ASSERT_TRUE(
      PumpUntil([&] { return IsIconic(h) && sf->Windowstate == TSkinWindowState::swsMin; }));
  const PixelBuffer painted = Painted(h);
  const int W = painted.Width();
  const auto& top = data->border[kBorderTop];
  const PixelBuffer expected =
      RenderSkinImage(TRect{0, 0, W, sf->bw.top}, top->Map, top->r, true, top->Tile != 1,
                      top->frame, sf->WindowActive() ? 1 : 2);
  // The caption starts at the window's left edge: the Top piece's left corner is at x 0.
  int compared = 0;
  for (int y = 0; y < std::min<int>(sf->bw.top, painted.Height()); ++y)
    for (int x = 0; x < sf->CaptionRect().left && x < W; ++x) {
      bool onButton = false;
      for (const auto& b : sf->SysBtn)
        if (b->visible && x >= b->bounds.left && x < b->bounds.right && y >= b->bounds.top &&
            y < b->bounds.bottom)
          onButton = true;
      if (onButton) continue;
      ++compared;
      EXPECT_EQ(painted.At(x, y), expected.At(x, y)) << x << "," << y;
    }
  EXPECT_GT(compared, 0);
  // Below the caption: the skin's button face.
  const Pixel face = PixelOf(static_cast<uint32_t>(data->Colors[kShemeButtonFace]) & 0xFFFFFF);
  for (int y = sf->bw.top; y < painted.Height(); ++y)
    EXPECT_EQ(painted.At(W / 2, y), face);
  ShowWindow(h, SW_RESTORE);
}

TEST_F(FrameEdge, LongTitleIsClippedAtTheRightClipAndRightToLeftTitlesShiftTen) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  TWinSkinForm* sf = mgr->FindForm(h);
  RECT w{};
  GetWindowRect(h, &w);
  const int W = w.right - w.left;
  SetWindowTextW(h, std::wstring(300, L'W').c_str());
  Painted(h);
  // Built-in skin: right clip 8; the text ends there (with an ellipsis drawn by the platform).
  EXPECT_EQ(sf->TitleRect().right, W - sf->bw.right - 8);
  EXPECT_EQ(sf->TitleRect().left, sf->bw.left + 22);
  // A right-to-left window: the short title is right-aligned before the right buttons
  // (RightBtn 110: minimise) and moved 10 right.
  TRawLog& log2 = NewLog();
  HWND r = Skinned(log2, WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_LEFTSCROLLBAR);
  TWinSkinForm* rf = mgr->FindForm(r);
  ASSERT_TRUE(rf->RightToLeft());
  SetWindowTextW(r, L"Hi");
  Painted(r);
  GetWindowRect(r, &w);
  EXPECT_EQ(rf->RightButtonsWidth(), 110);
  EXPECT_EQ(rf->CaptionRect().right, (w.right - w.left) - rf->bw.right - 110 + 10);
}

TEST_F(FrameEdge, DialogTitleStartsSixteenFurtherLeft) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_DLGMODALFRAME);
  TWinSkinForm* sf = mgr->FindForm(h);
  ASSERT_EQ(sf->FormBorder, TSkinFormBorder::sbsDialog);
  Painted(h);
  // Left-aligned: text shift 22 from the caption's left (the left border, 4), then 16 back.
  EXPECT_EQ(sf->CaptionRect().left, 4 + 22 - 16);
  // The window-icon button is hidden on dialog borders.
  EXPECT_EQ(ButtonOf(*sf, 3), nullptr);
}

TEST_F(FrameEdge, DoubleClicks) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  TWinSkinForm* sf = mgr->FindForm(h);
  Painted(h);
  // On the caption of a normal window with a maximise box: maximised; again: restored.
  SendMessageW(h, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(h, 200, 15));
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(h) != FALSE; }));
  Painted(h);
  SendMessageW(h, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(h, 200, 15));
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(h); }));
  // Without a maximise box the window's own procedure has the double click.
  TRawLog& log2 = NewLog();
  HWND fixed = Skinned(log2, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  Painted(fixed);
  log2.Clear();
  SendMessageW(fixed, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(fixed, 200, 15));
  EXPECT_EQ(log2.Count(WM_NCLBUTTONDBLCLK), 1);
  EXPECT_FALSE(IsZoomed(fixed));
  // On the window-icon button: the window closes.
  Painted(h);
  TWinSysButton* icon = ButtonOf(*sf, 3);
  ASSERT_NE(icon, nullptr);
  SendMessageW(h, WM_NCLBUTTONDBLCLK, HTCAPTION,
               ScreenPoint(h, icon->bounds.left + 2, icon->bounds.top + 2));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(h); }));
}

// Closes the menu that is showing (the skinned system menu's modal loop) once it is there.
struct MenuCloser {
  static inline bool seen = false;
  static inline HMENU menu = nullptr;  // the menu that showed
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    if (HWND shown = FindWindowW(L"#32768", nullptr)) {
      seen = true;
      menu = reinterpret_cast<HMENU>(SendMessageW(shown, 0x01E1 /* MN_GETHMENU */, 0, 0));
      EndMenu();
      KillTimer(nullptr, id);
    }
  }
};

TEST_F(FrameEdge, RightClickShowsTheSkinnedSystemMenuAndASecondOneClosesOnlyOverAButton) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  TWinSkinForm* sf = mgr->FindForm(h);
  Painted(h);
  MenuCloser::seen = false;
  const UINT_PTR t = SetTimer(nullptr, 0, 30, &MenuCloser::Tick);
  SendMessageW(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(h, 200, 15));
  KillTimer(nullptr, t);
  EXPECT_TRUE(MenuCloser::seen) << "no menu was shown";
  ASSERT_TRUE(sf->SystemMenu());
  EXPECT_EQ(sf->SystemMenu()->Tag(), 0x8235);
  EXPECT_GT(sf->SystemMenu()->Items()->Count(), 3);
  EXPECT_EQ(log.Count(WM_NCRBUTTONDOWN), 0) << "swallowed";
  // A second right click within the double-click time, no button hot: nothing.
  sf->SetSysMenuPopTime(GetTickCount());
  SendMessageW(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(h, 200, 15));
  Settle();
  EXPECT_TRUE(IsWindow(h));
  // With a caption button hot: the window closes.
  sf->SetSysMenuPopTime(GetTickCount());
  sf->ActiveBtn = sf->SysBtn.front().get();
  SendMessageW(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(h, 200, 15));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(h); }));
}

TEST_F(FrameEdge, AltSpaceShowsTheSkinnedSystemMenuAndAltLetterOpensTheMenuBar) {
  TRawLog& log = NewLog();
  // A window with a native menu bar: "&File" with one item, "&Help" with one.
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu(), help = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 101, L"&Open");
  AppendMenuW(help, MF_STRING, 201, L"&About");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
  HWND h = MakeRawWindow(&log, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kRawClass, nullptr, bar);
  windows.push_back(h);
  Start();
  ASSERT_TRUE(SkinShown(h));
  TWinSkinForm* sf = mgr->FindForm(h);
  EXPECT_GT(sf->MenuHeight, 0);
  EXPECT_EQ(GetMenu(h), nullptr) << "the band stands in for the native bar";
  Painted(h);
  // Alt+space: the skinned system menu.
  MenuCloser::seen = false;
  UINT_PTR t = SetTimer(nullptr, 0, 30, &MenuCloser::Tick);
  SendMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, L' ');
  KillTimer(nullptr, t);
  EXPECT_TRUE(MenuCloser::seen);
  EXPECT_TRUE(sf->SystemMenu());
  // Alt+H: the key is taken (answered 1) and the menu bar's "&Help" button is pressed, which
  // opens its drop-down.
  MenuCloser::seen = false;
  MenuCloser::menu = nullptr;
  log.Clear();
  t = SetTimer(nullptr, 0, 30, &MenuCloser::Tick);
  EXPECT_EQ(SendMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, L'h'), 1);
  EXPECT_TRUE(PumpUntil([] { return MenuCloser::seen; }));
  KillTimer(nullptr, t);
  EXPECT_EQ(MenuCloser::menu, help) << "the Help drop-down was opened";
  // A letter no item has goes to the window's own procedure.
  log.Clear();
  SendMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, L'q');
  EXPECT_EQ(log.Count(WM_SYSCOMMAND), 1);
}

// Alt with Shift (or Ctrl) and a letter is no menu-bar accelerator of a framework form.
TEST_F(FrameEdge, AltWithShiftAndALetterOpensNoMenuBarButton) {
  Start();
  forms::TForm form(nullptr);
  auto* menu = new forms::TMainMenu(&form);
  auto* file = new forms::TMenuItem(&form);
  file->SetCaption(u"&File");
  auto* open = new forms::TMenuItem(&form);
  open->SetCaption(u"&Open");
  file->Add(open);
  menu->Items()->Add(file);
  form.SetMenu(menu);
  form.SetBounds(120, 120, 320, 220);
  form.ShowForm();
  ASSERT_TRUE(SkinShown(form.Handle()));
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  auto press = [&](bool shift) {
    BYTE now[256];
    std::copy(std::begin(keys), std::end(keys), now);
    now[VK_MENU] = 0x80;
    now[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(now);
    MenuCloser::seen = false;
    const UINT_PTR t = SetTimer(nullptr, 0, 30, &MenuCloser::Tick);
    const LRESULT r = form.Perform(forms::CM_DIALOGCHAR, L'f', 0);
    KillTimer(nullptr, t);
    SetKeyboardState(keys);
    return r != 0 || MenuCloser::seen;
  };
  EXPECT_FALSE(press(true)) << "Alt+Shift+F opened File";
  EXPECT_TRUE(press(false)) << "Alt+F did not open File";
}

// Unskinned, a window's corners that the skin's keyed pixels cut show its native frame again
// at once.
TEST_F(FrameEdge, UnskinningShowsTheCutCornersAgain) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  ASSERT_TRUE(mgr->FindForm(h)->Cropped());
  RECT w{};
  GetWindowRect(h, &w);
  mgr->SetUpdateData(data);
  mgr->SetAction(TSkinAction::saUnskinAll, 1);
  ASSERT_TRUE(PumpUntil([&] { return mgr->Forms().empty(); }));
  GetWindowRect(h, &w);
  // The corner shows the same native top edge as the middle of the edge.
  auto corner = [&] {
    const PixelBuffer edge = forms::CaptureScreen(RECT{w.left, w.top, w.right, w.top + 1});
    return edge.At(0, 0) == edge.At(edge.Width() / 2, 0);
  };
  EXPECT_TRUE(PumpUntil(corner));
}

TEST_F(FrameEdge, CaptionButtonHintsOnlyWithTheOption) {
  forms::Application->SetHintPause(50);
  forms::Application->SetHintHidePause(5000);
  for (const bool on : {false, true}) {
    SCOPED_TRACE(on ? "hints on" : "hints off");
    TSkinSet options = data->Options();
    options = on ? options | SetOf(xoCaptionButtonHint) : options & ~SetOf(xoCaptionButtonHint);
    data->SetOptions(options);
    TRawLog& log = NewLog();
    HWND h = Skinned(log);
    TWinSkinForm* sf = mgr->FindForm(h);
    SetForegroundWindow(h);
    SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
    Painted(h);
    TWinSysButton* close = ButtonOf(*sf, 0);
    ASSERT_NE(close, nullptr);
    const LPARAM at = ScreenPoint(h, close->bounds.left + 3, close->bounds.top + 3);
    SetCursorPos(GET_X_LPARAM(at), GET_Y_LPARAM(at));
    data->hintcount = 0;
    SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, at);
    ASSERT_EQ(sf->ActiveBtn, close);
    // The hover timer counts past twice the hint pause either way.
    ASSERT_TRUE(PumpUntil([&] { return data->hintcount >= 2 * 50 + 250 || data->IsHint(); }));
    EXPECT_EQ(data->IsHint(), on);
    data->HideHint();
  }
  forms::Application->SetHintPause(500);
  forms::Application->SetHintHidePause(2500);
}

TEST_F(FrameEdge, MaximisedCaptionPressReachesTheWindowAsMenuHit) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  ShowWindow(h, SW_MAXIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(h) != FALSE; }));
  SetForegroundWindow(h);
  SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
  log.Clear();
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(h, 200, 15));
  bool sawMenuHit = false;
  for (const auto& e : log.seen)
    if (e.msg == WM_NCLBUTTONDOWN) sawMenuHit = e.wParam == HTMENU;
  EXPECT_TRUE(sawMenuHit);
}

TEST_F(FrameEdge, SkinWithoutCaptionButtonsClipsTheTitleAtTheRightClip) {
  auto buttons = std::move(data->SysBtn);
  data->SysBtn.clear();
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  TWinSkinForm* sf = mgr->FindForm(h);
  SetWindowTextW(h, std::wstring(300, L'W').c_str());
  Painted(h);
  RECT w{};
  GetWindowRect(h, &w);
  EXPECT_EQ(sf->RightButtonsWidth(), 0);
  EXPECT_TRUE(sf->SysBtn.empty());
  EXPECT_EQ(sf->TitleRect().right, (w.right - w.left) - sf->bw.right - 8);
  // Where the close button would be there is only the caption.
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, ScreenPoint(h, (w.right - w.left) - 35, 10)),
            HTCAPTION);
  DestroyWindow(h);
  Settle();
  data->SysBtn = std::move(buttons);
}

TEST_F(FrameEdge, UnkeyedPiecesGiveTheFullWindowRectangle) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  TWinSkinForm* sf = mgr->FindForm(h);
  ASSERT_TRUE(sf->Cropped());
  for (auto& piece : data->border)
    piece->trans = 0;
  sf->ForgetCropSize();
  sf->Cropwindow();
  RegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetWindowRgn(h, rgn.get()), SIMPLEREGION);
  RECT box{}, w{};
  GetRgnBox(rgn.get(), &box);
  GetWindowRect(h, &w);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, w.right - w.left);
  EXPECT_EQ(box.bottom, w.bottom - w.top);
  for (auto& piece : data->border)
    piece->trans = 1;
}

// A window growing by a pixel is shaped for its new size before it is sized: its frame is
// painted once, and the new column shows the skin's right border.
int g_framePaints = 0;
HWND g_counted = nullptr;
LRESULT CALLBACK CountFramePaints(int code, WPARAM wParam, LPARAM lParam) {
  const auto* c = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && c->hwnd == g_counted && c->message == WM_NCPAINT) ++g_framePaints;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(FrameEdge, AGrowingWindowPaintsItsFrameOnceInItsNewShape) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  Settle();
  RECT w{};
  GetWindowRect(h, &w);
  const int W = w.right - w.left + 1, H = w.bottom - w.top;
  g_counted = h;
  g_framePaints = 0;
  {
    HookHandle hook(
        SetWindowsHookExW(WH_CALLWNDPROC, &CountFramePaints, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    SetWindowPos(h, nullptr, 0, 0, W, H, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(h);
    Settle();
  }
  EXPECT_EQ(g_framePaints, 1);
  RegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(h, rgn.get()), ERROR);
  RECT box{};
  GetRgnBox(rgn.get(), &box);
  EXPECT_EQ(box.right, W);
  const PixelBuffer column =
      forms::CaptureScreen(RECT{w.left + W - 1, w.top + H / 2, w.left + W, w.top + H / 2 + 1});
  EXPECT_EQ(column.At(0, 0), Painted(h).At(W - 1, H / 2));
}

TEST_F(FrameEdge, ButtonFreedUnderTheHoverTimerIsForgotten) {
  TRawLog& log = NewLog();
  HWND h = Skinned(log);
  TWinSkinForm* sf = mgr->FindForm(h);
  Painted(h);
  sf->ActiveBtn = sf->SysBtn.front().get();
  sf->DeleteSysbtn();
  EXPECT_EQ(sf->ActiveBtn, nullptr);
  sf->TimerTick();
  sf->InitSkinData();
  EXPECT_EQ(sf->SysBtn.size(), data->SysBtn.size());
}

}  // namespace
}  // namespace lbb::skin::test
