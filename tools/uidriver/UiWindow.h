// The program's main window seen from another process: finding it, its controls by their
// places, its log, the message boxes it shows, when it has been painted, and how many
// threads the program runs. Real input goes through tools/input.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace lbb::driver {

// The visible top-level window of process `pid` whose caption is `caption`; null when none.
HWND FindProgramWindow(DWORD pid, const std::wstring& caption);
// A visible dialog (message box) of process `pid`; null when none.
HWND FindDialog(DWORD pid);
// The text of a message box (its static text) and its caption.
std::wstring DialogText(HWND dialog);
// The child window at a client point of `parent`.
HWND ChildAt(HWND parent, POINT client);
// True when the window and its children have no part left to paint.
bool Painted(HWND hwnd);
// A button of the skin engine: it takes a press without the mouse capture, shows it itself
// and reports it as its pushed state, so it is clicked with `input::PressShows::PushedState`
// (the click returns once the button has taken the release, that is once it has clicked).
bool IsSkinnedButton(HWND hwnd);

// The number of threads process `pid` runs now; -1 when they cannot be counted.
int ThreadCount(DWORD pid);
// The ids of the threads process `pid` runs now; none when they cannot be listed.
std::vector<DWORD> ThreadIds(DWORD pid);
// The number of lines of a multi-line edit.
int LineCount(HWND edit);

// The last non-empty line of a multi-line edit's text.
std::wstring LastLine(HWND edit);

}  // namespace lbb::driver
