// The form skinner's message dispatch on real windows: what it answers itself, what it turns
// into something else, and that everything else reaches the window's previous procedure
// exactly once with that procedure's answer.
#include <windows.h>

#include <gtest/gtest.h>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "skin/win/DibSurface.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {
namespace {

constexpr UINT kProbe = WM_APP + 5;
constexpr UINT kThemedCaption = 0xAE;

class DispatchTest : public EngineTest {
 protected:
  HWND Skin(TRawLog& log, DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr) {
    HWND h = MakeRawWindow(&log, style, 0, kRawClass, parent);
    windows.push_back(h);
    EXPECT_TRUE(mgr->AddFormHwnd(h));
    return h;
  }
};

TEST_F(DispatchTest, NcPaintBeforeTheDeferredInitialisationIsAnsweredZero) {
  Start();
  TRawLog log;
  log.answers[WM_NCPAINT] = 55;
  HWND h = Skin(log);
  // SKM_SKINFORM is posted, not yet handled.
  ASSERT_EQ(mgr->FindForm(h)->Skinstate, kSkinPending);
  EXPECT_EQ(SendMessageW(h, WM_NCPAINT, 1, 0), 0);
  EXPECT_EQ(log.Count(WM_NCPAINT), 0);
  ASSERT_TRUE(WaitSkinned(h));
  log.Clear();
  // Afterwards the skinned frame paints it: answered 0, never passed on.
  EXPECT_EQ(SendMessageW(h, WM_NCPAINT, 1, 0), 0);
  EXPECT_EQ(log.Count(WM_NCPAINT), 0);
}

TEST_F(DispatchTest, PlainChildWindowPassesEverythingBeyondStageOne) {
  Start();
  TRawLog parentLog, log;
  HWND parent = MakeRawWindow(&parentLog);
  windows.push_back(parent);
  log.answers[WM_COMMAND] = 31;
  HWND child = Skin(log, WS_CHILD | WS_VISIBLE | WS_CAPTION, parent);
  ASSERT_TRUE(WaitSkinned(child));
  TWinSkinForm* sf = mgr->FindForm(child);
  ASSERT_NE(sf, nullptr);
  log.Clear();
  // A system command in WM_COMMAND is not turned into WM_SYSCOMMAND for a child window.
  EXPECT_EQ(SendMessageW(child, WM_COMMAND, SC_MINIMIZE, 0), 31);
  // WM_SIZE does not reach the size handler: the window state stays.
  SendMessageW(child, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(10, 10));
  EXPECT_EQ(sf->Windowstate, TSkinWindowState::swsNormal);
  Settle();
  EXPECT_EQ(log.Count(WM_COMMAND), 1);
  EXPECT_EQ(log.Count(WM_SIZE), 1);
  EXPECT_EQ(log.Count(WM_SYSCOMMAND), 0);
  // Stage one still answers.
  EXPECT_EQ(SendMessageW(child, SKM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(SendMessageW(child, kThemedCaption, 0, 0), 0);
  EXPECT_EQ(log.Count(SKM_ISSKINNED), 0);
}

TEST_F(DispatchTest, ThemedCaptionRedrawIsAnsweredZeroWithoutASkinnedFrame) {
  data->SetSkinControls(data->SkinControls() & ~SetOf(xcMainMenu));
  Start();
  TRawLog log;
  log.answers[kThemedCaption] = 77;
  log.answers[kProbe] = 0x1234;
  HWND h = Skin(log);
  TWinSkinForm* sf = mgr->FindForm(h);
  ASSERT_NE(sf, nullptr);
  EXPECT_FALSE(sf->SkinsMainMenu());
  EXPECT_EQ(sf->Skinstate, kSkinIdle);  // at once: the frame stays native
  EXPECT_EQ(SendMessageW(h, kThemedCaption, 0, 0), 0);
  EXPECT_EQ(log.Count(kThemedCaption), 0);
  EXPECT_EQ(SendMessageW(h, kProbe, 1, 2), 0x1234);
  EXPECT_EQ(log.Count(kProbe), 1);
}

TEST_F(DispatchTest, SystemCommandsInWmCommandBecomeWmSysCommand) {
  Start();
  TRawLog log;
  log.swallowSysCommand = true;
  HWND h = Skin(log);
  ASSERT_TRUE(WaitSkinned(h));
  const WORD commands[] = {SC_SIZE,       SC_MOVE,       SC_MINIMIZE, SC_MAXIMIZE,
                           SC_NEXTWINDOW, SC_PREVWINDOW, SC_CLOSE,    SC_RESTORE};
  for (WORD id : commands) {
    log.Clear();
    EXPECT_EQ(SendMessageW(h, WM_COMMAND, id, 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return log.Count(WM_SYSCOMMAND) == 1; })) << std::hex << id;
    EXPECT_EQ(log.Count(WM_COMMAND), 0) << std::hex << id;
    const auto& e = log.seen[log.seen.size() - 1];
    EXPECT_EQ(e.wParam, id);
    EXPECT_EQ(e.lParam, 0);
  }
  // Any other command reaches the window's own procedure unchanged.
  log.Clear();
  log.answers[WM_COMMAND] = 9;
  EXPECT_EQ(SendMessageW(h, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0x77), 9);
  Settle();
  ASSERT_EQ(log.Count(WM_COMMAND), 1);
  EXPECT_EQ(log.seen[0].wParam, MAKEWPARAM(1001, BN_CLICKED));
  EXPECT_EQ(log.seen[0].lParam, 0x77);
  EXPECT_EQ(log.Count(WM_SYSCOMMAND), 0);
}

TEST_F(DispatchTest, OtherCommandsReachTheFrameworkFormUnchanged) {
  Start();
  forms::TForm form(nullptr);
  form.SetBounds(120, 120, 300, 200);
  form.ShowForm();
  ASSERT_TRUE(SkinShown(form.Handle()));
  std::vector<std::pair<UINT, WPARAM>> seen;
  forms::TWndMethod previous = form.WindowProc;
  form.WindowProc = [&](forms::TMessage& m) {
    if (m.Msg == WM_COMMAND || m.Msg == WM_SYSCOMMAND) seen.emplace_back(m.Msg, m.WParam);
    previous(m);
  };
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(4242, 0), 0);
  Settle();
  form.WindowProc = previous;
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].first, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(seen[0].second, MAKEWPARAM(4242, 0));
}

TEST_F(DispatchTest, SkinnedFormAnswersTheSkinQueries) {
  Start();
  forms::TForm form(nullptr);
  form.SetBounds(120, 120, 300, 200);
  form.ShowForm();
  ASSERT_TRUE(SkinShown(form.Handle()));
  EXPECT_EQ(SendMessageW(form.Handle(), SKM_QUERYSKIN, 0, SkinMagic), SkinMagic);
  EXPECT_EQ(SendMessageW(form.Handle(), SKM_QUERYSKIN, 0, 0), 1);
  TDibSurface picture(300, 200);
  const auto dc = reinterpret_cast<WPARAM>(picture.Dc());
  EXPECT_EQ(SendMessageW(form.Handle(), SKM_PAINTFRAMETO, dc, SkinMagic), SkinMagic);
  EXPECT_EQ(SendMessageW(form.Handle(), SKM_PAINTFRAMETO, dc, 5), 0);
  EXPECT_EQ(SendMessageW(form.Handle(), SKM_PAINTFRAMETO, 0, SkinMagic), 0);
  // A new caption reaches the form.
  SetWindowTextW(form.Handle(), L"New caption");
  EXPECT_EQ(form.Caption(), u"New caption");
  // Unskinned, the form no longer answers them.
  mgr->SetUpdateData(data);
  mgr->SetAction(TSkinAction::saUnskinAll, 1);
  ASSERT_TRUE(PumpUntil([&] { return mgr->Forms().empty(); }));
  EXPECT_EQ(SendMessageW(form.Handle(), SKM_QUERYSKIN, 0, SkinMagic), 0);
}

TEST_F(DispatchTest, MessagesNotTakenReachThePreviousProcedureOnce) {
  Start();
  TRawLog log;
  log.answers[kProbe] = 0x4321;
  log.answers[WM_NCHITTEST] = HTCAPTION;
  HWND h = Skin(log);
  // Before the deferred initialisation (stage 3 skipped) and after it.
  EXPECT_EQ(SendMessageW(h, kProbe, 3, 4), 0x4321);
  EXPECT_EQ(log.Count(kProbe), 1);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(150, 150)), HTCAPTION);
  ASSERT_TRUE(WaitSkinned(h));
  log.Clear();
  EXPECT_EQ(SendMessageW(h, kProbe, 3, 4), 0x4321);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(150, 150)), HTCAPTION);
  EXPECT_EQ(SendMessageW(h, WM_GETMINMAXINFO, 0, 0), 0);
  EXPECT_EQ(log.Only({kProbe, WM_NCHITTEST}), (std::vector<UINT>{kProbe, WM_NCHITTEST}));
  ASSERT_EQ(log.Count(kProbe), 1);
  EXPECT_EQ(log.seen[0].wParam, 3u);
  EXPECT_EQ(log.seen[0].lParam, 4);
  // The skinner's own messages never reach it, also a frame request without the magic or
  // without a DC (which does nothing).
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(log.Count(SKM_ISSKINNED), 0);
  log.answers[SKM_PAINTFRAMETO] = 7;
  TDibSurface picture(320, 240);
  EXPECT_EQ(SendMessageW(h, SKM_PAINTFRAMETO, reinterpret_cast<WPARAM>(picture.Dc()), 5), 0);
  EXPECT_EQ(SendMessageW(h, SKM_PAINTFRAMETO, 0, SkinMagic), 0);
  EXPECT_EQ(log.Count(SKM_PAINTFRAMETO), 0);
  EXPECT_TRUE(PumpUntil([&] { return log.Count(SKM_SKINNED) == 1; }));
}

TEST_F(DispatchTest, SizeAndSystemCommandsFollowTheWindowState) {
  Start();
  TRawLog log;
  HWND h = Skin(log);
  ShowWindow(h, SW_SHOWNORMAL);
  ASSERT_TRUE(WaitSkinned(h));
  TWinSkinForm* sf = mgr->FindForm(h);
  ShowWindow(h, SW_MAXIMIZE);
  EXPECT_TRUE(PumpUntil([&] { return sf->Windowstate == TSkinWindowState::swsMax; }));
  ShowWindow(h, SW_RESTORE);
  EXPECT_TRUE(PumpUntil([&] { return sf->Windowstate == TSkinWindowState::swsNormal; }));
  sf->Minimize();
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(h) != FALSE; }));
  EXPECT_EQ(sf->Windowstate, TSkinWindowState::swsMin);
  sf->Restore();
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(h); }));
  EXPECT_EQ(sf->Windowstate, TSkinWindowState::swsNormal);
}

}  // namespace
}  // namespace lbb::skin::test
