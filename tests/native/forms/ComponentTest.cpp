// Owners free their components; a freed component tells its owner and its watchers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/core/Component.h"

namespace lbb::forms {
namespace {

class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::vector<std::string>* log, std::string name)
      : TComponent(owner), log_(log), name_(std::move(name)) {}
  ~TProbe() override { log_->push_back("free " + name_); }
  std::vector<TComponent*> removed;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove) removed.push_back(c);
  }

 private:
  std::vector<std::string>* log_;
  std::string name_;
};

TEST(ComponentTest, OwnerFreesItsComponentsLastFirst) {
  std::vector<std::string> log;
  auto* owner = new TProbe(nullptr, &log, "owner");
  auto* a = new TProbe(owner, &log, "a");
  new TProbe(a, &log, "a1");
  new TProbe(owner, &log, "b");
  ASSERT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(a->ComponentIndex(), 0);
  delete owner;
  EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free b", "free a", "free a1"}));
}

TEST(ComponentTest, FreedComponentLeavesItsOwnerAndTellsWatchers) {
  std::vector<std::string> log;
  TProbe owner(nullptr, &log, "owner");
  TProbe watcher(nullptr, &log, "watcher");
  auto* c = new TProbe(&owner, &log, "c");
  c->SetName(u"Button1");
  c->FreeNotification(&watcher);
  EXPECT_EQ(owner.FindComponent(u"button1"), c);
  EXPECT_EQ(owner.FindComponent(u"Button2"), nullptr);
  EXPECT_EQ(owner.FindComponent(u""), nullptr);
  delete c;
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(owner.FindComponent(u"Button1"), nullptr);
  ASSERT_EQ(watcher.removed.size(), 1u);
  EXPECT_EQ(watcher.removed[0], c);
  ASSERT_EQ(owner.removed.size(), 1u);
}

TEST(ComponentTest, WatchingIsMutualAndCanBeUndone) {
  std::vector<std::string> log;
  TProbe a(nullptr, &log, "a");
  {
    TProbe b(nullptr, &log, "b");
    a.FreeNotification(&b);
    b.RemoveFreeNotification(&a);
  }
  EXPECT_TRUE(a.removed.empty());
  {
    TProbe b(nullptr, &log, "b");
    b.FreeNotification(&a);
  }
  EXPECT_EQ(a.removed.size(), 1u);
}

TEST(ComponentTest, InsertComponentMovesOwnership) {
  std::vector<std::string> log;
  TProbe first(nullptr, &log, "first");
  TProbe second(nullptr, &log, "second");
  auto* c = new TProbe(&first, &log, "c");
  second.InsertComponent(c);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(c->Owner(), &second);
  first.RemoveComponent(c);  // not its owner any more: nothing happens
  EXPECT_EQ(c->Owner(), &second);
}

}  // namespace
}  // namespace lbb::forms
