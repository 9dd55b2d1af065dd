// The skin manager's hooks, its deferred actions on the one-shot timer, popup menus, the MDI
// helpers and the rest of what the skin data asks of it.
#include <algorithm>
#include <optional>
#include <utility>

#include "forms/Application.h"
#include "forms/Menus.h"
#include "forms/WindowGuard.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenu.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/manager/WinSkinDlgImpl.h"

namespace lbb::skin {

namespace {

// A hook's answer that makes the system refuse to create the window.
constexpr LRESULT kRefuseCreation = 10;
constexpr int kSubManagerDelayMs = 300;
constexpr DWORD kSizeGripStyle = 0x10;  // SBS_SIZEGRIP

LRESULT CALLBACK MainHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (!HooksOff() && code >= 0) {
    forms::GuardCallback(
        [&] {
          if (TSkinManage* m = SkinManagerInstance()) m->OnHook(code, wParam, lParam, false);
          return 0;
        },
        [] { return 0; });
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ThreadHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (!HooksOff() && code >= 0) {
    const bool refuse = forms::GuardCallback(
        [&] {
          TSkinManage* m = SkinManagerInstance();
          return m && m->OnHook(code, wParam, lParam, true);
        },
        [] { return false; });
    if (refuse) return kRefuseCreation;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// EnumThreadWindows: the shown top-level windows into the vector at `list`.
BOOL CALLBACK CollectShownTopLevel(HWND h, LPARAM list) {
  if (IsWindowVisible(h) && !(GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
  return TRUE;
}

bool IsVisibleTopLevel(forms::TCustomForm* f) {
  HWND h = f->WindowHandle();
  return h && f->Visible() && (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) == 0;
}

}  // namespace

// ---- hooks

void TSkinManage::InstallHook() {
  std::lock_guard guard(Lock());
  if (impl_->mainHook) return;
  impl_->mainHook.reset(SetWindowsHookExW(WH_CBT, &MainHookProc, nullptr, GetCurrentThreadId()));
}

void TSkinManage::InstallThread(DWORD aThreadID) {
  std::lock_guard guard(Lock());
  if (!Threadlist) return;
  for (const auto& t : *Threadlist)
    if (t->ThreadID == aThreadID) return;
  lbb::HookHandle hook(SetWindowsHookExW(WH_CBT, &ThreadHookProc, nullptr, aThreadID));
  if (!hook) return;
  auto t = std::make_unique<TSkinThread>();
  t->hook = std::move(hook);
  t->ThreadID = aThreadID;
  Threadlist->push_back(std::move(t));
}

void TSkinManage::UnInstallThread(DWORD aThreadID) {
  std::lock_guard guard(Lock());
  if (!Threadlist) return;
  auto it = std::find_if(Threadlist->begin(), Threadlist->end(),
                         [&](const auto& t) { return t->ThreadID == aThreadID; });
  if (it != Threadlist->end()) Threadlist->erase(it);
}

bool TSkinManage::OnHook(int code, WPARAM wParam, LPARAM lParam, bool threadHook) {
  std::lock_guard guard(Lock());
  const auto hwnd = reinterpret_cast<HWND>(wParam);
  switch (code) {
    case HCBT_ACTIVATE:
      if (state == TSkinManagerState::msNotStarted) state = TSkinManagerState::msRunning;
      AddFormHwnd(hwnd);
      return false;
    case HCBT_DESTROYWND:
      DeletePopupMenu(hwnd);
      if (threadHook) DeleteForm(hwnd);
      return false;
    case HCBT_CREATEWND: {
      const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      const std::u16string cls = ClassNameOf(hwnd);
      TWinSkinForm* parent = cls == u"ScrollBar" ? FindForm(cs->hwndParent) : nullptr;
      if (threadHook) {
        if (parent) return true;
        if (cls == u"#32768") AddPopupMenu(hwnd);
        return false;
      }
      if (parent && (cs->style & kSizeGripStyle)) parent->AddControlh(hwnd);
      if (!(cs->style & WS_CHILD) && cls == u"#32768" && !mmgr) AddPopupMenu(hwnd);
      if (cs->dwExStyle & WS_EX_MDICHILD) AddFormHwnd(hwnd);
      return false;
    }
    default:
      return false;
  }
}

// ---- deferred actions

void TSkinManage::SetAction(TSkinAction acode, int Interval) {
  std::lock_guard guard(Lock());
  // There is one waiting action. A skin change must not replace a waiting "skin all" or
  // "unskin all" (switching skinning on and loading a skin at once left every form
  // unskinned): skinning all takes the new skin anyway, and unskinned forms have none to
  // change. "Skin all" after a waiting skin change still changes the skinned forms first.
  const std::optional<TSkinAction> waiting =
      impl_->timer.Running() ? std::optional(action) : std::nullopt;
  const bool bulk = waiting == TSkinAction::saSkinAll || waiting == TSkinAction::saUnskinAll;
  if (acode == TSkinAction::saSkinChanged && bulk) {
    if (waiting == TSkinAction::saSkinAll) impl_->changeBeforeSkinAll = true;
    return;
  }
  if (acode == TSkinAction::saSkinAll)
    impl_->changeBeforeSkinAll = waiting == TSkinAction::saSkinChanged ||
                                 (waiting == TSkinAction::saSkinAll && impl_->changeBeforeSkinAll);
  else
    impl_->changeBeforeSkinAll = false;
  action = acode;
  impl_->interval = Interval;
  if (state == TSkinManagerState::msNotStarted) {
    if (acode == TSkinAction::saSkinAll || acode == TSkinAction::saUnskinAll)
      active = acode == TSkinAction::saSkinAll;
    return;
  }
  if (mode == 0 && sublist) {
    for (TSkinManage* sub : *sublist) {
      sub->updateData_ = updateData_;
      if (acode == TSkinAction::saSkinAll) {
        sub->active = true;
        sub->SetAction(TSkinAction::saSkinAll, kSubManagerDelayMs);
      } else if (acode == TSkinAction::saUnskinAll) {
        sub->active = false;
      }
    }
  }
  impl_->StartTimer();
}

bool TSkinManage::TimerEnabled() const {
  return impl_->timer.Running();
}

int TSkinManage::TimerInterval() const {
  return impl_->interval;
}

void TSkinManage::TimerAction() {
  std::lock_guard guard(Lock());
  impl_->StopTimer();
  if (!updateData_) return;
  const TSkinAction code = action;
  if (code == TSkinAction::saReskinForm) {
    if (updateData_->SkinFormtype() != TSkinFormType::sfOnlyThisForm) ReskinWindow();
    return;
  }
  const bool changeFirst =
      std::exchange(impl_->changeBeforeSkinAll, false) && code == TSkinAction::saSkinAll;
  const bool onlyThisForm = updateData_->SkinFormtype() == TSkinFormType::sfOnlyThisForm;
  const auto run = [&](TSkinAction step) {
    if (!updateData_) return;  // the component went while an earlier step ran
    if (onlyThisForm)
      TimerActionOnlyThisForm(step);
    else
      TimerActionAllForms(step);
  };
  if (changeFirst) run(TSkinAction::saSkinChanged);
  run(code);
  TSkinData* data = updateData_;
  if (!data) return;  // the component went while the action ran
  data->DoSkinChanged();
  updateData_ = nullptr;
}

void TSkinManage::TimerActionOnlyThisForm(TSkinAction code) {
  switch (code) {
    case TSkinAction::saSkinAll: {
      active = true;
      skinchildform = true;
      auto* owner = dynamic_cast<forms::TCustomForm*>(updateData_->Owner());
      for (int i = forms::Screen->FormCount(); i-- > 0;) {
        forms::TCustomForm* f = forms::Screen->Forms(i);
        if (f != owner) continue;
        if (IsVisibleTopLevel(f)) AddFormHwnd(f->WindowHandle());
        break;
      }
      skinchildform = false;
      return;
    }
    case TSkinAction::saUnskinAll: {
      active = false;
      PurgeForms();
      for (size_t i = Flist->size(); i-- > 0;)
        if ((*Flist)[i]->fsd == updateData_ && OnThisThread((*Flist)[i])) {
          UnskinAndFree((*Flist)[i]);
          break;
        }
      return;
    }
    case TSkinAction::saSkinChanged:
      PurgeForms();
      for (TWinSkinForm* sf : *Flist)
        if (sf->fsd == updateData_ && sf->Skinstate != kSkinDestroyed && OnThisThread(sf)) {
          sf->DeleteSysbtn();
          sf->InitSkinData();
          sf->SkinChange();
          break;
        }
      return;
    case TSkinAction::saPurgeForms:
      DeleteForm3();
      return;
    default:
      return;
  }
}

void TSkinManage::TimerActionAllForms(TSkinAction code) {
  switch (code) {
    case TSkinAction::saSkinAll:
      active = true;
      skinchildform = true;
      PurgeForms();
      SkinScreenForms();
      if (skinThreadWindows_) SkinThreadWindows();
      skinchildform = false;
      if (mode == 0 && sublist)
        for (TSkinManage* sub : *sublist) {
          sub->updateData_ = updateData_;
          sub->active = true;
          sub->SetAction(TSkinAction::saSkinAll, kSubManagerDelayMs);
        }
      return;
    case TSkinAction::saUnskinAll:
      active = false;
      PurgeForms();
      for (TWinSkinForm* sf : std::vector<TWinSkinForm*>(*Flist))
        if (OnThisThread(sf)) UnskinAndFree(sf);
      if (mode == 0 && sublist)
        for (TSkinManage* sub : *sublist)
          sub->active = false;
      return;
    case TSkinAction::saSkinChanged: {
      PurgeForms();
      std::vector<TWinSkinForm*> changed;
      for (TWinSkinForm* sf : *Flist)
        if (sf->fsd == updateData_ && sf->Skinstate != kSkinDestroyed && OnThisThread(sf))
          changed.push_back(sf);
      for (TWinSkinForm* sf : changed) {
        sf->DeleteSysbtn();
        sf->InitSkinData();
      }
      for (TWinSkinForm* sf : changed)
        sf->SkinChange();
      return;
    }
    case TSkinAction::saPurgeForms:
      DeleteForm3();
      return;
    default:
      return;
  }
}

void TSkinManage::SkinScreenForms() {
  for (int i = forms::Screen->FormCount(); i-- > 0;) {
    if (i >= forms::Screen->FormCount()) continue;
    forms::TCustomForm* f = forms::Screen->Forms(i);
    if (IsVisibleTopLevel(f)) AddFormHwnd(f->WindowHandle());
  }
}

void TSkinManage::SkinThreadWindows() {
  std::vector<HWND> shown;
  EnumThreadWindows(GetCurrentThreadId(), &CollectShownTopLevel, reinterpret_cast<LPARAM>(&shown));
  // Bottom of the z-order first, as the forms list is walked.
  for (auto it = shown.rbegin(); it != shown.rend(); ++it)
    if (IsWindow(*it)) AddFormHwnd(*it);
}

void TSkinManage::UnskinThread(DWORD threadId) {
  std::lock_guard guard(Lock());
  if (!Flist) return;
  PurgeForms();
  for (TWinSkinForm* sf : std::vector<TWinSkinForm*>(*Flist))
    if (IsWindow(sf->Hwnd) && GetWindowThreadProcessId(sf->Hwnd, nullptr) == threadId &&
        OnThisThread(sf))
      UnskinAndFree(sf);
  UnInstallThread(threadId);
}

// Action 7: the window `lpara` is skinned afresh (its skinner is taken off and freed first).
void TSkinManage::ReskinWindow() {
  if (IsWindow(lpara) && GetWindowThreadProcessId(lpara, nullptr) != GetCurrentThreadId()) return;
  if (TWinSkinForm* sf = FindForm(lpara)) {
    sf->UnSubclass();
    sf->Skinstate = kSkinDestroyed;
    PurgeForms();
  }
  AddFormHwnd(lpara);
}

void TSkinManage::DeleteSysbtn() {
  std::lock_guard guard(Lock());
  if (!Flist || !updateData_) return;
  for (TWinSkinForm* sf : *Flist)
    if (sf->fsd == updateData_ && sf->Skinstate != kSkinDestroyed) sf->DeleteSysbtn();
}

// ---- popup menus

bool TSkinManage::PopupKindAllowed(TSkinData* data) const {
  const TSkinSet kinds = data->SkinControls();
  switch (menutype) {
    case mtPopup:
      return InSet(kinds, xcPopupMenu);
    case mtMenuBar:
      return InSet(kinds, xcMainMenu) || InSet(kinds, xcMenuItem);
    case mtSystem:
      return InSet(kinds, xcSystemMenu);
    default:
      return false;
  }
}

void TSkinManage::AddPopupMenu(HWND hwnd) {
  std::lock_guard guard(Lock());
  if (!active || !Mlist) return;
  if (SendMessageW(hwnd, SKM_ISSKINNED, 0, 0) == 1 || HasPopupMenu(hwnd)) return;
  TSkinData* data = ChooseSkinData(hwnd);
  if (!data || data->Empty || !PopupKindAllowed(data)) return;
  auto p = std::make_unique<TWinSkinPopMenu>();
  if (!p->InitSkin(hwnd, data, 0)) return;
  p->ownerdraw = menuactive;
  Mlist->push_back(std::move(p));
}

void TSkinManage::DeletePopupMenu(HWND hwnd) {
  std::lock_guard guard(Lock());
  if (!Mlist) return;
  auto it =
      std::find_if(Mlist->begin(), Mlist->end(), [&](const auto& p) { return p->hwnd == hwnd; });
  if (it != Mlist->end()) {
    std::unique_ptr<TWinSkinPopMenu> gone = std::move(*it);
    Mlist->erase(it);
    gone->UnSubClass();
  }
  if (Mlist->empty()) {
    menuactive = false;
    menutype = mtPopup;
  }
}

bool TSkinManage::HasPopupMenu(HWND hwnd) const {
  std::lock_guard guard(Lock());
  if (!Mlist) return false;
  return std::any_of(Mlist->begin(), Mlist->end(), [&](const auto& p) { return p->hwnd == hwnd; });
}

void TSkinManage::SetPopMenu() {
  std::lock_guard guard(Lock());
  if (!Mlist) return;
  for (const auto& p : *Mlist)
    p->ownerdraw = true;
}

// The menu goes to the popup window that shows it when the window says so (MN_GETHMENU),
// else to the newest popup skinner without a menu whose window does not name another one. A menu
// that a skinner holds already is not handed out again (every item of a menu asks), and no menu is
// no menu.
void TSkinManage::SetHMenu(HMENU amenu) {
  std::lock_guard guard(Lock());
  if (!Mlist || !amenu) return;
  TWinSkinPopMenu* newest = nullptr;
  for (auto it = Mlist->rbegin(); it != Mlist->rend(); ++it) {
    TWinSkinPopMenu* p = it->get();
    if (p->hmenu == amenu) return;
    if (p->hmenu) continue;
    const auto shown = reinterpret_cast<HMENU>(SendMessageW(p->hwnd, MN_GETHMENU, 0, 0));
    if (shown == amenu) {
      p->hmenu = amenu;
      return;
    }
    if (!shown && !newest) newest = p;
  }
  if (newest) newest->hmenu = amenu;
}

forms::TBitmap* TSkinManage::GetMenuBg(HMENU amenu) const {
  TWinSkinPopMenu* p = FindPopMenu(amenu);
  return p ? &p->MenuBg : nullptr;
}

TWinSkinPopMenu* TSkinManage::FindPopMenu(HMENU amenu) const {
  std::lock_guard guard(Lock());
  if (!Mlist || !amenu) return nullptr;
  for (const auto& p : *Mlist)
    if (p->hmenu == amenu) return p.get();
  return nullptr;
}

void TSkinManage::FindPopupMenu(HMENU amenu) {
  std::lock_guard guard(Lock());
  for (int i = 0; i < forms::Screen->FormCount(); ++i) {
    forms::TCustomForm* f = forms::Screen->Forms(i);
    for (int c = 0; c < f->ComponentCount(); ++c)
      if (auto* pm = dynamic_cast<forms::TPopupMenu*>(f->Components(c));
          pm && pm->Handle() == amenu) {
        menuactive = true;
        return;
      }
  }
}

}  // namespace lbb::skin
