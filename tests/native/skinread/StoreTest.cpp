// The skin store: item names (unique in their collection), data, copies and the stored
// "DataStream" bytes.
#include <gtest/gtest.h>

#include <filesystem>

#include "skin/data/WinSkinStore.h"

namespace lbb::skin {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(SkinStore, ItemNamesStartNumberedAndStayUnique) {
  TSkinCollection c;
  TSkinCollectionItem& a = c.Add();
  TSkinCollectionItem& b = c.Add();
  EXPECT_EQ(a.Name(), u"SkinItem0");
  EXPECT_EQ(b.GetDisplayName(), u"SkinItem1");
  EXPECT_EQ(b.Index(), 1);
  a.SetName(u"Blue");
  try {
    b.SetName(u"Blue");
    FAIL() << "duplicate name accepted";
  } catch (const ESkinStoreError& e) {
    EXPECT_EQ(e.Message, u"The name Blue is already used.");
    EXPECT_STREQ(e.what(), "The name Blue is already used.");
  }
  EXPECT_EQ(b.Name(), u"SkinItem1");
  a.SetName(u"Blue");  // its own name: nothing happens
  a.SetName(u"Green");
  b.SetName(u"Blue");  // free again
  EXPECT_EQ(b.Name(), u"Blue");
  c.Delete(0);
  EXPECT_EQ(c.Count(), 1);
  EXPECT_EQ(c.Add().ID(), 2);  // IDs are not reused
  EXPECT_THROW(c.Items(5), std::out_of_range);
  EXPECT_THROW(c.Delete(-1), std::out_of_range);
}

TEST(SkinStore, DataCopiesAndStoredBytes) {
  TSkinStore store;
  TSkinCollectionItem& item = store.Store().Add();
  EXPECT_EQ(item.DataSize(), 0);
  EXPECT_EQ(item.SkinData(), u"Load Skin");
  item.SetSkinData(u"ignored");
  EXPECT_EQ(item.SkinData(), u"Load Skin");
  const std::filesystem::path path = "store_item_test.skn";
  TMemoryStream(Bytes{5, 6, 7}).SaveToFile(path);
  item.LoadFromFile(path);
  EXPECT_EQ(item.DataSize(), 3);
  EXPECT_THROW(item.LoadFromFile("no_such_store_file.skn"), EFOpenError);
  EXPECT_EQ(item.DataSize(), 3);

  TMemoryStream stored;
  item.WriteData(stored);
  EXPECT_EQ(stored.Bytes(), (Bytes{5, 6, 7}));
  stored.SetPosition(1);
  TSkinCollectionItem& other = store.Store().Add();
  other.ReadData(stored);
  EXPECT_EQ(other.Data().Bytes(), (Bytes{6, 7}));

  TSkinCollection copy;
  copy.Add();
  copy.Assign(store.Store());
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(0).Name(), u"SkinItem0");
  EXPECT_EQ(copy.Items(1).Data().Bytes(), (Bytes{6, 7}));
  TSkinStore second;
  second.SetStore(store.Store());
  second.Store().Items(0).Data().Bytes()[0] = 99;
  EXPECT_EQ(store.Store().Items(0).Data().Bytes()[0], 5);  // a copy, not shared
  EXPECT_EQ(TSkinCollectionItem::kDataStreamProperty, u"DataStream");
}

}  // namespace
}  // namespace lbb::skin
