#include "platform/ui/component.h"

namespace pelmorix {

TComponent::~TComponent() {
  if (observer_) observer_->Destroying(*this);
  while (!owned_.empty()) owned_.pop_back();
}

void TComponent::Changed() {
  if (observer_) observer_->Changed(*this);
}

}  // namespace pelmorix
