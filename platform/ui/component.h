#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pelmorix {

class TComponent;
class TControl;

// The root of everything that can be the sender of an event.
class TObject {
 public:
  virtual ~TObject() = default;
};

// A backend that mirrors components onto real widgets watches them through this interface.
class TComponentObserver {
 public:
  virtual ~TComponentObserver() = default;
  // A property of the component changed (or a child control arrived).
  virtual void Changed(TComponent& component) = 0;
  // The control must be painted now, not at the next idle moment.
  virtual void Repaint(TControl& control) = 0;
  // The component is being destroyed; only its address may be used.
  virtual void Destroying(TComponent& component) = 0;
};

// A named object that may own further components; an owner frees what it owns, the latest
// first.
class TComponent : public TObject {
 public:
  explicit TComponent(std::string name) : name_(std::move(name)) {}
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  TComponent* Owner() const { return owner_; }

  // Creates a component owned by this one.
  template <class T, class... Args>
  T* CreateComponent(Args&&... args) {
    auto component = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = component.get();
    raw->owner_ = this;
    owned_.push_back(std::move(component));
    return raw;
  }
  const std::vector<std::unique_ptr<TComponent>>& Components() const { return owned_; }

  TComponentObserver* Observer() const { return observer_; }
  void SetObserver(TComponentObserver* observer) { observer_ = observer; }

 protected:
  // Tells the backend, if any, that a property changed.
  void Changed();

 private:
  std::string name_;
  TComponent* owner_ = nullptr;
  TComponentObserver* observer_ = nullptr;
  std::vector<std::unique_ptr<TComponent>> owned_;
};

}  // namespace pelmorix
