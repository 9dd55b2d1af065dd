// Bringing a DLL into a process that skinrun started suspended: the DLL's path is written into
// the process's memory and a thread of the process runs LoadLibraryW on it. Kernel32 lies at
// one address in every process of one bitness (on Windows for the boot, under Wine always), so
// this process's LoadLibraryW is the other's.
#pragma once

#include <windows.h>

#include <string>

namespace lbb::skinrun {

// Loads `dllPath` (a full path) into `process` (of this process's bitness) and waits, at most
// `limitMs`, for the load to end. An empty result means the loading thread ran to its end;
// otherwise it says what failed. Whether the DLL is in is for the DLL to say (it may have been
// missing or refused).
std::string InjectDll(HANDLE process, const std::wstring& dllPath, DWORD limitMs);

}  // namespace lbb::skinrun
