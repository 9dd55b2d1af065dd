#include "tools/skinrun/CommandLine.h"

namespace lbb::skinrun {

namespace {

// Takes the value of an option at `i` (its name at i - 1); false when there is none.
bool TakeValue(const std::vector<String>& args, size_t& i, String& into) {
  if (i + 1 >= args.size()) return false;
  into = args[++i];
  return !into.empty();
}

}  // namespace

std::variant<Options, std::string> ParseOptions(const std::vector<String>& args) {
  Options o;
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const String& a = args[i];
    if (a == u"--skin") {
      if (!TakeValue(args, i, o.skin)) return std::string("--skin needs a file");
    } else if (a == u"--dll") {
      if (!TakeValue(args, i, o.dll)) return std::string("--dll needs a file");
    } else if (a == u"--") {
      ++i;
      break;
    } else if (a.rfind(u"--", 0) == 0) {
      return "unknown option " + TextToUtf8(a);
    } else {
      break;
    }
  }
  if (i >= args.size()) return std::string("no program to run");
  o.program = args[i];
  o.programArgs.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
  return o;
}

std::vector<String> HandOverArguments(const Options& o, bool keepDll) {
  std::vector<String> out;
  if (!o.skin.empty()) {
    out.push_back(u"--skin");
    out.push_back(o.skin);
  }
  if (keepDll && !o.dll.empty()) {
    out.push_back(u"--dll");
    out.push_back(o.dll);
  }
  out.push_back(u"--");
  out.push_back(o.program);
  out.insert(out.end(), o.programArgs.begin(), o.programArgs.end());
  return out;
}

String QuoteArgument(const String& arg) {
  if (!arg.empty() && arg.find_first_of(u" \t\n\v\"") == String::npos) return arg;
  String out = u"\"";
  size_t backslashes = 0;
  for (char16_t c : arg) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled and the quote escaped; before anything else
    // they stand as they are.
    out.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, u'\\');
  out.push_back(u'"');
  return out;
}

String JoinCommandLine(const std::vector<String>& args) {
  String out;
  for (const String& a : args) {
    if (!out.empty()) out.push_back(u' ');
    out += QuoteArgument(a);
  }
  return out;
}

}  // namespace lbb::skinrun
