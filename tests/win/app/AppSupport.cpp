#include "tests/win/app/AppSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
#include <sstream>
#include <utility>

#include "app/WorkerThread.h"
#include "app/win/http/Http.h"
#include "app/win/platform/WinRunHost.h"
#include "base/win/WideText.h"
#include "forms/Application.h"
#include "tests/win/forms/FormsSupport.h"
#include "tools/input/Input.h"

namespace lbb::app::test {

namespace {
std::mutex boxLock;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string Fetch(const std::string& url) {
  return win::HttpGet(Utf8ToText(url)).body;
}

std::string Control(const std::string& request) {
  const FetchResult r =
      win::HttpGet(Utf8ToText(Env("SAMPLEHOST_CONTROL") + "/_control/" + request));
  EXPECT_TRUE(r.ok()) << request;
  return r.body;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
    ++n;
  return n;
}

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    if (e.is_regular_file()) files.push_back(e.path());
  }
  return files;
}

fs::path ProgramDir() {
  return fs::path(win::ProgramDirectory());
}

MainWindow::MainWindow(std::vector<std::string> users) {
  forms::test::EnsureApplication();
  // The window reads the blog host from the environment, as the program does under ./run.
  SetEnvironmentVariableW(L"LORVANE_BLOG_SITE",
                          lbb::Wide(Utf8ToText(Env("SAMPLEHOST_BLOG"))).c_str());
  SetEnvironmentVariableW(L"LORVANE_PHOTO_SITE",
                          lbb::Wide(Utf8ToText(Env("SAMPLEHOST_PHOTO"))).c_str());
  std::error_code ec;
  fs::remove(ProgramDir() / "config.ini", ec);
  for (const std::string& u : users)
    fs::remove_all(ProgramDir() / u, ec);
  form_ = new TForm1(forms::Application);
  form_->DoCreate();
  form_->ShowForm();
  forms::test::Settle();
}

MainWindow::~MainWindow() {
  // Workers still handing over lines finish before the window goes.
  WaitForWorkerThreads();
  delete form_;
  forms::test::Settle();
}

void MainWindow::TypeUserName(const std::wstring& text) {
  if (!forms::test::ClickAt(form_->Edit1->Handle(), POINT{10, 8})) return;
  form_->Edit1->SelectAll();
  forms::test::TypeText(text);
}

bool MainWindow::Click(forms::TButton* button) {
  int clicks = 0;
  forms::TNotifyEvent handler = button->OnClick;
  button->OnClick = [&](forms::TObject* s) {
    ++clicks;
    handler(s);
  };
  const bool taken = forms::test::ClickAt(button->Handle(), POINT{20, 12});
  button->OnClick = handler;
  EXPECT_TRUE(!taken || clicks == 1) << "the button took the click but did not run its handler";
  return clicks > 0;
}

bool MainWindow::ClickAndWait(forms::TButton* button) {
  if (!Click(button)) return false;
  // The run happens inside the click; afterwards the last lines arrive through the hand-over.
  const bool ended = forms::test::PumpUntil(
      [&] { return !form_->Running() && button->Enabled() && TWorkerThread::LiveCount() == 0; });
  forms::test::Settle();
  return ended;
}

std::vector<lbb::String> MainWindow::LogLines() const {
  std::vector<lbb::String> lines;
  for (int i = 0; i < form_->Memo1->Lines()->Count(); ++i)
    lines.push_back(form_->Memo1->Lines()->Strings(i));
  return lines;
}

MessageBoxAnswerer::MessageBoxAnswerer(std::function<void(HWND)> inspect)
    : inspect_(std::move(inspect)), thread_([this] { Watch(); }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  stop_ = true;
  thread_.join();
}

std::wstring MessageBoxAnswerer::Caption() const {
  std::lock_guard lock(boxLock);
  return caption_;
}

std::wstring MessageBoxAnswerer::Text() const {
  std::lock_guard lock(boxLock);
  return text_;
}

namespace {

struct BoxSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lp) {
  wchar_t cls[16];
  GetClassNameW(hwnd, cls, 16);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) {
    return TRUE;
  }
  reinterpret_cast<BoxSearch*>(lp)->found = hwnd;
  return FALSE;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[1024];
  const LRESULT n = SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
  return std::wstring(buffer, static_cast<size_t>(n > 0 ? n : 0));
}

// The pixels of an icon drawn at 32 x 32 on white.
std::vector<uint32_t> IconPixels(HICON icon) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<uint32_t> pixels;
  if (bmp) {
    HGDIOBJ old = SelectObject(dc, bmp);
    PatBlt(dc, 0, 0, 32, 32, WHITENESS);
    DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + 32 * 32);
    SelectObject(dc, old);
    DeleteObject(bmp);
  }
  DeleteDC(dc);
  return pixels;
}

bool SameIcon(HICON a, HICON b) {
  return a == b || IconPixels(a) == IconPixels(b);
}

// The box's icon: its static control of the icon kind.
BOOL CALLBACK FindIconControl(HWND hwnd, LPARAM lp) {
  wchar_t cls[16];
  GetClassNameW(hwnd, cls, 16);
  if (std::wstring(cls) != L"Static" ||
      (GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(lp) = hwnd;
  return FALSE;
}

BOOL CALLBACK CountButton(HWND hwnd, LPARAM lp) {
  wchar_t cls[16];
  GetClassNameW(hwnd, cls, 16);
  if (std::wstring(cls) == L"Button" && IsWindowVisible(hwnd)) ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

}  // namespace

void MessageBoxAnswerer::Watch() {
  // No messages to handle on this thread; the bounds only keep the loop looking at `stop_`.
  input::Waiting w;
  w.handleMessages = nullptr;
  w.limitMs = 100;
  while (!stop_) {
    BoxSearch s;
    const auto found = [&] {
      EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&s));
      return s.found != nullptr;
    };
    if (!input::WaitUntil(found, w)) continue;
    {
      std::lock_guard lock(boxLock);
      caption_ = TextOf(s.found);
      text_ = TextOf(GetDlgItem(s.found, 0xFFFF));
      HWND iconControl = nullptr;
      EnumChildWindows(s.found, &FindIconControl, reinterpret_cast<LPARAM>(&iconControl));
      const HICON shown = reinterpret_cast<HICON>(SendMessageW(iconControl, STM_GETICON, 0, 0));
      icon_ = shown && SameIcon(shown, LoadIconW(nullptr, IDI_ERROR)) &&
                      !SameIcon(shown, LoadIconW(nullptr, IDI_WARNING))
                  ? MB_ICONERROR
                  : 0;
      buttons_ = 0;
      EnumChildWindows(s.found, &CountButton, reinterpret_cast<LPARAM>(&buttons_));
    }
    if (inspect_) inspect_(s.found);
    seen_ = true;
    // Answer it as a person would: bring it to the front and press Enter, until it goes (a
    // press that did not close it is made again).
    HWND box = s.found;
    const auto gone = [box] { return !IsWindow(box) || !IsWindowVisible(box); };
    input::Waiting answer;
    answer.handleMessages = nullptr;
    if (input::BringToFront(box, answer) || gone()) {
      (void)input::PressKey(VK_RETURN, gone, "closing the message box", answer);
    }
  }
}

}  // namespace lbb::app::test
