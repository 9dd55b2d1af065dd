// The framework's message dialog under the skin: a title wider than the dialog widens it to
// the title's width plus the skin's caption margins, and its controls move right by half the
// widening, so they stay centred; a title that fits leaves the client area as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "forms/Dialogs.h"
#include "skin/data/SkinModel.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {
namespace {

class DialogWiden : public EngineTest {
 protected:
  // The dialog shown without a modal loop and skinned; its window.
  HWND ShowSkinned(forms::TMessageForm& dialog) {
    dialog.Show();
    const HWND hwnd = dialog.Handle();
    EXPECT_TRUE(SkinShown(hwnd));
    return hwnd;
  }
  // The left edge of the dialog's button in its client area; -1 without one.
  static int ButtonLeft(HWND dialog) {
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      wchar_t cls[32];
      GetClassNameW(c, cls, 32);
      if (std::wstring(cls).find(L"Button") == std::wstring::npos) continue;
      RECT r{};
      GetWindowRect(c, &r);
      POINT p{r.left, r.top};
      ScreenToClient(dialog, &p);
      return p.x;
    }
    return -1;
  }
  static int WidthOf(HWND hwnd) {
    RECT w{};
    GetWindowRect(hwnd, &w);
    return w.right - w.left;
  }
};

TEST_F(DialogWiden, ALongTitleWidensTheDialogAndMovesItsControlsByHalf) {
  Start();
  auto dialog =
      forms::CreateMessageDialog(u"Done.", forms::TMsgDlgType::mtInformation, forms::mbOK);
  dialog->SetCaption(u"A title much longer than the two words of this short message, for sure");
  dialog->HandleNeeded();
  const int clientBefore = ClientOf(dialog->Handle()).right;
  const int buttonBefore = ButtonLeft(dialog->Handle());
  ASSERT_GE(buttonBefore, 0);
  const HWND hwnd = ShowSkinned(*dialog);
  TWinSkinForm* sf = mgr->FindForm(hwnd);
  ASSERT_NE(sf, nullptr);
  ASSERT_TRUE(sf->IsMessageBox());
  const TDataSkinTitle& title = *data->Title;
  ASSERT_GT(sf->CharWidth(), 0) << "the title was not measured";
  const int needed = title.r.Left + sf->CharWidth() + title.r.Right;
  EXPECT_GE(WidthOf(hwnd), needed) << "the title does not fit";
  const int widened = ClientOf(hwnd).right - clientBefore;
  ASSERT_GT(widened, 0) << "the dialog was not widened";
  EXPECT_NEAR(ButtonLeft(hwnd) - buttonBefore, widened / 2, 1)
      << "the button was not moved right by half the widening";
  dialog->Close();
  Settle();
}

TEST_F(DialogWiden, AShortTitleKeepsTheClientAreaAndTheControls) {
  Start();
  auto dialog = forms::CreateMessageDialog(u"The host did not answer in time.",
                                           forms::TMsgDlgType::mtError, forms::mbOK);
  dialog->SetCaption(u"Error");
  dialog->HandleNeeded();
  const RECT before = ClientOf(dialog->Handle());
  const int buttonBefore = ButtonLeft(dialog->Handle());
  const HWND hwnd = ShowSkinned(*dialog);
  const RECT after = ClientOf(hwnd);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
  EXPECT_EQ(ButtonLeft(hwnd), buttonBefore);
  dialog->Close();
  Settle();
}

}  // namespace
}  // namespace lbb::skin::test
