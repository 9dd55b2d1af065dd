#include "forms/Forms.h"

#include <algorithm>

#include "forms/Application.h"
#include "forms/ImgList.h"
#include "forms/Menus.h"

namespace lbb::forms {

TScreen* const Screen = [] {
  static TScreen screen;
  return &screen;
}();

const TClassInfo& TScreen::StaticClassInfo() {
  static const TClassInfo info(u"TScreen", &TComponent::StaticClassInfo());
  return info;
}

TCustomForm* TScreen::ActiveForm() const {
  return FindForm(GetActiveWindow());
}

TCustomForm* TScreen::FindForm(HWND hwnd) const {
  if (!hwnd) return nullptr;
  for (TCustomForm* f : forms_) {
    if (f->WindowHandle() == hwnd) return f;
  }
  return nullptr;
}

bool TScreen::Contains(const TCustomForm* form) const {
  return std::find(forms_.begin(), forms_.end(), form) != forms_.end();
}

TCustomForm* TScreen::MDIFrame() const {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (main && main->FormStyle() == TFormStyle::fsMDIForm) return main;
  for (TCustomForm* f : forms_) {
    if (f->FormStyle() == TFormStyle::fsMDIForm) return f;
  }
  return nullptr;
}

void TScreen::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

// ---- TCustomForm

const TClassInfo& TCustomForm::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TCustomForm", &TWinControl::StaticClassInfo());
    i.Add(StrProp<TCustomForm>(u"Caption", &TCustomForm::Caption, &TCustomForm::SetCaption));
    i.Add(EnumProp<TCustomForm, TFormBorderStyle>(
        u"BorderStyle",
        {u"bsNone", u"bsSingle", u"bsSizeable", u"bsDialog", u"bsToolWindow", u"bsSizeToolWin"},
        &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle));
    i.Add(BoolProp<TCustomForm>(u"AutoScroll", &TCustomForm::AutoScroll,
                                &TCustomForm::SetAutoScroll));
    i.Add(ObjectProp<TCustomForm, TMainMenu>(u"Menu", u"TMainMenu", &TCustomForm::Menu,
                                             &TCustomForm::SetMenu));
    i.Add(ObjectProp<TCustomForm, TIcon>(u"Icon", u"TIcon", &TCustomForm::Icon, nullptr));
    i.Add(IntProp<TCustomForm>(u"ClientWidth", &TCustomForm::ClientWidth,
                               &TCustomForm::SetClientWidth));
    i.Add(IntProp<TCustomForm>(u"ClientHeight", &TCustomForm::ClientHeight,
                               &TCustomForm::SetClientHeight));
    i.Add(EnumProp<TCustomForm, TFormStyle>(
        u"FormStyle", {u"fsNormal", u"fsMDIChild", u"fsMDIForm", u"fsStayOnTop"},
        &TCustomForm::FormStyle, &TCustomForm::SetFormStyle));
    i.Add(BoolProp<TCustomForm>(u"Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled));
    i.Add(IntProp<TCustomForm>(u"PixelsPerInch", &TCustomForm::PixelsPerInch,
                               &TCustomForm::SetPixelsPerInch));
    i.Add(EnumProp<TCustomForm, TWindowState>(
        u"WindowState", {u"wsNormal", u"wsMinimized", u"wsMaximized"}, &TCustomForm::WindowState,
        &TCustomForm::SetWindowState));
    return i;
  }();
  return info;
}

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info(u"TForm", &TCustomForm::StaticClassInfo());
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), icon_(std::make_unique<TIcon>()) {
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
  Screen->AddForm(this);
  icon_->OnChange = [this] {
    if (WindowHandle()) {
      SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
      SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(icon_->Handle()));
    }
  };
}

TCustomForm::~TCustomForm() {
  BeginDestroy();
  if (OnDestroy) OnDestroy(this);
  // An MDI frame takes its children with it, while its window still holds them.
  FreeMDIChildren();
  Screen->RemoveForm(this);
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  if (menu_) menu_->RemoveFreeNotification(this);
  if (windowMenu_) windowMenu_->RemoveFreeNotification(this);
  // The window goes before the icon and the menu it shows.
  DestroyComponents();
  DestroyHandle();
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style &= ~(WS_CHILD | WS_VISIBLE);
  p.exStyle = 0;
  switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
      p.style |= WS_POPUP;
      break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow:
      p.style |= WS_CAPTION | WS_BORDER;
      break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin:
      p.style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case TFormBorderStyle::bsDialog:
      p.style |= WS_POPUP | WS_CAPTION;
      p.exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (borderStyle_ == TFormBorderStyle::bsToolWindow ||
      borderStyle_ == TFormBorderStyle::bsSizeToolWin) {
    p.exStyle |= WS_EX_TOOLWINDOW;
  }
  bool dialogLike = borderStyle_ == TFormBorderStyle::bsDialog ||
                    borderStyle_ == TFormBorderStyle::bsToolWindow ||
                    borderStyle_ == TFormBorderStyle::bsSizeToolWin;
  if (borderStyle_ != TFormBorderStyle::bsNone && (borderIcons_ & biSystemMenu)) {
    p.style |= WS_SYSMENU;
    if (!dialogLike && (borderIcons_ & biMinimize)) p.style |= WS_MINIMIZEBOX;
    if (!dialogLike && (borderIcons_ & biMaximize)) p.style |= WS_MAXIMIZEBOX;
    if (borderIcons_ & biHelp) p.exStyle |= WS_EX_CONTEXTHELP;
  }
  if (formStyle_ == TFormStyle::fsStayOnTop) p.exStyle |= WS_EX_TOPMOST;
  if (formStyle_ == TFormStyle::fsMDIChild) {
    MDIChildParams(p);
    return;
  }
  if (Parent()) {
    // A form placed on another control is a child window of it, frame and all.
    p.style = (p.style & ~WS_POPUP) | WS_CHILD;
    p.parent = Parent()->WindowHandle();
    return;
  }
  // The main form has the taskbar button; other forms belong to it.
  if (Application && Application->MainForm() == this) {
    p.exStyle |= WS_EX_APPWINDOW;
  } else if (Application && Application->MainForm() && Application->MainForm() != this) {
    TCustomForm* main = Application->MainForm();
    p.parent = measuring_ ? main->WindowHandle() : main->Handle();
  }
  // AutoScroll shows the scroll bars only when they are needed (UpdateScrollRange).
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (menu_) ::SetMenu(WindowHandle(), menu_->Handle());
  if (formStyle_ == TFormStyle::fsMDIForm) CreateMDIClient();
  if (icon_->Handle()) icon_->OnChange();
  ApplyClientSize();
  if (autoScroll_) UpdateScrollRange();
}

void TCustomForm::DestroyWnd() {
  // The window would destroy the menu it shows; the menu object owns it.
  if (WindowHandle() && menu_) ::SetMenu(WindowHandle(), nullptr);
  mdiClient_.reset();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  KeepClientSize();
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  KeepClientSize();
  RecreateWnd();
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = menu;
  if (menu_) menu_->FreeNotification(this);
  KeepClientSize();
  if (WindowHandle()) {
    ::SetMenu(WindowHandle(), menu_ ? menu_->Handle() : nullptr);
    Perform(CM_MENUCHANGED);
  }
}

void TCustomForm::Notification(TComponent* c, TOperation operation) {
  TWinControl::Notification(c, operation);
  if (operation != TOperation::opRemove) return;
  if (c == menu_) {
    if (WindowHandle()) ::SetMenu(WindowHandle(), nullptr);
    menu_ = nullptr;
  }
  if (c == activeControl_) activeControl_ = nullptr;
  if (c == windowMenu_) windowMenu_ = nullptr;
}

// ---- client size

SIZE TCustomForm::FrameExtent() const {
  if (WindowHandle()) return TWinControl::FrameExtent();
  // No window yet: the frame of the window CreateParams would make, with the menu bar.
  TCreateParams p;
  {
    struct Measuring {
      bool& flag;
      ~Measuring() { flag = false; }
    } scope{measuring_ = true};
    const_cast<TCustomForm*>(this)->CreateParams(p);
  }
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, p.style, menu_ != nullptr, p.exStyle);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT TCustomForm::ClientRect() const {
  if (WindowHandle()) return TWinControl::ClientRect();
  SIZE frame = FrameExtent();
  LONG w = clientWidth_ >= 0 ? clientWidth_ : static_cast<LONG>(Width()) - frame.cx;
  LONG h = clientHeight_ >= 0 ? clientHeight_ : static_cast<LONG>(Height()) - frame.cy;
  return RECT{0, 0, std::max<LONG>(w, 0), std::max<LONG>(h, 0)};
}

void TCustomForm::SetClientWidth(int64_t v) {
  if (WindowHandle()) return TWinControl::SetClientWidth(v);
  RememberClientSize(clientWidth_, v);
}

void TCustomForm::SetClientHeight(int64_t v) {
  if (WindowHandle()) return TWinControl::SetClientHeight(v);
  RememberClientSize(clientHeight_, v);
}

void TCustomForm::RememberClientSize(int& slot, int64_t v) {
  slot = static_cast<int>(std::max<int64_t>(v, 0));
  KeepClientSize();
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
  // A width or height set outright wins over a client size asked for earlier.
  if (!keepingClient_ && !WindowHandle()) {
    if (width != Width()) clientWidth_ = -1;
    if (height != Height()) clientHeight_ = -1;
  }
  TWinControl::SetBounds(left, top, width, height);
}

void TCustomForm::KeepClientSize() {
  if (WindowHandle() || (clientWidth_ < 0 && clientHeight_ < 0)) return;
  SIZE frame = FrameExtent();
  int w = clientWidth_ >= 0 ? clientWidth_ + frame.cx : static_cast<int>(Width());
  int h = clientHeight_ >= 0 ? clientHeight_ + frame.cy : static_cast<int>(Height());
  keepingClient_ = true;
  SetBounds(static_cast<int>(Left()), static_cast<int>(Top()), w, h);
  keepingClient_ = false;
}

void TCustomForm::ApplyClientSize() {
  // The window is made: its real frame (a menu bar may take more than one line) decides.
  int w = std::exchange(clientWidth_, -1), h = std::exchange(clientHeight_, -1);
  if (w >= 0 && ClientWidth() != w) TWinControl::SetClientWidth(w);
  if (h >= 0 && ClientHeight() != h) TWinControl::SetClientHeight(h);
}

// ---- resolution

void TCustomForm::SetPixelsPerInch(int64_t v) {
  if (v > 0) pixelsPerInch_ = static_cast<int>(v);
}

void TCustomForm::ScaleToScreen() {
  const int screen = static_cast<int>(Screen->PixelsPerInch());
  if (scaled_ && pixelsPerInch_ != screen) ChangeScale(screen, pixelsPerInch_);
  pixelsPerInch_ = screen;
}

void TCustomForm::ChangeScale(int m, int d) {
  if (m == d) return;
  // The frame is the system's, already at the screen's resolution: the client area scales.
  const int64_t clientWidth = ClientWidth(), clientHeight = ClientHeight();
  const bool wasScaling = std::exchange(scaling_, true);
  SetBounds(MulDiv(static_cast<int>(Left()), m, d), MulDiv(static_cast<int>(Top()), m, d),
            static_cast<int>(Width()), static_cast<int>(Height()));
  SetClientWidth(MulDiv(static_cast<int>(clientWidth), m, d));
  SetClientHeight(MulDiv(static_cast<int>(clientHeight), m, d));
  scaling_ = wasScaling;
  if (!ParentFont() || !Parent()) Font()->ChangeScale(m, d);
  // The form's image lists first: the controls that show them measure them when scaled.
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* images = dynamic_cast<TCustomImageList*>(Components(i))) images->ChangeScale(m, d);
  ScaleControls(m, d);
}

void TCustomForm::OnDpiChanged(TMessage& m) {
  const int dpi = LOWORD(m.WParam);
  if (dpi <= 0) return;
  if (scaled_ && dpi != pixelsPerInch_) ChangeScale(dpi, pixelsPerInch_);
  pixelsPerInch_ = dpi;
  // ChangeScale scaled the position as well; the suggested place keeps the window on the
  // screen it moved to.
  if (const auto* place = reinterpret_cast<const RECT*>(m.LParam))
    SetWindowPos(Handle(), nullptr, place->left, place->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  m.Result = 0;
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  if (c && c->CanFocus() && WindowHandle()) {
    c->SetFocus();
  } else {
    activeControl_ = c;
  }
}

bool TCustomForm::Active() const {
  return WindowHandle() && GetActiveWindow() == WindowHandle();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::CenterOnScreen() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int w = static_cast<int>(Width()), h = static_cast<int>(Height());
  SetBounds(work.left + (work.right - work.left - w) / 2,
            work.top + (work.bottom - work.top - h) / 2, w, h);
}

void TCustomForm::ShowForm() {
  SetVisible(true);
  if (HWND hwnd = WindowHandle()) {
    // A form inside another window (an MDI child, a parented form) brings that one forward.
    HWND top = GetAncestor(hwnd, GA_ROOT);
    SetForegroundWindow(top);
    BringWindowToTop(top);
  }
}

void TCustomForm::VisibleChanged() {
  // Hiding a form that has no window yet makes none (the constructor hides every form).
  if (!Visible() && !WindowHandle()) return;
  // Shown for the first time: the design is complete (see ScaleToScreen); scaled before the
  // window is made (or, when the constructor made it, before it shows) and before it is
  // centred, so that it is made, centred and first painted at its scaled size.
  if (Visible() && !shown_) ScaleToScreen();
  HWND hwnd = Handle();
  if (!hwnd) return;
  if (Visible()) {
    if (!shown_) {
      shown_ = true;
      if (position_ == TPosition::poScreenCenter) CenterOnScreen();
      if (OnShow) OnShow(this);
    }
    ShowWindowState(hwnd);
    if (!activeControl_) {
      auto list = TabList();
      if (!list.empty()) list.front()->SetFocus();
    }
  } else {
    ShowWindow(hwnd, SW_HIDE);
  }
}

namespace {

// EnumThreadWindows callback (stdcall on i686, so not a lambda): collects the visible, enabled
// windows into the vector behind `lp`.
BOOL CALLBACK CollectEnabledWindow(HWND w, LPARAM lp) {
  if (IsWindowVisible(w) && IsWindowEnabled(w)) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  }
  return TRUE;
}

}  // namespace

int TCustomForm::ShowModal() {
  if (modal_ || Visible()) return mrNone;
  HWND active = GetActiveWindow();
  // Every other window of the thread is disabled while the form is up.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow,
                    reinterpret_cast<LPARAM>(&disabled));
  HWND self = Handle();
  for (HWND w : disabled) {
    if (w != self) EnableWindow(w, FALSE);
  }
  modal_ = true;
  modalResult_ = mrNone;
  ShowForm();
  {
    // A WM_QUIT ends the modal loop; the pump posts it again for the loop that owns it.
    TMessagePump pump(Application->MessageDispatch());
    while (modalResult_ == mrNone && WindowHandle() && pump.HandleOne()) {
    }
    for (HWND w : disabled) {
      if (IsWindow(w)) EnableWindow(w, TRUE);
    }
    if (active && IsWindow(active)) SetActiveWindow(active);
    Hide();
    modal_ = false;
  }
  return modalResult_;
}

void TCustomForm::Close() {
  // An MDI child is minimised when it can be, as the frame keeps it.
  const bool main = Application && Application->MainForm() == this;
  TCloseAction action = TCloseAction::caHide;
  if (!modal_ && main) {
    action = TCloseAction::caFree;
  } else if (!modal_ && formStyle_ == TFormStyle::fsMDIChild) {
    action = (borderIcons_ & biMinimize) ? TCloseAction::caMinimize : TCloseAction::caNone;
  }
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    Hide();
    return;
  }
  if (action == TCloseAction::caMinimize) {
    ShowWindow(WindowHandle(), SW_MINIMIZE);
  } else if (action == TCloseAction::caFree) {
    Release();
  } else {
    Hide();
  }
}

void TCustomForm::FocusControlChanged(TWinControl* c) {
  if (c == activeControl_) return;
  TWinControl* old = activeControl_;
  if (old) old->RemoveFreeNotification(this);
  activeControl_ = c;
  if (c) c->FreeNotification(this);
  if (old) old->Perform(CM_EXIT);
  if (c && c == activeControl_) c->Perform(CM_ENTER);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(c));
}

bool TCustomForm::SelectNext(TWinControl* current, bool forward) {
  auto list = TabList();
  if (list.empty()) return false;
  auto it = std::find(list.begin(), list.end(), current);
  size_t index = 0;
  if (it == list.end()) {
    index = forward ? 0 : list.size() - 1;
  } else {
    size_t pos = static_cast<size_t>(it - list.begin());
    index = forward ? (pos + 1) % list.size() : (pos + list.size() - 1) % list.size();
  }
  list[index]->SetFocus();
  return true;
}

}  // namespace lbb::forms
