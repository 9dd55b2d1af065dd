// The program's entry: the application object, its title (the caption of the program's
// message boxes), the main window and the message loop.
#include <windows.h>

#include <exception>

#include "app/Unit1.h"
#include "app/WorkerThread.h"
#include "forms/Application.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/WinSkinData.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using lbb::forms::Application;
  try {
    Application->Initialize();
    // The main window's skin data component starts the skin manager as it loads.
    lbb::skin::UseSkinManager();
    // A skin of an unknown version says so in a message box.
    lbb::skin::ShowSkinMessagesInBoxes();
    // The main window owns the taskbar button; the application's own window has none.
    Application->SetTitle(lbb::String(lbb::app::kApplicationTitle));
    Application->CreateForm<lbb::app::TForm1>();
    Application->Run();
  } catch (...) {
    Application->HandleException();
  }
  // Workers that are still handing over their last log lines end before the process does.
  lbb::app::WaitForWorkerThreads();
  // The skin manager goes last: it gives every window that is still skinned back its own
  // procedure and frame.
  lbb::skin::DestroySkinManager();
  return Application->ExitCode();
}
