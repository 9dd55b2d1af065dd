// A command-line front end to the two runs, for the demo and for scripted use until the main
// window takes over: `lorvane_backup_cli USER` backs up the user's blog, `--album USER`
// downloads the default album. It writes beside the executable, as the program does; the
// environment variables LORVANE_BLOG_SITE and LORVANE_PHOTO_SITE point it at another host.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/engine/Runs.h"
#include "app/win/http/Http.h"
#include "app/win/platform/WinFileSystem.h"
#include "app/win/platform/WinRunHost.h"
#include "base/win/WideText.h"

namespace {

void PrintLine(const lbb::String& line) {
  const std::string utf8 = lbb::TextToUtf8(line) + "\n";
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

int Usage() {
  std::fputs("usage: lorvane_backup_cli [--album] USER\n", stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool album = false;
  lbb::String user;
  for (int i = 1; i < argc; ++i) {
    const lbb::String arg = lbb::FromWide(argv[i]);
    if (arg == u"--album") {
      album = true;
    } else if (user.empty()) {
      user = arg;
    } else {
      return Usage();
    }
  }
  user = lbb::Trim(user);
  if (user.empty()) return Usage();

  try {
    static lbb::AppState state;  // lives as long as the process, as the workers expect
    state.appDir = lbb::win::ProgramDirectory();
    static lbb::win::WinRunHost host(PrintLine);
    static lbb::win::WinFileSystem files;
    static lbb::win::WinPageSource source;
    static lbb::Downloader downloader(source);
    static lbb::BackupEngine engine(state, host, files, downloader, lbb::win::ProgramSites());
    const lbb::String error = album ? engine.AlbumButton(user) : engine.BackupButton(user);
    // The last workers hand over their lines before the process ends.
    host.FinishWorkers();
    if (!error.empty()) {
      PrintLine(u"错误：" + lbb::MessageBoxText(error));
      return 1;
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lorvane_backup_cli: %s\n", e.what());
    return 1;
  }
}
