// The skin data component on damaged or unreadable input and its loaded step's owner rule:
// a form stream that states more skin bytes than it holds, a skin file that is there but
// locked, a skin of an unknown version (its message box), and a component of a form type
// other than the main form's on a non-form owner.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "base/win/Handles.h"
#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinConvert.h"
#include "skin/win/WinSkinData.h"
#include "tools/input/Input.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

class AddFormRecorder : public TSkinManagerSeam {
 public:
  void AddForm(HWND window) override { added.push_back(window); }
  std::vector<HWND> added;
};

SIZE_T PeakCommit() {
  PROCESS_MEMORY_COUNTERS c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
  return c.PeakPagefileUsage;
}

TEST(SkinDataLoad, StreamStatingMoreBytesThanItHoldsFailsBeforeAllocating) {
  TSkinData d(nullptr);
  // 2 GB stated, 3 bytes present.
  const int32_t n = 0x7FFFFFF0;
  std::vector<uint8_t> bytes(sizeof n + 3, 7);
  std::memcpy(bytes.data(), &n, sizeof n);
  TMemoryStream stream(bytes);
  const SIZE_T before = PeakCommit();
  EXPECT_THROW(d.ReadSkinStream(stream), EStreamError);
  EXPECT_LT(PeakCommit() - before, SIZE_T{64} << 20);  // nothing near the stated size
  EXPECT_TRUE(d.Empty);
  EXPECT_EQ(d.data.Size(), 0);
}

TEST(SkinDataLoad, LockedSkinFileIsIgnoredLikeAMissingOne) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "locked-skin.skn";
  {
    const std::span<const uint8_t> sand = lbb::resources::SandSkin();
    TMemoryStream(std::vector<uint8_t>(sand.begin(), sand.end())).SaveToFile(file);
  }
  TSkinData d(nullptr);
  {
    // Held open without sharing: nobody else may read it.
    KernelHandle lock(CreateFileW(file.wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_NO_THROW(d.SetSkinFile(String(file.u16string())));
    EXPECT_TRUE(d.Empty);
  }
  d.SetSkinFile(String(file.u16string()));  // readable again: it loads
  EXPECT_FALSE(d.Empty);
  EXPECT_EQ(d.SkinName, u"Sand");
  std::filesystem::remove(file);
}

TEST(SkinDataLoad, SkinOfAnUnknownVersionSaysSoInAMessageBox) {
  ShowSkinMessagesInBoxes();
  forms::Application->Initialize();
  std::atomic<bool> stop{false};
  std::wstring shown;
  // Reads and closes the box from another thread while the load waits in it. The box's text
  // control may not be there yet right after the box appears.
  std::thread closer([&] {
    HWND box = nullptr, text = nullptr;
    input::Waiting w;
    w.handleMessages = nullptr;  // this thread has no windows
    w.limitMs = 20000;
    const bool found = input::WaitUntil(
        [&] {
          box = FindWindowW(L"#32770", nullptr);
          if (!box || GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) return false;
          text = FindWindowExW(box, nullptr, L"Static", nullptr);
          while (text && GetWindowTextLengthW(text) == 0)
            text = FindWindowExW(box, text, L"Static", nullptr);
          return stop || text != nullptr;
        },
        w);
    if (!found || !text) return;  // no box: `shown` stays empty and the test says so
    shown = input::TextOf(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  // The Sand skin with its version field changed to one no reader knows.
  TMemoryStream packed(
      std::vector<uint8_t>(lbb::resources::SandSkin().begin(), lbb::resources::SandSkin().end()));
  TMemoryStream plain, block;
  DecompressBlock(packed, plain);
  const int32_t unknown = 10000;
  std::memcpy(plain.Bytes().data(), &unknown, sizeof unknown);
  CompressBlock(plain, block);
  TSkinData d(nullptr);
  d.LoadFromStream(block);
  stop = true;
  closer.join();
  SetSkinMessageHandler(nullptr);
  EXPECT_TRUE(d.Empty);
  // The box shows the CR as a line break.
  EXPECT_EQ(shown, L"This is Older Skin File\rPlease update to new version !");
}

TEST(SkinDataLoad, OnlyAFormOwnerIsAddedByAComponentOfAnotherFormType) {
  forms::Application->Initialize();
  AddFormRecorder m;
  SetSkinManager(&m);
  {
    forms::TForm form(nullptr);
    forms::TPanel* panel = new forms::TPanel(&form);
    panel->SetParent(&form);
    TSkinData onPanel(panel);
    onPanel.SetSkinFormtype(TSkinFormType::sfOnlyThisForm);
    TMemoryStream sand(
        std::vector<uint8_t>(lbb::resources::SandSkin().begin(), lbb::resources::SandSkin().end()));
    onPanel.LoadFromStream(sand);
    onPanel.SetActive(true);
    onPanel.Loaded();
    EXPECT_TRUE(m.added.empty());
    TSkinData onForm(&form);
    onForm.SetSkinFormtype(TSkinFormType::sfOnlyThisForm);
    sand.SetPosition(0);
    onForm.LoadFromStream(sand);
    onForm.SetActive(true);
    onForm.Loaded();
    ASSERT_EQ(m.added.size(), 1u);
    EXPECT_EQ(m.added[0], form.Handle());
  }
  SetSkinManager(nullptr);
}

}  // namespace
