// Stored settings read into components: component state during the read, the loaded step
// after it, binary properties by name, and a property that cannot be read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/core/Reader.h"

namespace lbb::forms {
namespace {

// A component that logs its loaded step with what it saw then, and keeps a binary block.
class TStoring : public TComponent {
  LBB_FORMS_CLASS_INFO
 public:
  TStoring(TComponent* owner, std::vector<std::string>* log, std::string tag)
      : TComponent(owner), log_(log), tag_(std::move(tag)) {}
  int64_t Size() const { return size_; }
  void SetSize(int64_t v) {
    size_ = v;
    stateWhileSet = ComponentState();
  }
  TBytes Block() const { return block_; }
  void SetBlock(const TBytes& b) { block_ = b; }
  TComponentState stateWhileSet = 0;
  TComponentState stateAtLoaded = 0;
  int64_t sizeAtLoaded = -1;

 protected:
  void Loaded() override {
    stateAtLoaded = ComponentState();
    TComponent::Loaded();
    sizeAtLoaded = size_;
    log_->push_back("loaded " + tag_);
  }

 private:
  std::vector<std::string>* log_;
  std::string tag_;
  int64_t size_ = 0;
  TBytes block_;
};

const TClassInfo& TStoring::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TStoring", &TComponent::StaticClassInfo());
    i.Add(IntProp<TStoring>(u"Size", &TStoring::Size, &TStoring::SetSize));
    i.Add(BinaryProp<TStoring>(u"Block", &TStoring::Block, &TStoring::SetBlock));
    return i;
  }();
  return info;
}

using P = TStoredProperty;

TEST(ReaderTest, LoadedStepsRunOnceEachAfterEverythingWasRead) {
  std::vector<std::string> log;
  TStoring root(nullptr, &log, "root");
  auto* a = new TStoring(&root, &log, "a");
  auto* b = new TStoring(&root, &log, "b");
  ReadComponents(root, {{b, {P::Text(u"Size", u"7")}}, {a, {P::Text(u"Size", u"$10")}}});
  // The root first, then the components in the order read; each once.
  EXPECT_EQ(log, (std::vector<std::string>{"loaded root", "loaded b", "loaded a"}));
  // The second component's values were set before the first one's loaded step ran.
  EXPECT_EQ(b->sizeAtLoaded, 7);
  EXPECT_EQ(a->sizeAtLoaded, 16);
  // Loading (not reading) at the loaded step; neither afterwards.
  EXPECT_EQ(a->stateAtLoaded, csLoading);
  EXPECT_EQ(root.stateAtLoaded, csLoading);
  for (TComponent* c :
       {static_cast<TComponent*>(&root), static_cast<TComponent*>(a), static_cast<TComponent*>(b)})
    EXPECT_EQ(c->ComponentState(), 0);
}

TEST(ReaderTest, ComponentsAreLoadingAndReadingWhileTheirPropertiesAreSet) {
  std::vector<std::string> log;
  TStoring root(nullptr, &log, "root");
  auto* a = new TStoring(&root, &log, "a");
  auto* b = new TStoring(&root, &log, "b");
  // Each is loading and reading while its own properties are set.
  ReadComponents(root, {{a, {P::Text(u"Size", u"1")}}, {b, {P::Text(u"Size", u"2")}}});
  EXPECT_EQ(a->stateWhileSet, csLoading | csReading);
  EXPECT_EQ(b->stateWhileSet, csLoading | csReading);
  ReadComponents(root, {{&root, {P::Text(u"Size", u"3")}}});
  EXPECT_EQ(root.stateWhileSet, csLoading | csReading);
  EXPECT_EQ(root.ComponentState(), 0);
}

TEST(ReaderTest, BinaryPropertiesByName) {
  std::vector<std::string> log;
  TStoring c(nullptr, &log, "c");
  const TBytes bytes{0, 1, 0xFF, 0x80, 0};
  EXPECT_TRUE(SetBinaryProp(&c, u"block", bytes));
  EXPECT_EQ(c.Block(), bytes);
  EXPECT_EQ(GetBinaryProp(&c, u"Block"), bytes);
  // Absent, or not binary: no bytes, nothing written, and no text write of a binary one.
  EXPECT_TRUE(GetBinaryProp(&c, u"Missing").empty());
  EXPECT_TRUE(GetBinaryProp(&c, u"Size").empty());
  EXPECT_TRUE(GetBinaryProp(nullptr, u"Block").empty());
  EXPECT_FALSE(SetBinaryProp(&c, u"Size", bytes));
  EXPECT_FALSE(SetBinaryProp(&c, u"Missing", bytes));
  EXPECT_FALSE(SetPropText(&c, u"Block", u"01"));
  EXPECT_EQ(FindProp(&c, u"Block")->type, TPropType::tkBinary);
  // Read from stored settings like any other property.
  ReadComponents(c, {{&c, {P::Binary(u"Block", {9, 8})}}});
  EXPECT_EQ(c.Block(), (TBytes{9, 8}));
}

TEST(ReaderTest, APropertyThatCannotBeReadStopsTheReadWithoutLoadedSteps) {
  std::vector<std::string> log;
  TStoring root(nullptr, &log, "root");
  auto* a = new TStoring(&root, &log, "a");
  a->SetName(u"Probe");
  try {
    ReadComponents(root, {{a, {P::Text(u"Size", u"4"), P::Text(u"Colour", u"1")}}});
    FAIL() << "a missing property was read";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Error reading Probe.Colour: property does not exist");
  }
  EXPECT_THROW(ReadComponents(root, {{a, {P::Text(u"Size", u"four")}}}), EReadError);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(a->ComponentState(), 0);
  EXPECT_EQ(root.ComponentState(), 0);
}

TEST(ReaderTest, DesigningReachesOwnedComponentsAndDestroyingIsAState) {
  class TDesigner : public TComponent {
   public:
    using TComponent::SetDesigning;
    TDesigner() : TComponent(nullptr) {}
  };
  TDesigner root;
  auto* inner = new TComponent(new TComponent(&root));
  root.SetDesigning(true);
  EXPECT_EQ(inner->ComponentState(), csDesigning);
  root.SetDesigning(false);
  EXPECT_EQ(inner->ComponentState(), 0);
  struct TWatch : TComponent {
    TComponentState seen = 0;
    TWatch() : TComponent(nullptr) {}
    void Notification(TComponent* c, TOperation op) override {
      if (op == TOperation::opRemove) seen = c->ComponentState();
    }
  } watch;
  auto* gone = new TComponent(nullptr);
  gone->FreeNotification(&watch);
  delete gone;
  EXPECT_EQ(watch.seen, csDestroying);
}

}  // namespace
}  // namespace lbb::forms
