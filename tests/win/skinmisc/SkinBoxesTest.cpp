// The container skinners under Wine, on a form skinned with the built-in skin: a group box is
// ButtonFace inside a rounded ButtonShadow frame with its caption at the left (or at the right
// with WS_EX_RIGHT) and its labels painted; a panel takes the skin's ButtonFace and gets its
// colour back when unskinned; a child dialog and the platform's message box owned by the form
// show ButtonFace behind their texts and skinned buttons; a size grip is covered with
// ButtonFace while a scroll bar that reached the same skinner keeps its look.
#include <gtest/gtest.h>

#include "base/Colour.h"
#include "forms/ButtonCtrls.h"
#include "forms/Screenshot.h"
#include "forms/StdCtrls.h"
#include "forms/Timer.h"
#include "skin/controls/WinSkinBoxes.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinmisc/MiscSupport.h"

namespace lbb::skin::test {
namespace {

class SkinBoxes : public MiscTest {
 protected:
  // The rows (x = column) or columns (y = row) of `shot` equal to `p` along one line.
  static std::vector<int> AlongColumn(const PixelBuffer& shot, int x, Pixel p) {
    std::vector<int> at;
    for (int y = 0; y < shot.Height(); ++y)
      if ((shot.At(x, y) & 0xFFFFFF) == p) at.push_back(y);
    return at;
  }
  static std::vector<int> AlongRow(const PixelBuffer& shot, int y, Pixel p) {
    std::vector<int> at;
    for (int x = 0; x < shot.Width(); ++x)
      if ((shot.At(x, y) & 0xFFFFFF) == p) at.push_back(x);
    return at;
  }
  // The caption's ink in the box's top rows: what is neither ButtonFace nor ButtonShadow.
  RECT CaptionInk(const PixelBuffer& shot) const {
    PixelBuffer face(shot.Width(), shot.Height());
    face.Fill(Scheme(kShemeButtonFace));
    return InkBox(shot, face, Scheme(kShemeButtonShadow), RECT{0, 0, shot.Width(), 20});
  }
  forms::TGroupBox* Group(int left, const char16_t* text) {
    auto* g = Add<forms::TGroupBox>(left, 8, 240, 120);
    g->SetCaption(text);
    return g;
  }
};

TEST_F(SkinBoxes, GroupBoxIsFaceInsideARoundedShadowFrameWithItsCaption) {
  auto* left = Group(8, u"Options");
  auto* label = forms::Place<forms::TLabel>(left, 16, 50, 120, 16);
  label->SetCaption(u"Inside the box");
  auto* right = Group(260, u"Right");
  ShowSkinned();
  SetWindowLongW(right->Handle(), GWL_EXSTYLE,
                 GetWindowLongW(right->Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
  ASSERT_NE(Attach(TSkinnerKind::GroupBox, left, true), nullptr);
  ASSERT_NE(Attach(TSkinnerKind::GroupBox, right, true), nullptr);
  EXPECT_EQ(left->Color(), data->Colors[kShemeButtonFace]) << "the box takes ButtonFace";
  const Pixel face = Scheme(kShemeButtonFace), shadow = Scheme(kShemeButtonShadow);
  ASSERT_NE(face, shadow);
  PixelBuffer shot;
  ASSERT_TRUE(PumpUntil([&] {
    shot = forms::CaptureWindow(left->Handle());
    return !shot.Empty() && (shot.At(200, 100) & 0xFFFFFF) == face &&
           AlongColumn(shot, shot.Width() / 2, shadow).size() == 2;
  })) << "the inside is not ButtonFace, or the frame does not cross the middle column twice";
  SaveShot(form->Handle(), "groupbox");
  const int w = shot.Width(), h = shot.Height();
  // Down the middle: the frame's top line (half the "0" height less one) and its bottom line.
  const std::vector<int> column = AlongColumn(shot, w / 2, shadow);
  ASSERT_EQ(column.size(), 2u);
  EXPECT_GE(column[0], 2);
  EXPECT_LE(column[0], 12);
  EXPECT_EQ(column[1], h - 2);
  // Across the middle: the left line at x = 1, the right one at width - 2.
  EXPECT_EQ(AlongRow(shot, h / 2, shadow), (std::vector<int>{1, w - 2}));
  // The rounded corner leaves the frame's corner pixel as ButtonFace.
  EXPECT_EQ(shot.At(1, column[0]) & 0xFFFFFF, face);
  const RECT ink = CaptionInk(shot);
  EXPECT_GE(ink.left, 8) << "caption 8 pixels from the left";
  EXPECT_LE(ink.left, 11);
  // The label inside is painted by the box.
  PixelBuffer plain(w, h);
  plain.Fill(face);
  const RECT inLabel = InkBox(shot, plain, shadow, RECT{16, 50, 136, 66});
  EXPECT_LT(inLabel.left, inLabel.right) << "the label inside the box was not painted";
  // Right-aligned caption: it ends 8 pixels before the right edge.
  const PixelBuffer rshot = forms::CaptureWindow(right->Handle());
  const RECT rink = CaptionInk(rshot);
  EXPECT_LE(rink.right, rshot.Width() - 8);
  EXPECT_GE(rink.right, rshot.Width() - 11);
}

// A group box without a control object (a system dialog's): its own etched frame is covered
// and the skin's frame drawn over it.
TEST_F(SkinBoxes, BareGroupBoxWindowGetsTheSkinsFrameOverItsOwn) {
  ShowSkinned();
  const HWND box =
      CreateWindowExW(0, L"Button", L"Native group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 8, 8, 240,
                      120, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  windows.push_back(box);
  SendMessageW(box, WM_SETFONT, SendMessageW(form->Handle(), WM_GETFONT, 0, 0), TRUE);
  ASSERT_NE(AttachSkinnerHwnd(*sf, TSkinnerKind::GroupBox, box), nullptr);
  const Pixel shadow = Scheme(kShemeButtonShadow);
  const Pixel etched = PixelOf(GetSysColor(COLOR_BTNSHADOW));
  ASSERT_NE(etched, shadow);
  PixelBuffer shot;
  EXPECT_TRUE(PumpUntil([&] {
    shot = forms::CaptureWindow(box);
    return AlongColumn(shot, shot.Width() / 2, shadow).size() == 2 &&
           AlongRow(shot, shot.Height() / 2, shadow) == std::vector<int>{1, shot.Width() - 2} &&
           CountOf(shot, RECT{0, 0, shot.Width(), shot.Height()}, etched) == 0;
  })) << "the native frame shows, or the skin's frame is missing";
  SaveShot(form->Handle(), "groupbox-bare");
}

TEST_F(SkinBoxes, PanelTakesButtonFaceAndGetsItsColourBack) {
  constexpr int64_t kOwn = 0x0040C0;  // the panel's own colour (0x00BBGGRR)
  auto* panel = Add<forms::TPanel>(8, 8, 300, 120);
  panel->SetColor(kOwn);
  ShowSkinned();
  auto* s = Attach(TSkinnerKind::Box, panel, true);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(panel->Color(), data->Colors[kShemeButtonFace]);
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer shot = forms::CaptureWindow(panel->Handle());
    return (shot.At(150, 60) & 0xFFFFFF) == Scheme(kShemeButtonFace);
  })) << "the skinned panel is not ButtonFace";
  SaveShot(form->Handle(), "panel");
  s->Unsubclass();
  EXPECT_EQ(panel->Color(), kOwn);
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer shot = forms::CaptureWindow(panel->Handle());
    return (shot.At(150, 60) & 0xFFFFFF) == PixelOf(kOwn);
  })) << "the unskinned panel did not get its colour back";
}

TEST_F(SkinBoxes, SizeGripIsCoveredAndAPlainBarKeepsItsLook) {
  ShowSkinned();
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  auto bar = [&](DWORD style, int top) {
    return CreateWindowExW(0, L"ScrollBar", nullptr, WS_CHILD | WS_VISIBLE | style, 8, top, 80, 17,
                           form->Handle(), nullptr, inst, nullptr);
  };
  const HWND grip = bar(SBS_SIZEGRIP, 8), plain = bar(SBS_HORZ, 40),
             tab = bar(SBS_HORZ | WS_TABSTOP, 70);
  windows.insert(windows.end(), {grip, plain, tab});
  for (HWND h : {grip, plain, tab})
    sf->AddControlh(h);
  EXPECT_EQ(SendMessageW(grip, SKM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(SendMessageW(plain, SKM_ISSKINNED, 0, 0), 1) << "no tab stop: the grip's skinner";
  EXPECT_EQ(SendMessageW(tab, SKM_ISSKINNED, 0, 0), 0) << "a tab stop keeps it away";
  const Pixel face = Scheme(kShemeButtonFace);
  InvalidateRect(grip, nullptr, TRUE);
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer shot = forms::CaptureWindow(grip);
    return CountOf(shot, RECT{0, 0, shot.Width(), shot.Height()}, face) ==
           shot.Width() * shot.Height();
  })) << "the grip is not all ButtonFace";
  InvalidateRect(plain, nullptr, TRUE);
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer p = forms::CaptureWindow(plain);
    return CountOf(p, RECT{0, 0, p.Width(), p.Height()}, face) < p.Width() * p.Height() / 2;
  })) << "a plain bar was painted over";
  SaveShot(form->Handle(), "sizegrip");
}

// A child dialog holding a static text and a button, as a system dialog nests its pages.
TEST_F(SkinBoxes, ChildDialogShowsButtonFaceBehindItsTexts) {
  ShowSkinned();
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  const HWND dlg = CreateWindowExW(0, L"#32770", L"", WS_CHILD | WS_VISIBLE, 8, 8, 320, 100,
                                   form->Handle(), nullptr, inst, nullptr);
  ASSERT_NE(dlg, nullptr);
  windows.push_back(dlg);
  const HWND text =
      CreateWindowExW(0, L"Static", L"Pages are fetched in turn.", WS_CHILD | WS_VISIBLE, 10, 10,
                      220, 20, dlg, nullptr, inst, nullptr);
  const HWND ok = CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10,
                                  50, 80, 25, dlg, reinterpret_cast<HMENU>(IDOK), inst, nullptr);
  sf->AddControlh(dlg);
  EXPECT_EQ(SendMessageW(dlg, SKM_ISSKINNED, 0, 0), 1) << "the dialog";
  EXPECT_EQ(SendMessageW(ok, SKM_ISSKINNED, 0, 0), 1) << "its button, walked first";
  {
    WindowDc dc(text);
    EXPECT_EQ(SendMessageW(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(text)),
              reinterpret_cast<LRESULT>(data->BGBrush.get()));
  }
  RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  const Pixel face = Scheme(kShemeButtonFace);
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer shot = forms::CaptureWindow(dlg);
    const RECT t = RectIn(text, dlg);
    const int area = (t.right - t.left) * (t.bottom - t.top);
    return (shot.At(300, 90) & 0xFFFFFF) == face && CountOf(shot, t, face) * 2 > area;
  })) << "the dialog or its text is not on ButtonFace";
  SaveShot(form->Handle(), "childdialog");
}

// The platform's message box owned by the skinned form: found while it is up, looked at, and
// closed with a real click on its OK button.
TEST_F(SkinBoxes, MessageBoxOfTheFormIsSkinnedAndClosesWithARealClick) {
  ShowSkinned();
  const Pixel face = Scheme(kShemeButtonFace);
  bool looked = false;
  int ticks = 0;
  auto Look = [&](HWND box) {
    const HWND ok = GetDlgItem(box, IDOK);
    EXPECT_TRUE(WaitSkinned(box));
    EXPECT_NE(ok, nullptr);
    EXPECT_EQ(SendMessageW(ok, SKM_ISSKINNED, 0, 0), 1);
    EXPECT_TRUE(PumpUntil([&] { return FrameShown(ok) > 0; })) << "OK shows no button frame";
    HWND text = nullptr;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (GetWindowTextLengthW(c) > 10) text = c;
    EXPECT_NE(text, nullptr) << "no static text in the box";
    if (!text) return;
    EXPECT_TRUE(PumpUntil([&] {
      const PixelBuffer shot = forms::CaptureWindow(box, false);
      RECT t{};
      GetWindowRect(text, &t);
      MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&t), 2);
      const int area = (t.right - t.left) * (t.bottom - t.top);
      return (shot.At(2, 2) & 0xFFFFFF) == face && CountOf(shot, t, face) * 2 > area;
    })) << "the box or its text is not on ButtonFace";
  };
  forms::TTimer timer(nullptr);
  timer.SetInterval(50);
  timer.OnTimer = [&](forms::TObject*) {
    HWND box = nullptr;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w && !box; w = GetWindow(w, GW_HWNDNEXT))
      if (GetWindow(w, GW_OWNER) == form->Handle() && IsWindowVisible(w)) box = w;
    if (!box) {
      if (++ticks > 200) timer.SetEnabled(false);
      return;
    }
    timer.SetEnabled(false);
    looked = true;
    Look(box);
    SaveShot(box, "messagebox");
    // Always closed, by a real click when it works, so a failed look never leaves it open.
    const HWND ok = GetDlgItem(box, IDOK);
    if (!ok || !forms::test::ClickAt(ok, Middle(ok))) PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  timer.SetEnabled(true);
  const int answer = MessageBoxW(form->Handle(), L"The backup has finished; 12 articles saved.",
                                 L"Lorvane", MB_OK);
  EXPECT_TRUE(looked) << "the message box was never found";
  EXPECT_EQ(answer, IDOK);
}

}  // namespace
}  // namespace lbb::skin::test
