// skinrun's command line, read and written without the platform: its own options, and the
// program's command line put together from the program's path and its arguments with the
// quoting the Windows C runtime reads back as the same arguments.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "base/Text.h"

namespace lbb::skinrun {

struct Options {
  String skin;  // --skin FILE; empty: the engine's default skin
  String dll;   // --dll FILE; empty: the engine's DLL beside skinrun
  String program;
  std::vector<String> programArgs;
};

// Reads `skinrun [--skin FILE] [--dll FILE] PROGRAM [ARGS...]` (the arguments after
// skinrun's own name). Options are read up to the program's name; everything after it is
// the program's. Returns the options or what is wrong with the command line.
std::variant<Options, std::string> ParseOptions(const std::vector<String>& args);

// The arguments that give the same options to another skinrun (the one of the other bitness).
// The DLL goes along only when `keepDll` (it is of the other bitness too); otherwise that
// skinrun takes its own.
std::vector<String> HandOverArguments(const Options& o, bool keepDll);

// One argument quoted so that the C runtime's command-line reading gives it back unchanged:
// as it is when it has no space, tab or quote; otherwise in quotes, with the backslashes
// before a quote (and before the closing quote) doubled and each quote escaped.
String QuoteArgument(const String& arg);
// A whole command line: the arguments quoted and joined with spaces.
String JoinCommandLine(const std::vector<String>& args);

}  // namespace lbb::skinrun
