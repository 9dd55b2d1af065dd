#include "tests/win/skinrun/SkinrunSupport.h"

#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/PixelBuffer.h"
#include "forms/Screenshot.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/skinrun/standin/StandIn.h"
#include "tools/input/Input.h"

namespace lbb::skinrun::test {

namespace {

// Programs start and show their windows within this; a hung one fails the test.
constexpr DWORD kStartLimitMs = 20000;
constexpr DWORD kEndLimitMs = 15000;

std::wstring Quote(const std::wstring& a) {
  return a.find_first_of(L" \t\"") == std::wstring::npos ? a : L"\"" + a + L"\"";
}

std::wstring ErrorFileName() {
  static int count = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"skinrun-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++count) + L".log";
}

// The process started by `parent` (0: none yet), and its executable's name.
DWORD ChildOf(DWORD parent, std::wstring* exe) {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;
  PROCESSENTRY32W e{};
  e.dwSize = sizeof e;
  for (BOOL more = Process32FirstW(snapshot.get(), &e); more;
       more = Process32NextW(snapshot.get(), &e)) {
    if (e.th32ParentProcessID == parent && e.th32ProcessID != parent) {
      *exe = e.szExeFile;
      return e.th32ProcessID;
    }
  }
  return 0;
}

void EndProcess(DWORD pid) {
  KernelHandle p(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
  if (!p) return;
  TerminateProcess(p.get(), 255);
  WaitForSingleObject(p.get(), kEndLimitMs);
}

uintptr_t Property(HWND hwnd, const wchar_t* name) {
  return reinterpret_cast<uintptr_t>(GetPropW(hwnd, name));
}

class StandIn : public SkinnedCheck {
 public:
  ::testing::AssertionResult IsSkinned(HWND hwnd) const override {
    const StandInMarks m = MarksOf(hwnd);
    const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    if (m.startThread == 0)
      return ::testing::AssertionFailure() << "the engine never saw window " << hwnd;
    if (m.startThread != thread)
      return ::testing::AssertionFailure() << "the engine started on thread " << m.startThread
                                           << ", not on the window's thread " << thread;
    return ::testing::AssertionSuccess();
  }
  std::wstring Dll() const override { return WindowsPath(LBB_STANDIN_DLL); }
};

double Share(const PixelBuffer& shot, const RECT& area, const std::function<bool(Pixel)>& is) {
  long count = 0, total = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      if (!shot.Contains(x, y)) continue;
      ++total;
      count += is(shot.At(x, y)) ? 1 : 0;
    }
  return total ? static_cast<double>(count) / static_cast<double>(total) : 0.0;
}

// The client area in the coordinates of the window's picture.
RECT ClientIn(HWND hwnd) {
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  return client;
}

// The checks of ShowsProgramWindow on one picture.
::testing::AssertionResult PictureShowsWindow(const PixelBuffer& shot, const RECT& client,
                                              const std::string& name, COLORREF clientColour,
                                              double share) {
  if (shot.Empty()) return ::testing::AssertionFailure() << "no picture of " << name;
  const Pixel wanted = PixelOf(clientColour);
  const double inClient = Share(shot, client, [&](Pixel p) { return p == wanted; });
  if (inClient < share)
    return ::testing::AssertionFailure() << name << ": only " << inClient * 100
                                         << " % of the client area has the program's colour";
  // The frame: the strip above the client area (caption and menu) is drawn, neither the
  // desktop nor black (what the screen shows of a part of a window never painted).
  const Pixel desktop = PixelOf(GetSysColor(COLOR_DESKTOP));
  const RECT caption{client.left, 0, client.right, client.top};
  const double drawn = Share(shot, caption, [&](Pixel p) { return p != desktop && p != 0; });
  if (caption.bottom <= 0 || drawn < 0.9)
    return ::testing::AssertionFailure()
           << name << ": the caption strip is not drawn (" << drawn * 100 << " %)";
  return ::testing::AssertionSuccess();
}

}  // namespace

std::wstring WindowsPath(const std::string& unixPath) {
  std::wstring out = L"Z:";
  for (char c : unixPath)
    out.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
  return out;
}

SkinrunProcess::SkinrunProcess(const std::wstring& loader, const std::vector<std::wstring>& args)
    : errorFile_(ErrorFileName()) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  KernelHandle err(CreateFileW(errorFile_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::wstring line = Quote(loader);
  for (const std::wstring& a : args)
    line += L" " + Quote(a);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = err.get();
  si.hStdError = err.get();
  PROCESS_INFORMATION pi{};
  if (err && CreateProcessW(loader.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &si, &pi)) {
    process_.reset(pi.hProcess);
    KernelHandle thread(pi.hThread);
    pid_ = pi.dwProcessId;
  }
}

SkinrunProcess::~SkinrunProcess() {
  if (process_ && WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) {
    std::wstring exe;
    if (!program_) program_ = ChildOf(pid_, &exe);
    if (program_) EndProcess(program_);
    if (WaitForSingleObject(process_.get(), kEndLimitMs) != WAIT_OBJECT_0)
      TerminateProcess(process_.get(), 255);
  }
  process_.reset();
  DeleteFileW(errorFile_.c_str());
}

DWORD SkinrunProcess::ProgramId() {
  if (program_ || !process_) return program_;
  input::WaitUntil(
      [&] {
        std::wstring exe;
        DWORD child = ChildOf(pid_, &exe);
        // After a hand-over the program is the other skinrun's child.
        if (child && _wcsicmp(exe.c_str(), L"skinrun.exe") == 0) child = ChildOf(child, &exe);
        program_ = child;
        return program_ != 0;
      },
      {nullptr, kStartLimitMs});
  return program_;
}

HWND SkinrunProcess::WaitForMainWindow(const std::wstring& cls) {
  const DWORD pid = ProgramId();
  if (!pid) return nullptr;
  HWND found = nullptr;
  input::WaitUntil(
      [&] { return (found = input::ShownWindowOf(pid, cls.c_str(), true)) != nullptr; },
      {nullptr, kStartLimitMs});
  return found;
}

long SkinrunProcess::WaitForExit() {
  DWORD code = 0;
  if (!process_ || WaitForSingleObject(process_.get(), kEndLimitMs) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process_.get(), &code))
    return -1;
  return static_cast<long>(code);
}

std::string SkinrunProcess::Messages() const {
  std::ifstream in(std::filesystem::path(errorFile_), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Skinrun::SetUp() {
  for (const wchar_t* key : {L"Software\\Microsoft\\Notepad", L"Software\\Microsoft\\WinMine",
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit",
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad"})
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
}

std::unique_ptr<SkinrunProcess> Skinrun::Start(std::vector<std::wstring> args) const {
  args.insert(args.begin(), {L"--dll", check->Dll()});
  return std::make_unique<SkinrunProcess>(loader, args);
}

HWND Skinrun::ShowMain(SkinrunProcess& run, const std::wstring& cls) const {
  HWND main = run.WaitForMainWindow(cls);
  EXPECT_TRUE(main) << "no window; skinrun said: " << run.Messages();
  if (main) {
    EXPECT_TRUE(Check(input::BringToFront(main)));
  }
  return main;
}

std::wstring Expanded(const wchar_t* path) {
  wchar_t out[MAX_PATH * 2];
  const DWORD n = ExpandEnvironmentStringsW(path, out, MAX_PATH * 2);
  return n > 0 && n <= MAX_PATH * 2 ? out : path;
}

::testing::AssertionResult Check(const input::Result& r) {
  if (r) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << r.message();
}

::testing::AssertionResult MenuClosed(DWORD pid) {
  if (input::WaitUntil([&] { return !FindWindowOf(pid, L"#32768"); }))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the menu stayed open";
}

::testing::AssertionResult UseWindowMenu(DWORD pid, WORD key, const std::function<bool()>& effect,
                                         const std::string& what) {
  if (auto r = Check(input::PressChord(
          VK_MENU, VK_SPACE, [&] { return FindWindowOf(pid, L"#32768") != nullptr; },
          "the window menu opening"));
      !r)
    return r;
  if (auto r = Check(input::PressKey(key, effect, what)); !r) return r;
  return MenuClosed(pid);
}

::testing::AssertionResult CloseFromWindowMenu(HWND main) {
  if (auto front = Check(input::BringToFront(main)); !front) return front;
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  return UseWindowMenu(
      pid, 'C', [&] { return !IsWindow(main); }, "the window closing");
}

HWND FindWindowOf(DWORD pid, const std::wstring& cls) {
  return input::ShownWindowOf(pid, cls.c_str());
}

std::unique_ptr<SkinnedCheck> StandInCheck() {
  return std::make_unique<StandIn>();
}

StandInMarks MarksOf(HWND hwnd) {
  StandInMarks m;
  m.startThread = static_cast<DWORD>(Property(hwnd, standin::kStartThread));
  if (!m.startThread) return m;
  m.shownAtStart = static_cast<int>(Property(hwnd, standin::kShownAtStart)) - 1;
  m.skinLoaded = Property(hwnd, standin::kSkin) == 2;
  m.scope = static_cast<int>(Property(hwnd, standin::kScope)) - 1;
  m.sawCreate = Property(hwnd, standin::kSawCreate) == 1;
  return m;
}

::testing::AssertionResult ShowsProgramWindow(HWND hwnd, const std::string& name,
                                              COLORREF clientColour, double share) {
  // A program paints its window after showing it: the picture is taken again until it shows
  // the window (or the wait's bound has passed), and the last one is saved.
  PixelBuffer shot;
  ::testing::AssertionResult shows = ::testing::AssertionFailure() << "no picture of " << name;
  input::WaitUntil(
      [&] {
        shot = forms::CaptureWindow(hwnd, true);
        shows = PictureShowsWindow(shot, ClientIn(hwnd), name, clientColour, share);
        return static_cast<bool>(shows);
      },
      {input::HandlePendingMessages, kStartLimitMs});
  const std::string dir = std::string(LBB_SCREENSHOT_DIR) + "/skinrun";
  std::filesystem::create_directories(dir);
  if (!shot.Empty() && !forms::SavePng(shot, dir + "/" + name + ".png"))
    return ::testing::AssertionFailure() << "the picture of " << name << " was not saved";
  return shows;
}

::testing::AssertionResult ShowsSkinnedMenu(DWORD pid, const std::string& name) {
  HWND popup = nullptr;
  bool answers = false;
  double native = 1.0;
  PixelBuffer shot;
  const Pixel menuColour = PixelOf(GetSysColor(COLOR_MENU));
  const bool shows = input::WaitUntil(
      [&] {
        if (!popup) popup = FindWindowOf(pid, L"#32768");
        if (!popup) return false;
        answers = SendMessageW(popup, skin::SKM_ISSKINNED, 0, 0) == 1;
        shot = forms::CaptureWindow(popup, true);
        const RECT all{0, 0, shot.Width(), shot.Height()};
        native = Share(shot, all, [&](Pixel p) { return p == menuColour; });
        return answers && !shot.Empty() && native <= 0.5;
      },
      {input::HandlePendingMessages, kStartLimitMs});
  if (!popup) return ::testing::AssertionFailure() << name << ": no menu opened";
  const std::string dir = std::string(LBB_SCREENSHOT_DIR) + "/skinrun";
  std::filesystem::create_directories(dir);
  if (!shot.Empty()) forms::SavePng(shot, dir + "/" + name + ".png");
  if (!answers) return ::testing::AssertionFailure() << name << ": the menu is not skinned";
  if (!shows)
    return ::testing::AssertionFailure()
           << name << ": " << native * 100 << " % of the menu has the native menu colour";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult OpensDialogFromBand(DWORD pid, WORD menuKey, WORD itemKey,
                                               const SkinnedCheck& check, const std::string& name) {
  if (auto r = Check(input::PressChord(
          VK_MENU, menuKey, [&] { return FindWindowOf(pid, L"#32768") != nullptr; },
          "the drop-down opening"));
      !r)
    return r;
  if (auto r = ShowsSkinnedMenu(pid, name + "-menu"); !r) return r;
  HWND dialog = nullptr;
  if (auto r = Check(input::PressKey(
          itemKey, [&] { return (dialog = FindWindowOf(pid, L"#32770")) != nullptr; },
          "the item's dialog opening"));
      !r)
    return r;
  if (auto r = check.IsSkinned(dialog); !r) return r << " (the dialog)";
  return Check(input::PressKey(
      VK_ESCAPE, [&] { return !IsWindow(dialog); }, "the dialog closing"));
}

::testing::AssertionResult WorksAsAWindow(HWND main, bool sizable, const SkinnedCheck& check,
                                          const std::string& name, COLORREF clientColour,
                                          double share) {
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  if (sizable) {
    if (auto r = GrowByBorder(main, 80, 50); !r) return r;
    if (auto r = check.IsSkinned(main); !r) return r << " (after the resize)";
  }
  if (auto r = Check(input::BringToFront(main)); !r) return r;
  if (auto r = Check(input::PressChord(
          VK_MENU, VK_SPACE, [&] { return FindWindowOf(pid, L"#32768") != nullptr; },
          "the window menu opening"));
      !r)
    return r;
  if (auto r = ShowsSkinnedMenu(pid, name + "-window-menu"); !r) return r;
  if (auto r = Check(input::PressKey(
          'N', [&] { return IsIconic(main) != FALSE; }, "minimising"));
      !r)
    return r;
  if (auto r = MenuClosed(pid); !r) return r;
  // Minimised, the window may have handed the activation on: it is brought back first, or
  // Alt+Space would go to whichever window took it.
  if (auto r = Check(input::BringToFront(main)); !r) return r;
  if (auto r = UseWindowMenu(
          pid, 'R', [&] { return !IsIconic(main); }, "restoring");
      !r)
    return r;
  if (auto r = check.IsSkinned(main); !r) return r << " (after restoring)";
  if (!sizable) return ::testing::AssertionSuccess();
  // Maximised: the window's style says so before it has its new size, and the screen shows the
  // menu's picture until the window has painted where the menu was; the picture waits for both.
  if (auto r = Check(input::PressChord(
          VK_MENU, VK_SPACE, [&] { return FindWindowOf(pid, L"#32768") != nullptr; },
          "the window menu opening"));
      !r)
    return r;
  RECT menuRect{};
  GetWindowRect(FindWindowOf(pid, L"#32768"), &menuRect);
  const PixelBuffer menu = forms::CaptureScreen(menuRect);
  const auto filling = [&] {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT w{}, both{};
    GetWindowRect(main, &w);
    GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &mi);
    return IsZoomed(main) && IntersectRect(&both, &w, &mi.rcWork) && EqualRect(&both, &mi.rcWork);
  };
  if (auto r = Check(input::PressKey('X', filling, "maximising")); !r) return r;
  if (auto r = MenuClosed(pid); !r) return r;
  if (!input::WaitUntil([&] { return !(forms::CaptureScreen(menuRect) == menu); }))
    return ::testing::AssertionFailure() << "the closed window menu stays on the screen";
  return ShowsProgramWindow(main, name + "-maximised", clientColour, share);
}

namespace {

struct HoldingsCount {
  DWORD pid;
  int windows = 0;
};

BOOL CALLBACK CountChild(HWND hwnd, LPARAM lp) {
  auto* c = reinterpret_cast<HoldingsCount*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == c->pid) ++c->windows;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM lp) {
  CountChild(hwnd, lp);
  EnumChildWindows(hwnd, &CountChild, lp);
  return TRUE;
}

}  // namespace

ProgramHoldings HoldingsOf(DWORD pid) {
  HoldingsCount count{pid};
  EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&count));
  for (HWND m = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); m;
       m = FindWindowExW(HWND_MESSAGE, m, nullptr, nullptr))
    CountTopLevel(m, reinterpret_cast<LPARAM>(&count));
  ProgramHoldings h;
  h.windows = count.windows;
  const KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
  DWORD handles = 0;
  if (process && GetProcessHandleCount(process.get(), &handles)) h.handles = handles;
  return h;
}

::testing::AssertionResult LeavesNothingBehind(
    DWORD pid, int rounds, const std::function<::testing::AssertionResult()>& round) {
  ProgramHoldings first;
  for (int i = 0; i < rounds; ++i) {
    if (auto r = round(); !r) return r << " (round " << i << ")";
    const ProgramHoldings now = HoldingsOf(pid);
    if (i == 0) {
      first = now;
      continue;
    }
    if (now.windows != first.windows)
      return ::testing::AssertionFailure()
             << "round " << i << ": " << now.windows - first.windows << " windows left behind";
    if (now.handles > first.handles)
      return ::testing::AssertionFailure()
             << "round " << i << ": " << now.handles - first.handles << " handles left behind";
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult GrowByBorder(HWND hwnd, int dx, int dy) {
  if (auto front = Check(input::BringToFront(hwnd)); !front) return front;
  RECT was{};
  GetWindowRect(hwnd, &was);
  const POINT corner{was.right - 2, was.bottom - 2};
  const auto grown = [&] {
    RECT now{};
    GetWindowRect(hwnd, &now);
    return now.right - now.left > was.right - was.left + dx / 2 &&
           now.bottom - now.top > was.bottom - was.top + dy / 2;
  };
  // Wine's size loop now and then lets a whole drag pass without a change (the window as it
  // was, seen about once in ten runs): the drag is made once more before it counts as failed.
  input::Result drag = input::Drag(corner, {corner.x + dx, corner.y + dy}, grown, "growing");
  RECT after{};
  GetWindowRect(hwnd, &after);
  if (!drag && EqualRect(&after, &was))
    drag = input::Drag(corner, {corner.x + dx, corner.y + dy}, grown, "growing");
  return Check(drag);
}

}  // namespace lbb::skinrun::test
