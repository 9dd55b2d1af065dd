// Skinning and unskinning real windows: nothing left behind, every window given back exactly
// as it was, destroyed windows and MDI frames.
#include <windows.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/Screenshot.h"
#include "forms/StdCtrls.h"
#include "resources/skin/BuiltinSkin.h"
#include "resources/skins/sand/SandSkin.h"
#include "tests/win/forms/GuiObjects.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != FALSE;
}

class LifecycleTest : public EngineTest {
 protected:
  ::testing::AssertionResult RunAction(TSkinAction a) {
    mgr->SetUpdateData(data);
    mgr->SetAction(a, 1);
    if (PumpUntil([&] { return !mgr->TimerEnabled(); })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the action timer never ticked";
  }
};

// A form with a main menu and a few controls.
forms::TForm* MakeMenuForm() {
  auto* form = new forms::TForm(nullptr);
  form->SetBounds(80, 80, 360, 260);
  form->SetCaption(u"Skinned form");
  auto* menu = new forms::TMainMenu(form);
  for (const char16_t* caption : {u"&File", u"&Help"}) {
    auto* item = new forms::TMenuItem(menu);
    item->SetCaption(caption);
    auto* sub = new forms::TMenuItem(menu);
    sub->SetCaption(u"Item");
    item->Add(sub);
    menu->Items()->Add(item);
  }
  form->SetMenu(menu);
  auto* button = new forms::TButton(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 90, 28);
  auto* edit = new forms::TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(20, 60, 160, 24);
  return form;
}

TEST_F(LifecycleTest, SkinAndUnskinFiftyTimesLeavesNothingAndRestoresClientSizes) {
  std::unique_ptr<forms::TForm> withMenu(MakeMenuForm());
  auto plain = std::make_unique<forms::TForm>(nullptr);
  plain->SetBounds(460, 80, 300, 220);
  withMenu->ShowForm();
  plain->ShowForm();
  HWND dialog = MakeDialog();
  windows.push_back(dialog);
  ShowWindow(dialog, SW_SHOWNOACTIVATE);
  Settle();
  const HWND all[] = {withMenu->Handle(), plain->Handle(), dialog};
  RECT client[3];
  for (int i = 0; i < 3; ++i)
    client[i] = ClientOf(all[i]);
  const HMENU menu = GetMenu(withMenu->Handle());
  ASSERT_NE(menu, nullptr);
  mgr->SetState(TSkinManagerState::msRunning);

  // One round first, so that what is made once per process (fonts, classes) exists.
  auto round = [&] {
    if (!RunAction(TSkinAction::saSkinAll)) return false;
    mgr->AddFormHwnd(dialog);  // a dialog is skinned as it is activated; here by hand
    for (HWND h : all)
      if (!WaitSkinned(h)) return false;
    if (GetMenu(withMenu->Handle()) != nullptr) return false;  // taken by the skinner
    if (!RunAction(TSkinAction::saUnskinAll)) return false;
    return mgr->Forms().empty();
  };
  ASSERT_TRUE(round());
  Settle();
  const forms::test::GuiObjects before = forms::test::CountGuiObjects();
  for (int n = 0; n < 50; ++n) {
    ASSERT_TRUE(round()) << "round " << n;
    for (int i = 0; i < 3; ++i)
      ASSERT_TRUE(SameRect(ClientOf(all[i]), client[i])) << "window " << i << " round " << n;
    ASSERT_EQ(GetMenu(withMenu->Handle()), menu);
  }
  Settle();
  const forms::test::GuiObjects after = forms::test::CountGuiObjects();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_EQ(after.windows, before.windows);
}

TEST_F(LifecycleTest, UnskinningRestoresTheClientSizeOfEveryKindOfTopLevelWindow) {
  Start();
  TRawLog log;
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 100, L"&Raw");
  HWND withMenu = MakeRawWindow(&log, WS_OVERLAPPEDWINDOW, 0, kRawClass, nullptr, bar);
  HWND popup = MakeRawWindow(&log, WS_POPUP | WS_CAPTION | WS_SYSMENU);
  HWND tool = MakeRawWindow(&log, WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
  const HWND all[] = {withMenu, popup, tool};
  for (HWND h : all) {
    windows.push_back(h);
    ShowWindow(h, SW_SHOWNOACTIVATE);
  }
  Settle();
  RECT client[3];
  for (int i = 0; i < 3; ++i) {
    client[i] = ClientOf(all[i]);
    ASSERT_TRUE(mgr->AddFormHwnd(all[i]));
    ASSERT_TRUE(WaitSkinned(all[i]));
    TWinSkinForm* sf = mgr->FindForm(all[i]);
    EXPECT_GT(sf->bw.top, 0);  // the skin's caption height
  }
  EXPECT_EQ(mgr->FindForm(withMenu)->MenuHeight, GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(mgr->FindForm(withMenu)->NativeMenu(), bar);
  mgr->SetUpdateData(data);
  ASSERT_TRUE(RunAction(TSkinAction::saUnskinAll));
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(SameRect(ClientOf(all[i]), client[i])) << "window " << i;
  EXPECT_EQ(GetMenu(withMenu), bar);
}

TEST_F(LifecycleTest, WindowDestroyedWhileSkinnedLeavesASkinnerUntilThePurge) {
  Start();
  TRawLog log;
  HWND h = MakeRawWindow(&log);
  ASSERT_TRUE(mgr->AddFormHwnd(h));
  ASSERT_TRUE(WaitSkinned(h));
  TWinSkinForm* sf = mgr->Forms().front();
  DestroyWindow(h);
  // Still listed, marked, and no longer on any window; the manager finds it for no window.
  ASSERT_EQ(mgr->Forms().size(), 1u);
  EXPECT_EQ(sf->Skinstate, kSkinDestroyed);
  EXPECT_FALSE(sf->Subclassed());
  EXPECT_EQ(mgr->FindForm(h), nullptr);
  // Actions that walk the list leave it alone.
  mgr->SetUpdateData(data);
  mgr->DeleteSysbtn();
  mgr->SetMDIMax2(true);
  EXPECT_EQ(mgr->GetMDIChildNum(), 0);
  // The next window added purges it.
  TRawLog log2;
  HWND next = MakeRawWindow(&log2);
  windows.push_back(next);
  ASSERT_TRUE(mgr->AddFormHwnd(next));
  ASSERT_EQ(mgr->Forms().size(), 1u);
  EXPECT_EQ(mgr->Forms().front()->Hwnd, next);
}

TEST_F(LifecycleTest, FormFreedWhileSkinnedTakesItsSkinnerOutOfTheList) {
  Start();
  auto* form = new forms::TForm(nullptr);
  form->SetBounds(100, 100, 300, 200);
  form->ShowForm();
  ASSERT_TRUE(SkinShown(form->Handle()));
  EXPECT_EQ(mgr->Forms().size(), 1u);
  delete form;
  EXPECT_TRUE(mgr->Forms().empty());
  // The form's window destroyed first, then the form: the dead skinner goes with the form.
  form = new forms::TForm(nullptr);
  form->SetBounds(100, 100, 300, 200);
  form->ShowForm();
  ASSERT_TRUE(SkinShown(form->Handle()));
  form->DestroyHandle();
  ASSERT_EQ(mgr->Forms().size(), 1u);
  EXPECT_EQ(mgr->Forms().front()->Skinstate, kSkinDestroyed);
  delete form;
  EXPECT_TRUE(mgr->Forms().empty());
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND client = reinterpret_cast<HWND>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_CREATE) {
    CLIENTCREATESTRUCT ccs{};
    ccs.idFirstChild = 5000;
    client = CreateWindowExW(0, L"MDIClient", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                             0, 0, 0, hwnd, nullptr, GetModuleHandleW(nullptr), &ccs);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(client));
    return 0;
  }
  return DefFrameProcW(hwnd, client, msg, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcW(hwnd, msg, wParam, lParam);
}

void RegisterMdiClasses() {
  static const bool done = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpfnWndProc = &FrameProc;
    wc.lpszClassName = L"LbbEngineMdiFrame";
    RegisterClassExW(&wc);
    wc.lpfnWndProc = &ChildProc;
    wc.lpszClassName = L"LbbEngineMdiChild";
    RegisterClassExW(&wc);
    return true;
  }();
  (void)done;
}

HWND MakeChild(HWND client, const wchar_t* title, DWORD style) {
  MDICREATESTRUCTW mcs{};
  mcs.szClass = L"LbbEngineMdiChild";
  mcs.szTitle = title;
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = mcs.y = CW_USEDEFAULT;
  mcs.cx = 200;
  mcs.cy = 150;
  mcs.style = style;
  return reinterpret_cast<HWND>(
      SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

TEST_F(LifecycleTest, MdiFrameWithNormalMaximisedAndMinimisedChildren) {
  RegisterMdiClasses();
  Start();
  HWND frame = CreateWindowExW(0, L"LbbEngineMdiFrame", L"MDI frame", WS_OVERLAPPEDWINDOW, 60, 60,
                               640, 480, nullptr, CreateMenu(), GetModuleHandleW(nullptr), nullptr);
  windows.push_back(frame);
  ASSERT_NE(frame, nullptr);
  ShowWindow(frame, SW_SHOW);
  ASSERT_TRUE(SkinShown(frame));
  TWinSkinForm* sf = mgr->FindForm(frame);
  HWND client = reinterpret_cast<HWND>(GetWindowLongPtrW(frame, GWLP_USERDATA));
  EXPECT_EQ(sf->FormStyle, TSkinFormStyle::sfsMDIform);
  EXPECT_EQ(sf->MDIClientWindow(), client);
  EXPECT_EQ(mgr->MDIClient(), client);
  // Children are skinned as they are created (the hook sees WS_EX_MDICHILD).
  HWND normal = MakeChild(client, L"Normal", 0);
  HWND minimised = MakeChild(client, L"Minimised", WS_MINIMIZE);
  HWND maximised = MakeChild(client, L"Maximised", WS_MAXIMIZE);
  ASSERT_TRUE(normal && minimised && maximised);
  for (HWND c : {normal, minimised, maximised})
    ASSERT_TRUE(WaitSkinned(c));
  for (HWND c : {normal, minimised, maximised})
    EXPECT_EQ(mgr->FindForm(c)->FormStyle, TSkinFormStyle::sfsMDIChild);
  EXPECT_EQ(mgr->FindForm(maximised)->Windowstate, TSkinWindowState::swsMax);
  EXPECT_EQ(mgr->FindForm(minimised)->Windowstate, TSkinWindowState::swsMin);
  EXPECT_TRUE(mgr->MDIMaximised());
  EXPECT_TRUE(sf->MDIChildMax());
  EXPECT_EQ(mgr->GetMDIChildNum(), 3);
  // A maximised child's non-client messages go straight to its own procedure: the child is
  // still answered (its frame is the frame window's menu bar).
  EXPECT_EQ(SendMessageW(maximised, SKM_ISSKINNED, 0, 0), 1);
  if (const char* dir = LBB_SCREENSHOT_DIR) {
    std::filesystem::create_directories(dir);
    forms::SaveWindowPng(frame, std::string(dir) + "/skinengine_mdi_frame.png");
  }
  // Closing the maximised child: the manager follows whether the next active child is
  // maximised; cascading ends the maximised state.
  SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(maximised), 0);
  EXPECT_EQ(mgr->MDIMaximised(), sf->MDIChildMax());
  EXPECT_EQ(mgr->GetMDIChildNum(), 2);
  SendMessageW(client, WM_MDICASCADE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !mgr->MDIMaximised(); }));
  // Unskinning everything gives the MDI client its procedure back.
  mgr->SetUpdateData(data);
  ASSERT_TRUE(RunAction(TSkinAction::saUnskinAll));
  EXPECT_TRUE(mgr->Forms().empty());
  EXPECT_EQ(SendMessageW(client, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(SendMessageW(normal, SKM_ISSKINNED, 0, 0), 0);
}

TEST_F(LifecycleTest, SkinChangeToASecondSkinReappliesIt) {
  Start();
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 320, 220);
  form.HandleNeeded();
  const RECT client = ClientOf(form.Handle());
  form.ShowForm();
  ASSERT_TRUE(SkinShown(form.Handle()));
  const RECT slate = mgr->FindForm(form.Handle())->bw;
  int changed = 0;
  data->OnSkinChanged = [&](TSkinData*) { ++changed; };
  int skinnedAfter = 0;
  data->OnAfterSkinForm = [&](forms::TObject* sender, HWND hwnd, const std::u16string& name) {
    // The form and its window, and the window's class.
    EXPECT_EQ(sender, &form);
    EXPECT_EQ(hwnd, form.Handle());
    EXPECT_EQ(name, u"TForm");
    ++skinnedAfter;
  };
  TMemoryStream sand(
      std::vector<uint8_t>(resources::SandSkin().begin(), resources::SandSkin().end()));
  data->LoadFromStream(sand);  // asks for action 3
  ASSERT_TRUE(mgr->TimerEnabled());
  ASSERT_TRUE(PumpUntil([&] { return changed == 1; }));
  EXPECT_EQ(skinnedAfter, 1);
  EXPECT_EQ(form.Color(), data->Colors[kShemeButtonFace]);
  TWinSkinForm* sf = mgr->FindForm(form.Handle());
  EXPECT_EQ(sf->Skinstate, kSkinIdle);
  EXPECT_FALSE(EqualRect(&sf->bw, &slate));  // the second skin's border widths
  // The window was refitted around the same client area: unskinning gives exactly it back.
  mgr->SetUpdateData(data);
  mgr->SetAction(TSkinAction::saUnskinAll, 1);
  ASSERT_TRUE(PumpUntil([&] { return mgr->Forms().empty(); }));
  const RECT after = ClientOf(form.Handle());
  EXPECT_TRUE(EqualRect(&after, &client));
}

// Skinning switched on and a new skin loaded at once, in either order: every form ends up
// skinned, and with the new skin.
TEST_F(LifecycleTest, SkinningOnAndANewSkinAtOnceGiveTheNewSkin) {
  Start();
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 320, 220);
  form.ShowForm();
  ASSERT_TRUE(SkinShown(form.Handle()));
  const RECT slate = mgr->FindForm(form.Handle())->bw;
  const auto stream = [](std::span<const uint8_t> skin) {
    return TMemoryStream(std::vector<uint8_t>(skin.begin(), skin.end()));
  };
  int changed = 0;
  data->OnSkinChanged = [&](TSkinData*) { ++changed; };

  // Off, then on and the Sand skin before the waiting action runs.
  data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return changed == 1; }));
  ASSERT_EQ(mgr->FindForm(form.Handle()), nullptr);
  data->SetActive(true);
  auto first = stream(resources::SandSkin());
  data->LoadFromStream(first);
  ASSERT_TRUE(PumpUntil([&] { return changed == 2; }));
  ASSERT_TRUE(WaitSkinned(form.Handle()));
  const RECT sandBorders = mgr->FindForm(form.Handle())->bw;
  EXPECT_FALSE(EqualRect(&sandBorders, &slate));

  // Already on: the Slate skin, then "skin all" before the waiting change runs.
  auto second = stream(resources::BuiltinSkin());
  data->LoadFromStream(second);
  data->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return changed == 3; }));
  ASSERT_TRUE(WaitSkinned(form.Handle()));
  const RECT again = mgr->FindForm(form.Handle())->bw;
  EXPECT_TRUE(EqualRect(&again, &slate));
  Settle();
  EXPECT_FALSE(mgr->TimerEnabled());
}

}  // namespace
}  // namespace lbb::skin::test
