#include "platform/ui/control.h"

#include <algorithm>

#include "platform/ui/form.h"

namespace pelmorix {

TControl::TControl(std::string name) : TComponent(std::move(name)) {
  font_.OnChange = [this] { Changed(); };
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) std::erase(parent_->controls_, this);
  parent_ = parent;
  if (parent_) {
    parent_->controls_.push_back(this);
    if (align_ == alClient) parent_->AlignControls();
    parent_->Changed();
  }
}

TForm* TControl::ParentForm() {
  TControl* control = this;
  while (control->parent_) control = control->parent_;
  return dynamic_cast<TForm*>(control);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void TControl::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void TControl::SetTabOrder(int order) {
  if (order == tab_order_) return;
  tab_order_ = order;
  Changed();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->AlignControls();
  Changed();
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TControl::Repaint() {
  if (Observer()) Observer()->Repaint(*this);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  AlignControls();
}

void TWinControl::AlignControls() {
  for (TControl* child : controls_)
    if (child->Align() == alClient) child->SetBounds(0, 0, ClientWidth(), ClientHeight());
}

}  // namespace pelmorix
