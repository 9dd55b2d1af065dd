#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "tools/skinrun/CommandLine.h"
#include "tools/skinrun/PeBitness.h"

namespace lbb::skinrun {
namespace {

// The C runtime's reading of a command line into arguments (the rules of its documentation):
// 2n backslashes before a quote give n and the quote opens or closes a quoted part; 2n + 1
// give n and a literal quote; backslashes before anything else stand as they are.
std::vector<String> ReadLikeTheRuntime(const String& line) {
  std::vector<String> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
      ++i;
    if (i >= line.size()) break;
    String arg;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != u' ' && line[i] != u'\t')); ++i) {
      size_t slashes = 0;
      while (i < line.size() && line[i] == u'\\') {
        ++slashes;
        ++i;
      }
      if (i < line.size() && line[i] == u'"') {
        arg.append(slashes / 2, u'\\');
        if (slashes % 2)
          arg.push_back(u'"');
        else
          quoted = !quoted;
      } else {
        arg.append(slashes, u'\\');
        if (i >= line.size()) break;
        if (!quoted && (line[i] == u' ' || line[i] == u'\t')) break;
        arg.push_back(line[i]);
      }
    }
    out.push_back(arg);
  }
  return out;
}

TEST(SkinrunCommandLine, ArgumentsComeBackUnchangedThroughTheRuntimesReading) {
  const std::vector<String> args = {u"C:\\Program Files\\app.exe",
                                    u"plain",
                                    u"",
                                    u"a b",
                                    u"say \"hi\"",
                                    u"ends\\",
                                    u"dir with\\",
                                    u"\\\\server\\x",
                                    u"q\\\"x",
                                    u"tab\there"};
  EXPECT_EQ(ReadLikeTheRuntime(JoinCommandLine(args)), args);
  EXPECT_EQ(QuoteArgument(u"plain"), u"plain");  // nothing to quote: as it is
}

TEST(SkinrunCommandLine, OptionsStopAtTheProgramAndEverythingAfterIsThePrograms) {
  const auto parsed =
      ParseOptions({u"--skin", u"a.skn", u"--dll", u"e.dll", u"notepad.exe", u"--skin", u"x"});
  ASSERT_TRUE(std::holds_alternative<Options>(parsed));
  const Options& o = std::get<Options>(parsed);
  EXPECT_EQ(o.skin, u"a.skn");
  EXPECT_EQ(o.dll, u"e.dll");
  EXPECT_EQ(o.program, u"notepad.exe");
  EXPECT_EQ(o.programArgs, (std::vector<String>{u"--skin", u"x"}));
  // "--" ends the options, so a program named like one can be run.
  const auto dashed = ParseOptions({u"--", u"--odd.exe"});
  ASSERT_TRUE(std::holds_alternative<Options>(dashed));
  EXPECT_EQ(std::get<Options>(dashed).program, u"--odd.exe");
}

TEST(SkinrunCommandLine, AMissingValueNoProgramOrAnUnknownOptionIsRefused) {
  for (const std::vector<String>& args : std::vector<std::vector<String>>{
           {u"--skin"}, {u"--skin", u"a.skn"}, {}, {u"--colour", u"notepad.exe"}}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(ParseOptions(args)))
        << args.size() << " arguments";
  }
}

TEST(SkinrunCommandLine, TheHandOverKeepsTheSkinAndTheProgramAndTheDllOnlyWhenAsked) {
  const Options o{u"a.skn", u"e.dll", u"-odd.exe", {u"x"}};
  for (bool keepDll : {false, true}) {
    const auto back = ParseOptions(HandOverArguments(o, keepDll));
    ASSERT_TRUE(std::holds_alternative<Options>(back));
    const Options& h = std::get<Options>(back);
    EXPECT_EQ(h.skin, o.skin);
    EXPECT_EQ(h.dll, keepDll ? o.dll : u"");
    EXPECT_EQ(h.program, o.program);
    EXPECT_EQ(h.programArgs, o.programArgs);
  }
}

// The first bytes of a PE file for `machine`, the PE header at `peAt`.
std::vector<uint8_t> PeHead(uint16_t machine, uint32_t peAt = 0x80) {
  std::vector<uint8_t> b(peAt + 24, 0);
  b[0] = 'M';
  b[1] = 'Z';
  for (int i = 0; i < 4; ++i)
    b[0x3C + i] = static_cast<uint8_t>(peAt >> (8 * i));
  b[peAt] = 'P';
  b[peAt + 1] = 'E';
  b[peAt + 4] = static_cast<uint8_t>(machine);
  b[peAt + 5] = static_cast<uint8_t>(machine >> 8);
  return b;
}

TEST(SkinrunBitness, ThePeMachineFieldGivesTheBitness) {
  EXPECT_EQ(BitnessOf(PeHead(0x014C)), Bitness::k32);
  EXPECT_EQ(BitnessOf(PeHead(0x8664)), Bitness::k64);
  EXPECT_EQ(BitnessOf(PeHead(0xAA64, 0x200)), Bitness::k64);
}

TEST(SkinrunBitness, BytesThatAreNoPeFileOrCutShortAreUnknown) {
  std::vector<uint8_t> notMz = PeHead(0x8664);
  notMz[0] = 'X';
  std::vector<uint8_t> notPe = PeHead(0x8664);
  notPe[0x81] = 'X';
  std::vector<uint8_t> cut = PeHead(0x8664);
  cut.resize(0x84);
  std::vector<uint8_t> pointsOut = PeHead(0x8664);
  pointsOut[0x3F] = 0xFF;  // the PE header's offset far past the bytes
  for (const std::vector<uint8_t>& b : {notMz, notPe, cut, pointsOut, PeHead(0x01C4)})
    EXPECT_EQ(BitnessOf(b), Bitness::kUnknown);
}

}  // namespace
}  // namespace lbb::skinrun
