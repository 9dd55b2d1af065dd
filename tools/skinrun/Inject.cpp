#include "tools/skinrun/Inject.h"

#include "base/Text.h"
#include "base/win/Handles.h"
#include "base/win/WideText.h"

namespace lbb::skinrun {

namespace {

std::string Why(const char* what) {
  return std::string(what) + " (" + TextToUtf8(SystemErrorText(GetLastError())) + ")";
}

}  // namespace

std::string InjectDll(HANDLE process, const std::wstring& dllPath, DWORD limitMs) {
  const size_t bytes = (dllPath.size() + 1) * sizeof(wchar_t);
  RemoteMemory path(process, bytes);
  if (!path) return Why("no memory for the DLL's path in the program");
  if (!WriteProcessMemory(process, path.get(), dllPath.c_str(), bytes, nullptr))
    return Why("the DLL's path could not be written into the program");
  auto* loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
  if (!loadLibrary) return Why("LoadLibraryW was not found");
  KernelHandle thread(CreateRemoteThread(process, nullptr, 0, loadLibrary, path.get(), 0, nullptr));
  if (!thread) return Why("no thread could be started in the program");
  if (WaitForSingleObject(thread.get(), limitMs) != WAIT_OBJECT_0) {
    path.release();  // the loading thread may still read it
    return "the DLL's loading did not end in " + std::to_string(limitMs / 1000) + " s";
  }
  return {};
}

}  // namespace lbb::skinrun
