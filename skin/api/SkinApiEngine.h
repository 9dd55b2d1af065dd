// The engine behind the C interface (lbbskin.h): the process's one skin data component and
// skin manager, made when the first thread starts and freed when the last one stops, the
// skin last loaded (kept between runs), and the settings the program chose. Its methods
// answer the interface's result codes and may throw; the C functions catch at the boundary.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "skin/api/include/lbbskin.h"
#include "skin/win/WinSkinData.h"

namespace lbb::skin::api {

class TApiEngine {
 public:
  static TApiEngine& Instance();

  int Start();
  int Stop();
  int Load(std::vector<uint8_t> bytes);
  int UnskinAll();
  int SetControls(unsigned controls);
  int SetOptions(unsigned options);
  int SetScope(int scope);
  int SetFilter(lbbskin_filter_fn fn, void* user);
  static int KeepNative(HWND window, bool keep);
  // A thread is leaving the DLL: one that started the engine frees its per-thread objects
  // (paint surfaces, gradient tables, timer window). Others are left alone, so that a thread
  // that never skinned is not given the C runtime's thread bookkeeping on its way out.
  static void ThreadEnding();

 private:
  TApiEngine() = default;

  bool StartedHere(DWORD thread) const;
  int StartMainThread(DWORD thread);
  void MakeSkinData();
  void ApplySettings();
  // The form-skin event of the skin data: the program's filter, if any.
  void FilterWindow(const std::u16string& className, bool& doSkin);

  std::recursive_mutex lock_;
  std::vector<uint8_t> skin_;  // the skin last loaded; empty: the built-in one
  std::unique_ptr<TSkinData> data_;
  DWORD mainThread_ = 0;
  std::vector<DWORD> threads_;  // the other threads that skin
  TSkinSet controls_ = DefaultSkinControls();
  TSkinSet options_ = kDefaultSkinOptions;
  int scope_ = LBBSKIN_SCOPE_MODULE;
  // The filter is read by the hooks of every skinning thread: a lock of its own, never held
  // while the filter runs.
  std::mutex filterLock_;
  lbbskin_filter_fn filter_ = nullptr;
  void* filterUser_ = nullptr;
};

// The bytes of a skin file; LBBSKIN_OK, LBBSKIN_E_NOT_FOUND or LBBSKIN_E_READ.
int ReadSkinFile(const wchar_t* path, std::vector<uint8_t>& bytes);
// The bytes of a skin resource; LBBSKIN_OK or LBBSKIN_E_NOT_FOUND.
int ReadSkinResource(HMODULE module, const wchar_t* name, const wchar_t* type,
                     std::vector<uint8_t>& bytes);
// The bytes parse as a skin the engine can use.
bool IsUsableSkin(std::span<const uint8_t> bytes);

}  // namespace lbb::skin::api
