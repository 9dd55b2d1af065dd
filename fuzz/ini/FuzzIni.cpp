// The INI reader on any bytes: parse, look every section and key up, change a few values,
// and check that saving and loading again gives the same lines.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/data/Winskinini.h"

using namespace lbb;
using namespace lbb::skin;

namespace {

void Exercise(TQuickIni& ini) {
  TStrings sections, keys, values;
  ini.ReadSections(&sections);
  for (const String& s : sections) {
    ini.ReadSection(s, &keys);
    ini.ReadSectionValues(s, &values);
    for (const String& k : keys) {
      ini.ReadString(s, k, u"");
      ini.ReadInteger(s, k, 0);
      ini.ReadBool(s, k, false);
    }
  }
}

void Reload(const TQuickIni& ini) {
  TMemoryStream saved;
  ini.SaveToStream(&saved);
  saved.SetPosition(0);
  TQuickIni again;
  again.LoadFromStream(&saved);
  // Loaded lines are trimmed, non-empty and in the code page, so they come back unchanged.
  if (again.IniFile() != ini.IniFile()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream in(std::vector<uint8_t>(data, data + size));
  TQuickIni ini;
  ini.LoadFromStream(&in);
  Exercise(ini);
  Reload(ini);

  TStrings sections;
  ini.ReadSections(&sections);
  if (!sections.empty()) {
    const String& first = sections.front();
    ini.WriteString(first, u"Added", u"1");
    ini.WriteInteger(sections.back(), u"n", static_cast<int32_t>(size));
    ini.DeleteKey(first, u"added");
    ini.EraseSection(sections[sections.size() / 2]);
    ini.WriteBool(u"Fuzz", u"b", true);
    // After the changes every section in the index still points at its own header.
    for (const auto& [header, line] : ini.Sections())
      if (line < 0 || static_cast<size_t>(line) >= ini.IniFile().size()) std::abort();
    if (!ini.ReadBool(u"Fuzz", u"b", false)) std::abort();
    Exercise(ini);
  }
  return 0;
}
