// Ownership between the application, its forms and their components.
#pragma once

#include <string>
#include <utility>
#include <vector>

// A component is destroyed by its owner, after every component it owns itself.
class TComponent {
 public:
  explicit TComponent(TComponent* owner, std::string name = {});
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  virtual ~TComponent();  // destroys the owned components, then leaves its owner

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  const std::vector<TComponent*>& Components() const { return owned_; }

 protected:
  void SetName(std::string name) { name_ = std::move(name); }
  // Destroys the owned components now, last created first.
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> owned_;  // we own these
};
