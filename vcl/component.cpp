#include "vcl/component.h"

#include <algorithm>
#include <utility>

TComponent::TComponent(TComponent* owner, std::string name) : owner_(owner), name_(std::move(name)) {
  if (owner_) owner_->owned_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) {
    auto& siblings = owner_->owned_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void TComponent::DestroyComponents() {
  while (!owned_.empty()) delete owned_.back();  // each one takes itself out of owned_
}
