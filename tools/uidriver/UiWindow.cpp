#include "tools/uidriver/UiWindow.h"

#include <tlhelp32.h>

#include <cwctype>
#include <vector>

#include "base/win/Handles.h"
#include "skin/win/SkinMessages.h"
#include "tools/input/Input.h"

namespace lbb::driver {

namespace {

struct Search {
  DWORD pid = 0;
  const std::wstring* caption = nullptr;  // null: any dialog
  HWND found = nullptr;
};

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64];
  const int n = GetClassNameW(hwnd, name, 64);
  return std::wstring(name, static_cast<size_t>(n > 0 ? n : 0));
}

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
  const bool match = s->caption ? input::TextOf(hwnd) == *s->caption : ClassOf(hwnd) == L"#32770";
  if (!match) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

HWND FindProgramWindow(DWORD pid, const std::wstring& caption) {
  Search s{pid, &caption, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FindDialog(DWORD pid) {
  Search s{pid, nullptr, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::wstring DialogText(HWND dialog) {
  // A message box's text is its static control with the id 0xFFFF.
  HWND text = GetDlgItem(dialog, 0xFFFF);
  return text ? input::TextOf(text) : std::wstring();
}

bool IsSkinnedButton(HWND hwnd) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(hwnd, skin::SKM_ISSKINNED, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) ||
      answer != 1 || !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) {
    return false;
  }
  std::wstring name = ClassOf(hwnd);
  for (wchar_t& c : name)
    c = static_cast<wchar_t>(towlower(c));
  return name.find(L"button") != std::wstring::npos || name.find(L"btn") != std::wstring::npos;
}

HWND ChildAt(HWND parent, POINT client) {
  HWND child = ChildWindowFromPointEx(parent, client, CWP_SKIPINVISIBLE);
  return child == parent ? nullptr : child;
}

bool Painted(HWND hwnd) {
  if (!IsWindowVisible(hwnd) || GetUpdateRect(hwnd, nullptr, FALSE)) return false;
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (IsWindowVisible(c) && GetUpdateRect(c, nullptr, FALSE)) return false;
  }
  return true;
}

namespace {

// Calls `each` with every thread of process `pid`; false when they cannot be listed.
template <class F>
bool ForEachThread(DWORD pid, F each) {
  lbb::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return false;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more;
       more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID == pid) each(entry.th32ThreadID);
  }
  return true;
}

}  // namespace

int ThreadCount(DWORD pid) {
  int n = 0;
  return ForEachThread(pid, [&](DWORD) { ++n; }) ? n : -1;
}

std::vector<DWORD> ThreadIds(DWORD pid) {
  std::vector<DWORD> ids;
  ForEachThread(pid, [&](DWORD id) { ids.push_back(id); });
  return ids;
}

int LineCount(HWND edit) {
  return static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
}

std::wstring LastLine(HWND edit) {
  std::wstring text = input::TextOf(edit);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
    text.pop_back();
  const size_t cut = text.find_last_of(L'\n');
  return cut == std::wstring::npos ? text : text.substr(cut + 1);
}

}  // namespace lbb::driver
