// The gallery form: one control of every kind, both menus, and its picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "tests/win/forms/FormsSupport.h"
#include "tools/formsgallery/Gallery.h"

namespace lbb::forms {
namespace {

TEST(GalleryTest, ShowsEveryKindOfControlAndBothMenus) {
  test::EnsureApplication();
  auto* gallery = new TGalleryForm(nullptr);
  gallery->ShowForm();
  test::Settle();
  std::set<String> classes;
  for (int i = 0; i < gallery->ComponentCount(); ++i)
    classes.insert(gallery->Components(i)->ClassName());
  for (const char16_t* name :
       {u"TButton",    u"TEdit",        u"TMemo",        u"TLabel",       u"TLinkLabel",
        u"TPanel",     u"TCheckBox",    u"TRadioButton", u"TGroupBox",    u"TComboBox",
        u"TScrollBar", u"TProgressBar", u"TTrackBar",    u"TUpDown",      u"TPageControl",
        u"TTabSheet",  u"TStatusBar",   u"TListView",    u"TSpeedButton", u"TBitBtn",
        u"TMainMenu",  u"TPopupMenu",   u"TImageList"}) {
    EXPECT_TRUE(classes.count(name))
        << std::string(name, name + std::char_traits<char16_t>::length(name));
  }
  EXPECT_EQ(GetMenu(gallery->Handle()), gallery->MainMenu1->Handle());
  EXPECT_EQ(gallery->ClassName(), u"TGalleryForm");
  // Every windowed control has its window, shown unless it sits on a hidden page.
  for (int i = 0; i < gallery->ComponentCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(gallery->Components(i));
    if (!w) continue;
    EXPECT_TRUE(w->HandleAllocated());
    EXPECT_EQ(FindControl(w->WindowHandle()), w);
  }
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  EXPECT_TRUE(SaveWindowPng(gallery->Handle(), LBB_SCREENSHOT_DIR "/gallery.png"));
  delete gallery;
}

}  // namespace
}  // namespace lbb::forms
