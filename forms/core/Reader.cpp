#include "forms/core/Reader.h"

#include <algorithm>

namespace lbb::forms {
namespace {

void WriteProperty(TComponent& c, const TStoredProperty& p) {
  const bool written =
      p.binary ? SetBinaryProp(&c, p.name, p.bytes) : SetPropText(&c, p.name, p.text);
  if (written) return;
  const char* why = FindProp(&c, p.name) ? "invalid property value" : "property does not exist";
  throw EReadError("Error reading " + TextToUtf8(c.Name()) + "." + TextToUtf8(p.name) + ": " + why);
}

}  // namespace

void ReadComponents(TComponent& root, const std::vector<TStoredComponent>& stored) {
  // The loaded list: the root first, then the components in reading order, each once.
  std::vector<TComponent*> loaded{&root};
  for (const TStoredComponent& s : stored) {
    if (s.component && std::find(loaded.begin(), loaded.end(), s.component) == loaded.end())
      loaded.push_back(s.component);
  }
  const auto clear = [](TComponent* c, TComponentState flags) {
    c->state_ &= static_cast<TComponentState>(~flags);
  };
  for (TComponent* c : loaded)
    c->state_ |= csLoading;
  root.state_ |= csReading;
  try {
    for (const TStoredComponent& s : stored) {
      if (!s.component) continue;
      s.component->state_ |= csReading;
      for (const TStoredProperty& p : s.properties)
        WriteProperty(*s.component, p);
      if (s.component != &root) clear(s.component, csReading);
    }
  } catch (...) {
    for (TComponent* c : loaded)
      clear(c, csLoading | csReading);
    throw;
  }
  clear(&root, csReading);
  for (TComponent* c : loaded)
    c->Loaded();
}

}  // namespace lbb::forms
