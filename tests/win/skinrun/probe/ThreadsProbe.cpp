// A small program with two user-interface threads for skinrun's tests: the main thread shows
// "Probe main", and a second thread, started once that window is up, shows "Probe second" at
// once. Closing the main window ends the second thread and the program with exit code 3.
#include <windows.h>

#include "base/win/Handles.h"

namespace {

constexpr int kExitCode = 3;
constexpr wchar_t kClass[] = L"LbbSkinrunProbe";

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DESTROY:
      PostQuitMessage(kExitCode);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

HWND ShowProbeWindow(const wchar_t* title, int x) {
  HWND hwnd = CreateWindowExW(0, kClass, title, WS_OVERLAPPEDWINDOW, x, 100, 300, 200, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

int RunMessages() {
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return static_cast<int>(m.wParam);
}

DWORD WINAPI SecondThread(void*) {
  if (!ShowProbeWindow(L"Probe second", 450)) return 1;
  RunMessages();
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &ProbeProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClass;
  if (!RegisterClassW(&wc) || !ShowProbeWindow(L"Probe main", 100)) return 1;
  DWORD secondId = 0;
  lbb::KernelHandle second(CreateThread(nullptr, 0, &SecondThread, nullptr, 0, &secondId));
  const int code = RunMessages();
  // The second thread's window goes with its thread.
  PostThreadMessageW(secondId, WM_QUIT, 0, 0);
  WaitForSingleObject(second.get(), INFINITE);
  return code;
}
