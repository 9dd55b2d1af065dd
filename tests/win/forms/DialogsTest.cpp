// The message dialog: its window class, icon, text and buttons, and its answers to real mouse
// and keyboard input while it runs modally.
#include <gtest/gtest.h>

#include <filesystem>

#include "forms/Application.h"
#include "forms/Dialogs.h"
#include "forms/Screenshot.h"
#include "forms/Timer.h"
#include "forms/WinText.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

// Runs `drive` once from a timer, which fires inside the modal loop of the dialog shown next.
class ModalDriver {
 public:
  explicit ModalDriver(std::function<void()> drive) : drive_(std::move(drive)) {
    timer_.SetInterval(20);
    timer_.OnTimer = [this](TObject*) {
      timer_.SetEnabled(false);
      ran_ = true;
      drive_();
    };
    timer_.SetEnabled(true);
  }
  bool Ran() const { return ran_; }

 private:
  TTimer timer_{nullptr};
  std::function<void()> drive_;
  bool ran_ = false;
};

// Waits until `dialog` shows modally, then makes it the foreground window (keys go there).
::testing::AssertionResult WaitActive(TCustomForm& dialog) {
  if (!test::PumpUntil([&] { return dialog.Modal() && dialog.Active(); })) {
    ADD_FAILURE() << "the dialog never became the active window";
    return ::testing::AssertionFailure();
  }
  return test::Check(lbb::input::BringToFront(dialog.WindowHandle(), test::Waiting()));
}

TEST(DialogsTest, MessageFormShowsIconTextAndCentredButtons) {
  test::EnsureApplication();
  const String text = u"Save the changes to the backup list?\n12 new articles were found.";
  auto dialog = CreateMessageDialog(text, TMsgDlgType::mtConfirmation, mbYesNoCancel);
  EXPECT_EQ(dialog->ClassName(), u"TMessageForm");
  EXPECT_FALSE(dialog->Visible());
  dialog->ShowForm();
  test::Settle();
  HWND hwnd = dialog->Handle();
  EXPECT_EQ(WindowClassName(hwnd), u"TMessageForm");
  EXPECT_EQ(WindowText(hwnd), u"Confirm");
  EXPECT_EQ(dialog->Message()->Caption(), text);
  ASSERT_NE(dialog->Image(), nullptr);
  EXPECT_EQ(dialog->Image()->Icon(), LoadIconW(nullptr, IDI_QUESTION));

  ASSERT_EQ(dialog->ButtonCount(), 3);
  const char16_t* captions[] = {u"&Yes", u"&No", u"Cancel"};
  const int results[] = {mrYes, mrNo, mrCancel};
  for (int i = 0; i < 3; ++i) {
    TButton* b = dialog->Buttons(i);
    EXPECT_EQ(b->Caption(), captions[i]);
    EXPECT_EQ(b->ModalResult(), results[i]);
    EXPECT_EQ(WindowText(b->Handle()), captions[i]);
    EXPECT_EQ(b->Top(), dialog->Buttons(0)->Top()) << "buttons stand in one row";
    if (i > 0) {
      EXPECT_GT(b->Left(), dialog->Buttons(i - 1)->Left() + dialog->Buttons(i - 1)->Width());
    }
  }
  EXPECT_TRUE(dialog->Button(mbYes)->Default());
  EXPECT_TRUE(dialog->Button(mbCancel)->Cancel());
  EXPECT_EQ(dialog->Button(mbOK), nullptr);
  // Centred at the bottom, below the text and the icon.
  const RECT client = dialog->ClientRect();
  const int64_t leftGap = dialog->Buttons(0)->Left();
  const int64_t rightGap =
      client.right - (dialog->Buttons(2)->Left() + dialog->Buttons(2)->Width());
  EXPECT_LE(std::abs(leftGap - rightGap), 1);
  const RECT label = dialog->Message()->BoundsRect();
  const RECT icon = dialog->Image()->BoundsRect();
  EXPECT_GT(dialog->Buttons(0)->Top(), label.bottom);
  EXPECT_GT(dialog->Buttons(0)->Top(), icon.bottom);
  EXPECT_GE(label.left, icon.right);
  EXPECT_LE(label.right, client.right);
  EXPECT_LE(dialog->Buttons(0)->Top() + dialog->Buttons(0)->Height(), client.bottom);
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  EXPECT_TRUE(SaveWindowPng(hwnd, LBB_SCREENSHOT_DIR "/message-dialog.png"));
}

TEST(DialogsTest, CaptionAndIconFollowTheKind) {
  test::EnsureApplication();
  Application->SetTitle(u"Gallery title");
  struct Case {
    TMsgDlgType type;
    const char16_t* caption;
    LPCWSTR icon;
  };
  const Case cases[] = {{TMsgDlgType::mtWarning, u"Warning", IDI_WARNING},
                        {TMsgDlgType::mtError, u"Error", IDI_ERROR},
                        {TMsgDlgType::mtInformation, u"Information", IDI_INFORMATION},
                        {TMsgDlgType::mtConfirmation, u"Confirm", IDI_QUESTION},
                        {TMsgDlgType::mtCustom, u"Gallery title", nullptr}};
  for (const Case& c : cases) {
    auto dialog = CreateMessageDialog(u"text", c.type, mbOK);
    EXPECT_EQ(WindowText(dialog->Handle()), c.caption);
    if (c.icon) {
      ASSERT_NE(dialog->Image(), nullptr);
      EXPECT_EQ(dialog->Image()->Icon(), LoadIconW(nullptr, c.icon));
    } else {
      EXPECT_EQ(dialog->Image(), nullptr);
    }
    // The only answer OK is also the one Escape gives.
    EXPECT_TRUE(dialog->Button(mbOK)->Default());
    EXPECT_TRUE(dialog->Button(mbOK)->Cancel());
  }
  Application->SetTitle(u"");
}

TEST(DialogsTest, ClickingAButtonReturnsItsModalResult) {
  test::EnsureApplication();
  auto dialog =
      CreateMessageDialog(u"Delete the article?", TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel);
  ModalDriver driver([&] {
    if (WaitActive(*dialog)) test::ClickAt(dialog->Button(mbNo)->Handle(), POINT{10, 8});
  });
  EXPECT_EQ(dialog->ShowModal(), mrNo);
  EXPECT_TRUE(driver.Ran());
  EXPECT_FALSE(dialog->Visible());
}

TEST(DialogsTest, MessageDlgRunsTheDialogModallyAndAnswersTheButtonPressed) {
  test::EnsureApplication();
  String seenClass;
  ModalDriver driver([&] {
    HWND box = nullptr;
    test::PumpUntil([&] { return (box = FindWindowW(L"TMessageForm", nullptr)) != nullptr; });
    auto* dialog = dynamic_cast<TMessageForm*>(Screen->FindForm(box));
    if (!dialog || !WaitActive(*dialog)) return;
    seenClass = WindowClassName(box);
    test::ClickAt(dialog->Button(mbRetry)->Handle(), POINT{10, 8});
  });
  EXPECT_EQ(MessageDlg(u"The host did not answer.", TMsgDlgType::mtError,
                       mbAbort | mbRetry | mbIgnore, 0),
            mrRetry);
  EXPECT_EQ(seenClass, u"TMessageForm");
}

TEST(DialogsTest, EscapeAndEnterAnswerAsThePlatformsMessageBoxDoes) {
  test::EnsureApplication();
  {
    auto dialog = CreateMessageDialog(u"Escape", TMsgDlgType::mtConfirmation, mbYesNoCancel);
    ModalDriver driver([&] {
      if (WaitActive(*dialog)) test::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
  }
  {
    // Enter presses the focused button: at first the first one.
    auto dialog = CreateMessageDialog(u"Enter", TMsgDlgType::mtConfirmation, mbYesNoCancel);
    ModalDriver driver([&] {
      if (WaitActive(*dialog)) test::PressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog->ShowModal(), mrYes);
  }
  {
    // Tab moves the focus to No; Enter presses No. Without Cancel, Escape does nothing.
    auto dialog = CreateMessageDialog(u"Yes or no", TMsgDlgType::mtConfirmation, mbYes | mbNo);
    int afterEscape = -1;
    ModalDriver driver([&] {
      if (!WaitActive(*dialog)) return;
      test::PressKey(VK_ESCAPE);
      afterEscape = dialog->ModalResult();
      test::PressKey(VK_TAB);
      if (test::PumpUntil([&] { return dialog->Button(mbNo)->Focused(); })) {
        test::PressKey(VK_RETURN);
      }
    });
    EXPECT_EQ(dialog->ShowModal(), mrNo);
    EXPECT_EQ(afterEscape, mrNone);
  }
}

}  // namespace
}  // namespace lbb::forms
