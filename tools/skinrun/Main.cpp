// skinrun [--skin FILE] [--dll FILE] PROGRAM [ARGS...]: runs an unmodified Windows program with
// every window of its process skinned. The program is started suspended, the engine's DLL is
// brought into it (the DLL then starts the engine on each of the program's user-interface
// threads as they create their first window), the program is resumed, and skinrun ends with
// the program's exit code. Whatever fails on the skinning side is said on stderr, and the
// program runs on unskinned. A program of the other bitness is handed to the skinrun of that
// bitness.
#include <windows.h>

#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "base/Text.h"
#include "base/win/WideText.h"
#include "skin/api/inject/SkinrunShare.h"
#include "tools/skinrun/CommandLine.h"
#include "tools/skinrun/Inject.h"
#include "tools/skinrun/Program.h"

namespace lbb::skinrun {

namespace {

// skinrun's own exit codes, when the program never ran.
constexpr int kBadCommandLine = 125;
constexpr int kProgramNotStarted = 127;

// How long the DLL's loading and its hooks may take before the program runs without them.
constexpr DWORD kLoadLimitMs = 15000;
constexpr DWORD kHooksLimitMs = 5000;

constexpr char kUsage[] =
    "usage: skinrun [--skin FILE] [--dll FILE] PROGRAM [ARGS...]\n"
    "  --skin FILE  the skin to draw the program's windows with (default: the engine's own)\n"
    "  --dll FILE   the engine's DLL (default: lbbskin.dll beside skinrun)\n";

void Say(const std::string& text) {
  std::fprintf(stderr, "skinrun: %s\n", text.c_str());
  std::fflush(stderr);
}

std::string Utf8(const std::wstring& w) {
  return TextToUtf8(FromWide(w));
}

// The skinrun that serves programs of bitness `b`: named by LBBSKIN_SKINRUN_I686 or
// LBBSKIN_SKINRUN_X64, else i686\skinrun.exe or x64\skinrun.exe beside this one.
std::wstring OtherLoader(Bitness b) {
  const wchar_t* variable = b == Bitness::k32 ? L"LBBSKIN_SKINRUN_I686" : L"LBBSKIN_SKINRUN_X64";
  wchar_t named[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableW(variable, named, MAX_PATH * 2);
  if (n > 0 && n < MAX_PATH * 2) return named;
  return OwnFolder() + (b == Bitness::k32 ? L"i686\\skinrun.exe" : L"x64\\skinrun.exe");
}

int HandOver(const Options& o, Bitness b) {
  const std::wstring loader = OtherLoader(b);
  // A DLL named for this skinrun goes along when it is of the program's bitness.
  const bool keepDll = !o.dll.empty() && BitnessOfFile(FullPath(Wide(o.dll))) == b;
  std::vector<String> line{FromWide(loader)};
  for (const String& a : HandOverArguments(o, keepDll))
    line.push_back(a);
  std::string error;
  std::optional<StartedProgram> other =
      StartedProgram::Start(loader, Wide(JoinCommandLine(line)), error);
  if (!other) {
    Say("the program is " + std::string(b == Bitness::k32 ? "32" : "64") +
        "-bit and the skinrun for it, " + Utf8(loader) + ", could not start: " + error);
    return kProgramNotStarted;
  }
  other->Resume();
  return static_cast<int>(other->WaitForExit());
}

// Says what the DLL reported about the skin and the start, once the program has ended.
void ReportAttach(const skinapi::SkinrunShare& share, const std::wstring& skin) {
  const skinapi::SkinrunBlock& b = share.Block();
  if (b.loadResult != 0)
    Say("the skin " + Utf8(skin) + " was not loaded (" + b.loadText +
        "); the program ran with the engine's default skin");
  if (b.startResult != 0) Say(std::string("the engine did not start: ") + b.startText);
}

// Brings the DLL in and waits (bounded) for its hooks; true when the engine will attach.
bool BringEngineIn(const StartedProgram& p, const skinapi::SkinrunShare& share,
                   const std::wstring& dll) {
  if (const Bitness b = BitnessOfFile(dll); b != Bitness::kUnknown && b != kOwnBitness) {
    Say("the engine's DLL " + Utf8(dll) + " is of the other bitness; the program runs unskinned");
    return false;
  }
  if (const std::string error = InjectDll(p.Process(), dll, kLoadLimitMs); !error.empty()) {
    Say(error + "; the program runs unskinned");
    return false;
  }
  if (share.Stage() < skinapi::AttachStage::kLoaded) {
    Say("the engine's DLL " + Utf8(dll) + " could not be loaded; the program runs unskinned");
    return false;
  }
  if (WaitForSingleObject(share.ReadyEvent(), kHooksLimitMs) != WAIT_OBJECT_0 ||
      share.Stage() < skinapi::AttachStage::kHooksReady) {
    Say("the engine's DLL did not get ready; the program runs unskinned");
    return false;
  }
  return true;
}

int RunSkinned(const Options& o, const std::wstring& program) {
  std::vector<String> line{FromWide(program)};
  line.insert(line.end(), o.programArgs.begin(), o.programArgs.end());
  std::string error;
  std::optional<StartedProgram> p =
      StartedProgram::Start(program, Wide(JoinCommandLine(line)), error);
  if (!p) {
    Say("could not start " + Utf8(program) + ": " + error);
    return kProgramNotStarted;
  }
  const std::wstring skin = o.skin.empty() ? L"" : FullPath(Wide(o.skin));
  const std::wstring dll = FullPath(o.dll.empty() ? OwnFolder() + L"lbbskin.dll" : Wide(o.dll));
  std::optional<skinapi::SkinrunShare> share = skinapi::SkinrunShare::Create(p->Id(), skin);
  bool attached = false;
  if (!share)
    Say("no options block for the program could be made; the program runs unskinned");
  else
    attached = BringEngineIn(*p, *share, dll);
  p->Resume();
  const DWORD code = p->WaitForExit();
  if (attached) ReportAttach(*share, skin);
  return static_cast<int>(code);
}

int Run(const std::vector<String>& args) {
  const std::variant<Options, std::string> parsed = ParseOptions(args);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    Say(*error);
    std::fputs(kUsage, stderr);
    return kBadCommandLine;
  }
  const Options& o = std::get<Options>(parsed);
  const std::wstring program = FindProgram(Wide(o.program));
  if (program.empty()) {
    Say("no program " + TextToUtf8(o.program) + " was found");
    return kProgramNotStarted;
  }
  const Bitness b = BitnessOfFile(program);
  if (b != Bitness::kUnknown && b != kOwnBitness) return HandOver(o, b);
  return RunSkinned(o, program);
}

}  // namespace

}  // namespace lbb::skinrun

int wmain(int argc, wchar_t** argv) {
  try {
    std::vector<lbb::String> args;
    for (int i = 1; i < argc; ++i)
      args.push_back(lbb::FromWide(argv[i]));
    return lbb::skinrun::Run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinrun: %s\n", e.what());
    return 125;
  }
}
