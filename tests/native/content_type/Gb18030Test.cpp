#include "app/http/Gb18030.h"

#include <gtest/gtest.h>

#include <string>

namespace lbb::http {
namespace {

TEST(Gb18030FourByte, KnownSequences) {
  const struct {
    unsigned char b[4];
    uint32_t cp;
  } cases[] = {
      {{0x81, 0x30, 0x81, 0x30}, 0x0080},   {{0x81, 0x30, 0x8A, 0x37}, 0x00EF},
      {{0x81, 0x31, 0xF8, 0x37}, 0x0AB7},   {{0x81, 0x32, 0xC1, 0x34}, 0x0D7A},
      {{0x81, 0x33, 0x83, 0x31}, 0x0FF7},   {{0x81, 0x33, 0xE1, 0x37}, 0x13A9},
      {{0x81, 0x34, 0xBC, 0x32}, 0x171E},   {{0x81, 0x34, 0xF1, 0x38}, 0x1936},
      {{0x81, 0x36, 0xB3, 0x32}, 0x20AD},   {{0x81, 0x37, 0xEB, 0x36}, 0x28DE},
      {{0x82, 0x31, 0x96, 0x30}, 0x3A69},   {{0x82, 0x36, 0xEB, 0x32}, 0xA829},
      {{0x82, 0x39, 0x83, 0x35}, 0xB2E0},   {{0x83, 0x30, 0xC4, 0x35}, 0xBA56},
      {{0x83, 0x36, 0xB2, 0x35}, 0xD72A},   {{0x83, 0x37, 0xEE, 0x39}, 0xEE86},
      {{0x84, 0x30, 0xA8, 0x33}, 0xFA9D},   {{0x84, 0x31, 0xA4, 0x39}, 0xFFFF},
      {{0x90, 0x30, 0x81, 0x30}, 0x10000},  {{0x94, 0x39, 0xFC, 0x36}, 0x1F600},
      {{0xE3, 0x32, 0x9A, 0x35}, 0x10FFFF},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Gb18030FourByte(c.b[0], c.b[1], c.b[2], c.b[3]), c.cp) << std::hex << c.cp;
  }
}

TEST(Gb18030FourByte, SequencesOutsideTheMappedRangesAreReplaced) {
  EXPECT_EQ(Gb18030FourByte(0x84, 0x31, 0xA5, 0x30), kReplacementCharacter);  // after U+FFFF
  EXPECT_EQ(Gb18030FourByte(0x8F, 0x39, 0xFE, 0x39), kReplacementCharacter);  // before plane 1
  EXPECT_EQ(Gb18030FourByte(0xE3, 0x32, 0x9A, 0x36), kReplacementCharacter);  // after U+10FFFF
  EXPECT_EQ(Gb18030FourByte(0xFE, 0x39, 0xFE, 0x39), kReplacementCharacter);
  EXPECT_EQ(Gb18030FourByte(0x81, 0x3A, 0x81, 0x30), kReplacementCharacter);
  EXPECT_EQ(Gb18030FourByte(0x80, 0x30, 0x81, 0x30), kReplacementCharacter);
  EXPECT_EQ(Gb18030FourByte(0x81, 0x30, 0xFF, 0x30), kReplacementCharacter);
}

TEST(Gb18030FourByte, TheBmpPartCountsUpWithoutGapsOrSurrogates) {
  uint32_t previous = 0x7F;
  int count = 0;
  for (unsigned b1 = 0x81; b1 <= 0x84; ++b1) {
    for (unsigned b2 = 0x30; b2 <= 0x39; ++b2) {
      for (unsigned b3 = 0x81; b3 <= 0xFE; ++b3) {
        for (unsigned b4 = 0x30; b4 <= 0x39; ++b4) {
          const uint32_t cp =
              Gb18030FourByte(static_cast<unsigned char>(b1), static_cast<unsigned char>(b2),
                              static_cast<unsigned char>(b3), static_cast<unsigned char>(b4));
          if (cp == kReplacementCharacter && previous == 0xFFFF) continue;  // past the end
          ASSERT_GT(cp, previous) << std::hex << b1 << b2 << b3 << b4;
          ASSERT_TRUE(cp < 0xD800 || cp > 0xDFFF) << std::hex << cp;
          previous = cp;
          ++count;
        }
      }
    }
  }
  EXPECT_EQ(count, 39420);
}

// Stands in for the GBK decoder: shows each run it is given in brackets.
String Bracketed(std::string_view run) {
  return u"[" + Latin1ToText(run) + u"]";
}

TEST(DecodeGb18030, FourByteSequencesAreDecodedBetweenRuns) {
  EXPECT_EQ(DecodeGb18030("ab\xD6\xD0\x81\x30\x8A\x37"
                          "c",
                          Bracketed),
            String(u"[ab\u00D6\u00D0]\u00EF[c]"));
  EXPECT_EQ(DecodeGb18030("\x94\x39\xFC\x36", Bracketed), String(u"\U0001F600"));
  EXPECT_EQ(DecodeGb18030("", Bracketed), String());
  EXPECT_EQ(DecodeGb18030("plain", Bracketed), String(u"[plain]"));
}

TEST(DecodeGb18030, IncompleteOrFalseFourByteSequencesStayInTheRun) {
  // Lead and digit not followed by lead and digit: a two-byte pair for the GBK decoder.
  EXPECT_EQ(DecodeGb18030("\x81\x30"
                          "AA",
                          Bracketed),
            String(u"[\u0081"
                   u"0AA]"));
  // The second byte of a pair is never the start of a four-byte sequence.
  EXPECT_EQ(DecodeGb18030("\xD6\x81\x30\x81\x30", Bracketed), String(u"[\u00D6\u0081"
                                                                     u"0\u0081"
                                                                     u"0]"));
  EXPECT_EQ(DecodeGb18030("x\x81\x30\x81", Bracketed), String(u"[x\u0081"
                                                              u"0\u0081]"));
  EXPECT_EQ(DecodeGb18030("x\x81", Bracketed), String(u"[x\u0081]"));
  // A well-formed but unmapped four-byte sequence is one replacement character.
  EXPECT_EQ(DecodeGb18030("\xFE\x39\xFE\x39z", Bracketed), String(u"\uFFFD[z]"));
}

}  // namespace
}  // namespace lbb::http
