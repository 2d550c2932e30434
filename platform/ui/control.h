#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/component.h"
#include "platform/ui/graphics.h"

namespace pelmorix {

class TForm;
class TWinControl;

using TNotifyEvent = std::function<void(TObject* Sender)>;

// alClient: the control always covers its parent's whole client area.
enum TAlign { alNone, alClient };

// A visible control: place and size relative to its parent, caption, visibility, tab order,
// font and colour. Setting a property tells the backend.
class TControl : public TComponent {
 public:
  explicit TControl(std::string name);

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  // The form this control sits on (itself for a form), or none.
  TForm* ParentForm();

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  virtual void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  int TabOrder() const { return tab_order_; }
  void SetTabOrder(int order);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // Paints the control at once (the backend does; without one nothing happens).
  void Repaint();

 private:
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  int tab_order_ = -1;
  TAlign align_ = alNone;
  TFont font_;
  TColor color_ = clBtnFace;
};

// A control that holds child controls, in the order they were given this parent.
class TWinControl : public TControl {
 public:
  using TControl::TControl;

  const std::vector<TControl*>& Controls() const { return controls_; }
  virtual int ClientWidth() const { return Width(); }
  virtual int ClientHeight() const { return Height(); }

  void SetBounds(int left, int top, int width, int height) override;

 protected:
  // Gives every alClient child the whole client area.
  void AlignControls();

 private:
  friend class TControl;
  std::vector<TControl*> controls_;
};

}  // namespace pelmorix
