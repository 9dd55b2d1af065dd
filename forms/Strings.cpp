#include "forms/Strings.h"

namespace lbb::forms {

const TClassInfo& TStrings::StaticClassInfo() {
  static const TClassInfo info(u"TStrings", &TObject::StaticClassInfo());
  return info;
}

String TStrings::Strings(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : String();
}

int TStrings::Add(const String& text) {
  Insert(Count(), text);
  return Count() - 1;
}

void TStrings::Insert(int index, const String& text) {
  if (index < 0 || index > Count()) return;
  items_.insert(items_.begin() + index, text);
  Changed(TChange::Inserted, index);
}

void TStrings::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  Changed(TChange::Deleted, index);
}

void TStrings::Clear() {
  items_.clear();
  Changed(TChange::Reset, -1);
}

int TStrings::IndexOf(const String& text) const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[static_cast<size_t>(i)] == text) return i;
  }
  return -1;
}

String TStrings::Text() const {
  String out;
  for (const String& s : items_)
    out += s + u"\r\n";
  return out;
}

void TStrings::SetText(const String& text) {
  items_.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == String::npos) end = text.size();
    items_.push_back(text.substr(start, end - start));
    start = end;
    if (start < text.size() && text[start] == u'\r') ++start;
    if (start < text.size() && text[start] == u'\n') ++start;
  }
  Changed(TChange::Reset, -1);
}

void TStrings::Assign(const TStrings& other) {
  items_ = other.items_;
  Changed(TChange::Reset, -1);
}

}  // namespace lbb::forms
