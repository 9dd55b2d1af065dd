// Components: objects with an owner that frees them, a name, a tag and free notifications.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/core/Properties.h"

namespace lbb::forms {

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
  LBB_FORMS_CLASS_INFO

 public:
  // Joins `owner`'s components when given; the owner frees it.
  explicit TComponent(TComponent* owner);
  // Frees the owned components (last first), then tells the owner and every component that
  // asked for a free notification that this one is gone.
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  // Index among the owner's components; -1 without owner.
  int ComponentIndex() const;

  String Name() const { return name_; }
  void SetName(const String& name) { name_ = name; }
  int64_t Tag() const { return tag_; }
  void SetTag(int64_t tag) { tag_ = tag; }
  bool Destroying() const { return destroying_; }

  // The owned component named `name` (ASCII case ignored); null when none.
  TComponent* FindComponent(std::u16string_view name) const;
  // Moves `c` into this component's list (taking it from its previous owner).
  void InsertComponent(TComponent* c);
  // Takes `c` out of this component's list; it then has no owner.
  void RemoveComponent(TComponent* c);
  // Frees every owned component, last first.
  void DestroyComponents();
  // `c` will get Notification(this, opRemove) when this component is freed, and vice versa.
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);

 protected:
  // Called when `c` is inserted into or removed from this component's list, and when a
  // component this one watches is freed.
  virtual void Notification(TComponent* c, TOperation operation);
  // Marks the component as being freed; derived destructors call it first.
  void BeginDestroy() { destroying_ = true; }

 private:
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> watchers_;
  String name_;
  int64_t tag_ = 0;
  bool destroying_ = false;
};

}  // namespace lbb::forms
