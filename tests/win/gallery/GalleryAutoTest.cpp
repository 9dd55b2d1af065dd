// SkinGallery.exe --auto: the run succeeds and leaves one picture per state that shows a
// painted window (read back through GDI+).
#include <windows.h>

#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "base/win/Handles.h"

namespace {

namespace fs = std::filesystem;

// GDI+ started for the test's lifetime.
class GdiPlus {
 public:
  GdiPlus() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiPlus() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }
  bool ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

// Runs the gallery with `args` and returns its exit code; -1 when it could not start or did
// not end within the bound.
int RunGallery(const std::wstring& args) {
  std::wstring exe = fs::path(LBB_SKIN_GALLERY_EXE).wstring();
  std::wstring line = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    return -1;
  }
  lbb::KernelHandle process(pi.hProcess), thread(pi.hThread);
  if (WaitForSingleObject(process.get(), 300000) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 99);
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
}

struct Picture {
  UINT width = 0, height = 0;
  size_t colours = 0;  // distinct colours seen, counted up to 64
};

Picture ReadPicture(const fs::path& file) {
  Picture p;
  Gdiplus::Bitmap bitmap(file.wstring().c_str());
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return p;
  p.width = bitmap.GetWidth();
  p.height = bitmap.GetHeight();
  std::set<Gdiplus::ARGB> seen;
  for (UINT y = 0; y < p.height && seen.size() < 64; y += 3) {
    for (UINT x = 0; x < p.width && seen.size() < 64; x += 3) {
      Gdiplus::Color c;
      if (bitmap.GetPixel(static_cast<INT>(x), static_cast<INT>(y), &c) == Gdiplus::Ok) {
        seen.insert(c.GetValue());
      }
    }
  }
  p.colours = seen.size();
  return p;
}

TEST(GalleryAutoTest, OpensEveryWindowSwitchesSkinsAndLeavesAPictureOfEach) {
  GdiPlus gdiplus;
  ASSERT_TRUE(gdiplus.ok());
  const fs::path shots = LBB_SCREENSHOT_DIR;
  std::error_code ec;
  fs::remove_all(shots, ec);
  // The second skin's archive file stands for a skin chosen from disk.
  const std::wstring skinFile = fs::path(LBB_SAND_SKIN_FILE).wstring();
  ASSERT_EQ(
      RunGallery(L"--auto --shots \"" + shots.wstring() + L"\" --skin-file \"" + skinFile + L"\""),
      0)
      << "SkinGallery.exe --auto failed (its messages are on stderr)";
  const char* expected[] = {
      "01-main-slate.png",  "02-nested-form.png",   "03-mdi-maximised.png", "04-mdi-cascaded.png",
      "05-dialog.png",      "06-messagebox.png",    "07-messagedlg.png",    "08-main-sand.png",
      "09-mdi-sand.png",    "10-main-noskin.png",   "11-mdi-noskin.png",    "12-main-slate.png",
      "13-mdi-slate.png",   "14-main-file.png",     "15-mdi-file.png",      "16-caption-hint.png",
      "17-system-menu.png", "18-menu-dropdown.png", "19-popup-menu.png"};
  for (const char* name : expected) {
    SCOPED_TRACE(name);
    const fs::path file = shots / name;
    ASSERT_TRUE(fs::exists(file));
    const Picture p = ReadPicture(file);
    EXPECT_GE(p.width, 100u);
    EXPECT_GE(p.height, 50u);
    // A painted window: caption, text, controls, not one flat colour.
    EXPECT_GE(p.colours, 8u);
  }
  // The main window is the largest picture; the message boxes are small ones.
  EXPECT_GT(ReadPicture(shots / "01-main-slate.png").height,
            ReadPicture(shots / "06-messagebox.png").height);
}

TEST(GalleryAutoTest, RefusesAnUnknownOption) {
  EXPECT_EQ(RunGallery(L"--no-such-option"), 2);
}

}  // namespace
