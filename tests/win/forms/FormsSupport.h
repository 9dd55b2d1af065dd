// Helpers of the form library's tests: the application set up once, message pumping until a
// condition holds, real mouse and keyboard input, and a recorder of messages.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "forms/Controls.h"
#include "forms/Forms.h"
#include "tools/input/Input.h"

namespace lbb::forms::test {

// Tests name it test::Place: a control owned by its parent and placed on it.
using forms::Place;

// Initialises the application once for the test program.
void EnsureApplication();
// Handles messages until `done` holds or about ten seconds of idle waiting have passed;
// returns `done()`.
bool PumpUntil(const std::function<bool()>& done);
// Handles messages until none is waiting for this thread (nothing posted, sent, to paint or
// of input), or about ten seconds have passed.
void Settle();

// Real input through tools/input, waiting for its effect while this thread handles its
// messages (the application's). An effect that never comes is a failure of the running test
// that says what did not happen; the result says the same to callers that stop there.
lbb::input::Waiting Waiting();
// Brings `hwnd`'s top-level window to the front, moves the mouse to the client point and
// clicks: the press and then the release have reached the window (or a window inside it).
// The release is queued the moment the press is taken, so a control that tracks the mouse in
// a loop of its own while the button is down (a scroll bar, a list view) finds it there.
::testing::AssertionResult ClickAt(HWND hwnd, POINT client);
// Moves the mouse to a client point of `hwnd` (null: a screen point); the cursor is there.
::testing::AssertionResult MoveMouseTo(HWND hwnd, POINT client);
// A key pressed and released; this thread has taken both.
::testing::AssertionResult PressKey(WORD vk);
// Types into the focused edit; its text is then what it was with the selection replaced by
// `text`.
::testing::AssertionResult TypeText(const std::wstring& text);
// Turns a failed input step into a failure of the running test.
::testing::AssertionResult Check(const lbb::input::Result& r);

// A fixture with a 420 x 320 form at (100, 100), its window made (not shown), freed after
// each test.
class FormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Shows the form and lets the window system settle.
  void Show();

  TForm* form = nullptr;
};

// Records the messages that pass through a control's WindowProc (only those in `watch`, or
// all when empty) and puts the previous method back when it goes.
class MessageRecorder {
 public:
  MessageRecorder(TControl& control, std::vector<UINT> watch = {});
  ~MessageRecorder();
  const std::vector<UINT>& Seen() const { return seen_; }
  void Clear() { seen_.clear(); }
  bool Saw(UINT msg) const;

 private:
  TControl& control_;
  TWndMethod previous_;
  std::vector<UINT> watch_;
  std::vector<UINT> seen_;
};

}  // namespace lbb::forms::test
