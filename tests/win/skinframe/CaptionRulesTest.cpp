// The caption buttons' and the skinned system menu's rules on plain windows skinned with the
// built-in skin: the cell of a button's picture the screen shows when it is hot, pressed or
// disabled, a maximised MDI child's buttons in the menu band, what a click on a button without
// a built-in action or on the close button posts, and each system-menu item's state, picture
// and command.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <string>

#include "forms/Menus.h"
#include "forms/Screenshot.h"
#include "skin/data/imgutil.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinengine/EngineSupport.h"
#include "tools/input/Input.h"

namespace lbb::skin::test {
namespace {

class CaptionRules : public EngineTest {
 protected:
  HWND Skinned(DWORD style = WS_OVERLAPPEDWINDOW, HMENU menu = nullptr) {
    TRawLog& log = logs.emplace_back();
    log.swallowSysCommand = true;
    HWND h = MakeRawWindow(&log, style | WS_VISIBLE, 0, kRawClass, nullptr, menu);
    windows.push_back(h);
    Start();
    EXPECT_TRUE(SkinShown(h));
    EXPECT_TRUE(forms::test::Check(input::BringToFront(h, forms::test::Waiting())));
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    return h;
  }
  TRawLog& Log() { return logs.back(); }
  static TWinSysButton* ButtonOf(TWinSkinForm& sf, int action) {
    for (const auto& b : sf.SysBtn)
      if (b->data->Action == action && b->visible) return b.get();
    return nullptr;
  }
  // The pixels of the button on the screen that differ from cell `cell` (1-based) of its
  // picture, the picture's keyed pixels left out.
  static int Differing(HWND h, const TWinSysButton& b, int cell) {
    const PixelBuffer shot = forms::CaptureWindow(h);
    const PixelBuffer& map = b.data->Map;
    const int w = b.bounds.right - b.bounds.left, h2 = b.bounds.bottom - b.bounds.top;
    int differing = 0;
    for (int y = 0; y < h2; ++y)
      for (int x = 0; x < w; ++x) {
        const Pixel p = map.At((cell - 1) * w + x, y) & 0xFFFFFF;
        if (p != PixelOf(kSkinKeyColour) &&
            (shot.At(b.bounds.left + x, b.bounds.top + y) & 0xFFFFFF) != p)
          ++differing;
      }
    return differing;
  }
  // The screen shows cell `cell` of the button, and the other cells the rules choose from
  // (normal, pressed, hot, disabled) would not pass for it.
  static ::testing::AssertionResult Shows(HWND h, const TWinSysButton& b, int cell) {
    const int cells = std::min(4, std::max(1, b.data->frame));
    if (PumpUntil([&] { return Differing(h, b, cell) == 0; })) {
      for (int other = 1; other <= cells; ++other)
        if (other != cell && Differing(h, b, other) == 0)
          return ::testing::AssertionFailure() << "cells " << cell << " and " << other << " agree";
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << Differing(h, b, cell) << " pixels are not cell " << cell;
  }
  // The button's middle as a client point of `h` (the caption lies above the client area).
  static POINT At(HWND h, const TWinSysButton& b) {
    RECT w{};
    GetWindowRect(h, &w);
    POINT p{w.left + (b.bounds.left + b.bounds.right) / 2,
            w.top + (b.bounds.top + b.bounds.bottom) / 2};
    ScreenToClient(h, &p);
    return p;
  }
  // Everything posted to `h` before now has been handled.
  static bool Drained(HWND h) {
    static constexpr UINT kMarker = WM_APP + 77;
    TRawLog* log = reinterpret_cast<TRawLog*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    PostMessageW(h, kMarker, 0, 0);
    return PumpUntil([&] { return log->Count(kMarker) > 0; });
  }
  static void Button(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
  }

  std::deque<TRawLog> logs;
};

TEST_F(CaptionRules, HotPressedAndDisabledButtonsShowTheirCells) {
  // No maximise box: the maximise button shows, disabled.
  HWND h = Skinned(WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX);
  TWinSkinForm* sf = mgr->FindForm(h);
  TWinSysButton *close = ButtonOf(*sf, 0), *maximise = ButtonOf(*sf, 1);
  ASSERT_TRUE(close && maximise);
  ASSERT_FALSE(maximise->enabled);
  ASSERT_GE(close->data->frame, 4);
  EXPECT_TRUE(Shows(h, *close, kNCNormal));
  EXPECT_TRUE(Shows(h, *maximise, 4));
  // The mouse over the disabled button leaves it disabled, and a click there does nothing.
  ASSERT_TRUE(forms::test::MoveMouseTo(h, At(h, *maximise)));
  EXPECT_TRUE(Shows(h, *maximise, 4));
  ASSERT_TRUE(forms::test::ClickAt(h, At(h, *maximise)));
  ASSERT_TRUE(Drained(h));
  EXPECT_FALSE(IsZoomed(h));
  // Over the close button: hot; pressed; released: hot again, and the window asked to close.
  ASSERT_TRUE(forms::test::MoveMouseTo(h, At(h, *close)));
  EXPECT_TRUE(Shows(h, *close, kNCHot));
  Log().Clear();
  Button(MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(Shows(h, *close, kNCPressed));
  Button(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(Shows(h, *close, kNCHot));
  EXPECT_TRUE(PumpUntil([&] { return Log().Count(WM_SYSCOMMAND) == 1; }));
  EXPECT_EQ(Log().seen.back().wParam, static_cast<WPARAM>(SC_CLOSE));
}

TEST_F(CaptionRules, CloseNeedsACloseItemAndOtherActionsArePostedToTheWindow) {
  HWND h = Skinned();
  TWinSkinForm* sf = mgr->FindForm(h);
  TWinSysButton* close = ButtonOf(*sf, 0);
  ASSERT_NE(close, nullptr);
  // Without a close item in the system menu the close button closes nothing.
  ASSERT_TRUE(DeleteMenu(GetSystemMenu(h, FALSE), SC_CLOSE, MF_BYCOMMAND));
  Log().Clear();
  ASSERT_TRUE(forms::test::ClickAt(h, At(h, *close)));
  ASSERT_TRUE(Drained(h));
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND), 0);
  EXPECT_TRUE(IsWindowVisible(h));
  // A button of an action the frame does not know tells the window its action.
  close->data->Action = 57;
  Log().Clear();
  ASSERT_TRUE(forms::test::ClickAt(h, At(h, *close)));
  const bool posted = PumpUntil([&] { return Log().Count(SKM_CUSTOMBUTTON) == 1; });
  close->data->Action = 0;
  ASSERT_TRUE(posted);
  for (const auto& e : Log().seen) {
    if (e.msg == SKM_CUSTOMBUTTON) {
      EXPECT_EQ(e.wParam, 57u);
    }
  }
}

LRESULT CALLBACK MdiChildProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcW(h, msg, wParam, lParam);
}

// A maximised MDI child's buttons (Visibility 100) are drawn by the menu band in their first
// cell, never by the caption, and hot they show their fourth cell.
TEST_F(CaptionRules, MdiChildButtonsInTheBandShowTheFourthCellWhenHot) {
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 100, L"&Window");
  mgr->SetActive(false);
  TRawLog& log = logs.emplace_back();
  HWND frame =
      MakeRawWindow(&log, WS_OVERLAPPEDWINDOW, 0, kRawClass, nullptr, bar, RECT{80, 80, 560, 420});
  windows.push_back(frame);
  CLIENTCREATESTRUCT ccs{nullptr, 5000};
  HWND client = CreateWindowExW(0, L"MDIClient", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 300, 200,
                                frame, nullptr, GetModuleHandleW(nullptr), &ccs);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &MdiChildProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LbbCaptionMdiChild";
  RegisterClassExW(&wc);
  ShowWindow(frame, SW_SHOW);
  Start();
  ASSERT_TRUE(SkinShown(frame));
  HWND child = CreateMDIWindowW(L"LbbCaptionMdiChild", L"Child", WS_MAXIMIZE, 0, 0, 200, 150,
                                client, GetModuleHandleW(nullptr), 0);
  ASSERT_TRUE(child && IsZoomed(child));
  TWinSkinForm* sf = mgr->FindForm(frame);
  ASSERT_TRUE(sf->MDIChildMax());
  // The close button of the band gets four cells of plain colours, so that each shows.
  TWinSysButton* close = nullptr;
  for (const auto& b : sf->SysBtn)
    if (b->data->Action == 9 && b->data->Visibility == 100) close = b.get();
  ASSERT_NE(close, nullptr);
  const PixelBuffer kept = close->data->Map;
  const int w = kept.Width() / 4;
  const Pixel colours[] = {0x203040, 0x405060, 0x607080, 0x8090A0};
  for (int y = 0; y < kept.Height(); ++y)
    for (int x = 0; x < kept.Width(); ++x)
      close->data->Map.Set(x, y, colours[x / w]);
  ASSERT_TRUE(forms::test::Check(input::BringToFront(frame, forms::test::Waiting())));
  RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_TRUE(PumpUntil([&] { return close->visible; }));
  EXPECT_GE(close->bounds.top, sf->bw.top) << "in the band, below the caption";
  EXPECT_TRUE(Shows(frame, *close, kNCNormal));
  ASSERT_TRUE(forms::test::MoveMouseTo(frame, At(frame, *close)));
  EXPECT_TRUE(PumpUntil([&] { return close->state == kNCHot; }));
  EXPECT_TRUE(Shows(frame, *close, 4));
  close->data->Map = kept;
}

// ---- the system menu

// Ends the skinned system menu as soon as it shows.
void CALLBACK EndShownMenu(HWND, UINT, UINT_PTR id, DWORD) {
  if (FindWindowW(L"#32768", nullptr)) {
    EndMenu();
    KillTimer(nullptr, id);
  }
}

struct TItemRule {
  bool enabled;
  bool checked;
  int64_t image;
};

// Opens the skinned system menu of `h` with a right click on its caption and checks its items
// against `rows` (by command).
void ExpectSysMenu(HWND h, TWinSkinForm& sf, const std::map<UINT, TItemRule>& rows) {
  sf.SetSysMenuPopTime(0);
  const UINT_PTR t = SetTimer(nullptr, 0, 30, &EndShownMenu);
  RECT w{};
  GetWindowRect(h, &w);
  SendMessageW(h, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(w.left + 60, w.top + 12));
  KillTimer(nullptr, t);
  ASSERT_NE(sf.SystemMenu(), nullptr);
  size_t seen = 0;
  for (int i = 0; i < sf.SystemMenu()->Items()->Count(); ++i) {
    forms::TMenuItem* item = sf.SystemMenu()->Items()->Items(i);
    const auto id = static_cast<UINT>(item->Tag());
    const auto row = rows.find(id & 0xFFF0);
    if (row == rows.end()) continue;
    ++seen;
    SCOPED_TRACE(std::to_string(id));
    EXPECT_EQ(item->Enabled(), row->second.enabled);
    EXPECT_EQ(item->Checked(), row->second.checked);
    EXPECT_EQ(item->ImageIndex(), row->second.image);
    // Chosen, an enabled item posts its own command to the window (taken from the queue here,
    // so that the window stays as it is); a disabled one nothing.
    item->Click();
    MSG posted{};
    if (row->second.enabled) {
      ASSERT_TRUE(PeekMessageW(&posted, h, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
      EXPECT_EQ(posted.wParam, id);
    }
    EXPECT_FALSE(PeekMessageW(&posted, h, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE));
  }
  EXPECT_EQ(seen, rows.size());
}

TEST_F(CaptionRules, SystemMenuItemsFollowTheWindowAndPostTheirCommands) {
  HWND h = Skinned(WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX);
  TWinSkinForm* sf = mgr->FindForm(h);
  HMENU native = GetSystemMenu(h, FALSE);
  // The native menu's states: a checked item, and a grayed one.
  CheckMenuItem(native, SC_MOVE, MF_BYCOMMAND | MF_CHECKED);
  EnableMenuItem(native, SC_SIZE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
  EnableMenuItem(native, SC_RESTORE, MF_BYCOMMAND | MF_ENABLED);
  SCOPED_TRACE("normal");
  ExpectSysMenu(h, *sf,
                {{SC_RESTORE, {false, false, 0}},
                 {SC_MOVE, {true, true, -1}},
                 {SC_SIZE, {false, false, -1}},
                 {SC_MINIMIZE, {true, false, 2}},
                 {SC_MAXIMIZE, {false, false, 1}},
                 {SC_CLOSE, {true, false, 3}}});
  EnableMenuItem(native, SC_SIZE, MF_BYCOMMAND | MF_ENABLED);
  ShowWindow(h, SW_MAXIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return sf->Windowstate == TSkinWindowState::swsMax; }));
  SCOPED_TRACE("maximised");
  ExpectSysMenu(h, *sf,
                {{SC_RESTORE, {true, false, 0}},
                 {SC_MOVE, {false, true, -1}},
                 {SC_SIZE, {false, false, -1}},
                 {SC_MINIMIZE, {true, false, 2}}});
  ShowWindow(h, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return sf->Windowstate == TSkinWindowState::swsMin; }));
  SCOPED_TRACE("minimised");
  ExpectSysMenu(h, *sf, {{SC_RESTORE, {true, false, 0}}, {SC_MINIMIZE, {false, false, 2}}});
}

// The native Close item is the menu's default item: grayed, its state is MFS_GRAYED |
// MFS_DEFAULT, and the skinned item is disabled all the same.
TEST_F(CaptionRules, AGrayedDefaultCloseItemIsDisabled) {
  HWND h = Skinned();
  EnableMenuItem(GetSystemMenu(h, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
  ExpectSysMenu(h, *mgr->FindForm(h), {{SC_CLOSE, {false, false, 3}}});
}

}  // namespace
}  // namespace lbb::skin::test
