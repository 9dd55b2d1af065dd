#include "tools/input/Input.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "base/win/Handles.h"

namespace lbb::input {

Result Result::Failure(std::string message) {
  Result r;
  r.message_ = message.empty() ? "input failed" : std::move(message);
  return r;
}

namespace {

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  }
  return out;
}

// "Button 0x1234" for messages.
std::string Describe(HWND hwnd) {
  if (!hwnd) return "no window";
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  char handle[32];
  std::snprintf(handle, sizeof handle, " %p", static_cast<void*>(hwnd));
  return Utf8(cls) + handle;
}

std::string Describe(POINT p) {
  return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

INPUT MouseInput(DWORD flags, POINT screen) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return in;
}

INPUT KeyInput(WORD vk, WORD scan, DWORD flags) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = scan;
  in.ki.dwFlags = flags;
  return in;
}

bool Send(INPUT in) {
  return SendInput(1, &in, sizeof in) == 1;
}

bool OfThisThread(HWND hwnd) {
  return GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

// `hwnd` is `outer` or a window inside it.
bool Within(HWND outer, HWND hwnd) {
  return hwnd && (hwnd == outer || IsChild(outer, hwnd));
}

GUITHREADINFO ThreadInfoOf(HWND hwnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
  return info;
}

bool CursorAt(POINT p) {
  POINT now{};
  return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
}

bool IsLeftPress(WPARAM msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_NCLBUTTONDOWN ||
         msg == WM_NCLBUTTONDBLCLK;
}

bool IsLeftRelease(WPARAM msg) {
  return msg == WM_LBUTTONUP || msg == WM_NCLBUTTONUP;
}

// A click on a window of this thread, watched through a mouse hook of the thread: the hook
// sees each mouse message as the thread takes it, also inside a control's own tracking loop
// (a scroll bar, a list view), and sends the release the moment the press is taken, so a
// loop that waits for the release finds it.
struct ClickWatch {
  HWND target = nullptr;
  POINT screen{};
  HWND pressedWindow = nullptr;  // the window that took the press
  bool releaseSent = false;
  bool released = false;  // the target took the release
};

thread_local ClickWatch* activeClick = nullptr;

constexpr int kPressTries = 3;

LRESULT CALLBACK ClickHook(int code, WPARAM msg, LPARAM lp) {
  ClickWatch* watch = activeClick;
  if (code == HC_ACTION && watch) {
    const HWND to = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lp)->hwnd;
    if (IsLeftPress(msg) && !watch->pressedWindow) {
      watch->pressedWindow = to ? to : watch->target;
      watch->releaseSent = Send(MouseInput(MOUSEEVENTF_LEFTUP, watch->screen));
    } else if (IsLeftRelease(msg) && watch->pressedWindow) {
      watch->released = true;
    }
  }
  return CallNextHookEx(nullptr, code, msg, lp);
}

// Where a press went, for the failure message.
std::string PressState(HWND target) {
  const GUITHREADINFO info = ThreadInfoOf(target);
  POINT cursor{};
  GetCursorPos(&cursor);
  return "; the capture is on " + Describe(info.hwndCapture) + ", the focus on " +
         Describe(info.hwndFocus) + ", the cursor at " + Describe(cursor) + " over " +
         Describe(WindowFromPoint(cursor));
}

// One press and release; `retry` is set when the press went to another window (an event of
// an earlier move may still put the cursor back for a moment), so that the click is made again.
struct Attempt {
  Result result;
  bool retry = false;
};

Attempt ClickOwnWindow(HWND target, POINT screen, const Waiting& w) {
  ClickWatch watch{target, screen};
  HookHandle hook(SetWindowsHookExW(WH_MOUSE, &ClickHook, nullptr, GetCurrentThreadId()));
  if (!hook) return {Result::Failure("cannot watch the mouse messages of the thread")};
  activeClick = &watch;
  const bool sent = Send(MouseInput(MOUSEEVENTF_LEFTDOWN, screen));
  const auto over = [&] {
    return watch.released || (watch.pressedWindow && !Within(target, watch.pressedWindow));
  };
  const bool done = sent && WaitUntil(over, w) && watch.released;
  activeClick = nullptr;
  if (!watch.releaseSent) Send(MouseInput(MOUSEEVENTF_LEFTUP, screen));
  const std::string where = " at " + Describe(screen) + " on " + Describe(target);
  if (!sent) return {Result::Failure("SendInput refused the press" + where)};
  if (!watch.pressedWindow) return {Result::Failure("the press never arrived" + where)};
  if (!Within(target, watch.pressedWindow)) {
    return {Result::Failure("the press" + where + " went to " + Describe(watch.pressedWindow) +
                            PressState(target)),
            true};
  }
  if (!done) return {Result::Failure("the release never arrived" + where)};
  return {};
}

bool Pushed(HWND target) {
  DWORD_PTR state = 0;
  return SendMessageTimeoutW(target, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 2000, &state) != 0 &&
         (state & BST_PUSHED) != 0;
}

// A button of another thread that draws its own press took the press once it reports itself
// pushed, and the release (and so its click) once it no longer does; the capture on another window
// of that thread shows that the press went there.
Attempt ClickOtherPushedButton(HWND target, POINT screen, const Waiting& w) {
  const std::string where = " at " + Describe(screen) + " on " + Describe(target);
  if (!Send(MouseInput(MOUSEEVENTF_LEFTDOWN, screen))) {
    return {Result::Failure("SendInput refused the press" + where)};
  }
  HWND capture = nullptr;
  const bool pushed = WaitUntil(
      [&] {
        capture = ThreadInfoOf(target).hwndCapture;
        return Pushed(target) || capture != nullptr;
      },
      w);
  const std::string state = PressState(target);
  Send(MouseInput(MOUSEEVENTF_LEFTUP, screen));
  if (capture && !Within(target, capture)) {
    WaitUntil([&] { return !ThreadInfoOf(target).hwndCapture; }, w);
    return {Result::Failure("the press" + where + " went to " + Describe(capture) + state), true};
  }
  if (!pushed) return {Result::Failure("the window never took the press" + where + state)};
  if (!WaitUntil([&] { return !Pushed(target); }, w)) {
    return {Result::Failure("the window never took the release" + where + PressState(target))};
  }
  return {};
}

// A window of another thread shows that it took the press by taking the mouse capture (a
// button, an edit do); the capture on another window of that thread shows that the press
// went there.
Attempt ClickOtherWindow(HWND target, POINT screen, const Waiting& w) {
  const std::string where = " at " + Describe(screen) + " on " + Describe(target);
  if (!Send(MouseInput(MOUSEEVENTF_LEFTDOWN, screen))) {
    return {Result::Failure("SendInput refused the press" + where)};
  }
  HWND capture = nullptr;
  WaitUntil([&] { return (capture = ThreadInfoOf(target).hwndCapture) != nullptr; }, w);
  const std::string state = PressState(target);
  Send(MouseInput(MOUSEEVENTF_LEFTUP, screen));
  const bool released = WaitUntil([&] { return !ThreadInfoOf(target).hwndCapture; }, w);
  if (!capture) return {Result::Failure("the window never took the press" + where + state)};
  if (!Within(target, capture)) {
    return {Result::Failure("the press" + where + " went to " + Describe(capture) + state),
            released};
  }
  if (!released) {
    return {Result::Failure("the window never took the release" + where + PressState(target))};
  }
  return {};
}

}  // namespace

void HandlePendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool WaitUntil(const std::function<bool()>& done, const Waiting& w) {
  const ULONGLONG end = GetTickCount64() + w.limitMs;
  for (;;) {
    if (w.handleMessages) w.handleMessages();
    if (done()) return true;
    if (GetTickCount64() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

std::wstring TextOf(HWND hwnd) {
  const LRESULT n = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  const LRESULT got =
      SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

namespace {

struct WindowSearch {
  DWORD pid;
  const wchar_t* cls;
  bool unownedOnly;
  HWND found = nullptr;
};

BOOL CALLBACK MatchShownWindow(HWND h, LPARAM p) {
  auto* want = reinterpret_cast<WindowSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(h, &owner);
  if (owner != want->pid || !IsWindowVisible(h)) return TRUE;
  if (want->unownedOnly && GetWindow(h, GW_OWNER)) return TRUE;
  wchar_t name[128] = {};
  GetClassNameW(h, name, 128);
  if (want->cls && *want->cls && wcscmp(name, want->cls) != 0) return TRUE;
  want->found = h;
  return FALSE;
}

}  // namespace

HWND ShownWindowOf(DWORD pid, const wchar_t* cls, bool unownedOnly) {
  WindowSearch s{pid, cls, unownedOnly};
  EnumWindows(&MatchShownWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

Result BringToFront(HWND top, const Waiting& w) {
  const bool own = OfThisThread(top);
  const bool front = WaitUntil(
      [&] {
        if (GetForegroundWindow() != top) SetForegroundWindow(top);
        return GetForegroundWindow() == top && (!own || GetActiveWindow() == top);
      },
      w);
  if (!front) {
    return Result::Failure(Describe(top) + " never came to the foreground (it is " +
                           Describe(GetForegroundWindow()) + ")");
  }
  return {};
}

// The desktop window's thread turns the display's pointer events into mouse input, also the
// display's echo of a move sent earlier: once it has answered a message sent to it, it has
// taken what was waiting for it.
void WaitForTheDesktop() {
  DWORD_PTR answer = 0;
  for (int i = 0; i < 2; ++i) {
    SendMessageTimeoutW(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer);
  }
}

// A window takes the display's pointer events on its own thread, among them the echo of a
// press or a move sent earlier: once the thread of the window at `screen` (when it is another
// thread's) has answered a message sent to it, it has taken what was waiting for it.
void WaitForTheWindowAt(POINT screen) {
  HWND at = WindowFromPoint(screen);
  if (!at || GetWindowThreadProcessId(at, nullptr) == GetCurrentThreadId()) return;
  DWORD_PTR answer = 0;
  for (int i = 0; i < 2; ++i) {
    SendMessageTimeoutW(at, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer);
  }
}

Result MoveMouse(POINT screen, const Waiting& w) {
  // An echo of an earlier move may arrive after this one and put the cursor back, even before
  // the cursor was seen at the new point: the move is sent again until the cursor is still
  // there once the desktop has handled what was waiting for it and this thread its messages.
  // The tries share the wait's bound.
  constexpr int kTries = 4;
  Waiting each = w;
  each.limitMs = std::max<DWORD>(w.limitMs / kTries, 1);
  for (int attempt = 0; attempt < kTries; ++attempt) {
    if (!Send(MouseInput(MOUSEEVENTF_MOVE, screen))) {
      return Result::Failure("SendInput refused the move to " + Describe(screen));
    }
    if (!WaitUntil([&] { return CursorAt(screen); }, each)) continue;
    WaitForTheDesktop();
    WaitForTheWindowAt(screen);
    if (w.handleMessages) w.handleMessages();
    if (CursorAt(screen)) return {};
  }
  POINT now{};
  GetCursorPos(&now);
  return Result::Failure("the cursor never stayed at " + Describe(screen) + " (it is at " +
                         Describe(now) + ")");
}

Result Click(HWND target, POINT client, const Waiting& w, PressShows shows) {
  if (!IsWindow(target)) return Result::Failure("no window to click");
  POINT screen = client;
  ClientToScreen(target, &screen);
  Attempt attempt;
  for (int i = 0; i < kPressTries && (i == 0 || attempt.retry); ++i) {
    if (Result moved = MoveMouse(screen, w); !moved) return moved;
    if (OfThisThread(target)) {
      attempt = ClickOwnWindow(target, screen, w);
    } else if (shows == PressShows::PushedState) {
      attempt = ClickOtherPushedButton(target, screen, w);
    } else {
      attempt = ClickOtherWindow(target, screen, w);
    }
  }
  return attempt.result;
}

Result PressKey(WORD vk, const Waiting& w) {
  const auto down = [vk] { return GetKeyState(vk) < 0; };
  if (!Send(KeyInput(vk, 0, 0)) || !WaitUntil(down, w)) {
    Send(KeyInput(vk, 0, KEYEVENTF_KEYUP));
    return Result::Failure("key " + std::to_string(vk) + " never went down");
  }
  if (!Send(KeyInput(vk, 0, KEYEVENTF_KEYUP)) || !WaitUntil([&] { return !down(); }, w)) {
    return Result::Failure("key " + std::to_string(vk) + " never came up");
  }
  return {};
}

Result PressKey(WORD vk, const std::function<bool()>& effect, const std::string& what,
                const Waiting& w) {
  INPUT keys[2] = {KeyInput(vk, 0, 0), KeyInput(vk, 0, KEYEVENTF_KEYUP)};
  if (SendInput(2, keys, sizeof keys[0]) != 2) {
    return Result::Failure("SendInput refused key " + std::to_string(vk));
  }
  if (!WaitUntil(effect, w)) {
    return Result::Failure("key " + std::to_string(vk) + " was pressed but " + what +
                           " never happened");
  }
  return {};
}

Result PressChord(WORD modifier, WORD vk, const std::function<bool()>& effect,
                  const std::string& what, const Waiting& w) {
  INPUT keys[4] = {KeyInput(modifier, 0, 0), KeyInput(vk, 0, 0), KeyInput(vk, 0, KEYEVENTF_KEYUP),
                   KeyInput(modifier, 0, KEYEVENTF_KEYUP)};
  const std::string chord = std::to_string(modifier) + "+" + std::to_string(vk);
  if (SendInput(4, keys, sizeof keys[0]) != 4) {
    return Result::Failure("SendInput refused keys " + chord);
  }
  if (!WaitUntil(effect, w)) {
    return Result::Failure("keys " + chord + " were pressed but " + what + " never happened");
  }
  return {};
}

Result Drag(POINT from, POINT to, const std::function<bool()>& effect, const std::string& what,
            const Waiting& w) {
  if (Result moved = MoveMouse(from, w); !moved) return moved;
  HWND pressed = WindowFromPoint(from);
  if (!Send(MouseInput(MOUSEEVENTF_LEFTDOWN, from))) {
    return Result::Failure("SendInput refused the press at " + Describe(from));
  }
  // The press is taken once the window's thread holds the mouse (a drag of its own, or the
  // system's move or size loop): moves and a release that come earlier end that loop before
  // it started.
  const auto tracking = [&] {
    const GUITHREADINFO info = ThreadInfoOf(pressed);
    return info.hwndCapture != nullptr || (info.flags & GUI_INMOVESIZE) != 0;
  };
  if (pressed && !OfThisThread(pressed) && !WaitUntil(tracking, w)) {
    Send(MouseInput(MOUSEEVENTF_LEFTUP, from));
    return Result::Failure(Describe(pressed) + " never took the press at " + Describe(from));
  }
  WaitForTheWindowAt(from);
  // A window that tracks the drag in a loop of its own takes each move before the next comes
  // (its thread has answered once the cursor is there).
  constexpr int kSteps = 4;
  for (int i = 1; i <= kSteps; ++i) {
    const POINT at{from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps};
    Send(MouseInput(MOUSEEVENTF_MOVE, at));
    WaitUntil([&] { return CursorAt(at); }, w);
    WaitForTheWindowAt(from);
  }
  Send(MouseInput(MOUSEEVENTF_LEFTUP, to));
  if (!WaitUntil(effect, w)) {
    return Result::Failure("dragged from " + Describe(from) + " to " + Describe(to) + " but " +
                           what + " never happened");
  }
  return {};
}

Result TypeText(HWND edit, const std::wstring& text, const std::wstring& expected,
                const Waiting& w) {
  if (!WaitUntil([&] { return ThreadInfoOf(edit).hwndFocus == edit; }, w)) {
    return Result::Failure("cannot type \"" + Utf8(text) + "\": " + Describe(edit) +
                           " does not have the keyboard focus (" +
                           Describe(ThreadInfoOf(edit).hwndFocus) + " has)");
  }
  std::vector<INPUT> keys;
  for (wchar_t c : text) {
    keys.push_back(KeyInput(0, c, KEYEVENTF_UNICODE));
    keys.push_back(KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  const UINT sent =
      keys.empty() ? 0 : SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  if (sent != keys.size()) return Result::Failure("SendInput refused the typed text");
  if (!WaitUntil([&] { return TextOf(edit) == expected; }, w)) {
    return Result::Failure("typed \"" + Utf8(text) + "\" but " + Describe(edit) + " holds \"" +
                           Utf8(TextOf(edit)) + "\", not \"" + Utf8(expected) + "\"");
  }
  return {};
}

}  // namespace lbb::input
