// The form skinner: creation and freeing, the two set-ups, giving the window back, and the
// list of control skinners. Set-up details are in WinSkinFormSetup.cpp, the message dispatch
// in WinSkinFormDispatch.cpp.
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenuBar.h"

#include <utility>

#include "forms/Application.h"
#include "forms/WinText.h"
#include "forms/WindowGuard.h"
#include "forms/core/Properties.h"
#include "skin/controls/WinSkinFactory.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/FrameGeometry.h"
#include "skin/forms/FormManager.h"
#include "skin/forms/WinSkinFormImpl.h"
#include "skin/win/WinSkinSystem.h"

namespace lbb::skin {

TWinSkinForm::TImpl::TImpl(TWinSkinForm& owner)
    : formHook([&owner, this](forms::TMessage& m) {
        // The form's method may free the skinner (and this state) while the message runs.
        const std::shared_ptr<bool> living = alive;
        bool done = false;
        bool* outer = std::exchange(passed, &done);
        try {
          owner.FormWindowProc(m);
        } catch (...) {
          forms::ReportException(m.Msg);
          if (*living && !done) formHook.CallPrevious(m);
        }
        if (*living) passed = outer;
      }) {}

TWinSkinForm::TWinSkinForm(forms::TComponent* AOwner)
    : forms::TComponent(AOwner), impl(std::make_unique<TImpl>(*this)) {
  DoubleTime = static_cast<int>(GetDoubleClickTime());
  CaptionFont = std::make_unique<forms::TFont>();
  ReadCaptionFont(forms::ScreenPixelsPerInch());
  fCanvas = std::make_unique<forms::TCanvas>();
  fcanvas2 = std::make_unique<forms::TCanvas>();
  IconBmp = std::make_unique<forms::TBitmap>();
  CaptionBuf = std::make_unique<TDibSurface>();
}

void TWinSkinForm::ReadCaptionFont(int dpi) {
  lbb::FontHandle font = NonClientFont(&NONCLIENTMETRICSW::lfCaptionFont, dpi);
  if (font) CaptionFont->AssignHandle(font.get());
}

TWinSkinForm::~TWinSkinForm() {
  BeginDestroy();
  *impl->alive = false;
  FreeControls();
  FreeMenuBar();
  DeleteSysbtn();
  CaptionBuf.reset();
  timer.Stop();
  sysmenu.reset();
  impl.reset();  // the window and the form get their procedure and method back
  if (TFormManagerSeam* m = FormManager()) m->FormGone(this);
}

bool TWinSkinForm::Subclassed() const {
  return impl->window.Installed();
}

void TWinSkinForm::InitTform(TSkinData* afsd, forms::TCustomForm* aform) {
  FForm = aform;
  if (afsd->OnBeforeSkinForm) afsd->OnBeforeSkinForm(aform, Hwnd, formclass);
  if (InSet(afsd->SkinControls(), xcMenuItem)) forms::SetPropText(aform, u"AutoScroll", u"False");
  InitForm(afsd);
  if (sMainMenu) impl->formHook.Install(*aform);
  formcolor = static_cast<TColor>(aform->Color());
  impl->colorSaved = true;
  aform->SetColor(fsd->Colors[kShemeButtonFace]);
  if (InSet(fsd->SkinControls(), xcMenuItem)) InitMainMenu(aform, true);
}

void TWinSkinForm::InitDlg(TSkinData* afsd) {
  ClipControls();
  InitForm(afsd);
}

// A window without a form object (a dialog) rarely clips its controls; the skinned frame and
// background would then be painted over them, so they are clipped while it is skinned. A
// group box only frames the controls in it and leaves its inside to the window: it is made
// transparent meanwhile, so that clipping leaves that inside painted by the window.
void TWinSkinForm::ClipControls() {
  const auto style = static_cast<DWORD>(GetWindowLongW(Hwnd, GWL_STYLE));
  if ((style & WS_CHILD) || (style & WS_CLIPCHILDREN)) return;
  SetWindowLongW(Hwnd, GWL_STYLE, static_cast<LONG>(style | WS_CLIPCHILDREN));
  impl->clipAdded = true;
  for (HWND h = GetWindow(Hwnd, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    const auto ex = static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE));
    const bool group = forms::WindowClassName(h) == u"Button" &&
                       (GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    if (!group || (ex & WS_EX_TRANSPARENT)) continue;
    SetWindowLongW(h, GWL_EXSTYLE, static_cast<LONG>(ex | WS_EX_TRANSPARENT));
    impl->seeThrough.push_back(h);
  }
}

void TWinSkinForm::TakeClipBack() {
  for (HWND h : std::exchange(impl->seeThrough, {}))
    if (IsWindow(h))
      SetWindowLongW(h, GWL_EXSTYLE,
                     static_cast<LONG>(GetWindowLongW(h, GWL_EXSTYLE) & ~WS_EX_TRANSPARENT));
  if (!impl->clipAdded || !IsWindow(Hwnd)) return;
  impl->clipAdded = false;
  const auto style = static_cast<DWORD>(GetWindowLongW(Hwnd, GWL_STYLE));
  SetWindowLongW(Hwnd, GWL_STYLE, static_cast<LONG>(style & ~WS_CLIPCHILDREN));
}

// ---- giving the window back

bool TWinSkinForm::TakeProceduresBack() {
  EndHold();  // unskinned before its deferred initialisation: shown as it is
  if (!sMainMenu) {
    UnSubclass2();
    return false;
  }
  sysmenu.reset();
  timer.Stop();
  if (!Subclassed()) return false;
  impl->formHook.Restore();
  impl->window.Restore();
  FreeControls();
  return true;
}

void TWinSkinForm::UnSubclass() {
  TakeClipBack();
  if (!TakeProceduresBack()) return;
  UndoFormLooks();
  SetSysMenuStyle(false);
  GiveMenuBack();
  impl->mdiClient.Restore();
  if (Skinstate != kSkinRemoving) RestoreNativeSize();
  Uncropwindow();
}

void TWinSkinForm::UnSubclass3() {
  if (!TakeProceduresBack()) return;
  // The window is going. A framework form's menu is its main menu's, which frees it; a plain
  // window's menu would have gone with the window, so it goes now instead of leaking.
  FreeMenuBar();
  if (impl->menuTaken && !FForm && hmenu) DestroyMenu(hmenu);
  impl->menuTaken = false;
  hmenu = nullptr;
}

void TWinSkinForm::UnSubclass2() {
  timer.Stop();
  FreeControls();
  UndoFormLooks();
  impl->window.Restore();
  impl->mdiClient.Restore();
  if (!FForm || Skinstate == kSkinRemoving) return;
  for (int i = 0; i < FForm->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<forms::TControl*>(FForm->Components(i))) c->Invalidate();
}

// The framework form's owner-drawn menus off and its own colour back.
void TWinSkinForm::UndoFormLooks() {
  if (!FForm || FForm->Destroying()) return;
  // Switching off takes away only what switching on set, so it runs whatever the skin's
  // settings are now (they may have changed since the menus were switched on).
  InitPopMenu(FForm, false, false);
  InitMainMenu(FForm, false);
  if (Skinstate != kSkinRemoving && impl->colorSaved) FForm->SetColor(formcolor);
  impl->colorSaved = false;
}

// The native frame back: the skin border widths are replaced by the native frame remembered
// before the window was fitted to the skin frame.
void TWinSkinForm::RestoreNativeSize() {
  if (!impl->fitted || !IsWindow(Hwnd)) return;
  const bool mdichild = FormStyle == TSkinFormStyle::sfsMDIChild;
  if (!mdichild && (GetWindowLongW(Hwnd, GWL_STYLE) & WS_CHILD)) return;
  RECT r{};
  GetWindowRect(Hwnd, &r);
  POINT pos{r.left, r.top};
  if (mdichild) ScreenToClient(GetParent(Hwnd), &pos);
  const TFrameSize size =
      UnskinnedWindowSize(r.right - r.left, r.bottom - r.top, oldsize.right, oldsize.bottom,
                          TFrameWidths{bw.left, bw.top, bw.right, bw.bottom});
  {
    const TFrameFit fit(FForm);
    SetWindowPos(Hwnd, nullptr, pos.x, pos.y, size.Width, size.Height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  impl->fitted = false;
}

// The painted menu bar takes the native menu (kept in `hmenu`, given back when the window is
// unskinned) and shows its items in the band of MenuHeight pixels under the caption.
void TWinSkinForm::TakeMenuBar() {
  impl->menuTaken = true;
  MenuHeight = GetSystemMetrics(SM_CYMENU);
  MakeMenuBar();
  // The bar's rebuild took the menu already; a second SetMenu would change the frame again.
  if (GetMenu(Hwnd)) SetMenu(Hwnd, nullptr);
}

void TWinSkinForm::GiveMenuBack() {
  if (!impl->menuTaken) return;
  impl->menuTaken = false;
  if (IsWindow(Hwnd) && hmenu && IsMenu(hmenu)) SetMenu(Hwnd, hmenu);
  FreeMenuBar();
  MenuHeight = 0;
}

// ---- control skinners

void TWinSkinForm::FreeControls() {
  while (!Controllist.empty()) {
    TSkinControl* c = Controllist.front().get();
    if (Skinstate != kSkinRemoving && c->skinstate != kControlDestroyed) c->Unsubclass();
    FreeControlAt(0);
  }
}

void TWinSkinForm::FreeDeadControls() {
  for (size_t i = Controllist.size(); i-- > 0;)
    if (i < Controllist.size() && Controllist[i]->skinstate == kControlDestroyed) FreeControlAt(i);
}

// Takes skinner `i` out of the list and frees it (it no longer reports back to this host).
void TWinSkinForm::FreeControlAt(size_t i) {
  std::unique_ptr<TSkinControl> c = std::move(Controllist[i]);
  Controllist.erase(Controllist.begin() + static_cast<ptrdiff_t>(i));
  c->DetachFromHost();
}

bool TWinSkinForm::AddControlList(TSkinControl* acontrol) {
  for (const auto& c : Controllist)
    if (c.get() == acontrol) return true;
  Controllist.emplace_back(acontrol);
  return false;
}

// The skinner is being freed by its control (or by FreeControlAt's caller): the list lets go
// of it without freeing it again.
void TWinSkinForm::DeleteControl(TSkinControl* acontrol) {
  for (size_t i = Controllist.size(); i-- > 0;)
    if (Controllist[i].get() == acontrol) {
      (void)Controllist[i].release();
      Controllist.erase(Controllist.begin() + static_cast<ptrdiff_t>(i));
      return;
    }
}

std::vector<TSkinControl*> TWinSkinForm::Controls() const {
  std::vector<TSkinControl*> out;
  out.reserve(Controllist.size());
  for (const auto& c : Controllist)
    out.push_back(c.get());
  return out;
}

void TWinSkinForm::DeleteGraphicControl(forms::TControl* control) {
  for (size_t i = Controllist.size(); i-- > 0;)
    if (control && Controllist[i]->GControl == control) {
      FreeControlAt(i);
      return;
    }
}

void TWinSkinForm::InitControls(forms::TWinControl* wForm) {
  if (!wForm) return;
  FreeDeadControls();
  for (int i = 0; i < wForm->ComponentCount(); ++i)
    AddComp(wForm->Components(i), wForm);
  if (fsd && InSet(fsd->SkinControls(), xcPopupMenu)) InitPopMenu(wForm, true, false);
  AddWindowedControls(wForm);
}

// The windowed controls inside `parent`, in tab order, that have a window, do not carry the
// skin data's DisableTag and are not skinned already.
void TWinSkinForm::AddWindowedControls(forms::TWinControl* parent) {
  const int disable = fsd ? fsd->DisableTag() : 99;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* w = dynamic_cast<forms::TWinControl*>(parent->Controls(i));
    if (!w || !w->HandleAllocated()) continue;
    if (w->Tag() != disable && SendMessageW(w->WindowHandle(), SKM_ISSKINNED, 0, 0) != 1)
      AddComp(w, parent);
    AddWindowedControls(w);
  }
}

void TWinSkinForm::InitNestform(forms::TWinControl* wForm) {
  if (!wForm) return;
  FreeDeadControls();
  // The nested form's surface gets its box skinner, as a form nested through the mapping does.
  if (!IsControlSkinned(wForm)) Attach(TSkinnerKind::Box, wForm, true);
  for (int i = 0; i < wForm->ComponentCount(); ++i)
    AddComp(wForm->Components(i));
  InitPopMenu(wForm, true, false);
}

// ---- small window operations

void TWinSkinForm::Refresh() {
  SetWindowPos(Hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::RePaint(HWND ahwnd) {
  if (!ahwnd || !IsWindow(ahwnd)) return;
  InvalidateRect(ahwnd, nullptr, TRUE);
  UpdateWindow(ahwnd);
}

}  // namespace lbb::skin
