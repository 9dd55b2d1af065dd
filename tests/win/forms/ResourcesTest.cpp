// No GDI or USER object outlives the window that used it, and hints measure and show text.
#include <gtest/gtest.h>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/HintWindow.h"
#include "forms/ImgList.h"
#include "forms/Menus.h"
#include "forms/StdCtrls.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/forms/GuiObjects.h"
#include "tools/formsgallery/Gallery.h"

namespace lbb::forms {
namespace {

// A window with one of each thing that holds handles: controls, fonts, a menu with an image
// list, a bitmap drawn through its canvas.
void MakeShowAndFree() {
  auto* form = new TForm(nullptr);
  auto* memo = new TMemo(form);
  memo->SetParent(form);
  memo->Lines()->Add(u"日志");
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetTop(100);
  button->Font()->SetHeight(-13);
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetTop(140);
  label->SetCaption(u"用户名：");
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetTop(160);
  auto* images = new TImageList(form);
  TBitmap glyph(32, 16);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(RECT{0, 0, 32, 16});
  images->AddMasked(glyph, clFuchsia);
  auto* menu = new TMainMenu(form);
  menu->SetImages(images);
  auto* item = new TMenuItem(form);
  item->SetCaption(u"&File");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  form->ShowForm();
  test::Settle();
  delete form;
  test::Settle();
}

TEST(ResourcesTest, CountsSeeEveryObjectMadeAndFreed) {
  // A leak of one object of each kind must show; otherwise the checks below prove nothing.
  test::EnsureApplication();
  TForm form(nullptr);
  form.Font()->Handle();  // the form's font lives as long as the form
  test::GuiObjects before = test::CountGuiObjects();
  BrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
  MenuHandle menu(CreateMenu());
  form.HandleNeeded();
  test::GuiObjects during = test::CountGuiObjects();
  EXPECT_EQ(during.gdi, before.gdi + 1);
  EXPECT_GE(during.user, before.user + 1);
  EXPECT_EQ(during.windows, before.windows + 1);
  brush.reset();
  menu.reset();
  form.DestroyHandle();
  test::GuiObjects after = test::CountGuiObjects();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_EQ(after.windows, before.windows);
}

TEST(ResourcesTest, WindowsMadeAndFreedManyTimesLeaveNoHandles) {
  test::EnsureApplication();
  MakeShowAndFree();  // classes registered, caches filled
  test::GuiObjects before = test::CountGuiObjects();
  for (int i = 0; i < 10; ++i)
    MakeShowAndFree();
  test::GuiObjects after = test::CountGuiObjects();
  EXPECT_LE(after.gdi, before.gdi);
  EXPECT_LE(after.user, before.user);
  EXPECT_LE(after.windows, before.windows);
}

TEST(ResourcesTest, TheGalleryMadeAndFreedManyTimesLeavesNoHandles) {
  test::EnsureApplication();
  auto cycle = [] {
    auto* gallery = new TGalleryForm(nullptr);
    gallery->ShowForm();
    gallery->PageControl1->SetActivePage(gallery->TabSheet2);
    test::Settle();
    delete gallery;
    test::Settle();
  };
  cycle();
  test::GuiObjects before = test::CountGuiObjects();
  for (int i = 0; i < 8; ++i)
    cycle();
  test::GuiObjects after = test::CountGuiObjects();
  EXPECT_LE(after.gdi, before.gdi);
  EXPECT_LE(after.user, before.user);
  EXPECT_LE(after.windows, before.windows);
}

TEST(ResourcesTest, HintMeasuresWithinWidthAndShowsWithoutFocus) {
  test::EnsureApplication();
  TForm form(nullptr);
  form.ShowForm();
  test::Settle();
  HWND focused = GetFocus();
  THintWindow hint(nullptr);
  RECT narrow = hint.CalcHintRect(80, u"备份 the whole blog into local pages, newest first");
  RECT wide = hint.CalcHintRect(800, u"备份 the whole blog into local pages, newest first");
  EXPECT_LE(narrow.right, 80 + 12);
  EXPECT_GT(narrow.bottom, wide.bottom);  // wrapped onto more lines
  OffsetRect(&wide, 200, 200);
  hint.ActivateHint(wide, u"备份 the whole blog into local pages, newest first");
  test::Settle();
  EXPECT_TRUE(IsWindowVisible(hint.WindowHandle()));
  EXPECT_EQ(GetFocus(), focused);
  hint.ReleaseHandle();
  EXPECT_EQ(hint.WindowHandle(), nullptr);
}

}  // namespace
}  // namespace lbb::forms
