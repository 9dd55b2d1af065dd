// Forms (top-level windows with a border style, icons, menu, modal and modeless showing and
// focus handling inside them) and the screen's list of forms.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/Bitmap.h"
#include "forms/Controls.h"

namespace lbb::forms {

class TMainMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = uint8_t;
enum class TPosition { poDesigned, poScreenCenter };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

constexpr int mrNone = 0;
constexpr int mrOk = IDOK;
constexpr int mrCancel = IDCANCEL;

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

  // Focus moved to `c` inside this form: CM_EXIT to the control that had it, CM_ENTER to
  // `c`, then CM_FOCUSCHANGED to every control of the form.
  void FocusControlChanged(TWinControl* c);
  // Moves the focus to the next (or previous) control in tab order; true when it moved.
  bool SelectNext(TWinControl* current, bool forward);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
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
  int ScrollLimit(int bar) const;

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

  void AddForm(TCustomForm* form) { forms_.push_back(form); }
  void RemoveForm(TCustomForm* form);

 private:
  std::vector<TCustomForm*> forms_;
};

// The one screen object of the process.
extern TScreen* const Screen;

}  // namespace lbb::forms
