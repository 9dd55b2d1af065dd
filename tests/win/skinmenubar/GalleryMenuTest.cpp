// The painted menu bar on the skin gallery's framework forms: buttons from the main menu's
// items, Alt+letter through the form, a menu rebuilt while skinned and given back when the
// skinning goes off, a skin change, and an MDI frame whose maximised child's caption buttons
// sit at the band's right end and act on the child when clicked.
#include <gtest/gtest.h>

#include "forms/Application.h"
#include "skin/manager/WinSkinDlg.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinmenubar/MenuBarSupport.h"
#include "tools/gallery/GalleryWindows.h"
#include "tools/gallery/SkinGalleryForm.h"

namespace lbb::gallery::test {
namespace {

using namespace lbb::skin;
using skin::test::IsOpen;
using skin::test::RunWatched;
using skin::test::TWatcher;
namespace ft = lbb::forms::test;

class GalleryMenu : public ::testing::Test {
 protected:
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
    sf = Skinner(form->Handle());
    ASSERT_NE(sf, nullptr) << "the gallery was not skinned";
    ASSERT_TRUE(ft::Check(input::BringToFront(form->Handle(), ft::Waiting())));
    ft::Settle();
  }
  void TearDown() override {
    delete form;
    ft::Settle();
  }
  static TWinSkinForm* Skinner(HWND h) {
    TWinSkinForm* found = nullptr;
    ft::PumpUntil([&] {
      TSkinManage* m = SkinManagerInstance();
      TWinSkinForm* s = m ? m->FindForm(h) : nullptr;
      found = s && s->Skinstate == kSkinIdle && s->Subclassed() ? s : nullptr;
      return found != nullptr;
    });
    return found;
  }
  static TMenuBtn* ButtonOf(TWinSkinForm& s, const std::wstring& caption) {
    for (const auto& b : s.menu->Buttons)
      if (b->caption == caption) return b.get();
    return nullptr;
  }

  TSkinGalleryForm* form = nullptr;
  TWinSkinForm* sf = nullptr;
};

TEST_F(GalleryMenu, ButtonsComeFromTheMainMenuItemsAndAltLetterOpensTheRightOne) {
  ASSERT_NE(sf->menu, nullptr);
  EXPECT_EQ(sf->menu->menu, form->Menu());
  TMenuBtn* windows = ButtonOf(*sf, L"&Windows");
  ASSERT_NE(windows, nullptr);
  ASSERT_NE(windows->menuitem, nullptr);
  EXPECT_EQ(windows->hsubmenu, windows->menuitem->Handle());
  const HMENU drop = windows->hsubmenu;
  RunWatched([&](TWatcher& w) {
    skin::test::AltTap('W');
    if (!w.Expect([&] { return IsOpen(drop); }, "Alt+W did not open the Windows menu")) return;
    skin::test::Tap(VK_ESCAPE);
    w.Expect([] { return skin::test::OpenMenus().empty(); }, "Escape did not close it");
  });
  EXPECT_EQ(form->MDIFrame(), nullptr) << "a command of the Windows menu ran";
}

TEST_F(GalleryMenu, ARebuiltMenuIsFollowedAndGivenBackWhenTheSkinningGoesOff) {
  const HWND h = form->Handle();
  // Checking an item rebuilds the form's native menu and hands it to the window again.
  form->UseSkin(TGallerySkin::gsSand);
  ft::Settle();
  sf = Skinner(h);
  ASSERT_NE(sf, nullptr);
  const HMENU rebuilt = form->Menu()->Handle();
  EXPECT_EQ(GetMenu(h), nullptr);
  ASSERT_NE(ButtonOf(*sf, L"&Skin"), nullptr);
  EXPECT_EQ(sf->menu->hmenu, rebuilt);
  EXPECT_EQ(ButtonOf(*sf, L"&Skin")->hsubmenu, ButtonOf(*sf, L"&Skin")->menuitem->Handle());
  form->SetSkinning(false);
  ASSERT_TRUE(ft::PumpUntil([&] { return SkinManagerInstance()->FindForm(h) == nullptr; }));
  ft::Settle();
  EXPECT_NE(GetMenu(h), nullptr);
  EXPECT_EQ(GetMenu(h), form->Menu()->Handle());
  // Back on with the first skin: a new bar from the form's menu, the menu taken again.
  ASSERT_TRUE(form->UseSkin(TGallerySkin::gsSlate));
  form->SetSkinning(true);
  sf = Skinner(h);
  ASSERT_NE(sf, nullptr);
  ASSERT_NE(sf->menu, nullptr);
  EXPECT_EQ(GetMenu(h), nullptr);
}

TEST_F(GalleryMenu, AMaximisedMDIChildsButtonsSitAtTheBandsRightEndAndAct) {
  TGalleryMDIFrame* frame = form->OpenMDIWindows();
  ASSERT_TRUE(ft::PumpUntil([&] {
    forms::TCustomForm* a = frame->ActiveMDIChild();
    return frame->MDIChildCount() == 3 && a && IsZoomed(a->WindowHandle());
  }));
  TWinSkinForm* fs = Skinner(frame->Handle());
  ASSERT_NE(fs, nullptr);
  ASSERT_NE(fs->menu, nullptr);
  ASSERT_TRUE(ft::Check(input::BringToFront(frame->Handle(), ft::Waiting())));
  RedrawWindow(frame->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  ft::Settle();
  // Minimise, restore, close: visible, in the band, at its right end.
  auto button = [&](int action) -> TWinSysButton* {
    for (const auto& b : fs->SysBtn)
      if (b->data->Action == action && b->data->Visibility == 100 && b->visible) return b.get();
    return nullptr;
  };
  TWinSysButton *minimise = button(7), *restore = button(8), *close = button(9);
  ASSERT_TRUE(minimise && restore && close);
  const RECT band{fs->bw.left, fs->bw.top, fs->FrameWidth() - fs->bw.right,
                  fs->bw.top + fs->MenuHeight};
  for (TWinSysButton* b : {minimise, restore, close}) {
    EXPECT_GE(b->bounds.top, band.top);
    EXPECT_LE(b->bounds.bottom, band.bottom);
  }
  EXPECT_LT(minimise->bounds.right, restore->bounds.left + 1);
  EXPECT_LT(restore->bounds.right, close->bounds.left + 1);
  EXPECT_LE(close->bounds.right, band.right);
  EXPECT_GT(close->bounds.right, band.right - 40);
  for (const auto& b : fs->menu->Buttons) {
    if (!b->caption.empty()) {
      EXPECT_LE(b->bounds.right, minimise->bounds.left);
    }
  }
  RECT w{};
  GetWindowRect(frame->Handle(), &w);
  // A real click that waits until the frame took both the press and the release (a press
  // sent blind could reach the band before the cursor was seen there, and do nothing).
  auto click = [&](TWinSysButton* b) {
    POINT at{w.left + (b->bounds.left + b->bounds.right) / 2,
             w.top + (b->bounds.top + b->bounds.bottom) / 2};
    ScreenToClient(frame->Handle(), &at);
    EXPECT_TRUE(ft::ClickAt(frame->Handle(), at));
  };
  forms::TCustomForm* child = frame->ActiveMDIChild();
  const HWND ch = child->WindowHandle();
  const auto maximise = [&] {
    child->SetWindowState(forms::TWindowState::wsMaximized);
    ASSERT_TRUE(ft::PumpUntil([&] { return IsZoomed(ch) != FALSE; }));
    RedrawWindow(frame->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ft::Settle();
  };
  click(restore);
  EXPECT_TRUE(ft::PumpUntil([&] { return !IsZoomed(ch); })) << "restore did not restore";
  maximise();
  ASSERT_TRUE(button(7));
  click(button(7));
  EXPECT_TRUE(ft::PumpUntil([&] { return IsIconic(ch) != FALSE; })) << "minimise did not";
  maximise();
  ASSERT_TRUE(button(9));
  click(button(9));
  EXPECT_TRUE(ft::PumpUntil([&] { return !IsWindow(ch); })) << "close did not close";
  EXPECT_TRUE(ft::PumpUntil([&] { return frame->MDIChildCount() == 2; }));
  frame->Close();
  ft::PumpUntil([&] { return form->MDIFrame() == nullptr; });
}

}  // namespace
}  // namespace lbb::gallery::test
