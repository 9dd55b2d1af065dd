// Menu-bar geometry: the first button's offset, button widths, and the rows left to right and
// right to left with hidden buttons and a maximised MDI child's buttons at the band's end.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "skin/data/MenuBarGeometry.h"

namespace lbb::skin {
inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
}  // namespace lbb::skin

namespace {

using namespace lbb::skin;

TEST(MenuBarGeometry, StartOffsetFromTheElementMarginsOrSixWithoutOne) {
  const TRect margins{2, 0, 7, 0};
  EXPECT_EQ(MenuBarStart(true, margins, false, 300), 6);   // left margin + 4
  EXPECT_EQ(MenuBarStart(true, margins, true, 300), 15);   // right margin + 8
  EXPECT_EQ(MenuBarStart(false, margins, false, 300), 6);  // no element
  EXPECT_EQ(MenuBarStart(false, margins, true, 2), 6);
  // A band narrower than the offset starts its first button at 12.
  EXPECT_EQ(MenuBarStart(true, TRect{40, 0, 0, 0}, false, 30), 12);
  EXPECT_EQ(MenuBarStart(true, TRect{0, 0, 40, 0}, true, 30), 12);
  EXPECT_EQ(MenuBarStart(true, TRect{26, 0, 0, 0}, false, 30), 30);  // exactly the width: kept
}

TEST(MenuBarGeometry, ButtonWidthAddsTenOnlyToACaptionThatHasWidth) {
  EXPECT_EQ(MenuButtonWidth(25), 35);
  EXPECT_EQ(MenuButtonWidth(1), 11);
  EXPECT_EQ(MenuButtonWidth(0), 0);
}

TEST(MenuBarGeometry, LeftToRightRowWithHiddenAndEmptyButtons) {
  const TRect band{4, 30, 304, 49};  // 300 x 19 at (4, 30)
  const std::vector<TMenuBarEntry> entries{{true, 35}, {false, 50}, {true, 0}, {true, 40}};
  const auto p = LayoutMenuBar(band, 6, false, entries, 0);
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[0].Item, (TRect{6, 0, 41, 18}));
  EXPECT_EQ(p[0].Bounds, (TRect{10, 30, 45, 48}));
  EXPECT_EQ(p[1].Bounds, (TRect{}));                // hidden: nothing, and takes no room
  EXPECT_EQ(p[2].Bounds, (TRect{45, 30, 45, 48}));  // empty caption: no width
  EXPECT_EQ(p[3].Item, (TRect{41, 0, 81, 18}));
  EXPECT_EQ(p[3].Bounds, (TRect{45, 30, 85, 48}));
}

TEST(MenuBarGeometry, RightToLeftRowRunsFromTheRightLimit) {
  const TRect band{4, 30, 304, 49};
  const std::vector<TMenuBarEntry> entries{{true, 35}, {false, 50}, {true, 40}};
  const int limit = MenuBarRightLimit(band, 15, {});
  EXPECT_EQ(limit, 285);
  const auto p = LayoutMenuBar(band, 15, true, entries, limit);
  EXPECT_EQ(p[0].Item, (TRect{250, 0, 285, 18}));
  EXPECT_EQ(p[0].Bounds, (TRect{254, 30, 289, 48}));
  EXPECT_EQ(p[1].Bounds, (TRect{}));
  EXPECT_EQ(p[2].Bounds, (TRect{214, 30, 254, 48}));
}

TEST(MenuBarGeometry, MaximisedChildButtonsEndTheRightToLeftRowFiveShortOfThem) {
  const TRect band{4, 30, 304, 49};
  // Three 16-pixel buttons at the band's right end (frame coordinates).
  const std::vector<TRect> buttons{{240, 31, 256, 47}, {260, 31, 276, 47}, {280, 31, 296, 47}};
  const int limit = MenuBarRightLimit(band, 15, buttons);
  EXPECT_EQ(limit, 240 - 4 - 5);
  const auto p = LayoutMenuBar(band, 15, true, {{true, 30}}, limit);
  EXPECT_EQ(p[0].Bounds.Right, 240 - 5);
  // Buttons right of the usual end do not move it.
  EXPECT_EQ(MenuBarRightLimit(band, 15, {{300, 31, 316, 47}}), 285);
}

}  // namespace
