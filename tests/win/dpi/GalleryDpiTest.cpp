// The skinned gallery form at the screen's resolution (LBB_DPI; 96 when unset): saved as a
// picture, and every caption of its labels, buttons, check boxes, radio buttons and group boxes
// is whole on the screen. A caption's ink is what changes on the screen when the caption is
// taken away; a cut caption leaves less ink than its measured width, or ink outside its control.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Text.h"
#include "base/win/Handles.h"
#include "forms/Application.h"
#include "forms/ButtonCtrls.h"
#include "forms/Screenshot.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/DibSurface.h"
#include "tests/win/dpi/HarnessDpi.h"
#include "tests/win/forms/FormsSupport.h"
#include "tools/gallery/SkinGalleryForm.h"
#include "tools/input/Input.h"

namespace lbb::gallery {
namespace {

using namespace lbb::skin;
namespace ft = forms::test;

using lbb::test::HarnessDpi;

// The controls whose caption is plain text drawn inside them (a link label's caption is markup).
bool HasPlainCaption(forms::TControl* c) {
  return dynamic_cast<forms::TLabel*>(c) || dynamic_cast<forms::TButtonControl*>(c) ||
         dynamic_cast<forms::TCustomGroupBox*>(c);
}

void CollectCaptioned(forms::TWinControl* parent, std::vector<forms::TControl*>& out) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    forms::TControl* c = parent->Controls(i);
    if (!c->Showing()) continue;
    if (HasPlainCaption(c) && !c->Caption().empty()) out.push_back(c);
    if (auto* w = dynamic_cast<forms::TWinControl*>(c)) CollectCaptioned(w, out);
  }
}

// The width of the ink the caption leaves when drawn whole in the control's font ("&" marks a
// key and draws nothing of its own width).
int WholeInkWidth(forms::TControl* c) {
  std::u16string text = c->Caption();
  text.erase(std::remove(text.begin(), text.end(), u'&'), text.end());
  const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
  const HFONT handle = c->Font()->Handle();
  SIZE size{};
  {
    lbb::WindowDc screen(nullptr);
    lbb::SelectScope font(screen.get(), handle);
    GetTextExtentPoint32W(screen.get(), wide, static_cast<int>(text.size()), &size);
  }
  const int pad = size.cy;  // room for overhangs on both sides
  skin::TDibSurface surface(size.cx + 2 * pad, size.cy);
  lbb::SelectScope font(surface.Dc(), handle);
  PixelBuffer& px = surface.Pixels();
  for (int y = 0; y < px.Height(); ++y)
    for (int x = 0; x < px.Width(); ++x)
      px.At(x, y) = 0xFFFFFF;
  SetBkMode(surface.Dc(), TRANSPARENT);
  SetTextColor(surface.Dc(), RGB(0, 0, 0));
  TextOutW(surface.Dc(), pad, 0, wide, static_cast<int>(text.size()));
  GdiFlush();
  int first = INT_MAX, last = INT_MIN;
  for (int y = 0; y < px.Height(); ++y)
    for (int x = 0; x < px.Width(); ++x)
      if ((px.At(x, y) & 0xFFFFFF) != 0xFFFFFF) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return last >= first ? last - first + 1 : 0;
}

class GalleryAtDpi : public ::testing::Test {
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
    form = std::make_unique<TSkinGalleryForm>(forms::Application);
    form->Show();
    ASSERT_TRUE(ft::PumpUntil([&] {
      TSkinManage* m = SkinManagerInstance();
      TWinSkinForm* sf = m ? m->FindForm(form->Handle()) : nullptr;
      return sf && sf->Skinstate == kSkinIdle && sf->Subclassed();
    })) << "the gallery was not skinned";
    ASSERT_TRUE(ft::Check(input::BringToFront(form->Handle(), ft::Waiting())));
    // The focus on a control without a caption, so no focus frame follows a caption.
    form->Edit1->SetFocus();
    ft::Settle();
  }
  void TearDown() override {
    form.reset();
    ft::Settle();
  }
  // The form's client area as the screen shows it once everything is painted.
  PixelBuffer Client() {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ft::Settle();
    return forms::CaptureWindow(form->Handle(), false);
  }
  // The control's rectangle in the form's client area.
  RECT Bounds(forms::TControl* c) {
    POINT p = c->ClientToScreen(POINT{0, 0});
    ScreenToClient(form->Handle(), &p);
    const RECT b = c->BoundsRect();
    return RECT{p.x, p.y, p.x + (b.right - b.left), p.y + (b.bottom - b.top)};
  }

  std::unique_ptr<TSkinGalleryForm> form;
};

TEST_F(GalleryAtDpi, EveryCaptionIsWholeOnTheScreen) {
  const int dpi = HarnessDpi();
  const std::filesystem::path dir =
      std::filesystem::path(LBB_SCREENSHOT_DIR) / ("dpi-" + std::to_string(dpi));
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(forms::SaveWindowPng(form->Handle(), (dir / "gallery.png").string()));

  std::vector<forms::TControl*> captioned;
  CollectCaptioned(form.get(), captioned);
  ASSERT_GE(captioned.size(), 8u) << "the gallery's captioned controls were not found";
  for (forms::TControl* c : captioned) {
    const std::u16string caption = c->Caption();
    const RECT r = Bounds(c);
    const PixelBuffer with = Client();
    c->SetCaption(u"");
    const PixelBuffer without = Client();
    c->SetCaption(caption);
    // The ink: pixels that changed, looked for a little beyond the control as well.
    RECT ink{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    const int margin = 8 * dpi / 96;
    for (int y = std::max(0, int(r.top) - margin);
         y < std::min(with.Height(), int(r.bottom) + margin); ++y)
      for (int x = std::max(0, int(r.left) - margin);
           x < std::min(with.Width(), int(r.right) + margin); ++x)
        if ((with.At(x, y) & 0xFFFFFF) != (without.At(x, y) & 0xFFFFFF)) {
          ink.left = std::min<LONG>(ink.left, x);
          ink.top = std::min<LONG>(ink.top, y);
          ink.right = std::max<LONG>(ink.right, x + 1);
          ink.bottom = std::max<LONG>(ink.bottom, y + 1);
        }
    const std::string name = "\"" + TextToUtf8(caption) + "\"";
    ASSERT_LT(ink.left, ink.right) << name << ": its caption left no ink on the screen";
    // A glyph's overhang past its advance may be clipped by a control sized to the advance
    // width, as the platform's own controls clip it: one pixel; a cut letter is more.
    EXPECT_GE(ink.right - ink.left + 1, WholeInkWidth(c))
        << name << ": the caption is cut (ink " << ink.right - ink.left << " px wide, whole "
        << WholeInkWidth(c) << " px)";
    const bool inside =
        ink.left >= r.left && ink.top >= r.top && ink.right <= r.right && ink.bottom <= r.bottom;
    EXPECT_TRUE(inside) << name << ": the caption runs outside its control";
  }
}

}  // namespace
}  // namespace lbb::gallery
