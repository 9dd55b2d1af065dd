// Caption geometry: title placement, caption-button visibility and bounds, client to
// frame points, region runs and the keyed runs of a bitmap. The skin numbers are those of the
// two skins that come with the program, read through the parsed model; every expected number
// was worked out by hand from the rules and the INI and image sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "resources/skin/BuiltinSkin.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/data/CaptionGeometry.h"
#include "skin/data/SkinModel.h"

namespace lbb::skin {
// Readable failures.
inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
}  // namespace lbb::skin

namespace {

using namespace lbb;
using namespace lbb::skin;

const TSkinModel& Parsed(std::span<const uint8_t> bytes, TSkinModel& m) {
  m.data.Clear();
  m.data.Write(bytes.data(), bytes.size());
  EXPECT_TRUE(m.ParseSkin());
  return m;
}
const TSkinModel& Slate() {
  static TSkinModel m;
  static const TSkinModel& p = Parsed(lbb::resources::BuiltinSkin(), m);
  return p;
}
const TSkinModel& Sand() {
  static TSkinModel m;
  static const TSkinModel& p = Parsed(lbb::resources::SandSkin(), m);
  return p;
}

TBorderPiece Piece(const TSkinModel& m, TBorderSide side) {
  const TDataSkinBorder& b = *m.border[side];
  return {b.Map.Width(), b.Map.Height(), b.frame};
}
TFrameWidths WidthsOf(const TSkinModel& m) {
  return FrameWidthsOf(Piece(m, kBorderLeft), Piece(m, kBorderRight), Piece(m, kBorderTop),
                       Piece(m, kBorderBottom), false);
}

// ---- border widths and the title element of both skins

TEST(CaptionGeometrySkins, BorderWidthsFromTheIniAndImageSizes) {
  // Slate (FrameImages.cpp): a 100 x 80 master per look, sides 4, caption 30, bottom 4; Left and
  // Right 4 x 80 side by side (8 x 80), Top 92 x 30 and Bottom 92 x 4 stacked; all Frame=2.
  const TSkinModel& s = Slate();
  EXPECT_EQ(s.border[kBorderLeft]->Map.Width(), 8);
  EXPECT_EQ(s.border[kBorderLeft]->Map.Height(), 80);
  EXPECT_EQ(s.border[kBorderTop]->Map.Width(), 92);
  EXPECT_EQ(s.border[kBorderTop]->Map.Height(), 60);
  EXPECT_EQ(s.border[kBorderBottom]->Map.Height(), 8);
  for (const auto& b : s.border)
    EXPECT_EQ(b->frame, 2);
  EXPECT_EQ(WidthsOf(s), (TFrameWidths{4, 30, 4, 4}));  // 8/2, 60/2, 8/2, 8/2
  // Sand (SecondImages.cpp): a 90 x 70 master, sides 6, caption 24, bottom 8: 12 x 70, 12 x 70,
  // 78 x 48, 78 x 16.
  const TSkinModel& d = Sand();
  EXPECT_EQ(d.border[kBorderRight]->Map.Width(), 12);
  EXPECT_EQ(d.border[kBorderTop]->Map.Height(), 48);
  EXPECT_EQ(d.border[kBorderBottom]->Map.Height(), 16);
  EXPECT_EQ(WidthsOf(d), (TFrameWidths{6, 24, 6, 8}));
  EXPECT_EQ(FrameWidthsOf(Piece(d, kBorderLeft), Piece(d, kBorderRight), Piece(d, kBorderTop),
                          Piece(d, kBorderBottom), true),
            TFrameWidths{});
}

TEST(CaptionGeometrySkins, TitleElements) {
  // Slate: TextShift=22, TextShiftVert=0, TextRightClip=8, TextAlignment=0, no TextBack.
  EXPECT_EQ(Slate().Title->r, (TRect{22, 0, 8, 0}));
  EXPECT_EQ(Slate().Title->Aligment, 0);
  EXPECT_EQ(Slate().Title->backleft, 0);
  EXPECT_EQ(Slate().Title->backright, 0);
  // Sand: TextShift=26, no vertical shift or right clip, centred, caps 8 and 8.
  EXPECT_EQ(Sand().Title->r, (TRect{26, 0, 0, 0}));
  EXPECT_EQ(Sand().Title->Aligment, 1);
  EXPECT_EQ(Sand().Title->backleft, 8);
  EXPECT_EQ(Sand().Title->backright, 8);
}

// ---- the title text

// The title input of a skin for a normal window 455 + borders wide: C = (bw.Left, 0,
// W - bw.Right, bw.Top); Slate (4, 0, 459, 30), Sand (6, 0, 461, 24); cw = 455 for both.
TCaptionTextInput TitleOf(const TSkinModel& m, int textWidth, int textHeight, int clientW = 455) {
  const TFrameWidths bw = WidthsOf(m);
  TCaptionTextInput in;
  in.Caption = {bw.Left, 0, bw.Left + clientW, bw.Top};
  in.TextWidth = textWidth;
  in.TextHeight = textHeight;
  in.BackLeft = m.Title->backleft;
  in.BackRight = m.Title->backright;
  in.Aligment = m.Title->Aligment;
  in.Shift = m.Title->r;
  return in;
}

struct TitleCase {
  const char* what;
  int align, textWidth, rightBtn;
  bool bidi, popup, dialog;
  TRect background;
};

TEST(PlaceCaptionText, SlateEveryAlignmentBidiPopupAndDialog) {
  // Slate: C = (4, 0, 459, 30), text height 16 -> y = (30 - 16) / 2 + 0 / 2 = 7; no caps, so
  // the text rectangle is the background. Right clip (non-popup): 459 - 8 = 451.
  const TitleCase cases[] = {
      {"left: x = 22", 0, 100, 110, false, false, false, {26, 7, 126, 23}},
      {"centre: x = 355 / 2 = 177", 1, 100, 110, false, false, false, {181, 7, 281, 23}},
      {"centre: 357 / 2 = 178", 1, 98, 110, false, false, false, {182, 7, 280, 23}},
      {"right: x = 455 - 8 - 100 = 347", 2, 100, 110, false, false, false, {351, 7, 451, 23}},
      {"other alignment: x = 0", 3, 100, 110, false, false, false, {4, 7, 104, 23}},
      {"negative alignment: x = 0", -1, 100, 110, false, false, false, {4, 7, 104, 23}},
      {"too wide, left: clipped at 451", 0, 500, 110, false, false, false, {26, 7, 451, 23}},
      {"too wide, centre: -5 / 2 = -2 (not -3)", 1, 460, 110, false, false, false, {2, 7, 451, 23}},
      {"dialog, left: 26 - 16", 0, 100, 110, false, false, true, {10, 7, 126, 23}},
      {"dialog, centre: no -16", 1, 100, 110, false, false, true, {181, 7, 281, 23}},
      {"dialog, right: no -16", 2, 100, 110, false, false, true, {351, 7, 451, 23}},
      // bidi: 0 -> cw - RightBtn - w, 1 -> (cw - w - RightBtn) / 2, 2 -> r.Left, other -> 0;
      // then +10 and no right clip.
      {"bidi left: 455 - 110 - 100 = 245", 0, 100, 110, true, false, false, {259, 7, 359, 23}},
      {"bidi centre: 245 / 2 = 122", 1, 100, 110, true, false, false, {136, 7, 236, 23}},
      {"bidi centre: 95 / 2 = 47", 1, 250, 110, true, false, false, {61, 7, 311, 23}},
      {"bidi right: x = 22", 2, 100, 110, true, false, false, {36, 7, 136, 23}},
      {"bidi right, no clip past 451", 2, 450, 110, true, false, false, {36, 7, 486, 23}},
      {"bidi other: x = 0 <= 0, Left := 22", 3, 100, 110, true, false, false, {32, 7, 114, 23}},
      {"bidi left, x = 0: Left := 22", 0, 345, 110, true, false, false, {32, 7, 359, 23}},
      {"bidi left, x = 1: Left kept", 0, 344, 110, true, false, false, {15, 7, 359, 23}},
      {"bidi left, x = -55: Left := 22", 0, 400, 110, true, false, false, {32, 7, 359, 23}},
      {"bidi centre, -5 / 2 = -2: Left := 22", 1, 350, 110, true, false, false, {32, 7, 362, 23}},
      {"bidi dialog left: 259 - 16", 0, 100, 110, true, false, true, {243, 7, 359, 23}},
      {"bidi popup: +10, no button clip", 2, 450, 110, true, true, false, {36, 7, 486, 23}},
      // popup: clip at C.Right - RightBtn - 5 only when RightBtn > 5; never at r.Right.
      {"popup, 426 > 459 - 110 - 5 = 344", 0, 400, 110, false, true, false, {26, 7, 344, 23}},
      {"popup, 326 < 344: kept", 0, 300, 110, false, true, false, {26, 7, 326, 23}},
      {"popup right: clipped even past Left", 2, 100, 110, false, true, false, {351, 7, 344, 23}},
      {"popup, RightBtn 6: 459 - 11", 0, 450, 6, false, true, false, {26, 7, 448, 23}},
      {"popup, RightBtn 5: no clip at all", 0, 450, 5, false, true, false, {26, 7, 476, 23}},
      {"popup, RightBtn 0: no clip at all", 0, 450, 0, false, true, false, {26, 7, 476, 23}},
  };
  for (const TitleCase& c : cases) {
    SCOPED_TRACE(c.what);
    TCaptionTextInput in = TitleOf(Slate(), c.textWidth, 16);
    in.Aligment = c.align;
    in.RightBtn = c.rightBtn;
    in.BidiLeft = c.bidi;
    in.Popup = c.popup;
    in.DialogBorder = c.dialog;
    EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{c.background, c.background}));
  }
}

TEST(PlaceCaptionText, SandCapsAndANarrowCaption) {
  // Sand: C = (6, 0, 461, 24), caps 8 + 8, text height 15 -> y = 9 / 2 = 4; right clip 461 - 0.
  TCaptionTextInput in = TitleOf(Sand(), 100, 15);
  // w = 116, x = (455 - 116) / 2 = 169: background (175, 4, 291, 19), text inside the caps.
  EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{{175, 4, 291, 19}, {183, 4, 283, 19}}));
  in.DialogBorder = true;  // centred: the dialog shift is for alignment 0 only
  EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{{175, 4, 291, 19}, {183, 4, 283, 19}}));
  in.DialogBorder = false;
  in.TextWidth = 101;  // w = 117, x = 338 / 2 = 169
  EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{{175, 4, 292, 19}, {183, 4, 284, 19}}));
  // Left aligned: x = 26, (32, 4, 148, 19); as a dialog Left - 16.
  in = TitleOf(Sand(), 100, 15);
  in.Aligment = 0;
  EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{{32, 4, 148, 19}, {40, 4, 140, 19}}));
  in.DialogBorder = true;
  EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{{16, 4, 148, 19}, {24, 4, 140, 19}}));
  // Right aligned: x = 455 - 0 - 116 = 339, Right 461 = the clip.
  in = TitleOf(Sand(), 100, 15);
  in.Aligment = 2;
  EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{{345, 4, 461, 19}, {353, 4, 453, 19}}));
  // Right to left, RightBtn 66 (Sand's minimise button): (455 - 116 - 66) / 2 = 136, then +10.
  in = TitleOf(Sand(), 100, 15);
  in.BidiLeft = true;
  in.RightBtn = 66;
  EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{{152, 4, 268, 19}, {160, 4, 260, 19}}));
  // A window 112 wide: C = (6, 0, 106, 24), cw = 100. w = 116: x = -16 / 2 = -8, T = (-2, 4,
  // 114, 19) clipped to 106; the text rectangle is what is left between the caps.
  in = TitleOf(Sand(), 100, 15, 100);
  EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{{-2, 4, 106, 19}, {6, 4, 98, 19}}));
  in.TextWidth = 103;  // w = 119: -19 / 2 = -9 (toward zero, not -10)
  EXPECT_EQ(PlaceCaptionText(in), (TCaptionTextPlace{{-3, 4, 106, 19}, {5, 4, 98, 19}}));
}

TEST(PlaceCaptionText, VerticalShiftAndMinimisedCaption) {
  TCaptionTextInput in = TitleOf(Slate(), 100, 33);  // taller than the caption
  in.Shift.Top = -3;  // (30 - 33) / 2 + (-3) / 2 = -1 + -1 = -2 (floor would give -4)
  EXPECT_EQ(PlaceCaptionText(in).Background, (TRect{26, -2, 126, 31}));
  in.TextHeight = 16;
  in.Shift.Top = 5;  // 7 + 5 / 2 = 9
  EXPECT_EQ(PlaceCaptionText(in).Background, (TRect{26, 9, 126, 25}));
  // Minimised Slate window 160 wide: C = (0, 0, 160, 30); right clip 160 - 8 = 152.
  in = TitleOf(Slate(), 100, 16);
  in.Caption = {0, 0, 160, 30};
  EXPECT_EQ(PlaceCaptionText(in).Text, (TRect{22, 7, 122, 23}));
  in.TextWidth = 200;
  EXPECT_EQ(PlaceCaptionText(in).Text, (TRect{22, 7, 152, 23}));
}

// ---- caption-button visibility

std::vector<TButtonWindow> AllWindows() {
  std::vector<TButtonWindow> all;
  for (int bits = 0; bits < (1 << 10); ++bits) {
    auto on = [bits](int i) { return (bits >> i & 1) != 0; };
    all.push_back({on(0), on(1), on(2), on(3), on(4), on(5), on(6), on(7), on(8), on(9)});
  }
  return all;
}

std::string Describe(const TButtonWindow& w) {
  const bool f[] = {w.Maximised,  w.Active,     w.MinBox,       w.MaxBox,      w.HelpBox,
                    w.SystemMenu, w.MessageBox, w.DialogBorder, w.MDIChildMax, w.HasMenuBar};
  const char* names[] = {"max",     "active", "minbox", "maxbox", "help",
                         "sysmenu", "msgbox", "dialog", "mdimax", "menubar"};
  std::string s;
  for (size_t i = 0; i < 10; ++i)
    if (f[i]) s += std::string(names[i]) + " ";
  return s;
}

// The rows the two tables share, and a row: the values it covers and when they show.
using TRule = bool (*)(const TButtonWindow&);
constexpr TRule Always = [](const TButtonWindow&) { return true; };
constexpr TRule Never = [](const TButtonWindow&) { return false; };
constexpr TRule Maxed = [](const TButtonWindow& w) { return w.Maximised; };
constexpr TRule NotMaxed = [](const TButtonWindow& w) { return !w.Maximised; };
constexpr TRule Active = [](const TButtonWindow& w) { return w.Active; };
constexpr TRule Inactive = [](const TButtonWindow& w) { return !w.Active; };
constexpr TRule NoMaxBox = [](const TButtonWindow& w) { return !w.MaxBox; };
constexpr TRule NoMinBox = [](const TButtonWindow& w) { return !w.MinBox; };
constexpr TRule MdiMax = [](const TButtonWindow& w) { return w.MDIChildMax && w.HasMenuBar; };
constexpr TRule Dialog = [](const TButtonWindow& w) { return !w.MessageBox && w.DialogBorder; };
struct RuleRow {
  std::vector<int> values;
  TRule shown;
};

const TAskButtonVisible kNoAsk = [](int v, int a) {
  ADD_FAILURE() << "asked for visibility " << v << ", action " << a;
  return true;
};

TEST(SysButtonVisibility, FirstRuleTable) {
  const RuleRow rows[] = {
      {{0, 201, 500, 999}, Always},
      {{1}, Maxed},
      {{2}, NotMaxed},
      {{3}, Active},
      {{4}, Inactive},
      {{6, 8}, [](const TButtonWindow& w) { return (w.MinBox || w.MaxBox) && w.SystemMenu; }},
      {{7}, NoMaxBox},
      {{9}, NoMinBox},
      {{10}, [](const TButtonWindow& w) { return w.HelpBox && !w.MinBox && !w.MaxBox; }},
      {{100}, MdiMax},
      {{200}, Dialog},
      {{-1, 5, 11, 99, 101, 199, 2001, 100000}, Never}};
  for (const TButtonWindow& w : AllWindows())
    for (const RuleRow& row : rows)
      for (int v : row.values) {
        SCOPED_TRACE("Visibility " + std::to_string(v) + ": " + Describe(w));
        // Visibility1 0 (always) and Action -1 (no action rule): the first rule alone.
        const TButtonVisibility r = SysButtonVisibility(v, 0, -1, w, kNoAsk);
        EXPECT_EQ(r.Visible, row.shown(w));
        EXPECT_FALSE(r.SetsEnabled);
      }
}

TEST(SysButtonVisibility, SecondRuleTableNeverAsks) {
  const RuleRow rows[] = {{{0, 201, 999, 1000, 1500, 2000}, Always},
                          {{1}, Maxed},
                          {{2}, NotMaxed},
                          {{3}, Active},
                          {{4}, Inactive},
                          {{6, 8}, [](const TButtonWindow& w) { return w.MinBox || w.MaxBox; }},
                          {{7}, NoMaxBox},
                          {{9}, NoMinBox},
                          {{10}, [](const TButtonWindow& w) { return w.HelpBox; }},
                          {{100}, MdiMax},
                          {{200}, Dialog},
                          {{-1, 5, 11, 99, 101, 199, 2001}, Never}};
  for (const TButtonWindow& w : AllWindows())
    for (const RuleRow& row : rows)
      for (int v : row.values) {
        SCOPED_TRACE("Visibility1 " + std::to_string(v) + ": " + Describe(w));
        EXPECT_EQ(SysButtonVisibility(0, v, -1, w, kNoAsk).Visible, row.shown(w));
      }
}

TEST(SysButtonVisibility, RulesCombineWithAnd) {
  for (const TButtonWindow& w : AllWindows()) {
    SCOPED_TRACE(Describe(w));
    // Slate's maximise button: Visibility 2, Visibility1 6.
    EXPECT_EQ(SysButtonVisibility(2, 6, -1, w, kNoAsk).Visible,
              !w.Maximised && (w.MinBox || w.MaxBox));
    EXPECT_EQ(SysButtonVisibility(1, 3, -1, w, kNoAsk).Visible, w.Maximised && w.Active);
    EXPECT_EQ(SysButtonVisibility(10, 4, -1, w, kNoAsk).Visible,
              w.HelpBox && !w.MinBox && !w.MaxBox && !w.Active);
  }
}

TEST(SysButtonVisibility, TheWindowIsAskedFor1000To2000Only) {
  const TButtonWindow w{};
  for (int v : {1000, 1234, 2000})
    for (bool answer : {true, false}) {
      SCOPED_TRACE(std::to_string(v) + (answer ? " yes" : " no"));
      std::vector<std::pair<int, int>> calls;
      const TAskButtonVisible ask = [&](int vis, int action) {
        calls.emplace_back(vis, action);
        return answer;
      };
      EXPECT_EQ(SysButtonVisibility(v, 0, 4, w, ask).Visible, answer);
      EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{v, 4}}));
      EXPECT_FALSE(SysButtonVisibility(v, -1, 4, w, ask).Visible);  // AND with rule two
    }
  // Just outside: never shown, never asked.
  EXPECT_FALSE(SysButtonVisibility(2001, 0, 4, w, kNoAsk).Visible);
  EXPECT_TRUE(SysButtonVisibility(999, 0, 4, w, kNoAsk).Visible);
}

TEST(SysButtonVisibility, ActionRules) {
  for (const TButtonWindow& w : AllWindows()) {
    SCOPED_TRACE(Describe(w));
    // Close: hidden without a system menu; enabled untouched.
    EXPECT_EQ(SysButtonVisibility(0, 0, 0, w, kNoAsk),
              (TButtonVisibility{w.SystemMenu, false, true}));
    // Maximise and minimise: shown, enabled from the box and the system menu.
    EXPECT_EQ(SysButtonVisibility(0, 0, 1, w, kNoAsk),
              (TButtonVisibility{true, true, w.MaxBox && w.SystemMenu}));
    EXPECT_EQ(SysButtonVisibility(0, 0, 2, w, kNoAsk),
              (TButtonVisibility{true, true, w.MinBox && w.SystemMenu}));
    // Set even when hidden by a rule.
    EXPECT_EQ(SysButtonVisibility(5, 0, 1, w, kNoAsk),
              (TButtonVisibility{false, true, w.MaxBox && w.SystemMenu}));
    for (int a : {3, 11, 12})
      EXPECT_EQ(SysButtonVisibility(0, 0, a, w, kNoAsk),
                (TButtonVisibility{!w.DialogBorder, false, true}));
    for (int a : {-1, 4, 7, 8, 9, 22, 23, 60, 100})
      EXPECT_EQ(SysButtonVisibility(0, 0, a, w, kNoAsk), (TButtonVisibility{true, false, true}));
  }
}

// RightBtn: the largest XCoord of the visible right-aligned caption buttons with a bitmap.
int RightBtnOf(const TSkinModel& m, const TButtonWindow& w) {
  int right = 0;
  for (const auto& b : m.SysBtn)
    if (b->Align == 1 && !b->Map.Empty() &&
        SysButtonVisibility(b->Visibility, b->Visibility1, b->Action, w, kNoAsk).Visible)
      right = std::max(right, b->XCoord);
  return right;
}

TEST(SysButtonVisibility, RightBtnOfBothSkins) {
  TButtonWindow main;  // normal, active, both boxes and a system menu
  main.MinBox = main.MaxBox = main.SystemMenu = true;
  // Slate: close 40, maximise 75 (restore hidden), minimise 110. Sand: 26, 46, 66.
  EXPECT_EQ(RightBtnOf(Slate(), main), 110);
  EXPECT_EQ(RightBtnOf(Sand(), main), 66);
  // A help-only window: Slate keeps close only; Sand's help button takes XCoord 46 from the
  // maximise button before it.
  TButtonWindow help;
  help.HelpBox = help.SystemMenu = true;
  EXPECT_EQ(RightBtnOf(Slate(), help), 40);
  EXPECT_EQ(RightBtnOf(Sand(), help), 46);
  help.SystemMenu = false;  // no close button either
  EXPECT_EQ(RightBtnOf(Slate(), help), 0);
}

// ---- caption-button bounds

TRect BoundsOf(const TDataSkinSysButton& b, int align, const TButtonFrame& f) {
  return SysButtonBounds(align, b.XCoord, b.YCoord, b.Map.Width() / b.frame, b.Map.Height(), f);
}

TEST(SysButtonBounds, SlateEveryAlign) {
  // W = 455 + 4 + 4 = 463; ctr of a left-aligned 100-pixel title (26, 7, 126, 23); menu 20.
  const TButtonFrame f{463, {26, 7, 126, 23}, {4, 30, 4, 4}, 20, Slate().Menubar->r.Left};
  EXPECT_EQ(f.MenubarShift, 2);  // TileLeftMenu=2
  const auto& btn = Slate().SysBtn;
  // Close, maximise, minimise: 210 x 21 in 6 cells -> 35 x 21, YCoord 5, Align 1.
  EXPECT_EQ(BoundsOf(*btn[0], btn[0]->Align, f), (TRect{423, 5, 458, 26}));  // 463 - 40
  EXPECT_EQ(BoundsOf(*btn[1], btn[1]->Align, f), (TRect{388, 5, 423, 26}));  // 463 - 75
  EXPECT_EQ(BoundsOf(*btn[3], btn[3]->Align, f), (TRect{353, 5, 388, 26}));  // 463 - 110
  // The icon button: Align 0 at (7, 7), 16 x 16 once InitSkinData gave it the icon bitmap.
  EXPECT_EQ(SysButtonBounds(btn[4]->Align, btn[4]->XCoord, btn[4]->YCoord, 16, 16, f),
            (TRect{7, 7, 23, 23}));
  // The close button's numbers under the other aligns: 2 and 8 at 26 - 35 - 40 = -49; 3 and 9
  // at 126 + 40 = 166; 100 at 463 - 40 - 4 - 2 = 417, (20 - 21) / 2 + 30 = 30; others (0, 0).
  for (int a : {2, 8})
    EXPECT_EQ(BoundsOf(*btn[0], a, f), (TRect{-49, 5, -14, 26}));
  for (int a : {3, 9})
    EXPECT_EQ(BoundsOf(*btn[0], a, f), (TRect{166, 5, 201, 26}));
  EXPECT_EQ(BoundsOf(*btn[0], 100, f), (TRect{417, 30, 452, 51}));
  for (int a : {-1, 4, 5, 10, 99, 101})
    EXPECT_EQ(BoundsOf(*btn[0], a, f), (TRect{0, 0, 35, 21}));
  // MDI buttons (MdiButtons.bmp 192 x 16 -> 64 x 16 each, 4 cells): XCoord 60, 40, 20;
  // x = 463 - XCoord - 4 - 2, y = (20 - 16) / 2 + 30 = 32.
  EXPECT_EQ(BoundsOf(*btn[5], 100, f), (TRect{397, 32, 413, 48}));
  EXPECT_EQ(BoundsOf(*btn[6], 100, f), (TRect{417, 32, 433, 48}));
  EXPECT_EQ(BoundsOf(*btn[7], 100, f), (TRect{437, 32, 453, 48}));
  TButtonFrame low = f;
  low.MenuHeight = 13;  // (13 - 16) / 2 = -1 toward zero (not -2): y = 29
  EXPECT_EQ(BoundsOf(*btn[7], 100, low), (TRect{437, 29, 453, 45}));
}

TEST(SysButtonBounds, SandEveryAlign) {
  // W = 455 + 6 + 6 = 467; ctr of the centred 100-pixel title (175, 4, 291, 19); no Menubar.
  ASSERT_FALSE(Sand().Menubar);
  const TButtonFrame f{467, {175, 4, 291, 19}, {6, 24, 6, 8}, 20, 0};
  const auto& btn = Sand().SysBtn;
  ASSERT_EQ(btn.size(), 6u + 3u);  // ButtonUnused is not a caption button
  for (size_t i = 0; i < 5; ++i)
    EXPECT_EQ(btn[i]->frame, 3);  // 54 x 18: 3 <= 3.8
  // Close, maximise, restore, minimise, help: 18 x 18 at YCoord 3, Align 1.
  EXPECT_EQ(BoundsOf(*btn[0], 1, f), (TRect{441, 3, 459, 21}));              // 467 - 26
  EXPECT_EQ(BoundsOf(*btn[1], 1, f), (TRect{421, 3, 439, 21}));              // 467 - 46
  EXPECT_EQ(BoundsOf(*btn[3], 1, f), (TRect{401, 3, 419, 21}));              // 467 - 66
  EXPECT_EQ(BoundsOf(*btn[4], btn[4]->Align, f), (TRect{421, 3, 439, 21}));  // help at 46
  // The emblem: 16 x 16, frame 1, Align 0 at (8, 4); beside the title: 175 - 16 - 8 = 151 and
  // 291 + 8 = 299; in the menu bar 467 - 8 - 6 - 0 = 453, (20 - 16) / 2 + 24 = 26.
  const TDataSkinSysButton& e = *btn[5];
  EXPECT_EQ(BoundsOf(e, e.Align, f), (TRect{8, 4, 24, 20}));
  EXPECT_EQ(BoundsOf(e, 2, f), (TRect{151, 4, 167, 20}));
  EXPECT_EQ(BoundsOf(e, 8, f), (TRect{151, 4, 167, 20}));
  EXPECT_EQ(BoundsOf(e, 3, f), (TRect{299, 4, 315, 20}));
  EXPECT_EQ(BoundsOf(e, 9, f), (TRect{299, 4, 315, 20}));
  EXPECT_EQ(BoundsOf(e, 100, f), (TRect{453, 26, 469, 42}));
  EXPECT_EQ(BoundsOf(e, 7, f), (TRect{0, 0, 16, 16}));
}

// ---- points

TEST(ClientToFrame, ShiftedByBordersAndMenuBandExceptMinimisedMdiChild) {
  EXPECT_EQ(ClientToFrame(10, 5, {4, 30, 4, 4}, 20, false), (TFramePoint{14, 55}));
  EXPECT_EQ(ClientToFrame(10, 5, {4, 30, 4, 4}, 20, true), (TFramePoint{10, 5}));
  EXPECT_EQ(ClientToFrame(0, 0, {6, 24, 6, 8}, 0, false), (TFramePoint{6, 24}));
  EXPECT_EQ(ClientToFrame(-6, -30, {6, 24, 6, 8}, 0, false), (TFramePoint{0, -6}));
  EXPECT_EQ(ClientToFrame(-6, -30, {6, 24, 6, 8}, 0, true), (TFramePoint{-6, -30}));
}

TEST(PointIn, RightAndBottomExclusive) {
  const TRect r{423, 5, 458, 26};
  EXPECT_TRUE(PointIn(r, 423, 5));
  EXPECT_TRUE(PointIn(r, 457, 25));
  EXPECT_FALSE(PointIn(r, 458, 5));
  EXPECT_FALSE(PointIn(r, 423, 26));
  EXPECT_FALSE(PointIn(r, 422, 5));
  EXPECT_FALSE(PointIn(r, 423, 4));
  EXPECT_FALSE(PointIn(TRect{5, 5, 5, 9}, 5, 6));  // empty
}

// ---- region runs

struct Flushes {
  std::vector<std::vector<TRect>> rects;
  std::vector<TRect> bounds;
  TRegionRuns::TFlush Sink() {
    return [this](const std::vector<TRect>& r, const TRect& b) {
      rects.push_back(r);
      bounds.push_back(b);
    };
  }
};

TEST(TRegionRuns, GrowsBy500AndFlushesEvery2000) {
  Flushes f;
  TRegionRuns runs(f.Sink());
  EXPECT_EQ(runs.Capacity(), 500u);
  // Rectangle k: (k % 10 - 7, k, k % 10 - 2, k + 1).
  auto rect = [](int k) { return TRect{k % 10 - 7, k, k % 10 - 2, k + 1}; };
  int k = 0;
  for (; k < 500; ++k)
    runs.Add(rect(k));
  EXPECT_EQ(runs.Capacity(), 500u);
  runs.Add(rect(k++));  // the 501st
  EXPECT_EQ(runs.Capacity(), 1000u);
  for (; k < 1000; ++k)
    runs.Add(rect(k));
  EXPECT_EQ(runs.Capacity(), 1000u);
  runs.Add(rect(k++));
  EXPECT_EQ(runs.Capacity(), 1500u);
  for (; k < 1999; ++k)
    runs.Add(rect(k));
  EXPECT_EQ(runs.Pending(), 1999u);
  EXPECT_TRUE(f.rects.empty());
  runs.Add(rect(k++));  // the 2000th: flushed at once
  EXPECT_EQ(runs.Pending(), 0u);
  ASSERT_EQ(f.rects.size(), 1u);
  ASSERT_EQ(f.rects[0].size(), 2000u);
  for (int i = 0; i < 2000; ++i)
    ASSERT_EQ(f.rects[0][static_cast<size_t>(i)], rect(i));
  EXPECT_EQ(f.bounds[0], (TRect{-7, 0, 7, 2000}));  // x from 0 - 7 to 9 - 2
  // Three more; Finish hands them over with their own bounding box, in order.
  for (; k < 2003; ++k)
    runs.Add(rect(k));
  runs.Finish();
  ASSERT_EQ(f.rects.size(), 2u);
  EXPECT_EQ(f.rects[1], (std::vector<TRect>{rect(2000), rect(2001), rect(2002)}));
  EXPECT_EQ(f.bounds[1], (TRect{-7, 2000, 0, 2003}));
  // Finish with nothing pending is still a (empty) call.
  runs.Finish();
  ASSERT_EQ(f.rects.size(), 3u);
  EXPECT_TRUE(f.rects[2].empty());
}

TEST(TRegionRuns, FinishOfNothingAndOfExactly2000) {
  Flushes empty;
  TRegionRuns none(empty.Sink());
  none.Finish();
  ASSERT_EQ(empty.rects.size(), 1u);
  EXPECT_TRUE(empty.rects[0].empty());
  Flushes f;
  TRegionRuns runs(f.Sink());
  for (int k = 0; k < 2000; ++k)
    runs.Add({k, 3, k + 1, 4});
  runs.Finish();
  ASSERT_EQ(f.rects.size(), 2u);  // the batch, then the empty rest
  EXPECT_EQ(f.bounds[0], (TRect{0, 3, 2000, 4}));
  EXPECT_TRUE(f.rects[1].empty());
}

// ---- keyed runs

constexpr Pixel K = 0xFF00FF, O = 0x336699;  // key (magenta) and an opaque pixel

PixelBuffer Bitmap(int w, int h, const std::vector<Pixel>& pixels) {
  PixelBuffer b(w, h);
  for (int i = 0; i < w * h; ++i)
    b.At(i % w, i / w) = pixels[static_cast<size_t>(i)];
  return b;
}

std::vector<TRect> RunsOf(const PixelBuffer& b, TColor key, int tolerance, int dx, int dy) {
  Flushes f;
  TRegionRuns runs(f.Sink());
  KeyedRuns(b, key, tolerance, dx, dy, runs);
  runs.Finish();
  std::vector<TRect> all;
  for (const auto& batch : f.rects)
    all.insert(all.end(), batch.begin(), batch.end());
  return all;
}

TEST(KeyedRuns, RunsBetweenKeyedPixelsWithOffsets) {
  const PixelBuffer b = Bitmap(6, 3,
                               {K, O, O, K, O, K,    // keyed at start, middle and end
                                K, K, K, K, K, K,    // fully keyed: no run
                                O, O, O, O, O, O});  // fully opaque: one run
  EXPECT_EQ(RunsOf(b, 0xFF00FF, 1, 0, 0),
            (std::vector<TRect>{{1, 0, 3, 1}, {4, 0, 5, 1}, {0, 2, 6, 3}}));
  EXPECT_EQ(RunsOf(b, 0xFF00FF, 1, 10, 20),
            (std::vector<TRect>{{11, 20, 13, 21}, {14, 20, 15, 21}, {10, 22, 16, 23}}));
  EXPECT_EQ(RunsOf(b, 0xFF00FF, 1, -3, -1),
            (std::vector<TRect>{{-2, -1, 0, 0}, {1, -1, 2, 0}, {-3, 1, 3, 2}}));
}

std::vector<TRect> MergedRunsOf(const PixelBuffer& b) {
  Flushes f;
  TRegionRuns runs(f.Sink());
  TRowMerge rows(runs);
  KeyedRuns(b, 0xFF00FF, 1, 0, 0, rows);
  rows.Finish();
  std::vector<TRect> all;
  for (const auto& batch : f.rects)
    all.insert(all.end(), batch.begin(), batch.end());
  return all;
}

// Every pixel of the bitmap is covered by the rectangles exactly when it is opaque, and no
// pixel twice.
bool CoversExactly(const PixelBuffer& b, const std::vector<TRect>& rects) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      int n = 0;
      for (const TRect& r : rects)
        n += PointIn(r, x, y) ? 1 : 0;
      if (n != (b.At(x, y) == K ? 0 : 1)) return false;
    }
  return true;
}

TEST(TRowMerge, RepeatedRowsMakeTallerRectanglesOfTheSameRegion) {
  const PixelBuffer b = Bitmap(4, 7, {O, O, K, K,    // a band of two equal rows
                                      O, O, K, K,    //
                                      K, O, K, O,    // a band of three equal rows
                                      K, O, K, O,    //
                                      K, O, K, O,    //
                                      K, K, K, K,    // an empty row parts equal rows
                                      K, O, K, O});  //
  const std::vector<TRect> merged = MergedRunsOf(b);
  EXPECT_EQ(merged, (std::vector<TRect>{
                        {0, 0, 2, 2}, {1, 2, 2, 5}, {3, 2, 4, 5}, {1, 6, 2, 7}, {3, 6, 4, 7}}));
  EXPECT_TRUE(CoversExactly(b, merged));
  // Same starts but another end, or another count, are not the same row.
  const PixelBuffer c = Bitmap(4, 3,
                               {O, O, K, K,    //
                                O, O, O, K,    //
                                O, O, K, O});  //
  EXPECT_EQ(MergedRunsOf(c), RunsOf(c, 0xFF00FF, 1, 0, 0));
  EXPECT_TRUE(CoversExactly(c, MergedRunsOf(c)));
}

TEST(TRowMerge, FullHdEveryOtherPixelIsOneBandOfColumns) {
  PixelBuffer b(1920, 1080);
  for (int y = 0; y < 1080; ++y)
    for (int x = 0; x < 1920; ++x)
      b.At(x, y) = (x % 2 == 0) ? K : O;
  const std::vector<TRect> merged = MergedRunsOf(b);
  ASSERT_EQ(merged.size(), 960u);
  EXPECT_EQ(merged.front(), (TRect{1, 0, 2, 1080}));
  EXPECT_EQ(merged.back(), (TRect{1919, 0, 1920, 1080}));
}

TEST(KeyedRuns, ToleranceAndByteOrder) {
  // 0xFF00FF, tolerance 1: red 255, green 0..1, blue 255. Pixels are 0x00RRGGBB; the unused
  // top byte does not count.
  const PixelBuffer b = Bitmap(7, 1,
                               {0xFF01FF,    // green 1: key
                                0xFF00FE,    // blue 254: not
                                0xFF02FF,    // green 2: not
                                0xFE00FF,    // red 254: not
                                0xFFFF00FF,  // key (top byte set)
                                0xFF00FF,    // key
                                0x00FF00});  // not
  EXPECT_EQ(RunsOf(b, 0xFF00FF, 1, 0, 0), (std::vector<TRect>{{1, 0, 4, 1}, {6, 0, 7, 1}}));
  // Tolerance 0: green 1 is no longer the key.
  EXPECT_EQ(RunsOf(b, 0xFF00FF, 0, 0, 0), (std::vector<TRect>{{0, 0, 4, 1}, {6, 0, 7, 1}}));
  // Key 0x00336699 (blue 0x33, green 0x66, red 0x99) is the pixel 0x996633; tolerance 2:
  // red 0x99..0x9B, green 0x66..0x68, blue 0x33..0x35.
  const PixelBuffer c = Bitmap(6, 1,
                               {0x996633,    // key
                                0x336699,    // the key's bytes as a pixel: not
                                0x9B6835,    // every channel at its top: key
                                0x9C6633,    // red 0x9C: not
                                0x986633,    // red 0x98: not
                                0x996633});  // key
  EXPECT_EQ(RunsOf(c, 0x00336699, 2, 0, 0), (std::vector<TRect>{{1, 0, 2, 1}, {3, 0, 5, 1}}));
}

TEST(KeyedRuns, FullHdEveryOtherPixelKeyed) {
  PixelBuffer b(1920, 1080);
  for (int y = 0; y < 1080; ++y)
    for (int x = 0; x < 1920; ++x)
      b.At(x, y) = x % 2 ? K : O;
  Flushes f;
  TRegionRuns runs(f.Sink());
  KeyedRuns(b, 0xFF00FF, 1, 0, 0, runs);
  runs.Finish();
  // 960 runs a row, 1 036 800 in all: 518 batches of 2000 and the rest, 800, at Finish.
  ASSERT_EQ(f.rects.size(), 519u);
  EXPECT_EQ(f.rects[517].size(), 2000u);
  EXPECT_EQ(f.rects[518].size(), 800u);
  // The first batch: rows 0 and 1 (1920) and 80 runs of row 2, the last (158, 2, 159, 3).
  EXPECT_EQ(f.bounds[0], (TRect{0, 0, 1919, 3}));
  EXPECT_EQ(f.rects[0][0], (TRect{0, 0, 1, 1}));
  EXPECT_EQ(f.rects[0][959], (TRect{1918, 0, 1919, 1}));
  EXPECT_EQ(f.rects[0][960], (TRect{0, 1, 1, 2}));
  EXPECT_EQ(f.rects[0][1999], (TRect{158, 2, 159, 3}));
  EXPECT_EQ(f.rects[518].back(), (TRect{1918, 1079, 1919, 1080}));
  std::vector<int> perRow(1080, 0);
  for (const auto& batch : f.rects)
    for (const TRect& r : batch) {
      ASSERT_EQ(r.Width(), 1);
      ASSERT_EQ(r.Height(), 1);
      ++perRow[static_cast<size_t>(r.Top)];
    }
  for (int y = 0; y < 1080; ++y)
    ASSERT_EQ(perRow[static_cast<size_t>(y)], 960) << "row " << y;
}

}  // namespace
