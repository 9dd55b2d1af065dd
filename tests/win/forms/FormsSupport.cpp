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
  for (int i = 0; i < 10; ++i) {
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

namespace {
INPUT MouseInput(DWORD flags, POINT screen) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return in;
}
}  // namespace

namespace {
// Input reaches the thread's queue some time after SendInput; these wait until the thread
// has taken it (the thread's key state and the cursor follow the messages taken).
void SendAndWait(INPUT in, const std::function<bool()>& arrived) {
  SendInput(1, &in, sizeof in);
  PumpUntil(arrived);
  Settle();
}
bool ButtonDown() {
  return GetKeyState(VK_LBUTTON) < 0;
}
}  // namespace

void MoveMouseTo(HWND hwnd, POINT client) {
  ClientToScreen(hwnd, &client);
  const auto there = [client] {
    POINT p{};
    GetCursorPos(&p);
    return p.x == client.x && p.y == client.y;
  };
  // The display may still report an earlier position after the move has arrived (an event of
  // an earlier move coming late): the move is sent again until the cursor stays there.
  for (int i = 0; i < 4; ++i) {
    SendAndWait(MouseInput(MOUSEEVENTF_MOVE, client), there);
    if (there()) return;
  }
}

void ClickAt(HWND hwnd, POINT client) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  SetForegroundWindow(top);
  PumpUntil([top] { return GetForegroundWindow() == top && GetActiveWindow() == top; });
  Settle();
  MoveMouseTo(hwnd, client);
  ClientToScreen(hwnd, &client);
  SendAndWait(MouseInput(MOUSEEVENTF_LEFTDOWN, client), ButtonDown);
  SendAndWait(MouseInput(MOUSEEVENTF_LEFTUP, client), [] { return !ButtonDown(); });
}

void ClickTracked(HWND hwnd, POINT client) {
  SetForegroundWindow(GetAncestor(hwnd, GA_ROOT));
  Settle();
  MoveMouseTo(hwnd, client);
  ClientToScreen(hwnd, &client);
  INPUT in[2] = {MouseInput(MOUSEEVENTF_LEFTDOWN, client), MouseInput(MOUSEEVENTF_LEFTUP, client)};
  SendInput(2, in, sizeof in[0]);
  Settle();
}

void PressKey(WORD vk) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  SendAndWait(in, [vk] { return GetKeyState(vk) < 0; });
  in.ki.dwFlags = KEYEVENTF_KEYUP;
  SendAndWait(in, [vk] { return GetKeyState(vk) >= 0; });
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = c;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
  }
  Settle();
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
