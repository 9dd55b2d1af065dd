// Real mouse and keyboard input (SendInput) that waits, with a bound, for the effect it caused:
// the cursor is where it was sent, the target window took the press and the release, the key
// went down and came up, the typed text is in the edit, the window is in the foreground. When
// the effect never comes, the call returns a failure that says what did not happen.
//
// The target may belong to the calling thread (the tests) or to another process (the UI
// driver). Windows of the calling thread take their input only while the thread handles its
// messages, so every wait handles them through `Waiting::handleMessages`.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lbb::input {

// The outcome of an input call: success, or a failure with a message that says what was sent
// and which effect did not come.
class [[nodiscard]] Result {
 public:
  Result() = default;
  static Result Failure(std::string message);
  bool ok() const { return message_.empty(); }
  explicit operator bool() const { return ok(); }
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

// Handles every message waiting for the calling thread.
void HandlePendingMessages();

struct Waiting {
  // Called between the checks of a wait.
  std::function<void()> handleMessages = HandlePendingMessages;
  // The bound of each wait for an effect.
  DWORD limitMs = 10000;
};

// Handles messages and checks `done` until it holds or `w.limitMs` has passed; returns
// `done()`.
bool WaitUntil(const std::function<bool()>& done, const Waiting& w = {});

// Makes `top` the foreground window and waits until it is (and, for a window of this thread,
// the active one).
Result BringToFront(HWND top, const Waiting& w = {});
// Moves the mouse to a screen point and waits until the cursor is there and stays there.
Result MoveMouse(POINT screen, const Waiting& w = {});
// How a window of another thread shows that it took a press and then the release.
enum class PressShows {
  Capture,  // it takes the mouse capture with the press and lets it go with the release
  // it takes no capture and reports the press as its pushed state (BM_GETSTATE), as a button
  // that draws its own press does (the skin engine's); its release is its click
  PushedState,
};
// Moves the mouse to a client point of `target` and clicks the left
// button: the release is sent once `target` (or a window inside it) has taken the press, and
// the call returns once it has taken the release. A press that another window took (an event
// of an earlier move can put the cursor back for a moment) is made again, twice at most.
// `shows` says how `target` shows the press when it belongs to another thread; a window of
// this thread is watched through the messages it takes.
Result Click(HWND target, POINT client, const Waiting& w = {},
             PressShows shows = PressShows::Capture);
// Presses and releases a key (a virtual-key code) for a window of this thread: waits until the
// thread has taken the press (its key state says down) and then the release.
Result PressKey(WORD vk, const Waiting& w = {});
// Presses and releases a key for a window of another thread and waits for `effect`, the
// change the key press causes there (`what` names it in the failure).
Result PressKey(WORD vk, const std::function<bool()>& effect, const std::string& what,
                const Waiting& w = {});
// Holds `modifier` (VK_MENU, VK_CONTROL, VK_SHIFT) down while `vk` is pressed and released,
// for a window of another thread, and waits for `effect` (`what` names it in the failure).
Result PressChord(WORD modifier, WORD vk, const std::function<bool()>& effect,
                  const std::string& what, const Waiting& w = {});
// Drags with the left button from one screen point to another (the press, moves on the way,
// the release) and waits for `effect`, the change the drag causes (a window of another thread
// resized by its border, for example).
Result Drag(POINT from, POINT to, const std::function<bool()>& effect, const std::string& what,
            const Waiting& w = {});
// Types `text` as characters into `edit`, which must have the keyboard focus, and waits until
// the edit's text is `expected`.
Result TypeText(HWND edit, const std::wstring& text, const std::wstring& expected,
                const Waiting& w = {});

// The text of a window (WM_GETTEXT, so also of another process's controls).
std::wstring TextOf(HWND hwnd);

// The shown top-level window of class `cls` (any class when empty) that process `pid` owns,
// only among windows without an owner when `unownedOnly`; null when there is none.
HWND ShownWindowOf(DWORD pid, const wchar_t* cls, bool unownedOnly = false);

}  // namespace lbb::input
