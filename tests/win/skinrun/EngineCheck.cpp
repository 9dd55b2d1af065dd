// The check of skinrun's tests with the engine's own DLL: the engine answers that the window is
// skinned and the screen shows the skin's frame.
#include <windows.h>

#include <memory>
#include <span>

#include "forms/Graphics.h"
#include "forms/Screenshot.h"
#include "skin/data/FrameMatch.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinScale.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/skinrun/SkinrunSupport.h"
#include "tools/input/Input.h"

namespace lbb::skinrun::test {
namespace {

class EngineCheck : public SkinnedCheck {
 public:
  explicit EngineCheck(std::span<const uint8_t> skin) {
    const int dpi = forms::ScreenPixelsPerInch();
    model_.data.Write(skin.data(), skin.size());
    model_.SetTargetDpi(dpi);
    model_.ParseSkin();
    skin::ScaleSkinModel(model_, dpi);
  }
  ::testing::AssertionResult IsSkinned(HWND hwnd) const override {
    // The engine finishes a window's set-up after it first shows: both are waited for.
    bool answers = false;
    const bool shown = input::WaitUntil([&] {
      answers = SendMessageW(hwnd, skin::SKM_ISSKINNED, 0, 0) == 1;
      if (!answers) return false;
      RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
      return skin::FrameLookShown(forms::CaptureWindow(hwnd), model_) != 0;
    });
    if (!answers) return ::testing::AssertionFailure() << "the engine does not skin the window";
    if (!shown) return ::testing::AssertionFailure() << "the screen does not show the skin's frame";
    return ::testing::AssertionSuccess();
  }
  std::wstring Dll() const override { return WindowsPath(LBB_ENGINE_DLL); }

 private:
  skin::TSkinModel model_;
};

}  // namespace

std::unique_ptr<SkinnedCheck> EngineCheckFor(std::span<const uint8_t> skin) {
  return std::make_unique<EngineCheck>(skin);
}

}  // namespace lbb::skinrun::test
