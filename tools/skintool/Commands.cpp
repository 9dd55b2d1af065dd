#include "tools/skintool/Commands.h"

#include <iostream>

#include "skin/data/SkinStream.h"
#include "skin/data/WinConvert.h"

namespace skintool {

namespace {

constexpr Command kCommands[] = {
    {"pack", "IN OUT", "compress file IN into one block in OUT", 2, 2, PackCommand},
    {"unpack", "IN OUT", "decompress the block in file IN into OUT", 2, 2, UnpackCommand},
    {"build", "DIR OUT [VERSION]",
     "make skin OUT from folder DIR (one .ini and its .bmp images); VERSION 20000, 30000,\n"
     "      40000, 50000, 60000 or 70000 (default)",
     2, 3, BuildCommand},
    {"list", "SKIN", "print the header and the entries (name, size, image size) of SKIN", 1, 1,
     ListCommand},
    {"extract", "SKIN DIR", "write every entry of SKIN as a file into folder DIR", 2, 2,
     ExtractCommand},
    {"preview", "SKIN OUT.png [--dpi N]",
     "draw a sheet of every element of SKIN with all its cells, and a sample window; with\n"
     "      --dpi N (96..960) the skin scaled to N DPI as the skin engine scales it",
     2, 4, PreviewCommand},
    {"hidpi", "SKIN",
     "list the @2x images of SKIN: which 1x images have one that 192 DPI uses, and which\n"
     "      @2x entries are ignored and why",
     1, 1, HiDpiCommand},
};

void PrintUsage(std::ostream& out) {
  out << "usage: skintool COMMAND ARGUMENTS\n";
  for (const Command& c : kCommands)
    out << "  skintool " << c.name << ' ' << c.arguments << "\n      " << c.summary << '\n';
  out << "exit codes: 0 done, 1 bad input or output file, 2 wrong command line\n";
}

}  // namespace

std::span<const Command> Commands() {
  return kCommands;
}

int RunTool(std::span<const std::string> args) {
  if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
    PrintUsage(args.empty() ? std::cerr : std::cout);
    return args.empty() ? kExitUsage : kExitOk;
  }
  for (const Command& c : kCommands) {
    if (c.name != args[0]) continue;
    if (args.size() - 1 < c.minArguments || args.size() - 1 > c.maxArguments) {
      std::cerr << "skintool: " << c.name << ": expected " << c.arguments << "\n";
      PrintUsage(std::cerr);
      return kExitUsage;
    }
    try {
      return c.run(args.subspan(1));
    } catch (const ToolError& e) {
      std::cerr << "skintool: " << c.name << ": " << e.what() << '\n';
      return e.exitCode;
    } catch (const std::exception& e) {  // stream and codec errors
      std::cerr << "skintool: " << c.name << ": " << e.what() << '\n';
      return kExitBadInput;
    }
  }
  std::cerr << "skintool: unknown command \"" << args[0] << "\"\n";
  PrintUsage(std::cerr);
  return kExitUsage;
}

}  // namespace skintool
