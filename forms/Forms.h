// Forms (top-level windows with a border style, icons, menu, modal and modeless showing and
// focus handling inside them) and the screen's list of forms.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/Bitmap.h"
#include "forms/Controls.h"

namespace lbb::forms {

class TMainMenu;
class TMenuItem;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = uint8_t;
enum class TPosition { poDesigned, poScreenCenter };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
// fsMDIForm: an MDI frame (its client area is an "MDIClient" window that holds the MDI
// children); fsMDIChild: a window inside the MDI frame's client; fsStayOnTop: a topmost window.
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// Modal results: what ShowModal returns (the platform's dialog answers where it has one).
constexpr int mrNone = 0;
constexpr int mrOk = IDOK;
constexpr int mrCancel = IDCANCEL;
constexpr int mrAbort = IDABORT;
constexpr int mrRetry = IDRETRY;
constexpr int mrIgnore = IDIGNORE;
constexpr int mrYes = IDYES;
constexpr int mrNo = IDNO;
constexpr int mrAll = mrNo + 1;
constexpr int mrNoToAll = mrAll + 1;
constexpr int mrYesToAll = mrNoToAll + 1;

// The command id of the first MDI child in the frame's Window menu (the platform numbers the
// children from it); menu items are numbered far below it.
constexpr UINT kFirstMDIChildId = 0xFF00;

class TCustomForm : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TIcon* Icon() const { return icon_.get(); }
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // AutoScroll: scroll bars come up when a child control lies beyond the client area, and
  // scrolling moves the children (their Left and Top change while the form is scrolled, as
  // they do in the window). Turning it off scrolls back to the start and hides the bars.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v);
  // How far the content is scrolled, in pixels.
  POINT ScrollPos() const { return scrollPos_; }
  // Scrolls the content to the position, kept within the scroll ranges.
  void ScrollTo(int x, int y);
  // Before the window exists the client size asked for is remembered (and read back): the
  // bounds follow it through changes of border style, border icons and menu, and the window
  // gets exactly that client size when it is made.
  void SetClientWidth(int64_t v) override;
  void SetClientHeight(int64_t v) override;
  RECT ClientRect() const override;
  void SetBounds(int left, int top, int width, int height) override;
  // The form's kind; changing it remakes the window. An MDI child is made in the MDI frame
  // (the main form when it is one, else the first MDI frame of the screen's list).
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle style);
  // Normal, minimised or maximised: read from the window when it exists.
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);

  // MDI frames. The Window menu lists the children (give it before the window is made, or
  // it takes effect with the next menu change).
  TMenuItem* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TMenuItem* item);
  // The "MDIClient" window of an MDI frame; null for other forms.
  HWND ClientHandle() const { return mdiClient_.get(); }
  // The MDI children whose windows are in the client, topmost (the active one) first.
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int index) const;
  TCustomForm* ActiveMDIChild() const;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  // Activates the next (previous) MDI child.
  void Next();
  void Previous();

  // Resolution. A form is designed in pixels at PixelsPerInch (96 unless the design says
  // otherwise); a Scaled form (the default) is scaled once from there to the screen's
  // resolution: positions, sizes, client size and fonts of the form and every control on
  // it, by Screen->PixelsPerInch / PixelsPerInch, each rounded as MulDiv rounds. Afterwards
  // PixelsPerInch is the screen's. A form whose design is in the screen's pixels already (a
  // message dialog measured from the system's font) sets PixelsPerInch to the screen's; a
  // form that must keep its pixels sets Scaled to false.
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  int64_t PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int64_t v);
  // Takes the form from its design resolution to the screen's (nothing when they are the
  // same, or when the form is not Scaled); a second call finds the form at the screen's
  // resolution and does nothing. The form calls it when it is first shown: forms here are
  // built in code, a constructor may make the window early (HandleNeeded) and go on placing
  // controls and sizing the client area after it, so the design is complete only when the
  // form is shown, and scaling then, before the window first shows, moves nothing on screen.
  void ScaleToScreen();
  void ChangeScale(int m, int d) override;
  // A window moved to a screen of another resolution (WM_DPICHANGED, sent to a program that
  // is aware of each screen's resolution) scales from the form's resolution to that one and
  // takes the place the platform suggests.

  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* c);
  bool Active() const;

  // Events, each with the form as sender.
  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnDestroy;
  std::function<void(TObject*, TCloseAction&)> OnClose;
  // May refuse a new size by setting `resize` to false (and may change the size asked for).
  std::function<void(TObject*, int& newWidth, int& newHeight, bool& resize)> OnCanResize;

  // Shows the form (making its window) and brings it to the front.
  void ShowForm();
  // Shows the form modally: the other windows of the thread are disabled until ModalResult
  // is set or the form is closed. Returns ModalResult.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // Asks the form to close: OnClose decides; the main form ends the application.
  void Close();
  // Runs OnCreate (Application.CreateForm calls it once the form is made).
  void DoCreate();
  // Frees the form once the messages already waiting for it are handled: posts CM_RELEASE
  // to its window (a skinner sees it go), whose handling hands the form to the application
  // to free. Without a window the application frees it at once from its queue.
  void Release();

  // Focus moved to `c` inside this form: CM_EXIT to the control that had it, CM_ENTER to
  // `c`, then CM_FOCUSCHANGED to every control of the form.
  void FocusControlChanged(TWinControl* c);
  // Moves the focus to the next (or previous) control in tab order; true when it moved.
  bool SelectNext(TWinControl* current, bool forward);
  void WndProc(TMessage& message) override;
  // MDI frames hand what they leave to DefFrameProc, MDI children to DefMDIChildProc.
  void DefaultHandler(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  HWND CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWindowHandle() override;
  void VisibleChanged() override;
  void Notification(TComponent* c, TOperation operation) override;
  SIZE FrameExtent() const override;
  void ControlBoundsChanged(TControl* c) override;

 private:
  void OnDialogKey(TMessage& m);
  void OnWindowPosChanging(TMessage& m);
  void HandleClose(TMessage& m);
  void OnActivate(TMessage& m);
  void OnSysCommand(TMessage& m);
  void CenterOnScreen();
  void RememberClientSize(int& slot, int64_t v);
  void KeepClientSize();
  void ApplyClientSize();
  void UpdateScrollRange();
  SIZE ContentExtent() const;
  void MoveContent(int dx, int dy);
  void HideScrollBars();
  void OnScroll(TMessage& m, int bar);
  void OnMouseWheel(TMessage& m);
  void OnSize(TMessage& m);
  void OnDpiChanged(TMessage& m);
  int ScrollLimit(int bar) const;
  void MDIChildParams(TCreateParams& p);
  void CreateMDIClient();
  void PlaceMDIClient();
  void FreeMDIChildren();
  void UpdateMDIMenu();
  void ShowWindowState(HWND hwnd);
  std::vector<TCustomForm*> MDIChildList() const;

  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = TPosition::poDesigned;
  std::unique_ptr<TIcon> icon_;
  TMainMenu* menu_ = nullptr;
  bool autoScroll_ = false;
  POINT scrollPos_{0, 0};
  bool updatingScroll_ = false;
  // The client size asked for before the window exists; -1: none.
  int clientWidth_ = -1;
  int clientHeight_ = -1;
  bool keepingClient_ = false;
  // CreateParams only measures the frame: it makes no window (not even the main form's).
  mutable bool measuring_ = false;
  TWinControl* activeControl_ = nullptr;
  bool modal_ = false;
  int modalResult_ = mrNone;
  bool shown_ = false;
  bool scaled_ = true;
  int pixelsPerInch_ = USER_DEFAULT_SCREEN_DPI;
  // ChangeScale is sizing the window: the size is the design's, not one to ask OnCanResize.
  bool scaling_ = false;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  TWindowState windowState_ = TWindowState::wsNormal;
  TMenuItem* windowMenu_ = nullptr;
  ::lbb::WindowHandle mdiClient_;
};

class TForm : public TCustomForm {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TScreen : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  TScreen() : TComponent(nullptr) {}
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  // The form whose window is the active window; null when another program's is.
  TCustomForm* ActiveForm() const;
  // The form whose window is `hwnd`; null when none.
  TCustomForm* FindForm(HWND hwnd) const;
  int64_t Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int64_t Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  // The screen's resolution: LOGPIXELSY of the screen's device context.
  int64_t PixelsPerInch() const { return ScreenPixelsPerInch(); }

  // The MDI frame that MDI children are made in: the main form when it is one, else the
  // first MDI frame in the list; null when there is none.
  TCustomForm* MDIFrame() const;
  bool Contains(const TCustomForm* form) const;

  void AddForm(TCustomForm* form) { forms_.push_back(form); }
  void RemoveForm(TCustomForm* form);

 private:
  std::vector<TCustomForm*> forms_;
};

// The one screen object of the process.
extern TScreen* const Screen;

}  // namespace lbb::forms
