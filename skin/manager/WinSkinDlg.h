// TSkinManage: the one skin manager of the process. It watches window creation, activation
// and destruction through a WH_CBT hook on the UI thread (and on further threads on request),
// decides which windows are skinned and with which skin data, attaches a form skinner to
// each, keeps the popup-menu skinners, and runs the deferred bulk actions (skin all, unskin
// all, skin changed, purge, re-skin one window) from a one-shot timer, so that the message
// handling that asked for them finishes first.
//
// It is the skin data's manager (TSkinManagerSeam): the first skin data component that
// finishes loading creates it (EnsureSkinManager) and it is destroyed at shutdown after every
// skin data component is gone (DestroySkinManager); the hooks are off from then on.
//
// Threads: the lists are shared with the hooks of extra threads, so every entry point takes
// the manager's lock (recursive: a hook may run inside an entry point on the same thread).
// A window can only be given back on its own thread: the bulk actions of the UI thread (unskin
// all, skin changed, shutdown) leave the skinners of other threads' windows alone; those go
// when their window is destroyed (the thread hook frees them).
//
// Ownership: a form skinner is owned by its form when the window has a form object, else by
// the manager; either way its destructor takes it out of Flist (DeleteForm2), so the list
// never holds a freed skinner. Popup skinners and the extra-thread entries are the manager's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "forms/Bitmap.h"
#include "forms/Forms.h"
#include "skin/forms/FormManager.h"
#include "skin/win/SkinMessages.h"
#include "skin/win/WinSkinData.h"

namespace lbb::skin {

class TWinSkinForm;
class TWinSkinPopMenu;

// One extra hooked thread.
struct TSkinThread {
  lbb::HookHandle hook;
  DWORD ThreadID = 0;
};

class TSkinManage : public TSkinManagerSeam, public TFormManagerSeam {
 public:
  // amode 0: the main manager with its own lists; otherwise a module's sub-manager (amode =
  // the module instance handle) that shares the main manager's lists after AssignData.
  explicit TSkinManage(intptr_t amode);
  // Shutdown: stops the timer, unskins the forms of its mode, frees the popup skinners,
  // removes its hooks; HooksOff from then on.
  ~TSkinManage() override;
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // ---- the skin data's seam
  void Register(TSkinData* adata) override { AddSkinData(adata); }
  void Unregister(TSkinData* adata) override { RemoveSkinData(adata); }
  void InstallHooks() override { InstallHook(); }
  void AddForm(HWND aHwnd) override { (void)AddFormHwnd(aHwnd); }
  void DeleteSysbtn() override;
  void SetAction(TSkinAction acode, int Interval) override;
  void SetActive(bool b) override { active = b; }
  void SetUpdateData(TSkinData* adata) override { updateData_ = adata; }
  TSkinManagerState State() const override { return state; }
  void SetState(TSkinManagerState s) override { state = s; }
  void SetLpara(HWND window) override { lpara = window; }
  void AddChildForm(HWND window) override;
  void UpdateSkinControl(forms::TWinControl* parent, forms::TControl* control) override;
  void DeleteGraphicControl(forms::TWinControl* parent, forms::TControl* control) override;
  void UpdateMenu(forms::TWinControl* parent) override;
  void RefreshMenuBars() override;
  void AddNestForm(forms::TWinControl* parent, forms::TWinControl* nested) override;
  void InstallThread(DWORD aThreadID) override;
  void UnInstallThread(DWORD aThreadID) override;

  // ---- the form skinners' seam
  void FormGone(TWinSkinForm* sf) override { DeleteForm2(sf); }
  void FormSettingUp() override { state = TSkinManagerState::msRunning; }
  bool SkinningOn() const override { return active; }
  intptr_t ManagerMode() const override { return mode; }
  void MenuOpening(TMenuType type, bool tracking = false) override;
  bool MDIMaximised() const override { return MDIMax; }
  void ForgetMDIMax() override { MDIMax = false; }
  void SetMDIFrame(HWND client, forms::TCustomForm* form) override;
  HWND MDIClient() const override { return clienthwnd; }
  forms::TCustomForm* MDIFrameForm() const override { return MDIForm; }

  // ---- the manager's own operations
  void InstallHook();
  void AddSkinData(TSkinData* adata);
  void RemoveSkinData(TSkinData* adata);
  // Attaches a form skinner to a top-level window; true when one was attached.
  bool AddFormHwnd(HWND aHwnd);
  // Detaches and frees the skinner of a destroyed window that has a form object.
  bool DeleteForm(HWND aHwnd);
  // Drops the entry for aHwnd from Flist without freeing it.
  void DeleteForm2(HWND aHwnd);
  // Drops exactly this skinner from Flist (its destructor; also while shutting down, so that
  // the list never keeps a freed skinner).
  void DeleteForm2(TWinSkinForm* sf);
  // Frees every form skinner whose Skinstate is 6.
  void DeleteForm3();
  TWinSkinForm* FindForm(HWND hwnd) const;
  void PurgeForms();
  bool CanSkinWindow(HWND aHwnd, const std::u16string& className);
  TSkinData* ChooseSkinData(HWND hwnd) const;
  // The form object whose window is hwnd, else the control object of the window; null.
  static forms::TWinControl* FindVclControl(HWND hwnd);

  void AddPopupMenu(HWND hwnd);
  void DeletePopupMenu(HWND hwnd);
  bool HasPopupMenu(HWND hwnd) const;
  void SetPopMenu() override;
  void SetHMenu(HMENU amenu) override;
  forms::TBitmap* GetMenuBg(HMENU amenu) const;
  // The popup skinner whose hmenu is amenu; null when none (or amenu is none).
  TWinSkinPopMenu* FindPopMenu(HMENU amenu) const override;
  void FindPopupMenu(HMENU amenu);
  void UpdateSkinMenu(HMENU) {}

  void SetMDIMax(bool b) override;
  void SetMDIMax2(bool b);
  void SetCaption(bool b);
  int GetMDIChildNum() const;

  void AssignData(TSkinManage* amgr);
  void DeleteSub(TSkinManage* p);
  // The optional scroll-bar library is never loaded: both always false.
  bool initsb(HWND ahwnd);
  bool Uninitsb(HWND ahwnd);

  // Which top-level windows without a form object the manager takes besides "#32770" dialogs:
  // those of `module` (null: the engine's module, the default), or every window of the
  // process when `wholeProcess`.
  void SetWindowScope(HINSTANCE module, bool wholeProcess);
  // Skin all also takes the shown top-level windows of the thread that runs it (for programs
  // without form objects, whose windows the forms list does not hold). Off by default.
  void SetSkinsThreadWindows(bool on) { skinThreadWindows_ = on; }
  // Gives back every window of the calling thread and removes that thread's extra hook (an
  // API thread that stops skinning); the other threads' windows are left alone.
  void UnskinThread(DWORD threadId);

  // The timer's tick.
  void TimerAction();
  // A WH_CBT event of the main hook (`threadHook` false) or of an extra thread's hook. True
  // when the event is refused (the extra threads' scroll bars of skinned windows).
  bool OnHook(int code, WPARAM wParam, LPARAM lParam, bool threadHook);
  // The action timer is waiting to tick.
  bool TimerEnabled() const;
  // The timer's interval (ms) as SetAction last set it.
  int TimerInterval() const;

  // ---- what the manager keeps, read
  // The form skinners and popup skinners of the process (shared with the sub-managers).
  const std::vector<TWinSkinForm*>& Forms() const;
  std::vector<TWinSkinPopMenu*> PopupSkinners() const;
  // The number of extra hooked threads.
  size_t ThreadCount() const;
  // The skin data the waiting (or running) action works with; the first main-form component.
  TSkinData* UpdateData() const { return updateData_; }
  TSkinData* MainData() const { return mainData_; }
  // Skinning a form also skins its child forms (while skin all runs).
  bool SkinsChildForms() const { return skinchildform; }
  TMenuType MenuType() const { return menutype; }
  // The window the re-skin of one window takes.
  HWND Lpara() const { return lpara; }

  // Serialises the hooks of extra threads with the UI thread.
  std::recursive_mutex& Lock() const { return *lock_; }

 private:
  std::vector<TWinSkinForm*>* Flist = nullptr;
  std::vector<std::unique_ptr<TWinSkinPopMenu>>* Mlist = nullptr;
  std::vector<TSkinData*>* Dlist = nullptr;
  std::vector<std::unique_ptr<TSkinThread>>* Threadlist = nullptr;
  std::vector<TSkinManage*>* sublist = nullptr;
  bool active = false;
  bool skinchildform = false;
  TSkinManagerState state = TSkinManagerState::msNotStarted;
  TMenuType menutype = mtPopup;
  bool menuactive = false;
  bool MDIMax = false;
  HWND clienthwnd = nullptr;
  forms::TCustomForm* MDIForm = nullptr;
  TSkinAction action = TSkinAction::saSkinAll;
  TSkinData* updateData_ = nullptr;
  TSkinData* mainData_ = nullptr;
  intptr_t mode = 0;
  HWND lpara = nullptr;
  TSkinManage* mmgr = nullptr;
  HINSTANCE scopeModule_ = nullptr;  // null: EngineModule()
  bool wholeProcess_ = false;
  bool skinThreadWindows_ = false;

  void Shutdown();
  void UnskinAllOfMode();
  void TimerActionOnlyThisForm(TSkinAction code);
  void TimerActionAllForms(TSkinAction code);
  void SkinScreenForms();
  void SkinThreadWindows();
  bool InWindowScope(HINSTANCE instance) const;
  void UnskinAndFree(TWinSkinForm* sf);
  void FreeFormsOfMode(TSkinManage& main);
  bool AttachSkinner(HWND aHwnd, forms::TWinControl* form, const std::u16string& className,
                     TSkinData* data);
  void ReskinWindow();
  void DropSkinData(TSkinData* adata);
  bool PopupKindAllowed(TSkinData* data) const;

  struct TImpl;
  std::unique_ptr<TImpl> impl_;
  std::shared_ptr<std::recursive_mutex> lock_ = std::make_shared<std::recursive_mutex>();
};

// The manager of the process: null before the first skin data component loads and after
// DestroySkinManager.
TSkinManage* SkinManagerInstance();
// Creates the main manager when there is none and installs it as the skin data's manager.
TSkinManage& EnsureSkinManager();
// Destroys it (the skin subsystem's finalisation); the main hook only passes events on from
// then on.
void DestroySkinManager();
// A program that skins its windows calls this first: the first skin data component that
// finishes loading then makes the manager (EnsureSkinManager).
void UseSkinManager();
// Set by the manager's destructor; a manager made afterwards (EnsureSkinManager) starts with
// the hooks on again.
bool HooksOff();

}  // namespace lbb::skin
