#include "forms/core/Component.h"
#include "base/Text.h"

#include <algorithm>

namespace lbb::forms {
namespace {

void Erase(std::vector<TComponent*>& list, TComponent* c) {
  list.erase(std::remove(list.begin(), list.end(), c), list.end());
}

}  // namespace

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TComponent", &TObject::StaticClassInfo());
    i.Add(StrProp<TComponent>(u"Name", &TComponent::Name, &TComponent::SetName));
    i.Add(IntProp<TComponent>(u"Tag", &TComponent::Tag, &TComponent::SetTag));
    return i;
  }();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  DestroyComponents();
  // Tell the watchers; each forgets this component (and stops being watched by it).
  std::vector<TComponent*> watchers;
  watchers.swap(watchers_);
  for (TComponent* w : watchers) {
    Erase(w->watchers_, this);
    w->Notification(this, TOperation::opRemove);
  }
  if (owner_) owner_->RemoveComponent(this);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::u16string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameTextAscii(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
  if (!c || c->owner_ == this) return;
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
  Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  if (!c || c->owner_ != this) return;
  Notification(c, TOperation::opRemove);
  Erase(components_, c);
  c->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    RemoveComponent(c);
    delete c;
  }
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(watchers_.begin(), watchers_.end(), c) == watchers_.end()) {
    watchers_.push_back(c);
  }
  if (std::find(c->watchers_.begin(), c->watchers_.end(), this) == c->watchers_.end()) {
    c->watchers_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  if (!c) return;
  Erase(watchers_, c);
  Erase(c->watchers_, this);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Loaded() {
  state_ &= static_cast<TComponentState>(~csLoading);
}

void TComponent::SetDesigning(bool value) {
  if (value)
    state_ |= csDesigning;
  else
    state_ &= static_cast<TComponentState>(~csDesigning);
  for (TComponent* c : components_)
    c->SetDesigning(value);
}

}  // namespace lbb::forms
