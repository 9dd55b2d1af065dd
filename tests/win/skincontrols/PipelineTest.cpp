// The control skinner base under Wine: the message pipeline on a control object and on a bare
// window (recorded in the order the skinner, the control's previous method or procedure and
// the skinner's after-step saw each message), switching skinning off and on, the colour it
// lends and gives back, giving the method and procedure back, a skinner freed by the control's
// own handling, and the drawing helpers on real device contexts.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Colour.h"
#include "base/win/Handles.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "forms/WindowProcHook.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/imgutil.h"
#include "skin/win/DibSurface.h"
#include "skin/win/SkinMessages.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {
namespace {

constexpr UINT kProbe = WM_APP + 7;        // a message nobody handles
constexpr UINT kFreeSkinner = WM_APP + 8;  // the control's own handling frees the skinner
constexpr int kDisableTag = 99;            // keeps the control-kind mapping off a control

// One line per step a message passed: "B" skinner before, "P" the control's previous handler,
// "A" skinner after, "D" a paint of the skin.
using TTrace = std::vector<std::string>;

std::string Step(char who, UINT msg) {
  return std::string(1, who) + ":" + std::to_string(msg);
}

// A skinner that notes what its pipeline steps see.
class TProbeSkinner : public TSkinControl {
 public:
  using TSkinControl::fsd;
  TProbeSkinner(forms::TComponent* owner, TTrace* trace) : TSkinControl(owner), trace_(trace) {}
  bool BeforeProc(forms::TMessage& m) override {
    if (Watched(m.Msg)) trace_->push_back(Step('B', m.Msg));
    return TSkinControl::BeforeProc(m);
  }
  void AfterProc(forms::TMessage& m) override {
    if (Watched(m.Msg)) trace_->push_back(Step('A', m.Msg));
    TSkinControl::AfterProc(m);
  }
  void DrawControl(HDC, const RECT&) override { ++draws; }
  void Unsubclass() override {
    ++unsubclassed;
    TSkinControl::Unsubclass();
  }
  using TSkinControl::ForwardMouseDown;
  using TSkinControl::Redraw;
  int draws = 0;
  int unsubclassed = 0;

 private:
  static bool Watched(UINT msg) {
    return msg == kProbe || msg == kFreeSkinner || msg == WM_SETTEXT || msg == SKM_ISSKINNED;
  }
  TTrace* trace_;
};

class PipelineTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Start();
    form = new forms::TForm(nullptr);
    form->SetBounds(120, 120, 320, 220);
    button = new forms::TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 120, 30);
    button->SetTag(kDisableTag);
    button->SetColor(0x123456);
    form->ShowForm();
    ASSERT_TRUE(SkinShown(form->Handle()));
    sf = mgr->FindForm(form->Handle());
    ASSERT_NE(sf, nullptr);
    // The control's handling before any skinner: it records, and frees the skinner on request.
    previous = std::make_unique<forms::TWindowProcHook>([this](forms::TMessage& m) {
      if (m.Msg == kProbe || m.Msg == kFreeSkinner || m.Msg == WM_SETTEXT || m.Msg == SKM_ISSKINNED)
        trace.push_back(Step('P', m.Msg));
      if (m.Msg == kFreeSkinner) delete std::exchange(probe, nullptr);
      previous->CallPrevious(m);
    });
    ASSERT_TRUE(previous->Install(*button));
  }
  void TearDown() override {
    delete form;
    previous.reset();
    EngineTest::TearDown();
  }
  TProbeSkinner* StartProbe(bool acolor = false) {
    probe = new TProbeSkinner(button, &trace);
    probe->Init(sf, data, sf->HostCanvas(), acolor);
    trace.clear();
    return probe;
  }
  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) {
    return SendMessageW(button->WindowHandle(), msg, w, l);
  }

  forms::TForm* form = nullptr;
  forms::TButton* button = nullptr;
  TWinSkinForm* sf = nullptr;
  std::unique_ptr<forms::TWindowProcHook> previous;
  TProbeSkinner* probe = nullptr;
  TTrace trace;
};

TEST_F(PipelineTest, EveryMessagePassesBeforeTheControlThenAfter) {
  StartProbe();
  EXPECT_EQ(sf->Controls().back(), probe);
  Send(kProbe);
  SendMessageW(button->WindowHandle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"New"));
  EXPECT_EQ(trace, (TTrace{Step('B', kProbe), Step('P', kProbe), Step('A', kProbe),
                           Step('B', WM_SETTEXT), Step('P', WM_SETTEXT), Step('A', WM_SETTEXT)}));
  // The skinner answers whether the control is skinned; the control never sees the question.
  trace.clear();
  EXPECT_EQ(Send(SKM_ISSKINNED), 1);
  EXPECT_EQ(trace, (TTrace{Step('B', SKM_ISSKINNED)}));
}

TEST_F(PipelineTest, SwitchedOffTheControlIsNativeAndSwitchedOnItRepaints) {
  StartProbe();
  Send(SKM_SETSKINNED, 0);
  EXPECT_FALSE(probe->Skinned());
  Send(SKM_ISSKINNED);
  Send(kProbe);
  // Off: the question and every other message go straight to the control.
  EXPECT_EQ(trace, (TTrace{Step('P', SKM_ISSKINNED), Step('P', kProbe)}));
  EXPECT_NE(Send(SKM_ISSKINNED), 1);
  const int draws = probe->draws;
  trace.clear();
  Send(SKM_SETSKINNED, 1);
  EXPECT_TRUE(probe->Skinned());
  EXPECT_TRUE(trace.empty()) << "SKM_SETSKINNED reached the control";
  EXPECT_GT(probe->draws, draws) << "switching skinning on did not repaint at once";
  EXPECT_EQ(Send(SKM_ISSKINNED), 1);
}

TEST_F(PipelineTest, ASecondInitChangesNothing) {
  StartProbe();
  const size_t listed = sf->Controls().size();
  probe->Init(sf, data, sf->HostCanvas(), true);
  EXPECT_EQ(sf->Controls().size(), listed);
  EXPECT_EQ(button->Color(), 0x123456) << "the second Init lent the skin's colour";
  Send(kProbe);
  EXPECT_EQ(trace, (TTrace{Step('B', kProbe), Step('P', kProbe), Step('A', kProbe)}));
}

TEST_F(PipelineTest, TheLentColourGoesBackOnUnsubclassButNotWhileTheWindowIsDestroyed) {
  StartProbe(true);
  EXPECT_EQ(button->Color(), data->Colors[kShemeButtonFace]);
  probe->Unsubclass();
  EXPECT_EQ(button->Color(), 0x123456);
  delete std::exchange(probe, nullptr);

  StartProbe(true);
  ASSERT_EQ(button->Color(), data->Colors[kShemeButtonFace]);
  DestroyWindow(button->WindowHandle());
  EXPECT_EQ(probe->skinstate, kControlDestroyed);
  EXPECT_EQ(probe->unsubclassed, 1);
  EXPECT_FALSE(probe->Skinned());
  EXPECT_EQ(button->Color(), data->Colors[kShemeButtonFace]);
}

TEST_F(PipelineTest, DestroyPutsThePreviousMethodBack) {
  StartProbe();
  ASSERT_FALSE(previous->Current());
  delete std::exchange(probe, nullptr);
  EXPECT_TRUE(previous->Current()) << "the skinner's method is still in front of the control";
  for (TSkinControl* c : sf->Controls())
    EXPECT_NE(c->control, button) << "a freed skinner stayed listed";
  Send(kProbe);
  EXPECT_EQ(Send(SKM_ISSKINNED), 0);
  EXPECT_EQ(trace, (TTrace{Step('P', kProbe), Step('P', SKM_ISSKINNED)}));
}

TEST_F(PipelineTest, ASkinnerFreedByTheControlsOwnHandlingIsNotTouchedAgain) {
  StartProbe();
  Send(kFreeSkinner);
  EXPECT_EQ(probe, nullptr);
  EXPECT_EQ(trace, (TTrace{Step('B', kFreeSkinner), Step('P', kFreeSkinner)}));
  EXPECT_TRUE(previous->Current());
  Send(kProbe);
  EXPECT_EQ(trace.back(), Step('P', kProbe));
}

TEST_F(PipelineTest, AButtonDownForwardedReachesTheControlAsAMouseDown) {
  StartProbe();
  int downs = 0, gotX = -1, gotY = -1;
  forms::TShiftState gotShift = 0;
  button->OnMouseDown = [&](forms::TObject*, forms::TMouseButton b, forms::TShiftState s, int x,
                            int y) {
    EXPECT_EQ(b, forms::TMouseButton::mbLeft);
    ++downs;
    gotShift = s;
    gotX = x;
    gotY = y;
  };
  probe->ForwardMouseDown(forms::TMessage{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(7, 9)});
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(gotX, 7);
  EXPECT_EQ(gotY, 9);
  EXPECT_EQ(gotShift, forms::ssLeft | forms::ssShift);
}

// ---- bare windows

class BareWindowTest : public EngineTest {
 protected:
  TRawLog log;  // outlives the window
};

TEST_F(BareWindowTest, ProcedureReplacedAnsweredAndGivenBack) {
  HWND h = MakeRawWindow(&log);
  windows.push_back(h);
  SetWindowTextW(h, L"Bare caption");
  const LONG_PTR own = GetWindowLongPtrW(h, GWLP_WNDPROC);
  TTrace trace;
  auto* s = new TProbeSkinner(nullptr, &trace);
  s->Inithwnd(h, data, nullptr, nullptr);
  EXPECT_TRUE(s->Started());
  EXPECT_EQ(s->skinstate, kControlStarted);
  EXPECT_EQ(s->Caption(), u"Bare caption");
  EXPECT_NE(GetWindowLongPtrW(h, GWLP_WNDPROC), own);
  log.Clear();
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1);
  SendMessageW(h, kProbe, 1, 2);
  EXPECT_EQ(log.Only({SKM_ISSKINNED, kProbe}), (std::vector<UINT>{kProbe}));
  EXPECT_EQ(trace, (TTrace{Step('B', SKM_ISSKINNED), Step('B', kProbe), Step('A', kProbe)}));
  delete s;
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), own);
  log.Clear();
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(log.Count(SKM_ISSKINNED), 1);
}

TEST_F(BareWindowTest, TheWindowDestroyedUnderTheSkinnerStopsIt) {
  HWND h = MakeRawWindow(&log);
  TTrace trace;
  auto* s = new TProbeSkinner(nullptr, &trace);
  s->Inithwnd(h, data, nullptr, nullptr);
  DestroyWindow(h);
  EXPECT_EQ(log.Count(WM_NCDESTROY), 1) << "the window's own procedure missed WM_NCDESTROY";
  EXPECT_EQ(s->skinstate, kControlDestroyed);
  EXPECT_EQ(s->unsubclassed, 1);
  delete s;  // nothing left to give back
}

// ---- drawing helpers on device contexts

class DrawHelperTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    probe = std::make_unique<TProbeSkinner>(nullptr, &trace);
    probe->fsd = data;
  }
  TTrace trace;
  std::unique_ptr<TProbeSkinner> probe;
};

TEST_F(DrawHelperTest, AKeyedElementLeavesTheTargetUnderItsKeyColour) {
  // A 2-frame element of 4 x 4 cells: frame 1 red with a key-coloured centre, frame 2 green.
  TDataSkinObject e;
  e.Map = PixelBuffer(8, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x)
      e.Map.At(x, y) = x < 4 ? PixelOf(0x0000FF) : PixelOf(0x00FF00);
  e.Map.At(1, 1) = e.Map.At(2, 1) = e.Map.At(1, 2) = e.Map.At(2, 2) = kSkinKeyColour;
  e.trans = 1;
  TDibSurface target(10, 10);
  target.Pixels().Fill(PixelOf(0xAA5500));
  const RECT rc{2, 2, 6, 6};
  probe->DrawSkinMap(target.Dc(), rc, &e, 1, 2);
  const PixelBuffer& px = target.Pixels();
  EXPECT_EQ(px.At(2, 2), PixelOf(0x0000FF));
  EXPECT_EQ(px.At(3, 3), PixelOf(0xAA5500)) << "the key colour was copied";
  EXPECT_EQ(px.At(1, 1), PixelOf(0xAA5500)) << "drawn outside rc";
  EXPECT_EQ(px.At(6, 6), PixelOf(0xAA5500)) << "drawn outside rc";
  // Opaque: the key colour is copied like any other; frame 2 is taken.
  e.trans = 0;
  probe->DrawSkinMap(target.Dc(), rc, &e, 2, 2);
  EXPECT_EQ(target.Pixels().At(3, 3), PixelOf(0x00FF00));
  // An inverted rectangle draws nothing.
  probe->DrawSkinMap(target.Dc(), RECT{6, 6, 2, 2}, &e, 1, 2);
  EXPECT_EQ(target.Pixels().At(3, 3), PixelOf(0x00FF00));
}

TEST_F(DrawHelperTest, BmpSkinFillsTheFaceUnderAKeyedFrame) {
  TDataSkinObject e;
  e.Map = PixelBuffer(3, 3);
  e.Map.Fill(PixelOf(0x0000FF));
  e.Map.At(1, 1) = kSkinKeyColour;
  TDibSurface bmp(3, 3);
  probe->DrawBMPSkin(bmp, RECT{0, 0, 3, 3}, &e, 1, 1, 1);
  const Pixel face = PixelOf(ColorToRGB(data->Colors[kShemeButtonFace]));
  EXPECT_EQ(bmp.Pixels().At(1, 1), face);
  EXPECT_EQ(bmp.Pixels().At(0, 0), PixelOf(0x0000FF));
}

TEST_F(DrawHelperTest, TheParentsBackgroundIsPaintedUnderTheControl) {
  Start();
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 200, 160);
  auto* panel = new forms::TPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(0, 0, 180, 120);
  panel->SetColor(0x00336699);
  panel->SetTag(kDisableTag);
  auto* b = new forms::TButton(&form);
  b->SetParent(panel);
  b->SetBounds(30, 40, 50, 20);
  b->SetTag(kDisableTag);
  form.ShowForm();
  Settle();
  TDibSurface surface(50, 20);
  surface.Pixels().Fill(0);
  TSkinControl::DrawParentBackground(b, surface.Dc());
  EXPECT_EQ(surface.Pixels().At(0, 0), PixelOf(0x00336699));
  EXPECT_EQ(surface.Pixels().At(49, 19), PixelOf(0x00336699));
  // Its colour as the parent publishes it.
  probe->control = b;
  EXPECT_EQ(probe->GetParentColor(7), 0x00336699);
}

}  // namespace
}  // namespace lbb::skin::test
