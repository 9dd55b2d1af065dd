// Objects with a class name, a class chain and published properties that can be read and
// written by name, the way the skin engine inspects controls it does not know: integers,
// enumerations (read and written by identifier), strings, objects and binary blocks (bytes a
// component stores in a form of its own). A missing property reads as absent (-1, "", null,
// no bytes) and a write to it is ignored.
#pragma once

#include "base/Text.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lbb::forms {

class TObject;

enum class TPropType { tkInteger, tkEnumeration, tkString, tkClass, tkBinary };

using TBytes = std::vector<uint8_t>;

// One published property: its name, type and accessors. Integer and enumeration properties
// use the ordinal accessors; enumerations name their ordinals in `identifiers`.
struct TPropInfo {
  String name;
  TPropType type = TPropType::tkInteger;
  std::vector<String> identifiers;
  String objectClass;  // class that an object property holds
  std::function<int64_t(const TObject&)> getOrdinal;
  std::function<void(TObject&, int64_t)> setOrdinal;
  std::function<String(const TObject&)> getString;
  std::function<void(TObject&, const String&)> setString;
  std::function<TObject*(const TObject&)> getObject;
  std::function<void(TObject&, TObject*)> setObject;
  std::function<TBytes(const TObject&)> getBytes;
  std::function<void(TObject&, const TBytes&)> setBytes;
};

// The run-time description of one class: its name, its base and the properties it publishes.
class TClassInfo {
 public:
  TClassInfo(String name, const TClassInfo* parent) : name_(std::move(name)), parent_(parent) {}
  TClassInfo(TClassInfo&&) = default;
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const String& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  // The property named `name` (ASCII case ignored) of this class or a base; null if none.
  const TPropInfo* Find(std::u16string_view name) const;
  // True when this class is `className` or derives from it (ASCII case ignored).
  bool InheritsFrom(std::u16string_view className) const;
  void Add(TPropInfo info) { props_.push_back(std::move(info)); }
  // The properties this class itself publishes (not those of its bases), in order.
  const std::vector<TPropInfo>& Props() const { return props_; }

 private:
  String name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> props_;
};

// The root of every class that publishes properties.
class TObject {
 public:
  virtual ~TObject() = default;
  // The class name a class-name test sees; a program's own form class overrides it.
  virtual String ClassName() const { return ClassInfo().Name(); }
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo();
  bool InheritsFrom(std::u16string_view className) const {
    return ClassInfo().InheritsFrom(className);
  }
};

// Accessors by name; `obj` may be null.
const TPropInfo* FindProp(const TObject* obj, std::u16string_view name);
// The value of an integer property; -1 when missing or not an integer.
int64_t GetIntProp(const TObject* obj, std::u16string_view name);
// The identifier of an enumeration property ("true", "bsNone"); "" when missing.
String GetEnumProp(const TObject* obj, std::u16string_view name);
// The text of a string property; "" when missing.
String GetStrProp(const TObject* obj, std::u16string_view name);
// The object of an object property, when it is of class `className` (any class when empty);
// null otherwise.
TObject* GetObjectProp(const TObject* obj, std::u16string_view name,
                       std::u16string_view className = {});
// Writes a property from text: integers are parsed (decimal, or hexadecimal after "$" or
// "0x"), enumerations set by identifier (ASCII case ignored), strings assigned. Returns false
// when nothing was written (missing property, bad number, unknown identifier, object or
// binary property).
bool SetPropText(TObject* obj, std::u16string_view name, const String& value);
bool SetIntProp(TObject* obj, std::u16string_view name, int64_t value);
// Sets an object property; the object must be of the declared class (or null).
bool SetObjectProp(TObject* obj, std::u16string_view name, TObject* value);
// The bytes of a binary property; empty when missing or not binary.
TBytes GetBinaryProp(const TObject* obj, std::u16string_view name);
// Writes a binary property from its stored bytes; false when there is no such property.
bool SetBinaryProp(TObject* obj, std::u16string_view name, const TBytes& bytes);
// The property at the end of a path such as {"Properties", "Glyph"}: every name but the last
// must be an object property.
TObject* ObjectAtPath(const TObject* obj, const std::vector<String>& path);

// Builders for typed accessors of class C.
template <class C>
TPropInfo IntProp(String name, int64_t (C::*get)() const, void (C::*set)(int64_t)) {
  TPropInfo p;
  p.name = std::move(name);
  p.type = TPropType::tkInteger;
  p.getOrdinal = [get](const TObject& o) { return (static_cast<const C&>(o).*get)(); };
  if (set) p.setOrdinal = [set](TObject& o, int64_t v) { (static_cast<C&>(o).*set)(v); };
  return p;
}

template <class C, class E>
TPropInfo EnumProp(String name, std::vector<String> identifiers, E (C::*get)() const,
                   void (C::*set)(E)) {
  TPropInfo p;
  p.name = std::move(name);
  p.type = TPropType::tkEnumeration;
  p.identifiers = std::move(identifiers);
  p.getOrdinal = [get](const TObject& o) {
    return static_cast<int64_t>((static_cast<const C&>(o).*get)());
  };
  if (set) {
    p.setOrdinal = [set](TObject& o, int64_t v) { (static_cast<C&>(o).*set)(static_cast<E>(v)); };
  }
  return p;
}

template <class C>
TPropInfo BoolProp(String name, bool (C::*get)() const, void (C::*set)(bool)) {
  return EnumProp<C, bool>(std::move(name), {u"false", u"true"}, get, set);
}

template <class C>
TPropInfo StrProp(String name, String (C::*get)() const, void (C::*set)(const String&)) {
  TPropInfo p;
  p.name = std::move(name);
  p.type = TPropType::tkString;
  p.getString = [get](const TObject& o) { return (static_cast<const C&>(o).*get)(); };
  if (set) p.setString = [set](TObject& o, const String& v) { (static_cast<C&>(o).*set)(v); };
  return p;
}

template <class C, class V>
TPropInfo ObjectProp(String name, String objectClass, V* (C::*get)() const, void (C::*set)(V*)) {
  TPropInfo p;
  p.name = std::move(name);
  p.type = TPropType::tkClass;
  p.objectClass = std::move(objectClass);
  p.getObject = [get](const TObject& o) -> TObject* { return (static_cast<const C&>(o).*get)(); };
  if (set) {
    p.setObject = [set](TObject& o, TObject* v) { (static_cast<C&>(o).*set)(static_cast<V*>(v)); };
  }
  return p;
}

template <class C>
TPropInfo BinaryProp(String name, TBytes (C::*get)() const, void (C::*set)(const TBytes&)) {
  TPropInfo p;
  p.name = std::move(name);
  p.type = TPropType::tkBinary;
  p.getBytes = [get](const TObject& o) { return (static_cast<const C&>(o).*get)(); };
  if (set) p.setBytes = [set](TObject& o, const TBytes& v) { (static_cast<C&>(o).*set)(v); };
  return p;
}

}  // namespace lbb::forms

// Declares the class information of a class: put in the class body.
#define LBB_FORMS_CLASS_INFO                                   \
 public:                                                       \
  static const ::lbb::forms::TClassInfo& StaticClassInfo();    \
  const ::lbb::forms::TClassInfo& ClassInfo() const override { \
    return StaticClassInfo();                                  \
  }                                                            \
                                                               \
 private:
