// The skin gallery's main form with the skin manager running: every control kind it holds is
// skinned, each still does its job under real mouse and keyboard input (check box, radio
// button, combo box, tabs, track bar, up-down), switching skins back and forth leaves every
// control working and no object behind, and the platform's file-open dialog is skinned as a
// bare dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "base/win/WideText.h"
#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "skin/controls/WinSubClass.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/forms/GuiObjects.h"
#include "tests/win/skinbuttons/ButtonSupport.h"
#include "tools/gallery/SkinGalleryForm.h"

namespace lbb::gallery::test {
namespace {

using namespace lbb::skin;
namespace ft = lbb::forms::test;

class GalleryControls : public ::testing::Test {
 protected:
  // One skin manager for the whole program, as in the gallery.
  static void SetUpTestSuite() {
    ft::EnsureApplication();
    UseSkinManager();
  }
  static void TearDownTestSuite() {
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
    ft::Settle();
  }
  void SetUp() override {
    form = new TSkinGalleryForm(forms::Application);
    form->Show();
    ASSERT_TRUE(Skinned()) << "the gallery was not skinned";
    ASSERT_TRUE(ft::Check(input::BringToFront(form->Handle(), ft::Waiting())));
    ft::Settle();
  }
  void TearDown() override {
    delete form;
    ft::Settle();
  }
  // Waits until the form skinner has finished with the form.
  bool Skinned() {
    return ft::PumpUntil([&] {
      TSkinManage* m = SkinManagerInstance();
      TWinSkinForm* sf = m && form->HandleAllocated() ? m->FindForm(form->Handle()) : nullptr;
      return sf && sf->Skinstate == kSkinIdle && sf->Subclassed();
    });
  }
  static bool IsSkinned(HWND hwnd) { return SendMessageW(hwnd, SKM_ISSKINNED, 0, 0) == 1; }
  // A real click in the middle of a rectangle of `hwnd`'s client area.
  static ::testing::AssertionResult ClickIn(HWND hwnd, const RECT& r) {
    return ft::ClickAt(hwnd, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }

  TSkinGalleryForm* form = nullptr;
};

TEST_F(GalleryControls, EveryControlKindOfTheFormIsSkinned) {
  TSkinGalleryForm& f = *form;
  const std::pair<const char*, forms::TWinControl*> controls[] = {
      {"Edit1", f.Edit1},
      {"Button1", f.Button1},
      {"BitBtn1", f.BitBtn1},
      {"MenuButton1", f.MenuButton1},
      {"GroupBox1", f.GroupBox1},
      {"CheckBox1", f.CheckBox1},
      {"CheckBox2", f.CheckBox2},
      {"RadioButton1", f.RadioButton1},
      {"RadioButton2", f.RadioButton2},
      {"Panel1", f.Panel1},
      {"ComboBox1", f.ComboBox1},
      {"Edit2", f.Edit2},
      {"UpDown1", f.UpDown1},
      {"ScrollBar1", f.ScrollBar1},
      {"ProgressBar1", f.ProgressBar1},
      {"TrackBar1", f.TrackBar1},
      {"PageControl1", f.PageControl1},
      {"TabSheet1", f.TabSheet1},
      {"Memo1", f.Memo1},
      {"ListView1", f.ListView1},
      {"StatusBar1", f.StatusBar1},
      {"NestPanel", f.NestPanel},
      {"TabSet1", f.TabSet1},
      {"MediaPlayer1", f.MediaPlayer1},
      {"DateTimePicker1", f.DateTimePicker1},
  };
  for (const auto& [name, control] : controls) {
    ASSERT_NE(control, nullptr) << name;
    EXPECT_TRUE(IsSkinned(control->Handle())) << name << " is not skinned";
  }
  forms::SaveWindowPng(form->Handle(),
                       std::string(LBB_SCREENSHOT_DIR) + "/skinned-gallery-controls.png");
}

TEST_F(GalleryControls, CheckBoxAndRadioButtonTickWithTheMouse) {
  forms::TCheckBox* box = form->CheckBox1;
  const bool was = box->Checked();
  ASSERT_TRUE(ft::ClickAt(box->Handle(), POINT{6, 8}));
  EXPECT_TRUE(ft::PumpUntil([&] { return box->Checked() != was; })) << "the box did not change";
  ASSERT_FALSE(form->RadioButton2->Checked());
  ASSERT_TRUE(ft::ClickAt(form->RadioButton2->Handle(), POINT{6, 8}));
  EXPECT_TRUE(ft::PumpUntil([&] { return form->RadioButton2->Checked(); }));
  EXPECT_FALSE(form->RadioButton1->Checked()) << "the group's other button stayed on";
}

TEST_F(GalleryControls, ComboBoxPicksWithTheMouseAndTheKeyboard) {
  forms::TComboBox* combo = form->ComboBox1;
  const HWND h = combo->Handle();
  ASSERT_EQ(combo->ItemIndex(), 1);
  // The mouse: open the list on the button, pick the first item.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(h, &info));
  ASSERT_TRUE(ClickIn(h, info.rcButton));
  ASSERT_TRUE(ft::PumpUntil([&] { return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0; }))
      << "the list did not open";
  forms::SaveWindowPng(form->Handle(),
                       std::string(LBB_SCREENSHOT_DIR) + "/skinned-gallery-combo-open.png");
  RECT item{};
  ASSERT_NE(SendMessageW(info.hwndList, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)),
            LB_ERR);
  ASSERT_TRUE(ClickIn(info.hwndList, item));
  EXPECT_TRUE(ft::PumpUntil([&] { return combo->ItemIndex() == 0; })) << combo->ItemIndex();
  EXPECT_TRUE(ft::PumpUntil([&] { return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) == 0; }));
  // The keyboard: Down and Up on the focused box step through the items.
  ASSERT_TRUE(ft::Check(input::BringToFront(form->Handle(), ft::Waiting())));
  combo->SetFocus();
  ASSERT_TRUE(ft::PumpUntil([&] { return GetFocus() == h || IsChild(h, GetFocus()); }));
  ASSERT_TRUE(ft::PressKey(VK_DOWN));
  ASSERT_TRUE(ft::PressKey(VK_DOWN));
  EXPECT_TRUE(ft::PumpUntil([&] { return combo->ItemIndex() == 2; })) << combo->ItemIndex();
  ASSERT_TRUE(ft::PressKey(VK_UP));
  EXPECT_TRUE(ft::PumpUntil([&] { return combo->ItemIndex() == 1; })) << combo->ItemIndex();
}

TEST_F(GalleryControls, TabsSwitchWithTheMouse) {
  forms::TPageControl* pages = form->PageControl1;
  ASSERT_EQ(pages->ActivePage(), form->TabSheet1);
  RECT tab{};
  ASSERT_TRUE(SendMessageW(pages->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab)));
  ASSERT_TRUE(ClickIn(pages->Handle(), tab));
  EXPECT_TRUE(ft::PumpUntil([&] { return pages->ActivePage() == form->TabSheet2; }));
  EXPECT_TRUE(ft::PumpUntil([&] { return IsWindowVisible(form->TabSheet2->Handle()) != 0; }));
  ASSERT_TRUE(SendMessageW(pages->Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab)));
  ASSERT_TRUE(ClickIn(pages->Handle(), tab));
  EXPECT_TRUE(ft::PumpUntil([&] { return pages->ActivePage() == form->TabSheet1; }));
}

TEST_F(GalleryControls, TrackBarThumbDragsWithTheMouse) {
  forms::TTrackBar* track = form->TrackBar1;
  const HWND h = track->Handle();
  const int64_t before = track->Position();
  RECT thumb{};
  SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  ASSERT_GT(thumb.right, thumb.left);
  const POINT from{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  ASSERT_TRUE(ft::MoveMouseTo(h, from));
  ASSERT_TRUE(skin::test::PressLeft());
  ASSERT_TRUE(ft::MoveMouseTo(h, POINT{from.x + 60, from.y}));
  ASSERT_TRUE(skin::test::ReleaseLeft());
  EXPECT_TRUE(ft::PumpUntil([&] { return track->Position() > before; }))
      << "the thumb did not move: " << track->Position();
  // The keyboard moves it as well.
  const int64_t dragged = track->Position();
  ASSERT_TRUE(ft::PressKey(VK_LEFT));
  EXPECT_TRUE(ft::PumpUntil([&] { return track->Position() == dragged - 1; }));
}

TEST_F(GalleryControls, UpDownStepsTheAssociatedEdit) {
  forms::TUpDown* updown = form->UpDown1;
  const HWND h = updown->Handle();
  ASSERT_EQ(updown->Position(), 7);
  RECT r{};
  GetClientRect(h, &r);
  RECT upper = r, lower = r;
  upper.bottom = r.bottom / 2;
  lower.top = r.bottom / 2 + 1;
  ASSERT_TRUE(ClickIn(h, upper));
  EXPECT_TRUE(ft::PumpUntil([&] { return updown->Position() == 8; })) << updown->Position();
  EXPECT_TRUE(ft::PumpUntil([&] { return form->Edit2->Text() == u"8"; }));
  ASSERT_TRUE(ClickIn(h, lower));
  ASSERT_TRUE(ClickIn(h, lower));
  EXPECT_TRUE(ft::PumpUntil([&] { return updown->Position() == 6; })) << updown->Position();
  EXPECT_TRUE(ft::PumpUntil([&] { return form->Edit2->Text() == u"6"; }));
}

// Slate, Sand, no skin, Slate again.
void SwitchSkins(TSkinGalleryForm& f, const std::function<bool()>& skinned) {
  ASSERT_TRUE(f.UseSkin(TGallerySkin::gsSand));
  ASSERT_TRUE(skinned());
  f.SetSkinning(false);
  ft::Settle();
  ASSERT_TRUE(f.UseSkin(TGallerySkin::gsSlate));
  f.SetSkinning(true);
  ASSERT_TRUE(skinned());
  ft::Settle();
}

TEST_F(GalleryControls, SwitchingSkinsLeavesControlsWorkingAndNoObjectsBehind) {
  const auto skinned = [this] { return Skinned(); };
  // The first round fills what is made once and kept (font and brush caches).
  SwitchSkins(*form, skinned);
  const ft::GuiObjects before = ft::CountGuiObjects();
  for (int round = 0; round < 2; ++round)
    SwitchSkins(*form, skinned);
  const ft::GuiObjects after = ft::CountGuiObjects();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_TRUE(IsSkinned(form->CheckBox1->Handle()));
  ASSERT_TRUE(ft::Check(input::BringToFront(form->Handle(), ft::Waiting())));
  const bool was = form->CheckBox1->Checked();
  ASSERT_TRUE(ft::ClickAt(form->CheckBox1->Handle(), POINT{6, 8}));
  EXPECT_TRUE(ft::PumpUntil([&] { return form->CheckBox1->Checked() != was; }));
}

// What the watcher saw of the file-open dialog before it closed it.
struct DialogSeen {
  std::mutex lock;
  bool dialog = false, buttons = false, closed = false;
  int skinnedChildren = 0;
};

struct ChildCount {
  int buttons = 0, skinned = 0, skinnedButtons = 0;
};

LRESULT Ask(HWND hwnd, UINT msg) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, 0, 0, SMTO_ABORTIFHUNG, 2000, &result)) return 0;
  return static_cast<LRESULT>(result);
}

BOOL CALLBACK CountChild(HWND hwnd, LPARAM lp) {
  auto& c = *reinterpret_cast<ChildCount*>(lp);
  wchar_t cls[32];
  GetClassNameW(hwnd, cls, 32);
  const bool skinned = Ask(hwnd, SKM_ISSKINNED) == 1;
  c.skinned += skinned;
  if (std::wstring(cls) == L"Button" && IsWindowVisible(hwnd)) {
    ++c.buttons;
    c.skinnedButtons += skinned;
  }
  return TRUE;
}

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp) {
  wchar_t cls[16];
  GetClassNameW(hwnd, cls, 16);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd))
    return TRUE;
  *reinterpret_cast<HWND*>(lp) = hwnd;
  return FALSE;
}

void WatchFileDialog(DialogSeen& seen) {
  input::Waiting w;
  w.handleMessages = nullptr;  // this thread has no windows
  HWND dialog = nullptr;
  if (!input::WaitUntil(
          [&] {
            EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&dialog));
            return dialog != nullptr;
          },
          w))
    return;
  ChildCount c;
  const bool skinned = input::WaitUntil(
      [&] {
        c = ChildCount{};
        EnumChildWindows(dialog, &CountChild, reinterpret_cast<LPARAM>(&c));
        return Ask(dialog, SKM_ISSKINNED) == 1 && c.buttons > 0 && c.skinnedButtons == c.buttons;
      },
      w);
  (void)input::BringToFront(dialog, w);
  forms::SaveWindowPng(dialog, std::string(LBB_SCREENSHOT_DIR) + "/skinned-file-open-dialog.png");
  {
    std::lock_guard l(seen.lock);
    seen.dialog = Ask(dialog, SKM_ISSKINNED) == 1;
    seen.buttons = skinned;
    seen.skinnedChildren = c.skinned;
  }
  const auto gone = [dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); };
  const bool closed = input::PressKey(VK_ESCAPE, gone, "closing the file-open dialog", w).ok();
  std::lock_guard l(seen.lock);
  seen.closed = closed || gone();
}

TEST_F(GalleryControls, FileOpenDialogIsSkinnedAsABareDialog) {
  DialogSeen seen;
  std::thread watcher([&] { WatchFileDialog(seen); });
  form->ChooseSkinFile();  // modal until the watcher closes it
  watcher.join();
  std::lock_guard l(seen.lock);
  EXPECT_TRUE(seen.dialog) << "the dialog has no form skinner";
  EXPECT_TRUE(seen.buttons) << "not every button of the dialog is skinned";
  EXPECT_GT(seen.skinnedChildren, 2);
  EXPECT_TRUE(seen.closed);
}

}  // namespace
}  // namespace lbb::gallery::test
