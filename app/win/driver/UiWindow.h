// The program's main window seen from another process: finding it, its controls by their
// places, real input, its log, the message boxes it shows, and when it has been painted.
#pragma once

#include <windows.h>

#include <string>

namespace lbb::driver {

// The visible top-level window of process `pid` whose caption is `caption`; null when none.
HWND FindProgramWindow(DWORD pid, const std::wstring& caption);
// A visible dialog (message box) of process `pid`; null when none.
HWND FindDialog(DWORD pid);
// The text of a message box (its static text) and its caption.
std::wstring DialogText(HWND dialog);
std::wstring WindowTextOf(HWND hwnd);
// The child window at a client point of `parent`.
HWND ChildAt(HWND parent, POINT client);
// True when the window and its children have no part left to paint.
bool Painted(HWND hwnd);

// Real input through SendInput.
void ClickClient(HWND hwnd, POINT client);
void TypeUnicode(const std::wstring& text);
void PressKey(WORD vk);

// The last non-empty line of a multi-line edit's text.
std::wstring LastLine(HWND edit);

}  // namespace lbb::driver
