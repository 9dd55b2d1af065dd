// The one colour type: system colours encoded one way, resolved by one resolver from the one
// installed source.
#include <gtest/gtest.h>

#include "base/Colour.h"

namespace {

using namespace lbb;

class FixedColours : public TSysColours {
 public:
  uint32_t Colour(int index) const override {
    return index == kColorBtnFace ? 0x123456 : 0xFF000000u | static_cast<uint32_t>(index);
  }
};

TEST(SysColours, OneEncodingOfSystemColours) {
  EXPECT_TRUE(IsSysColor(clBtnFace));
  EXPECT_EQ(clBtnFace & 0xFF, kColorBtnFace);
  EXPECT_EQ(SysColor(kColorBtnFace), clBtnFace);
  EXPECT_FALSE(IsSysColor(clNone));
  EXPECT_FALSE(IsSysColor(clFuchsia));
}

TEST(SysColours, ResolvedFromTheInstalledSource) {
  FixedColours fixed;
  const TSysColours* before = SetSysColours(&fixed);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x123456u);
  // Whatever the source gives, a resolved colour has no high byte.
  EXPECT_EQ(ColorToRGB(SysColor(kColorWindow)), static_cast<uint32_t>(kColorWindow));
  EXPECT_EQ(ColorToRGB(0x00ABCDEF), 0xABCDEFu);
  EXPECT_EQ(SetSysColours(before), &fixed);
  EXPECT_EQ(&SysColours(), before);
}

TEST(SysColours, ClassicTableWhenNoneIsInstalled) {
  const TSysColours* before = SetSysColours(nullptr);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC8D0D4u);
  EXPECT_EQ(ColorToRGB(clHighlight), 0x6A240Au);
  EXPECT_EQ(SysColours().Colour(kSysColourCount), 0u);  // unknown index
  EXPECT_EQ(SysColours().Colour(-1), 0u);
  SetSysColours(before);
}

}  // namespace
