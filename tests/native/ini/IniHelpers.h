// Loading INI text from a byte string in the INI tests.
#pragma once

#include <string>

#include "skin/data/Winskinini.h"

namespace lbb::skin::testing {

inline void LoadText(TQuickIni& ini, const std::string& text) {
  TMemoryStream s(std::vector<uint8_t>(text.begin(), text.end()));
  ini.LoadFromStream(&s);
}

inline TStrings Lines(std::initializer_list<const char16_t*> lines) {
  TStrings out;
  for (const char16_t* l : lines)
    out.emplace_back(l);
  return out;
}

}  // namespace lbb::skin::testing
