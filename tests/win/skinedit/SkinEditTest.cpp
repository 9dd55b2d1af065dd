// The skinned edit on the program's main window: the user-name edit is drawn by TSkinEdit,
// whose border is one line of the skin's ButtonShadow outside and two white lines inside, on
// the screen (also after the edit takes the focus) and in memory; an edit without a border
// gets none; printing and painting the client into another DC.
#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "base/Colour.h"
#include "base/win/Handles.h"
#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/data/SkinModel.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/DibSurface.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/forms/FormsSupport.h"
#include "tools/input/Input.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kBlank = 0x123456;  // a colour nothing here draws

class SkinEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::test::EnsureApplication();
    UseSkinManager();
    form = new app::TForm1(forms::Application);
    form->DoCreate();
    form->ShowForm();
    ASSERT_TRUE(forms::test::PumpUntil([&] {
      sf = Skinner();
      return sf && sf->Skinstate == kSkinIdle && sf->Subclassed();
    })) << "the main window was not skinned";
    forms::test::Settle();
  }
  void TearDown() override {
    delete form;
    forms::test::Settle();
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
    forms::test::Settle();
  }
  TWinSkinForm* Skinner() const {
    TSkinManage* m = SkinManagerInstance();
    return m && form->HandleAllocated() ? m->FindForm(form->Handle()) : nullptr;
  }
  // The skinner of the form's list that serves `hwnd`.
  TSkinEdit* EditSkinner(HWND hwnd) const {
    for (TSkinControl* c : sf->Controls())
      if (c && c->hwnd == hwnd) return dynamic_cast<TSkinEdit*>(c);
    return nullptr;
  }
  Pixel Shadow() const { return PixelOf(ColorToRGB(sf->fsd->Colors[kShemeButtonShadow])); }

  app::TForm1* form = nullptr;
  TWinSkinForm* sf = nullptr;
};

// Ring `d` of a w x h picture: the pixels d steps in from its edge.
bool RingIs(const PixelBuffer& p, int d, Pixel colour, std::string* why) {
  const int w = p.Width(), h = p.Height();
  for (int y = d; y < h - d; ++y)
    for (int x = d; x < w - d; ++x) {
      const bool onRing = x == d || y == d || x == w - 1 - d || y == h - 1 - d;
      if (!onRing || (p.At(x, y) & 0xFFFFFF) == colour) continue;
      if (why) {
        char buf[96];
        snprintf(buf, sizeof buf, "ring %d at (%d, %d) is %06X, not %06X", d, x, y,
                 unsigned(p.At(x, y) & 0xFFFFFF), unsigned(colour));
        *why = buf;
      }
      return false;
    }
  return true;
}

// The edit's border as the skin draws it: ButtonShadow, then white, then white.
::testing::AssertionResult SkinBorder(const PixelBuffer& p, Pixel shadow) {
  if (p.Width() < 8 || p.Height() < 8) return ::testing::AssertionFailure() << "no picture";
  std::string why;
  if (RingIs(p, 0, shadow, &why) && RingIs(p, 1, kWhite, &why) && RingIs(p, 2, kWhite, &why))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << why;
}

RECT WindowSize(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  OffsetRect(&r, -r.left, -r.top);
  return r;
}

TEST_F(SkinEdit, MainWindowUserNameEditIsDrawnByTheEditSkinner) {
  const HWND edit = form->Edit1->Handle();
  EXPECT_NE(EditSkinner(edit), nullptr) << "Edit1 has no TSkinEdit in the form's Controllist";
  EXPECT_EQ(SendMessageW(edit, SKM_ISSKINNED, 0, 0), 1);
}

TEST_F(SkinEdit, BorderOnTheScreenIsShadowThenTwoWhiteLines) {
  const HWND edit = form->Edit1->Handle();
  // The test's reading means something only when the skin's shadow is not white.
  ASSERT_NE(Shadow(), kWhite);
  ASSERT_TRUE(forms::test::Check(input::BringToFront(form->Handle(), forms::test::Waiting())));
  ::testing::AssertionResult seen = ::testing::AssertionFailure();
  EXPECT_TRUE(forms::test::PumpUntil([&] {
    return bool(seen = SkinBorder(forms::CaptureWindow(edit), Shadow()));
  })) << seen.message();
  // Taking the focus repaints the edit and its native edge; the skin's border comes back.
  const RECT e = form->Edit1->BoundsRect();
  ASSERT_TRUE(
      forms::test::ClickAt(form->Handle(), POINT{(e.left + e.right) / 2, (e.top + e.bottom) / 2}));
  ASSERT_TRUE(forms::test::PumpUntil([&] { return GetFocus() == edit; }));
  EXPECT_TRUE(forms::test::PumpUntil([&] {
    return bool(seen = SkinBorder(forms::CaptureWindow(edit), Shadow()));
  })) << "after the click: "
      << seen.message();
}

TEST_F(SkinEdit, DrawControlPutsTheThreeRingsAndNothingInside) {
  const HWND edit = form->Edit1->Handle();
  TSkinEdit* s = EditSkinner(edit);
  ASSERT_NE(s, nullptr);
  const RECT rc = WindowSize(edit);
  TDibSurface surface(rc.right, rc.bottom);
  surface.Pixels().Fill(kBlank);
  s->DrawControl(surface.Dc(), rc);
  GdiFlush();
  const PixelBuffer& p = surface.Pixels();
  EXPECT_TRUE(SkinBorder(p, Shadow()));
  EXPECT_TRUE(RingIs(p, 3, kBlank, nullptr)) << "the skinner drew inside its border";
}

TEST_F(SkinEdit, EditWithoutABorderGetsNoFrame) {
  auto* bare = forms::Place<forms::TEdit>(form, 200, 20, 80, 20);
  bare->SetBorderStyle(forms::TBorderStyle::bsNone);
  auto* s = new TSkinEdit(bare);
  s->Init(sf, sf->fsd, sf->HostCanvas(), false);
  const RECT rc = WindowSize(bare->Handle());
  RECT client{};
  GetClientRect(bare->Handle(), &client);
  ASSERT_EQ(client.right, rc.right) << "the edit still has a border";
  TDibSurface surface(rc.right, rc.bottom);
  surface.Pixels().Fill(kBlank);
  s->DrawControl(surface.Dc(), rc);
  GdiFlush();
  for (int d = 0; d < 3; ++d)
    EXPECT_TRUE(RingIs(surface.Pixels(), d, kBlank, nullptr)) << d;
}

TEST_F(SkinEdit, PrintedEditGetsTheBrushInsideAndShadowAround) {
  const HWND edit = form->Edit1->Handle();
  const RECT rc = WindowSize(edit);
  TDibSurface surface(rc.right, rc.bottom);
  surface.Pixels().Fill(kBlank);
  constexpr COLORREF kBrush = RGB(0x20, 0x40, 0x60);  // pixel 0x204060
  BrushHandle brush(CreateSolidBrush(kBrush));
  SelectScope selected(surface.Dc(), brush.get());
  SendMessageW(edit, WM_PRINT, reinterpret_cast<WPARAM>(surface.Dc()),
               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  GdiFlush();
  std::string why;
  EXPECT_TRUE(RingIs(surface.Pixels(), 0, Shadow(), &why)) << why;
  EXPECT_TRUE(RingIs(surface.Pixels(), 1, 0x204060, &why)) << why;
}

TEST_F(SkinEdit, PaintClientToWithTheMagicPaintsTheTextAndAnswersTheMagic) {
  const HWND edit = form->Edit1->Handle();
  SetWindowTextW(edit, L"WWWW");
  RECT client{};
  GetClientRect(edit, &client);
  TDibSurface surface(client.right, client.bottom);
  surface.Pixels().Fill(kBlank);
  EXPECT_EQ(
      SendMessageW(edit, SKM_PAINTCLIENTTO, reinterpret_cast<WPARAM>(surface.Dc()), SkinMagic),
      SkinMagic);
  GdiFlush();
  int painted = 0;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if ((surface.Pixels().At(x, y) & 0xFFFFFF) != kBlank) ++painted;
  EXPECT_GT(painted, 0) << "the edit painted nothing into the DC";
  // Without the magic the message is the edit's own business, not the skinner's.
  EXPECT_NE(SendMessageW(edit, SKM_PAINTCLIENTTO, reinterpret_cast<WPARAM>(surface.Dc()), 0),
            SkinMagic);
}

}  // namespace
