// Forms at the screen's resolution: run in a Wine prefix whose LogPixels is LBB_DPI (96 when
// unset), the program's main window, its label and a message dialog, with real windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/Unit1.h"
#include "base/Text.h"
#include "forms/Application.h"
#include "forms/Buttons.h"
#include "forms/Dialogs.h"
#include "forms/ImgList.h"
#include "forms/ListView.h"
#include "forms/Screenshot.h"
#include "forms/StatusBar.h"
#include "forms/WinText.h"
#include "tests/win/dpi/HarnessDpi.h"
#include "tests/win/forms/FormsSupport.h"
#include "tools/input/Input.h"

namespace lbb::app {
namespace {

namespace fs = std::filesystem;
namespace test = forms::test;

// The platform reports the screen's resolution only to programs that say they are DPI-aware
// (the program says so in its manifest; Wine 8 treats every program as aware, Windows does
// not): said before the first window or device context of the process.
using lbb::test::HarnessDpi;

int Scaled(int pixelsAt96) {
  return MulDiv(pixelsAt96, HarnessDpi(), USER_DEFAULT_SCREEN_DPI);
}

// The height of the font a window draws with (WM_GETFONT).
LONG WindowFontHeight(HWND hwnd) {
  LOGFONTW lf{};
  auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  return font && GetObjectW(font, sizeof lf, &lf) ? lf.lfHeight : 0;
}

// The size of `text` drawn in `font`, measured on the screen.
SIZE TextSize(HFONT font, const std::wstring& text) {
  WindowDc screen(nullptr);
  SelectScope select(screen.get(), font);
  SIZE size{};
  GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

bool IsProbe(Pixel p) {
  return (p & 0xFFFFFF) == 0xFF00FF;  // magenta reads the same as RGB and as BGR
}

// The smallest rectangle (in screen coordinates) around the probe-coloured pixels of the
// screen inside `area`.
RECT ProbeBounds(const RECT& area) {
  const PixelBuffer shot = forms::CaptureScreen(area);
  RECT found{shot.Width(), shot.Height(), 0, 0};
  for (int y = 0; y < shot.Height(); ++y) {
    for (int x = 0; x < shot.Width(); ++x) {
      if (!IsProbe(shot.At(x, y))) continue;
      found = RECT{std::min<LONG>(found.left, x), std::min<LONG>(found.top, y),
                   std::max<LONG>(found.right, x + 1), std::max<LONG>(found.bottom, y + 1)};
    }
  }
  OffsetRect(&found, area.left, area.top);
  return found;
}

class MainFormAtDpi : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    form_ = std::make_unique<TForm1>(nullptr);
    form_->DoCreate();
    form_->ShowForm();
    test::Settle();
  }
  std::unique_ptr<TForm1> form_;
};

TEST_F(MainFormAtDpi, TheScreenHasTheHarnessResolution) {
  EXPECT_EQ(forms::Screen->PixelsPerInch(), HarnessDpi());
  EXPECT_EQ(form_->PixelsPerInch(), HarnessDpi());
}

TEST_F(MainFormAtDpi, ClientAreaAndFontsAreScaled) {
  RECT client{};
  ASSERT_TRUE(GetClientRect(form_->Handle(), &client));
  EXPECT_EQ(client.right, Scaled(455));
  EXPECT_EQ(client.bottom, Scaled(267));
  EXPECT_EQ(form_->Font()->Height(), Scaled(-11));
  EXPECT_EQ(WindowFontHeight(form_->Memo1->Handle()), Scaled(-11));
  EXPECT_EQ(WindowFontHeight(form_->Button1->Handle()), Scaled(-11));
  EXPECT_EQ(form_->Button1->BoundsRect().left, Scaled(132));
  EXPECT_EQ(form_->Button1->Width(), Scaled(57));
}

TEST_F(MainFormAtDpi, LabelTextFitsItsControl) {
  forms::TLabel& label = *form_->Label1;
  const SIZE text = TextSize(label.Font()->Handle(), Wide(label.Caption()));
  EXPECT_EQ(label.Font()->Height(), Scaled(-11));
  EXPECT_LE(text.cx, label.ClientWidth()) << "the label's text is cut off at its right end";
}

// The client area measured on the screen: the form's background in a colour of its own and
// the log (which covers the top) hidden, the probe colour's extent is the client area.
TEST_F(MainFormAtDpi, ScreenShowsTheScaledClientArea) {
  HWND hwnd = form_->Handle();
  ASSERT_TRUE(test::Check(input::BringToFront(hwnd, test::Waiting())));
  test::Settle();
  const std::string dir = std::string(LBB_SCREENSHOT_DIR) + "/dpi-" + std::to_string(HarnessDpi());
  fs::create_directories(dir);
  ASSERT_TRUE(forms::SaveWindowPng(hwnd, dir + "/main-window.png"));
  EXPECT_GT(fs::file_size(dir + "/main-window.png"), 1000u);

  form_->Memo1->Hide();
  form_->SetColor(RGB(255, 0, 255));
  RECT window{};
  GetWindowRect(hwnd, &window);
  InflateRect(&window, 8, 8);
  POINT origin = form_->ClientToScreen(POINT{0, 0});
  RECT expected{origin.x, origin.y, origin.x + Scaled(455), origin.y + Scaled(267)};
  RECT seen{};
  EXPECT_TRUE(test::PumpUntil([&] {
    seen = ProbeBounds(window);
    return EqualRect(&seen, &expected);
  })) << "the screen shows the client area at ("
      << seen.left << ", " << seen.top << ") - (" << seen.right << ", " << seen.bottom
      << "), expected (" << expected.left << ", " << expected.top << ") - (" << expected.right
      << ", " << expected.bottom << ")";
}

TEST(FormAtDpi, ColumnAndPanelWidthsAreScaled) {
  test::EnsureApplication();
  forms::TForm form(nullptr);
  auto* list = forms::Place<forms::TListView>(&form, 8, 8, 200, 100);
  list->SetViewStyle(forms::TViewStyle::vsReport);
  list->AddColumn(u"Title", 121);
  auto* status = forms::Place<forms::TStatusBar>(&form, 0, 0, 300, 20);
  status->AddPanel()->SetWidth(121);
  status->AddPanel();
  form.ShowForm();
  test::Settle();
  EXPECT_EQ(ListView_GetColumnWidth(list->Handle(), 0), Scaled(121));
  int edges[2] = {};
  SendMessageW(status->Handle(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  EXPECT_EQ(edges[0], Scaled(121));
}

// An auto-sized label is measured again once scaled: text does not grow in proportion with
// its font, so the scaled width alone cut its end.
TEST(FormAtDpi, AnAutoSizedLabelKeepsItsWholeText) {
  test::EnsureApplication();
  forms::TForm form(nullptr);
  auto* label = forms::Place<forms::TLabel>(&form, 8, 8, 10, 13);
  label->SetCaption(u"Panel: combo, up-down, scroll, progress, track");
  form.ShowForm();
  test::Settle();
  const SIZE text = TextSize(label->Font()->Handle(), Wide(label->Caption()));
  EXPECT_LE(text.cx, label->ClientWidth()) << "the label's text is cut off at its right end";
}

// Images scale with their form, each pixel the nearest of the 96-DPI image (doubled at 192),
// and the list view that shows the form's image list measures its rows by the scaled images.
TEST(FormAtDpi, ImageListsAndButtonGlyphsAreScaled) {
  test::EnsureApplication();
  forms::TForm form(nullptr);
  forms::TBitmap picture(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      picture.Pixels().At(x, y) = (x + y) % 3 ? 0x2040C0 : 0xF0E000;
  auto* images = new forms::TImageList(&form);
  images->AddMasked(picture, lbb::clFuchsia);
  auto* button = forms::Place<forms::TBitBtn>(&form, 8, 8, 80, 25);
  button->SetGlyph(&picture);
  auto* list = forms::Place<forms::TListView>(&form, 8, 40, 200, 100);
  list->SetViewStyle(forms::TViewStyle::vsReport);
  list->AddColumn(u"Title", 121);
  list->SetSmallImages(images);
  list->AddItem(u"an item");
  form.ShowForm();
  test::Settle();
  ASSERT_EQ(images->Width(), Scaled(16));
  ASSERT_EQ(button->Glyph()->Width(), Scaled(16));
  forms::TBitmap back;
  ASSERT_TRUE(images->GetBitmap(0, back));
  for (int y = 0; y < Scaled(16); ++y)
    for (int x = 0; x < Scaled(16); ++x) {
      // The 96-DPI pixel under the centre of this one.
      const int n = Scaled(16), sx = (2 * x + 1) * 16 / (2 * n), sy = (2 * y + 1) * 16 / (2 * n);
      const Pixel want = picture.Pixels().At(sx, sy);
      ASSERT_EQ(back.Pixels().At(x, y) & 0xFFFFFF, want) << "image at (" << x << ", " << y << ")";
      ASSERT_EQ(button->Glyph()->Pixels().At(x, y) & 0xFFFFFF, want) << "glyph";
    }
  RECT row{};
  ListView_GetItemRect(list->Handle(), 0, &row, LVIR_BOUNDS);
  EXPECT_GE(row.bottom - row.top, Scaled(16)) << "the rows are lower than the images";
}

TEST(MessageDialogAtDpi, ButtonsAreNotClipped) {
  test::EnsureApplication();
  auto dialog =
      forms::CreateMessageDialog(u"Save the changes to the backup list?",
                                 forms::TMsgDlgType::mtConfirmation, forms::mbYesNoCancel);
  dialog->ShowForm();
  test::Settle();
  RECT client{};
  ASSERT_TRUE(GetClientRect(dialog->Handle(), &client));
  for (forms::TMsgDlgBtn kind : {forms::mbYes, forms::mbNo, forms::mbCancel}) {
    forms::TButton* b = dialog->Button(kind);
    ASSERT_NE(b, nullptr);
    RECT r{};
    GetWindowRect(b->Handle(), &r);
    MapWindowPoints(nullptr, dialog->Handle(), reinterpret_cast<POINT*>(&r), 2);
    RECT inside{};
    IntersectRect(&inside, &r, &client);
    EXPECT_TRUE(EqualRect(&inside, &r)) << "a button reaches out of the dialog";
    String name = b->Caption();
    std::erase(name, u'&');
    const std::wstring caption = Wide(name);
    const SIZE text =
        TextSize(reinterpret_cast<HFONT>(SendMessageW(b->Handle(), WM_GETFONT, 0, 0)), caption);
    // The text and the button's edges (2 pixels at 96 per inch on each side).
    EXPECT_LE(text.cx + 2 * Scaled(2), b->ClientWidth()) << TextToUtf8(name) << " is clipped";
    EXPECT_LE(text.cy + 2 * Scaled(2), b->ClientHeight()) << TextToUtf8(name) << " is clipped";
  }
}

}  // namespace
}  // namespace lbb::app
