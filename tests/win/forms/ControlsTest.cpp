// The controls of the program's window: layout and resize veto, a windowless label painted by
// its parent, a link label clicked for real, the memo's lines, properties read by name, and a
// screenshot of the window.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <filesystem>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/Screenshot.h"
#include "forms/StdCtrls.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    form = new TForm(nullptr);
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->SetBorderIcons(biSystemMenu | biMinimize);
    form->SetPosition(TPosition::poScreenCenter);
    form->Font()->SetName(u"Tahoma");
    form->Font()->SetHeight(-11);
    form->HandleNeeded();
    form->SetClientWidth(455);
    form->SetClientHeight(267);
    memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetAlign(TAlign::alTop);
    memo->SetHeight(229);
    memo->SetScrollBars(TScrollStyle::ssVertical);
    button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(132, 237, 57, 25);
    button->SetCaption(u"备份");
    edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(53, 239, 75, 21);
    link = new TLinkLabel(form);
    link->SetParent(form);
    link->SetBounds(256, 245, 194, 17);
    link->SetCaption(
        u"我的博客：<a href=\"http://blog.example/orlend?key=LorvaneBlogBackUp\">"
        u"http://blog.example/orlend</a>");
    label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(1, 243, 48, 13);
    label->SetCaption(u"用户名：");
    form->SetCaption(u"Lorvane博客备份工具 V1.3多线程版 By Orlend");
  }
  void TearDown() override { delete form; }

  TForm* form = nullptr;
  TMemo* memo = nullptr;
  TButton* button = nullptr;
  TEdit* edit = nullptr;
  TLinkLabel* link = nullptr;
  TLabel* label = nullptr;
};

TEST_F(MainWindowTest, LayoutAndResizeVeto) {
  form->OnCanResize = [](TObject*, int&, int&, bool& resize) { resize = false; };
  form->ShowForm();
  test::Settle();
  EXPECT_EQ(form->ClientWidth(), 455);
  EXPECT_EQ(form->ClientHeight(), 267);
  EXPECT_EQ(memo->Width(), 455);
  EXPECT_EQ(memo->Height(), 229);
  LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(memo->Handle(), GWL_STYLE) & WS_VSCROLL);
  RECT before{};
  GetWindowRect(form->Handle(), &before);
  SetWindowPos(form->Handle(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  RECT after{};
  GetWindowRect(form->Handle(), &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(MainWindowTest, WindowlessLabelIsPaintedByItsParent) {
  label->SetParentColor(false);
  label->SetColor(clRed);
  form->ShowForm();
  test::Settle();
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PixelBuffer shot = CaptureWindow(form->Handle(), false);
  ASSERT_FALSE(shot.Empty());
  int red = 0, dark = 0;
  for (int y = 243; y < 256; ++y) {
    for (int x = 1; x < 49; ++x) {
      Pixel p = shot.Get(x, y);
      if (p == 0xFF0000) ++red;
      if ((p & 0xFF) < 0x60 && ((p >> 16) & 0xFF) < 0x60) ++dark;
    }
  }
  EXPECT_GT(red, 200);  // the label's own background
  EXPECT_GT(dark, 10);  // its text
}

TEST_F(MainWindowTest, LinkClickGivesTheAnchorAddress) {
  String clicked;
  link->OnLinkClick = [&](TObject*, const String& url) { clicked = url; };
  form->ShowForm();
  test::Settle();
  // Find a point on the anchor by asking the control.
  POINT onLink{-1, -1};
  for (int x = 0; x < 194 && onLink.x < 0; x += 4) {
    LHITTESTINFO hit{};
    hit.pt = POINT{x, 8};
    if (SendMessageW(link->Handle(), LM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)))
      onLink = hit.pt;
  }
  ASSERT_GE(onLink.x, 0);
  test::ClickAt(link->Handle(), onLink);
  EXPECT_TRUE(test::PumpUntil([&] { return !clicked.empty(); }));
  EXPECT_EQ(clicked, u"http://blog.example/orlend?key=LorvaneBlogBackUp");
}

TEST_F(MainWindowTest, MemoLinesAppendAndShowTheEnd) {
  form->ShowForm();
  memo->Lines()->Clear();
  for (int i = 0; i < 40; ++i)
    memo->Lines()->Add(u">程序不能备份您的私有文章。");
  memo->Lines()->Add(String(38, u'='));
  EXPECT_EQ(memo->Lines()->Count(), 41);
  EXPECT_EQ(memo->Lines()->Strings(40), String(38, u'='));
  EXPECT_TRUE(memo->Text().ends_with(u"=\r\n"));
  // The last line is in view.
  int first = static_cast<int>(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_GT(first, 10);
}

TEST_F(MainWindowTest, PropertiesByNameOnRealControls) {
  EXPECT_EQ(GetStrProp(button, u"Caption"), u"备份");
  EXPECT_EQ(GetEnumProp(button, u"Default"), u"false");
  EXPECT_TRUE(SetPropText(button, u"Default", u"True"));
  EXPECT_TRUE(button->Default());
  EXPECT_EQ(GetIntProp(form, u"Color"), clBtnFace);
  EXPECT_EQ(GetEnumProp(form, u"BorderStyle"), u"bsSingle");
  EXPECT_EQ(GetEnumProp(form, u"AutoScroll"), u"false");
  EXPECT_EQ(GetEnumProp(memo, u"ScrollBars"), u"ssVertical");
  EXPECT_EQ(GetEnumProp(label, u"Transparent"), u"false");
  EXPECT_EQ(GetIntProp(GetObjectProp(button, u"Font", u"TFont"), u"Height"), -11);
  EXPECT_EQ(GetStrProp(GetObjectProp(button, u"Font"), u"Name"), u"Tahoma");
  EXPECT_EQ(GetEnumProp(edit, u"MultiLine"), u"");
  EXPECT_EQ(GetIntProp(edit, u"NumGlyphs"), -1);
  EXPECT_FALSE(SetPropText(edit, u"Flat", u"True"));
  EXPECT_TRUE(SetPropText(label, u"Visible", u"false"));
  EXPECT_FALSE(label->Visible());
}

TEST_F(MainWindowTest, ScreenshotOfTheWindow) {
  memo->Lines()->Add(u">使用多线程技术，备份更加快速！");
  edit->SetTextProp(u"orlend");
  form->ShowForm();
  test::Settle();
  std::filesystem::create_directories(LBB_SCREENSHOT_DIR);
  EXPECT_TRUE(SaveWindowPng(form->Handle(), LBB_SCREENSHOT_DIR "/forms_main_window.png"));
}

}  // namespace
}  // namespace lbb::forms
