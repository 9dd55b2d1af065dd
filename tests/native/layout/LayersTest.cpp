// The layers depend one way: base <- forms <- skin <- app, and inside the skin engine data <-
// win <- controls <- forms <- manager <- api (the C interface, which also embeds the built-in
// skin from resources/). Read from the includes of every
// source file: each folder may include only from the folders listed for it, and the portable
// folders never include the Windows headers. No layer includes the tools, and the tools (which
// ship with ./run) may use every layer but no test or benchmark code.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Rule {
  std::string folder;                // relative to the source root, with a trailing slash
  std::vector<std::string> allowed;  // include prefixes it may use
  bool portable;                     // no <windows.h> and friends
};

// The most specific folder comes first: a file obeys the first rule whose folder holds it.
const std::vector<Rule> kRules = {
    {"base/win/", {"base/"}, false},
    {"base/", {"base/"}, true},
    {"forms/core/", {"base/", "forms/core/"}, true},
    {"forms/", {"base/", "forms/"}, false},
    {"skin/data/", {"base/", "skin/data/"}, true},
    {"skin/win/", {"base/", "forms/", "skin/data/", "skin/win/"}, false},
    {"skin/controls/", {"base/", "forms/", "skin/data/", "skin/win/", "skin/controls/"}, false},
    {"skin/forms/",
     {"base/", "forms/", "skin/data/", "skin/win/", "skin/controls/", "skin/forms/"},
     false},
    {"skin/manager/",
     {"base/", "forms/", "skin/data/", "skin/win/", "skin/controls/", "skin/forms/",
      "skin/manager/"},
     false},
    {"skin/api/", {"base/", "forms/", "skin/", "resources/"}, false},
    {"skin/", {"base/", "forms/", "skin/"}, false},
    {"resources/", {"base/", "skin/data/", "resources/"}, true},
    {"app/engine/", {"base/", "app/engine/"}, true},
    {"app/http/", {"base/", "app/http/", "app/engine/"}, true},
    {"app/", {"base/", "forms/", "skin/", "resources/", "app/"}, false},
    {"tools/", {"base/", "forms/", "skin/", "resources/", "app/", "tools/"}, false},
};

struct Include {
  std::string file;
  int line;
  std::string target;
  bool system;
};

std::vector<Include> IncludesOf(const fs::path& root, const fs::path& file) {
  static const std::regex re(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> out;
  std::ifstream in(file);
  std::string text;
  int n = 0;
  while (std::getline(in, text)) {
    ++n;
    std::smatch m;
    if (std::regex_search(text, m, re))
      out.push_back({fs::relative(file, root).generic_string(), n, m[2], m[1] == "<"});
  }
  return out;
}

const Rule* RuleFor(const std::string& relative) {
  for (const Rule& r : kRules)
    if (relative.rfind(r.folder, 0) == 0) return &r;
  return nullptr;
}

bool IsWindowsHeader(const std::string& name) {
  static const std::vector<std::string> headers = {"windows.h", "winuser.h",  "wingdi.h",
                                                   "winhttp.h", "commctrl.h", "shellapi.h"};
  return std::find(headers.begin(), headers.end(), name) != headers.end();
}

std::vector<std::string> Violations(const fs::path& root) {
  std::vector<std::string> out;
  for (const char* top : {"base", "forms", "skin", "resources", "app", "tools"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string rel = fs::relative(entry.path(), root).generic_string();
      const Rule* rule = RuleFor(rel);
      if (!rule) continue;
      for (const Include& inc : IncludesOf(root, entry.path())) {
        const std::string where = inc.file + ":" + std::to_string(inc.line) + " ";
        if (inc.system) {
          if (rule->portable && IsWindowsHeader(inc.target))
            out.push_back(where + "portable code includes <" + inc.target + ">");
          continue;
        }
        const bool ok =
            std::any_of(rule->allowed.begin(), rule->allowed.end(),
                        [&](const std::string& p) { return inc.target.rfind(p, 0) == 0; });
        if (!ok) out.push_back(where + "includes \"" + inc.target + "\" from above its layer");
        if (!fs::exists(root / inc.target))
          out.push_back(where + "\"" + inc.target + "\" is not a path from the source root");
      }
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(Layers, EveryIncludeGoesDownOrSideways) {
  const std::vector<std::string> bad = Violations(LBB_SOURCE_DIR);
  std::string all;
  for (const std::string& b : bad)
    all += b + "\n";
  EXPECT_TRUE(bad.empty()) << all;
}

TEST(Layers, TheCheckSeesAnUpwardInclude) {
  // A forms header that reached into the skin layer must be reported.
  const fs::path root = fs::temp_directory_path() / "lbb-layers-test";
  fs::remove_all(root);
  for (const char* d : {"base", "forms", "skin/data", "resources", "app", "tools"})
    fs::create_directories(root / d);
  std::ofstream(root / "skin/data/SkinModel.h") << "#pragma once\n";
  std::ofstream(root / "forms/Bad.h")
      << "#include <windows.h>\n#include \"skin/data/SkinModel.h\"\n";
  std::ofstream(root / "base/Bad.cpp") << "#include <windows.h>\n#include \"base/Missing.h\"\n";
  const std::vector<std::string> bad = Violations(root);
  fs::remove_all(root);
  ASSERT_EQ(bad.size(), 3u);
  EXPECT_NE(bad[0].find("base/Bad.cpp:1 portable code includes <windows.h>"), std::string::npos);
  EXPECT_NE(bad[1].find("base/Bad.cpp:2 \"base/Missing.h\" is not a path"), std::string::npos);
  EXPECT_NE(bad[2].find("forms/Bad.h:2 includes \"skin/data/SkinModel.h\" from above"),
            std::string::npos);
}

TEST(Layers, TheManagerMayNotReachTheCInterface) {
  // The C interface sits above the manager: the manager must not include it.
  const fs::path root = fs::temp_directory_path() / "lbb-layers-api-test";
  fs::remove_all(root);
  for (const char* d : {"base", "forms", "skin/manager", "skin/api", "resources", "app", "tools"})
    fs::create_directories(root / d);
  std::ofstream(root / "skin/api/Api.h") << "#pragma once\n";
  std::ofstream(root / "skin/manager/Manager.h") << "#pragma once\n";
  std::ofstream(root / "skin/manager/Bad.cpp") << "#include \"skin/api/Api.h\"\n";
  std::ofstream(root / "skin/api/Good.cpp") << "#include \"skin/manager/Manager.h\"\n";
  const std::vector<std::string> bad = Violations(root);
  fs::remove_all(root);
  ASSERT_EQ(bad.size(), 1u);
  EXPECT_NE(bad[0].find("skin/manager/Bad.cpp:1 includes \"skin/api/Api.h\" from above"),
            std::string::npos);
}

}  // namespace
