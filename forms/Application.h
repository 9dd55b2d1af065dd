// The application object: title, main form, message loop, message boxes, hint timing, the
// registry of window classes, and the hand-over of calls from worker threads to the UI
// thread.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "forms/HandOver.h"
#include "forms/MessagePump.h"
#include "forms/Messages.h"
#include "forms/core/Component.h"

namespace lbb::forms {

class TControl;
class TWinControl;
class TCustomForm;
class TMenu;
class TTimer;
class THintWindow;
class TApplicationHints;
struct TCreateParams;

class TApplication : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  TApplication();
  ~TApplication() override;

  // Makes the application's window and registers what the framework needs; call once on
  // the thread that will run the user interface, before any form is made.
  void Initialize();
  bool Initialized() const { return window_.get() != nullptr; }
  HWND Handle() const { return window_.get(); }
  HINSTANCE Instance() const { return instance_; }
  DWORD MainThreadId() const { return mainThread_; }

  String Title() const { return title_; }
  void SetTitle(const String& title);
  TCustomForm* MainForm() const { return mainForm_; }
  // The main form owns the taskbar button (the application's window has none).
  bool MainFormOnTaskBar() const { return true; }
  // Makes a form owned by the application; the first one made becomes the main form.
  template <class F, class... Args>
  F* CreateForm(Args&&... args) {
    F* form = new F(this, std::forward<Args>(args)...);
    if (!mainForm_) mainForm_ = form;
    AfterCreateForm(form);
    return form;
  }
  void SetMainForm(TCustomForm* form) { mainForm_ = form; }

  // Shows the main form and runs the outermost message loop until WM_QUIT (the main form
  // closes, Terminate, or a quit posted anywhere, nested loops included); ExitCode is then
  // the quit's exit code.
  void Run();
  // Handles every pending message, then returns. A WM_QUIT met inside the handling of a
  // message is posted again for the loop that owns it; outside, it ends the application
  // (Terminated). false when a WM_QUIT came.
  bool ProcessMessages();
  // Waits for one message and handles it; WM_QUIT as for ProcessMessages.
  bool HandleMessage();
  // Ends the message loop (posts WM_QUIT with exit code 0).
  void Terminate();
  bool Terminated() const { return terminated_; }
  int ExitCode() const { return exitCode_; }
  // How the application's loops hand a message on: dialog keys, hints, then dispatch. For
  // the modal loops of forms, menus and skins (see TMessagePump).
  TMessageDispatch MessageDispatch();

  // Errors at the window boundary (see forms/WindowGuard.h): called with the error's text
  // instead of the error box, under the same conditions (not during painting, not while
  // an error shows).
  std::function<void(const String& text)> OnException;
  // The last error caught at the window boundary and how many were caught.
  String LastErrorText() const;
  int ErrorCount() const;

  // A message box owned by the thread's active window (else the main form), captioned with
  // `caption` or, when it is empty, the application's title. Returns the button pressed.
  int MessageBox(const String& text, const String& caption = {}, UINT flags = MB_OK);

  int64_t HintPause() const { return hintPause_; }
  void SetHintPause(int64_t ms) { hintPause_ = ms; }
  int64_t HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int64_t ms) { hintHidePause_ = ms; }
  // The pause before the next hint when the mouse moves on from a control whose hint was
  // showing (or had just shown).
  int64_t HintShortPause() const { return hintShortPause_; }
  void SetHintShortPause(int64_t ms) { hintShortPause_ = ms; }
  // Hints: when the mouse rests HintPause ms on a control whose own ShowHint is true (a
  // parent's ShowHint is not inherited) and whose Hint is not empty, the text before the
  // first '|' of the hint shows in the application's hint window just below the cursor; it
  // goes after HintHidePause ms (never when not positive), when the mouse leaves the control,
  // on a mouse button or key press, and when the control is hidden or freed.
  // The hint window: null until the first hint shows; no window while no hint shows.
  THintWindow* HintWindow() const;
  // The control whose hint is waiting, showing or was just shown; null when none.
  TControl* HintControl() const;
  // Hides the hint; the control's hint comes back only after the mouse has left it.
  void CancelHint();

  // Runs `call` on the UI thread and waits until it has run; called on the UI thread it runs
  // at once. Calls from many threads run one after another in the order they arrive. Returns
  // false, without running it, when the UI thread has shut the hand-over down. An exception
  // thrown by `call` is rethrown to the caller.
  bool Synchronize(const std::function<void()>& call);

  // Framework internals.
  ATOM ControlAtom() const { return atom_ ? atom_->get() : 0; }
  WNDPROC RegisterControlClass(const TCreateParams& params);
  WNDPROC ClassDefaultProc(HWND hwnd) const;
  int NextControlId() { return ++lastControlId_; }
  void BeginCreating(TWinControl* c) { creating_ = c; }
  void EndCreating() { creating_ = nullptr; }
  TWinControl* CreatingControl() { return std::exchange(creating_, nullptr); }
  // Records the exception being handled (call in a catch block) and shows it, unless a paint
  // message is being handled or an error shows already.
  void HandleException();
  void ControlDestroyed(TControl* c);
  void ControlHidden(TControl* c);
  void MouseMoved(TControl* c);
  void MouseLeftWindow(TWinControl* w);
  TControl* MouseControl() const { return mouseControl_; }
  TControl* CaptureControl() const { return captureControl_; }
  void SetCaptureControl(TControl* c);
  // Menus register here so that their commands and owner-draw messages find them.
  void AddMenu(TMenu* menu);
  void RemoveMenu(TMenu* menu);
  bool DispatchMenuMessage(TWinControl* receiver, TMessage& m);
  // Timers run through the application's window.
  UINT_PTR AddTimer(TTimer* timer);
  void RemoveTimer(TTimer* timer);
  TTimer* FindTimer(UINT_PTR id) const;
  // Gives `m` its framework meaning before it is dispatched (dialog keys and characters).
  bool IsFrameworkMessage(MSG& m);
  // The MDI keys (Ctrl+F6, Ctrl+Tab, Ctrl+F4, Alt+-) of a key press inside an MDI frame go
  // to its active child; true when `m` was one.
  bool IsMDIMessage(MSG& m);
  // Frees `form` from the application's queue, after the messages waiting now; a form freed
  // by then is left alone.
  void ReleaseForm(TCustomForm* form);

 private:
  static LRESULT CALLBACK AppWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void FreeReleasedForm(TCustomForm* form);
  void AfterCreateForm(TCustomForm* form);
  bool ProcessMessage(MSG& m);
  void ShowError(const String& text);
  void EndLoop(const TMessagePump& pump);

  HINSTANCE instance_ = nullptr;
  DWORD mainThread_ = 0;
  WindowHandle window_;
  std::unique_ptr<GlobalAtom> atom_;
  String title_;
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  int exitCode_ = 0;
  int64_t hintPause_ = 500;
  int64_t hintHidePause_ = 2500;
  int64_t hintShortPause_ = 50;
  std::unique_ptr<TApplicationHints> hints_;
  int lastControlId_ = 0;
  TWinControl* creating_ = nullptr;
  TControl* mouseControl_ = nullptr;
  TControl* captureControl_ = nullptr;
  std::map<std::wstring, WNDPROC> classProcs_;
  std::vector<TMenu*> menus_;
  std::map<UINT_PTR, TTimer*> timers_;
  UINT_PTR lastTimerId_ = 0x4000;
  std::unique_ptr<THandOver> handOver_;  // Synchronize's calls, made on the UI thread
  std::vector<TControl*> releasing_;     // forms released and not yet freed
};

// The one application object of the process.
extern TApplication* const Application;

// The name of the window property (and atom) under which a window keeps its control:
// "ControlOfs" followed by the module handle and the UI thread's id as upper-case
// hexadecimal numbers of at least eight digits.
String ControlAtomName(HINSTANCE instance, DWORD threadId);

}  // namespace lbb::forms
