#include "skin/data/WinSkinStore.h"

#include <string>

namespace lbb::skin {

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection& collection, int id)
    : collection_(collection), id_(id) {
  const std::string number = std::to_string(id);
  FName = u"SkinItem" + String(number.begin(), number.end());
}

int TSkinCollectionItem::Index() const {
  for (int i = 0; i < collection_.Count(); ++i)
    if (&collection_.Items(i) == this) return i;
  return -1;
}

void TSkinCollectionItem::SetName(std::u16string_view value) {
  if (FName == value) return;
  const TSkinCollectionItem* other = collection_.Find(value);
  if (other != nullptr && other != this)
    throw ESkinStoreError(u"The name " + String(value) + u" is already used.");
  FName = String(value);
}

void TSkinCollectionItem::LoadFromFile(const std::filesystem::path& name) {
  TMemoryStream file;
  file.LoadFromFile(name);
  FData = std::move(file);
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& source) {
  if (&source == this) return;
  FName = source.FName;
  FData.Bytes() = source.FData.Bytes();
  FData.SetPosition(0);
}

void TSkinCollectionItem::WriteData(TStream& stream) const {
  stream.Write(FData.Bytes().data(), FData.Bytes().size());
}

void TSkinCollectionItem::ReadData(TStream& stream) {
  FData.Bytes() = stream.ReadRest();
  FData.SetPosition(0);
}

TSkinCollectionItem& TSkinCollection::Add() {
  items_.push_back(std::make_unique<TSkinCollectionItem>(*this, nextId_++));
  return *items_.back();
}

TSkinCollectionItem& TSkinCollection::Items(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("skin store index out of range");
  return *items_[static_cast<size_t>(index)];
}

const TSkinCollectionItem& TSkinCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("skin store index out of range");
  return *items_[static_cast<size_t>(index)];
}

void TSkinCollection::Delete(int index) {
  Items(index);  // range check
  items_.erase(items_.begin() + index);
}

void TSkinCollection::Clear() {
  items_.clear();
}

void TSkinCollection::Assign(const TSkinCollection& source) {
  if (&source == this) return;
  Clear();
  for (const auto& item : source.items_)
    Add().Assign(*item);
}

const TSkinCollectionItem* TSkinCollection::Find(std::u16string_view name) const {
  for (const auto& item : items_)
    if (item->Name() == name) return item.get();
  return nullptr;
}

}  // namespace lbb::skin
