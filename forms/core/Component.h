// Components: objects with an owner that frees them, a name, a tag, free notifications and a
// state (being read from stored settings, being freed, ...) with a loaded step after reading.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/core/Properties.h"

namespace lbb::forms {

enum class TOperation { opInsert, opRemove };

// What a component is going through. csLoading: its stored settings are being read (set by
// the reader, cleared by the loaded step); csReading: its own properties are being set right
// now; csDesigning: it lives in a designer, not in a running program; csDestroying: it is
// being freed.
enum TComponentStateFlag : uint8_t {
  csLoading = 1,
  csReading = 2,
  csDestroying = 4,
  csDesigning = 8,
};
using TComponentState = uint8_t;

class TComponent;
struct TStoredComponent;
// Reads stored settings (forms/core/Reader.h).
void ReadComponents(TComponent& root, const std::vector<TStoredComponent>& stored);

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
  TComponentState ComponentState() const { return state_; }
  bool Destroying() const { return (state_ & csDestroying) != 0; }

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
  // The loaded step: the reader calls it on every component it read, after all of them
  // were read. It ends csLoading; an override calls it first, then acts on the settings.
  virtual void Loaded();
  // Marks the component, and every component it owns, as living in a designer (or not).
  void SetDesigning(bool value);
  // Called when `c` is inserted into or removed from this component's list, and when a
  // component this one watches is freed.
  virtual void Notification(TComponent* c, TOperation operation);
  // Marks the component as being freed; derived destructors call it first.
  void BeginDestroy() { state_ |= csDestroying; }

 private:
  friend void ReadComponents(TComponent& root, const std::vector<TStoredComponent>& stored);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> watchers_;
  String name_;
  int64_t tag_ = 0;
  TComponentState state_ = 0;
};

}  // namespace lbb::forms
