#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Root of the object model: everything that can be the sender of an event.
class TObject {
 public:
  virtual ~TObject() = default;
};

// An object with a name and an owner. The owner frees what it owns when it is freed, owned
// objects first; an object freed earlier leaves its owner's list itself.
class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* Owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // The owned component of that name, or nullptr.
  TComponent* FindComponent(std::string_view name) const;
  std::span<TComponent* const> Components() const { return components_; }

 protected:
  // Frees every owned component, newest first.
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> components_;
};
