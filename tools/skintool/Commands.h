// The command table of skintool. Each command gets its own arguments (after the command
// name) and returns the process exit code; it reports its errors through ToolError.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace skintool {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 1;  // unreadable, damaged or unusable input or output
inline constexpr int kExitUsage = 2;     // wrong command line

// An error to print (after "skintool: COMMAND: ") and the exit code that goes with it.
class ToolError : public std::runtime_error {
 public:
  ToolError(int code, const std::string& message) : std::runtime_error(message), exitCode(code) {}
  int exitCode;
};

struct Command {
  std::string_view name;
  std::string_view arguments;  // for the usage text, e.g. "IN OUT"
  std::string_view summary;
  size_t minArguments;
  size_t maxArguments;
  int (*run)(std::span<const std::string> args);
};

// All commands, in the order the usage text lists them.
std::span<const Command> Commands();

// Runs the command line (without the program name); prints errors and usage to stderr.
int RunTool(std::span<const std::string> args);

// The codec commands.
int PackCommand(std::span<const std::string> args);
int UnpackCommand(std::span<const std::string> args);

// The skin archive commands.
int BuildCommand(std::span<const std::string> args);
int ListCommand(std::span<const std::string> args);
int ExtractCommand(std::span<const std::string> args);
int PreviewCommand(std::span<const std::string> args);
int HiDpiCommand(std::span<const std::string> args);

}  // namespace skintool
