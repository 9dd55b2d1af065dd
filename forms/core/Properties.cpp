#include "forms/core/Properties.h"
#include "base/Text.h"

#include <charconv>

namespace lbb::forms {
namespace {

// Parses a whole signed integer: decimal, or hexadecimal after "$" or "0x".
bool ParseInteger(std::u16string_view text, int64_t& out) {
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7F) return false;
    ascii.push_back(static_cast<char>(c));
  }
  bool negative = !ascii.empty() && ascii[0] == '-';
  std::string_view digits(ascii);
  if (negative || (!digits.empty() && digits[0] == '+')) digits.remove_prefix(1);
  int base = 10;
  if (!digits.empty() && digits[0] == '$') {
    digits.remove_prefix(1);
    base = 16;
  } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  }
  if (digits.empty()) return false;
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (ec != std::errc() || end != digits.data() + digits.size()) return false;
  // Hexadecimal texts may spell a 32-bit colour such as $80000005; they keep their bits.
  if (base == 16 && value <= 0xFFFFFFFFull && value > 0x7FFFFFFFull) {
    value = static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(value)));
  }
  out = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
  return true;
}

}  // namespace

const TPropInfo* TClassInfo::Find(std::u16string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    for (const TPropInfo& p : c->props_) {
      if (SameTextAscii(p.name, name)) return &p;
    }
  }
  return nullptr;
}

bool TClassInfo::InheritsFrom(std::u16string_view className) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    if (SameTextAscii(c->name_, className)) return true;
  }
  return false;
}

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info(u"TObject", nullptr);
  return info;
}

const TPropInfo* FindProp(const TObject* obj, std::u16string_view name) {
  return obj ? obj->ClassInfo().Find(name) : nullptr;
}

int64_t GetIntProp(const TObject* obj, std::u16string_view name) {
  const TPropInfo* p = FindProp(obj, name);
  if (!p || p->type != TPropType::tkInteger || !p->getOrdinal) return -1;
  return p->getOrdinal(*obj);
}

String GetEnumProp(const TObject* obj, std::u16string_view name) {
  const TPropInfo* p = FindProp(obj, name);
  if (!p || p->type != TPropType::tkEnumeration || !p->getOrdinal) return {};
  int64_t ordinal = p->getOrdinal(*obj);
  if (ordinal < 0 || ordinal >= static_cast<int64_t>(p->identifiers.size())) return {};
  return p->identifiers[static_cast<size_t>(ordinal)];
}

String GetStrProp(const TObject* obj, std::u16string_view name) {
  const TPropInfo* p = FindProp(obj, name);
  if (!p || p->type != TPropType::tkString || !p->getString) return {};
  return p->getString(*obj);
}

TObject* GetObjectProp(const TObject* obj, std::u16string_view name,
                       std::u16string_view className) {
  const TPropInfo* p = FindProp(obj, name);
  if (!p || p->type != TPropType::tkClass || !p->getObject) return nullptr;
  TObject* value = p->getObject(*obj);
  if (value && !className.empty() && !value->InheritsFrom(className)) return nullptr;
  return value;
}

bool SetIntProp(TObject* obj, std::u16string_view name, int64_t value) {
  const TPropInfo* p = FindProp(obj, name);
  if (!p || !p->setOrdinal) return false;
  if (p->type == TPropType::tkEnumeration &&
      (value < 0 || value >= static_cast<int64_t>(p->identifiers.size()))) {
    return false;
  }
  if (p->type != TPropType::tkInteger && p->type != TPropType::tkEnumeration) return false;
  p->setOrdinal(*obj, value);
  return true;
}

bool SetPropText(TObject* obj, std::u16string_view name, const String& value) {
  const TPropInfo* p = FindProp(obj, name);
  if (!p) return false;
  switch (p->type) {
    case TPropType::tkInteger: {
      int64_t number = 0;
      if (!p->setOrdinal || !ParseInteger(value, number)) return false;
      p->setOrdinal(*obj, number);
      return true;
    }
    case TPropType::tkEnumeration:
      for (size_t i = 0; i < p->identifiers.size(); ++i) {
        if (SameTextAscii(p->identifiers[i], value) && p->setOrdinal) {
          p->setOrdinal(*obj, static_cast<int64_t>(i));
          return true;
        }
      }
      return false;
    case TPropType::tkString:
      if (!p->setString) return false;
      p->setString(*obj, value);
      return true;
    case TPropType::tkClass:
    case TPropType::tkBinary:
      return false;
  }
  return false;
}

bool SetObjectProp(TObject* obj, std::u16string_view name, TObject* value) {
  const TPropInfo* p = FindProp(obj, name);
  if (!p || p->type != TPropType::tkClass || !p->setObject) return false;
  if (value && !p->objectClass.empty() && !value->InheritsFrom(p->objectClass)) return false;
  p->setObject(*obj, value);
  return true;
}

TBytes GetBinaryProp(const TObject* obj, std::u16string_view name) {
  const TPropInfo* p = FindProp(obj, name);
  if (!p || p->type != TPropType::tkBinary || !p->getBytes) return {};
  return p->getBytes(*obj);
}

bool SetBinaryProp(TObject* obj, std::u16string_view name, const TBytes& bytes) {
  const TPropInfo* p = FindProp(obj, name);
  if (!p || p->type != TPropType::tkBinary || !p->setBytes) return false;
  p->setBytes(*obj, bytes);
  return true;
}

TObject* ObjectAtPath(const TObject* obj, const std::vector<String>& path) {
  TObject* current = const_cast<TObject*>(obj);
  for (const String& name : path) {
    current = GetObjectProp(current, name);
    if (!current) return nullptr;
  }
  return current;
}

}  // namespace lbb::forms
