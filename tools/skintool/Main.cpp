// skintool: command-line access to the skin data formats. See commands.h for the table.
#include <string>
#include <vector>

#include "tools/skintool/Commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return skintool::RunTool(args);
}
