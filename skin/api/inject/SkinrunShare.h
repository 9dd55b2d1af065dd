// What skinrun hands to the engine's DLL inside the program it starts: a block of named shared
// memory keyed by the program's process id, made by skinrun before the DLL comes in. The DLL
// finds it by its own process id (no block: the DLL was not brought in by skinrun and does
// nothing of its own), reads the options, and writes back how far it got, so that skinrun can
// say what failed. A named event, keyed the same way, tells skinrun that the DLL's hooks are
// in place and the program may run.
//
// Both sides are always of one bitness (a loader meeting a program of the other bitness hands
// it to the loader of that bitness), so the block's layout is shared as it is.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/win/Handles.h"

namespace lbb::skinapi {

// How far the DLL got in the program; each stage is written once it is reached.
enum class AttachStage : int32_t {
  kNotLoaded = 0,   // the DLL never ran (missing, refused, or not loaded yet)
  kLoaded = 1,      // the DLL is in and found the block
  kHooksReady = 2,  // the threads of the program are watched for their first window
  kStarted = 3,     // the engine was started on a thread of the program
};

struct SkinrunBlock {
  static constexpr uint32_t kMagic = 0x4E52534C;  // "LSRN"
  static constexpr size_t kPathChars = 1024;
  static constexpr size_t kTextChars = 256;

  uint32_t magic;
  uint32_t size;  // sizeof(SkinrunBlock), so a block of another layout is refused
  // Options: the skin file (empty: the engine's own default skin).
  wchar_t skinPath[kPathChars];
  // Written by the DLL (interlocked): its stage, the first attached thread, and the result of
  // loading the skin and of starting the engine (0: done), with the engine's words for them.
  volatile int32_t stage;
  volatile uint32_t firstThreadId;
  int32_t loadResult;
  int32_t startResult;
  char loadText[kTextChars];
  char startText[kTextChars];
};

// The block and the "ready" event of one process, from either side.
class SkinrunShare {
 public:
  // skinrun: makes the block for process `pid` with the options; empty when it cannot.
  static std::optional<SkinrunShare> Create(DWORD pid, const std::wstring& skinPath);
  // The DLL: opens the block of process `pid`; empty when there is none (or of another layout).
  static std::optional<SkinrunShare> Open(DWORD pid);

  SkinrunBlock& Block() const { return *static_cast<SkinrunBlock*>(view_.get()); }
  HANDLE ReadyEvent() const { return ready_.get(); }

  AttachStage Stage() const;
  // Moves the stage forward (never back).
  void Reach(AttachStage stage) const;
  // Signals skinrun that the program may run.
  void SignalReady() const { SetEvent(ready_.get()); }

 private:
  KernelHandle mapping_;
  MappedView view_;
  KernelHandle ready_;
};

}  // namespace lbb::skinapi
