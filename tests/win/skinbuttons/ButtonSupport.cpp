#include "tests/win/skinbuttons/ButtonSupport.h"

#include <algorithm>

#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/imgutil.h"
#include "tools/input/Input.h"

namespace lbb::skin::test {

namespace {

lbb::input::Waiting Waiting() {
  lbb::input::Waiting w;
  w.handleMessages = [] { forms::Application->ProcessMessages(); };
  return w;
}

bool KeyIsDown(int vk) {
  return (GetKeyState(vk) & 0x8000) != 0;
}

::testing::AssertionResult SendAndWait(INPUT in, const std::function<bool()>& taken,
                                       const char* what) {
  if (SendInput(1, &in, sizeof in) != 1)
    return ::testing::AssertionFailure() << "SendInput refused: " << what;
  if (lbb::input::WaitUntil(taken, Waiting())) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "this thread never took: " << what;
}

::testing::AssertionResult Mouse(DWORD flags, bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  return SendAndWait(
      in, [down] { return KeyIsDown(VK_LBUTTON) == down; },
      down ? "the left button going down" : "the left button coming up");
}

::testing::AssertionResult Key(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  return SendAndWait(
      in, [vk, down] { return KeyIsDown(vk) == down; },
      down ? "a key going down" : "a key coming up");
}

bool Inside(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

RECT Clip(const RECT& area, const PixelBuffer& a) {
  return RECT{std::max(0L, area.left), std::max(0L, area.top),
              std::min<LONG>(a.Width(), area.right), std::min<LONG>(a.Height(), area.bottom)};
}

void Grow(RECT& box, int x, int y) {
  if (box.right <= box.left) {
    box = RECT{x, y, x + 1, y + 1};
    return;
  }
  box.left = std::min<LONG>(box.left, x);
  box.top = std::min<LONG>(box.top, y);
  box.right = std::max<LONG>(box.right, x + 1);
  box.bottom = std::max<LONG>(box.bottom, y + 1);
}

}  // namespace

void ButtonTest::SetUp() {
  EngineTest::SetUp();
  Start();
  form = new forms::TForm(nullptr);
  form->SetBounds(100, 100, 460, 360);
  form->SetCaption(u"Skinned buttons");
  sink = Add<forms::TEdit>(300, 250, 80, 22);
}

void ButtonTest::TearDown() {
  delete form;
  form = nullptr;
  Settle();
  EngineTest::TearDown();
}

void ButtonTest::ShowSkinned() {
  form->ShowForm();
  ASSERT_TRUE(SkinShown(form->Handle()));
  sf = mgr->FindForm(form->Handle());
  ASSERT_NE(sf, nullptr);
  ASSERT_TRUE(lbb::input::BringToFront(form->Handle(), Waiting()).ok());
  sink->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == sink->Handle(); }));
  // The mouse starts away from every control.
  POINT away = Away();
  ClientToScreen(form->Handle(), &away);
  ASSERT_TRUE(lbb::input::MoveMouse(away, Waiting()).ok());
  Settle();
}

TSkinSpeedButton* ButtonTest::SkinSpeed(forms::TGraphicControl* c) {
  auto* s = new TSkinSpeedButton(c);
  s->InitGraphicControl(sf, data, sf->HostCanvas());
  return s;
}

PixelBuffer ButtonTest::Shot(HWND hwnd) {
  Settle();
  return forms::CaptureWindow(hwnd);
}

PixelBuffer ButtonTest::Rendered(int frame, int w, int h) const {
  const TDataSkinButton& b = *data->Button;
  return RenderSkinImage(TRect{0, 0, w, h}, b.Map, b.r, false, b.Tile == 1, 5, frame);
}

int ButtonTest::FrameShown(HWND hwnd) const {
  return FrameShown(forms::CaptureWindow(hwnd));
}

int ButtonTest::FrameShown(const PixelBuffer& shot) const {
  const int w = shot.Width(), h = shot.Height();
  if (w < 8 || h < 8) return 0;
  int found = 0;
  for (int frame = 1; frame <= 5; ++frame) {
    const PixelBuffer expected = Rendered(frame, w, h);
    bool same = true;
    for (int y = 0; y < h && same; ++y)
      for (int x = 0; x < w && same; ++x) {
        const bool ring = x < 3 || y < 3 || x >= w - 3 || y >= h - 3;
        if (ring && (shot.At(x, y) & 0xFFFFFF) != (expected.At(x, y) & 0xFFFFFF)) same = false;
      }
    if (same) found = found ? -1 : frame;
  }
  return found;
}

::testing::AssertionResult ButtonTest::ShowsFrame(HWND hwnd, int frame) const {
  int shown = 0;
  if (PumpUntil([&] { return (shown = FrameShown(hwnd)) == frame; }))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the button shows frame " << shown << " instead of "
                                       << frame << " (0: no frame of the skin, -1: ambiguous)";
}

::testing::AssertionResult PressLeft() {
  return Mouse(MOUSEEVENTF_LEFTDOWN, true);
}

::testing::AssertionResult ReleaseLeft() {
  return Mouse(MOUSEEVENTF_LEFTUP, false);
}

::testing::AssertionResult KeyDown(WORD vk) {
  return Key(vk, true);
}

::testing::AssertionResult KeyUp(WORD vk) {
  return Key(vk, false);
}

POINT Middle(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return POINT{r.right / 2, r.bottom / 2};
}

std::vector<TInkRows> InkRowGroups(const PixelBuffer& shot, const PixelBuffer& plain,
                                   const RECT& area) {
  const RECT a = Clip(area, shot);
  std::vector<TInkRows> groups;
  for (int y = a.top; y < a.bottom; ++y) {
    bool ink = false;
    for (int x = a.left; x < a.right && !ink; ++x)
      ink = (shot.At(x, y) & 0xFFFFFF) != (plain.At(x, y) & 0xFFFFFF);
    if (!ink) continue;
    if (!groups.empty() && groups.back().last == y - 1) {
      groups.back().last = y;
    } else {
      groups.push_back({y, y});
    }
  }
  return groups;
}

RECT BoxOf(const PixelBuffer& shot, Pixel colour, const RECT& area) {
  const RECT a = Clip(area, shot);
  RECT box{};
  for (int y = a.top; y < a.bottom; ++y)
    for (int x = a.left; x < a.right; ++x)
      if ((shot.At(x, y) & 0xFFFFFF) == colour) Grow(box, x, y);
  return box;
}

RECT InkBox(const PixelBuffer& shot, const PixelBuffer& plain, Pixel except, const RECT& area) {
  const RECT a = Clip(area, shot);
  RECT box{};
  for (int y = a.top; y < a.bottom; ++y)
    for (int x = a.left; x < a.right; ++x) {
      const Pixel p = shot.At(x, y) & 0xFFFFFF;
      if (p != (plain.At(x, y) & 0xFFFFFF) && p != except && Inside(a, x, y)) Grow(box, x, y);
    }
  return box;
}

}  // namespace lbb::skin::test
