#include "tests/win/forms/FormsSupport.h"

#include <algorithm>

#include "forms/Application.h"

namespace lbb::forms::test {

void EnsureApplication() {
  if (!Application->Initialized()) Application->Initialize();
}

bool PumpUntil(const std::function<bool()>& done) {
  // Counted waits, not a clock: each round handles what is pending, then waits up to 10 ms.
  for (int round = 0; round < 1000 && !done(); ++round) {
    Application->ProcessMessages();
    if (done()) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

void Settle() {
  for (int round = 0; round < 1000; ++round) {
    Application->ProcessMessages();
    if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

lbb::input::Waiting Waiting() {
  lbb::input::Waiting w;
  w.handleMessages = [] { Application->ProcessMessages(); };
  return w;
}

::testing::AssertionResult Check(const lbb::input::Result& r) {
  if (r) return ::testing::AssertionSuccess();
  ADD_FAILURE() << "input: " << r.message();
  return ::testing::AssertionFailure() << r.message();
}

::testing::AssertionResult MoveMouseTo(HWND hwnd, POINT client) {
  if (hwnd) ClientToScreen(hwnd, &client);
  auto moved = Check(lbb::input::MoveMouse(client, Waiting()));
  // The windows of this thread have taken the move (and what it caused) before the test goes on.
  Settle();
  return moved;
}

::testing::AssertionResult ClickAt(HWND hwnd, POINT client) {
  // The form comes to the front first; a drop-down list (a popup that another window owns,
  // in front already) is clicked as it is: making it the foreground would close it.
  HWND top = GetAncestor(hwnd, GA_ROOT);
  const bool popup = GetAncestor(hwnd, GA_ROOTOWNER) != top;
  if (!popup) {
    if (auto front = Check(lbb::input::BringToFront(top, Waiting())); !front) return front;
  }
  return Check(lbb::input::Click(hwnd, client, Waiting()));
}

::testing::AssertionResult PressKey(WORD vk) {
  return Check(lbb::input::PressKey(vk, Waiting()));
}

::testing::AssertionResult TypeText(const std::wstring& text) {
  HWND edit = GetFocus();
  DWORD from = 0, to = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  std::wstring expected = lbb::input::TextOf(edit);
  from = std::min<DWORD>(from, static_cast<DWORD>(expected.size()));
  to = std::clamp<DWORD>(to, from, static_cast<DWORD>(expected.size()));
  expected.replace(from, to - from, text);
  return Check(lbb::input::TypeText(edit, text, expected, Waiting()));
}

MessageRecorder::MessageRecorder(TControl& control, std::vector<UINT> watch)
    : control_(control), previous_(control.WindowProc), watch_(std::move(watch)) {
  control_.WindowProc = [this](TMessage& m) {
    if (watch_.empty() || std::find(watch_.begin(), watch_.end(), m.Msg) != watch_.end()) {
      seen_.push_back(m.Msg);
    }
    previous_(m);
  };
}

MessageRecorder::~MessageRecorder() {
  control_.WindowProc = previous_;
}

bool MessageRecorder::Saw(UINT msg) const {
  return std::find(seen_.begin(), seen_.end(), msg) != seen_.end();
}

void FormTest::SetUp() {
  EnsureApplication();
  form = new TForm(nullptr);
  form->SetBounds(100, 100, 420, 320);
  form->HandleNeeded();
}

void FormTest::TearDown() {
  delete form;
}

void FormTest::Show() {
  form->ShowForm();
  Settle();
}

}  // namespace lbb::forms::test
