// Helpers of the skinned buttons' tests: a form skinned with the built-in skin whose buttons
// get their skinners by hand (Tag 99 keeps the control-kind mapping off them), real mouse
// presses held down, and readings of the screen: which frame of the skin's Button element a
// button shows, and where its ink (text, glyph) lies.
#pragma once

#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "base/PixelBuffer.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "skin/controls/WinSkinButtons.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {

// The tag that keeps the control-kind mapping away from a control.
constexpr int kNotMapped = 99;

class ButtonTest : public EngineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A control of class C on the form, not mapped to a skinner; the form owns it.
  template <class C>
  C* Add(int left, int top, int width, int height) {
    auto* c = forms::Place<C>(form, left, top, width, height);
    c->SetTag(kNotMapped);
    return c;
  }
  // Shows the form, skins it and brings it to the front; afterwards `sf` is its skinner.
  void ShowSkinned();
  // A skinner of class S attached to `c` as the form skinner attaches it.
  template <class S>
  S* Skin(forms::TWinControl* c) {
    auto* s = new S(c);
    s->Init(sf, data, sf->HostCanvas(), false);
    return s;
  }
  TSkinSpeedButton* SkinSpeed(forms::TGraphicControl* c);

  // The window's pixels on the screen, once pending paints are done.
  static PixelBuffer Shot(HWND hwnd);
  // The Button element's frame `frame` rendered at w x h, as the skin draws it.
  PixelBuffer Rendered(int frame, int w, int h) const;
  // Which of the Button element's five frames the window shows along its edges (a ring three
  // pixels wide, outside any caption or focus rectangle): each frame has its own outline
  // there. 0 when none matches, -1 when several do.
  int FrameShown(HWND hwnd) const;
  int FrameShown(const PixelBuffer& shot) const;
  // Waits until the window shows `frame`; fails the test with what it showed instead.
  ::testing::AssertionResult ShowsFrame(HWND hwnd, int frame) const;
  // A point of the form away from every control.
  POINT Away() const { return POINT{400, 300}; }

  forms::TForm* form = nullptr;
  // The first control in the tab order: it holds the focus after the form is shown, so no
  // button is focused unless a test focuses it.
  forms::TEdit* sink = nullptr;
  TWinSkinForm* sf = nullptr;
};

// The left mouse button pressed (released) by real input; waits until this thread has taken it.
::testing::AssertionResult PressLeft();
::testing::AssertionResult ReleaseLeft();
// A key held down and let go again by real input, each waited for.
::testing::AssertionResult KeyDown(WORD vk);
::testing::AssertionResult KeyUp(WORD vk);

// The middle of a control in its window's client coordinates.
POINT Middle(HWND hwnd);

// Rows [first, last] holding ink: pixels of `shot` that differ from `plain` (the same picture
// without text or glyph) inside `area`.
struct TInkRows {
  int first = 0;
  int last = 0;
};
std::vector<TInkRows> InkRowGroups(const PixelBuffer& shot, const PixelBuffer& plain,
                                   const RECT& area);
// The bounding box of the pixels of `shot` equal to `colour` (0x00RRGGBB), inside `area`;
// empty when there is none.
RECT BoxOf(const PixelBuffer& shot, Pixel colour, const RECT& area);
// The bounding box of the pixels that differ from `plain` and are not `except`, inside `area`.
RECT InkBox(const PixelBuffer& shot, const PixelBuffer& plain, Pixel except, const RECT& area);

}  // namespace lbb::skin::test
