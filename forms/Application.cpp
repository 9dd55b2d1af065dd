#include "forms/Application.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "forms/AppHints.h"
#include "forms/Controls.h"
#include "forms/Forms.h"
#include "forms/Menus.h"
#include "forms/Timer.h"
#include "forms/WinText.h"
#include "forms/WindowGuard.h"

namespace lbb::forms {
namespace {

constexpr wchar_t kApplicationClass[] = L"TApplication";
// Posted to the application's window: free the form in lParam (see ReleaseForm).
constexpr UINT kReleaseFormMessage = WM_APP + 0x100;

}  // namespace

TApplication* const Application = [] {
  static TApplication app;
  return &app;
}();

String ControlAtomName(HINSTANCE instance, DWORD threadId) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "ControlOfs%.8llX%.8lX",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(instance)),
                static_cast<unsigned long>(threadId));
  return String(buffer, buffer + std::char_traits<char>::length(buffer));
}

String WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  if (n <= 0) return {};
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  int got = GetWindowTextW(hwnd, w.data(), n + 1);
  return FromWide(w.data(), static_cast<size_t>(std::max(got, 0)));
}

String WindowClassName(HWND hwnd) {
  wchar_t name[256];
  int n = GetClassNameW(hwnd, name, 256);
  return FromWide(name, static_cast<size_t>(std::max(n, 0)));
}

const TClassInfo& TApplication::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TApplication", &TComponent::StaticClassInfo());
    i.Add(StrProp<TApplication>(u"Title", &TApplication::Title, &TApplication::SetTitle));
    i.Add(
        IntProp<TApplication>(u"HintPause", &TApplication::HintPause, &TApplication::SetHintPause));
    i.Add(IntProp<TApplication>(u"HintHidePause", &TApplication::HintHidePause,
                                &TApplication::SetHintHidePause));
    i.Add(IntProp<TApplication>(u"HintShortPause", &TApplication::HintShortPause,
                                &TApplication::SetHintShortPause));
    return i;
  }();
  return info;
}

TApplication::TApplication()
    : TComponent(nullptr), hints_(std::make_unique<TApplicationHints>(*this)) {}

TApplication::~TApplication() {
  BeginDestroy();
  hints_->Hide();
  handOver_.reset();
  DestroyComponents();
  SetErrorPresenter(nullptr);
  window_.reset();
  atom_.reset();
}

void TApplication::Initialize() {
  if (window_) return;
  instance_ = GetModuleHandleW(nullptr);
  mainThread_ = GetCurrentThreadId();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS |
                                           ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES |
                                           ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  atom_ = std::make_unique<GlobalAtom>(Wide(ControlAtomName(instance_, mainThread_)).c_str());
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = instance_;
  wc.lpszClassName = kApplicationClass;
  RegisterClassExW(&wc);
  // A hidden window without taskbar button: it receives timers and the commands of popup
  // menus.
  window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kApplicationClass, Wide(title_).c_str(), WS_POPUP,
                                0, 0, 0, 0, nullptr, nullptr, instance_, nullptr));
  handOver_ = std::make_unique<THandOver>();
  SetErrorPresenter([this](const String& text) { ShowError(text); });
}

void TApplication::SetTitle(const String& title) {
  title_ = title;
  if (window_) SetWindowTextW(window_.get(), Wide(title).c_str());
}

void TApplication::AfterCreateForm(TCustomForm* form) {
  form->DoCreate();
}

void TApplication::Run() {
  terminated_ = false;
  exitCode_ = 0;
  if (mainForm_) mainForm_->ShowForm();
  TMessagePump pump(MessageDispatch(), true);
  while (!terminated_ && pump.HandleOne()) {
  }
  EndLoop(pump);
}

TMessageDispatch TApplication::MessageDispatch() {
  return [this](MSG& m) { ProcessMessage(m); };
}

// A loop run outside the handling of any message owns WM_QUIT: it ends the application.
void TApplication::EndLoop(const TMessagePump& pump) {
  if (!pump.QuitSeen() || DispatchDepth() > 0) return;
  terminated_ = true;
  exitCode_ = pump.ExitCode();
}

bool TApplication::HandleMessage() {
  TMessagePump pump(MessageDispatch(), DispatchDepth() == 0);
  pump.HandleOne();
  EndLoop(pump);
  return !pump.QuitSeen();
}

bool TApplication::ProcessMessages() {
  TMessagePump pump(MessageDispatch(), DispatchDepth() == 0);
  pump.ProcessPending();
  EndLoop(pump);
  return !pump.QuitSeen();
}

namespace {
// A press of a mouse button or a key puts the hint away.
bool CancelsHint(UINT msg) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_MOUSEWHEEL:
      return true;
    default:
      return false;
  }
}
}  // namespace

bool TApplication::ProcessMessage(MSG& m) {
  if (CancelsHint(m.message)) hints_->Cancel();
  if (IsMDIMessage(m)) return true;
  if (IsFrameworkMessage(m)) return true;
  TranslateMessage(&m);
  DispatchMessageW(&m);
  return true;
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  exitCode_ = 0;
  PostQuitMessage(0);
}

namespace {
// The framework control of a window or of the nearest parent window that has one.
TWinControl* OwningControl(HWND hwnd) {
  for (HWND h = hwnd; h; h = GetParent(h)) {
    if (TWinControl* c = FindControl(h)) return c;
  }
  return nullptr;
}

bool WantsKey(HWND hwnd, const MSG& m) {
  LRESULT code = SendMessageW(hwnd, WM_GETDLGCODE, m.wParam, reinterpret_cast<LPARAM>(&m));
  if (code & DLGC_WANTALLKEYS) return true;
  switch (m.wParam) {
    case VK_TAB:
      return (code & DLGC_WANTTAB) != 0;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      return (code & DLGC_WANTARROWS) != 0;
    default:
      return false;
  }
}
}  // namespace

bool TApplication::IsFrameworkMessage(MSG& m) {
  if (m.message != WM_KEYDOWN && m.message != WM_SYSCHAR) return false;
  TWinControl* c = OwningControl(m.hwnd);
  if (!c) return false;
  TCustomForm* form = c->ParentForm();
  if (!form) form = dynamic_cast<TCustomForm*>(c);
  if (!form) return false;
  if (m.message == WM_SYSCHAR) {
    return form->Perform(CM_DIALOGCHAR, m.wParam, m.lParam) != 0;
  }
  switch (m.wParam) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (WantsKey(m.hwnd, m)) return false;
      return form->Perform(CM_DIALOGKEY, m.wParam, m.lParam) != 0;
    default:
      return false;
  }
}

bool TApplication::IsMDIMessage(MSG& m) {
  if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return false;
  TCustomForm* frame = Screen->FindForm(GetAncestor(m.hwnd, GA_ROOT));
  if (!frame || !frame->ClientHandle()) return false;
  return TranslateMDISysAccel(frame->ClientHandle(), &m) != 0;
}

void TApplication::ReleaseForm(TCustomForm* form) {
  if (!window_) return;
  releasing_.push_back(form);
  PostMessageW(window_.get(), kReleaseFormMessage, 0, reinterpret_cast<LPARAM>(form));
}

void TApplication::FreeReleasedForm(TCustomForm* form) {
  // A form freed meanwhile left the list (another one may live at its address now).
  auto found = std::find(releasing_.begin(), releasing_.end(), static_cast<TControl*>(form));
  if (found == releasing_.end()) return;
  releasing_.erase(found);
  delete form;
}

int TApplication::MessageBox(const String& text, const String& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!owner && mainForm_) owner = mainForm_->WindowHandle();
  std::wstring t = Wide(text), c = Wide(caption.empty() ? title_ : caption);
  return ::MessageBoxW(owner, t.c_str(), c.c_str(), flags);
}

// ---- hand-over

bool TApplication::Synchronize(const std::function<void()>& call) {
  return handOver_ && handOver_->Run(call);
}

LRESULT CALLBACK TApplication::AppWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Everything the application does not take is the system's business, and so is a message
  // whose handling failed.
  auto system = [&] { return DefWindowProcW(hwnd, msg, wParam, lParam); };
  return GuardMessage(
      msg,
      [&]() -> LRESULT {
        switch (msg) {
          case WM_TIMER:
            if (wParam == TApplicationHints::kTimerId) {
              Application->hints_->TimerFired();
            } else if (TTimer* t = Application->FindTimer(wParam)) {
              t->Fire();
            }
            return 0;
          case kReleaseFormMessage:
            Application->FreeReleasedForm(reinterpret_cast<TCustomForm*>(lParam));
            return 0;
          case WM_COMMAND:
          case WM_DRAWITEM:
          case WM_MEASUREITEM: {
            TMessage m{msg, wParam, lParam, 0};
            if (Application->DispatchMenuMessage(nullptr, m)) return m.Result;
            return system();
          }
          default:
            return system();
        }
      },
      system);
}

// ---- window classes, controls and menus

WNDPROC TApplication::RegisterControlClass(const TCreateParams& p) {
  if (!window_) Initialize();
  auto found = classProcs_.find(p.className);
  if (found != classProcs_.end()) return found->second;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  WNDPROC def = DefWindowProcW;
  if (!p.nativeClass.empty()) {
    if (!GetClassInfoExW(nullptr, p.nativeClass.c_str(), &wc)) return nullptr;
    def = wc.lpfnWndProc;
  } else {
    wc.style = p.classStyle;
    wc.hCursor = p.cursor;
  }
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = TWinControl::StdWndProc;
  wc.hInstance = instance_;
  wc.lpszClassName = p.className.c_str();
  wc.style &= ~CS_GLOBALCLASS;
  if (!RegisterClassExW(&wc)) return nullptr;
  classProcs_[p.className] = def;
  return def;
}

WNDPROC TApplication::ClassDefaultProc(HWND hwnd) const {
  auto found = classProcs_.find(Wide(WindowClassName(hwnd)));
  return found == classProcs_.end() ? DefWindowProcW : found->second;
}

void TApplication::HandleException() {
  ReportException();
}

void TApplication::ShowError(const String& text) {
  if (OnException) {
    OnException(text);
  } else {
    MessageBox(text, {}, MB_OK | MB_ICONERROR);
  }
}

String TApplication::LastErrorText() const {
  return forms::LastErrorText();
}

int TApplication::ErrorCount() const {
  return forms::ErrorCount();
}

void TApplication::ControlDestroyed(TControl* c) {
  hints_->ControlGone(c);
  if (mouseControl_ == c) mouseControl_ = nullptr;
  if (captureControl_ == c) SetCaptureControl(nullptr);
  if (creating_ == c) creating_ = nullptr;
  if (mainForm_ == c) mainForm_ = nullptr;
  std::erase(releasing_, c);
}

void TApplication::ControlHidden(TControl* c) {
  hints_->ControlGone(c);
}

THintWindow* TApplication::HintWindow() const {
  return hints_->Window();
}

TControl* TApplication::HintControl() const {
  return hints_->Control();
}

void TApplication::CancelHint() {
  hints_->Cancel();
}

void TApplication::MouseMoved(TControl* c) {
  if (c == mouseControl_) return;
  TControl* old = std::exchange(mouseControl_, c);
  hints_->MouseControlChanged(c);
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (!c || mouseControl_ != c) return;
  c->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(c));
  // Ask for WM_MOUSELEAVE on the window the control lies on.
  auto* w = dynamic_cast<TWinControl*>(c);
  HWND hwnd = w ? w->WindowHandle() : (c->Parent() ? c->Parent()->WindowHandle() : nullptr);
  if (hwnd) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
    TrackMouseEvent(&tme);
  }
}

void TApplication::MouseLeftWindow(TWinControl* w) {
  if (!mouseControl_) return;
  // A window also loses the mouse to its child windows: only the control of the window
  // itself, or a windowless one on it, has lost it then.
  bool onWindow = mouseControl_ == w ||
                  (mouseControl_->Parent() == w && !dynamic_cast<TWinControl*>(mouseControl_));
  if (onWindow) MouseMoved(nullptr);
}

void TApplication::SetCaptureControl(TControl* c) {
  captureControl_ = c;
  if (c && c->Parent() && c->Parent()->WindowHandle()) {
    SetCapture(c->Parent()->WindowHandle());
  } else if (!c) {
    ReleaseCapture();
  }
}

UINT_PTR TApplication::AddTimer(TTimer* timer) {
  timers_[++lastTimerId_] = timer;
  return lastTimerId_;
}

void TApplication::RemoveTimer(TTimer* timer) {
  std::erase_if(timers_, [&](const auto& entry) { return entry.second == timer; });
}

TTimer* TApplication::FindTimer(UINT_PTR id) const {
  auto found = timers_.find(id);
  return found == timers_.end() ? nullptr : found->second;
}

void TApplication::AddMenu(TMenu* menu) {
  menus_.push_back(menu);
}

void TApplication::RemoveMenu(TMenu* menu) {
  menus_.erase(std::remove(menus_.begin(), menus_.end(), menu), menus_.end());
}

bool TApplication::DispatchMenuMessage(TWinControl*, TMessage& m) {
  for (TMenu* menu : menus_) {
    if (menu->DispatchMessage(m)) return true;
  }
  return false;
}

}  // namespace lbb::forms
