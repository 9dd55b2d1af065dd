// An ordered list of texts that tells its holder about every change, so that a control can
// keep its window's items in step (combo box items, list-view sub-items).
#pragma once

#include <functional>
#include <vector>

#include "forms/core/Properties.h"

namespace lbb::forms {

class TStrings : public TObject {
  LBB_FORMS_CLASS_INFO

 public:
  // What changed: one text inserted at `index`, one deleted at `index`, or everything
  // (index -1: cleared or replaced).
  enum class TChange { Inserted, Deleted, Reset };
  std::function<void(TChange change, int index)> OnChange;

  int Count() const { return static_cast<int>(items_.size()); }
  String Strings(int index) const;
  String operator[](int index) const { return Strings(index); }
  // Appends `text`; returns its index.
  int Add(const String& text);
  void Insert(int index, const String& text);
  void Delete(int index);
  void Clear();
  // The index of `text` (exact match); -1 when absent.
  int IndexOf(const String& text) const;
  // The texts joined with CR LF, each line ended by one.
  String Text() const;
  // Replaces the texts with the lines of `text`.
  void SetText(const String& text);
  void Assign(const TStrings& other);
  const std::vector<String>& Items() const { return items_; }

 private:
  void Changed(TChange change, int index) {
    if (OnChange) OnChange(change, index);
  }
  std::vector<String> items_;
};

}  // namespace lbb::forms
