// The program's main window with the skin manager running, as the program starts it: the
// control-kind mapping gives exactly the memo's scroll bars, the two push buttons and the
// user-name edit a skinner (the labels none); the skin-controls set and the DisableTag keep
// controls native; after both runs the window is skinned from end to end on the screen; and
// the message box a failing run shows is skinned through the bare-window path.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <typeinfo>

#include "base/Colour.h"
#include "base/win/WideText.h"
#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "skin/data/SkinModel.h"
#include "skin/data/imgutil.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/app/AppSupport.h"
#include "tests/win/forms/FormsSupport.h"
#include "tools/input/Input.h"

namespace lbb::app::test {
namespace {

using namespace lbb::skin;

constexpr Pixel kWhite = 0xFFFFFF;

// The skin manager runs from the first test to the last, as in the program, where it lives
// as long as the process; each test makes its own main window.
class SkinnedMainWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    forms::test::EnsureApplication();
    // The program's services read the blog host from the environment when the first main
    // window is made: the sample host's, before any window of these tests.
    SetEnvironmentVariableW(L"LORVANE_BLOG_SITE",
                            lbb::Wide(Utf8ToText(Env("SAMPLEHOST_BLOG"))).c_str());
    SetEnvironmentVariableW(L"LORVANE_PHOTO_SITE",
                            lbb::Wide(Utf8ToText(Env("SAMPLEHOST_PHOTO"))).c_str());
    UseSkinManager();
  }
  static void TearDownTestSuite() {
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
    forms::test::Settle();
  }
  void TearDown() override {
    delete own;
    own = nullptr;
    forms::test::Settle();
  }
  // The form skinner of `form` once it has finished skinning; null (and a failure) when that
  // never happens.
  static TWinSkinForm* SkinnerOf(TForm1& form) {
    TWinSkinForm* sf = nullptr;
    const bool done = forms::test::PumpUntil([&] {
      TSkinManage* m = SkinManagerInstance();
      sf = m && form.HandleAllocated() ? m->FindForm(form.Handle()) : nullptr;
      return sf && sf->Skinstate == kSkinIdle && sf->Subclassed();
    });
    EXPECT_TRUE(done) << "the main window was not skinned";
    return done ? sf : nullptr;
  }
  // A main window made by the test, changed by `before` ahead of its showing.
  TForm1& Make(const std::function<void(TForm1&)>& before) {
    own = new TForm1(forms::Application);
    own->DoCreate();
    before(*own);
    own->ShowForm();
    return *own;
  }
  // The skinners of the form's list, by the control they serve.
  static std::map<forms::TControl*, TSkinControl*> ByControl(const TWinSkinForm& sf) {
    std::map<forms::TControl*, TSkinControl*> out;
    for (TSkinControl* c : sf.Controls())
      if (c) out[c->control] = c;
    return out;
  }

  TForm1* own = nullptr;
};

template <class S>
bool Exactly(TSkinControl* c) {
  return c && typeid(*c) == typeid(S);
}

TEST_F(SkinnedMainWindow, MappingGivesExactlyTheFourSkinnersOfItsControls) {
  TForm1& f = Make([](TForm1&) {});
  TWinSkinForm* sf = SkinnerOf(f);
  ASSERT_NE(sf, nullptr);
  const auto skinners = ByControl(*sf);
  EXPECT_EQ(sf->Controls().size(), 4u);
  EXPECT_TRUE(Exactly<TSkinScrollbar>(skinners.count(f.Memo1) ? skinners.at(f.Memo1) : nullptr))
      << "the memo";
  EXPECT_TRUE(Exactly<TSkinButton>(skinners.count(f.Button1) ? skinners.at(f.Button1) : nullptr))
      << "Button1";
  EXPECT_TRUE(Exactly<TSkinButton>(skinners.count(f.Button2) ? skinners.at(f.Button2) : nullptr))
      << "Button2";
  EXPECT_TRUE(Exactly<TSkinEdit>(skinners.count(f.Edit1) ? skinners.at(f.Edit1) : nullptr))
      << "the user-name edit";
  EXPECT_EQ(skinners.count(f.Label1), 0u) << "the label is drawn by the form, not a skinner";
  EXPECT_EQ(skinners.count(f.LinkLabel1), 0u);
  for (forms::TWinControl* w :
       {static_cast<forms::TWinControl*>(f.Memo1), static_cast<forms::TWinControl*>(f.Button1),
        static_cast<forms::TWinControl*>(f.Button2), static_cast<forms::TWinControl*>(f.Edit1)})
    EXPECT_EQ(SendMessageW(w->Handle(), SKM_ISSKINNED, 0, 0), 1) << TextToUtf8(w->Name());
}

TEST_F(SkinnedMainWindow, WithoutTheScrollBarKindTheMemoKeepsItsNativeBar) {
  TForm1& f = Make([](TForm1& form) {
    TSkinSet kinds = form.SkinData1->SkinControls();
    kinds &= ~SetOf(xcScrollbar);
    form.SkinData1->SetSkinControls(kinds);
  });
  TWinSkinForm* sf = SkinnerOf(f);
  ASSERT_NE(sf, nullptr);
  const auto skinners = ByControl(*sf);
  // The memo is an edit too: it falls through to the edit's row and gets the edit's border,
  // while its scroll bar stays the platform's.
  EXPECT_TRUE(Exactly<TSkinEdit>(skinners.count(f.Memo1) ? skinners.at(f.Memo1) : nullptr));
  for (const auto& [control, s] : skinners)
    EXPECT_EQ(dynamic_cast<TSkinScrollbar*>(s), nullptr) << TextToUtf8(control->Name());
  for (int i = 0; i < 40; ++i)
    f.Memo1->Lines()->Add(u"a line that fills the log");
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(f.Memo1->Handle(), SB_VERT, &si));
  ASSERT_GT(si.nMax, static_cast<int>(si.nPage)) << "the memo should need its bar";
  forms::test::Settle();
  EXPECT_EQ(FindWindowExW(nullptr, nullptr, L"LbbSkinScrollbar", nullptr), nullptr)
      << "a skinned bar overlay is up";
}

TEST_F(SkinnedMainWindow, AControlTaggedWithTheDisableTagStaysNative) {
  TForm1& f = Make([](TForm1& form) {
    ASSERT_EQ(form.SkinData1->DisableTag(), 99);
    form.Button2->SetTag(99);
  });
  TWinSkinForm* sf = SkinnerOf(f);
  ASSERT_NE(sf, nullptr);
  const auto skinners = ByControl(*sf);
  EXPECT_EQ(skinners.count(f.Button2), 0u);
  EXPECT_NE(SendMessageW(f.Button2->Handle(), SKM_ISSKINNED, 0, 0), 1);
  EXPECT_TRUE(Exactly<TSkinButton>(skinners.count(f.Button1) ? skinners.at(f.Button1) : nullptr));
}

// Ring `d` of a picture (the pixels d steps in from its edge) is all `colour`.
bool RingIs(const PixelBuffer& p, int d, Pixel colour) {
  const int w = p.Width(), h = p.Height();
  if (w <= 2 * d || h <= 2 * d) return false;
  for (int y = d; y < h - d; ++y)
    for (int x = d; x < w - d; ++x) {
      const bool onRing = x == d || y == d || x == w - 1 - d || y == h - 1 - d;
      if (onRing && (p.At(x, y) & 0xFFFFFF) != colour) return false;
    }
  return true;
}

// Which frame of the skin's Button element the window shows along its edges (a ring three
// pixels wide); 0 when none does.
int ButtonFrameShown(const TSkinData& sd, HWND hwnd) {
  const PixelBuffer shot = forms::CaptureWindow(hwnd);
  const int w = shot.Width(), h = shot.Height();
  if (w < 8 || h < 8 || !sd.Button) return 0;
  const TDataSkinButton& b = *sd.Button;
  for (int frame = 1; frame <= 5; ++frame) {
    const PixelBuffer expected =
        RenderSkinImage(TRect{0, 0, w, h}, b.Map, b.r, false, b.Tile == 1, 5, frame);
    bool same = true;
    for (int y = 0; y < h && same; ++y)
      for (int x = 0; x < w && same; ++x) {
        const bool ring = x < 3 || y < 3 || x >= w - 3 || y >= h - 3;
        if (ring && (shot.At(x, y) & 0xFFFFFF) != (expected.At(x, y) & 0xFFFFFF)) same = false;
      }
    if (same) return frame;
  }
  return 0;
}

TEST_F(SkinnedMainWindow, AfterBothRunsTheWindowIsSkinnedFromEndToEnd) {
  ASSERT_FALSE(Env("SAMPLEHOST_BLOG").empty()) << "run through scripts/with-samplehost";
  Control("clear-faults");
  Control("set?articles=9&page-size=5&pictures=6&album-page-size=4&latency=0");
  MainWindow w({"skinshot"});
  TForm1& f = w.form();
  TWinSkinForm* sf = SkinnerOf(f);
  ASSERT_NE(sf, nullptr);
  w.TypeUserName(L"skinshot");
  ASSERT_TRUE(w.ClickAndWait(f.Button1));
  ASSERT_TRUE(w.ClickAndWait(f.Button2));
  EXPECT_EQ(w.LogLines().size(), 7u + 9u + 6u);
  ASSERT_TRUE(forms::test::Check(input::BringToFront(f.Handle(), forms::test::Waiting())));
  forms::test::Settle();

  const TSkinData& sd = *sf->fsd;
  const Pixel shadow = PixelOf(ColorToRGB(sd.Colors[kShemeButtonShadow]));
  ASSERT_NE(shadow, kWhite);
  // The edit: ButtonShadow outside, two white lines inside.
  EXPECT_TRUE(forms::test::PumpUntil([&] {
    const PixelBuffer e = forms::CaptureWindow(f.Edit1->Handle());
    return RingIs(e, 0, shadow) && RingIs(e, 1, kWhite) && RingIs(e, 2, kWhite);
  })) << "the user-name edit does not show the skin's border";
  // Both buttons show a frame of the skin's Button element.
  for (forms::TButton* b : {f.Button1, f.Button2}) {
    int frame = 0;
    EXPECT_TRUE(forms::test::PumpUntil([&] { return (frame = ButtonFrameShown(sd, b->Handle())); }))
        << TextToUtf8(b->Name()) << " shows no frame of the skin";
  }
  // The runs filled the memo: its skinned bar overlay is up.
  auto* bars = dynamic_cast<TSkinScrollbar*>(ByControl(*sf)[f.Memo1]);
  ASSERT_NE(bars, nullptr);
  EXPECT_TRUE(forms::test::PumpUntil([&] {
    return bars->vb && bars->vb->Handle() && IsWindowVisible(bars->vb->Handle());
  })) << "the memo's skinned scroll bar is not shown";

  fs::create_directories(LBB_SCREENSHOT_DIR);
  const std::string path = std::string(LBB_SCREENSHOT_DIR) + "/skinned-main-window-after-runs.png";
  EXPECT_TRUE(forms::SaveWindowPng(f.Handle(), path));
}

// What the watcher saw of the run's message box before it answered it.
struct BoxSeen {
  std::mutex lock;
  bool boxSkinned = false;
  bool buttonSkinned = false;
  bool faceBehindText = false;
  std::string shot;
};

LRESULT Ask(HWND hwnd, UINT msg) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, 0, 0, SMTO_ABORTIFHUNG, 2000, &result)) return 0;
  return static_cast<LRESULT>(result);
}

BOOL CALLBACK FirstButton(HWND hwnd, LPARAM lp) {
  wchar_t cls[16];
  GetClassNameW(hwnd, cls, 16);
  if (std::wstring(cls) != L"Button") return TRUE;
  *reinterpret_cast<HWND*>(lp) = hwnd;
  return FALSE;
}

void InspectBox(HWND box, BoxSeen& seen, Pixel face) {
  input::Waiting w;
  w.handleMessages = nullptr;  // this thread has no windows
  HWND button = nullptr;
  EnumChildWindows(box, &FirstButton, reinterpret_cast<LPARAM>(&button));
  const bool skinned = input::WaitUntil(
      [&] { return Ask(box, SKM_ISSKINNED) == 1 && button && Ask(button, SKM_ISSKINNED) == 1; }, w);
  (void)input::BringToFront(box, w);
  // The message text stands on the skin's ButtonFace: most pixels of its window are that
  // colour, the rest are the letters (which must be there: the text is shown).
  HWND text = GetDlgItem(box, 0xFFFF);
  bool face_seen = false;
  if (text) {
    RECT r{};
    GetWindowRect(text, &r);
    face_seen = input::WaitUntil(
        [&] {
          const PixelBuffer p = forms::CaptureScreen(r);
          int same = 0;
          for (int y = 0; y < p.Height(); ++y)
            for (int x = 0; x < p.Width(); ++x)
              same += (p.At(x, y) & 0xFFFFFF) == face;
          const int all = p.Width() * p.Height();
          return all > 0 && same * 2 > all && same < all;
        },
        w);
  }
  fs::create_directories(LBB_SCREENSHOT_DIR);
  const std::string path = std::string(LBB_SCREENSHOT_DIR) + "/skinned-run-error-box.png";
  const bool saved = forms::SaveWindowPng(box, path);
  std::lock_guard l(seen.lock);
  seen.boxSkinned = skinned || Ask(box, SKM_ISSKINNED) == 1;
  seen.buttonSkinned = button && Ask(button, SKM_ISSKINNED) == 1;
  seen.faceBehindText = face_seen;
  seen.shot = saved ? path : std::string();
}

TEST_F(SkinnedMainWindow, TheRunErrorBoxIsSkinnedWithItsButtonAndText) {
  ASSERT_FALSE(Env("SAMPLEHOST_BLOG").empty()) << "run through scripts/with-samplehost";
  MainWindow w({"skinbox"});
  TForm1& f = w.form();
  TWinSkinForm* sf = SkinnerOf(f);
  ASSERT_NE(sf, nullptr);
  const Pixel face = PixelOf(ColorToRGB(sf->fsd->Colors[kShemeButtonFace]));
  Control("fault?path=/skinbox/blog/index/0&kind=404");
  w.TypeUserName(L"skinbox");
  BoxSeen seen;
  {
    MessageBoxAnswerer box([&](HWND hwnd) { InspectBox(hwnd, seen, face); });
    ASSERT_TRUE(w.ClickAndWait(f.Button1));
    ASSERT_TRUE(box.Seen());
    EXPECT_EQ(box.Text(), L"List index out of bounds (0)");
  }
  Control("clear-faults");
  std::lock_guard l(seen.lock);
  EXPECT_TRUE(seen.boxSkinned) << "the message box has no form skinner";
  EXPECT_TRUE(seen.buttonSkinned) << "the box's OK button is not skinned";
  EXPECT_TRUE(seen.faceBehindText) << "the message text is not on the skin's ButtonFace";
  EXPECT_FALSE(seen.shot.empty());
}

}  // namespace
}  // namespace lbb::app::test
