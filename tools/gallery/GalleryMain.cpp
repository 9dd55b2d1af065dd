// SkinGallery.exe: the skin gallery's entry.
//   SkinGallery.exe                     shows the gallery for people to try
//   SkinGallery.exe --auto [--shots DIR] [--skin-file FILE]
//       drives it: every window, both message boxes, the skins Slate -> Sand -> none ->
//       Slate (then the skin in FILE when given), a screenshot of each state in DIR (default
//       build/run/gallery); exit code 0 when every step worked, else 1 with the failures on
//       stderr.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <exception>

#include "forms/Application.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/WinSkinSystem.h"
#include "tools/gallery/GalleryAuto.h"
#include "tools/gallery/SkinGalleryForm.h"

namespace {

struct Options {
  bool automatic = false;
  std::filesystem::path shots = "build/run/gallery";
  std::u16string skinFile;
  bool ok = true;
};

Options ParseOptions() {
  Options o;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return o;
  for (int i = 1; i < argc; ++i) {
    std::wstring a = argv[i];
    if (a == L"--auto") {
      o.automatic = true;
    } else if (a == L"--shots" && i + 1 < argc) {
      o.shots = argv[++i];
    } else if (a == L"--skin-file" && i + 1 < argc) {
      std::wstring file = argv[++i];
      o.skinFile.assign(file.begin(), file.end());
    } else {
      o.ok = false;
    }
  }
  LocalFree(argv);
  return o;
}

int RunAuto(lbb::gallery::TSkinGalleryForm& form, const Options& o) {
  std::vector<std::string> failures = lbb::gallery::RunAutoGallery(form, o.shots, o.skinFile);
  for (const std::string& f : failures)
    std::fprintf(stderr, "SkinGallery --auto: %s\n", f.c_str());
  if (failures.empty()) std::printf("SkinGallery --auto: every step worked\n");
  std::fflush(stdout);
  std::fflush(stderr);
  return failures.empty() ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using lbb::forms::Application;
  const Options options = ParseOptions();
  if (!options.ok) {
    std::fprintf(stderr, "usage: SkinGallery.exe [--auto] [--shots DIR] [--skin-file FILE]\n");
    return 2;
  }
  // The skin's system colours, metrics and named bitmaps come from Windows.
  static const lbb::skin::TWinSkinSystem platform;
  lbb::skin::SetSkinSystem(&platform);
  int code = 0;
  try {
    Application->Initialize();
    Application->SetTitle(u"Skin gallery");
    // The gallery's skin data component starts the skin manager as it loads.
    lbb::skin::UseSkinManager();
    // A skin file of an unknown version says so in a box (not while the gallery drives itself:
    // nobody would close it).
    if (!options.automatic) lbb::skin::ShowSkinMessagesInBoxes();
    auto* form = Application->CreateForm<lbb::gallery::TSkinGalleryForm>();
    if (options.automatic) {
      code = RunAuto(*form, options);
    } else {
      Application->Run();
      code = Application->ExitCode();
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "SkinGallery: %s\n", e.what());
    code = 1;
  }
  // Every window still skinned gets its own procedure and frame back.
  lbb::skin::DestroySkinManager();
  return code;
}
