// The media player under Wine: the form library's player control, skinned through the
// control-kind mapping, is covered by the skinned panel, whose buttons show the skin's button
// frames; a real click on the play button raises the player's OnClick with btPlay once; the
// panel follows the player when it moves and hides with it.
#include <gtest/gtest.h>

#include "forms/MediaPlayer.h"
#include "forms/Screenshot.h"
#include "skin/controls/WinSkinMedia.h"
#include "tests/win/forms/FormsSupport.h"
#include "tests/win/skinmisc/MiscSupport.h"

namespace lbb::skin::test {
namespace {

using forms::TMPBtnType;

class SkinMedia : public MiscTest {
 protected:
  TSkinMP* SkinnerOf(forms::TControl* c) const {
    for (TSkinControl* s : sf->Controls())
      if (s->control == c) return dynamic_cast<TSkinMP*>(s);
    return nullptr;
  }
  static PixelBuffer Crop(const PixelBuffer& shot, const RECT& r) {
    PixelBuffer out(r.right - r.left, r.bottom - r.top);
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x)
        out.At(x, y) = shot.Get(r.left + x, r.top + y);
    return out;
  }
  static bool SameBounds(const forms::TControl* a, const forms::TControl* b) {
    const RECT ra = a->BoundsRect(), rb = b->BoundsRect();
    return EqualRect(&ra, &rb) != FALSE;
  }
};

TEST_F(SkinMedia, PanelCoversThePlayerAndClicksReachItsOnClickOnce) {
  auto* player = forms::Place<forms::TMediaPlayer>(form, 20, 20, 270, 30);
  player->SetEnabledButtons(forms::kAllMPButtons & ~forms::MPButton(TMPBtnType::btEject));
  int clicks = 0;
  TMPBtnType last = TMPBtnType::btStop;
  player->OnClick = [&](forms::TObject*, TMPBtnType b) {
    ++clicks;
    last = b;
  };
  ShowSkinned();
  TSkinMP* s = SkinnerOf(player);
  ASSERT_NE(s, nullptr) << "the mapping gave the player no media skinner";
  ASSERT_NE(s->mp, nullptr);
  TWMediaPlayer* panel = s->mp.get();
  const HWND ph = panel->Handle();
  EXPECT_TRUE(SameBounds(panel, player));
  EXPECT_TRUE(IsWindowVisible(ph));
  POINT middle{135, 15};
  ClientToScreen(player->Handle(), &middle);
  EXPECT_EQ(WindowFromPoint(middle), ph) << "the panel lies over the player";
  EXPECT_EQ(panel->count, 9);
  // Every button shows the skin's frame: normal, the eject button disabled.
  const TMPButton& play = panel->Buttons[size_t(TMPBtnType::btPlay)];
  const TMPButton& eject = panel->Buttons[size_t(TMPBtnType::btEject)];
  EXPECT_FALSE(eject.Enabled);
  EXPECT_TRUE(PumpUntil([&] {
    const PixelBuffer shot = forms::CaptureWindow(ph, false);
    return FrameShown(Crop(shot, play.Rect)) == 1 && FrameShown(Crop(shot, eject.Rect)) == 3;
  })) << "the buttons do not show the skin's frames";
  SaveShot(form->Handle(), "mediaplayer");
  const POINT at{(play.Rect.left + play.Rect.right) / 2, (play.Rect.top + play.Rect.bottom) / 2};
  ASSERT_TRUE(forms::test::ClickAt(ph, at));
  EXPECT_TRUE(PumpUntil([&] { return clicks > 0; })) << "the click never reached OnClick";
  Settle();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(last, TMPBtnType::btPlay);
  // A click on the disabled eject button raises nothing.
  const POINT ej{(eject.Rect.left + eject.Rect.right) / 2,
                 (eject.Rect.top + eject.Rect.bottom) / 2};
  ASSERT_TRUE(forms::test::ClickAt(ph, ej));
  Settle();
  EXPECT_EQ(clicks, 1);
  player->SetLeft(80);
  EXPECT_TRUE(PumpUntil([&] { return SameBounds(panel, player); })) << "the panel stayed behind";
  player->SetVisible(false);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(ph); })) << "the panel did not hide";
  player->SetVisible(true);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(ph); })) << "the panel did not come back";
}

}  // namespace
}  // namespace lbb::skin::test
