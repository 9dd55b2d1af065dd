// The skin manager: creation and shutdown, the lists, and which windows get a form skinner
// with which skin data. Hooks, the action timer, popup menus and the MDI helpers are in
// WinSkinDlgActions.cpp.
#include "skin/manager/WinSkinDlg.h"

#include <algorithm>
#include <atomic>

#include "base/Text.h"
#include "forms/Application.h"
#include "forms/WinText.h"
#include "forms/WindowGuard.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenu.h"
#include "skin/manager/WinSkinDlgImpl.h"

namespace lbb::skin {

namespace {

// The manager of the process, made by EnsureSkinManager and freed by DestroySkinManager. A raw
// pointer on purpose: it stays reachable while the manager shuts down (the form skinners it
// frees report back to it), which a unique_ptr's reset would not allow.
TSkinManage* gManager = nullptr;
std::atomic<bool> gHooksOff{false};

// A form whose Tag is this is never skinned, whatever the skin data's DisableTag.
constexpr int64_t kNeverSkinTag = 99;

bool Contains(std::u16string_view s, std::u16string_view part) {
  return s.find(part) != std::u16string_view::npos;
}

}  // namespace

std::u16string ClassNameOf(HWND hwnd) {
  wchar_t buf[kClassNameChars + 1] = {};
  const int n = hwnd ? GetClassNameW(hwnd, buf, kClassNameChars + 1) : 0;
  return FromWide(buf, static_cast<size_t>(std::max(n, 0)));
}

bool OnThisThread(const TWinSkinForm* sf) {
  return !IsWindow(sf->Hwnd) || GetWindowThreadProcessId(sf->Hwnd, nullptr) == GetCurrentThreadId();
}

void SetHooksOff(bool off) {
  gHooksOff = off;
}

bool HooksOff() {
  return gHooksOff;
}

TSkinManage* SkinManagerInstance() {
  return gManager;
}

TSkinManage& EnsureSkinManager() {
  if (!gManager) {
    SetHooksOff(false);
    gManager = new TSkinManage(0);
    SetSkinManager(gManager);
    SetFormManager(gManager);
  }
  return *gManager;
}

void UseSkinManager() {
  SetSkinManagerFactory([]() -> TSkinManagerSeam& { return EnsureSkinManager(); });
}

void DestroySkinManager() {
  if (!gManager) return;
  SetSkinManager(nullptr);
  delete gManager;
  gManager = nullptr;
  // Only now: the form skinners the manager frees on its way out leave its list.
  SetFormManager(nullptr);
}

TSkinManage::TSkinManage(intptr_t amode) : impl_(std::make_unique<TImpl>(*this)) {
  if (amode == 0) {
    Flist = &impl_->flist;
    Mlist = &impl_->mlist;
    Dlist = &impl_->dlist;
    Threadlist = &impl_->threads;
    sublist = &impl_->subs;
    mode = 0;
  } else {
    mode = reinterpret_cast<intptr_t>(EngineModule());
  }
}

TSkinManage::~TSkinManage() {
  Shutdown();
}

void TSkinManage::Shutdown() {
  std::lock_guard guard(Lock());
  state = TSkinManagerState::msShuttingDown;
  active = false;
  impl_->StopTimer();
  if (mode == 0) {
    impl_->threads.clear();  // each entry unhooks its thread
    if (!impl_->subs.empty() || !impl_->flist.empty()) UnskinAllOfMode();
    impl_->mlist.clear();
    impl_->dlist.clear();
    for (TSkinManage* sub : std::vector<TSkinManage*>(impl_->subs))
      sub->AssignData(nullptr);
    impl_->subs.clear();
  } else if (mmgr) {
    mmgr->DeleteSub(this);
    FreeFormsOfMode(*mmgr);
  }
  impl_->mainHook.reset();
  SetHooksOff(true);
}

// The forms of this manager's mode are given back. A window that still lives gets everything
// back (as when unskinning it); one that is going only loses the skinner.
void TSkinManage::UnskinAllOfMode() {
  auto& list = impl_->flist;
  for (size_t i = list.size(); i-- > 0;) {
    if (i >= list.size() || list[i]->mode != mode) continue;
    TWinSkinForm* sf = list[i];
    list.erase(list.begin() + static_cast<ptrdiff_t>(i));
    if (!OnThisThread(sf)) continue;  // its thread still runs it: left to that thread
    try {
      if (sf->Skinstate != kSkinDestroyed && IsWindow(sf->Hwnd))
        sf->UnSubclass();
      else
        sf->UnSubclass3();
    } catch (...) {
      forms::ReportException();
    }
    delete sf;
  }
  active = false;
}

// A module's manager going: the forms of its module go with it.
void TSkinManage::FreeFormsOfMode(TSkinManage& main) {
  if (!main.Flist) return;
  auto& list = *main.Flist;
  for (size_t i = list.size(); i-- > 0;) {
    if (i >= list.size() || list[i]->mode != mode) continue;
    TWinSkinForm* sf = list[i];
    list.erase(list.begin() + static_cast<ptrdiff_t>(i));
    if (sf->FForm)
      delete sf->FForm;  // owns the skinner
    else
      delete sf;
  }
}

// ---- skin data components

void TSkinManage::AddSkinData(TSkinData* adata) {
  std::lock_guard guard(Lock());
  if (!adata || !Dlist) return;
  if (std::find(Dlist->begin(), Dlist->end(), adata) != Dlist->end()) return;
  Dlist->push_back(adata);
  if (!mainData_ && adata->SkinFormtype() == TSkinFormType::sfMainform) mainData_ = adata;
}

void TSkinManage::RemoveSkinData(TSkinData* adata) {
  std::lock_guard guard(Lock());
  if (!adata || !Dlist) return;
  DropSkinData(adata);
  std::erase(*Dlist, adata);
  if (updateData_ == adata) updateData_ = nullptr;
  if (mainData_ == adata) {
    mainData_ = nullptr;
    for (TSkinData* d : *Dlist)
      if (d->SkinFormtype() == TSkinFormType::sfMainform) {
        mainData_ = d;
        break;
      }
  }
}

// A component that goes takes its skinners with it: nothing may keep reading a freed skin.
void TSkinManage::DropSkinData(TSkinData* adata) {
  if (Flist) {
    for (size_t i = Flist->size(); i-- > 0;) {
      if (i >= Flist->size() || (*Flist)[i]->fsd != adata) continue;
      if (OnThisThread((*Flist)[i])) UnskinAndFree((*Flist)[i]);
    }
  }
  if (Mlist) {
    for (size_t i = Mlist->size(); i-- > 0;) {
      if (i >= Mlist->size() || (*Mlist)[i]->fsd != adata) continue;
      std::unique_ptr<TWinSkinPopMenu> gone = std::move((*Mlist)[i]);
      Mlist->erase(Mlist->begin() + static_cast<ptrdiff_t>(i));
    }
  }
}

// Takes `sf` out of Flist, gives its window back (a destroyed window has nothing to get back)
// and frees it.
void TSkinManage::UnskinAndFree(TWinSkinForm* sf) {
  std::erase(*Flist, sf);
  try {
    if (sf->Skinstate != kSkinDestroyed) {
      sf->UnSubclass();
      TWinSkinForm::RePaint(sf->Hwnd);
    }
  } catch (...) {
    forms::ReportException();
  }
  delete sf;
}

// ---- form skinners

TWinSkinForm* TSkinManage::FindForm(HWND hwnd) const {
  std::lock_guard guard(Lock());
  if (!Flist || !hwnd) return nullptr;
  for (TWinSkinForm* sf : *Flist)
    if (sf->Hwnd == hwnd && sf->Skinstate != kSkinDestroyed) return sf;
  return nullptr;
}

void TSkinManage::PurgeForms() {
  std::lock_guard guard(Lock());
  if (state == TSkinManagerState::msShuttingDown || !Flist) return;
  for (size_t i = Flist->size(); i-- > 0;) {
    if (i >= Flist->size()) continue;
    TWinSkinForm* sf = (*Flist)[i];
    if (sf->Skinstate != kSkinDestroyed || sf->mode != mode) continue;
    Flist->erase(Flist->begin() + static_cast<ptrdiff_t>(i));
    delete sf;
  }
}

bool TSkinManage::DeleteForm(HWND aHwnd) {
  std::lock_guard guard(Lock());
  if (state == TSkinManagerState::msShuttingDown) return false;
  TWinSkinForm* sf = FindForm(aHwnd);
  if (!sf) return false;
  std::erase(*Flist, sf);
  sf->Skinstate = kSkinRemoving;
  try {
    sf->UnSubclass3();
  } catch (...) {
    forms::ReportException();
  }
  delete sf;
  return true;
}

void TSkinManage::DeleteForm2(HWND aHwnd) {
  std::lock_guard guard(Lock());
  if (state == TSkinManagerState::msShuttingDown || !Flist) return;
  for (auto it = Flist->begin(); it != Flist->end(); ++it)
    if ((*it)->Hwnd == aHwnd) {
      Flist->erase(it);
      return;
    }
}

void TSkinManage::DeleteForm2(TWinSkinForm* sf) {
  std::lock_guard guard(Lock());
  if (Flist) std::erase(*Flist, sf);
}

void TSkinManage::DeleteForm3() {
  std::lock_guard guard(Lock());
  if (state == TSkinManagerState::msShuttingDown || !Flist) return;
  for (size_t i = Flist->size(); i-- > 0;) {
    if (i >= Flist->size() || (*Flist)[i]->Skinstate != kSkinDestroyed) continue;
    TWinSkinForm* sf = (*Flist)[i];
    Flist->erase(Flist->begin() + static_cast<ptrdiff_t>(i));
    delete sf;
  }
}

forms::TWinControl* TSkinManage::FindVclControl(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (int i = 0; i < forms::Screen->FormCount(); ++i) {
    forms::TCustomForm* f = forms::Screen->Forms(i);
    if (f->WindowHandle() == hwnd) return f;
  }
  return ControlOfWindow(hwnd);
}

bool TSkinManage::CanSkinWindow(HWND aHwnd, const std::u16string& className) {
  std::lock_guard guard(Lock());
  if (!mainData_) return true;
  bool DoSkin = true;
  const std::u16string lower = LowerAscii(className);
  if (!InSet(mainData_->Options(), xoPreview) && Contains(lower, u"preview")) DoSkin = false;
  if (className == u"#32770" && (GetWindowLongW(aHwnd, GWL_STYLE) & 0x200) != 0) DoSkin = false;
  if (lower == u"tpopupdbtreeview") DoSkin = false;
  mainData_->DoFormSkin(aHwnd, className, DoSkin);
  return DoSkin;
}

TSkinData* TSkinManage::ChooseSkinData(HWND hwnd) const {
  std::lock_guard guard(Lock());
  if (!Dlist || Dlist->empty()) return nullptr;
  TSkinData *only = nullptr, *dialog = nullptr, *main = nullptr;
  for (TSkinData* d : *Dlist) {
    switch (d->SkinFormtype()) {
      case TSkinFormType::sfOnlyThisForm:
        if (auto* owner = dynamic_cast<forms::TWinControl*>(d->Owner());
            owner && owner->WindowHandle() == hwnd)
          only = d;
        break;
      case TSkinFormType::sfDialog:
        dialog = d;
        break;
      case TSkinFormType::sfMainform:
        main = d;
        break;
      default:
        break;
    }
  }
  if (only) return only;
  const std::u16string lower = LowerAscii(ClassNameOf(hwnd));
  if ((lower == u"tmessageform" || lower == u"#32770") && dialog) return dialog;
  if (main) return main;
  return Dlist->front();
}

bool TSkinManage::AddFormHwnd(HWND aHwnd) {
  std::lock_guard guard(Lock());
  if (!active) return false;
  PurgeForms();
  if (!IsWindow(aHwnd)) return false;
  if (SendMessageW(aHwnd, SKM_ISSKINNED, 0, 0) == 1 || FindForm(aHwnd)) return false;
  forms::TWinControl* form = FindVclControl(aHwnd);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(aHwnd, GWL_STYLE));
  const DWORD exstyle = static_cast<DWORD>(GetWindowLongW(aHwnd, GWL_EXSTYLE));
  const bool mdichild = (exstyle & WS_EX_MDICHILD) != 0;
  if (!skinchildform && (style & WS_CHILD) && !mdichild &&
      LowerAscii(ClassNameOf(GetParent(aHwnd))) == u"mdiclient")
    return false;
  const std::u16string className = ClassNameOf(aHwnd);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(aHwnd, GWLP_HINSTANCE));
  if (!form && !InWindowScope(instance) && className != u"#32770") return false;
  if (KeptNative(aHwnd)) return false;
  RECT r{};
  GetWindowRect(aHwnd, &r);
  if ((r.right - r.left) * (r.bottom - r.top) == 0 && !mdichild) return false;
  if (form && form->Tag() == kNeverSkinTag) return false;
  if (Contains(className, u"TcxPopupEditPopupWindow") || Contains(className, u"TTERenderWindow") ||
      className == u"TApplication")
    return false;
  if (!CanSkinWindow(aHwnd, className)) return false;
  TSkinData* data = ChooseSkinData(aHwnd);
  if (!data || data->Empty) return false;
  return AttachSkinner(aHwnd, form, className, data);
}

void TSkinManage::SetWindowScope(HINSTANCE module, bool wholeProcess) {
  std::lock_guard guard(Lock());
  scopeModule_ = module;
  wholeProcess_ = wholeProcess;
}

bool TSkinManage::InWindowScope(HINSTANCE instance) const {
  return wholeProcess_ || instance == (scopeModule_ ? scopeModule_ : EngineModule());
}

// Makes the skinner (owned by the form object when there is one) and sets it up. A set-up
// that fails gives the window back and frees the skinner: the window stays unskinned.
bool TSkinManage::AttachSkinner(HWND aHwnd, forms::TWinControl* form,
                                const std::u16string& className, TSkinData* data) {
  auto* sf = new TWinSkinForm(form);
  sf->Hwnd = aHwnd;
  sf->mode = mode;
  sf->formclass = className;
  try {
    if (auto* f = dynamic_cast<forms::TCustomForm*>(form))
      sf->InitTform(data, f);
    else
      sf->InitDlg(data);
  } catch (...) {
    forms::ReportException();
    try {
      sf->UnSubclass();
    } catch (...) {
      forms::ReportException();
    }
    delete sf;
    return false;
  }
  Flist->push_back(sf);
  PostMessageW(aHwnd, SKM_SKINFORM, 0, kSkinFormParam);
  return true;
}

// ---- module sub-managers

void TSkinManage::AssignData(TSkinManage* amgr) {
  std::lock_guard guard(Lock());
  if (amgr) {
    Flist = amgr->Flist;
    Mlist = amgr->Mlist;
    Dlist = amgr->Dlist;
    Threadlist = amgr->Threadlist;
    mainData_ = amgr->mainData_;
    mmgr = amgr;
    state = TSkinManagerState::msRunning;
    active = amgr->active;
    if (amgr->sublist) amgr->sublist->push_back(this);
    return;
  }
  Flist = nullptr;
  Mlist = nullptr;
  Dlist = nullptr;
  Threadlist = nullptr;
  mainData_ = nullptr;
  active = false;
  state = TSkinManagerState::msShuttingDown;
  impl_->mainHook.reset();
}

void TSkinManage::DeleteSub(TSkinManage* p) {
  std::lock_guard guard(Lock());
  if (sublist) std::erase(*sublist, p);
}

const std::vector<TWinSkinForm*>& TSkinManage::Forms() const {
  static const std::vector<TWinSkinForm*> none;
  return Flist ? *Flist : none;
}

std::vector<TWinSkinPopMenu*> TSkinManage::PopupSkinners() const {
  std::vector<TWinSkinPopMenu*> out;
  if (Mlist)
    for (const auto& p : *Mlist)
      out.push_back(p.get());
  return out;
}

size_t TSkinManage::ThreadCount() const {
  return Threadlist ? Threadlist->size() : 0;
}

bool TSkinManage::initsb(HWND) {
  return false;
}

bool TSkinManage::Uninitsb(HWND) {
  return false;
}

}  // namespace lbb::skin
