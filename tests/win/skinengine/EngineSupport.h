// Helpers of the skin engine's tests: the application and the skin manager set up per test,
// a skin data component with a real skin, bounded message pumping, and plain windows whose
// procedure records every message that reaches it (the "previous procedure" of a skinner).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include <gtest/gtest.h>

#include "forms/Forms.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/WinSkinData.h"

namespace lbb::skin::test {

void EnsureApplication();
// Handles messages until `done` holds or about ten seconds of waiting have passed; returns
// `done()`.
bool PumpUntil(const std::function<bool()>& done);
// Handles messages until none is waiting (bounded).
void Settle();

// What reached a recording window's procedure.
struct TRawLog {
  struct Entry {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<Entry> seen;
  std::map<UINT, LRESULT> answers;  // messages answered with a fixed value
  bool swallowSysCommand = false;   // WM_SYSCOMMAND recorded, not acted on
  int Count(UINT msg) const;
  // The messages seen among `watch`, in order.
  std::vector<UINT> Only(const std::vector<UINT>& watch) const;
  void Clear() { seen.clear(); }
};

// Window classes of this program with the recording procedure.
constexpr const wchar_t* kRawClass = L"LbbEngineRaw";
constexpr const wchar_t* kPreviewClass = L"LbbEnginePreviewWnd";

// A window of a recording class; the log must outlive it.
HWND MakeRawWindow(TRawLog* log, DWORD style = WS_OVERLAPPEDWINDOW, DWORD exstyle = 0,
                   const wchar_t* cls = kRawClass, HWND parent = nullptr, HMENU menu = nullptr,
                   RECT bounds = {100, 100, 420, 340});

// A modeless dialog ("#32770") from a template in memory, with one button; `extraStyle` is
// added to its style.
HWND MakeDialog(DWORD extraStyle = 0);

// A skin data component holding `skin` (the built-in Slate skin by default), registered with
// the manager (its loaded step).
TSkinData* MakeSkinData(forms::TComponent* owner = nullptr,
                        TSkinFormType type = TSkinFormType::sfMainform,
                        std::span<const uint8_t> skin = {});

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Skinning switched on as after the first activation.
  void Start();
  // The skinner of `hwnd` has run its deferred initialisation.
  ::testing::AssertionResult WaitSkinned(HWND hwnd);
  // A shown window is skinned: by the hook as it was activated, else by hand.
  ::testing::AssertionResult SkinShown(HWND hwnd);

  TSkinManage* mgr = nullptr;
  TSkinData* data = nullptr;
  std::vector<HWND> windows;  // destroyed after each test
};

// A shown framework form of `width` x `height` skinned by the manager, and an owner for
// controls placed on it from outside the form (so that only an explicit mapping skins them;
// they go before the form).
class SkinnedFormTest : public EngineTest {
 protected:
  explicit SkinnedFormTest(int width = 360, int height = 240) : width_(width), height_(height) {}
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<forms::TComponent> owner = std::make_unique<forms::TComponent>(nullptr);
  std::unique_ptr<forms::TForm> form;
  TWinSkinForm* sf = nullptr;

 private:
  int width_, height_;
};

RECT ClientOf(HWND hwnd);

}  // namespace lbb::skin::test
