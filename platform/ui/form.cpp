#include "platform/ui/form.h"

#include "platform/ui/application.h"

namespace pelmorix {

TForm::TForm(TApplication& application, std::string name)
    : TWinControl(std::move(name)), application_(application) {
  SetVisible(false);
  application_.FormCreated(*this);
}

void TForm::SetFrameSize(int width, int height) {
  if (width == frame_width_ && height == frame_height_) return;
  const int client_width = ClientWidth(), client_height = ClientHeight();
  frame_width_ = width;
  frame_height_ = height;
  SetBounds(Left(), Top(), client_width + width, client_height + height);
}

void TForm::SetPosition(TPosition position) {
  if (position == position_) return;
  position_ = position;
  Changed();
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  Changed();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == border_icons_) return;
  border_icons_ = icons;
  Changed();
}

void TForm::ShowWindow() {
  SetVisible(true);
  application_.Backend().ShowForm(*this);
}

void TForm::Close() {
  SetVisible(false);
  application_.Backend().HideForm(*this);
  if (application_.MainForm() == this) application_.Terminate();
}

HWND TForm::Handle() { return application_.Backend().FormHandle(*this); }

void TForm::DoShow() {
  if (OnShow) OnShow(this);
}

}  // namespace pelmorix
