// Reading a form's stored settings: the values a form file would hold, set by name into the
// components they belong to, then every component's loaded step, the way a form is read when
// it is made. A component that carries settings of its own (the skin data) thereby gets its
// loaded step without its form calling it.
#pragma once

#include <stdexcept>
#include <vector>

#include "forms/core/Component.h"

namespace lbb::forms {

// One stored property: its value as text (integers, enumerations, sets, strings) or, for a
// binary property, as bytes.
struct TStoredProperty {
  String name;
  String text;
  TBytes bytes;
  bool binary = false;

  static TStoredProperty Text(String name, String text) {
    return TStoredProperty{std::move(name), std::move(text), {}, false};
  }
  static TStoredProperty Binary(String name, TBytes bytes) {
    return TStoredProperty{std::move(name), {}, std::move(bytes), true};
  }
};

// The stored properties of one component, in the order they are read.
struct TStoredComponent {
  TComponent* component = nullptr;
  std::vector<TStoredProperty> properties;
};

// A stored property that cannot be written: "Error reading NAME.PROP: ...".
class EReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads `stored` into `root` (when it is listed) and the components listed. The root and every
// listed component are csLoading from the start; each is csReading while its own properties
// are set. Then the root and the components, in the order listed, get their loaded step
// (which ends csLoading). A property that is missing or refuses its value throws EReadError:
// then no loaded step runs and every listed component leaves csLoading and csReading.
void ReadComponents(TComponent& root, const std::vector<TStoredComponent>& stored);

}  // namespace lbb::forms
