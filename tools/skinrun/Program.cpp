#include "tools/skinrun/Program.h"

#include <vector>

#include "base/Text.h"
#include "base/win/WideText.h"

namespace lbb::skinrun {

std::wstring FindProgram(const std::wstring& name) {
  wchar_t found[MAX_PATH * 2];
  const DWORD n = SearchPathW(nullptr, name.c_str(), L".exe", MAX_PATH * 2, found, nullptr);
  if (n == 0 || n >= MAX_PATH * 2) return {};
  const DWORD attributes = GetFileAttributesW(found);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  return found;
}

Bitness BitnessOfFile(const std::wstring& path) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Bitness::kUnknown;
  std::vector<uint8_t> head(kPeProbeBytes);
  DWORD read = 0;
  if (!ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr))
    return Bitness::kUnknown;
  head.resize(read);
  return BitnessOf(head);
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring out(n, L'\0');
  const DWORD m = GetFullPathNameW(path.c_str(), n, out.data(), nullptr);
  out.resize(m < n ? m : 0);
  return out.empty() ? path : out;
}

std::wstring OwnFolder() {
  wchar_t self[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  std::wstring path(self, n < MAX_PATH * 2 ? n : 0);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::optional<StartedProgram> StartedProgram::Start(const std::wstring& path,
                                                    const std::wstring& commandLine,
                                                    std::string& error) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring line = commandLine;  // CreateProcessW may write into it
  if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &si, &pi)) {
    error = TextToUtf8(SystemErrorText(GetLastError()));
    return std::nullopt;
  }
  StartedProgram p;
  p.process_.reset(pi.hProcess);
  p.thread_.reset(pi.hThread);
  p.pid_ = pi.dwProcessId;
  return p;
}

void StartedProgram::Resume() {
  if (thread_) ResumeThread(thread_.get());
  thread_.reset();
}

DWORD StartedProgram::WaitForExit() const {
  WaitForSingleObject(process_.get(), INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(process_.get(), &code)) code = 1;
  return code;
}

}  // namespace lbb::skinrun
