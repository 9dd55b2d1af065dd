// The skin manager's own state (lists, hooks, the action timer) and the helpers its files
// share. Only the manager's files include this.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/EngineWindows.h"
#include "skin/win/SkinTimers.h"

namespace lbb::skin {

// Class names are read up to this many characters.
constexpr int kClassNameChars = 100;
constexpr int kActionTimerStartMs = 100;

std::u16string ClassNameOf(HWND hwnd);
void SetHooksOff(bool off);
// The skinner's window is this thread's (or gone): only then may this thread change it.
bool OnThisThread(const TWinSkinForm* sf);

struct TSkinManage::TImpl {
  explicit TImpl(TSkinManage& manager) : timer([&manager] { manager.TimerAction(); }) {}

  void StartTimer() { timer.Start(static_cast<UINT>(interval)); }
  void StopTimer() { timer.Stop(); }

  std::vector<TWinSkinForm*> flist;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> mlist;
  std::vector<TSkinData*> dlist;
  std::vector<std::unique_ptr<TSkinThread>> threads;
  std::vector<TSkinManage*> subs;
  lbb::HookHandle mainHook;
  // The one-shot timer of the waiting action (TimerAction stops it first).
  TSkinTimer timer;
  int interval = kActionTimerStartMs;
  // A skin change was asked for while skinning every form waited: the forms already skinned
  // take the new skin before the others are skinned.
  bool changeBeforeSkinAll = false;
};

}  // namespace lbb::skin
