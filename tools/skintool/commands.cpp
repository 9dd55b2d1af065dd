#include "commands.h"

#include <iostream>

#include "SkinStream.h"
#include "WinConvert.h"

namespace skintool {

namespace {

constexpr Command kCommands[] = {
    {"pack", "IN OUT", "compress file IN into one block in OUT", 2, PackCommand},
    {"unpack", "IN OUT", "decompress the block in file IN into OUT", 2, UnpackCommand},
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
    if (args.size() - 1 != c.argumentCount) {
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
