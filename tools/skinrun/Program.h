// The program skinrun runs: found on the search path, its bitness read from its file, started
// suspended and resumed once the engine's DLL is in.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/win/Handles.h"
#include "tools/skinrun/PeBitness.h"

namespace lbb::skinrun {

// The full path of `name` as CreateProcess would find it (".exe" added when it has no
// extension); empty when there is no such file.
std::wstring FindProgram(const std::wstring& name);
// The bitness of the program file; unknown when it cannot be read or is no PE file.
Bitness BitnessOfFile(const std::wstring& path);
// The full path of `path` (relative to the current folder).
std::wstring FullPath(const std::wstring& path);
// The folder of this program's file, with a trailing backslash.
std::wstring OwnFolder();
// The bitness of this process.
constexpr Bitness kOwnBitness = sizeof(void*) == 8 ? Bitness::k64 : Bitness::k32;

// A program started suspended; resumed by `Resume`, or when the owner goes (so no path of
// skinrun leaves it stopped).
class StartedProgram {
 public:
  // Starts `path` with `commandLine` suspended; empty when it could not start (`error` says
  // why).
  static std::optional<StartedProgram> Start(const std::wstring& path,
                                             const std::wstring& commandLine, std::string& error);
  StartedProgram(StartedProgram&&) = default;
  StartedProgram& operator=(StartedProgram&&) = default;
  ~StartedProgram() { Resume(); }

  HANDLE Process() const { return process_.get(); }
  DWORD Id() const { return pid_; }
  void Resume();
  // Waits for the program's end and returns its exit code.
  DWORD WaitForExit() const;

 private:
  StartedProgram() = default;
  KernelHandle process_;
  KernelHandle thread_;  // the main thread while it is suspended
  DWORD pid_ = 0;
};

}  // namespace lbb::skinrun
