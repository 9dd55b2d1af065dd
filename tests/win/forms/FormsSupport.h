// Helpers of the form library's tests: the application set up once, message pumping until a
// condition holds, real mouse and keyboard input, and a recorder of messages.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "forms/Controls.h"
#include "forms/Forms.h"

namespace lbb::forms::test {

// Initialises the application once for the test program.
void EnsureApplication();
// Handles messages until `done` holds or about ten seconds of idle waiting have passed;
// returns `done()`.
bool PumpUntil(const std::function<bool()>& done);
// Handles the pending messages a few times over (lets the window system settle).
void Settle();
// Real input: brings `hwnd` to the front, moves the mouse to the client point and clicks.
void ClickAt(HWND hwnd, POINT client);
// The same for a control that tracks the mouse in a loop of its own while the button is
// down (a scroll bar): press and release are queued together, so that the loop finds the
// release.
void ClickTracked(HWND hwnd, POINT client);
void MoveMouseTo(HWND hwnd, POINT client);
void PressKey(WORD vk);
void TypeText(const std::wstring& text);

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

// A control made by `parent` (its owner) and placed on it at the bounds given.
template <class C>
C* Place(TWinControl* parent, int left, int top, int width, int height) {
  auto* c = new C(parent);
  c->SetParent(parent);
  c->SetBounds(left, top, width, height);
  return c;
}

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
