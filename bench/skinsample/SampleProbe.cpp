// The in-process half of the sample's benchmark: SkinSample.c is compiled a second time into
// SkinSampleBench.exe with its entry point and its four engine calls renamed (see
// CMakeLists.txt), and this file supplies them:
// - wWinMain reads `--look`, makes the probe's message-only window, watches the thread's
//   paints through a hook, and then runs the sample's own entry point unchanged;
// - the engine calls reach lbbskin.dll (loaded at the first of them) only in the skin look,
//   so the unskinned looks run the sample as if it had never been skinned.
// The benchmark (BenchSkinSample.cpp) asks the probe for its figures with ProbeCommands.h.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "base/win/Handles.h"
#include "bench/skinframe/BenchTiming.h"
#include "bench/skinsample/ProbeCommands.h"
#include "skin/win/SkinMessages.h"

extern "C" int WINAPI lbb_sample_main(HINSTANCE, HINSTANCE, PWSTR, int);

namespace {

using namespace lbb::bench;
using namespace lbb::bench::probe;

enum class Look { Classic, Style, Skin };

// ---- the skin engine, in the skin look only

using EngineCall = int(__cdecl*)();
using LoadCall = int(__cdecl*)(const wchar_t*);
using TextCall = const char*(__cdecl*)(int);

struct Engine {
  lbb::ModuleHandle dll;
  EngineCall start = nullptr, stop = nullptr;
  LoadCall loadFile = nullptr;
  TextCall errorText = nullptr;
};

Look g_look = Look::Classic;
Engine* g_engine = nullptr;  // owned by wWinMain

template <class F>
F Entry(HMODULE dll, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

// The engine's DLL and its entries, loaded once; null outside the skin look or when the DLL
// is missing (the sample's calls then fail as a program without the DLL could not start).
Engine* SkinEngine() {
  if (g_look != Look::Skin || !g_engine) return nullptr;
  if (!g_engine->dll) {
    g_engine->dll.reset(LoadLibraryW(L"lbbskin.dll"));
    if (!g_engine->dll) return nullptr;
    const HMODULE dll = g_engine->dll.get();
    g_engine->start = Entry<EngineCall>(dll, "lbbskin_start");
    g_engine->stop = Entry<EngineCall>(dll, "lbbskin_stop");
    g_engine->loadFile = Entry<LoadCall>(dll, "lbbskin_load_file");
    g_engine->errorText = Entry<TextCall>(dll, "lbbskin_error_text");
  }
  return g_engine->start ? g_engine : nullptr;
}

// ---- the thread's paints

struct PaintWatch {
  HWND main = nullptr;
  double frame = 0, client = 0, status = 0, complete = 0;
  bool menuArmed = false;
  double menuPainted = 0;
};
PaintWatch g_watch;

bool ClassIs(HWND h, const wchar_t* name) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  return std::wcscmp(cls, name) == 0;
}

bool Skinned(HWND h) {
  return SendMessageW(h, lbb::skin::SKM_ISSKINNED, 0, 0) == 1;
}

// Whether a paint of `h` shows the look the sample was started in: in the skin look only the
// paints after the window was skinned count (the engine holds a window hidden until then).
bool InFinalLook(HWND h) {
  return g_look != Look::Skin || Skinned(h);
}

void NoteFirstPaint(HWND h, UINT msg) {
  if (!g_watch.main && ClassIs(h, kMainClass)) g_watch.main = h;
  if (!g_watch.main) return;
  const double now = NowMs();
  if (h == g_watch.main) {
    if (!InFinalLook(h)) return;
    (msg == WM_NCPAINT ? g_watch.frame : g_watch.client) = now;
  } else if (msg == WM_PAINT && GetParent(h) == g_watch.main && ClassIs(h, STATUSCLASSNAMEW) &&
             InFinalLook(h)) {
    g_watch.status = now;
  }
  if (g_watch.frame > 0 && g_watch.client > 0 && g_watch.status > 0) g_watch.complete = now;
}

// The end of a paint of `h` (WM_PAINT or WM_NCPAINT): a part of the first complete paint.
void NotePaint(HWND h, UINT msg) {
  if (g_watch.complete == 0) NoteFirstPaint(h, msg);
}

bool Watching() {
  return g_watch.complete == 0;
}

// The drop-down's time: the menu loop tells the window that owns the menu that it is idle
// (WM_ENTERIDLE) once the drop-down is shown and painted and no message waits, in every look.
// The main window is subclassed for it when the watch is armed, after the skin's own
// subclass, so that it sees the message first.
WNDPROC g_mainProc = nullptr;

LRESULT CALLBACK WatchedMainProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && g_watch.menuArmed) {
    g_watch.menuArmed = false;
    g_watch.menuPainted = NowMs();
    EndMenu();
  }
  return CallWindowProcW(g_mainProc, h, msg, wParam, lParam);
}

bool WatchMenus(HWND main) {
  if (!g_mainProc && main)
    g_mainProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchedMainProc)));
  return g_mainProc != nullptr;
}

// Paints sent to a window procedure (UpdateWindow, RedrawWindow with RDW_UPDATENOW, the
// WM_NCPAINT of BeginPaint): seen after the procedure returned.
LRESULT CALLBACK AfterSentCall(int code, WPARAM wParam, LPARAM lParam) {
  const auto* c = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && c && (c->message == WM_PAINT || c->message == WM_NCPAINT) && Watching())
    NotePaint(c->hwnd, c->message);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A WM_PAINT taken from the queue is dispatched by the message loop, where no hook sees its
// return; a note posted to the probe as it is taken arrives with the loop's next message,
// which the queue hands out only once the dispatch has returned (a posted message comes
// before any further WM_PAINT).
constexpr UINT kPaintEnded = WM_APP + 0x70;
HWND g_probe = nullptr;

LRESULT CALLBACK OnQueuedMessage(int code, WPARAM removal, LPARAM lParam) {
  const auto* m = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && removal == PM_REMOVE && m && m->message == WM_PAINT && m->hwnd &&
      g_probe && Watching())
    PostMessageW(g_probe, kPaintEnded, reinterpret_cast<WPARAM>(m->hwnd), 0);
  return CallNextHookEx(nullptr, code, removal, lParam);
}

// The watch's hooks are in place only while the first complete paint is awaited: under Wine a
// WH_CALLWNDPROCRET hook makes every message sent in the thread a call to the Wine server, about a
// tenth of a millisecond each, which would weigh on every figure in proportion to the messages a
// look sends rather than to its work.
lbb::HookHandle g_sentHook, g_queuedHook;

bool Watch() {
  const DWORD thread = GetCurrentThreadId();
  if (!g_sentHook)
    g_sentHook.reset(SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterSentCall, nullptr, thread));
  if (!g_queuedHook)
    g_queuedHook.reset(SetWindowsHookExW(WH_GETMESSAGE, &OnQueuedMessage, nullptr, thread));
  return g_sentHook && g_queuedHook;
}

void Unwatch() {
  g_sentHook.reset();
  g_queuedHook.reset();
}

// ---- the commands

LRESULT Micros(double ms) {
  return static_cast<LRESULT>(ms * 1000.0);
}

void HandlePending() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void FinishPaints(HWND main) {
  HandlePending();
  RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool NoMenuShown() {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  return !menu || !IsWindowVisible(menu);
}

bool LookShown() {
  const HWND main = g_watch.main;
  const HWND status = main ? FindWindowExW(main, nullptr, STATUSCLASSNAMEW, nullptr) : nullptr;
  if (!status) return false;
  const bool styled = IsThemeActive() && IsAppThemed();
  const bool skinned = Skinned(main) && Skinned(status);
  switch (g_look) {
    case Look::Classic:
      return !styled && !skinned;
    case Look::Style:
      return styled && !skinned;
    case Look::Skin:
      return skinned;
  }
  return false;
}

LRESULT Repaint(HWND main, int times) {
  std::vector<double> ms;
  for (int i = 0; i < times; ++i) {
    const double t0 = NowMs();
    RedrawWindow(main, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FinishPaints(main);
    ms.push_back(NowMs() - t0);
  }
  return Micros(Summarise(ms).median);
}

LRESULT Resize(HWND main, int steps) {
  RECT w{};
  GetWindowRect(main, &w);
  const int width = w.right - w.left, height = w.bottom - w.top;
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  const double t0 = NowMs();
  for (int i = 1; i <= steps; ++i) {
    SetWindowPos(main, nullptr, 0, 0, width + i, height, kFlags);
    FinishPaints(main);
  }
  const double total = NowMs() - t0;
  SetWindowPos(main, nullptr, 0, 0, width, height, kFlags);
  FinishPaints(main);
  return Micros(total);
}

LRESULT OnCommand(UINT msg, WPARAM wParam) {
  const HWND main = g_watch.main;
  const int count = std::clamp(static_cast<int>(wParam), 1, 1000);
  if (!Watching()) Unwatch();
  switch (msg) {
    case kLookShown:
      return LookShown() ? 1 : 0;
    case kFirstPaint:
      return Micros(g_watch.complete);
    case kSettle:
      HandlePending();
      return 1;
    case kRepaint:
      return main ? Repaint(main, count) : 0;
    case kResize:
      return main ? Resize(main, count) : 0;
    case kMenuArm:
      g_watch.menuPainted = 0;
      g_watch.menuArmed = true;
      return WatchMenus(main) ? 1 : 0;
    case kMenuPainted:
      return NoMenuShown() ? Micros(g_watch.menuPainted) : 0;
    case kPaintsSeen:
      return (g_watch.frame > 0 ? 1 : 0) | (g_watch.client > 0 ? 2 : 0) |
             (g_watch.status > 0 ? 4 : 0);
    default:
      return 0;
  }
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= kLookShown && msg <= kPaintsSeen) return OnCommand(msg, wParam);
  if (msg == kPaintEnded) {
    NotePaint(reinterpret_cast<HWND>(wParam), WM_PAINT);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

lbb::WindowHandle MakeProbeWindow(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = instance;
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&wc)) return {};
  return lbb::WindowHandle(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                           nullptr, instance, nullptr));
}

Look LookArgument() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  Look look = Look::Classic;
  for (int i = 1; argv && i + 1 < argc; ++i) {
    if (std::wcscmp(argv[i], kLookOption) != 0) continue;
    if (std::wcscmp(argv[i + 1], kSkinLook) == 0) look = Look::Skin;
    if (std::wcscmp(argv[i + 1], kStyleLook) == 0) look = Look::Style;
  }
  LocalFree(argv);
  return look;
}

}  // namespace

// The sample's four engine calls, renamed in its benchmark build.
extern "C" int __cdecl bench_sample_start(void) {
  Engine* e = SkinEngine();
  if (g_look != Look::Skin) return 0;
  return e ? e->start() : -1;
}

extern "C" int __cdecl bench_sample_stop(void) {
  Engine* e = g_look == Look::Skin ? SkinEngine() : nullptr;
  return e && e->stop ? e->stop() : 0;
}

extern "C" int __cdecl bench_sample_load_file(const wchar_t* path) {
  Engine* e = SkinEngine();
  if (g_look != Look::Skin) return 0;
  return e && e->loadFile ? e->loadFile(path) : -1;
}

extern "C" const char* __cdecl bench_sample_error_text(int code) {
  Engine* e = SkinEngine();
  return e && e->errorText ? e->errorText(code) : "the skin engine's DLL was not loaded";
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR cmdLine, int show) {
  g_look = LookArgument();
  Engine engine;
  g_engine = &engine;
  const lbb::WindowHandle probe = MakeProbeWindow(instance);
  g_probe = probe.get();
  if (!probe || !Watch()) return 3;
  const int result = lbb_sample_main(instance, previous, cmdLine, show);
  Unwatch();
  g_engine = nullptr;
  return result;
}
