// TSkinStore: several named skins kept inside a form, each one the compressed block of a skin
// file, ready to be handed to the skin data component. The store owns a TSkinCollection of
// TSkinCollectionItem; every item holds one skin's bytes ("DataStream" in the stored form).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "skin/data/SkinStream.h"
#include "skin/data/SkinText.h"

namespace lbb::skin {

// A store item's name is already used by another item of its collection. what() holds the
// message in Windows-1252, Message the text itself.
class ESkinStoreError : public std::runtime_error {
 public:
  explicit ESkinStoreError(const String& message)
      : std::runtime_error(TextToCp1252(message)), Message(message) {}
  String Message;
};

class TSkinCollection;

class TSkinCollectionItem {
 public:
  // The name of the binary property that stores the item's data with the form.
  static constexpr std::u16string_view kDataStreamProperty = u"DataStream";

  // Created through TSkinCollection::Add; the name starts as "SkinItem" + ID.
  TSkinCollectionItem(TSkinCollection& collection, int id);
  TSkinCollectionItem(const TSkinCollectionItem&) = delete;
  TSkinCollectionItem& operator=(const TSkinCollectionItem&) = delete;

  int ID() const { return id_; }
  // Position in the collection.
  int Index() const;
  TSkinCollection& Collection() const { return collection_; }

  const String& Name() const { return FName; }
  // Setting the name it already has does nothing; a name another item of the same collection
  // has raises ESkinStoreError("The name " + name + " is already used.").
  void SetName(std::u16string_view value);
  String GetDisplayName() const { return FName; }

  // The skin's compressed block, exactly the bytes of a skin file.
  TMemoryStream& Data() { return FData; }
  const TMemoryStream& Data() const { return FData; }
  int64_t DataSize() const { return FData.Size(); }
  // A design-time hook: reads as "Load Skin", ignores writes, is not stored.
  String SkinData() const { return u"Load Skin"; }
  void SetSkinData(std::u16string_view) {}

  // Replaces the data with the file's bytes (EFOpenError when it cannot be read; the data is
  // unchanged then).
  void LoadFromFile(const std::filesystem::path& name);
  // Copies name and data.
  void Assign(const TSkinCollectionItem& source);

  // The "DataStream" property: writing puts the data's bytes into `stream`; reading replaces
  // the data with the rest of `stream` (from its position).
  void WriteData(TStream& stream) const;
  void ReadData(TStream& stream);

 private:
  TSkinCollection& collection_;
  int id_;
  String FName;
  TMemoryStream FData;
};

// An owned, ordered collection of store items. Item IDs count up from 0 and are never reused.
class TSkinCollection {
 public:
  TSkinCollection() = default;
  TSkinCollection(const TSkinCollection&) = delete;
  TSkinCollection& operator=(const TSkinCollection&) = delete;

  TSkinCollectionItem& Add();
  int Count() const { return static_cast<int>(items_.size()); }
  // Item `index`; throws std::out_of_range for an index outside 0 .. Count() - 1.
  TSkinCollectionItem& Items(int index);
  const TSkinCollectionItem& Items(int index) const;
  void Delete(int index);
  void Clear();
  // Replaces the items by copies of `source`'s items (names and data; new IDs).
  void Assign(const TSkinCollection& source);
  // The first item with this exact name, or null.
  const TSkinCollectionItem* Find(std::u16string_view name) const;

 private:
  friend class TSkinCollectionItem;
  std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
  int nextId_ = 0;
};

// The store component: its published property Store; assigning copies the items.
class TSkinStore {
 public:
  TSkinCollection& Store() { return FStore; }
  const TSkinCollection& Store() const { return FStore; }
  void SetStore(const TSkinCollection& value) { FStore.Assign(value); }

 private:
  TSkinCollection FStore;
};

}  // namespace lbb::skin
