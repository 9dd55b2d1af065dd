// Exceptions at the window boundary: the message gets its default handling, the error is
// recorded, and an error box shows only outside painting and one at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Text.h"
#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "forms/Timer.h"
#include "forms/WinText.h"
#include "forms/WindowProcHook.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

BOOL CALLBACK AddShowingBox(HWND w, LPARAM lp) {
  if (IsWindowVisible(w) && WindowClassName(w) == u"#32770") {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  }
  return TRUE;
}

// The message boxes of this thread that are showing.
std::vector<HWND> ErrorBoxes() {
  std::vector<HWND> boxes;
  EnumThreadWindows(GetCurrentThreadId(), &AddShowingBox, reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

class WindowGuardTest : public test::FormTest {
 protected:
  void TearDown() override {
    Application->OnException = nullptr;
    test::FormTest::TearDown();
  }
};

TEST_F(WindowGuardTest, ThrowingPaintIsValidatedRecordedAndShowsNoError) {
  auto* panel = test::Place<TWinControl>(form, 10, 10, 120, 80);
  int paints = 0;
  bool throwing = true;
  // Thrown before the control's own painting begins: only the default handling can
  // validate the window now.
  const String what = u"画图失败 — paint failed";
  TWindowProcHook thrower([&](TMessage& m) {
    if (m.Msg == WM_PAINT) {
      ++paints;
      if (throwing) throw std::runtime_error(TextToUtf8(what));
    }
    thrower.CallPrevious(m);
  });
  thrower.Install(*panel);
  std::vector<String> shown;
  Application->OnException = [&](const String& text) { shown.push_back(text); };
  Show();
  const int before = Application->ErrorCount();
  paints = 0;
  InvalidateRect(panel->Handle(), nullptr, TRUE);
  ASSERT_TRUE(test::PumpUntil([&] { return paints >= 1; }));
  test::Settle();
  // One invalidation, a bounded number of paints: the failed paint validated the window.
  EXPECT_LE(paints, 2);
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(panel->Handle(), &update, FALSE));
  EXPECT_GE(Application->ErrorCount(), before + 1);
  EXPECT_EQ(Application->LastErrorText(), what);  // UTF-8 read as such
  EXPECT_TRUE(shown.empty());
  EXPECT_TRUE(ErrorBoxes().empty());
  // Painting works again once the fault is gone.
  throwing = false;
  paints = 0;
  InvalidateRect(panel->Handle(), nullptr, TRUE);
  ASSERT_TRUE(test::PumpUntil([&] { return paints >= 1; }));
  EXPECT_FALSE(GetUpdateRect(panel->Handle(), &update, FALSE));
}

TEST_F(WindowGuardTest, ThrowingClickShowsOneBoxAndErrorsWhileItShowsAreOnlyRecorded) {
  auto* button = test::Place<TButton>(form, 220, 160, 100, 30);
  button->SetCaption(u"Go");
  button->OnClick = [](TObject*) { throw std::runtime_error(TextToUtf8(u"第一 first")); };
  Show();
  const int before = Application->ErrorCount();
  // Runs inside the box's own message loop: throws once while the box shows, then closes it.
  struct Seen {
    size_t mostBoxes = 0;
    String textWhenOpen, caption;
    bool thrown = false, closed = false;
  } seen;
  TTimer watcher(nullptr);
  watcher.SetInterval(20);
  watcher.OnTimer = [&](TObject*) {
    std::vector<HWND> boxes = ErrorBoxes();
    seen.mostBoxes = std::max(seen.mostBoxes, boxes.size());
    if (boxes.empty() || seen.closed) return;
    if (!seen.thrown) {
      seen.thrown = true;
      seen.textWhenOpen = Application->LastErrorText();
      seen.caption = WindowText(boxes.front());
      throw std::runtime_error("second");
    }
    seen.closed = true;
    for (HWND box : boxes)
      PostMessageW(box, WM_CLOSE, 0, 0);
  };
  watcher.SetEnabled(true);
  test::ClickAt(button->Handle(), POINT{30, 12});
  ASSERT_TRUE(test::PumpUntil([&] { return seen.closed && ErrorBoxes().empty(); }));
  watcher.SetEnabled(false);
  EXPECT_EQ(seen.mostBoxes, 1u);
  EXPECT_EQ(seen.textWhenOpen, u"第一 first");
  EXPECT_EQ(seen.caption, Application->Title());
  EXPECT_EQ(Application->ErrorCount(), before + 2);
  EXPECT_EQ(Application->LastErrorText(), u"second");
}

TEST_F(WindowGuardTest, OnExceptionTakesTheErrorsInsteadOfTheBox) {
  auto* button = test::Place<TButton>(form, 220, 160, 100, 30);
  int clicks = 0;
  button->OnClick = [&](TObject*) {
    ++clicks;
    throw 42;  // not a std::exception
  };
  std::vector<String> shown;
  Application->OnException = [&](const String& text) { shown.push_back(text); };
  Show();
  test::ClickAt(button->Handle(), POINT{30, 12});
  ASSERT_TRUE(test::PumpUntil([&] { return !shown.empty(); }));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(shown, (std::vector<String>{u"Unexpected error"}));
  EXPECT_TRUE(ErrorBoxes().empty());
}

}  // namespace
}  // namespace lbb::forms
