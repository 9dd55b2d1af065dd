// Every message of a control passes through WindowProc, then the control's own handling,
// then the native procedure; the framework's notifications arrive where a user expects them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "forms/WinText.h"
#include "forms/WindowProcHook.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

using test::MessageRecorder;

constexpr UINT kProbe = WM_APP + 7;

// A button that logs its own handling and what reaches the native procedure.
class TLoggingButton : public TButton {
 public:
  TLoggingButton(TComponent* owner, std::vector<std::string>* log) : TButton(owner), log_(log) {}
  void WndProc(TMessage& m) override {
    if (m.Msg == kProbe) log_->push_back("own");
    TButton::WndProc(m);
  }
  void DefaultHandler(TMessage& m) override {
    if (m.Msg == kProbe) log_->push_back("native");
    TButton::DefaultHandler(m);
  }

 private:
  std::vector<std::string>* log_;
};

class WindowProcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 300, 200);
  }
  void TearDown() override { delete form; }
  TForm* form = nullptr;
};

TEST_F(WindowProcTest, MessagesPassWindowProcThenOwnHandlingThenNative) {
  std::vector<std::string> log;
  auto* button = new TLoggingButton(form, &log);
  button->SetParent(form);
  HWND hwnd = button->Handle();
  ASSERT_NE(hwnd, nullptr);

  TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg == kProbe) log.push_back("hook");
    saved(m);
  };
  SendMessageW(hwnd, kProbe, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"hook", "own", "native"}));

  // Put back, the hook sees nothing more.
  button->WindowProc = saved;
  log.clear();
  SendMessageW(hwnd, kProbe, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"own", "native"}));
}

TEST_F(WindowProcTest, HookCanAnswerWithoutPassingOn) {
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetTextProp(u"abc");
  TWndMethod saved = edit->WindowProc;
  edit->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_GETTEXTLENGTH) {
      m.Result = 42;
      return;
    }
    saved(m);
  };
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_GETTEXTLENGTH, 0, 0), 42);
  edit->WindowProc = saved;
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_GETTEXTLENGTH, 0, 0), 3);
}

TEST_F(WindowProcTest, FindControlFromWindowThroughNamedProperty) {
  auto* button = new TButton(form);
  button->SetParent(form);
  HWND hwnd = button->Handle();
  EXPECT_EQ(FindControl(hwnd), button);
  EXPECT_EQ(FindControl(form->Handle()), form);
  std::wstring name = Wide(ControlAtomName(GetModuleHandleW(nullptr), GetCurrentThreadId()));
  EXPECT_EQ(name.rfind(L"ControlOfs", 0), 0u);
  EXPECT_EQ(GetPropW(hwnd, name.c_str()), static_cast<HANDLE>(static_cast<TWinControl*>(button)));
  // A window of no control, and a destroyed one, find nothing.
  EXPECT_EQ(FindControl(Application->Handle()), nullptr);
  button->DestroyHandle();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(FindControl(hwnd), nullptr);
  EXPECT_NE(button->Handle(), nullptr);  // made again on demand
}

TEST_F(WindowProcTest, WindowClassesAreNamedAfterControlClasses) {
  auto* button = new TButton(form);
  auto* memo = new TMemo(form);
  button->SetParent(form);
  memo->SetParent(form);
  EXPECT_EQ(WindowClassName(button->Handle()), u"TButton");
  EXPECT_EQ(WindowClassName(memo->Handle()), u"TMemo");
  EXPECT_EQ(WindowClassName(form->Handle()), u"TForm");
  EXPECT_EQ(button->ClassName(), u"TButton");
  EXPECT_NE(dynamic_cast<TCustomMemo*>(static_cast<TControl*>(memo)), nullptr);
  EXPECT_TRUE(memo->InheritsFrom(u"TCustomEdit"));
}

TEST_F(WindowProcTest, StateChangesSendFrameworkNotifications) {
  auto* button = new TButton(form);
  button->SetParent(form);
  button->HandleNeeded();
  MessageRecorder rec(*button, {CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_TEXTCHANGED,
                                CM_RECREATEWND, CM_FONTCHANGED});
  button->SetEnabled(false);
  button->SetVisible(false);
  button->SetCaption(u"相册");
  button->Font()->SetHeight(-13);
  button->RecreateWnd();
  EXPECT_EQ(rec.Seen(), (std::vector<UINT>{CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_TEXTCHANGED,
                                           CM_FONTCHANGED, CM_RECREATEWND}));
  EXPECT_FALSE(IsWindowEnabled(button->Handle()));
  EXPECT_EQ(button->Caption(), u"相册");  // kept across the new window
}

TEST_F(WindowProcTest, RealClickArrivesInOrderThenClicks) {
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 80, 30);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  form->ShowForm();
  test::Settle();
  MessageRecorder rec(*button, {WM_LBUTTONDOWN, WM_LBUTTONUP, CM_MOUSEENTER, CN_COMMAND});
  test::ClickAt(button->Handle(), POINT{40, 15});
  ASSERT_TRUE(test::PumpUntil([&] { return clicks == 1; }));
  EXPECT_EQ(rec.Seen(),
            (std::vector<UINT>{CM_MOUSEENTER, WM_LBUTTONDOWN, WM_LBUTTONUP, CN_COMMAND}));
}

void ExpectEnterLeaveAlternate(const std::vector<UINT>& seen, UINT last) {
  ASSERT_FALSE(seen.empty());
  for (size_t i = 0; i < seen.size(); ++i)
    EXPECT_EQ(seen[i], i % 2 == 0 ? CM_MOUSEENTER : CM_MOUSELEAVE) << "message " << i;
  EXPECT_EQ(seen.back(), last);
}

TEST_F(WindowProcTest, MouseEnterAndLeaveFollowTheRealMouse) {
  auto* a = new TButton(form);
  auto* b = new TButton(form);
  a->SetParent(form);
  b->SetParent(form);
  a->SetBounds(10, 10, 80, 30);
  b->SetBounds(150, 10, 80, 30);
  form->ShowForm();
  test::Settle();
  SetForegroundWindow(form->Handle());
  test::Settle();
  test::MoveMouseTo(form->Handle(), POINT{5, 100});
  MessageRecorder ra(*a, {CM_MOUSEENTER, CM_MOUSELEAVE});
  MessageRecorder rb(*b, {CM_MOUSEENTER, CM_MOUSELEAVE});
  test::MoveMouseTo(a->Handle(), POINT{20, 10});
  ASSERT_TRUE(test::PumpUntil([&] { return ra.Saw(CM_MOUSEENTER); }));
  test::MoveMouseTo(b->Handle(), POINT{20, 10});
  ASSERT_TRUE(test::PumpUntil([&] { return rb.Saw(CM_MOUSEENTER); }));
  // Enter and leave alternate, starting with an enter, and end where the mouse is. (The
  // display may now and then report a leave and a new enter while the mouse rests on a
  // control; that pair is allowed.)
  ExpectEnterLeaveAlternate(ra.Seen(), CM_MOUSELEAVE);
  ExpectEnterLeaveAlternate(rb.Seen(), CM_MOUSEENTER);
}

TEST_F(WindowProcTest, FocusMovesSendExitEnterAndFocusChangedToAll) {
  auto* e1 = new TEdit(form);
  auto* e2 = new TEdit(form);
  auto* button = new TButton(form);
  for (TWinControl* c : {static_cast<TWinControl*>(e1), static_cast<TWinControl*>(e2),
                         static_cast<TWinControl*>(button)}) {
    c->SetParent(form);
  }
  e2->SetTop(30);
  button->SetTop(60);
  form->ShowForm();
  test::Settle();
  e1->SetFocus();
  test::Settle();
  MessageRecorder r1(*e1, {CM_EXIT, CM_ENTER, CM_FOCUSCHANGED});
  MessageRecorder r2(*e2, {CM_EXIT, CM_ENTER, CM_FOCUSCHANGED});
  MessageRecorder rb(*button, {CM_FOCUSCHANGED});
  // Tab from the first edit moves to the second, in tab order.
  test::PressKey(VK_TAB);
  ASSERT_TRUE(test::PumpUntil([&] { return e2->Focused(); }));
  EXPECT_EQ(form->ActiveControl(), e2);
  EXPECT_EQ(r1.Seen(), (std::vector<UINT>{CM_EXIT, CM_FOCUSCHANGED}));
  EXPECT_EQ(r2.Seen(), (std::vector<UINT>{CM_ENTER, CM_FOCUSCHANGED}));
  EXPECT_EQ(rb.Seen(), (std::vector<UINT>{CM_FOCUSCHANGED}));
}

TEST_F(WindowProcTest, EnterInAnEditPressesTheDefaultButton) {
  auto* edit = new TEdit(form);
  auto* button = new TButton(form);
  edit->SetParent(form);
  button->SetParent(form);
  button->SetTop(40);
  button->SetDefault(true);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  form->ShowForm();
  test::Settle();
  edit->SetFocus();
  test::TypeText(L"lorvane");
  EXPECT_EQ(edit->Text(), u"lorvane");
  test::PressKey(VK_RETURN);
  EXPECT_TRUE(test::PumpUntil([&] { return clicks == 1; }));
  EXPECT_EQ(GetEnumProp(button, u"Default"), u"true");
}

// ---- chained hooks of the message method

// A hook that logs `name` for the probe message and passes everything on.
class LoggingHook : public TWindowProcHook {
 public:
  LoggingHook(std::string name, std::vector<std::string>* log)
      : TWindowProcHook([this, name, log](TMessage& m) {
          if (m.Msg == kProbe) log->push_back(name);
          CallPrevious(m);
        }) {}
};

class WindowProcHookTest : public WindowProcTest {
 protected:
  void SetUp() override {
    WindowProcTest::SetUp();
    button = new TLoggingButton(form, &log);
    button->SetParent(form);
    hwnd = button->Handle();
  }
  // The probe sent to the real window; returns what was logged on its way.
  std::vector<std::string> Probe() {
    log.clear();
    SendMessageW(hwnd, kProbe, 0, 0);
    return log;
  }
  using Log = std::vector<std::string>;
  Log log;
  TLoggingButton* button = nullptr;
  HWND hwnd = nullptr;
};

TEST_F(WindowProcHookTest, InstalledInOrderRemovedInReverseOrder) {
  LoggingHook a("A", &log), b("B", &log);
  ASSERT_TRUE(a.Install(*button));
  ASSERT_TRUE(b.Install(*button));
  EXPECT_EQ(Probe(), (Log{"B", "A", "own", "native"}));
  EXPECT_TRUE(b.Current());
  EXPECT_FALSE(a.Current());
  EXPECT_TRUE(a.Installed());
  b.Restore();
  EXPECT_FALSE(b.Installed());
  EXPECT_TRUE(a.Current());
  EXPECT_EQ(Probe(), (Log{"A", "own", "native"}));
  a.Restore();
  EXPECT_FALSE(a.Installed());
  EXPECT_EQ(Probe(), (Log{"own", "native"}));
  // Framework messages still reach the control's own handling.
  MessageRecorder rec(*button, {CM_ENABLEDCHANGED});
  button->SetEnabled(false);
  EXPECT_EQ(rec.Seen(), (std::vector<UINT>{CM_ENABLEDCHANGED}));
}

TEST_F(WindowProcHookTest, RemovedOutOfOrderTheChainIsMended) {
  LoggingHook a("A", &log), b("B", &log), c("C", &log);
  // A plain method kept and replaced the old way, under the hooks.
  TWndMethod own = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg == kProbe) log.push_back("plain");
    own(m);
  };
  a.Install(*button);
  b.Install(*button);
  c.Install(*button);
  a.Restore();  // innermost hook first
  EXPECT_EQ(Probe(), (Log{"C", "B", "plain", "own", "native"}));
  EXPECT_TRUE(c.Current());
  b.Restore();  // a middle one
  EXPECT_EQ(Probe(), (Log{"C", "plain", "own", "native"}));
  c.Restore();
  // The control got back the plain method A had replaced, not A's remains.
  EXPECT_EQ(Probe(), (Log{"plain", "own", "native"}));
  a.Install(*button);
  EXPECT_EQ(Probe(), (Log{"A", "plain", "own", "native"}));
  a.Restore();
  button->WindowProc = own;
  EXPECT_EQ(Probe(), (Log{"own", "native"}));
}

TEST_F(WindowProcHookTest, AMethodKeptByOthersStillWorksAfterTheHookGoes) {
  auto a = std::make_unique<LoggingHook>("A", &log);
  a->Install(*button);
  {
    MessageRecorder rec(*button, {kProbe});  // keeps A's method and puts it back
    a.reset();                               // A goes while the recorder is outermost
    EXPECT_EQ(Probe(), (Log{"own", "native"}));
    EXPECT_EQ(rec.Seen(), (std::vector<UINT>{kProbe}));
  }
  EXPECT_EQ(Probe(), (Log{"own", "native"}));
}

TEST_F(WindowProcHookTest, DestroyedHookRestoresAndReinstallMovesToTheFront) {
  LoggingHook outer("B", &log);
  {
    LoggingHook a("A", &log);
    a.Install(*button);
    outer.Install(*button);
    a.Install(*button);  // again: taken out, then put in front
    EXPECT_EQ(Probe(), (Log{"A", "B", "own", "native"}));
  }
  EXPECT_TRUE(outer.Current());
  EXPECT_EQ(Probe(), (Log{"B", "own", "native"}));
}

TEST_F(WindowProcHookTest, HandlerMayRestoreItsOwnHookWhileHandlingAMessage) {
  TWindowProcHook* self = nullptr;
  TWindowProcHook once([&](TMessage& m) {
    if (m.Msg == kProbe) {
      log.push_back("once");
      self->Restore();
    }
    self->CallPrevious(m);
  });
  self = &once;
  once.Install(*button);
  EXPECT_EQ(Probe(), (Log{"once", "own", "native"}));
  EXPECT_FALSE(once.Installed());
  EXPECT_EQ(Probe(), (Log{"own", "native"}));
}

TEST_F(WindowProcHookTest, HooksOutlivingTheirControlDoNothing) {
  LoggingHook a("A", &log), b("B", &log);
  a.Install(*button);
  b.Install(*button);
  EXPECT_EQ(Probe(), (Log{"B", "A", "own", "native"}));
  delete button;  // its window goes through the hooks on the way out
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(a.Installed());
  EXPECT_FALSE(b.Current());
  EXPECT_EQ(b.Control(), nullptr);
  a.Restore();
  log.clear();
  TMessage m{kProbe, 0, 0, 0};
  b.CallPrevious(m);  // nothing left to call
  EXPECT_TRUE(log.empty());
}

BOOL CALLBACK CountButtonWindows(HWND w, LPARAM lp) {
  if (WindowClassName(w) == u"TButton") ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

TEST_F(WindowProcHookTest, ChildMadeWithItsParentHasOneWindow) {
  // The button's window was asked for before the form had one: making the form's window
  // made the button's, and no second window of the button is left behind.
  int windows = 0;
  EnumChildWindows(form->Handle(), &CountButtonWindows, reinterpret_cast<LPARAM>(&windows));
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(button->WindowHandle(), hwnd);
}

}  // namespace
}  // namespace lbb::forms
