// The skin manager's MDI helpers and the requests of the skin data that go to one form
// skinner (controls, menus, nested forms).
#include "forms/Application.h"
#include "forms/WindowGuard.h"
#include "skin/controls/WinSubClass.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"

namespace lbb::skin {

namespace {

bool IsMDIChild(const TWinSkinForm* sf) {
  return sf->FormStyle == TSkinFormStyle::sfsMDIChild && sf->Skinstate != kSkinDestroyed;
}

// The MDI children show (b true) or drop their own frame as the children are maximised or not.
void ApplyMDIMax(std::vector<TWinSkinForm*>& list, bool b) {
  for (TWinSkinForm* sf : list) {
    if (!IsMDIChild(sf)) continue;
    if (b) {
      if (sf->Cropped()) sf->Uncropwindow();
      sf->EnableSysbtn(true);
    } else if (sf->Windowstate == TSkinWindowState::swsMin) {
      sf->EnableSysbtn(true);
    } else {
      sf->Windowstate = TSkinWindowState::swsNormal;
      sf->Cropwindow();
      sf->EnableSysbtn(false);
      if (!sf->Cropped()) sf->Refresh();
    }
  }
}

}  // namespace

void TSkinManage::SetMDIMax(bool b) {
  std::lock_guard guard(Lock());
  if (b == MDIMax) return;
  MDIMax = b;
  if (mainData_ && InSet(mainData_->Options(), xoMDIChildBorder)) return;
  if (Flist) ApplyMDIMax(*Flist, b);
}

void TSkinManage::MenuOpening(TMenuType type, bool tracking) {
  menutype = type;
  if (tracking) menuactive = true;
}

void TSkinManage::SetMDIFrame(HWND client, forms::TCustomForm* form) {
  clienthwnd = client;
  MDIForm = form;
}

void TSkinManage::SetMDIMax2(bool b) {
  std::lock_guard guard(Lock());
  MDIMax = b;
  if (Flist) ApplyMDIMax(*Flist, b);
  // The frame's menu bar shows the maximised child's caption buttons: redraw the frame.
  if (clienthwnd && IsWindow(clienthwnd))
    PostMessageW(clienthwnd, SKM_MDIREDRAW, reinterpret_cast<WPARAM>(clienthwnd), 0);
}

void TSkinManage::SetCaption(bool) {
  std::lock_guard guard(Lock());
  if (!Flist) return;
  for (TWinSkinForm* sf : *Flist)
    if (IsMDIChild(sf))
      SetWindowLongW(sf->Hwnd, GWL_STYLE, GetWindowLongW(sf->Hwnd, GWL_STYLE) | WS_CAPTION);
}

int TSkinManage::GetMDIChildNum() const {
  std::lock_guard guard(Lock());
  if (!Flist) return 0;
  int n = 0;
  for (TWinSkinForm* sf : *Flist)
    if (IsMDIChild(sf)) ++n;
  return n;
}

void TSkinManage::AddChildForm(HWND window) {
  std::lock_guard guard(Lock());
  const bool was = skinchildform;
  skinchildform = true;
  AddFormHwnd(window);
  skinchildform = was;
}

namespace {

// The form skinner of `parent`'s window, else of its top-level window.
TWinSkinForm* SkinnerOf(const TSkinManage& m, forms::TWinControl* parent) {
  if (!parent || !parent->WindowHandle()) return nullptr;
  if (TWinSkinForm* sf = m.FindForm(parent->WindowHandle())) return sf;
  return m.FindForm(GetAncestor(parent->WindowHandle(), GA_ROOT));
}

}  // namespace

void TSkinManage::UpdateSkinControl(forms::TWinControl* parent, forms::TControl* control) {
  std::lock_guard guard(Lock());
  TWinSkinForm* sf = SkinnerOf(*this, parent);
  if (!sf) return;
  if (control)
    sf->AddComp(control);
  else
    sf->InitControls(parent);
}

void TSkinManage::DeleteGraphicControl(forms::TWinControl* parent, forms::TControl* control) {
  std::lock_guard guard(Lock());
  TWinSkinForm* sf = SkinnerOf(*this, parent);
  if (sf) sf->DeleteGraphicControl(control);
}

void TSkinManage::UpdateMenu(forms::TWinControl* parent) {
  std::lock_guard guard(Lock());
  if (TWinSkinForm* sf = SkinnerOf(*this, parent)) sf->InitPopMenu(parent, true, true);
}

void TSkinManage::RefreshMenuBars() {
  std::lock_guard guard(Lock());
  if (!Flist) return;
  // Each form skinner's painted menu bar rebuilds its buttons from its window's menu.
  for (TWinSkinForm* sf : std::vector<TWinSkinForm*>(*Flist))
    if (sf->Skinstate != kSkinDestroyed && sf->menu) sf->UpdateMainMenu();
}

void TSkinManage::AddNestForm(forms::TWinControl* parent, forms::TWinControl* nested) {
  std::lock_guard guard(Lock());
  TWinSkinForm* sf = SkinnerOf(*this, parent);
  if (!sf || !nested) return;
  auto* spy = new TWinSkinSpy(nested);
  spy->sf = sf;
  sf->InitNestform(nested);
}

}  // namespace lbb::skin
