// The engine behind the C interface: starting and stopping per thread, loading and switching
// skins, and the settings.
#include "skin/api/SkinApiEngine.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/PerThread.h"
#include "resources/skin/BuiltinSkin.h"
#include "skin/data/SkinModel.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/SkinMessages.h"

namespace lbb::skin::api {

namespace {

// The bits the SkinControls and Options sets know.
constexpr unsigned kKnownControls = (1u << (xcSystemMenu + 1)) - 1u;
constexpr unsigned kKnownOptions = (1u << (xoFormScrollbar + 1)) - 1u;

// Marks the threads that started the engine, in the platform's own thread-local storage
// (readable as a thread leaves the DLL, unlike the C++ runtime's emulated one). Allocated as the
// module is initialised, so that a thread leaving the DLL never runs a guarded first-use
// initialisation under the loader lock.
const DWORD kEngineThreadSlot = TlsAlloc();

void MarkEngineThread() {
  if (kEngineThreadSlot != TLS_OUT_OF_INDEXES)
    TlsSetValue(kEngineThreadSlot, reinterpret_cast<void*>(1));
}

}  // namespace

void TApiEngine::ThreadEnding() {
  if (kEngineThreadSlot != TLS_OUT_OF_INDEXES && TlsGetValue(kEngineThreadSlot))
    TPerThreadBase::ForgetThisThread();
}

TApiEngine& TApiEngine::Instance() {
  static TApiEngine engine;
  return engine;
}

bool TApiEngine::StartedHere(DWORD thread) const {
  return thread == mainThread_ ||
         std::find(threads_.begin(), threads_.end(), thread) != threads_.end();
}

int TApiEngine::Start() {
  std::lock_guard guard(lock_);
  const DWORD me = GetCurrentThreadId();
  MarkEngineThread();
  if (!StartedHere(me)) {
    if (!data_) {
      if (const int r = StartMainThread(me); r != LBBSKIN_OK) return r;
    } else {
      TSkinManage* m = SkinManagerInstance();
      const size_t before = m->ThreadCount();
      m->InstallThread(me);
      if (m->ThreadCount() == before) return LBBSKIN_E_HOOK;
      threads_.push_back(me);
    }
  }
  // Skin all: the thread's shown windows after the manager's delay, the others as they are
  // activated. The manager takes activations only once skinning is on, which its deferred
  // "skin all" would set only after the delay: a window made and shown right after the start
  // (a program's main window) was shown native and skinned a quarter of a second later, so
  // skinning is on at once.
  TSkinManage* m = SkinManagerInstance();
  m->SetState(TSkinManagerState::msRunning);
  data_->SetActive(true);
  m->SetActive(true);
  return LBBSKIN_OK;
}

int TApiEngine::StartMainThread(DWORD thread) {
  TSkinManage& m = EnsureSkinManager();
  m.SetSkinsThreadWindows(true);
  m.SetWindowScope(GetModuleHandleW(nullptr), scope_ == LBBSKIN_SCOPE_PROCESS);
  MakeSkinData();
  if (data_->Empty) {
    data_.reset();
    DestroySkinManager();
    return LBBSKIN_E_BAD_SKIN;
  }
  mainThread_ = thread;
  return LBBSKIN_OK;
}

// The skin data component as a form file would give it: the settings, the skin, then its
// loaded step, which registers it with the manager and hooks this thread.
void TApiEngine::MakeSkinData() {
  data_ = std::make_unique<TSkinData>(nullptr);
  data_->SetSkinFormtype(TSkinFormType::sfMainform);
  ApplySettings();
  data_->OnFormSkin = [this](TSkinData*, const std::u16string& className, bool& doSkin) {
    FilterWindow(className, doSkin);
  };
  const std::span<const uint8_t> bytes =
      skin_.empty() ? resources::BuiltinSkin() : std::span<const uint8_t>(skin_);
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  data_->LoadFromStream(stream);
  data_->Loaded();
}

void TApiEngine::ApplySettings() {
  if (!data_) return;
  data_->SetSkinControls(controls_);
  data_->SetOptions(options_);
}

void TApiEngine::FilterWindow(const std::u16string& className, bool& doSkin) {
  // The skin data's own rule, which a handler of the event replaces: the month calendar
  // (a date picker's drop-down) is never skinned.
  if (className == u"SysMonthCal32") {
    doSkin = false;
    return;
  }
  lbbskin_filter_fn fn = nullptr;
  void* user = nullptr;
  {
    std::lock_guard guard(filterLock_);
    fn = filter_;
    user = filterUser_;
  }
  if (!fn || !doSkin || !data_) return;
  const std::wstring name(className.begin(), className.end());
  try {
    doSkin = fn(data_->formhwnd, name.c_str(), user) != 0;
  } catch (...) {
    // A filter that throws lets the window be skinned.
  }
}

int TApiEngine::Stop() {
  std::lock_guard guard(lock_);
  const DWORD me = GetCurrentThreadId();
  if (!StartedHere(me)) return LBBSKIN_E_NOT_STARTED;
  TSkinManage* m = SkinManagerInstance();
  if (me != mainThread_) {
    if (m) m->UnskinThread(me);
    std::erase(threads_, me);
    return LBBSKIN_OK;
  }
  if (!threads_.empty()) return LBBSKIN_E_THREADS;
  if (m) m->UnskinThread(me);
  data_.reset();
  DestroySkinManager();
  mainThread_ = 0;
  return LBBSKIN_OK;
}

int TApiEngine::Load(std::vector<uint8_t> bytes) {
  if (!IsUsableSkin(bytes)) return LBBSKIN_E_BAD_SKIN;
  std::lock_guard guard(lock_);
  skin_ = std::move(bytes);
  if (!data_) return LBBSKIN_OK;
  // While skinning runs the skinned windows change to the new skin.
  TMemoryStream stream(skin_);
  data_->LoadFromStream(stream);
  return LBBSKIN_OK;
}

int TApiEngine::UnskinAll() {
  std::lock_guard guard(lock_);
  if (!StartedHere(GetCurrentThreadId())) return LBBSKIN_E_NOT_STARTED;
  data_->SetActive(false);
  return LBBSKIN_OK;
}

int TApiEngine::SetControls(unsigned controls) {
  if (controls & ~kKnownControls) return LBBSKIN_E_ARGUMENT;
  std::lock_guard guard(lock_);
  controls_ = controls;
  ApplySettings();
  return LBBSKIN_OK;
}

int TApiEngine::SetOptions(unsigned options) {
  if (options & ~kKnownOptions) return LBBSKIN_E_ARGUMENT;
  std::lock_guard guard(lock_);
  options_ = options;
  ApplySettings();
  return LBBSKIN_OK;
}

int TApiEngine::SetScope(int scope) {
  if (scope != LBBSKIN_SCOPE_MODULE && scope != LBBSKIN_SCOPE_PROCESS) return LBBSKIN_E_ARGUMENT;
  std::lock_guard guard(lock_);
  scope_ = scope;
  if (TSkinManage* m = data_ ? SkinManagerInstance() : nullptr)
    m->SetWindowScope(GetModuleHandleW(nullptr), scope_ == LBBSKIN_SCOPE_PROCESS);
  return LBBSKIN_OK;
}

int TApiEngine::SetFilter(lbbskin_filter_fn fn, void* user) {
  std::lock_guard guard(filterLock_);
  filter_ = fn;
  filterUser_ = user;
  return LBBSKIN_OK;
}

int TApiEngine::KeepNative(HWND window, bool keep) {
  if (!IsWindow(window)) return LBBSKIN_E_ARGUMENT;
  if (keep)
    SetPropW(window, kNativeWindowProp, reinterpret_cast<HANDLE>(1));
  else
    RemovePropW(window, kNativeWindowProp);
  // A top-level window skinned already (or kept native until now) is skinned afresh, which
  // now gives it back (or skins it).
  TApiEngine& e = Instance();
  std::lock_guard guard(e.lock_);
  TSkinManage* m = e.data_ ? SkinManagerInstance() : nullptr;
  const bool topLevel = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0;
  if (m && topLevel && (keep ? m->FindForm(window) != nullptr : IsWindowVisible(window))) {
    m->SetLpara(window);
    m->SetUpdateData(e.data_.get());
    m->SetAction(TSkinAction::saReskinForm, kSkinActionDelayMs);
  }
  return LBBSKIN_OK;
}

int ReadSkinFile(const wchar_t* path, std::vector<uint8_t>& bytes) {
  const std::filesystem::path file(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return LBBSKIN_E_NOT_FOUND;
  std::ifstream in(file, std::ios::binary);
  if (!in) return LBBSKIN_E_READ;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.bad() ? LBBSKIN_E_READ : LBBSKIN_OK;
}

int ReadSkinResource(HMODULE module, const wchar_t* name, const wchar_t* type,
                     std::vector<uint8_t>& bytes) {
  if (!module) module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, name, type);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return LBBSKIN_E_NOT_FOUND;
  const auto* first = static_cast<const uint8_t*>(data);
  bytes.assign(first, first + SizeofResource(module, found));
  return LBBSKIN_OK;
}

bool IsUsableSkin(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return false;
  try {
    TSkinModel probe;
    probe.data.Write(bytes.data(), bytes.size());
    return probe.ParseSkin() && !probe.Empty;
  } catch (const std::exception&) {
    return false;  // damaged bytes the reader refuses
  }
}

}  // namespace lbb::skin::api
