// The main window as the program makes it: layout, styles, texts, tab order, the size that
// neither maximising nor asking for another size changes, the link opened with a real key
// press, and a screenshot after a run.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "base/win/Handles.h"
#include "base/win/WideText.h"
#include "forms/Screenshot.h"
#include "resources/skin/BuiltinSkin.h"
#include "tests/win/app/AppSupport.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/forms/GuiObjects.h"

namespace lbb::app::test {
namespace {

using lbb::String;

RECT BoundsOf(forms::TControl* c) {
  return c->BoundsRect();
}

void ExpectBounds(forms::TControl* c, int left, int top, int width, int height) {
  const RECT r = BoundsOf(c);
  EXPECT_EQ(r.left, left) << TextToUtf8(c->Name());
  EXPECT_EQ(r.top, top) << TextToUtf8(c->Name());
  EXPECT_EQ(r.right - r.left, width) << TextToUtf8(c->Name());
  EXPECT_EQ(r.bottom - r.top, height) << TextToUtf8(c->Name());
  if (auto* w = dynamic_cast<forms::TWinControl*>(c)) {
    // The window itself sits there too.
    RECT real;
    GetWindowRect(w->Handle(), &real);
    MapWindowPoints(nullptr, GetParent(w->Handle()), reinterpret_cast<POINT*>(&real), 2);
    EXPECT_EQ(real.left, left) << TextToUtf8(c->Name());
    EXPECT_EQ(real.top, top) << TextToUtf8(c->Name());
    EXPECT_EQ(real.right - real.left, width) << TextToUtf8(c->Name());
  }
}

TEST(MainWindowLayout, ControlsTextsAndStylesAsDesigned) {
  MainWindow w({});
  TForm1& f = w.form();
  RECT client;
  GetClientRect(f.Handle(), &client);
  EXPECT_EQ(client.right, 455);
  EXPECT_EQ(client.bottom, 267);
  ExpectBounds(f.Memo1, 0, 0, 455, 229);
  ExpectBounds(f.Button1, 132, 237, 57, 25);
  ExpectBounds(f.Edit1, 53, 239, 75, 21);
  ExpectBounds(f.LinkLabel1, 256, 245, 194, 17);
  ExpectBounds(f.Button2, 195, 237, 57, 25);
  ExpectBounds(f.Label1, 1, 243, 48, 13);
  EXPECT_EQ(f.Memo1->TabOrder(), 0);
  EXPECT_EQ(f.Button1->TabOrder(), 1);
  EXPECT_EQ(f.Edit1->TabOrder(), 2);
  EXPECT_EQ(f.LinkLabel1->TabOrder(), 3);
  EXPECT_EQ(f.Button2->TabOrder(), 4);

  const LONG style = GetWindowLongW(f.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(f.Memo1->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(GetWindowLongW(f.Memo1->Handle(), GWL_STYLE) & ES_MULTILINE);
  EXPECT_EQ(f.Font()->Name(), u"Tahoma");
  EXPECT_EQ(f.Font()->Height(), -11);
  EXPECT_EQ(f.Color(), lbb::clBtnFace);

  // Centred on the screen.
  RECT outer;
  GetWindowRect(f.Handle(), &outer);
  EXPECT_LE(std::abs((outer.left + outer.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs((outer.top + outer.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);

  EXPECT_EQ(f.Caption(), u"Lorvane博客备份工具 V1.3多线程版 By Orlend");
  EXPECT_EQ(f.Button1->Caption(), u"备份");
  EXPECT_EQ(f.Button2->Caption(), u"相册");
  EXPECT_EQ(f.Label1->Caption(), u"用户名：");
  EXPECT_EQ(f.Edit1->Text(), u"");
  EXPECT_EQ(f.LinkLabel1->Caption(), u"我的博客：<a href=\"" + AuthorBlogURL +
                                         u"?key=LorvaneBlogBackUp\">" + AuthorBlogURL + u"</a>");
  const std::vector<String> log = w.LogLines();
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(log[0], u">程序不能备份您的私有文章。");
  EXPECT_EQ(log[2], u">相册暂时只能下载默认相册里面的图片。");
  EXPECT_EQ(log[5], u">问题反馈：" + FeedbackURL);
  EXPECT_EQ(log[6], String(38, u'='));
  EXPECT_EQ(ProgramState().appDir, ProgramDir().u16string());
}

// The link label shows its whole text on one line of its 17 pixels: the platform's link
// control says how high the text wants to be at the label's width, and the anchor's text is
// measured in the label's font beside the text before it.
TEST(MainWindowLayout, TheLinkLabelShowsTheWholeAddress) {
  MainWindow w({});
  HWND link = w.form().LinkLabel1->Handle();
  RECT client;
  GetClientRect(link, &client);
  ASSERT_EQ(client.right, 194);
  const LRESULT ideal = SendMessageW(link, LM_GETIDEALHEIGHT, 0, 0);
  EXPECT_GT(ideal, 0);
  EXPECT_LE(ideal, 17) << "the text wraps onto a second line";
  lbb::WindowDc dc(link);
  lbb::SelectScope font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0)));
  const std::wstring text = L"我的博客：" + lbb::Wide(AuthorBlogURL);
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  EXPECT_LE(size.cx, 194) << size.cx << " pixels";
}

TEST(MainWindowLayout, NeitherMaximiseNorAnotherSizeChangesTheSize) {
  MainWindow w({});
  HWND hwnd = w.form().Handle();
  RECT before;
  GetWindowRect(hwnd, &before);
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  forms::test::Settle();
  EXPECT_FALSE(IsZoomed(hwnd));
  // The form has no sizing border (see the styles above), so no drag can reach its size;
  // what can is a size asked for directly, which the form refuses.
  SetWindowPos(hwnd, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  forms::test::Settle();
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 455);
  EXPECT_EQ(client.bottom, 267);
  RECT after;
  GetWindowRect(hwnd, &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST(MainWindowLayout, LinkClickOpensTheAuthorsBlog) {
  MainWindow w({});
  std::vector<String> opened;
  w.form().OpenAddress = [&](const String& a) { opened.push_back(a); };
  // The anchor does not fit on the first line of the label under Wine's fonts and wraps
  // out of sight: reach it with the keyboard, as a person can.
  w.form().LinkLabel1->SetFocus();
  forms::test::Settle();
  forms::test::PressKey(VK_RETURN);
  forms::test::PumpUntil([&] { return !opened.empty(); });
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], AuthorBlogURL + u"?key=LorvaneBlogBackUp");
}

// Records what the skin data asks of the skin manager.
struct RecordingManager : skin::TSkinManagerSeam {
  std::vector<skin::TSkinData*> registered;
  int hooks = 0;
  std::vector<std::pair<int, int>> actions;
  void Register(skin::TSkinData* d) override { registered.push_back(d); }
  void InstallHooks() override { ++hooks; }
  void SetAction(skin::TSkinAction action, int delayMs) override {
    actions.emplace_back(static_cast<int>(action), delayMs);
  }
};

TEST(MainWindowSkin, SkinDataHoldsTheBuiltInSkinParsedAndAsksForSkinning) {
  RecordingManager manager;
  skin::SetSkinManager(&manager);
  {
    MainWindow w({});
    skin::TSkinData* d = w.form().SkinData1;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(w.form().FindComponent(u"SkinData1"), d);
    EXPECT_TRUE(d->Active());
    EXPECT_FALSE(d->Empty);
    EXPECT_EQ(d->DisableTag(), 99);
    EXPECT_EQ(d->SkinFormtype(), skin::TSkinFormType::sfMainform);
    EXPECT_EQ(d->OptionsText(), u"[xoPreview,xoToolbarBK,xoCaptionButtonHint]");
    EXPECT_TRUE(d->MenuUpdate());
    EXPECT_FALSE(d->MenuMerge());
    // Every kind but the menu item and the report designer's windows.
    EXPECT_EQ(d->SkinControlsText(),
              u"[xcMainMenu,xcPopupMenu,xcToolbar,xcControlbar,xcCombo,xcCheckBox,"
              u"xcRadioButton,xcProgress,xcScrollbar,xcEdit,xcButton,xcBitBtn,xcSpeedButton,"
              u"xcSpin,xcPanel,xcGroupBox,xcStatusBar,xcTab,xcTrackBar,xcSystemMenu]");
    EXPECT_EQ(d->Skin3rd().size(), 118u);

    // The stored stream is the built-in skin, byte for byte, after its byte count.
    skin::TMemoryStream out;
    d->WriteSkinStream(out);
    const auto builtin = resources::BuiltinSkin();
    ASSERT_EQ(out.Bytes().size(), builtin.size() + 4);
    int32_t count = 0;
    memcpy(&count, out.Bytes().data(), 4);
    EXPECT_EQ(static_cast<size_t>(count), builtin.size());
    EXPECT_TRUE(std::equal(builtin.begin(), builtin.end(), out.Bytes().begin() + 4));

    // Parsed at start-up: the caption, its buttons, the borders and the button element.
    ASSERT_NE(d->Title, nullptr);
    EXPECT_FALSE(d->SysBtn.empty());
    for (const auto& b : d->border)
      EXPECT_NE(b, nullptr);
    ASSERT_NE(d->Button, nullptr);
    EXPECT_FALSE(d->Button->Map.Empty());

    // The loaded step registered the component, installed the hooks once and asked for
    // everything to be skinned a quarter second later.
    EXPECT_EQ(manager.registered, std::vector<skin::TSkinData*>{d});
    EXPECT_EQ(manager.hooks, 1);
    EXPECT_EQ(manager.actions, (std::vector<std::pair<int, int>>{{1, 250}}));
  }
  skin::SetSkinManager(nullptr);
}

TEST(MainWindowResources, MakingAndFreeingTheWindowLeavesNoObjects) {
  const auto makeUseAndFree = [] {
    MainWindow w({});
    // The skin data's hint window, image list and icon bitmap are in use too.
    w.form().SkinData1->ActivateHint(RECT{10, 10, 60, 30}, u"关闭 Close");
    forms::test::Settle();
    w.form().SkinData1->HideHint();
  };
  // Once first, so that what lives for the process (fonts, window classes) exists already.
  makeUseAndFree();
  const forms::test::GuiObjects before = forms::test::CountGuiObjects();
  for (int i = 0; i < 4; ++i)
    makeUseAndFree();
  const forms::test::GuiObjects after = forms::test::CountGuiObjects();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_EQ(after.windows, before.windows);
}

TEST(MainWindowLayout, ScreenshotAfterARun) {
  ASSERT_FALSE(Env("SAMPLEHOST_BLOG").empty()) << "run through scripts/with-samplehost";
  Control("clear-faults");
  Control("set?articles=9&page-size=5&pictures=6&album-page-size=4&latency=0&odd-titles=1");
  MainWindow w({"winshot"});
  w.TypeUserName(L"winshot");
  ASSERT_TRUE(w.ClickAndWait(w.form().Button1));
  ASSERT_TRUE(w.ClickAndWait(w.form().Button2));
  EXPECT_EQ(w.LogLines().size(), 7u + 9u + 6u);
  fs::create_directories(LBB_SCREENSHOT_DIR);
  const std::string path = std::string(LBB_SCREENSHOT_DIR) + "/main_window_after_runs.png";
  ASSERT_TRUE(forms::test::Check(input::BringToFront(w.form().Handle(), forms::test::Waiting())));
  forms::test::Settle();
  EXPECT_TRUE(forms::SaveWindowPng(w.form().Handle(), path));
  EXPECT_GT(fs::file_size(path), 1000u);
}

}  // namespace
}  // namespace lbb::app::test
