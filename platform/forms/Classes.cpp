#include "platform/forms/Classes.h"

#include <algorithm>

TComponent::TComponent(TComponent* Owner) : owner_(Owner) {
  if (owner_ != nullptr) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_ != nullptr) std::erase(owner_->components_, this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  const auto found = std::ranges::find(components_, name, &TComponent::Name);
  return found == components_.end() ? nullptr : *found;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) delete components_.back();  // each erases itself
}
